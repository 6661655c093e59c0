// CTav is the session: the one object between the command layer and the rest
// of the library.  It owns the path of the open database folder, the registry
// of open tables (CHandle) and the version check (CVersion); it opens a folder
// in the fixed table order, loads single tables, saves in place or to another
// folder, closes, answers the modification queries, and forwards the generic
// table access of the command layer to the table named by a handle.
//
// Every operation returns success or failure and leaves the reason in the
// failure record; operations that take a handle fail with the registry's
// message when the handle is not open.
#ifndef TAVC_SESSION_TAV_H_
#define TAVC_SESSION_TAV_H_

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "dbf/dbf.h"
#include "session/handle.h"
#include "session/version.h"

namespace tav {

// One row of tav_findFieldByName: a table that has the field.
struct FieldLocation {
  std::string handle;
  int index = 0;
  char type = 'C';
  int length = 0;
  int offset = 0;
};

class CTav {
 public:
  CTav();
  CTav(const CTav&) = delete;
  CTav& operator=(const CTav&) = delete;

  // ---- Folders, open, load, save, close (tav_open.cc) --------------------
  bool setExecPath(const std::string& folder);
  const std::string& execPath() const { return execPath_; }
  bool setDirectoryPath(const std::string& folder);
  bool getDirectoryPath(std::string* folder) const;
  bool openDB(const std::string& folder);
  bool loadHandle(const std::string& handle);
  bool close();
  // Functions run whenever the session discards its tables (close, and a
  // table read again), so that structures built over the tables by higher
  // layers are emptied with them.
  void addCloseListener(std::function<void()> listener);
  bool saveAll();
  bool saveAsAll(const std::string& folder);

  // ---- Modification queries (tav_modified.cc) -----------------------------
  bool getLatestModified(std::int64_t* time);
  bool getHandleMtime(const std::string& handle, std::int64_t* time);
  bool isHandleModified(const std::string& handle, bool* modified);
  bool anyHandleModified(bool* modified);
  bool cdxHandleExists(const std::string& handle, bool* exists);
  bool setHandleModified(const std::string& handle);
  bool updateHandleMtime(const std::string& handle);
  bool getHandleList(std::vector<std::string>* names);

  // ---- Version (tav_version.cc) -------------------------------------------
  // The version text; with `dotted`, a five-character text reads 1.11.35.
  bool getDBversion(std::string* text, bool dotted);
  int isSupported();
  CVersion& version() { return version_; }

  // ---- Generic table access (tav_tables.cc) -------------------------------
  bool getHandleNumFields(const std::string& handle, int* count);
  bool getHandleNumRecs(const std::string& handle, int* count);
  bool getHandleNumDelRecs(const std::string& handle, int* count);
  bool getHandleHdate(const std::string& handle, std::string* date);
  // The table's code page (language driver) byte, for text conversion.
  bool getHandleCodePage(const std::string& handle, std::uint8_t* codePage);
  bool getHandleFieldParams(const std::string& handle, int index, std::string* name,
                            char* type, int* length, int* offset);
  // The field index; -1 when the table has no such field, -2 when the handle
  // is not open.
  int getHandleFieldIndex(const std::string& handle, const std::string& name);
  bool getHandleFieldNames(const std::string& handle, std::vector<std::string>* names);
  // The record whose field text equals `value`; -99 when the handle or the
  // field does not exist, -1 when no record matches.
  int getHandleRecNo(const std::string& handle, const std::string& field,
                     const std::string& value);
  bool getHandleSingleRecData(const std::string& handle, int recNo,
                              const std::vector<std::string>& fields, int mode,
                              bool* deleted, std::vector<std::string>* values);
  bool getHandleMapRecData(const std::string& handle, int recNo, bool* deleted,
                           std::map<std::string, std::string>* values);
  bool getHandleFieldRecData(const std::string& handle,
                             const std::vector<std::string>& fields,
                             const std::map<std::string, std::string>& qualifiers,
                             const std::string& sortName, bool ignoreCase,
                             std::vector<std::string>* lines);
  bool clearHandleRecs(const std::string& handle);
  bool updateHandleRecData(const std::string& handle, int recNo,
                           const std::vector<std::string>& assignments);
  bool addHandleRecData(const std::string& handle,
                        const std::vector<std::string>& assignments, int* recNo);
  bool delHandleRec(const std::string& handle, int recNo);
  // The tables that have a field, in handle order.  The name is asked for
  // once per table, in that table's code page.
  bool findFieldByName(const std::function<std::string(std::uint8_t codePage)>& nameFor,
                       std::vector<FieldLocation>* rows);
  // Matches of every open table that has any, by handle.  The search text is
  // asked for once per table, in that table's code page.
  bool findFieldData(const std::function<std::string(std::uint8_t codePage)>& textFor,
                     std::vector<std::pair<std::string, FieldMatches>>* matches);

  // ---- Verification and repair (verify.cc) --------------------------------
  // Runs the checks of a verification type: 0 structure, zero identifiers
  // and duplicate identifiers (stopping after the first check that finds
  // anything); 1 structure; 2 zero identifiers (deleting the live records
  // whose identifier is 0 when `repair` is set); 3 duplicate identifiers;
  // 4 references, through `checkReferences` (the event tree and the register
  // live above the session), whose findings are warnings.  1 when the
  // checks ran and, for types 0 to 3, found nothing; -1 otherwise.  The
  // findings are in the kept error text.
  int verify(int type, bool repair, const std::function<bool()>& checkReferences = {});

  // ---- Comparison of two database folders (compare.cc) --------------------
  // Compares the tables of two folders and shows the differences as rows of
  // the application's two list widgets (see compare.h).
  bool compareDbf(const std::string& database1, const std::string& database2,
                  const std::string& listBox1, const std::string& listBox2);

  CHandle& handles() { return handles_; }

 private:
  int checkStructure(const std::vector<std::string>& handles);
  int checkZeroIdentifiers(const std::vector<std::string>& handles, bool repair);
  int checkDuplicateIdentifiers(const std::vector<std::string>& handles);

  CDbf* table(const std::string& handle) { return handles_.getDbfHandlePtr(handle); }
  bool loadHandles(const char* list);
  void notifyClose();

  CHandle handles_;
  CVersion version_;
  std::string directory_;
  std::string execPath_;
  std::vector<std::function<void()>> closeListeners_;
};

// The session object of the library, constructed when the library is loaded.
CTav& session();

}  // namespace tav

#endif  // TAVC_SESSION_TAV_H_
