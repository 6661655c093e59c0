// PageFile puts one file of the results site into the output folder so that
// nobody reading the site ever sees it half written: the bytes go to a
// temporary file beside it, which is renamed over the page only when every
// byte has been written.  A run that fails before `finish()` leaves the
// earlier version of the page in place (the temporary file is removed).
//
// Pages are rebuilt on every run, so they are not flushed to disk one by
// one; the rename alone keeps readers from seeing a partial page.
#ifndef TAVC_REPORT_PAGE_FILE_H_
#define TAVC_REPORT_PAGE_FILE_H_

#include <string>
#include <string_view>

#include "dbf/file_io.h"

namespace tav {

class PageFile {
 public:
  // Creates the temporary file for `path`.  Failure: "Unable to open: "
  // path " - " and the system's text.
  bool open(const std::string& path);
  // Writes `bytes` and renames the file into place.  A short write or a
  // failed close (a full disk) fails with "Unable to write: " path " - " and
  // the system's text, and leaves the earlier page.
  bool finish(std::string_view bytes);
  const std::string& path() const { return file_.target(); }

 private:
  SafeFileWriter file_;
};

// Writes a whole file through PageFile.
bool writePageFile(const std::string& path, std::string_view bytes);

// folder + "/" + name + extension, for a name built from identifiers and
// names.  A name that could leave the folder (empty, "." or "..", or holding
// "/", "\\" or a NUL) fails with "Invalid file name: " and the name.
bool outputFileName(const std::string& folder, const std::string& name,
                    const std::string& extension, std::string* path);

}  // namespace tav

#endif  // TAVC_REPORT_PAGE_FILE_H_
