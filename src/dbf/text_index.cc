#include "dbf/text_index.h"

#include <cstring>
#include <new>

namespace tav {
namespace {

constexpr std::size_t kMaxLength = 0xFFFF;
constexpr std::size_t kMinCapacity = 16;
constexpr std::size_t kHeadBytes = 8;

std::uint64_t hashOf(std::string_view text) {
  // FNV-1a with a final mix so that short numeric texts spread over the
  // low bits that choose the slot.
  std::uint64_t h = 0xcbf29ce484222325ULL;
  for (unsigned char c : text) h = (h ^ c) * 0x100000001b3ULL;
  h ^= h >> 29;
  h *= 0xbf58476d1ce4e5b9ULL;
  h ^= h >> 32;
  return h;
}

// True when `used` entries may live in `capacity` slots (at most 3/4 full).
bool fits(std::size_t used, std::size_t capacity) { return 4 * used <= 3 * capacity; }

}  // namespace

TextIndex::Key TextIndex::keyOf(std::string_view text) const {
  const std::uint64_t hash = hashOf(text);
  Key key;
  key.home = static_cast<std::size_t>(hash) & (capacity_ - 1);
  key.check = static_cast<std::uint32_t>(hash >> 48) << 16 | static_cast<std::uint32_t>(text.size());
  key.head = 0;
  std::memcpy(&key.head, text.data(), text.size() < kHeadBytes ? text.size() : kHeadBytes);
  return key;
}

std::size_t TextIndex::probe(std::string_view text, const Key& key) const {
  const std::size_t mask = capacity_ - 1;
  for (std::size_t i = key.home;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.recNo < 0) return i;
    if (slot.check != key.check || slot.head != key.head) continue;
    if (text.size() <= kHeadBytes ||
        std::memcmp(texts_.data() + refs_[i], text.data(), text.size()) == 0) {
      return i;
    }
  }
}

void TextIndex::reserve(std::size_t count) {
  std::size_t capacity = kMinCapacity;
  while (!fits(count, capacity)) capacity *= 2;
  if (capacity > capacity_) grow(capacity);
}

void TextIndex::grow(std::size_t capacity) {
  LargeBlock<Slot> slots = makeLargeBlock<Slot>(capacity);
  LargeBlock<std::uint64_t> refs = makeLargeBlock<std::uint64_t>(capacity);
  if (!slots || !refs) throw std::bad_alloc();
  for (std::size_t i = 0; i < capacity; ++i) slots[i] = Slot{0, -1, 0};
  const std::size_t mask = capacity - 1;
  for (std::size_t s = 0; s < capacity_; ++s) {
    if (slots_[s].recNo < 0) continue;
    const std::size_t length = slots_[s].check & kMaxLength;
    std::size_t i = hashOf(std::string_view(texts_.data() + refs_[s], length)) & mask;
    while (slots[i].recNo >= 0) i = (i + 1) & mask;
    slots[i] = slots_[s];
    refs[i] = refs_[s];
  }
  slots_ = std::move(slots);
  refs_ = std::move(refs);
  capacity_ = capacity;
}

void TextIndex::set(std::string_view text, int recNo) {
  if (text.size() > kMaxLength) return;
  if (!fits(size_ + 1, capacity_)) grow(capacity_ == 0 ? kMinCapacity : 2 * capacity_);
  const Key key = keyOf(text);
  const std::size_t i = probe(text, key);
  Slot& slot = slots_[i];
  if (slot.recNo < 0) {
    slot.check = key.check;
    slot.head = key.head;
    refs_[i] = texts_.size();
    texts_.append(text.data(), text.size());
    ++size_;
  }
  slot.recNo = recNo;
}

int TextIndex::find(std::string_view text) const {
  if (capacity_ == 0 || text.size() > kMaxLength) return -1;
  return slots_[probe(text, keyOf(text))].recNo;
}

}  // namespace tav
