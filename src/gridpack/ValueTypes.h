// Value types of grid items: what kind of value an item's data holds.  An
// item's data binding names one (`ValueTypeClass`); data-bound items take it
// from the type of their field.  Each class has one shared instance; tests
// of the kind use dynamic_cast on it.
#pragma once

#include "platform/DB.h"
#include "platform/Variant.h"

namespace kv {

class TcxValueType {
 public:
  virtual ~TcxValueType() = default;
  // The variant kind values of this type are kept as.
  virtual TVarType VarType() const = 0;
  // The class name ("TcxStringValueType", ...).
  virtual const char* ClassName() const = 0;
};

#define KV_DECLARE_VALUE_TYPE(Name, Kind)                    \
  class Name : public TcxValueType {                         \
   public:                                                   \
    TVarType VarType() const override { return Kind; }       \
    const char* ClassName() const override { return #Name; } \
    static const Name* Instance() {                          \
      static const Name instance;                            \
      return &instance;                                      \
    }                                                        \
  }

KV_DECLARE_VALUE_TYPE(TcxStringValueType, varString);
KV_DECLARE_VALUE_TYPE(TcxWideStringValueType, varOleStr);
KV_DECLARE_VALUE_TYPE(TcxSmallintValueType, varSmallint);
KV_DECLARE_VALUE_TYPE(TcxIntegerValueType, varInteger);
KV_DECLARE_VALUE_TYPE(TcxWordValueType, varWord);
KV_DECLARE_VALUE_TYPE(TcxLargeIntValueType, varInt64);
KV_DECLARE_VALUE_TYPE(TcxBooleanValueType, varBoolean);
KV_DECLARE_VALUE_TYPE(TcxFloatValueType, varDouble);
KV_DECLARE_VALUE_TYPE(TcxCurrencyValueType, varCurrency);
KV_DECLARE_VALUE_TYPE(TcxFMTBcdValueType, varFMTBcd);
KV_DECLARE_VALUE_TYPE(TcxDateTimeValueType, varDate);
KV_DECLARE_VALUE_TYPE(TcxSQLTimeStampValueType, varSQLTimeStamp);
KV_DECLARE_VALUE_TYPE(TcxBLOBValueType, varString);
KV_DECLARE_VALUE_TYPE(TcxVariantValueType, varEmpty);

#undef KV_DECLARE_VALUE_TYPE

// The value type of a field of type AType (ftString -> string, ftCurrency and
// ftBCD -> currency, ftDate/ftTime/ftDateTime -> date-time, blobs and memos ->
// BLOB, ...; unknown types -> variant).
const TcxValueType* ValueTypeOfFieldType(TFieldType AType);

// Compares two values the way grouping, sorting, cell merging and minimum
// and maximum summaries do: null and empty first; numbers (integers,
// floats, currency, decimals, dates, Booleans) by value; texts by their
// bytes; a number before a text.  Returns <0, 0 or >0.
int VarCompare(const Variant& A, const Variant& B);
inline bool VarEquals(const Variant& A, const Variant& B) { return VarCompare(A, B) == 0; }
// Whether the value is a number for summaries (integer kinds, floats,
// currency, decimals; not Booleans, dates or texts).
bool VarIsNumeric(const Variant& AValue);

}  // namespace kv
