#include "dbf/large_block.h"

#include <sys/mman.h>

namespace tav {
namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

}  // namespace

void* allocateLargeBlock(std::size_t bytes) {
  if (bytes < kHugePage) return std::malloc(bytes > 0 ? bytes : 1);
  // aligned_alloc wants a multiple of the alignment; the tail past `bytes`
  // is never used.
  const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  void* block = std::aligned_alloc(kHugePage, rounded);
#ifdef MADV_HUGEPAGE
  // Only advice: a system without huge pages keeps ordinary ones.
  if (block != nullptr) ::madvise(block, rounded, MADV_HUGEPAGE);
#endif
  return block;
}

}  // namespace tav
