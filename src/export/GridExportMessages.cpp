// Raising the grid export errors.
#include "export/GridExportMessages.h"

namespace kv {

void RaiseGridExportError(const TcxResourceString& AResource) { throw EcxGridExport(cxGetResourceString(AResource)); }

}  // namespace kv
