// The operating system as the library needs it, behind one small interface:
// files written crash-safely (a temporary file beside the target, written,
// flushed to disk and renamed over the target), folder flushes, file times,
// opening files by a UTF-8 path, large memory blocks with huge/large-page
// advice, and the local time.  There is one implementation per platform
// (platform_posix.cc, platform_windows.cc), and the build compiles exactly
// one of them; no other file of the library tests which system it runs on.
//
// Every function that can fail returns false (or nullptr) and leaves errno
// set to the C library's number for the reason, so that callers word their
// messages the same way on every system.
#ifndef TAVC_BASE_PLATFORM_H_
#define TAVC_BASE_PLATFORM_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace tav {
namespace platform {

// ---- paths ----------------------------------------------------------------

// True for a character that separates the parts of a path: "/" everywhere,
// and also "\" on Windows.
bool isPathSeparator(char c);

// folder + "/" + name; no separator is added when the folder already ends
// in one.  Windows accepts "/" beside "\", so one form serves everywhere.
std::string joinPath(const std::string& folder, const std::string& name);

// The folder part of a path including its last separator, or "." when the
// path has none.
std::string folderOf(const std::string& path);

// ---- file information -------------------------------------------------------

// True when the path can be examined; then *mtime is its modification time in
// seconds since 1970.
bool fileMtime(const std::string& path, std::int64_t* mtime);

bool fileExists(const std::string& path);

// True when the path is a regular file (not a folder or a device); then
// *size is its size in bytes and *mtime its modification time in seconds
// since 1970.
bool regularFileStatus(const std::string& path, std::uint64_t* size, std::int64_t* mtime);

// fopen for a UTF-8 path (the narrow fopen of Windows reads the path in the
// machine's ANSI code page instead).
std::FILE* openFile(const std::string& path, const char* mode);

// The size in bytes of an open file; false (errno set) when it cannot be
// told, with EISDIR for a folder (which has no bytes to carry).
bool openFileSize(std::FILE* file, std::uint64_t* size);

// Removes a file; false (errno set) when it cannot be removed.
bool removeFile(const std::string& path);

// One name in a folder, and whether it is a regular file (not a folder or a
// device).
struct FolderEntry {
  std::string name;
  bool isFile = false;
};

// The names in a folder, without "." and "..", in the order the system gives
// them; false (errno set) when the folder cannot be read.
bool listFolder(const std::string& folder, std::vector<FolderEntry>* entries);

// ---- crash-safe replacement of a file --------------------------------------

// An open file of the operating system (a descriptor or a handle).
using NativeFile = std::intptr_t;
constexpr NativeFile kNoFile = -1;

// Creates a new, uniquely named file beside `target`
// ("<target>.tmp-<process id>-<unique letters>") and opens it for writing.
// The process identifier in the name tells later runs whether the file's
// writer is still at work (processIsRunning).  The file gets the target's
// permission bits when the target exists, the process's default ones
// otherwise.
bool createTempBeside(const std::string& target, std::string* tempPath, NativeFile* file);

// This process's identifier, and whether a process of that identifier is
// running now (a process that ended, killed or not, is not).
long currentProcessId();
bool processIsRunning(long pid);

// Writes all `size` bytes; false on a short write.
bool writeAll(NativeFile file, const void* data, std::size_t size);

// Starts writing the file's content back to disk without waiting, where the
// system can; only a head start for flushAndClose, which reports errors.
void startFlush(NativeFile file);

// Waits until the content is on disk, then closes the file.  The file is
// closed (and *file is kNoFile) afterwards either way.
bool flushAndClose(NativeFile* file);

// Closes without flushing.  The file is closed (and *file is kNoFile)
// afterwards either way; false (errno set) when the system reports an error.
bool closeFile(NativeFile* file);

// Renames `from` over `to`, replacing it in one step; the rename itself is
// durable once this returns on systems that can promise it per call
// (Windows: write-through), otherwise after syncFolder.  On Windows a target
// that another program holds open is tried again for about two seconds.
bool replaceFile(const std::string& from, const std::string& to);

// Makes the renames in a folder durable where the system has folder flushes.
// Best effort: a folder that cannot be flushed does not undo a rename that
// has already happened.
void syncFolder(const std::string& folder);

// ---- memory -----------------------------------------------------------------

// Room for `bytes` bytes, uninitialised, or nullptr.  Blocks of 2 MiB and
// more are aligned to 2 MiB and advised to be backed by huge (large) pages
// where the system offers that without special privileges; the advice
// changes only speed, never content.
void* allocateLargeBlock(std::size_t bytes);

// Frees a block from allocateLargeBlock (nullptr is allowed).
void freeLargeBlock(void* block);

// ---- time -------------------------------------------------------------------

// The current local time and the name of its time zone.
void localTimeNow(std::tm* when, std::string* zoneName);

}  // namespace platform
}  // namespace tav

#endif  // TAVC_BASE_PLATFORM_H_
