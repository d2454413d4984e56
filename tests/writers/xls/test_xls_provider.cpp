// The workbook provider: record sequence, cell kinds, styles, merges, sizes
// and the limits of the format, read back record by record.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "XLSTestReader.h"
#include "export/core/Export.h"
#include "platform/CodePage.h"
#include "platform/Screen.h"
#include "writers/xls/XLSExportProvider.h"

namespace kv::xls {
namespace {

using test::F64;
using test::ReadWorkbook;
using test::TWorkbook;
using test::U16;
using test::U32;

class XLSProvider : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/kv_xls_XXXXXX";
    FDir = mkdtemp(tmpl);
  }
  void TearDown() override { std::filesystem::remove_all(FDir); }

  std::string Path(const std::string& AName) const { return FDir + "/" + AName; }
  // A provider with a default style registered (index 0) and a grid.
  std::shared_ptr<TcxXLSExportProvider> Make(const std::string& AName, int ACols, int ARows) {
    auto p = std::dynamic_pointer_cast<TcxXLSExportProvider>(TcxExport::CreateProvider(cxExportToExcel, Path(AName)));
    EXPECT_NE(p, nullptr);
    TcxExportCellStyle style = Style();
    p->DefineDefaultStyle(style);
    p->DefineGrid(ACols, ARows, true);
    return p;
  }
  static TcxExportCellStyle Style(const char* AFont = "Arial", int ASize = 10) {
    TcxExportCellStyle s;
    s.SetFontName(AFont);
    s.FontSize = ASize;
    return s;
  }
  // XF record data of the cell at (ACol, ARow).
  static std::string CellXF(const TWorkbook& W, int ACol, int ARow) { return W.XF(U16(W.CellAt(ACol, ARow)->Data, 4)); }

  std::string FDir;
};

TEST_F(XLSProvider, RecordSequenceAndStreamSize) {
  auto p = Make("seq.xls", 2, 2);
  p->DefineColumnWidth(0, 80);
  p->DefineRowHeight(1, 20);
  p->PutDouble(0, 0, 1.5);
  p->PutText(1, 1, std::string(300, 'x'));
  p->MergeCells(0, 1, 1, 2);
  p->Finish();
  TWorkbook w = ReadWorkbook(Path("seq.xls"));
  EXPECT_EQ(int64_t(w.Stream.size()), p->WorkbookStreamSize());
  std::vector<uint16_t> ids;
  for (const auto& r : w.Records) ids.push_back(r.Id);
  std::vector<uint16_t> want = {0x0809, 0x013D, 0x003D};
  want.insert(want.end(), 6, 0x0031);   // five default fonts, one user font
  want.insert(want.end(), 18, 0x00E0);  // 17 default XFs, one user XF
  want.push_back(0x0092);
  want.insert(want.end(), 6, 0x0293);
  for (uint16_t id : {0x0085, 0x00FC, 0x003C, 0x00FF, 0x01AE, 0x0017, 0x000A, 0x0809, 0x0200, 0x023E, 0x007D, 0x0208})
    want.push_back(id);
  for (uint16_t id : {0x0203, 0x0201, 0x0201, 0x00FD, 0x00E5, 0x000A}) want.push_back(id);
  // The SST block of a 300-character string needs no CONTINUE record.
  want.erase(std::find(want.begin(), want.end(), 0x003C));
  EXPECT_EQ(ids, want);
  // BOUNDSHEET points at the worksheet's BOF; the sheet is named after the file.
  const test::TRecord* sheet = w.All(0x0085)[0];
  EXPECT_EQ(U32(sheet->Data, 0), w.All(0x0809)[1]->Position);
  EXPECT_EQ(sheet->Data.substr(6), std::string("\x03\x01s\0e\0q\0", 8));
  EXPECT_EQ(U16(w.All(0x0809)[1]->Data, 2), 0x0010);
  // DIMENSIONS and WINDOW2.
  EXPECT_EQ(w.All(0x0200)[0]->Data, std::string("\0\0\0\0\x02\0\0\0\0\0\x02\0\0\0", 14));
  EXPECT_EQ(U16(w.All(0x023E)[0]->Data, 0), 0x06B6);
  // STYLE records, the second pointing at XF 17.
  EXPECT_EQ(w.All(0x0293)[1]->Data, std::string("\x11\x80\x06\xFF", 4));
  EXPECT_EQ(w.All(0x0293)[4]->Data, std::string("\x00\x80\x00\xFF", 4));
  // Fixed records: 984 bytes plus the name, the lists, strings, cells, merges.
  EXPECT_EQ(w.All(0x00E5)[0]->Data, std::string("\x01\0\x01\0\x01\0\0\0\x01\0", 10));
}

// The bytes of a hex text ("0A 1B ...").
std::string Hex(const char* AText) {
  std::string out;
  for (const char* p = AText; *p;) {
    if (*p == ' ') {
      ++p;
      continue;
    }
    out.push_back(static_cast<char>(std::stoi(std::string(p, 2), nullptr, 16)));
    p += 2;
  }
  return out;
}

TEST_F(XLSProvider, FixedRecordsExactBytes) {
  auto p = Make("fixed.xls", 1, 1);  // one style: one user FONT, one user XF
  p->DefineGrid(1, 1, false);
  p->Finish();
  TWorkbook w = ReadWorkbook(Path("fixed.xls"));
  const std::string arial = "C8 00 00 00 FF 7F 90 01 00 00 00 00 00 00 05 01 41 00 72 00 69 00 61 00 6C 00";
  const std::string xfStyle = "F5 FF 20 00 00 F4 00 00 00 00 00 00 00 00 C0 20";
  const std::pair<uint16_t, std::string> wants[] = {
      {0x0809, "00 06 05 00 BB 0D CC 07 00 00 00 00 06 00 00 00"},
      {0x013D, "00 00"},
      {0x003D, "E0 01 69 00 CC 42 7F 26 38 00 00 00 00 00 01 00 58 02"},
      {0x0031, arial},
      {0x0031, arial},
      {0x0031, arial},
      {0x0031, arial},
      {0x0031, arial},
      {0x0031, "C8 00 00 00 FF 7F 90 01 00 00 00 00 00 00 05 01 41 00 72 00 69 00 61 00 6C 00"},  // user
      {0x00E0, "00 00 00 00 F5 FF 20 00 00 00 00 00 00 00 00 00 00 00 C0 20"},
      {0x00E0, "01 00 00 00 " + xfStyle},
      {0x00E0, "01 00 00 00 " + xfStyle},
      {0x00E0, "02 00 00 00 " + xfStyle},
      {0x00E0, "02 00 00 00 " + xfStyle},
      {0x00E0, "00 00 00 00 " + xfStyle},
      {0x00E0, "00 00 00 00 " + xfStyle},
      {0x00E0, "00 00 00 00 " + xfStyle},
      {0x00E0, "00 00 00 00 " + xfStyle},
      {0x00E0, "00 00 00 00 " + xfStyle},
      {0x00E0, "00 00 00 00 " + xfStyle},
      {0x00E0, "00 00 00 00 " + xfStyle},
      {0x00E0, "00 00 00 00 " + xfStyle},
      {0x00E0, "00 00 00 00 " + xfStyle},
      {0x00E0, "00 00 00 00 " + xfStyle},
      {0x00E0, "00 00 00 00 01 00 20 00 00 00 00 00 00 00 00 00 00 00 C0 20"},
      {0x00E0, "01 00 2B 00 F5 FF 20 00 00 F8 00 00 00 00 00 00 00 00 C0 20"},
      {0x00E0, "06 00 00 00 01 00 09 00 00 FC 00 00 00 00 00 00 00 00 C0 20"},  // user: left, wrap, top
      {0x0092, ""},
      {0x0293, "10 80 03 FF"},
      {0x0293, "11 80 06 FF"},
      {0x0293, "10 80 04 FF"},
      {0x0293, "10 80 07 FF"},
      {0x0293, "00 80 00 FF"},
      {0x0293, "10 80 05 FF"},
      {0x0085, ""},
      {0x01AE, "01 00 01 04"},
      {0x0017, "01 00 00 00 00 00 00 00"},
      {0x000A, ""},
      {0x0809, "00 06 10 00 BB 0D CC 07 00 00 00 00 06 00 00 00"},
      {0x0200, "00 00 00 00 01 00 00 00 00 00 01 00 00 00"},
      {0x023E, "B4 06 00 00 00 00 40 00 00 00 00 00 00 00 00 00 00 00"},
      {0x0201, "00 00 00 00 11 00"},
      {0x000A, ""},
  };
  ASSERT_EQ(w.Records.size(), std::size(wants));
  for (size_t i = 0; i < std::size(wants); ++i) {
    EXPECT_EQ(w.Records[i].Id, wants[i].first) << i;
    if (!wants[i].second.empty()) {
      EXPECT_EQ(w.Records[i].Data, Hex(wants[i].second.c_str())) << i;
    }
  }
  const std::string& sheet = w.All(0x0085)[0]->Data;
  EXPECT_EQ(sheet.substr(4), Hex("00 00 05 01 66 00 69 00 78 00 65 00 64 00"));
  // The fixed records (984 bytes, the worksheet's BOF, DIMENSIONS, WINDOW2
  // and EOF among them), the name, one FONT and one XF come before the sheet.
  EXPECT_EQ(U32(sheet, 0), 984u - (20 + 18 + 22 + 4) + 2 * 5 + (4 + 26) + (4 + 20));
  EXPECT_EQ(w.All(0x0809)[1]->Position, U32(sheet, 0));
}

TEST_F(XLSProvider, LargeSharedStringTable) {
  // 600 KB of shared strings: the BOUNDSHEET field has left the write buffer
  // long before the worksheet's position is known.
  auto p = Make("sst.xls", 3, 100);
  for (int r = 0; r < 100; ++r)
    for (int c = 0; c < 3; ++c) p->PutWideText(c, r, std::u16string(1000 + r, char16_t(u'一' + r * 3 + c)));
  p->Finish();
  TWorkbook w = ReadWorkbook(Path("sst.xls"));
  EXPECT_EQ(w.Stream.size(), size_t(p->WorkbookStreamSize()));
  EXPECT_EQ(U32(w.All(0x0085)[0]->Data, 0), w.All(0x0809)[1]->Position);
  std::vector<std::u16string> shared = w.SharedStrings();
  ASSERT_EQ(shared.size(), 300u);
  // Strings are numbered in the order they were put: (2, 99) came last.
  EXPECT_EQ(shared[299], std::u16string(1099, char16_t(u'一' + 99 * 3 + 2)));
  EXPECT_EQ(U32(w.CellAt(2, 99)->Data, 6), 299u);
}

TEST_F(XLSProvider, NoTextNoSharedStrings) {
  auto p = Make("nums.xls", 1, 1);
  p->PutInteger(0, 0, 7);
  p->Finish();
  TWorkbook w = ReadWorkbook(Path("nums.xls"));
  EXPECT_TRUE(w.All(0x00FC).empty());
  EXPECT_TRUE(w.All(0x00FF).empty());
  EXPECT_TRUE(w.All(0x00E5).empty());
  EXPECT_EQ(F64(w.CellAt(0, 0)->Data, 6), 7.0);
  EXPECT_EQ(w.Stream.size(), size_t(p->WorkbookStreamSize()));
  EXPECT_LT(w.Stream.size(), 4096u);
  EXPECT_EQ(w.HeaderRegion, 2048u);
}

// A text cell case: the text put, the record it becomes (LABEL 0x0204 or
// LABELSST 0x00FD), the characters stored and whether they are UTF-16.
struct TTextCase {
  std::string Text;
  uint16_t Id;
  std::u16string Stored;
  bool Wide;
};

std::string Repeat(const std::string& AText, int ACount) {
  std::string out;
  for (int i = 0; i < ACount; ++i) out += AText;
  return out;
}

// Puts every case's text (with PutText, or as a string variant with
// PutValue) into its own row of a new workbook, then reads the cells back.
void CheckTextCells(TcxXLSExportProvider& AProvider, const std::string& APath, const std::vector<TTextCase>& ACases,
                    bool AAsValues) {
  for (size_t i = 0; i < ACases.size(); ++i) {
    if (AAsValues)
      AProvider.PutValue(0, int(i), Variant(ACases[i].Text));
    else
      AProvider.PutText(0, int(i), ACases[i].Text);
  }
  AProvider.PutText(0, int(ACases.size()), "");  // empty: the cell stays blank
  AProvider.Finish();
  TWorkbook w = ReadWorkbook(APath);
  std::vector<std::u16string> shared = w.SharedStrings();
  for (size_t i = 0; i < ACases.size(); ++i) {
    SCOPED_TRACE(i);
    const test::TRecord* r = w.CellAt(0, int(i));
    ASSERT_EQ(r->Id, ACases[i].Id);
    std::u16string got;
    if (r->Id == 0x00FD) {
      got = shared.at(U32(r->Data, 6));
    } else {
      uint16_t n = U16(r->Data, 6);
      EXPECT_EQ(r->Data[8], ACases[i].Wide ? 1 : 0);
      for (uint16_t k = 0; k < n; ++k)
        got.push_back(ACases[i].Wide ? U16(r->Data, 9 + 2 * k) : char16_t(uint8_t(r->Data[9 + k])));
    }
    EXPECT_EQ(got, ACases[i].Stored);
  }
  EXPECT_EQ(w.CellAt(0, int(ACases.size()))->Id, 0x0201);
}

TEST_F(XLSProvider, TextCells) {
  const std::string zh = "\xE4\xB8\xAD";  // "中": 2 bytes in GBK
  const std::vector<TTextCase> cases = {
      {Repeat(zh, 63) + "a", 0x0204, std::u16string(63, u'中') + u"a", true},  // 127 bytes: UTF-16 LABEL
      {Repeat(zh, 64), 0x00FD, std::u16string(64, u'中'), true},               // 128 bytes: shared string
      {std::string(255, 'a'), 0x0204, std::u16string(255, u'a'), false},
      {std::string(256, 'a'), 0x00FD, std::u16string(256, u'a'), true},
      {"one\r\ntwo", 0x0204, u"one\ntwo", false},
      {zh + "\r\n" + zh, 0x0204, u"中\n中", true},
  };
  auto p = Make("text.xls", 1, int(cases.size()) + 1);
  CheckTextCells(*p, Path("text.xls"), cases, false);
}

// The LABEL / shared string choice counts the bytes of the text in the
// system code page, whatever the characters: full-width punctuation (two
// bytes in GBK), characters GBK lacks (one "?" each, however many UTF-16
// units), bytes that are not UTF-8, and texts of more than 127 characters.
TEST_F(XLSProvider, TextCellsByTheirLengthInTheCodePage) {
  const std::string paren = "\xEF\xBC\x88";      // "（" U+FF08: 2 bytes in GBK
  const std::string smile = "\xF0\x9F\x98\x80";  // U+1F600: "?" in GBK, two UTF-16 units
  const std::string zh = "\xE4\xB8\xAD";
  const std::u16string smile16 = u"\U0001F600";
  std::u16string smiles16;
  for (int i = 0; i < 100; ++i) smiles16 += smile16;
  const std::vector<TTextCase> cases = {
      {"北京（朝阳）", 0x0204, u"北京（朝阳）", true},
      {Repeat(paren, 63) + "a", 0x0204, std::u16string(63, u'（') + u"a", true},
      {Repeat(paren, 64), 0x00FD, std::u16string(64, u'（'), true},
      {Repeat(smile, 100), 0x0204, smiles16, true},  // 100 bytes in GBK
      {Repeat(zh, 130), 0x00FD, std::u16string(130, u'中'), true},
      {"\xFF" + zh, 0x0204, u"\uFFFD中", true},
  };
  for (bool asValues : {false, true}) {
    SCOPED_TRACE(asValues ? "PutValue" : "PutText");
    const std::string name = asValues ? "values.xls" : "texts.xls";
    auto p = Make(name, 1, int(cases.size()) + 1);
    CheckTextCells(*p, Path(name), cases, asValues);
  }
  // In UTF-8 "中" takes three bytes: 42 of them fit a LABEL, 43 do not.
  SetSystemCodePage(CP_UTF8);
  auto p = Make("utf8.xls", 1, 3);
  try {
    CheckTextCells(*p, Path("utf8.xls"),
                   {{Repeat(zh, 42), 0x0204, std::u16string(42, u'中'), true},
                    {Repeat(zh, 43), 0x00FD, std::u16string(43, u'中'), true}},
                   false);
  } catch (...) {
    SetSystemCodePage(936);
    throw;
  }
  SetSystemCodePage(936);
}

TEST_F(XLSProvider, WideTextKeepsEveryCharacter) {
  auto p = Make("wide.xls", 1, 5);
  const std::u16string emoji = u"한국 \U0001F600 Ελλάδα";  // not in GBK
  p->PutWideText(0, 0, emoji);
  p->PutWideText(0, 1, u"a\r\nb");
  p->PutWideText(0, 2, std::u16string(127, u'x'));
  p->PutWideText(0, 3, std::u16string(128, u'x'));
  std::u16string huge(40000, u'字');
  huge[32766] = u'末';
  p->PutWideText(0, 4, huge);
  p->Finish();
  TWorkbook w = ReadWorkbook(Path("wide.xls"));
  const test::TRecord* r = w.CellAt(0, 0);
  ASSERT_EQ(r->Id, 0x0204);
  std::u16string got;
  for (uint16_t k = 0; k < U16(r->Data, 6); ++k) got.push_back(U16(r->Data, 9 + 2 * k));
  EXPECT_EQ(got, emoji);
  EXPECT_EQ(U16(w.CellAt(0, 1)->Data, 6), 3);
  EXPECT_EQ(w.CellAt(0, 2)->Id, 0x0204);
  EXPECT_EQ(w.CellAt(0, 3)->Id, 0x00FD);
  std::vector<std::u16string> shared = w.SharedStrings();
  ASSERT_EQ(shared.size(), 2u);
  EXPECT_EQ(shared[1].size(), 32767u);  // the most a cell holds
  EXPECT_EQ(shared[1].back(), u'末');
}

TEST_F(XLSProvider, ValuesAndNumberFormats) {
  struct TCase {
    Variant Value;
    uint16_t Id;
    double Number;
    uint16_t Format;
  };
  const TCase cases[] = {
      {Variant::DateTime(45000.5), 0x0203, 45000.5, 22},
      {Variant::DateTime(45000), 0x0203, 45000, 14},
      {Variant::DateTime(0.25), 0x0203, 0.25, 21},
      {Variant::DateTime(60), 0x0203, 59, 14},
      {Variant::DateTime(61), 0x0203, 61, 14},
      {Variant::DateTime(60.75), 0x0203, 59.75, 22},  // 1900-02-28 18:00
      {Variant::SQLTimeStamp(45000.25), 0x0203, 45000.25, 22},
      {Variant::Currency(123456), 0x0203, 12.3456, 7},
      {Variant::FMTBcd("-7.25"), 0x0203, -7.25, 7},
      {Variant::FMTBcd("1.123456"), 0x0203, 1.123456, 0},
      {Variant(42), 0x0203, 42, 0},
      {Variant::OfType(varSmallint, -5), 0x0203, -5, 0},
      {Variant::OfType(varByte, 200), 0x0203, 200, 0},
      {Variant::OfType(varLongWord, 3000000000), 0x0203, 3000000000.0, 0},
      {Variant(int64_t(1) << 40), 0x0203, double(int64_t(1) << 40), 0},
      {Variant::OfFloat(varSingle, 0.5), 0x0203, 0.5, 0},
      {Variant(2.75), 0x0203, 2.75, 0},
      {Variant(true), 0x0205, 1, 0},
      {Variant(false), 0x0205, 0, 0},
      {Variant(), 0x0201, 0, 0},
      {Variant::Null(), 0x0201, 0, 0},
  };
  auto p = Make("values.xls", 1, int(std::size(cases)));
  for (size_t i = 0; i < std::size(cases); ++i) p->PutValue(0, int(i), cases[i].Value);
  p->Finish();
  TWorkbook w = ReadWorkbook(Path("values.xls"));
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    const test::TRecord* r = w.CellAt(0, int(i));
    ASSERT_EQ(r->Id, cases[i].Id);
    if (r->Id == 0x0203) {
      EXPECT_DOUBLE_EQ(F64(r->Data, 6), cases[i].Number);
    }
    if (r->Id == 0x0205) {
      EXPECT_EQ(r->Data.substr(6), std::string(1, char(cases[i].Number)) + std::string(1, '\0'));
    }
    EXPECT_EQ(U16(CellXF(w, 0, int(i)), 2), cases[i].Format);
  }
}

TEST_F(XLSProvider, StylesBecomeFontAndXFRecords) {
  auto p = Make("styles.xls", 4, 2);
  TcxExportCellStyle a = Style("Tahoma", 9);
  a.FontStyle = 1 | 2 | 4 | 8;
  a.FontColor = 0x123456;
  a.FontCharset = 134;
  a.AlignText = 2;
  a.CellBorders[0] = {0, 1, 0};         // left: thin, black
  a.CellBorders[1] = {0, 2, 0x0000FF};  // top: medium, red
  a.CellBorders[2] = {0, 4, 0x00FF00};  // right: thick
  a.CellBorders[3] = {1, 3, 0xFF0000};  // bottom: default side, no line
  a.BrushStyle = 1;
  a.BrushBkColor = 0x654321;
  TcxExportCellStyle b = Style();
  b.BrushStyle = 1;
  b.BrushBkColor = DefaultExportStyle().BrushBkColor;  // window colour: no fill
  b.FontColor = 0;
  p->ApplyStyle(0, 0, a);
  p->ApplyStyle(1, 0, a);
  p->ApplyStyle(2, 0, b);
  p->Finish();
  TWorkbook w = ReadWorkbook(Path("styles.xls"));
  // One XF for the default style, one for a, one for b: shared, not repeated.
  // One XF for a, shared by two cells; b differs from the default style only
  // in a fill that is not written, so both share one XF.
  EXPECT_EQ(w.All(0x00E0).size(), 17u + 2);
  EXPECT_EQ(U16(w.CellAt(0, 0)->Data, 4), U16(w.CellAt(1, 0)->Data, 4));
  EXPECT_EQ(U16(w.CellAt(2, 0)->Data, 4), U16(w.CellAt(3, 0)->Data, 4));
  std::string xa = CellXF(w, 0, 0);
  std::string fa = w.Font(U16(xa, 0));
  EXPECT_EQ(U16(fa, 0), 180);
  EXPECT_EQ(U16(fa, 2), 0x0A);
  EXPECT_EQ(U16(fa, 4), 63);  // the first new colour takes index 63
  EXPECT_EQ(U16(fa, 6), 700);
  EXPECT_EQ(fa[10], 1);
  EXPECT_EQ(uint8_t(fa[12]), 134);
  EXPECT_EQ(fa.substr(14), std::string("\x06\x01T\0a\0h\0o\0m\0a\0", 14));
  EXPECT_EQ(uint8_t(xa[6]), 0x0B);  // right, wrapped, top
  uint32_t lines = U32(xa, 10), colors = U32(xa, 14);
  EXPECT_EQ(lines & 0xF, 1u);
  EXPECT_EQ(lines >> 4 & 0xF, 5u);     // right: width 4 is thick
  EXPECT_EQ(lines >> 8 & 0xF, 2u);     // top: width 2 is medium
  EXPECT_EQ(lines >> 12 & 0xF, 0u);    // bottom: default side
  EXPECT_EQ(lines >> 16 & 0x7F, 64u);  // black border: automatic
  EXPECT_EQ(colors & 0x7F, 62u);       // red moves to the top: 62
  EXPECT_EQ(lines >> 23 & 0x7F, 61u);
  EXPECT_EQ(colors >> 26, 1u);        // solid
  EXPECT_EQ(U16(xa, 18) & 0x7F, 60);  // fill colour
  EXPECT_EQ(U16(xa, 18) >> 7, 65);
  std::string xb = CellXF(w, 2, 0);
  EXPECT_EQ(U16(w.Font(U16(xb, 0)), 4), 0x7FFF);  // black text: automatic
  EXPECT_EQ(U32(xb, 14) >> 26, 0u);
  EXPECT_EQ(U16(xb, 18), 0x20C0);
  // The palette holds the colours at the slots the XFs name.
  std::string pal = w.All(0x0092)[0]->Data;
  EXPECT_EQ(pal.substr(2 + 4 * (63 - 8), 4), std::string("\x56\x34\x12\0", 4));
  EXPECT_EQ(pal.substr(2 + 4 * (60 - 8), 4), std::string("\x21\x43\x65\0", 4));
}

TEST_F(XLSProvider, MergedAreas) {
  auto p = Make("merged.xls", 5, 5);
  TcxExportCellStyle m = Style();
  m.FontStyle = 1;
  int mi = p->AddStyle(m);
  p->PutCurrency(1, 1, 5000000);
  p->ApplyMergedStyle(1, 1, 2, 3, mi);  // rows 1-2, columns 1-3
  EXPECT_EQ(p->CellStyleAt(2, 2), p->StyleAt(mi));
  EXPECT_EQ(p->CellStyleAt(0, 0), p->StyleAt(0));
  EXPECT_EQ(p->CellStyleAt(5, 0), nullptr);
  p->ApplyStyleIndex(2, 2, 0);          // locked: ignored
  p->PutDateTime(3, 2, 45000);          // a value after the merge is still a NUMBER
  p->ApplyMergedStyle(3, 3, 5, 5, mi);  // cut to the grid: rows 3-4, columns 3-4
  p->MergeCells(4, 7, 2, 2);            // outside the grid: not recorded
  p->MergeCells(0, 3, 2, 1);            // styles kept
  p->ApplyMergedStyle(0, 0, 1, 1, mi);  // one cell: just its style
  p->Finish();
  TWorkbook w = ReadWorkbook(Path("merged.xls"));
  ASSERT_EQ(w.All(0x00E5).size(), 1u);
  EXPECT_EQ(w.All(0x00E5)[0]->Data, std::string("\x03\0"
                                                "\x01\0\x02\0\x01\0\x03\0"
                                                "\x03\0\x04\0\x03\0\x04\0"
                                                "\x03\0\x04\0\x00\0\x00\0",
                                                26));
  uint16_t xf = U16(w.CellAt(1, 1)->Data, 4);
  for (int c = 1; c <= 3; ++c)
    for (int r = 1; r <= 2; ++r) EXPECT_EQ(U16(w.CellAt(c, r)->Data, 4), xf) << c << "," << r;
  std::string x = w.XF(xf);
  EXPECT_EQ(U16(x, 8), 0xFC20);  // merge flag
  EXPECT_EQ(U16(x, 2), 7);       // currency: the top-left value at merge time
  EXPECT_EQ(w.CellAt(3, 2)->Id, 0x0203);
  EXPECT_DOUBLE_EQ(F64(w.CellAt(1, 1)->Data, 6), 500.0);
  // The second area's top-left was blank: General format, its own XF.
  std::string x2 = CellXF(w, 4, 4);
  EXPECT_EQ(U16(x2, 2), 0);
  EXPECT_EQ(U16(x2, 8), 0xFC20);
  // The single cell got the style without the merge flag.
  EXPECT_EQ(U16(CellXF(w, 0, 0), 8), 0xFC00);
  EXPECT_EQ(U16(CellXF(w, 0, 3), 8), 0xFC00);
}

TEST_F(XLSProvider, ThousandsOfMergedAreas) {
  auto p = Make("many.xls", 2, 2050);
  for (int i = 0; i < 1025; ++i) p->MergeCells(0, 2 * i, 2, 2);
  p->Finish();
  TWorkbook w = ReadWorkbook(Path("many.xls"));
  auto records = w.All(0x00E5);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(U16(records[0]->Data, 0), 1024);
  EXPECT_EQ(records[1]->Data, std::string("\x01\0\x00\x08\x01\x08\0\0\x01\0", 10));
  EXPECT_EQ(w.Stream.size(), size_t(p->WorkbookStreamSize()));
}

TEST_F(XLSProvider, ColumnWidthsAndRowHeightsFollowTheScreen) {
  struct TCase {
    int Ppi, Width, Height;
    uint16_t Colinfo, Row;
  };
  // 80 px x 36.6 / scale; 20 px x 20 / (1.325 x scale); halves to even.
  for (TCase c : {TCase{96, 80, 20, 2928, 302}, TCase{120, 80, 53, 2342, 640}, TCase{72, 80, 53, 2928, 800}}) {
    SetScreenPixelsPerInch(c.Ppi);
    auto p = Make("sizes.xls", 300, 2);
    p->DefineColumnWidth(0, c.Width);
    p->DefineColumnWidth(255, c.Width);
    p->DefineColumnWidth(256, c.Width);  // beyond the sheet: nothing
    p->DefineRowHeight(1, c.Height);
    p->DefineRowHeight(65535, c.Height);
    p->DefineRowHeight(65536, c.Height);
    EXPECT_THROW(p->Finish(), EcxExportData);  // 44 columns cut
    TWorkbook w = ReadWorkbook(Path("sizes.xls"));
    auto cols = w.All(0x007D);
    ASSERT_EQ(cols.size(), 2u);
    EXPECT_EQ(U16(cols[0]->Data, 4), c.Colinfo) << c.Ppi;
    EXPECT_EQ(U16(cols[1]->Data, 0), 255);
    auto rows = w.All(0x0208);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(U16(rows[0]->Data, 6), c.Row) << c.Ppi;
    EXPECT_EQ(U16(rows[1]->Data, 0), 65535);
  }
  SetScreenPixelsPerInch(DefaultPixelsPerInch);
}

TEST_F(XLSProvider, GridBeyondTheSheetIsCutAndReported) {
  struct TCase {
    int Cols, Rows;
    const char* Message;
  };
  const TCase cases[] = {
      {300, 3, "超出MS Excel工作表的范围, 有 0 行和 44 列未导出"},
      {2, 70000, "超出MS Excel工作表的范围, 有 4464 行和 0 列未导出"},
  };
  for (const TCase& c : cases) {
    auto p = Make("cut.xls", c.Cols, c.Rows);
    p->PutText(c.Cols - 1, c.Rows - 1, "lost");
    p->PutText(std::min(c.Cols, 256) - 1, std::min(c.Rows, 65536) - 1, "kept");
    try {
      p->Finish();
      ADD_FAILURE() << "no error for a cut grid";
    } catch (const EcxExportData& e) {
      EXPECT_EQ(e.Message(), c.Message);
    }
    // What fits was written completely.
    TWorkbook w = ReadWorkbook(Path("cut.xls"));
    const std::string& dim = w.All(0x0200)[0]->Data;
    EXPECT_EQ(U32(dim, 4), uint32_t(std::min(c.Rows, 65536)));
    EXPECT_EQ(U16(dim, 10), std::min(c.Cols, 256));
    EXPECT_EQ(w.All(0x0204).size(), 1u);
    EXPECT_EQ(w.CellAt(std::min(c.Cols, 256) - 1, std::min(c.Rows, 65536) - 1)->Id, 0x0204);
    EXPECT_EQ(w.Stream.size(), size_t(p->WorkbookStreamSize()));
  }
}

TEST_F(XLSProvider, Failures) {
  auto p = TcxCustomExportProvider::Create<TcxXLSExportProvider>(Path("early.xls"));
  EXPECT_THROW(p->PutDouble(0, 0, 1), EcxExportData);
  try {
    p->CellStyleAt(0, 0);
  } catch (const EcxExportData& e) {
    EXPECT_EQ(e.Message(), "无效的单元维度");
  }
  p->DefineColumnWidth(0, 50);  // allowed before the grid
  p->DefineGrid(2, 2, false);
  p->PutDouble(5, 5, 1);        // outside: ignored
  p->ApplyStyleIndex(0, 0, 9);  // never registered: fails at Finish
  EXPECT_THROW(p->Finish(), EListError);
  EXPECT_THROW(TcxExport::CreateProvider(cxExportToExcel, Path("missing/dir.xls")), EFCreateError);
}

TEST_F(XLSProvider, ExistingFileIsReplaced) {
  {
    TFileStream old(Path("again.xls"), fmCreate);
    old.WriteString(std::string(10000, 'z'));
  }
  auto p = Make("again.xls", 1, 1);
  p->Finish();
  TWorkbook w = ReadWorkbook(Path("again.xls"));
  EXPECT_EQ(U16(w.All(0x023E)[0]->Data, 0), 0x06B6);
}

}  // namespace
}  // namespace kv::xls
