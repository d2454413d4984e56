// Hash, character sets, text and path helpers, picture names and packing,
// the currency format.
#include <gtest/gtest.h>

#include "EngineFixture.h"
#include "platform/Bitmap.h"
#include "platform/SysUtils.h"

namespace kv::testing {
namespace {

TEST(ExportHashTest, RotatesLeftByFiveAndXorsEachByte) {
  EXPECT_EQ(ExportHash("A", 1), 0x41u);
  EXPECT_EQ(ExportHash("AB", 2), 0x862u);
  // Seven 0xFF bytes: the high bits wrap around into the low ones.
  EXPECT_EQ(ExportHash(std::string(7, '\xFF')), 0x318C6321u);
  EXPECT_EQ(ExportHash(std::string(1, '\x80')), 0x80u);  // bytes are unsigned
}

TEST(Charsets, TableAndSystemDefault) {
  const std::pair<int, int> cases[] = {{128, 932},  {129, 949},  {130, 949},  {134, 936},  {136, 950},
                                       {161, 1253}, {162, 1254}, {177, 1255}, {178, 1256}, {186, 1257},
                                       {204, 1251}, {222, 874},  {238, 1250}, {0, 0},      {1, 0},
                                       {2, 0},      {255, 0},    {135, 0},    {-1, 0}};
  for (auto [charset, codePage] : cases) EXPECT_EQ(CharsetToCodePage(charset), codePage) << charset;
}

TEST(TextHelpers, WideConversionsAndSpecialChars) {
  EXPECT_EQ(AnsiToWideText("数据 ok", 134), u"数据 ok");
  EXPECT_EQ(WideToAnsiText(u"数据 ok", 0), "数据 ok");
  EXPECT_EQ(AnsiToWideText("😀", 0), u"😀");  // a surrogate pair

  struct Case {
    const char* text;
    bool loose, strict;
  };
  const Case cases[] = {
      {"", false, false},   {"Abc_09 !()*+,-./:;", false, false}, {"a&b", false, true},
      {"a<b", false, true}, {"tab\there", false, true},           {"quote\"", false, true},
      {"数据", true, true}, {"caf\xC3\xA9", true, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HasSpecialChars(c.text, false), c.loose) << c.text;
    EXPECT_EQ(HasSpecialChars(c.text, true), c.strict) << c.text;
  }
}

TEST(PathHelpers, NativeSeparatorsNamesAndExtensions) {
  EXPECT_EQ(NormalizeExportPath("C:\\out/sub\\数据.html"), u"C:/out/sub/数据.html");
  EXPECT_EQ(WideExtractFileName(u"/out/sub/list.html"), u"list.html");
  EXPECT_EQ(WideExtractFileName(u"list.html"), u"list.html");
  EXPECT_EQ(WideExtractFileName(u"/out/"), u"");

  struct Case {
    const char16_t* name;
    const char16_t* ext;
    const char16_t* result;
  };
  const Case cases[] = {
      {u"report", u".xsl", u"report.xsl"},
      {u"a.b.xml", u".xsl", u"a.b.xsl"},
      {u"/out/list.html", u".images", u"/out/list.images"},
      {u"/out.d/list", u".images", u"/out.d/list.images"},  // a dot in a folder is no extension
      {u".profile", u".bak", u".profile.bak"},              // nor is a leading dot
      {u"/out/.profile", u"", u"/out/.profile"},
      {u"list.html", u"", u"list"},
  };
  for (const Case& c : cases) EXPECT_EQ(WideChangeFileExt(c.name, c.ext), c.result);
}

TEST(PictureNames, NumberedPerTargetAndResetWithTheLastProvider) {
  ASSERT_EQ(ImageProviderCount(), 0);
  TrackImageProvider(true);
  EXPECT_EQ(ImageFileName("/out/list.html", "bmp"), "/out/list.images/list_0.bmp");
  EXPECT_EQ(ImageFileName("/out/list.html", "bmp"), "/out/list.images/list_1.bmp");
  TrackImageProvider(true);  // a nested provider shares the counter
  EXPECT_EQ(ImageFileName("C:\\out\\数据.xml", "jpg"), "C:/out/数据.images/数据_2.jpg");
  TrackImageProvider(false);
  EXPECT_EQ(ImageFileName("/out/list.html", "bmp"), "/out/list.images/list_3.bmp");
  TrackImageProvider(false);
  EXPECT_EQ(ImageFileCounter(), 0);
  TrackImageProvider(true);
  EXPECT_EQ(ImageFileName("/out/list.html", "bmp"), "/out/list.images/list_0.bmp");
  TrackImageProvider(false);
  TrackImageProvider(false);  // one release too many does not go below zero
  EXPECT_EQ(ImageProviderCount(), 0);
}

TEST(PictureNames, PackAndUnpackAPicture) {
  TrackImageProvider(true);
  TBitmap bitmap(3, 2);
  bitmap.SetPixel(2, 1, RGB(1, 2, 3));
  std::string packed;
  PackGraphic("/out/list.html", bitmap, packed);
  const std::string name = "/out/list.images/list_0.bmp";
  ASSERT_GE(packed.size(), 4 + name.size());
  EXPECT_EQ(packed.substr(0, 4), std::string("\x1B\0\0\0", 4));  // 27, little-endian
  std::string imageName, imageBytes;
  UnpackGraphic(packed, imageName, imageBytes);
  EXPECT_EQ(imageName, name);
  EXPECT_EQ(imageBytes, bitmap.SaveToBytes());
  TBitmap back;
  back.LoadFromBytes(imageBytes);
  EXPECT_EQ(back.Pixel(2, 1), RGB(1, 2, 3));
  EXPECT_THROW(UnpackGraphic(packed.substr(0, 20), imageName, imageBytes), EReadError);
  EXPECT_THROW(UnpackGraphic("ab", imageName, imageBytes), EReadError);
  TrackImageProvider(false);
}

TEST(CurrencyFormat, AllSixteenNegativeFormats) {
  // Symbol "$", 2 decimals, positive format 0; the value -1234.5.
  const char* expected[16] = {"($1,234.50)", "-$1,234.50",  "$-1,234.50",   "$1,234.50-",  "(1,234.50$)", "-1,234.50$",
                              "1,234.50-$",  "1,234.50$-",  "-1,234.50 $",  "-$ 1,234.50", "1,234.50 $-", "$ 1,234.50-",
                              "$ -1,234.50", "1,234.50- $", "($ 1,234.50)", "(1,234.50 $)"};
  const char* formats[16] = {"$,0.00;($,0.00)", "$,0.00;-$,0.00",  "$,0.00;$-,0.00",   "$,0.00;$,0.00-",
                             "$,0.00;(,0.00$)", "$,0.00;-,0.00$",  "$,0.00;,0.00-$",   "$,0.00;,0.00$-",
                             "$,0.00;-,0.00 $", "$,0.00;-$ ,0.00", "$,0.00;,0.00 $-",  "$,0.00;$ ,0.00-",
                             "$,0.00;$ -,0.00", "$,0.00;,0.00- $", "$,0.00;($ ,0.00)", "$,0.00;(,0.00 $)"};
  TFormatSettings settings;
  settings.CurrencyString = "$";
  for (int i = 0; i < 16; ++i) {
    settings.NegCurrFormat = i;
    std::string format = BuildCurrencyExportFormat(settings);
    EXPECT_EQ(format, formats[i]) << i;
    EXPECT_EQ(FormatFloat(format, -1234.5), expected[i]) << i;
    EXPECT_EQ(FormatFloat(format, 1234.5), "$1,234.50") << i;
  }
  settings.NegCurrFormat = 16;
  EXPECT_EQ(BuildCurrencyExportFormat(settings), "$,0.00;");
}

TEST(CurrencyFormat, PositiveFormatsSymbolQuotingAndDecimals) {
  TFormatSettings settings;
  settings.CurrencyString = "kr.";
  settings.NegCurrFormat = 1;
  const char* positive[] = {"kr'.',0.00", ",0.00kr'.'", "kr'.' ,0.00", ",0.00 kr'.'", ""};
  for (int i = 0; i < 5; ++i) {
    settings.CurrencyFormat = i;
    EXPECT_EQ(BuildCurrencyExportFormat(settings), std::string(positive[i]) + ";-kr'.',0.00") << i;
  }
  settings.CurrencyFormat = 3;
  EXPECT_EQ(FormatFloat(BuildCurrencyExportFormat(settings), 5), "5.00 kr.");
  settings.CurrencyString = "";
  settings.CurrencyDecimals = 0;
  EXPECT_EQ(BuildCurrencyExportFormat(settings), ";-,0.");
  settings.CurrencyString = "1,2";
  settings.CurrencyDecimals = 3;
  settings.CurrencyFormat = 0;
  EXPECT_EQ(BuildCurrencyExportFormat(settings), "1','2,0.000;-1','2,0.000");
}

using EngineSettings = ExportEngineTest;

TEST_F(EngineSettings, StartUpBuildsTheCurrencyFormatFromTheLocaleAndTurnsUnicodeRefsOn) {
  EXPECT_EQ(CurrencyExportFormat(), "￥,0.00;￥-,0.00");
  EXPECT_EQ(FormatFloat(CurrencyExportFormat(), -1234.5), "￥-1,234.50");
  EXPECT_TRUE(UnicodeRefsEnabled());
}

}  // namespace
}  // namespace kv::testing
