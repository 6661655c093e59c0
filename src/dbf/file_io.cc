#include "dbf/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

// Makes the renames in a folder durable.  Best effort: a folder that cannot
// be opened or synced does not undo a rename that has already happened.
void syncFolder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

std::string folderOf(const std::string& path) {
  std::string::size_type slash = path.rfind('/');
  return slash == std::string::npos ? "." : path.substr(0, slash + 1);
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

void SafeFileWriter::startFlush() {
#ifdef SYNC_FILE_RANGE_WRITE
  // Only a head start for the flush in flushAndRename, which reports errors.
  if (fd_ >= 0) ::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
}

bool SafeFileWriter::commit() {
  if (!flushAndRename()) return false;
  syncFolder(folderOf(target_));
  return true;
}

bool SafeFileWriter::replace() {
  if (fd_ < 0) {
    errno = EBADF;
    return false;
  }
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 || ::rename(temp_.c_str(), target_.c_str()) != 0) {
    const int saved = errno;
    discard();
    errno = saved;
    return false;
  }
  temp_.clear();
  return true;
}

bool SafeFileWriter::flushAndRename() {
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
  return true;
}

void CommitBatch::add(std::unique_ptr<SafeFileWriter> file, std::function<void()> committed,
                      std::function<void()> failed) {
  file->startFlush();
  entries_.push_back(Entry{std::move(file), std::move(committed), std::move(failed), nullptr});
}

void CommitBatch::addStep(std::function<bool()> step) {
  entries_.push_back(Entry{nullptr, nullptr, nullptr, std::move(step)});
}

bool CommitBatch::commitAll() {
  std::vector<Entry> entries;
  entries.swap(entries_);  // the writers left over discard their files
  std::vector<std::string> folders;
  bool ok = true;
  for (Entry& entry : entries) {
    if (!run(entry, &folders)) {
      ok = false;
      break;
    }
  }
  const int saved = errno;
  for (const std::string& folder : folders) syncFolder(folder);
  errno = saved;
  return ok;
}

bool CommitBatch::run(Entry& entry, std::vector<std::string>* folders) {
  if (entry.file == nullptr) return entry.step();
  if (!entry.file->flushAndRename()) {
    entry.failed();
    return false;
  }
  const std::string folder = folderOf(entry.file->target());
  if (std::find(folders->begin(), folders->end(), folder) == folders->end()) {
    folders->push_back(folder);
  }
  entry.committed();
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
