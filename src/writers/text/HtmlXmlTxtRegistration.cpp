// Registration of the text-family writers with the export engine.
#include "export/core/ExportRegistry.h"
#include "writers/html/HTMLExportProvider.h"
#include "writers/text/TXTExportProvider.h"
#include "writers/xml/XMLExportProvider.h"

namespace kv {

// Registers the text-family providers in their fixed order: HTML (kind 2),
// text (kind 4), XML (kind 3).  Called once by the engine's start-up.
void RegisterHtmlXmlTxtExportProviders() {
  TcxExport::RegisterProvider(TcxExportProviderClass::Of<TcxHTMLExportProvider>("TcxHTMLExportProvider"));
  TcxExport::RegisterProvider(TcxExportProviderClass::Of<TcxTXTExportProvider>("TcxTXTExportProvider"));
  TcxExport::RegisterProvider(TcxExportProviderClass::Of<TcxXMLExportProvider>("TcxXMLExportProvider"));
}

}  // namespace kv
