// Number and date conversions after the class library's rules.
#include "platform/SysUtils.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "platform/Exceptions.h"

namespace kv {

TFormatSettings& FormatSettings() {
  static TFormatSettings settings;
  return settings;
}

namespace {

// Decimal digits of |AValue| with 15 significant digits: digits (no leading
// zeros unless the value is zero) and the decimal exponent such that the
// value is 0.d1d2d3... x 10^exp.
struct TDecimal {
  std::string Digits;
  int Exponent = 0;
  bool Negative = false;
};

TDecimal ToDecimal(double AValue, int APrecision) {
  TDecimal d;
  d.Negative = std::signbit(AValue) && AValue != 0;
  double v = std::fabs(AValue);
  if (v == 0) {
    d.Digits.assign(1, '0');  // (assign from a literal trips a GCC 12 -Wrestrict false positive)
    d.Exponent = 1;
    return d;
  }
  // Scientific form d.ddddde[+-]xx, rounded as printf's "%.*e" rounds.
  char buf[64];
  const char* end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, APrecision - 1).ptr;
  const char* e = std::find(static_cast<const char*>(buf), end, 'e');
  for (const char* p = buf; p < e; ++p)
    if (*p != '.') d.Digits.push_back(*p);
  int exp10 = 0;
  std::from_chars(e + 2, end, exp10);
  if (e[1] == '-') exp10 = -exp10;
  while (d.Digits.size() > 1 && d.Digits.back() == '0') d.Digits.pop_back();
  d.Exponent = exp10 + 1;
  return d;
}

// Rounds a 15-digit decimal to ADecimals places after the point (half away
// from zero); returns integer digits and fraction digits.
void RoundFixed(const TDecimal& d, int ADecimals, std::string& AInt, std::string& AFrac) {
  // Build the full digit string with the decimal point at Exponent.
  std::string digits = d.Digits;
  int pointPos = d.Exponent;  // digits before the point
  if (pointPos < 0) {
    digits.insert(0, static_cast<size_t>(-pointPos), '0');
    pointPos = 0;
  }
  if (static_cast<int>(digits.size()) < pointPos) digits.append(static_cast<size_t>(pointPos) - digits.size(), '0');
  int keep = pointPos + ADecimals;
  if (static_cast<int>(digits.size()) < keep) digits.append(static_cast<size_t>(keep) - digits.size(), '0');
  bool roundUp = static_cast<int>(digits.size()) > keep && digits[static_cast<size_t>(keep)] >= '5';
  digits.resize(static_cast<size_t>(keep));
  if (roundUp) {
    int i = keep - 1;
    while (i >= 0) {
      if (digits[static_cast<size_t>(i)] == '9') {
        digits[static_cast<size_t>(i)] = '0';
        --i;
      } else {
        ++digits[static_cast<size_t>(i)];
        break;
      }
    }
    if (i < 0) {
      digits.insert(digits.begin(), '1');
      ++pointPos;
    }
  }
  AInt = digits.substr(0, static_cast<size_t>(pointPos));
  AFrac = digits.substr(static_cast<size_t>(pointPos));
  size_t nz = AInt.find_first_not_of('0');
  AInt = nz == std::string::npos ? std::string() : AInt.substr(nz);
}

}  // namespace

std::string FloatToStrGeneral(double AValue, int APrecision) {
  if (std::isnan(AValue)) return "NAN";
  if (std::isinf(AValue)) return AValue > 0 ? "INF" : "-INF";
  TDecimal d = ToDecimal(AValue, APrecision);
  std::string out = d.Negative ? "-" : "";
  const char sep = FormatSettings().DecimalSeparator;
  if (d.Digits == "0") return "0";
  if (d.Exponent > APrecision || d.Exponent < -3) {
    // Scientific: d.dddE[-]x
    out.push_back(d.Digits[0]);
    if (d.Digits.size() > 1) {
      out.push_back(sep);
      out.append(d.Digits.substr(1));
    }
    out.push_back('E');
    out.append(std::to_string(d.Exponent - 1));
    return out;
  }
  if (d.Exponent <= 0) {
    out.push_back('0');
    out.push_back(sep);
    out.append(static_cast<size_t>(-d.Exponent), '0');
    out.append(d.Digits);
    return out;
  }
  if (static_cast<int>(d.Digits.size()) <= d.Exponent) {
    out.append(d.Digits);
    out.append(static_cast<size_t>(d.Exponent) - d.Digits.size(), '0');
    return out;
  }
  out.append(d.Digits.substr(0, static_cast<size_t>(d.Exponent)));
  out.push_back(sep);
  out.append(d.Digits.substr(static_cast<size_t>(d.Exponent)));
  return out;
}

std::string FloatToStr(double AValue) { return FloatToStrGeneral(AValue, 15); }

namespace {

// Splits a FormatFloat format into its ";" sections, honouring quotes.
std::vector<std::string> SplitSections(std::string_view f) {
  std::vector<std::string> out(1);
  char quote = 0;
  for (char c : f) {
    if (quote) {
      if (c == quote) quote = 0;
      out.back().push_back(c);
    } else if (c == '"' || c == '\'') {
      quote = c;
      out.back().push_back(c);
    } else if (c == ';') {
      out.emplace_back();
    } else {
      out.back().push_back(c);
    }
  }
  return out;
}

std::string FormatSection(const std::string& sec, double AValue, bool AWithMinus) {
  // Scan: literal prefix up to the first placeholder, literal suffix after the
  // last one; in between '.', ',', 'E+'/'E-' and digit places.
  size_t first = std::string::npos, last = std::string::npos;
  char quote = 0;
  for (size_t i = 0; i < sec.size(); ++i) {
    char c = sec[i];
    if (quote) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '"' || c == '\'') { quote = c; continue; }
    if (c == '0' || c == '#' || c == '.' || c == ',') {
      if (first == std::string::npos) first = i;
      last = i;
    } else if ((c == 'E' || c == 'e') && i + 1 < sec.size() && (sec[i + 1] == '+' || sec[i + 1] == '-') &&
               first != std::string::npos) {
      size_t j = i + 2;
      while (j < sec.size() && sec[j] == '0') ++j;
      last = j - 1;
      i = j - 1;
    }
  }
  auto literal = [](std::string_view s) {
    std::string out;
    char q = 0;
    for (char c : s) {
      if (q) {
        if (c == q) q = 0; else out.push_back(c);
      } else if (c == '"' || c == '\'') {
        q = c;
      } else {
        out.push_back(c);
      }
    }
    return out;
  };
  if (first == std::string::npos) return literal(sec);
  std::string prefix = literal(std::string_view(sec).substr(0, first));
  std::string suffix = literal(std::string_view(sec).substr(last + 1));
  std::string body = sec.substr(first, last - first + 1);

  bool thousands = false, point = false, sci = false, sciPlus = false;
  int intZeros = 0, fracZeros = 0, fracHashes = 0, expZeros = 0;
  for (size_t i = 0; i < body.size(); ++i) {
    char c = body[i];
    if ((c == 'E' || c == 'e') && i + 1 < body.size()) {
      sci = true;
      sciPlus = body[i + 1] == '+';
      for (size_t j = i + 2; j < body.size() && body[j] == '0'; ++j) ++expZeros;
      break;
    }
    if (c == '.') {
      if (!point) point = true;
    } else if (c == ',') {
      if (!point) thousands = true;
    } else if (c == '0') {
      if (point) { ++fracZeros; } else { ++intZeros; }
    } else if (c == '#') {
      if (point) ++fracHashes;
    }
  }
  const TFormatSettings& fs = FormatSettings();
  double v = std::fabs(AValue);
  std::string ip, fp;
  int expValue = 0;
  if (sci) {
    if (v != 0) {
      expValue = static_cast<int>(std::floor(std::log10(v)));
      int intDigits = intZeros > 0 ? intZeros : 1;
      expValue -= intDigits - 1;
      v /= std::pow(10.0, expValue);
    }
  }
  TDecimal d = ToDecimal(v, 15);
  RoundFixed(d, fracZeros + fracHashes, ip, fp);
  // Trim optional fraction digits.
  while (static_cast<int>(fp.size()) > fracZeros && !fp.empty() && fp.back() == '0') fp.pop_back();
  if (static_cast<int>(ip.size()) < intZeros) ip.insert(0, static_cast<size_t>(intZeros) - ip.size(), '0');
  bool isZero = ip.find_first_not_of('0') == std::string::npos && fp.find_first_not_of('0') == std::string::npos;
  if (thousands && ip.size() > 3) {
    std::string grouped;
    size_t lead = ip.size() % 3;
    for (size_t i = 0; i < ip.size(); ++i) {
      if (i != 0 && (i + 3 - lead) % 3 == 0) grouped.push_back(fs.ThousandSeparator);
      grouped.push_back(ip[i]);
    }
    ip = grouped;
  }
  std::string num = ip;
  if (!fp.empty()) {
    num.push_back(fs.DecimalSeparator);
    num += fp;
  }
  if (sci) {
    num.push_back('E');
    if (expValue < 0) num.push_back('-');
    else if (sciPlus) num.push_back('+');
    std::string e = std::to_string(std::abs(expValue));
    if (static_cast<int>(e.size()) < expZeros) e.insert(0, static_cast<size_t>(expZeros) - e.size(), '0');
    num += e;
  }
  std::string sign = (AWithMinus && AValue < 0 && !isZero) ? "-" : "";
  return sign + prefix + num + suffix;
}

}  // namespace

std::string FormatFloat(std::string_view AFormat, double AValue) {
  if (AFormat.empty()) return FloatToStr(AValue);
  std::vector<std::string> sections = SplitSections(AFormat);
  if (AValue == 0 && sections.size() >= 3 && !sections[2].empty()) return FormatSection(sections[2], 0, false);
  if (AValue < 0 && sections.size() >= 2 && !sections[1].empty()) return FormatSection(sections[1], AValue, false);
  return FormatSection(sections[0], AValue, true);
}

std::string IntToStr(int64_t AValue) { return std::to_string(AValue); }

bool TryStrToInt64(std::string_view AText, int64_t& AValue) {
  std::string s = Trim(AText);
  if (s.empty()) return false;
  char* end = nullptr;
  errno = 0;
  long long v = std::strtoll(s.c_str(), &end, 10);
  if (errno != 0 || *end != '\0') return false;
  AValue = v;
  return true;
}

int64_t StrToInt64(std::string_view AText) {
  int64_t v;
  if (!TryStrToInt64(AText, v)) throw EConvertError("'" + std::string(AText) + "' is not a valid integer value");
  return v;
}

bool TryStrToFloat(std::string_view AText, double& AValue) {
  std::string s = Trim(AText);
  if (s.empty()) return false;
  for (char& c : s)
    if (c == FormatSettings().DecimalSeparator) c = '.';
  char* end = nullptr;
  double v = std::strtod(s.c_str(), &end);
  if (*end != '\0') return false;
  if (s.find_first_of("xXpP") != std::string::npos) return false;  // no hex floats
  AValue = v;
  return true;
}

double StrToFloat(std::string_view AText) {
  double v;
  if (!TryStrToFloat(AText, v)) throw EConvertError("'" + std::string(AText) + "' is not a valid floating point value");
  return v;
}

bool IsLeapYear(int y) { return (y % 4 == 0) && (y % 100 != 0 || y % 400 == 0); }

namespace {
const int DaysInMonth[2][12] = {{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
                                {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}};

// Days from 0001-01-01 (day 1) in the proleptic Gregorian calendar.
int64_t DaysFromCivil(int y, int m, int d) {
  int64_t days = 0;
  int64_t yy = y - 1;
  days = yy * 365 + yy / 4 - yy / 100 + yy / 400;
  for (int i = 0; i < m - 1; ++i) days += DaysInMonth[IsLeapYear(y)][i];
  return days + d;
}
const int64_t DateDelta = 693594;  // days from 0001-01-01 to 1899-12-31
}  // namespace

bool TryEncodeDate(int AYear, int AMonth, int ADay, TDateTime& AValue) {
  if (AYear < 1 || AYear > 9999 || AMonth < 1 || AMonth > 12 || ADay < 1 ||
      ADay > DaysInMonth[IsLeapYear(AYear)][AMonth - 1])
    return false;
  AValue = static_cast<double>(DaysFromCivil(AYear, AMonth, ADay) - DateDelta);
  return true;
}

TDateTime EncodeDate(int AYear, int AMonth, int ADay) {
  TDateTime v;
  if (!TryEncodeDate(AYear, AMonth, ADay, v)) throw EConvertError("Invalid argument to date encode");
  return v;
}

TDateTime EncodeTime(int AHour, int AMin, int ASec, int AMSec) {
  if (AHour < 0 || AHour > 23 || AMin < 0 || AMin > 59 || ASec < 0 || ASec > 59 || AMSec < 0 || AMSec > 999)
    throw EConvertError("Invalid argument to time encode");
  return (AHour * 3600000.0 + AMin * 60000.0 + ASec * 1000.0 + AMSec) / 86400000.0;
}

void DecodeDate(TDateTime AValue, int& AYear, int& AMonth, int& ADay) {
  int64_t n = static_cast<int64_t>(std::trunc(AValue)) + DateDelta;  // day number from 0001-01-01 = 1
  // Civil-from-days on a 400-year cycle.
  int64_t t = n - 1;
  int64_t y = 1;
  y += 400 * (t / 146097); t %= 146097;
  int64_t c = t / 36524; if (c == 4) c = 3; y += 100 * c; t -= c * 36524;
  y += 4 * (t / 1461); t %= 1461;
  int64_t k = t / 365; if (k == 4) k = 3; y += k; t -= k * 365;
  int m = 0;
  bool leap = IsLeapYear(static_cast<int>(y));
  while (t >= DaysInMonth[leap][m]) { t -= DaysInMonth[leap][m]; ++m; }
  AYear = static_cast<int>(y);
  AMonth = m + 1;
  ADay = static_cast<int>(t) + 1;
}

void DecodeTime(TDateTime AValue, int& AHour, int& AMin, int& ASec, int& AMSec) {
  double frac = std::fabs(AValue - std::trunc(AValue));
  int64_t ms = static_cast<int64_t>(std::llround(frac * 86400000.0));
  if (ms >= 86400000) ms = 86399999;
  AHour = static_cast<int>(ms / 3600000);
  AMin = static_cast<int>(ms / 60000 % 60);
  ASec = static_cast<int>(ms / 1000 % 60);
  AMSec = static_cast<int>(ms % 1000);
}

TDateTime Now() {
  std::time_t t = std::time(nullptr);
  std::tm lt{};
  localtime_r(&t, &lt);
  return EncodeDate(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday) + EncodeTime(lt.tm_hour, lt.tm_min, lt.tm_sec, 0);
}

TDateTime Date() { return std::floor(Now()); }

std::string FormatDateTime(std::string_view f, TDateTime v) {
  int y, mo, d, h, mi, s, ms;
  DecodeDate(v, y, mo, d);
  DecodeTime(v, h, mi, s, ms);
  std::string out;
  auto pad = [](int x, size_t w) {
    std::string t = std::to_string(x);
    if (t.size() < w) t.insert(0, w - t.size(), '0');
    return t;
  };
  size_t i = 0;
  auto run = [&](char c) {
    size_t n = 0;
    while (i + n < f.size() && (f[i + n] | 0x20) == c) ++n;
    return n;
  };
  while (i < f.size()) {
    char c = f[i];
    char lc = static_cast<char>(c | 0x20);
    if (c == '"' || c == '\'') {
      size_t j = f.find(c, i + 1);
      if (j == std::string_view::npos) j = f.size();
      out.append(f.substr(i + 1, j - i - 1));
      i = j + 1;
      continue;
    }
    size_t n;
    switch (lc) {
      case 'y': n = run('y'); out += n <= 2 ? pad(y % 100, 2) : pad(y, 4); i += n; break;
      case 'm': n = run('m'); out += pad(mo, n >= 2 ? 2 : 1); i += n; break;
      case 'd': n = run('d'); out += pad(d, n >= 2 ? 2 : 1); i += n; break;
      case 'h': n = run('h'); out += pad(h, n >= 2 ? 2 : 1); i += n; break;
      case 'n': n = run('n'); out += pad(mi, n >= 2 ? 2 : 1); i += n; break;
      case 's': n = run('s'); out += pad(s, n >= 2 ? 2 : 1); i += n; break;
      case 'z': n = run('z'); out += pad(ms, n >= 3 ? 3 : 1); i += n; break;
      default: out.push_back(c); ++i; break;
    }
  }
  return out;
}

std::string DateToStr(TDateTime v) { return FormatDateTime(FormatSettings().ShortDateFormat, v); }
std::string TimeToStr(TDateTime v) { return FormatDateTime(FormatSettings().LongTimeFormat, v); }
std::string DateTimeToStr(TDateTime v) {
  int h, mi, s, ms;
  DecodeTime(v, h, mi, s, ms);
  if (h == 0 && mi == 0 && s == 0 && ms == 0) return DateToStr(v);
  return DateToStr(v) + " " + TimeToStr(v);
}

bool TryStrToDateTime(std::string_view AText, TDateTime& AValue) {
  std::string s = Trim(AText);
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, sec = 0, ms = 0;
  int consumed = 0;
  TDateTime date = 0;
  bool hasDate = false;
  if (std::sscanf(s.c_str(), "%4d-%2d-%2d%n", &y, &mo, &d, &consumed) == 3 ||
      std::sscanf(s.c_str(), "%4d/%2d/%2d%n", &y, &mo, &d, &consumed) == 3) {
    if (!TryEncodeDate(y, mo, d, date)) return false;
    hasDate = true;
    s = s.substr(static_cast<size_t>(consumed));
    if (!s.empty() && (s[0] == ' ' || s[0] == 'T')) s = s.substr(1);
    if (s.empty()) {
      AValue = date;
      return true;
    }
  }
  int n = 0;
  double fracSec = 0;
  if (std::sscanf(s.c_str(), "%2d:%2d%n", &h, &mi, &n) == 2) {
    std::string rest = s.substr(static_cast<size_t>(n));
    if (!rest.empty()) {
      int n2 = 0;
      if (std::sscanf(rest.c_str(), ":%lf%n", &fracSec, &n2) != 1 || static_cast<size_t>(n2) != rest.size())
        return false;
      sec = static_cast<int>(fracSec);
      ms = static_cast<int>(std::lround((fracSec - sec) * 1000));
      if (ms > 999) ms = 999;
    }
    if (h > 23 || mi > 59 || sec > 59 || h < 0 || mi < 0 || sec < 0) return false;
    TDateTime t = EncodeTime(h, mi, sec, ms);
    AValue = hasDate ? date + t : t;
    return true;
  }
  return false;
}

std::string Trim(std::string_view AText) {
  size_t b = 0, e = AText.size();
  while (b < e && static_cast<unsigned char>(AText[b]) <= ' ') ++b;
  while (e > b && static_cast<unsigned char>(AText[e - 1]) <= ' ') --e;
  return std::string(AText.substr(b, e - b));
}

std::string TrimRight(std::string_view AText) {
  size_t e = AText.size();
  while (e > 0 && static_cast<unsigned char>(AText[e - 1]) <= ' ') --e;
  return std::string(AText.substr(0, e));
}

}  // namespace kv
