// CSV loader: splits the text into rows of values, checks their shape and
// turns the columns into fields.
#include "platform/CsvLoader.h"

#include <vector>

#include "platform/ColumnProfile.h"
#include "platform/DBFields.h"
#include "platform/Files.h"
#include "platform/Streams.h"

namespace kv {

namespace {

struct TCsvRow {
  int Line = 0;  // line the row starts on, from 1
  std::vector<std::string> Values;
  std::vector<bool> Quoted;  // a quoted empty value is an empty text, not a null
};

// The length of the valid UTF-8 sequence at APos, 0 when it is not one.
size_t Utf8SequenceLength(const std::string& s, size_t APos) {
  unsigned char c = static_cast<unsigned char>(s[APos]);
  size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
  if (n == 0 || APos + n > s.size()) return 0;
  for (size_t i = 1; i < n; ++i)
    if ((static_cast<unsigned char>(s[APos + i]) & 0xC0) != 0x80) return 0;
  if (n == 2 && c < 0xC2) return 0;  // overlong
  return n;
}

class TCsvReader {
 public:
  TCsvReader(const std::string& AText, const std::string& AName) : FText(AText), FName(AName) {
    if (FText.compare(0, 3, "\xEF\xBB\xBF") == 0) FPos = 3;
  }

  // The next row; false at the end of the text.
  bool Next(TCsvRow& ARow) {
    // Skip empty lines.
    while (FPos < FText.size() && (FText[FPos] == '\n' || FText[FPos] == '\r')) NewLine();
    if (FPos >= FText.size()) return false;
    ARow.Line = FLine;
    ARow.Values.clear();
    ARow.Quoted.clear();
    std::string value;
    bool quoted = false;
    for (;;) {
      if (FPos >= FText.size()) {
        Push(ARow, value, quoted);
        return true;
      }
      char c = FText[FPos];
      if (c == '"' && value.empty() && !quoted) {
        quoted = true;
        ReadQuoted(value, ARow.Line);
      } else if (c == ',') {
        ++FPos;
        Push(ARow, value, quoted);
      } else if (c == '\n' || c == '\r') {
        NewLine();
        Push(ARow, value, quoted);
        return true;
      } else {
        AppendChar(value);
      }
    }
  }

  [[noreturn]] void Fail(int ALine, const std::string& AWhat) const {
    throw EDatabaseError(FName + ", line " + std::to_string(ALine) + ": " + AWhat);
  }

 private:
  void Push(TCsvRow& ARow, std::string& AValue, bool& AQuoted) {
    ARow.Values.push_back(std::move(AValue));
    ARow.Quoted.push_back(AQuoted);
    AValue.clear();
    AQuoted = false;
  }

  // Consumes one line break (LF, CR LF or CR).
  void NewLine() {
    if (FText[FPos] == '\r' && FPos + 1 < FText.size() && FText[FPos + 1] == '\n') ++FPos;
    ++FPos;
    ++FLine;
  }

  // Appends one UTF-8 character from the text, checking its encoding.
  void AppendChar(std::string& AValue) {
    size_t n = Utf8SequenceLength(FText, FPos);
    if (n == 0) Fail(FLine, "the text is not valid UTF-8");
    AValue.append(FText, FPos, n);
    FPos += n;
  }

  // Reads a quoted value from its opening quote on; text after the closing
  // quote up to the next separator is kept as written.
  void ReadQuoted(std::string& AValue, int AStartLine) {
    ++FPos;
    for (;;) {
      if (FPos >= FText.size()) Fail(AStartLine, "a quoted value is not closed");
      char c = FText[FPos];
      if (c == '"') {
        if (FPos + 1 < FText.size() && FText[FPos + 1] == '"') {
          AValue.push_back('"');
          FPos += 2;
          continue;
        }
        ++FPos;
        return;
      }
      if (c == '\n' || c == '\r') {
        size_t start = FPos;
        NewLine();
        AValue.append(FText, start, FPos - start);
        continue;
      }
      AppendChar(AValue);
    }
  }

  const std::string& FText;
  std::string FName;
  size_t FPos = 0;
  int FLine = 1;
};

}  // namespace

void LoadCsvText(const std::string& AText, const std::string& AName, TMemDataSet& ADataSet,
                 const TLoadProgress& AProgress) {
  TCsvReader reader(AText, AName);
  TCsvRow header;
  if (!reader.Next(header))
    throw EDatabaseError(AName + ": the file is empty (a header row naming the columns is needed)");
  std::vector<std::string> names;
  for (size_t i = 0; i < header.Values.size(); ++i) {
    std::string name = Trim(header.Values[i]);
    if (name.empty()) name = "Column" + std::to_string(i + 1);
    for (const std::string& earlier : names)
      if (SameTextAscii(earlier, name)) reader.Fail(header.Line, "the header names the column \"" + name + "\" twice");
    names.push_back(name);
  }

  std::vector<TCsvRow> rows;
  std::vector<TColumnProfile> profiles(names.size());
  TCsvRow row;
  while (reader.Next(row)) {
    if (row.Values.size() != names.size())
      reader.Fail(row.Line, std::to_string(row.Values.size()) + (row.Values.size() == 1 ? " value" : " values") +
                                ", but the header names " + std::to_string(names.size()) + " columns");
    for (size_t c = 0; c < names.size(); ++c) {
      if (row.Values[c].empty() && !row.Quoted[c])
        profiles[c].AddNull();
      else
        profiles[c].AddText(row.Values[c]);
    }
    rows.push_back(std::move(row));
    row = TCsvRow();
    if (AProgress && rows.size() % LoadProgressStep == 0) AProgress(static_cast<int>(rows.size()));
  }
  if (AProgress) AProgress(static_cast<int>(rows.size()));

  ADataSet.Close();
  ADataSet.FieldDefs().Clear();
  for (size_t c = 0; c < names.size(); ++c) {
    int size = 0;
    TFieldType type = profiles[c].Resolve(ftUnknown, 0, size);
    ADataSet.FieldDefs().Add(names[c], type, size);
  }
  ADataSet.CreateDataSet();
  ADataSet.Reserve(rows.size());
  ADataSet.DisableControls();
  try {
    for (TCsvRow& r : rows) {
      ADataSet.Append();
      for (size_t c = 0; c < names.size(); ++c) {
        if (r.Values[c].empty() && !r.Quoted[c]) continue;
        try {
          ADataSet.Fields(static_cast<int>(c))->SetAsString(r.Values[c]);
        } catch (const Exception& e) {
          reader.Fail(r.Line, e.Message());
        }
      }
      ADataSet.Post();
      r = TCsvRow();
    }
    ADataSet.First();
  } catch (...) {
    ADataSet.EnableControls();
    throw;
  }
  ADataSet.EnableControls();
}

void LoadCsvFile(const std::string& AFileName, TMemDataSet& ADataSet, const TLoadProgress& AProgress) {
  if (DirectoryExists(AFileName)) throw EDatabaseError("cannot read \"" + AFileName + "\": it is a folder");
  if (!FileExists(AFileName)) throw EDatabaseError("cannot read \"" + AFileName + "\": the file does not exist");
  std::string text;
  try {
    text = ReadFileBytes(AFileName);
  } catch (const Exception& e) {
    throw EDatabaseError("cannot read \"" + AFileName + "\": " + e.Message());
  }
  LoadCsvText(text, AFileName, ADataSet, AProgress);
}

}  // namespace kv
