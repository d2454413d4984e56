// Message lookup and the raising of the engine's errors.
#include "export/core/ExportMessages.h"

#include <algorithm>
#include <utility>

namespace kv {

namespace {

TcxExportMessageLookup& CurrentLookup() {
  static TcxExportMessageLookup lookup;
  return lookup;
}

}  // namespace

std::string DefaultExportMessageLookup(const TcxResourceString& AResource) { return AResource.Text; }

void SetExportMessageLookup(TcxExportMessageLookup ALookup) { CurrentLookup() = std::move(ALookup); }

std::string cxGetResourceString(const TcxResourceString& AResource) {
  const TcxExportMessageLookup& lookup = CurrentLookup();
  return lookup ? lookup(AResource) : DefaultExportMessageLookup(AResource);
}

std::string FormatExportMessage(const std::string& AText, long long AValue) {
  size_t a = AText.find("%1"), b = AText.find("%d");
  size_t at = std::min(a, b);
  if (at == std::string::npos) return AText;
  return AText.substr(0, at) + std::to_string(AValue) + AText.substr(at + 2);
}

void RaiseExportError(const TcxResourceString& AResource) { throw EcxExportData(cxGetResourceString(AResource)); }

void RaiseExportError(const TcxResourceString& AResource, long long AValue) {
  throw EcxExportData(FormatExportMessage(cxGetResourceString(AResource), AValue));
}

}  // namespace kv
