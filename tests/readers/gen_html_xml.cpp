// Writes an HTML page or an XML document through the HTML or XML writer,
// for the reader tests.
//
//   gen_html_xml GRID.json
//
// GRID.json names the target ("target"), the export kind ("kind": 2 HTML,
// 3 XML) and the grid ("grid"):
//   cols, rows, lines (grid lines, default true), widths[], heights[],
//   styles[]: {align, font, charset, size, bold, italic, underline, strike,
//              color [r,g,b], background [r,g,b]} registered in order,
//   cells[]:  {col, row, style (index into styles), merge [rows, cols],
//              and one value: text, wide (UTF-16 text), double, int,
//              picture {width, height, color [r,g,b]}, or nested (a grid)}.
// A nested grid is filled into a second provider of the same kind and
// target, whose cell content the cell then holds.  The provider is created
// through the engine's registry; Finish writes the files.
#include <cstdio>
#include <exception>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "export/core/Export.h"
#include "platform/Bitmap.h"
#include "platform/CodePage.h"
#include "platform/Streams.h"

namespace {

using nlohmann::json;
using namespace kv;

uint32_t Color(const json& AValue) {
  return RGB(AValue.at(0).get<uint8_t>(), AValue.at(1).get<uint8_t>(), AValue.at(2).get<uint8_t>());
}

TcxExportCellStyle MakeStyle(const json& AStyle) {
  TcxExportCellStyle style = DefaultExportStyle();
  style.AlignText = AStyle.value("align", 0);
  style.SetFontName(AStyle.value("font", std::string("Tahoma")));
  style.FontCharset = AStyle.value("charset", 0u);
  style.FontSize = AStyle.value("size", 9);
  style.FontStyle = static_cast<uint8_t>(
      (AStyle.value("bold", false) ? cfsBold : 0) | (AStyle.value("italic", false) ? cfsItalic : 0) |
      (AStyle.value("underline", false) ? cfsUnderline : 0) | (AStyle.value("strike", false) ? cfsStrikeOut : 0));
  if (AStyle.contains("color")) style.FontColor = Color(AStyle["color"]);
  if (AStyle.contains("background")) style.BrushBkColor = Color(AStyle["background"]);
  for (TcxExportCellBorder& border : style.CellBorders) border.Color = RGB(0x80, 0x80, 0x80);
  return style;
}

// Creates a provider of AKind for ATarget and fills it with AGrid.
std::shared_ptr<TcxCustomExportProvider> Fill(int AKind, const std::string& ATarget, const json& AGrid) {
  std::shared_ptr<TcxCustomExportProvider> created = TcxExport::CreateProvider(AKind, ATarget);
  auto provider = std::dynamic_pointer_cast<IcxExportProvider>(created);
  auto cache = std::dynamic_pointer_cast<IcxCellInternalCache>(created);
  const int cols = AGrid.at("cols"), rows = AGrid.at("rows");
  provider->DefineGrid(cols, rows, AGrid.value("lines", true));
  for (int c = 0; c < cols; ++c) provider->DefineColumnWidth(c, AGrid.at("widths").at(c));
  for (int r = 0; r < rows; ++r) provider->DefineRowHeight(r, AGrid.at("heights").at(r));
  std::vector<int> styles;
  for (const json& s : AGrid.value("styles", json::array())) styles.push_back(provider->AddStyle(MakeStyle(s)));
  // Every cell starts on the first style, as a view exporter gives each cell one.
  if (!styles.empty())
    for (int c = 0; c < cols; ++c)
      for (int r = 0; r < rows; ++r) provider->ApplyStyleIndex(c, r, styles[0]);

  for (const json& cell : AGrid.value("cells", json::array())) {
    const int c = cell.at("col"), r = cell.at("row");
    if (cell.contains("style")) provider->ApplyStyleIndex(c, r, styles.at(cell["style"].get<size_t>()));
    if (cell.contains("merge")) provider->MergeCells(c, r, cell["merge"].at(0), cell["merge"].at(1));
    if (cell.contains("text")) provider->PutText(c, r, cell["text"].get<std::string>());
    if (cell.contains("wide")) provider->PutWideText(c, r, Utf8ToUtf16(cell["wide"].get<std::string>()));
    if (cell.contains("double")) provider->PutDouble(c, r, cell["double"].get<double>());
    if (cell.contains("int")) provider->PutInteger(c, r, cell["int"].get<int32_t>());
    if (cell.contains("picture")) {
      const json& p = cell["picture"];
      TBitmap bitmap(p.at("width"), p.at("height"));
      bitmap.Fill(Color(p.at("color")));
      provider->PutGraphic(c, r, bitmap);
    }
    if (cell.contains("nested")) {
      auto nested = std::dynamic_pointer_cast<IcxCellInternalCache>(Fill(AKind, ATarget, cell["nested"]));
      cache->PutCellCache(c, r, nested);
    }
  }
  return created;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gen_html_xml GRID.json\n");
    return 2;
  }
  try {
    const json job = json::parse(ReadFileBytes(argv[1]));
    auto provider =
        std::dynamic_pointer_cast<IcxExportProvider>(Fill(job.at("kind"), job.at("target"), job.at("grid")));
    provider->Finish();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "gen_html_xml: %s\n", e.what());
    return 1;
  }
  return 0;
}
