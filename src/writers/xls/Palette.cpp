// Palette: default colours, index allocation and the PALETTE record.
#include "writers/xls/Palette.h"

#include <utility>

namespace kv::xls {

namespace {

// 0xRRGGBB as written in colour charts, to the engine's red-low form.
constexpr uint32_t Rgb(uint32_t AHex) { return (AHex >> 16 & 0xFF) | (AHex & 0xFF00) | (AHex & 0xFF) << 16; }

}  // namespace

const std::array<uint32_t, TcxXLSPalette::ColorCount>& TcxXLSPalette::DefaultColors() {
  static const std::array<uint32_t, ColorCount> colors = {
      Rgb(0x000000), Rgb(0xFFFFFF), Rgb(0xFF0000), Rgb(0x00FF00), Rgb(0x0000FF), Rgb(0xFFFF00), Rgb(0xFF00FF),
      Rgb(0x00FFFF), Rgb(0x800000), Rgb(0x008000), Rgb(0x000080), Rgb(0x808000), Rgb(0x800080), Rgb(0x008080),
      Rgb(0xC0C0C0), Rgb(0x808080), Rgb(0x9999FF), Rgb(0x993366), Rgb(0xFFFFCC), Rgb(0xCCFFFF), Rgb(0x660066),
      Rgb(0xFF8080), Rgb(0x0066CC), Rgb(0xCCCCFF), Rgb(0x000080), Rgb(0xFF00FF), Rgb(0xFFFF00), Rgb(0x00FFFF),
      Rgb(0x800080), Rgb(0x800000), Rgb(0x008080), Rgb(0x0000FF), Rgb(0x00CCFF), Rgb(0xCCFFFF), Rgb(0xCCFFCC),
      Rgb(0xFFFF99), Rgb(0x99CCFF), Rgb(0xFF99CC), Rgb(0xCC99FF), Rgb(0xFFCC99), Rgb(0x3366FF), Rgb(0x33CCCC),
      Rgb(0x99CC00), Rgb(0xFFCC00), Rgb(0xFF9900), Rgb(0xFF6600), Rgb(0x666699), Rgb(0x969696), Rgb(0x003366),
      Rgb(0x339966), Rgb(0x003300), Rgb(0x333300), Rgb(0x993300), Rgb(0x993366), Rgb(0x333399), Rgb(0x333333),
  };
  return colors;
}

TcxXLSPalette::TcxXLSPalette(uint32_t AWindowColor) : FColorTable(DefaultColors()), FWindowColor(AWindowColor) {}

uint16_t TcxXLSPalette::PaletteIndexOf(uint32_t AColor, TcxXLSColorUse AUse) {
  switch (AUse) {
    case TcxXLSColorUse::Font:
      if (AColor == 0) return AutoFontColor;
      break;
    case TcxXLSColorUse::Fill:
      if (AColor == FWindowColor) return AutoColor;
      break;
    case TcxXLSColorUse::Border:
      if (AColor == 0) return AutoColor;
      break;
  }
  for (int i = ColorCount - 1; i >= 0; --i) {
    if (FColorTable[i] != AColor) continue;
    if (i > FPaletteNext) return static_cast<uint16_t>(i + 8);  // taken earlier by this export
    if (i != FPaletteNext) std::swap(FColorTable[i], FColorTable[FPaletteNext]);
    return static_cast<uint16_t>(8 + FPaletteNext--);
  }
  if (FPaletteNext >= 0) {
    FColorTable[FPaletteNext] = AColor;
    return static_cast<uint16_t>(8 + FPaletteNext--);
  }
  return AUse == TcxXLSColorUse::Font ? AutoFontColor : AutoColor;
}

void TcxXLSPalette::WriteTo(TcxXLSByteSink& AStream) const {
  uint8_t data[4 + RecordDataSize];
  TcxXLSByteSink::PutU16(data, cxBiffPALETTE);
  TcxXLSByteSink::PutU16(data + 2, RecordDataSize);
  TcxXLSByteSink::PutU16(data + 4, ColorCount);
  for (int i = 0; i < ColorCount; ++i) {
    uint32_t c = FColorTable[i];
    data[6 + 4 * i] = static_cast<uint8_t>(c);
    data[7 + 4 * i] = static_cast<uint8_t>(c >> 8);
    data[8 + 4 * i] = static_cast<uint8_t>(c >> 16);
    data[9 + 4 * i] = 0;
  }
  AStream.Write(data, sizeof data);
}

}  // namespace kv::xls
