// The text-metrics model: pixel sizes by the documented formulas, widths per
// character class, bold and italic, invalid UTF-8, word wrapping; and the
// field display formats and the reading of other records that the grid uses.
#include <gtest/gtest.h>

#include "platform/DBFields.h"
#include "platform/MemDataSet.h"
#include "platform/TextMetrics.h"

namespace kv {
namespace {

TFont FontOf(int ASize, TFontStyles AStyle = 0) {
  TFont font;
  font.Size = ASize;
  font.Style = AStyle;
  return font;
}

TEST(TextMetrics, SizesFollowTheFormulas) {
  struct Case {
    int Size, Em, Height;
  } cases[] = {{9, 12, 15}, {8, 11, 13}, {10, 13, 16}, {12, 16, 20}, {0, 0, 0}, {72, 96, 120}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Size);
    TFont font = FontOf(c.Size);
    EXPECT_EQ(FontPixelSize(font), c.Em);
    EXPECT_EQ(TextHeight(font), c.Height);
    EXPECT_EQ(font.Height(), -c.Em);
  }
  EXPECT_EQ(DefaultFont().Name, "宋体");
  EXPECT_EQ(DefaultFont().Size, 9);
}

TEST(TextMetrics, WidthsByCharacterClass) {
  TFont font = FontOf(9);  // em 12
  struct Case {
    const char* Text;
    int Width;
  } cases[] = {
      {"", 0},         {"Wg", 9 + 7},    {"合计", 24},     {"1,234.50", 7 * 6 + 4 * 2},
      {"il .", 4 * 4}, {"m@%", 27},      {"ＡＢ", 24},     {"あア한", 36},
      {"a\tb", 21},    {"\xFF\xFE", 14}, {"\xE5\x90", 14},  // a cut-short sequence: one "other" character per byte
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(TextWidth(font, c.Text), c.Width);
  }
  EXPECT_EQ(TextWidth(FontOf(9, fsBold), "合计A"), 12 + 12 + 9 + 3);
  EXPECT_EQ(TextWidth(FontOf(9, fsItalic), "ab"), 15);
  EXPECT_EQ(TextWidth(FontOf(9, fsItalic), ""), 0);
  EXPECT_EQ(TextExtent(FontOf(12), "x"), (TSize{9, 20}));
}

TEST(TextMetrics, WordWrapping) {
  TFont font = FontOf(9);  // "ab" = 14, blank = 4
  struct Case {
    const char* Text;
    int Width;
    int Lines;
  } cases[] = {
      {"", 100, 1},          {"ab ab ab", 32, 2},  // "ab ab" = 32 fits, the third word wraps
      {"ab ab ab", 31, 3},                         // only one word per line
      {"ab ab ab", 1000, 1}, {"ab\r\nab\nab\rab", 1000, 4},
      {"abcdefgh", 21, 3},  // 8 x 7 pixels broken between characters: 3 + 3 + 2
      {"合计合计", 30, 2},  // wide characters break anywhere: 2 + 2
      {"ab", 0, 2},         // no width: a character per line
      {"ab   ", 14, 1},     // trailing blanks do not make a line
      {"\n", 100, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Text) + " / " + std::to_string(c.Width));
    EXPECT_EQ(WrappedLineCount(font, c.Text, c.Width), c.Lines);
    EXPECT_EQ(WrappedTextHeight(font, c.Text, c.Width), c.Lines * 15);
  }
}

TEST(FieldDisplay, FormatsAlignmentsAndReadingOtherRecords) {
  TMemDataSet ds;
  ds.FieldDefs().Add("N", ftFloat);
  ds.FieldDefs().Add("D", ftDate);
  ds.FieldDefs().Add("S", ftString, 10);
  ds.CreateDataSet();
  for (int i = 0; i < 3; ++i) {
    ds.Append();
    ds.Fields(0)->SetAsFloat(1234.5 * (i + 1));
    ds.Fields(1)->SetAsDateTime(EncodeDate(2024, 1, i + 1));
    ds.Fields(2)->SetAsString("r" + std::to_string(i));
    ds.Post();
  }
  auto* number = static_cast<TNumericField*>(ds.Fields(0));
  auto* date = static_cast<TDateTimeField*>(ds.Fields(1));
  EXPECT_EQ(number->Alignment, taRightJustify);
  EXPECT_EQ(ds.Fields(2)->Alignment, taLeftJustify);
  ds.First();
  EXPECT_EQ(number->DisplayText(), "1234.5");
  number->DisplayFormat = "#,##0.00";
  date->DisplayFormat = "yyyy/mm/dd";
  EXPECT_EQ(number->DisplayText(), "1,234.50");
  EXPECT_EQ(date->DisplayText(), "2024/01/01");
  EXPECT_EQ(ds.Fields(2)->DisplayText(), "r0");
  {
    TDataSet::TRecordReader reader(ds, 2);
    EXPECT_EQ(number->DisplayText(), "3,703.50");
    EXPECT_EQ(ds.Fields(2)->AsString(), "r2");
    EXPECT_THROW(TDataSet::TRecordReader(ds, 0), EDatabaseError);  // readers do not nest
    EXPECT_THROW(reader.SetRecord(3), EListError);
  }
  EXPECT_EQ(ds.RecNo(), 1);  // the cursor never moved
  EXPECT_EQ(ds.Fields(2)->AsString(), "r0");
}

}  // namespace
}  // namespace kv
