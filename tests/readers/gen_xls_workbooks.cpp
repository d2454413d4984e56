// Writes Excel workbooks through the workbook provider, for the independent
// readers to judge, and a manifest (manifest.json) of everything put into
// them: values, number formats, styles, merged areas, sizes, the error
// Finish raised and the stream size the provider computed in advance.
//
// Usage: gen_xls_workbooks <output folder>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>

#include "export/core/Export.h"
#include "platform/CodePage.h"
#include "platform/Variant.h"
#include "writers/xls/XLSExportProvider.h"

using namespace kv;
using json = nlohmann::json;
using kv::xls::TcxXLSExportProvider;

namespace {

std::string Hex(uint32_t ARgb) {
  char b[8];
  std::snprintf(b, sizeof b, "#%02x%02x%02x", ARgb & 0xFF, ARgb >> 8 & 0xFF, ARgb >> 16 & 0xFF);
  return b;
}

// One workbook being written and its manifest entry.
class TBook {
 public:
  TBook(const std::string& ADir, const std::string& AName, int ACols, int ARows) : FName(AName) {
    FProvider =
        std::dynamic_pointer_cast<TcxXLSExportProvider>(TcxExport::CreateProvider(cxExportToExcel, ADir + "/" + AName));
    TcxExportCellStyle plain;
    plain.SetFontName("Arial");
    plain.FontSize = 10;
    FProvider->DefineDefaultStyle(plain);
    FProvider->DefineGrid(ACols, ARows, true);
    FEntry = {{"file", AName},
              {"cols", ACols},
              {"rows", ARows},
              {"cells", json::array()},
              {"styles", json::array()},
              {"merged", json::array()},
              {"col_widths", json::object()},
              {"row_heights", json::object()},
              {"window", Hex(DefaultExportStyle().BrushBkColor)}};
  }
  TcxXLSExportProvider& P() { return *FProvider; }

  // Records what a reader should see in a cell.
  void Expect(int ACol, int ARow, const std::string& AKind, json AValue, int AFormat = 0) {
    FEntry["cells"].push_back({{"c", ACol}, {"r", ARow}, {"kind", AKind}, {"value", AValue}, {"format", AFormat}});
  }
  void Number(int ACol, int ARow, double AValue, int AFormat = 0) { Expect(ACol, ARow, "number", AValue, AFormat); }
  void Text(int ACol, int ARow, const std::string& AUtf8) { Expect(ACol, ARow, "text", AUtf8); }

  // Gives a cell (or an area) a style and records it.
  void Styled(int ACol, int ARow, const TcxExportCellStyle& AStyle, int ARowSpan = 1, int AColSpan = 1) {
    int index = FProvider->AddStyle(AStyle);
    if (ARowSpan == 1 && AColSpan == 1)
      FProvider->ApplyStyleIndex(ACol, ARow, index);
    else
      FProvider->ApplyMergedStyle(ACol, ARow, ARowSpan, AColSpan, index);
    json borders = json::array();
    for (const auto& b : AStyle.CellBorders)
      borders.push_back({{"default", b.IsDefault}, {"width", b.Width}, {"color", Hex(b.Color)}});
    FEntry["styles"].push_back({{"c", ACol},
                                {"r", ARow},
                                {"font", AStyle.FontNameText()},
                                {"size", AStyle.FontSize},
                                {"bold", bool(AStyle.FontStyle & cfsBold)},
                                {"italic", bool(AStyle.FontStyle & cfsItalic)},
                                {"underline", bool(AStyle.FontStyle & cfsUnderline)},
                                {"strike", bool(AStyle.FontStyle & cfsStrikeOut)},
                                {"font_color", Hex(AStyle.FontColor)},
                                {"align", AStyle.AlignText},
                                {"brush", AStyle.BrushStyle},
                                {"fill", Hex(AStyle.BrushBkColor)},
                                {"borders", borders}});
    if (ARowSpan > 1 || AColSpan > 1) Merged(ACol, ARow, ARowSpan, AColSpan);
  }
  void Merged(int ACol, int ARow, int ARowSpan, int AColSpan) {
    FEntry["merged"].push_back({ARow, ARow + ARowSpan - 1, ACol, ACol + AColSpan - 1});
  }
  void ColumnWidth(int ACol, int APixels) {
    FProvider->DefineColumnWidth(ACol, APixels);
    FEntry["col_widths"][std::to_string(ACol)] = APixels;
  }
  void RowHeight(int ARow, int APixels) {
    FProvider->DefineRowHeight(ARow, APixels);
    FEntry["row_heights"][std::to_string(ARow)] = APixels;
  }

  json Finish() {
    FEntry["error"] = nullptr;
    try {
      FProvider->Finish();
    } catch (const EcxExportData& e) {
      FEntry["error"] = e.Message();
    }
    FEntry["stream_size"] = FProvider->WorkbookStreamSize();
    FProvider.reset();
    return FEntry;
  }

 private:
  std::string FName;
  std::shared_ptr<TcxXLSExportProvider> FProvider;
  json FEntry;
};

TcxExportCellStyle Style(const char* AFont, int ASize) {
  TcxExportCellStyle s;
  s.SetFontName(AFont);
  s.FontSize = ASize;
  return s;
}

std::string Repeat(const std::string& AText, int ACount) {
  std::string out;
  for (int i = 0; i < ACount; ++i) out += AText;
  return out;
}

// Values of every kind, one per row in column 1 (column 0 names the case).
json Values(const std::string& ADir) {
  const std::string zh = "中文测试";
  const std::string longZh = Repeat("长文本", 70);  // 210 characters, 420 bytes in GBK
  const std::string long7 = Repeat("0123456789", 500);
  std::u16string wideLong(40000, u'字');
  for (size_t i = 0; i < wideLong.size(); i += 100) wideLong[i] = u'0' + char16_t(i / 100 % 10);
  struct TRow {
    const char* Name;
    std::function<void(TBook&, int)> Put;
  };
  std::vector<TRow> rows = {
      {"double",
       [](TBook& b, int r) {
         b.P().PutDouble(1, r, 1.5);
         b.Number(1, r, 1.5);
       }},
      {"negative",
       [](TBook& b, int r) {
         b.P().PutDouble(1, r, -2.25e10);
         b.Number(1, r, -2.25e10);
       }},
      {"small",
       [](TBook& b, int r) {
         b.P().PutDouble(1, r, 0.0001234);
         b.Number(1, r, 0.0001234);
       }},
      {"integer",
       [](TBook& b, int r) {
         b.P().PutInteger(1, r, 42);
         b.Number(1, r, 42);
       }},
      {"int max",
       [](TBook& b, int r) {
         b.P().PutInteger(1, r, 2147483647);
         b.Number(1, r, 2147483647.0);
       }},
      {"int min",
       [](TBook& b, int r) {
         b.P().PutInteger(1, r, -2147483647 - 1);
         b.Number(1, r, -2147483648.0);
       }},
      {"longword",
       [](TBook& b, int r) {
         b.P().PutValue(1, r, Variant::OfType(varLongWord, 3000000000ll));
         b.Number(1, r, 3000000000.0);
       }},
      {"int64",
       [](TBook& b, int r) {
         b.P().PutValue(1, r, Variant(int64_t(1234567890123)));
         b.Number(1, r, 1234567890123.0);
       }},
      {"date and time",
       [](TBook& b, int r) {
         b.P().PutValue(1, r, Variant::DateTime(45000.5));
         b.Number(1, r, 45000.5, 22);
       }},
      {"date",
       [](TBook& b, int r) {
         b.P().PutValue(1, r, Variant::DateTime(45000));
         b.Number(1, r, 45000, 14);
       }},
      {"time",
       [](TBook& b, int r) {
         b.P().PutValue(1, r, Variant::DateTime(0.75));
         b.Number(1, r, 0.75, 21);
       }},
      {"1900-02-28",
       [](TBook& b, int r) {
         b.P().PutValue(1, r, Variant::DateTime(60));
         b.Number(1, r, 59, 14);
       }},
      {"1900-03-01",
       [](TBook& b, int r) {
         b.P().PutValue(1, r, Variant::DateTime(61));
         b.Number(1, r, 61, 14);
       }},
      {"time stamp",
       [](TBook& b, int r) {
         b.P().PutValue(1, r, Variant::SQLTimeStamp(44927.25));
         b.Number(1, r, 44927.25, 22);
       }},
      {"currency",
       [](TBook& b, int r) {
         b.P().PutValue(1, r, Variant::Currency(123456));
         b.Number(1, r, 12.3456, 7);
       }},
      {"negative currency",
       [](TBook& b, int r) {
         b.P().PutValue(1, r, Variant::Currency(-12345000));
         b.Number(1, r, -1234.5, 7);
       }},
      {"bcd",
       [](TBook& b, int r) {
         b.P().PutValue(1, r, Variant::FMTBcd("99.5"));
         b.Number(1, r, 99.5, 7);
       }},
      {"true",
       [](TBook& b, int r) {
         b.P().PutValue(1, r, Variant(true));
         b.Expect(1, r, "bool", true);
       }},
      {"false",
       [](TBook& b, int r) {
         b.P().PutValue(1, r, Variant(false));
         b.Expect(1, r, "bool", false);
       }},
      {"short text",
       [](TBook& b, int r) {
         b.P().PutText(1, r, "hello, world");
         b.Text(1, r, "hello, world");
       }},
      {"255 bytes",
       [](TBook& b, int r) {
         b.P().PutText(1, r, std::string(255, 'q'));
         b.Text(1, r, std::string(255, 'q'));
       }},
      {"256 bytes",
       [](TBook& b, int r) {
         b.P().PutText(1, r, std::string(256, 'r'));
         b.Text(1, r, std::string(256, 'r'));
       }},
      {"long text",
       [long7](TBook& b, int r) {
         b.P().PutText(1, r, long7);
         b.Text(1, r, long7);
       }},
      {"chinese",
       [zh](TBook& b, int r) {
         b.P().PutText(1, r, zh);
         b.Text(1, r, zh);
       }},
      {"long chinese",
       [longZh](TBook& b, int r) {
         b.P().PutText(1, r, longZh);
         b.Text(1, r, longZh);
       }},
      {"chinese variant",
       [zh](TBook& b, int r) {
         b.P().PutValue(1, r, Variant(zh + "\r\n" + zh));
         b.Text(1, r, zh + "\n" + zh);
       }},
      {"crlf",
       [](TBook& b, int r) {
         b.P().PutText(1, r, "line 1\r\nline 2\r\nline 3");
         b.Text(1, r, "line 1\nline 2\nline 3");
       }},
      {"wide",
       [](TBook& b, int r) {
         b.P().PutWideText(1, r, u"한국어 Ελλάδα \u20AC");
         b.Text(1, r, "한국어 Ελλάδα \u20AC");
       }},
      {"wide crlf",
       [](TBook& b, int r) {
         b.P().PutValue(1, r, Variant(std::u16string(u"甲\r\n乙")));
         b.Text(1, r, "甲\n乙");
       }},
      {"wide 40000",
       [wideLong](TBook& b, int r) {
         b.P().PutWideText(1, r, wideLong);
         b.Text(1, r, Utf16ToUtf8(wideLong.substr(0, 32767)));
       }},
      {"empty",
       [](TBook& b, int r) {
         b.P().PutText(1, r, "");
         b.Expect(1, r, "blank", nullptr);
       }},
      {"null",
       [](TBook& b, int r) {
         b.P().PutValue(1, r, Variant::Null());
         b.Expect(1, r, "blank", nullptr);
       }},
  };
  TBook book(ADir, "values.xls", 2, int(rows.size()));
  for (size_t i = 0; i < rows.size(); ++i) {
    book.P().PutText(0, int(i), rows[i].Name);
    book.Text(0, int(i), rows[i].Name);
    rows[i].Put(book, int(i));
  }
  return book.Finish();
}

// Fonts, fills, borders, widths, heights and merged areas.
json Styles(const std::string& ADir) {
  TBook book(ADir, "styles.xls", 6, 12);
  const uint32_t colors[] = {RGB(0xC0, 0x10, 0x20), RGB(0x10, 0x80, 0x30), RGB(0x20, 0x40, 0xC0),
                             RGB(0, 0, 0),          RGB(255, 255, 255),    RGB(0x99, 0x33, 0x66)};
  // Row 0: font variations.
  const uint8_t fontStyles[] = {cfsBold, cfsItalic, cfsUnderline, cfsStrikeOut, cfsBold | cfsItalic, 0};
  const char* fonts[] = {"Arial", "Times New Roman", "Courier New", "宋体", "Tahoma", "Verdana"};
  for (int c = 0; c < 6; ++c) {
    TcxExportCellStyle s = Style(fonts[c], 8 + 2 * c);
    s.FontStyle = fontStyles[c];
    s.FontColor = colors[c];
    s.FontCharset = c == 3 ? 134 : 0;
    s.AlignText = uint8_t(c % 3);
    book.P().PutText(c, 0, std::string("font ") + fonts[c]);
    book.Text(c, 0, std::string("font ") + fonts[c]);
    book.Styled(c, 0, s);
  }
  // Row 1: fills, one in the window colour (no fill).
  for (int c = 0; c < 6; ++c) {
    TcxExportCellStyle s = Style("Arial", 10);
    s.BrushStyle = cbsSolid;
    s.BrushBkColor = c == 5 ? DefaultExportStyle().BrushBkColor : colors[c];
    book.P().PutInteger(c, 1, c);
    book.Number(c, 1, c);
    book.Styled(c, 1, s);
  }
  // Row 3: borders of widths 1 to 4 on every side, coloured, one side default.
  for (int c = 0; c < 4; ++c) {
    TcxExportCellStyle s = Style("Arial", 10);
    for (int side = 0; side < 4; ++side) s.CellBorders[side] = {0, c + 1, colors[(c + side) % 6]};
    s.CellBorders[cxBorderBottom].IsDefault = c == 3 ? 1 : 0;
    book.P().PutText(c, 3, "border " + std::to_string(c + 1));
    book.Text(c, 3, "border " + std::to_string(c + 1));
    book.Styled(c, 3, s);
  }
  // Merged areas: styled ones with values, one plain merge.
  TcxExportCellStyle m = Style("Arial", 12);
  m.FontStyle = cfsBold;
  m.AlignText = catCenter;
  m.BrushStyle = cbsSolid;
  m.BrushBkColor = RGB(0xFF, 0xEE, 0xAA);
  for (int side = 0; side < 4; ++side) m.CellBorders[side] = {0, 2, RGB(0x20, 0x40, 0xC0)};
  book.P().PutText(0, 5, "merged 3x2");
  book.Text(0, 5, "merged 3x2");
  book.Styled(0, 5, m, 2, 3);
  book.P().PutValue(3, 5, Variant::Currency(99990000));
  book.Number(3, 5, 9999, 7);
  book.Styled(3, 5, m, 3, 2);
  book.P().PutValue(0, 8, Variant::DateTime(45123.75));
  book.Number(0, 8, 45123.75, 22);
  book.Styled(0, 8, m, 1, 2);
  book.P().MergeCells(0, 10, 2, 6);
  book.Merged(0, 10, 2, 6);
  // Column widths and row heights in pixels.
  const int widths[] = {64, 100, 150, 40, 200, 75};
  for (int c = 0; c < 6; ++c) book.ColumnWidth(c, widths[c]);
  book.RowHeight(0, 30);
  book.RowHeight(2, 8);
  book.RowHeight(5, 45);
  return book.Finish();
}

// 1,025 merged areas: two MERGEDCELLS records.
json Merges(const std::string& ADir) {
  TBook book(ADir, "merges.xls", 2, 2050);
  for (int i = 0; i < 1025; ++i) {
    book.P().PutInteger(0, 2 * i, i);
    book.Number(0, 2 * i, i);
    book.P().MergeCells(0, 2 * i, 2, 2);
    book.Merged(0, 2 * i, 2, 2);
  }
  return book.Finish();
}

// 300 columns: 256 are written, Finish reports the 44 left out.
json WideGrid(const std::string& ADir) {
  TBook book(ADir, "columns300.xls", 300, 3);
  for (int c = 0; c < 300; ++c) {
    for (int r = 0; r < 3; ++r) {
      book.P().PutInteger(c, r, c * 10 + r);
      if (c < 256) book.Number(c, r, c * 10 + r);
    }
    book.ColumnWidth(c, 30);
  }
  return book.Finish();
}

// 70,000 rows of 8 columns: 65,536 rows written (a stream of about 9 MB, so
// that the container needs a DIFAT sector), the rest reported.
json TallGrid(const std::string& ADir) {
  const int rows = 70000;
  TBook book(ADir, "rows70000.xls", 8, rows);
  for (int r = 0; r < rows; ++r) {
    book.P().PutInteger(0, r, r);
    book.P().PutDouble(1, r, r * 0.25);
    book.P().PutValue(2, r, Variant::DateTime(40000 + r % 3000));
    book.P().PutText(3, r, "row " + std::to_string(r));
    book.P().PutText(4, r, r % 2 ? "单数" : "双数");
    for (int c = 5; c < 8; ++c) book.P().PutDouble(c, r, r + c / 10.0);
  }
  json entry = book.Finish();
  // The values follow a rule the reader test recomputes; listing 500,000
  // cells here would only slow the test down.
  entry["pattern"] = "tall";
  return entry;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: gen_xls_workbooks <output folder>\n";
    return 2;
  }
  std::string dir = argv[1];
  json manifest = json::array();
  try {
    manifest.push_back(Values(dir));
    manifest.push_back(Styles(dir));
    manifest.push_back(Merges(dir));
    manifest.push_back(WideGrid(dir));
    manifest.push_back(TallGrid(dir));
  } catch (const std::exception& e) {
    std::cerr << "error: " << e.what() << "\n";
    return 1;
  }
  std::ofstream(dir + "/manifest.json") << manifest.dump(1);
  return 0;
}
