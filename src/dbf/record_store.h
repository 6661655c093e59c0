// RecordStore owns the records of one table as a single contiguous block of
// fixed-length records.  One block instead of one allocation per record keeps
// loading to a single read and saving to a single write, and keeps scans in
// cache order.  Memory is taken uninitialised (the file read fills it) as a
// LargeBlock, and grows geometrically when records are added.
#ifndef TAVC_DBF_RECORD_STORE_H_
#define TAVC_DBF_RECORD_STORE_H_

#include <cstddef>
#include <memory>

#include "dbf/large_block.h"

namespace tav {

class RecordStore {
 public:
  // Empties the store and sets the length of every record.
  void reset(std::size_t recordLength);

  std::size_t size() const { return size_; }
  std::size_t recordLength() const { return length_; }
  // Record `r` (< size()).  Unchecked: callers check record numbers.
  char* at(std::size_t r) { return data_.get() + r * length_; }
  const char* at(std::size_t r) const { return data_.get() + r * length_; }
  const char* data() const { return data_.get(); }

  // Room for `bytes` raw bytes after the records held, for a file read;
  // nullptr when the memory cannot be had.  `setSize` then counts the records.
  char* prepare(std::size_t bytes);
  void setSize(std::size_t records) { size_ = records; }

  // Appends one record of blanks and returns it; nullptr when out of memory.
  char* appendBlank();
  void removeLast() { if (size_ > 0) --size_; }
  // Removes every record whose flag byte is '*', keeping the order of the
  // others; returns how many were removed.
  std::size_t removeDeleted();
  void clear();

 private:
  bool reserveBytes(std::size_t bytes);

  LargeBlock<char> data_;
  std::size_t capacity_ = 0;  // bytes
  std::size_t size_ = 0;      // records
  std::size_t length_ = 0;    // bytes per record
};

}  // namespace tav

#endif  // TAVC_DBF_RECORD_STORE_H_
