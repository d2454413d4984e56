// Running `kvpublic export`: loading the data, building the form with its
// grid and view, answering the library's questions, and calling the
// library's own entry point for the chosen format.
#pragma once

#include <string>

#include "app/CommandLine.h"

namespace kv {
class TcxGrid;
class TcxGridTableView;
}  // namespace kv

namespace kv::app {

// An export format of the command line: its name, the extension the library
// gives its files, and what runs it: an exported function of the library
// (dbf, xls) or the prompt and entry point the library's menu command of that
// format uses (txt, html, xml).  Each asks for the target through the
// library's save prompt, fixes the extension and asks before replacing a file.
struct TExportFormat {
  const char* Name;
  const char* Extension;
  void (*Run)(TcxGrid& AGrid, TcxGridTableView& AView, const TExportRequest& ARequest);
  // The view must be a data-bound banded table view (the dBASE export).
  bool NeedsBandedView = false;
};

// The format of that name (compared without case of A to Z); nullptr if none.
const TExportFormat* FindExportFormat(const std::string& AName);
// The names of the formats, comma-separated.
std::string SupportedFormats();

// Runs an export and returns the exit code (ExitWritten or ExitNothingWritten);
// errors are raised.  On success one line naming the file goes to stdout; when
// nothing is written, the reason goes to stderr.
int RunExport(const TExportRequest& ARequest);

}  // namespace kv::app
