// The XML writer: document head, styles, lines and cells, the dots pass.
#include "writers/xml/XMLExportProvider.h"

#include "export/core/ExportEngine.h"
#include "export/core/ExportHelpers.h"
#include "export/core/ExportStyleManager.h"
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/Streams.h"
#include "platform/SysUtils.h"
#include "writers/text/CodePageOutput.h"
#include "writers/text/HtmlXmlTxtRoutines.h"
#include "writers/xml/XMLStylesheet.h"

namespace kv {

namespace {

// Align values of a CELL by AlignText (0 left, 1 center, 2 right), with the
// closing quote.
const char* const kCellAlignValues[] = {"left\"", "center\"", "right\""};
// AlignText values of a STYLE.
const char* const kStyleAlignValues[] = {"Left", "Center", "Right"};

// A stream that takes bytes and keeps none: the dots pass of a nested
// provider is started by an OutputCells call that must write nothing.
class TDiscardStream : public TStream {
 public:
  size_t Read(void*, size_t) override { return 0; }
  size_t Write(const void*, size_t ACount) override { return ACount; }
  int64_t Seek(int64_t, TSeekOrigin) override { return 0; }
  int64_t Size() override { return 0; }
};

// Whether XML 1.0 allows the character (surrogates are handled by the caller).
bool XmlAllows(uint32_t ACode) {
  if (ACode < 0x20) return ACode == 0x09 || ACode == 0x0A || ACode == 0x0D;
  return ACode != 0xFFFE && ACode != 0xFFFF;
}

void AppendReference(std::string& AOut, uint32_t ACode) {
  char digits[16];
  auto result = std::to_chars(digits, digits + sizeof digits, ACode);
  AOut += "&#";
  AOut.append(digits, result.ptr);
  AOut += ';';
}

// The title as the document writes it: references when UnicodeRefsEnabled,
// otherwise the text itself with the markup characters escaped and the
// characters XML does not allow made "?".
std::string TitleText(std::u16string_view ATitle) {
  std::string out;
  if (UnicodeRefsEnabled()) {
    AppendXmlCharRefs(out, ATitle);
    return out;
  }
  std::string text = EscapeHtmlText(TitleCharRefs(ATitle));
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 0x20 && !XmlAllows(static_cast<unsigned char>(c))) c = '?';
  return text;
}

}  // namespace

void AppendXmlCharRefs(std::string& AOut, std::u16string_view AText) {
  AOut.reserve(AOut.size() + AText.size() * 8);
  for (size_t i = 0; i < AText.size(); ++i) {
    uint32_t code = AText[i];
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < AText.size() && AText[i + 1] >= 0xDC00 && AText[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (AText[i + 1] - 0xDC00u);
      ++i;
    } else if (code >= 0xD800 && code <= 0xDFFF) {
      code = '?';  // an unpaired surrogate
    }
    AppendReference(AOut, XmlAllows(code) ? code : '?');
  }
}

void AppendXmlCharRefs(std::string& AOut, std::string_view AText, int ACharset) {
  if (!HasSpecialChars(AText, true))
    AOut.append(AText);
  else
    AppendXmlCharRefs(AOut, AnsiToWideText(AText, ACharset));
}

// --- files ---

void TcxXMLExportProvider::DoFinish() {
  TFileStream document(TargetFileName(), fmCreate);
  FStylesheetName = WideChangeFileExt(FTargetName, u".xsl");
  const std::string stylesheetName = WideToAnsiText(FStylesheetName, 0);
  TFileStream stylesheet(stylesheetName, fmCreate);

  {
    TcxCodePageOutput out(document);
    out << "<?xml version=\"1.0\" encoding=\"" << CodePageName(SystemCodePage()) << "\"?>\r\n";
    out << "<?xml-stylesheet type=\"text/xsl\" href=\"" << stylesheetName << "\"?>\r\n";
    out << "<CACHE>\r\n";
    out << "<TITLE>" << TitleText(WideExtractFileName(WideChangeFileExt(FStylesheetName, u""))) << "</TITLE>\r\n";
    out.Flush();
  }
  TDiscardStream none;
  OutputCells(none);  // the dots pass
  OutputStyles(document);
  OutputCells(document);
  TcxCodePageOutput out(document);
  out << "</CACHE>";
  out.Flush();

  stylesheet.WriteString(XMLStylesheetText());
}

// --- styles ---

std::string TcxXMLExportProvider::StyleAttributes(const TcxExportCellStyle& AStyle) {
  auto boolText = [](bool AValue) { return AValue ? "True\"" : "False\""; };
  std::string text = "AlignText=\"";
  if (AStyle.AlignText <= catRight) text += kStyleAlignValues[AStyle.AlignText];
  text += '"';
  text += AStyle.FontSize == 1 ? " CellPadding=\"0px\"" : " CellPadding=\" 3\"";
  text += " FontName=\"";
  AppendXmlCharRefs(text, AStyle.FontNameText(), static_cast<int>(AStyle.FontCharset));
  text += '"';
  text += " FontCharset=\"" + std::to_string(AStyle.FontCharset) + "\"";
  text += " Bold=\"";
  text += boolText(AStyle.FontStyle & cfsBold);
  text += " Italic=\"";
  text += boolText(AStyle.FontStyle & cfsItalic);
  text += " Underline=\"";
  text += boolText(AStyle.FontStyle & cfsUnderline);
  text += " StrikeOut=\"";
  text += boolText(AStyle.FontStyle & cfsStrikeOut);
  text += " FontColor=\"" + CssRgb(AStyle.FontColor) + "\"";
  text += " FontSize=\"" + std::to_string(AStyle.FontSize) + "\"";
  text += " BrushStyle=\"";
  if (AStyle.BrushStyle == cbsClear) text += "Clear";
  if (AStyle.BrushStyle == cbsSolid) text += "Solid";
  text += '"';
  text += " BrushBkColor=\"" + CssRgb(AStyle.BrushBkColor) + "\"";
  text += " BrushFgColor=\"" + CssRgb(AStyle.BrushFgColor) + "\"";
  return text;
}

std::string TcxXMLExportProvider::BorderElements(const TcxExportCellStyle& AStyle) {
  static const char* const kNames[] = {"<BORDER_LEFT", "<BORDER_UP", "<BORDER_RIGHT", "<BORDER_DOWN"};
  std::string text;
  for (int side = 0; side < 4; ++side) {
    const TcxExportCellBorder& border = AStyle.CellBorders[static_cast<size_t>(side)];
    text += kNames[side];
    text += border.IsDefault ? " IsDefault=\"True\"" : " IsDefault=\"False\"";
    text += " Width=\"" + std::to_string(border.Width) + "\"";
    text += " Color=\"" + CssRgb(border.Color) + "\"";
    text += "/>\r\n";
  }
  return text;
}

void TcxXMLExportProvider::OutputStyles(TStream& AStream) {
  PrepareEmptyCells();
  TcxCodePageOutput out(AStream);
  out << "<STYLES>\r\n";
  const int count = SharedStyles().StyleCount();
  for (int n = 0; n < count; ++n) {
    const TcxExportCellStyle& style = *StyleAt(n);
    out << "<STYLE Id=\"" << n << "\" " << StyleAttributes(style) << ">\r\n" << BorderElements(style) << "</STYLE>\r\n";
    out.FlushIfFull();
  }
  out << "</STYLES>\r\n";
  out.Flush();
}

// --- cells ---

bool TcxXMLExportProvider::ShowsDot(int ACol, int ARow) const {
  if (CellContent(ACol, ARow)) return false;
  const TcxCacheItem& item = Cell(ACol, ARow);
  switch (item.ValueKind) {
    case vkGraphic:
      return true;
    case vkText:
      return item.Buffer.Empty() || item.Buffer.View() == ".";
    case vkWideText:
      return item.Buffer.Empty() || item.Buffer.View() == std::string_view(".\0", 2);
    case vkDouble:
      return item.Buffer.Size() != sizeof(double);  // a failed read
    case vkInteger:
      return item.Buffer.Size() != sizeof(int32_t);
    default:
      return true;
  }
}

void TcxXMLExportProvider::DotsPass() {
  PrepareEmptyCells();
  TDiscardStream none;
  for (int row = 0; row < RowCount(); ++row) {
    for (int col = 0; col < ColumnCount(); ++col) {
      if (std::shared_ptr<IcxCellInternalCache> nested = CellContent(col, row)) {
        nested->OutputCells(none);
      } else if (ShowsDot(col, row)) {
        TcxExportCellStyle style = StyleOf(Cell(col, row).StyleNo);
        style.FontColor = style.BrushBkColor;
        ApplyStyle(col, row, style);
      }
    }
  }
  FDotsPending = false;
}

void TcxXMLExportProvider::OutputCells(TStream& AStream) {
  if (FDotsPending) {
    DotsPass();
    return;
  }
  PrepareEmptyCells();
  const int cols = ColumnCount(), rows = RowCount();
  const std::string folder = ExtractFilePath(TargetFileName());
  TcxCodePageOutput out(AStream);

  out << "<LINES ColCount=\"" << cols << "\" RowCount=\"" << rows << "\">\r\n";
  out << "<LINE>\r\n";
  for (int col = 0; col < cols; ++col)
    out << "<CELL Width=\"" << ColumnWidth(col) << "\""
        << " Height=\"0\""
        << ">\r\n"
        << "</CELL>\r\n";
  out << "</LINE>\r\n";
  for (int row = 0; row < rows; ++row) {
    out << "<LINE>\r\n";
    for (int col = 0; col < cols; ++col) OutputCell(col, row, folder, out);
    out << "</LINE>";
    out.FlushIfFull();
  }
  out << "</LINES>";
  out.Flush();
}

void TcxXMLExportProvider::OutputCell(int ACol, int ARow, const std::string& AFolder, TcxCodePageOutput& AOut) {
  const TcxCacheItem& item = Cell(ACol, ARow);
  if (item.Covered) return;
  const TcxExportCellStyle& style = StyleOf(item.StyleNo);

  AOut << "<CELL";
  const int width = SpanWidth(ACol, ARow);
  if (width > 0) AOut << " Width=\"" << width << "\"";
  AOut << " Align=\"";
  AOut << (style.AlignText <= catRight ? kCellAlignValues[style.AlignText] : "\"");
  if (item.Merged) {
    if (item.MergeColumns > 1) AOut << " ColSpan=\"" << item.MergeColumns << "\"";
    if (item.MergeRows > 1) AOut << " RowSpan=\"" << item.MergeRows << "\"";
  }
  AOut << " StyleClass=\"" << item.StyleNo << "\""
       << ">";

  if (item.ValueKind == vkGraphic) {
    std::string path = SaveImageFile(AFolder, item.Buffer.View(), false);
    AOut << "<IMAGE Src=\"" << EscapeHtmlText(path) << "\"></IMAGE>";
  }
  if (std::shared_ptr<IcxCellInternalCache> nested = CellContent(ACol, ARow)) {
    // The text so far must reach the stream before the nested LINES.
    AOut.Flush();
    nested->OutputCells(AOut.Stream());
  } else if (ShowsDot(ACol, ARow)) {
    AOut << '.';
  } else {
    FCellText.clear();
    AppendCellValueText(ACol, ARow, FCellText);
    AppendXmlCharRefs(AOut.Text, FCellText, static_cast<int>(style.FontCharset));
  }
  AOut << "</CELL>\r\n";
}

}  // namespace kv
