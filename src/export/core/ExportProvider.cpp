// The common provider base: target name and the destruction hook.
#include "export/core/ExportProvider.h"

#include "export/core/ExportHelpers.h"

namespace kv {

TcxCustomExportProvider::TcxCustomExportProvider(const std::string& AFileName)
    : FTargetName(NormalizeExportPath(AFileName)) {}

void TcxCustomExportProvider::Destroy(TcxCustomExportProvider* AProvider) {
  AProvider->DoBeforeDestroy();
  delete AProvider;
}

}  // namespace kv
