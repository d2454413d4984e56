// Data access of the class library stand-in: field types, field definitions,
// the field base class, the dataset with its cursor, bookmarks and control
// notifications, and the data source that connects a dataset to the controls
// that show it.
//
// A dataset is a component.  Its records live in an implementation (the
// in-memory dataset of MemDataSet.h); `TDataSet` holds the cursor (current
// record, Bof/Eof), the edit buffer of a record being appended or edited, the
// fields made from the field definitions, and the list of data sources.
// Fields read the current record through the dataset; each field class keeps
// its values in one canonical form (`TFieldData`) and converts on the way in
// and out (DBFields.h).
//
// Failures raise EDatabaseError with the class library's messages ("Field 'X'
// not found", "Dataset not in edit or insert mode", ...).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/Components.h"
#include "platform/Exceptions.h"
#include "platform/Types.h"
#include "platform/Variant.h"

namespace kv {

// The class library's field types, in its order (the numbers matter to
// stored layouts and to code that compares them).
enum TFieldType {
  ftUnknown,
  ftString,
  ftSmallint,
  ftInteger,
  ftWord,
  ftBoolean,
  ftFloat,
  ftCurrency,
  ftBCD,
  ftDate,
  ftTime,
  ftDateTime,
  ftBytes,
  ftVarBytes,
  ftAutoInc,
  ftBlob,
  ftMemo,
  ftGraphic,
  ftFmtMemo,
  ftParadoxOle,
  ftDBaseOle,
  ftTypedBinary,
  ftCursor,
  ftFixedChar,
  ftWideString,
  ftLargeint,
  ftADT,
  ftArray,
  ftReference,
  ftDataSet,
  ftOraBlob,
  ftOraClob,
  ftVariant,
  ftInterface,
  ftIDispatch,
  ftGuid,
  ftTimeStamp,
  ftFMTBcd,
};

// The class library's name of a field type ("ftString", ...).
const char* FieldTypeName(TFieldType AType);

// One stored value: null, an integer (integer kinds, Boolean, the BCD field's
// ten-thousandths), a floating-point number (floats, date-times) or bytes
// (texts in UTF-8, blobs, decimal texts).
using TFieldData = std::variant<std::monostate, int64_t, double, std::string>;

// A bookmark: a token naming one record of one dataset; empty names none.
using TBookmarkStr = std::string;

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

class TDataSet;
class TDataSource;

// The definition a field is made from.
struct TFieldDef {
  std::string Name;
  TFieldType DataType = ftUnknown;
  int Size = 0;  // characters of a string field, decimals of a BCD field, 0 for most
  bool Required = false;
};

class TFieldDefs {
 public:
  // Adds a definition; raises EDatabaseError "Duplicate field name 'X'" when a
  // definition of that name (compared without case of A to Z) exists.
  TFieldDef& Add(const std::string& AName, TFieldType ADataType, int ASize = 0, bool ARequired = false);
  int Count() const { return static_cast<int>(FItems.size()); }
  // Raises the list-index error for an index out of range.
  const TFieldDef& Items(int AIndex) const;
  int IndexOf(const std::string& AName) const;  // -1 when none
  const TFieldDef* Find(const std::string& AName) const;
  void Clear() { FItems.clear(); }

 private:
  std::vector<TFieldDef> FItems;
};

// A field of a dataset: its name, type and sizes, and the value of the
// dataset's current record in the forms the class library offers.
class TField {
 public:
  TField(TFieldType ADataType, int ASize);
  virtual ~TField() = default;
  TField(const TField&) = delete;
  TField& operator=(const TField&) = delete;

  std::string FieldName;
  std::string DisplayLabel;  // empty: the field name is shown
  bool Visible = true;
  bool Required = false;

  TFieldType DataType() const { return FDataType; }
  int Size() const { return FSize; }
  // Bytes of the field's value buffer in the class library's data layer
  // (ftString: Size + 1; ftWideString: 4, the size of a string reference).
  virtual int DataSize() const = 0;
  TDataSet* DataSet() const { return FDataSet; }
  // Position in the dataset's field list, from 0.
  int Index() const { return FIndex; }
  std::string DisplayName() const { return DisplayLabel.empty() ? FieldName : DisplayLabel; }
  // How controls align the field's text (numeric fields: right-justified).
  TAlignment Alignment = taLeftJustify;

  // The value of the current record.  A null reads as "" / 0 / False.
  bool IsNull() const;
  virtual std::string AsString() const;
  virtual int64_t AsLargeInt() const;
  int AsInteger() const { return static_cast<int>(AsLargeInt()); }
  virtual double AsFloat() const;
  virtual bool AsBoolean() const;
  virtual TDateTime AsDateTime() const;
  // The value as a variant of the field's kind; varNull for a null.
  virtual Variant Value() const = 0;
  // The text controls show: AsString unless the field class has display
  // rules of its own (a display format).
  virtual std::string DisplayText() const { return AsString(); }

  // Change the value of the record being appended or edited (EDatabaseError
  // "Dataset not in edit or insert mode" otherwise).  Texts are parsed by the
  // field's type; EConvertError / EDatabaseError when they do not fit.
  virtual void SetAsString(const std::string& AValue);
  virtual void SetAsLargeInt(int64_t AValue);
  void SetAsInteger(int AValue) { SetAsLargeInt(AValue); }
  virtual void SetAsFloat(double AValue);
  virtual void SetAsBoolean(bool AValue);
  virtual void SetAsDateTime(TDateTime AValue);
  // Empty and null variants clear the field; other kinds convert.
  virtual void SetValue(const Variant& AValue);
  void Clear();

  // The stored value of the current record, as the dataset holds it.
  const TFieldData& Data() const;
  // Stores a value already in the field's canonical form.
  void SetData(TFieldData AValue);

 protected:
  [[noreturn]] void ConversionError(const std::string& AText, const char* ATypeName) const;
  // Clears the field when AValue is empty or blank; true when it did.
  bool ClearIfBlank(const std::string& AValue);

 private:
  friend class TDataSet;
  TFieldType FDataType;
  int FSize;
  TDataSet* FDataSet = nullptr;
  int FIndex = -1;
};

// Receives the notifications of the dataset behind a data source (the data
// controller of a grid holds one).
class TDataLink {
 public:
  virtual ~TDataLink();
  TDataSource* DataSource() const { return FDataSource; }
  void SetDataSource(TDataSource* ADataSource);

  // The dataset was opened or closed.
  virtual void ActiveChanged() {}
  // Records were added, changed or removed (or controls were enabled again
  // after changes).
  virtual void DataSetChanged() {}
  // The current record moved.
  virtual void DataSetScrolled() {}

 private:
  friend class TDataSource;
  TDataSource* FDataSource = nullptr;
};

class TDataSet : public TComponent {
 public:
  explicit TDataSet(TComponent* AOwner = nullptr);
  ~TDataSet() override;

  // --- Structure ------------------------------------------------------------
  TFieldDefs& FieldDefs() { return FFieldDefs; }
  const TFieldDefs& FieldDefList() const { return FFieldDefs; }
  int FieldCount() const { return static_cast<int>(FFields.size()); }
  // Raises the list-index error for an index out of range.
  TField* Fields(int AIndex) const;
  // By name, compared without case of A to Z; nullptr when none.
  TField* FindField(const std::string& AFieldName) const;
  // As FindField, but raises EDatabaseError "Field 'X' not found".
  TField* FieldByName(const std::string& AFieldName) const;

  // --- State ----------------------------------------------------------------
  bool Active() const { return FState != dsInactive; }
  void SetActive(bool AValue);
  void Open() { SetActive(true); }
  void Close() { SetActive(false); }
  TDataSetState State() const { return FState; }

  // --- Cursor ---------------------------------------------------------------
  // Movements post a pending append or edit first.  Next on the last record
  // sets Eof and stays there; Prior on the first sets Bof.
  void First();
  void Next();
  void Prior();
  void Last();
  bool Eof() const { return FEof; }
  bool Bof() const { return FBof; }
  bool IsEmpty() const { return RecordCount() == 0; }
  int RecordCount() const;
  // The current record's number from 1; 0 when there is none.
  int RecNo() const;
  // Moves to record ARecNo (1..RecordCount); EDatabaseError when out of range.
  void SetRecNo(int ARecNo);

  // The current record as a token; "" when the dataset is empty or closed.
  TBookmarkStr Bookmark() const;
  // Returns to the record of a token from Bookmark().  An empty token does
  // nothing; a token of a deleted record raises EDatabaseError "Record not found".
  void SetBookmark(const TBookmarkStr& AValue);

  // Nested: notifications to data sources stop until every DisableControls
  // has had its EnableControls; then one DataSetChanged reports what happened.
  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return FDisableCount > 0; }

  // --- Editing --------------------------------------------------------------
  // Starts a new record after the last one (values null), made current.
  void Append();
  // Starts editing the current record (EDatabaseError on an empty dataset).
  void Edit();
  // Stores the appended or edited record; nothing to do in browse state.
  void Post();
  // Drops the pending append or edit.
  void Cancel();
  // Removes the current record; the next one (or the new last) becomes current.
  void Delete();

  // The stored value of field AIndex of the current record (the edit buffer
  // while appending or editing); a null value when there is no current record.
  const TFieldData& GetFieldData(int AFieldIndex) const;
  // Writes into the edit buffer; EDatabaseError when not appending or editing.
  void SetFieldData(int AFieldIndex, TFieldData AValue);

  // Reading another record without moving the cursor: while a reader is
  // alive, the fields read record ARecIndex (0 .. RecordCount - 1) instead
  // of the current record, and the data sources hear nothing.  Readers do
  // not nest; the dataset must be active and in browse state.
  class TRecordReader {
   public:
    TRecordReader(const TDataSet& ADataSet, int ARecIndex);
    ~TRecordReader();
    TRecordReader(const TRecordReader&) = delete;
    TRecordReader& operator=(const TRecordReader&) = delete;
    // Moves the reader to another record.
    void SetRecord(int ARecIndex);

   private:
    const TDataSet& FDataSet;
  };

 protected:
  // --- What an implementation provides ------------------------------------
  virtual int InternalRecordCount() const = 0;
  virtual const TFieldData& InternalGetData(int ARecIndex, int AFieldIndex) const = 0;
  // Stores a record: at index ARecIndex (edit) or appended (ARecIndex -1);
  // returns the index of the stored record.
  virtual int InternalPost(int ARecIndex, std::vector<TFieldData>&& AValues) = 0;
  virtual void InternalDelete(int ARecIndex) = 0;
  // A number naming the record for as long as it exists, and the way back.
  virtual uint64_t InternalRecordId(int ARecIndex) const = 0;
  virtual int InternalFindRecordId(uint64_t AId) const = 0;  // -1 when gone
  // Called when the dataset opens (fields exist) and closes.
  virtual void InternalOpen() {}
  virtual void InternalClose() {}

  // Makes the fields from the field definitions (replacing existing ones).
  void CreateFields();
  // For implementations that appended records in bulk (in browse state): the
  // last record becomes current and the data sources hear of the change, as
  // after Post.
  void RecordsAppended();
  void CheckInactive(const char* AOperation) const;

 private:
  friend class TDataSource;
  void CheckActive() const;
  void CheckBrowseMode();
  void SetCurrent(int ARecIndex);
  // Tells every link of every data source; AHeldBack: not while controls
  // are disabled (noted for EnableControls instead).
  void NotifyLinks(void (TDataLink::*AEvent)(), bool AHeldBack);
  void NotifyActive();
  void NotifyChanged();
  void NotifyScrolled();

  TFieldDefs FFieldDefs;
  std::vector<std::unique_ptr<TField>> FFields;
  TDataSetState FState = dsInactive;
  int FCurrent = -1;  // index of the current record, -1 when none
  bool FBof = true;
  bool FEof = true;
  std::vector<TFieldData> FEditBuffer;
  int FDisableCount = 0;
  bool FChangedWhileDisabled = false;
  mutable int FReadRecord = -1;  // record read by a TRecordReader, -1 when none
  std::vector<TDataSource*> FDataSources;
};

// Connects a dataset to the controls that show it.
class TDataSource : public TComponent {
 public:
  explicit TDataSource(TComponent* AOwner = nullptr);
  ~TDataSource() override;

  TDataSet* DataSet() const { return FDataSet; }
  void SetDataSet(TDataSet* ADataSet);

 private:
  friend class TDataSet;
  friend class TDataLink;
  TDataSet* FDataSet = nullptr;
  std::vector<TDataLink*> FLinks;
};

}  // namespace kv
