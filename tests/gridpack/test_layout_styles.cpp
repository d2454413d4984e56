// The layout object of a table view, predicted from the documented text
// metrics; style slots with their indexes, style sheets, repositories, the
// chains that give a part's parameters, and copies of views keeping them.
#include <gtest/gtest.h>

#include "TableFixture.h"
#include "gridpack/TableViewInfo.h"
#include "platform/TextMetrics.h"

namespace kv {
namespace {

using testing::TTableForm;

TFont FontOf(int ASize, TFontStyles AStyle = 0) {
  TFont font;
  font.Size = ASize;
  font.Style = AStyle;
  return font;
}

class Layout : public ::testing::Test {
 protected:
  void SetUp() override {
    f.Define({{"A", ftString, 10}, {"B", ftInteger}, {"C", ftFloat}});
    f.Column("A")->SetWidth(100);
    f.Column("B")->SetWidth(50);
    f.Column("C")->SetWidth(70);
    f.Column("B")->SetCaption("数量");
    f.Column("B")->HeaderAlignmentHorz = taCenter;
    f.View->OptionsView.GroupByBox = false;
  }
  TTableForm f;
};

TEST_F(Layout, DefaultFontsGiveNineteenPixelRows) {
  TcxGridTableViewInfo* info = f.View->ViewInfo();
  const TcxGridHeaderViewInfo& header = info->HeaderViewInfo();
  ASSERT_EQ(header.Count(), 3);
  EXPECT_TRUE(header.Visible());
  EXPECT_EQ(header.Items(0).Bounds(), (TRect{0, 0, 100, 19}));
  EXPECT_EQ(header.Items(1).Bounds(), (TRect{100, 0, 150, 19}));
  EXPECT_EQ(header.Items(2).Bounds(), (TRect{150, 0, 220, 19}));
  EXPECT_EQ(header.Items(1).Text(), "数量");
  EXPECT_EQ(header.Items(1).AlignmentHorz(), taCenter);
  EXPECT_EQ(header.Items(1).Column(), f.Column("B"));
  EXPECT_EQ(header.Items(0).Params().Color, clBtnFace);
  EXPECT_EQ(info->DataWidth(), 220);
  EXPECT_EQ(info->LevelIndent(), 20);
  EXPECT_EQ(info->DataRowHeight(), 19);
  EXPECT_EQ(info->GroupRowHeight(), 21);
  EXPECT_EQ(info->FooterHeight(), 23);
  EXPECT_EQ(info->Bounds(), (TRect{0, 0, 800, 600}));
  EXPECT_EQ(f.View->ViewInfo(), info);  // the same object, laid out again
}

TEST_F(Layout, GroupingIndicatorScrollingFontsAndHiddenParts) {
  f.View->OptionsView.GroupByBox = true;
  f.View->OptionsView.Indicator = true;
  f.View->OptionsView.IndicatorWidth = 15;
  f.View->Controller()->SetLeftPos(30);
  f.Column("C")->SetGroupIndex(0);
  f.Column("A")->SetVisible(false);
  TcxStyle header(&f.Form);
  header.SetFont(FontOf(12, fsBold));  // text height 20
  f.View->Styles()->SetValues(TcxGridTableViewStyles::vsHeader, &header);
  TcxStyle content(&f.Form);
  content.SetFont(FontOf(10));  // text height 16
  f.Column("B")->Styles()->SetContent(&content);

  TcxGridTableViewInfo* info = f.View->ViewInfo();
  const int box = 15 + 4 + 12;  // group-by box in the default font
  const int left = 15 - 30;     // indicator, minus the scroll position
  const int first = 50 + 20;    // B with one group level of indent
  EXPECT_EQ(info->GroupByBoxHeight(), box);
  EXPECT_EQ(info->FirstItemAdditionalWidth(), 20);
  const TcxGridHeaderViewInfo& headers = info->HeaderViewInfo();
  ASSERT_EQ(headers.Count(), 2);
  EXPECT_EQ(headers.Items(0).Bounds(), (TRect{left, box, left + first, box + 24}));
  EXPECT_EQ(headers.Items(1).Bounds(), (TRect{left + first, box, left + first + 70, box + 24}));
  EXPECT_EQ(info->DataWidth(), first + 70);
  EXPECT_EQ(info->DataRowHeight(), 20);  // B's content font
  // Fixed heights win; hidden headers keep their rectangles.
  f.View->OptionsView.HeaderHeight = 30;
  f.View->OptionsView.DataRowHeight = 25;
  f.View->OptionsView.Header = false;
  info = f.View->ViewInfo();
  EXPECT_FALSE(info->HeaderViewInfo().Visible());
  EXPECT_EQ(info->HeaderViewInfo().Items(0).Bounds().Height(), 30);
  EXPECT_EQ(info->DataRowHeight(), 25);
  // A layout object laid out elsewhere (as for a detail view).
  std::unique_ptr<TcxCustomGridTableViewInfo> other = f.View->CreateViewInfo();
  other->Calculate(5, TRect{10, 20, 300, 400});
  EXPECT_EQ(other->FirstRecordIndex(), 5);
  auto* table = static_cast<TcxGridTableViewInfo*>(other.get());
  EXPECT_EQ(table->HeaderViewInfo().Items(0).Bounds().Left, 10 + 15 - 30);
  EXPECT_EQ(table->HeaderViewInfo().Items(0).Bounds().Top, 20 + box);
}

TEST_F(Layout, FooterLinesWithMultiSummaries) {
  TcxDataSummaryItems& footer = f.View->DataController()->Summary().FooterSummaryItems();
  footer.Add(f.Column("C"), spFooter, skSum);
  footer.Add(f.Column("C"), spFooter, skMin);
  footer.Add(f.Column("C"), spFooter, skMax);
  footer.Add(f.Column("B"), spFooter, skCount);
  EXPECT_EQ(f.View->ViewInfo()->FooterHeight(), 23);
  f.View->OptionsView.FooterMultiSummaries = true;
  EXPECT_TRUE(f.View->IsFooterMultiSummaries());
  EXPECT_EQ(f.View->ViewInfo()->FooterHeight(), 3 * 19 + 4);
}

TEST(Styles, SlotIndexesSheetsAndRepositories) {
  EXPECT_EQ(TcxGridTableViewStyles::vsBackground, 0);
  EXPECT_EQ(TcxGridTableViewStyles::vsContent, 1);
  EXPECT_EQ(TcxGridTableViewStyles::vsFooter, 9);
  EXPECT_EQ(TcxGridTableViewStyles::vsHeader, 15);
  EXPECT_EQ(TcxGridTableViewStyles::vsPreview, 18);

  TComponent form;
  auto* repository = new TcxStyleRepository(&form);
  TcxStyle* header = repository->CreateItem();
  TcxStyle* sheetContent = repository->CreateItem();
  EXPECT_EQ(header->Owner(), &form);
  EXPECT_EQ(repository->Count(), 2);
  auto* sheet = new TcxGridTableViewStyleSheet(&form);
  sheet->Styles()->SetValues(TcxGridTableViewStyles::vsContent, sheetContent);
  auto* view = new TcxGridTableView(&form);
  TcxGridTableViewStyles* styles = view->Styles();
  styles->SetValues(15, header);
  EXPECT_EQ(styles->Header(), header);
  EXPECT_EQ(styles->GetStyle(1), nullptr);
  styles->SetStyleSheet(sheet);
  EXPECT_EQ(styles->GetStyle(1), sheetContent);  // from the sheet
  EXPECT_EQ(styles->Values(1), nullptr);         // not assigned
  // A second view sharing the header style sees a change of its bitmap.
  auto* second = new TcxGridTableView(&form);
  second->Styles()->SetValues(15, header);
  header->Bitmap()->SetSize(2, 2);
  EXPECT_TRUE(second->Styles()->Header()->AssignedValues() & svBitmap);
  // Freeing styles and sheets clears what refers to them.
  delete header;
  EXPECT_EQ(styles->Header(), nullptr);
  EXPECT_EQ(second->Styles()->Header(), nullptr);
  EXPECT_EQ(repository->Count(), 1);
  delete sheet;
  EXPECT_EQ(styles->StyleSheet(), nullptr);
  EXPECT_EQ(styles->GetStyle(1), nullptr);
  delete repository;  // frees the styles it made
  EXPECT_EQ(form.ComponentCount(), 2);
}

TEST(Styles, ChainsGiveEachValueFromTheFirstStyleThatHasIt) {
  TTableForm f;
  f.Define({{"A", ftString, 10}, {"B", ftInteger}});
  f.AddRow({"x", "1"});
  f.AddRow({"y", "2"});
  TcxGridTableViewStyles* styles = f.View->Styles();
  TcxViewParams p;
  styles->GetContentParams(nullptr, nullptr, p);
  EXPECT_EQ(p.Color, clWindow);
  EXPECT_EQ(p.TextColor, clWindowText);
  EXPECT_EQ(p.Font, &f.Grid->Font);
  EXPECT_EQ(p.Bitmap, nullptr);
  styles->GetViewParams(TcxGridTableViewStyles::vsFooter, nullptr, nullptr, p);
  EXPECT_EQ(p.Color, clBtnFace);
  styles->GetPreviewParams(nullptr, nullptr, p);
  EXPECT_EQ(p.TextColor, clBlue);

  TcxStyle content(&f.Form), odd(&f.Form), column(&f.Form), event(&f.Form);
  content.SetColor(clYellow);
  content.SetTextColor(clRed);
  odd.SetColor(clSilver);
  column.SetFont(FontOf(14));
  event.SetTextColor(clGreen);
  styles->SetValues(TcxGridTableViewStyles::vsContent, &content);
  styles->SetValues(TcxGridTableViewStyles::vsContentOdd, &odd);
  f.Column("B")->Styles()->SetContent(&column);
  styles->OnGetContentStyle = [&](TcxCustomGridTableView*, TcxCustomGridRecord* ARecord, TcxCustomGridTableItem*,
                                  TcxStyle*& AStyle) {
    if (ARecord && ARecord->Index() == 0) AStyle = &event;
  };
  TcxGridViewData* data = f.View->ViewData();
  styles->GetContentParams(data->Records(0), f.Column("B"), p);
  EXPECT_EQ(p.Color, clYellow);     // record 0 is even: no odd colour
  EXPECT_EQ(p.TextColor, clGreen);  // the event's
  EXPECT_EQ(p.Font->Size, 14);      // the column's
  styles->GetContentParams(data->Records(1), f.Column("A"), p);
  EXPECT_EQ(p.Color, clSilver);
  EXPECT_EQ(p.TextColor, clRed);
  EXPECT_EQ(p.Font, &f.Grid->Font);

  // Header: the column's event before the column's slot before the view's.
  TcxStyle viewHeader(&f.Form), columnHeader(&f.Form);
  viewHeader.SetColor(clNavy);
  viewHeader.SetTextColor(clWhite);
  columnHeader.SetColor(clMaroon);
  styles->SetValues(TcxGridTableViewStyles::vsHeader, &viewHeader);
  f.Column("A")->Styles()->SetHeader(&columnHeader);
  styles->GetHeaderParams(f.Column("A"), p);
  EXPECT_EQ(p.Color, clMaroon);
  EXPECT_EQ(p.TextColor, clWhite);
  styles->GetHeaderParams(f.Column("B"), p);
  EXPECT_EQ(p.Color, clNavy);
  // Group footers: a sorted summary takes the sorted-summary style first.
  TcxStyle sorted(&f.Form);
  sorted.SetColor(clAqua);
  styles->SetValues(TcxGridTableViewStyles::vsGroupFooterSortedSummary, &sorted);
  TcxDataSummaryItem* item = f.View->DataController()->Summary().DefaultGroupSummaryItems().Add();
  item->Sorted = true;
  auto* row = dynamic_cast<TcxCustomGridRow*>(data->Records(0));
  styles->GetFooterCellParams(row, f.Column("A"), 0, item, p);
  EXPECT_EQ(p.Color, clAqua);
  styles->GetFooterCellParams(nullptr, f.Column("A"), -1, item, p);  // the view footer
  EXPECT_EQ(p.Color, clBtnFace);
}

TEST(Styles, CopiesOfAViewKeepItsSettings) {
  TTableForm f;
  f.Define({{"A", ftString, 10}, {"B", ftInteger}});
  TcxStyle style(&f.Form);
  style.SetColor(clLime);
  f.View->Styles()->SetValues(TcxGridTableViewStyles::vsFooter, &style);
  f.View->OptionsView.Footer = true;
  f.View->OptionsView.GridLines = glHorizontal;
  f.View->Preview().Visible = true;
  f.View->Preview().SetColumn(f.Column("A"));
  f.Column("B")->Options.CellMerging = true;
  f.Column("B")->FooterAlignmentHorz = taRightJustify;
  f.Column("A")->SetWidth(123);
  std::unique_ptr<TcxCustomGridView> clone = f.View->CreateClone();
  auto* copy = dynamic_cast<TcxGridDBTableView*>(clone.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->Styles()->Footer(), &style);
  EXPECT_TRUE(copy->OptionsView.Footer);
  EXPECT_EQ(copy->OptionsView.GridLines, glHorizontal);
  EXPECT_EQ(copy->Preview().Column(), copy->Columns(0));
  EXPECT_TRUE(copy->Columns(1)->Options.CellMerging);
  EXPECT_EQ(copy->Columns(1)->FooterAlignmentHorz, taRightJustify);
  EXPECT_EQ(copy->Columns(0)->Width(), 123);
  EXPECT_EQ(copy->Columns(0)->DataBinding()->FieldName, "A");
  EXPECT_EQ(copy->DataController()->DataSource(), f.Source);
}

}  // namespace
}  // namespace kv
