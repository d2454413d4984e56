// BMP writing and reading for TBitmap.
#include "platform/Bitmap.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/Exceptions.h"
#include "platform/Streams.h"

namespace kv {

namespace {

constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_RLE8 = 1;
constexpr uint32_t BI_RLE4 = 2;
constexpr uint32_t BI_BITFIELDS = 3;
constexpr uint32_t BI_ALPHABITFIELDS = 6;
constexpr int64_t kMaxPixels = int64_t{1} << 28;  // refuse absurd sizes before allocating
constexpr uint32_t kPixelsPerMeter96Dpi = 3780;

[[noreturn]] void InvalidBitmap() { throw EInvalidGraphic("Bitmap image is not valid"); }

void Put16(std::string& AOut, uint16_t AValue) {
  AOut.push_back(static_cast<char>(AValue & 0xFF));
  AOut.push_back(static_cast<char>(AValue >> 8));
}

void Put32(std::string& AOut, uint32_t AValue) {
  for (int i = 0; i < 4; ++i) AOut.push_back(static_cast<char>((AValue >> (8 * i)) & 0xFF));
}

uint16_t Get16(const uint8_t* AData) { return static_cast<uint16_t>(AData[0] | (AData[1] << 8)); }

uint32_t Get32(const uint8_t* AData) {
  return static_cast<uint32_t>(AData[0]) | (static_cast<uint32_t>(AData[1]) << 8) |
         (static_cast<uint32_t>(AData[2]) << 16) | (static_cast<uint32_t>(AData[3]) << 24);
}

// Reads exactly ACount bytes or reports an invalid bitmap.
void ReadExact(TStream& AStream, void* ABuffer, size_t ACount) {
  if (ACount != 0 && AStream.Read(ABuffer, ACount) != ACount) InvalidBitmap();
}

// One colour channel described by a bit mask.
struct TChannel {
  uint32_t Mask = 0;
  int Shift = 0;
  uint32_t Max = 0;

  explicit TChannel(uint32_t AMask) : Mask(AMask) {
    if (Mask == 0) return;
    Shift = std::countr_zero(Mask);
    Max = Mask >> Shift;
  }
  uint8_t Of(uint32_t APixel) const {
    if (Mask == 0) return 0;
    uint32_t v = (APixel & Mask) >> Shift;
    return static_cast<uint8_t>((static_cast<uint64_t>(v) * 255 + Max / 2) / Max);
  }
};

}  // namespace

void TBitmap::SetSize(int AWidth, int AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (static_cast<int64_t>(AWidth) * AHeight > kMaxPixels) throw EInvalidGraphic("Bitmap image is too large");
  FWidth = AWidth;
  FHeight = AHeight;
  FPixels.assign(static_cast<size_t>(FWidth) * FHeight, 0);
}

uint32_t TBitmap::Pixel(int AX, int AY) const {
  if (AX < 0 || AY < 0 || AX >= FWidth || AY >= FHeight) return 0;
  return FPixels[static_cast<size_t>(AY) * FWidth + AX];
}

void TBitmap::SetPixel(int AX, int AY, uint32_t ARGB) {
  if (AX < 0 || AY < 0 || AX >= FWidth || AY >= FHeight) return;
  FPixels[static_cast<size_t>(AY) * FWidth + AX] = ARGB & 0xFFFFFF;
}

void TBitmap::Fill(uint32_t ARGB) { std::fill(FPixels.begin(), FPixels.end(), ARGB & 0xFFFFFF); }

// Writes BITMAPFILEHEADER, BITMAPINFOHEADER (24 bits, uncompressed, 96 dpi)
// and the rows from the bottom up, each padded to a multiple of 4 bytes.
void TBitmap::SaveToStream(TStream& AStream) const {
  const uint32_t rowSize = (static_cast<uint32_t>(FWidth) * 3 + 3) & ~3u;
  const uint32_t imageSize = rowSize * static_cast<uint32_t>(FHeight);
  std::string out;
  out.reserve(54 + imageSize);
  out += "BM";
  Put32(out, 54 + imageSize);  // bfSize
  Put32(out, 0);               // bfReserved1, bfReserved2
  Put32(out, 54);              // bfOffBits
  Put32(out, 40);              // biSize
  Put32(out, static_cast<uint32_t>(FWidth));
  Put32(out, static_cast<uint32_t>(FHeight));  // positive: bottom-up
  Put16(out, 1);                               // biPlanes
  Put16(out, 24);                              // biBitCount
  Put32(out, BI_RGB);
  Put32(out, imageSize);
  Put32(out, kPixelsPerMeter96Dpi);
  Put32(out, kPixelsPerMeter96Dpi);
  Put32(out, 0);  // biClrUsed
  Put32(out, 0);  // biClrImportant
  for (int y = FHeight - 1; y >= 0; --y) {
    const uint32_t* row = FPixels.data() + static_cast<size_t>(y) * FWidth;
    for (int x = 0; x < FWidth; ++x) {
      out.push_back(static_cast<char>(GetBValue(row[x])));
      out.push_back(static_cast<char>(GetGValue(row[x])));
      out.push_back(static_cast<char>(GetRValue(row[x])));
    }
    out.append(rowSize - static_cast<uint32_t>(FWidth) * 3, '\0');
  }
  AStream.WriteBuffer(out.data(), out.size());
}

void TBitmap::LoadFromStream(TStream& AStream) {
  uint8_t fileHeader[14];
  ReadExact(AStream, fileHeader, sizeof fileHeader);
  if (fileHeader[0] != 'B' || fileHeader[1] != 'M') InvalidBitmap();
  const uint32_t offBits = Get32(fileHeader + 10);

  uint8_t info[124] = {};
  ReadExact(AStream, info, 4);
  const uint32_t infoSize = Get32(info);
  if (infoSize != 12 && infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 && infoSize != 124)
    InvalidBitmap();
  ReadExact(AStream, info + 4, infoSize - 4);
  uint32_t consumed = 14 + infoSize;

  const bool core = infoSize == 12;
  int64_t width, height;
  uint32_t bitCount, compression = BI_RGB, colorsUsed = 0;
  if (core) {
    width = Get16(info + 4);
    height = Get16(info + 6);
    bitCount = Get16(info + 10);
  } else {
    width = static_cast<int32_t>(Get32(info + 4));
    height = static_cast<int32_t>(Get32(info + 8));
    bitCount = Get16(info + 14);
    compression = Get32(info + 16);
    colorsUsed = Get32(info + 32);
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width < 0 || width * height > kMaxPixels) InvalidBitmap();
  if (topDown && (compression == BI_RLE8 || compression == BI_RLE4)) InvalidBitmap();

  // Channel masks.
  uint32_t masks[3] = {0, 0, 0};
  if (bitCount == 16) {
    masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
  } else if (bitCount == 24 || bitCount == 32) {
    masks[0] = 0xFF0000, masks[1] = 0x00FF00, masks[2] = 0x0000FF;
  }
  if (compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS) {
    if (bitCount != 16 && bitCount != 32) InvalidBitmap();
    if (infoSize == 40) {
      uint8_t m[12];
      ReadExact(AStream, m, sizeof m);
      consumed += 12;
      if (compression == BI_ALPHABITFIELDS) {
        uint8_t alpha[4];
        ReadExact(AStream, alpha, 4);
        consumed += 4;
      }
      for (int i = 0; i < 3; ++i) masks[i] = Get32(m + 4 * i);
    } else {
      for (int i = 0; i < 3; ++i) masks[i] = Get32(info + 40 + 4 * i);
    }
  } else if (compression == BI_RLE8) {
    if (bitCount != 8) InvalidBitmap();
  } else if (compression == BI_RLE4) {
    if (bitCount != 4) InvalidBitmap();
  } else if (compression != BI_RGB) {
    InvalidBitmap();
  }
  if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
    InvalidBitmap();

  // Palette.
  std::vector<uint32_t> palette;
  if (bitCount <= 8) {
    uint32_t count = colorsUsed ? colorsUsed : (1u << bitCount);
    if (count > 256) InvalidBitmap();
    const uint32_t entry = core ? 3 : 4;
    // A palette shorter than its nominal size ends where the pixels begin.
    if (offBits > consumed && (offBits - consumed) / entry < count) count = (offBits - consumed) / entry;
    std::vector<uint8_t> raw(count * entry);
    ReadExact(AStream, raw.data(), raw.size());
    consumed += static_cast<uint32_t>(raw.size());
    palette.resize(1u << bitCount, 0);
    for (uint32_t i = 0; i < count && i < palette.size(); ++i)
      palette[i] = RGB(raw[i * entry + 2], raw[i * entry + 1], raw[i * entry]);
  }

  // Skip to the pixel data.
  if (offBits > consumed) {
    std::vector<uint8_t> gap(offBits - consumed);
    ReadExact(AStream, gap.data(), gap.size());
  } else if (offBits != 0 && offBits < consumed) {
    InvalidBitmap();
  }

  const uint64_t rowSize = ((static_cast<uint64_t>(width) * bitCount + 31) / 32) * 4;
  uint64_t dataSize = rowSize * static_cast<uint64_t>(height);
  if (compression == BI_RLE8 || compression == BI_RLE4) dataSize = Get32(info + 20);
  if (dataSize > static_cast<uint64_t>(std::max<int64_t>(AStream.Size() - AStream.Position(), 0))) InvalidBitmap();
  std::vector<uint8_t> data(static_cast<size_t>(dataSize));
  ReadExact(AStream, data.data(), data.size());

  std::vector<uint32_t> pixels(static_cast<size_t>(width * height), 0);
  const int w = static_cast<int>(width), h = static_cast<int>(height);
  auto put = [&](int AX, int AFileRow, uint32_t AColor) {
    if (AX < 0 || AX >= w || AFileRow < 0 || AFileRow >= h) return;
    int y = topDown ? AFileRow : h - 1 - AFileRow;
    pixels[static_cast<size_t>(y) * w + AX] = AColor;
  };

  if (compression == BI_RLE8 || compression == BI_RLE4) {
    const bool four = compression == BI_RLE4;
    size_t i = 0;
    int x = 0, row = 0;
    while (i + 1 < data.size() && row < h) {
      uint8_t n = data[i], c = data[i + 1];
      i += 2;
      if (n > 0) {  // a run of n pixels
        for (int k = 0; k < n; ++k) {
          uint8_t index = four ? ((k & 1) ? (c & 0x0F) : (c >> 4)) : c;
          put(x++, row, palette[index]);
        }
      } else if (c == 0) {  // end of line
        x = 0, ++row;
      } else if (c == 1) {  // end of bitmap
        break;
      } else if (c == 2) {  // delta
        if (i + 1 >= data.size()) InvalidBitmap();
        x += data[i], row += data[i + 1];
        i += 2;
      } else {  // c literal pixels, padded to a 16-bit boundary
        size_t bytes = four ? (c + 1) / 2 : c;
        if (i + bytes > data.size()) InvalidBitmap();
        for (int k = 0; k < c; ++k) {
          uint8_t index = four ? ((k & 1) ? (data[i + k / 2] & 0x0F) : (data[i + k / 2] >> 4)) : data[i + k];
          put(x++, row, palette[index]);
        }
        i += bytes + (bytes & 1);
      }
    }
  } else {
    const TChannel r(masks[0]), g(masks[1]), b(masks[2]);
    for (int row = 0; row < h; ++row) {
      const uint8_t* p = data.data() + rowSize * row;
      for (int x = 0; x < w; ++x) {
        uint32_t color;
        switch (bitCount) {
          case 1:
            color = palette[(p[x / 8] >> (7 - x % 8)) & 1];
            break;
          case 4:
            color = palette[(x & 1) ? (p[x / 2] & 0x0F) : (p[x / 2] >> 4)];
            break;
          case 8:
            color = palette[p[x]];
            break;
          case 16: {
            uint32_t v = Get16(p + 2 * x);
            color = RGB(r.Of(v), g.Of(v), b.Of(v));
            break;
          }
          case 24:
            color = RGB(p[3 * x + 2], p[3 * x + 1], p[3 * x]);
            break;
          default: {
            uint32_t v = Get32(p + 4 * x);
            color = RGB(r.Of(v), g.Of(v), b.Of(v));
            break;
          }
        }
        put(x, row, color);
      }
    }
  }

  FWidth = w;
  FHeight = h;
  FPixels = std::move(pixels);
}

}  // namespace kv
