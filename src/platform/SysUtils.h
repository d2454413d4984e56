// Number and date texts of the class library: the platform's format settings
// and the conversions that use them.
//
// Date-times are the class library's `TDateTime`: a double counting days from
// 1899-12-30, the fraction being the time of day.  The format settings are a
// process setting with these defaults: short date "yyyy-mm-dd", long time
// "hh:nn:ss", decimal separator ".", thousands separator ",", and the currency
// settings 2 decimals, symbol "￥", positive format 0, negative format 2.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kv {

using TDateTime = double;

struct TFormatSettings {
  std::string ShortDateFormat = "yyyy-mm-dd";
  std::string LongTimeFormat = "hh:nn:ss";
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  int CurrencyDecimals = 2;
  std::string CurrencyString = "\xEF\xBF\xA5";  // "￥" in UTF-8
  int CurrencyFormat = 0;
  int NegCurrFormat = 2;
};

// The process's format settings (the stand-in for the system locale).
TFormatSettings& FormatSettings();

// Floating point in general format, up to 15 significant digits:
// "1.5", "0.1", "1E20", "1.5E-5".
std::string FloatToStr(double AValue);
// General format with the given precision.
std::string FloatToStrGeneral(double AValue, int APrecision);
// The class library's FormatFloat: sections separated by ";", "0" and "#"
// digit places, "." decimal point, "," thousands separator, "E+"/"E-"
// exponents, quoted literals, anything else literal.
std::string FormatFloat(std::string_view AFormat, double AValue);

std::string IntToStr(int64_t AValue);
// Strict conversions; EConvertError when the text is not a number.
int64_t StrToInt64(std::string_view AText);
double StrToFloat(std::string_view AText);
bool TryStrToFloat(std::string_view AText, double& AValue);
bool TryStrToInt64(std::string_view AText, int64_t& AValue);

// Dates.
TDateTime EncodeDate(int AYear, int AMonth, int ADay);  // EConvertError when invalid
TDateTime EncodeTime(int AHour, int AMin, int ASec, int AMSec);
bool TryEncodeDate(int AYear, int AMonth, int ADay, TDateTime& AValue);
void DecodeDate(TDateTime AValue, int& AYear, int& AMonth, int& ADay);
void DecodeTime(TDateTime AValue, int& AHour, int& AMin, int& ASec, int& AMSec);
bool IsLeapYear(int AYear);
TDateTime Date();  // today, local time
TDateTime Now();

// FormatDateTime: yyyy, yy, m, mm, d, dd, h, hh, n, nn, s, ss, z, zzz, AM/PM
// not supported; "..." and '...' quote literals.
std::string FormatDateTime(std::string_view AFormat, TDateTime AValue);
std::string DateToStr(TDateTime AValue);
std::string TimeToStr(TDateTime AValue);
// Date, then the time when it is not midnight (the class library's rule).
std::string DateTimeToStr(TDateTime AValue);
// Parses "yyyy-mm-dd", "yyyy-mm-dd hh:nn[:ss[.zzz]]", "hh:nn[:ss]"
// (also with "/" or "T" separators).
bool TryStrToDateTime(std::string_view AText, TDateTime& AValue);

std::string Trim(std::string_view AText);
std::string TrimRight(std::string_view AText);

}  // namespace kv
