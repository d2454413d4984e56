// Helpers shared by the UI service implementations.
#include "platform/UIService.h"

namespace kv {

int DefaultMessageBoxAnswer(int AFlags) {
  switch (AFlags & 0x0F) {
    case MB_YESNO:
      return IDNO;
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
    case MB_RETRYCANCEL:
      return IDCANCEL;
    case MB_ABORTRETRYIGNORE:
      return IDABORT;
    default:
      return IDOK;
  }
}

std::string FilterDescription(const std::string& AFilter) {
  std::string out;
  size_t start = 0;
  for (int part = 0; start <= AFilter.size(); ++part) {
    size_t bar = AFilter.find('|', start);
    std::string piece = AFilter.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
    if (part % 2 == 0 && !piece.empty()) out += (out.empty() ? "" : ", ") + piece;
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  return out;
}

}  // namespace kv
