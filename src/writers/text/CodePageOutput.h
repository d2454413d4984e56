// The output buffer of the HTML and XML writers: markup is built as UTF-8
// text and handed to a stream in pieces, each encoded into the code page the
// file is written in (the system code page).
//
// A writer appends whole characters only, and flushes only between cells or
// rows, so a piece never ends inside a multi-byte character.  Flushing is
// explicit: the destructor drops what was not flushed, because writing may
// fail and a destructor must not throw.
#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

class TStream;

class TcxCodePageOutput {
 public:
  // AStream receives the encoded bytes; ACodePage is the code page they are
  // encoded in (the system code page by default).
  explicit TcxCodePageOutput(TStream& AStream);
  TcxCodePageOutput(TStream& AStream, int ACodePage);

  // The UTF-8 text not yet written; writers append to it directly.
  std::string Text;

  TcxCodePageOutput& operator<<(std::string_view AText) {
    Text.append(AText);
    return *this;
  }
  TcxCodePageOutput& operator<<(char AChar) {
    Text.push_back(AChar);
    return *this;
  }
  // Decimal value.
  TcxCodePageOutput& operator<<(int64_t AValue) {
    char digits[24];
    auto result = std::to_chars(digits, digits + sizeof digits, AValue);
    Text.append(digits, result.ptr);
    return *this;
  }
  TcxCodePageOutput& operator<<(int32_t AValue) { return *this << static_cast<int64_t>(AValue); }
  TcxCodePageOutput& operator<<(uint32_t AValue) { return *this << static_cast<int64_t>(AValue); }

  // Writes the pending text when it has grown past the piece size.
  void FlushIfFull() {
    if (Text.size() >= kPieceSize) Flush();
  }
  // Encodes and writes all pending text (stream errors pass through).
  void Flush();
  TStream& Stream() { return FStream; }

  static constexpr size_t kPieceSize = 64 * 1024;

 private:
  TStream& FStream;
  int FCodePage;
};

}  // namespace kv
