// Errors of the workbook writer.
#include "writers/xls/XLSErrors.h"

#include <string>

#include "writers/xls/CoreInterim.h"

namespace kv::xls {

void RaiseWorkbookWrite() { throw EcxExportData("写MS Excel文件 (*.xls)出错"); }
void RaiseInvalidCellDimension() { throw EcxExportData("无效的单元维度"); }
void RaiseGridCut(int64_t ARows, int64_t ACols) {
  throw EcxExportData("超出MS Excel工作表的范围, " + std::to_string(ARows) + " 行和 " + std::to_string(ACols) +
                      " 列未导出");
}

}  // namespace kv::xls
