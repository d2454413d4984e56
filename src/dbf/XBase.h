// The dBASE table component `TXBase` and its field description
// `TDBFFieldStruct`.
//
// `TXBase` creates a new dBASE III table (".dbf", with a ".dbt" memo file when
// the table has memo fields), opens an existing one, appends blank records,
// fills the fields of the current record and writes it back.  It is
// write-oriented: it moves only to the last record and reads no field values
// back.
//
// Text: values and names are given as UTF-8 and stored in the system code page
// (kv::ToSystemBytes, GBK by default); every length rule (field widths,
// padding, the 11-byte name limit) counts bytes of that encoded form.
//
// Limits of an open table: at most 128 field descriptors and records of at most
// 4000 bytes.  Activation refuses larger or damaged files with
// EXBaseException "读文件头错误！"; nothing the file says makes the component
// read or write outside its buffers.
//
// Failures raise `EXBaseException`, except that a table or memo file that
// cannot be created or opened raises the platform's EFCreateError /
// EFOpenError.  Files are held open "without sharing": a second open of the
// same table fails while this component holds it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Components.h"
#include "platform/Exceptions.h"
#include "platform/Streams.h"

namespace kv {

// The description of one table field, as handed to `TXBase::CreateTable`.
struct TDBFFieldStruct {
  std::string FieldName;      // UTF-8; stored as its first 11 bytes, upper-cased
  char FieldType = 'C';       // C, N, D, T, Y, F, I, L, M, G (others stored as given)
  uint8_t FieldLength = 0;    // width in bytes (fixed for every type but C and unknown ones)
  uint8_t FieldDecimals = 0;  // number of decimals
};

// The one exception class of the component; carries only a message.
KV_DECLARE_EXCEPTION(EXBaseException, Exception);

class TXBase;

// Asked before the current record changes / before a record is marked deleted.
// Allowed comes in true; the handler may set it false to refuse.
using TXBChangeEvent = std::function<void(TXBase* Sender, bool& Allowed)>;
using TXBDeleteEvent = std::function<void(TXBase* Sender, bool& Allowed)>;
// Called after a blank record was appended.
using TXBNotifyEvent = std::function<void(TXBase* Sender)>;

class TXBase : public TComponent {
 public:
  static constexpr int MaxFields = 128;         // descriptors an open table may hold
  static constexpr int MaxRecordLength = 4000;  // bytes of one record, deletion flag included
  static constexpr int MemoBlockSize = 512;

  explicit TXBase(TComponent* AOwner = nullptr);
  // Closes the table file and the memo file when they are open.
  ~TXBase() override;

  // --- Properties ---------------------------------------------------------

  // The table file: the base name given last, followed by ".dbf".
  std::string Filename() const;
  // Stores the name less its extension and re-runs activation with the
  // current Active (an open table stays on its files when the new name exists,
  // and is closed when it does not).
  void SetFilename(const std::string& AValue);

  bool Active() const { return FActive; }
  // True opens the table (when its file exists; a missing file leaves Active
  // false without an error); false closes the table and memo files.
  void SetActive(bool AValue);

  int32_t Recno() const { return FRecno; }
  uint32_t RecordCount() const;  // from the header as read (and counted up by Append)
  int32_t FieldCount() const { return FFieldCount; }
  bool Bof() const { return FRecno == 1; }
  bool Eof() const { return static_cast<int64_t>(FRecno) == static_cast<int64_t>(RecordCount()); }

  // True while the table is open and the record buffer's deletion flag is "*".
  bool Deleted() const;
  // Does nothing on a closed table.  True asks OnDeleting and sets "*" when
  // allowed, a space when refused; false sets a space.  Writes nothing to the
  // file (Post does) and leaves Modified alone.
  void SetDeleted(bool AValue);

  // Set when a field of the record buffer was written; cleared when the buffer
  // is read from or written to the file.
  bool Modified() const { return FModified; }

  // --- Events ---------------------------------------------------------------

  TXBChangeEvent OnChanging;
  TXBDeleteEvent OnDeleting;
  TXBNotifyEvent OnAppended;

  // --- Operations -----------------------------------------------------------

  // Writes a new empty table (replacing an existing file): AFileName, with
  // ".dbf" appended unless its extension already is ".dbf" in any case of the
  // letters.  Type letters are upper-cased and D, T, N, Y, F, I, L, M, G get
  // their fixed sizes.  With an M or G field the version byte is 0x83 and the
  // memo file (same base name, ".dbt") is created with its 512-byte header
  // block (next free block 1).  The component's own table is not touched.
  // Raises EFCreateError when a file cannot be created and EXBaseException
  // when the header or record length would not fit in 16 bits.
  void CreateTable(const std::string& AFileName, const std::vector<TDBFFieldStruct>& AFields);

  // Appends one blank record (spaces) and the end-of-file mark, and writes the
  // header with the new record count.  Does not move Recno.  Raises "Data File
  // not Open" on a closed table and "Error Writing record" when writing or the
  // OnAppended handler fails.
  void Append();

  // Makes the last record current and reads it ("数据集没有打开" when closed).
  // Does nothing when OnChanging refuses.
  void Last();

  // Writes a value into the field of that name (memo fields of type M into the
  // memo file).  Raises "错误的字段名称" for an unknown name.
  void SetFieldByName(const std::string& AFieldName, const std::string& AValue);

  // Writes a value into the record buffer.  Trailing characters of code 32 or
  // less are cut; an empty value or one longer than the field (in encoded
  // bytes) is left out silently.  N and M fields are right-aligned, all others
  // left-aligned.  Raises "错误的字段名称！" for an index out of 1..FieldCount.
  void SetFieldByIndex(int AIndex, const std::string& AValue);

  // Writes a memo text at the memo file's next free block and that block's
  // number into the field.  Raises "错误的字段下标！(11位)" for an index out of
  // range and "备注文件没有打开" when the table has no open memo file.
  void SetMemoByIndex(int AIndex, const std::string& AValue);

  // Writes the record buffer to record Recno ("写记录时发生错误！" on failure).
  void Post();

  // The 1-based index of the field with that name (compared upper-cased), 0
  // when there is none.  On a table without fields raises "Invalid Field
  // Number: 1", as the first name looked at is field 1's.
  int FieldIndex(const std::string& AFieldName) const;

  // The stored name of field AIndex, upper-cased, as UTF-8.  Raises "Invalid
  // Field Number: " + index for an index out of 1..FieldCount.
  std::string GetFieldName(int AIndex) const;

  // Reads and checks the header and the field descriptors of the open table,
  // then record 1.  Any failure raises "读文件头错误！" and leaves the table
  // open but unusable for record access.
  void ReadHeader();
  // Reads record Recno into the record buffer (nothing when the table has no
  // records).  Raises "读记录时发生错误！".
  void ReadRecord();
  // Writes the record buffer to record Recno.  Raises "写记录时发生错误！",
  // also on a closed table or a Recno outside 1..RecordCount.
  void WriteRecord();

  // Ask OnChanging / OnDeleting; true when no handler is assigned.
  bool DoChanging();
  bool DoDeleting();

  // Add spaces before / after a text (bytes) until it is at least AWidth long.
  static std::string PadLeft(const std::string& AText, int AWidth);
  static std::string PadRight(const std::string& AText, int AWidth);

 private:
  // Runs activation after Active or the file name changed.
  void Activate();
  void CloseFiles();
  uint16_t HeaderLength() const;
  uint16_t RecordLength() const;
  int64_t RecordOffset(int64_t ARecno) const;
  uint32_t NextMemoBlock() const;

  std::string FBaseName;
  bool FActive = false;
  bool FModified = false;
  int32_t FRecno = 0;
  int32_t FFieldCount = 0;
  bool FIsOpen = false;
  // True once ReadHeader accepted the open table's header.
  bool FHeaderValid = false;
  // The record that Append wrote last while it still holds the blank bytes
  // written then (0: none), so that Last after Append need not read it back.
  int32_t FBlankRecno = 0;
  std::array<uint8_t, 32> FHeader{};
  // Descriptors as read; bytes 12..15 hold the field's 1-based record position.
  std::array<std::array<uint8_t, 32>, MaxFields> FFieldDescs{};
  std::array<uint8_t, MaxRecordLength> FRecordBuf{};
  std::array<uint8_t, MemoBlockSize> FMemoHeader{};
  // The stored field names (bytes up to the first zero, at most 11), upper-cased,
  // and whether each is the first field of its name.
  std::vector<std::string> FFieldNames;
  std::vector<bool> FFirstOfName;
  // Where FieldIndex found its last name: callers fill fields in order, so the
  // next one is tried first.
  mutable int FLastFieldIndex = 0;
  std::unique_ptr<TFileStream> FDataStream;
  std::unique_ptr<TFileStream> FMemoStream;
};

}  // namespace kv
