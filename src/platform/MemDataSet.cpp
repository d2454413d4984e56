// Record storage of the in-memory dataset.
#include "platform/MemDataSet.h"

#include <algorithm>

namespace kv {

void TMemDataSet::CreateDataSet() {
  CheckInactive("CreateDataSet");
  CreateFields();
  FRecords.clear();
  FCreated = true;
  Open();
}

void TMemDataSet::EmptyDataSet() {
  bool wasActive = Active();
  if (wasActive) Close();
  FRecords.clear();
  if (wasActive) Open();
}

void TMemDataSet::InternalOpen() {
  // A dataset opened without CreateDataSet gets its fields on first opening.
  if (!FCreated) {
    CreateFields();
    FCreated = true;
  }
}

const TFieldData& TMemDataSet::InternalGetData(int ARecIndex, int AFieldIndex) const {
  return FRecords[static_cast<size_t>(ARecIndex)].Values[static_cast<size_t>(AFieldIndex)];
}

int TMemDataSet::InternalPost(int ARecIndex, std::vector<TFieldData>&& AValues) {
  if (ARecIndex >= 0) {
    FRecords[static_cast<size_t>(ARecIndex)].Values = std::move(AValues);
    return ARecIndex;
  }
  FRecords.push_back(TRecord{FNextId++, std::move(AValues)});
  return static_cast<int>(FRecords.size()) - 1;
}

void TMemDataSet::InternalDelete(int ARecIndex) { FRecords.erase(FRecords.begin() + ARecIndex); }

uint64_t TMemDataSet::InternalRecordId(int ARecIndex) const { return FRecords[static_cast<size_t>(ARecIndex)].Id; }

int TMemDataSet::InternalFindRecordId(uint64_t AId) const {
  auto it =
      std::lower_bound(FRecords.begin(), FRecords.end(), AId, [](const TRecord& r, uint64_t id) { return r.Id < id; });
  if (it == FRecords.end() || it->Id != AId) return -1;
  return static_cast<int>(it - FRecords.begin());
}

}  // namespace kv
