#include "event/standings.h"

#include "base/failure_record.h"
#include "event/participant.h"

namespace tav {
namespace {

bool isListed(const CParticipant& participant, const std::set<int>& clubIds, bool* listed) {
  *listed = true;
  if (clubIds.empty()) return true;
  int club = 0;
  int partnerClub = 0;
  if (!participant.getParClubIds(&club, &partnerClub)) return false;
  *listed = clubIds.count(club) > 0 && (partnerClub <= 0 || clubIds.count(partnerClub) > 0);
  return true;
}

// The row of one participant; `place` is the place text, points are read
// only for placed participants.
bool makeRow(const CCategory& category, const CParticipant& participant, bool placed,
             const std::string& place, StandingsRow* row) {
  std::vector<std::string> texts;  // name, name 1, club 1, name 2, club 2
  if (!participant.getPctId(&row->pctId) || !participant.getNamesClubs(&texts) ||
      !participant.getNation(&row->nation)) {
    return false;
  }
  texts.resize(5);
  row->name1 = texts[1];
  row->club1 = texts[2];
  row->name2 = texts[3];
  row->club2 = texts[4];
  row->place = place;
  if (placed) {
    int totalPlace = 0;
    if (!participant.getTotalPointPlace(&row->points, &totalPlace)) return false;
    row->place = std::to_string(totalPlace);
  }
  for (int slot = 0; slot < kSlotCount; ++slot) {
    if (category.segmentInSlot(slot) == nullptr) continue;
    int points = 0;
    int segmentPlace = 0;
    if (!participant.getSegPointPlace(slot, &points, &segmentPlace)) return false;
    row->segmentPlaces.push_back(segmentPlace);
  }
  return true;
}

}  // namespace

bool getStandingsStatus(const CCategory& category, std::string* status) {
  bool started = false;
  bool finished = false;
  if (!category.hasStarted(&started) || !category.isFinished(&finished)) return false;
  *status = !started ? "NOT STARTED" : !finished ? "IN PROGRESS" : "";
  return true;
}

bool getStandings(const CCategory& category, const std::set<int>& clubIds, bool forCombining,
                  CategoryStandings* standings) {
  CallTrace t("CCategory.getStandings");
  *standings = CategoryStandings();
  CategoryResults results;
  if (!getStandingsStatus(category, &standings->status) || !category.sortResults(-1, &results)) {
    return false;
  }
  standings->shortNames = results.shortNames;
  std::vector<int> keys;
  for (const auto& entry : results.placed) keys.push_back(entry.first);
  std::vector<bool> ties;
  markTies(keys, &ties);
  std::size_t index = 0;
  for (const auto& [place, participant] : results.placed) {
    const bool tie = ties[index++];
    bool listed = false;
    if (!isListed(*participant, clubIds, &listed)) return false;
    if (!listed) continue;
    StandingsRow row;
    if (!makeRow(category, *participant, true, "", &row)) return false;
    row.tie = tie;
    standings->rows.push_back(std::move(row));
  }
  if (forCombining) return t.succeed();
  for (const auto& [startNo, participant] : results.toSkate) {
    bool listed = false;
    if (!isListed(*participant, clubIds, &listed)) return false;
    if (!listed) continue;
    StandingsRow row;
    if (!makeRow(category, *participant, false, "0", &row)) return false;
    standings->rows.push_back(std::move(row));
  }
  for (const auto& [key, participant] : results.withStatus) {
    bool listed = false;
    std::string letter;
    if (!isListed(*participant, clubIds, &listed)) return false;
    if (!listed) continue;
    StandingsRow row;
    if (!participant->getHtmlStatus(false, &letter) ||
        !makeRow(category, *participant, false, letter, &row)) {
      return false;
    }
    standings->rows.push_back(std::move(row));
  }
  return t.succeed();
}

}  // namespace tav
