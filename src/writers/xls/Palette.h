// The workbook's colour palette.
//
// A workbook refers to colours by palette index; indexes 8 to 63 are the 56
// colours of the PALETTE record, which starts as the format's default
// palette.  `TcxXLSPalette` hands out indexes for the RGB colours of cell
// styles so that every colour an export uses gets an exact entry: colours
// gather at the top of the palette (index 63 downward), a colour already in
// the palette is moved up there rather than duplicated, and once the 56 slots
// are taken, further colours fall back to the automatic colour.  A few colours
// have fixed answers: black text is "automatic" (0x7FFF), a fill in the
// system window colour is "no fill" (64), a black border is the automatic
// border colour (64).
//
// Colours are RGB with red in the low byte, as everywhere in the engine.
#pragma once

#include <array>
#include <cstdint>

#include "writers/xls/ByteSink.h"

namespace kv::xls {

constexpr uint16_t cxBiffPALETTE = 0x0092;

// What a colour is used for; each use has its own fixed answers.
enum class TcxXLSColorUse { Font, Fill, Border };

class TcxXLSPalette {
 public:
  static constexpr int ColorCount = 56;
  static constexpr uint16_t AutoFontColor = 0x7FFF;
  static constexpr uint16_t AutoColor = 64;

  // AWindowColor is the system window colour: fills in it mean no fill.
  explicit TcxXLSPalette(uint32_t AWindowColor);

  // The palette index for AColor used as AUse (see the file comment).
  uint16_t PaletteIndexOf(uint32_t AColor, TcxXLSColorUse AUse);

  // Colour of slot ASlot (0 to 55; palette index ASlot + 8).
  uint32_t ColorAt(int ASlot) const { return FColorTable[ASlot]; }
  // Highest slot not taken yet, -1 when all are taken.
  int PaletteNext() const { return FPaletteNext; }
  static const std::array<uint32_t, ColorCount>& DefaultColors();

  // The PALETTE record: count 56, then each colour as red, green, blue, 0.
  static constexpr uint16_t RecordDataSize = 2 + 4 * ColorCount;
  void WriteTo(TcxXLSByteSink& AStream) const;

 private:
  std::array<uint32_t, ColorCount> FColorTable;
  int FPaletteNext = ColorCount - 1;
  uint32_t FWindowColor;
};

}  // namespace kv::xls
