// The output buffer of the HTML and XML writers.
#include "writers/text/CodePageOutput.h"

#include "platform/CodePage.h"
#include "platform/Streams.h"

namespace kv {

TcxCodePageOutput::TcxCodePageOutput(TStream& AStream) : TcxCodePageOutput(AStream, SystemCodePage()) {}

TcxCodePageOutput::TcxCodePageOutput(TStream& AStream, int ACodePage) : FStream(AStream), FCodePage(ACodePage) {
  Text.reserve(kPieceSize + kPieceSize / 4);
}

void TcxCodePageOutput::Flush() {
  if (Text.empty()) return;
  if (FCodePage == CP_UTF8 || IsSevenBit(Text)) {
    FStream.WriteBuffer(Text.data(), Text.size());
  } else {
    std::string bytes = EncodeText(Text, FCodePage);
    FStream.WriteBuffer(bytes.data(), bytes.size());
  }
  Text.clear();
}

}  // namespace kv
