// Planned elements of an entry (PEL) and the element register (ELM, ELL,
// DGR): full names, name types and short display names of element codes.
#include <cstdio>
#include <string>

#include "base/failure_record.h"
#include "basic/basic.h"
#include "basic/basic_impl.h"
#include "dbf/dbf.h"
#include "dbf/field_text.h"
#include "session/tav.h"

namespace tav {
namespace {

constexpr int kPlannedPerProgram = 20;
constexpr int kTransitionVersion = 11063;  // PEL_?TRA fields from this version on

std::string numberedField(int program, const char* family, int n) {
  char name[16];
  std::snprintf(name, sizeof name, "PEL_%d%s%02d", program, family, n);
  return name;
}

// Appends the twenty values of one program's field family.
bool appendProgram(CDbf* pel, int recNo, int program, const char* family,
                   std::vector<std::string>* values) {
  std::string text;
  for (int n = 1; n <= kPlannedPerProgram; ++n) {
    const int field = pel->getFieldIndex(numberedField(program, family, n));
    if (field < 0 || !readText(pel, recNo, field, &text)) return false;
    values->push_back(text);
  }
  return true;
}

// Replaces the first `from` in `text` by `to`.
void replaceFirst(std::string* text, const std::string& from, const std::string& to) {
  const std::size_t at = text->find(from);
  if (at != std::string::npos) text->replace(at, from.size(), to);
}

}  // namespace

// The PEL record of an entry; -1 when the entry has no planned elements.
bool CBasic::getPctIdPelRecNo(int id, int* recNo) {
  CallTrace t("CBasic.getPctIdPelRecNo");
  *recNo = -1;
  auto pel = impl_->pelOfPct.find(id);
  if (id == 0 || pel == impl_->pelOfPct.end()) return t.succeed();
  auto record = impl_->pelIds.find(pel->second);
  if (record == impl_->pelIds.end()) {
    return failWith("Invalid PEL_ID: " + std::to_string(pel->second));
  }
  *recNo = record->second;
  return t.succeed();
}

bool CBasic::getPctPelData(int id, int program, bool selection, std::vector<std::string>* first,
                           std::vector<std::string>* second) {
  CallTrace t("CBasic.getPctPelData");
  first->clear();
  second->clear();
  int recNo = -1;
  if (!getPctIdPelRecNo(id, &recNo)) return false;
  if (recNo < 0) return t.succeed();
  const char* family = selection ? "NLE" : "NAE";
  const bool transitions = session().version().versionNumber() >= kTransitionVersion;
  for (int p = 1; p <= 2; ++p) {
    if (program != 0 && program != p) continue;
    if (!appendProgram(impl_->pel, recNo, p, family, first)) return false;
    if (transitions && !appendProgram(impl_->pel, recNo, p, "TRA", second)) return false;
  }
  return t.succeed();
}

bool CBasic::getElmIdRecNo(int elmId, int* recNo) {
  CallTrace t("CBasic.getElmIdRecNo");
  auto found = impl_->elmIds.find(elmId);
  if (found == impl_->elmIds.end()) return failWith("No recNo for id: " + std::to_string(elmId));
  *recNo = found->second;
  return t.succeed();
}

// A "*" in the key marks an element called invalid: it is looked up without
// the marks and its name gets " (Invalid)".
bool CBasic::getElmFullName(const std::string& key, std::string* name) {
  CallTrace t("CBasic.getElmFullName");
  std::string clean;
  for (char c : key) {
    if (c != '*') clean += c;
  }
  std::vector<int> found;
  if (!findByName(kElements, clean, &found)) return false;
  if (found.empty()) {
    *name = "Unknown";
    return t.succeed();
  }
  CDbf* elm = impl_->elm;
  const int field = elm->getFieldIndex("ELM_NAME");
  if (field < 0 || !readText(elm, found[0], field, name)) return false;
  if (elm->isDeleted(found[0])) {
    name->clear();
    return failWith("Record deleted: " + std::to_string(found[0]));
  }
  if (clean.size() != key.size()) *name += " (Invalid)";
  return t.succeed();
}

bool CBasic::getElmNameType(const std::string& key, std::string* type, std::string* nameWl) {
  CallTrace t("CBasic.getElmNameType");
  std::vector<int> found;
  if (!findByName(kElements, key, &found)) return false;
  if (found.empty()) return t.succeed();
  CDbf* elm = impl_->elm;
  const int typeField = elm->getFieldIndex("ELM_TYPE");
  const int wlField = typeField < 0 ? -1 : elm->getFieldIndex("ELM_SNAMWL");
  std::string typeText;
  if (wlField < 0 || !readText(elm, found[0], typeField, &typeText) ||
      !readText(elm, found[0], wlField, nameWl)) {
    return false;
  }
  *type = typeText.substr(0, 1);
  return t.succeed();
}

// The description of a difficulty group, shortened for the later parts of a
// combined element: "Free skating" -> "FS", "sequences" -> "seq",
// "direction" -> "dir".  Empty when the code is no group.
bool CBasic::getElmShortName(const std::string& code, std::string* name) {
  CallTrace t("CBasic.getElmShortName");
  name->clear();
  auto group = impl_->groups.find(upperAscii(code));
  if (group != impl_->groups.end()) {
    CDbf* dgr = impl_->dgr;
    const int field = dgr->findField("DGR_DESC");
    if (field >= 0 && static_cast<std::size_t>(group->second) < dgr->numRecordsHeld()) {
      *name = std::string(dgr->fieldText(group->second, field));
    }
  }
  replaceFirst(name, "Free skating", "FS");
  replaceFirst(name, "sequences", "seq");
  replaceFirst(name, "direction", "dir");
  return t.succeed();
}

}  // namespace tav
