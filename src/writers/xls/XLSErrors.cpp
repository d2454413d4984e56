// Errors of the workbook writer.
#include "writers/xls/XLSErrors.h"

#include "platform/Exceptions.h"

namespace kv::xls {

void RaiseWorkbookWrite() { throw Exception("写MS Excel文件 (*.xls)出错"); }

}  // namespace kv::xls
