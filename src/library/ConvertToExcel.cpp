// The exported function ConvertToExcel: target prompt, overwrite question,
// then the workbook entry point of the grid export engine.
#include "export/GridExport.h"
#include "library/ExportPrompt.h"
#include "library/Exports.h"

using namespace kv;

extern "C" KV_EXPORT void KV_STDCALL ConvertToExcel(void* AGrid) {
  // Nothing about the grid is tested here: the prompt comes first, and the
  // entry point does nothing for a missing grid.
  std::string fileName;
  if (!PromptExportFile("文本文件(*.xls)|*.xls", fileName)) return;
  fileName = ApplyExportExtension(fileName, ".xls");
  // On Yes the writer overwrites the old workbook; it is not deleted first.
  if (!ConfirmExportOverwrite(fileName)) return;
  SaveGridAsXLS(fileName, static_cast<TcxGrid*>(AGrid), true, true, true, ExportFileExt(fileName));
}
