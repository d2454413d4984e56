// The in-memory dataset: records held in memory, made from field definitions.
//
// Typical use: fill `FieldDefs`, `CreateDataSet()` (makes the fields, empties
// the records and opens the dataset), then `Append`, set field values, `Post`
// per record.  Closing keeps the records; opening again shows them.  Every
// record carries an id of its own that bookmarks name, so a bookmark stays
// valid while other records are appended or deleted.
#pragma once

#include <vector>

#include "platform/DB.h"

namespace kv {

class TMemDataSet : public TDataSet {
 public:
  explicit TMemDataSet(TComponent* AOwner = nullptr) : TDataSet(AOwner) {}

  // Makes the fields from FieldDefs, drops all records and opens the dataset.
  // Raises EDatabaseError on an open dataset.
  void CreateDataSet();
  // Drops all records (the dataset stays as it is, open or closed).
  void EmptyDataSet();
  // Room for this many records without reallocation (loaders know the count).
  void Reserve(size_t ARecords) { FRecords.reserve(ARecords); }

 protected:
  int InternalRecordCount() const override { return static_cast<int>(FRecords.size()); }
  const TFieldData& InternalGetData(int ARecIndex, int AFieldIndex) const override;
  int InternalPost(int ARecIndex, std::vector<TFieldData>&& AValues) override;
  void InternalDelete(int ARecIndex) override;
  uint64_t InternalRecordId(int ARecIndex) const override;
  int InternalFindRecordId(uint64_t AId) const override;
  void InternalOpen() override;

 private:
  struct TRecord {
    uint64_t Id;
    std::vector<TFieldData> Values;
  };
  // Records in order; ids increase along the list (records are only appended).
  std::vector<TRecord> FRecords;
  uint64_t FNextId = 1;
  bool FCreated = false;
};

}  // namespace kv
