// Value classification and field type choice for loaded columns.
#include "platform/ColumnProfile.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/SysUtils.h"

namespace kv {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits from APos on; returns how many.
size_t Digits(std::string_view s, size_t& APos) {
  size_t start = APos;
  while (APos < s.size() && IsDigit(s[APos])) ++APos;
  return APos - start;
}

// "-?(0|[1-9][0-9]*)": the integer part of a canonical number.
bool CanonicalInteger(std::string_view s, size_t& APos) {
  if (APos < s.size() && s[APos] == '-') ++APos;
  size_t start = APos;
  size_t n = Digits(s, APos);
  return n > 0 && (n == 1 || s[start] != '0');
}

// Two or four digits at APos as a number.
int TwoDigits(std::string_view s, size_t APos) { return (s[APos] - '0') * 10 + (s[APos + 1] - '0'); }

// "yyyy-mm-dd" with digits in their places.
bool DateShape(std::string_view s) {
  if (s.size() < 10 || s[4] != '-' || s[7] != '-') return false;
  for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
    if (!IsDigit(s[i])) return false;
  return true;
}

// The date-time value of a day (as EncodeDate gives it) from a closed
// formula, for the millions of dates a big file holds: days from 1970-01-01
// on the proleptic Gregorian calendar (H. Hinnant's days_from_civil), plus the
// 25,569 days from 1899-12-30.  False for a day that does not exist.
bool EncodeDay(int AYear, int AMonth, int ADay, TDateTime& AValue) {
  static const int MonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (AYear < 1 || AYear > 9999 || AMonth < 1 || AMonth > 12 || ADay < 1) return false;
  const bool leap = AYear % 4 == 0 && (AYear % 100 != 0 || AYear % 400 == 0);
  if (ADay > MonthDays[AMonth - 1] + (AMonth == 2 && leap ? 1 : 0)) return false;
  const int y = AYear - (AMonth <= 2 ? 1 : 0);
  const int era = y / 400;
  const int yearOfEra = y - era * 400;
  const int dayOfYear = (153 * (AMonth + (AMonth > 2 ? -3 : 9)) + 2) / 5 + ADay - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  AValue = static_cast<double>(int64_t(era) * 146097 + dayOfEra - 719468 + 25569);
  return true;
}

// "yyyy-mm-dd" naming a real day, the first ten characters of s.
bool ReadDate(std::string_view s, TDateTime& AValue) {
  return DateShape(s) && EncodeDay(TwoDigits(s, 0) * 100 + TwoDigits(s, 2), TwoDigits(s, 5), TwoDigits(s, 8), AValue);
}

bool IsDateText(std::string_view s) {
  TDateTime d;
  return s.size() == 10 && ReadDate(s, d);
}

// "hh:nn" or "hh:nn:ss" with an optional ".zzz", read as the date functions
// read it: the seconds with their fraction as one number, the milliseconds
// rounded from it.
bool ReadTime(std::string_view s, TDateTime& AValue) {
  if (s.size() < 5 || !IsDigit(s[0]) || !IsDigit(s[1]) || s[2] != ':' || !IsDigit(s[3]) || !IsDigit(s[4])) return false;
  const int h = TwoDigits(s, 0), mi = TwoDigits(s, 3);
  int sec = 0, ms = 0;
  size_t p = 5;
  if (p < s.size()) {
    if (s[p] != ':' || p + 2 >= s.size() || !IsDigit(s[p + 1]) || !IsDigit(s[p + 2])) return false;
    p += 3;
    if (p < s.size()) {
      if (s[p] != '.') return false;
      ++p;
      if (Digits(s, p) == 0 || p != s.size()) return false;
      double fracSec = 0;
      const char* first = s.data() + 6;
      if (std::from_chars(first, s.data() + s.size(), fracSec).ec != std::errc()) return false;
      sec = static_cast<int>(fracSec);
      ms = static_cast<int>(std::lround((fracSec - sec) * 1000));
      if (ms > 999) ms = 999;
    } else {
      sec = TwoDigits(s, 6);
    }
  }
  if (h > 23 || mi > 59 || sec > 59) return false;
  AValue = EncodeTime(h, mi, sec, ms);
  return true;
}

bool IsTimeText(std::string_view s) {
  TDateTime t;
  return ReadTime(s, t);
}

bool IsDateTimeText(std::string_view s) {
  TDateTime v;
  return ReadDateTimeText(s, v);
}

// Digits after the decimal point of a number text (before any exponent).
size_t DecimalsOf(std::string_view s) {
  size_t dot = s.find('.');
  if (dot == std::string_view::npos) return 0;
  size_t p = dot + 1;
  return Digits(s, p);
}

size_t Utf8Chars(std::string_view s) {
  size_t n = 0;
  for (char c : s)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

// "true" / "false" in any case: 1; the other words a declared Boolean
// column accepts ("T", "F", "Y", "N", "Yes", "No"): 2; otherwise 0.
int BooleanWord(std::string_view s) {
  if (s.empty() || s.size() > 5) return 0;
  char upper[5];
  for (size_t i = 0; i < s.size(); ++i) upper[i] = s[i] >= 'a' && s[i] <= 'z' ? static_cast<char>(s[i] - 32) : s[i];
  const std::string_view u(upper, s.size());
  if (u == "TRUE" || u == "FALSE") return 1;
  if (u == "T" || u == "F" || u == "Y" || u == "N" || u == "YES" || u == "NO") return 2;
  return 0;
}

}  // namespace

bool ReadIntegerText(std::string_view AText, int64_t& AValue) {
  size_t p = 0;
  if (!CanonicalInteger(AText, p) || p != AText.size()) return false;
  const bool negative = AText[0] == '-';
  // The 64-bit range: up to 2^63 - 1, or 2^63 below zero.
  const uint64_t limit = negative ? uint64_t(1) << 63 : (uint64_t(1) << 63) - 1;
  uint64_t v = 0;
  for (size_t i = negative ? 1 : 0; i < AText.size(); ++i) {
    const uint64_t digit = static_cast<uint64_t>(AText[i] - '0');
    if (v > (limit - digit) / 10) return false;
    v = v * 10 + digit;
  }
  AValue = negative ? static_cast<int64_t>(0 - v) : static_cast<int64_t>(v);
  return true;
}

bool ReadNumberText(std::string_view AText, double& AValue) {
  size_t p = 0;
  if (!CanonicalInteger(AText, p)) return false;
  if (p < AText.size() && AText[p] == '.') {
    ++p;
    if (Digits(AText, p) == 0) return false;
  }
  if (p < AText.size() && (AText[p] == 'e' || AText[p] == 'E')) {
    ++p;
    if (p < AText.size() && (AText[p] == '+' || AText[p] == '-')) ++p;
    if (Digits(AText, p) == 0) return false;
  }
  if (p != AText.size()) return false;
  // The common case directly; texts at the ends of the double range (and a
  // decimal separator that is one of the number's own characters) the way
  // the float field reads them.
  const char separator = FormatSettings().DecimalSeparator;
  double d = 0;
  const std::from_chars_result r = std::from_chars(AText.data(), AText.data() + AText.size(), d);
  const bool plain = separator == '.' || AText.find(separator) == std::string_view::npos;
  if (!plain || r.ec != std::errc() || r.ptr != AText.data() + AText.size()) {
    if (!TryStrToFloat(AText, d)) return false;
  }
  if (!std::isfinite(d)) return false;
  AValue = d;
  return true;
}

bool ReadDateTimeText(std::string_view AText, TDateTime& AValue) {
  TDateTime date, time;
  if (AText.size() < 10 || !ReadDate(AText, date)) return false;
  if (AText.size() == 10) {
    AValue = date;
    return true;
  }
  if (AText.size() <= 11 || (AText[10] != ' ' && AText[10] != 'T') || !ReadTime(AText.substr(11), time)) return false;
  AValue = date + time;
  return true;
}

void TColumnProfile::CountInteger(int64_t AValue) {
  if (FIntegers == 0) FMin = FMax = AValue;
  FMin = std::min(FMin, AValue);
  FMax = std::max(FMax, AValue);
  ++FIntegers;
  CountNumber(static_cast<double>(AValue), 0);
}

void TColumnProfile::CountNumber(double AValue, size_t ADecimals) {
  ++FNumbers;
  FMaxAbs = std::max(FMaxAbs, std::fabs(AValue));
  FMaxDecimals = std::max(FMaxDecimals, ADecimals);
}

void TColumnProfile::Measure(size_t ABytes, size_t AChars) {
  FMaxBytes = std::max(FMaxBytes, ABytes);
  FMaxChars = std::max(FMaxChars, AChars);
}

void TColumnProfile::AddInteger(int64_t AValue) {
  ++FNonNull;
  CountInteger(AValue);
  if (AValue == 0 || AValue == 1) ++FBooleans;
  size_t len = IntToStr(AValue).size();
  Measure(len, len);
}

void TColumnProfile::AddFloat(double AValue) {
  ++FNonNull;
  std::string text = FloatToStr(AValue);
  if (std::isfinite(AValue)) CountNumber(AValue, DecimalsOf(text));
  Measure(text.size(), text.size());
}

void TColumnProfile::AddText(std::string_view AText) {
  ++FNonNull;
  FTextBytes += AText.size();
  // Numbers, dates and times start with a digit (or a minus sign).
  const char first = AText.empty() ? ' ' : AText[0];
  if (IsDigit(first) || first == '-') {
    int64_t v;
    if (ReadIntegerText(AText, v)) {
      CountInteger(v);
      if (v == 0 || v == 1) ++FBooleans;
      Measure(AText.size(), AText.size());
      return;
    }
    double d;
    if (ReadNumberText(AText, d)) CountNumber(d, DecimalsOf(AText));
    if (IsDigit(first)) {
      // A date is a date-time too; the time forms differ from both at the third character.
      if (IsDateText(AText)) {
        ++FDates;
        ++FDateTimes;
      } else if (IsDateTimeText(AText)) {
        ++FDateTimes;
      } else if (IsTimeText(AText)) {
        ++FTimes;
      }
    }
  }
  switch (BooleanWord(AText)) {
    case 1:
      ++FBoolWords;
      ++FBooleans;
      break;
    case 2:
      ++FBooleans;  // accepted by a declared Boolean column, not guessed as one
      break;
    default:
      break;
  }
  if (IsSevenBit(AText))
    Measure(AText.size(), AText.size());
  else
    Measure(EncodedLength(AText, SystemCodePage()), Utf8Chars(AText));
}

void TColumnProfile::AddBlob(size_t ASize) {
  ++FNonNull;
  ++FBlobs;
  Measure(ASize, ASize);
}

int TColumnProfile::TextSize() const { return static_cast<int>(std::max<size_t>(FMaxBytes, 1)); }

TFieldType TColumnProfile::IntegerKind(TFieldType AAtLeast) const {
  if (FIntegers == 0) return AAtLeast;
  if (AAtLeast == ftSmallint && FMin >= -32768 && FMax <= 32767) return ftSmallint;
  if (AAtLeast == ftWord && FMin >= 0 && FMax <= 65535) return ftWord;
  if (AAtLeast != ftLargeint && FMin >= INT32_MIN && FMax <= INT32_MAX)
    return AAtLeast == ftAutoInc ? ftAutoInc : ftInteger;
  return ftLargeint;
}

TFieldType TColumnProfile::FromValues(int& ASize) const {
  ASize = 0;
  if (FNonNull == 0) {
    ASize = 1;
    return ftString;
  }
  if (FBlobs > 0) return ftBlob;
  if (FBoolWords == FNonNull) return ftBoolean;
  if (AllIntegers()) return IntegerKind(ftInteger);
  if (AllNumbers()) return ftFloat;
  if (FDates == FNonNull) return ftDate;
  if (FDateTimes == FNonNull) return ftDateTime;
  if (FMaxBytes > MaxStringFieldSize) return ftMemo;
  ASize = TextSize();
  return ftString;
}

TFieldType TColumnProfile::Resolve(TFieldType ADeclared, int ADeclaredSize, int& ASize) const {
  ASize = ADeclaredSize;
  switch (ADeclared) {
    case ftBoolean:
      if (FBooleans == FNonNull) return ftBoolean;
      break;
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftLargeint:
    case ftAutoInc:
      ASize = 0;
      if (AllIntegers()) return IntegerKind(ADeclared);
      if (AllNumbers()) return ftFloat;
      break;
    case ftBCD:
      // A BCD field holds four decimals within the Currency range; more
      // decimals or larger values need the decimal-text field.
      if (AllNumbers() && FMaxDecimals <= 4 && FMaxAbs < 9.2e14) return ftBCD;
      if (AllNumbers()) {
        ASize = std::max(ADeclaredSize, static_cast<int>(FMaxDecimals));
        return ftFMTBcd;
      }
      break;
    case ftFloat:
    case ftCurrency:
    case ftFMTBcd:
      if (AllNumbers()) return ADeclared;
      break;
    case ftDate:
      if (FDates == FNonNull) return ftDate;
      if (FDateTimes == FNonNull) return ftDateTime;
      break;
    case ftDateTime:
    case ftTimeStamp:
      if (FDateTimes == FNonNull) return ADeclared;
      break;
    case ftTime:
      if (FTimes == FNonNull) return ftTime;
      break;
    case ftString:
    case ftFixedChar:
      if (FMaxBytes > MaxStringFieldSize) return ftMemo;
      ASize = std::max(ADeclaredSize, TextSize());
      return ADeclared;
    case ftWideString:
      if (FMaxBytes > MaxStringFieldSize) return ftMemo;
      ASize = std::max({ADeclaredSize, static_cast<int>(FMaxChars), 1});
      return ftWideString;
    case ftGuid:
      if (FMaxChars <= 38 && FBlobs == 0) return ftGuid;
      break;
    case ftMemo:
    case ftFmtMemo:
    case ftBlob:
    case ftGraphic:
      return ADeclared;
    default:
      break;
  }
  return FromValues(ASize);
}

TFieldType FieldTypeOfDeclaration(std::string_view ADeclared, int& ASize) {
  ASize = 0;
  std::string decl = UpperCaseAscii(Trim(ADeclared));
  std::string name = decl;
  std::vector<int> params;
  size_t open = decl.find('(');
  if (open != std::string::npos) {
    name = Trim(decl.substr(0, open));
    size_t close = decl.find(')', open);
    std::string inner = decl.substr(open + 1, close == std::string::npos ? std::string::npos : close - open - 1);
    size_t start = 0;
    while (start <= inner.size()) {
      size_t comma = inner.find(',', start);
      int64_t v;
      if (TryStrToInt64(inner.substr(start, comma == std::string::npos ? std::string::npos : comma - start), v) &&
          v >= 0 && v < 100000)
        params.push_back(static_cast<int>(v));
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
  }
  auto is = [&](std::initializer_list<const char*> names) {
    for (const char* n : names)
      if (name == n) return true;
    return false;
  };
  auto has = [&](const char* part) { return name.find(part) != std::string::npos; };
  int first = params.empty() ? 0 : params[0];
  if (name.empty()) return ftUnknown;
  if (is({"BOOLEAN", "BOOL", "BIT", "LOGICAL"})) return ftBoolean;
  if (is({"SMALLINT", "INT2", "TINYINT"})) return ftSmallint;
  if (is({"BIGINT", "INT8", "UNSIGNED BIG INT"})) return ftLargeint;
  if (is({"MONEY", "CURRENCY", "SMALLMONEY"})) return ftCurrency;
  if (is({"DECIMAL", "NUMERIC", "NUMBER"})) {
    if (params.empty()) return ftFloat;
    int precision = params[0];
    ASize = params.size() > 1 ? params[1] : 0;
    return precision <= 18 && ASize <= 4 ? ftBCD : ftFMTBcd;
  }
  if (is({"DATE"})) return ftDate;
  if (is({"TIME"})) return ftTime;
  if (is({"DATETIME", "TIMESTAMP", "SMALLDATETIME", "DATETIME2"})) return ftDateTime;
  if (is({"GUID", "UUID", "UNIQUEIDENTIFIER"})) {
    ASize = 38;
    return ftGuid;
  }
  if (is({"MEMO", "LONGTEXT", "MEDIUMTEXT", "NTEXT", "CLOB", "NOTE", "LONGVARCHAR"})) return ftMemo;
  if (is({"IMAGE", "GRAPHIC", "PICTURE"})) return ftGraphic;
  if (is({"NCHAR", "NVARCHAR", "NATIONAL CHAR", "NATIONAL CHARACTER", "NATIONAL VARCHAR", "NATIVE CHARACTER",
          "NATIONAL CHARACTER VARYING", "NVARCHAR2"})) {
    ASize = first;
    return ftWideString;
  }
  if (is({"CHAR", "CHARACTER", "VARCHAR", "VARYING CHARACTER", "CHARACTER VARYING", "VARCHAR2", "STRING", "TEXT"})) {
    ASize = first;
    return ftString;
  }
  // The remaining declarations by the database's own affinity rules.
  if (has("INT")) return ftInteger;
  if (has("CHAR") || has("CLOB") || has("TEXT")) {
    ASize = first;
    return ftString;
  }
  if (has("BLOB") || has("BINARY")) return ftBlob;
  if (has("REAL") || has("FLOA") || has("DOUB")) return ftFloat;
  return ftUnknown;
}

}  // namespace kv
