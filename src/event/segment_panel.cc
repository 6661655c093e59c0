// The officials' panel, deductions and program components of a segment.
#include "base/failure_record.h"
#include "event/field_number.h"
#include "event/register_link.h"
#include "event/segment.h"
#include "session/tav.h"

namespace tav {
namespace {

// Numbered SCP fields of one family, made once.
class FieldFamily {
 public:
  FieldFamily(const char* pattern, int count) {
    for (int i = 1; i <= count; ++i) fields_.emplace_back(numberedField(pattern, i));
  }
  // Field number i + 1 of the family, for index i.
  FieldSlot& at(int index) { return fields_[index]; }

 private:
  std::vector<FieldSlot> fields_;
};

FieldFamily gPanelIds("SCP_JID00", kOfficialSlotCount);
FieldFamily gDeductionFactors("SCP_DEFR00", kDeductionCount);
FieldFamily gDeductionNames("SCP_DEDU00", kDeductionCount);
FieldFamily gMajorIndexes("SCP_DEMJ00", 3);
FieldFamily gComponentFactors("SCP_CRFR00", kComponentCount);
FieldFamily gComponentNames("SCP_CRIT00", kComponentCount);
FieldFamily gComponentShortNames("SCP_CRSH00", kComponentCount);
FieldSlot gGeneralFactor("SCP_CRFRGN");
FieldSlot gType("SCP_TYPE");

// The function name of a panel slot (0-based) in form 1 (medium), 2 (short)
// or 3 (long).
std::string functionName(int slot, int form, char categoryType) {
  const std::string n = std::to_string(slot + 1);
  auto pick = [form](const char* longName, const char* medium, const char* shortName) {
    return std::string(form == 3 ? longName : form == 1 ? medium : shortName);
  };
  if (slot < 12) return form == 2 ? "J" + n + "." : "Judge " + n;
  if (slot < 15) return form == 2 ? "Err" + n + "." : "ERROR " + n;
  switch (slot) {
    case 15: return pick("Referee", "Referee", "Ref.");
    case 16: return pick("Technical Controller", "TC", "TC.");
    case 17: return pick("Technical Specialist", "TS", "TS.");
    case 18: return pick("Assistant Technical Specialist", "ATS", "ATS.");
    case 19:
      return categoryType == 'T' ? pick("Ice Level Referee", "Ice Ref", "IRef")
                                 : pick("Assistant Referee", "Assist Ref", "ARef");
    case 20: return pick("Data Entry Operator", "DEO", "DEO.");
    case 21: return pick("Video Replay Operator", "Video", "Vid.");
    default: return "*Unknown*";
  }
}

// Integer value of a field, 0 when the table lacks it.
bool integerOrZero(const NodeRecord& record, FieldSlot& field, int* value) {
  *value = 0;
  CDbf* table = record.liveTable();
  if (table == nullptr) return false;
  if (field.resolve(*table) < 0) return true;
  return record.integer(field, value);
}

}  // namespace

bool CSegment::getOffIds(char categoryType, int mask, int flag, PanelList* panel) const {
  CallTrace t("CSegment.getOffIds");
  *panel = PanelList();
  if (flag < 0 || flag > 3) return failWith("Invalid return function type: " + std::to_string(flag));
  char type = 0;
  if (!record_.letter(gType, &type)) return false;
  const unsigned bits = static_cast<unsigned>(mask);
  for (int slot = 0; slot < kOfficialSlotCount; ++slot) {
    const bool selected = (bits >> slot) & 1u;
    int id = 0;
    if (!record_.integer(gPanelIds.at(slot), &id)) return false;
    if (id <= 0 && flag != 0) {
      const bool keepVideo = slot == 21 && selected && flag == 2 && type != 'C' && type != 'D';
      if (!keepVideo) continue;
    }
    if (!selected) continue;
    // The lists stay parallel: with flag 0 the function name is empty.
    panel->functionNames.push_back(flag == 0 ? std::string()
                                             : functionName(slot, flag, categoryType));
    panel->ids.push_back(id);
  }
  return t.succeed();
}

bool CSegment::getOffNames(char categoryType, int mask, const std::string& nameField,
                           bool localFlag, int flag, PanelList* panel) const {
  CallTrace t("CSegment.getOffNames");
  if (!getOffIds(categoryType, mask, flag, panel)) return false;
  for (int id : panel->ids) {
    std::string name;
    std::string nation;
    if (id > 0) {
      const bool ok = localFlag ? reg::localName(id, nameField, &name)
                                : reg::name(id, nameField, &name);
      if (!ok || !reg::nation(id, &nation)) return false;
    }
    panel->names.push_back(std::move(name));
    panel->nations.push_back(std::move(nation));
  }
  return t.succeed();
}

bool CSegment::getNumJdg(int* count) const {
  CallTrace t("CSegment.getNumJdg");
  *count = 0;
  for (int slot = 0; slot < 12; ++slot) {
    int id = 0;
    if (!record_.integer(gPanelIds.at(slot), &id)) return false;
    if (id > 0) ++*count;
  }
  return t.succeed();
}

bool CSegment::getValidDedIndexes(DeductionFactors* factors) const {
  CallTrace t("CSegment.getValidDedIndexes");
  for (int i = 0; i < kDeductionCount; ++i) {
    if (!integerOrZero(record_, gDeductionFactors.at(i), &(*factors)[i])) return false;
  }
  return t.succeed();
}

bool CSegment::getMajDedIndexes(int* first, int* second, int* third) const {
  CallTrace t("CSegment.getMajDedIndexes");
  int* out[3] = {first, second, third};
  const int count = session().version().versionNumber() >= 11127 ? 3 : 2;
  for (int k = 0; k < 3; ++k) {
    *out[k] = -1;
    if (k >= count) continue;
    std::string text;
    if (!record_.text(gMajorIndexes.at(k), &text)) return false;
    if (!text.empty()) *out[k] = decimalInt(text);
  }
  return t.succeed();
}

bool CSegment::getMajDedNames(int first, int second, int third,
                              MajorDeductionNames* names) const {
  CallTrace t("CSegment.getMajDedNames");
  const int indexes[3] = {first, second, third};
  for (int k = 0; k < 3; ++k) {
    (*names)[k].clear();
    // Only 0-16 names a deduction; anything else names none.
    if (indexes[k] < 0 || indexes[k] >= kDeductionCount) continue;
    std::string name;
    if (!record_.text(gDeductionNames.at(indexes[k]), &name)) return false;
    (*names)[k].push_back(std::move(name));
  }
  return t.succeed();
}

bool CSegment::getDedNames(const DeductionFactors& factors,
                           std::vector<std::string>* names) const {
  CallTrace t("CSegment.getDedNames");
  names->clear();
  for (int i = 0; i < kDeductionCount; ++i) {
    if (factors[i] == 0) continue;
    std::string name;
    if (!record_.text(gDeductionNames.at(i), &name)) return false;
    names->push_back(std::move(name));
  }
  return t.succeed();
}

bool CSegment::getDedScores(const DeductionFactors& factors, const CPerformance& performance,
                            std::vector<float>* points) const {
  CallTrace t("CSegment.getDedScores");
  points->clear();
  CDbf* table = record_.liveTable();
  if (table == nullptr) return false;
  for (int i = 0; i < kDeductionCount; ++i) {
    if (factors[i] == 0 || gDeductionFactors.at(i).resolve(*table) < 0) continue;
    int value = 0;
    int factor = 0;
    if (!performance.getDedScoreInt(i, &value) ||
        !record_.integer(gDeductionFactors.at(i), &factor)) {
      return false;
    }
    // Both in hundredths, divided in floating point: 150 is 1.50.
    points->push_back((static_cast<float>(value) / 100.0f) * (static_cast<float>(factor) / 100.0f));
  }
  return t.succeed();
}

bool CSegment::getDedTotal(const DeductionFactors& factors, const CPerformance& performance,
                           float* total) const {
  CallTrace t("CSegment.getDedTotal");
  std::vector<float> points;
  if (!getDedScores(factors, performance, &points)) return false;
  *total = 0.0f;
  for (float p : points) *total += p;
  return t.succeed();
}

bool CSegment::getGenCompFactor(int* factor) const {
  CallTrace t("CSegment.getGenCompFactor");
  return record_.integer(gGeneralFactor, factor) && t.succeed();
}

bool CSegment::getValidCompIndexes(bool useGeneralFactor, ComponentFactors* factors) const {
  CallTrace t("CSegment.getValidCompIndexes");
  int general = 10;
  if (useGeneralFactor && !getGenCompFactor(&general)) return false;
  CDbf* table = record_.liveTable();
  if (table == nullptr) return false;
  for (int i = 0; i < kComponentCount; ++i) {
    (*factors)[i] = 0;
    if (gComponentFactors.at(i).resolve(*table) < 0) continue;
    int f = 0;
    if (!record_.integer(gComponentFactors.at(i), &f)) return false;
    if (general != 10) {
      long long p = static_cast<long long>(general) * f;
      if (p % 10 >= 5) p += 10;
      f = static_cast<int>(p / 10);
    }
    (*factors)[i] = f;
  }
  return t.succeed();
}

bool CSegment::getCompNames(const ComponentFactors& factors, std::vector<std::string>* names,
                            std::vector<std::string>* shortNames) const {
  CallTrace t("CSegment.getCompNames");
  names->assign(kComponentCount, std::string());
  shortNames->assign(kComponentCount, std::string());
  for (int i = 0; i < kComponentCount; ++i) {
    if (factors[i] == 0) continue;
    if (!record_.text(gComponentNames.at(i), &(*names)[i]) ||
        !record_.text(gComponentShortNames.at(i), &(*shortNames)[i])) {
      return false;
    }
  }
  return t.succeed();
}

}  // namespace tav
