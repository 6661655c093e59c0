// Small file-system helpers shared by the table engine and the session:
// joining a folder and a file name, the modification time of a path, the C
// library's text for the current error number, and SafeFileWriter, which
// replaces a file only once its new content is complete and on disk.
#ifndef TAVC_DBF_FILE_IO_H_
#define TAVC_DBF_FILE_IO_H_

#include <cstdint>
#include <string>

namespace tav {

// folder + "/" + name; no second "/" when the folder already ends in one.
std::string joinPath(const std::string& folder, const std::string& name);

// True when the path can be examined; then *mtime is its modification time in
// seconds since 1970.
bool fileMtime(const std::string& path, std::int64_t* mtime);

bool fileExists(const std::string& path);

// The C library's message for the current error number.
std::string errnoText();

// Writes a new version of a file crash-safely: the bytes go to a temporary
// file in the same folder, which is flushed to disk and then renamed over the
// target.  Until `commit()` succeeds the target is untouched; a writer that is
// destroyed without a successful commit removes its temporary file.  Every
// failure leaves errno set for the caller's message.
class SafeFileWriter {
 public:
  SafeFileWriter() = default;
  ~SafeFileWriter();
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  // Creates the temporary file beside `target`.  The new file gets the
  // target's permission bits when the target exists.
  bool open(const std::string& target);
  // Writes all `size` bytes; false on a short write.
  bool write(const void* data, std::size_t size);
  // Writes `size` zero bytes.
  bool writeZeros(std::size_t size);
  // Flushes to disk and renames over the target.
  bool commit();
  // Removes the temporary file (done automatically when not committed).
  void discard();

 private:
  std::string target_;
  std::string temp_;
  int fd_ = -1;
};

}  // namespace tav

#endif  // TAVC_DBF_FILE_IO_H_
