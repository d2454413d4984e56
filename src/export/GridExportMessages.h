// Messages and the exception class of the grid export entry points and the
// view exporters.
//
// Like the engine's own messages (export/core/ExportMessages.h) they are
// resources looked up through the engine's message lookup at the moment an
// error is raised, so that a host can translate them.
#pragma once

#include "export/core/ExportMessages.h"

namespace kv {

// Raised by the entry points and the exporters; derives from the same base as
// EcxExportData.
KV_DECLARE_EXCEPTION(EcxGridExport, Exception);

inline constexpr TcxResourceString scxNotExistGridView{"scxNotExistGridView", "表格视图不存在"};
inline constexpr TcxResourceString scxCantCreateExportOutputFile{"scxCantCreateExportOutputFile", "不能创建导出文件"};

// Raises EcxGridExport with the current text of a resource.
[[noreturn]] void RaiseGridExportError(const TcxResourceString& AResource);

}  // namespace kv
