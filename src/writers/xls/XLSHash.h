// Hash of record bytes for de-duplication.
#pragma once
#include <cstddef>
#include <cstdint>
namespace kv::xls {
inline uint32_t RecordHash(const uint8_t* AData, size_t ASize) {
  uint32_t h = 0;
  for (size_t i = 0; i < ASize; ++i) h = ((h << 5) | (h >> 27)) ^ AData[i];
  return h;
}
}  // namespace kv::xls
