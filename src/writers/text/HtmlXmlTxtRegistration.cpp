// Registration of the text-family writers with the export engine.
#include "export/core/ExportRegistry.h"
#include "writers/text/TXTExportProvider.h"

namespace kv {

// Registers the text-family providers in their fixed order, HTML (kind 2),
// text (kind 4), XML (kind 3), of which the text writer exists so far.
// Called once by the engine's start-up.
void RegisterHtmlXmlTxtExportProviders() {
  TcxExport::RegisterProvider(TcxExportProviderClass::Of<TcxTXTExportProvider>("TcxTXTExportProvider"));
}

}  // namespace kv
