// The list and indexes of one kind of register entry.
#include "basic/pct_kind.h"

#include <algorithm>
#include <tuple>
#include <utility>

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

template <typename Map, typename Key>
void eraseOne(Map* index, const Key& key, int value) {
  auto found = index->find(key);
  if (found != index->end() && found->second.erase(value)) index->erase(found);
}

}  // namespace

void IdList::push_back(int id) {
  if (count_ == 0) first_ = id;
  else more_.push_back(id);
  ++count_;
}

bool IdList::erase(int id) {
  if (count_ == 0) return true;
  if (first_ == id) {
    if (!more_.empty()) {
      first_ = more_.front();
      more_.erase(more_.begin());
    }
  } else {
    auto at = std::find(more_.begin(), more_.end(), id);
    if (at == more_.end()) return false;
    more_.erase(at);
  }
  return --count_ == 0;
}

void IdList::appendTo(std::vector<int>* ids) const {
  if (count_ == 0) return;
  ids->push_back(first_);
  ids->insert(ids->end(), more_.begin(), more_.end());
}

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

void PctKind::add(int recNo, PctKeys keys) {
  remove(recNo);
  const int id = keys.id;
  Entered entered;
  entered.id = id;
  entered.hasRegNo = usesRegNo() && keys.hasRegNo;
  entered.regNo = keys.regNo;
  auto name = names_.try_emplace(std::move(keys.nameKey)).first;
  name->second.push_back(id);
  entered.nameKey = &name->first;
  if (usesGivenFamily()) {
    auto given = givenFamily_.try_emplace(std::move(keys.givenFamily)).first;
    given->second.push_back(id);
    entered.givenFamily = &given->first;
  }
  if (entered.hasRegNo) regNos_[keys.regNo].push_back(id);
  if (isCouple()) {
    entered.partner1 = keys.partner1;
    entered.partner2 = keys.partner2;
    if (keys.partner1 > 0) firstPartners_.emplace(keys.partner1, id);
    if (keys.partner2 > 0) secondPartners_.emplace(keys.partner2, id);
  }
  PctListEntry entry{std::move(keys.sortName), recNo, id};
  if (bulk_) {
    list_.push_back(std::move(entry));
  } else {
    list_.insert(std::upper_bound(list_.begin(), list_.end(), entry, listBefore), std::move(entry));
  }
  entered_[recNo] = entered;
}

void PctKind::beginBulk(std::size_t expected) {
  bulk_ = true;
  list_.reserve(expected);
  names_.reserve(expected);
  if (usesGivenFamily()) givenFamily_.reserve(expected);
  if (usesRegNo()) regNos_.reserve(expected);
  entered_.reserve(expected);
}

std::vector<std::string> PctKind::duplicateNames() const {
  std::vector<std::string> names;
  for (const auto& [name, ids] : names_) {
    if (ids.size() > 1) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

void PctKind::endBulk() {
  bulk_ = false;
  std::sort(list_.begin(), list_.end(), listBefore);
}

void PctKind::remove(int recNo) {
  auto found = entered_.find(recNo);
  if (found == entered_.end()) return;
  const Entered e = found->second;
  entered_.erase(found);
  auto at = std::find_if(list_.begin(), list_.end(),
                         [recNo](const PctListEntry& entry) { return entry.recNo == recNo; });
  if (at != list_.end()) list_.erase(at);
  // The key texts belong to the index entries: erased last.
  if (e.givenFamily != nullptr) eraseOne(&givenFamily_, std::string(*e.givenFamily), e.id);
  eraseOne(&names_, std::string(*e.nameKey), e.id);
  if (e.hasRegNo) eraseOne(&regNos_, e.regNo, e.id);
  if (e.partner1 > 0) eraseOne(&firstPartners_, e.partner1, e.id);
  if (e.partner2 > 0) eraseOne(&secondPartners_, e.partner2, e.id);
}

}  // namespace tav
