// The participant list of a category, as the application shows it.
//
// Order (the results operator's view): entries are listed by their start
// number in the category's current segment - the first segment in slot
// order that is not finished, or the last segment when all are - so the
// list reads like the start list of what is skated next.  Entries without a
// start number there (none drawn yet, not in that segment) follow, by
// PAR_ID.  With the flag set the entries are grouped first by their group
// letter (PAR_GROUP, in letter order, entries without a group last) and
// ordered the same way within each group.
#include <algorithm>
#include <tuple>

#include "base/failure_record.h"
#include "event/category.h"
#include "event/register_link.h"

namespace tav {
namespace {

// The letter of one segment in an entry's code text.
char codeLetter(char segmentLetter, char parStatus, bool otherGroup) {
  if (otherGroup) return '-';
  switch (segmentLetter) {
    case 'L':
      return parStatus == 'A' ? 'A' : parStatus == 'N' ? 'N' : 'W';
    case 'O':
      return 'A';
    case 'I':
      return 'W';
    case 'M':
      return '-';
    default:
      return parStatus == 'N' ? 'N' : '?';
  }
}

}  // namespace

bool CCategory::getParNames(int flag, std::vector<ParticipantEntry>* entries) const {
  CallTrace t("CCategory.getParNames");
  entries->clear();
  // The current segment: the first not finished, else the last.
  const CSegment* current = nullptr;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    const CSegment* segment = segmentInSlot(slot);
    if (segment == nullptr) continue;
    current = segment;
    bool finished = false;
    if (!segment->isFinished(&finished)) return false;
    if (!finished) break;
  }
  struct Sortable {
    char group;
    ParticipantEntry entry;
  };
  std::vector<Sortable> rows;
  for (const auto& [parId, participant] : pars_) {
    Sortable row;
    ParticipantEntry& e = row.entry;
    e.parId = parId;
    char status = 0;
    char group = 0;
    int pctId = 0;
    if (!participant->getStatus(&status) || !participant->getGroup(&group) ||
        !participant->getStatusName(&e.statusName) || !participant->getPctId(&pctId)) {
      return false;
    }
    row.group = group;
    if (current != nullptr && !current->getParPrfStNum(parId, &e.startNo)) return false;
    e.key = std::to_string(e.startNo);
    for (int slot = 0; slot < kSlotCount; ++slot) {
      const CSegment* segment = segmentInSlot(slot);
      if (segment == nullptr) continue;
      char segmentGroup = 0;
      char letter = 0;
      if (!segment->getGroup(&segmentGroup) || !participant->getSegStatus(slot, &letter)) {
        return false;
      }
      const bool otherGroup = segmentGroup != 0 && segmentGroup != ' ' && segmentGroup != group;
      e.codes += codeLetter(letter, status, otherGroup);
    }
    if (!reg::namesClubs(pctId, &e.texts) || !participant->getNation(&e.nation) ||
        !participant->isCouple(&e.couple)) {
      return false;
    }
    e.texts.resize(5);
    rows.push_back(std::move(row));
  }
  auto orderKey = [flag](const Sortable& r) {
    const bool noGroup = r.group == 0 || r.group == ' ';
    const bool noStart = r.entry.startNo <= 0;
    return std::make_tuple(flag != 0 && noGroup, flag != 0 ? r.group : 0, noStart,
                           r.entry.startNo, r.entry.parId);
  };
  std::stable_sort(rows.begin(), rows.end(), [&](const Sortable& a, const Sortable& b) {
    return orderKey(a) < orderKey(b);
  });
  for (Sortable& row : rows) entries->push_back(std::move(row.entry));
  return t.succeed();
}

}  // namespace tav
