// The platform layer on Windows (MSVC and MinGW-w64).
//
// Paths arrive as UTF-8 and are handed to the wide ("W") functions, so that
// folders with names outside the machine's ANSI code page work.  Failures of
// the Win32 functions are translated to the nearest errno value, so that the
// library's messages read the same as on the other systems.
//
// Crash safety: the temporary file is flushed with FlushFileBuffers, which
// waits until the data is on the disk, and put in place with MoveFileEx with
// MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH, which replaces the
// target in one step and returns only once the rename is on disk.  Windows
// has no flush for a folder; the write-through rename takes its place.  A
// target that another program holds open is waited for a moment, or replaced
// under the reader where Windows allows it (see replaceFile).
//
// Large blocks: large pages need a privilege (SeLockMemoryPrivilege) that
// ordinary accounts lack, so blocks are plain aligned heap memory.
#include "base/platform.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <io.h>
#include <malloc.h>
#include <sys/types.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace tav {
namespace platform {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kSmallAlignment = 16;

HANDLE handleOf(NativeFile file) { return reinterpret_cast<HANDLE>(file); }

std::wstring wide(const std::string& utf8) {
  if (utf8.empty()) return std::wstring();
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(),
                                           static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &out[0],
                        length);
  return out;
}

std::string utf8(const wchar_t* text) {
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (length <= 1) return std::string();
  std::string out(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], length, nullptr, nullptr);
  out.resize(static_cast<std::size_t>(length - 1));
  return out;
}

// Sets errno from the last Win32 error.
void setErrnoFromLastError() {
  switch (::GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_PATHNAME:
      errno = ENOENT;
      break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      errno = EACCES;
      break;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      errno = EEXIST;
      break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      errno = ENOSPC;
      break;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
      errno = ENOMEM;
      break;
    case ERROR_INVALID_HANDLE:
      errno = EBADF;
      break;
    case ERROR_FILENAME_EXCED_RANGE:
      errno = ENAMETOOLONG;
      break;
    case ERROR_DIRECTORY:
      errno = ENOTDIR;
      break;
    default:
      errno = EIO;
      break;
  }
}

// errno for a failure to reach `path`.  Windows answers "path not found"
// where a part of the path is a file, not a folder; that is "not a
// directory", as the other systems say.
void setErrnoForPath(const std::string& path) {
  setErrnoFromLastError();
  if (errno != ENOENT) return;
  std::string folder = path;
  for (;;) {
    const std::size_t cut = folder.find_last_of("/\\");
    if (cut == std::string::npos || cut == 0) return;
    folder.erase(cut);
    if (folder.back() == ':') return;  // a drive's root
    const DWORD attributes = ::GetFileAttributesW(wide(folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) continue;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) errno = ENOTDIR;
    return;
  }
}

bool isFolder(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Seconds since 1970 of a FILETIME (100 ns steps since 1601).
std::int64_t unixSeconds(const FILETIME& time) {
  ULARGE_INTEGER ticks;
  ticks.LowPart = time.dwLowDateTime;
  ticks.HighPart = time.dwHighDateTime;
  constexpr std::uint64_t kTicksPerSecond = 10000000ULL;
  constexpr std::uint64_t kSecondsFrom1601To1970 = 11644473600ULL;
  return static_cast<std::int64_t>(ticks.QuadPart / kTicksPerSecond) -
         static_cast<std::int64_t>(kSecondsFrom1601To1970);
}

// Six characters for a temporary name, different on every call of this
// process and unlikely to meet another process's.
std::string uniqueSuffix() {
  static const char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  static volatile LONG counter = 0;
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  std::uint64_t mix = static_cast<std::uint64_t>(now.QuadPart) * 6364136223846793005ULL +
                      (static_cast<std::uint64_t>(::GetCurrentProcessId()) << 20) +
                      static_cast<std::uint64_t>(::InterlockedIncrement(&counter));
  mix ^= mix >> 29;
  std::string out;
  for (int i = 0; i < 6; ++i) {
    out += kDigits[mix % 36];
    mix /= 36;
  }
  return out;
}

// A target that another program holds open cannot be renamed over with
// MoveFileEx (a browser or a web server reading a page, a virus scanner or
// the search indexer looking at a new table).  Such readers let go within
// moments, so the rename is tried again for a while (kReplaceAttempts times,
// kReplacePauseMs apart: about two seconds) before the write is reported as
// failed.  A reader that shares deletion (FILE_SHARE_DELETE, as browsers do)
// is replaced at once by the POSIX-semantics rename of Windows 10 1607 and
// later: it keeps reading the old content, and the next one to open the name
// reads the new.  Older systems refuse that rename and are waited for.
constexpr int kReplaceAttempts = 40;
constexpr DWORD kReplacePauseMs = 50;

bool targetHeldOpen(DWORD error) {
  return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION ||
         error == ERROR_LOCK_VIOLATION;
}

// FILE_RENAME_INFO with the flags word of Windows 10 1607 (FileRenameInfoEx),
// spelt out here because older SDK headers declare only its boolean form.
struct RenameInfoEx {
  DWORD flags;
  HANDLE rootDirectory;
  DWORD fileNameLength;  // bytes
  WCHAR fileName[1];
};
constexpr DWORD kRenameReplaceIfExists = 0x1;
constexpr DWORD kRenamePosixSemantics = 0x2;
constexpr int kFileRenameInfoEx = 22;  // FILE_INFO_BY_HANDLE_CLASS

bool renameOverOpenTarget(const std::wstring& from, const std::wstring& to) {
  HANDLE source = ::CreateFileW(from.c_str(), DELETE | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (source == INVALID_HANDLE_VALUE) return false;
  const DWORD nameBytes = static_cast<DWORD>(to.size() * sizeof(WCHAR));
  std::vector<unsigned char> buffer(sizeof(RenameInfoEx) + nameBytes, 0);
  RenameInfoEx* info = reinterpret_cast<RenameInfoEx*>(buffer.data());
  info->flags = kRenameReplaceIfExists | kRenamePosixSemantics;
  info->fileNameLength = nameBytes;
  std::memcpy(info->fileName, to.data(), nameBytes);
  const bool renamed =
      ::SetFileInformationByHandle(source, static_cast<FILE_INFO_BY_HANDLE_CLASS>(kFileRenameInfoEx),
                                   info, static_cast<DWORD>(buffer.size())) != 0;
  if (renamed) ::FlushFileBuffers(source);  // the rename on disk, as write-through does
  ::CloseHandle(source);
  return renamed;
}

}  // namespace

bool isPathSeparator(char c) { return c == '/' || c == '\\'; }

bool fileMtime(const std::string& path, std::int64_t* mtime) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &data)) {
    setErrnoFromLastError();
    return false;
  }
  *mtime = unixSeconds(data.ftLastWriteTime);
  return true;
}

bool fileExists(const std::string& path) {
  return ::GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool regularFileStatus(const std::string& path, std::uint64_t* size, std::int64_t* mtime) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExW(wide(path).c_str(), GetFileExInfoStandard, &data)) {
    setErrnoFromLastError();
    return false;
  }
  if ((data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
    return false;
  }
  *size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  *mtime = unixSeconds(data.ftLastWriteTime);
  return true;
}

std::FILE* openFile(const std::string& path, const char* mode) {
  std::FILE* file = ::_wfopen(wide(path).c_str(), wide(mode).c_str());
  if (file == nullptr && errno == ENOENT) {
    ::SetLastError(ERROR_PATH_NOT_FOUND);
    setErrnoForPath(path);
  }
  return file;
}

bool openFileSize(std::FILE* file, std::uint64_t* size) {
  struct _stat64 st;
  if (::_fstat64(::_fileno(file), &st) != 0) return false;
  if ((st.st_mode & _S_IFDIR) != 0) {
    errno = EISDIR;
    return false;
  }
  *size = static_cast<std::uint64_t>(st.st_size);
  return true;
}

bool listFolder(const std::string& folder, std::vector<FolderEntry>* entries) {
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW(wide(joinPath(folder, "*")).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    setErrnoFromLastError();
    return false;
  }
  do {
    const std::string name = utf8(found.cFileName);
    if (name == "." || name == "..") continue;
    const DWORD kNotAFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE;
    entries->push_back(FolderEntry{name, (found.dwFileAttributes & kNotAFile) == 0});
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return true;
}

bool removeFile(const std::string& path) {
  if (::DeleteFileW(wide(path).c_str())) return true;
  setErrnoFromLastError();
  return false;
}

long currentProcessId() { return static_cast<long>(::GetCurrentProcessId()); }

bool processIsRunning(long pid) {
  if (pid <= 0) return false;
  HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr) return ::GetLastError() == ERROR_ACCESS_DENIED;
  DWORD code = 0;
  const bool running = ::GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
  ::CloseHandle(process);
  return running;
}

bool createTempBeside(const std::string& target, std::string* tempPath, NativeFile* file) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name =
        target + ".tmp-" + std::to_string(currentProcessId()) + "-" + uniqueSuffix();
    HANDLE handle = ::CreateFileW(wide(name).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      *tempPath = name;
      *file = reinterpret_cast<NativeFile>(handle);
      return true;
    }
    const DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
  }
  setErrnoForPath(target);
  return false;
}

bool writeAll(NativeFile file, const void* data, std::size_t size) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const DWORD chunk = size > (DWORD{1} << 30) ? (DWORD{1} << 30) : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!::WriteFile(handleOf(file), p, chunk, &written, nullptr)) {
      setErrnoFromLastError();
      return false;
    }
    if (written == 0) {
      errno = EIO;
      return false;
    }
    p += written;
    size -= written;
  }
  return true;
}

void startFlush(NativeFile) {}

bool flushAndClose(NativeFile* file) {
  if (*file == kNoFile) {
    errno = EBADF;
    return false;
  }
  HANDLE handle = handleOf(*file);
  *file = kNoFile;
  if (!::FlushFileBuffers(handle)) {
    setErrnoFromLastError();
    const int saved = errno;
    ::CloseHandle(handle);
    errno = saved;
    return false;
  }
  if (!::CloseHandle(handle)) {
    setErrnoFromLastError();
    return false;
  }
  return true;
}

bool closeFile(NativeFile* file) {
  if (*file == kNoFile) {
    errno = EBADF;
    return false;
  }
  HANDLE handle = handleOf(*file);
  *file = kNoFile;
  if (::CloseHandle(handle)) return true;
  setErrnoFromLastError();
  return false;
}

bool replaceFile(const std::string& from, const std::string& to) {
  const std::wstring source = wide(from);
  const std::wstring target = wide(to);
  for (int attempt = 1;; ++attempt) {
    if (::MoveFileExW(source.c_str(), target.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return true;
    }
    const DWORD error = ::GetLastError();
    if (isFolder(target)) {
      errno = EISDIR;  // what the other systems say; Windows says "access denied"
      return false;
    }
    if (!targetHeldOpen(error) || attempt == kReplaceAttempts) {
      ::SetLastError(error);
      break;
    }
    if (renameOverOpenTarget(source, target)) return true;
    ::Sleep(kReplacePauseMs);
  }
  setErrnoFromLastError();
  return false;
}

void syncFolder(const std::string&) {}

void* allocateLargeBlock(std::size_t bytes) {
  if (bytes < kHugePage) return ::_aligned_malloc(bytes > 0 ? bytes : 1, kSmallAlignment);
  const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  return ::_aligned_malloc(rounded, kHugePage);
}

void freeLargeBlock(void* block) { ::_aligned_free(block); }

void localTimeNow(std::tm* when, std::string* zoneName) {
  std::time_t now = std::time(nullptr);
  *when = std::tm{};
  ::localtime_s(when, &now);
  TIME_ZONE_INFORMATION zone;
  const DWORD kind = ::GetTimeZoneInformation(&zone);
  if (kind == TIME_ZONE_ID_INVALID) {
    zoneName->clear();
    return;
  }
  *zoneName = utf8(when->tm_isdst > 0 ? zone.DaylightName : zone.StandardName);
}

}  // namespace platform
}  // namespace tav
