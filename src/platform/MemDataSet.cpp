// Record storage of the in-memory dataset: value slots record by record, one
// pool for the texts.
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

// A text slot: its position in the pool above 24 bits of length.  A text of
// LongText bytes or more has LongText there and its length in 8 bytes before
// its bytes.
constexpr uint64_t LongText = 0xFFFFFF;
constexpr uint64_t MaxPoolSize = uint64_t(1) << 40;

// The pool is compacted when at least this much of it, and half, is waste.
constexpr size_t MinWasteToCompact = 1 << 16;

}  // namespace

void TMemDataSet::MakeStorage() {
  FFieldCount = static_cast<size_t>(FieldCount());
  FRead.assign(FFieldCount, TFieldData());
  FIds.clear();
  FSlots.clear();
  FKinds.clear();
  FPool.clear();
  FWaste = 0;
  if (FReserved > 0) Reserve(FReserved);
}

void TMemDataSet::CreateDataSet() {
  CheckInactive("CreateDataSet");
  CreateFields();
  MakeStorage();
  FCreated = true;
  Open();
}

void TMemDataSet::EmptyDataSet() {
  bool wasActive = Active();
  if (wasActive) Close();
  TLargeVector<uint64_t>().swap(FIds);
  TLargeVector<uint64_t>().swap(FSlots);
  TLargeVector<uint8_t>().swap(FKinds);
  TLargeVector<char>().swap(FPool);
  FWaste = 0;
  if (wasActive) Open();
}

void TMemDataSet::Reserve(size_t ARecords) {
  FReserved = ARecords;
  FIds.reserve(ARecords);
  FSlots.reserve(ARecords * FFieldCount);
  FKinds.reserve(ARecords * FFieldCount);
}

void TMemDataSet::ReserveText(size_t ABytes) { FPool.reserve(FPool.size() + ABytes); }

void TMemDataSet::InternalOpen() {
  // A dataset opened without CreateDataSet gets its fields on first opening.
  if (!FCreated) {
    CreateFields();
    MakeStorage();
    FCreated = true;
  }
}

std::string_view TMemDataSet::TextAt(size_t AAt) const {
  const uint64_t slot = FSlots[AAt];
  uint64_t position = slot >> 24, length = slot & LongText;
  if (length == LongText) {
    std::memcpy(&length, FPool.data() + position, sizeof length);
    position += sizeof length;
  }
  return std::string_view(FPool.data() + position, length);
}

const TFieldData& TMemDataSet::InternalGetData(int ARecIndex, int AFieldIndex) const {
  const size_t at = At(static_cast<size_t>(ARecIndex), AFieldIndex);
  TFieldData& read = FRead[static_cast<size_t>(AFieldIndex)];
  switch (FKinds[at]) {
    case vkInteger:
      read = static_cast<int64_t>(FSlots[at]);
      break;
    case vkFloat:
      read = DoubleOf(FSlots[at]);
      break;
    case vkText: {
      // Assigning into the text already there reuses its buffer.
      const std::string_view text = TextAt(at);
      if (std::string* s = std::get_if<std::string>(&read))
        s->assign(text);
      else
        read.emplace<std::string>(text);
      break;
    }
    default:
      read = std::monostate{};
      break;
  }
  return read;
}

void TMemDataSet::DropText(size_t AAt) {
  if (FKinds[AAt] != vkText) return;
  const uint64_t length = FSlots[AAt] & LongText;
  FWaste += length == LongText ? TextAt(AAt).size() + sizeof(uint64_t) : length;
}

void TMemDataSet::CompactIfWasteful() {
  if (FWaste < MinWasteToCompact || FWaste * 2 < FPool.size()) return;
  TLargeVector<char> pool;
  pool.reserve(FPool.size() - FWaste);
  for (size_t at = 0; at < FKinds.size(); ++at) {
    if (FKinds[at] != vkText) continue;
    const uint64_t slot = FSlots[at];
    const std::string_view text = TextAt(at);
    const uint64_t position = pool.size();
    if ((slot & LongText) == LongText) {
      const uint64_t length = text.size();
      pool.insert(pool.end(), reinterpret_cast<const char*>(&length), reinterpret_cast<const char*>(&length + 1));
    }
    pool.insert(pool.end(), text.begin(), text.end());
    FSlots[at] = position << 24 | (slot & LongText);
  }
  FPool.swap(pool);
  FWaste = 0;
}

void TMemDataSet::SetText(size_t AAt, std::string_view AValue) {
  const uint64_t length = AValue.size();
  if (FKinds[AAt] == vkText && (FSlots[AAt] & LongText) != LongText && (FSlots[AAt] & LongText) >= length) {
    // The new text fits where the old one was.
    const uint64_t position = FSlots[AAt] >> 24;
    std::memcpy(FPool.data() + position, AValue.data(), AValue.size());
    FWaste += (FSlots[AAt] & LongText) - length;
    FSlots[AAt] = position << 24 | length;
  } else {
    DropText(AAt);
    const uint64_t position = FPool.size();
    const size_t needed = AValue.size() + (length >= LongText ? sizeof length : 0);
    if (position + needed > MaxPoolSize) throw EDatabaseError("Too much text for a dataset");
    if (length >= LongText)
      FPool.insert(FPool.end(), reinterpret_cast<const char*>(&length), reinterpret_cast<const char*>(&length + 1));
    FPool.insert(FPool.end(), AValue.begin(), AValue.end());
    FSlots[AAt] = position << 24 | std::min(length, LongText);
  }
  FKinds[AAt] = vkText;
  CompactIfWasteful();
}

void TMemDataSet::StoreData(size_t AAt, const TFieldData& AValue) {
  if (const std::string* text = std::get_if<std::string>(&AValue)) {
    SetText(AAt, *text);
    return;
  }
  DropText(AAt);
  if (const int64_t* i = std::get_if<int64_t>(&AValue)) {
    FSlots[AAt] = static_cast<uint64_t>(*i);
    FKinds[AAt] = vkInteger;
  } else if (const double* d = std::get_if<double>(&AValue)) {
    FSlots[AAt] = BitsOf(*d);
    FKinds[AAt] = vkFloat;
  } else {
    FSlots[AAt] = 0;
    FKinds[AAt] = vkNull;
  }
  CompactIfWasteful();
}

int TMemDataSet::InternalPost(int ARecIndex, std::vector<TFieldData>&& AValues) {
  size_t r = static_cast<size_t>(ARecIndex);
  if (ARecIndex < 0) {
    r = FIds.size();
    FIds.push_back(FNextId++);
    FSlots.resize(FSlots.size() + FFieldCount, 0);
    FKinds.resize(FKinds.size() + FFieldCount, vkNull);
  }
  for (size_t f = 0; f < FFieldCount; ++f)
    StoreData(At(r, static_cast<int>(f)), f < AValues.size() ? AValues[f] : TFieldData());
  AValues.clear();
  return static_cast<int>(r);
}

void TMemDataSet::InternalDelete(int ARecIndex) {
  const size_t first = At(static_cast<size_t>(ARecIndex), 0);
  for (size_t at = first; at < first + FFieldCount; ++at) DropText(at);
  FIds.erase(FIds.begin() + ARecIndex);
  FSlots.erase(FSlots.begin() + std::ptrdiff_t(first), FSlots.begin() + std::ptrdiff_t(first + FFieldCount));
  FKinds.erase(FKinds.begin() + std::ptrdiff_t(first), FKinds.begin() + std::ptrdiff_t(first + FFieldCount));
  CompactIfWasteful();
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
  FSlots.resize(FIds.size() * FFieldCount, 0);
  FKinds.resize(FIds.size() * FFieldCount, vkNull);
  RecordsAppended();
}

void TMemDataSet::CheckBulk(int ARecIndex, int AFieldIndex) const {
  if (State() != dsBrowse) throw EDatabaseError("Dataset not in browse mode");
  if (ARecIndex < 0 || size_t(ARecIndex) >= FIds.size()) RaiseListIndexError(ARecIndex);
  if (AFieldIndex < 0 || size_t(AFieldIndex) >= FFieldCount) RaiseListIndexError(AFieldIndex);
}

void TMemDataSet::StoreInteger(int ARecIndex, int AFieldIndex, int64_t AValue) {
  CheckBulk(ARecIndex, AFieldIndex);
  StoreData(At(size_t(ARecIndex), AFieldIndex), TFieldData(AValue));
}

void TMemDataSet::StoreFloat(int ARecIndex, int AFieldIndex, double AValue) {
  CheckBulk(ARecIndex, AFieldIndex);
  StoreData(At(size_t(ARecIndex), AFieldIndex), TFieldData(AValue));
}

void TMemDataSet::StoreText(int ARecIndex, int AFieldIndex, std::string_view AValue) {
  CheckBulk(ARecIndex, AFieldIndex);
  SetText(At(size_t(ARecIndex), AFieldIndex), AValue);
}

}  // namespace kv
