// The HTML writer: the cell rectangle as one HTML 4.0 page.
//
// `TcxHTMLExportProvider` (export kind 2) writes a style sheet with one rule
// per registered cell style (".StyleN") and one table whose rows and cells
// follow the rectangle: a first row of empty cells gives the column widths,
// merged areas become COLSPAN / ROWSPAN cells, covered cells are left out,
// and a cell without content shows "&nbsp".  Texts are escaped for HTML and
// their line breaks become "<BR>".  Pictures are written as files in a
// folder named like the page with the extension ".images", and the cells
// refer to them by their path relative to the page.  A cell holding the
// content of another provider (a nested detail view) gets that provider's
// own complete table.
//
// The page is written in the system code page and says so in its META
// content type ("text/html; charset=GBK" for code page 936); the title, the
// page's full path, is escaped like cell text.
#pragma once

#include <string>

#include "export/core/ExportProvider.h"
#include "writers/text/HtmlXmlTxtProvider.h"

namespace kv {

class TcxCodePageOutput;

class TcxHTMLExportProvider : public TcxCustomExportProviderSupportedCellInternalChache {
 public:
  using TcxCustomExportProviderSupportedCellInternalChache::TcxCustomExportProviderSupportedCellInternalChache;

  static int ExportKind() { return cxExportToHtml; }

  // Writes one ".StyleN {...}" rule per registered style, after giving the
  // empty cells of this provider and of every nested one their reduced style
  // (so that every class the cells name has its rule).
  void OutputStyles(TStream& AStream) override;
  // Writes the table (width row, then one TR per row) into AStream; picture
  // files are written as their cells are reached.
  void OutputCells(TStream& AStream) override;

  // The style text of a rule, between "{" and "}".
  static std::string StyleText(const TcxExportCellStyle& AStyle);
  // The head of the page, up to and including the opening of the STYLE
  // element; ACharsetName is the name of the code page the page is written in.
  static std::string PageHead(const std::string& ATitle, const std::string& ACharsetName);

 protected:
  // Creates (or truncates) the page and writes it; stream errors
  // (EFCreateError, EWriteError) pass through.
  void DoFinish() override;

 private:
  // Appends the cell of column ACol, row ARow (covered cells append
  // nothing); writes pending text and the nested table when the cell holds
  // nested content.
  void OutputCell(int ACol, int ARow, const std::string& AFolder, TcxCodePageOutput& AOut);
  // PrepareEmptyCells here and in every nested provider, recursively.
  void PrepareEmptyCellsWithNested();

  std::string FCellText;  // scratch text of the cell being written
};

}  // namespace kv
