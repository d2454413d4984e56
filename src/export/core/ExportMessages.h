// Messages of the export engine and its exception class.
//
// The engine's messages are resources: each has a name and a built-in
// (Simplified Chinese) text.  The text is looked up at the moment an error is
// raised, through a lookup function that a host may replace (InitExportEngine)
// to translate the texts; the default lookup returns the built-in text.
// Placeholders: "%1" or "%d" stand for the one number a message carries.
#pragma once

#include <functional>
#include <string>

#include "platform/Exceptions.h"

namespace kv {

// The engine's exception: raised by the engine and by the providers.
KV_DECLARE_EXCEPTION(EcxExportData, Exception);

// A message resource: its name and its built-in text.
struct TcxResourceString {
  const char* Name;
  const char* Text;
};

// The engine's message resources.
inline constexpr TcxResourceString scxUnsupportedExport{"scxUnsupportedExport", "不支持导出类型: %1"};
inline constexpr TcxResourceString scxStyleManagerKill{"scxStyleManagerKill", "风格管理器当前正在使用中,所以不能释放"};
inline constexpr TcxResourceString scxInvalidCellDimension{"scxInvalidCellDimension", "无效的单元维度"};
inline constexpr TcxResourceString scxWorkbookWrite{"scxWorkbookWrite", "写MS Excel文件 (*.xls)出错"};
inline constexpr TcxResourceString scxIllegalWidth{"scxIllegalWidth", "非法的列宽"};
inline constexpr TcxResourceString scxInvalidColumnRowCount{"scxInvalidColumnRowCount", "无效的行数或列数"};
inline constexpr TcxResourceString scxIllegalHeight{"scxIllegalHeight", "非法的行高"};
inline constexpr TcxResourceString scxInvalidColumnIndex{"scxInvalidColumnIndex", "列标 %d 超出范围"};
inline constexpr TcxResourceString scxInvalidRowIndex{"scxInvalidRowIndex", "行号 %d 超出范围"};
inline constexpr TcxResourceString scxInvalidStyleIndex{"scxInvalidStyleIndex", "无效的样式索引 %d"};

// Returns the current text of a message resource.
using TcxExportMessageLookup = std::function<std::string(const TcxResourceString&)>;

// The built-in text of a resource (the default lookup).
std::string DefaultExportMessageLookup(const TcxResourceString& AResource);

// Installs the message lookup (an empty function selects the default);
// InitExportEngine calls it with the lookup it is given.
void SetExportMessageLookup(TcxExportMessageLookup ALookup);

// The current text of a resource through the lookup given to
// InitExportEngine (the default lookup before that, or when none was given).
std::string cxGetResourceString(const TcxResourceString& AResource);

// Replaces the first "%1" or "%d" of AText by the decimal value of AValue.
std::string FormatExportMessage(const std::string& AText, long long AValue);

// Raise EcxExportData with the current text of a resource; the second form
// fills the resource's number placeholder.
[[noreturn]] void RaiseExportError(const TcxResourceString& AResource);
[[noreturn]] void RaiseExportError(const TcxResourceString& AResource, long long AValue);

}  // namespace kv
