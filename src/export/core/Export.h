// The export engine core in one include: provider contract and registry,
// cell styles and the style manager, scales, helpers, messages and start-up.
#pragma once

#include "export/core/ExportCellStyle.h"
#include "export/core/ExportEngine.h"
#include "export/core/ExportHelpers.h"
#include "export/core/ExportMessages.h"
#include "export/core/ExportProvider.h"
#include "export/core/ExportRegistry.h"
#include "export/core/ExportScale.h"
#include "export/core/ExportStyleManager.h"
