// Field definitions, the field base class, the dataset's cursor, editing and
// notifications, and data sources with their links.
#include "platform/DB.h"

#include <algorithm>

#include "platform/DBFields.h"
#include "platform/Files.h"

namespace kv {

const char* FieldTypeName(TFieldType AType) {
  static const char* const Names[] = {
      "ftUnknown",     "ftString",    "ftSmallint",  "ftInteger",    "ftWord",     "ftBoolean",    "ftFloat",
      "ftCurrency",    "ftBCD",       "ftDate",      "ftTime",       "ftDateTime", "ftBytes",      "ftVarBytes",
      "ftAutoInc",     "ftBlob",      "ftMemo",      "ftGraphic",    "ftFmtMemo",  "ftParadoxOle", "ftDBaseOle",
      "ftTypedBinary", "ftCursor",    "ftFixedChar", "ftWideString", "ftLargeint", "ftADT",        "ftArray",
      "ftReference",   "ftDataSet",   "ftOraBlob",   "ftOraClob",    "ftVariant",  "ftInterface",  "ftIDispatch",
      "ftGuid",        "ftTimeStamp", "ftFMTBcd"};
  if (AType < ftUnknown || AType > ftFMTBcd) return "ftUnknown";
  return Names[AType];
}

// --- TFieldDefs ---------------------------------------------------------------

TFieldDef& TFieldDefs::Add(const std::string& AName, TFieldType ADataType, int ASize, bool ARequired) {
  if (IndexOf(AName) >= 0) throw EDatabaseError("Duplicate field name '" + AName + "'");
  FItems.push_back(TFieldDef{AName, ADataType, ASize, ARequired});
  return FItems.back();
}

const TFieldDef& TFieldDefs::Items(int AIndex) const {
  if (AIndex < 0 || AIndex >= Count()) RaiseListIndexError(AIndex);
  return FItems[static_cast<size_t>(AIndex)];
}

int TFieldDefs::IndexOf(const std::string& AName) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (SameTextAscii(FItems[i].Name, AName)) return static_cast<int>(i);
  return -1;
}

const TFieldDef* TFieldDefs::Find(const std::string& AName) const {
  int i = IndexOf(AName);
  return i < 0 ? nullptr : &FItems[static_cast<size_t>(i)];
}

// --- TField -------------------------------------------------------------------

TField::TField(TFieldType ADataType, int ASize) : FDataType(ADataType), FSize(ASize) {}

const TFieldData& TField::Data() const {
  static const TFieldData Null;
  return FDataSet ? FDataSet->GetFieldData(FIndex) : Null;
}

void TField::SetData(TFieldData AValue) {
  if (!FDataSet) throw EDatabaseError("Field '" + FieldName + "' has no dataset");
  FDataSet->SetFieldData(FIndex, std::move(AValue));
}

bool TField::IsNull() const { return std::holds_alternative<std::monostate>(Data()); }

void TField::Clear() { SetData(std::monostate{}); }

bool TField::ClearIfBlank(const std::string& AValue) {
  if (!Trim(AValue).empty()) return false;
  Clear();
  return true;
}

void TField::ConversionError(const std::string& AText, const char* ATypeName) const {
  throw EDatabaseError("'" + AText + "' is not a valid " + ATypeName + " value for field '" + FieldName + "'");
}

// The base conversions go through the field's variant; field classes override
// the ones they hold natively.
std::string TField::AsString() const { return Value().AsString(); }
int64_t TField::AsLargeInt() const { return IsNull() ? 0 : Value().AsInt64(); }
double TField::AsFloat() const { return IsNull() ? 0 : Value().AsDouble(); }
bool TField::AsBoolean() const { return IsNull() ? false : Value().AsBoolean(); }
TDateTime TField::AsDateTime() const { return IsNull() ? 0 : Value().AsDateTime(); }

void TField::SetAsString(const std::string& AValue) { SetValue(Variant(AValue)); }
void TField::SetAsLargeInt(int64_t AValue) { SetValue(Variant(AValue)); }
void TField::SetAsFloat(double AValue) { SetValue(Variant(AValue)); }
void TField::SetAsBoolean(bool AValue) { SetValue(Variant(AValue)); }
void TField::SetAsDateTime(TDateTime AValue) { SetValue(Variant::DateTime(AValue)); }

void TField::SetValue(const Variant& AValue) {
  if (AValue.IsEmptyOrNull()) {
    Clear();
    return;
  }
  SetAsString(AValue.AsString());
}

// --- TDataLink / TDataSource -------------------------------------------------

TDataLink::~TDataLink() { SetDataSource(nullptr); }

void TDataLink::SetDataSource(TDataSource* ADataSource) {
  if (FDataSource == ADataSource) return;
  if (FDataSource) {
    auto& links = FDataSource->FLinks;
    links.erase(std::remove(links.begin(), links.end(), this), links.end());
  }
  FDataSource = ADataSource;
  if (FDataSource) FDataSource->FLinks.push_back(this);
}

TDataSource::TDataSource(TComponent* AOwner) : TComponent(AOwner) {}

TDataSource::~TDataSource() {
  SetDataSet(nullptr);
  for (TDataLink* link : FLinks) link->FDataSource = nullptr;
}

void TDataSource::SetDataSet(TDataSet* ADataSet) {
  if (FDataSet == ADataSet) return;
  if (FDataSet) {
    auto& sources = FDataSet->FDataSources;
    sources.erase(std::remove(sources.begin(), sources.end(), this), sources.end());
  }
  FDataSet = ADataSet;
  if (FDataSet) FDataSet->FDataSources.push_back(this);
  std::vector<TDataLink*> links = FLinks;
  for (TDataLink* link : links) link->ActiveChanged();
}

// --- TDataSet -----------------------------------------------------------------

TDataSet::TDataSet(TComponent* AOwner) : TComponent(AOwner) {}

TDataSet::~TDataSet() {
  for (TDataSource* source : FDataSources) source->FDataSet = nullptr;
}

TField* TDataSet::Fields(int AIndex) const {
  if (AIndex < 0 || AIndex >= FieldCount()) RaiseListIndexError(AIndex);
  return FFields[static_cast<size_t>(AIndex)].get();
}

TField* TDataSet::FindField(const std::string& AFieldName) const {
  for (const auto& f : FFields)
    if (SameTextAscii(f->FieldName, AFieldName)) return f.get();
  return nullptr;
}

TField* TDataSet::FieldByName(const std::string& AFieldName) const {
  TField* f = FindField(AFieldName);
  if (!f) throw EDatabaseError("Field '" + AFieldName + "' not found");
  return f;
}

void TDataSet::CreateFields() {
  FFields.clear();
  for (int i = 0; i < FFieldDefs.Count(); ++i) {
    const TFieldDef& def = FFieldDefs.Items(i);
    std::unique_ptr<TField> f = CreateFieldOfType(def.DataType, def.Size);
    f->FieldName = def.Name;
    f->Required = def.Required;
    f->FDataSet = this;
    f->FIndex = i;
    FFields.push_back(std::move(f));
  }
}

void TDataSet::CheckInactive(const char* AOperation) const {
  if (Active())
    throw EDatabaseError(std::string("Cannot perform this operation on an open dataset (") + AOperation + ")");
}

void TDataSet::CheckActive() const {
  if (!Active()) throw EDatabaseError("Cannot perform this operation on a closed dataset");
}

void TDataSet::SetActive(bool AValue) {
  if (AValue == Active()) return;
  if (AValue) {
    InternalOpen();
    FState = dsBrowse;
    FCurrent = -1;
    SetCurrent(InternalRecordCount() > 0 ? 0 : -1);
    FBof = true;
    FEof = FCurrent < 0;
  } else {
    FEditBuffer.clear();
    FState = dsInactive;
    FCurrent = -1;
    FBof = FEof = true;
    InternalClose();
  }
  NotifyActive();
}

int TDataSet::RecordCount() const { return Active() ? InternalRecordCount() : 0; }

int TDataSet::RecNo() const {
  if (!Active()) return 0;
  if (FState == dsInsert) return InternalRecordCount() + 1;
  return FCurrent + 1;
}

void TDataSet::SetCurrent(int ARecIndex) {
  bool moved = ARecIndex != FCurrent;
  FCurrent = ARecIndex;
  if (moved) NotifyScrolled();
}

void TDataSet::CheckBrowseMode() {
  CheckActive();
  if (FState == dsEdit || FState == dsInsert) Post();
}

void TDataSet::First() {
  CheckBrowseMode();
  SetCurrent(InternalRecordCount() > 0 ? 0 : -1);
  FBof = true;
  FEof = FCurrent < 0;
}

void TDataSet::Last() {
  CheckBrowseMode();
  SetCurrent(InternalRecordCount() - 1);
  FEof = true;
  FBof = FCurrent < 0;
}

void TDataSet::Next() {
  CheckBrowseMode();
  if (FCurrent + 1 < InternalRecordCount()) {
    SetCurrent(FCurrent + 1);
    FBof = false;
    FEof = false;
  } else {
    FEof = true;
  }
}

void TDataSet::Prior() {
  CheckBrowseMode();
  if (FCurrent > 0) {
    SetCurrent(FCurrent - 1);
    FBof = false;
    FEof = false;
  } else {
    FBof = true;
  }
}

void TDataSet::SetRecNo(int ARecNo) {
  CheckBrowseMode();
  if (ARecNo < 1 || ARecNo > InternalRecordCount())
    throw EDatabaseError("Record number " + std::to_string(ARecNo) + " out of range");
  SetCurrent(ARecNo - 1);
  FBof = FEof = false;
}

TBookmarkStr TDataSet::Bookmark() const {
  if (!Active() || FCurrent < 0 || FState == dsInsert) return TBookmarkStr();
  TBookmarkStr token(1, '#');  // (not "#" + ...: a GCC 12 -Wrestrict false positive)
  return token.append(std::to_string(InternalRecordId(FCurrent)));
}

void TDataSet::SetBookmark(const TBookmarkStr& AValue) {
  if (AValue.empty()) return;
  CheckBrowseMode();
  uint64_t id = 0;
  bool valid = AValue.size() > 1 && AValue[0] == '#';
  for (size_t i = 1; valid && i < AValue.size(); ++i) {
    if (AValue[i] < '0' || AValue[i] > '9')
      valid = false;
    else
      id = id * 10 + static_cast<uint64_t>(AValue[i] - '0');
  }
  int index = valid ? InternalFindRecordId(id) : -1;
  if (index < 0) throw EDatabaseError("Record not found");
  SetCurrent(index);
  FBof = FEof = false;
}

void TDataSet::DisableControls() {
  if (FDisableCount == 0) FChangedWhileDisabled = false;
  ++FDisableCount;
}

void TDataSet::EnableControls() {
  if (FDisableCount == 0) return;
  if (--FDisableCount == 0 && FChangedWhileDisabled) {
    FChangedWhileDisabled = false;
    NotifyChanged();
  }
}

void TDataSet::Append() {
  CheckBrowseMode();
  FEditBuffer.assign(FFields.size(), TFieldData{});
  FState = dsInsert;
  FBof = false;
  FEof = true;
  NotifyChanged();
}

void TDataSet::Edit() {
  CheckActive();
  if (FState == dsEdit || FState == dsInsert) return;
  if (FCurrent < 0) throw EDatabaseError("Cannot modify an empty dataset");
  FEditBuffer.resize(FFields.size());
  for (size_t i = 0; i < FFields.size(); ++i) FEditBuffer[i] = InternalGetData(FCurrent, static_cast<int>(i));
  FState = dsEdit;
}

void TDataSet::Post() {
  CheckActive();
  if (FState != dsEdit && FState != dsInsert) return;
  for (const auto& f : FFields)
    if (f->Required && std::holds_alternative<std::monostate>(FEditBuffer[static_cast<size_t>(f->Index())]))
      throw EDatabaseError("Field '" + f->FieldName + "' must have a value");
  int index = InternalPost(FState == dsEdit ? FCurrent : -1, std::move(FEditBuffer));
  FEditBuffer.clear();
  FState = dsBrowse;
  SetCurrent(index);
  FBof = FEof = false;
  NotifyChanged();
}

void TDataSet::RecordsAppended() {
  SetCurrent(InternalRecordCount() - 1);
  FBof = FEof = false;
  NotifyChanged();
}

void TDataSet::Cancel() {
  if (FState != dsEdit && FState != dsInsert) return;
  FEditBuffer.clear();
  FState = dsBrowse;
  if (FCurrent >= InternalRecordCount()) FCurrent = InternalRecordCount() - 1;
  FEof = FCurrent < 0;
  NotifyChanged();
}

void TDataSet::Delete() {
  CheckActive();
  if (FState == dsInsert) {
    Cancel();
    return;
  }
  FEditBuffer.clear();
  FState = dsBrowse;
  if (FCurrent < 0) throw EDatabaseError("Cannot perform this operation on an empty dataset");
  InternalDelete(FCurrent);
  if (FCurrent >= InternalRecordCount()) FCurrent = InternalRecordCount() - 1;
  FBof = FCurrent <= 0;
  FEof = FCurrent < 0;
  NotifyChanged();
}

const TFieldData& TDataSet::GetFieldData(int AFieldIndex) const {
  static const TFieldData Null;
  if (AFieldIndex < 0 || AFieldIndex >= FieldCount()) RaiseListIndexError(AFieldIndex);
  if (FReadRecord >= 0) return InternalGetData(FReadRecord, AFieldIndex);
  if (FState == dsEdit || FState == dsInsert) return FEditBuffer[static_cast<size_t>(AFieldIndex)];
  if (FState == dsInactive || FCurrent < 0) return Null;
  return InternalGetData(FCurrent, AFieldIndex);
}

void TDataSet::SetFieldData(int AFieldIndex, TFieldData AValue) {
  if (FState != dsEdit && FState != dsInsert) throw EDatabaseError("Dataset not in edit or insert mode");
  if (AFieldIndex < 0 || AFieldIndex >= FieldCount()) RaiseListIndexError(AFieldIndex);
  FEditBuffer[static_cast<size_t>(AFieldIndex)] = std::move(AValue);
}

void TDataSet::NotifyLinks(void (TDataLink::*AEvent)(), bool AHeldBack) {
  if (AHeldBack && FDisableCount > 0) {
    FChangedWhileDisabled = true;
    return;
  }
  // Copies: a link may detach itself or others while it is told.
  std::vector<TDataSource*> sources = FDataSources;
  for (TDataSource* s : sources) {
    std::vector<TDataLink*> links = s->FLinks;
    for (TDataLink* l : links) (l->*AEvent)();
  }
}

void TDataSet::NotifyActive() { NotifyLinks(&TDataLink::ActiveChanged, false); }
void TDataSet::NotifyChanged() { NotifyLinks(&TDataLink::DataSetChanged, true); }
void TDataSet::NotifyScrolled() { NotifyLinks(&TDataLink::DataSetScrolled, true); }

// --- Reading other records --------------------------------------------------------

TDataSet::TRecordReader::TRecordReader(const TDataSet& ADataSet, int ARecIndex) : FDataSet(ADataSet) {
  if (FDataSet.FState != dsBrowse) throw EDatabaseError("Dataset not in browse mode");
  if (FDataSet.FReadRecord >= 0) throw EDatabaseError("Dataset is already read by another reader");
  SetRecord(ARecIndex);
}

TDataSet::TRecordReader::~TRecordReader() { FDataSet.FReadRecord = -1; }

void TDataSet::TRecordReader::SetRecord(int ARecIndex) {
  if (ARecIndex < 0 || ARecIndex >= FDataSet.InternalRecordCount()) RaiseListIndexError(ARecIndex);
  FDataSet.FReadRecord = ARecIndex;
}

}  // namespace kv
