// The screen resolution setting.
#include "platform/Screen.h"

#include <atomic>

namespace kv {

namespace {
std::atomic<int> GPixelsPerInch{DefaultPixelsPerInch};
}

int ScreenPixelsPerInch() { return GPixelsPerInch.load(); }

void SetScreenPixelsPerInch(int APixelsPerInch) {
  GPixelsPerInch.store(APixelsPerInch < 1 ? DefaultPixelsPerInch : APixelsPerInch);
}

}  // namespace kv
