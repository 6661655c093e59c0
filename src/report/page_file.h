// PageFile puts one file of the results site into the output folder so that
// nobody reading the site ever sees it half written: the bytes go to a
// temporary file beside it, which is renamed over the page only when every
// byte has been written.  A run that fails before `finish()` leaves the
// earlier version of the page in place (the temporary file is removed).
//
// A page whose file already holds the same bytes is left alone: its file
// time stays, so tools that upload the site send only the pages that
// changed.  The time stamp of a page's footer does not count as a change.
//
// Pages are not flushed to disk one by one: a new process makes every page
// again and compares it with the file, so a page lost in a crash is written
// again by the next run; the rename alone keeps readers from seeing a
// partial page.
#ifndef TAVC_REPORT_PAGE_FILE_H_
#define TAVC_REPORT_PAGE_FILE_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "dbf/file_io.h"

namespace tav {

// What the pages of a run did to the output folder.
struct PageCounts {
  int written = 0;    // new or changed pages put in place
  int unchanged = 0;  // pages whose file already held the same page

  void add(const PageCounts& other) {
    written += other.written;
    unchanged += other.unchanged;
  }
};

// The span of a page that may differ from the file without the page
// counting as changed: the time stamp of its footer (none when `size` is 0).
struct PageStamp {
  std::size_t at = 0;
  std::size_t size = 0;
};

class PageFile {
 public:
  // Creates the temporary file for `path`.  Failure: "Unable to open: "
  // path " - " and the system's text.
  bool open(const std::string& path);
  // Renames the file into place with `bytes`, or, when the file there holds
  // the same page apart from `stamp`, removes the temporary file and keeps
  // it.  Counts the page in `counts` (may be null).  A short write or a
  // failed close (a full disk) fails with "Unable to write: " path " - " and
  // the system's text, and leaves the earlier page.
  bool finish(std::string_view bytes, PageStamp stamp = {}, PageCounts* counts = nullptr);
  const std::string& path() const { return file_.target(); }

 private:
  SafeFileWriter file_;
};

// Writes a whole file through PageFile.
bool writePageFile(const std::string& path, std::string_view bytes, PageStamp stamp = {},
                   PageCounts* counts = nullptr);

// The whole content of a file; false when it cannot be opened or read.
bool readFileBytes(const std::string& path, std::string* bytes);

// True when `file` holds `page`, where the span `stamp` of the page may be
// any other one-line text of at most 64 bytes in the file.
bool samePage(std::string_view file, std::string_view page, PageStamp stamp);

// folder + "/" + name + extension, for a name built from identifiers and
// names.  A name that could leave the folder (empty, "." or "..", or holding
// "/", "\\" or a NUL) fails with "Invalid file name: " and the name.
bool outputFileName(const std::string& folder, const std::string& name,
                    const std::string& extension, std::string* path);

}  // namespace tav

#endif  // TAVC_REPORT_PAGE_FILE_H_
