// Errors of the workbook writer.
#include "writers/xls/XLSErrors.h"

#include <string>

namespace kv::xls {

void RaiseWorkbookWrite() { RaiseExportError(scxWorkbookWrite); }

void RaiseInvalidCellDimension() { RaiseExportError(scxInvalidCellDimension); }

void RaiseGridCut(int64_t ARows, int64_t ACols) {
  std::string text = cxGetResourceString(scxWorkbookGridCut);
  auto fill = [&](const char* APlaceholder, int64_t AValue) {
    size_t at = text.find(APlaceholder);
    if (at != std::string::npos) text.replace(at, 2, std::to_string(AValue));
  };
  fill("%1", ARows);
  fill("%2", ACols);
  throw EcxExportData(text);
}

}  // namespace kv::xls
