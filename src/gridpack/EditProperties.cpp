// Editor properties: alignments and display texts of the editor kinds.
#include "gridpack/EditProperties.h"

#include <cmath>

#include "gridpack/ValueTypes.h"
#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/SysUtils.h"

namespace kv {

namespace {

// The value's text; "" for null and empty values and for values without one.
std::string PlainText(const Variant& AValue) {
  if (AValue.IsEmptyOrNull()) return std::string();
  try {
    return AValue.AsString();
  } catch (const EVariantError&) {
    return std::string();
  }
}

// Runs AFormat on the value as a number, or falls back to its plain text
// when it is not one.
template <class F>
std::string NumberText(const Variant& AValue, F AFormat) {
  if (AValue.IsEmptyOrNull()) return std::string();
  double number;
  try {
    number = AValue.AsDouble();
  } catch (const EVariantError&) {
    return PlainText(AValue);
  }
  return AFormat(number);
}

template <class F>
std::string DateText(const Variant& AValue, F AFormat) {
  if (AValue.IsEmptyOrNull()) return std::string();
  TDateTime value;
  try {
    value = AValue.AsDateTime();
  } catch (const EVariantError&) {
    return PlainText(AValue);
  } catch (const EConvertError&) {
    return PlainText(AValue);
  }
  return AFormat(value);
}

template <class T>
std::unique_ptr<TcxCustomEditProperties> CloneOf(const T& AThis) {
  return std::make_unique<T>(AThis);
}

}  // namespace

// --- Base ------------------------------------------------------------------------

TcxEditValueSource TcxCustomEditProperties::GetEditValueSource(bool) const { return evsValue; }

std::string TcxCustomEditProperties::GetDisplayText(const Variant& AValue, bool) const { return PlainText(AValue); }

bool TcxCustomEditProperties::IsValueEqual(const Variant& A, const Variant& B) const { return VarEquals(A, B); }

// --- Text and mask ------------------------------------------------------------------

std::unique_ptr<TcxCustomEditProperties> TcxTextEditProperties::Clone() const { return CloneOf(*this); }

TcxEditValueSource TcxTextEditProperties::GetEditValueSource(bool) const { return evsText; }

std::unique_ptr<TcxCustomEditProperties> TcxMaskEditProperties::Clone() const { return CloneOf(*this); }

// --- Numbers ------------------------------------------------------------------------

std::unique_ptr<TcxCustomEditProperties> TcxCalcEditProperties::Clone() const { return CloneOf(*this); }

std::string TcxCalcEditProperties::GetDisplayText(const Variant& AValue, bool) const {
  return NumberText(AValue, [this](double AValue) {
    if (!DisplayFormat.empty()) return FormatFloat(DisplayFormat, AValue);
    return FloatToStrGeneral(AValue, Precision < 1 ? 1 : (Precision > 18 ? 18 : Precision));
  });
}

std::unique_ptr<TcxCustomEditProperties> TcxCurrencyEditProperties::Clone() const { return CloneOf(*this); }

std::string TcxCurrencyEditProperties::GetDisplayText(const Variant& AValue, bool) const {
  return NumberText(AValue, [this](double AValue) {
    return DisplayFormat.empty() ? CurrencyFormatText(AValue) : FormatFloat(DisplayFormat, AValue);
  });
}

std::unique_ptr<TcxCustomEditProperties> TcxSpinEditProperties::Clone() const { return CloneOf(*this); }

std::string TcxSpinEditProperties::GetDisplayText(const Variant& AValue, bool) const {
  return NumberText(AValue, [this](double AValue) {
    if (!DisplayFormat.empty()) return FormatFloat(DisplayFormat, AValue);
    if (ValueType == vtFloat) return FloatToStr(AValue);
    return IntToStr(static_cast<int64_t>(std::round(AValue)));
  });
}

// --- Dates and times ------------------------------------------------------------------

std::unique_ptr<TcxCustomEditProperties> TcxDateEditProperties::Clone() const { return CloneOf(*this); }

std::string TcxDateEditProperties::GetDisplayText(const Variant& AValue, bool) const {
  return DateText(AValue, [this](TDateTime AValue) {
    if (!DisplayFormat.empty()) return FormatDateTime(DisplayFormat, AValue);
    return Kind == ckDateTime ? DateTimeToStr(AValue) : DateToStr(AValue);
  });
}

std::unique_ptr<TcxCustomEditProperties> TcxTimeEditProperties::Clone() const { return CloneOf(*this); }

std::string TcxTimeEditProperties::GetDisplayText(const Variant& AValue, bool) const {
  return DateText(AValue, [this](TDateTime AValue) {
    const char* format = TimeFormat == tfHour ? "hh" : (TimeFormat == tfHourMin ? "hh:nn" : "hh:nn:ss");
    return FormatDateTime(format, AValue);
  });
}

// --- Pictures -----------------------------------------------------------------------

std::unique_ptr<TGraphic> NewBitmapGraphic() { return std::make_unique<TBitmap>(); }

std::unique_ptr<TcxCustomEditProperties> TcxImageProperties::Clone() const { return CloneOf(*this); }

std::string TcxImageProperties::GetDisplayText(const Variant&, bool) const { return std::string(); }

bool TcxImageProperties::IsValueEqual(const Variant& A, const Variant& B) const {
  if (A.IsEmptyOrNull() || B.IsEmptyOrNull()) return A.IsEmptyOrNull() && B.IsEmptyOrNull();
  return PlainText(A) == PlainText(B);
}

TGraphicClass TcxImageProperties::GetGraphicClass(const Variant& AValue) const {
  if (AValue.IsEmptyOrNull()) return nullptr;
  std::string bytes = PlainText(AValue);
  if (bytes.empty()) return nullptr;
  if (GraphicClass) return GraphicClass;
  if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') return &NewBitmapGraphic;
  return nullptr;
}

std::unique_ptr<TGraphic> TcxImageProperties::LoadPicture(const Variant& AValue) const {
  TGraphicClass kind = GetGraphicClass(AValue);
  if (!kind) return nullptr;
  std::unique_ptr<TGraphic> picture = kind();
  try {
    picture->LoadFromBytes(PlainText(AValue));
  } catch (const EInvalidGraphic&) {
    return nullptr;
  } catch (const EStreamError&) {
    return nullptr;
  }
  return picture;
}

// --- Check boxes ------------------------------------------------------------------------

std::unique_ptr<TcxCustomEditProperties> TcxCheckBoxProperties::Clone() const { return CloneOf(*this); }

std::string TcxCheckBoxProperties::GetDisplayText(const Variant& AValue, bool) const {
  if (AValue.IsEmptyOrNull()) return DisplayGrayed;
  if (VarEquals(AValue, ValueChecked)) return DisplayChecked;
  if (VarEquals(AValue, ValueUnchecked)) return DisplayUnchecked;
  return DisplayGrayed;
}

// --- Currency format ----------------------------------------------------------------------

std::string CurrencyFormatText(double AValue) {
  const TFormatSettings& settings = FormatSettings();
  int decimals = settings.CurrencyDecimals < 0 ? 0 : (settings.CurrencyDecimals > 18 ? 18 : settings.CurrencyDecimals);
  std::string format = decimals > 0 ? ",0." + std::string(static_cast<size_t>(decimals), '0') : ",0";
  std::string number = FormatFloat(format, std::fabs(AValue));
  const std::string& s = settings.CurrencyString;
  // A value that rounds to zero is shown without a sign.
  bool negative = AValue < 0 && number.find_first_not_of("0,.") != std::string::npos;
  if (!negative) {
    switch (settings.CurrencyFormat) {
      case 1:
        return number + s;
      case 2:
        return s + " " + number;
      case 3:
        return number + " " + s;
      default:
        return s + number;
    }
  }
  switch (settings.NegCurrFormat) {
    case 0:
      return "(" + s + number + ")";
    case 1:
      return "-" + s + number;
    case 3:
      return s + number + "-";
    case 4:
      return "(" + number + s + ")";
    case 5:
      return "-" + number + s;
    case 6:
      return number + "-" + s;
    case 7:
      return number + s + "-";
    case 8:
      return "-" + number + " " + s;
    case 9:
      return "-" + s + " " + number;
    case 10:
      return number + " " + s + "-";
    case 11:
      return s + " " + number + "-";
    case 12:
      return s + " -" + number;
    case 13:
      return number + "- " + s;
    case 14:
      return "(" + s + " " + number + ")";
    case 15:
      return "(" + number + " " + s + ")";
    default:
      return s + "-" + number;  // 2
  }
}

}  // namespace kv
