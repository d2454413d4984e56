// The routines the HTML, XML and text writers share.
#include <gtest/gtest.h>

#include "TextWritersSupport.h"
#include "export/core/Export.h"
#include "platform/Bitmap.h"
#include "platform/Files.h"
#include "platform/Streams.h"
#include "writers/text/HtmlXmlTxtRoutines.h"

namespace kv {
namespace {

using testing::TScratchFolder;

TEST(HtmlXmlTxtRoutines, CssRgbTakesRedFromTheLowByte) {
  EXPECT_EQ(CssRgb(RGB(1, 2, 3)), "rgb(1,2,3)");
  EXPECT_EQ(CssRgb(0x00FFFFFF), "rgb(255,255,255)");
  EXPECT_EQ(CssRgb(0x000000FF), "rgb(255,0,0)");
  EXPECT_EQ(CssRgb(0xFF000000), "rgb(0,0,0)");  // the high byte is not a colour part
}

TEST(HtmlXmlTxtRoutines, EscapeAndLineBreaks) {
  struct Case {
    const char* in;
    const char* escaped;
    const char* broken;
  };
  const Case cases[] = {
      {"a<b\r\nc", "a&lt;b\r\nc", "a<b<BR>c"},
      {"x>&\"'y", "x&gt;&amp;&quot;'y", "x>&\"'y"},
      {"lone\rcr", "lone\rcr", "lone\rcr"},
      {"lone\nlf", "lone\nlf", "lone<BR>lf"},
      {"\n\r", "\n\r", "<BR>\r"},
      {"\r\r\n\n", "\r\r\n\n", "\r<BR><BR>"},
      {"中<文>", "中&lt;文&gt;", "中<文>"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EscapeHtmlText(c.in), c.escaped) << c.in;
    EXPECT_EQ(LineBreaksToBR(c.in), c.broken) << c.in;
  }
  EXPECT_EQ(LineBreaksToBR(EscapeHtmlText("a<b\r\nc")), "a&lt;b<BR>c");
}

TEST(HtmlXmlTxtRoutines, CharsetCharRefsOnlyForTextOutsideTheSafeSet) {
  EXPECT_EQ(CharsetCharRefs("Name (1.5) x_y: a,b;c/d-e+f*g!", 0), "Name (1.5) x_y: a,b;c/d-e+f*g!");
  EXPECT_EQ(CharsetCharRefs("a&b", 0), "&#97;&#38;&#98;");
  EXPECT_EQ(CharsetCharRefs("<", 134), "&#60;");
  EXPECT_EQ(CharsetCharRefs("中a", 134), "&#20013;&#97;");
  EXPECT_EQ(CharsetCharRefs("\xF0\x9F\x98\x80", 0), "&#55357;&#56832;");  // one code unit each
  EXPECT_EQ(CharsetCharRefs("", 0), "");
}

TEST(HtmlXmlTxtRoutines, TitleCharRefsFollowsTheSwitch) {
  const bool saved = UnicodeRefsEnabled();
  SetUnicodeRefsEnabled(true);
  EXPECT_EQ(TitleCharRefs(u"数据a"), "&#25968;&#25454;&#97;");
  SetUnicodeRefsEnabled(false);
  EXPECT_EQ(TitleCharRefs(u"数据a"), "数据a");
  SetUnicodeRefsEnabled(saved);
}

TEST(HtmlXmlTxtRoutines, SaveImageFileWritesThePictureBesideTheTarget) {
  TScratchFolder folder;
  const std::string target = folder.File("report.html");
  TBitmap bitmap(3, 1);
  bitmap.Fill(RGB(200, 100, 50));
  std::string packed;
  PackGraphic(target, bitmap, packed);
  std::string name, bytes;
  UnpackGraphic(packed, name, bytes);
  const std::string relative = name.substr(folder.Path().size() + 1);  // report.images/report_N.bmp
  ASSERT_EQ(relative.rfind("report.images/report_", 0), 0u) << relative;

  EXPECT_EQ(SaveImageFile(folder.Path() + "/", packed, true), "<img src=\"" + relative + "\"></img>");
  EXPECT_TRUE(DirectoryExists(folder.File("report.images")));
  EXPECT_EQ(ReadFileBytes(name), bitmap.SaveToBytes());

  // Written again over the existing file, answered without the element.
  TBitmap other(1, 1);
  std::string repacked = packed.substr(0, 4 + name.size()) + other.SaveToBytes();
  EXPECT_EQ(SaveImageFile(folder.Path() + "/", repacked, false), relative);
  EXPECT_EQ(ReadFileBytes(name), other.SaveToBytes());
}

TEST(HtmlXmlTxtRoutines, SaveImageFileFailures) {
  TScratchFolder folder;
  TBitmap bitmap(1, 1);
  std::string packed;
  // Only the last folder level is created.
  PackGraphic(folder.File("missing/page.html"), bitmap, packed);
  EXPECT_THROW(SaveImageFile(folder.Path() + "/missing/", packed, true), EFCreateError);
  EXPECT_FALSE(DirectoryExists(folder.File("missing")));
  // A packed value cut short.
  EXPECT_THROW(SaveImageFile(folder.Path() + "/", std::string("\x09\0\0\0ab", 6), true), Exception);
}

}  // namespace
}  // namespace kv
