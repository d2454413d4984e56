// The XML writer: the document and the stylesheet byte for byte, style and
// cell attributes, character references, the dots pass, pictures, nested
// LINES, the declared code page and the characters XML does not allow.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "export/core/Export.h"
#include "platform/Bitmap.h"
#include "platform/CodePage.h"
#include "platform/Exceptions.h"
#include "platform/Streams.h"
#include "writers/text/TextWritersSupport.h"
#include "writers/xml/XMLExportProvider.h"
#include "writers/xml/XMLStylesheet.h"

namespace kv {
namespace {

using testing::TScratchFolder;

using testing::PlainStyle;

const std::string kPlainBorders =
    "<BORDER_LEFT IsDefault=\"False\" Width=\"1\" Color=\"rgb(160,160,160)\"/>\r\n"
    "<BORDER_UP IsDefault=\"False\" Width=\"1\" Color=\"rgb(160,160,160)\"/>\r\n"
    "<BORDER_RIGHT IsDefault=\"False\" Width=\"1\" Color=\"rgb(160,160,160)\"/>\r\n"
    "<BORDER_DOWN IsDefault=\"False\" Width=\"1\" Color=\"rgb(160,160,160)\"/>\r\n";

class XMLExportProvider : public ::testing::Test {
 protected:
  void SetUp() override { EnsureExportEngine(); }
  void TearDown() override {
    SetSystemCodePage(936);
    SetUnicodeRefsEnabled(true);
  }

  std::shared_ptr<TcxXMLExportProvider> Make(const std::string& AName = "data.xml") {
    auto p = TcxCustomExportProvider::Create<TcxXMLExportProvider>(FFolder.File(AName));
    p->DefineDefaultStyle(PlainStyle());
    return p;
  }
  // The dots pass, then the LINES element.
  static std::string Lines(TcxXMLExportProvider& AProvider) {
    TMemoryStream stream;
    AProvider.OutputCells(stream);
    EXPECT_EQ(stream.Data(), "") << "the first call only runs the dots pass";
    AProvider.OutputCells(stream);
    return stream.Data();
  }
  // The cell lines after the width line, without the LINES end tag.
  static std::string Rows(TcxXMLExportProvider& AProvider) {
    std::string lines = Lines(AProvider);
    size_t start = lines.find("</LINE>\r\n") + 9;
    return lines.substr(start, lines.rfind("</LINES>") - start);
  }
  // The text of the single cell of a 1 x 1 provider holding AText.
  std::string CellText(const std::string& AText, int ACharset = 0) {
    auto p = Make();
    p->DefineGrid(1, 1, true);
    TcxExportCellStyle style = PlainStyle();
    style.FontCharset = static_cast<uint32_t>(ACharset);
    p->ApplyStyle(0, 0, style);
    p->PutText(0, 0, AText);
    const std::string rows = Rows(*p);
    const size_t open = rows.find('>', rows.find("StyleClass=")) + 1;
    return rows.substr(open, rows.find("</CELL>") - open);
  }
  TScratchFolder FFolder;
};

TEST_F(XMLExportProvider, TwoColumnsThreeRowsDocumentByteForByte) {
  auto p = Make();
  p->DefineGrid(2, 3, true);
  p->DefineColumnWidth(0, 40);
  p->DefineColumnWidth(1, 60);
  p->PutText(0, 0, "Name");
  p->PutInteger(1, 0, 5);
  p->PutDouble(0, 1, 1.5);
  p->PutText(0, 2, "a&b");
  p->MergeCells(0, 2, 1, 2);
  p->Finish();

  const std::string style =
      " AlignText=\"Center\" CellPadding=\"0px\" FontName=\"Tahoma\" FontCharset=\"0\" Bold=\"False\""
      " Italic=\"False\" Underline=\"False\" StrikeOut=\"False\"";
  const std::string expected =
      "<?xml version=\"1.0\" encoding=\"GBK\"?>\r\n"
      "<?xml-stylesheet type=\"text/xsl\" href=\"" +
      FFolder.File("data.xsl") +
      "\"?>\r\n"
      "<CACHE>\r\n"
      "<TITLE>&#100;&#97;&#116;&#97;</TITLE>\r\n"
      "<STYLES>\r\n"
      // the reduced style of the empty cell
      "<STYLE Id=\"0\"" +
      style +
      " FontColor=\"rgb(0,0,0)\" FontSize=\"1\" BrushStyle=\"Solid\" BrushBkColor=\"rgb(255,255,255)\""
      " BrushFgColor=\"rgb(0,0,0)\">\r\n" +
      kPlainBorders +
      "</STYLE>\r\n"
      // its dot coloured like the background
      "<STYLE Id=\"1\"" +
      style +
      " FontColor=\"rgb(255,255,255)\" FontSize=\"1\" BrushStyle=\"Solid\" BrushBkColor=\"rgb(255,255,255)\""
      " BrushFgColor=\"rgb(0,0,0)\">\r\n" +
      kPlainBorders +
      "</STYLE>\r\n"
      "</STYLES>\r\n"
      "<LINES ColCount=\"2\" RowCount=\"3\">\r\n"
      "<LINE>\r\n<CELL Width=\"40\" Height=\"0\">\r\n</CELL>\r\n<CELL Width=\"60\" Height=\"0\">\r\n</CELL>\r\n"
      "</LINE>\r\n"
      "<LINE>\r\n<CELL Width=\"40\" Align=\"center\" StyleClass=\"-1\">Name</CELL>\r\n"
      "<CELL Width=\"60\" Align=\"center\" StyleClass=\"-1\">5</CELL>\r\n</LINE>"
      "<LINE>\r\n<CELL Width=\"40\" Align=\"center\" StyleClass=\"-1\">1.5</CELL>\r\n"
      "<CELL Width=\"60\" Align=\"center\" StyleClass=\"1\">.</CELL>\r\n</LINE>"
      "<LINE>\r\n<CELL Width=\"100\" Align=\"center\" ColSpan=\"2\" StyleClass=\"-1\">&#97;&#38;&#98;</CELL>\r\n"
      "</LINE></LINES></CACHE>";
  EXPECT_EQ(ReadFileBytes(FFolder.File("data.xml")), expected);
  EXPECT_EQ(p->StylesheetName(), Utf8ToUtf16(FFolder.File("data.xsl")));
  EXPECT_EQ(ReadFileBytes(FFolder.File("data.xsl")), XMLStylesheetText());
}

TEST_F(XMLExportProvider, StylesheetIsTheFixedTextOf121Lines) {
  const char* const text = R"(<?xml version="1.0"?>

<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
<xsl:template match="/">
<xsl:apply-templates select="CACHE" />
</xsl:template>

<xsl:template match="CACHE">
<html>
<head>
<xsl:apply-templates select="TITLE" />
<xsl:apply-templates select="STYLES" />
</head>
<body>
<xsl:apply-templates select="LINES" />
</body>
</html>
</xsl:template>

<xsl:template match="TITLE">
<title>
<xsl:value-of select="." />
</title>
</xsl:template>

<xsl:template match="STYLES">
<style type="text/css">
<xsl:apply-templates select="STYLE" />
</style>
</xsl:template>

<xsl:template match="STYLE">
.Style<xsl:value-of select="@Id" />
{ border-style: solid;
  padding: <xsl:value-of select="@CellPadding" />;
  font-family: <xsl:value-of select="@FontName" />;
  mso-font-charset: <xsl:value-of select="@FontCharset" />;
  font-size: <xsl:value-of select="@FontSize" />pt;
  color: <xsl:value-of select="@FontColor" />;
  background-color: <xsl:value-of select="@BrushBkColor" />;
<xsl:if test="@Bold='True'">
  font-weight: bold;
</xsl:if>
<xsl:if test="@Italic='True'">
  font-style: italic;
</xsl:if>
<xsl:if test="@Underline='True'">
  text-decoration: underline;
</xsl:if>
<xsl:if test="@StrikeOut='True'">
  text-decoration: line-through;
</xsl:if>
<xsl:apply-templates select="BORDER_LEFT" />
<xsl:apply-templates select="BORDER_UP" />
<xsl:apply-templates select="BORDER_RIGHT" />
<xsl:apply-templates select="BORDER_DOWN" />
}
</xsl:template>

<xsl:template match="BORDER_LEFT">
border-left-width: <xsl:value-of select="@Width" />px;
border-left-color: <xsl:value-of select="@Color" />;
</xsl:template>

<xsl:template match="BORDER_UP">
border-top-width: <xsl:value-of select="@Width" />px;
border-top-color: <xsl:value-of select="@Color" />;
</xsl:template>

<xsl:template match="BORDER_RIGHT">
border-right-width: <xsl:value-of select="@Width" />px;
border-right-color: <xsl:value-of select="@Color" />;
</xsl:template>

<xsl:template match="BORDER_DOWN">
border-bottom-width: <xsl:value-of select="@Width" />px;
border-bottom-color: <xsl:value-of select="@Color" />;
</xsl:template>

<xsl:template match="LINES">
<table border="0" cellspacing="0">
<xsl:apply-templates select="LINE" />
</table>
</xsl:template>

<xsl:template match="LINE">
<tr>
<xsl:apply-templates select="CELL" />
</tr>
</xsl:template>

<xsl:template match="CELL">
<td>
<xsl:attribute name="nowrap"></xsl:attribute>
<xsl:attribute name="width"><xsl:value-of select="@Width" /></xsl:attribute>
<xsl:attribute name="height"><xsl:value-of select="@Height" /></xsl:attribute>
<xsl:attribute name="align"><xsl:value-of select="@Align" /></xsl:attribute>
<xsl:attribute name="colspan"><xsl:value-of select="@ColSpan" /></xsl:attribute>
<xsl:attribute name="rowspan"><xsl:value-of select="@RowSpan" /></xsl:attribute>
<xsl:attribute name="class">Style<xsl:value-of select="@StyleClass" /></xsl:attribute>
<xsl:choose>
<xsl:when test="LINES">
<xsl:apply-templates select="LINES" />
</xsl:when>
<xsl:when test="IMAGE">
<xsl:apply-templates select="IMAGE" />
</xsl:when>
<xsl:otherwise>
<xsl:value-of select="." />
</xsl:otherwise>
</xsl:choose>
</td>
</xsl:template>

<xsl:template match="IMAGE">
<img>
<xsl:attribute name="src"><xsl:value-of select="@Src" /></xsl:attribute>
</img>
</xsl:template>

</xsl:stylesheet>
)";
  std::string expected;
  int lines = 0;
  for (const char* c = text; *c; ++c) {
    if (*c == '\n') {
      expected += "\r\n";
      ++lines;
    } else {
      expected += *c;
    }
  }
  EXPECT_EQ(lines, 121);
  EXPECT_EQ(XMLStylesheetText(), expected);
}

TEST_F(XMLExportProvider, StyleAttributes) {
  struct Case {
    const char* what;
    std::function<void(TcxExportCellStyle&)> change;
    std::string expected;
  };
  const std::string tail =
      " FontCharset=\"0\" Bold=\"False\" Italic=\"False\" Underline=\"False\" StrikeOut=\"False\""
      " FontColor=\"rgb(0,0,0)\" FontSize=\"8\" BrushStyle=\"Solid\" BrushBkColor=\"rgb(255,255,255)\""
      " BrushFgColor=\"rgb(0,0,0)\"";
  const std::vector<Case> cases = {
      {"plain", [](auto&) {}, "AlignText=\"Center\" CellPadding=\" 3\" FontName=\"Tahoma\"" + tail},
      {"left", [](auto& s) { s.AlignText = catLeft; },
       "AlignText=\"Left\" CellPadding=\" 3\" FontName=\"Tahoma\"" + tail},
      {"right, font size 1",
       [](auto& s) {
         s.AlignText = catRight;
         s.FontSize = 1;
       },
       "AlignText=\"Right\" CellPadding=\"0px\" FontName=\"Tahoma\" FontCharset=\"0\" Bold=\"False\" Italic=\"False\""
       " Underline=\"False\" StrikeOut=\"False\" FontColor=\"rgb(0,0,0)\" FontSize=\"1\" BrushStyle=\"Solid\""
       " BrushBkColor=\"rgb(255,255,255)\" BrushFgColor=\"rgb(0,0,0)\""},
      {"unknown alignment and brush, all font bits, Chinese font name, colours",
       [](auto& s) {
         s.AlignText = 7;
         s.BrushStyle = 5;
         s.FontStyle = cfsBold | cfsItalic | cfsUnderline | cfsStrikeOut;
         s.SetFontName("宋体");
         s.FontCharset = 134;
         s.FontColor = RGB(1, 2, 3);
         s.BrushBkColor = RGB(4, 5, 6);
         s.BrushFgColor = RGB(7, 8, 9);
       },
       "AlignText=\"\" CellPadding=\" 3\" FontName=\"&#23435;&#20307;\" FontCharset=\"134\" Bold=\"True\""
       " Italic=\"True\" Underline=\"True\" StrikeOut=\"True\" FontColor=\"rgb(1,2,3)\" FontSize=\"8\""
       " BrushStyle=\"\" BrushBkColor=\"rgb(4,5,6)\" BrushFgColor=\"rgb(7,8,9)\""},
      {"clear brush, font name with a space",
       [](auto& s) {
         s.BrushStyle = cbsClear;
         s.SetFontName("MS Sans Serif");
       },
       "AlignText=\"Center\" CellPadding=\" 3\" FontName=\"MS Sans Serif\" FontCharset=\"0\" Bold=\"False\""
       " Italic=\"False\" Underline=\"False\" StrikeOut=\"False\" FontColor=\"rgb(0,0,0)\" FontSize=\"8\""
       " BrushStyle=\"Clear\" BrushBkColor=\"rgb(255,255,255)\" BrushFgColor=\"rgb(0,0,0)\""},
  };
  for (const Case& c : cases) {
    TcxExportCellStyle s = PlainStyle();
    c.change(s);
    EXPECT_EQ(TcxXMLExportProvider::StyleAttributes(s), c.expected) << c.what;
  }
}

TEST_F(XMLExportProvider, DefaultBordersKeepTheirOwnWidthAndColour) {
  TcxExportCellStyle s = PlainStyle();
  s.CellBorders[cxBorderLeft] = {1, 5, RGB(1, 2, 3)};
  s.CellBorders[cxBorderBottom] = {0, 0, RGB(9, 9, 9)};
  EXPECT_EQ(TcxXMLExportProvider::BorderElements(s),
            "<BORDER_LEFT IsDefault=\"True\" Width=\"5\" Color=\"rgb(1,2,3)\"/>\r\n"
            "<BORDER_UP IsDefault=\"False\" Width=\"1\" Color=\"rgb(160,160,160)\"/>\r\n"
            "<BORDER_RIGHT IsDefault=\"False\" Width=\"1\" Color=\"rgb(160,160,160)\"/>\r\n"
            "<BORDER_DOWN IsDefault=\"False\" Width=\"0\" Color=\"rgb(9,9,9)\"/>\r\n");
}

TEST_F(XMLExportProvider, CellTextsAndCharacterReferences) {
  struct Case {
    const char* what;
    std::string text;
    int charset;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"safe set unchanged", "Name (1.5) x_y: a,b;c/d-e+f*g!", 0, "Name (1.5) x_y: a,b;c/d-e+f*g!"},
      {"ampersand", "a&b", 0, "&#97;&#38;&#98;"},
      {"less-than", "<", 0, "&#60;"},
      {"Chinese with its character set", "中a", 134, "&#20013;&#97;"},
      {"tab, CR and LF are allowed", "a\tb\r\nc", 0, "&#97;&#9;&#98;&#13;&#10;&#99;"},
      {"control characters XML does not allow become ?",
       std::string("a\x01"
                   "b\x0B\x1F",
                   5),
       0, "&#97;&#63;&#98;&#63;&#63;"},
      {"an embedded zero becomes ?", std::string("x\0y", 3), 0, "&#120;&#63;&#121;"},
      {"U+FFFE and U+FFFF become ?", "\xEF\xBF\xBE\xEF\xBF\xBF", 0, "&#63;&#63;"},
      {"a character beyond the BMP is one reference", "笑\xF0\x9F\x98\x80", 0, "&#31505;&#128512;"},
      {"a single dot", ".", 0, "."},
  };
  for (const Case& c : cases) EXPECT_EQ(CellText(c.text, c.charset), c.expected) << c.what;

  // An unpaired surrogate of a wide text: the conversion to 8-bit text makes
  // it U+FFFD; given as UTF-16 directly (titles), it becomes "?".
  std::string direct;
  AppendXmlCharRefs(direct, std::u16string(u"\xD800x\xDC00"));
  EXPECT_EQ(direct, "&#63;&#120;&#63;");
  auto p = Make();
  p->DefineGrid(1, 1, true);
  p->ApplyStyle(0, 0, PlainStyle());
  p->PutWideText(0, 0, std::u16string(u"\xD800x"));
  const std::string rows = Rows(*p);
  EXPECT_NE(rows.find(">&#65533;&#120;</CELL>"), std::string::npos) << rows;
}

TEST_F(XMLExportProvider, ValuesAndCellAttributes) {
  auto p = Make();
  p->DefineGrid(4, 3, true);
  p->DefineColumnWidth(1, 25);
  p->DefineColumnWidth(2, 30);
  TcxExportCellStyle left = PlainStyle(), right = PlainStyle(), odd = PlainStyle();
  left.AlignText = catLeft;
  right.AlignText = catRight;
  odd.AlignText = 9;
  p->ApplyStyle(0, 0, left);
  p->PutWideText(0, 0, u"ab");
  p->ApplyStyle(1, 0, right);
  p->PutDouble(1, 0, -0.25);
  p->ApplyStyle(2, 0, odd);
  p->PutInteger(2, 0, -12);
  p->PutText(3, 0, "x");
  p->PutText(0, 1, "v");
  p->MergeCells(0, 1, 2, 1);  // two rows, one column: no ColSpan
  p->PutText(1, 1, "w");
  p->MergeCells(1, 1, 2, 3);  // two rows, three columns
  EXPECT_EQ(Rows(*p),
            "<LINE>\r\n"
            "<CELL Align=\"left\" StyleClass=\"0\">ab</CELL>\r\n"
            "<CELL Width=\"25\" Align=\"right\" StyleClass=\"1\">-0.25</CELL>\r\n"
            "<CELL Width=\"30\" Align=\"\" StyleClass=\"2\">-12</CELL>\r\n"
            "<CELL Align=\"center\" StyleClass=\"-1\">x</CELL>\r\n"
            "</LINE><LINE>\r\n"
            "<CELL Align=\"center\" RowSpan=\"2\" StyleClass=\"-1\">v</CELL>\r\n"
            "<CELL Width=\"55\" Align=\"center\" ColSpan=\"3\" RowSpan=\"2\" StyleClass=\"-1\">w</CELL>\r\n"
            "</LINE><LINE>\r\n"
            "</LINE>");
}

TEST_F(XMLExportProvider, DotsPassColoursEveryDotLikeItsBackground) {
  auto p = Make();
  p->DefineGrid(5, 1, true);
  TcxExportCellStyle green = PlainStyle();
  green.BrushBkColor = RGB(0, 200, 0);
  green.FontColor = RGB(1, 1, 1);
  for (int c = 0; c < 5; ++c) p->ApplyStyle(c, 0, green);
  TBitmap bitmap(2, 2);
  p->PutText(0, 0, ".");
  p->PutWideText(1, 0, u".");
  p->PutText(2, 0, "..");
  p->PutGraphic(3, 0, bitmap);
  // (4, 0) has no value
  const std::string rows = Rows(*p);
  EXPECT_FALSE(p->DotsPending());
  for (int c = 0; c < 5; ++c) {
    const TcxExportCellStyle& style = *p->CellStyleAt(c, 0);
    const bool dot = c != 2;
    EXPECT_EQ(style.FontColor, dot ? RGB(0, 200, 0) : RGB(1, 1, 1)) << "column " << c;
    EXPECT_EQ(style.FontSize, c == 4 ? 1 : 8) << "column " << c;
  }
  EXPECT_NE(rows.find("><IMAGE Src=\"data.images/data_0.bmp\"></IMAGE>.</CELL>\r\n"), std::string::npos) << rows;
  EXPECT_NE(rows.find(">..</CELL>"), std::string::npos) << rows;
}

TEST_F(XMLExportProvider, PicturesAreWrittenBesideTheDocumentWithEscapedSources) {
  ASSERT_EQ(ImageProviderCount(), 0);
  auto p = Make("a&b.xml");
  p->DefineGrid(2, 1, true);
  TBitmap red(3, 2), blue(2, 3);
  red.Fill(RGB(255, 0, 0));
  blue.Fill(RGB(0, 0, 255));
  p->PutGraphic(0, 0, red);
  p->PutGraphic(1, 0, blue);
  p->Finish();
  const std::string document = ReadFileBytes(FFolder.File("a&b.xml"));
  EXPECT_NE(document.find("<IMAGE Src=\"a&amp;b.images/a&amp;b_0.bmp\"></IMAGE>"), std::string::npos);
  EXPECT_NE(document.find("<IMAGE Src=\"a&amp;b.images/a&amp;b_1.bmp\"></IMAGE>"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(FFolder.File("a&b.images/a&b_0.bmp")), red.SaveToBytes());
  EXPECT_EQ(ReadFileBytes(FFolder.File("a&b.images/a&b_1.bmp")), blue.SaveToBytes());
  EXPECT_NE(document.find("<TITLE>&#97;&#38;&#98;</TITLE>"), std::string::npos);
}

TEST_F(XMLExportProvider, NestedLinesInsideTheMasterCellWithStylesFromBothDotsPasses) {
  auto master = Make();
  master->DefineGrid(2, 1, true);
  master->PutText(1, 0, "m");
  auto detail = Make();  // same target: shares the styles
  detail->DefineGrid(2, 1, true);
  TcxExportCellStyle yellow = PlainStyle();
  yellow.BrushBkColor = RGB(255, 255, 0);
  detail->ApplyStyle(1, 0, yellow);  // empty: a dot on yellow
  detail->PutText(0, 0, "d");
  master->PutCellCache(0, 0, detail);

  master->Finish();
  EXPECT_FALSE(detail->DotsPending()) << "the master's dots pass runs the detail's";
  const std::string document = ReadFileBytes(FFolder.File("data.xml"));
  yellow.FontSize = 1;
  yellow.FontColor = yellow.BrushBkColor;
  const int dotStyle = master->AddStyle(yellow);  // already registered by the detail's dots pass
  EXPECT_NE(document.find("<STYLE Id=\"" + std::to_string(dotStyle) + "\" " +
                          TcxXMLExportProvider::StyleAttributes(yellow) + ">"),
            std::string::npos);
  const int masterCell = master->CellItem(0, 0).StyleNo;
  EXPECT_NE(document.find("<LINE>\r\n<CELL Align=\"center\" StyleClass=\"" + std::to_string(masterCell) +
                          "\"><LINES ColCount=\"2\" RowCount=\"1\">\r\n"
                          "<LINE>\r\n<CELL Width=\"0\" Height=\"0\">\r\n</CELL>\r\n<CELL Width=\"0\" Height=\"0\">\r\n"
                          "</CELL>\r\n</LINE>\r\n"
                          "<LINE>\r\n<CELL Align=\"center\" StyleClass=\"-1\">d</CELL>\r\n"
                          "<CELL Align=\"center\" StyleClass=\"" +
                          std::to_string(dotStyle) +
                          "\">.</CELL>\r\n</LINE></LINES></CELL>\r\n"
                          "<CELL Align=\"center\" StyleClass=\"-1\">m</CELL>\r\n</LINE></LINES></CACHE>"),
            std::string::npos)
      << document;
}

TEST_F(XMLExportProvider, DeclaredEncodingFollowsTheSystemCodePage) {
  const std::string folder = FFolder.File("导出");
  std::filesystem::create_directory(folder);
  {
    auto p = TcxCustomExportProvider::Create<TcxXMLExportProvider>(folder + "/数据.xml");
    p->DefineGrid(1, 1, true);
    p->Finish();
  }
  const std::string gbk = ReadFileBytes(folder + "/数据.xml");
  EXPECT_EQ(gbk.find("<?xml version=\"1.0\" encoding=\"GBK\"?>\r\n"), 0u);
  EXPECT_NE(gbk.find("href=\"" + EncodeText(folder + "/数据.xsl", 936) + "\"?>"), std::string::npos);
  EXPECT_NE(gbk.find("<TITLE>&#25968;&#25454;</TITLE>"), std::string::npos);

  SetSystemCodePage(CP_UTF8);
  {
    auto p = TcxCustomExportProvider::Create<TcxXMLExportProvider>(folder + "/u.xml");
    p->DefineGrid(1, 1, true);
    p->Finish();
  }
  const std::string utf8 = ReadFileBytes(folder + "/u.xml");
  EXPECT_EQ(utf8.find("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"), 0u);
  EXPECT_NE(utf8.find("href=\"" + folder + "/u.xsl\"?>"), std::string::npos);
}

TEST_F(XMLExportProvider, TitleWithoutReferencesIsEscaped) {
  SetUnicodeRefsEnabled(false);
  auto p = Make("R&D <1>\x01.xml");
  p->DefineGrid(1, 1, true);
  p->Finish();
  const std::string document = ReadFileBytes(FFolder.File("R&D <1>\x01.xml"));
  EXPECT_NE(document.find("<TITLE>R&amp;D &lt;1&gt;?</TITLE>"), std::string::npos);

  SetUnicodeRefsEnabled(true);
  auto q = Make("笑\xF0\x9F\x98\x80.xml");
  q->DefineGrid(1, 1, true);
  q->Finish();
  EXPECT_NE(ReadFileBytes(FFolder.File("笑\xF0\x9F\x98\x80.xml")).find("<TITLE>&#31505;&#128512;</TITLE>"),
            std::string::npos);
}

TEST_F(XMLExportProvider, StylesheetThatCannotBeCreatedLeavesAnEmptyDocument) {
  std::filesystem::create_directory(FFolder.File("data.xsl"));
  auto p = Make();
  p->DefineGrid(1, 1, true);
  p->PutText(0, 0, "x");
  EXPECT_THROW(p->Finish(), EFCreateError);
  EXPECT_EQ(ReadFileBytes(FFolder.File("data.xml")), "");
}

TEST_F(XMLExportProvider, RegisteredAsKindThree) {
  auto created = TcxExport::CreateProvider(cxExportToXml, FFolder.File("k.xml"));
  EXPECT_NE(dynamic_cast<TcxXMLExportProvider*>(created.get()), nullptr);
  EXPECT_TRUE(std::dynamic_pointer_cast<IcxExportProvider>(created)->AcceptsGraphics());
  EXPECT_NE(std::dynamic_pointer_cast<IcxCellInternalCache>(created), nullptr);
}

}  // namespace
}  // namespace kv
