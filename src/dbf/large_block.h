// LargeBlock is an uninitialised block of memory for the big arrays of a
// loaded table (its records, its record-number cache, the bytes of its
// index file).  Blocks of 2 MiB and
// more are aligned to 2 MiB and advised to be backed by huge pages where the
// system offers them: on virtual machines the first touch of every 4 KiB
// page is what dominates reading a big table into memory, and huge pages cut
// the number of those faults by a factor of 512.  Smaller blocks are plain
// heap memory.  The advice changes only speed, never content.  The memory
// comes from the platform layer (base/platform.h); on systems without huge
// pages for ordinary programs (Windows) every block is plain memory.
#ifndef TAVC_DBF_LARGE_BLOCK_H_
#define TAVC_DBF_LARGE_BLOCK_H_

#include <cstddef>
#include <memory>

namespace tav {

struct FreeBlock {
  void operator()(void* block) const;
};

template <typename T>
using LargeBlock = std::unique_ptr<T[], FreeBlock>;

// Room for `bytes` bytes, or nullptr when the memory cannot be had.
void* allocateLargeBlock(std::size_t bytes);

// Room for `count` objects of a trivial type T, uninitialised.
template <typename T>
LargeBlock<T> makeLargeBlock(std::size_t count) {
  return LargeBlock<T>(static_cast<T*>(allocateLargeBlock(count * sizeof(T))));
}

}  // namespace tav

#endif  // TAVC_DBF_LARGE_BLOCK_H_
