#include "event/segment.h"

#include "base/failure_record.h"
#include "event/field_number.h"

namespace tav {
namespace {

FieldSlot& panelIdField(int slot) {
  static std::vector<FieldSlot> all = [] {
    std::vector<FieldSlot> fields;
    for (int i = 1; i <= kOfficialSlotCount; ++i) fields.emplace_back(numberedField("SCP_JID00", i));
    return fields;
  }();
  return all[slot];
}

}  // namespace

char segmentKindLetter(char categoryType, char segmentType) {
  switch (categoryType) {
    case 'D':
      if (segmentType == 'C') return 'C';
      if (segmentType == 'D') return 'D';
      if (segmentType == 'F') return 'I';
      if (segmentType == 'S') return 'R';
      return ' ';
    case 'P':
      return 'P';
    case 'S':
      return 'S';
    case 'T':
      if (segmentType == 'F') return 'T';
      if (segmentType == 'S') return 'U';
      return ' ';
    default:
      return ' ';
  }
}

std::string outFileName(const std::string& pattern, const std::string& idText) {
  std::size_t zeros = 0;
  while (zeros < pattern.size() && pattern[pattern.size() - 1 - zeros] == '0') ++zeros;
  if (idText.size() <= zeros) {
    return pattern.substr(0, pattern.size() - idText.size()) + idText;
  }
  // Longer than the run of zeros: the letters stay, every digit follows.
  return pattern.substr(0, pattern.size() - zeros) + idText;
}

CSegment::CSegment(std::uint32_t recNo, int id, char kind, int numPar)
    : record_("SCP", recNo), id_(id), idText_(std::to_string(id)), kind_(kind), numPar_(numPar) {}

CPerformance* CSegment::getPrfPtr(int prfId) const {
  CallTrace t("CSegment.getPrfPtr");
  auto it = prfs_.find(prfId);
  if (it == prfs_.end()) {
    failWith("Invalid PRF_ID: " + std::to_string(prfId));
    return nullptr;
  }
  t.succeed();
  return it->second.get();
}

CPerformance* CSegment::getParPrfPtr(int parId) const {
  CallTrace t("CSegment.getParPrfPtr");
  auto it = parPrf_.find(parId);
  if (it == parPrf_.end()) {
    failWith("Invalid PAR_ID: " + std::to_string(parId));
    return nullptr;
  }
  CPerformance* performance = getPrfPtr(it->second);
  if (performance != nullptr) t.succeed();
  return performance;
}

bool CSegment::getFieldData(std::vector<std::string>* fields,
                            std::vector<std::string>* values) const {
  CallTrace t("CSegment.getFieldData");
  return record_.getFieldData(fields, values) && t.succeed();
}

bool CSegment::setFieldData(const std::vector<std::string>& fields,
                            const std::vector<std::string>& values) const {
  CallTrace t("CSegment.setFieldData");
  return refuseIdChange(fields, values, "SCP_ID", id_) && record_.setFieldData(fields, values) &&
         t.succeed();
}

bool CSegment::updateCatId(int catId) const {
  CallTrace t("CSegment.updateCatId");
  return record_.update({"CAT_ID=" + std::to_string(catId)}) && t.succeed();
}

bool CSegment::updateNatCodes(int pctId, const std::string& code) const {
  CallTrace t("CSegment.updateNatCodes");
  std::vector<std::string> assignments;
  for (int slot = 0; slot < kOfficialSlotCount; ++slot) {
    int id = 0;
    if (!record_.integer(panelIdField(slot), &id)) return false;
    if (id != 0 && (pctId <= 0 || id == pctId)) {
      assignments.push_back(numberedField("SCP_JNAT00", slot + 1) + "=" + code);
    }
  }
  if (!assignments.empty() && !record_.update(assignments)) return false;
  return t.succeed();
}

bool CSegment::addPerformance(std::unique_ptr<CPerformance> performance, int parId) {
  const int prfId = performance->id();
  if (!prfs_.emplace(prfId, std::move(performance)).second) return false;
  parPrf_[parId] = prfId;
  return true;
}

void CSegment::setTiming(int timRecNo, std::vector<std::uint32_t> ttmRecNos) {
  timRecNo_ = timRecNo;
  ttmRecNos_ = std::move(ttmRecNos);
}

}  // namespace tav
