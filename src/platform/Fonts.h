// Fonts of the class library stand-in.
//
// `TFont` is plain data: a face name, a size in points, style bits, a text
// colour and a character set.  The default font is the one the host
// application's forms use: "宋体", 9 points, regular, the window-text colour,
// the default character set.  Pixel sizes come from the text-metrics model
// (TextMetrics.h), which assumes a screen of 96 pixels per inch.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Graphics.h"

namespace kv {

// Font style bits (`TFontStyles` is a set of them).
enum TFontStyle : uint8_t { fsBold = 0x01, fsItalic = 0x02, fsUnderline = 0x04, fsStrikeOut = 0x08 };
using TFontStyles = uint8_t;

// Character sets of fonts.
using TFontCharset = uint8_t;
constexpr TFontCharset ANSI_CHARSET = 0;
constexpr TFontCharset DEFAULT_CHARSET = 1;
constexpr TFontCharset GB2312_CHARSET = 134;

// Pixels per inch of the screen the metrics model assumes.
constexpr int cxScreenPixelsPerInch = 96;

struct TFont {
  std::string Name = "\xE5\xAE\x8B\xE4\xBD\x93";  // "宋体"
  int Size = 9;                                   // points
  TFontStyles Style = 0;
  TColor Color = clWindowText;
  TFontCharset Charset = DEFAULT_CHARSET;

  // The class library's Height: the negative pixel size of the em square
  // (-12 for 9 points at 96 pixels per inch).
  int Height() const;
  bool operator==(const TFont&) const = default;
};

// A font with every field at its default (the grid's and a form's font).
const TFont& DefaultFont();

}  // namespace kv
