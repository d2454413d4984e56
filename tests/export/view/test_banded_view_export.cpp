// The banded table view exporter: band headers above the column headers,
// root bands side by side from x 0 whatever their screen places, child
// bands and columns at their distance from their root band, hidden band or
// column headers, records of several cell lines with the band's content
// colour behind and between the cells, group rows and footers of such
// records.  Figures with the default font: header lines, band headers and
// base rows 19 pixels, group rows 21.
#include "ViewExportSupport.h"
#include "export/BandedTableViewExport.h"
#include "gridpack/BandedTableView.h"
#include "gridpack/DBBandedTableView.h"

namespace kv::testing {
namespace {

using Texts = std::vector<std::string>;

class BandedViewExport : public ViewExportTest {
 protected:
  void SetUp() override {
    ViewExportTest::SetUp();
    Banded = new TcxGridBandedTableView(Form.get());
    View = Banded;
    Grid->Levels()->Items(0)->SetGridView(Banded);
  }

  TcxGridBand* AddBand(const std::string& ACaption, TcxGridBand* AParent = nullptr) {
    TcxGridBand* band = Banded->Bands()->Add();
    band->SetCaption(ACaption);
    band->Position().SetBand(AParent);
    return band;
  }
  TcxGridBandedColumn* AddBandedColumn(const std::string& ACaption, TcxGridBand* ABand, int AWidth, int ARow = 0) {
    auto* column = static_cast<TcxGridBandedColumn*>(AddColumn(ACaption, AWidth));
    column->Position().SetRowIndex(ARow);
    column->Position().SetBand(ABand);
    return column;
  }
  TcxStyle* ColorStyle(TColor AColor) {
    auto* style = new TcxStyle(Form.get());
    style->SetColor(AColor);
    return style;
  }
  static void ExpectMerge(TRecordingProvider& AProvider, int ACol, int ARow, int ARowSpan, int AColSpan) {
    const TRecordedMerge* merge = AProvider.MergeAt(ACol, ARow);
    ASSERT_NE(merge, nullptr) << ACol << "," << ARow;
    EXPECT_EQ(merge->RowSpan, ARowSpan) << ACol << "," << ARow;
    EXPECT_EQ(merge->ColSpan, AColSpan) << ACol << "," << ARow;
  }

  TcxGridBandedTableView* Banded = nullptr;
};

TEST_F(BandedViewExport, RootBandsLieSideBySideFromTheLeftWhateverTheScreenShows) {
  TcxGridBand* a = AddBand("A");
  TcxGridBand* b = AddBand("B");
  AddBandedColumn("a1", a, 40);
  AddBandedColumn("a2", a, 30);
  AddBandedColumn("b1", b, 50);
  AddRow({Variant("x1"), Variant("y1"), Variant("z1")});
  Banded->OptionsView.Indicator = true;
  Banded->Controller()->SetLeftPos(100);  // A is scrolled out of view

  TRecordingProvider& p = *Export();
  EXPECT_STREQ(ExporterClassFor(Banded)->ClassName, "TcxGridBandedTableViewExport");
  ASSERT_EQ(p.RowCount, 3);
  EXPECT_EQ(p.ColumnWidths, (std::map<int, int>{{0, 40}, {1, 30}, {2, 50}}));
  EXPECT_EQ(p.RowTexts(0), (Texts{"A", "", "B"}));
  EXPECT_EQ(p.RowTexts(1), (Texts{"a1", "a2", "b1"}));
  EXPECT_EQ(p.RowTexts(2), (Texts{"x1", "y1", "z1"}));
  ExpectMerge(p, 0, 0, 1, 2);
  // Band headers: the band header style (button face), four button-shadow
  // borders, centred captions.
  const TcxExportCellStyle& header = p.StyleOf(2, 0);
  EXPECT_EQ(header.BrushBkColor, GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(header.AlignText, catCenter);
  for (int side = 0; side < 4; ++side) EXPECT_TRUE(HasBorder(p, 2, 0, side)) << side;

  // Fixed bands: the left-fixed band comes first on the sheet too, the
  // right-fixed one last, wherever the screen puts them.
  TRecordingProvider::Kept().clear();
  a->SetFixedKind(fkRight);
  b->SetFixedKind(fkLeft);
  TRecordingProvider& q = *Export();
  EXPECT_EQ(q.ColumnWidths, (std::map<int, int>{{0, 50}, {1, 40}, {2, 30}}));
  EXPECT_EQ(q.RowTexts(0), (Texts{"B", "A", ""}));
  EXPECT_EQ(q.RowTexts(2), (Texts{"z1", "x1", "y1"}));
}

TEST_F(BandedViewExport, ChildBandsAndTheirColumnsKeepTheirDistanceFromTheRootBand) {
  TcxGridBand* fixed = AddBand("Q");
  TcxGridBand* parent = AddBand("P");
  TcxGridBand* first = AddBand("C1", parent);
  TcxGridBand* second = AddBand("C2", parent);
  fixed->SetFixedKind(fkLeft);
  AddBandedColumn("c1", first, 40);
  AddBandedColumn("c2", second, 30);
  AddBandedColumn("q", fixed, 50);
  AddRow({Variant("v1"), Variant("v2"), Variant("vq")});
  Banded->Controller()->SetLeftPos(15);  // moves P and its child bands only

  TRecordingProvider& p = *Export();
  ASSERT_EQ(p.RowCount, 4);
  EXPECT_EQ(p.ColumnWidths, (std::map<int, int>{{0, 50}, {1, 40}, {2, 30}}));
  EXPECT_EQ(p.RowTexts(0), (Texts{"Q", "P", ""}));
  EXPECT_EQ(p.RowTexts(1), (Texts{"", "C1", "C2"}));
  EXPECT_EQ(p.RowTexts(2), (Texts{"q", "c1", "c2"}));
  EXPECT_EQ(p.RowTexts(3), (Texts{"vq", "v1", "v2"}));
  ExpectMerge(p, 0, 0, 2, 1);  // a band without child bands reaches the column headers
  ExpectMerge(p, 1, 0, 1, 2);  // the parent's header spans its child bands
}

TEST_F(BandedViewExport, HiddenBandOrColumnHeadersLetTheRecordsMoveUp) {
  struct TCase {
    bool BandHeaders, Header;
    std::vector<Texts> Rows;
  } cases[] = {
      {true, true, {{"A", "B"}, {"a", "b"}, {"1", "2"}}},
      {false, true, {{"a", "b"}, {"1", "2"}}},  // records below the column headers
      {false, false, {{"1", "2"}}},             // records at the top
      {true, false, {{"A", "B"}, {"1", "2"}}},  // records below the band headers
  };
  TcxGridBand* a = AddBand("A");
  TcxGridBand* b = AddBand("B");
  AddBandedColumn("a", a, 40);
  AddBandedColumn("b", b, 50);
  AddRow({Variant("1"), Variant("2")});
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.BandHeaders) + std::to_string(c.Header));
    TRecordingProvider::Kept().clear();
    Banded->OptionsView.BandHeaders = c.BandHeaders;
    Banded->OptionsView.Header = c.Header;
    TRecordingProvider& p = *Export();
    ASSERT_EQ(p.RowCount, static_cast<int>(c.Rows.size()));
    for (size_t r = 0; r < c.Rows.size(); ++r) EXPECT_EQ(p.RowTexts(static_cast<int>(r)), c.Rows[r]) << r;
    EXPECT_TRUE(p.RowHeights.empty());
    // The data cells keep their content style.
    EXPECT_EQ(p.StyleOf(0, p.RowCount - 1).BrushBkColor, GetSysColor(COLOR_WINDOW));
  }
}

TEST_F(BandedViewExport, ColumnsInTwoRowsMakeRecordsOfTwoLines) {
  TcxGridBand* a = AddBand("A");
  TcxGridBand* b = AddBand("B");
  a->Styles()->SetContent(ColorStyle(clRed));
  b->Styles()->SetContent(ColorStyle(clGreen));
  TcxGridBandedColumn* x = AddBandedColumn("x", a, 60);
  TcxGridBandedColumn* y = AddBandedColumn("y", a, 30, 1);
  TcxGridBandedColumn* k = AddBandedColumn("k", b, 50);
  AddRow({Variant(1), Variant(10), Variant("g1")});
  AddRow({Variant(2), Variant(20), Variant("g1")});
  AddRow({Variant(3), Variant(30), Variant("g2")});
  k->SetGroupIndex(0);
  Banded->OptionsView.GroupSummaryLayout = gslAlignWithColumns;
  AddGroupSummary(x, skSum);
  Banded->OptionsView.Footer = true;
  AddFooterSummary(x, skSum);
  AddFooterSummary(y, skSum);

  TRecordingProvider& p = *Export();
  // Columns: the indent (0..20), y's right edge (50), x's and band A's (80),
  // band B (130).  Rows: band headers, two header lines, then per group a
  // group row and two lines per record, then two footer lines.
  EXPECT_EQ(p.ColumnWidths, (std::map<int, int>{{0, 20}, {1, 30}, {2, 30}, {3, 50}}));
  ASSERT_EQ(p.RowCount, 13);
  // Only the group rows differ from the base row, half a record high.
  EXPECT_EQ(p.RowHeights, (std::map<int, int>{{3, 21}, {8, 21}}));
  EXPECT_EQ(p.RowTexts(0), (Texts{"A", "", "", "B"}));
  EXPECT_EQ(p.RowTexts(1), (Texts{"x", "", "", "k"}));
  EXPECT_EQ(p.RowTexts(2), (Texts{"y", "", "", ""}));
  ExpectMerge(p, 0, 1, 1, 3);
  ExpectMerge(p, 0, 2, 1, 2);
  EXPECT_EQ(p.RowTexts(4), (Texts{"", "1", "", "g1"}));
  EXPECT_EQ(p.RowTexts(5), (Texts{"", "10", "", ""}));
  EXPECT_EQ(p.RowTexts(7), (Texts{"", "20", "", ""}));
  EXPECT_EQ(p.RowTexts(10), (Texts{"", "30", "", ""}));
  ExpectMerge(p, 1, 4, 1, 2);  // x after the indent
  ExpectMerge(p, 0, 4, 2, 1);  // the indent spans the record

  // The band's content colour fills every data row behind and between the
  // cells; the cells keep theirs.
  for (int row : {5, 7, 10}) {
    SCOPED_TRACE(row);
    EXPECT_EQ(p.StyleOf(2, row).BrushBkColor, ColorToRGB(clRed));
    EXPECT_EQ(p.StyleOf(3, row).BrushBkColor, ColorToRGB(clGreen));
    EXPECT_EQ(p.StyleOf(1, row).BrushBkColor, GetSysColor(COLOR_WINDOW));
  }
  EXPECT_EQ(p.StyleOf(3, 4).BrushBkColor, GetSysColor(COLOR_WINDOW));

  // Summaries along the columns need one column row: the group rows show
  // the standard text.
  auto* group = dynamic_cast<TcxGridGroupRow*>(View->ViewData()->Records(0));
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(p.RowTexts(3), (Texts{"-", group->DisplayText(), "", ""}));
  ExpectMerge(p, 1, 3, 1, 3);

  // The footer has two lines: each summary sits in its column's line and
  // spans its column.
  const TcxDataSummary& summary = Data()->Summary();
  const std::string xSum = summary.FooterSummaryItems().Items(0)->FormatValue(summary.FooterSummaryValues(0), true);
  const std::string ySum = summary.FooterSummaryItems().Items(1)->FormatValue(summary.FooterSummaryValues(1), true);
  EXPECT_EQ(p.Text(0, 11), xSum);
  EXPECT_EQ(p.Text(0, 12), ySum);
  EXPECT_NE(xSum, ySum);
  ExpectMerge(p, 0, 11, 1, 3);
  ExpectMerge(p, 0, 12, 1, 2);
  EXPECT_EQ(p.StyleOf(3, 12).BrushBkColor, GetSysColor(COLOR_BTNFACE)) << "the footer's fill";

  // With every column in one row the summaries line up with the columns.
  TRecordingProvider::Kept().clear();
  y->Position().SetRowIndex(0);
  TRecordingProvider& q = *Export();
  EXPECT_EQ(q.Text(1, 2), group->DisplayCaption());
  bool found = false;
  for (int c = 2; c < q.ColCount; ++c) found = found || q.Text(c, 2) == "3";
  EXPECT_TRUE(found) << "the sum of x in its column";
}

TEST_F(BandedViewExport, DataBoundBandedViewsAndTheirCopiesUseTheBandedExporter) {
  TcxGridDBBandedTableView db;
  EXPECT_STREQ(ExporterClassFor(&db)->ClassName, "TcxGridBandedTableViewExport");
  TcxGridTableView table;
  EXPECT_STREQ(ExporterClassFor(&table)->ClassName, "TcxGridTableViewExport");
  // A banded view whose bands show nothing writes no cell.
  AddBandedColumn("loose", nullptr, 40);
  AddRow({Variant("v")});
  TRecordingProvider& p = *Export();
  EXPECT_FALSE(p.GridDefined);
}

}  // namespace
}  // namespace kv::testing
