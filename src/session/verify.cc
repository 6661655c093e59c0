// Verification of the open database (CTav::verify): the tables' structure,
// identifiers that are 0, identifiers used by more than one record, and -
// through the check the caller passes in - the references between the event
// tables and the register.
//
// Findings go to the kept error text, one per line.  The only data changed
// are the repairs: a record-count fault is corrected in memory as soon as it
// is found (so that the save the message offers writes every record), and
// with `repair` the live records whose identifier is 0 are deleted.  Both
// change memory only; nothing reaches the disk until the application saves.
#include <algorithm>
#include <set>
#include <sstream>
#include <string_view>
#include <utility>

#include "base/failure_record.h"
#include "dbf/field_text.h"
#include "session/tav.h"

namespace tav {
namespace {

// The address the fatal structure message asks the user to send the
// database to.  A neutral placeholder: a distribution puts its own support
// address here.
constexpr const char* kSupportAddress = "support@example.org";

// Tables whose identifiers may repeat: not examined for duplicates.
constexpr const char* kDuplicateExempt =
    "BST CFG CVM CTE JE4 JES JEV MES MOT NEN OBO OJE OPE PAT PCD PER POAC PJS PPRF "
    "TCC TEC TEM TTM";

// Tables without identifiers of their own: not examined for zeros.
bool zeroExempt(const std::string& handle) { return handle == "CFG" || handle == "TTM"; }

const char* const kCountQuestion =
    "\nThe database contains dbaseIV errors which should be correctable.\n"
    "I can not continue without correcting these errors.\n"
    "Shall I correct the errors and save the database for you?";

std::set<std::string> duplicateExemptSet() {
  std::set<std::string> handles;
  std::istringstream words(kDuplicateExempt);
  for (std::string handle; words >> handle;) handles.insert(handle);
  return handles;
}

// The identifier field of a table: the handle and "_ID" ("PRF_ID" for PPRF).
std::string identifierField(const std::string& handle) {
  return handle == "PPRF" ? "PRF_ID" : handle + "_ID";
}

// The identifier texts of every record the header counts, deleted ones
// included.  A record the header counts but the table does not hold fails
// the read, as does a table without its identifier field.
bool readIdentifiers(CDbf* table, const std::string& handle,
                     std::vector<std::string_view>* ids) {
  const int field = table->getFieldIndex(identifierField(handle));
  if (field < 0) return false;
  const std::size_t count = table->getNumRecs();
  ids->clear();
  ids->reserve(count);
  for (std::size_t recNo = 0; recNo < count; ++recNo) {
    if (recNo >= table->numRecordsHeld()) {
      bool deleted = false;
      std::vector<std::string> values;
      return table->getSingleRecData(static_cast<int>(recNo), std::vector<int>{field}, 0,
                                     &deleted, &values);
    }
    ids->push_back(table->fieldText(recNo, field));
  }
  return true;
}

std::string structureReason(int result) {
  if (result == -1) return "record count != number of actual records";
  if (result == -2) return "field size mismatch";
  return "invalid field type (not C, D, N or L)";
}

}  // namespace

int CTav::checkStructure(const std::vector<std::string>& handles) {
  for (const std::string& handle : handles) {
    CDbf* dbf = table(handle);
    if (dbf == nullptr) return -1;
    int result = dbf->verify(false);
    if (result == -1) {
      setErrStr(true, "Error: " + handle + ": " + structureReason(-1) + kCountQuestion, false,
                true);
      // Corrected here, so that the save the question offers writes every
      // record the table holds (the count becomes the records held).
      dbf->verify(true);
      result = dbf->verify(false);
    }
    if (result == -2 || result == -3) {
      setErrStr(true, "Fatal dbaseIV error occured: " + handle + ": " + structureReason(result) +
                          "\nUnable to open database.\nPlease send database to " +
                          kSupportAddress + " for analysis.",
                false, true);
      return -1;
    }
  }
  return getErrStr().empty() ? 1 : -1;
}

int CTav::checkZeroIdentifiers(const std::vector<std::string>& handles, bool repair) {
  // Every table is read before anything is deleted: a read that fails leaves
  // all tables as they were.
  std::vector<std::pair<CDbf*, int>> faults;
  std::vector<std::string_view> ids;
  for (const std::string& handle : handles) {
    if (zeroExempt(handle)) continue;
    CDbf* dbf = table(handle);
    if (dbf == nullptr || !readIdentifiers(dbf, handle, &ids)) return -1;
    for (std::size_t recNo = 0; recNo < ids.size(); ++recNo) {
      if (dbf->isDeleted(recNo) || decimalValue(ids[recNo]) != 0) continue;
      faults.emplace_back(dbf, static_cast<int>(recNo));
      if (!repair) {
        setErrStr(false, "Handle: " + handle + "  Field: " + identifierField(handle) + "=" +
                             std::to_string(recNo) + "  All handle IDs must not be 0.",
                  true, true);
      }
    }
  }
  if (repair) {
    for (const auto& fault : faults) {
      if (!fault.first->deleteRec(fault.second)) return -1;
    }
  }
  return getErrStr().empty() ? 1 : -1;
}

int CTav::checkDuplicateIdentifiers(const std::vector<std::string>& handles) {
  const std::set<std::string> exempt = duplicateExemptSet();
  std::vector<std::string_view> ids;
  std::vector<std::pair<std::string_view, int>> sorted;
  for (const std::string& handle : handles) {
    if (exempt.count(handle) != 0) continue;
    CDbf* dbf = table(handle);
    if (dbf == nullptr || !readIdentifiers(dbf, handle, &ids)) return -1;
    // Sorted by identifier text, record numbers ascending within one text:
    // equal identifiers stand side by side.
    sorted.clear();
    for (std::size_t recNo = 0; recNo < ids.size(); ++recNo) {
      sorted.emplace_back(ids[recNo], static_cast<int>(recNo));
    }
    std::sort(sorted.begin(), sorted.end());
    for (std::size_t first = 0; first < sorted.size();) {
      std::size_t end = first + 1;
      while (end < sorted.size() && sorted[end].first == sorted[first].first) ++end;
      if (end - first > 1) {
        std::string line = handle + "\t" + std::string(sorted[first].first);
        for (std::size_t i = first; i < end; ++i) line += "\t" + std::to_string(sorted[i].second);
        setErrStr(false, line + "\n", true, true);
      }
      first = end;
    }
  }
  return getErrStr().empty() ? 1 : -1;
}

int CTav::verify(int type, bool repair, const std::function<bool()>& checkReferences) {
  CallTrace t("CTav.verify");
  clearErrStr();
  if (type < 0 || type > 4) {
    failWith("Invalid type: " + std::to_string(type));
    return -1;
  }
  std::vector<std::string> handles;
  handles_.getDbfHandleVec(&handles);
  int result = 1;
  if (type == 4) {
    if (!checkReferences || !checkReferences()) return -1;
  } else {
    if (result == 1 && (type == 0 || type == 1)) result = checkStructure(handles);
    if (result == 1 && (type == 0 || type == 2)) result = checkZeroIdentifiers(handles, repair);
    if (result == 1 && (type == 0 || type == 3)) result = checkDuplicateIdentifiers(handles);
    if (result != 1) return -1;
  }
  t.succeed();
  return 1;
}

}  // namespace tav
