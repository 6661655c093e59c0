#include "event/maintenance.h"

#include <set>
#include <string>
#include <vector>

#include "base/failure_record.h"
#include "basic/maintenance.h"
#include "event/event_tree.h"
#include "session/tav.h"

namespace tav {
namespace {

// Emptied by eraseAll in this order; then the tables of later versions.
const char* const kEraseList[] = {"CAT", "CVM", "EVT", "JE4", "JES", "JEV", "JPS", "MES",
                                  "MOT", "OBO", "OJE", "OPE", "PAR", "PCT", "PEL", "PER",
                                  "PJS", "PPRF", "PRF", "SCP", "TIM", "TTM"};

struct VersionTables {
  int version;
  std::vector<const char*> handles;
};

const VersionTables kLaterErase[] = {
    {11048, {"PCD"}},  {11063, {"PAT"}},  {11072, {"NEN"}},
    {11087, {"POAC"}}, {11092, {"CTE", "TCC", "TEC", "TEM"}}, {11121, {"MED"}},
};

// Tables whose records the event tree refers to by number.
const std::set<std::string> kTreeTables = {"CAT", "EVT", "JPS", "OPE", "PAR",
                                           "PJS", "PRF", "SCP", "TIM", "TTM"};

}  // namespace

bool eraseAll() {
  CallTrace t("CTav.eraseAll");
  events().eventClose();
  const int version = session().version().versionNumber();
  if (version == -1) return false;
  std::vector<const char*> handles(std::begin(kEraseList), std::end(kEraseList));
  for (const VersionTables& later : kLaterErase) {
    if (version >= later.version) handles.insert(handles.end(), later.handles.begin(), later.handles.end());
  }
  std::vector<CDbf*> tables;
  for (const char* handle : handles) {
    tables.push_back(session().handles().getDbfHandlePtr(handle));
    if (tables.back() == nullptr) return false;
  }
  for (CDbf* table : tables) {
    if (!table->clearRecs()) return false;
  }
  return rebuildRegister() && t.succeed();
}

bool compress(bool* removed) {
  CallTrace t("CTav.compress");
  *removed = false;
  bool treeChanged = false;
  for (const auto& entry : session().handles().tables()) {
    if (!entry.second->compressRecs()) continue;
    *removed = true;
    if (kTreeTables.count(entry.first) != 0) treeChanged = true;
  }
  if (treeChanged) events().eventClose();
  if (*removed && !rebuildRegister()) return false;
  return t.succeed();
}

}  // namespace tav
