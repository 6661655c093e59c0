// The platform layer on Linux, macOS and the other POSIX systems.
#include "base/platform.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

namespace tav {
namespace platform {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

int fd(NativeFile file) { return static_cast<int>(file); }

// Waits until the file's content is on the disk itself.  On macOS fsync only
// hands the data to the drive, whose cache may still lose it; F_FULLFSYNC
// asks the drive to write its cache out too.  Not every file system supports
// it, and then fsync is the best there is.
int flushToDisk(int descriptor) {
#ifdef F_FULLFSYNC
  if (::fcntl(descriptor, F_FULLFSYNC) == 0) return 0;
#endif
  return ::fsync(descriptor);
}

}  // namespace

bool isPathSeparator(char c) { return c == '/'; }

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

bool regularFileStatus(const std::string& path, std::uint64_t* size, std::int64_t* mtime) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  *size = static_cast<std::uint64_t>(st.st_size);
  *mtime = static_cast<std::int64_t>(st.st_mtime);
  return true;
}

std::FILE* openFile(const std::string& path, const char* mode) {
  return std::fopen(path.c_str(), mode);
}

bool openFileSize(std::FILE* file, std::uint64_t* size) {
  struct stat st;
  if (::fstat(fileno(file), &st) != 0) return false;
  if (S_ISDIR(st.st_mode)) {
    errno = EISDIR;
    return false;
  }
  *size = static_cast<std::uint64_t>(st.st_size);
  return true;
}

bool listFolder(const std::string& folder, std::vector<FolderEntry>* entries) {
  DIR* listing = ::opendir(folder.c_str());
  if (listing == nullptr) return false;
  while (const dirent* entry = ::readdir(listing)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat st;
    const bool isFile = ::stat(joinPath(folder, name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
    entries->push_back(FolderEntry{name, isFile});
  }
  ::closedir(listing);
  return true;
}

bool removeFile(const std::string& path) { return std::remove(path.c_str()) == 0; }

long currentProcessId() { return static_cast<long>(::getpid()); }

bool processIsRunning(long pid) {
  if (pid <= 0) return false;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

bool createTempBeside(const std::string& target, std::string* tempPath, NativeFile* file) {
  std::string pattern = target + ".tmp-" + std::to_string(currentProcessId()) + "-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int descriptor = ::mkstemp(name.data());
  if (descriptor < 0) return false;
  struct stat st;
  mode_t mode;
  if (::stat(target.c_str(), &st) == 0) {
    mode = st.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  if (::fchmod(descriptor, mode) != 0) {
    const int saved = errno;
    ::close(descriptor);
    ::unlink(name.data());
    errno = saved;
    return false;
  }
  *tempPath = name.data();
  *file = descriptor;
  return true;
}

bool writeAll(NativeFile file, const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = ::write(fd(file), p, size);
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

void startFlush(NativeFile file) {
#ifdef SYNC_FILE_RANGE_WRITE
  if (file != kNoFile) ::sync_file_range(fd(file), 0, 0, SYNC_FILE_RANGE_WRITE);
#else
  (void)file;
#endif
}

bool flushAndClose(NativeFile* file) {
  if (*file == kNoFile) {
    errno = EBADF;
    return false;
  }
  const int descriptor = fd(*file);
  *file = kNoFile;
  if (flushToDisk(descriptor) != 0) {
    const int saved = errno;
    ::close(descriptor);
    errno = saved;
    return false;
  }
  return ::close(descriptor) == 0;
}

bool closeFile(NativeFile* file) {
  if (*file == kNoFile) {
    errno = EBADF;
    return false;
  }
  const int descriptor = fd(*file);
  *file = kNoFile;
  return ::close(descriptor) == 0;
}

bool replaceFile(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0;
}

void syncFolder(const std::string& folder) {
  int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (descriptor < 0) return;
  flushToDisk(descriptor);
  ::close(descriptor);
}

void* allocateLargeBlock(std::size_t bytes) {
  if (bytes < kHugePage) return std::malloc(bytes > 0 ? bytes : 1);
  // aligned_alloc wants a multiple of the alignment; the tail past `bytes`
  // is never used.
  const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  void* block = std::aligned_alloc(kHugePage, rounded);
#ifdef MADV_HUGEPAGE
  // Only advice: a system without huge pages keeps ordinary ones.
  if (block != nullptr) ::madvise(block, rounded, MADV_HUGEPAGE);
#endif
  return block;
}

void freeLargeBlock(void* block) { std::free(block); }

void localTimeNow(std::tm* when, std::string* zoneName) {
  std::time_t now = std::time(nullptr);
  *when = std::tm{};
  localtime_r(&now, when);
  tzset();
  const char* zone = tzname[when->tm_isdst > 0 ? 1 : 0];
  *zoneName = zone != nullptr ? zone : "";
}

}  // namespace platform
}  // namespace tav
