// The deterministic text-metrics model: how many pixels a text takes in a
// font.  Every layout of the grid stand-in and every measurement of the
// export engine comes from here, so that a layout can be predicted in a test
// and is the same on every machine.  The formulas are documented in
// docs/text-metrics.md:
//
//   em      = (Size * 96 + 36) / 72            (integer division; 9 pt -> 12)
//   height  = em + em / 4                      (one line; 9 pt -> 15)
//   width   = sum of the character widths, plus 1 per character when bold
//     a wide character (CJK ideographs, kana, hangul, full-width forms,
//       CJK punctuation)                       em
//     a narrow ASCII character  i j l . , : ; ' ! | and the space
//                                              em / 4 + 1
//     a capital letter, "m", "w", "@", "%"     em * 3 / 4
//     any other character                      em / 2 + 1
//   italic texts are 1 pixel wider as a whole (the slant of the last character).
//
// Texts are UTF-8; a byte sequence that is not valid UTF-8 counts one narrow
// "other" character per byte.
#pragma once

#include <string_view>

#include "platform/Fonts.h"
#include "platform/Types.h"

namespace kv {

// Pixel size of the font's em square.
int FontPixelSize(const TFont& AFont);
// Height of one line of text in the font (the same for every text).
int TextHeight(const TFont& AFont);
// Width of AText on one line (line breaks count as ordinary characters).
int TextWidth(const TFont& AFont, std::string_view AText);
// Width and height of AText on one line.
TSize TextExtent(const TFont& AFont, std::string_view AText);

// The lines AText takes when word-wrapped into AWidth pixels, as a text
// drawing routine with word breaks lays it out: "\r\n", "\n" and "\r" end a
// line; a line breaks after the last blank that lets it fit; a word wider
// than the whole width is broken between characters; a wide character may
// start a new line anywhere.  An empty text takes one line; a width of 0 or
// less puts every character on a line of its own.
int WrappedLineCount(const TFont& AFont, std::string_view AText, int AWidth);
// WrappedLineCount times TextHeight.
int WrappedTextHeight(const TFont& AFont, std::string_view AText, int AWidth);

}  // namespace kv
