// The XML writer: the cell rectangle as an XML document with an XSL
// stylesheet beside it.
//
// `TcxXMLExportProvider` (export kind 3) writes the document (CACHE with
// TITLE, STYLES and LINES) at the target name and the stylesheet at the same
// name with the extension ".xsl"; the document names the stylesheet by its
// full path in an xml-stylesheet processing instruction, so that a browser
// shows it as a table.  Every cell without a text shows a dot; before
// anything is written, the dots pass gives each such cell a style whose font
// colour is its background colour, so that the dots do not show.  Texts with
// characters outside a small safe set are written wholly as numeric
// character references.  Pictures are written as files as by the HTML
// writer.  A cell holding the content of another provider (a nested detail
// view) gets that provider's LINES element.
//
// The document is written in the system code page and declares it
// (encoding="GBK" for code page 936).  Characters that XML 1.0 does not allow
// (control characters other than tab, line feed and carriage return, U+FFFE,
// U+FFFF, unpaired surrogates) are written as "?", and a character outside
// the Basic Multilingual Plane as one reference to its code point, so that
// the document stays well-formed whatever the cells hold.
#pragma once

#include <string>
#include <string_view>

#include "export/core/ExportProvider.h"
#include "writers/text/HtmlXmlTxtProvider.h"

namespace kv {

class TcxCodePageOutput;

class TcxXMLExportProvider : public TcxCustomExportProviderSupportedCellInternalChache {
 public:
  using TcxCustomExportProviderSupportedCellInternalChache::TcxCustomExportProviderSupportedCellInternalChache;

  static int ExportKind() { return cxExportToXml; }

  // Writes the STYLES element: one STYLE per registered style, after giving
  // the empty cells their reduced style.
  void OutputStyles(TStream& AStream) override;
  // The first call runs only the dots pass (of this provider and of every
  // nested one) and writes nothing; later calls write the LINES element.
  void OutputCells(TStream& AStream) override;

  // True until the first OutputCells call.
  bool DotsPending() const { return FDotsPending; }
  // Full path of the stylesheet; set by Finish.
  const std::u16string& StylesheetName() const { return FStylesheetName; }

  // The attributes of a STYLE element after its Id (from "AlignText" on).
  static std::string StyleAttributes(const TcxExportCellStyle& AStyle);
  // The four border elements of a STYLE element.
  static std::string BorderElements(const TcxExportCellStyle& AStyle);

 protected:
  // Creates (or truncates) the document, then the stylesheet, and writes
  // both; stream errors (EFCreateError, EWriteError) pass through.
  void DoFinish() override;

 private:
  // The dots pass: every cell whose text is "." gets a style whose font
  // colour is its background colour; nested providers run their own.
  void DotsPass();
  // Whether the cell's text (as the document shows it) is exactly ".".
  bool ShowsDot(int ACol, int ARow) const;
  // Appends the CELL element of column ACol, row ARow (covered cells
  // append nothing); writes pending text and the nested LINES when the cell
  // holds nested content.
  void OutputCell(int ACol, int ARow, const std::string& AFolder, TcxCodePageOutput& AOut);

  bool FDotsPending = true;
  std::u16string FStylesheetName;
  std::string FCellText;  // scratch text of the cell being written
};

// Appends to AOut the text as the document writes it: unchanged when it
// holds only characters of the strict safe set of HasSpecialChars, otherwise
// wholly as numeric character references, one per character, with the
// characters XML 1.0 does not allow written as "?" ("&#63;").
void AppendXmlCharRefs(std::string& AOut, std::string_view AText, int ACharset);
// The same for UTF-16 text, always as references.
void AppendXmlCharRefs(std::string& AOut, std::u16string_view AText);

}  // namespace kv
