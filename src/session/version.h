// CVersion reads and caches the database's format version: the text of field
// CFG_DBFVER in the single record of the configuration table CFG.  Other parts
// switch behaviour by the version number (which tables are opened, which
// fields are read); `isSupported` tells the application whether this library
// knows the version.  The cached value stays until `close`.
#ifndef TAVC_SESSION_VERSION_H_
#define TAVC_SESSION_VERSION_H_

#include <string>

namespace tav {

class CHandle;

class CVersion {
 public:
  explicit CVersion(CHandle& handles) : handles_(handles) {}

  // The configuration table is open and holds exactly one record.
  bool isValid();
  // The version text; false when it cannot be read (the reason is kept, the
  // operation's own trace entry is not).
  bool getVersion(std::string* text);
  // The version as a number; -1 when it cannot be read.
  int versionNumber();
  // 0 supported, -1 older than every supported version, 1 newer, -2 unknown.
  int isSupported();
  // Forgets the version.
  void close();

 private:
  // Reads CFG_DBFVER of the configuration record into text_.
  bool readVersion();

  CHandle& handles_;
  bool known_ = false;  // the version field has been read (it may be blank)
  int number_ = -1;
  std::string text_;
};

}  // namespace tav

#endif  // TAVC_SESSION_VERSION_H_
