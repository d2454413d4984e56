// Palette allocation, style records, record lists and the cell table: the
// bytes of each record kind.
#include <gtest/gtest.h>

#include <string>

#include "platform/Streams.h"
#include "writers/xls/BiffRecords.h"
#include "writers/xls/CellTable.h"
#include "writers/xls/Palette.h"

namespace kv::xls {
namespace {

std::string Bytes(const std::vector<uint8_t>& AData) { return std::string(AData.begin(), AData.end()); }

template <typename F>
std::string Capture(F AWrite) {
  TMemoryStream m;
  {
    TcxXLSByteSink sink(m, 64);
    AWrite(sink);
  }
  return m.Data();
}

constexpr uint32_t Rgb(uint32_t AHex) { return (AHex >> 16 & 0xFF) | (AHex & 0xFF00) | (AHex & 0xFF) << 16; }
constexpr uint32_t WindowColor = 0xFFFFFF;

TEST(Palette, FixedAnswers) {
  TcxXLSPalette p(Rgb(0xF0F0F0));
  EXPECT_EQ(p.PaletteIndexOf(0, TcxXLSColorUse::Font), 0x7FFF);
  EXPECT_EQ(p.PaletteIndexOf(Rgb(0xF0F0F0), TcxXLSColorUse::Fill), 64);
  EXPECT_EQ(p.PaletteIndexOf(0, TcxXLSColorUse::Border), 64);
  EXPECT_EQ(p.PaletteNext(), 55);  // nothing taken
  // The window colour is an ordinary colour for text and borders.
  EXPECT_EQ(p.PaletteIndexOf(Rgb(0xF0F0F0), TcxXLSColorUse::Font), 63);
  // Black fill is a real colour (found at slot 0, moved to the top).
  EXPECT_EQ(p.PaletteIndexOf(0, TcxXLSColorUse::Fill), 62);
  EXPECT_EQ(p.ColorAt(54), 0u);
}

TEST(Palette, ColoursGatherAtTheTop) {
  TcxXLSPalette p(WindowColor);
  EXPECT_EQ(p.PaletteIndexOf(0x123456, TcxXLSColorUse::Font), 63);
  EXPECT_EQ(p.PaletteIndexOf(0x654321, TcxXLSColorUse::Fill), 62);
  EXPECT_EQ(p.PaletteIndexOf(0x123456, TcxXLSColorUse::Border), 63);  // taken earlier
  // White sits at slot 1: it moves to slot 53 and slot 53's colour to slot 1.
  uint32_t was53 = p.ColorAt(53);
  EXPECT_EQ(was53, Rgb(0x993366));
  EXPECT_EQ(p.PaletteIndexOf(Rgb(0xFFFFFF), TcxXLSColorUse::Font), 61);
  EXPECT_EQ(p.ColorAt(53), Rgb(0xFFFFFF));
  EXPECT_EQ(p.ColorAt(1), was53);
  EXPECT_EQ(p.PaletteIndexOf(Rgb(0xFFFFFF), TcxXLSColorUse::Border), 61);
  EXPECT_EQ(p.PaletteIndexOf(Rgb(0xFFFFFF), TcxXLSColorUse::Fill), 64);  // the window colour
  // A colour already at the highest free slot stays there.
  uint32_t at52 = p.ColorAt(52);
  EXPECT_EQ(p.PaletteIndexOf(at52, TcxXLSColorUse::Font), 60);
  EXPECT_EQ(p.ColorAt(52), at52);
  EXPECT_EQ(p.PaletteNext(), 51);
}

TEST(Palette, FullTableFallsBackToAutomatic) {
  TcxXLSPalette p(WindowColor);
  for (uint32_t i = 0; i < 56; ++i) EXPECT_EQ(p.PaletteIndexOf(0x010000 + i, TcxXLSColorUse::Fill), 63 - i);
  EXPECT_EQ(p.PaletteNext(), -1);
  EXPECT_EQ(p.PaletteIndexOf(0x020000, TcxXLSColorUse::Font), 0x7FFF);
  EXPECT_EQ(p.PaletteIndexOf(0x020000, TcxXLSColorUse::Fill), 64);
  EXPECT_EQ(p.PaletteIndexOf(0x020000, TcxXLSColorUse::Border), 64);
  EXPECT_EQ(p.PaletteIndexOf(0x010005, TcxXLSColorUse::Border), 58);
}

TEST(Palette, Record) {
  TcxXLSPalette p(WindowColor);
  p.PaletteIndexOf(0x123456, TcxXLSColorUse::Font);
  std::string b = Capture([&](TcxXLSByteSink& s) { p.WriteTo(s); });
  ASSERT_EQ(b.size(), 230u);
  EXPECT_EQ(b.substr(0, 6), std::string("\x92\x00\xE2\x00\x38\x00", 6));
  EXPECT_EQ(b.substr(6, 12), std::string("\x00\x00\x00\x00\xFF\xFF\xFF\x00\xFF\x00\x00\x00", 12));  // black, white, red
  EXPECT_EQ(b.substr(6 + 4 * 55, 4), std::string("\x56\x34\x12\x00", 4));                           // slot 55
}

TEST(BiffRecords, FontRecord) {
  TcxXLSFontFields f;
  f.Height = 9 * 20;
  f.Bold = f.Italic = f.Underline = f.StrikeOut = true;
  f.ColorIndex = 63;
  f.Charset = 134;
  f.Name = u"宋体";
  EXPECT_EQ(Bytes(BuildFontRecord(f)),
            std::string("\xB4\x00\x0A\x00\x3F\x00\xBC\x02\x00\x00\x01\x00\x86\x00\x02\x01\x8B\x5B\x53\x4F", 20));
  f.Bold = f.Italic = f.Underline = f.StrikeOut = false;
  f.Name = u"Arial";
  std::string plain = Bytes(BuildFontRecord(f));
  EXPECT_EQ(plain.substr(2, 2), std::string("\x00\x00", 2));
  EXPECT_EQ(plain.substr(6, 2), std::string("\x90\x01", 2));
  EXPECT_EQ(plain[10], 0);
  EXPECT_EQ(plain.size(), 26u);
}

TEST(BiffRecords, XFRecord) {
  TcxXLSXFFields x;
  x.Font = 6;
  x.Format = 22;
  x.AlignText = 2;
  x.Merged = true;
  x.Left = {1, 63};
  x.Right = {2, 62};
  x.Top = {5, 61};
  x.Bottom = {1, 8};
  x.FillPattern = 1;
  x.FillForeground = 60;
  uint32_t lines = 1 | 2 << 4 | 5 << 8 | 1 << 12 | 63u << 16 | 62u << 23;
  uint32_t colors = 61 | 8 << 7 | 1u << 26;
  std::string want("\x06\x00\x16\x00\x01\x00\x0B\x00\x20\xFC", 10);
  for (int i = 0; i < 4; ++i) want.push_back(static_cast<char>(lines >> (8 * i)));
  for (int i = 0; i < 4; ++i) want.push_back(static_cast<char>(colors >> (8 * i)));
  want += std::string("\xBC\x20", 2);  // foreground 60, background 65
  EXPECT_EQ(Bytes(BuildXFRecord(x)), want);
  // Left-aligned, not merged, no borders or fill.
  std::string plain = Bytes(BuildXFRecord(TcxXLSXFFields{}));
  EXPECT_EQ(plain.substr(6, 4), std::string("\x09\x00\x00\xFC", 4));
  EXPECT_EQ(plain.substr(10), std::string("\0\0\0\0\0\0\0\0\xC0\x20", 10));
}

TEST(BiffRecords, BorderWidths) {
  EXPECT_EQ(BorderLineStyle(0), 0);
  EXPECT_EQ(BorderLineStyle(1), 1);
  EXPECT_EQ(BorderLineStyle(2), 2);
  EXPECT_EQ(BorderLineStyle(3), 5);
  EXPECT_EQ(BorderLineStyle(4), 5);
}

TEST(BiffRecords, RecordsListDeduplicatesByHashThenBytes) {
  TcxXLSRecordsList list(cxBiffXF);
  const uint8_t a[2] = {0x01, 0x00}, b[2] = {0x00, 0x20}, c[3] = {0x01, 0x00, 0x00};
  EXPECT_EQ(list.AddOrFind(a, 2), 0);
  EXPECT_EQ(list.AddOrFind(b, 2), 1);  // same hash as a, other bytes
  EXPECT_EQ(list.AddOrFind(c, 3), 2);
  EXPECT_EQ(list.AddOrFind(b, 2), 1);
  EXPECT_EQ(list.AddOrFind(a, 2), 0);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Add(a, 2), 3);  // Add never de-duplicates
  EXPECT_EQ(list.TotalSize(), 4 * 4 + 2 + 2 + 3 + 2);
  std::string w = Capture([&](TcxXLSByteSink& s) { list.WriteTo(s); });
  EXPECT_EQ(w, std::string("\xE0\x00\x02\x00\x01\x00"
                           "\xE0\x00\x02\x00\x00\x20"
                           "\xE0\x00\x03\x00\x01\x00\x00"
                           "\xE0\x00\x02\x00\x01\x00",
                           25));
}

TEST(BiffRecords, ColumnAndRowRecords) {
  EXPECT_EQ(Bytes(BuildColInfoRecord(3, 2928)), std::string("\x03\x00\x03\x00\x70\x0B\x0F\x00\x00\x00\x00", 11));
  EXPECT_EQ(Bytes(BuildRowRecord(7, 300)),
            std::string("\x07\x00\x00\x00\x00\x01\x2C\x01\x00\x00\x00\x00\xC0\x01\x0F\x00", 16));
}

TEST(BiffRecords, MergedCellsSplitAt1024Ranges) {
  for (size_t count : {size_t(1), size_t(1024), size_t(1025), size_t(2049)}) {
    std::vector<TcxXLSMergedRange> ranges;
    for (size_t i = 0; i < count; ++i)
      ranges.push_back({uint16_t(2 * i), uint16_t(2 * i + 1), uint16_t(i % 7), uint16_t(i % 7 + 2)});
    std::string b = Capture([&](TcxXLSByteSink& s) { WriteMergedCells(s, ranges); });
    EXPECT_EQ(int64_t(b.size()), MergedCellsSize(count));
    size_t at = 0, seen = 0, records = 0;
    while (at < b.size()) {
      EXPECT_EQ(uint8_t(b[at]), 0xE5);
      size_t len = uint8_t(b[at + 2]) | uint8_t(b[at + 3]) << 8;
      size_t k = uint8_t(b[at + 4]) | uint8_t(b[at + 5]) << 8;
      EXPECT_EQ(len, 2 + 8 * k);
      EXPECT_LE(k, 1024u);
      size_t firstRow = uint8_t(b[at + 6]) | uint8_t(b[at + 7]) << 8;
      EXPECT_EQ(firstRow, 2 * seen);
      seen += k;
      ++records;
      at += 4 + len;
    }
    EXPECT_EQ(seen, count);
    EXPECT_EQ(records, (count + 1023) / 1024);
  }
  EXPECT_EQ(MergedCellsSize(0), 0);
}

TEST(CellTable, RecordsInStorageOrder) {
  TcxXLSCellsData t;
  t.Resize(2, 3);
  EXPECT_EQ(t.TotalSize(), 60);
  TcxXLSCell& a = t.CellAt(0, 1);
  a.SetXF(5);
  t.SetNumber(a, 1.5);
  TcxXLSCell& b = t.CellAt(1, 0);
  b.Locked = 1;
  b.SetXF(23);
  t.SetLabel8(b, "ab");
  t.SetLabel16(t.CellAt(1, 1), u"中");
  t.SetBoolean(t.CellAt(1, 2), true);
  t.SetLabelSST(t.CellAt(0, 2), 70000);
  EXPECT_EQ(t.TotalSize(), 10 + 18 + 14 + 15 + 15 + 12);
  std::string w = Capture([&](TcxXLSByteSink& s) { t.WriteTo(s); });
  const std::string want(
      "\x01\x02\x06\x00\x00\x00\x00\x00\x00\x00"                                  // (0,0) BLANK
      "\x03\x02\x0E\x00\x01\x00\x00\x00\x05\x00\x00\x00\x00\x00\x00\x00\xF8\x3F"  // (0,1) NUMBER 1.5, XF kept
      "\xFD\x00\x0A\x00\x02\x00\x00\x00\x00\x00\x70\x11\x01\x00"                  // (0,2) LABELSST 70000
      "\x04\x02\x0B\x00\x00\x00\x01\x00\x17\x00\x02\x00\x00"
      "ab"                                                            // (1,0) 8-bit LABEL
      "\x04\x02\x0B\x00\x01\x00\x01\x00\x00\x00\x01\x00\x01\x2D\x4E"  // (1,1) UTF-16 LABEL
      "\x05\x02\x08\x00\x02\x00\x01\x00\x00\x00\x01\x00",             // (1,2) BOOLERR true
      10 + 18 + 14 + 15 + 15 + 12);
  EXPECT_EQ(w, want);
  EXPECT_TRUE(t.CellAt(1, 0).IsLocked());
  // Changing a cell's kind keeps its lock and XF; the size follows.
  t.SetBlank(t.CellAt(1, 0));
  EXPECT_TRUE(t.CellAt(1, 0).IsLocked());
  EXPECT_EQ(t.CellAt(1, 0).XF(), 23);
  EXPECT_EQ(t.TotalSize(), 10 + 18 + 14 + 10 + 15 + 12);
  t.SetNumber(t.CellAt(0, 0), 45000.5, TcxXLSNumberKind::DateTime);
  EXPECT_EQ(TcxXLSCellsData::NumberFormatOf(t.CellAt(0, 0)), 22);
  t.SetLabel8(t.CellAt(0, 0), "x");
  EXPECT_EQ(TcxXLSCellsData::NumberFormatOf(t.CellAt(0, 0)), 0);
}

// Labels whose characters fill several chunks of the text pool (the first
// chunks are small): every record still carries its own characters.
TEST(CellTable, LabelsAcrossPoolChunks) {
  TcxXLSCellsData t;
  const int rows = 4000;  // about 1 MB of characters
  t.Resize(2, rows);
  std::vector<std::string> texts;
  for (int r = 0; r < rows; ++r) {
    texts.push_back(std::string(size_t(100 + r % 155), char('a' + r % 26)));
    t.SetLabel8(t.CellAt(0, r), texts.back());
    t.SetLabel16(t.CellAt(1, r), std::u16string(size_t(1 + r % 127), char16_t(0x4E00 + r)));
  }
  std::string w = Capture([&](TcxXLSByteSink& s) { t.WriteTo(s); });
  ASSERT_EQ(int64_t(w.size()), t.TotalSize());
  size_t at = 0;
  for (int c = 0; c < 2; ++c) {
    for (int r = 0; r < rows; ++r) {
      SCOPED_TRACE(std::to_string(c) + "," + std::to_string(r));
      const uint16_t size = uint16_t(uint8_t(w[at + 2]) | uint8_t(w[at + 3]) << 8);
      const size_t count = uint8_t(w[at + 10]) | uint8_t(w[at + 11]) << 8;
      if (c == 0) {
        ASSERT_EQ(w.substr(at + 13, count), texts[size_t(r)]);
      } else {
        ASSERT_EQ(count, size_t(1 + r % 127));
        ASSERT_EQ(uint8_t(w[at + 13 + 2 * (count - 1)]), uint8_t((0x4E00 + r) & 0xFF));
        ASSERT_EQ(uint8_t(w[at + 14 + 2 * (count - 1)]), uint8_t((0x4E00 + r) >> 8));
      }
      at += 4 + size;
    }
  }
}

TEST(CellTable, NumberFormats) {
  TcxXLSCellsData t;
  t.Resize(1, 1);
  TcxXLSCell& c = t.CellAt(0, 0);
  const std::pair<TcxXLSNumberKind, uint16_t> kinds[] = {{TcxXLSNumberKind::General, 0},
                                                         {TcxXLSNumberKind::DateTime, 22},
                                                         {TcxXLSNumberKind::DateOnly, 14},
                                                         {TcxXLSNumberKind::TimeOnly, 21},
                                                         {TcxXLSNumberKind::Currency, 7}};
  for (auto [kind, format] : kinds) {
    t.SetNumber(c, 1, kind);
    EXPECT_EQ(c.RecordId(), cxBiffNUMBER);
    EXPECT_EQ(TcxXLSCellsData::NumberFormatOf(c), format);
  }
}

}  // namespace
}  // namespace kv::xls
