// The demo command: the sample database, the layout files and the exports.
#include "app/DemoData.h"

#include <filesystem>
#include <iostream>
#include <set>

#include "app/CommandLine.h"
#include "app/DemoLayouts.h"
#include "app/ExportRun.h"
#include "platform/Exceptions.h"
#include "platform/Files.h"

namespace kv::app {

namespace {

// The number of files directly in a folder (0 when it does not exist).
int FilesIn(const std::string& AFolder) {
  std::error_code ec;
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(AFolder, ec))
    if (entry.is_regular_file()) ++count;
  return count;
}

// One export of the demo, as `kvpublic export` runs it, with a line for each
// file the format writes besides its target.
class TDemoExports {
 public:
  TDemoExports(const std::string& ADir, const std::string& ADatabase) : FDir(ADir), FDatabase(ADatabase) {}

  int Code() const { return FCode; }

  void Run(const std::string& ATable, const std::string& ALayout, const std::string& AFormat,
           const std::string& AName) {
    if (FCode != ExitWritten) return;
    TExportRequest request;
    request.Database = FDatabase;
    request.Table = ATable;
    request.Layout = ALayout.empty() ? "" : FDir + ALayout;
    request.Format = AFormat;
    request.Output = FDir + AName;
    request.Overwrite = TOverwrite::Yes;  // the demo's own files of an earlier run
    FCode = RunExport(request);
    if (FCode != ExitWritten) return;
    std::string base = ChangeFileExt(request.Output, "");
    if (AFormat == "dbf" && FileExists(base + ".dbt")) std::cout << "kvpublic: memo texts in " << base << ".dbt\n";
    if (AFormat == "xml" && FileExists(base + ".xsl")) std::cout << "kvpublic: stylesheet " << base << ".xsl\n";
    // The page and the document of one name share their pictures' folder.
    if ((AFormat == "html" || AFormat == "xml") && DirectoryExists(base + ".images") &&
        FPictureFolders.insert(base).second)
      std::cout << "kvpublic: pictures in " << base << ".images (" << FilesIn(base + ".images") << " files)\n";
  }

 private:
  std::string FDir, FDatabase;
  std::set<std::string> FPictureFolders;  // named on stdout already
  int FCode = ExitWritten;
};

}  // namespace

int RunDemo(const std::string& ADir) {
  std::error_code ec;
  std::filesystem::create_directories(ADir, ec);
  if (ec || !DirectoryExists(ADir)) throw Exception("cannot create the folder \"" + ADir + "\"");
  std::string dir = ExpandFileName(ADir);
  if (dir.back() != PathDelim) dir.push_back(PathDelim);
  std::string database = dir + "shop.db";
  CreateDemoDatabase(database);
  std::cout << "kvpublic: sample database " << database << " (orders " << DemoOrderCount << " rows, order_lines "
            << DemoTableRows(database, "order_lines") << " rows, products " << DemoProductCount
            << " rows with pictures, view recent_orders " << DemoRecentOrderCount << " rows)\n";
  const char* const ordersLayout = "orders.layout.json";
  const char* const linesLayout = "order-lines.layout.json";
  WriteDemoLayout(dir + ordersLayout, DemoOrdersLayout);
  std::cout << "kvpublic: layout " << dir << ordersLayout << "\n";
  WriteDemoLayout(dir + linesLayout, DemoOrderLinesLayout);
  std::cout << "kvpublic: layout " << dir << linesLayout << "\n";

  TDemoExports exports(dir, database);
  exports.Run("orders", "", "dbf", "orders.dbf");
  for (const char* format : {"xls", "txt", "html", "xml"})
    exports.Run("orders", ordersLayout, format, std::string("orders.") + format);
  for (const char* format : {"html", "xml"})
    exports.Run("recent_orders", linesLayout, format, std::string("order-lines.") + format);
  return exports.Code();
}

}  // namespace kv::app
