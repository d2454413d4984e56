// The `TXBase` component: its properties, activation (opening and closing the
// table and memo files), events, and the field access of the record buffer.
#include "dbf/XBase.h"

#include <cstring>

#include "dbf/XBaseLayout.h"
#include "platform/CodePage.h"
#include "platform/Files.h"

namespace kv {

using namespace xbase;

namespace {

// The existing file of ABaseName with the extension AExt in lower or upper
// case (tables made on case-insensitive systems often carry ".DBF"); the
// lower-case name when neither exists.
std::string ExistingWithExt(const std::string& ABaseName, const std::string& ALowerExt, bool APreferUpper) {
  std::string lower = ABaseName + ALowerExt;
  std::string upper = ABaseName + UpperCaseAscii(ALowerExt);
  const std::string& first = APreferUpper ? upper : lower;
  const std::string& second = APreferUpper ? lower : upper;
  if (FileExists(first)) return first;
  if (FileExists(second)) return second;
  return lower;
}

}  // namespace

TXBase::TXBase(TComponent* AOwner) : TComponent(AOwner) {}

TXBase::~TXBase() { CloseFiles(); }

std::string TXBase::Filename() const { return FBaseName + ".dbf"; }

void TXBase::SetFilename(const std::string& AValue) {
  FBaseName = ChangeFileExt(AValue, "");
  Activate();
}

void TXBase::SetActive(bool AValue) {
  FActive = AValue;
  Activate();
}

void TXBase::Activate() {
  std::string tablePath = ExistingWithExt(FBaseName, ".dbf", false);
  if (FActive && !FileExists(tablePath)) FActive = false;
  if (FActive && !FIsOpen) {
    // An error from here on reaches the caller with the table counting as
    // open; setting Active false closes it.
    FDataStream = std::make_unique<TFileStream>(tablePath, fmOpenReadWrite | fmShareExclusive);
    FIsOpen = true;
    ReadHeader();
    if (FHeader[HdrVersion] == VersionMemo || FHeader[HdrVersion] == VersionMemoAlt) {
      std::string memoPath = ExistingWithExt(FBaseName, ".dbt", ExtractFileExt(tablePath) == ".DBF");
      auto memo = std::make_unique<TFileStream>(memoPath, fmOpenReadWrite | fmShareExclusive);
      // The header block must be there, and its next free block must neither
      // be the header itself nor lie beyond the end of the file.
      int64_t size = memo->Size();
      if (size < MemoBlockSize) throw EXBaseException(MsgReadHeader);
      memo->ReadBufferAt(0, FMemoHeader.data(), FMemoHeader.size());
      uint32_t next = NextMemoBlock();
      if (next == 0 || next > (size + MemoBlockSize - 1) / MemoBlockSize) throw EXBaseException(MsgReadHeader);
      FMemoStream = std::move(memo);
    }
  } else if (!FActive && FIsOpen) {
    CloseFiles();
  }
}

void TXBase::CloseFiles() {
  FMemoStream.reset();
  FDataStream.reset();
  FIsOpen = false;
  FHeaderValid = false;
  FBlankRecno = 0;
}

uint32_t TXBase::RecordCount() const { return GetU32(&FHeader[HdrRecordCount]); }
uint16_t TXBase::HeaderLength() const { return GetU16(&FHeader[HdrHeaderLength]); }
uint16_t TXBase::RecordLength() const { return GetU16(&FHeader[HdrRecordLength]); }
uint32_t TXBase::NextMemoBlock() const { return GetU32(FMemoHeader.data()); }

bool TXBase::Deleted() const { return FIsOpen && FRecordBuf[0] == DeletedFlag; }

void TXBase::SetDeleted(bool AValue) {
  if (!FIsOpen) return;
  if (AValue)
    FRecordBuf[0] = DoDeleting() ? DeletedFlag : LiveFlag;
  else
    FRecordBuf[0] = LiveFlag;
}

bool TXBase::DoChanging() {
  bool allowed = true;
  if (OnChanging) OnChanging(this, allowed);
  return allowed;
}

bool TXBase::DoDeleting() {
  bool allowed = true;
  if (OnDeleting) OnDeleting(this, allowed);
  return allowed;
}

std::string TXBase::PadLeft(const std::string& AText, int AWidth) {
  if (AWidth <= static_cast<int>(AText.size())) return AText;
  return std::string(static_cast<size_t>(AWidth) - AText.size(), ' ') + AText;
}

std::string TXBase::PadRight(const std::string& AText, int AWidth) {
  if (AWidth <= static_cast<int>(AText.size())) return AText;
  return AText + std::string(static_cast<size_t>(AWidth) - AText.size(), ' ');
}

std::string TXBase::GetFieldName(int AIndex) const {
  if (AIndex < 1 || AIndex > FFieldCount) throw EXBaseException(MsgInvalidFieldNumber + std::to_string(AIndex));
  return FromSystemBytes(FFieldNames[static_cast<size_t>(AIndex - 1)]);
}

int TXBase::FieldIndex(const std::string& AFieldName) const {
  // The first name looked at is field 1's, so a table without fields raises.
  if (FFieldCount < 1) GetFieldName(1);
  std::string wanted = UpperCaseAscii(ToSystemBytes(AFieldName));
  size_t next = static_cast<size_t>(FLastFieldIndex) % FFieldNames.size();
  if (FFirstOfName[next] && FFieldNames[next] == wanted) return FLastFieldIndex = static_cast<int>(next) + 1;
  for (size_t i = 0; i < FFieldNames.size(); ++i)
    if (FFieldNames[i] == wanted) return FLastFieldIndex = static_cast<int>(i) + 1;
  return 0;
}

void TXBase::SetFieldByName(const std::string& AFieldName, const std::string& AValue) {
  int index = FieldIndex(AFieldName);
  if (index < 1) throw EXBaseException(MsgBadFieldName);
  if (FFieldDescs[static_cast<size_t>(index - 1)][DescType] == 'M')
    SetMemoByIndex(index, AValue);
  else
    SetFieldByIndex(index, AValue);
}

void TXBase::SetFieldByIndex(int AIndex, const std::string& AValue) {
  if (AIndex < 1 || AIndex > FFieldCount) throw EXBaseException(MsgBadFieldIndex);
  size_t end = AValue.size();
  while (end > 0 && static_cast<unsigned char>(AValue[end - 1]) <= 32) --end;
  std::string bytes = ToSystemBytes(std::string_view(AValue).substr(0, end));
  const auto& desc = FFieldDescs[static_cast<size_t>(AIndex - 1)];
  int length = desc[DescLength];
  // An empty value or one that does not fit is left out; the field keeps its bytes.
  if (bytes.empty() || static_cast<int>(bytes.size()) > length) return;
  // Padded in place: N and M right-aligned (PadLeft), the rest left-aligned
  // (PadRight).  ReadHeader made sure every field lies inside the record buffer.
  uint8_t* field = &FRecordBuf[GetU32(&desc[DescPosition]) - 1];
  size_t pad = static_cast<size_t>(length) - bytes.size();
  bool rightAligned = desc[DescType] == 'N' || desc[DescType] == 'M';
  std::memset(rightAligned ? field : field + bytes.size(), ' ', pad);
  std::memcpy(rightAligned ? field + pad : field, bytes.data(), bytes.size());
  FModified = true;
}

}  // namespace kv
