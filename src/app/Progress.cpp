// Progress line on a terminal's stderr.
#include "app/Progress.h"

#include <unistd.h>

#include <cstdio>

#include "platform/Forms.h"

namespace kv::app {

TProgress::TProgress(int ATotal)
    : FTotal(ATotal), FEnabled(::isatty(STDERR_FILENO) != 0), FPreviousHook(Application->OnProcessMessages) {
  Application->OnProcessMessages = [this] { Tick(); };
}

TProgress::~TProgress() {
  Application->OnProcessMessages = FPreviousHook;
  if (FShown) {
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
  }
}

void TProgress::Tick() {
  ++FRows;
  if (!FEnabled) return;
  auto now = std::chrono::steady_clock::now();
  if (FShown && now - FLastDraw < std::chrono::milliseconds(100) && FRows != FTotal) return;
  FLastDraw = now;
  FShown = true;
  int percent = FTotal > 0 ? static_cast<int>(100LL * FRows / FTotal) : 100;
  std::fprintf(stderr, "\rkvpublic: exporting record %d of %d (%d%%)", FRows, FTotal, percent);
  std::fflush(stderr);
}

}  // namespace kv::app
