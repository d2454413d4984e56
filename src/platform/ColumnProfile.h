// Choosing field types for loaded data: what the values of one column allow,
// and the field type that holds them all.
//
// Loaders (SQLite, CSV) feed every value of a column into a `TColumnProfile`
// and then ask for the field type, optionally starting from a declared type.
// A declared type is kept when every value fits it; otherwise the column is
// widened (small integer -> integer -> large integer -> float -> text, date ->
// date-time -> text) so that no value is lost or changed.  String sizes are
// byte counts of the values in the system code page, at least the declared
// size.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/DB.h"

namespace kv {

// Texts longer than this (in bytes) make a text column a memo column.
constexpr size_t MaxStringFieldSize = 8192;

class TColumnProfile {
 public:
  void AddNull() {}
  void AddInteger(int64_t AValue);
  void AddFloat(double AValue);
  // A text value; classified by its form (integer, number, date, date-time,
  // time, Boolean word) and measured.
  void AddText(std::string_view AText);
  void AddBlob(size_t ASize);

  // The field type and size for the column.  ADeclared ftUnknown means "from
  // the values alone".
  TFieldType Resolve(TFieldType ADeclared, int ADeclaredSize, int& ASize) const;

  size_t NonNull() const { return FNonNull; }
  // Bytes of all values added with AddText.
  size_t TextBytes() const { return FTextBytes; }

 private:
  TFieldType FromValues(int& ASize) const;
  bool AllIntegers() const { return FIntegers == FNonNull; }
  bool AllNumbers() const { return FNumbers == FNonNull; }
  TFieldType IntegerKind(TFieldType AAtLeast) const;
  int TextSize() const;
  void CountInteger(int64_t AValue);
  void CountNumber(double AValue, size_t ADecimals);
  void Measure(size_t ABytes, size_t AChars);

  size_t FNonNull = 0;
  size_t FIntegers = 0;   // integer values and canonical integer texts
  size_t FNumbers = 0;    // integers, reals and numeric texts
  size_t FBooleans = 0;   // 0/1 integers and Boolean words
  size_t FBoolWords = 0;  // "true"/"false" texts
  size_t FDates = 0;      // "yyyy-mm-dd"
  size_t FDateTimes = 0;  // dates and "yyyy-mm-dd hh:nn[:ss[.zzz]]"
  size_t FTimes = 0;      // "hh:nn[:ss]"
  size_t FBlobs = 0;
  int64_t FMin = 0, FMax = 0;  // of the integers
  double FMaxAbs = 0;          // largest magnitude of the numbers
  size_t FMaxDecimals = 0;     // most decimals of a number's text
  size_t FMaxBytes = 0;        // longest value in bytes of the system code page
  size_t FMaxChars = 0;        // longest value in characters
  size_t FTextBytes = 0;       // of all texts added
};

// Readers of the text forms a profile recognises, for loaders that convert
// values themselves.  Each answers false when the text is not of its form and
// otherwise gives exactly the value the field classes' SetAsString stores.
//   ReadIntegerText: "-?(0|[1-9][0-9]*)" within 64 bits.
//   ReadNumberText: an integer text with an optional fraction and exponent
//     ("-0.5", "1.5E3"), finite.
//   ReadDateTimeText: "yyyy-mm-dd" naming a real day, optionally followed by
//     " " or "T" and "hh:nn", "hh:nn:ss" or "hh:nn:ss.zzz".
bool ReadIntegerText(std::string_view AText, int64_t& AValue);
bool ReadNumberText(std::string_view AText, double& AValue);
bool ReadDateTimeText(std::string_view AText, TDateTime& AValue);

// The field type of an SQL declared column type ("VARCHAR(20)", "DECIMAL(12,2)",
// "DATETIME", ...), with its size (characters, decimals); ftUnknown for an
// empty or unrecognised declaration.
TFieldType FieldTypeOfDeclaration(std::string_view ADeclared, int& ASize);

}  // namespace kv
