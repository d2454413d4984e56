// Records and memos of `TXBase`: reading and writing the record buffer,
// appending blank records, moving to the last record, and writing memo texts
// into the memo file.
//
// Every change goes straight to the file with as few writes as the layout
// allows (one for a blank record and its end mark, one for a memo text), so
// that an error never loses the rows written before it.
#include <cstring>

#include "dbf/XBase.h"
#include "dbf/XBaseLayout.h"
#include "platform/CodePage.h"

namespace kv {

using namespace xbase;

int64_t TXBase::RecordOffset(int64_t ARecno) const {
  return static_cast<int64_t>(HeaderLength()) + (ARecno - 1) * static_cast<int64_t>(RecordLength());
}

void TXBase::ReadRecord() {
  uint32_t count = RecordCount();
  if (count == 0) return;
  if (!FIsOpen || !FHeaderValid || FRecno < 1 || static_cast<uint32_t>(FRecno) > count)
    throw EXBaseException(MsgReadRecord);
  if (FRecno == FBlankRecno) {
    std::memset(FRecordBuf.data(), LiveFlag, RecordLength());
    FModified = false;
    return;
  }
  try {
    FDataStream->ReadBufferAt(RecordOffset(FRecno), FRecordBuf.data(), RecordLength());
  } catch (const Exception&) {
    throw EXBaseException(MsgReadRecord);
  }
  FModified = false;
}

void TXBase::WriteRecord() {
  // Only an existing record is written: a Recno outside the table would put
  // the record over the header or past the end-of-file mark.
  if (!FIsOpen || !FHeaderValid || FRecno < 1 || static_cast<uint32_t>(FRecno) > RecordCount())
    throw EXBaseException(MsgWriteRecord);
  if (FRecno == FBlankRecno) FBlankRecno = 0;
  try {
    FDataStream->WriteBufferAt(RecordOffset(FRecno), FRecordBuf.data(), RecordLength());
  } catch (const Exception&) {
    throw EXBaseException(MsgWriteRecord);
  }
  FModified = false;
}

void TXBase::Post() { WriteRecord(); }

void TXBase::Append() {
  if (!FIsOpen) throw EXBaseException(MsgNotOpen);
  uint32_t count = RecordCount();
  if (!FHeaderValid || count >= INT32_MAX) throw EXBaseException(MsgAppend);
  PutU32(&FHeader[HdrRecordCount], ++count);
  FBlankRecno = 0;
  try {
    // The blank record and the new end-of-file mark in one write, then the
    // header with the new count, so the header never counts a record that
    // is not in the file.
    std::array<uint8_t, MaxRecordLength + 1> blank;
    size_t length = RecordLength();
    std::memset(blank.data(), LiveFlag, length);
    blank[length] = EndOfFile;
    FDataStream->WriteBufferAt(RecordOffset(count), blank.data(), length + 1);
    FDataStream->WriteBufferAt(0, FHeader.data(), FHeader.size());
    FBlankRecno = static_cast<int32_t>(count);
    if (OnAppended) OnAppended(this);
  } catch (...) {
    throw EXBaseException(MsgAppend);
  }
}

void TXBase::Last() {
  if (!FIsOpen) throw EXBaseException(MsgDatasetClosed);
  if (!DoChanging()) return;
  FRecno = static_cast<int32_t>(RecordCount());
  ReadRecord();
}

void TXBase::SetMemoByIndex(int AIndex, const std::string& AValue) {
  if (AIndex < 1 || AIndex > FFieldCount) throw EXBaseException(MsgBadMemoIndex);
  if (!FIsOpen || !FMemoStream) throw EXBaseException(MsgMemoNotOpen);
  uint32_t block = NextMemoBlock();
  std::string text = ToSystemBytes(AValue);
  uint64_t next = block + (text.size() + 2 + MemoBlockSize - 1) / MemoBlockSize;
  if (next > UINT32_MAX) throw EXBaseException(MsgWriteRecord);
  text.append(2, static_cast<char>(EndOfFile));
  try {
    // The old end of the memo file gets a second end mark, the text with its
    // two end marks goes to its block, then the header takes the next free
    // block.  The field is filled last, once the memo is in the file.
    static constexpr uint8_t EndMarks[2] = {EndOfFile, EndOfFile};
    FMemoStream->WriteBufferAt(FMemoStream->Size() - 1, EndMarks, sizeof EndMarks);
    FMemoStream->WriteBufferAt(static_cast<int64_t>(block) * MemoBlockSize, text.data(), text.size());
    PutU32(FMemoHeader.data(), static_cast<uint32_t>(next));
    FMemoStream->WriteBufferAt(0, FMemoHeader.data(), 4);
  } catch (const Exception&) {
    throw EXBaseException(MsgWriteRecord);
  }
  SetFieldByIndex(AIndex, std::to_string(block));
  FModified = true;
}

}  // namespace kv
