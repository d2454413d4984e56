// The entry points and the choice of the exporter class.
#include "export/GridExport.h"

#include "export/BandedTableViewExport.h"
#include "export/TableViewExport.h"
#include "gridpack/BandedTableView.h"
#include "gridpack/Grid.h"
#include "gridpack/TableView.h"
#include "platform/Files.h"
#include "writers/text/TXTExportProvider.h"

namespace kv {

namespace {

// The exporter classes by view class, tested in order (descendants match).
// The card and chart exporters take their places here, before the table
// entry, as they are added.
struct TExporterEntry {
  bool (*Matches)(TcxCustomGridView* AView);
  TcxGridExportClass (*Class)();
};

const TExporterEntry kExporters[] = {
    {[](TcxCustomGridView* AView) { return dynamic_cast<TcxGridBandedTableView*>(AView) != nullptr; },
     &TcxGridBandedTableViewExport::Class},
    {[](TcxCustomGridView* AView) { return dynamic_cast<TcxGridTableView*>(AView) != nullptr; },
     &TcxGridTableViewExport::Class},
};

}  // namespace

TcxGridExportClass ExporterClassFor(TcxCustomGridView* AView) {
  if (AView) {
    for (const TExporterEntry& entry : kExporters)
      if (entry.Matches(AView)) return entry.Class();
  }
  RaiseGridExportError(scxNotExistGridView);
}

void SaveGridAs(const std::string& AFileName, int AExportKind, TcxGrid* AGrid, bool AExpand, bool ASaveAll,
                bool AUseNativeFormat, const std::string& ASeparator, const std::string& ABeginString,
                const std::string& AEndString, const std::string& AFileExt) {
  if (!AGrid || !AGrid->ActiveLevel()) return;
  std::string fileName = AFileExt.empty() ? AFileName : ChangeFileExt(AFileName, "." + AFileExt);
  // The exporter runs on the active level's view, with the class that view
  // asks for.  When the focused view is that view this is the focused view's
  // class; a focused view of another kind (a detail view) must not choose,
  // as its exporter would run on a view it was not made for.  No view at
  // all raises scxNotExistGridView.
  TcxCustomGridView* view = AGrid->ActiveLevel()->GridView();
  TcxGridExportClass exporterClass = ExporterClassFor(view);
  std::unique_ptr<TcxGridCustomExport> exporter = exporterClass->Create(fileName, AExportKind, view, AGrid, nullptr);
  exporter->FAllRecords = ASaveAll;
  exporter->FExpandRecords = AExpand;
  exporter->FNativeValues = AUseNativeFormat;
  if (auto* textFormat = dynamic_cast<IcxTextFormat*>(exporter->ExportProvider().get())) {
    textFormat->PutFormatText(ASeparator);
    textFormat->PutFormatText(ABeginString);
    textFormat->PutFormatText(AEndString);
  }
  AGrid->BeginUpdate();
  try {
    exporter->Execute();
  } catch (...) {
    exporter.reset();
    AGrid->EndUpdate();
    throw;
  }
  exporter.reset();
  AGrid->EndUpdate();
}

void SaveGridAsXLS(const std::string& AFileName, TcxGrid* AGrid, bool AExpand, bool ASaveAll, bool AUseNativeFormat,
                   const std::string& AFileExt) {
  SaveGridAs(AFileName, cxExportToExcel, AGrid, AExpand, ASaveAll, AUseNativeFormat, "", "", "", AFileExt);
}

void SaveGridAsHTML(const std::string& AFileName, TcxGrid* AGrid, bool AExpand, bool ASaveAll,
                    const std::string& AFileExt) {
  SaveGridAs(AFileName, cxExportToHtml, AGrid, AExpand, ASaveAll, false, "", "", "", AFileExt);
}

void SaveGridAsXML(const std::string& AFileName, TcxGrid* AGrid, bool AExpand, bool ASaveAll,
                   const std::string& AFileExt) {
  SaveGridAs(AFileName, cxExportToXml, AGrid, AExpand, ASaveAll, false, "", "", "", AFileExt);
}

void SaveGridAsText(const std::string& AFileName, TcxGrid* AGrid, bool AExpand, bool ASaveAll,
                    const std::string& ASeparator, const std::string& ABeginString, const std::string& AEndString,
                    const std::string& AFileExt) {
  SaveGridAs(AFileName, cxExportToText, AGrid, AExpand, ASaveAll, false, ASeparator, ABeginString, AEndString,
             AFileExt);
}

}  // namespace kv
