// The errors the workbook writer raises, all EcxExportData with the engine's
// message resources.
#pragma once

#include <cstdint>

namespace kv::xls {

// "写MS Excel文件 (*.xls)出错": the container was asked for an impossible
// stream, or the stream came out other than computed.
[[noreturn]] void RaiseWorkbookWrite();
// "无效的单元维度": a cell operation before the grid was defined.
[[noreturn]] void RaiseInvalidCellDimension();
// The grid did not fit the worksheet: ARows rows and ACols columns were left out.
[[noreturn]] void RaiseGridCut(int64_t ARows, int64_t ACols);

}  // namespace kv::xls
