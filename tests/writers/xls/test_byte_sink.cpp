// The byte sink: positions, large writes and rewriting bytes that are still
// buffered or already handed to the stream.
#include <gtest/gtest.h>

#include "platform/Exceptions.h"
#include "platform/Streams.h"
#include "writers/xls/ByteSink.h"

namespace kv::xls {
namespace {

TEST(ByteSink, PositionsAndPatches) {
  TMemoryStream m;
  m.WriteString("pre");  // the sink starts where the stream stands
  {
    TcxXLSByteSink sink(m, 64);
    EXPECT_EQ(sink.Position(), 3);
    sink.WriteU32(0xAAAAAAAA);                      // at 3: flushed long before the patch
    sink.Write(std::string(100, 'x').data(), 100);  // larger than the buffer
    sink.WriteU16(0x0102);
    int64_t buffered = sink.Position();
    sink.WriteU32(0xBBBBBBBB);  // at `buffered`: still in the buffer
    sink.WriteZeros(10);
    EXPECT_EQ(sink.Position(), 3 + 4 + 100 + 2 + 4 + 10);
    sink.PatchU32(3, 0x11223344);
    sink.PatchU32(buffered, 0x55667788);
    sink.WriteU8(0xEE);                                                // appending goes on at the end
    EXPECT_THROW(sink.PatchU32(sink.Position() - 2, 0), EWriteError);  // beyond what was written
  }
  const std::string& d = m.Data();
  ASSERT_EQ(d.size(), 3u + 4 + 100 + 2 + 4 + 10 + 1);
  EXPECT_EQ(d.substr(0, 7), std::string("pre\x44\x33\x22\x11", 7));
  EXPECT_EQ(d.substr(107, 6), std::string("\x02\x01\x88\x77\x66\x55", 6));
  EXPECT_EQ(d.substr(113, 10), std::string(10, '\0'));
  EXPECT_EQ(uint8_t(d.back()), 0xEE);
}

}  // namespace
}  // namespace kv::xls
