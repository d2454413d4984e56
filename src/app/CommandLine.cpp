// Parsing and dispatch of the command line.
#include "app/CommandLine.h"

#include <cstdio>
#include <iostream>

#include "app/DemoData.h"
#include "app/ExportRun.h"
#include "platform/Files.h"
#include "platform/Forms.h"

namespace kv::app {

namespace {

// The options of `export` that take a value, and where each goes.
struct TValueOption {
  const char* Name;
  std::string TExportRequest::*Target;
  bool TextFormat = false;  // a text-format option: txt only, may be empty
};

const TValueOption ExportOptions[] = {
    {"--db", &TExportRequest::Database},         {"--table", &TExportRequest::Table},
    {"--query", &TExportRequest::Query},         {"--csv", &TExportRequest::Csv},
    {"--layout", &TExportRequest::Layout},       {"--format", &TExportRequest::Format},
    {"--output", &TExportRequest::Output},       {"--separator", &TExportRequest::Separator, true},
    {"--prefix", &TExportRequest::Prefix, true}, {"--suffix", &TExportRequest::Suffix, true},
};

TExportRequest ParseExport(const std::vector<std::string>& AArgs) {
  TExportRequest request;
  std::vector<std::string> seen;
  std::string textFormatOption;  // the first text-format option given
  for (size_t i = 1; i < AArgs.size(); ++i) {
    std::string arg = AArgs[i];
    std::string value;
    bool inlineValue = false;
    if (arg.rfind("--", 0) == 0) {
      size_t eq = arg.find('=');
      if (eq != std::string::npos) {
        value = arg.substr(eq + 1);
        arg = arg.substr(0, eq);
        inlineValue = true;
      }
    }
    for (const std::string& s : seen)
      if (s == arg) throw EUsageError("option " + arg + " is given twice");
    if (arg == "--yes" || arg == "--no") {
      if (inlineValue) throw EUsageError("option " + arg + " takes no value");
      if (request.Overwrite != TOverwrite::Ask) throw EUsageError("--yes and --no cannot be used together");
      request.Overwrite = arg == "--yes" ? TOverwrite::Yes : TOverwrite::No;
      seen.push_back(arg);
      continue;
    }
    const TValueOption* option = nullptr;
    for (const TValueOption& o : ExportOptions)
      if (arg == o.Name) option = &o;
    if (!option) {
      if (arg.rfind("-", 0) == 0) throw EUsageError("unknown option " + arg);
      throw EUsageError("unexpected argument \"" + arg + "\"");
    }
    if (!inlineValue) {
      if (i + 1 >= AArgs.size()) throw EUsageError("option " + arg + " needs a value");
      value = AArgs[++i];
    }
    if (value.empty() && !option->TextFormat) throw EUsageError("option " + arg + " needs a value");
    if (option->TextFormat && textFormatOption.empty()) textFormatOption = arg;
    request.*(option->Target) = value;
    seen.push_back(arg);
  }

  bool fromDb = !request.Database.empty(), fromCsv = !request.Csv.empty();
  if (fromDb && fromCsv) throw EUsageError("give either --db or --csv, not both");
  if (!fromDb && !fromCsv) throw EUsageError("the data to export is missing: give --db FILE or --csv FILE");
  if (fromDb && request.Table.empty() && request.Query.empty())
    throw EUsageError("--db needs --table NAME or --query SQL");
  if (!request.Table.empty() && !request.Query.empty()) throw EUsageError("give either --table or --query, not both");
  if (fromCsv && (!request.Table.empty() || !request.Query.empty()))
    throw EUsageError("--table and --query go with --db, not with --csv");
  if (request.Format.empty()) throw EUsageError("--format is missing (" + SupportedFormats() + ")");
  if (!FindExportFormat(request.Format))
    throw EUsageError("unknown format \"" + request.Format + "\" (supported: " + SupportedFormats() + ")");
  if (request.Output.empty()) throw EUsageError("--output PATH is missing");
  if (!textFormatOption.empty() && !SameTextAscii(request.Format, "txt"))
    throw EUsageError(textFormatOption + " goes with --format txt only");
  return request;
}

}  // namespace

TCommand ParseCommandLine(const std::vector<std::string>& AArgs) {
  TCommand command;
  if (AArgs.empty()) throw EUsageError("a command is missing");
  const std::string& name = AArgs[0];
  if (name == "--help" || name == "-h" || name == "help") {
    if (AArgs.size() > 1) throw EUsageError("unexpected argument \"" + AArgs[1] + "\"");
    command.Kind = TCommand::ckHelp;
  } else if (name == "export") {
    command.Kind = TCommand::ckExport;
    command.Request = ParseExport(AArgs);
  } else if (name == "demo") {
    command.Kind = TCommand::ckDemo;
    if (AArgs.size() > 2) throw EUsageError("demo takes at most one folder");
    if (AArgs.size() == 2) {
      if (AArgs[1].rfind("-", 0) == 0) throw EUsageError("unknown option " + AArgs[1]);
      command.DemoDir = AArgs[1];
    }
  } else {
    throw EUsageError("unknown command \"" + name + "\"");
  }
  return command;
}

std::string UsageText() {
  return "usage:\n"
         "  kvpublic export (--db FILE (--table NAME | --query SQL) | --csv FILE)\n"
         "                  [--layout FILE.json] --format FORMAT --output PATH [--yes | --no]\n"
         "                  [--separator TEXT] [--prefix TEXT] [--suffix TEXT]   (txt only)\n"
         "  kvpublic demo [DIR]\n"
         "  kvpublic --help\n"
         "\n"
         "formats: " +
         SupportedFormats() +
         "\n"
         "txt: without --separator the cells are padded into columns; --separator, --prefix\n"
         "and --suffix put a text between cells, before and after every cell (may be empty).\n"
         "--yes / --no answer the question whether an existing file is replaced; without\n"
         "them a terminal asks, and a run without a terminal answers No.\n"
         "exit codes: 0 written, 1 error, 2 bad arguments, 3 nothing written (cancelled or declined)\n";
}

int RunCommandLine(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  TCommand command;
  try {
    command = ParseCommandLine(args);
  } catch (const EUsageError& e) {
    std::cerr << "kvpublic: " << e.Message() << "\n\n" << UsageText();
    return ExitBadArguments;
  }
  try {
    switch (command.Kind) {
      case TCommand::ckHelp:
        std::cout << UsageText();
        return ExitWritten;
      case TCommand::ckExport:
        return RunExport(command.Request);
      case TCommand::ckDemo:
        return RunDemo(command.DemoDir);
    }
  } catch (const std::exception& e) {
    // The class library's default error display: the message, ended with a period.
    std::cerr << Application->Title << ": " << TApplication::ExceptionMessage(e) << "\n";
    return ExitError;
  }
  return ExitError;
}

}  // namespace kv::app
