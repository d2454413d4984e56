// The export command: data, form, UI answers, library call, outcome.
#include "app/ExportRun.h"

#include <iostream>
#include <memory>
#include <optional>

#include "app/ExportForm.h"
#include "app/Layout.h"
#include "app/Progress.h"
#include "export/GridExport.h"
#include "gridpack/DBBandedTableView.h"
#include "gridpack/Grid.h"
#include "library/ExportPrompt.h"
#include "library/Exports.h"
#include "platform/Files.h"
#include "platform/Forms.h"
#include "platform/MemDataSet.h"
#include "platform/ScriptedUI.h"
#include "platform/TerminalUI.h"

namespace kv::app {

namespace {

void RunDbf(TcxGrid&, TcxGridTableView& AView, const TExportRequest&) {
  TcxGridDBBandedTableView* view = dynamic_cast<TcxGridDBBandedTableView*>(&AView);
  ConvertToDBF(&view);
}

void RunXls(TcxGrid& AGrid, TcxGridTableView&, const TExportRequest&) { ConvertToExcel(&AGrid); }

// The steps of the library's own export commands: the save prompt with the
// format's filter, the extension fix-up and the overwrite question; false
// when the user cancelled or declined (nothing is to be written).
bool PromptTarget(const char* AFilter, const char* AExtension, std::string& AFileName) {
  if (!PromptExportFile(AFilter, AFileName)) return false;
  AFileName = ApplyExportExtension(AFileName, AExtension);
  return ConfirmExportOverwrite(AFileName);
}

void RunText(TcxGrid& AGrid, TcxGridTableView&, const TExportRequest& ARequest) {
  std::string fileName;
  if (!PromptTarget("文本文件(*.txt)|*.txt", ".txt", fileName)) return;
  SaveGridAsText(fileName, &AGrid, true, true, ARequest.Separator, ARequest.Prefix, ARequest.Suffix,
                 ExportFileExt(fileName));
}

void RunHtml(TcxGrid& AGrid, TcxGridTableView&, const TExportRequest&) {
  std::string fileName;
  if (!PromptTarget("HTML文件(*.html)|*.html", ".html", fileName)) return;
  SaveGridAsHTML(fileName, &AGrid, true, true, ExportFileExt(fileName));
}

void RunXml(TcxGrid& AGrid, TcxGridTableView&, const TExportRequest&) {
  std::string fileName;
  if (!PromptTarget("XML文件(*.xml)|*.xml", ".xml", fileName)) return;
  SaveGridAsXML(fileName, &AGrid, true, true, ExportFileExt(fileName));
}

const TExportFormat Formats[] = {
    {"dbf", ".dbf", RunDbf, true}, {"xls", ".xls", RunXls}, {"txt", ".txt", RunText},
    {"html", ".html", RunHtml},    {"xml", ".xml", RunXml},
};

// Puts the current directory back when the command ends (the save dialog
// moves it to the target's folder, as the desktop dialog did).
class TCurrentDirKeeper {
 public:
  TCurrentDirKeeper() : FDir(GetCurrentDir()) {}
  ~TCurrentDirKeeper() {
    if (!FDir.empty()) SetCurrentDir(FDir);
  }

 private:
  std::string FDir;
};

}  // namespace

const TExportFormat* FindExportFormat(const std::string& AName) {
  for (const TExportFormat& f : Formats)
    if (SameTextAscii(f.Name, AName)) return &f;
  return nullptr;
}

std::string SupportedFormats() {
  std::string names;
  for (const TExportFormat& f : Formats) names += (names.empty() ? "" : ", ") + std::string(f.Name);
  return names;
}

int RunExport(const TExportRequest& ARequest) {
  const TExportFormat* format = FindExportFormat(ARequest.Format);
  if (!format) throw EUsageError("unknown format \"" + ARequest.Format + "\"");
  TCurrentDirKeeper dirKeeper;
  TProgress progress(std::cerr, TProgress::StderrIsTerminal());

  // The layout is read first: a layout that does not fit the format fails
  // before the data is loaded.
  std::optional<TLayout> layout;
  if (!ARequest.Layout.empty()) layout = ReadLayoutFile(ARequest.Layout);
  if (format->NeedsBandedView && layout && layout->View != TLayoutViewKind::Banded)
    throw Exception("layout " + ARequest.Layout + ": the " + format->Name +
                    " format needs a banded view, and the layout has \"view\": \"table\"");

  // The form a desktop host would hold: data, grid, views.
  TExportForm form(ARequest, layout ? &*layout : nullptr, [&progress](int ACount) { progress.RecordsLoaded(ACount); });
  TcxGrid* grid = form.Grid();
  TMemDataSet* dataSet = form.DataSet();
  progress.Clear();

  // The save prompt gets --output; the overwrite question --yes / --no, or
  // the terminal (which answers No when nobody can be asked).
  std::string target = ApplyExportExtension(ExpandFileName(ARequest.Output), format->Extension);
  TTerminalUIService terminal;
  TScriptedUIService ui(&terminal);
  ui.QueueSave(ARequest.Output);
  if (ARequest.Overwrite == TOverwrite::Yes) ui.QueueAnswer(IDYES);
  if (ARequest.Overwrite == TOverwrite::No) ui.QueueAnswer(IDNO);
  TUIServiceScope uiScope(ui);
  {
    TProgressHooks hooks(progress, dataSet->RecordCount());
    format->Run(*grid, *form.View(), ARequest);
  }
  progress.Clear();

  for (const TUIQuestion& q : ui.Questions()) {
    if (q.Kind == TUIQuestionKind::SaveDialog && q.Answer == IDCANCEL) {
      std::cerr << "kvpublic: nothing written: the save prompt was cancelled\n";
      return ExitNothingWritten;
    }
    if (q.Kind == TUIQuestionKind::MessageBox && q.Answer == IDNO) {
      std::cerr << "kvpublic: nothing written: \"" << target << "\" exists and was kept\n";
      return ExitNothingWritten;
    }
  }
  if (!FileExists(target)) throw Exception("nothing was written to \"" + target + "\"");
  std::cout << "kvpublic: wrote " << target << " (" << dataSet->RecordCount() << " records)\n";
  return ExitWritten;
}

}  // namespace kv::app
