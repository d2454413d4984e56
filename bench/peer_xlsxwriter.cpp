// Peer for the CSV-to-workbook comparison: writes a CSV file as an .xlsx
// workbook with libxlsxwriter in its constant-memory mode (rows are written
// out as they are completed, strings inline).  It uses nothing of KvPublic.
//
// The CSV is read as the benchmark writes it: UTF-8, a header row, values
// separated by commas, double quotes around values holding commas, quotes or
// line breaks, LF or CR LF line ends.  Each column's kind comes from its first
// non-empty value: integer, number, date (yyyy-mm-dd), date-time
// (yyyy-mm-dd hh:nn:ss) or text; cells get their native type, dates and
// date-times a date format.  Empty values are left out.
//
//     peer_xlsxwriter IN.csv OUT.xlsx
#include <xlsxwriter.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

enum TKind { kUnknown, kInteger, kNumber, kDate, kDateTime, kText };

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AllDigits(const std::string& s, size_t from, size_t to) {
  for (size_t i = from; i < to; ++i)
    if (!IsDigit(s[i])) return false;
  return to > from;
}

TKind KindOf(const std::string& s) {
  if (s.size() == 10 && s[4] == '-' && s[7] == '-' && AllDigits(s, 0, 4) && AllDigits(s, 5, 7) && AllDigits(s, 8, 10))
    return kDate;
  if (s.size() == 19 && s[4] == '-' && s[7] == '-' && s[10] == ' ' && s[13] == ':' && s[16] == ':' &&
      AllDigits(s, 0, 4) && AllDigits(s, 11, 13))
    return kDateTime;
  size_t p = s[0] == '-' ? 1 : 0;
  size_t digits = p;
  while (digits < s.size() && IsDigit(s[digits])) ++digits;
  if (digits == p) return kText;
  if (digits == s.size()) return (digits - p == 1 || s[p] != '0') ? kInteger : kText;
  if (s[digits] != '.' || !AllDigits(s, digits + 1, s.size())) return kText;
  return kNumber;
}

int Number(const char* s, int n) {
  int v = 0;
  for (int i = 0; i < n; ++i) v = v * 10 + (s[i] - '0');
  return v;
}

// Splits the next record of the text from APos on into AValues; false at the end.
bool NextRecord(const std::string& AText, size_t& APos, std::vector<std::string>& AValues) {
  while (APos < AText.size() && (AText[APos] == '\n' || AText[APos] == '\r')) ++APos;
  if (APos >= AText.size()) return false;
  AValues.clear();
  std::string value;
  for (;;) {
    if (APos >= AText.size()) break;
    char c = AText[APos];
    if (c == '"' && value.empty()) {
      ++APos;
      while (APos < AText.size()) {
        if (AText[APos] == '"') {
          if (APos + 1 < AText.size() && AText[APos + 1] == '"') {
            value.push_back('"');
            APos += 2;
            continue;
          }
          ++APos;
          break;
        }
        value.push_back(AText[APos++]);
      }
    } else if (c == ',') {
      AValues.push_back(value);
      value.clear();
      ++APos;
    } else if (c == '\n' || c == '\r') {
      break;
    } else {
      size_t end = AText.find_first_of(",\r\n", APos);
      if (end == std::string::npos) end = AText.size();
      value.append(AText, APos, end - APos);
      APos = end;
    }
  }
  AValues.push_back(value);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: peer_xlsxwriter IN.csv OUT.xlsx\n");
    return 2;
  }
  std::FILE* in = std::fopen(argv[1], "rb");
  if (!in) {
    std::perror(argv[1]);
    return 1;
  }
  std::string text;
  char buffer[1 << 16];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) text.append(buffer, n);
  std::fclose(in);
  size_t pos = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;

  lxw_workbook_options options = {};
  options.constant_memory = LXW_TRUE;
  lxw_workbook* book = workbook_new_opt(argv[2], &options);
  if (!book) {
    std::fprintf(stderr, "peer_xlsxwriter: cannot create %s\n", argv[2]);
    return 1;
  }
  lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
  lxw_format* dateFormat = workbook_add_format(book);
  format_set_num_format(dateFormat, "yyyy-mm-dd");
  lxw_format* dateTimeFormat = workbook_add_format(book);
  format_set_num_format(dateTimeFormat, "yyyy-mm-dd hh:mm:ss");

  std::vector<std::string> values;
  std::vector<TKind> kinds;
  lxw_row_t row = 0;
  if (NextRecord(text, pos, values)) {
    for (size_t c = 0; c < values.size(); ++c)
      worksheet_write_string(sheet, 0, lxw_col_t(c), values[c].c_str(), nullptr);
    kinds.assign(values.size(), kUnknown);
    ++row;
  }
  while (NextRecord(text, pos, values)) {
    for (size_t c = 0; c < values.size() && c < kinds.size(); ++c) {
      const std::string& v = values[c];
      if (v.empty()) continue;
      if (kinds[c] == kUnknown) kinds[c] = KindOf(v);
      const lxw_col_t col = lxw_col_t(c);
      switch (kinds[c]) {
        case kInteger:
          worksheet_write_number(sheet, row, col, double(std::strtoll(v.c_str(), nullptr, 10)), nullptr);
          break;
        case kNumber:
          worksheet_write_number(sheet, row, col, std::strtod(v.c_str(), nullptr), nullptr);
          break;
        case kDate:
        case kDateTime: {
          const char* s = v.c_str();
          lxw_datetime when = {Number(s, 4), Number(s + 5, 2), Number(s + 8, 2), 0, 0, 0};
          if (kinds[c] == kDateTime && v.size() >= 19) {
            when.hour = Number(s + 11, 2);
            when.min = Number(s + 14, 2);
            when.sec = Number(s + 17, 2);
          }
          worksheet_write_datetime(sheet, row, col, &when, kinds[c] == kDate ? dateFormat : dateTimeFormat);
          break;
        }
        default:
          worksheet_write_string(sheet, row, col, v.c_str(), nullptr);
          break;
      }
    }
    ++row;
  }
  lxw_error error = workbook_close(book);
  if (error != LXW_NO_ERROR) {
    std::fprintf(stderr, "peer_xlsxwriter: %s\n", lxw_strerror(error));
    return 1;
  }
  return 0;
}
