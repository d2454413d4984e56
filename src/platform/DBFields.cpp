// Conversions of the field classes between their stored form, texts and
// variants.
#include "platform/DBFields.h"

#include <cmath>
#include <limits>

#include "platform/CodePage.h"
#include "platform/Files.h"

namespace kv {

namespace {

const std::string* TextOf(const TFieldData& AData) { return std::get_if<std::string>(&AData); }
const int64_t* IntOf(const TFieldData& AData) { return std::get_if<int64_t>(&AData); }
const double* FloatOf(const TFieldData& AData) { return std::get_if<double>(&AData); }

// A decimal text "[-+]digits[.digits]" (blanks around allowed) in its shortest
// form: no "+", no leading zeros, no trailing zeros of the fraction, "0" for
// zero.  False when the text is not such a number.
bool NormalizeDecimal(std::string_view AText, std::string& AOut) {
  std::string s = Trim(AText);
  if (FormatSettings().DecimalSeparator != '.')
    for (char& c : s)
      if (c == FormatSettings().DecimalSeparator) c = '.';
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  std::string intPart, fracPart;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') intPart.push_back(s[i++]);
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') fracPart.push_back(s[i++]);
  }
  if (i != s.size() || (intPart.empty() && fracPart.empty())) return false;
  size_t nz = intPart.find_first_not_of('0');
  intPart = nz == std::string::npos ? "0" : intPart.substr(nz);
  while (!fracPart.empty() && fracPart.back() == '0') fracPart.pop_back();
  AOut = intPart;
  if (!fracPart.empty()) AOut.append(1, '.').append(fracPart);
  if (negative && AOut != "0") AOut.insert(0, 1, '-');
  return true;
}

// A decimal text as ten-thousandths, the fifth decimal rounding half away
// from zero; false when it is no number or out of the Currency range.
bool ParseCurrency(std::string_view AText, int64_t& AValue) {
  std::string n;
  if (!NormalizeDecimal(AText, n)) return false;
  bool negative = !n.empty() && n[0] == '-';
  if (negative) n.erase(0, 1);
  size_t dot = n.find('.');
  std::string intPart = n.substr(0, dot);
  std::string frac = dot == std::string::npos ? std::string() : n.substr(dot + 1);
  bool roundUp = frac.size() > 4 && frac[4] >= '5';
  frac.resize(4, '0');
  if (intPart.size() > 15) return false;
  unsigned long long v = std::stoull(intPart) * 10000ULL + std::stoull(frac) + (roundUp ? 1 : 0);
  if (v > static_cast<unsigned long long>(std::numeric_limits<int64_t>::max())) return false;
  AValue = negative ? -static_cast<int64_t>(v) : static_cast<int64_t>(v);
  return true;
}

}  // namespace

// --- Strings --------------------------------------------------------------------

std::string TStringField::AsString() const {
  const std::string* s = TextOf(Data());
  return s ? *s : std::string();
}

Variant TStringField::Value() const {
  const std::string* s = TextOf(Data());
  return s ? Variant(*s) : Variant::Null();
}

// The value is kept whole: Size describes the column, it does not cut values.
void TStringField::SetAsString(const std::string& AValue) { SetData(AValue); }

Variant TWideStringField::Value() const {
  const std::string* s = TextOf(Data());
  return s ? Variant(Utf8ToUtf16(*s)) : Variant::Null();
}

// --- Integers -------------------------------------------------------------------

std::string TIntegerField::AsString() const {
  const int64_t* v = IntOf(Data());
  return v ? IntToStr(*v) : std::string();
}

int64_t TIntegerField::AsLargeInt() const {
  const int64_t* v = IntOf(Data());
  return v ? *v : 0;
}

Variant TIntegerField::Value() const {
  const int64_t* v = IntOf(Data());
  return v ? Variant::OfType(VariantKind(), *v) : Variant::Null();
}

void TIntegerField::SetAsLargeInt(int64_t AValue) {
  if (AValue < FMin || AValue > FMax)
    throw EDatabaseError(IntToStr(AValue) + " is not a valid value for field '" + FieldName +
                         "'. The allowed range is " + IntToStr(FMin) + " to " + IntToStr(FMax));
  SetData(AValue);
}

void TIntegerField::SetAsString(const std::string& AValue) {
  if (ClearIfBlank(AValue)) return;
  int64_t v;
  if (!TryStrToInt64(AValue, v)) ConversionError(AValue, "integer");
  SetAsLargeInt(v);
}

void TIntegerField::SetAsFloat(double AValue) {
  if (!std::isfinite(AValue) || std::fabs(AValue) >= 9.2e18) ConversionError(FloatToStr(AValue), "integer");
  SetAsLargeInt(std::llround(AValue));
}

void TIntegerField::SetValue(const Variant& AValue) {
  if (AValue.IsEmptyOrNull())
    Clear();
  else if (AValue.IsTextKind())
    SetAsString(AValue.AsString());
  else if (AValue.IsIntegerKind())
    SetAsLargeInt(AValue.RawInt());
  else
    SetAsFloat(AValue.AsDouble());
}

// --- Booleans -------------------------------------------------------------------

std::string TBooleanField::AsString() const {
  const int64_t* v = IntOf(Data());
  return v ? (*v ? "True" : "False") : std::string();
}

bool TBooleanField::AsBoolean() const {
  const int64_t* v = IntOf(Data());
  return v && *v != 0;
}

Variant TBooleanField::Value() const {
  const int64_t* v = IntOf(Data());
  return v ? Variant(*v != 0) : Variant::Null();
}

void TBooleanField::SetAsBoolean(bool AValue) { SetData(static_cast<int64_t>(AValue ? 1 : 0)); }

void TBooleanField::SetAsString(const std::string& AValue) {
  std::string s = UpperCaseAscii(Trim(AValue));
  if (s.empty())
    Clear();
  else if (s == "TRUE" || s == "T" || s == "Y" || s == "YES" || s == "1")
    SetAsBoolean(true);
  else if (s == "FALSE" || s == "F" || s == "N" || s == "NO" || s == "0")
    SetAsBoolean(false);
  else
    ConversionError(AValue, "Boolean");
}

void TBooleanField::SetValue(const Variant& AValue) {
  if (AValue.IsEmptyOrNull())
    Clear();
  else if (AValue.IsTextKind())
    SetAsString(AValue.AsString());
  else
    SetAsBoolean(AValue.AsBoolean());
}

// --- Numbers ---------------------------------------------------------------------

std::string TNumericField::DisplayText() const {
  if (DisplayFormat.empty() || IsNull()) return AsString();
  return FormatFloat(DisplayFormat, AsFloat());
}

// --- Floats ---------------------------------------------------------------------

std::string TFloatField::AsString() const {
  const double* v = FloatOf(Data());
  return v ? FloatToStr(*v) : std::string();
}

double TFloatField::AsFloat() const {
  const double* v = FloatOf(Data());
  return v ? *v : 0;
}

Variant TFloatField::Value() const {
  const double* v = FloatOf(Data());
  return v ? Variant(*v) : Variant::Null();
}

void TFloatField::SetAsFloat(double AValue) { SetData(AValue); }

void TFloatField::SetAsString(const std::string& AValue) {
  if (ClearIfBlank(AValue)) return;
  double v;
  if (!TryStrToFloat(AValue, v)) ConversionError(AValue, "floating point");
  SetAsFloat(v);
}

void TFloatField::SetValue(const Variant& AValue) {
  if (AValue.IsEmptyOrNull())
    Clear();
  else if (AValue.IsTextKind())
    SetAsString(AValue.AsString());
  else
    SetAsFloat(AValue.AsDouble());
}

Variant TCurrencyField::Value() const {
  const double* v = FloatOf(Data());
  return v ? Variant::CurrencyFromDouble(*v) : Variant::Null();
}

// --- BCD ------------------------------------------------------------------------

std::string TBCDField::AsString() const {
  const int64_t* v = IntOf(Data());
  return v ? Variant::Currency(*v).AsString() : std::string();
}

double TBCDField::AsFloat() const {
  const int64_t* v = IntOf(Data());
  return v ? static_cast<double>(*v) / 10000.0 : 0;
}

Variant TBCDField::Value() const {
  const int64_t* v = IntOf(Data());
  return v ? Variant::Currency(*v) : Variant::Null();
}

void TBCDField::SetAsString(const std::string& AValue) {
  if (ClearIfBlank(AValue)) return;
  int64_t v;
  if (!ParseCurrency(AValue, v)) ConversionError(AValue, "BCD");
  SetData(v);
}

void TBCDField::SetAsFloat(double AValue) {
  if (!(std::fabs(AValue) < 922337203685477.0)) ConversionError(FloatToStr(AValue), "BCD");
  SetData(static_cast<int64_t>(std::llround(AValue * 10000.0)));
}

void TBCDField::SetAsLargeInt(int64_t AValue) { SetAsString(IntToStr(AValue)); }

void TBCDField::SetValue(const Variant& AValue) {
  if (AValue.IsEmptyOrNull())
    Clear();
  else if (AValue.VarType() == varCurrency)
    SetData(AValue.RawInt());
  else if (AValue.IsTextKind() || AValue.VarType() == varFMTBcd)
    SetAsString(AValue.AsString());
  else if (AValue.IsIntegerKind())
    SetAsLargeInt(AValue.RawInt());
  else
    SetAsFloat(AValue.AsDouble());
}

std::string TFMTBCDField::AsString() const {
  const std::string* s = TextOf(Data());
  return s ? *s : std::string();
}

double TFMTBCDField::AsFloat() const {
  const std::string* s = TextOf(Data());
  double d = 0;
  if (s) TryStrToFloat(*s, d);
  return d;
}

Variant TFMTBCDField::Value() const {
  const std::string* s = TextOf(Data());
  return s ? Variant::FMTBcd(*s) : Variant::Null();
}

void TFMTBCDField::SetAsString(const std::string& AValue) {
  if (ClearIfBlank(AValue)) return;
  std::string n;
  if (!NormalizeDecimal(AValue, n)) ConversionError(AValue, "BCD");
  SetData(n);
}

void TFMTBCDField::SetAsFloat(double AValue) {
  if (!std::isfinite(AValue)) ConversionError(FloatToStr(AValue), "BCD");
  SetAsString(FormatFloat("0.###############", AValue));
}

void TFMTBCDField::SetAsLargeInt(int64_t AValue) { SetData(IntToStr(AValue)); }

void TFMTBCDField::SetValue(const Variant& AValue) {
  if (AValue.IsEmptyOrNull())
    Clear();
  else if (AValue.VarType() == varCurrency || AValue.IsTextKind() || AValue.VarType() == varFMTBcd)
    SetAsString(AValue.AsString());
  else if (AValue.IsIntegerKind())
    SetAsLargeInt(AValue.RawInt());
  else
    SetAsFloat(AValue.AsDouble());
}

// --- Dates and times --------------------------------------------------------------

std::string TDateTimeField::AsString() const {
  const double* v = FloatOf(Data());
  return v ? DateTimeToStr(*v) : std::string();
}

TDateTime TDateTimeField::AsDateTime() const {
  const double* v = FloatOf(Data());
  return v ? *v : 0;
}

std::string TDateTimeField::DisplayText() const {
  if (DisplayFormat.empty() || IsNull()) return AsString();
  return FormatDateTime(DisplayFormat, AsDateTime());
}

Variant TDateTimeField::Value() const {
  const double* v = FloatOf(Data());
  return v ? Variant::DateTime(*v) : Variant::Null();
}

void TDateTimeField::SetAsDateTime(TDateTime AValue) {
  if (!std::isfinite(AValue)) ConversionError(FloatToStr(AValue), "date and time");
  SetData(Normalize(AValue));
}

void TDateTimeField::SetAsString(const std::string& AValue) {
  if (ClearIfBlank(AValue)) return;
  TDateTime v;
  if (!TryStrToDateTime(AValue, v)) ConversionError(AValue, "date and time");
  SetAsDateTime(v);
}

void TDateTimeField::SetValue(const Variant& AValue) {
  if (AValue.IsEmptyOrNull())
    Clear();
  else if (AValue.IsTextKind())
    SetAsString(AValue.AsString());
  else
    SetAsDateTime(AValue.AsDateTime());
}

std::string TDateField::AsString() const {
  const double* v = FloatOf(Data());
  return v ? DateToStr(*v) : std::string();
}

TDateTime TDateField::Normalize(TDateTime AValue) const { return std::trunc(AValue); }

std::string TTimeField::AsString() const {
  const double* v = FloatOf(Data());
  return v ? TimeToStr(*v) : std::string();
}

TDateTime TTimeField::Normalize(TDateTime AValue) const { return std::fabs(AValue - std::trunc(AValue)); }

Variant TSQLTimeStampField::Value() const {
  const double* v = FloatOf(Data());
  return v ? Variant::SQLTimeStamp(*v) : Variant::Null();
}

// --- Blobs ------------------------------------------------------------------------

std::string TBlobField::AsString() const {
  const std::string* s = TextOf(Data());
  return s ? *s : std::string();
}

Variant TBlobField::Value() const {
  const std::string* s = TextOf(Data());
  return s ? Variant(*s) : Variant::Null();
}

void TBlobField::SetAsString(const std::string& AValue) { SetData(AValue); }

// --- Factory ----------------------------------------------------------------------

std::unique_ptr<TField> CreateFieldOfType(TFieldType AType, int ASize) {
  switch (AType) {
    case ftString:
    case ftFixedChar:
      return std::make_unique<TStringField>(ASize, AType);
    case ftWideString:
      return std::make_unique<TWideStringField>(ASize);
    case ftGuid:
      return std::make_unique<TGuidField>();
    case ftSmallint:
      return std::make_unique<TSmallintField>();
    case ftInteger:
      return std::make_unique<TIntegerField>();
    case ftWord:
      return std::make_unique<TWordField>();
    case ftAutoInc:
      return std::make_unique<TAutoIncField>();
    case ftLargeint:
      return std::make_unique<TLargeintField>();
    case ftBoolean:
      return std::make_unique<TBooleanField>();
    case ftFloat:
      return std::make_unique<TFloatField>();
    case ftCurrency:
      return std::make_unique<TCurrencyField>();
    case ftBCD:
      return std::make_unique<TBCDField>(ASize);
    case ftFMTBcd:
      return std::make_unique<TFMTBCDField>(ASize);
    case ftDate:
      return std::make_unique<TDateField>();
    case ftTime:
      return std::make_unique<TTimeField>();
    case ftDateTime:
      return std::make_unique<TDateTimeField>();
    case ftTimeStamp:
      return std::make_unique<TSQLTimeStampField>();
    case ftMemo:
    case ftFmtMemo:
      return std::make_unique<TMemoField>(AType);
    case ftBlob:
    case ftGraphic:
    case ftTypedBinary:
      return std::make_unique<TBlobField>(AType);
    case ftBytes:
    case ftVarBytes:
      return std::make_unique<TBytesField>(ASize, AType);
    default:
      break;
  }
  throw EDatabaseError(std::string("Field type not supported: ") + FieldTypeName(AType));
}

}  // namespace kv
