#include "dbf/large_block.h"

#include "base/platform.h"

namespace tav {

void FreeBlock::operator()(void* block) const { platform::freeLargeBlock(block); }

void* allocateLargeBlock(std::size_t bytes) { return platform::allocateLargeBlock(bytes); }

}  // namespace tav
