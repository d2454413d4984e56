// Start-up and process-wide settings of the export engine.
//
// `EnsureExportEngine` is the one start-up routine: on its first call it
// registers the provider classes of the writers in the documented order
// (Excel; then HTML, text, XML) and then runs InitExportEngine with the
// default message lookup and ColorToRGB, unless a host has already
// initialised the engine with its own.  It does not depend on the order in
// which files are initialised: every path into the engine (CreateProvider,
// the style manager, DefaultExportStyle) calls it first.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "export/core/ExportCellStyle.h"
#include "export/core/ExportMessages.h"
#include "platform/Graphics.h"

namespace kv {

struct TFormatSettings;

// Maps a colour of the class library to RGB (red in the low byte).
using TcxExportColorResolver = std::function<uint32_t(TColor)>;

// Registers the writers' provider classes once, then initialises the engine
// if no host has done so.  Cheap after the first call.
void EnsureExportEngine();
// Runs the writers' registration functions in order (ExportStartup.cpp);
// called by EnsureExportEngine.
void RegisterExportProviderUnits();
// Shut-down: frees the style-manager and provider registries and forgets
// the start-up and the initialisation, so that a later EnsureExportEngine starts the engine afresh.
// Raises EcxExportData (scxStyleManagerKill) when a style manager was still
// in use (it stays valid for its users).
void FinalizeExportEngine();

// Stores the message lookup and colour resolver (an empty function selects
// the default), reads the system window, button-text and button-shadow
// colours as RGB, frees any previous style-manager registry, and builds
// DefaultExportStyle, CurrencyExportFormat and UnicodeRefsEnabled.
void InitExportEngine(TcxExportMessageLookup AMessageLookup, TcxExportColorResolver AColorResolver);
bool ExportEngineInitialized();

// A system colour (negative value) becomes its current RGB value through the
// resolver; any other value is returned unchanged.
uint32_t ResolveExportColor(TColor AColor);

// The engine-wide default style (Center, "Tahoma" 8, button-text font
// colour, 1-pixel button-shadow borders on all sides, solid window fill).
const TcxExportCellStyle& DefaultExportStyle();

// The currency format text for FormatFloat built from the currency settings
// at start-up: positive section ";" negative section.
const std::string& CurrencyExportFormat();
// The same text built from the given settings.
std::string BuildCurrencyExportFormat(const TFormatSettings& ASettings);

// Whether the text writers write titles as numeric character references.
bool UnicodeRefsEnabled();
void SetUnicodeRefsEnabled(bool AValue);

}  // namespace kv
