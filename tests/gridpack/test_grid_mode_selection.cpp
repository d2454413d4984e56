// Grid mode (a window of the dataset until it is switched off), reading
// records without moving the dataset's cursor, saving and restoring the
// dataset position, selection of rows, and the grid's update lock.
#include <gtest/gtest.h>

#include "TableFixture.h"

namespace kv {
namespace {

using testing::RowTexts;
using testing::TTableForm;

class GridMode : public ::testing::Test {
 protected:
  void SetUp() override {
    f.Define({{"N", ftInteger}, {"K", ftString, 4}});
    for (int i = 1; i <= 10; ++i) f.AddRow({std::to_string(i), i % 2 ? "a" : "b"});
  }
  TTableForm f;
};

TEST_F(GridMode, LoadsAWindowUntilSwitchedOff) {
  TcxGridDBDataController* dc = f.View->DataController();
  dc->DataModeController()->SetGridModeBufferCount(4);
  dc->DataModeController()->SetGridMode(true);
  EXPECT_TRUE(dc->IsGridMode());
  f.DataSet->SetRecNo(3);
  EXPECT_EQ(RowTexts(f.View, 0), (std::vector<std::string>{"R0:3", "R0:4", "R0:5", "R0:6"}));
  EXPECT_EQ(dc->RecordDataSetIndex(0), 2);
  // Near the end the window stays full.
  f.DataSet->SetRecNo(9);
  EXPECT_EQ(RowTexts(f.View, 0), (std::vector<std::string>{"R0:7", "R0:8", "R0:9", "R0:10"}));
  // Grid mode does not group.
  f.Column("K")->SetGroupIndex(0);
  EXPECT_EQ(dc->GroupingLevelCount(), 0);
  EXPECT_EQ(f.View->ViewData()->RecordCount(), 4);
  // Switched off: every record, grouped.
  dc->SaveDataSetPos();
  dc->DataModeController()->SetGridMode(false);
  EXPECT_EQ(dc->RecordCount(), 10);
  EXPECT_EQ(dc->GroupingLevelCount(), 1);
  EXPECT_EQ(RowTexts(f.View, 1), (std::vector<std::string>{"G0+:K : a", "G0+:K : b"}));
  // Reading every value never moved the cursor.
  f.View->DataController()->FullExpand();
  for (int i = 0; i < f.View->ViewData()->RecordCount(); ++i) f.View->ViewData()->Records(i)->DisplayTexts(0);
  EXPECT_EQ(f.DataSet->RecNo(), 9);
  f.DataSet->First();
  dc->RestoreDataSetPos();
  EXPECT_EQ(f.DataSet->RecNo(), 9);
  // A position whose record is gone is left alone.
  dc->SaveDataSetPos();
  f.DataSet->Delete();
  f.DataSet->First();
  dc->RestoreDataSetPos();
  EXPECT_EQ(f.DataSet->RecNo(), 1);
}

TEST_F(GridMode, ClosedOrMissingDataShowsNoRecords) {
  TcxGridDBDataController* dc = f.View->DataController();
  f.DataSet->Close();
  EXPECT_EQ(dc->RecordCount(), 0);
  EXPECT_EQ(f.View->ViewData()->RecordCount(), 0);
  EXPECT_THROW(dc->GetValue(0, f.View->Columns(0)), EListError);
  f.DataSet->Open();
  EXPECT_EQ(dc->RecordCount(), 10);
  dc->SetDataSource(nullptr);
  EXPECT_EQ(dc->RecordCount(), 0);
}

TEST_F(GridMode, SelectionSingleAndMultiple) {
  TcxGridDBDataController* dc = f.View->DataController();
  TcxGridViewData* data = f.View->ViewData();
  EXPECT_EQ(f.View->Controller()->SelectedRecordCount(), 0);
  data->Records(2)->SetSelected(true);
  data->Records(5)->SetSelected(true);  // one row at a time without MultiSelect
  EXPECT_FALSE(data->Records(2)->Selected());
  EXPECT_TRUE(data->Records(5)->Selected());
  EXPECT_EQ(f.View->Controller()->SelectedRecordCount(), 1);

  f.View->OptionsSelection().SetMultiSelect(true);
  data->Records(2)->SetSelected(true);
  data->Records(7)->SetSelected(true);
  EXPECT_EQ(f.View->Controller()->SelectedRecordCount(), 3);
  std::vector<TcxCustomGridRecord*> selected = f.View->Controller()->SelectedRecords();
  ASSERT_EQ(selected.size(), 3u);
  EXPECT_EQ(selected[0]->Index(), 2);
  data->Records(5)->SetSelected(false);
  EXPECT_EQ(dc->GetSelectedCount(), 2);

  // Selection stays with the records through grouping and collapsing; group
  // rows can be selected as well.
  f.Column("K")->SetGroupIndex(0);
  EXPECT_EQ(dc->GetSelectedCount(), 2);  // records 3 and 8 ("a" and "b"), both hidden
  data->Records(1)->SetSelected(true);
  EXPECT_EQ(dc->GetSelectedCount(), 3);
  data->Records(0)->SetExpanded(true);
  // Group "a" holds 1, 3, 5, 7, 9: record 3 is its second row.
  EXPECT_TRUE(data->Records(2)->Selected());
  EXPECT_FALSE(data->Records(1)->Selected());
  dc->ClearSelection();
  EXPECT_EQ(dc->GetSelectedCount(), 0);
  dc->SelectAll();
  EXPECT_EQ(dc->GetSelectedCount(), data->RecordCount());
}

TEST(GridState, UpdateLockFocusAndLookAndFeel) {
  TComponent form;
  auto* grid = new TcxGrid(&form);
  EXPECT_FALSE(grid->IsUpdateLocked());
  grid->BeginUpdate();
  grid->BeginUpdate();
  grid->EndUpdate();
  EXPECT_TRUE(grid->IsUpdateLocked());
  grid->EndUpdate();
  grid->EndUpdate();  // one too many does nothing
  EXPECT_EQ(grid->UpdateLockCount(), 0);
  grid->BeginUpdate();
  EXPECT_TRUE(grid->IsUpdateLocked());

  auto* view = new TcxGridTableView(&form);
  auto* other = new TcxGridTableView(&form);
  grid->Levels()->Add()->SetGridView(view);
  grid->SetFocusedView(other);  // not on this grid: ignored
  EXPECT_EQ(grid->FocusedView(), view);
  TcxGridLevel* second = grid->Levels()->Add();
  second->SetGridView(other);
  grid->SetFocusedView(other);
  EXPECT_EQ(grid->FocusedView(), other);
  EXPECT_EQ(grid->ActiveLevel(), grid->Levels()->Items(0));
  delete other;
  EXPECT_EQ(grid->FocusedView(), view);

  EXPECT_EQ(grid->LookAndFeel.FooterBorderColor(), clBtnShadow);
  grid->LookAndFeel.Kind = lfOffice11;
  EXPECT_EQ(grid->LookAndFeel.FooterBorderColor(), cxOffice11FooterBorderColor);
  EXPECT_EQ(view->Font(), grid->Font);
  grid->Font.Size = 12;
  EXPECT_EQ(view->Font().Size, 12);
}

}  // namespace
}  // namespace kv
