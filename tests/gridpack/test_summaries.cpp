// Summaries: footer items (sum, count, average, min, max) over all records,
// group items over each group's records, formats, positions, summary groups,
// the frame of a group row's summary text, data-bound items naming a field,
// and the kinds the values come in.
#include <gtest/gtest.h>

#include "TableFixture.h"
#include "platform/SysUtils.h"

namespace kv {
namespace {

using testing::TTableForm;

class Summaries : public ::testing::Test {
 protected:
  void SetUp() override {
    f.Define(
        {{"REGION", ftString, 10}, {"AMOUNT", ftFloat}, {"QTY", ftInteger}, {"PRICE", ftCurrency}, {"DAY", ftDate}});
    f.AddRow({"北", "10.5", "1", "2.5", "2024-03-01"});
    f.AddRow({"南", "20", "2", "", "2024-01-15"});
    f.AddRow({"北", "", "3", "1.25", "2024-02-10"});
    f.AddRow({"北", "4.5", "", "3", ""});
    f.Column("REGION")->SetCaption("地区");
  }
  TcxDataSummary& Summary() { return f.View->DataController()->Summary(); }
  TTableForm f;
};

TEST_F(Summaries, FooterKindsAndTheirValues) {
  TcxDataSummaryItems& footer = Summary().FooterSummaryItems();
  struct Case {
    const char* Field;
    TcxSummaryKind Kind;
    const char* Format;
    TVarType Type;
    const char* Text;
  } cases[] = {
      {"AMOUNT", skSum, "", varDouble, "35"},
      {"AMOUNT", skSum, "#,##0.00", varDouble, "35.00"},
      {"AMOUNT", skCount, "", varInteger, "3"},  // nulls are not counted
      {"AMOUNT", skAverage, "0.000", varDouble, "11.667"},
      {"AMOUNT", skMin, "", varDouble, "4.5"},
      {"AMOUNT", skMax, "", varDouble, "20"},
      {"QTY", skSum, "", varInt64, "6"},
      {"QTY", skAverage, "", varDouble, "2"},
      {"PRICE", skSum, "", varCurrency, "￥6.75"},  // the currency editor shows it
      {"PRICE", skMax, "0.0", varCurrency, "3.0"},
      {"DAY", skMin, "", varDate, "2024-01-15"},
      {"DAY", skMax, "yyyy/mm", varDate, "2024/03"},
      {"REGION", skMax, "", varString, "南"},
      {"REGION", skCount, "合计", varInteger, "合计"},  // a format without digit places
      {"REGION", skNone, "", varNull, ""},
  };
  for (const Case& c : cases) footer.Add(f.Column(c.Field), spFooter, c.Kind, c.Format);
  for (int i = 0; i < footer.Count(); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(std::string(c.Field) + " " + std::to_string(c.Kind) + " " + c.Format);
    EXPECT_EQ(footer.Items(i)->Position(), spFooter);
    Variant value = Summary().FooterSummaryValues(i);
    EXPECT_EQ(value.VarType(), c.Type);
    EXPECT_EQ(Summary().FooterSummaryTexts(i), c.Text);
  }
  EXPECT_EQ(Summary().FooterSummaryValues(2).AsInteger(), 3);
  EXPECT_DOUBLE_EQ(Summary().FooterSummaryValues(0).AsDouble(), 35.0);
  EXPECT_EQ(Summary().FooterSummaryValues(8).AsCurrency(), 67500);
  EXPECT_THROW(Summary().FooterSummaryValues(footer.Count()), EListError);
}

TEST_F(Summaries, EmptyDataAndItemsWithoutLinks) {
  TcxDataSummaryItems& footer = Summary().FooterSummaryItems();
  footer.Add(nullptr, spFooter, skCount);
  footer.Add(nullptr, spFooter, skSum);
  footer.Add(f.Column("AMOUNT"), spFooter, skSum);
  EXPECT_EQ(Summary().FooterSummaryValues(0).AsInteger(), 4);  // every record
  EXPECT_TRUE(Summary().FooterSummaryValues(1).IsNull());
  f.DataSet->EmptyDataSet();
  f.DataSet->Close();
  f.DataSet->Open();
  EXPECT_EQ(Summary().FooterSummaryValues(0).AsInteger(), 0);
  EXPECT_TRUE(Summary().FooterSummaryValues(2).IsNull());
  EXPECT_EQ(Summary().FooterSummaryTexts(2), "");
  // Deleting a column drops the links to it.
  f.View->DeleteColumn(f.Column("AMOUNT")->Index());
  EXPECT_EQ(footer.Items(2)->ItemLink(), nullptr);
}

TEST_F(Summaries, GroupSummariesPerGroupWithTheirFrame) {
  f.Column("REGION")->SetGroupIndex(0);
  TcxDataGroupSummaryItems& group = Summary().DefaultGroupSummaryItems();
  group.Add(f.Column("AMOUNT"), spGroup, skSum, "0.0");
  group.Add(f.Column("QTY"), spGroup, skCount, "0 条");
  group.Add(f.Column("AMOUNT"), spFooter, skMax);  // shown in group footers only
  group.Separator = ";";
  TcxGridViewData* data = f.View->ViewData();
  ASSERT_EQ(data->RecordCount(), 2);
  auto* north = dynamic_cast<TcxGridGroupRow*>(data->Records(0));
  auto* south = dynamic_cast<TcxGridGroupRow*>(data->Records(1));
  ASSERT_TRUE(north && south);
  const TcxDataGroupSummaryItems* items = nullptr;
  std::vector<Variant> values;
  ASSERT_TRUE(north->GetGroupSummaryInfo(items, values));
  EXPECT_EQ(items, &group);
  ASSERT_EQ(values.size(), 3u);
  EXPECT_DOUBLE_EQ(values[0].AsDouble(), 15.0);
  EXPECT_EQ(values[1].AsInteger(), 2);
  EXPECT_DOUBLE_EQ(values[2].AsDouble(), 10.5);
  EXPECT_EQ(north->GroupSummaryText(), "(15.0; 2 条)");
  EXPECT_EQ(north->DisplayText(), "地区 : 北 (15.0; 2 条)");
  EXPECT_EQ(south->DisplayText(), "地区 : 南 (20.0; 1 条)");
  // Data rows have no group summary.
  south->SetExpanded(true);
  EXPECT_FALSE(Summary().GetGroupSummaryInfo(2, items, values));
}

TEST_F(Summaries, SummaryGroupsServeTheirLinkedColumnsOnly) {
  f.Column("REGION")->SetGroupIndex(0);
  f.Column("QTY")->SetGroupIndex(1);
  Summary().DefaultGroupSummaryItems().Add(f.Column("AMOUNT"), spGroup, skSum);
  TcxDataSummaryGroup* byRegion = Summary().AddSummaryGroup();
  byRegion->Links.push_back(f.Column("REGION"));
  byRegion->SummaryItems().Add(f.Column("PRICE"), spGroup, skMin, "0.00");
  byRegion->SummaryItems().BeginText = "[";
  byRegion->SummaryItems().EndText = "]";
  EXPECT_EQ(&Summary().GroupSummaryItems(0), &byRegion->SummaryItems());
  EXPECT_EQ(&Summary().GroupSummaryItems(1), &Summary().DefaultGroupSummaryItems());
  TcxGridViewData* data = f.View->ViewData();
  EXPECT_EQ(dynamic_cast<TcxGridGroupRow*>(data->Records(0))->GroupSummaryText(), "[1.25]");
  data->Records(0)->SetExpanded(true);
  // 北's QTY groups: null (AMOUNT 4.5), 1 (10.5), 3 (no AMOUNT: no text)
  EXPECT_EQ(dynamic_cast<TcxGridGroupRow*>(data->Records(1))->GroupSummaryText(), "(4.5)");
  EXPECT_EQ(dynamic_cast<TcxGridGroupRow*>(data->Records(2))->GroupSummaryText(), "(10.5)");
  EXPECT_EQ(dynamic_cast<TcxGridGroupRow*>(data->Records(3))->GroupSummaryText(), "");
  EXPECT_EQ(dynamic_cast<TcxGridGroupRow*>(data->Records(3))->DisplayText(), "QTY : 3");
}

TEST_F(Summaries, DataBoundItemsMayNameTheirFieldAndColumnsShowFieldFormats) {
  TcxDataSummaryItems& footer = Summary().FooterSummaryItems();
  auto* item = dynamic_cast<TcxGridDBTableSummaryItem*>(footer.Add());
  ASSERT_NE(item, nullptr);
  item->SetColumn(f.Column("REGION"));  // shown under REGION, sums QTY
  item->FieldName = "QTY";
  item->Kind = skSum;
  EXPECT_EQ(Summary().FooterSummaryValues(0).AsInteger(), 6);
  EXPECT_EQ(item->Column(), f.Column("REGION"));
  // A column bound to a field with a display format shows sums in it.
  static_cast<TNumericField*>(f.DataSet->FieldByName("AMOUNT"))->DisplayFormat = "#,##0.00";
  footer.Add(f.Column("AMOUNT"), spFooter, skSum);
  EXPECT_EQ(Summary().FooterSummaryTexts(1), "35.00");
  // Group items of a footer collection are always footer items.
  footer.Items(1)->SetPosition(spGroup);
  EXPECT_EQ(footer.Items(1)->Position(), spFooter);
}

}  // namespace
}  // namespace kv
