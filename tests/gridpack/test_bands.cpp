// Bands of banded table views: the band tree, column places in rows, which
// columns a banded view shows and in which order, freeing bands and columns,
// options and styles shared with the table view, and copies of views.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gridpack/BandedTableView.h"
#include "platform/Exceptions.h"

namespace kv {
namespace {

std::vector<std::string> VisibleCaptions(const TcxGridTableView& AView) {
  std::vector<std::string> captions;
  for (int i = 0; i < AView.VisibleColumnCount(); ++i) captions.push_back(AView.VisibleColumns(i)->Caption());
  return captions;
}

using Captions = std::vector<std::string>;

// A view with three root bands and named columns.
struct TBandedView {
  TcxGridBandedTableView View;
  TcxGridBand* A = View.Bands()->Add();
  TcxGridBand* B = View.Bands()->Add();
  TcxGridBand* C = View.Bands()->Add();
  TcxGridBandedColumn* Column(const std::string& ACaption, TcxGridBand* ABand, int ARow = 0) {
    TcxGridBandedColumn* column = View.CreateColumn();
    column->SetCaption(ACaption);
    column->Position().SetRowIndex(ARow);
    column->Position().SetBand(ABand);
    return column;
  }
};

TEST(Bands, VisibleColumnsFollowBandsRowsAndPlaces) {
  TBandedView v;
  v.A->SetCaption("A");
  TcxGridBandedColumn* a2 = v.Column("a2", v.A);
  TcxGridBandedColumn* c1 = v.Column("c1", v.C);
  v.Column("b1", v.B);
  TcxGridBandedColumn* a1 = v.Column("a1", v.A);
  TcxGridBandedColumn* a3 = v.Column("a3", v.A, 1);  // second row
  v.View.CreateColumn()->SetCaption("loose");        // in no band: not shown
  a1->Position().SetColIndex(0);
  EXPECT_EQ(a2->Position().ColIndex(), 1);
  EXPECT_EQ(a3->Position().RowIndex(), 1);
  EXPECT_EQ(v.A->RowCount(), 2);
  EXPECT_EQ(VisibleCaptions(v.View), (Captions{"a1", "a2", "a3", "b1", "c1"}));
  EXPECT_EQ(v.View.VisibleColumnCount(), 5);
  EXPECT_EQ(c1->VisibleIndex(), 4);
  EXPECT_EQ(v.View.Columns(5)->VisibleIndex(), -1);
  EXPECT_THROW(v.View.VisibleColumns(5), EListError);

  // Root band order: left-fixed first, then scrolling, then right-fixed.
  v.A->SetFixedKind(fkRight);
  v.C->SetFixedKind(fkLeft);
  EXPECT_EQ(v.View.Bands()->RootBands(0), v.C);
  EXPECT_EQ(v.View.Bands()->RootBands(2), v.A);
  EXPECT_EQ(VisibleCaptions(v.View), (Captions{"c1", "b1", "a1", "a2", "a3"}));
  v.A->SetFixedKind(fkNone);
  v.C->SetFixedKind(fkNone);
  v.C->Position().SetColIndex(0);
  EXPECT_EQ(VisibleCaptions(v.View), (Captions{"c1", "a1", "a2", "a3", "b1"}));

  // A hidden band hides its columns; a hidden column leaves its place.
  v.A->SetVisible(false);
  EXPECT_EQ(VisibleCaptions(v.View), (Captions{"c1", "b1"}));
  EXPECT_EQ(a1->VisibleIndex(), -1);
  v.A->SetVisible(true);
  a2->SetVisible(false);
  EXPECT_EQ(VisibleCaptions(v.View), (Captions{"c1", "a1", "a3", "b1"}));
}

TEST(Bands, RowsAndLineCounts) {
  TBandedView v;
  TcxGridBandedColumn* x = v.Column("x", v.A);
  TcxGridBandedColumn* y = v.Column("y", v.A, 1);
  TcxGridBandedColumn* z = v.Column("z", v.A, 1);
  v.Column("b", v.B);
  EXPECT_EQ(v.A->LineCount(), 2);
  EXPECT_EQ(v.B->LineCount(), 1);
  EXPECT_EQ(v.C->LineCount(), 1);  // empty bands still take a line
  EXPECT_EQ(v.View.Bands()->LineCount(), 2);
  x->Position().SetLineCount(3);  // the first row is three lines high
  EXPECT_EQ(v.A->LineCount(), 4);
  x->Position().SetLineCount(0);
  EXPECT_EQ(x->Position().LineCount(), 1);
  // A row beyond the last makes a new row; a row left empty goes.
  y->Position().SetRowIndex(7);
  EXPECT_EQ(y->Position().RowIndex(), 2);
  EXPECT_EQ(z->Position().RowIndex(), 1);
  z->Position().SetRowIndex(0);
  EXPECT_EQ(v.A->RowCount(), 2);
  EXPECT_EQ(y->Position().RowIndex(), 1);
  EXPECT_EQ(z->Position().ColIndex(), 1);
  // Hidden columns take no line.
  y->SetVisible(false);
  EXPECT_EQ(v.A->LineCount(), 1);
  v.B->SetVisible(false);
  v.A->SetVisible(false);
  v.C->SetVisible(false);
  EXPECT_EQ(v.View.Bands()->LineCount(), 0);
}

TEST(Bands, ChildBandsFormATree) {
  TBandedView v;
  TcxGridBandedColumn* a1 = v.Column("a1", v.A);
  v.Column("c1", v.C);
  // B goes into A, which holds columns: they move into B.
  v.B->Position().SetBand(v.A);
  EXPECT_EQ(v.B->ParentBand(), v.A);
  EXPECT_EQ(v.B->Position().BandIndex(), 0);
  EXPECT_EQ(a1->Position().Band(), v.B);
  EXPECT_EQ(v.A->ColumnCount(), 0);
  EXPECT_EQ(v.View.Bands()->RootBandCount(), 2);
  TcxGridBand* d = v.View.Bands()->Add();
  d->Position().SetBand(v.A);
  v.Column("d1", d);
  v.Column("d2", d, 1);
  d->Position().SetColIndex(0);
  EXPECT_EQ(v.A->ChildBands(0), d);
  EXPECT_EQ(v.A->LineCount(), 2);
  EXPECT_EQ(VisibleCaptions(v.View), (Captions{"d1", "d2", "a1", "c1"}));
  // A root band fixes its child bands.
  v.A->SetFixedKind(fkRight);
  EXPECT_EQ(d->FixedKind(), fkRight);
  EXPECT_EQ(d->RootBand(), v.A);
  // A hidden parent hides the child bands' columns.
  v.A->SetVisible(false);
  EXPECT_FALSE(d->ActuallyVisible());
  EXPECT_EQ(VisibleCaptions(v.View), (Captions{"c1"}));
  v.A->SetVisible(true);

  // What cannot be: a band in itself or below itself, a column in a band
  // with child bands, a band or column of another view.
  EXPECT_THROW(v.A->Position().SetBand(d), EInvalidOperation);
  EXPECT_THROW(v.A->Position().SetBand(v.A), EInvalidOperation);
  EXPECT_THROW(v.View.CreateColumn()->Position().SetBand(v.A), EInvalidOperation);
  TcxGridBandedTableView other;
  EXPECT_THROW(other.CreateColumn()->Position().SetBand(v.C), EInvalidOperation);
  EXPECT_THROW(other.Bands()->Add()->Position().SetBand(v.C), EInvalidOperation);
  EXPECT_EQ(v.A->ChildBandCount(), 2);

  // A band holding child bands moved into a band with columns: the columns
  // go to its first band at the bottom.
  TcxGridBandedColumn* c1 = v.View.Columns(1);
  v.A->Position().SetBand(v.C);
  EXPECT_EQ(c1->Position().Band(), d);
  EXPECT_EQ(c1->Position().RowIndex(), 2);
  EXPECT_EQ(v.C->ColumnCount(), 0);
  EXPECT_EQ(VisibleCaptions(v.View), (Captions{"d1", "d2", "c1", "a1"}));
}

TEST(Bands, FreeingBandsAndColumnsKeepsTheRest) {
  TBandedView v;
  TcxGridBandedColumn* a1 = v.Column("a1", v.A);
  v.B->Position().SetBand(v.A);  // a1 moves into B
  TcxGridBand* d = v.View.Bands()->Add();
  d->Position().SetBand(v.A);
  v.Column("d1", d);
  TcxGridBandedColumn* d2 = v.Column("d2", d);
  v.Column("c1", v.C);

  // Freeing A: its child bands take its place among the root bands.
  v.View.Bands()->Delete(v.A->Index());
  ASSERT_EQ(v.View.Bands()->Count(), 3);
  EXPECT_EQ(v.View.Bands()->RootBands(0), v.B);
  EXPECT_EQ(v.View.Bands()->RootBands(1), d);
  EXPECT_EQ(v.View.Bands()->RootBands(2), v.C);
  EXPECT_TRUE(v.B->IsRoot());
  EXPECT_EQ(VisibleCaptions(v.View), (Captions{"a1", "d1", "d2", "c1"}));

  // Freeing a column takes it out of its row.
  v.View.DeleteColumn(1);  // d1
  EXPECT_EQ(d->ColumnCount(), 1);
  EXPECT_EQ(d2->Position().ColIndex(), 0);
  EXPECT_EQ(VisibleCaptions(v.View), (Captions{"a1", "d2", "c1"}));

  // Freeing a band with columns: they are in no band and not shown.
  v.View.Bands()->Delete(v.B->Index());
  EXPECT_EQ(a1->Position().Band(), nullptr);
  EXPECT_EQ(a1->Position().BandIndex(), -1);
  EXPECT_EQ(VisibleCaptions(v.View), (Captions{"d2", "c1"}));
  a1->Position().SetBandIndex(v.C->Index());
  EXPECT_EQ(VisibleCaptions(v.View), (Captions{"d2", "c1", "a1"}));
  v.View.Bands()->Clear();
  EXPECT_EQ(v.View.VisibleColumnCount(), 0);
  EXPECT_EQ(v.View.ColumnCount(), 3);
}

TEST(Bands, OptionsAndStylesAreTheTableViewsToo) {
  TcxGridBandedTableView view;
  TcxGridTableView* table = &view;
  view.OptionsView.BandHeaders = false;
  table->OptionsView.Header = false;
  EXPECT_FALSE(view.OptionsView.Header);
  EXPECT_EQ(&static_cast<TcxGridTableOptionsView&>(view.OptionsView), &table->OptionsView);

  TComponent owner;
  auto* header = new TcxStyle(&owner);
  header->SetColor(clRed);
  auto* bandHeader = new TcxStyle(&owner);
  bandHeader->SetColor(clBlue);
  auto* content = new TcxStyle(&owner);
  content->SetTextColor(clGreen);
  TcxGridBand* band = view.Bands()->Add();
  TcxGridBandedTableViewStyles* styles = view.Styles();
  EXPECT_EQ(static_cast<TcxGridTableViewStyles*>(styles), table->Styles());
  styles->SetValues(TcxGridBandedTableViewStyles::vsBandHeader, bandHeader);
  EXPECT_EQ(styles->BandHeader(), bandHeader);
  EXPECT_EQ(TcxGridBandedTableViewStyles::vsBandBackground, 19);

  TcxViewParams params;
  styles->GetBandHeaderParams(band, params);
  EXPECT_EQ(params.Color, clBlue);
  band->Styles()->SetHeader(header);
  styles->GetBandHeaderParams(band, params);
  EXPECT_EQ(params.Color, clRed);
  TcxStyle* fromEvent = bandHeader;
  band->Styles()->OnGetHeaderStyle = [&](TcxGridBandedTableView*, TcxGridBand*, TcxStyle*& AStyle) {
    AStyle = fromEvent;
  };
  styles->GetBandHeaderParams(band, params);
  EXPECT_EQ(params.Color, clBlue);
  styles->GetBandBackgroundParams(band, params);
  EXPECT_EQ(params.Color, clBtnFace);
  EXPECT_EQ(params.TextColor, clBtnText);

  // Band content: the band's Content style over the record's content chain.
  styles->SetValues(TcxGridTableViewStyles::vsContent, header);
  band->Styles()->SetContent(content);
  styles->GetBandContentParams(nullptr, band, params);
  EXPECT_EQ(params.Color, clRed);
  EXPECT_EQ(params.TextColor, clGreen);
  delete content;  // freeing a style empties the slots holding it
  styles->GetBandContentParams(nullptr, band, params);
  EXPECT_EQ(params.TextColor, clWindowText);
}

TEST(Bands, CopiesHaveTheSameBandsAndPlaces) {
  TBandedView v;
  v.View.OptionsView.BandHeaderLineCount = 2;
  v.A->SetCaption("A");
  v.A->SetWidth(120);
  v.C->SetFixedKind(fkLeft);
  v.C->SetVisible(false);
  TcxGridBandedColumn* a1 = v.Column("a1", v.A);
  v.Column("a2", v.A, 1)->Position().SetLineCount(2);
  v.Column("a3", v.A);
  a1->Position().SetColIndex(1);
  v.B->Position().SetBand(v.A);  // a1..a3 move into B
  v.Column("c1", v.C);

  std::unique_ptr<TcxCustomGridView> clone = v.View.CreateClone();
  auto* copy = dynamic_cast<TcxGridBandedTableView*>(clone.get());
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->OptionsView.BandHeaderLineCount, 2);
  ASSERT_EQ(copy->Bands()->Count(), 3);
  TcxGridBand* a = copy->Bands()->Items(0);
  TcxGridBand* b = copy->Bands()->Items(1);
  TcxGridBand* c = copy->Bands()->Items(2);
  EXPECT_EQ(a->Caption(), "A");
  EXPECT_EQ(a->Width(), 120);
  EXPECT_EQ(b->ParentBand(), a);
  EXPECT_EQ(c->FixedKind(), fkLeft);
  EXPECT_FALSE(c->Visible());
  EXPECT_EQ(copy->Bands()->RootBands(0), c);
  EXPECT_EQ(VisibleCaptions(*copy), VisibleCaptions(v.View));
  EXPECT_EQ(VisibleCaptions(*copy), (Captions{"a3", "a1", "a2"}));
  TcxGridBandedColumn* a2 = copy->Columns(1);
  EXPECT_EQ(a2->Position().Band(), b);
  EXPECT_EQ(a2->Position().RowIndex(), 1);
  EXPECT_EQ(a2->Position().LineCount(), 2);
  EXPECT_EQ(copy->Columns(3)->Position().Band(), c);
  EXPECT_EQ(b->LineCount(), 3);
}

}  // namespace
}  // namespace kv
