// Number and date texts of the platform.
#include <gtest/gtest.h>

#include "platform/SysUtils.h"

namespace kv {
namespace {

TEST(FloatToStr, GeneralFormatUpTo15Digits) {
  struct Case { double v; const char* text; };
  const Case cases[] = {{1.5, "1.5"},     {0.1, "0.1"},        {1e20, "1E20"},     {0, "0"},
                        {-2.25, "-2.25"}, {1.5e-5, "1.5E-5"},  {0.0001, "0.0001"}, {100, "100"},
                        {123456789012345.0, "123456789012345"}, {1e15, "1E15"},    {1.0 / 3, "0.333333333333333"},
                        {0.1 + 0.2, "0.3"}, {2.5e-4, "0.00025"}, {123456789012345678.0, "1.23456789012346E17"},
                        {1.7976931348623157e308, "1.79769313486232E308"}, {5e-324, "4.94065645841247E-324"},
                        {-9.99999999999999e-5, "-9.99999999999999E-5"}, {0.999999999999999949, "1"}};
  for (const Case& c : cases) EXPECT_EQ(FloatToStr(c.v), c.text) << c.v;
}

TEST(FormatFloat, SectionsThousandsAndLiterals) {
  struct Case { const char* fmt; double v; const char* text; };
  const Case cases[] = {
      {",0.00", 1234567.891, "1,234,567.89"},
      // Integer parts whose digit count is not a multiple of three.
      {",0.00", 15800, "15,800.00"},
      {"#,##0", 12345678, "12,345,678"},
      {"#,##0", 1234, "1,234"},
      {"#,##0", 123456, "123,456"},
      {"0.00", 2.675, "2.68"},
      {"0.##", 2.5, "2.5"},
      {"#,##0", 999.5, "1,000"},
      {"'$',0.00;('$',0.00)", -12.5, "($12.50)"},
      {"\xEF\xBF\xA5,0.00;\xEF\xBF\xA5-,0.00", -3, "\xEF\xBF\xA5-3.00"},
      {",0.00 'kg'", 5, "5.00 kg"},
      {"0.00", -0.001, "0.00"},
      {"0.00E+00", 12345, "1.23E+04"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatFloat(c.fmt, c.v), c.text) << c.fmt;
}

TEST(Dates, EncodeDecodeAndFormat) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1900, 2, 28), 60);
  EXPECT_EQ(EncodeDate(2026, 12, 10), 46366);
  TDateTime v = EncodeDate(2024, 2, 29) + EncodeTime(13, 5, 9, 0);
  EXPECT_EQ(DateTimeToStr(v), "2024-02-29 13:05:09");
  EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 3, 1)), "2024-03-01");
  int y, m, d;
  DecodeDate(EncodeDate(1600, 3, 1), y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 16000301);
  TDateTime parsed;
  ASSERT_TRUE(TryStrToDateTime("2024-02-29 13:05:09", parsed));
  EXPECT_DOUBLE_EQ(parsed, v);
  EXPECT_FALSE(TryStrToDateTime("2023-02-29", parsed));
}

}  // namespace
}  // namespace kv
