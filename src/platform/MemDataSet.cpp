// Record storage of the in-memory dataset, field by field.
#include "platform/MemDataSet.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace kv {

namespace {

uint64_t BitsOf(double AValue) {
  uint64_t bits;
  std::memcpy(&bits, &AValue, sizeof bits);
  return bits;
}

double DoubleOf(uint64_t ABits) {
  double value;
  std::memcpy(&value, &ABits, sizeof value);
  return value;
}

// Pools are compacted when at least this much of them, and half, is waste.
constexpr size_t MinWasteToCompact = 1 << 16;

}  // namespace

void TMemDataSet::MakeColumns() {
  FColumns.assign(static_cast<size_t>(FieldCount()), TColumn());
  FRead.assign(static_cast<size_t>(FieldCount()), TFieldData());
  FIds.clear();
  if (FReserved > 0) Reserve(FReserved);
}

void TMemDataSet::CreateDataSet() {
  CheckInactive("CreateDataSet");
  CreateFields();
  MakeColumns();
  FCreated = true;
  Open();
}

void TMemDataSet::EmptyDataSet() {
  bool wasActive = Active();
  if (wasActive) Close();
  for (TColumn& column : FColumns) column = TColumn();
  FIds.clear();
  if (wasActive) Open();
}

void TMemDataSet::Reserve(size_t ARecords) {
  FReserved = ARecords;
  FIds.reserve(ARecords);
  for (TColumn& column : FColumns) {
    column.Slots.reserve(ARecords);
    column.Kinds.reserve(ARecords);
  }
}

void TMemDataSet::ReserveText(int AFieldIndex, size_t ABytes) {
  if (AFieldIndex < 0 || size_t(AFieldIndex) >= FColumns.size()) RaiseListIndexError(AFieldIndex);
  TColumn& column = FColumns[size_t(AFieldIndex)];
  column.Pool.reserve(ABytes);
  column.Lengths.reserve(std::max(column.Slots.capacity(), FReserved));
}

void TMemDataSet::InternalOpen() {
  // A dataset opened without CreateDataSet gets its fields on first opening.
  if (!FCreated) {
    CreateFields();
    MakeColumns();
    FCreated = true;
  }
}

const TFieldData& TMemDataSet::InternalGetData(int ARecIndex, int AFieldIndex) const {
  const TColumn& column = FColumns[static_cast<size_t>(AFieldIndex)];
  const size_t r = static_cast<size_t>(ARecIndex);
  TFieldData& read = FRead[static_cast<size_t>(AFieldIndex)];
  switch (column.Kinds[r]) {
    case TColumn::vkInteger:
      read = static_cast<int64_t>(column.Slots[r]);
      break;
    case TColumn::vkFloat:
      read = DoubleOf(column.Slots[r]);
      break;
    case TColumn::vkText: {
      // Assigning into the text already there reuses its buffer.
      const char* bytes = column.Pool.data() + column.Slots[r];
      if (std::string* text = std::get_if<std::string>(&read))
        text->assign(bytes, column.Lengths[r]);
      else
        read.emplace<std::string>(bytes, column.Lengths[r]);
      break;
    }
    default:
      read = std::monostate{};
      break;
  }
  return read;
}

void TMemDataSet::DropText(TColumn& AColumn, size_t ARecIndex) {
  if (AColumn.Kinds[ARecIndex] == TColumn::vkText) AColumn.Waste += AColumn.Lengths[ARecIndex];
}

void TMemDataSet::Compact(TColumn& AColumn) {
  std::string pool;
  pool.reserve(AColumn.Pool.size() - AColumn.Waste);
  for (size_t r = 0; r < AColumn.Kinds.size(); ++r) {
    if (AColumn.Kinds[r] != TColumn::vkText) continue;
    const uint64_t at = pool.size();
    pool.append(AColumn.Pool, AColumn.Slots[r], AColumn.Lengths[r]);
    AColumn.Slots[r] = at;
  }
  AColumn.Pool.swap(pool);
  AColumn.Waste = 0;
}

void TMemDataSet::SetText(TColumn& AColumn, size_t ARecIndex, std::string_view AValue) {
  if (AValue.size() > std::numeric_limits<uint32_t>::max())
    throw EDatabaseError("A text of " + std::to_string(AValue.size()) + " bytes is too long for a field");
  if (AColumn.Lengths.size() < AColumn.Kinds.size()) AColumn.Lengths.resize(AColumn.Kinds.size(), 0);
  const uint32_t length = static_cast<uint32_t>(AValue.size());
  if (AColumn.Kinds[ARecIndex] == TColumn::vkText && AColumn.Lengths[ARecIndex] >= length) {
    // The new text fits where the old one was.
    AColumn.Pool.replace(AColumn.Slots[ARecIndex], length, AValue);
    AColumn.Waste += AColumn.Lengths[ARecIndex] - length;
  } else {
    DropText(AColumn, ARecIndex);
    AColumn.Slots[ARecIndex] = AColumn.Pool.size();
    AColumn.Pool.append(AValue);
  }
  AColumn.Lengths[ARecIndex] = length;
  AColumn.Kinds[ARecIndex] = TColumn::vkText;
  if (AColumn.Waste >= MinWasteToCompact && AColumn.Waste * 2 >= AColumn.Pool.size()) Compact(AColumn);
}

void TMemDataSet::StoreData(TColumn& AColumn, size_t ARecIndex, const TFieldData& AValue) {
  if (const std::string* text = std::get_if<std::string>(&AValue)) {
    SetText(AColumn, ARecIndex, *text);
    return;
  }
  DropText(AColumn, ARecIndex);
  if (const int64_t* i = std::get_if<int64_t>(&AValue)) {
    AColumn.Slots[ARecIndex] = static_cast<uint64_t>(*i);
    AColumn.Kinds[ARecIndex] = TColumn::vkInteger;
  } else if (const double* d = std::get_if<double>(&AValue)) {
    AColumn.Slots[ARecIndex] = BitsOf(*d);
    AColumn.Kinds[ARecIndex] = TColumn::vkFloat;
  } else {
    AColumn.Slots[ARecIndex] = 0;
    AColumn.Kinds[ARecIndex] = TColumn::vkNull;
  }
}

int TMemDataSet::InternalPost(int ARecIndex, std::vector<TFieldData>&& AValues) {
  size_t r = static_cast<size_t>(ARecIndex);
  if (ARecIndex < 0) {
    r = FIds.size();
    FIds.push_back(FNextId++);
    for (TColumn& column : FColumns) {
      column.Slots.push_back(0);
      column.Kinds.push_back(TColumn::vkNull);
      if (!column.Lengths.empty()) column.Lengths.push_back(0);
    }
  }
  for (size_t f = 0; f < FColumns.size(); ++f)
    StoreData(FColumns[f], r, f < AValues.size() ? AValues[f] : TFieldData());
  AValues.clear();
  return static_cast<int>(r);
}

void TMemDataSet::InternalDelete(int ARecIndex) {
  const size_t r = static_cast<size_t>(ARecIndex);
  FIds.erase(FIds.begin() + ARecIndex);
  for (TColumn& column : FColumns) {
    DropText(column, r);
    column.Slots.erase(column.Slots.begin() + ARecIndex);
    column.Kinds.erase(column.Kinds.begin() + ARecIndex);
    if (!column.Lengths.empty()) column.Lengths.erase(column.Lengths.begin() + ARecIndex);
    if (column.Waste >= MinWasteToCompact && column.Waste * 2 >= column.Pool.size()) Compact(column);
  }
}

uint64_t TMemDataSet::InternalRecordId(int ARecIndex) const { return FIds[static_cast<size_t>(ARecIndex)]; }

int TMemDataSet::InternalFindRecordId(uint64_t AId) const {
  auto it = std::lower_bound(FIds.begin(), FIds.end(), AId);
  if (it == FIds.end() || *it != AId) return -1;
  return static_cast<int>(it - FIds.begin());
}

// --- Loading in bulk -----------------------------------------------------------

void TMemDataSet::AppendRecords(size_t ACount) {
  if (State() != dsBrowse) throw EDatabaseError("Dataset not in browse mode");
  if (ACount == 0) return;
  if (FIds.size() + ACount > size_t(std::numeric_limits<int>::max()))
    throw EDatabaseError("Too many records for a dataset");
  for (size_t i = 0; i < ACount; ++i) FIds.push_back(FNextId++);
  for (TColumn& column : FColumns) {
    column.Slots.resize(FIds.size(), 0);
    column.Kinds.resize(FIds.size(), TColumn::vkNull);
    if (!column.Lengths.empty()) column.Lengths.resize(FIds.size(), 0);
  }
  RecordsAppended();
}

void TMemDataSet::CheckBulk(int ARecIndex, int AFieldIndex) const {
  if (State() != dsBrowse) throw EDatabaseError("Dataset not in browse mode");
  if (ARecIndex < 0 || size_t(ARecIndex) >= FIds.size()) RaiseListIndexError(ARecIndex);
  if (AFieldIndex < 0 || size_t(AFieldIndex) >= FColumns.size()) RaiseListIndexError(AFieldIndex);
}

void TMemDataSet::StoreInteger(int ARecIndex, int AFieldIndex, int64_t AValue) {
  CheckBulk(ARecIndex, AFieldIndex);
  StoreData(FColumns[size_t(AFieldIndex)], size_t(ARecIndex), TFieldData(AValue));
}

void TMemDataSet::StoreFloat(int ARecIndex, int AFieldIndex, double AValue) {
  CheckBulk(ARecIndex, AFieldIndex);
  StoreData(FColumns[size_t(AFieldIndex)], size_t(ARecIndex), TFieldData(AValue));
}

void TMemDataSet::StoreText(int ARecIndex, int AFieldIndex, std::string_view AValue) {
  CheckBulk(ARecIndex, AFieldIndex);
  SetText(FColumns[size_t(AFieldIndex)], size_t(ARecIndex), AValue);
}

}  // namespace kv
