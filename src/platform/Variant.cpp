// Variant conversions after the class library's rules.
#include "platform/Variant.h"

#include <cmath>
#include <limits>

#include "platform/CodePage.h"
#include "platform/Exceptions.h"

namespace kv {

const char* VarTypeName(TVarType t) {
  switch (t) {
    case varEmpty: return "Empty";
    case varNull: return "Null";
    case varSmallint: return "Smallint";
    case varInteger: return "Integer";
    case varSingle: return "Single";
    case varDouble: return "Double";
    case varCurrency: return "Currency";
    case varDate: return "Date";
    case varOleStr: return "OleStr";
    case varBoolean: return "Boolean";
    case varShortInt: return "ShortInt";
    case varByte: return "Byte";
    case varWord: return "Word";
    case varLongWord: return "LongWord";
    case varInt64: return "Int64";
    case varString: return "String";
    case varSQLTimeStamp: return "SQLTimeStamp";
    case varFMTBcd: return "FMTBcd";
  }
  return "Unknown";
}

Variant Variant::OfType(TVarType AType, int64_t AValue) {
  Variant v;
  v.FType = AType;
  v.FInt = AValue;
  if (AType == varBoolean) v.FInt = AValue ? 1 : 0;
  return v;
}

Variant Variant::OfFloat(TVarType AType, double AValue) {
  Variant v;
  v.FType = AType;
  v.FDouble = AType == varSingle ? static_cast<double>(static_cast<float>(AValue)) : AValue;
  return v;
}

Variant Variant::Currency(int64_t ATenThousandths) {
  Variant v;
  v.FType = varCurrency;
  v.FInt = ATenThousandths;
  return v;
}

Variant Variant::CurrencyFromDouble(double AValue) {
  if (!(std::fabs(AValue) < 922337203685477.0))
    throw EVariantTypeCastError("Could not convert variant of type (Double) into type (Currency)");
  return Currency(std::llround(AValue * 10000.0));
}

Variant Variant::DateTime(TDateTime AValue) {
  Variant v;
  v.FType = varDate;
  v.FDouble = AValue;
  return v;
}

Variant Variant::SQLTimeStamp(TDateTime AValue) {
  Variant v;
  v.FType = varSQLTimeStamp;
  v.FDouble = AValue;
  return v;
}

Variant Variant::FMTBcd(const std::string& ADecimalText) {
  double d;
  if (!TryStrToFloat(ADecimalText, d))
    throw EVariantTypeCastError("Could not convert variant of type (String) into type (FMTBcd)");
  Variant v;
  v.FType = varFMTBcd;
  v.FText = Trim(ADecimalText);
  v.FDouble = d;
  return v;
}

bool Variant::IsIntegerKind() const {
  switch (FType) {
    case varSmallint: case varInteger: case varShortInt: case varByte:
    case varWord: case varLongWord: case varInt64:
      return true;
    default:
      return false;
  }
}

void Variant::CastError(TVarType ATarget) const {
  throw EVariantTypeCastError(std::string("Could not convert variant of type (") + VarTypeName(FType) +
                              ") into type (" + VarTypeName(ATarget) + ")");
}

namespace {
std::string CurrencyText(int64_t c) {
  // Shortest decimal form of the ten-thousandths amount.
  bool neg = c < 0;
  uint64_t a = neg ? static_cast<uint64_t>(-(c + 1)) + 1 : static_cast<uint64_t>(c);
  std::string s = std::to_string(a / 10000);
  uint64_t frac = a % 10000;
  if (frac) {
    std::string f = std::to_string(frac);
    f.insert(0, 4 - f.size(), '0');
    while (f.back() == '0') f.pop_back();
    s += FormatSettings().DecimalSeparator + f;
  }
  return neg ? "-" + s : s;
}
}  // namespace

std::string Variant::AsString() const {
  switch (FType) {
    case varEmpty: case varNull: return std::string();
    case varBoolean: return FInt ? "True" : "False";
    case varSmallint: case varInteger: case varShortInt: case varByte:
    case varWord: case varLongWord: case varInt64:
      return std::to_string(FInt);
    case varSingle: return FloatToStrGeneral(FDouble, 7);
    case varDouble: return FloatToStr(FDouble);
    case varCurrency: return CurrencyText(FInt);
    case varDate: case varSQLTimeStamp: return DateTimeToStr(FDouble);
    case varOleStr: return Utf16ToUtf8(FWide);
    case varString: case varFMTBcd: return FText;
  }
  CastError(varString);
}

std::u16string Variant::AsWideString() const {
  if (FType == varOleStr) return FWide;
  return Utf8ToUtf16(AsString());
}

double Variant::AsDouble() const {
  switch (FType) {
    case varEmpty: return 0;
    case varBoolean: return FInt ? -1.0 : 0.0;
    case varSmallint: case varInteger: case varShortInt: case varByte:
    case varWord: case varLongWord: case varInt64:
      return static_cast<double>(FInt);
    case varSingle: case varDouble: case varDate: case varSQLTimeStamp: case varFMTBcd:
      return FDouble;
    case varCurrency: return static_cast<double>(FInt) / 10000.0;
    case varString: case varOleStr: {
      double d;
      if (TryStrToFloat(AsString(), d)) return d;
      TDateTime dt;
      if (TryStrToDateTime(AsString(), dt)) return dt;
      break;
    }
    default: break;
  }
  CastError(varDouble);
}

int64_t Variant::AsInt64() const {
  switch (FType) {
    case varEmpty: return 0;
    case varBoolean: return FInt ? -1 : 0;
    case varSmallint: case varInteger: case varShortInt: case varByte:
    case varWord: case varLongWord: case varInt64:
      return FInt;
    case varCurrency: return std::llround(static_cast<double>(FInt) / 10000.0);
    case varSingle: case varDouble: case varDate: case varSQLTimeStamp: case varFMTBcd:
      if (std::isfinite(FDouble) && std::fabs(FDouble) < 9.2e18) return std::llrint(FDouble);
      break;
    case varString: case varOleStr: {
      int64_t i;
      if (TryStrToInt64(AsString(), i)) return i;
      double d;
      if (TryStrToFloat(AsString(), d) && std::fabs(d) < 9.2e18) return std::llrint(d);
      break;
    }
    default: break;
  }
  CastError(varInt64);
}

bool Variant::AsBoolean() const {
  switch (FType) {
    case varEmpty: return false;
    case varString: case varOleStr: {
      std::string s = AsString();
      if (s == "True" || s == "true" || s == "TRUE") return true;
      if (s == "False" || s == "false" || s == "FALSE") return false;
      double d;
      if (TryStrToFloat(s, d)) return d != 0;
      break;
    }
    case varNull: break;
    default:
      return AsDouble() != 0;
  }
  CastError(varBoolean);
}

bool Variant::BcdFitsCurrency() const {
  if (FType != varFMTBcd) return false;
  size_t dot = FText.find('.');
  if (dot != std::string::npos) {
    std::string frac = FText.substr(dot + 1);
    while (!frac.empty() && frac.back() == '0') frac.pop_back();
    if (frac.size() > 4) return false;
  }
  return std::fabs(FDouble) < 922337203685477.0;
}

int64_t Variant::AsCurrency() const {
  if (FType == varCurrency) return FInt;
  if (FType == varNull) CastError(varCurrency);
  double d = AsDouble();
  if (!(std::fabs(d) < 922337203685477.0)) CastError(varCurrency);
  return std::llround(d * 10000.0);
}

TDateTime Variant::AsDateTime() const {
  if (FType == varString || FType == varOleStr) {
    TDateTime dt;
    if (TryStrToDateTime(AsString(), dt)) return dt;
    double d;
    if (TryStrToFloat(AsString(), d)) return d;
    CastError(varDate);
  }
  if (FType == varNull) CastError(varDate);
  return AsDouble();
}

Variant Variant::ToType(TVarType AType) const {
  if (AType == FType) return *this;
  switch (AType) {
    case varEmpty: return Variant();
    case varNull: return Null();
    case varBoolean: return Variant(AsBoolean());
    case varSmallint: case varInteger: case varShortInt: case varByte:
    case varWord: case varLongWord: case varInt64:
      return OfType(AType, AsInt64());
    case varSingle: case varDouble: return OfFloat(AType, AsDouble());
    case varCurrency: return Currency(AsCurrency());
    case varDate: return DateTime(AsDateTime());
    case varSQLTimeStamp: return SQLTimeStamp(AsDateTime());
    case varOleStr: return Variant(AsWideString());
    case varString: return Variant(AsString());
    case varFMTBcd: return FMTBcd(AsString());
  }
  CastError(AType);
}

bool Variant::operator==(const Variant& o) const {
  if (FType != o.FType) return false;
  return FInt == o.FInt && (FDouble == o.FDouble || (std::isnan(FDouble) && std::isnan(o.FDouble))) &&
         FText == o.FText && FWide == o.FWide;
}

}  // namespace kv
