// Grouping: records sorted into data groups by the grouped columns, group
// rows with levels and parents, expansion (one row, recursive, all) and the
// record objects of the view data.
#include <gtest/gtest.h>

#include "TableFixture.h"

namespace kv {
namespace {

using testing::RowTexts;
using testing::TTableForm;

// Regions and cities; "北" sorts before "南" (UTF-8 bytes), "京" before "津".
class Grouping : public ::testing::Test {
 protected:
  void SetUp() override {
    f.Define({{"REGION", ftString, 10}, {"CITY", ftString, 10}, {"AMOUNT", ftFloat}, {"ID", ftInteger}});
    f.AddRow({"南", "沪", "20", "1"});
    f.AddRow({"北", "京", "10.5", "2"});
    f.AddRow({"北", "津", "5", "3"});
    f.AddRow({"北", "京", "1", "4"});
    f.AddRow({"", "沪", "7", "5"});  // a null region groups first
    f.Column("REGION")->SetCaption("地区");
    f.Column("CITY")->SetCaption("城市");
  }
  TTableForm f;
};

TEST_F(Grouping, TwoLevelsExpandedStepByStep) {
  TcxGridDBDataController* dc = f.View->DataController();
  f.Column("CITY")->SetGroupIndex(0);
  f.Column("REGION")->SetGroupIndex(0);  // goes before CITY
  EXPECT_EQ(f.Column("REGION")->GroupIndex(), 0);
  EXPECT_EQ(f.Column("CITY")->GroupIndex(), 1);
  ASSERT_EQ(f.View->GroupedColumnCount(), 2);
  EXPECT_EQ(dc->GroupingLevelCount(), 2);
  EXPECT_EQ(dc->DataGroupCount(), 3 + 4);  // (null), 北, 南; then 沪, 京, 津, 沪

  // Groups start collapsed: one row per top group.
  EXPECT_EQ(RowTexts(f.View, 3), (std::vector<std::string>{"G0+:地区 : ", "G0+:地区 : 北", "G0+:地区 : 南"}));
  TcxGridViewData* data = f.View->ViewData();
  data->Records(1)->SetExpanded(true);
  EXPECT_EQ(RowTexts(f.View, 3), (std::vector<std::string>{"G0+:地区 : ", "G0-:地区 : 北", "G1+:城市 : 京",
                                                           "G1+:城市 : 津", "G0+:地区 : 南"}));
  data->Records(2)->SetExpanded(true);
  // Data rows keep the dataset order inside their group.
  EXPECT_EQ(RowTexts(f.View, 3), (std::vector<std::string>{"G0+:地区 : ", "G0-:地区 : 北", "G1-:城市 : 京", "R2:2",
                                                           "R2:4", "G1+:城市 : 津", "G0+:地区 : 南"}));

  // Parents: a data row's parent is its city, the city's is its region.
  TcxCustomGridRecord* row = data->Records(3);
  ASSERT_NE(row->ParentRecord(), nullptr);
  EXPECT_EQ(row->ParentRecord()->Index(), 2);
  EXPECT_EQ(row->ParentRecord()->ParentRecord()->Index(), 1);
  EXPECT_EQ(row->ParentRecord()->ParentRecord()->ParentRecord(), nullptr);
  EXPECT_NE(dynamic_cast<TcxGridDataRow*>(row), nullptr);
  EXPECT_EQ(dynamic_cast<TcxGridMasterDataRow*>(row), nullptr);
  EXPECT_FALSE(row->Expandable());
  auto* city = dynamic_cast<TcxGridGroupRow*>(data->Records(2));
  ASSERT_NE(city, nullptr);
  EXPECT_EQ(city->GroupedColumn(), f.Column("CITY"));
  EXPECT_EQ(city->Value().AsString(), "京");
  EXPECT_EQ(city->RecordIndexes(), (std::vector<int>{1, 3}));
  EXPECT_EQ(city->Values(f.Column("CITY")->Index()).AsString(), "京");
  EXPECT_TRUE(city->Values(f.Column("ID")->Index()).IsNull());

  // Collapsing the region hides its cities and records; they keep their own state.
  data->Records(1)->SetExpanded(false);
  EXPECT_EQ(data->RecordCount(), 3);
  data->Records(1)->SetExpanded(true);
  EXPECT_EQ(data->RecordCount(), 7);
  EXPECT_TRUE(data->Records(2)->Expanded());
  EXPECT_TRUE(data->Records(6)->IsLast());
}

TEST_F(Grouping, RecursiveAndFullExpansion) {
  f.Column("REGION")->SetGroupIndex(0);
  f.Column("CITY")->SetGroupIndex(1);
  TcxGridDBDataController* dc = f.View->DataController();
  dc->ChangeExpanding(1, true, true);  // 北 and everything below it
  EXPECT_EQ(RowTexts(f.View, 3), (std::vector<std::string>{"G0+:地区 : ", "G0-:地区 : 北", "G1-:城市 : 京", "R2:2",
                                                           "R2:4", "G1-:城市 : 津", "R2:3", "G0+:地区 : 南"}));
  dc->FullExpand();
  EXPECT_EQ(f.View->ViewData()->RecordCount(), 3 + 4 + 5);
  dc->FullCollapse();
  EXPECT_EQ(f.View->ViewData()->RecordCount(), 3);
  // Ungrouping goes back to plain rows in dataset order.
  f.Column("REGION")->SetGroupIndex(-1);
  EXPECT_EQ(f.Column("CITY")->GroupIndex(), 0);
  f.Column("CITY")->SetGroupIndex(-1);
  EXPECT_EQ(RowTexts(f.View, 3), (std::vector<std::string>{"R0:1", "R0:2", "R0:3", "R0:4", "R0:5"}));
}

// The way an export walks a view: read the count on every pass and expand
// each row as it comes, so that the rows an expansion inserts are visited too.
TEST_F(Grouping, ExpandingWhileWalkingVisitsEveryRow) {
  f.Column("REGION")->SetGroupIndex(0);
  f.Column("CITY")->SetGroupIndex(1);
  TcxGridViewData* data = f.View->ViewData();
  std::vector<int> levels;
  for (int i = 0; i < data->RecordCount(); ++i) {
    TcxCustomGridRecord* r = data->Records(i);
    levels.push_back(r->Level());
    r->SetExpanded(true);
  }
  EXPECT_EQ(levels, (std::vector<int>{0, 1, 2, 0, 1, 2, 2, 1, 2, 0, 1, 2}));
}

TEST(GroupingLarge, ExpandingThousandsOfGroupsTopDownStaysLinear) {
  // 30,000 records in 10,000 groups of 3: expanding every group while
  // walking must not rebuild the row list each time.
  TcxGridTableView view;
  TcxGridColumn* key = view.CreateColumn();
  TcxGridColumn* value = view.CreateColumn();
  auto* dc = static_cast<TcxGridDataController*>(view.DataController());
  dc->SetRecordCount(30000);
  for (int r = 0; r < 30000; ++r) {
    dc->SetValue(r, key, Variant(r % 10000));
    dc->SetValue(r, value, Variant(r));
  }
  key->SetGroupIndex(0);
  TcxGridViewData* data = view.ViewData();
  int visited = 0;
  for (int i = 0; i < data->RecordCount(); ++i) {
    data->Records(i)->SetExpanded(true);
    ++visited;
  }
  EXPECT_EQ(visited, 40000);
  // Group 0 holds records 0, 10000 and 20000, in that order.
  EXPECT_EQ(data->Records(1)->Values(value->Index()).AsInteger(), 0);
  EXPECT_EQ(data->Records(3)->Values(value->Index()).AsInteger(), 20000);
  EXPECT_EQ(data->Records(39999)->Values(value->Index()).AsInteger(), 29999);
}

TEST_F(Grouping, RecordObjectsAreDroppedWhenRowsChangeAndOnDataChanges) {
  f.Column("REGION")->SetGroupIndex(0);
  TcxGridViewData* data = f.View->ViewData();
  TcxCustomGridRecord* first = data->Records(0);
  EXPECT_EQ(data->Records(0), first);  // kept while nothing changes
  EXPECT_EQ(data->RecordCount(), 3);
  // A new record of a new region is a new group after the next read.
  f.AddRow({"西", "", "1", "6"});
  EXPECT_EQ(data->RecordCount(), 4);
  EXPECT_EQ(dynamic_cast<TcxGridGroupRow*>(data->Records(3))->DisplayCaption(), "地区 : 西");
  EXPECT_EQ(f.View->DataController()->RecordCount(), 6);
  // Deleting the grouped column ungroups the view.
  f.View->DeleteColumn(f.Column("REGION")->Index());
  EXPECT_EQ(data->RecordCount(), 6);
}

}  // namespace
}  // namespace kv

namespace kv {
namespace {

// Random expanding and collapsing of group rows, compared after every step
// with the rows computed from the group tree and the expansion the test
// keeps itself.
TEST(GroupingRows, RandomExpansionMatchesTheGroupTree) {
  TcxGridTableView view;
  TcxGridColumn* a = view.CreateColumn();
  TcxGridColumn* b = view.CreateColumn();
  TcxGridColumn* c = view.CreateColumn();
  auto* dc = static_cast<TcxGridDataController*>(view.DataController());
  uint32_t seed = 12345;
  auto next = [&](uint32_t AMod) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) % AMod;
  };
  dc->SetRecordCount(400);
  for (int r = 0; r < 400; ++r) {
    dc->SetValue(r, a, Variant(static_cast<int>(next(5))));
    dc->SetValue(r, b, Variant(static_cast<int>(next(4))));
    dc->SetValue(r, c, Variant(static_cast<int>(next(3))));
  }
  a->SetGroupIndex(0);
  b->SetGroupIndex(1);
  c->SetGroupIndex(2);
  const int groups = dc->DataGroupCount();
  std::vector<bool> expanded(static_cast<size_t>(groups), false);
  auto expected = [&] {
    std::vector<int> rows;  // group g as -(g + 1), records as themselves
    for (int g = 0; g < groups; ++g) {
      bool visible = true;
      for (int p = dc->DataGroupParent(g); p >= 0; p = dc->DataGroupParent(p)) visible = visible && expanded[p];
      if (!visible) continue;
      rows.push_back(-(g + 1));
      if (dc->DataGroupLevel(g) == 2 && expanded[g])
        for (int r : dc->DataGroupRecords(g)) rows.push_back(r);
    }
    return rows;
  };
  auto actual = [&] {
    std::vector<int> rows;
    for (int i = 0; i < dc->RowCount(); ++i) {
      TcxRowInfo info = dc->GetRowInfo(i);
      rows.push_back(info.IsGroup() ? -(info.GroupIndex + 1) : info.RecordIndex);
    }
    return rows;
  };
  for (int step = 0; step < 600; ++step) {
    int row = static_cast<int>(next(static_cast<uint32_t>(dc->RowCount())));
    TcxRowInfo info = dc->GetRowInfo(row);
    if (!info.IsGroup()) continue;
    bool on = !expanded[static_cast<size_t>(info.GroupIndex)];
    dc->ChangeExpanding(row, on);
    expanded[static_cast<size_t>(info.GroupIndex)] = on;
    ASSERT_EQ(actual(), expected()) << "step " << step;
  }
}

}  // namespace
}  // namespace kv
