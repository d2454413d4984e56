// The exported function ConvertToDBF: target prompt, overwrite question, then
// the grid-to-DBF export of the view the host handed over.
#include "dbf/ViewToDbf.h"
#include "gridpack/DBBandedTableView.h"
#include "library/ExportPrompt.h"
#include "library/Exports.h"
#include "platform/Files.h"

using namespace kv;

extern "C" KV_EXPORT void KV_STDCALL ConvertToDBF(void* AViewVariable) {
  // A missing variable or an empty one has nothing to export.
  if (!AViewVariable) return;
  TcxGridDBBandedTableView* view = *static_cast<TcxGridDBBandedTableView* const*>(AViewVariable);
  if (!view) return;
  TDataSource* source = view->DataController()->DataSource();
  if (!source || !source->DataSet() || !source->DataSet()->Active()) return;

  std::string fileName;
  if (!PromptExportFile("DBF文件(*.dbf)|*.dbf", fileName)) return;
  fileName = ApplyExportExtension(fileName, ".dbf");
  if (!ConfirmExportOverwrite(fileName)) return;
  // The old table goes first (a memo file of the same name is left alone;
  // the export replaces it when the new table has memo fields).
  DeleteFile(fileName);
  ExportViewToDBF(fileName, view);
}
