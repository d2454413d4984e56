// Device-independent bitmaps: `TBitmap`, a picture of RGB pixels that saves
// itself as a Windows BMP file and loads BMP files.
//
// Pixels are held as RGB values (red in the low byte, as TColor).  Saving
// writes an uncompressed 24-bit BMP (BITMAPFILEHEADER + BITMAPINFOHEADER,
// rows bottom-up, each padded to 4 bytes).  Loading accepts the BMP forms that
// picture files commonly use: the core (OS/2) header and the info headers of
// 40, 52, 56, 108 and 124 bytes; 1, 4 and 8 bits with a palette, 16, 24 and
// 32 bits, uncompressed or with bit-field masks, rows bottom-up or top-down.
// Anything else, or data that is cut short, raises EInvalidGraphic.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Graphics.h"

namespace kv {

class TBitmap : public TGraphic {
 public:
  TBitmap() = default;
  TBitmap(int AWidth, int AHeight) { SetSize(AWidth, AHeight); }

  std::string DefaultExtension() const override { return "bmp"; }
  bool Empty() const override { return FWidth == 0 || FHeight == 0; }
  int Width() const override { return FWidth; }
  int Height() const override { return FHeight; }
  void SaveToStream(TStream& AStream) const override;
  void LoadFromStream(TStream& AStream) override;

  // New size; every pixel becomes black.  Negative sizes count as 0.
  void SetSize(int AWidth, int AHeight);
  // Pixel access, (0, 0) being the top-left pixel.  Outside the bitmap
  // reading gives 0 and writing is ignored, as a device context clips.
  uint32_t Pixel(int AX, int AY) const;
  void SetPixel(int AX, int AY, uint32_t ARGB);
  // Fills the whole bitmap with one colour.
  void Fill(uint32_t ARGB);

 private:
  int FWidth = 0;
  int FHeight = 0;
  std::vector<uint32_t> FPixels;  // row by row from the top, RGB
};

}  // namespace kv
