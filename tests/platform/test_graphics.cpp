// Colours and bitmaps of the platform: the system colour table, ColorToRGB,
// the BMP writer (checked byte by byte and by the `file` program) and the
// BMP loader on hand-made files of every supported form.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/Graphics.h"
#include "platform/Streams.h"

namespace kv {
namespace {

uint32_t U32(const std::string& AData, size_t AAt) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<uint8_t>(AData[AAt + i])) << (8 * i);
  return v;
}
uint16_t U16(const std::string& AData, size_t AAt) {
  return static_cast<uint16_t>(static_cast<uint8_t>(AData[AAt]) | (static_cast<uint8_t>(AData[AAt + 1]) << 8));
}

// Little-endian building blocks for hand-made files.
struct TBytes {
  std::string Data;
  TBytes& B(uint8_t v) {
    Data.push_back(static_cast<char>(v));
    return *this;
  }
  TBytes& W(uint16_t v) { return B(v & 0xFF).B(v >> 8); }
  TBytes& D(uint32_t v) { return W(v & 0xFFFF).W(v >> 16); }
};

// File header and a 40-byte info header.
TBytes InfoBmp(int32_t AWidth, int32_t AHeight, uint16_t ABits, uint32_t ACompression, uint32_t AOffBits,
               uint32_t AColors = 0, uint32_t AImageSize = 0) {
  TBytes b;
  b.B('B').B('M').D(0).D(0).D(AOffBits);
  b.D(40).D(static_cast<uint32_t>(AWidth)).D(static_cast<uint32_t>(AHeight)).W(1).W(ABits).D(ACompression);
  b.D(AImageSize).D(0).D(0).D(AColors).D(0);
  return b;
}

TEST(SystemColours, WindowsDefaultsAndColorToRGB) {
  ResetSysColors();
  EXPECT_EQ(ColorToRGB(clWindow), 0xFFFFFFu);
  EXPECT_EQ(ColorToRGB(clBtnFace), 0xF0F0F0u);
  EXPECT_EQ(ColorToRGB(clBtnShadow), 0xA0A0A0u);
  EXPECT_EQ(ColorToRGB(clBtnText), 0u);
  EXPECT_EQ(ColorToRGB(clWindowText), 0u);
  EXPECT_EQ(ColorToRGB(clHighlight), RGB(0x00, 0x78, 0xD7));
  EXPECT_EQ(ColorToRGB(clInfoBk), RGB(0xFF, 0xFF, 0xE1));
  EXPECT_EQ(ColorToRGB(clRed), 0x0000FFu);  // red in the low byte
  EXPECT_EQ(ColorToRGB(clDefault), 0x20000000u);
  EXPECT_EQ(ColorToRGB(clNone), 0x1FFFFFFFu);
  EXPECT_EQ(ColorToRGB(clSystemColor | 200), 0u);  // not in the table
  SetSysColor(COLOR_BTNFACE, RGB(1, 2, 3));
  EXPECT_EQ(ColorToRGB(clBtnFace), RGB(1, 2, 3));
  ResetSysColors();
  EXPECT_EQ(ColorToRGB(clBtnFace), 0xF0F0F0u);
}

TEST(BitmapWriter, HeaderFieldsAndBottomUpPaddedRows) {
  TBitmap bmp(3, 2);
  EXPECT_EQ(bmp.DefaultExtension(), "bmp");
  bmp.SetPixel(0, 0, RGB(0x11, 0x22, 0x33));  // top-left
  bmp.SetPixel(2, 1, RGB(0xAA, 0xBB, 0xCC));  // bottom-right
  bmp.SetPixel(5, 5, RGB(1, 1, 1));           // outside: ignored
  std::string d = bmp.SaveToBytes();
  const uint32_t rowSize = 12;  // 9 bytes padded to 12
  ASSERT_EQ(d.size(), 54 + 2 * rowSize);
  EXPECT_EQ(d.substr(0, 2), "BM");
  EXPECT_EQ(U32(d, 2), d.size());  // bfSize
  EXPECT_EQ(U32(d, 6), 0u);        // reserved
  EXPECT_EQ(U32(d, 10), 54u);      // bfOffBits
  EXPECT_EQ(U32(d, 14), 40u);      // biSize
  EXPECT_EQ(U32(d, 18), 3u);       // width
  EXPECT_EQ(U32(d, 22), 2u);       // height (bottom-up)
  EXPECT_EQ(U16(d, 26), 1u);       // planes
  EXPECT_EQ(U16(d, 28), 24u);      // bits per pixel
  EXPECT_EQ(U32(d, 30), 0u);       // BI_RGB
  EXPECT_EQ(U32(d, 34), 2 * rowSize);
  EXPECT_EQ(U32(d, 38), 3780u);  // 96 dpi
  EXPECT_EQ(U32(d, 46), 0u);     // no palette
  // First stored row is the bottom one: its last pixel is (2, 1), stored B G R.
  EXPECT_EQ(d.substr(54 + 6, 3), "\xCC\xBB\xAA");
  EXPECT_EQ(d.substr(54 + 9, 3), std::string(3, '\0'));  // padding
  EXPECT_EQ(d.substr(54 + rowSize, 3), "\x33\x22\x11");  // top-left pixel in the second stored row
}

TEST(BitmapWriter, FileProgramRecognisesTheFile) {
  if (!std::filesystem::exists("/usr/bin/file")) GTEST_SKIP() << "no file program";
  auto dir = std::filesystem::temp_directory_path() / ("kv_bmp_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::string path = (dir / "pic.bmp").string();
  TBitmap bmp(7, 5);
  bmp.Fill(RGB(10, 20, 30));
  bmp.SaveToFile(path);
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(("/usr/bin/file -b " + path).c_str(), "r"), ::pclose);
  ASSERT_TRUE(pipe);
  char line[512] = {};
  ASSERT_TRUE(std::fgets(line, sizeof line, pipe.get()));
  std::string answer = line;
  EXPECT_NE(answer.find("PC bitmap"), std::string::npos) << answer;
  EXPECT_NE(answer.find("7 x 5 x 24"), std::string::npos) << answer;
  TBitmap back;
  back.LoadFromFile(path);
  EXPECT_EQ(back.Width(), 7);
  EXPECT_EQ(back.Pixel(6, 4), RGB(10, 20, 30));
  std::filesystem::remove_all(dir);
}

TEST(BitmapLoader, RoundTripKeepsEveryPixel) {
  TBitmap bmp(5, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) bmp.SetPixel(x, y, RGB(x * 40, y * 80, (x + y) * 20));
  TBitmap back;
  back.LoadFromBytes(bmp.SaveToBytes());
  ASSERT_EQ(back.Width(), 5);
  ASSERT_EQ(back.Height(), 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(back.Pixel(x, y), bmp.Pixel(x, y)) << x << "," << y;
  TBitmap empty;
  EXPECT_TRUE(empty.Empty());
  back.LoadFromBytes(empty.SaveToBytes());
  EXPECT_TRUE(back.Empty());
}

TEST(BitmapLoader, PaletteForms) {
  // 8 bits, 2 palette entries, 2 x 2 bottom-up: rows padded to 4 bytes.
  TBytes b8 = InfoBmp(2, 2, 8, 0, 14 + 40 + 8, 2);
  b8.D(0x000000FF).D(0x0000FF00);  // palette: blue, green (B G R 0)
  b8.B(0).B(1).W(0);               // bottom row: blue, green
  b8.B(1).B(1).W(0);               // top row: green, green
  TBitmap bmp;
  bmp.LoadFromBytes(b8.Data);
  EXPECT_EQ(bmp.Pixel(0, 1), RGB(0, 0, 255));
  EXPECT_EQ(bmp.Pixel(1, 1), RGB(0, 255, 0));
  EXPECT_EQ(bmp.Pixel(0, 0), RGB(0, 255, 0));

  // 1 bit, 10 pixels wide, one row, full palette of 2.
  TBytes b1 = InfoBmp(10, 1, 1, 0, 14 + 40 + 8);
  b1.D(0x00000000).D(0x00FFFFFF);
  b1.B(0b10100000).B(0b01000000).W(0);
  bmp.LoadFromBytes(b1.Data);
  EXPECT_EQ(bmp.Pixel(0, 0), 0xFFFFFFu);
  EXPECT_EQ(bmp.Pixel(1, 0), 0u);
  EXPECT_EQ(bmp.Pixel(2, 0), 0xFFFFFFu);
  EXPECT_EQ(bmp.Pixel(9, 0), 0xFFFFFFu);

  // 4 bits, top-down (negative height), 3 pixels.
  TBytes b4 = InfoBmp(3, -2, 4, 0, 14 + 40 + 64);
  for (int i = 0; i < 16; ++i) b4.D(static_cast<uint32_t>(i * 0x10));  // blue ramp
  b4.B(0x12).B(0x30).W(0);                                             // top row: 1 2 3
  b4.B(0xF0).B(0x00).W(0);                                             // bottom row: 15 0 0
  bmp.LoadFromBytes(b4.Data);
  EXPECT_EQ(bmp.Pixel(0, 0), RGB(0, 0, 0x10));
  EXPECT_EQ(bmp.Pixel(2, 0), RGB(0, 0, 0x30));
  EXPECT_EQ(bmp.Pixel(0, 1), RGB(0, 0, 0xF0));

  // Core (12-byte) header with a 3-byte palette.
  TBytes core;
  core.B('B').B('M').D(0).D(0).D(14 + 12 + 6);
  core.D(12).W(1).W(1).W(1).W(8);
  core.B(1).B(2).B(3).B(9).B(8).B(7);
  core.B(1).B(0).W(0);
  bmp.LoadFromBytes(core.Data);
  EXPECT_EQ(bmp.Pixel(0, 0), RGB(7, 8, 9));
}

TEST(BitmapLoader, DirectColourForms) {
  // 16 bits, 5-5-5: pure red, then white.
  TBytes b16 = InfoBmp(2, 1, 16, 0, 54);
  b16.W(0x7C00).W(0x7FFF);
  TBitmap bmp;
  bmp.LoadFromBytes(b16.Data);
  EXPECT_EQ(bmp.Pixel(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(bmp.Pixel(1, 0), RGB(255, 255, 255));

  // 16 bits with 5-6-5 bit fields after the 40-byte header.
  TBytes b565 = InfoBmp(1, 1, 16, 3, 54 + 12);
  b565.D(0xF800).D(0x07E0).D(0x001F);
  b565.W(0x07E0).W(0);
  bmp.LoadFromBytes(b565.Data);
  EXPECT_EQ(bmp.Pixel(0, 0), RGB(0, 255, 0));

  // 32 bits, B G R X.
  TBytes b32 = InfoBmp(1, 1, 32, 0, 54);
  b32.B(3).B(2).B(1).B(0xFF);
  bmp.LoadFromBytes(b32.Data);
  EXPECT_EQ(bmp.Pixel(0, 0), RGB(1, 2, 3));

  // A gap between the headers and the pixels is skipped.
  TBytes gap = InfoBmp(1, 1, 24, 0, 60);
  gap.D(0).W(0).B(5).B(6).B(7).B(0);
  bmp.LoadFromBytes(gap.Data);
  EXPECT_EQ(bmp.Pixel(0, 0), RGB(7, 6, 5));
}

TEST(BitmapLoader, RunLengthEncoded) {
  // RLE8, 4 x 2: bottom row a run of 3 of colour 1 then a literal (colour 2,
  // padded), end of line; top row a run of 4 of colour 0; end of bitmap.
  TBytes rle;
  rle.B(3).B(1).B(0).B(3).B(2).B(2).B(2).B(0).B(0).B(0).B(4).B(0).B(0).B(1);
  TBytes b = InfoBmp(4, 2, 8, 1, 14 + 40 + 12, 3, static_cast<uint32_t>(rle.Data.size()));
  b.D(0x000000).D(0xFF0000).D(0x00FF00);
  b.Data += rle.Data;
  TBitmap bmp;
  bmp.LoadFromBytes(b.Data);
  EXPECT_EQ(bmp.Pixel(0, 1), RGB(255, 0, 0));
  EXPECT_EQ(bmp.Pixel(2, 1), RGB(255, 0, 0));
  EXPECT_EQ(bmp.Pixel(3, 1), RGB(0, 255, 0));
  EXPECT_EQ(bmp.Pixel(3, 0), 0u);
}

TEST(BitmapLoader, RejectsWhatIsNoBitmap) {
  TBitmap bmp(2, 2);
  std::string good = bmp.SaveToBytes();
  std::string notBm = good;
  notBm[0] = 'X';
  std::string badBits = good;
  badBits[28] = 7;
  std::string badHeader = good;
  badHeader[14] = 41;
  TBytes huge = InfoBmp(1 << 20, 1 << 20, 24, 0, 54);
  TBytes rle4Bits = InfoBmp(1, 1, 24, 2, 54);
  for (const std::string& data :
       {notBm, badBits, badHeader, good.substr(0, 10), good.substr(0, 60), huge.Data, rle4Bits.Data}) {
    TBitmap target(1, 1);
    EXPECT_THROW(target.LoadFromBytes(data), EInvalidGraphic);
    EXPECT_EQ(target.Width(), 1);  // left as it was
  }
}

}  // namespace
}  // namespace kv
