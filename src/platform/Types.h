// Small value types of the class library stand-in: points, sizes, rectangles
// and the horizontal alignment of texts.
//
// A rectangle holds its left, top, right and bottom edges; right and bottom
// lie one past the last pixel, so the width is Right - Left.  A rectangle
// whose right is not beyond its left, or whose bottom is not below its top, is
// empty.
#pragma once

#include <cstdint>

namespace kv {

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  bool operator==(const TPoint&) const = default;
};

struct TSize {
  int32_t cx = 0;
  int32_t cy = 0;
  bool operator==(const TSize&) const = default;
};

struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  // The same rectangle moved by (ADx, ADy).
  TRect Offset(int32_t ADx, int32_t ADy) const { return {Left + ADx, Top + ADy, Right + ADx, Bottom + ADy}; }
  bool operator==(const TRect&) const = default;
};

// The rectangle with its top-left corner at (ALeft, ATop), AWidth wide and
// AHeight high.
constexpr TRect Bounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) {
  return {ALeft, ATop, ALeft + AWidth, ATop + AHeight};
}

// The class library's horizontal alignment of a text.
enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };

}  // namespace kv
