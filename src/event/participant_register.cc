// What a participant asks the register about its PCT_ID.
#include "base/failure_record.h"
#include "event/participant.h"
#include "event/register_link.h"

namespace tav {
namespace {

FieldSlot gNation("PAR_NAT");

}  // namespace

bool CParticipant::getName(const std::string& field, std::string* name) const {
  CallTrace t("CParticipant.getName");
  int pctId = 0;
  return getPctId(&pctId) && reg::name(pctId, field, name) && t.succeed();
}

bool CParticipant::getRegNos(std::vector<std::string>* regNos) const {
  CallTrace t("CParticipant.getRegNos");
  int pctId = 0;
  return getPctId(&pctId) && reg::regNos(pctId, regNos) && t.succeed();
}

bool CParticipant::isCouple(bool* couple) const {
  CallTrace t("CParticipant.isCouple");
  int pctId = 0;
  return getPctId(&pctId) && reg::isCouple(pctId, couple) && t.succeed();
}

bool CParticipant::getSpMusic(std::string* music) const {
  CallTrace t("CParticipant.getSpMusic");
  int pctId = 0;
  return getPctId(&pctId) && reg::spMusic(pctId, music) && t.succeed();
}

bool CParticipant::getFsMusic(std::string* music) const {
  CallTrace t("CParticipant.getFsMusic");
  int pctId = 0;
  return getPctId(&pctId) && reg::fsMusic(pctId, music) && t.succeed();
}

bool CParticipant::getNameClub(std::string* name, std::string* club) const {
  CallTrace t("CParticipant.getNameClub");
  int pctId = 0;
  int clubId = 0;
  int partnerClubId = 0;
  if (!getPctId(&pctId) || !getParClubIds(&clubId, &partnerClubId)) return false;
  if (!reg::nameClub(pctId, name, club)) return false;
  if (clubId > 0 && !reg::name(clubId, "", club)) return false;
  return t.succeed();
}

bool CParticipant::getNamesClubs(std::vector<std::string>* texts) const {
  CallTrace t("CParticipant.getNamesClubs");
  int pctId = 0;
  int clubId = 0;
  int partnerClubId = 0;
  if (!getPctId(&pctId) || !getParClubIds(&clubId, &partnerClubId)) return false;
  if (!reg::namesClubs(pctId, texts)) return false;
  texts->resize(5);
  // The texts are name, name 1, club 1, name 2, club 2.
  if (clubId > 0 && !reg::name(clubId, "", &(*texts)[2])) return false;
  if (partnerClubId > 0 && !reg::name(partnerClubId, "", &(*texts)[4])) return false;
  return t.succeed();
}

bool CParticipant::getNation(std::string* nation) const {
  CallTrace t("CParticipant.getNation");
  if (!record_.text(gNation, nation)) return false;
  if (nation->empty()) {
    int pctId = 0;
    if (!getPctId(&pctId) || !reg::nation(pctId, nation)) return false;
  }
  return t.succeed();
}

}  // namespace tav
