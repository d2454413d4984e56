// Value types of grid items and the comparison of values.
#include "gridpack/ValueTypes.h"

#include <cmath>

namespace kv {

const TcxValueType* ValueTypeOfFieldType(TFieldType AType) {
  switch (AType) {
    case ftString:
    case ftFixedChar:
    case ftGuid:
      return TcxStringValueType::Instance();
    case ftWideString:
      return TcxWideStringValueType::Instance();
    case ftSmallint:
      return TcxSmallintValueType::Instance();
    case ftInteger:
    case ftAutoInc:
      return TcxIntegerValueType::Instance();
    case ftWord:
      return TcxWordValueType::Instance();
    case ftLargeint:
      return TcxLargeIntValueType::Instance();
    case ftBoolean:
      return TcxBooleanValueType::Instance();
    case ftFloat:
      return TcxFloatValueType::Instance();
    case ftCurrency:
    case ftBCD:
      return TcxCurrencyValueType::Instance();
    case ftFMTBcd:
      return TcxFMTBcdValueType::Instance();
    case ftDate:
    case ftTime:
    case ftDateTime:
      return TcxDateTimeValueType::Instance();
    case ftTimeStamp:
      return TcxSQLTimeStampValueType::Instance();
    case ftBytes:
    case ftVarBytes:
    case ftBlob:
    case ftMemo:
    case ftGraphic:
    case ftFmtMemo:
    case ftTypedBinary:
      return TcxBLOBValueType::Instance();
    default:
      return TcxVariantValueType::Instance();
  }
}

namespace {

// 0: null or empty, 1: a number, 2: a text.
int Category(const Variant& AValue) {
  if (AValue.IsEmptyOrNull()) return 0;
  return AValue.IsTextKind() ? 2 : 1;
}

bool IsWholeKind(const Variant& AValue) { return AValue.IsIntegerKind() || AValue.VarType() == varBoolean; }

}  // namespace

bool VarIsNumeric(const Variant& AValue) {
  switch (AValue.VarType()) {
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64:
    case varSingle:
    case varDouble:
    case varCurrency:
    case varFMTBcd:
      return true;
    default:
      return false;
  }
}

int VarCompare(const Variant& A, const Variant& B) {
  int ca = Category(A), cb = Category(B);
  if (ca != cb) return ca < cb ? -1 : 1;
  if (ca == 0) return 0;
  if (ca == 2) {
    std::string a = A.AsString(), b = B.AsString();
    return a < b ? -1 : (a == b ? 0 : 1);
  }
  if (IsWholeKind(A) && IsWholeKind(B)) {
    int64_t a = A.RawInt(), b = B.RawInt();
    return a < b ? -1 : (a == b ? 0 : 1);
  }
  if (A.VarType() == varCurrency && B.VarType() == varCurrency) {
    int64_t a = A.RawInt(), b = B.RawInt();
    return a < b ? -1 : (a == b ? 0 : 1);
  }
  auto number = [](const Variant& V) {
    return V.VarType() == varBoolean ? static_cast<double>(V.RawInt() != 0) : V.AsDouble();
  };
  double a = number(A), b = number(B);
  if (std::isnan(a) || std::isnan(b)) return std::isnan(a) == std::isnan(b) ? 0 : (std::isnan(a) ? -1 : 1);
  return a < b ? -1 : (a == b ? 0 : 1);
}

}  // namespace kv
