// Layout files: the errors of reading one (a table of cases), and what
// applying one makes of a view: bands and column places, grouping,
// summaries, styles, editors, options, the preview, the default view, and a
// detail level built by the export form.
#include <gtest/gtest.h>

#include "app/DemoData.h"
#include "app/ExportForm.h"
#include "app/Layout.h"
#include "gridpack/BandedTableView.h"
#include "gridpack/DBBandedTableView.h"
#include "gridpack/DBTableView.h"
#include "gridpack/EditProperties.h"
#include "gridpack/Grid.h"
#include "gridpack/GridRecords.h"
#include "platform/MemDataSet.h"
#include "support/ViewFixture.h"

namespace kv {
namespace {

using app::ApplyDefaultLayout;
using app::ApplyLayout;
using app::ParseLayout;
using app::TLayout;
using testing::TScratchDir;

// The message of the error that F raises ("" when none).
template <class F>
std::string ErrorOf(F AAction) {
  try {
    AAction();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "";
}

TEST(LayoutParse, ErrorsNameTheFileAndThePlace) {
  const struct {
    const char* Text;
    const char* Message;  // after "layout t.json: "
  } cases[] = {
      {R"([1])", "the file must hold one JSON object"},
      {R"({"colums": []})", "unknown key \"colums\""},
      {R"({"view": "card"})", "\"view\" must be one of \"banded\", \"table\""},
      {R"({"columns": {}})", "\"columns\" must be a list"},
      {R"({"columns": [{"field": "a", "widht": 3}]})", "column 1: unknown key \"widht\""},
      {R"({"columns": [{}, {"width": -1}]})", "column 2: \"width\" must be a whole number from 0 to 100000"},
      {R"({"columns": [{"width": 12.5}]})", "column 1: \"width\" must be a whole number from 0 to 100000"},
      {R"({"columns": [{"visible": "yes"}]})", "column 1: \"visible\" must be true or false"},
      {R"({"columns": [{"field": 3}]})", "column 1: \"field\" must be a text"},
      {R"({"columns": [{"name": ""}]})", "column 1: \"name\" must not be empty"},
      {R"({"columns": [{"lineCount": 0}]})", "column 1: \"lineCount\" must be a whole number from 1 to 100"},
      {R"({"columns": [{"headerAlignment": "middle"}]})",
       "column 1: \"headerAlignment\" must be one of \"left\", \"center\", \"right\""},
      {R"({"columns": [{"editor": {"kind": "slider"}}]})",
       "column 1: editor: \"kind\" must be one of \"text\", \"mask\", \"calc\", \"currency\", \"date\", \"spin\", "
       "\"time\", \"image\", \"checkbox\""},
      {R"({"columns": [{"editor": {"kind": "text", "displayFormat": "0.00"}}]})",
       "column 1: editor: \"displayFormat\" needs an editor that has one (calc, currency, date or spin)"},
      {R"({"columns": [{"editor": {"mask": "000"}}]})", "column 1: editor: unknown key \"mask\""},
      {R"({"options": {"gridLines": "dotted"}})",
       "options: \"gridLines\" must be one of \"both\", \"none\", \"vertical\", \"horizontal\""},
      {R"({"options": {"gridLineColor": "red"}})", "options: \"gridLineColor\" must be a colour \"#RRGGBB\""},
      {R"({"options": {"footer": 1}})", "options: \"footer\" must be true or false"},
      {R"({"options": {"headerHight": 1}})", "options: unknown key \"headerHight\""},
      {R"({"styles": {"a": {"font": {"size": 0}}}})",
       "style \"a\": font: \"size\" must be a whole number from 1 to 1000"},
      {R"({"styles": {"a": {"colour": "#000000"}}})", "style \"a\": unknown key \"colour\""},
      {R"({"viewStyles": {"header": "nope"}})", "viewStyles: \"header\": there is no style \"nope\" in \"styles\""},
      {R"({"viewStyles": {"cell": "a"}, "styles": {"a": {}}})", "viewStyles: unknown key \"cell\""},
      {R"({"columns": [{"styles": {"content": "b"}}], "styles": {"a": {}}})",
       "column 1: styles: \"content\": there is no style \"b\" in \"styles\""},
      {R"({"bands": []})", "\"bands\" must be a list of at least one band"},
      {R"({"bands": [{"name": "a"}, {"name": "a"}]})", "band 2: the name \"a\" is used by an earlier band"},
      {R"({"bands": [{"band": "x"}]})", "band 1: \"band\": there is no band named \"x\""},
      {R"({"bands": [{}, {"band": 2}]})", "band 2: \"band\": there is no band 2 (\"bands\" holds 2, counted from 0)"},
      {R"({"bands": [{"name": "a", "band": "b"}, {"name": "b", "band": "a"}]})",
       "band 1: \"band\" puts the band inside itself"},
      {R"({"bands": [{"band": 0}]})", "band 1: \"band\" puts the band inside itself"},
      {R"({"bands": [{}, {"band": 0, "fixed": "left"}]})", "band 2: \"fixed\" is for root bands"},
      {R"({"bands": [{"fixed": "top"}]})", "band 1: \"fixed\" must be one of \"none\", \"left\", \"right\""},
      {R"({"bands": [{}], "columns": [{"band": "x"}]})", "column 1: \"band\": there is no band named \"x\""},
      {R"({"view": "table", "bands": [{}]})", "\"bands\" is for banded views only"},
      {R"({"view": "table", "columns": [{"row": 1}]})", "column 1: \"row\" is for banded views only"},
      {R"({"view": "table", "options": {"bandHeaders": false}})", "options: \"bandHeaders\" is for banded views only"},
      {R"({"view": "table", "viewStyles": {"bandHeader": "a"}, "styles": {"a": {}}})",
       "viewStyles: \"bandHeader\" is for banded views only"},
      {R"({"summaries": {"total": []}})", "summaries: unknown key \"total\""},
      {R"({"summaries": {"footer": [{"kind": "sum"}]}})", "footer summary 1: \"column\" is needed"},
      {R"({"summaries": {"footer": [{"column": "a", "kind": "median"}]}})",
       "footer summary 1: \"kind\" must be one of \"sum\", \"count\", \"average\", \"min\", \"max\""},
      {R"({"summaries": {"footer": [{"column": "a", "kind": "sum", "position": "footer"}]}})",
       "footer summary 1: unknown key \"position\""},
      {R"({"summaries": {"group": [{"column": "a", "kind": "sum", "position": "top"}]}})",
       "group summary 1: \"position\" must be one of \"groupRow\", \"footer\""},
      {R"({"preview": {"visible": true}})", "preview: \"column\" is needed"},
      {R"({"preview": {"column": "a", "place": "left"}})", "preview: \"place\" must be one of \"top\", \"bottom\""},
      {R"({"detail": {"masterKey": "a", "detailKey": "a"}})",
       "detail: give the detail data as one of \"table\", \"query\" or \"csv\""},
      {R"({"detail": {"table": "t", "csv": "c.csv", "masterKey": "a", "detailKey": "a"}})",
       "detail: give the detail data as one of"},
      {R"({"detail": {"table": "t", "masterKey": "a"}})", "detail: \"masterKey\" and \"detailKey\" are needed"},
      {R"({"detail": {"table": "t", "masterKey": "a;b", "detailKey": "a"}})",
       "detail: \"masterKey\" names 2 fields, \"detailKey\" 1"},
      {R"({"detail": {"table": "t", "masterKey": "a;", "detailKey": "a;b"}})", "detail: a key names an empty field"},
      {R"({"detail": {"table": "t", "masterKey": "a", "detailKey": "a", "layout": {"columns": [{"wide": 1}]}}})",
       "detail: layout: column 1: unknown key \"wide\""},
      {R"({"detail": {"table": "t", "masterKey": "a", "detailKey": "a", "layout": {"detail": {}}}})",
       "detail: layout: \"detail\": a detail level has no detail level of its own"},
  };
  for (const auto& c : cases) {
    std::string message = ErrorOf([&] { ParseLayout(c.Text, "t.json"); });
    EXPECT_EQ(message.rfind(std::string("layout t.json: ") + c.Message, 0), 0u) << c.Text << "\n" << message;
  }
  std::string json = ErrorOf([] { ParseLayout("{\n  \"columns\": [\n  }", "t.json"); });
  EXPECT_EQ(json.rfind("layout t.json: not valid JSON (", 0), 0u) << json;
  EXPECT_NE(json.find("line 3"), std::string::npos) << json;
}

// A form with a dataset of every kind of field the loaders make.
class LayoutApplyTest : public ::testing::Test {
 protected:
  LayoutApplyTest() {
    form.Define({{"id", ftInteger},
                 {"big", ftLargeint},
                 {"name", ftString, 10},
                 {"price", ftFloat},
                 {"amount", ftCurrency},
                 {"rate", ftBCD, 4},
                 {"day", ftDate},
                 {"moment", ftDateTime},
                 {"clock", ftTime},
                 {"paid", ftBoolean},
                 {"photo", ftGraphic},
                 {"memo", ftMemo},
                 {"city", ftString, 10}});
    form.AddRow({"1", "10", "甲", "1.5", "3", "0.5", "2024-03-05", "2024-03-05 08:09:10", "08:09:10", "True", "", "m1",
                 "北京"});
    form.AddRow({"2", "20", "乙", "2.5", "4", "0.25", "2024-03-06", "2024-03-06 11:00:00", "11:00:00", "False", "",
                 "m2", "上海"});
    form.AddRow({"3", "30", "丙", "3.5", "5", "0.125", "2024-03-07", "", "", "", "", "", "北京"});
  }
  TcxGridDBBandedTableView* Banded() { return form.View; }
  void Apply(const std::string& AText) {
    ApplyLayout(ParseLayout(AText, "t.json"), "t.json", *form.View, *form.DataSet, form.Form, "orders");
  }
  TcxGridBandedColumn* Column(int AIndex) { return form.View->Columns(AIndex); }
  testing::TViewForm form;
};

TEST_F(LayoutApplyTest, DefaultViewHasOneBandAndEditorsByFieldType) {
  ApplyDefaultLayout(*form.View, *form.DataSet, "orders");
  ASSERT_EQ(form.View->Bands()->Count(), 1);
  EXPECT_EQ(form.View->Bands()->Items(0)->Caption(), "orders");
  ASSERT_EQ(form.View->ColumnCount(), 13);
  const char* classes[] = {"TcxSpinEditProperties", "TcxSpinEditProperties",     "TcxTextEditProperties",
                           "TcxCalcEditProperties", "TcxCurrencyEditProperties", "TcxCurrencyEditProperties",
                           "TcxDateEditProperties", "TcxDateEditProperties",     "TcxTimeEditProperties",
                           "TcxCheckBoxProperties", "TcxImageProperties",        "TcxTextEditProperties",
                           "TcxTextEditProperties"};
  for (int i = 0; i < 13; ++i) {
    TcxGridBandedColumn* column = Column(i);
    EXPECT_EQ(column->Caption(), form.DataSet->Fields(i)->FieldName);
    EXPECT_TRUE(column->Visible());
    EXPECT_EQ(column->Position().Band(), form.View->Bands()->Items(0));
    ASSERT_NE(column->Properties(), nullptr);
    EXPECT_STREQ(column->Properties()->ClassName(), classes[i]) << i;
  }
  // A date shows the date only; a date-time its time as well.
  auto* day = static_cast<TcxDateEditProperties*>(Column(6)->Properties());
  auto* moment = static_cast<TcxDateEditProperties*>(Column(7)->Properties());
  EXPECT_EQ(day->DisplayFormat, "");
  EXPECT_EQ(moment->DisplayFormat, "yyyy-mm-dd hh:nn:ss");
  TcxCustomGridRecord* first = form.View->ViewData()->Records(0);
  EXPECT_EQ(moment->GetDisplayText(first->Values(7)), "2024-03-05 08:09:10");
  EXPECT_EQ(static_cast<TcxSpinEditProperties*>(Column(0)->Properties())->ValueType, vtInt);
}

TEST_F(LayoutApplyTest, BandsAndColumnPlaces) {
  Apply(R"({
    "styles": {"hdr": {"color": "#102030"}},
    "bands": [
      {"name": "order", "caption": "订单", "fixed": "left", "width": 150, "alignment": "left",
       "styles": {"header": "hdr"}},
      {"name": "money", "caption": "金额"},
      {"name": "price", "caption": "价格", "band": "money"},
      {"caption": "其他", "band": 1, "visible": false},
      {"caption": "末"}],
    "columns": [
      {"field": "id", "band": "order"},
      {"field": "name", "band": "order", "row": 1, "lineCount": 2},
      {"field": "price", "band": "price"},
      {"field": "amount", "band": 2, "row": 1},
      {"field": "memo", "band": 3},
      {"field": "city"}]})");
  TcxGridBands& bands = *form.View->Bands();
  ASSERT_EQ(bands.Count(), 5);
  TcxGridBand* order = bands.Items(0);
  EXPECT_EQ(order->Caption(), "订单");
  EXPECT_EQ(order->FixedKind(), fkLeft);
  EXPECT_EQ(order->Width(), 150);
  EXPECT_EQ(order->HeaderAlignmentHorz, taLeftJustify);
  EXPECT_EQ(order->Styles()->Header()->Color(), static_cast<TColor>(0x302010));
  EXPECT_TRUE(order->IsRoot());
  EXPECT_EQ(bands.Items(2)->ParentBand(), bands.Items(1));
  EXPECT_EQ(bands.Items(3)->ParentBand(), bands.Items(1));
  EXPECT_EQ(bands.Items(1)->ChildBandCount(), 2);
  EXPECT_EQ(bands.Items(1)->ChildBands(0), bands.Items(2));
  EXPECT_FALSE(bands.Items(3)->Visible());
  EXPECT_EQ(bands.RootBandCount(), 3);

  EXPECT_EQ(Column(0)->Position().Band(), order);
  EXPECT_EQ(Column(0)->Position().RowIndex(), 0);
  EXPECT_EQ(Column(1)->Position().Band(), order);
  EXPECT_EQ(Column(1)->Position().RowIndex(), 1);
  EXPECT_EQ(Column(1)->Position().LineCount(), 2);
  EXPECT_EQ(Column(2)->Position().Band(), bands.Items(2));
  EXPECT_EQ(Column(3)->Position().Band(), bands.Items(2));
  EXPECT_EQ(Column(3)->Position().RowIndex(), 1);
  EXPECT_EQ(Column(4)->Position().Band(), bands.Items(3));
  // Without "band": the first band that holds no bands.
  EXPECT_EQ(Column(5)->Position().Band(), order);
  EXPECT_EQ(order->LineCount(), 3);

  // A band that holds bands takes no columns.
  std::string message = ErrorOf([&] {
    Apply(R"({"bands": [{"name": "a"}, {"band": "a"}],
                                                "columns": [{"field": "id", "band": "a"}]})");
  });
  EXPECT_EQ(message,
            "layout t.json: column 1: \"band\": band \"a\" holds bands; columns go into bands that hold no bands");
}

TEST_F(LayoutApplyTest, ColumnsEditorsGroupingSummariesAndOptions) {
  Apply(R"({
    "options": {"header": false, "groupByBox": false, "gridLines": "horizontal", "gridLineColor": "#FF0000",
                "indicator": true, "dataRowHeight": 30, "headerHeight": 25, "groupRowHeight": 22, "leftPos": 40,
                "bandHeaders": false, "groupSummaryLayout": "alignWithColumns", "footerMultiSummaries": true},
    "styles": {"title": {"color": "#1F4E79", "textColor": "#FFFFFF",
                         "font": {"name": "黑体", "size": 12, "bold": true, "underline": true}},
               "odd": {"color": "#EEEEEE"}},
    "viewStyles": {"header": "title", "contentOdd": "odd", "bandHeader": "title"},
    "columns": [
      {"field": "ID", "name": "key", "caption": "编号", "width": 40, "headerAlignment": "center",
       "footerAlignment": "right", "styles": {"header": "title", "footer": "odd"}},
      {"field": "city", "groupIndex": 1, "cellMerging": true, "groupFooters": false},
      {"field": "name", "groupIndex": 0, "visible": false},
      {"field": "price", "editor": {"kind": "currency", "displayFormat": "¥0.00", "alignment": "center"}},
      {"field": "moment", "editor": {"displayFormat": "yyyy/mm/dd"}},
      {"field": "big", "editor": {"kind": "text"}},
      {"caption": "签收人"}],
    "summaries": {
      "footer": [{"column": "price", "kind": "sum", "format": "合计 0.00"}, {"column": "KEY", "kind": "count"}],
      "group": [{"column": "price", "kind": "max"}, {"column": "key", "kind": "average", "position": "footer"}]}})");
  TcxGridDBBandedTableView& view = *form.View;
  ASSERT_EQ(view.ColumnCount(), 7);
  EXPECT_EQ(Column(0)->Caption(), "编号");
  EXPECT_EQ(Column(0)->Width(), 40);
  EXPECT_EQ(Column(0)->HeaderAlignmentHorz, taCenter);
  EXPECT_EQ(Column(0)->FooterAlignmentHorz, taRightJustify);
  EXPECT_EQ(form.View->Columns(0)->DataBinding()->FieldName, "id");  // the field's own name
  EXPECT_EQ(Column(1)->Caption(), "city");
  EXPECT_TRUE(Column(1)->Options.CellMerging);
  EXPECT_FALSE(Column(1)->Options.GroupFooters);
  EXPECT_FALSE(Column(2)->Visible());
  EXPECT_EQ(Column(6)->Caption(), "签收人");
  EXPECT_EQ(form.View->Columns(6)->DataBinding()->FieldName, "");

  // Grouping in the order of the group indexes.
  EXPECT_EQ(Column(2)->GroupIndex(), 0);
  EXPECT_EQ(Column(1)->GroupIndex(), 1);
  EXPECT_EQ(view.GroupedColumnCount(), 2);

  // Editors.
  auto* price = dynamic_cast<TcxCurrencyEditProperties*>(Column(3)->Properties());
  ASSERT_NE(price, nullptr);
  EXPECT_EQ(price->DisplayFormat, "¥0.00");
  EXPECT_EQ(price->Alignment.Horz, taCenter);
  auto* moment = dynamic_cast<TcxDateEditProperties*>(Column(4)->Properties());
  ASSERT_NE(moment, nullptr);
  EXPECT_EQ(moment->DisplayFormat, "yyyy/mm/dd");
  EXPECT_STREQ(Column(5)->Properties()->ClassName(), "TcxTextEditProperties");

  // Styles.
  TcxStyle* title = view.Styles()->Header();
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->Color(), static_cast<TColor>(0x794E1F));
  EXPECT_EQ(title->TextColor(), static_cast<TColor>(0xFFFFFF));
  EXPECT_EQ(title->Font().Name, "黑体");
  EXPECT_EQ(title->Font().Size, 12);
  EXPECT_EQ(title->Font().Style, fsBold | fsUnderline);
  EXPECT_EQ(view.Styles()->BandHeader(), title);
  EXPECT_EQ(Column(0)->Styles()->Header(), title);
  EXPECT_EQ(Column(0)->Styles()->Footer(), view.Styles()->ContentOdd());
  EXPECT_EQ(view.Styles()->ContentOdd()->AssignedValues(), svColor);

  // Options; footer summaries turn the footer on, footer-placed group
  // summaries the group footers.
  EXPECT_FALSE(view.OptionsView.Header);
  EXPECT_FALSE(view.OptionsView.GroupByBox);
  EXPECT_FALSE(view.OptionsView.BandHeaders);
  EXPECT_EQ(view.OptionsView.GridLines, glHorizontal);
  EXPECT_EQ(view.OptionsView.GridLineColor, static_cast<TColor>(0x0000FF));
  EXPECT_TRUE(view.OptionsView.Indicator);
  EXPECT_EQ(view.OptionsView.DataRowHeight, 30);
  EXPECT_EQ(view.OptionsView.HeaderHeight, 25);
  EXPECT_EQ(view.OptionsView.GroupRowHeight, 22);
  EXPECT_EQ(view.OptionsView.GroupSummaryLayout, gslAlignWithColumns);
  EXPECT_TRUE(view.OptionsView.FooterMultiSummaries);
  EXPECT_EQ(view.Controller()->LeftPos(), 40);
  EXPECT_TRUE(view.OptionsView.Footer);
  EXPECT_EQ(view.OptionsView.GroupFooters, gfVisibleWhenExpanded);

  // Summaries, computed over the data.
  TcxDataSummary& summary = view.DataController()->Summary();
  ASSERT_EQ(summary.FooterSummaryItems().Count(), 2);
  EXPECT_EQ(summary.FooterSummaryItems().Items(0)->ItemLink(), Column(3));
  EXPECT_EQ(summary.FooterSummaryTexts(0), "合计 7.50");
  EXPECT_EQ(summary.FooterSummaryItems().Items(1)->Kind, skCount);
  EXPECT_EQ(summary.FooterSummaryItems().Items(1)->ItemLink(), Column(0));
  const TcxDataSummaryItems& group = summary.DefaultGroupSummaryItems();
  ASSERT_EQ(group.Count(), 2);
  EXPECT_EQ(group.Items(0)->Kind, skMax);
  EXPECT_EQ(group.Items(0)->Position(), spGroup);
  EXPECT_EQ(group.Items(1)->Kind, skAverage);
  EXPECT_EQ(group.Items(1)->Position(), spFooter);
}

TEST_F(LayoutApplyTest, PreviewAndReferenceErrors) {
  Apply(R"({"columns": [{"field": "id"}, {"field": "memo", "name": "note", "visible": false}],
            "preview": {"column": "note", "place": "top", "maxLineCount": 2, "autoHeight": false,
                        "leftIndent": 8}})");
  const TcxGridPreview& preview = form.View->Preview();
  EXPECT_TRUE(preview.Visible);
  EXPECT_EQ(preview.Column(), Column(1));
  EXPECT_EQ(preview.Place, ppTop);
  EXPECT_EQ(preview.MaxLineCount, 2);
  EXPECT_FALSE(preview.AutoHeight);
  EXPECT_EQ(preview.LeftIndent, 8);

  const struct {
    const char* Text;
    const char* Message;
  } cases[] = {
      {R"({"columns": [{"field": "nope"}]})", "column 1: the data has no field \"nope\""},
      {R"({"columns": [{"field": "id"}], "summaries": {"footer": [{"column": "idd", "kind": "sum"}]}})",
       "footer summary 1: \"column\": there is no column named \"idd\""},
      {R"({"columns": [{"field": "id"}, {"field": "id"}], "summaries": {"group": [{"column": "id", "kind": "sum"}]}})",
       "group summary 1: \"column\": 2 columns are named \"id\"; give them distinct \"name\"s"},
      {R"({"columns": [{"field": "id"}], "preview": {"column": "memo"}})",
       "preview: \"column\": there is no column named \"memo\""},
      // Without "columns" every field is a column named after it.
      {R"({"preview": {"column": "nothing"}})", "preview: \"column\": there is no column named \"nothing\""},
      {R"({"columns": [{"field": "id", "groupIndex": 0}, {"field": "name", "groupIndex": 0}]})",
       "column 2: \"groupIndex\" 0 is given to column 1 too"},
      {R"({"columns": [{"field": "name", "editor": {"displayFormat": "0.0"}}]})",
       "column 1: editor: \"displayFormat\": the column's editor (text, by its field's type) has no display format; "
       "give a \"kind\" that has one"},
  };
  for (const auto& c : cases) {
    std::string message = ErrorOf([&] { Apply(c.Text); });
    EXPECT_EQ(message, std::string("layout t.json: ") + c.Message) << c.Text;
  }
  // Without "columns" the preview can name any field.
  Apply(R"({"preview": {"column": "memo"}})");
  EXPECT_EQ(form.View->Preview().Column(), Column(11));
}

TEST(LayoutApply, TableViewGetsColumnsWithoutBands) {
  TComponent owner;
  TMemDataSet data(&owner);
  data.FieldDefs().Add("a", ftInteger);
  data.FieldDefs().Add("b", ftString, 5);
  data.CreateDataSet();
  auto* view = new TcxGridDBTableView(&owner);
  TLayout layout = ParseLayout(R"({"view": "table", "columns": [{"field": "b", "width": 80}, {"field": "a"}]})", "t");
  ApplyLayout(layout, "t", *view, data, owner, "data");
  ASSERT_EQ(view->ColumnCount(), 2);
  EXPECT_EQ(view->Columns(0)->DataBinding()->FieldName, "b");
  EXPECT_EQ(view->Columns(0)->Width(), 80);
  EXPECT_STREQ(view->Columns(1)->Properties()->ClassName(), "TcxSpinEditProperties");
}

// The export form loads a detail level's data and links it to the master.
TEST(ExportForm, DetailLevelFromTheSameDatabaseOrACsvBesideTheLayout) {
  TScratchDir dir;
  dir.Write("lines.csv", "order_id,line,qty\n1,1,5\n1,2,7\n2,1,3\n");
  dir.Write("db.json", R"({"columns": [{"field": "id"}, {"field": "customer"}],
      "detail": {"query": "select id as line_order, qty from orders where id <= 3", "masterKey": "id",
                 "detailKey": "line_order", "layout": {"view": "table"}}})");
  dir.Write("csv.json", R"({"detail": {"csv": "lines.csv", "masterKey": " id ", "detailKey": "order_id ",
      "caption": "明细"}})");
  app::CreateDemoDatabase(dir.File("shop.db"), 5);

  app::TExportRequest fromDb;
  fromDb.Database = dir.File("shop.db");
  fromDb.Table = "orders";
  fromDb.Layout = dir.File("db.json");
  TLayout dbLayout = app::ReadLayoutFile(fromDb.Layout);
  app::TExportForm dbForm(fromDb, &dbLayout, {});
  ASSERT_NE(dbForm.DetailView(), nullptr);
  EXPECT_NE(dynamic_cast<TcxGridDBTableView*>(dbForm.DetailView()), nullptr);
  TcxGridLevel* level = dbForm.Grid()->Levels()->Items(0)->Items(0);
  EXPECT_EQ(level->GridView(), dbForm.DetailView());
  EXPECT_EQ(level->Caption, "查询");
  EXPECT_EQ(dbForm.DetailDataSet()->RecordCount(), 3);
  auto* controller = dynamic_cast<TcxDBDataController*>(dbForm.DetailView()->DataController());
  EXPECT_EQ(controller->MasterKeyFieldNames, "id");
  EXPECT_EQ(controller->DetailKeyFieldNames, "line_order");
  // Master record 2 shows the one detail record whose key is 2.
  TcxCustomDataController* master = dbForm.View()->DataController();
  ASSERT_EQ(master->DetailGridViewCount(1), 1);
  EXPECT_EQ(master->DetailGridViews(1, 0)->DataController()->RecordCount(), 1);
  EXPECT_EQ(master->DetailGridViews(4, 0)->DataController()->RecordCount(), 0);

  app::TExportRequest fromCsv;
  dir.Write("orders.csv", "id,customer\n1,甲\n2,乙\n3,丙\n");
  fromCsv.Csv = dir.File("orders.csv");
  fromCsv.Layout = dir.File("csv.json");
  TLayout csvLayout = app::ReadLayoutFile(fromCsv.Layout);
  app::TExportForm csvForm(fromCsv, &csvLayout, {});
  auto* banded = dynamic_cast<TcxGridBandedTableView*>(csvForm.DetailView());
  ASSERT_NE(banded, nullptr);  // the default view of the detail data
  EXPECT_EQ(banded->Bands()->Items(0)->Caption(), "lines");
  EXPECT_EQ(csvForm.Grid()->Levels()->Items(0)->Items(0)->Caption, "明细");
  EXPECT_EQ(dynamic_cast<TcxGridBandedTableView*>(csvForm.View())->Bands()->Items(0)->Caption(), "orders");
  TcxCustomDataController* csvMaster = csvForm.View()->DataController();
  EXPECT_EQ(csvMaster->DetailGridViews(0, 0)->DataController()->RecordCount(), 2);
  EXPECT_EQ(csvMaster->DetailGridViews(2, 0)->DataController()->RecordCount(), 0);

  // Errors name the layout and the detail part.
  const struct {
    const char* Layout;
    std::string Message;
  } cases[] = {
      {R"({"detail": {"table": "orders", "masterKey": "id", "detailKey": "id"}})",
       "layout " + dir.File("e.json") +
           ": detail: \"table\" reads the --db database; with --csv give the detail "
           "data as \"csv\""},
      {R"({"detail": {"csv": "lines.csv", "masterKey": "idx", "detailKey": "order_id"}})",
       "layout " + dir.File("e.json") + ": detail: \"masterKey\": the data has no field \"idx\""},
      {R"({"detail": {"csv": "lines.csv", "masterKey": "id", "detailKey": "order"}})",
       "layout " + dir.File("e.json") + ": detail: \"detailKey\": the data has no field \"order\""},
      {R"({"detail": {"csv": "lines.csv", "masterKey": "id", "detailKey": "order_id",
                      "layout": {"columns": [{"field": "nope"}]}}})",
       "layout " + dir.File("e.json") + ": detail: layout: column 1: the data has no field \"nope\""},
      {R"({"detail": {"csv": "none.csv", "masterKey": "id", "detailKey": "order_id"}})",
       "cannot read \"" + dir.File("none.csv") + "\": the file does not exist"},
  };
  fromCsv.Layout = dir.File("e.json");
  for (const auto& c : cases) {
    dir.Write("e.json", c.Layout);
    TLayout layout = app::ReadLayoutFile(fromCsv.Layout);
    EXPECT_EQ(ErrorOf([&] { app::TExportForm f(fromCsv, &layout, {}); }), c.Message) << c.Layout;
  }
}

}  // namespace
}  // namespace kv
