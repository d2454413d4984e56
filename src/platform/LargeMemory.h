// Memory for large buffers.
//
// Filling fresh memory costs one page fault per page the first time each page
// is written, and on some systems (virtual machines above all) a fault costs
// tens of microseconds: a buffer of tens of megabytes can then take longer to
// fault in than to fill.  Buffers of megabytes (a file read whole, the values
// of a big dataset, a workbook's cell table) therefore come from here.
// Blocks of at least `LargeBlockThreshold` bytes are mapped on their own,
// aligned to 2 MiB and marked for transparent huge pages where the system
// offers them (Linux), so that filling them faults about once per 2 MiB;
// they go back to the system when freed.  Smaller blocks, and every block
// where no such mapping exists, come from the ordinary heap.
#pragma once

#include <cstddef>
#include <vector>

namespace kv {

constexpr size_t LargeBlockThreshold = size_t(1) << 20;

// A block of at least ABytes bytes, aligned for any type; raises
// std::bad_alloc when there is no memory.
void* AllocateLarge(size_t ABytes);
// Frees a block from AllocateLarge; ABytes is the size it was asked with.
void FreeLarge(void* ABlock, size_t ABytes) noexcept;

// A standard allocator over AllocateLarge, for containers that grow big.
template <class T>
struct TLargeAllocator {
  using value_type = T;
  TLargeAllocator() = default;
  template <class U>
  TLargeAllocator(const TLargeAllocator<U>&) {}
  T* allocate(size_t ACount) { return static_cast<T*>(AllocateLarge(ACount * sizeof(T))); }
  void deallocate(T* ABlock, size_t ACount) noexcept { FreeLarge(ABlock, ACount * sizeof(T)); }
  template <class U>
  bool operator==(const TLargeAllocator<U>&) const {
    return true;
  }
};

template <class T>
using TLargeVector = std::vector<T, TLargeAllocator<T>>;

}  // namespace kv
