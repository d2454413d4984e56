// Process-wide state of the export engine: start-up, the colour resolver,
// the default style, the currency format and the character-reference switch.
#include "export/core/ExportEngine.h"

#include <algorithm>
#include <utility>

#include "export/core/ExportRegistry.h"
#include "export/core/ExportStyleManager.h"
#include "platform/SysUtils.h"

namespace kv {

namespace {

struct TEngineState {
  bool Started = false;      // the writers' classes are registered
  bool Initialized = false;  // InitExportEngine has run
  TcxExportColorResolver ColorResolver;
  uint32_t WindowColor = 0;
  uint32_t BtnTextColor = 0;
  uint32_t BtnShadowColor = 0;
  TcxExportCellStyle DefaultStyle;
  std::string CurrencyFormat;
  bool UnicodeRefs = true;
};

TEngineState& State() {
  static TEngineState state;
  return state;
}

uint32_t ApplyResolver(TColor AColor) {
  const TcxExportColorResolver& resolver = State().ColorResolver;
  return resolver ? resolver(AColor) : ColorToRGB(AColor);
}

// Puts every "," and "." of the currency symbol between single quotes so
// that FormatFloat takes them literally.
std::string QuoteCurrencySymbol(const std::string& ASymbol) {
  std::string result;
  for (char c : ASymbol) {
    if (c == ',' || c == '.') {
      result += '\'';
      result += c;
      result += '\'';
    } else {
      result += c;
    }
  }
  return result;
}

}  // namespace

void EnsureExportEngine() {
  TEngineState& state = State();
  if (state.Started) return;
  state.Started = true;
  RegisterExportProviderUnits();
  if (!state.Initialized) InitExportEngine(nullptr, nullptr);
}

void FinalizeExportEngine() {
  TEngineState& state = State();
  state.Started = false;
  state.Initialized = false;
  state.ColorResolver = nullptr;
  SetExportMessageLookup(nullptr);
  TcxExport::UnregisterAll();
  TcxExportStyleManager::FreeRegistry();
}

void InitExportEngine(TcxExportMessageLookup AMessageLookup, TcxExportColorResolver AColorResolver) {
  TEngineState& state = State();
  SetExportMessageLookup(std::move(AMessageLookup));
  state.ColorResolver = std::move(AColorResolver);
  state.WindowColor = ApplyResolver(clWindow);
  state.BtnTextColor = ApplyResolver(clBtnText);
  state.BtnShadowColor = ApplyResolver(clBtnShadow);

  TcxExportCellStyle& style = state.DefaultStyle;
  style = TcxExportCellStyle();
  style.AlignText = catCenter;
  style.SetFontName("Tahoma");
  style.FontStyle = 0;
  style.FontColor = state.BtnTextColor;
  style.FontSize = 8;
  style.FontCharset = 0;
  for (TcxExportCellBorder& border : style.CellBorders) {
    border.IsDefault = 0;
    border.Width = 1;
    border.Color = state.BtnShadowColor;
  }
  style.BrushStyle = cbsSolid;
  style.BrushBkColor = state.WindowColor;
  style.BrushFgColor = 0;

  state.CurrencyFormat = BuildCurrencyExportFormat(FormatSettings());
  state.UnicodeRefs = true;
  state.Initialized = true;
  TcxExportStyleManager::FreeRegistry();
}

bool ExportEngineInitialized() { return State().Initialized; }

uint32_t ResolveExportColor(TColor AColor) { return ApplyResolver(AColor); }

const TcxExportCellStyle& DefaultExportStyle() {
  if (!State().Initialized) EnsureExportEngine();
  return State().DefaultStyle;
}

const std::string& CurrencyExportFormat() {
  if (!State().Initialized) EnsureExportEngine();
  return State().CurrencyFormat;
}

std::string BuildCurrencyExportFormat(const TFormatSettings& ASettings) {
  const std::string n = ",0." + std::string(static_cast<size_t>(std::max(ASettings.CurrencyDecimals, 0)), '0');
  const std::string s = QuoteCurrencySymbol(ASettings.CurrencyString);

  std::string positive;
  if (!s.empty()) {
    switch (ASettings.CurrencyFormat) {
      case 0:
        positive = s + n;
        break;
      case 1:
        positive = n + s;
        break;
      case 2:
        positive = s + " " + n;
        break;
      case 3:
        positive = n + " " + s;
        break;
      default:
        break;
    }
  }

  std::string negative;
  switch (ASettings.NegCurrFormat) {
    case 0:
      negative = "(" + s + n + ")";
      break;
    case 1:
      negative = "-" + s + n;
      break;
    case 2:
      negative = s + "-" + n;
      break;
    case 3:
      negative = s + n + "-";
      break;
    case 4:
      negative = "(" + n + s + ")";
      break;
    case 5:
      negative = "-" + n + s;
      break;
    case 6:
      negative = n + "-" + s;
      break;
    case 7:
      negative = n + s + "-";
      break;
    case 8:
      negative = "-" + n + " " + s;
      break;
    case 9:
      negative = "-" + s + " " + n;
      break;
    case 10:
      negative = n + " " + s + "-";
      break;
    case 11:
      negative = s + " " + n + "-";
      break;
    case 12:
      negative = s + " " + "-" + n;
      break;
    case 13:
      negative = n + "-" + " " + s;
      break;
    case 14:
      negative = "(" + s + " " + n + ")";
      break;
    case 15:
      negative = "(" + n + " " + s + ")";
      break;
    default:
      break;
  }
  return positive + ";" + negative;
}

bool UnicodeRefsEnabled() { return State().UnicodeRefs; }

void SetUnicodeRefsEnabled(bool AValue) { State().UnicodeRefs = AValue; }

}  // namespace kv
