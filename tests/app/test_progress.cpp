// The progress line: its texts on a terminal, silence elsewhere, and the
// hooks that feed it from the loaders and the export engine.
#include <gtest/gtest.h>

#include <sstream>

#include "app/DemoData.h"
#include "app/Progress.h"
#include "export/GridExport.h"
#include "platform/CsvLoader.h"
#include "platform/Forms.h"
#include "platform/SqliteLoader.h"
#include "support/ViewFixture.h"

namespace kv {
namespace {

using app::TProgress;
using app::TProgressHooks;
using testing::TScratchDir;
using testing::TViewForm;

TEST(Progress, DrawsOneLineOnATerminalAndErasesIt) {
  std::ostringstream out;
  {
    TProgress progress(out, true, std::chrono::milliseconds(0));
    progress.RecordsLoaded(1024);
    progress.RecordsLaidOut(5, 20);
    progress.CellsWritten(4096);
    progress.WritingFile();
    progress.RecordsExported(20, 20);
  }
  EXPECT_EQ(out.str(),
            "\rkvpublic: loading: 1024 records read\033[K"
            "\rkvpublic: laying out record 5 of 20 (25%)\033[K"
            "\rkvpublic: writing cells: 4096 written\033[K"
            "\rkvpublic: writing the file\033[K"
            "\rkvpublic: exporting record 20 of 20 (100%)\033[K"
            "\r\033[K");
}

TEST(Progress, SilentWhenNotATerminalAndThrottledOtherwise) {
  std::ostringstream silent;
  {
    TProgress progress(silent, false, std::chrono::milliseconds(0));
    progress.RecordsLoaded(10);
    progress.WritingFile();
    progress.Clear();
  }
  EXPECT_EQ(silent.str(), "");

  // Within the interval only the first report and the end of a phase are drawn.
  std::ostringstream out;
  {
    TProgress progress(out, true, std::chrono::hours(1));
    for (int i = 1; i <= 10; ++i) progress.RecordsLaidOut(i, 10);
  }
  EXPECT_EQ(out.str(),
            "\rkvpublic: laying out record 1 of 10 (10%)\033[K"
            "\rkvpublic: laying out record 10 of 10 (100%)\033[K\r\033[K");
}

TEST(Progress, SqliteLoaderReportsEveryStepAndTheTotal) {
  TScratchDir dir;
  app::CreateDemoDatabase(dir.File("shop.db"), 2500);
  std::vector<int> counts;
  TMemDataSet data;
  LoadSqliteTable(dir.File("shop.db"), "orders", data, [&](int ACount) { counts.push_back(ACount); });
  EXPECT_EQ(counts, (std::vector<int>{1024, 2048, 2500}));
  counts.clear();
  LoadSqliteQuery(dir.File("shop.db"), "select id from orders where id <= 10", data,
                  [&](int ACount) { counts.push_back(ACount); });
  EXPECT_EQ(counts, (std::vector<int>{10}));
}

// A recording stream: every report becomes one entry.
std::vector<std::string> Lines(const std::string& AText) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while ((pos = AText.find("\rkvpublic: ", pos)) != std::string::npos) {
    pos += 11;
    lines.push_back(AText.substr(pos, AText.find('\033', pos) - pos));
  }
  return lines;
}

TEST(Progress, HooksHearTheLoaderAndEveryExportPhase) {
  TScratchDir dir;
  std::string csv = "n,t\n";
  for (int i = 0; i < 2100; ++i) csv += std::to_string(i) + ",row\n";
  TViewForm form;
  std::ostringstream out;
  TProgress progress(out, true, std::chrono::milliseconds(0));
  LoadCsvText(csv, "rows.csv", *form.DataSet, [&](int ACount) { progress.RecordsLoaded(ACount); });
  form.BindAllFields();
  {
    TProgressHooks hooks(progress, form.DataSet->RecordCount());
    SaveGridAsText(dir.File("rows.txt"), form.Grid, true, true, "", "", "", "txt");
  }
  std::vector<std::string> lines = Lines(out.str());
  const std::vector<std::string> expected = {
      "loading: 1024 records read", "loading: 2048 records read", "loading: 2100 records read",
      "laying out record 0 of 2100 (0%)", "laying out record 256 of 2100 (12%)",
      // ... every 256 records ...
      "laying out record 2048 of 2100 (97%)", "laying out record 2100 of 2100 (100%)", "writing cells: 4096 written",
      // the band header, 2 column headers and 2 x 2,100 data cells
      "writing cells: 4203 written", "writing the file"};
  ASSERT_GE(lines.size(), expected.size());
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(lines[i], expected[i]);
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(lines[lines.size() - 5 + i], expected[expected.size() - 5 + i]);
  EXPECT_EQ(lines.size(), 3u + 10u + 2u + 1u);  // loading, layout 0..2048 and end, cells, file

  // The hooks are gone with their scope: another export reports nothing.
  out.str("");
  SaveGridAsText(dir.File("again.txt"), form.Grid, true, true, "", "", "", "txt");
  EXPECT_EQ(out.str(), "");
  EXPECT_FALSE(Application->OnProcessMessages);
}

}  // namespace
}  // namespace kv
