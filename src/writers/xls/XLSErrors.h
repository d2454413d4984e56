// The errors the workbook writer raises: EcxExportData with the engine's
// message resources, and the writer's own resource for a grid that did not
// fit the worksheet.
#pragma once

#include <cstdint>

#include "export/core/ExportMessages.h"

namespace kv::xls {

// "%1" is the number of rows, "%2" the number of columns left out.
inline constexpr TcxResourceString scxWorkbookGridCut{"scxWorkbookGridCut",
                                                      "超出MS Excel工作表的范围, 有 %1 行和 %2 列未导出"};

// scxWorkbookWrite: the container was asked for an impossible stream, or the
// stream came out other than computed.
[[noreturn]] void RaiseWorkbookWrite();
// scxInvalidCellDimension: a cell operation before the grid was defined.
[[noreturn]] void RaiseInvalidCellDimension();
// scxWorkbookGridCut: ARows rows and ACols columns did not fit the worksheet.
[[noreturn]] void RaiseGridCut(int64_t ARows, int64_t ACols);

}  // namespace kv::xls
