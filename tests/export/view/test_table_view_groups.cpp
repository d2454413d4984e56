// The table view exporter on grouped views: indent cells, expand cells,
// group rows in the standard layout and with their summaries along the
// columns, and group footers.
#include "ViewExportSupport.h"
#include "platform/TextMetrics.h"

namespace kv::testing {
namespace {

// Grouped by Region, then City (both hidden from the header), showing Name
// and Amount.  With every row expanded the rows are:
//   East (group, level 0), A (group, level 1), n1, n2, B (group), n3,
//   West (group), C (group), n4.
// Columns of the sheet: two indent columns of 20 pixels, then Name (the
// first column is 2 x 20 wider, its cells start after the indents) and Amount.
class TableViewGroups : public ViewExportTest {
 protected:
  void SetUp() override {
    ViewExportTest::SetUp();
    Region = AddColumn("Region");
    City = AddColumn("City");
    Name = AddColumn("Name", NameWidth);
    Amount = AddColumn("Amount", 64);
    Amount->SetPropertiesClass<TcxCalcEditProperties>();
    AddRow({Variant("East"), Variant("A"), Variant("n1"), Variant(1.0)});
    AddRow({Variant("East"), Variant("A"), Variant("n2"), Variant(2.0)});
    AddRow({Variant("East"), Variant("B"), Variant("n3"), Variant(3.0)});
    AddRow({Variant("West"), Variant("C"), Variant("n4"), Variant(4.0)});
    Region->SetVisible(false);
    City->SetVisible(false);
    Region->SetGroupIndex(0);
    City->SetGroupIndex(1);
  }

  static constexpr int NameWidth = 200;
  TcxGridColumn* Region = nullptr;
  TcxGridColumn* City = nullptr;
  TcxGridColumn* Name = nullptr;
  TcxGridColumn* Amount = nullptr;
};

TEST_F(TableViewGroups, TwoLevelsGiveIndentAndExpandCells) {
  TRecordingProvider& p = *Export();
  // Columns: indent 0, indent 1, Name (after the indents), Amount.
  ASSERT_EQ(p.ColCount, 4);
  EXPECT_EQ(p.ColumnWidths, (std::map<int, int>{{0, 20}, {1, 20}, {2, NameWidth}, {3, 64}}));
  ASSERT_EQ(p.RowCount, 10);
  // Group rows are 21 pixels high, everything else is a base row.
  EXPECT_EQ(p.RowHeights, (std::map<int, int>{{1, 21}, {2, 21}, {5, 21}, {7, 21}, {8, 21}}));

  EXPECT_EQ(p.RowTexts(0), (std::vector<std::string>{"Name", "", "", "Amount"}))
      << "the first header spans the indents";
  EXPECT_EQ(p.RowTexts(1), (std::vector<std::string>{"-", "Region : East", "", ""}));
  EXPECT_EQ(p.RowTexts(2), (std::vector<std::string>{"", "-", "City : A", ""}));
  EXPECT_EQ(p.RowTexts(3), (std::vector<std::string>{"", "", "n1", "1"}));
  EXPECT_EQ(p.RowTexts(9), (std::vector<std::string>{"", "", "n4", "4"}));
  // The group row's text spans the row right of its indent.
  const TRecordedMerge* east = p.MergeAt(1, 1);
  ASSERT_NE(east, nullptr);
  EXPECT_EQ(east->ColSpan, 3);
  EXPECT_EQ(east->RowSpan, 1);
  const TRecordedMerge* a = p.MergeAt(2, 2);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->ColSpan, 2);

  // Expand cells: button-face fill, grid-line borders.
  EXPECT_EQ(p.StyleOf(0, 1).BrushBkColor, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(p.StyleOf(1, 2).BrushBkColor, GetSysColor(COLOR_BTNFACE));
  EXPECT_TRUE(HasBorder(p, 0, 1, cxBorderTop));
  EXPECT_TRUE(HasBorder(p, 0, 1, cxBorderLeft));
  // Indent cells have no top border; only those of the last row close the
  // indent column at the bottom.
  for (int row : {2, 3, 4, 5, 6, 8}) {
    SCOPED_TRACE(row);
    EXPECT_FALSE(HasBorder(p, 0, row, cxBorderTop));
    EXPECT_FALSE(HasBorder(p, 0, row, cxBorderBottom));
    EXPECT_TRUE(HasBorder(p, 0, row, cxBorderLeft));
  }
  EXPECT_FALSE(HasBorder(p, 1, 3, cxBorderBottom));
  EXPECT_TRUE(HasBorder(p, 0, 9, cxBorderBottom));
  EXPECT_TRUE(HasBorder(p, 1, 9, cxBorderBottom));
  EXPECT_FALSE(HasBorder(p, 1, 9, cxBorderTop));
  // The data cells themselves keep all their grid lines.
  EXPECT_TRUE(HasBorder(p, 2, 3, cxBorderBottom));
}

TEST_F(TableViewGroups, CollapsedGroupsShowPlusAndOnlyTheLastIsClosed) {
  Data()->FullCollapse();
  TRecordingProvider& p = *Export(/*AExpand=*/false);
  ASSERT_EQ(p.RowCount, 3);
  EXPECT_EQ(p.Text(0, 1), "+");
  EXPECT_EQ(p.Text(0, 2), "+");
  EXPECT_EQ(p.Text(1, 1), "Region : East");
  EXPECT_FALSE(HasBorder(p, 0, 1, cxBorderBottom));
  EXPECT_TRUE(HasBorder(p, 0, 2, cxBorderBottom));
}

TEST_F(TableViewGroups, ExpandOpensEveryExportedGroupAndLeavesItOpen) {
  Data()->FullCollapse();
  TRecordingProvider& p = *Export(/*AExpand=*/true);
  EXPECT_EQ(p.RowCount, 10);
  EXPECT_TRUE(View->ViewData()->Records(0)->Expanded());
}

TEST_F(TableViewGroups, StandardGroupRowTextCarriesTheSummaryText) {
  AddGroupSummary(Amount, skSum);
  AddGroupSummary(Amount, skCount);
  TRecordingProvider& p = *Export();
  EXPECT_EQ(p.Text(1, 1), "Region : East (6, 3)");
  EXPECT_EQ(p.Text(2, 2), "City : A (3, 2)");
}

TEST_F(TableViewGroups, GroupedColumnDisplayTextEventChangesTheGroupText) {
  Region->OnGetDisplayText = [](TcxCustomGridTableItem*, TcxCustomGridRecord* ARecord, std::string& AText) {
    if (!ARecord->IsData()) AText = "[" + AText + "]";
  };
  TRecordingProvider& p = *Export();
  EXPECT_EQ(p.Text(1, 1), "[Region : East]");
}

TEST_F(TableViewGroups, AlignedSummariesShareOneCellPerColumnAfterACaptionCutToItsText) {
  View->OptionsView.GroupSummaryLayout = gslAlignWithColumns;
  AddGroupSummary(Amount, skSum);
  AddGroupSummary(Amount, skCount);
  AddGroupSummary(Region, skCount);  // its column is hidden: left out
  TRecordingProvider& p = *Export();
  // Row 1 is East: expand cell, then the caption cell as wide as its text
  // plus 6 pixels, then the fill of the row, then the Amount summary cell.
  const int captionWidth = TextWidth(DefaultFont(), "Region : East") + 6;
  // Boundaries: 0, 20, 40, 20 + caption, 40 + NameWidth (Amount), ...
  const int amountLeft = 40 + NameWidth;
  int captionCol = 1;
  ASSERT_LT(20 + captionWidth, amountLeft);
  EXPECT_EQ(p.Text(captionCol, 1), "Region : East");
  const TRecordedMerge* caption = p.MergeAt(captionCol, 1);
  int spanned = 0;
  for (int c = captionCol; c < captionCol + (caption ? caption->ColSpan : 1); ++c) spanned += p.ColumnWidths[c];
  EXPECT_EQ(spanned, captionWidth);
  int amountCol = p.ColCount - 1;
  EXPECT_EQ(p.Text(amountCol, 1), "6, 3");
  EXPECT_EQ(p.Text(amountCol, 2), "3, 2") << "City A";
  // Summary cells have top and bottom grid lines, no sides.
  EXPECT_TRUE(HasBorder(p, amountCol, 1, cxBorderTop));
  EXPECT_FALSE(HasBorder(p, amountCol, 1, cxBorderLeft));
  EXPECT_FALSE(HasBorder(p, amountCol, 1, cxBorderRight));
  // Between the caption and the summary the row's fill shows: grid lines
  // above and below, no sides inside the row.
  EXPECT_EQ(p.Text(2, 1), "");
  EXPECT_TRUE(HasBorder(p, 2, 1, cxBorderTop));
  EXPECT_TRUE(HasBorder(p, 2, 1, cxBorderBottom));
  EXPECT_FALSE(HasBorder(p, 2, 1, cxBorderLeft));
  EXPECT_FALSE(HasBorder(p, 2, 1, cxBorderRight));
  // No cell shows the hidden Region count.
  for (int c = 0; c < p.ColCount; ++c) EXPECT_EQ(p.Text(c, 1).find("2"), std::string::npos) << c;
}

TEST_F(TableViewGroups, AlignedSummaryWithoutColumnJoinsTheCaption) {
  View->OptionsView.GroupSummaryLayout = gslAlignWithColumns;
  TcxDataSummaryItem* count = Data()->Summary().DefaultGroupSummaryItems().Add();
  count->Kind = skCount;
  AddGroupSummary(Amount, skMax);
  TRecordingProvider& p = *Export();
  EXPECT_EQ(p.Text(1, 1), "Region : East(3)");
  EXPECT_EQ(p.Text(p.ColCount - 1, 1), "3");
}

TEST_F(TableViewGroups, AlignedSummariesWithNativeValuesCarryTheNumber) {
  View->OptionsView.GroupSummaryLayout = gslAlignWithColumns;
  AddGroupSummary(Amount, skSum);
  TRecordingProvider& p = *Export(true, true, /*ANative=*/true);
  const Variant& v = p.Value(p.ColCount - 1, 1);
  EXPECT_TRUE(v.IsFloatKind()) << VarTypeName(v.VarType());
  EXPECT_DOUBLE_EQ(v.AsDouble(), 6.0);
}

TEST_F(TableViewGroups, GroupFootersFollowTheLastRecordOfTheirGroup) {
  View->OptionsView.GroupFooters = gfVisibleWhenExpanded;
  AddGroupSummary(Amount, skSum, "", spFooter);
  TRecordingProvider& p = *Export();
  // After n2 (end of A) a footer of group A (level 1) with 2 indent cells;
  // after n3 footers of B and of East; after n4 footers of C and West.
  std::vector<std::string> amounts;
  for (int r = 1; r < p.RowCount; ++r) amounts.push_back(p.Text(p.ColCount - 1, r));
  EXPECT_EQ(amounts, (std::vector<std::string>{"", "", "1", "2", "3", "", "3", "3", "6", "", "", "4", "4", "4"}));
  // A footer of the group at level 1 has two indent cells, one at level 0 one.
  EXPECT_EQ(p.Text(2, 5), "");
  EXPECT_EQ(p.StyleOf(0, 5).BrushBkColor, GetSysColor(COLOR_BTNFACE)) << "the indent of a group row's level";
}

TEST_F(TableViewGroups, AlwaysVisibleGroupFootersFollowCollapsedGroupsToo) {
  View->OptionsView.GroupFooters = gfAlwaysVisible;
  AddGroupSummary(Amount, skSum, "", spFooter);
  Data()->FullCollapse();
  TRecordingProvider& p = *Export(/*AExpand=*/false);
  // East (collapsed), its footer, West (collapsed), its footer.  A footer of
  // a level-0 group has no indent cell.
  ASSERT_EQ(p.RowCount, 5);
  const int amount = p.ColCount - 1;
  EXPECT_EQ(p.Text(1, 1), "Region : East");
  EXPECT_EQ(p.Text(amount, 2), "6");
  EXPECT_EQ(p.Text(1, 3), "Region : West");
  EXPECT_EQ(p.Text(amount, 4), "4");
  EXPECT_EQ(p.Text(0, 2), "");
  EXPECT_EQ(p.StyleOf(0, 2).BrushBkColor, GetSysColor(COLOR_BTNFACE)) << "the footer starts at x 0";
}

TEST_F(TableViewGroups, GroupFooterColumnOptionTurnsItsFootersOff) {
  View->OptionsView.GroupFooters = gfVisibleWhenExpanded;
  City->Options.GroupFooters = false;
  AddGroupSummary(Amount, skSum, "", spFooter);
  TRecordingProvider& p = *Export();
  // Only the Region groups get footers: after n3 (East) and after n4 (West).
  std::vector<std::string> amounts;
  for (int r = 1; r < p.RowCount; ++r) amounts.push_back(p.Text(p.ColCount - 1, r));
  EXPECT_EQ(amounts, (std::vector<std::string>{"", "", "1", "2", "", "3", "6", "", "", "4", "4"}));
}

}  // namespace
}  // namespace kv::testing
