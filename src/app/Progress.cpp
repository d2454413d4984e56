// The progress line and its hooks into the library.
#include "app/Progress.h"

#include <unistd.h>

#include <ostream>

#include "platform/Forms.h"

namespace kv::app {

namespace {

int Percent(int ACount, int ATotal) { return ATotal > 0 ? static_cast<int>(100LL * ACount / ATotal) : 100; }

}  // namespace

TProgress::TProgress(std::ostream& AOut, bool AEnabled, std::chrono::milliseconds AInterval)
    : FOut(AOut), FEnabled(AEnabled), FInterval(AInterval) {}

TProgress::~TProgress() { Clear(); }

bool TProgress::StderrIsTerminal() { return ::isatty(STDERR_FILENO) != 0; }

void TProgress::RecordsLoaded(int ACount) { Show("loading: " + std::to_string(ACount) + " records read", false); }

void TProgress::RecordsLaidOut(int ACount, int ATotal) {
  Show("laying out record " + std::to_string(ACount) + " of " + std::to_string(ATotal) + " (" +
           std::to_string(Percent(ACount, ATotal)) + "%)",
       ACount == ATotal);
}

void TProgress::CellsWritten(int ACount) { Show("writing cells: " + std::to_string(ACount) + " written", false); }

void TProgress::WritingFile() { Show("writing the file", true); }

void TProgress::RecordsExported(int ACount, int ATotal) {
  Show("exporting record " + std::to_string(ACount) + " of " + std::to_string(ATotal) + " (" +
           std::to_string(Percent(ACount, ATotal)) + "%)",
       ACount == ATotal);
}

void TProgress::ExportPhase(TcxExportPhase APhase, int ACount, int ATotal) {
  switch (APhase) {
    case TcxExportPhase::LayOut:
      RecordsLaidOut(ACount, ATotal);
      break;
    case TcxExportPhase::WriteCells:
      CellsWritten(ACount);
      break;
    case TcxExportPhase::Finish:
      WritingFile();
      break;
  }
}

void TProgress::Clear() {
  if (!FShown) return;
  FShown = false;
  FOut << "\r\033[K" << std::flush;
}

void TProgress::Show(const std::string& AText, bool AForce) {
  if (!FEnabled) return;
  auto now = std::chrono::steady_clock::now();
  if (FShown && !AForce && now - FLastDraw < FInterval) return;
  FLastDraw = now;
  FShown = true;
  // Back to the line's start, the text, and the rest of an older, longer line erased.
  FOut << "\rkvpublic: " << AText << "\033[K" << std::flush;
}

TProgressHooks::TProgressHooks(TProgress& AProgress, int ARowTotal)
    : FProgress(AProgress), FRowTotal(ARowTotal), FPreviousHook(Application->OnProcessMessages) {
  Application->OnProcessMessages = [this] { FProgress.RecordsExported(++FRows, FRowTotal); };
  FPreviousObserver = SetExportProgressObserver(
      [this](TcxExportPhase APhase, int ACount, int ATotal) { FProgress.ExportPhase(APhase, ACount, ATotal); });
}

TProgressHooks::~TProgressHooks() {
  SetExportProgressObserver(std::move(FPreviousObserver));
  Application->OnProcessMessages = FPreviousHook;
}

}  // namespace kv::app
