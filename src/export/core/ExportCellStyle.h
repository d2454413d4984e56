// The cell style record of the export engine and its packed byte form.
//
// `TcxExportCellStyle` is copied by value, compared and hashed over its
// packed byte form: the fields in declaration order, without padding, numbers
// little-endian, the whole 64-byte font name buffer included (bytes after the
// name's terminator count).  `StyleHash` is not part of the packed form; the
// style manager stores ExportHash of the packed form into it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

// Horizontal alignment (`AlignText`).
enum : uint8_t { catLeft = 0, catCenter = 1, catRight = 2 };
// Font style bits (`FontStyle`).
enum : uint8_t { cfsBold = 0x01, cfsItalic = 0x02, cfsUnderline = 0x04, cfsStrikeOut = 0x08 };
// Fill (`BrushStyle`).
enum : uint8_t { cbsClear = 0, cbsSolid = 1 };
// Border sides, the order of `CellBorders` (also the bits of a side set).
enum : int { cxBorderLeft = 0, cxBorderTop = 1, cxBorderRight = 2, cxBorderBottom = 3 };

// One side's border.  Packed: IsDefault (1 byte), Width (4), Color (4).
struct TcxExportCellBorder {
  uint8_t IsDefault = 0;  // 1: the side has no explicit border of its own
  int32_t Width = 0;      // pixels
  uint32_t Color = 0;     // RGB, red in the low byte
};

constexpr size_t cxFontNameSize = 64;

struct TcxExportCellStyle {
  uint8_t AlignText = catLeft;
  char FontName[cxFontNameSize] = {};  // zero-terminated 8-bit text, zero-padded
  uint8_t FontStyle = 0;
  uint32_t FontColor = 0;
  int32_t FontSize = 0;
  uint32_t FontCharset = 0;
  std::array<TcxExportCellBorder, 4> CellBorders{};  // left, top, right, bottom
  uint8_t BrushStyle = cbsClear;
  uint32_t BrushBkColor = 0;
  uint32_t BrushFgColor = 0;
  uint32_t StyleHash = 0;  // ExportHash of the packed form; kept by the style manager

  // Clears all 64 bytes of FontName, then copies in at most 63 bytes of
  // AName (cut at a character boundary of the UTF-8 text).
  void SetFontName(std::string_view AName);
  // FontName up to its terminator.
  std::string FontNameText() const;

  static constexpr size_t PackedSize = 1 + cxFontNameSize + 1 + 4 + 4 + 4 + 4 * (1 + 4 + 4) + 1 + 4 + 4;
  using TPacked = std::array<uint8_t, PackedSize>;
  // The packed byte form of every field before StyleHash.
  TPacked Packed() const;
  // ExportHash of the packed form.
  uint32_t ComputeHash() const;
};

// Equality over exactly the packed byte form (StyleHash is not compared).
bool operator==(const TcxExportCellStyle& A, const TcxExportCellStyle& B);
bool operator==(const TcxExportCellBorder& A, const TcxExportCellBorder& B);

}  // namespace kv
