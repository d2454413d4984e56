// The entry points of the grid export engine: export a grid's view to an
// Excel workbook, an HTML page, an XML document or a text file.
//
// Each entry point calls `SaveGridAs` with its export kind.  `SaveGridAs`
// picks the exporter class for the grid's view (`ExporterClassFor`), creates
// the exporter on a provider of the export kind, runs it under the grid's
// update lock and frees it, also when the export fails.  Errors reach the
// caller unchanged (EcxGridExport, EcxExportData, stream errors...).
#pragma once

#include <string>

#include "export/GridCustomExport.h"

namespace kv {

class TcxGrid;
class TcxCustomGridView;

// The exporter class for a view: table views (banded ones included until
// their own exporter exists) get TcxGridTableViewExport.  Any other view,
// or none, raises EcxGridExport with scxNotExistGridView ("表格视图不存在").
TcxGridExportClass ExporterClassFor(TcxCustomGridView* AView);

// Exports the view of the grid's active level.
//   - Nothing happens for a nil grid or a grid without an active level.
//   - A non-empty AFileExt replaces the file name's extension ("." + AFileExt).
//   - The exporter class is chosen by the grid's focused view; when the
//     active level's view is of another kind, the class of that view is used
//     instead (an exporter only ever runs on the kind of view it is for).
//   - The text provider gets ASeparator, ABeginString and AEndString.
void SaveGridAs(const std::string& AFileName, int AExportKind, TcxGrid* AGrid, bool AExpand, bool ASaveAll,
                bool AUseNativeFormat, const std::string& ASeparator, const std::string& ABeginString,
                const std::string& AEndString, const std::string& AFileExt);

void SaveGridAsXLS(const std::string& AFileName, TcxGrid* AGrid, bool AExpand, bool ASaveAll, bool AUseNativeFormat,
                   const std::string& AFileExt);
void SaveGridAsHTML(const std::string& AFileName, TcxGrid* AGrid, bool AExpand, bool ASaveAll,
                    const std::string& AFileExt);
void SaveGridAsXML(const std::string& AFileName, TcxGrid* AGrid, bool AExpand, bool ASaveAll,
                   const std::string& AFileExt);
void SaveGridAsText(const std::string& AFileName, TcxGrid* AGrid, bool AExpand, bool ASaveAll,
                    const std::string& ASeparator, const std::string& ABeginString, const std::string& AEndString,
                    const std::string& AFileExt);

}  // namespace kv
