// The errors the workbook writer raises, all EcxExportData with the engine's
// message resources.
#pragma once

namespace kv::xls {

// "写MS Excel文件 (*.xls)出错": the container was asked for an impossible stream.
[[noreturn]] void RaiseWorkbookWrite();

}  // namespace kv::xls
