// The process-wide list of provider classes.
#include "export/core/ExportRegistry.h"

#include "export/core/ExportEngine.h"
#include "export/core/ExportMessages.h"

namespace kv {

namespace {

std::vector<TcxExportProviderClass>& Registry() {
  static std::vector<TcxExportProviderClass> registry;
  return registry;
}

}  // namespace

bool TcxExport::RegisterProvider(const TcxExportProviderClass& AClass) {
  if (!AClass.Assigned()) return false;
  for (const TcxExportProviderClass& c : Registry()) {
    if (c.ExportKind() == AClass.ExportKind()) return false;
    if (c.Type == AClass.Type && c.Type != std::type_index(typeid(void))) return false;
  }
  Registry().push_back(AClass);
  return true;
}

TcxExportProviderClass TcxExport::FindProviderClass(int AExportKind) {
  for (const TcxExportProviderClass& c : Registry()) {
    if (c.ExportKind() == AExportKind) return c;
  }
  RaiseExportError(scxUnsupportedExport, AExportKind);
}

std::shared_ptr<TcxCustomExportProvider> TcxExport::CreateProvider(int AExportKind, const std::string& AFileName) {
  EnsureExportEngine();
  TcxExportProviderClass c = FindProviderClass(AExportKind);
  return c.Construct(AFileName);
}

std::vector<TcxExportProviderClass> TcxExport::RegisteredProviders() { return Registry(); }

void TcxExport::UnregisterAll() { Registry().clear(); }

}  // namespace kv
