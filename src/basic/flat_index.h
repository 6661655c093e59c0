// FlatIndex maps keys to lists of register identifiers without a node per
// key: the entries (key and identifiers) sit side by side in one vector, and
// an open-addressing table of (hash, entry position) pairs, probed
// linearly, finds them.  A find costs one hash, a probe or two in a small
// table and one key comparison; a build costs no allocation per key beyond
// the two vectors.  Keys of type std::string_view refer to text the owner
// keeps alive (the register's key arena).
//
// KeyArena holds such key texts: large blocks that never move, so the views
// into them stay valid until `clear`.  Cleared, it keeps its standard blocks
// for the next build (a rebuild then writes into memory already mapped).
#ifndef TAVC_BASIC_FLAT_INDEX_H_
#define TAVC_BASIC_FLAT_INDEX_H_

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace tav {

// The identifiers under one index key, in record order.  Most keys hold
// one identifier, kept inline; only further ones take a vector.
class IdList {
 public:
  void push_back(int id);
  bool erase(int id);  // true when the list became empty
  std::size_t size() const { return count_; }
  int first() const { return first_; }          // when size() > 0
  const std::vector<int>& more() const { return more_; }
  void appendTo(std::vector<int>* ids) const;

 private:
  std::size_t count_ = 0;
  int first_ = 0;
  std::vector<int> more_;
};

class KeyArena {
 public:
  // A lasting copy of `text`.
  std::string_view keep(std::string_view text);
  // Room for `size` bytes that the caller fills at once; lasting like `keep`.
  char* reserve(std::size_t size);
  void clear();

 private:
  static constexpr std::size_t kBlock = 1 << 18;
  std::vector<std::unique_ptr<char[]>> blocks_;      // standard blocks
  std::vector<std::unique_ptr<char[]>> longTexts_;   // one text each
  std::size_t currentBlock_ = 0;  // index of the block being filled
  char* current_ = nullptr;       // that block, nullptr before the first
  std::size_t used_ = 0;     // bytes of it in use
};

struct IntKeyHash {
  std::size_t operator()(int key) const {
    return static_cast<std::size_t>((static_cast<std::uint64_t>(static_cast<std::uint32_t>(key)) *
                                     0x9E3779B97F4A7C15ull) >> 29);
  }
};

// A hash of a key text, eight bytes at a time (cheaper than the library's
// for the short names the register keys by).
struct TextKeyHash {
  std::size_t operator()(std::string_view text) const {
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ text.size();
    std::size_t at = 0;
    for (; at + 8 <= text.size(); at += 8) {
      std::uint64_t word;
      std::memcpy(&word, text.data() + at, 8);
      h = (h ^ word) * 0xFF51AFD7ED558CCDull;
      h ^= h >> 32;
    }
    std::uint64_t tail = 0;
    if (at < text.size()) std::memcpy(&tail, text.data() + at, text.size() - at);
    h = (h ^ tail) * 0xC4CEB9FE1A85EC53ull;
    return static_cast<std::size_t>(h ^ (h >> 29));
  }
};

template <typename Key, typename Hash>
class FlatIndex {
 public:
  struct Entry {
    Key key;
    IdList ids;
  };

  void clear() {
    slots_.clear();
    entries_.clear();
  }
  void reserve(std::size_t keys) {
    entries_.reserve(keys);
    if (slots_.size() < 2 * keys) rehash(2 * keys);
  }
  // The identifiers under `key`, or nullptr.
  const IdList* find(const Key& key) const {
    if (entries_.empty()) return nullptr;
    const std::size_t at = slotOf(key, hashOf(key));
    return slots_[at].entry == 0 ? nullptr : &entries_[slots_[at].entry - 1].ids;
  }
  // Appends `id` under `key` (entered when new); the key kept is `key`.
  void add(const Key& key, int id) {
    if (2 * (entries_.size() + 1) > slots_.size()) rehash(2 * (entries_.size() + 1));
    addHashed(key, hashOf(key), id);
  }
  // A key with its hash and identifier, waiting to be added.
  struct Pending {
    Key key;
    std::uint32_t hash;
    int id;
  };
  static Pending pending(const Key& key, int id) { return Pending{key, hashOf(key), id}; }
  // Adds many in their order.  The slot of a key some places ahead is
  // fetched into the cache while the current one goes in, so that the
  // build does not wait on a memory read per key.
  void addAll(const std::vector<Pending>& items) {
    const std::size_t wanted = 2 * (entries_.size() + items.size());
    if (wanted > slots_.size()) rehash(wanted);
    entries_.reserve(entries_.size() + items.size());
    constexpr std::size_t kAhead = 16;
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (i + kAhead < items.size()) __builtin_prefetch(&slots_[items[i + kAhead].hash & mask()]);
      addHashed(items[i].key, items[i].hash, items[i].id);
    }
  }

 private:
  void addHashed(const Key& key, std::uint32_t hash, int id) {
    const std::size_t at = slotOf(key, hash);
    if (slots_[at].entry == 0) {
      entries_.push_back(Entry{key, IdList()});
      slots_[at] = Slot{hash, static_cast<std::uint32_t>(entries_.size())};
    }
    entries_[slots_[at].entry - 1].ids.push_back(id);
  }

 public:
  // Takes `id` from under `key`; a key left without identifiers goes.
  void erase(const Key& key, int id) {
    if (entries_.empty()) return;
    const std::size_t at = slotOf(key, hashOf(key));
    if (slots_[at].entry == 0) return;
    const std::uint32_t position = slots_[at].entry - 1;
    if (!entries_[position].ids.erase(id)) return;
    freeSlot(at);
    const std::uint32_t last = static_cast<std::uint32_t>(entries_.size() - 1);
    if (position != last) {
      // The last entry moves into the gap; its slot follows it.
      const Key& moved = entries_[last].key;
      std::size_t s = slotOf(moved, hashOf(moved));
      slots_[s].entry = position + 1;
      entries_[position] = std::move(entries_[last]);
    }
    entries_.pop_back();
  }
  const std::vector<Entry>& entries() const { return entries_; }

 private:
  struct Slot {
    std::uint32_t hash = 0;
    std::uint32_t entry = 0;  // position + 1; 0 is a free slot
  };

  static std::uint32_t hashOf(const Key& key) { return static_cast<std::uint32_t>(Hash()(key)); }
  std::size_t mask() const { return slots_.size() - 1; }

  // The slot holding `key`, or the free slot where it would go.
  std::size_t slotOf(const Key& key, std::uint32_t hash) const {
    for (std::size_t at = hash & mask();; at = (at + 1) & mask()) {
      const Slot& slot = slots_[at];
      if (slot.entry == 0) return at;
      if (slot.hash == hash && entries_[slot.entry - 1].key == key) return at;
    }
  }

  // Frees a slot, moving later slots of the same run back so that every
  // key stays reachable from its home slot without gaps.
  void freeSlot(std::size_t hole) {
    for (std::size_t at = (hole + 1) & mask(); slots_[at].entry != 0; at = (at + 1) & mask()) {
      const std::size_t home = slots_[at].hash & mask();
      const bool between = hole <= at ? (hole < home && home <= at) : (hole < home || home <= at);
      if (!between) {
        slots_[hole] = slots_[at];
        hole = at;
      }
    }
    slots_[hole] = Slot();
  }

  void rehash(std::size_t wanted) {
    std::size_t size = 16;
    while (size < wanted) size *= 2;
    if (size <= slots_.size()) return;
    slots_.assign(size, Slot());
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      const std::uint32_t hash = hashOf(entries_[i].key);
      std::size_t at = hash & mask();
      while (slots_[at].entry != 0) at = (at + 1) & mask();
      slots_[at] = Slot{hash, static_cast<std::uint32_t>(i + 1)};
    }
  }

  std::vector<Slot> slots_;
  std::vector<Entry> entries_;
};

// FlatIdMap maps one identifier to one record number, in one open-addressing
// table of (key, value) pairs probed linearly.
class FlatIdMap {
 public:
  void clear() {
    slots_.clear();
    size_ = 0;
  }
  void reserve(std::size_t keys) {
    if (slots_.size() < 2 * keys) rehash(2 * keys);
  }
  // The value under `key`, or nullptr.
  const int* find(int key) const {
    if (size_ == 0) return nullptr;
    const Slot& slot = slots_[slotOf(key)];
    return slot.used ? &slot.value : nullptr;
  }
  bool contains(int key) const { return find(key) != nullptr; }
  void set(int key, int value) {
    if (2 * (size_ + 1) > slots_.size()) rehash(2 * (size_ + 1));
    Slot& slot = slots_[slotOf(key)];
    if (!slot.used) ++size_;
    slot = Slot{key, value, true};
  }
  // Sets keys[i] to i for every i whose key is not `skip`, in order,
  // fetching slots some places ahead into the cache (as FlatIndex::addAll).
  void setAll(const std::vector<int>& keys, int skip) {
    const std::size_t wanted = 2 * (size_ + keys.size());
    if (wanted > slots_.size()) rehash(wanted);
    constexpr std::size_t kAhead = 16;
    for (std::size_t i = 0; i < keys.size(); ++i) {
      if (i + kAhead < keys.size()) __builtin_prefetch(&slots_[IntKeyHash()(keys[i + kAhead]) & mask()]);
      if (keys[i] == skip) continue;
      Slot& slot = slots_[slotOf(keys[i])];
      if (!slot.used) ++size_;
      slot = Slot{keys[i], static_cast<int>(i), true};
    }
  }
  void erase(int key) {
    if (size_ == 0) return;
    std::size_t hole = slotOf(key);
    if (!slots_[hole].used) return;
    for (std::size_t at = (hole + 1) & mask(); slots_[at].used; at = (at + 1) & mask()) {
      const std::size_t home = IntKeyHash()(slots_[at].key) & mask();
      const bool between = hole <= at ? (hole < home && home <= at) : (hole < home || home <= at);
      if (!between) {
        slots_[hole] = slots_[at];
        hole = at;
      }
    }
    slots_[hole] = Slot();
    --size_;
  }

 private:
  struct Slot {
    int key = 0;
    int value = 0;
    bool used = false;
  };
  std::size_t mask() const { return slots_.size() - 1; }
  std::size_t slotOf(int key) const {
    std::size_t at = IntKeyHash()(key) & mask();
    while (slots_[at].used && slots_[at].key != key) at = (at + 1) & mask();
    return at;
  }
  void rehash(std::size_t wanted) {
    std::size_t size = 16;
    while (size < wanted) size *= 2;
    if (size <= slots_.size()) return;
    std::vector<Slot> old(size);
    old.swap(slots_);
    for (const Slot& slot : old) {
      if (slot.used) slots_[slotOf(slot.key)] = slot;
    }
  }

  std::vector<Slot> slots_;
  std::size_t size_ = 0;
};

}  // namespace tav

#endif  // TAVC_BASIC_FLAT_INDEX_H_
