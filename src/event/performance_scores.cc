// The score lists of a performance: executed elements, program components,
// deductions, major deductions, the score summary and planned elements.
// Field names follow the numbered patterns of the PRF record; they are made
// once and resolved to field indexes once per table.
#include <cctype>

#include "base/failure_record.h"
#include "event/field_number.h"
#include "event/participant.h"
#include "event/performance.h"
#include "event/register_link.h"
#include "session/tav.h"

namespace tav {
namespace {

// The fields of one executed element.
struct ElementFields {
  explicit ElementFields(int e)
      : marker(numberedField("PRF_XCFE00", e)),
        name(numberedField("PRF_XNAE00", e)),
        info(numberedField("PRF_E00INF", e)),
        baseValue(numberedField("PRF_XBVE00", e)),
        verification(numberedField("PRF_E00WBP", e)),
        panel(numberedField("PRF_E00PNL", e)),
        result(numberedField("PRF_E00RES", e)),
        half(numberedField("PRF_E00HLF", e)),
        deduction(numberedField("PRF_E00DED", e)),
        bonus(numberedField("PRF_E00BON", e)) {
    for (int j = 0; j < kJudgeCount; ++j) {
      grades[j] = FieldSlot(numberedField("PRF_E00J00", e, j + 1));
      values[j] = FieldSlot(numberedField("PRF_E00D00", e, j + 1));
    }
  }
  FieldSlot marker, name, info, baseValue, verification, panel, result, half, deduction, bonus;
  FieldSlot grades[kJudgeCount];
  FieldSlot values[kJudgeCount];
};

ElementFields& elementFields(int e) {
  static std::vector<ElementFields> all = [] {
    std::vector<ElementFields> fields;
    for (int i = 1; i <= kElementCount; ++i) fields.emplace_back(i);
    return fields;
  }();
  return all[e - 1];
}

struct ComponentFields {
  explicit ComponentFields(int c)
      : panel(numberedField("PRF_C00PNL", c)), result(numberedField("PRF_C00RES", c)) {
    for (int j = 0; j < kJudgeCount; ++j) marks[j] = FieldSlot(numberedField("PRF_C00J00", c, j + 1));
  }
  FieldSlot panel, result;
  FieldSlot marks[kJudgeCount];
};

ComponentFields& componentFields(int c) {
  static std::vector<ComponentFields> all = [] {
    std::vector<ComponentFields> fields;
    for (int i = 0; i < kComponentFieldCount; ++i) fields.emplace_back(i);
    return fields;
  }();
  return all[c];
}

FieldSlot& deductionField(int d) {
  static std::vector<FieldSlot> all = [] {
    std::vector<FieldSlot> fields;
    for (int i = 0; i < kDeductionFieldCount; ++i) fields.emplace_back(numberedField("PRF_DED00", i));
    return fields;
  }();
  return all[d];
}

FieldSlot& majorVoteField(int k, int judge) {
  // k 1-3, judge 1-10 or 15.
  static std::vector<FieldSlot> all = [] {
    std::vector<FieldSlot> fields;
    for (int i = 1; i <= 3; ++i) {
      for (int j = 1; j <= 15; ++j) fields.emplace_back(numberedField("PRF_D00J00", i, j));
    }
    return fields;
  }();
  return all[(k - 1) * 15 + (judge - 1)];
}

FieldSlot& plannedField(int e) {
  static std::vector<FieldSlot> all = [] {
    std::vector<FieldSlot> fields;
    for (int i = 1; i <= kElementCount; ++i) fields.emplace_back(numberedField("PRF_PNAE00", i));
    return fields;
  }();
  return all[e - 1];
}

FieldSlot gPoints("PRF_POINTS");
FieldSlot gElementTotal("PRF_M1TOT");
FieldSlot gComponentTotal("PRF_M2TOT");
FieldSlot gStartNo("PRF_STNUM");
FieldSlot gPlace("PRF_PLACE");
FieldSlot gBonus("PRF_BONUSP");

std::string trimmed(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) ++begin;
  while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
  return text.substr(begin, end - begin);
}

bool checkIndex(int index) {
  if (index < 0) return failWith("Invalid index: " + std::to_string(index));
  return true;
}

// Reads the rest of an element after its name.
bool readElement(const NodeRecord& record, ElementFields& f, ElementDetail* d) {
  if (!record.text(f.info, &d->info) || !record.text(f.baseValue, &d->baseValue) ||
      !record.text(f.verification, &d->verification)) {
    return false;
  }
  for (int j = 0; j < kJudgeCount; ++j) {
    if (!record.integer(f.grades[j], &d->grades[j])) return false;
  }
  if (!record.text(f.panel, &d->panel) || !record.text(f.result, &d->result) ||
      !record.text(f.half, &d->half) || !record.text(f.deduction, &d->deduction)) {
    return false;
  }
  for (int j = 0; j < kJudgeCount; ++j) {
    if (!record.integer(f.values[j], &d->judgeValues[j])) return false;
  }
  return record.text(f.bonus, &d->bonus) &&
         record.hundredths(f.baseValue, &d->baseValuePoints) &&
         record.hundredths(f.panel, &d->panelPoints) &&
         record.hundredths(f.result, &d->resultPoints) &&
         record.hundredths(f.deduction, &d->deductionPoints) &&
         record.hundredths(f.bonus, &d->bonusPoints);
}

}  // namespace

bool CPerformance::expandName(const std::string& code, bool firstOnly, std::string* name) const {
  name->clear();
  std::size_t start = 0;
  int part = 0;
  while (true) {
    const std::size_t plus = code.find('+', start);
    const std::string piece =
        trimmed(code.substr(start, plus == std::string::npos ? std::string::npos : plus - start));
    std::string expanded;
    const bool ok = (firstOnly && part > 0) ? reg::elementShortName(piece, &expanded)
                                            : reg::elementName(kind_ + piece, &expanded);
    if (!ok) return false;
    if (part > 0) *name += " + ";
    *name += expanded;
    ++part;
    if (plus == std::string::npos) break;
    start = plus + 1;
  }
  return true;
}

bool CPerformance::getElmScoreDetail(bool firstOnly, bool expandNames,
                                     std::vector<ElementDetail>* elements) const {
  CallTrace t("CPerformance.getElmScoreDetail");
  elements->clear();
  if (record_.liveTable() == nullptr) return false;
  for (int e = 1; e <= kElementCount; ++e) {
    ElementFields& f = elementFields(e);
    std::string marker;
    if (!record_.text(f.marker, &marker)) return false;
    if (marker.empty() || marker[0] != 'X') continue;
    ElementDetail detail;
    detail.number = e;
    if (!record_.text(f.name, &detail.name)) return false;
    if (expandNames && !expandName(std::string(detail.name), firstOnly, &detail.name)) {
      return false;
    }
    if (!readElement(record_, f, &detail)) return false;
    elements->push_back(std::move(detail));
  }
  return t.succeed();
}

bool CPerformance::getCompScoreDetail(int comp, std::vector<std::string>* marks) const {
  CallTrace t("CPerformance.getCompScoreDetail");
  marks->clear();
  if (!checkIndex(comp)) return false;
  if (comp >= kComponentFieldCount) return t.succeed();
  ComponentFields& f = componentFields(comp);
  for (int j = 0; j < kJudgeCount; ++j) {
    std::string mark;
    if (!record_.text(f.marks[j], &mark)) return false;
    marks->push_back(std::move(mark));
  }
  return t.succeed();
}

bool CPerformance::getCompScoreDetailInt(int comp, std::vector<int>* marks) const {
  CallTrace t("CPerformance.getCompScoreDetailInt");
  marks->clear();
  if (!checkIndex(comp)) return false;
  if (comp >= kComponentFieldCount) return t.succeed();
  ComponentFields& f = componentFields(comp);
  for (int j = 0; j < kJudgeCount; ++j) {
    int mark = 0;
    if (!record_.hundredths(f.marks[j], &mark)) return false;
    marks->push_back(mark);
  }
  return t.succeed();
}

bool CPerformance::getCompScoreSummaryStr(int comp, std::string* panel,
                                          std::string* result) const {
  CallTrace t("CPerformance.getCompScoreSummaryStr");
  *panel = "0";
  *result = "0";
  if (!checkIndex(comp)) return false;
  if (comp >= kComponentFieldCount) return t.succeed();
  ComponentFields& f = componentFields(comp);
  return record_.text(f.panel, panel) && record_.text(f.result, result) && t.succeed();
}

bool CPerformance::getCompScoreSummaryInt(int comp, int* panel, int* result) const {
  CallTrace t("CPerformance.getCompScoreSummaryInt");
  *panel = 0;
  *result = 0;
  if (!checkIndex(comp)) return false;
  if (comp >= kComponentFieldCount) return t.succeed();
  ComponentFields& f = componentFields(comp);
  return record_.hundredths(f.panel, panel) && record_.hundredths(f.result, result) &&
         t.succeed();
}

bool CPerformance::getDedScoreStr(int ded, std::string* value) const {
  CallTrace t("CPerformance.getDedScoreStr");
  *value = "0";
  if (!checkIndex(ded)) return false;
  if (ded >= kDeductionFieldCount) return t.succeed();
  return record_.text(deductionField(ded), value) && t.succeed();
}

bool CPerformance::getDedScoreInt(int ded, int* value) const {
  CallTrace t("CPerformance.getDedScoreInt");
  *value = 0;
  if (!checkIndex(ded)) return false;
  if (ded >= kDeductionFieldCount) return t.succeed();
  return record_.hundredths(deductionField(ded), value) && t.succeed();
}

bool CPerformance::getMajDedData(std::vector<MajorDeduction>* records) const {
  CallTrace t("CPerformance.getMajDedData");
  records->clear();
  const int count = session().version().versionNumber() >= 11127 ? 3 : 2;
  for (int k = 1; k <= count; ++k) {
    MajorDeduction d;
    for (int j = 0; j < kJudgeCount; ++j) {
      if (!record_.integer(majorVoteField(k, j + 1), &d.votes[j])) return false;
    }
    if (!record_.integer(majorVoteField(k, 15), &d.position15)) return false;
    records->push_back(d);
  }
  return t.succeed();
}

bool CPerformance::getScoreSummaryStr(ScoreSummaryText* s) const {
  CallTrace t("CPerformance.getScoreSummaryStr");
  return record_.integer(gStartNo, &s->startNo) && record_.integer(gPlace, &s->place) &&
         record_.integer(gBonus, &s->bonus) && record_.text(gPoints, &s->points) &&
         record_.text(gElementTotal, &s->elements) &&
         record_.text(gComponentTotal, &s->components) && t.succeed();
}

bool CPerformance::getScoreSummaryInt(ScoreSummary* s) const {
  CallTrace t("CPerformance.getScoreSummaryInt");
  return record_.integer(gStartNo, &s->startNo) && record_.integer(gPlace, &s->place) &&
         record_.integer(gBonus, &s->bonus) && record_.hundredths(gPoints, &s->points) &&
         record_.hundredths(gElementTotal, &s->elements) &&
         record_.hundredths(gComponentTotal, &s->components) && t.succeed();
}

bool CPerformance::getPelData(int list, int flag, std::vector<std::string>* codes,
                              std::vector<std::string>* second) const {
  CallTrace t("CPerformance.getPelData");
  codes->clear();
  second->clear();
  if (list == -1) {
    for (int e = 1; e <= kElementCount; ++e) {
      std::string code;
      if (!record_.text(plannedField(e), &code)) return false;
      codes->push_back(std::move(code));
    }
    return t.succeed();
  }
  if (record_.liveTable() == nullptr) return false;
  int pctId = 0;
  return participant_->getPctId(&pctId) &&
         reg::plannedElements(pctId, list, flag, codes, second) && t.succeed();
}

}  // namespace tav
