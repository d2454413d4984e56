// Writes a text file through the text writer, for the reader tests.
//
//   gen_txt_files CELLS OUT [SEPARATOR PREFIX SUFFIX]
//
// CELLS is a UTF-8 file with one line per row and the cells of a row
// separated by tabs.  Cells of even columns are put as 8-bit text, cells of
// odd columns as UTF-16 text; empty cells are left without a value.  The
// provider is created through the engine's registry by export kind 4, and
// the format texts, when given, are passed in their order.
#include <cstdio>
#include <exception>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "export/core/Export.h"
#include "platform/CodePage.h"
#include "platform/Streams.h"
#include "writers/text/TXTExportProvider.h"

int main(int argc, char** argv) {
  if (argc != 3 && argc != 6) {
    std::fprintf(stderr, "usage: gen_txt_files CELLS OUT [SEPARATOR PREFIX SUFFIX]\n");
    return 2;
  }
  try {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(kv::ReadFileBytes(argv[1]));
    std::string line;
    size_t columns = 1;
    while (std::getline(lines, line)) {
      std::vector<std::string> cells;
      size_t start = 0;
      for (;;) {
        size_t tab = line.find('\t', start);
        cells.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) break;
        start = tab + 1;
      }
      columns = std::max(columns, cells.size());
      rows.push_back(std::move(cells));
    }
    if (rows.empty()) rows.emplace_back();

    auto created = kv::TcxExport::CreateProvider(kv::cxExportToText, argv[2]);
    auto provider = std::dynamic_pointer_cast<kv::IcxExportProvider>(created);
    auto format = std::dynamic_pointer_cast<kv::IcxTextFormat>(created);
    if (argc == 6)
      for (int i = 3; i < 6; ++i) format->PutFormatText(argv[i]);
    provider->DefineGrid(static_cast<int>(columns), static_cast<int>(rows.size()), true);
    for (size_t r = 0; r < rows.size(); ++r)
      for (size_t c = 0; c < rows[r].size(); ++c) {
        const std::string& text = rows[r][c];
        if (text.empty()) continue;
        if (c % 2 == 0)
          provider->PutText(static_cast<int>(c), static_cast<int>(r), text);
        else
          provider->PutWideText(static_cast<int>(c), static_cast<int>(r), kv::Utf8ToUtf16(text));
      }
    provider->Finish();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "gen_txt_files: %s\n", e.what());
    return 1;
  }
  return 0;
}
