#include "event/performance.h"

#include "base/failure_record.h"
#include "event/participant.h"

namespace tav {
namespace {

FieldSlot gStatus("PRF_STAT");
FieldSlot gStartNo("PRF_STNUM");
FieldSlot gGroupNo("PRF_STGNUM");
FieldSlot gPlace("PRF_PLACE");
FieldSlot gBonus("PRF_BONUSP");

}  // namespace

namespace {

bool groupDiffers(char group, char own) { return group != 0 && group != ' ' && group != own; }

}  // namespace

CPerformance::CPerformance(std::uint32_t recNo, int id, std::string kind,
                           const CParticipant* participant)
    : record_("PRF", recNo),
      id_(id),
      idText_(std::to_string(id)),
      kind_(std::move(kind)),
      participant_(participant) {
  complete_ = participant_ != nullptr && record_.table() != nullptr &&
              NodeRecord("JES", 0).table() != nullptr;
}

bool CPerformance::getStatus(char* letter) const {
  CallTrace t("CPerformance.getStatus");
  return record_.letter(gStatus, letter) && t.succeed();
}

bool CPerformance::getParStatus(char* letter) const {
  CallTrace t("CPerformance.getParStatus");
  return participant_->getStatus(letter) && t.succeed();
}

bool CPerformance::getParGroup(char* letter) const {
  CallTrace t("CPerformance.getParGroup");
  return participant_->getGroup(letter) && t.succeed();
}

// The letters the status questions need, each read once: PRF_STAT, and the
// participant's PAR_STAT and PAR_GROUP.
struct CPerformance::Letters {
  char status = 0, parStatus = 0, parGroup = 0;
  bool inSegment(char group) const { return !groupDiffers(group, parGroup) && status != 'M'; }
  bool isActive(char group) const {
    return inSegment(group) && (status == 'O' || (parStatus == 'A' && status == 'L'));
  }
};

bool CPerformance::readLetters(Letters* letters) const {
  return record_.letter(gStatus, &letters->status) &&
         participant_->getStatus(&letters->parStatus) &&
         participant_->getGroup(&letters->parGroup);
}

bool CPerformance::inSegment(char group, bool* in) const {
  CallTrace t("CPerformance.inSegment");
  Letters letters;
  if (!readLetters(&letters)) return false;
  *in = letters.inSegment(group);
  return t.succeed();
}

bool CPerformance::hasSkated(bool* skated) const {
  CallTrace t("CPerformance.hasSkated");
  char status = 0;
  if (!getStatus(&status)) return false;
  *skated = status == 'O';
  return t.succeed();
}

bool CPerformance::isActive(char group, bool* active) const {
  CallTrace t("CPerformance.isActive");
  Letters letters;
  if (!readLetters(&letters)) return false;
  *active = letters.isActive(group);
  return t.succeed();
}

bool CPerformance::getHtmlStatus(char group, bool textForm, std::string* html) const {
  CallTrace t("CPerformance.getHtmlStatus");
  Letters letters;
  if (!readLetters(&letters)) return false;
  const bool in = letters.inSegment(group);
  *html = textForm ? "" : " ";
  if (in && letters.parStatus == 'R' && letters.status != 'O') *html = textForm ? "WD" : "W";
  if (in && letters.parStatus == 'D') *html = textForm ? "DSQ" : "D";
  return t.succeed();
}

bool CPerformance::getPlaceBonus(int* place, int* bonus) const {
  CallTrace t("CPerformance.getPlaceBonus");
  return record_.integer(gPlace, place) && record_.integer(gBonus, bonus) && t.succeed();
}

bool CPerformance::getStartNo(int* startNo) const {
  CallTrace t("CPerformance.getStartNo");
  return record_.integer(gStartNo, startNo) && t.succeed();
}

bool CPerformance::getWarmupGroupNo(int* groupNo) const {
  CallTrace t("CPerformance.getWarmupGroupNo");
  return record_.integer(gGroupNo, groupNo) && t.succeed();
}

bool CPerformance::getParPctId(int* pctId) const {
  CallTrace t("CPerformance.getParPctId");
  return participant_->getPctId(pctId) && t.succeed();
}

bool CPerformance::getParSpMusic(std::string* music) const {
  CallTrace t("CPerformance.getParSpMusic");
  return participant_->getSpMusic(music) && t.succeed();
}

bool CPerformance::getParFsMusic(std::string* music) const {
  CallTrace t("CPerformance.getParFsMusic");
  return participant_->getFsMusic(music) && t.succeed();
}

bool CPerformance::getParName(const std::string& field, std::string* name) const {
  CallTrace t("CPerformance.getParName");
  return participant_->getName(field, name) && t.succeed();
}

bool CPerformance::getParNameClub(std::string* name, std::string* club) const {
  CallTrace t("CPerformance.getParNameClub");
  return participant_->getNameClub(name, club) && t.succeed();
}

bool CPerformance::getParNamesClubs(std::vector<std::string>* texts) const {
  CallTrace t("CPerformance.getParNamesClubs");
  return participant_->getNamesClubs(texts) && t.succeed();
}

bool CPerformance::getParRegNos(std::vector<std::string>* regNos) const {
  CallTrace t("CPerformance.getParRegNos");
  return participant_->getRegNos(regNos) && t.succeed();
}

bool CPerformance::getParNation(std::string* nation) const {
  CallTrace t("CPerformance.getParNation");
  return participant_->getNation(nation) && t.succeed();
}

}  // namespace tav
