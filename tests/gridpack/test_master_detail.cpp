// Master rows and detail views: copies of the detail level's view filtered by
// the master record's key, views given by the host, nested levels, the
// focused view, and what happens to the copies when data or levels change.
#include <gtest/gtest.h>

#include "TableFixture.h"

namespace kv {
namespace {

using testing::RowTexts;
using testing::TTableForm;

// Orders (the fixture's view) with their items on a detail level.
class MasterDetail : public ::testing::Test {
 protected:
  void SetUp() override {
    f.Define({{"ID", ftInteger}, {"CUSTOMER", ftString, 10}});
    f.AddRow({"1", "甲"});
    f.AddRow({"2", "乙"});
    f.AddRow({"3", "丙"});
    Items = new TMemDataSet(&f.Form);
    Items->FieldDefs().Add("ORDER_ID", ftInteger);
    Items->FieldDefs().Add("NAME", ftString, 10);
    Items->FieldDefs().Add("QTY", ftInteger);
    Items->CreateDataSet();
    AddItem(1, "笔", 2);
    AddItem(2, "纸", 5);
    AddItem(1, "墨", 1);
    AddItem(1, "砚", 3);
    ItemsSource = new TDataSource(&f.Form);
    ItemsSource->SetDataSet(Items);
    Detail = new TcxGridDBTableView(&f.Form);
    Detail->DataController()->SetDataSource(ItemsSource);
    Detail->DataController()->DetailKeyFieldNames = "ORDER_ID";
    Detail->DataController()->MasterKeyFieldNames = "ID";
    for (const char* name : {"ORDER_ID", "NAME", "QTY"}) Detail->CreateColumn()->DataBinding()->FieldName = name;
    Detail->Columns(1)->SetCaption("品名");
    Detail->DataController()->Summary().FooterSummaryItems().Add(Detail->Columns(2), spFooter, skSum);
    DetailLevel = f.Grid->Levels()->Items(0)->Add();
    DetailLevel->SetGridView(Detail);
  }
  void AddItem(int AOrder, const char* AName, int AQty) {
    Items->Append();
    Items->Fields(0)->SetAsInteger(AOrder);
    Items->Fields(1)->SetAsString(AName);
    Items->Fields(2)->SetAsInteger(AQty);
    Items->Post();
  }
  TcxGridMasterDataRow* MasterRow(int AIndex) {
    return dynamic_cast<TcxGridMasterDataRow*>(f.View->ViewData()->Records(AIndex));
  }
  TTableForm f;
  TMemDataSet* Items = nullptr;
  TDataSource* ItemsSource = nullptr;
  TcxGridDBTableView* Detail = nullptr;
  TcxGridLevel* DetailLevel = nullptr;
};

TEST_F(MasterDetail, DetailCopiesShowTheMasterRecordsItems) {
  ASSERT_TRUE(f.View->IsMaster());
  TcxGridMasterDataRow* first = MasterRow(0);
  ASSERT_NE(first, nullptr);
  EXPECT_TRUE(first->Expandable());
  EXPECT_FALSE(first->Expanded());
  EXPECT_EQ(first->DetailGridViewCount(), 1);
  auto* copy = dynamic_cast<TcxGridDBTableView*>(first->ActiveDetailGridView());
  ASSERT_NE(copy, nullptr);
  EXPECT_NE(copy, Detail);
  EXPECT_EQ(copy->PatternGridView(), Detail);
  EXPECT_FALSE(copy->IsPattern());
  EXPECT_EQ(copy->MasterGridView(), f.View);
  EXPECT_EQ(copy->MasterRecordIndex(), 0);
  EXPECT_EQ(copy->Level(), DetailLevel);
  EXPECT_EQ(copy->Control(), f.Grid);
  EXPECT_EQ(copy->Owner(), nullptr);
  EXPECT_EQ(DetailLevel->GridView(), Detail);  // the level keeps its pattern
  // Columns, captions and summaries are copied; the records are order 1's.
  ASSERT_EQ(copy->ColumnCount(), 3);
  EXPECT_EQ(copy->Columns(1)->Caption(), "品名");
  EXPECT_EQ(RowTexts(copy, 1), (std::vector<std::string>{"R0:笔", "R0:墨", "R0:砚"}));
  EXPECT_EQ(copy->DataController()->Summary().FooterSummaryItems().Items(0)->ItemLink(), copy->Columns(2));
  EXPECT_EQ(copy->DataController()->Summary().FooterSummaryValues(0).AsInteger(), 6);
  // The pattern itself shows every item.
  EXPECT_EQ(Detail->DataController()->RecordCount(), 4);
  // The same copy is handed out again; other orders have their own.
  EXPECT_EQ(MasterRow(0)->ActiveDetailGridView(), copy);
  EXPECT_EQ(RowTexts(static_cast<TcxGridDBTableView*>(MasterRow(1)->ActiveDetailGridView()), 1),
            (std::vector<std::string>{"R0:纸"}));
  EXPECT_EQ(MasterRow(2)->ActiveDetailGridView()->DataController()->RecordCount(), 0);

  first->SetExpanded(true);
  EXPECT_TRUE(MasterRow(0)->Expanded());
  EXPECT_FALSE(MasterRow(1)->Expanded());
  EXPECT_EQ(f.View->ViewData()->RecordCount(), 3);  // a detail is no row of its own
}

TEST_F(MasterDetail, CopiesFollowTheDataAndGoWithTheirLevels) {
  TcxCustomGridView* copy = MasterRow(0)->ActiveDetailGridView();
  f.Grid->SetFocusedView(copy);
  EXPECT_EQ(f.Grid->FocusedView(), copy);
  // A change of the master data drops the copies (and the focus on them).
  f.AddRow({"4", "丁"});
  EXPECT_EQ(f.View->DataController()->RecordCount(), 4);
  TcxCustomGridView* again = MasterRow(0)->ActiveDetailGridView();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->DataController()->RecordCount(), 3);
  EXPECT_EQ(f.Grid->FocusedView(), f.View);
  // Expansion stays with the record.
  MasterRow(1)->SetExpanded(true);
  f.AddRow({"5", "戊"});
  EXPECT_TRUE(MasterRow(1)->Expanded());
  // Freeing the detail level frees the copies; the master is no master then.
  f.Grid->SetFocusedView(MasterRow(0)->ActiveDetailGridView());
  delete DetailLevel->GridView();  // the pattern goes first: the level forgets it
  EXPECT_EQ(f.Grid->FocusedView(), f.View);
  EXPECT_EQ(MasterRow(0)->DetailGridViewCount(), 1);
  EXPECT_EQ(MasterRow(0)->ActiveDetailGridView(), nullptr);  // a level without a view shows nothing
}

TEST_F(MasterDetail, HostGivenDetailViewsAndNestedLevels) {
  // The host gives its own view for order 2 and lets the others be copies.
  TcxGridTableView hostView;
  TcxGridColumn* note = hostView.CreateColumn();
  auto* data = static_cast<TcxGridDataController*>(hostView.DataController());
  data->SetRecordCount(1);
  data->SetValue(0, note, Variant(std::string("备注")));
  int asked = 0;
  DetailLevel->OnGetDetailView = [&](TcxGridLevel* ALevel, TcxCustomGridView* AMaster, int ARecord) {
    ++asked;
    EXPECT_EQ(ALevel, DetailLevel);
    EXPECT_EQ(AMaster, f.View);
    return ARecord == 1 ? static_cast<TcxCustomGridView*>(&hostView) : nullptr;
  };
  EXPECT_EQ(MasterRow(1)->ActiveDetailGridView(), &hostView);
  EXPECT_TRUE(hostView.IsDetail());
  EXPECT_EQ(hostView.MasterRecordIndex(), 1);
  EXPECT_NE(MasterRow(0)->ActiveDetailGridView(), &hostView);
  EXPECT_EQ(asked, 2);

  // A second detail level below the items: copies of item views are masters too.
  TcxGridTableView nested;
  nested.CreateColumn();
  DetailLevel->Add()->SetGridView(&nested);
  f.AddRow({"9", "x"});  // new copies
  auto* items = dynamic_cast<TcxGridTableView*>(MasterRow(0)->ActiveDetailGridView());
  ASSERT_NE(items, nullptr);
  EXPECT_TRUE(items->IsMaster());
  auto* itemRow = dynamic_cast<TcxGridMasterDataRow*>(items->ViewData()->Records(0));
  ASSERT_NE(itemRow, nullptr);
  TcxCustomGridView* deeper = itemRow->ActiveDetailGridView();
  ASSERT_NE(deeper, nullptr);
  EXPECT_EQ(deeper->PatternGridView(), &nested);
  EXPECT_EQ(deeper->MasterGridView(), items);
  // The host view is released from its master when the copies go.
  delete f.Grid;
  EXPECT_FALSE(hostView.IsDetail());
}

TEST_F(MasterDetail, MissingOrNullKeysShowNoDetailRecords) {
  f.AddRow({"", "无号"});  // an order without ID
  EXPECT_EQ(MasterRow(3)->ActiveDetailGridView()->DataController()->RecordCount(), 0);
  Detail->DataController()->MasterKeyFieldNames = "NO_SUCH_FIELD";
  f.AddRow({"7", "庚"});
  EXPECT_EQ(MasterRow(0)->ActiveDetailGridView()->DataController()->RecordCount(), 0);
}

}  // namespace
}  // namespace kv
