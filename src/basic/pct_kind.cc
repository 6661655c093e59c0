// The list and indexes of one kind of register entry.
#include "basic/pct_kind.h"

#include <algorithm>
#include <tuple>

namespace tav {
namespace {

constexpr int kOfficialsBit = 1, kCompetitorsBit = 2, kCouplesBit = 4, kTeamsBit = 8;

bool listBefore(const PctListEntry& a, const PctListEntry& b) {
  return std::tie(a.sortName, a.recNo) < std::tie(b.sortName, b.recNo);
}

template <typename Key>
void eraseOne(std::multimap<Key, int>* index, const Key& key, int value) {
  auto [first, last] = index->equal_range(key);
  for (auto it = first; it != last; ++it) {
    if (it->second == value) {
      index->erase(it);
      return;
    }
  }
}

}  // namespace

bool PctKind::usesGivenFamily() const { return bit_ == kOfficialsBit || bit_ == kCompetitorsBit; }
bool PctKind::usesRegNo() const { return bit_ >= kOfficialsBit && bit_ <= kTeamsBit; }
bool PctKind::isCouple() const { return bit_ == kCouplesBit; }

void PctKind::clear() {
  list_.clear();
  names_.clear();
  givenFamily_.clear();
  regNos_.clear();
  firstPartners_.clear();
  secondPartners_.clear();
  entered_.clear();
}

void PctKind::add(int recNo, const PctKeys& keys) {
  remove(recNo);
  PctListEntry entry{keys.sortName, recNo, keys.id};
  if (bulk_) {
    list_.push_back(std::move(entry));
  } else {
    list_.insert(std::upper_bound(list_.begin(), list_.end(), entry, listBefore), entry);
  }
  names_.emplace(keys.nameKey, keys.id);
  if (usesGivenFamily()) givenFamily_.emplace(keys.givenFamily, keys.id);
  if (usesRegNo() && keys.hasRegNo) regNos_.emplace(keys.regNo, keys.id);
  if (isCouple()) {
    if (keys.partner1 > 0) firstPartners_.emplace(keys.partner1, keys.id);
    if (keys.partner2 > 0) secondPartners_.emplace(keys.partner2, keys.id);
  }
  entered_[recNo] = keys;
}

void PctKind::endBulk() {
  bulk_ = false;
  std::sort(list_.begin(), list_.end(), listBefore);
}

void PctKind::remove(int recNo) {
  auto found = entered_.find(recNo);
  if (found == entered_.end()) return;
  const PctKeys& keys = found->second;
  PctListEntry probe{keys.sortName, recNo, keys.id};
  auto at = std::lower_bound(list_.begin(), list_.end(), probe, listBefore);
  if (at != list_.end() && at->recNo == recNo && at->sortName == keys.sortName) list_.erase(at);
  eraseOne(&names_, keys.nameKey, keys.id);
  if (usesGivenFamily()) eraseOne(&givenFamily_, keys.givenFamily, keys.id);
  if (usesRegNo() && keys.hasRegNo) eraseOne(&regNos_, keys.regNo, keys.id);
  if (isCouple()) {
    if (keys.partner1 > 0) eraseOne(&firstPartners_, keys.partner1, keys.id);
    if (keys.partner2 > 0) eraseOne(&secondPartners_, keys.partner2, keys.id);
  }
  entered_.erase(found);
}

}  // namespace tav
