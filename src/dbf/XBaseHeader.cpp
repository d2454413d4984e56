// Table header and field descriptors of `TXBase`: writing a new table
// (`CreateTable`, with its memo file) and reading and checking the header of an
// open table (`ReadHeader`).
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "dbf/XBase.h"
#include "dbf/XBaseLayout.h"
#include "platform/CodePage.h"
#include "platform/Files.h"
#include "platform/SysUtils.h"

namespace kv {

using namespace xbase;

namespace xbase {

uint8_t CodePageMark(int ACodePage) {
  switch (ACodePage) {
    case 936:
      return 0x4D;
    case 1252:
      return 0x03;
    case 932:
      return 0x13;
    case 949:
      return 0x4E;
    case 950:
      return 0x4F;
    case 874:
      return 0x50;
    case 1250:
      return 0xC8;
    case 1251:
      return 0xC9;
    case 1253:
      return 0xCB;
    case 1254:
      return 0xCA;
    case 1255:
      return 0x7D;
    case 1256:
      return 0x7E;
    case 1257:
      return 0xCC;
    default:
      return 0x00;
  }
}

}  // namespace xbase

namespace {

char UpperAscii(char C) { return (C >= 'a' && C <= 'z') ? static_cast<char>(C - 'a' + 'A') : C; }

// Applies the fixed sizes of the typed fields; returns true for memo types.
bool FixFieldSize(TDBFFieldStruct& AField) {
  AField.FieldType = UpperAscii(AField.FieldType);
  struct TFixed {
    char Type;
    uint8_t Length, Decimals;
  };
  static constexpr TFixed Fixed[] = {{'D', 8, 0}, {'T', 8, 0}, {'N', 20, 2}, {'Y', 8, 2}, {'F', 8, 2},
                                     {'I', 8, 0}, {'L', 1, 0}, {'M', 10, 0}, {'G', 10, 0}};
  for (const TFixed& f : Fixed)
    if (f.Type == AField.FieldType) {
      AField.FieldLength = f.Length;
      AField.FieldDecimals = f.Decimals;
    }
  return AField.FieldType == 'M' || AField.FieldType == 'G';
}

// Writes a file whole; file errors reach the caller as the stream errors.
void WriteNewFile(const std::string& APath, const std::vector<uint8_t>& ABytes) {
  TFileStream f(APath, fmCreate);
  f.WriteBuffer(ABytes.data(), ABytes.size());
}

}  // namespace

void TXBase::CreateTable(const std::string& AFileName, const std::vector<TDBFFieldStruct>& AFields) {
  std::vector<TDBFFieldStruct> fields = AFields;
  std::string ext = ExtractFileExt(AFileName);
  std::string path = SameTextAscii(ext, ".dbf") ? AFileName : AFileName + ".dbf";

  bool memo = false;
  uint64_t recordLength = 1;
  for (TDBFFieldStruct& field : fields) {
    memo = FixFieldSize(field) || memo;
    recordLength += field.FieldLength;
  }
  uint64_t headerLength = HeaderSize * fields.size() + HeaderSize + 1;
  // Lengths that do not fit their 16-bit header slots would make a file no
  // reader can walk.
  if (headerLength > 0xFFFF || recordLength > 0xFFFF) throw EXBaseException(MsgTableTooLarge);

  std::vector<uint8_t> bytes(headerLength + 1, 0);
  int year, month, day;
  DecodeDate(Date(), year, month, day);
  bytes[HdrVersion] = memo ? VersionMemo : VersionPlain;
  bytes[HdrYear] = static_cast<uint8_t>(year - 1900);
  bytes[HdrMonth] = static_cast<uint8_t>(month);
  bytes[HdrDay] = static_cast<uint8_t>(day);
  PutU16(&bytes[HdrHeaderLength], static_cast<uint16_t>(headerLength));
  PutU16(&bytes[HdrRecordLength], static_cast<uint16_t>(recordLength));
  bytes[HdrCodePageMark] = CodePageMark(SystemCodePage());
  uint8_t* desc = &bytes[HeaderSize];
  for (const TDBFFieldStruct& field : fields) {
    std::string name = UpperCaseAscii(ToSystemBytes(field.FieldName));
    for (size_t i = 0; i < name.size() && i < FieldNameSize; ++i) desc[i] = static_cast<uint8_t>(name[i]);
    desc[DescType] = static_cast<uint8_t>(field.FieldType);
    desc[DescLength] = field.FieldLength;
    desc[DescDecimals] = field.FieldDecimals;
    desc += DescriptorSize;
  }
  bytes[headerLength - 1] = HeaderTerminator;
  bytes[headerLength] = EndOfFile;
  WriteNewFile(path, bytes);

  if (memo) {
    // The memo file's header block: next free block 1, the rest zero.
    std::vector<uint8_t> block(MemoBlockSize, 0);
    PutU32(block.data(), 1);
    WriteNewFile(ChangeFileExt(path, ExtractFileExt(path) == ".DBF" ? ".DBT" : ".dbt"), block);
  }
}

void TXBase::ReadHeader() {
  FHeaderValid = false;
  FBlankRecno = 0;
  try {
    if (!FIsOpen || !FDataStream) throw EXBaseException(MsgReadHeader);
    int64_t fileSize = FDataStream->Size();
    std::array<uint8_t, HeaderSize> header{};
    if (fileSize < static_cast<int64_t>(HeaderSize)) throw EXBaseException(MsgReadHeader);
    FDataStream->ReadBufferAt(0, header.data(), header.size());

    int headerLength = GetU16(&header[HdrHeaderLength]);
    int recordLength = GetU16(&header[HdrRecordLength]);
    int64_t recordCount = GetU32(&header[HdrRecordCount]);
    // The field count is derived from the header length, rounded to the
    // nearest integer with halves to even.
    long fieldCount = std::lrint((headerLength - 33) / 32.0);
    bool fits = fieldCount >= 0 && fieldCount <= MaxFields && headerLength >= 32 * (fieldCount + 1) + 1 &&
                recordLength >= 1 && recordLength <= MaxRecordLength && recordCount < INT32_MAX &&
                headerLength + recordCount * recordLength <= fileSize;
    if (!fits) throw EXBaseException(MsgReadHeader);

    std::array<std::array<uint8_t, DescriptorSize>, MaxFields> descs{};
    FDataStream->ReadBufferAt(HeaderSize, descs.data(), DescriptorSize * static_cast<size_t>(fieldCount));
    // Each field's 1-based position in the record: the deletion flag is
    // position 1.  The fields must exactly fill the record.
    uint32_t position = 2;
    std::vector<std::string> names;
    for (long i = 0; i < fieldCount; ++i) {
      PutU32(&descs[i][DescPosition], position);
      position += descs[i][DescLength];
      const char* name = reinterpret_cast<const char*>(descs[i].data());
      names.push_back(UpperCaseAscii(std::string(name, strnlen(name, FieldNameSize))));
    }
    if (position != static_cast<uint32_t>(recordLength) + 1) throw EXBaseException(MsgReadHeader);

    FHeader = header;
    FFieldDescs = descs;
    FFirstOfName.assign(names.size(), true);
    for (size_t i = 0; i < names.size(); ++i)
      for (size_t j = 0; j < i && FFirstOfName[i]; ++j) FFirstOfName[i] = names[j] != names[i];
    FFieldNames = std::move(names);
    FLastFieldIndex = 0;
    FFieldCount = static_cast<int32_t>(fieldCount);
    FHeaderValid = true;
    FRecno = 1;
    ReadRecord();
  } catch (const Exception&) {
    FHeader.fill(0);
    FFieldCount = 0;
    FFieldNames.clear();
    FFirstOfName.clear();
    FRecno = 0;
    FHeaderValid = false;
    throw EXBaseException(MsgReadHeader);
  }
}

}  // namespace kv
