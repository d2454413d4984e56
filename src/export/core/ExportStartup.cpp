// The writers' provider registrations, in their documented order (Excel;
// then HTML, text, XML).  EnsureExportEngine runs them once at start-up,
// before it initialises the engine.
//
// Each writer defines one registration function in its own folder, which
// registers its provider classes with TcxExport::RegisterProvider.  It hooks
// in by declaring that function below and listing it in ProviderUnits, on the
// line prepared for it.  Calling the functions from here, rather than from
// static initialisers, fixes the order whatever order the files are linked
// and initialised in.
#include "export/core/ExportEngine.h"

namespace kv {

// Registration functions of the writers (defined in src/writers).
//
// Excel workbook writer, kind 1:
void RegisterXLSExportProvider();
//
// Text-family writers, HTML 2, text 4, XML 3 (in that order):
void RegisterHtmlXmlTxtExportProviders();
//

namespace {

using TProviderUnit = void (*)();

// The registration functions in the order they run.  A writer that lands
// replaces the comment line prepared for it with its function's name.
const TProviderUnit kProviderUnits[] = {
    // Placeholder, so that the list is never empty:
    nullptr,
    // Excel workbook writer:
    RegisterXLSExportProvider,
    // Text-family writers:
    RegisterHtmlXmlTxtExportProviders,
};

}  // namespace

void RegisterExportProviderUnits() {
  for (TProviderUnit unit : kProviderUnits) {
    if (unit) unit();
  }
}

}  // namespace kv
