// The grid pack stand-in: levels and their views, columns in index order with
// their bindings, and the data-bound controller following its dataset.
#include <gtest/gtest.h>

#include "gridpack/DBTableView.h"
#include "support/ViewFixture.h"

namespace kv {
namespace {

using testing::TViewForm;

TEST(Grid, ActiveLevelAndFocusedView) {
  TComponent form;
  auto* grid = new TcxGrid(&form);
  EXPECT_EQ(grid->ActiveLevel(), nullptr);
  EXPECT_EQ(grid->FocusedView(), nullptr);
  auto* first = new TcxGridDBBandedTableView(&form);
  auto* second = new TcxGridDBTableView(&form);
  TcxGridLevel* l1 = grid->Levels()->Add();
  TcxGridLevel* l2 = grid->Levels()->Add();
  TcxGridLevel* detail = l1->Add();
  l1->SetGridView(first);
  l2->SetGridView(second);
  EXPECT_EQ(grid->ActiveLevel(), l1);  // the first top level unless chosen
  EXPECT_EQ(grid->FocusedView(), first);
  grid->SetActiveLevel(l2);
  EXPECT_EQ(grid->FocusedView(), second);
  grid->SetActiveLevel(detail);  // not a top level: ignored
  EXPECT_EQ(grid->ActiveLevel(), l2);
  EXPECT_EQ(detail->Parent(), l1);
  EXPECT_EQ(l1->Parent(), nullptr);
  EXPECT_TRUE(first->IsMaster());
  EXPECT_EQ(first->Control(), grid);
  EXPECT_EQ(l2->Index(), 1);
  EXPECT_THROW(grid->Levels()->Items(2), EListError);
}

TEST(Grid, ViewsBelongToTheFormAndLevelsForgetFreedViews) {
  TComponent form;
  auto* grid = new TcxGrid(&form);
  auto* view = new TcxGridDBBandedTableView(&form);
  TcxGridLevel* level = grid->Levels()->Add();
  level->SetGridView(view);
  // The view is the form's component, not the grid's.
  EXPECT_EQ(view->Owner(), &form);
  EXPECT_EQ(form.ComponentCount(), 2);
  delete view;
  EXPECT_EQ(level->GridView(), nullptr);
  EXPECT_EQ(grid->FocusedView(), nullptr);

  // Moving a view to another level detaches it from the first.
  auto* moved = new TcxGridDBBandedTableView(&form);
  TcxGridLevel* other = grid->Levels()->Add();
  level->SetGridView(moved);
  other->SetGridView(moved);
  EXPECT_EQ(level->GridView(), nullptr);
  EXPECT_EQ(moved->Level(), other);
  delete grid;  // the view outlives its grid
  EXPECT_EQ(moved->Level(), nullptr);
  EXPECT_EQ(moved->Control(), nullptr);
}

TEST(Columns, IndexOrderVisibilityAndBinding) {
  TViewForm f;
  f.Define({{"ID", ftInteger}, {"NAME", ftString, 10}, {"DAY", ftDate}});
  f.DataSet->FieldByName("NAME")->DisplayLabel = "名称";
  f.BindAllFields();
  TcxGridDBBandedTableView* v = f.View;
  ASSERT_EQ(v->ColumnCount(), 3);
  EXPECT_EQ(v->Columns(1)->Caption(), "名称");  // the field's display name
  v->Columns(1)->SetCaption("客户");
  EXPECT_EQ(v->Columns(1)->Caption(), "客户");
  EXPECT_EQ(v->Columns(0)->DataBinding()->Field(), f.DataSet->FieldByName("ID"));

  v->Columns(2)->SetIndex(0);  // DAY moves to the front
  EXPECT_EQ(v->Columns(0)->DataBinding()->FieldName, "DAY");
  EXPECT_EQ(v->Columns(1)->Index(), 1);
  v->Columns(1)->SetVisible(false);
  EXPECT_EQ(v->VisibleColumnCount(), 2);
  // A banded view shows its columns in band order, whatever their index.
  EXPECT_EQ(DBDataBindingOf(v->VisibleColumns(0))->FieldName, "NAME");
  EXPECT_EQ(DBDataBindingOf(v->VisibleColumns(1))->FieldName, "DAY");
  EXPECT_THROW(v->VisibleColumns(2), EListError);
  EXPECT_EQ(v->GetColumnByFieldName("name"), v->Columns(2));

  // A column naming no field, or a field the dataset lacks, has no field.
  TcxGridDBBandedColumn* loose = v->CreateColumn();
  EXPECT_EQ(loose->DataBinding()->Field(), nullptr);
  loose->DataBinding()->FieldName = "MISSING";
  EXPECT_EQ(loose->DataBinding()->Field(), nullptr);
  EXPECT_EQ(loose->Caption(), "MISSING");
  EXPECT_EQ(DBDataBindingOf(loose), loose->DataBinding());
  // Without a dataset no column has a field.
  f.Source->SetDataSet(nullptr);
  EXPECT_EQ(v->Columns(0)->DataBinding()->Field(), nullptr);
}

TEST(Columns, PlainViewsHaveNoFieldBindings) {
  TcxGridTableView plain;
  TcxGridColumn* c = plain.CreateColumn();
  EXPECT_EQ(DBDataBindingOf(c), nullptr);
  EXPECT_EQ(c->Caption(), "");
  EXPECT_EQ(plain.DataController()->RecordCount(), 0);
  TcxGridBandedTableView banded;
  EXPECT_NE(dynamic_cast<TcxGridBandedColumn*>(banded.CreateColumn()), nullptr);
}

TEST(DataController, FollowsItsDataSetUnlessControlsAreDisabled) {
  TViewForm f;
  f.Define({{"ID", ftInteger}});
  TcxGridDBDataController* dc = f.View->DataController();
  EXPECT_EQ(dc->DataSet(), f.DataSet);
  f.AddRow({"1"});
  f.AddRow({"2"});
  EXPECT_EQ(dc->RecordCount(), 2);
  uint64_t changes = dc->DataChangeCount();
  uint64_t scrolls = dc->ScrollCount();
  f.DataSet->First();
  EXPECT_EQ(dc->ScrollCount(), scrolls + 1);
  f.DataSet->DisableControls();
  f.DataSet->Next();
  f.AddRow({"3"});
  EXPECT_EQ(dc->ScrollCount(), scrolls + 1);
  EXPECT_EQ(dc->DataChangeCount(), changes);
  f.DataSet->EnableControls();
  EXPECT_EQ(dc->DataChangeCount(), changes + 1);
  f.DataSet->Close();
  EXPECT_EQ(dc->RecordCount(), 0);
  EXPECT_EQ(dc->DataChangeCount(), changes + 2);
  // Freeing the data source leaves the controller without one.
  delete f.Source;
  EXPECT_EQ(dc->DataSource(), nullptr);
  EXPECT_EQ(dc->DataSet(), nullptr);
}

}  // namespace
}  // namespace kv
