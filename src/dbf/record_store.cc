#include "dbf/record_store.h"

#include <cstring>

namespace tav {

void RecordStore::reset(std::size_t recordLength) {
  data_.reset();
  capacity_ = 0;
  size_ = 0;
  length_ = recordLength;
}

bool RecordStore::reserveBytes(std::size_t bytes) {
  if (bytes <= capacity_) return true;
  LargeBlock<char> grown = makeLargeBlock<char>(bytes);
  if (!grown) return false;
  if (size_ > 0) std::memcpy(grown.get(), data_.get(), size_ * length_);
  data_ = std::move(grown);
  capacity_ = bytes;
  return true;
}

char* RecordStore::prepare(std::size_t bytes) {
  if (!reserveBytes(size_ * length_ + bytes)) return nullptr;
  return data_.get() + size_ * length_;
}

char* RecordStore::appendBlank() {
  const std::size_t used = size_ * length_;
  if (used + length_ > capacity_) {
    std::size_t wanted = capacity_ + capacity_ / 2;
    if (wanted < used + length_) wanted = used + length_ + 64 * length_;
    if (!reserveBytes(wanted)) return nullptr;
  }
  char* record = data_.get() + used;
  std::memset(record, ' ', length_);
  ++size_;
  return record;
}

std::size_t RecordStore::removeDeleted() {
  std::size_t kept = 0;
  for (std::size_t r = 0; r < size_; ++r) {
    const char* record = at(r);
    if (record[0] == '*') continue;
    if (kept != r) std::memmove(at(kept), record, length_);
    ++kept;
  }
  const std::size_t removed = size_ - kept;
  size_ = kept;
  return removed;
}

void RecordStore::clear() {
  data_.reset();
  capacity_ = 0;
  size_ = 0;
}

}  // namespace tav
