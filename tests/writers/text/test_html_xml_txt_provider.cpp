// The text-family cell store: checks and their messages, merges, values,
// nested contents and the reduced style of empty cells.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "TextWritersSupport.h"
#include "export/core/Export.h"
#include "platform/Bitmap.h"
#include "platform/CodePage.h"
#include "platform/Variant.h"
#include "writers/text/HtmlXmlTxtProvider.h"
#include "writers/text/TXTExportProvider.h"

namespace kv {
namespace {

using testing::MessageOf;
using testing::TScratchFolder;
using TBase = TcxCustomExportProviderSupportedCellInternalChache;

class HtmlXmlTxtProvider : public ::testing::Test {
 protected:
  // A base provider on a target of its own (so that it has its own styles).
  std::shared_ptr<TBase> MakeProvider(const std::string& AName = "grid.txt") {
    return TcxCustomExportProvider::Create<TBase>(FFolder.File(AName));
  }
  TScratchFolder FFolder;
};

TEST_F(HtmlXmlTxtProvider, ChecksRaiseTheirMessagesAndChangeNothing) {
  auto p = MakeProvider();
  p->DefineGrid(4, 5, true);
  p->PutText(1, 1, "kept");
  int styles = p->SharedStyles().StyleCount();
  struct Case {
    const char* what;
    std::function<void()> action;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"no columns", [&] { p->DefineGrid(0, 5, true); }, "无效的行数或列数"},
      {"no rows", [&] { p->DefineGrid(3, 0, false); }, "无效的行数或列数"},
      {"negative width", [&] { p->DefineColumnWidth(0, -1); }, "非法的列宽"},
      {"negative height", [&] { p->DefineRowHeight(0, -1); }, "非法的行高"},
      {"column past the end", [&] { p->PutText(4, 0, "x"); }, "列标 4 超出范围"},
      {"negative column", [&] { p->PutInteger(-1, 0, 1); }, "列标 -1 超出范围"},
      {"row past the end", [&] { p->PutDouble(0, 5, 1.0); }, "行号 5 超出范围"},
      {"width of a missing column", [&] { p->DefineColumnWidth(7, 10); }, "列标 7 超出范围"},
      {"height of a missing row", [&] { p->DefineRowHeight(-2, 10); }, "行号 -2 超出范围"},
      {"style number = count", [&] { p->ApplyStyleIndex(0, 0, styles); }, "无效的样式索引 " + std::to_string(styles)},
      {"StyleAt past the end", [&] { p->StyleAt(styles + 3); }, "无效的样式索引 " + std::to_string(styles + 3)},
      {"copy from a missing cell", [&] { p->CopyCellStyle(0, 0, 0, 9); }, "行号 9 超出范围"},
      {"merge outside", [&] { p->MergeCells(0, 6, 1, 1); }, "行号 6 超出范围"},
      {"nested content outside", [&] { p->PutCellCache(9, 0, MakeProvider("d.txt")); }, "列标 9 超出范围"},
  };
  for (const Case& c : cases) EXPECT_EQ(MessageOf<EcxExportData>(c.action), c.message) << c.what;
  // The grid is as it was: size, value and widths.
  EXPECT_EQ(p->ColumnCount(), 4);
  EXPECT_EQ(p->RowCount(), 5);
  EXPECT_EQ(p->CellItem(1, 1).Buffer.View(), "kept");
  EXPECT_EQ(p->ColumnWidth(0), 0);
  p->DefineColumnWidth(0, 0);  // a width of 0 is accepted
  p->DefineRowHeight(4, 0);
}

TEST_F(HtmlXmlTxtProvider, RowOperationsBeforeDefineGridRaiseTheRowError) {
  auto p = MakeProvider();
  EXPECT_EQ(MessageOf<EcxExportData>([&] { p->DefineRowHeight(0, 10); }), "行号 0 超出范围");
  EXPECT_EQ(MessageOf<EcxExportData>([&] { p->PutText(0, 0, "x"); }), "列标 0 超出范围");
  EXPECT_EQ(p->RowCount(), 0);
}

TEST_F(HtmlXmlTxtProvider, DefineGridStartsEveryCellAfresh) {
  auto p = MakeProvider();
  p->DefineGrid(2, 2, true);
  for (const TcxExportCellBorder& b : p->ProviderStyle().CellBorders) EXPECT_EQ(b.Width, 1);
  p->PutText(1, 1, "old");
  p->ApplyStyle(1, 1, DefaultExportStyle());
  p->DefineColumnWidth(1, 40);
  p->MergeCells(0, 0, 2, 2);
  p->PutCellCache(0, 1, MakeProvider("nested.txt"));

  p->DefineGrid(3, 2, false);
  for (const TcxExportCellBorder& b : p->ProviderStyle().CellBorders) EXPECT_EQ(b.Width, 0);
  EXPECT_EQ(p->NestedCacheCount(), 0);
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(p->ColumnWidth(c), 0);
    for (int r = 0; r < 2; ++r) {
      const TcxCacheItem& item = p->CellItem(c, r);
      EXPECT_EQ(item.ValueKind, vkNone);
      EXPECT_EQ(item.BufferSize(), 0);
      EXPECT_EQ(item.StyleNo, -1);
      EXPECT_FALSE(item.Covered || item.Merged);
      EXPECT_EQ(item.MergeColumns * item.MergeRows, 1);
      EXPECT_EQ(p->RowHeight(r), 0);
    }
  }
}

TEST_F(HtmlXmlTxtProvider, StylesNegativeNumbersAndCopies) {
  auto p = MakeProvider();
  p->DefineGrid(2, 1, true);
  TcxExportCellStyle own = DefaultExportStyle();
  own.FontSize = 14;
  own.SetFontName("宋体");
  TcxExportCellStyle providerDefault = DefaultExportStyle();
  providerDefault.FontSize = 9;
  p->DefineDefaultStyle(providerDefault);

  p->ApplyStyleIndex(0, 0, -5);  // accepted: the provider default style
  EXPECT_EQ(p->CellItem(0, 0).StyleNo, -5);
  EXPECT_EQ(p->CellStyleAt(0, 0)->FontSize, 9);
  EXPECT_EQ(p->StyleAt(-1)->FontSize, 9);

  p->ApplyStyle(1, 0, own);
  int no = p->CellItem(1, 0).StyleNo;
  EXPECT_GE(no, 0);
  EXPECT_EQ(p->AddStyle(own), no);  // an equal style is found again
  EXPECT_EQ(p->CellStyleAt(1, 0)->FontNameText(), "宋体");
  p->CopyCellStyle(0, 0, 1, 0);
  EXPECT_EQ(p->CellItem(0, 0).StyleNo, no);
  EXPECT_EQ(p->StyleAt(no)->FontSize, 14);
}

TEST_F(HtmlXmlTxtProvider, ProvidersOfOneTargetShareTheirStyleNumbers) {
  auto a = MakeProvider("same.html");
  auto b = MakeProvider("same.html");
  TcxExportCellStyle style = DefaultExportStyle();
  style.FontColor = 0x123456;
  int inA = a->AddStyle(style);
  EXPECT_EQ(b->AddStyle(style), inA);
  EXPECT_EQ(&a->SharedStyles(), &b->SharedStyles());
}

TEST_F(HtmlXmlTxtProvider, MergeClipsToTheRectangle) {
  auto p = MakeProvider();
  p->DefineGrid(4, 5, true);
  p->MergeCells(2, 3, 10, 10);
  const TcxCacheItem& topLeft = p->CellItem(2, 3);
  EXPECT_TRUE(topLeft.Merged);
  EXPECT_FALSE(topLeft.Covered);
  EXPECT_EQ(topLeft.MergeColumns, 2);
  EXPECT_EQ(topLeft.MergeRows, 2);
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 5; ++r) {
      bool inside = c >= 2 && r >= 3 && !(c == 2 && r == 3);
      EXPECT_EQ(p->CellItem(c, r).Covered, inside) << c << "," << r;
    }

  // Spans below 1 count as 1.
  p->MergeCells(0, 0, -3, 0);
  EXPECT_TRUE(p->CellItem(0, 0).Merged);
  EXPECT_EQ(p->CellItem(0, 0).MergeColumns, 1);
  EXPECT_EQ(p->CellItem(0, 0).MergeRows, 1);
  EXPECT_FALSE(p->CellItem(1, 0).Covered);
  EXPECT_FALSE(p->CellItem(0, 1).Covered);
}

TEST_F(HtmlXmlTxtProvider, OverlappingMergeCoversTheEarlierTopLeftCell) {
  auto p = MakeProvider();
  p->DefineGrid(4, 4, true);
  p->MergeCells(1, 1, 2, 2);
  p->ApplyMergedStyle(0, 0, 3, 3, -1);
  EXPECT_TRUE(p->CellItem(1, 1).Covered);
  EXPECT_FALSE(p->CellItem(0, 0).Covered);
  EXPECT_EQ(p->CellItem(0, 0).MergeColumns, 3);
  EXPECT_EQ(p->CellItem(0, 0).MergeRows, 3);
  EXPECT_TRUE(p->CellItem(2, 2).Covered);
  EXPECT_FALSE(p->CellItem(3, 3).Covered);
}

TEST_F(HtmlXmlTxtProvider, SpanWidthAddsTheMergedColumns) {
  auto p = MakeProvider();
  p->DefineGrid(3, 1, true);
  p->DefineColumnWidth(0, 10);
  p->DefineColumnWidth(1, 20);
  p->DefineColumnWidth(2, 40);
  EXPECT_EQ(p->SpanWidth(1, 0), 20);
  p->MergeCells(1, 0, 1, 2);
  EXPECT_EQ(p->SpanWidth(1, 0), 60);
  EXPECT_EQ(p->SpanWidth(0, 0), 10);
}

TEST_F(HtmlXmlTxtProvider, ValuesReplaceValues) {
  auto p = MakeProvider();
  p->DefineGrid(1, 1, true);
  std::string bytes;

  p->PutText(0, 0, "a longer text than fits in place");
  EXPECT_EQ(p->CellItem(0, 0).ValueKind, vkText);
  p->PutInteger(0, 0, -7);
  ASSERT_TRUE(p->ReadCellValue(0, 0, bytes));
  ASSERT_EQ(bytes.size(), 4u);
  int32_t i;
  std::memcpy(&i, bytes.data(), 4);
  EXPECT_EQ(i, -7);
  EXPECT_EQ(p->CellItem(0, 0).ValueKind, vkInteger);

  p->PutDouble(0, 0, 2.5);
  ASSERT_TRUE(p->ReadCellValue(0, 0, bytes));
  ASSERT_EQ(bytes.size(), 8u);
  double d;
  std::memcpy(&d, bytes.data(), 8);
  EXPECT_EQ(d, 2.5);

  const char16_t raw[] = u"列\0x\U0001F600";  // an embedded zero and a surrogate pair
  const std::u16string wideValue(raw, 5);
  p->PutWideText(0, 0, wideValue);
  EXPECT_EQ(p->CellItem(0, 0).ValueKind, vkWideText);
  ASSERT_TRUE(p->ReadCellValue(0, 0, bytes));
  ASSERT_EQ(bytes.size(), 10u);
  std::u16string back(5, u'\0');
  std::memcpy(back.data(), bytes.data(), 10);
  EXPECT_EQ(back, wideValue);

  p->PutWideText(0, 0, u"");
  EXPECT_EQ(p->CellItem(0, 0).ValueKind, vkWideText);
  EXPECT_FALSE(p->ReadCellValue(0, 0, bytes));

  p->PutText(0, 0, "x");
  p->PutText(0, 0, "");
  EXPECT_EQ(p->CellItem(0, 0).ValueKind, vkText);
  EXPECT_EQ(p->CellItem(0, 0).BufferSize(), 0);
  EXPECT_FALSE(p->ReadCellValue(0, 0, bytes));
  EXPECT_TRUE(bytes.empty());
}

TEST(TcxCellBuffer, HoldsExactlyItsBytesAcrossSizesCopiesAndMoves) {
  const std::string sizes[] = {"",
                               "x",
                               std::string(16, 'a'),
                               std::string(17, 'b'),
                               std::string(100, 'c'),
                               std::string(17, 'd'),
                               "short",
                               std::string(16, '\0')};
  TcxCellBuffer buffer;
  for (const std::string& value : sizes) {
    buffer.Assign(value);
    EXPECT_EQ(buffer.View(), value);
    EXPECT_EQ(buffer.Size(), value.size());
    TcxCellBuffer copy(buffer);
    EXPECT_EQ(copy.View(), value);
    TcxCellBuffer moved(std::move(copy));
    EXPECT_EQ(moved.View(), value);
    EXPECT_TRUE(copy.Empty());  // NOLINT(bugprone-use-after-move): a moved-from buffer is empty
    moved = buffer;
    EXPECT_EQ(moved.View(), value);
  }
  // A value taken from the buffer's own bytes.
  buffer.Assign(std::string(40, 'e') + "tail");
  buffer.Assign(buffer.View().substr(30));
  EXPECT_EQ(buffer.View(), std::string(10, 'e') + "tail");
  buffer.Assign(buffer.View().substr(2));
  EXPECT_EQ(buffer.View(), std::string(8, 'e') + "tail");
  buffer.Clear();
  EXPECT_TRUE(buffer.Empty());
}

TEST_F(HtmlXmlTxtProvider, CellValueTextOfEachKind) {
  auto p = MakeProvider();
  p->DefineGrid(8, 1, true);
  p->PutText(0, 0, "文本");
  p->PutWideText(1, 0, u"宽\U0001F600");
  p->PutDouble(2, 0, -0.5);
  p->PutInteger(3, 0, -2147483647 - 1);
  p->PutText(4, 0, "");
  TBitmap bitmap(1, 1);
  p->PutGraphic(5, 0, bitmap);
  p->PutDouble(6, 0, 1e-7);
  const char* expected[] = {"文本", "宽\U0001F600", "-0.5", "-2147483648", "", "", "1E-7", ""};
  for (int c = 0; c < 8; ++c) {
    std::string text = ">";
    EXPECT_EQ(p->AppendCellValueText(c, 0, text), *expected[c] != 0) << c;
    EXPECT_EQ(text, std::string(">") + expected[c]) << c;
  }
}

TEST_F(HtmlXmlTxtProvider, PutValueConvertsEachKindToText) {
  auto p = MakeProvider();
  p->DefineGrid(1, 1, true);
  const TDateTime when = EncodeDate(2024, 2, 29) + EncodeTime(13, 5, 9, 0);
  struct Case {
    Variant value;
    std::string text;
  };
  const std::vector<Case> cases = {
      {Variant::Null(), ""},
      {Variant(), ""},
      {Variant(42), "42"},
      {Variant::OfType(varInt64, -9000000000LL), "-9000000000"},
      {Variant(1.5), "1.5"},
      {Variant(0.1), "0.1"},
      {Variant(1e20), "1E20"},
      {Variant(true), "True"},
      {Variant::DateTime(when), "2024-02-29 13:05:09"},
      {Variant::DateTime(EncodeDate(2024, 3, 1)), "2024-03-01"},
      {Variant::SQLTimeStamp(when), "2024-02-29 13:05:09"},
      {Variant::Currency(-12345000), "￥-1,234.50"},
      {Variant::Currency(30000), "￥3.00"},
      {Variant::FMTBcd("12.3456"), "￥12.35"},
      {Variant::FMTBcd("1.234567"), "1.234567"},
      {Variant(std::u16string(u"中文")), "中文"},
      {Variant("plain"), "plain"},
  };
  std::string bytes;
  for (const Case& c : cases) {
    p->PutValue(0, 0, c.value);
    EXPECT_EQ(p->CellItem(0, 0).ValueKind, vkText) << VarTypeName(c.value.VarType());
    p->ReadCellValue(0, 0, bytes);
    EXPECT_EQ(bytes, c.text) << VarTypeName(c.value.VarType());
  }
}

TEST_F(HtmlXmlTxtProvider, PutGraphicPacksThePictureForTheTarget) {
  auto p = MakeProvider("page.html");
  p->DefineGrid(1, 1, true);
  TBitmap bitmap(2, 2);
  bitmap.SetPixel(1, 1, RGB(10, 20, 30));
  p->PutGraphic(0, 0, bitmap);
  EXPECT_EQ(p->CellItem(0, 0).ValueKind, vkGraphic);
  std::string name, bytes;
  UnpackGraphic(p->CellItem(0, 0).Buffer, name, bytes);
  EXPECT_EQ(name.rfind(FFolder.File("page.images/page_"), 0), 0u) << name;
  EXPECT_EQ(name.substr(name.size() - 4), ".bmp");
  EXPECT_EQ(bytes, bitmap.SaveToBytes());
  EXPECT_TRUE(p->AcceptsGraphics());
}

TEST_F(HtmlXmlTxtProvider, PrepareEmptyCellsShrinksTheFontOfEmptyCellsOnce) {
  auto p = MakeProvider();
  p->DefineGrid(5, 1, true);
  TcxExportCellStyle big = DefaultExportStyle();
  big.FontSize = 12;
  big.FontColor = 0x0000FF;
  p->ApplyStyle(1, 0, big);
  p->PutText(1, 0, "gone");
  p->PutText(1, 0, "");       // emptied text
  p->PutText(2, 0, "x");      // a value
  p->PutInteger(3, 0, 0);     // a value
  p->PutWideText(4, 0, u"");  // an empty wide text is not among the empty kinds
  const int before4 = p->CellItem(4, 0).StyleNo;

  p->PrepareEmptyCells();
  const TcxExportCellStyle* none = p->CellStyleAt(0, 0);
  EXPECT_EQ(none->FontSize, 1);
  EXPECT_EQ(none->FontNameText(), "Tahoma");
  const TcxExportCellStyle* emptied = p->CellStyleAt(1, 0);
  EXPECT_EQ(emptied->FontSize, 1);
  EXPECT_EQ(emptied->FontColor, 0x0000FFu);
  EXPECT_EQ(p->CellItem(2, 0).StyleNo, -1);
  EXPECT_EQ(p->CellItem(3, 0).StyleNo, -1);
  EXPECT_EQ(p->CellItem(4, 0).StyleNo, before4);

  const int count = p->SharedStyles().StyleCount();
  const int no0 = p->CellItem(0, 0).StyleNo, no1 = p->CellItem(1, 0).StyleNo;
  p->PrepareEmptyCells();
  EXPECT_EQ(p->SharedStyles().StyleCount(), count);
  EXPECT_EQ(p->CellItem(0, 0).StyleNo, no0);
  EXPECT_EQ(p->CellItem(1, 0).StyleNo, no1);
}

TEST_F(HtmlXmlTxtProvider, NestedContentsBelongToTheirCells) {
  auto master = MakeProvider();
  master->DefineGrid(3, 3, true);
  auto first = MakeProvider("d1.txt"), second = MakeProvider("d2.txt");
  auto right = MakeProvider("d3.txt"), below = MakeProvider("d4.txt");

  master->PutCellCache(0, 0, first);
  master->PutCellCache(0, 0, second);  // replaces the first
  EXPECT_EQ(master->NestedCacheCount(), 1);
  EXPECT_EQ(first.use_count(), 1);  // released by the master
  EXPECT_EQ(master->CellContent(0, 0), second);

  master->PutCellCache(1, 0, right);
  master->PutCellCache(0, 1, below);
  EXPECT_EQ(master->NestedCacheCount(), 3);

  // Removing one leaves every other cell's content in place.
  master->RemoveCellCache(0, 0);
  EXPECT_EQ(master->CellContent(0, 0), nullptr);
  EXPECT_EQ(master->CellContent(1, 0), right);
  EXPECT_EQ(master->CellContent(0, 1), below);
  master->PutCellCache(1, 0, nullptr);  // acts as RemoveCellCache
  EXPECT_EQ(master->CellContent(0, 1), below);
  EXPECT_EQ(master->NestedCacheCount(), 1);
  master->RemoveCellCache(2, 2);  // a cell without content: nothing happens
  EXPECT_EQ(master->NestedCacheCount(), 1);

  // The master's destruction releases what it still holds.
  std::weak_ptr<TBase> watch = below;
  below.reset();
  EXPECT_FALSE(watch.expired());
  master.reset();
  EXPECT_TRUE(watch.expired());
}

TEST_F(HtmlXmlTxtProvider, ProvidersAreCountedAsPictureWriters) {
  const int before = ImageProviderCount();
  {
    auto a = MakeProvider("a.html");
    auto b = MakeProvider("b.html");
    EXPECT_EQ(ImageProviderCount(), before + 2);
  }
  EXPECT_EQ(ImageProviderCount(), before);
}

}  // namespace
}  // namespace kv
