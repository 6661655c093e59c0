// TextIndex maps field texts to record numbers for the record-number cache of
// a table (CDbf::getRecNo).  It is an open-addressing hash table: one flat
// array of 16-byte slots and one block holding the texts, so a lookup costs a
// hash and usually a single memory access, and building it for a whole table
// allocates only as the table doubles.  Setting a text that is already
// present replaces its record number, which is how "the highest record number
// wins" when a table is scanned in order.  Texts are at most 65535 bytes
// (field texts are at most 255); a longer text is never entered and never
// found.
#ifndef TAVC_DBF_TEXT_INDEX_H_
#define TAVC_DBF_TEXT_INDEX_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "dbf/large_block.h"

namespace tav {

class TextIndex {
 public:
  // Makes room for `count` texts without growing.  Like every insertion it
  // can throw std::bad_alloc when memory runs out.
  void reserve(std::size_t count);
  // Enters text -> recNo, replacing the number of a text already present.
  void set(std::string_view text, int recNo);
  // The record number of `text`, or -1 when it is not present.
  int find(std::string_view text) const;
  std::size_t size() const { return size_; }

 private:
  // A slot keeps the first eight bytes of its text, its length and part of
  // its hash, so identifiers and other short texts are matched without a
  // second memory access; a longer text is compared in texts_ as well.
  struct Slot {
    std::uint32_t check;  // high half of the hash << 16 | text length
    std::int32_t recNo;   // -1: the slot is empty
    std::uint64_t head;   // the first eight bytes of the text, zero-padded
  };

  // Where a text would be: its slot number and the slot's expected content.
  struct Key {
    std::size_t home;
    std::uint32_t check;
    std::uint64_t head;
  };

  Key keyOf(std::string_view text) const;
  // The slot holding `text`, or the empty slot where it belongs.
  std::size_t probe(std::string_view text, const Key& key) const;
  void grow(std::size_t capacity);

  LargeBlock<Slot> slots_;          // capacity_ slots, at most 3/4 of them used
  LargeBlock<std::uint64_t> refs_;  // per slot: offset of its text in texts_
  std::size_t capacity_ = 0;        // 0 or a power of two
  std::string texts_;               // every text entered, one after the other
  std::size_t size_ = 0;
};

}  // namespace tav

#endif  // TAVC_DBF_TEXT_INDEX_H_
