// The system colour table, ColorToRGB and the byte and file forms of
// pictures.
#include "platform/Graphics.h"

#include <array>

#include "platform/Streams.h"

namespace kv {

namespace {

constexpr int kSysColorCount = COLOR_ENDCOLORS + 1;

// Windows' default system colours.
constexpr std::array<uint32_t, kSysColorCount> kDefaultSysColors = {
    RGB(0xC8, 0xC8, 0xC8),  // COLOR_SCROLLBAR
    RGB(0x00, 0x00, 0x00),  // COLOR_BACKGROUND
    RGB(0x99, 0xB4, 0xD1),  // COLOR_ACTIVECAPTION
    RGB(0xBF, 0xCD, 0xDB),  // COLOR_INACTIVECAPTION
    RGB(0xF0, 0xF0, 0xF0),  // COLOR_MENU
    RGB(0xFF, 0xFF, 0xFF),  // COLOR_WINDOW
    RGB(0x64, 0x64, 0x64),  // COLOR_WINDOWFRAME
    RGB(0x00, 0x00, 0x00),  // COLOR_MENUTEXT
    RGB(0x00, 0x00, 0x00),  // COLOR_WINDOWTEXT
    RGB(0x00, 0x00, 0x00),  // COLOR_CAPTIONTEXT
    RGB(0xB4, 0xB4, 0xB4),  // COLOR_ACTIVEBORDER
    RGB(0xF4, 0xF7, 0xFC),  // COLOR_INACTIVEBORDER
    RGB(0xAB, 0xAB, 0xAB),  // COLOR_APPWORKSPACE
    RGB(0x00, 0x78, 0xD7),  // COLOR_HIGHLIGHT
    RGB(0xFF, 0xFF, 0xFF),  // COLOR_HIGHLIGHTTEXT
    RGB(0xF0, 0xF0, 0xF0),  // COLOR_BTNFACE
    RGB(0xA0, 0xA0, 0xA0),  // COLOR_BTNSHADOW
    RGB(0x6D, 0x6D, 0x6D),  // COLOR_GRAYTEXT
    RGB(0x00, 0x00, 0x00),  // COLOR_BTNTEXT
    RGB(0x00, 0x00, 0x00),  // COLOR_INACTIVECAPTIONTEXT
    RGB(0xFF, 0xFF, 0xFF),  // COLOR_BTNHIGHLIGHT
    RGB(0x69, 0x69, 0x69),  // COLOR_3DDKSHADOW
    RGB(0xE3, 0xE3, 0xE3),  // COLOR_3DLIGHT
    RGB(0x00, 0x00, 0x00),  // COLOR_INFOTEXT
    RGB(0xFF, 0xFF, 0xE1),  // COLOR_INFOBK
    RGB(0x00, 0x00, 0x00),  // 25, unused
    RGB(0x00, 0x66, 0xCC),  // COLOR_HOTLIGHT
    RGB(0xB9, 0xD1, 0xEA),  // COLOR_GRADIENTACTIVECAPTION
    RGB(0xD7, 0xE4, 0xF2),  // COLOR_GRADIENTINACTIVECAPTION
    RGB(0x33, 0x99, 0xFF),  // COLOR_MENUHILIGHT
    RGB(0xF0, 0xF0, 0xF0),  // COLOR_MENUBAR
};

std::array<uint32_t, kSysColorCount>& SysColors() {
  static std::array<uint32_t, kSysColorCount> colors = kDefaultSysColors;
  return colors;
}

}  // namespace

uint32_t GetSysColor(int AIndex) {
  if (AIndex < 0 || AIndex >= kSysColorCount) return 0;
  return SysColors()[AIndex];
}

void SetSysColor(int AIndex, uint32_t ARGB) {
  if (AIndex < 0 || AIndex >= kSysColorCount) return;
  SysColors()[AIndex] = ARGB & 0xFFFFFF;
}

void ResetSysColors() { SysColors() = kDefaultSysColors; }

uint32_t ColorToRGB(TColor AColor) {
  if (AColor < 0) return GetSysColor(AColor & 0xFF);
  return static_cast<uint32_t>(AColor);
}

std::string TGraphic::SaveToBytes() const {
  TMemoryStream stream;
  SaveToStream(stream);
  return stream.Data();
}

void TGraphic::LoadFromBytes(const std::string& ABytes) {
  TMemoryStream stream;
  stream.WriteString(ABytes);
  stream.SetPosition(0);
  LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& AFileName) const {
  TFileStream stream(AFileName, fmCreate);
  SaveToStream(stream);
}

void TGraphic::LoadFromFile(const std::string& AFileName) {
  TFileStream stream(AFileName, fmOpenRead | fmShareDenyNone);
  LoadFromStream(stream);
}

}  // namespace kv
