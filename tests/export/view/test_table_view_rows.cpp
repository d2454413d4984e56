// The table view exporter: the view footer with multi-summaries, previews,
// cell merging, the choice of records by selection, native values and the
// grid mode of data-bound views.
#include "ViewExportSupport.h"
#include "gridpack/DBTableView.h"
#include "platform/Bitmap.h"
#include "platform/DBFields.h"
#include "platform/MemDataSet.h"
#include "platform/TextMetrics.h"

namespace kv::testing {
namespace {

using TableViewRows = ViewExportTest;

// Name and Amount (calc editor), three records 1, 2, 3.
class TableViewFooter : public ViewExportTest {
 protected:
  void SetUp() override {
    ViewExportTest::SetUp();
    Name = AddColumn("Name");
    Amount = AddColumn("Amount");
    Amount->SetPropertiesClass<TcxCalcEditProperties>();
    AddRow({Variant("a"), Variant(1.0)});
    AddRow({Variant("b"), Variant(2.0)});
    AddRow({Variant("c"), Variant(3.5)});
    View->OptionsView.Footer = true;
    AddFooterSummary(Amount, skSum);
    AddFooterSummary(Amount, skMin);
    AddFooterSummary(Amount, skMax);
    AddFooterSummary(Name, skCount, "共0条");
  }
  TcxGridColumn* Name = nullptr;
  TcxGridColumn* Amount = nullptr;
};

TEST_F(TableViewFooter, MultiSummariesStackOnePerBaseRow) {
  View->OptionsView.FooterMultiSummaries = true;
  TRecordingProvider& p = *Export();
  // Header, three records, then the footer of three base rows.
  ASSERT_EQ(p.RowCount, 7);
  EXPECT_TRUE(p.RowHeights.empty());
  EXPECT_EQ(p.Text(1, 4), "6.5");
  EXPECT_EQ(p.Text(1, 5), "1");
  EXPECT_EQ(p.Text(1, 6), "3.5");
  EXPECT_EQ(p.Text(0, 4), "共3条");
  EXPECT_EQ(p.Text(0, 5), "");
  // Footer cells: footer colours, all four borders in the look-and-feel
  // footer colour.
  const TcxExportCellStyle& cell = p.StyleOf(1, 5);
  EXPECT_EQ(cell.BrushBkColor, GetSysColor(COLOR_BTNFACE));
  for (int side = 0; side < 4; ++side) {
    EXPECT_EQ(cell.CellBorders[side].IsDefault, 0);
    EXPECT_EQ(cell.CellBorders[side].Color, GetSysColor(COLOR_BTNSHADOW));
  }
}

TEST_F(TableViewFooter, WithoutMultiSummariesOnlyTheFirstOfAColumnIsWritten) {
  TRecordingProvider& p = *Export();
  ASSERT_EQ(p.RowCount, 5);
  EXPECT_EQ(p.RowTexts(4), (std::vector<std::string>{"共3条", "6.5"}));
}

TEST_F(TableViewFooter, Office11LookDrawsFooterCellsInItsOwnColour) {
  Grid->LookAndFeel.Kind = lfOffice11;
  TRecordingProvider& p = *Export();
  EXPECT_EQ(p.StyleOf(1, 4).CellBorders[cxBorderTop].Color, ColorToRGB(cxOffice11FooterBorderColor));
}

TEST_F(TableViewFooter, NativeValuesPutTheNumberNotTheText) {
  TRecordingProvider& p = *Export(true, true, /*ANative=*/true);
  const Variant& sum = p.Value(1, 4);
  EXPECT_TRUE(sum.IsFloatKind()) << VarTypeName(sum.VarType());
  EXPECT_DOUBLE_EQ(sum.AsDouble(), 6.5);
  // A count with a format keeps its value; its text is not written.
  const Variant& count = p.Value(0, 4);
  EXPECT_FALSE(count.IsTextKind());
  EXPECT_EQ(count.AsInteger(), 3);
}

TEST_F(TableViewRows, PreviewWithAutoHeightIsAtMostMaxLineCountBaseRows) {
  AddColumn("A", 60);
  AddColumn("B", 60);
  TcxGridColumn* notes = AddColumn("Notes");
  notes->SetVisible(false);
  AddRow({Variant("a1"), Variant("b1"), Variant("short")});
  AddRow({Variant("a2"), Variant("b2"), Variant("one two three four five six seven eight nine ten eleven twelve")});
  View->Preview().Visible = true;
  View->Preview().SetColumn(notes);
  View->Preview().AutoHeight = true;
  View->Preview().MaxLineCount = 3;
  TRecordingProvider& p = *Export();
  // Header, record, its preview, record, its preview.
  ASSERT_EQ(p.RowCount, 5);
  const int line = TextHeight(DefaultFont());
  EXPECT_EQ(p.RowHeights, (std::map<int, int>{{2, line + 6}, {4, 3 * 19}}));
  EXPECT_EQ(p.Text(0, 2), "short");
  const TRecordedMerge* preview = p.MergeAt(0, 2);
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(preview->ColSpan, 2) << "a preview spans the data width";
  EXPECT_EQ(p.Text(0, 4).substr(0, 7), "one two");
}

TEST_F(TableViewRows, PreviewOnTopComesBeforeTheCells) {
  AddColumn("A", 60);
  TcxGridColumn* notes = AddColumn("Notes");
  notes->SetVisible(false);
  AddRow({Variant("a1"), Variant("note")});
  View->Preview().Visible = true;
  View->Preview().SetColumn(notes);
  View->Preview().Place = ppTop;
  View->Preview().AutoHeight = false;
  View->Preview().MaxLineCount = 2;
  TRecordingProvider& p = *Export();
  ASSERT_EQ(p.RowCount, 3);
  EXPECT_EQ(p.Text(0, 1), "note");
  EXPECT_EQ(p.Text(0, 2), "a1");
  EXPECT_EQ(p.RowHeights, (std::map<int, int>{{1, 38}}));
}

TEST_F(TableViewRows, CellMergingJoinsEqualNeighbours) {
  TcxGridColumn* a = AddColumn("A");
  AddColumn("B");
  a->Options.CellMerging = true;
  AddRow({Variant("A"), Variant("1")});
  AddRow({Variant("A"), Variant("2")});
  AddRow({Variant("B"), Variant("3")});
  AddRow({Variant("A"), Variant("4")});
  TRecordingProvider& p = *Export();
  ASSERT_EQ(p.RowCount, 5);
  const TRecordedMerge* merged = p.MergeAt(0, 1);
  ASSERT_NE(merged, nullptr);
  EXPECT_EQ(merged->RowSpan, 2);
  EXPECT_EQ(merged->ColSpan, 1);
  EXPECT_EQ(p.Text(0, 1), "A");
  EXPECT_EQ(p.Text(0, 2), "");
  EXPECT_EQ(p.Text(0, 3), "B");
  EXPECT_EQ(p.Text(0, 4), "A");
  EXPECT_EQ(p.MergeAt(0, 3), nullptr);
  EXPECT_EQ(p.Merges.size(), 1u) << "column B does not merge";
}

TEST_F(TableViewRows, CellMergingAsksTheColumnsEvents) {
  TcxGridColumn* a = AddColumn("A");
  a->Options.CellMerging = true;
  a->OnCompareValuesForCellMerging = [](TcxGridColumn*, TcxCustomEditProperties*, const Variant& A,
                                        TcxCustomEditProperties*, const Variant& B, bool& AAreEqual) {
    AAreEqual = A.AsString().substr(0, 1) == B.AsString().substr(0, 1);
  };
  AddRow({Variant("x1")});
  AddRow({Variant("x2")});
  AddRow({Variant("y1")});
  TRecordingProvider& p = *Export();
  const TRecordedMerge* merged = p.MergeAt(0, 1);
  ASSERT_NE(merged, nullptr);
  EXPECT_EQ(merged->RowSpan, 2);
  EXPECT_EQ(p.Text(0, 1), "x1");
}

TEST_F(TableViewRows, SaveAllFalseExportsOnlyTheSelectedRecords) {
  AddColumn("A");
  for (const char* v : {"r0", "r1", "r2", "r3"}) AddRow({Variant(v)});
  Data()->MultiSelect = true;
  Data()->ChangeRowSelection(1, true);
  Data()->ChangeRowSelection(3, true);
  TRecordingProvider& p = *Export(true, /*ASaveAll=*/false);
  ASSERT_EQ(p.RowCount, 3);
  EXPECT_EQ(p.Text(0, 1), "r1");
  EXPECT_EQ(p.Text(0, 2), "r3");
}

TEST_F(TableViewRows, SaveAllFalseWithoutSelectionExportsEverything) {
  AddColumn("A");
  for (const char* v : {"r0", "r1", "r2"}) AddRow({Variant(v)});
  TRecordingProvider& p = *Export(true, /*ASaveAll=*/false);
  EXPECT_EQ(p.RowCount, 4);
}

TEST_F(TableViewRows, SelectedGroupRowIsExpandedAndItsSelectedChildrenFollow) {
  TcxGridColumn* g = AddColumn("G");
  AddColumn("A");
  AddRow({Variant("x"), Variant("a0")});
  AddRow({Variant("x"), Variant("a1")});
  AddRow({Variant("y"), Variant("a2")});
  g->SetVisible(false);
  g->SetGroupIndex(0);
  Data()->MultiSelect = true;
  Data()->FullCollapse();
  Data()->ChangeRowSelection(0, true);  // group x, collapsed
  TRecordingProvider& p = *Export(/*AExpand=*/true, /*ASaveAll=*/false);
  // Only the group row is selected: it is exported and expanded, its
  // unselected children are not exported.
  ASSERT_EQ(p.RowCount, 2);
  EXPECT_EQ(p.Text(1, 1), "G : x");
  EXPECT_EQ(p.Text(0, 1), "-");
  EXPECT_TRUE(View->ViewData()->Records(0)->Expanded());
}

TEST_F(TableViewRows, NativeValuesFollowTheEditors) {
  TcxGridColumn* money = AddColumn("Money");
  money->SetPropertiesClass<TcxCurrencyEditProperties>();
  TcxGridColumn* date = AddColumn("Date");
  date->SetPropertiesClass<TcxDateEditProperties>();
  TcxGridColumn* mask = AddColumn("Mask");
  mask->SetPropertiesClass<TcxMaskEditProperties>();
  AddColumn("Text");
  TcxGridColumn* spin = AddColumn("Spin");
  spin->SetPropertiesClass<TcxSpinEditProperties>();
  AddRow({Variant(12.5), Variant::DateTime(45000.0), Variant::Currency(25000), Variant(7.25), Variant(3)});
  TRecordingProvider& p = *Export(true, true, /*ANative=*/true);
  EXPECT_EQ(p.Value(0, 1).VarType(), varCurrency);
  EXPECT_EQ(p.Value(0, 1).RawInt(), 125000);
  EXPECT_EQ(p.Value(1, 1).VarType(), varDate);
  // A currency value in a column that is no currency item becomes a float.
  EXPECT_EQ(p.Value(2, 1).VarType(), varDouble);
  EXPECT_DOUBLE_EQ(p.Value(2, 1).AsDouble(), 2.5);
  EXPECT_EQ(p.Value(3, 1).VarType(), varString) << "text editors keep their text";
  EXPECT_EQ(p.Value(4, 1).VarType(), varInteger);

  TRecordingProvider::Kept().clear();
  TRecordingProvider& q = *Export(true, true, /*ANative=*/false);
  for (int c = 0; c < 5; ++c) EXPECT_EQ(q.Value(c, 1).VarType(), varString) << c;
}

TEST_F(TableViewRows, CurrencyItemWithMaskEditorCarriesCurrency) {
  TcxGridColumn* money = AddColumn("Money");
  money->SetPropertiesClass<TcxMaskEditProperties>();
  money->DataBinding()->SetValueTypeClass(TcxCurrencyValueType::Instance());
  TcxGridColumn* plain = AddColumn("Plain");
  plain->SetPropertiesClass<TcxMaskEditProperties>();
  AddRow({Variant(3.25), Variant(3.25)});
  TRecordingProvider& p = *Export(true, true, true);
  EXPECT_EQ(p.Value(0, 1).VarType(), varCurrency);
  EXPECT_EQ(p.Value(1, 1).VarType(), varDouble) << "unchanged";
}

TEST_F(TableViewRows, PicturesGoToProvidersThatTakeThem) {
  TcxGridColumn* image = AddColumn("Image");
  image->SetPropertiesClass<TcxImageProperties>();
  TBitmap bitmap(3, 2);
  bitmap.Fill(RGB(10, 20, 30));
  AddRow({Variant(bitmap.SaveToBytes())});
  AddRow({Variant::Null()});
  AddRow({Variant("not a picture")});
  TRecordingProvider& pages = *Export(true, true, false, kRecordingCacheKind);
  EXPECT_EQ(pages.Text(0, 1), "<picture 3 x 2 .bmp>");
  EXPECT_EQ(pages.Value(0, 2).VarType(), varEmpty) << "an image item without a picture leaves its cell empty";
  EXPECT_EQ(pages.Value(0, 3).VarType(), varEmpty);
  // A provider without pictures gets the editor's text, which is empty.
  TRecordingProvider::Kept().clear();
  TRecordingProvider& book = *Export(true, true, false, kRecordingKind);
  EXPECT_EQ(book.Value(0, 1).VarType(), varString);
  EXPECT_EQ(book.Text(0, 1), "");
}

// A data-bound view in grid mode: only a window of the dataset is loaded.
TEST_F(TableViewRows, GridModeIsSwitchedOffForTheExportAndRestoredAfter) {
  auto* data = new TMemDataSet(Form.get());
  data->FieldDefs().Add("ID", ftInteger);
  data->FieldDefs().Add("NAME", ftString, 20);
  data->CreateDataSet();
  for (int i = 1; i <= 7; ++i) {
    data->Append();
    data->FieldByName("ID")->SetAsInteger(i);
    data->FieldByName("NAME")->SetAsString("n" + std::to_string(i));
    data->Post();
  }
  auto* source = new TDataSource(Form.get());
  source->SetDataSet(data);
  auto* view = new TcxGridDBTableView(Form.get());
  Grid->Levels()->Items(0)->SetGridView(view);
  view->DataController()->SetDataSource(source);
  view->CreateColumn()->DataBinding()->FieldName = "ID";
  view->CreateColumn()->DataBinding()->FieldName = "NAME";
  view->DataController()->DataModeController()->SetGridModeBufferCount(2);
  data->SetRecNo(5);
  view->DataController()->DataModeController()->SetGridMode(true);
  ASSERT_EQ(view->DataController()->RecordCount(), 2);

  TRecordingProvider& p = *Export();
  ASSERT_EQ(p.RowCount, 8) << "header and all seven records";
  EXPECT_EQ(p.Text(1, 1), "n1");
  EXPECT_EQ(p.Text(1, 7), "n7");
  EXPECT_TRUE(view->DataController()->DataModeController()->GridMode());
  EXPECT_EQ(view->DataController()->RecordCount(), 2);
  EXPECT_EQ(data->RecNo(), 5);
  EXPECT_EQ(Grid->UpdateLockCount(), 0);
}

}  // namespace
}  // namespace kv::testing
