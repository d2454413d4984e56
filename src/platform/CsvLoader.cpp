// CSV loader: splits the text into rows of values, checks their shape and
// turns the columns into fields.
#include "platform/CsvLoader.h"

#include <cmath>
#include <limits>
#include <string_view>
#include <vector>

#include "platform/ColumnProfile.h"
#include "platform/DBFields.h"
#include "platform/Files.h"
#include "platform/LargeMemory.h"
#include "platform/Streams.h"

namespace kv {

namespace {

// One value of a row: where its bytes are and whether it was quoted (a
// quoted empty value is an empty text, not a null).  Most values are a piece
// of the text itself; a quoted value with doubled quotes or with characters
// after its closing quote is rewritten into the row's buffer.
struct TCsvValue {
  size_t Offset;
  size_t Length;
  bool InBuffer;
  bool Quoted;
};

struct TCsvRow {
  int Line = 0;  // line the row starts on, from 1
  std::vector<TCsvValue> Values;
  std::string Buffer;

  std::string_view Text(std::string_view ASource, size_t AIndex) const {
    const TCsvValue& v = Values[AIndex];
    return std::string_view((v.InBuffer ? Buffer.data() : ASource.data()) + v.Offset, v.Length);
  }
  bool IsNull(size_t AIndex) const { return Values[AIndex].Length == 0 && !Values[AIndex].Quoted; }
};

// The length of the valid UTF-8 sequence at APos, 0 when it is not one.
size_t Utf8SequenceLength(std::string_view s, size_t APos) {
  unsigned char c = static_cast<unsigned char>(s[APos]);
  size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
  if (n == 0 || APos + n > s.size()) return 0;
  for (size_t i = 1; i < n; ++i)
    if ((static_cast<unsigned char>(s[APos + i]) & 0xC0) != 0x80) return 0;
  if (n == 2 && c < 0xC2) return 0;  // overlong
  return n;
}

constexpr bool EndsValue(char c) { return c == ',' || c == '\n' || c == '\r'; }

// The bytes that a value runs on over without a look: ASCII other than the
// separator and line breaks.
struct TPlainBytes {
  bool Plain[256] = {};
  constexpr TPlainBytes() {
    for (int c = 0; c < 0x80; ++c) Plain[c] = !EndsValue(static_cast<char>(c));
  }
};
constexpr TPlainBytes PlainBytes;

// Splits the text into rows of values.  Every character of a value is checked
// to be UTF-8 as it is read, so an error names the line it is on.
class TCsvReader {
 public:
  TCsvReader(std::string_view AText, const std::string& AName) : FText(AText), FName(AName) {
    if (FText.compare(0, 3, "\xEF\xBB\xBF") == 0) FPos = 3;
  }

  // The next row; false at the end of the text.
  bool Next(TCsvRow& ARow) {
    // Skip empty lines.
    while (FPos < FText.size() && (FText[FPos] == '\n' || FText[FPos] == '\r')) NewLine();
    if (FPos >= FText.size()) return false;
    ARow.Line = FLine;
    ARow.Values.clear();
    ARow.Buffer.clear();
    for (;;) {
      ReadValue(ARow);
      if (FPos >= FText.size()) return true;
      if (FText[FPos] == ',') {
        ++FPos;
        continue;
      }
      NewLine();
      return true;
    }
  }

  [[noreturn]] void Fail(int ALine, const std::string& AWhat) const {
    throw EDatabaseError(FName + ", line " + std::to_string(ALine) + ": " + AWhat);
  }

 private:
  // Consumes one line break (LF, CR LF or CR).
  void NewLine() {
    if (FText[FPos] == '\r' && FPos + 1 < FText.size() && FText[FPos + 1] == '\n') ++FPos;
    ++FPos;
    ++FLine;
  }

  // Steps over one UTF-8 character of a value, checking its encoding.
  void SkipChar() {
    if (static_cast<unsigned char>(FText[FPos]) < 0x80) {
      ++FPos;
      return;
    }
    size_t n = Utf8SequenceLength(FText, FPos);
    if (n == 0) Fail(FLine, "the text is not valid UTF-8");
    FPos += n;
  }

  // Reads one value up to the separator or line break that ends it (not
  // consumed) or the end of the text.
  void ReadValue(TCsvRow& ARow) {
    const size_t start = FPos;
    if (FPos >= FText.size() || FText[FPos] != '"') {
      for (;;) {
        while (FPos < FText.size() && PlainBytes.Plain[static_cast<unsigned char>(FText[FPos])]) ++FPos;
        if (FPos >= FText.size() || EndsValue(FText[FPos])) break;
        SkipChar();  // a non-ASCII character
      }
      ARow.Values.push_back({start, FPos - start, false, false});
      return;
    }
    // A quoted value that is the plain piece of text between its quotes.
    const int startLine = FLine;
    ++FPos;
    for (;;) {
      if (FPos >= FText.size()) Fail(startLine, "a quoted value is not closed");
      const char c = FText[FPos];
      if (c == '"') break;
      if (c == '\n' || c == '\r')
        NewLine();
      else
        SkipChar();
    }
    const size_t end = FPos++;
    if (FPos >= FText.size() || EndsValue(FText[FPos])) {
      ARow.Values.push_back({start + 1, end - start - 1, false, true});
      return;
    }
    // Doubled quotes or text after the closing quote: read it again into the buffer.
    FPos = start;
    FLine = startLine;
    const size_t offset = ARow.Buffer.size();
    ReadQuoted(ARow.Buffer, startLine);
    // Text after the closing quote up to the next separator is kept as written.
    while (FPos < FText.size() && !EndsValue(FText[FPos])) {
      const size_t from = FPos;
      SkipChar();
      ARow.Buffer.append(FText, from, FPos - from);
    }
    ARow.Values.push_back({offset, ARow.Buffer.size() - offset, true, true});
  }

  // Reads a quoted value from its opening quote on into AValue.
  void ReadQuoted(std::string& AValue, int AStartLine) {
    ++FPos;
    for (;;) {
      if (FPos >= FText.size()) Fail(AStartLine, "a quoted value is not closed");
      const size_t from = FPos;
      const char c = FText[FPos];
      if (c == '"') {
        if (FPos + 1 < FText.size() && FText[FPos + 1] == '"') {
          AValue.push_back('"');
          FPos += 2;
          continue;
        }
        ++FPos;
        return;
      }
      if (c == '\n' || c == '\r')
        NewLine();
      else
        SkipChar();
      AValue.append(FText, from, FPos - from);
    }
  }

  std::string_view FText;
  std::string FName;
  size_t FPos = 0;
  int FLine = 1;
};

[[noreturn]] void FailCount(const TCsvReader& AReader, const TCsvRow& ARow, size_t AColumns) {
  const size_t n = ARow.Values.size();
  AReader.Fail(ARow.Line, std::to_string(n) + (n == 1 ? " value" : " values") + ", but the header names " +
                              std::to_string(AColumns) + " columns");
}

// How the second pass stores the values of a column.
enum TStoreKind { skText, skInteger, skFloat, skDateTime, skBoolean, skField };

TStoreKind StoreKindOf(TFieldType AType) {
  switch (AType) {
    case ftString:
    case ftMemo:
      return skText;
    case ftInteger:
    case ftLargeint:
      return skInteger;
    case ftFloat:
      return skFloat;
    case ftDate:
    case ftDateTime:
      return skDateTime;
    case ftBoolean:
      return skBoolean;
    default:
      return skField;
  }
}

// Two passes over the text.  The first checks every row and profiles the
// columns, so that nothing changes in the dataset when the text has an error
// and the field types are known before any value is stored; the second reads
// the rows again and stores each value in its field's canonical form, the
// way the field's SetAsString would (values a fast reader does not take go
// through the field itself).
void LoadCsvBytes(std::string_view AText, const std::string& AName, TMemDataSet& ADataSet,
                  const TLoadProgress& AProgress) {
  TCsvReader reader(AText, AName);
  TCsvRow row;
  if (!reader.Next(row))
    throw EDatabaseError(AName + ": the file is empty (a header row naming the columns is needed)");
  std::vector<std::string> names;
  for (size_t i = 0; i < row.Values.size(); ++i) {
    std::string name = Trim(row.Text(AText, i));
    if (name.empty()) name = "Column" + std::to_string(i + 1);
    for (const std::string& earlier : names)
      if (SameTextAscii(earlier, name)) reader.Fail(row.Line, "the header names the column \"" + name + "\" twice");
    names.push_back(name);
  }
  const size_t columns = names.size();

  std::vector<TColumnProfile> profiles(columns);
  size_t records = 0;
  while (reader.Next(row)) {
    if (row.Values.size() != columns) FailCount(reader, row, columns);
    for (size_t c = 0; c < columns; ++c) {
      if (row.IsNull(c))
        profiles[c].AddNull();
      else
        profiles[c].AddText(row.Text(AText, c));
    }
    ++records;
    if (AProgress && records % LoadProgressStep == 0) AProgress(static_cast<int>(records));
  }
  if (records > size_t(std::numeric_limits<int>::max())) reader.Fail(row.Line, "too many rows for a dataset");
  if (AProgress) AProgress(static_cast<int>(records));

  ADataSet.Close();
  ADataSet.FieldDefs().Clear();
  std::vector<TStoreKind> kinds(columns);
  std::vector<bool> dates(columns);  // date fields keep the day only
  for (size_t c = 0; c < columns; ++c) {
    int size = 0;
    TFieldType type = profiles[c].Resolve(ftUnknown, 0, size);
    ADataSet.FieldDefs().Add(names[c], type, size);
    kinds[c] = StoreKindOf(type);
    dates[c] = type == ftDate;
  }
  ADataSet.CreateDataSet();
  ADataSet.Reserve(records);
  size_t textBytes = 0;
  for (size_t c = 0; c < columns; ++c)
    if (kinds[c] == skText) textBytes += profiles[c].TextBytes();
  ADataSet.ReserveText(textBytes);
  profiles.clear();

  ADataSet.DisableControls();
  try {
    ADataSet.AppendRecords(records);
    TCsvReader again(AText, AName);
    again.Next(row);  // the header
    for (int r = 0; again.Next(row); ++r) {
      for (size_t c = 0; c < columns; ++c) {
        if (row.IsNull(c)) continue;
        const std::string_view text = row.Text(AText, c);
        const int f = static_cast<int>(c);
        int64_t i;
        double d;
        switch (kinds[c]) {
          case skText:
            ADataSet.StoreText(r, f, text);
            continue;
          case skInteger:
            if (!ReadIntegerText(text, i)) break;
            ADataSet.StoreInteger(r, f, i);
            continue;
          case skFloat:
            if (!ReadNumberText(text, d)) break;
            ADataSet.StoreFloat(r, f, d);
            continue;
          case skDateTime:
            if (!ReadDateTimeText(text, d)) break;
            ADataSet.StoreFloat(r, f, dates[c] ? std::trunc(d) : d);
            continue;
          case skBoolean:
            if (SameTextAscii(text, "true") || SameTextAscii(text, "false")) {
              ADataSet.StoreInteger(r, f, SameTextAscii(text, "true") ? 1 : 0);
              continue;
            }
            break;
          default:
            break;
        }
        // Through the field itself, with its conversion and its message.
        try {
          ADataSet.SetRecNo(r + 1);
          ADataSet.Edit();
          ADataSet.Fields(f)->SetAsString(std::string(text));
          ADataSet.Post();
        } catch (const Exception& e) {
          ADataSet.Cancel();
          again.Fail(row.Line, e.Message());
        }
      }
    }
    ADataSet.First();
  } catch (...) {
    ADataSet.EnableControls();
    throw;
  }
  ADataSet.EnableControls();
}

}  // namespace

void LoadCsvText(const std::string& AText, const std::string& AName, TMemDataSet& ADataSet,
                 const TLoadProgress& AProgress) {
  LoadCsvBytes(AText, AName, ADataSet, AProgress);
}

void LoadCsvFile(const std::string& AFileName, TMemDataSet& ADataSet, const TLoadProgress& AProgress) {
  if (DirectoryExists(AFileName)) throw EDatabaseError("cannot read \"" + AFileName + "\": it is a folder");
  if (!FileExists(AFileName)) throw EDatabaseError("cannot read \"" + AFileName + "\": the file does not exist");
  // The whole file in one large buffer (a big file is read in one go).
  TLargeVector<char> text;
  try {
    TFileStream file(AFileName, fmOpenRead | fmShareDenyNone);
    text.resize(static_cast<size_t>(file.Size()));
    file.ReadBuffer(text.data(), text.size());
  } catch (const Exception& e) {
    throw EDatabaseError("cannot read \"" + AFileName + "\": " + e.Message());
  }
  LoadCsvBytes(std::string_view(text.data(), text.size()), AFileName, ADataSet, AProgress);
}

}  // namespace kv
