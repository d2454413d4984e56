// The HTML writer: the page byte for byte, style rules, cells, escaping,
// line breaks, merged areas, pictures, nested tables, the declared code page
// and the escaped title.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "export/core/Export.h"
#include "platform/Bitmap.h"
#include "platform/CodePage.h"
#include "platform/Exceptions.h"
#include "platform/Streams.h"
#include "writers/html/HTMLExportProvider.h"
#include "writers/text/TextWritersSupport.h"

namespace kv {
namespace {

using testing::TScratchFolder;

using testing::PlainStyle;

// The rule text of PlainStyle with font size 1.
const std::string kPlainEmptyRule =
    " border-style: solid;padding:0px; border-left-width: 1; border-top-width: 1; border-right-width: 1;"
    " border-bottom-width: 1; border-left-color: rgb(160,160,160); border-top-color: rgb(160,160,160);"
    " border-right-color: rgb(160,160,160); border-bottom-color: rgb(160,160,160); font-family: 'Tahoma';"
    " mso-font-charset: 0; font-size: 1pt; color: rgb(0,0,0); background-color: rgb(255,255,255)";

class HTMLExportProvider : public ::testing::Test {
 protected:
  void SetUp() override { EnsureExportEngine(); }
  void TearDown() override { SetSystemCodePage(936); }

  std::shared_ptr<TcxHTMLExportProvider> Make(const std::string& AName = "page.html") {
    auto p = TcxCustomExportProvider::Create<TcxHTMLExportProvider>(FFolder.File(AName));
    p->DefineDefaultStyle(PlainStyle());
    return p;
  }
  static std::string Cells(TcxHTMLExportProvider& AProvider) {
    TMemoryStream stream;
    AProvider.OutputCells(stream);
    return stream.Data();
  }
  // The data rows of the table (after the width row), up to "</TABLE>".
  static std::string Rows(TcxHTMLExportProvider& AProvider) {
    std::string cells = Cells(AProvider);
    size_t start = cells.find("</TR>\r\n") + 7;
    return cells.substr(start, cells.rfind("</TABLE>") - start);
  }
  TScratchFolder FFolder;
};

TEST_F(HTMLExportProvider, OneEmptyCellPageByteForByte) {
  auto p = Make();
  p->DefineGrid(1, 1, true);
  p->DefineColumnWidth(0, 50);
  p->DefineRowHeight(0, 20);
  p->Finish();
  const std::string expected =
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n"
      "<HTML>\r\n<HEAD>\r\n<TITLE>" +
      FFolder.File("page.html") +
      "</TITLE>\r\n"
      "<META http-equiv=\"content-type\" content=\"text/html; charset=GBK\">\r\n"
      "<STYLE TYPE=\"text/css\"><!--\r\n"
      ".Style0 {" +
      kPlainEmptyRule +
      "}\r\n\r\n"
      "--></STYLE>\r\n</HEAD>\r\n<BODY>\r\n"
      "<TABLE BORDER=\"0\" CELLSPACING=\"0\" WIDTH=\"50\">\r\n"
      "<TR>\r\n<TD WIDTH=\"50\" HEIGHT=\"0\"></TD>\r\n</TR>\r\n"
      "<TR>\r\n<TD ALIGN=\"CENTER\" CLASS=\"Style0\" HEIGHT=\"20px\">&nbsp</TD>\r\n</TR>\r\n"
      "</TABLE>\r\n</BODY>\r\n</HTML>";
  EXPECT_EQ(ReadFileBytes(FFolder.File("page.html")), expected);
}

TEST_F(HTMLExportProvider, TitleIsEscapedAndThePageDeclaresItsCodePage) {
  auto p = Make("a&b <订单> \"x\".html");
  p->DefineGrid(1, 1, false);
  p->PutText(0, 0, "中文");
  p->Finish();
  const std::string page = ReadFileBytes(FFolder.File("a&b <订单> \"x\".html"));
  EXPECT_NE(page.find("<TITLE>" + FFolder.File("") + "a&amp;b &lt;\xB6\xA9\xB5\xA5&gt; &quot;x&quot;.html</TITLE>"),
            std::string::npos)
      << page.substr(0, 300);
  EXPECT_NE(page.find("content=\"text/html; charset=GBK\""), std::string::npos);
  EXPECT_NE(page.find(">\xD6\xD0\xCE\xC4</TD>"), std::string::npos);  // 中文 in GBK

  // The declared name follows the system code page.
  SetSystemCodePage(CP_UTF8);
  auto q = Make("utf8.html");
  q->DefineGrid(1, 1, false);
  q->PutText(0, 0, "中文");
  q->Finish();
  const std::string utf8 = ReadFileBytes(FFolder.File("utf8.html"));
  EXPECT_NE(utf8.find("content=\"text/html; charset=UTF-8\""), std::string::npos);
  EXPECT_NE(utf8.find(">中文</TD>"), std::string::npos);
}

TEST_F(HTMLExportProvider, StyleText) {
  TcxExportCellStyle style = PlainStyle();
  style.FontSize = 1;
  EXPECT_EQ(TcxHTMLExportProvider::StyleText(style), kPlainEmptyRule);

  struct Case {
    const char* what;
    std::function<void(TcxExportCellStyle&)> change;
    std::vector<std::string> present, absent;
  };
  const std::vector<Case> cases = {
      {"padding with a leading space", [](auto&) {}, {" border-style: solid; padding:3; border-left-width"}, {"0px"}},
      {"all four font bits: underline wins over strike-out",
       [](auto& s) { s.FontStyle = cfsBold | cfsItalic | cfsUnderline | cfsStrikeOut; },
       {" font-weight: bold; font-style: italic; text-decoration: underline; font-size: 8pt;"},
       {"line-through"}},
      {"strike-out alone", [](auto& s) { s.FontStyle = cfsStrikeOut; }, {" text-decoration: line-through;"}, {"bold"}},
      {"a default left border is 0 and black",
       [](auto& s) {
         s.CellBorders[cxBorderLeft] = {1, 5, RGB(1, 2, 3)};
         s.CellBorders[cxBorderRight].Width = 4;
       },
       {" border-left-width: 0; border-top-width: 1; border-right-width: 4;", " border-left-color: rgb(0,0,0);"},
       {"rgb(1,2,3)"}},
      {"font name, charset, colours; brush style and pattern colour never appear",
       [](auto& s) {
         s.SetFontName("宋体");
         s.FontCharset = 134;
         s.FontColor = RGB(1, 2, 3);
         s.BrushBkColor = RGB(10, 20, 30);
         s.BrushFgColor = RGB(7, 7, 7);
         s.BrushStyle = cbsClear;
       },
       {" font-family: '宋体'; mso-font-charset: 134;", " color: rgb(1,2,3); background-color: rgb(10,20,30)"},
       {"rgb(7,7,7)", "brush", "Clear"}},
  };
  for (const Case& c : cases) {
    TcxExportCellStyle s = PlainStyle();
    c.change(s);
    const std::string text = TcxHTMLExportProvider::StyleText(s);
    for (const std::string& piece : c.present) EXPECT_NE(text.find(piece), std::string::npos) << c.what << ": " << text;
    for (const std::string& piece : c.absent) EXPECT_EQ(text.find(piece), std::string::npos) << c.what << ": " << text;
    EXPECT_EQ(text.back(), ')') << c.what << ": no semicolon after the background colour";
  }
}

TEST_F(HTMLExportProvider, RulesForEveryRegisteredStyleInOrder) {
  auto p = Make();
  p->DefineGrid(2, 1, true);
  TcxExportCellStyle bold = PlainStyle();
  bold.FontStyle = cfsBold;
  bold.AlignText = catRight;
  p->ApplyStyle(0, 0, bold);
  p->PutText(0, 0, "x");
  p->PutText(1, 0, "y");  // stays on the provider default style: no rule
  TMemoryStream stream;
  p->OutputStyles(stream);
  const std::string expected = ".Style0 {" + TcxHTMLExportProvider::StyleText(bold) + "}\r\n\r\n";
  EXPECT_EQ(stream.Data(), expected);
  EXPECT_EQ(Rows(*p),
            "<TR>\r\n<TD ALIGN=\"RIGHT\" CLASS=\"Style0\" HEIGHT=\"0px\">x</TD>\r\n"
            "<TD ALIGN=\"CENTER\" CLASS=\"Style-1\" HEIGHT=\"0px\">y</TD>\r\n</TR>\r\n");
}

TEST_F(HTMLExportProvider, CellContents) {
  struct Case {
    const char* what;
    std::function<void(TcxHTMLExportProvider&)> put;
    std::string content;
  };
  const std::vector<Case> cases = {
      {"escaping and CR LF", [](auto& p) { p.PutText(0, 0, "a<b\r\nc"); }, "a&lt;b<BR>c"},
      {"markup characters", [](auto& p) { p.PutText(0, 0, "\"T&J\" > 1"); }, "&quot;T&amp;J&quot; &gt; 1"},
      {"a lone CR stays, a lone LF breaks", [](auto& p) { p.PutText(0, 0, "a\rb\nc"); }, "a\rb<BR>c"},
      {"wide text in GBK", [](auto& p) { p.PutWideText(0, 0, u"中<文>"); }, "\xD6\xD0&lt;\xCE\xC4&gt;"},
      {"a character GBK lacks", [](auto& p) { p.PutWideText(0, 0, u"\U0001F600"); }, "?"},
      {"double", [](auto& p) { p.PutDouble(0, 0, 1.5); }, "1.5"},
      {"double with 15 digits", [](auto& p) { p.PutDouble(0, 0, 1.0 / 3.0); }, "0.333333333333333"},
      {"integer", [](auto& p) { p.PutInteger(0, 0, -7); }, "-7"},
      {"empty text", [](auto& p) { p.PutText(0, 0, ""); }, "&nbsp"},
      {"empty wide text", [](auto& p) { p.PutWideText(0, 0, u""); }, "&nbsp"},
      {"no value", [](auto&) {}, "&nbsp"},
  };
  for (const Case& c : cases) {
    auto p = Make();
    p->DefineGrid(1, 1, true);
    p->DefineRowHeight(0, 17);
    p->ApplyStyle(0, 0, PlainStyle());
    c.put(*p);
    const std::string rows = Rows(*p);
    const std::string head = "<TD ALIGN=\"CENTER\" CLASS=\"Style";
    ASSERT_EQ(rows.find("<TR>\r\n" + head), 0u) << c.what << ": " << rows;
    const size_t open = rows.find("HEIGHT=\"17px\">");
    ASSERT_NE(open, std::string::npos) << c.what << ": " << rows;
    EXPECT_EQ(rows.substr(open + 14), c.content + "</TD>\r\n</TR>\r\n") << c.what;
  }
}

TEST_F(HTMLExportProvider, MergedAreaIsOneCellWithUnquotedSpans) {
  auto p = Make();
  p->DefineGrid(3, 3, true);
  for (int c = 0; c < 3; ++c) p->DefineColumnWidth(c, 10 * (c + 1));
  for (int r = 0; r < 3; ++r) {
    p->DefineRowHeight(r, 5 + r);
    for (int c = 0; c < 3; ++c) p->PutText(c, r, std::to_string(c) + std::to_string(r));
  }
  const int style = p->AddStyle(PlainStyle());
  p->ApplyMergedStyle(0, 0, 3, 2, style);  // 3 rows, 2 columns
  EXPECT_EQ(Cells(*p),
            "<TABLE BORDER=\"0\" CELLSPACING=\"0\" WIDTH=\"60\">\r\n"
            "<TR>\r\n<TD WIDTH=\"10\" HEIGHT=\"0\"></TD>\r\n<TD WIDTH=\"20\" HEIGHT=\"0\"></TD>\r\n"
            "<TD WIDTH=\"30\" HEIGHT=\"0\"></TD>\r\n</TR>\r\n"
            "<TR>\r\n<TD COLSPAN=2 ROWSPAN=3 ALIGN=\"CENTER\" CLASS=\"Style0\" HEIGHT=\"5px\">00</TD>\r\n"
            "<TD ALIGN=\"CENTER\" CLASS=\"Style-1\" HEIGHT=\"5px\">20</TD>\r\n</TR>\r\n"
            "<TR>\r\n<TD ALIGN=\"CENTER\" CLASS=\"Style-1\" HEIGHT=\"6px\">21</TD>\r\n</TR>\r\n"
            "<TR>\r\n<TD ALIGN=\"CENTER\" CLASS=\"Style-1\" HEIGHT=\"7px\">22</TD>\r\n</TR>\r\n"
            "</TABLE>\r\n");
}

TEST_F(HTMLExportProvider, SpanOfOneIsNotWritten) {
  auto p = Make();
  p->DefineGrid(2, 2, true);
  p->PutText(0, 0, "a");
  p->MergeCells(0, 0, 2, 1);  // two rows, one column
  const std::string rows = Rows(*p);
  EXPECT_NE(rows.find("<TD ROWSPAN=2 ALIGN="), std::string::npos) << rows;
  EXPECT_EQ(rows.find("COLSPAN"), std::string::npos) << rows;
}

TEST_F(HTMLExportProvider, PicturesAreWrittenBesideThePage) {
  ASSERT_EQ(ImageProviderCount(), 0);
  auto p = Make("report.html");
  p->DefineGrid(3, 1, true);
  std::vector<TBitmap> bitmaps;
  for (int i = 0; i < 3; ++i) {
    bitmaps.emplace_back(2 + i, 2);
    bitmaps.back().Fill(RGB(static_cast<uint8_t>(50 * i), 0, 0));
    p->PutGraphic(i, 0, bitmaps.back());
  }
  p->Finish();
  const std::string page = ReadFileBytes(FFolder.File("report.html"));
  for (int i = 0; i < 3; ++i) {
    const std::string name = "report.images/report_" + std::to_string(i) + ".bmp";
    EXPECT_NE(page.find("HEIGHT=\"0px\"><img src=\"" + name + "\"></img></TD>\r\n"), std::string::npos) << name;
    EXPECT_EQ(ReadFileBytes(FFolder.File(name)), bitmaps[static_cast<size_t>(i)].SaveToBytes()) << name;
  }
}

TEST_F(HTMLExportProvider, NestedTableInsideItsMasterCellFollowedByNbsp) {
  auto master = Make();
  master->DefineGrid(2, 1, true);
  master->DefineRowHeight(0, 40);
  master->PutText(1, 0, "m");
  auto detail = Make();  // same target: shares the styles
  detail->DefineGrid(2, 1, true);
  detail->DefineColumnWidth(0, 30);
  detail->DefineColumnWidth(1, 40);
  detail->DefineRowHeight(0, 18);
  detail->PutText(0, 0, "d");  // (1, 0) stays empty
  master->PutCellCache(0, 0, detail);

  TMemoryStream styles;
  master->OutputStyles(styles);
  const std::string rows = Rows(*master);
  const std::string nested =
      "<TABLE BORDER=\"0\" CELLSPACING=\"0\" WIDTH=\"70\">\r\n"
      "<TR>\r\n<TD WIDTH=\"30\" HEIGHT=\"0\"></TD>\r\n<TD WIDTH=\"40\" HEIGHT=\"0\"></TD>\r\n</TR>\r\n"
      "<TR>\r\n<TD ALIGN=\"CENTER\" CLASS=\"Style-1\" HEIGHT=\"18px\">d</TD>\r\n"
      "<TD ALIGN=\"CENTER\" CLASS=\"Style1\" HEIGHT=\"18px\">&nbsp</TD>\r\n</TR>\r\n"
      "</TABLE>\r\n";
  EXPECT_EQ(rows, "<TR>\r\n<TD ALIGN=\"CENTER\" CLASS=\"Style1\" HEIGHT=\"40px\">" + nested +
                      "&nbsp</TD>\r\n<TD ALIGN=\"CENTER\" CLASS=\"Style-1\" HEIGHT=\"40px\">m</TD>\r\n</TR>\r\n");
  // Style0 is the engine default, registered when the detail joined the
  // target's styles; the empty cells of master and detail share Style1.
  EXPECT_EQ(styles.Data(), ".Style0 {" + TcxHTMLExportProvider::StyleText(DefaultExportStyle()) + "}\r\n\r\n.Style1 {" +
                               kPlainEmptyRule + "}\r\n\r\n");
}

TEST_F(HTMLExportProvider, NestedEmptyCellStyleRuleExistsWhenStylesDiffer) {
  auto master = Make();
  master->DefineGrid(1, 1, true);
  auto detail = Make();
  detail->DefineGrid(1, 1, true);
  TcxExportCellStyle green = PlainStyle();
  green.BrushBkColor = RGB(0, 200, 0);
  detail->ApplyStyle(0, 0, green);  // empty: gets a reduced copy of this style
  master->PutCellCache(0, 0, detail);
  master->Finish();
  const std::string page = ReadFileBytes(FFolder.File("page.html"));
  green.FontSize = 1;
  EXPECT_NE(page.find(" {" + TcxHTMLExportProvider::StyleText(green) + "}"), std::string::npos) << page;
  // Every class a cell names has its rule.
  for (size_t at = page.find("CLASS=\"Style"); at != std::string::npos; at = page.find("CLASS=\"Style", at + 1)) {
    const std::string number = page.substr(at + 12, page.find('"', at + 12) - at - 12);
    EXPECT_NE(page.find(".Style" + number + " {"), std::string::npos) << "Style" << number;
  }
}

TEST_F(HTMLExportProvider, UnwritableTargetRaisesTheFileError) {
  auto p = TcxCustomExportProvider::Create<TcxHTMLExportProvider>(FFolder.File("missing/page.html"));
  p->DefineGrid(1, 1, true);
  EXPECT_THROW(p->Finish(), EFCreateError);
}

TEST_F(HTMLExportProvider, RegisteredAsKindTwoBeforeTextAndXml) {
  std::vector<int> kinds;
  for (const TcxExportProviderClass& c : TcxExport::RegisteredProviders())
    if (c.ExportKind() >= cxExportToHtml) kinds.push_back(c.ExportKind());
  EXPECT_EQ(kinds, (std::vector<int>{cxExportToHtml, cxExportToText, cxExportToXml}));
  auto created = TcxExport::CreateProvider(cxExportToHtml, FFolder.File("k.html"));
  EXPECT_NE(dynamic_cast<TcxHTMLExportProvider*>(created.get()), nullptr);
  EXPECT_TRUE(std::dynamic_pointer_cast<IcxExportProvider>(created)->AcceptsGraphics());
  EXPECT_NE(std::dynamic_pointer_cast<IcxCellInternalCache>(created), nullptr);
}

}  // namespace
}  // namespace kv
