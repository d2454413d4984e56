// The table view exporter on plain views: header cells, data cells, their
// borders by the grid lines, column widths and row heights, hidden headers
// and views that give no cell.
#include "ViewExportSupport.h"

namespace kv::testing {
namespace {

using TableViewLayout = ViewExportTest;

TEST_F(TableViewLayout, HeaderAndDataCellsSitWhereTheHeadersSit) {
  AddColumn("名称", 64);
  TcxGridColumn* amount = AddColumn("Amount", 80);
  amount->SetPropertiesClass<TcxCalcEditProperties>();
  AddRow({Variant("alpha"), Variant(1.5)});
  AddRow({Variant("beta"), Variant(-2.0)});
  AddRow({Variant("gamma"), Variant(1000.25)});

  TRecordingProvider& p = *Export();
  ASSERT_TRUE(p.GridDefined);
  EXPECT_EQ(p.ColCount, 2);
  EXPECT_EQ(p.RowCount, 4);
  EXPECT_FALSE(p.ShowGridLines);
  EXPECT_EQ(p.FinishCount, 1);
  EXPECT_EQ(p.ColumnWidths, (std::map<int, int>{{0, 64}, {1, 80}}));
  EXPECT_TRUE(p.RowHeights.empty()) << "every row is a base row of 19 pixels";
  EXPECT_EQ(p.RowTexts(0), (std::vector<std::string>{"名称", "Amount"}));
  EXPECT_EQ(p.RowTexts(1), (std::vector<std::string>{"alpha", "1.5"}));
  EXPECT_EQ(p.RowTexts(2), (std::vector<std::string>{"beta", "-2"}));
  EXPECT_EQ(p.RowTexts(3), (std::vector<std::string>{"gamma", "1000.25"}));
  // Without native values every cell value is 8-bit text.
  EXPECT_EQ(p.Value(1, 1).VarType(), varString);

  // Header cells: button face fill, four button-shadow borders, the header's
  // alignment.  Data cells: the content colours, grid-line borders, the
  // editor's alignment (calc edits are right-justified).
  const TcxExportCellStyle& header = p.StyleOf(0, 0);
  EXPECT_EQ(header.BrushBkColor, GetSysColor(COLOR_BTNFACE));
  for (int side = 0; side < 4; ++side) {
    EXPECT_EQ(header.CellBorders[side].IsDefault, 0);
    EXPECT_EQ(header.CellBorders[side].Width, 1);
    EXPECT_EQ(header.CellBorders[side].Color, GetSysColor(COLOR_BTNSHADOW));
  }
  EXPECT_EQ(header.AlignText, catLeft);
  const TcxExportCellStyle& text = p.StyleOf(0, 1);
  EXPECT_EQ(text.BrushBkColor, GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(text.FontColor, GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(text.FontNameText(), DefaultFont().Name);
  EXPECT_EQ(text.FontSize, 9);
  EXPECT_EQ(p.StyleOf(1, 2).AlignText, catRight);
  for (int side = 0; side < 4; ++side) EXPECT_TRUE(HasBorder(p, 1, 3, side));
  EXPECT_TRUE(p.Merges.empty());
}

TEST_F(TableViewLayout, GridLinesDecideTheBordersOfDataCellsOnly) {
  struct TCase {
    TcxGridLines Lines;
    bool Left, Top, Right, Bottom;
  } cases[] = {
      {glBoth, true, true, true, true},
      {glNone, false, false, false, false},
      {glVertical, true, false, true, false},
      {glHorizontal, false, true, false, true},
  };
  AddColumn("A");
  AddRow({Variant("x")});
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Lines);
    TRecordingProvider::Kept().clear();
    View->OptionsView.GridLines = c.Lines;
    View->OptionsView.GridLineColor = clRed;
    TRecordingProvider& p = *Export();
    EXPECT_EQ(HasBorder(p, 0, 1, cxBorderLeft), c.Left);
    EXPECT_EQ(HasBorder(p, 0, 1, cxBorderTop), c.Top);
    EXPECT_EQ(HasBorder(p, 0, 1, cxBorderRight), c.Right);
    EXPECT_EQ(HasBorder(p, 0, 1, cxBorderBottom), c.Bottom);
    if (c.Left) {
      EXPECT_EQ(p.StyleOf(0, 1).CellBorders[cxBorderLeft].Color, ColorToRGB(clRed));
    }
    for (int side = 0; side < 4; ++side) EXPECT_TRUE(HasBorder(p, 0, 0, side)) << "header side " << side;
  }
}

TEST_F(TableViewLayout, HiddenHeaderWritesNoHeaderCellsAndRecordsStartAtTheTop) {
  AddColumn("A", 50);
  AddColumn("B", 30);
  AddRow({Variant("a1"), Variant("b1")});
  AddRow({Variant("a2"), Variant("b2")});
  View->OptionsView.Header = false;
  TRecordingProvider& p = *Export();
  ASSERT_EQ(p.RowCount, 2);
  EXPECT_EQ(p.RowTexts(0), (std::vector<std::string>{"a1", "b1"}));
  EXPECT_EQ(p.RowTexts(1), (std::vector<std::string>{"a2", "b2"}));
  EXPECT_EQ(p.ColumnWidths, (std::map<int, int>{{0, 50}, {1, 30}}));
  EXPECT_TRUE(p.RowHeights.empty()) << "records keep the header's height";
}

TEST_F(TableViewLayout, AViewWithoutVisibleColumnsTakesTheDataRowHeightAndGivesNoCell) {
  TcxGridColumn* hidden = AddColumn("A");
  hidden->SetVisible(false);
  AddRow({Variant("a1")});
  View->OptionsView.Footer = true;
  TRecordingProvider& p = *Export();
  // The footer area is the only item; it spans no width, so no grid is made.
  EXPECT_FALSE(p.GridDefined);
  EXPECT_EQ(p.FinishCount, 1);
}

TEST_F(TableViewLayout, ScrollPositionAndIndicatorDoNotMoveTheSheet) {
  AddColumn("A", 40);
  AddColumn("B", 60);
  AddRow({Variant("a"), Variant("b")});
  View->OptionsView.Indicator = true;
  View->Controller()->SetLeftPos(25);
  TRecordingProvider& p = *Export();
  EXPECT_EQ(p.ColumnWidths, (std::map<int, int>{{0, 40}, {1, 60}}));
  EXPECT_EQ(p.RowTexts(1), (std::vector<std::string>{"a", "b"}));
}

TEST_F(TableViewLayout, DisplayTextEventChangesTheCellText) {
  TcxGridColumn* a = AddColumn("A");
  a->OnGetDisplayText = [](TcxCustomGridTableItem*, TcxCustomGridRecord* ARecord, std::string& AText) {
    AText = "<" + AText + ":" + std::to_string(ARecord->Index()) + ">";
  };
  AddRow({Variant("x")});
  AddRow({Variant("y")});
  TRecordingProvider& p = *Export();
  EXPECT_EQ(p.Text(0, 1), "<x:0>");
  EXPECT_EQ(p.Text(0, 2), "<y:1>");
}

}  // namespace
}  // namespace kv::testing
