// Large buffers: containers keep their contents when they grow from a heap
// block to a mapped block and back, and mapped blocks are aligned for huge
// pages.
#include <gtest/gtest.h>

#include <cstdint>

#include "platform/LargeMemory.h"

namespace kv {
namespace {

TEST(LargeMemory, VectorsKeepTheirContentsAcrossTheThreshold) {
  TLargeVector<uint32_t> v;
  const size_t count = 3 * LargeBlockThreshold / sizeof(uint32_t);  // grows through small and large blocks
  for (size_t i = 0; i < count; ++i) v.push_back(static_cast<uint32_t>(i * 2654435761u));
  for (size_t i = 0; i < count; i += 4099) ASSERT_EQ(v[i], static_cast<uint32_t>(i * 2654435761u)) << i;
  EXPECT_EQ(v.back(), static_cast<uint32_t>((count - 1) * 2654435761u));
  v.resize(10);
  v.shrink_to_fit();  // back to a heap block
  EXPECT_EQ(v[9], static_cast<uint32_t>(9 * 2654435761u));
}

TEST(LargeMemory, LargeBlocksAreAlignedAndWritableToTheEnd) {
  for (size_t size : {LargeBlockThreshold, LargeBlockThreshold * 5 + 3}) {
    auto* block = static_cast<uint8_t*>(AllocateLarge(size));
    block[0] = 1;
    block[size - 1] = 2;
    EXPECT_EQ(block[0] + block[size - 1], 3);
#if defined(__linux__)
    EXPECT_EQ(reinterpret_cast<uintptr_t>(block) % (size_t(2) << 20), 0u);
#endif
    FreeLarge(block, size);
  }
}

}  // namespace
}  // namespace kv
