#include "dbf/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace tav {

std::string joinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

bool fileMtime(const std::string& path, std::int64_t* mtime) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return false;
  *mtime = static_cast<std::int64_t>(st.st_mtime);
  return true;
}

bool fileExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

std::string errnoText() { return std::strerror(errno); }

namespace {

// Makes a rename durable.  Best effort: a folder that cannot be opened or
// synced does not undo a rename that has already happened.
void syncFolderOf(const std::string& path) {
  std::string::size_type slash = path.rfind('/');
  std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

SafeFileWriter::~SafeFileWriter() { discard(); }

bool SafeFileWriter::open(const std::string& target) {
  discard();
  target_ = target;
  std::string pattern = target + ".tmp-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  fd_ = ::mkstemp(name.data());
  if (fd_ < 0) return false;
  temp_ = name.data();
  struct stat st;
  mode_t mode;
  if (::stat(target.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  if (::fchmod(fd_, mode) != 0) {
    const int saved = errno;
    discard();
    errno = saved;
    return false;
  }
  return true;
}

bool SafeFileWriter::write(const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = ::write(fd_, p, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = EIO;
      return false;
    }
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool SafeFileWriter::writeZeros(std::size_t size) {
  static const char zeros[4096] = {0};
  while (size > 0) {
    std::size_t chunk = size < sizeof zeros ? size : sizeof zeros;
    if (!write(zeros, chunk)) return false;
    size -= chunk;
  }
  return true;
}

bool SafeFileWriter::commit() {
  if (fd_ < 0) {
    errno = EBADF;
    return false;
  }
  if (::fsync(fd_) != 0 || ::close(fd_) != 0) {
    const int saved = errno;
    fd_ = -1;
    discard();
    errno = saved;
    return false;
  }
  fd_ = -1;
  if (::rename(temp_.c_str(), target_.c_str()) != 0) {
    const int saved = errno;
    discard();
    errno = saved;
    return false;
  }
  temp_.clear();
  syncFolderOf(target_);
  return true;
}

void SafeFileWriter::discard() {
  const int saved = errno;
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
  errno = saved;
}

}  // namespace tav
