// The entry points (grid and level checks, file extension, the choice of the
// exporter class, provider creation errors, the update lock, the text
// format strings) and master-detail exports with and without a cell cache.
#include <fstream>
#include <sstream>

#include "ViewExportSupport.h"
#include "export/TableViewExport.h"
#include "platform/CodePage.h"
#include "writers/text/TextWritersSupport.h"

namespace kv::testing {
namespace {

// A view kind the engine has no exporter for.
class TOtherView : public TcxCustomGridView {
 public:
  explicit TOtherView(TComponent* AOwner) : TcxCustomGridView(AOwner, std::make_unique<TcxGridDataController>()) {}
};

class GridExportEntry : public ViewExportTest {
 protected:
  void SetUp() override {
    ViewExportTest::SetUp();
    AddColumn("A");
    AddColumn("B");
    AddRow({Variant("a1"), Variant("b1")});
  }
};

TEST_F(GridExportEntry, NilGridAndGridWithoutActiveLevelDoNothing) {
  SaveGridAs("x.rec", kRecordingKind, nullptr, true, true, false, "", "", "", "");
  TcxGrid empty(Form.get());
  SaveGridAs("x.rec", kRecordingKind, &empty, true, true, false, "", "", "", "");
  EXPECT_TRUE(TRecordingProvider::Kept().empty());
}

TEST_F(GridExportEntry, FileExtensionReplacesTheExtension) {
  struct TCase {
    const char* Name;
    const char* Ext;
    const char16_t* Target;
  } cases[] = {
      {"report.txt", "xls", u"report.xls"},
      {"report", "xls", u"report.xls"},
      {"dir.v1/report.txt", "", u"dir.v1/report.txt"},
  };
  for (const TCase& c : cases) {
    TRecordingProvider::Kept().clear();
    SaveGridAs(c.Name, kRecordingKind, Grid, true, true, false, "", "", "", c.Ext);
    ASSERT_EQ(TRecordingProvider::Kept().size(), 1u);
    EXPECT_EQ(TRecordingProvider::Made(0)->TargetName(), std::u16string(c.Target)) << c.Name;
  }
}

TEST_F(GridExportEntry, ViewWithoutExporterRaisesAndCreatesNothing) {
  auto* other = new TOtherView(Form.get());
  Grid->Levels()->Items(0)->SetGridView(other);
  EXPECT_EQ(
      MessageOf<EcxGridExport>([&] { SaveGridAs("x.rec", kRecordingKind, Grid, true, true, false, "", "", "", ""); }),
      "表格视图不存在");
  EXPECT_TRUE(TRecordingProvider::Kept().empty());
  Grid->Levels()->Items(0)->SetGridView(nullptr);
  EXPECT_EQ(Grid->FocusedView(), nullptr);
  EXPECT_THROW(SaveGridAs("x.rec", kRecordingKind, Grid, true, true, false, "", "", "", ""), EcxGridExport);
  EXPECT_TRUE(TRecordingProvider::Kept().empty());
  EXPECT_THROW(ExporterClassFor(nullptr), EcxGridExport);
  EXPECT_EQ(ExporterClassFor(View), TcxGridTableViewExport::Class());
}

TEST_F(GridExportEntry, FocusedViewOfAnotherKindExportsTheActiveLevelsViewWithItsOwnExporter) {
  TcxGridLevel* detailLevel = Grid->Levels()->Items(0)->Add();
  auto* other = new TOtherView(Form.get());
  detailLevel->SetGridView(other);
  Grid->SetFocusedView(other);
  ASSERT_EQ(Grid->FocusedView(), other);
  TRecordingProvider& p = *Export();
  EXPECT_EQ(p.Text(0, 0), "A");
}

TEST_F(GridExportEntry, ActiveLevelsViewWithoutExporterRaisesWhateverIsFocused) {
  auto* other = new TOtherView(Form.get());
  auto* table = View;
  Grid->Levels()->Items(0)->SetGridView(other);
  Grid->Levels()->Items(0)->Add()->SetGridView(table);
  Grid->SetFocusedView(table);
  EXPECT_THROW(SaveGridAs("x.rec", kRecordingKind, Grid, true, true, false, "", "", "", ""), EcxGridExport);
  EXPECT_TRUE(TRecordingProvider::Kept().empty());
}

TEST_F(GridExportEntry, ProviderThatCannotCreateItsFileRaisesCantCreate) {
  EXPECT_EQ(MessageOf<EcxGridExport>([&] {
              SaveGridAs("/tmp/missing-folder/x.rec", kRecordingKind, Grid, true, true, false, "", "", "", "");
            }),
            "不能创建导出文件");
  TScratchFolder folder;
  EXPECT_EQ(
      MessageOf<EcxGridExport>([&] { SaveGridAsXLS(folder.File("no/such/folder/x"), Grid, true, true, true, "xls"); }),
      "不能创建导出文件");
  EXPECT_EQ(Grid->UpdateLockCount(), 0);
}

TEST_F(GridExportEntry, AnErrorDuringTheExportPassesThroughAndReleasesTheLock) {
  View->Columns(0)->OnGetDisplayText = [](TcxCustomGridTableItem*, TcxCustomGridRecord*, std::string&) {
    throw EConvertError("bad value");
  };
  EXPECT_THROW(SaveGridAs("x.rec", kRecordingKind, Grid, true, true, false, "", "", "", ""), EConvertError);
  EXPECT_EQ(Grid->UpdateLockCount(), 0);
  EXPECT_FALSE(Grid->IsUpdateLocked());
}

TEST_F(GridExportEntry, TextEntryPointHandsItsStringsToTheTextWriter) {
  SetSystemCodePage(65001);
  TScratchFolder folder;
  SaveGridAsText(folder.File("out.csv"), Grid, true, true, ";", "<", ">", "txt");
  std::ifstream in(folder.File("out.txt"), std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  EXPECT_EQ(content.str(), "<A>;<B>\r\n<a1>;<b1>\r\n");
  SetSystemCodePage(936);
}

// A master view with one column and a detail level whose views the host
// gives: one detail view per master record, each with its own records.  The
// host frees them after the master view.
class GridExportMasterDetail : public ViewExportTest {
 protected:
  TComponent DetailOwner;  // destroyed after the fixture's form
  void SetUp() override {
    ViewExportTest::SetUp();
    Master = AddColumn("M");
    AddRow({Variant("m1")});
    AddRow({Variant("m2")});
    DetailLevel = Grid->Levels()->Items(0)->Add();
    for (int m = 0; m < 2; ++m) {
      auto* detail = new TcxGridTableView(&DetailOwner);
      TcxGridColumn* d = detail->CreateColumn();
      d->SetCaption("D");
      auto* data = static_cast<TcxGridDataController*>(detail->DataController());
      for (int r = 0; r < 2; ++r)
        data->SetValue(data->AppendRecord(), d, Variant("d" + std::to_string(m) + std::to_string(r)));
      Details.push_back(detail);
    }
    DetailLevel->OnGetDetailView = [this](TcxGridLevel*, TcxCustomGridView*, int ARecord) {
      return static_cast<TcxCustomGridView*>(Details[static_cast<size_t>(ARecord)]);
    };
  }
  TcxGridColumn* Master = nullptr;
  TcxGridLevel* DetailLevel = nullptr;
  std::vector<TcxGridTableView*> Details;
};

TEST_F(GridExportMasterDetail, ProviderWithCellCacheNestsEachExpandedDetail) {
  TRecordingProvider& p = *Export(true, true, false, kRecordingCacheKind);
  auto& master = dynamic_cast<TRecordingCacheProvider&>(p);
  // Columns: expand cell (20), the master column (64 + 20).  Rows: header,
  // m1, its detail, m2, its detail.
  ASSERT_EQ(p.ColCount, 2);
  ASSERT_EQ(p.RowCount, 5);
  EXPECT_EQ(p.RowTexts(1), (std::vector<std::string>{"-", "m1"}));
  EXPECT_EQ(p.RowTexts(3), (std::vector<std::string>{"-", "m2"}));
  EXPECT_EQ(p.Text(1, 2), "");
  ASSERT_EQ(master.Nested.size(), 2u);
  TRecordingProvider* first = master.NestedAt(1, 2);
  TRecordingProvider* second = master.NestedAt(1, 4);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(first->RowTexts(0), (std::vector<std::string>{"D"}));
  EXPECT_EQ(first->RowTexts(1), (std::vector<std::string>{"d00"}));
  EXPECT_EQ(first->RowTexts(2), (std::vector<std::string>{"d01"}));
  EXPECT_EQ(second->RowTexts(2), (std::vector<std::string>{"d11"}));
  EXPECT_EQ(first->FinishCount, 0) << "only the outer provider is finished";
  EXPECT_EQ(p.FinishCount, 1);
  // The detail providers share the master's style list.
  EXPECT_EQ(&first->Styles(), &p.Styles());
  // The indent cell left of the detail has no top border.
  EXPECT_FALSE(HasBorder(p, 0, 2, cxBorderTop));
}

TEST_F(GridExportMasterDetail, ProviderWithoutCellCacheExportsOnlyTheMasterRows) {
  TRecordingProvider& p = *Export(true, true, false, kRecordingKind);
  ASSERT_EQ(p.RowCount, 3);
  EXPECT_EQ(p.RowTexts(1), (std::vector<std::string>{"-", "m1"}));
  EXPECT_EQ(p.RowTexts(2), (std::vector<std::string>{"-", "m2"}));
  EXPECT_EQ(TRecordingProvider::Kept().size(), 1u) << "no detail exporter ran";
}

TEST_F(GridExportMasterDetail, DetailsWriteDisplayTextsEvenWithNativeValues) {
  Details[0]->Columns(0)->SetPropertiesClass<TcxSpinEditProperties>();
  auto* data = static_cast<TcxGridDataController*>(Details[0]->DataController());
  data->SetValue(0, Details[0]->Columns(0), Variant(5));
  Master->SetPropertiesClass<TcxSpinEditProperties>();
  Data()->SetValue(0, Master, Variant(9));
  auto& master = dynamic_cast<TRecordingCacheProvider&>(*Export(true, true, true, kRecordingCacheKind));
  EXPECT_EQ(master.Value(1, 1).VarType(), varInteger);
  EXPECT_EQ(master.NestedAt(1, 2)->Value(0, 1).VarType(), varString);
}

TEST_F(GridExportMasterDetail, CollapsedMasterIsExportedOnlyWhenSelected) {
  Data()->MultiSelect = true;
  auto* detailData = static_cast<TcxGridDataController*>(Details[1]->DataController());
  detailData->MultiSelect = true;
  detailData->ChangeRowSelection(0, true);
  Data()->ChangeRowSelection(0, true);  // m1 selected, m2 not (its detail has a selection)
  TRecordingProvider& p = *Export(/*AExpand=*/false, /*ASaveAll=*/false);
  ASSERT_EQ(p.RowCount, 2);
  EXPECT_EQ(p.RowTexts(1), (std::vector<std::string>{"+", "m1"}));

  // Expanded, m2 is marked through its detail's selection.
  TRecordingProvider::Kept().clear();
  View->ViewData()->Records(1)->SetExpanded(true);
  TRecordingProvider& q = *Export(/*AExpand=*/false, /*ASaveAll=*/false);
  ASSERT_EQ(q.RowCount, 3);
  EXPECT_EQ(q.RowTexts(2), (std::vector<std::string>{"-", "m2"}));
}

TEST_F(GridExportMasterDetail, CellMergingStopsAtAnExpandedRecord) {
  Master->Options.CellMerging = true;
  Data()->SetValue(1, Master, Variant("m1"));
  Data()->AppendRecord();
  Data()->SetValue(2, Master, Variant("m1"));
  Details.push_back(Details[1]);
  View->ViewData()->Records(1)->SetExpanded(true);
  TRecordingProvider& p = *Export(/*AExpand=*/false);
  // m1 (collapsed) and m1 (expanded) merge; the expanded one stops the run.
  ASSERT_EQ(p.RowCount, 4);
  const TRecordedMerge* merged = p.MergeAt(1, 1);
  ASSERT_NE(merged, nullptr);
  EXPECT_EQ(merged->RowSpan, 2);
  EXPECT_EQ(p.MergeAt(1, 2), nullptr);
  EXPECT_EQ(p.Text(1, 3), "m1");
}

}  // namespace
}  // namespace kv::testing
