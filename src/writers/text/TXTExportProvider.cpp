// The text writer: padded or separated columns, one line per row.
#include "writers/text/TXTExportProvider.h"

#include <algorithm>

#include "platform/CodePage.h"
#include "platform/Streams.h"

namespace kv {

namespace {

// Output is handed to the stream in pieces of about this size.
constexpr size_t kFlushSize = 64 * 1024;

}  // namespace

TcxTXTExportProvider::TcxTXTExportProvider(const std::string& AFileName)
    : TcxCustomExportProviderSupportedCellInternalChache(AFileName) {}

void TcxTXTExportProvider::PutFormatText(const std::string& AText) {
  switch (FFormatTextCount) {
    case 0:
      FCellSeparator = AText;
      break;
    case 1:
      FCellPrefix = AText;
      break;
    case 2:
      FCellSuffix = AText;
      break;
    default:
      break;
  }
  ++FFormatTextCount;
}

void TcxTXTExportProvider::DoFinish() {
  TFileStream file(TargetFileName(), fmCreate);
  OutputCells(file);
}

void TcxTXTExportProvider::AppendCellText(int ACol, int ARow, int ACodePage, std::string& AOut) const {
  if (CellContent(ACol, ARow)) return;  // a nested detail table is written as empty
  const size_t start = AOut.size();
  AppendCellValueText(ACol, ARow, AOut);
  const std::string_view text = std::string_view(AOut).substr(start);
  if (ACodePage != CP_UTF8 && !IsSevenBit(text)) {
    std::string encoded = EncodeText(text, ACodePage);
    AOut.resize(start);
    AOut += encoded;
  }
}

size_t TcxTXTExportProvider::CellTextLength(int ACol, int ARow, int ACodePage) const {
  const TcxCacheItem& item = Cell(ACol, ARow);
  if (item.ValueKind == vkText && (ACodePage == CP_UTF8 || IsSevenBit(item.Buffer.View())) && !CellContent(ACol, ARow))
    return item.Buffer.Size();
  thread_local std::string scratch;
  scratch.clear();
  AppendCellText(ACol, ARow, ACodePage, scratch);
  return scratch.size();
}

void TcxTXTExportProvider::ComputeTextWidths(int ACodePage) {
  const int cols = ColumnCount(), rows = RowCount();
  FTextWidths.assign(static_cast<size_t>(cols), 0);
  for (int col = 0; col < cols; ++col) {
    int32_t width = FTextWidths[static_cast<size_t>(col)];  // raised by merged cells to the left
    for (int row = 0; row < rows; ++row) {
      const TcxCacheItem& item = Cell(col, row);
      int32_t length = static_cast<int32_t>(CellTextLength(col, row, ACodePage));
      if (item.Merged) {
        int32_t share = length / item.MergeColumns;
        for (int k = 1; k < item.MergeColumns; ++k) {
          int32_t& other = FTextWidths[static_cast<size_t>(col + k)];
          other = std::max(other, share);
        }
        width = std::max(width, share);
      } else {
        width = std::max(width, length);
      }
    }
    FTextWidths[static_cast<size_t>(col)] = width;
  }
}

void TcxTXTExportProvider::OutputCells(TStream& AStream) {
  const int codePage = SystemCodePage();
  const std::string prefix = EncodeText(FCellPrefix, codePage);
  const std::string suffix = EncodeText(FCellSuffix, codePage);
  const std::string separator = EncodeText(FCellSeparator, codePage);
  const bool padded = separator.empty();
  const int cols = ColumnCount(), rows = RowCount();

  ComputeTextWidths(codePage);
  std::string out;
  out.reserve(kFlushSize * 2);
  for (int row = 0; row < rows; ++row) {
    for (int col = 0; col < cols; ++col) {
      out += prefix;
      size_t start = out.size();
      AppendCellText(col, row, codePage, out);
      size_t length = out.size() - start;
      out += suffix;
      if (col + 1 < cols) out += separator;
      if (padded) {
        size_t width = static_cast<size_t>(FTextWidths[static_cast<size_t>(col)]);
        out.append(2 + (width > length ? width - length : 0), ' ');
      }
    }
    out += "\r\n";
    if (out.size() >= kFlushSize) {
      AStream.WriteBuffer(out.data(), out.size());
      out.clear();
    }
  }
  AStream.WriteBuffer(out.data(), out.size());
  FTextWidths.clear();
  FTextWidths.shrink_to_fit();
}

}  // namespace kv
