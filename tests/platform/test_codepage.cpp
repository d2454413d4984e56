// Code-page conversions.
#include <gtest/gtest.h>

#include "platform/CodePage.h"

namespace kv {
namespace {

TEST(CodePage, GbkRoundTripAndReplacement) {
  const std::string text = "\xE4\xB8\xAD\xE6\x96\x87 abc";  // "中文 abc"
  std::string gbk = EncodeText(text, 936);
  EXPECT_EQ(gbk, std::string("\xD6\xD0\xCE\xC4 abc"));
  EXPECT_EQ(DecodeText(gbk, 936), text);
  // A character GBK lacks becomes one "?".
  EXPECT_EQ(EncodeText("a\xF0\x9F\x98\x80z", 936), "a?z");
  // A stray byte that does not decode becomes "?".
  EXPECT_EQ(DecodeText("\xFF" "a", 936), "?a");
}

TEST(CodePage, Utf16WithSurrogates) {
  std::string s = "A\xE4\xB8\xAD\xF0\x9F\x98\x80";
  std::u16string w = Utf8ToUtf16(s);
  ASSERT_EQ(w.size(), 4u);
  EXPECT_EQ(w[1], 0x4E2D);
  EXPECT_EQ(Utf16ToUtf8(w), s);
}

TEST(CodePage, EncodedLengthAgreesWithEncoding) {
  const char* texts[] = {"",
                         "plain ascii",
                         "\xE4\xB8\xAD\xE6\x96\x87 abc",       // CJK ideographs
                         "\xE4\xB8\x80\xE9\xBE\xA5",           // U+4E00 and U+9FA5, the range's ends
                         "\xE9\xBE\xA6",                        // U+9FA6, just outside
                         "\xE2\x82\xAC 5",                      // euro sign: one byte in CP936
                         "\xED\x95\x9C\xEA\xB5\xAD",           // Korean: not in GBK
                         "a\xF0\x9F\x98\x80z",                  // outside the BMP
                         "\xEF\xBC\x8C\xE3\x80\x82",           // full-width punctuation
                         "\xE4\xB8",                            // cut short
                         "\xC3\x84rger \xC3\x84\xC3\x84",          // U+00C4, two-byte UTF-8, repeated
                         "\xE3\x81\x82\xE3\x82\xA2",                // hiragana and katakana
                         "\xC0\x80 \xED\xA0\x80",                  // overlong NUL, a surrogate: not UTF-8
                         "\xEF\xBC\x88\xE5\x8C\x97\xEF\xBC\x89"};   // full-width brackets around an ideograph
  // Twice: the second time the lengths of characters already met are remembered ones.
  for (int round = 0; round < 2; ++round)
    for (int cp : {936, CP_UTF8, 950, 1252, 932, 949, 1251})
      for (const char* t : texts)
        EXPECT_EQ(EncodedLength(t, cp), EncodeText(t, cp).size()) << cp << " " << t << " round " << round;
}

}  // namespace
}  // namespace kv
