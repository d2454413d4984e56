// The text writer: the cell rectangle as plain text, one line per row.
//
// `TcxTXTExportProvider` (export kind 4) writes every row as one line ended
// by CR LF (the last line too).  Each cell is written as the cell prefix, its
// text and the cell suffix; then, between cells, the separator.  Without a
// separator every cell is padded with two spaces plus as many as its column's
// text width exceeds the cell's text, so that columns line up.  Widths count
// bytes of the text in the system code page, the code page the file is
// written in; the prefix and suffix do not count.  No styles, no pictures:
// a picture cell, a cell holding nested content and a cell without a value
// are written as empty texts.  Cell texts are written as they are (line
// breaks, tabs and separators inside them are not escaped).
//
// The three format texts come through `IcxTextFormat::PutFormatText`: the
// first call gives the separator, the second the prefix, the third the
// suffix; later calls are counted and change nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "export/core/ExportProvider.h"
#include "writers/text/HtmlXmlTxtProvider.h"

namespace kv {

// The text writer's interface for its separator and cell prefix and suffix.
class IcxTextFormat {
 public:
  static constexpr const char* IID = "{0E2919A6-8B49-49D7-B55B-B44B6DECF2E5}";
  virtual ~IcxTextFormat() = default;

  // Call 1 sets the separator, call 2 the cell prefix, call 3 the cell
  // suffix (8-bit texts); every call is counted, later ones change nothing.
  virtual void PutFormatText(const std::string& AText) = 0;
};

class TcxTXTExportProvider : public TcxCustomExportProviderSupportedCellInternalChache, public IcxTextFormat {
 public:
  explicit TcxTXTExportProvider(const std::string& AFileName);

  static int ExportKind() { return cxExportToText; }
  bool AcceptsGraphics() override { return false; }

  // IcxTextFormat.
  void PutFormatText(const std::string& AText) override;

  // Writes every row as one line into AStream (see the top of this file).
  void OutputCells(TStream& AStream) override;

  const std::string& CellSeparator() const { return FCellSeparator; }
  const std::string& CellPrefix() const { return FCellPrefix; }
  const std::string& CellSuffix() const { return FCellSuffix; }
  int FormatTextCount() const { return FFormatTextCount; }

 protected:
  // Creates (or truncates) the target file and writes the lines into it;
  // stream errors (EFCreateError, EWriteError) pass through.
  void DoFinish() override;

 private:
  // Computes FTextWidths: per column the widest cell text, with the text of
  // a cell merged over several columns shared evenly among them.
  void ComputeTextWidths(int ACodePage);
  // Length in bytes of the cell's text in code page ACodePage.
  size_t CellTextLength(int ACol, int ARow, int ACodePage) const;
  // Appends the cell's text in code page ACodePage to AOut.
  void AppendCellText(int ACol, int ARow, int ACodePage, std::string& AOut) const;

  std::string FCellPrefix;
  int FFormatTextCount = 0;
  std::string FCellSuffix;
  std::string FCellSeparator;
  std::vector<int32_t> FTextWidths;  // only while OutputCells runs
};

}  // namespace kv
