// The field classes of the class library stand-in, one per family of field
// types, and the factory that makes the field for a field definition.
//
// Each class keeps its value in one canonical form of `TFieldData`:
//   texts (string, wide string, fixed char, GUID, memo) and blobs: bytes (UTF-8 for texts)
//   integers, Booleans: int64
//   floats, currency fields: double
//   BCD fields: int64 ten-thousandths (the class library's Currency)
//   FMT-BCD fields: the decimal text
//   dates, times, date-times, time stamps: double TDateTime
// and answers `AsString` and `Value` by the class library's rules: dates in
// the short date format, date-times by DateTimeToStr, Booleans "True" /
// "False", floats by FloatToStr; currency and BCD fields give varCurrency,
// FMT-BCD fields varFMTBcd, date kinds varDate (time stamps varSQLTimeStamp).
#pragma once

#include <memory>

#include "platform/DB.h"

namespace kv {

// ftString, ftFixedChar (Size = characters, in bytes of the system code page).
class TStringField : public TField {
 public:
  explicit TStringField(int ASize = 20, TFieldType ADataType = ftString) : TField(ADataType, ASize) {}
  int DataSize() const override { return Size() + 1; }
  std::string AsString() const override;
  Variant Value() const override;
  void SetAsString(const std::string& AValue) override;
  bool FixedChar() const { return DataType() == ftFixedChar; }
};

// ftWideString: Size in characters; its buffer holds a string reference.
class TWideStringField : public TStringField {
 public:
  explicit TWideStringField(int ASize = 20) : TStringField(ASize, ftWideString) {}
  int DataSize() const override { return 4; }
  Variant Value() const override;
};

// ftGuid: a 38-character text "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}".
class TGuidField : public TStringField {
 public:
  TGuidField() : TStringField(38, ftGuid) {}
};

// The base of the number fields: right-justified, and shown through a
// display format when one is set (FormatFloat of the value; a null shows "").
class TNumericField : public TField {
 public:
  TNumericField(TFieldType ADataType, int ASize) : TField(ADataType, ASize) { Alignment = taRightJustify; }
  std::string DisplayText() const override;
  std::string DisplayFormat;
  std::string EditFormat;
};

// Integer kinds: value range checked on the way in.
class TIntegerField : public TNumericField {
 public:
  TIntegerField() : TIntegerField(ftInteger, INT32_MIN, INT32_MAX) {}
  int DataSize() const override { return 4; }
  std::string AsString() const override;
  int64_t AsLargeInt() const override;
  double AsFloat() const override { return static_cast<double>(AsLargeInt()); }
  Variant Value() const override;
  void SetAsString(const std::string& AValue) override;
  void SetAsLargeInt(int64_t AValue) override;
  void SetAsFloat(double AValue) override;
  void SetValue(const Variant& AValue) override;
  int64_t MinValue() const { return FMin; }
  int64_t MaxValue() const { return FMax; }

 protected:
  TIntegerField(TFieldType AType, int64_t AMin, int64_t AMax) : TNumericField(AType, 0), FMin(AMin), FMax(AMax) {}
  virtual TVarType VariantKind() const { return varInteger; }

 private:
  int64_t FMin, FMax;
};

class TSmallintField : public TIntegerField {
 public:
  TSmallintField() : TIntegerField(ftSmallint, -32768, 32767) {}
  int DataSize() const override { return 2; }
};

class TWordField : public TIntegerField {
 public:
  TWordField() : TIntegerField(ftWord, 0, 65535) {}
  int DataSize() const override { return 2; }
};

class TAutoIncField : public TIntegerField {
 public:
  TAutoIncField() : TIntegerField(ftAutoInc, INT32_MIN, INT32_MAX) {}
};

class TLargeintField : public TIntegerField {
 public:
  TLargeintField() : TIntegerField(ftLargeint, INT64_MIN, INT64_MAX) {}
  int DataSize() const override { return 8; }

 protected:
  TVarType VariantKind() const override { return varInt64; }
};

class TBooleanField : public TField {
 public:
  TBooleanField() : TField(ftBoolean, 0) {}
  int DataSize() const override { return 2; }
  std::string AsString() const override;
  bool AsBoolean() const override;
  Variant Value() const override;
  // Accepts "True"/"False" (any case), "T"/"F", "Y"/"N", "Yes"/"No", "1"/"0".
  void SetAsString(const std::string& AValue) override;
  void SetAsBoolean(bool AValue) override;
  void SetValue(const Variant& AValue) override;
};

// ftFloat; `Currency` only changes how the value is displayed by controls.
class TFloatField : public TNumericField {
 public:
  TFloatField() : TNumericField(ftFloat, 0) {}
  int DataSize() const override { return 8; }
  std::string AsString() const override;
  double AsFloat() const override;
  Variant Value() const override;
  void SetAsString(const std::string& AValue) override;
  void SetAsFloat(double AValue) override;
  void SetAsLargeInt(int64_t AValue) override { SetAsFloat(static_cast<double>(AValue)); }
  void SetValue(const Variant& AValue) override;
  bool Currency = false;
  int Precision = 15;

 protected:
  explicit TFloatField(TFieldType AType) : TNumericField(AType, 0) {}
};

// ftCurrency: a float field shown as money; its variant is varCurrency.
class TCurrencyField : public TFloatField {
 public:
  TCurrencyField() : TFloatField(ftCurrency) { Currency = true; }
  Variant Value() const override;
};

// ftBCD: Size = decimals; the value is a Currency (four decimals).
class TBCDField : public TNumericField {
 public:
  explicit TBCDField(int ASize = 4) : TNumericField(ftBCD, ASize) {}
  int DataSize() const override { return 34; }
  std::string AsString() const override;
  double AsFloat() const override;
  Variant Value() const override;
  void SetAsString(const std::string& AValue) override;
  void SetAsFloat(double AValue) override;
  void SetAsLargeInt(int64_t AValue) override;
  void SetValue(const Variant& AValue) override;
  int Precision = 18;
  // Shown as money by controls (as the float field's flag).
  bool Currency = false;
};

// ftFMTBcd: Size = decimals; the value is a decimal text of any length.
class TFMTBCDField : public TNumericField {
 public:
  explicit TFMTBCDField(int ASize = 8) : TNumericField(ftFMTBcd, ASize) {}
  int DataSize() const override { return 34; }
  std::string AsString() const override;
  double AsFloat() const override;
  Variant Value() const override;
  void SetAsString(const std::string& AValue) override;
  void SetAsFloat(double AValue) override;
  void SetAsLargeInt(int64_t AValue) override;
  void SetValue(const Variant& AValue) override;
  int Precision = 32;
  bool Currency = false;
};

// ftDateTime, and the base of the date and time fields.
class TDateTimeField : public TField {
 public:
  TDateTimeField() : TField(ftDateTime, 0) {}
  int DataSize() const override { return 8; }
  std::string AsString() const override;
  TDateTime AsDateTime() const override;
  double AsFloat() const override { return AsDateTime(); }
  Variant Value() const override;
  void SetAsString(const std::string& AValue) override;
  void SetAsDateTime(TDateTime AValue) override;
  void SetAsFloat(double AValue) override { SetAsDateTime(AValue); }
  void SetValue(const Variant& AValue) override;
  // FormatDateTime of the value when set; a null shows "".
  std::string DisplayText() const override;
  std::string DisplayFormat;

 protected:
  explicit TDateTimeField(TFieldType AType) : TField(AType, 0) {}
  // The stored form of a date-time: dates drop the time, times the date.
  virtual TDateTime Normalize(TDateTime AValue) const { return AValue; }
};

class TDateField : public TDateTimeField {
 public:
  TDateField() : TDateTimeField(ftDate) {}
  int DataSize() const override { return 4; }
  std::string AsString() const override;

 protected:
  TDateTime Normalize(TDateTime AValue) const override;
};

class TTimeField : public TDateTimeField {
 public:
  TTimeField() : TDateTimeField(ftTime) {}
  int DataSize() const override { return 4; }
  std::string AsString() const override;

 protected:
  TDateTime Normalize(TDateTime AValue) const override;
};

// ftTimeStamp: the data-access library's SQL time stamp.
class TSQLTimeStampField : public TDateTimeField {
 public:
  TSQLTimeStampField() : TDateTimeField(ftTimeStamp) {}
  int DataSize() const override { return 16; }
  Variant Value() const override;
};

// ftBlob, ftGraphic, ftTypedBinary and the base of memo fields: bytes of any
// length; the buffer holds no value (DataSize 0).
class TBlobField : public TField {
 public:
  explicit TBlobField(TFieldType AType = ftBlob, int ASize = 0) : TField(AType, ASize) {}
  int DataSize() const override { return 0; }
  std::string AsString() const override;
  Variant Value() const override;
  void SetAsString(const std::string& AValue) override;
};

// ftMemo, ftFmtMemo: text of any length.
class TMemoField : public TBlobField {
 public:
  explicit TMemoField(TFieldType AType = ftMemo) : TBlobField(AType) {}
};

// ftBytes (Size bytes) and ftVarBytes (up to Size bytes and a length word).
class TBytesField : public TBlobField {
 public:
  explicit TBytesField(int ASize = 16, TFieldType AType = ftBytes) : TBlobField(AType, ASize) {}
  int DataSize() const override { return DataType() == ftVarBytes ? Size() + 2 : Size(); }
};

// Makes the field class for a field type; EDatabaseError "Field type not
// supported: ftX" for types without one (cursors, ADTs, ...).
std::unique_ptr<TField> CreateFieldOfType(TFieldType AType, int ASize);

}  // namespace kv
