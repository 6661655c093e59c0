// The list and indexes of one kind of register entry.
#include "basic/pct_kind.h"

#include <algorithm>
#include <cstring>
#include <tuple>
#include <utility>

namespace tav {
namespace {

constexpr int kOfficialsBit = 1, kCompetitorsBit = 2, kCouplesBit = 4, kTeamsBit = 8;

// Byte-wise by sort name, then by record number; the prefixes decide most
// comparisons without reaching the texts.
bool listBefore(const PctListEntry& a, const PctListEntry& b) {
  if (a.prefix != b.prefix) return a.prefix < b.prefix;
  const std::size_t sizeA = a.sortName.size(), sizeB = b.sortName.size();
  if (sizeA <= 8 && sizeB <= 8) {
    // Equal prefixes of texts of at most eight bytes: the shorter text is
    // the start of the longer one; equal lengths are equal texts.
    if (sizeA != sizeB) return sizeA < sizeB;
    return a.recNo < b.recNo;
  }
  return std::tie(a.sortName, a.recNo) < std::tie(b.sortName, b.recNo);
}

std::uint64_t prefixOf(std::string_view text) {
  std::uint64_t prefix = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    const unsigned char byte = i < text.size() ? static_cast<unsigned char>(text[i]) : 0;
    prefix = (prefix << 8) | byte;
  }
  return prefix;
}

void copyUpper(const CaseFold& fold, std::string_view text, char* to) {
  for (std::size_t i = 0; i < text.size(); ++i) to[i] = fold.upper(text[i]);
}

void eraseOne(std::multimap<int, int>* index, int key, int value) {
  auto [first, last] = index->equal_range(key);
  for (auto it = first; it != last; ++it) {
    if (it->second == value) {
      index->erase(it);
      return;
    }
  }
}

}  // namespace

std::string_view KeyArena::keep(std::string_view text) {
  char* to = reserve(text.size());
  if (!text.empty()) std::memcpy(to, text.data(), text.size());
  return std::string_view(to, text.size());
}

char* KeyArena::reserve(std::size_t size) {
  if (size > kBlock / 4) {
    // A long text takes a block of its own; the current block keeps filling.
    longTexts_.push_back(std::unique_ptr<char[]>(new char[size]));
    return longTexts_.back().get();
  }
  if (current_ == nullptr || used_ + size > kBlock) {
    const std::size_t next = current_ == nullptr ? 0 : currentBlock_ + 1;
    if (next == blocks_.size()) blocks_.push_back(std::unique_ptr<char[]>(new char[kBlock]));
    currentBlock_ = next;
    current_ = blocks_[next].get();
    used_ = 0;
  }
  char* at = current_ + used_;
  used_ += size;
  return at;
}

void KeyArena::clear() {
  longTexts_.clear();
  currentBlock_ = 0;
  current_ = nullptr;
  used_ = 0;
}

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
  enteredAt_.clear();
  entered_.clear();
  pendingNames_.clear();
  pendingGivenFamily_.clear();
  pendingRegNos_.clear();
  bulk_ = false;
  arena_.clear();
}

void PctKind::add(int recNo, const PctKeys& keys) {
  remove(recNo);
  const int id = keys.id;
  Entered entered;
  entered.id = id;
  entered.hasRegNo = usesRegNo() && keys.hasRegNo;
  entered.regNo = keys.regNo;
  const CaseFold& fold = keys.fold != nullptr ? *keys.fold : CaseFold::ascii();
  char* name = arena_.reserve(keys.name.size());
  copyUpper(fold, keys.name, name);
  entered.nameKey = std::string_view(name, keys.name.size());
  if (bulk_) pendingNames_.push_back(names_.pending(entered.nameKey, id));
  else names_.add(entered.nameKey, id);
  if (usesGivenFamily()) {
    const std::size_t size = keys.given.size() + 1 + keys.family.size();
    char* given = arena_.reserve(size);
    copyUpper(fold, keys.given, given);
    given[keys.given.size()] = ' ';
    copyUpper(fold, keys.family, given + keys.given.size() + 1);
    entered.givenFamily = std::string_view(given, size);
    if (bulk_) pendingGivenFamily_.push_back(givenFamily_.pending(entered.givenFamily, id));
    else givenFamily_.add(entered.givenFamily, id);
  }
  if (entered.hasRegNo) {
    if (bulk_) pendingRegNos_.push_back(regNos_.pending(keys.regNo, id));
    else regNos_.add(keys.regNo, id);
  }
  if (isCouple()) {
    entered.partner1 = keys.partner1;
    entered.partner2 = keys.partner2;
    if (keys.partner1 > 0) firstPartners_.emplace(keys.partner1, id);
    if (keys.partner2 > 0) secondPartners_.emplace(keys.partner2, id);
  }
  PctListEntry entry{arena_.keep(keys.sortName), recNo, id, prefixOf(keys.sortName)};
  if (bulk_) {
    list_.push_back(entry);
  } else {
    list_.insert(std::upper_bound(list_.begin(), list_.end(), entry, listBefore), entry);
  }
  if (static_cast<std::size_t>(recNo) >= enteredAt_.size()) enteredAt_.resize(recNo + 1, 0);
  entered_.push_back(entered);
  enteredAt_[recNo] = static_cast<std::uint32_t>(entered_.size());
}

void PctKind::beginBulk(std::size_t expected) {
  bulk_ = true;
  list_.reserve(expected);
  entered_.reserve(expected);
  pendingNames_.reserve(expected);
  if (usesGivenFamily()) pendingGivenFamily_.reserve(expected);
  if (usesRegNo()) pendingRegNos_.reserve(expected);
}

std::vector<std::string> PctKind::duplicateNames() const {
  std::vector<std::string> names;
  for (const auto& entry : names_.entries()) {
    if (entry.ids.size() > 1) names.emplace_back(entry.key);
  }
  std::sort(names.begin(), names.end());
  return names;
}

void PctKind::endBulk() {
  if (!bulk_) return;
  bulk_ = false;
  names_.addAll(pendingNames_);
  givenFamily_.addAll(pendingGivenFamily_);
  regNos_.addAll(pendingRegNos_);
  pendingNames_.clear();
  pendingGivenFamily_.clear();
  pendingRegNos_.clear();
  std::sort(list_.begin(), list_.end(), listBefore);
}

void PctKind::remove(int recNo) {
  if (!contains(recNo)) return;
  const Entered e = entered_[enteredAt_[recNo] - 1];
  enteredAt_[recNo] = 0;
  auto at = std::find_if(list_.begin(), list_.end(),
                         [recNo](const PctListEntry& entry) { return entry.recNo == recNo; });
  if (at != list_.end()) list_.erase(at);
  if (usesGivenFamily()) givenFamily_.erase(e.givenFamily, e.id);
  names_.erase(e.nameKey, e.id);
  if (e.hasRegNo) regNos_.erase(e.regNo, e.id);
  if (e.partner1 > 0) eraseOne(&firstPartners_, e.partner1, e.id);
  if (e.partner2 > 0) eraseOne(&secondPartners_, e.partner2, e.id);
}

}  // namespace tav
