// The layout object of banded table views: band rectangles and band header
// cells, column header cells inside their bands, fixed and scrolled root
// bands, child bands, line counts and heights, the group indent of the
// first band, clipping to a set band width.  Figures with the default font:
// text height 15, so a column header line and a one-line band header are 19
// pixels high and the group-by box 31.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gridpack/BandedTableView.h"
#include "gridpack/BandedTableViewInfo.h"
#include "gridpack/DataController.h"

namespace kv {
namespace {

struct TLayoutView {
  TcxGridBandedTableView View;
  TcxGridBand* Band(const std::string& ACaption, TcxGridBand* AParent = nullptr) {
    TcxGridBand* band = View.Bands()->Add();
    band->SetCaption(ACaption);
    band->Position().SetBand(AParent);
    return band;
  }
  TcxGridBandedColumn* Column(const std::string& ACaption, TcxGridBand* ABand, int AWidth, int ARow = 0) {
    TcxGridBandedColumn* column = View.CreateColumn();
    column->SetCaption(ACaption);
    column->SetWidth(AWidth);
    column->Position().SetRowIndex(ARow);
    column->Position().SetBand(ABand);
    return column;
  }
  const TcxGridBandedTableViewInfo& Layout() { return *View.ViewInfo(); }
  const TcxGridBandViewInfo& BandInfo(const TcxGridBand* ABand) {
    const TcxGridBandViewInfo* info = Layout().BandsViewInfo().FindItem(ABand);
    EXPECT_NE(info, nullptr);
    static TcxGridBandViewInfo none;
    return info ? *info : none;
  }
  std::vector<TRect> HeaderCells() {
    std::vector<TRect> cells;
    const TcxGridHeaderViewInfo& header = Layout().HeaderViewInfo();
    for (int i = 0; i < header.Count(); ++i) cells.push_back(header.Items(i).Bounds());
    return cells;
  }
};

TEST(BandedLayout, FixedBandsStayScrollingBandsMoveAndRowsStack) {
  TLayoutView v;
  TcxGridBand* right = v.Band("R");
  TcxGridBand* scrolling = v.Band("S");
  TcxGridBand* left = v.Band("L");
  right->SetFixedKind(fkRight);
  left->SetFixedKind(fkLeft);
  left->HeaderAlignmentHorz = taRightJustify;
  v.Column("l1", left, 40);
  v.Column("l2", left, 30);
  v.Column("s1", scrolling, 50);
  v.Column("s2", scrolling, 20, 1);
  v.Column("r1", right, 60);
  v.View.OptionsView.Indicator = true;  // 12 pixels
  v.View.Controller()->SetLeftPos(10);

  const TcxGridBandedTableViewInfo& layout = v.Layout();
  EXPECT_EQ(layout.LineCount(), 2);
  EXPECT_EQ(layout.LineHeight(), 19);
  EXPECT_EQ(layout.BandHeaderHeight(), 19);
  EXPECT_EQ(layout.BandLevelCount(), 1);
  EXPECT_EQ(layout.DataWidth(), 70 + 50 + 60);
  EXPECT_EQ(layout.DataRowHeight(), 2 * 19);
  EXPECT_EQ(layout.FooterHeight(), 2 * 19 + 4);
  // Bands in display order: left-fixed, scrolling, right-fixed.
  const TcxGridBandsViewInfo& bands = layout.BandsViewInfo();
  ASSERT_EQ(bands.Count(), 3);
  EXPECT_EQ(bands.Items(0).Band(), left);
  EXPECT_EQ(bands.Items(2).Band(), right);
  // Band rectangles: the band header (below the 31-pixel group-by box) and
  // the two lines of column headers.
  EXPECT_EQ(v.BandInfo(left).Bounds(), (TRect{12, 31, 82, 88}));
  EXPECT_EQ(v.BandInfo(scrolling).Bounds(), (TRect{72, 31, 122, 88}));
  EXPECT_EQ(v.BandInfo(right).Bounds(), (TRect{740, 31, 800, 88}));
  const TcxGridBandHeaderViewInfo& header = v.BandInfo(left).HeaderViewInfo();
  EXPECT_EQ(header.Bounds(), (TRect{12, 31, 82, 50}));
  EXPECT_EQ(header.Text(), "L");
  EXPECT_EQ(header.AlignmentHorz(), taRightJustify);
  EXPECT_EQ(header.Params().Color, clBtnFace);
  EXPECT_EQ(v.BandInfo(left).Params().Color, clBtnFace);
  EXPECT_EQ(v.HeaderCells(),
            (std::vector<TRect>{
                {12, 50, 52, 69}, {52, 50, 82, 69}, {72, 50, 122, 69}, {72, 69, 92, 88}, {740, 50, 800, 69}}));
  EXPECT_EQ(layout.HeaderViewInfo().Bounds(), (TRect{12, 31, 800, 88}));

  // A tall column makes its row and its band taller.
  v.View.Columns(2)->Position().SetLineCount(2);  // s1
  EXPECT_EQ(v.Layout().LineCount(), 3);
  EXPECT_EQ(v.HeaderCells()[3], (TRect{72, 88, 92, 107}));
  EXPECT_EQ(v.BandInfo(left).Bounds().Bottom, 50 + 3 * 19);
}

TEST(BandedLayout, ChildBandsSitUnderTheirParentAndTheFirstBandTakesTheIndent) {
  TLayoutView v;
  v.View.OptionsView.GroupByBox = false;
  v.View.OptionsView.BandHeaderLineCount = 2;  // 2 * 15 + 4 = 34
  TcxGridBand* parent = v.Band("P");
  TcxGridBand* first = v.Band("C1", parent);
  TcxGridBand* second = v.Band("C2", parent);
  TcxGridBand* other = v.Band("Q");
  v.Column("a", first, 40);
  v.Column("a2", first, 10, 1);
  v.Column("b", second, 30)->Position().SetLineCount(2);
  TcxGridBandedColumn* q = v.Column("q", other, 50);
  q->SetGroupIndex(0);  // one group level: 20 pixels of indent

  const TcxGridBandedTableViewInfo& layout = v.Layout();
  EXPECT_EQ(layout.FirstItemAdditionalWidth(), 20);
  EXPECT_EQ(layout.BandHeaderHeight(), 34);
  EXPECT_EQ(layout.BandLevelCount(), 2);
  EXPECT_EQ(layout.LineCount(), 2);
  EXPECT_EQ(layout.DataWidth(), 60 + 30 + 50);
  // The parent's header is one level high, a band without child bands
  // reaches down to the column headers.
  EXPECT_EQ(v.BandInfo(parent).HeaderViewInfo().Bounds(), (TRect{0, 0, 90, 34}));
  EXPECT_EQ(v.BandInfo(first).HeaderViewInfo().Bounds(), (TRect{0, 34, 60, 68}));
  EXPECT_EQ(v.BandInfo(second).HeaderViewInfo().Bounds(), (TRect{60, 34, 90, 68}));
  EXPECT_EQ(v.BandInfo(other).HeaderViewInfo().Bounds(), (TRect{90, 0, 140, 68}));
  EXPECT_EQ(v.BandInfo(parent).Bounds(), (TRect{0, 0, 90, 106}));
  EXPECT_EQ(v.BandInfo(first).Bounds(), (TRect{0, 34, 60, 106}));
  EXPECT_EQ(v.BandInfo(first).Depth(), 1);
  // Every row of the first band starts with the indent.
  EXPECT_EQ(v.HeaderCells(),
            (std::vector<TRect>{{0, 68, 60, 87}, {0, 87, 30, 106}, {60, 68, 90, 106}, {90, 68, 140, 87}}));

  // A set band width clips what does not fit.
  parent->SetWidth(50);  // 70 with the indent
  EXPECT_EQ(v.BandInfo(parent).Bounds(), (TRect{0, 0, 70, 106}));
  EXPECT_EQ(v.BandInfo(second).Bounds(), (TRect{60, 34, 70, 106}));
  EXPECT_EQ(v.HeaderCells()[2], (TRect{60, 68, 70, 106}));
  EXPECT_EQ(v.BandInfo(other).Bounds().Left, 70);
  parent->SetWidth(0);

  // Without band headers the column headers move to the top.
  v.View.OptionsView.BandHeaders = false;
  EXPECT_EQ(v.Layout().BandHeaderHeight(), 0);
  EXPECT_TRUE(v.BandInfo(parent).HeaderViewInfo().Bounds().IsEmpty());
  EXPECT_EQ(v.HeaderCells()[0], (TRect{0, 0, 60, 19}));
  v.View.OptionsView.BandHeaders = true;
  v.View.OptionsView.BandHeaderHeight = 25;
  EXPECT_EQ(v.Layout().BandHeaderHeight(), 25);

  // A hidden band is not laid out, nor are its columns; the other child
  // band takes the indent.
  first->SetVisible(false);
  EXPECT_EQ(v.Layout().BandsViewInfo().FindItem(first), nullptr);
  EXPECT_EQ(v.Layout().BandsViewInfo().Count(), 3);
  EXPECT_EQ(v.HeaderCells().size(), 2u);
  EXPECT_EQ(v.HeaderCells()[0], (TRect{0, 50, 50, 88}));
  // A copy is laid out the same way.
  std::unique_ptr<TcxCustomGridView> copy = v.View.CreateClone();
  auto* banded = static_cast<TcxGridBandedTableView*>(copy.get());
  EXPECT_EQ(banded->ViewInfo()->HeaderViewInfo().Items(1).Bounds(), v.HeaderCells()[1]);
}

TEST(BandedLayout, AViewWithoutShownBandsHasNoHeaderCells) {
  TLayoutView v;
  v.View.CreateColumn()->SetCaption("loose");
  TcxGridBand* band = v.Band("hidden");
  band->SetVisible(false);
  v.Column("x", band, 40);
  const TcxGridBandedTableViewInfo& layout = v.Layout();
  EXPECT_EQ(layout.LineCount(), 0);
  EXPECT_EQ(layout.BandsViewInfo().Count(), 0);
  EXPECT_EQ(layout.HeaderViewInfo().Count(), 0);
  EXPECT_EQ(layout.DataWidth(), 0);
  EXPECT_EQ(layout.DataRowHeight(), 19);
}

}  // namespace
}  // namespace kv
