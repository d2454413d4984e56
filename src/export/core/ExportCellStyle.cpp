// Packed byte form, hash and equality of cell styles.
#include "export/core/ExportCellStyle.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "export/core/ExportHelpers.h"

namespace kv {

namespace {

// Appends little-endian numbers to a packed buffer.
struct TPacker {
  uint8_t* At;
  void Byte(uint8_t AValue) { *At++ = AValue; }
  void U32(uint32_t AValue) {
    for (int i = 0; i < 4; ++i) *At++ = static_cast<uint8_t>(AValue >> (8 * i));
  }
};

}  // namespace

void TcxExportCellStyle::SetFontName(std::string_view AName) {
  std::memset(FontName, 0, sizeof FontName);
  size_t n = std::min(AName.size(), cxFontNameSize - 1);
  // Do not keep half of a UTF-8 sequence: step back over continuation bytes
  // when the cut falls inside a character.
  if (n < AName.size()) {
    while (n > 0 && (static_cast<uint8_t>(AName[n]) & 0xC0) == 0x80) --n;
  }
  std::memcpy(FontName, AName.data(), n);
}

std::string TcxExportCellStyle::FontNameText() const {
  return std::string(FontName, strnlen(FontName, sizeof FontName));
}

TcxExportCellStyle::TPacked TcxExportCellStyle::Packed() const {
  TPacked bytes;
  TPacker p{bytes.data()};
  p.Byte(AlignText);
  std::memcpy(p.At, FontName, cxFontNameSize);
  p.At += cxFontNameSize;
  p.Byte(FontStyle);
  p.U32(FontColor);
  p.U32(static_cast<uint32_t>(FontSize));
  p.U32(FontCharset);
  for (const TcxExportCellBorder& border : CellBorders) {
    p.Byte(border.IsDefault);
    p.U32(static_cast<uint32_t>(border.Width));
    p.U32(border.Color);
  }
  p.Byte(BrushStyle);
  p.U32(BrushBkColor);
  p.U32(BrushFgColor);
  assert(p.At == bytes.data() + bytes.size());
  return bytes;
}

uint32_t TcxExportCellStyle::ComputeHash() const {
  TPacked bytes = Packed();
  return ExportHash(bytes.data(), bytes.size());
}

bool operator==(const TcxExportCellStyle& A, const TcxExportCellStyle& B) { return A.Packed() == B.Packed(); }

bool operator==(const TcxExportCellBorder& A, const TcxExportCellBorder& B) {
  return A.IsDefault == B.IsDefault && A.Width == B.Width && A.Color == B.Color;
}

}  // namespace kv
