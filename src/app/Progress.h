// Progress of a long export on stderr.
//
// While a `TProgress` lives it hooks the application's ProcessMessages (which
// the exports call after every row) and, when stderr is a terminal, shows
// "exporting record N of M" on one line, redrawn at most ten times a second
// and erased at the end.  When stderr is not a terminal nothing is written.
#pragma once

#include <chrono>
#include <functional>

namespace kv::app {

class TProgress {
 public:
  // ATotal: the number of rows the export will walk.
  explicit TProgress(int ATotal);
  ~TProgress();
  TProgress(const TProgress&) = delete;
  TProgress& operator=(const TProgress&) = delete;

  int Rows() const { return FRows; }

 private:
  void Tick();

  int FTotal;
  int FRows = 0;
  bool FShown = false;
  bool FEnabled;
  std::chrono::steady_clock::time_point FLastDraw;
  std::function<void()> FPreviousHook;
};

}  // namespace kv::app
