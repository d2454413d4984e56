// The HTML writer: page head, style rules, the table and its cells.
#include "writers/html/HTMLExportProvider.h"

#include "export/core/ExportHelpers.h"
#include "export/core/ExportStyleManager.h"
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/Streams.h"
#include "platform/SysUtils.h"
#include "writers/text/CodePageOutput.h"
#include "writers/text/HtmlXmlTxtRoutines.h"

namespace kv {

namespace {

// ALIGN values by AlignText (0 left, 1 center, 2 right).
const char* const kAlignValues[] = {"\"LEFT\"", "\"CENTER\"", "\"RIGHT\""};

// Appends LineBreaksToBR(EscapeHtmlText(AText)); text without markup
// characters or line breaks is appended as it is.
void AppendHtmlText(std::string& AOut, std::string_view AText) {
  if (AText.find_first_of("<>&\"\r\n") == std::string_view::npos)
    AOut.append(AText);
  else
    AOut += LineBreaksToBR(EscapeHtmlText(AText));
}

}  // namespace

std::string TcxHTMLExportProvider::PageHead(const std::string& ATitle, const std::string& ACharsetName) {
  std::string head;
  head += "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">";
  head += "\r\n";
  head += "<HTML>\r\n";
  head += "<HEAD>\r\n";
  head += "<TITLE>";
  head += EscapeHtmlText(ATitle);
  head += "</TITLE>\r\n";
  head += "<META http-equiv=\"content-type\" content=\"text/html; charset=";
  head += ACharsetName;
  head += "\">\r\n";
  head += "<STYLE TYPE=\"text/css\"><!--\r\n";
  return head;
}

void TcxHTMLExportProvider::DoFinish() {
  TFileStream file(TargetFileName(), fmCreate);
  {
    TcxCodePageOutput out(file);
    out << PageHead(TargetFileName(), CodePageName(SystemCodePage()));
    out.Flush();
  }
  OutputStyles(file);
  {
    TcxCodePageOutput out(file);
    out << "--></STYLE>\r\n"
        << "</HEAD>\r\n"
        << "<BODY>\r\n";
    out.Flush();
  }
  OutputCells(file);
  TcxCodePageOutput out(file);
  out << "</BODY>\r\n"
      << "</HTML>";
  out.Flush();
}

// --- styles ---

std::string TcxHTMLExportProvider::StyleText(const TcxExportCellStyle& AStyle) {
  static const char* const kWidthNames[] = {
      " border-left-width: ", " border-top-width: ", " border-right-width: ", " border-bottom-width: "};
  static const char* const kColorNames[] = {
      " border-left-color: ", " border-top-color: ", " border-right-color: ", " border-bottom-color: "};
  std::string text = " border-style: solid;";
  text += AStyle.FontSize == 1 ? "padding:0px;" : " padding:3;";
  // A side without a border of its own is written as width 0, black.
  for (int side = 0; side < 4; ++side) {
    const TcxExportCellBorder& border = AStyle.CellBorders[static_cast<size_t>(side)];
    text += kWidthNames[side];
    text += std::to_string(border.IsDefault ? 0 : border.Width);
    text += ';';
  }
  for (int side = 0; side < 4; ++side) {
    const TcxExportCellBorder& border = AStyle.CellBorders[static_cast<size_t>(side)];
    text += kColorNames[side];
    text += CssRgb(border.IsDefault ? 0 : border.Color);
    text += ';';
  }
  text += " font-family: '";
  text += AStyle.FontNameText();
  text += "';";
  text += " mso-font-charset: " + std::to_string(AStyle.FontCharset) + ";";
  if (AStyle.FontStyle & cfsBold) text += " font-weight: bold;";
  if (AStyle.FontStyle & cfsItalic) text += " font-style: italic;";
  if (AStyle.FontStyle & cfsUnderline)
    text += " text-decoration: underline;";
  else if (AStyle.FontStyle & cfsStrikeOut)
    text += " text-decoration: line-through;";
  text += " font-size: " + std::to_string(AStyle.FontSize) + "pt;";
  text += " color: " + CssRgb(AStyle.FontColor) + ";";
  text += " background-color: " + CssRgb(AStyle.BrushBkColor);
  return text;
}

void TcxHTMLExportProvider::PrepareEmptyCellsWithNested() {
  PrepareEmptyCells();
  for (const auto& [cell, content] : FNestedCaches) {
    if (auto* html = dynamic_cast<TcxHTMLExportProvider*>(content.get()))
      html->PrepareEmptyCellsWithNested();
    else if (auto* store = dynamic_cast<TcxCustomHtmlXmlTXTExportProvider*>(content.get()))
      store->PrepareEmptyCells();
  }
}

void TcxHTMLExportProvider::OutputStyles(TStream& AStream) {
  PrepareEmptyCellsWithNested();
  TcxCodePageOutput out(AStream);
  const int count = SharedStyles().StyleCount();
  for (int n = 0; n < count; ++n)
    out << ".Style" << n << " {" << StyleText(*StyleAt(n)) << "}"
        << "\r\n\r\n";
  out.Flush();
}

// --- cells ---

void TcxHTMLExportProvider::OutputCells(TStream& AStream) {
  PrepareEmptyCells();
  const int cols = ColumnCount(), rows = RowCount();
  const std::string folder = ExtractFilePath(TargetFileName());
  TcxCodePageOutput out(AStream);

  int64_t tableWidth = 0;
  for (int col = 0; col < cols; ++col) tableWidth += ColumnWidth(col);
  out << "<TABLE BORDER=\"0\" CELLSPACING=\"0\" WIDTH=\"" << tableWidth << "\">\r\n";
  out << "<TR>\r\n";
  for (int col = 0; col < cols; ++col)
    out << "<TD"
        << " WIDTH=\"" << ColumnWidth(col) << "\""
        << " HEIGHT=\"0\">"
        << "</TD>\r\n";
  out << "</TR>"
      << "\r\n";

  for (int row = 0; row < rows; ++row) {
    out << "<TR>\r\n";
    for (int col = 0; col < cols; ++col) OutputCell(col, row, folder, out);
    out << "</TR>\r\n";
    out.FlushIfFull();
  }
  out << "</TABLE>\r\n";
  out.Flush();
}

void TcxHTMLExportProvider::OutputCell(int ACol, int ARow, const std::string& AFolder, TcxCodePageOutput& AOut) {
  const TcxCacheItem& item = Cell(ACol, ARow);
  if (item.Covered) return;
  const TcxExportCellStyle& style = StyleOf(item.StyleNo);

  AOut << "<TD";
  if (item.Merged) {
    if (item.MergeColumns > 1) AOut << " COLSPAN=" << item.MergeColumns;
    if (item.MergeRows > 1) AOut << " ROWSPAN=" << item.MergeRows;
  }
  if (style.AlignText <= catRight) AOut << " ALIGN=" << kAlignValues[style.AlignText];
  AOut << " CLASS=\"Style" << item.StyleNo << "\"";
  AOut << " HEIGHT=\"" << RowHeight(ARow) << "px\""
       << ">";

  const size_t contentStart = AOut.Text.size();
  if (std::shared_ptr<IcxCellInternalCache> nested = CellContent(ACol, ARow)) {
    // The text so far must reach the stream before the nested table.
    AOut.Flush();
    nested->OutputCells(AOut.Stream());
    AOut << "&nbsp";
  } else if (item.ValueKind == vkGraphic) {
    AOut << SaveImageFile(AFolder, item.Buffer.View(), true);
  } else {
    FCellText.clear();
    if (AppendCellValueText(ACol, ARow, FCellText)) AppendHtmlText(AOut.Text, FCellText);
    if (AOut.Text.size() == contentStart) AOut << "&nbsp";
  }
  AOut << "</TD>\r\n";
}

}  // namespace kv
