// Buffered byte sink over a stream.
#include "writers/xls/ByteSink.h"

#include "platform/Exceptions.h"

namespace kv::xls {

TcxXLSByteSink::TcxXLSByteSink(TStream& AStream, size_t ABufferSize)
    : FStream(AStream), FBuffer(ABufferSize < 64 ? 64 : ABufferSize), FOrigin(AStream.Position()) {}

TcxXLSByteSink::~TcxXLSByteSink() {
  try {
    Flush();
  } catch (...) {
  }
}

void TcxXLSByteSink::Flush() {
  if (FUsed == 0) return;
  size_t n = FUsed;
  FUsed = 0;  // a failed write is not retried by the destructor
  FStream.WriteBuffer(FBuffer.data(), n);
  FFlushed += static_cast<int64_t>(n);
}

void TcxXLSByteSink::WriteSlow(const void* AData, size_t ACount) {
  Flush();
  if (ACount >= FBuffer.size()) {
    FStream.WriteBuffer(AData, ACount);
    FFlushed += static_cast<int64_t>(ACount);
    return;
  }
  std::memcpy(FBuffer.data(), AData, ACount);
  FUsed = ACount;
}

void TcxXLSByteSink::WriteZeros(size_t ACount) {
  static const uint8_t zeros[512] = {};
  while (ACount > 0) {
    size_t n = ACount < sizeof zeros ? ACount : sizeof zeros;
    Write(zeros, n);
    ACount -= n;
  }
}

void TcxXLSByteSink::PatchU32(int64_t APosition, uint32_t AValue) {
  uint8_t b[4];
  PutU32(b, AValue);
  int64_t bufferStart = FOrigin + FFlushed;
  if (APosition < FOrigin || APosition + 4 > Position()) throw EWriteError("Stream write error");
  if (APosition >= bufferStart) {
    std::memcpy(FBuffer.data() + (APosition - bufferStart), b, 4);
    return;
  }
  Flush();
  int64_t end = Position();
  FStream.SetPosition(APosition);
  FStream.WriteBuffer(b, 4);
  FStream.SetPosition(end);
}

}  // namespace kv::xls
