// The byte sink every part of the workbook writer writes through.
//
// `TcxXLSByteSink` buffers small writes (record headers, cell records) in a
// fixed buffer and hands them to a `kv::TStream` in large blocks, so that the
// many small records of a workbook cost a memcpy each rather than a system
// call.  It counts the bytes that pass through it, which is how the writers
// know stream positions (EXTSST entries, the BOUNDSHEET field), and it can
// rewrite bytes it has already taken: in the buffer when they are still
// there, otherwise by one seek on the stream and back.  All numbers are
// written little-endian.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/Streams.h"

namespace kv::xls {

class TcxXLSByteSink {
 public:
  // Writes to AStream from its current position on.
  explicit TcxXLSByteSink(TStream& AStream, size_t ABufferSize = 1 << 16);
  // Flushes what is still buffered; errors there are swallowed (call Flush
  // first to see them).
  ~TcxXLSByteSink();
  TcxXLSByteSink(const TcxXLSByteSink&) = delete;
  TcxXLSByteSink& operator=(const TcxXLSByteSink&) = delete;

  // Appends ACount bytes.  A write error of the stream raises EWriteError.
  void Write(const void* AData, size_t ACount) {
    if (ACount <= FBuffer.size() - FUsed) {
      std::memcpy(FBuffer.data() + FUsed, AData, ACount);
      FUsed += ACount;
    } else {
      WriteSlow(AData, ACount);
    }
  }
  void WriteU8(uint8_t AValue) { Write(&AValue, 1); }
  void WriteU16(uint16_t AValue) {
    uint8_t b[2] = {static_cast<uint8_t>(AValue), static_cast<uint8_t>(AValue >> 8)};
    Write(b, 2);
  }
  void WriteU32(uint32_t AValue) {
    uint8_t b[4];
    PutU32(b, AValue);
    Write(b, 4);
  }
  void WriteZeros(size_t ACount);

  // Bytes taken so far plus the stream position the sink started at: the
  // stream position of the next byte.
  int64_t Position() const { return FOrigin + FFlushed + static_cast<int64_t>(FUsed); }
  // Replaces 4 bytes written earlier at stream position APosition; the sink
  // keeps appending where it was.
  void PatchU32(int64_t APosition, uint32_t AValue);
  // Hands the buffered bytes to the stream.
  void Flush();

  // Little-endian stores into a byte buffer, shared by the record builders.
  static void PutU16(uint8_t* AAt, uint16_t AValue) {
    AAt[0] = static_cast<uint8_t>(AValue);
    AAt[1] = static_cast<uint8_t>(AValue >> 8);
  }
  static void PutU32(uint8_t* AAt, uint32_t AValue) {
    for (int i = 0; i < 4; ++i) AAt[i] = static_cast<uint8_t>(AValue >> (8 * i));
  }
  static void PutDouble(uint8_t* AAt, double AValue) {
    uint64_t bits;
    std::memcpy(&bits, &AValue, 8);
    for (int i = 0; i < 8; ++i) AAt[i] = static_cast<uint8_t>(bits >> (8 * i));
  }

 private:
  void WriteSlow(const void* AData, size_t ACount);

  TStream& FStream;
  std::vector<uint8_t> FBuffer;
  size_t FUsed = 0;
  int64_t FOrigin;       // stream position when the sink was made
  int64_t FFlushed = 0;  // bytes already handed to the stream
};

}  // namespace kv::xls
