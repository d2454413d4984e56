// Large blocks: mapped on their own and marked for huge pages on Linux, from
// the heap elsewhere.
#include "platform/LargeMemory.h"

#include <cstdint>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace kv {

namespace {

#if defined(__linux__)
constexpr size_t HugePage = size_t(2) << 20;

size_t MappedSize(size_t ABytes) { return (ABytes + HugePage - 1) & ~(HugePage - 1); }
#endif

}  // namespace

void* AllocateLarge(size_t ABytes) {
#if defined(__linux__)
  if (ABytes >= LargeBlockThreshold) {
    const size_t size = MappedSize(ABytes);
    if (size < ABytes) throw std::bad_alloc();
    // Map a huge page more than needed and keep the aligned part.
    void* raw = ::mmap(nullptr, size + HugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) throw std::bad_alloc();
    const uintptr_t start = reinterpret_cast<uintptr_t>(raw);
    const uintptr_t aligned = (start + HugePage - 1) & ~uintptr_t(HugePage - 1);
    if (aligned > start) ::munmap(raw, aligned - start);
    const uintptr_t end = start + size + HugePage;
    if (end > aligned + size) ::munmap(reinterpret_cast<void*>(aligned + size), end - (aligned + size));
    void* block = reinterpret_cast<void*>(aligned);
    ::madvise(block, size, MADV_HUGEPAGE);  // a hint: without huge pages the block works the same
    return block;
  }
#endif
  return ::operator new(ABytes);
}

void FreeLarge(void* ABlock, size_t ABytes) noexcept {
  if (!ABlock) return;
#if defined(__linux__)
  if (ABytes >= LargeBlockThreshold) {
    ::munmap(ABlock, MappedSize(ABytes));
    return;
  }
#endif
  ::operator delete(ABlock);
}

}  // namespace kv
