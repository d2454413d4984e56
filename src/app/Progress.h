// Progress of a long export on stderr.
//
// When stderr is a terminal, one line shows how far the command is, redrawn
// at most ten times a second and erased at the end:
//   kvpublic: loading: 24576 records read
//   kvpublic: laying out record 12000 of 65000 (18%)
//   kvpublic: writing cells: 409600 written
//   kvpublic: writing the file
//   kvpublic: exporting record 1200 of 3000 (40%)       (dBASE tables)
// When stderr is not a terminal (a script, a pipe, a log) nothing is written.
// The decision and the stream are given to the constructor, so the text can
// be checked without a terminal.
#pragma once

#include <chrono>
#include <functional>
#include <iosfwd>
#include <string>

#include "export/GridCustomExport.h"

namespace kv::app {

class TProgress {
 public:
  // AOut: where the line goes; AEnabled: whether anything is written at all;
  // AInterval: the least time between two redraws (the last state of a phase
  // is drawn whatever the time).
  TProgress(std::ostream& AOut, bool AEnabled, std::chrono::milliseconds AInterval = std::chrono::milliseconds(100));
  // Erases the line.
  ~TProgress();
  TProgress(const TProgress&) = delete;
  TProgress& operator=(const TProgress&) = delete;

  // Whether the process's stderr is a terminal.
  static bool StderrIsTerminal();

  void RecordsLoaded(int ACount);
  void RecordsLaidOut(int ACount, int ATotal);
  void CellsWritten(int ACount);
  void WritingFile();
  void RecordsExported(int ACount, int ATotal);
  // What the export engine's progress observer gets.
  void ExportPhase(TcxExportPhase APhase, int ACount, int ATotal);
  // Erases the line (it comes back with the next report).
  void Clear();

 private:
  void Show(const std::string& AText, bool AForce);

  std::ostream& FOut;
  bool FEnabled;
  std::chrono::milliseconds FInterval;
  bool FShown = false;
  std::chrono::steady_clock::time_point FLastDraw;
};

// Connects a TProgress to the library while it lives: the export engine's
// progress observer, and the application's ProcessMessages, which the dBASE
// export calls after every row (ARowTotal rows in all).  The hooks before it
// are put back at the end.
class TProgressHooks {
 public:
  TProgressHooks(TProgress& AProgress, int ARowTotal);
  ~TProgressHooks();
  TProgressHooks(const TProgressHooks&) = delete;
  TProgressHooks& operator=(const TProgressHooks&) = delete;

  // Rows the dBASE export has reported so far.
  int Rows() const { return FRows; }

 private:
  TProgress& FProgress;
  int FRowTotal;
  int FRows = 0;
  std::function<void()> FPreviousHook;
  TcxExportProgressObserver FPreviousObserver;
};

}  // namespace kv::app
