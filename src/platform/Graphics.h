// Colours and pictures of the class library stand-in.
//
// `TColor` is the class library's colour: a 32-bit value with red in the low
// byte, green in the next and blue in the third.  A negative value names a
// system colour (`clSystemColor` with the system colour number in the low
// byte); `clNone` and `clDefault` are the two special values.  The system
// colours come from a process-wide table that starts with Windows' default
// values (window white, button face F0F0F0, button shadow A0A0A0, button text
// black, ...) and that a host or a test may change.
//
// `TGraphic` is the abstract picture: it knows the file extension registered
// for its class and saves itself to and loads itself from a stream in its own
// format.  `TBitmap` (Bitmap.h) is the one concrete kind so far.
#pragma once

#include <cstdint>
#include <string>

namespace kv {

class TStream;

using TColor = int32_t;

// An RGB value with red in the low byte, as ColorToRGB returns it.
constexpr uint32_t RGB(uint8_t AR, uint8_t AG, uint8_t AB) {
  return static_cast<uint32_t>(AR) | (static_cast<uint32_t>(AG) << 8) | (static_cast<uint32_t>(AB) << 16);
}
constexpr uint8_t GetRValue(uint32_t AColor) { return static_cast<uint8_t>(AColor); }
constexpr uint8_t GetGValue(uint32_t AColor) { return static_cast<uint8_t>(AColor >> 8); }
constexpr uint8_t GetBValue(uint32_t AColor) { return static_cast<uint8_t>(AColor >> 16); }

// System colour numbers (the indexes of the system colour table).
enum : int {
  COLOR_SCROLLBAR = 0,
  COLOR_BACKGROUND = 1,
  COLOR_ACTIVECAPTION = 2,
  COLOR_INACTIVECAPTION = 3,
  COLOR_MENU = 4,
  COLOR_WINDOW = 5,
  COLOR_WINDOWFRAME = 6,
  COLOR_MENUTEXT = 7,
  COLOR_WINDOWTEXT = 8,
  COLOR_CAPTIONTEXT = 9,
  COLOR_ACTIVEBORDER = 10,
  COLOR_INACTIVEBORDER = 11,
  COLOR_APPWORKSPACE = 12,
  COLOR_HIGHLIGHT = 13,
  COLOR_HIGHLIGHTTEXT = 14,
  COLOR_BTNFACE = 15,
  COLOR_BTNSHADOW = 16,
  COLOR_GRAYTEXT = 17,
  COLOR_BTNTEXT = 18,
  COLOR_INACTIVECAPTIONTEXT = 19,
  COLOR_BTNHIGHLIGHT = 20,
  COLOR_3DDKSHADOW = 21,
  COLOR_3DLIGHT = 22,
  COLOR_INFOTEXT = 23,
  COLOR_INFOBK = 24,
  COLOR_HOTLIGHT = 26,
  COLOR_GRADIENTACTIVECAPTION = 27,
  COLOR_GRADIENTINACTIVECAPTION = 28,
  COLOR_MENUHILIGHT = 29,
  COLOR_MENUBAR = 30,
  COLOR_ENDCOLORS = COLOR_MENUBAR,
};

constexpr TColor clSystemColor = static_cast<TColor>(0xFF000000u);

// System colours.
constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR;
constexpr TColor clBackground = clSystemColor | COLOR_BACKGROUND;
constexpr TColor clActiveCaption = clSystemColor | COLOR_ACTIVECAPTION;
constexpr TColor clInactiveCaption = clSystemColor | COLOR_INACTIVECAPTION;
constexpr TColor clMenu = clSystemColor | COLOR_MENU;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowFrame = clSystemColor | COLOR_WINDOWFRAME;
constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clCaptionText = clSystemColor | COLOR_CAPTIONTEXT;
constexpr TColor clActiveBorder = clSystemColor | COLOR_ACTIVEBORDER;
constexpr TColor clInactiveBorder = clSystemColor | COLOR_INACTIVEBORDER;
constexpr TColor clAppWorkSpace = clSystemColor | COLOR_APPWORKSPACE;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clInactiveCaptionText = clSystemColor | COLOR_INACTIVECAPTIONTEXT;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = clSystemColor | COLOR_3DLIGHT;
constexpr TColor clInfoText = clSystemColor | COLOR_INFOTEXT;
constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;
constexpr TColor clHotLight = clSystemColor | COLOR_HOTLIGHT;
constexpr TColor clGradientActiveCaption = clSystemColor | COLOR_GRADIENTACTIVECAPTION;
constexpr TColor clGradientInactiveCaption = clSystemColor | COLOR_GRADIENTINACTIVECAPTION;
constexpr TColor clMenuHighlight = clSystemColor | COLOR_MENUHILIGHT;
constexpr TColor clMenuBar = clSystemColor | COLOR_MENUBAR;

// Fixed colours.
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;

// Special values: no colour, and "the default colour of whatever uses it".
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// The current RGB value of system colour AIndex (0 to COLOR_ENDCOLORS);
// 0 for a number outside the table.
uint32_t GetSysColor(int AIndex);
// Changes one entry of the system colour table (a host's colour scheme, a
// test); numbers outside the table are ignored.
void SetSysColor(int AIndex, uint32_t ARGB);
// Restores Windows' default values.
void ResetSysColors();

// The class library's ColorToRGB: a system colour (negative value) becomes
// the current RGB value of its table entry; every other value is returned
// unchanged (clNone and clDefault included).
uint32_t ColorToRGB(TColor AColor);

// A picture of some kind.  Subclasses save and load their own file format.
class TGraphic {
 public:
  virtual ~TGraphic() = default;
  // The file extension registered for the picture's class, without the dot
  // ("bmp" for a bitmap).
  virtual std::string DefaultExtension() const = 0;
  virtual bool Empty() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  // Writes the picture in its own file format at the stream's position.
  virtual void SaveToStream(TStream& AStream) const = 0;
  // Replaces the picture with one read from the stream's position; raises
  // EInvalidGraphic when the data is not a picture of this kind.
  virtual void LoadFromStream(TStream& AStream) = 0;

  // The bytes SaveToStream writes.
  std::string SaveToBytes() const;
  void LoadFromBytes(const std::string& ABytes);
  // Stream errors (EFCreateError, EFOpenError) pass through.
  void SaveToFile(const std::string& AFileName) const;
  void LoadFromFile(const std::string& AFileName);
};

}  // namespace kv
