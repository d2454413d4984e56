// Variants of the class library: a value of one of the kinds that datasets
// hand out and that export providers receive.
//
// The kinds and their codes are the class library's (varEmpty 0, varNull 1,
// varSmallint 2, ... varInt64 20, varString 0x100), plus the data-access
// library's SQL time-stamp and binary-coded decimal kinds.  8-bit text
// (`varString`) holds UTF-8 inside the program; UTF-16 text (`varOleStr`)
// holds a u16string.  Conversions that cannot be done raise
// EVariantTypeCastError.
#pragma once

#include <cstdint>
#include <string>

#include "platform/SysUtils.h"

namespace kv {

enum TVarType : uint16_t {
  varEmpty = 0x0000,
  varNull = 0x0001,
  varSmallint = 0x0002,
  varInteger = 0x0003,
  varSingle = 0x0004,
  varDouble = 0x0005,
  varCurrency = 0x0006,
  varDate = 0x0007,
  varOleStr = 0x0008,
  varBoolean = 0x000B,
  varShortInt = 0x0010,
  varByte = 0x0011,
  varWord = 0x0012,
  varLongWord = 0x0013,
  varInt64 = 0x0014,
  varString = 0x0100,
  varSQLTimeStamp = 0x0110,  // data-access library's time stamp (a date-time)
  varFMTBcd = 0x0111,        // data-access library's packed decimal (decimal text)
};

class Variant {
public:
  Variant() = default;  // empty
  static Variant Null() { Variant v; v.FType = varNull; return v; }
  Variant(bool AValue) : FType(varBoolean) { FInt = AValue ? 1 : 0; }
  Variant(int AValue) : FType(varInteger) { FInt = AValue; }
  Variant(int64_t AValue) : FType(varInt64) { FInt = AValue; }
  Variant(double AValue) : FType(varDouble) { FDouble = AValue; }
  Variant(const char* AValue) : FType(varString), FText(AValue) {}
  Variant(std::string AValue) : FType(varString), FText(std::move(AValue)) {}
  Variant(std::u16string AValue) : FType(varOleStr), FWide(std::move(AValue)) {}

  // Typed constructors for kinds that share a C++ type.
  static Variant OfType(TVarType AType, int64_t AValue);       // integer kinds, Boolean
  static Variant OfFloat(TVarType AType, double AValue);       // varSingle, varDouble
  static Variant Currency(int64_t ATenThousandths);            // varCurrency
  static Variant CurrencyFromDouble(double AValue);
  static Variant DateTime(TDateTime AValue);                   // varDate
  static Variant SQLTimeStamp(TDateTime AValue);
  static Variant FMTBcd(const std::string& ADecimalText);      // e.g. "-123.4500"

  TVarType VarType() const { return FType; }
  bool IsEmpty() const { return FType == varEmpty; }
  bool IsNull() const { return FType == varNull; }
  bool IsEmptyOrNull() const { return FType == varEmpty || FType == varNull; }
  bool IsIntegerKind() const;
  bool IsFloatKind() const { return FType == varSingle || FType == varDouble; }
  bool IsTextKind() const { return FType == varString || FType == varOleStr; }

  // Raw access (no conversion): integer kinds and Boolean, currency
  // (ten-thousandths), floats, date-time kinds, texts.
  int64_t RawInt() const { return FInt; }
  double RawDouble() const { return FDouble; }
  const std::string& RawText() const { return FText; }
  const std::u16string& RawWide() const { return FWide; }

  // Standard conversions (raise EVariantTypeCastError when impossible; a null
  // converts to nothing but text, which is empty).
  std::string AsString() const;
  std::u16string AsWideString() const;
  double AsDouble() const;
  int64_t AsInt64() const;
  int AsInteger() const { return static_cast<int>(AsInt64()); }
  bool AsBoolean() const;
  int64_t AsCurrency() const;  // ten-thousandths
  TDateTime AsDateTime() const;
  // Whether an FMTBcd value fits the currency kind (at most 4 decimals, in range).
  bool BcdFitsCurrency() const;

  Variant ToType(TVarType AType) const;

  bool operator==(const Variant& AOther) const;

private:
  [[noreturn]] void CastError(TVarType ATarget) const;

  TVarType FType = varEmpty;
  int64_t FInt = 0;
  double FDouble = 0;
  std::string FText;
  std::u16string FWide;
};

// The class library's name of a variant kind ("Integer", "OleStr", ...).
const char* VarTypeName(TVarType AType);

}  // namespace kv
