// The command line of kvpublic: commands, options, exit codes and usage.
//
//   kvpublic export (--db FILE (--table NAME | --query SQL) | --csv FILE)
//                   [--layout FILE.json] --format FORMAT --output PATH [--yes | --no]
//                   [--separator TEXT] [--prefix TEXT] [--suffix TEXT]      (txt only)
//   kvpublic demo [DIR]
//   kvpublic --help
//
// Options take their value as the next argument or after "=" (--db=shop.db).
// Values may not be empty, except those of the three text-format options
// (--separator= gives an empty separator).
// The options and exit codes are a contract that scripts rely on; new formats
// are added to the format table (ExportRun.h) without changing them.
#pragma once

#include <string>
#include <vector>

#include "platform/Exceptions.h"

namespace kv::app {

// Exit codes.
constexpr int ExitWritten = 0;         // the file was written (also: help shown)
constexpr int ExitError = 1;           // an error; its message is on stderr
constexpr int ExitBadArguments = 2;    // the command line is wrong; usage on stderr
constexpr int ExitNothingWritten = 3;  // the user cancelled or declined to replace a file

// A command line that cannot be run.
KV_DECLARE_EXCEPTION(EUsageError, Exception);

// What to do with an existing target file.
enum class TOverwrite { Ask, Yes, No };

struct TExportRequest {
  std::string Database;  // --db
  std::string Table;     // --table
  std::string Query;     // --query
  std::string Csv;       // --csv
  std::string Layout;    // --layout
  std::string Format;    // --format
  std::string Output;    // --output
  // The text format's separator, cell prefix and cell suffix (txt only).
  std::string Separator;  // --separator
  std::string Prefix;     // --prefix
  std::string Suffix;     // --suffix
  TOverwrite Overwrite = TOverwrite::Ask;
};

struct TCommand {
  enum TKind { ckHelp, ckExport, ckDemo } Kind = ckHelp;
  TExportRequest Request;  // of ckExport
  std::string DemoDir = "demo-out";
};

// Parses the arguments after the program name; raises EUsageError.
TCommand ParseCommandLine(const std::vector<std::string>& AArgs);

// The usage text, ending with a line break.
std::string UsageText();

// Runs a whole command line and returns the exit code.
int RunCommandLine(int argc, char** argv);

}  // namespace kv::app
