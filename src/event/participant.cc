#include "event/participant.h"

#include "base/failure_record.h"
#include "event/field_number.h"

namespace tav {
namespace {

constexpr int kSegmentSlots = 6;

FieldSlot gPctId("PCT_ID");
FieldSlot gClubId("PAR_CLBID");
FieldSlot gPartnerClubId("PAR_PCLBID");
FieldSlot gGroup("PAR_GROUP");
FieldSlot gStatus("PAR_STAT");
FieldSlot gTotalPoints("PAR_TPOINT");
FieldSlot gTotalPlace("PAR_TPLACE");

// Fields numbered by segment slot: PAR_STAT1 .. PAR_STAT6 and the like.
struct SlotFields {
  explicit SlotFields(const char* prefix) {
    for (int i = 0; i < kSegmentSlots; ++i) slots[i] = FieldSlot(prefix + std::to_string(i + 1));
  }
  FieldSlot slots[kSegmentSlots];
};

FieldSlot& slotField(const char* prefix, int slot) {
  static SlotFields stat("PAR_STAT"), point("PAR_POINT"), place("PAR_PLACE"),
      iplace("PAR_IPLAC");
  SlotFields* family = &stat;
  if (std::string_view(prefix) == "PAR_POINT") family = &point;
  if (std::string_view(prefix) == "PAR_PLACE") family = &place;
  if (std::string_view(prefix) == "PAR_IPLAC") family = &iplace;
  return family->slots[slot];
}

struct StatusRow {
  char letter;
  const char* name;
  const char* htmlLetter;
  const char* htmlText;
};

constexpr StatusRow kStatuses[] = {
    {'A', "Active", " ", ""},           {'D', "Disqualified", "D", "DSQ"},
    {'N', "Final Not Reached", "-", "FNR"}, {'Q', "Not Qualified", " ", ""},
    {'R', "Withdrawn", "W", "WD"},      {'W', "Entry Withdrawn", "E", "EW"},
};
constexpr StatusRow kUnknownStatus = {'?', "???", " ", ""};

const StatusRow& statusRow(char letter) {
  for (const StatusRow& row : kStatuses) {
    if (row.letter == letter) return row;
  }
  return kUnknownStatus;
}

bool checkSlot(int slot) {
  if (slot < 0 || slot >= kSegmentSlots) return failWith("Invalid segment: " + std::to_string(slot));
  return true;
}

}  // namespace

CParticipant::CParticipant(std::uint32_t recNo, int id)
    : record_("PAR", recNo), id_(id), idText_(std::to_string(id)) {
  complete_ = record_.table() != nullptr;
}

bool CParticipant::getPctId(int* pctId) const {
  CallTrace t("CParticipant.getPctId");
  return record_.integer(gPctId, pctId) && t.succeed();
}

bool CParticipant::getParClubIds(int* clubId, int* partnerClubId) const {
  CallTrace t("CParticipant.getParClubIds");
  return record_.integer(gClubId, clubId) && record_.integer(gPartnerClubId, partnerClubId) &&
         t.succeed();
}

bool CParticipant::getGroup(char* letter) const {
  CallTrace t("CParticipant.getGroup");
  return record_.letter(gGroup, letter) && t.succeed();
}

bool CParticipant::getStatus(char* letter) const {
  CallTrace t("CParticipant.getStatus");
  return record_.letter(gStatus, letter) && t.succeed();
}

bool CParticipant::getStatusName(std::string* name) const {
  CallTrace t("CParticipant.getStatusName");
  char letter = 0;
  if (!record_.letter(gStatus, &letter)) return false;
  *name = statusRow(letter).name;
  return t.succeed();
}

bool CParticipant::getHtmlStatus(bool textForm, std::string* status) const {
  CallTrace t("CParticipant.getHtmlStatus");
  char letter = 0;
  if (!record_.letter(gStatus, &letter)) return false;
  const StatusRow& row = statusRow(letter);
  *status = textForm ? row.htmlText : row.htmlLetter;
  return t.succeed();
}

bool CParticipant::getSegStatus(int slot, char* letter) const {
  CallTrace t("CParticipant.getSegStatus");
  if (!checkSlot(slot)) return false;
  return record_.letter(slotField("PAR_STAT", slot), letter) && t.succeed();
}

bool CParticipant::inSegment(int slot, char group, bool* in) const {
  CallTrace t("CParticipant.inSegment");
  char segment = 0;
  char status = 0;
  char own = 0;
  if (!getSegStatus(slot, &segment) || !getStatus(&status) || !getGroup(&own)) return false;
  if (group != 0 && group != ' ' && group != own) {
    *in = false;
  } else if (status == 'A') {
    *in = segment != 'M';
  } else {
    *in = segment == 'O';
  }
  return t.succeed();
}

bool CParticipant::hasSkated(int slot, bool* skated) const {
  CallTrace t("CParticipant.hasSkated");
  char segment = 0;
  if (!getSegStatus(slot, &segment)) return false;
  *skated = segment == 'O';
  return t.succeed();
}

bool CParticipant::pointPlace(const char* pointPrefix, const char* placePrefix, int slot,
                              int* points, int* place) const {
  if (!checkSlot(slot)) return false;
  return record_.hundredths(slotField(pointPrefix, slot), points) &&
         record_.integer(slotField(placePrefix, slot), place);
}

bool CParticipant::getSegPointPlace(int slot, int* points, int* place) const {
  CallTrace t("CParticipant.getSegPointPlace");
  return pointPlace("PAR_POINT", "PAR_PLACE", slot, points, place) && t.succeed();
}

bool CParticipant::getSegPointIPlace(int slot, int* points, int* place) const {
  CallTrace t("CParticipant.getSegPointIPlace");
  return pointPlace("PAR_POINT", "PAR_IPLAC", slot, points, place) && t.succeed();
}

bool CParticipant::getTotalPointPlace(int* points, int* place) const {
  CallTrace t("CParticipant.getTotalPointPlace");
  return record_.hundredths(gTotalPoints, points) && record_.integer(gTotalPlace, place) &&
         t.succeed();
}

bool CParticipant::getFieldData(std::vector<std::string>* fields,
                                std::vector<std::string>* values) const {
  CallTrace t("CParticipant.getFieldData");
  return record_.getFieldData(fields, values) && t.succeed();
}

bool CParticipant::setFieldData(const std::vector<std::string>& fields,
                                const std::vector<std::string>& values) const {
  CallTrace t("CParticipant.setFieldData");
  return refuseIdChange(fields, values, "PAR_ID", id_) && record_.setFieldData(fields, values) &&
         t.succeed();
}

bool CParticipant::updateCatId(int catId) const {
  CallTrace t("CParticipant.updateCatId");
  return record_.update({"CAT_ID=" + std::to_string(catId)}) && t.succeed();
}

bool CParticipant::updateNatCode(const std::string& code) const {
  CallTrace t("CParticipant.updateNatCode");
  return record_.update({"PAR_NAT=" + code}) && t.succeed();
}

bool CParticipant::updateClubIds(int clubId, int partnerClubId) const {
  CallTrace t("CParticipant.updateClubIds");
  return record_.update({"PAR_CLBID=" + std::to_string(clubId),
                         "PAR_PCLBID=" + std::to_string(partnerClubId)}) &&
         t.succeed();
}

}  // namespace tav
