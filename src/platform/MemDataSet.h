// The in-memory dataset: records held in memory, made from field definitions.
//
// Typical use: fill `FieldDefs`, `CreateDataSet()` (makes the fields, empties
// the records and opens the dataset), then `Append`, set field values, `Post`
// per record.  Closing keeps the records; opening again shows them.  Every
// record carries an id of its own that bookmarks name, so a bookmark stays
// valid while other records are appended or deleted.
//
// Storage is compact, because big datasets (hundreds of thousands of records
// loaded from a file) are the common case: one 8-byte slot and one kind byte
// per value (null, integer, floating-point number or text), record after
// record, and the bytes of all texts in one pool, a text's slot holding its
// position and length.  These few large buffers come from LargeMemory.h.  A
// value read is copied into one buffer per field, which the field reads
// through the reference `InternalGetData` returns; that reference stays valid
// until the same field is read again.  Text bytes replaced or deleted stay in
// the pool until the waste is worth compacting.
//
// Loaders that convert values themselves fill records in bulk: `AppendRecords`
// adds records whose values are all null and the `Store...` functions set a
// value that is already in the field's canonical form (DBFields.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/DB.h"
#include "platform/LargeMemory.h"

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
  void Reserve(size_t ARecords);
  // Room for this many more text bytes without reallocation.
  void ReserveText(size_t ABytes);

  // --- Loading in bulk -------------------------------------------------------
  // Appends ACount records with every value null after the last record, as
  // that many Append and Post calls would: the last one becomes current and
  // the data sources hear of the change.  The dataset must be open in browse
  // state (EDatabaseError otherwise).
  void AppendRecords(size_t ACount);
  // Store a value of field AFieldIndex of record ARecIndex (0-based) that is
  // already in the field's canonical form, without the field's conversions
  // and without notifications.  Browse state; the indexes must be valid
  // (list-index error otherwise).
  void StoreInteger(int ARecIndex, int AFieldIndex, int64_t AValue);
  void StoreFloat(int ARecIndex, int AFieldIndex, double AValue);
  void StoreText(int ARecIndex, int AFieldIndex, std::string_view AValue);

 protected:
  int InternalRecordCount() const override { return static_cast<int>(FIds.size()); }
  const TFieldData& InternalGetData(int ARecIndex, int AFieldIndex) const override;
  int InternalPost(int ARecIndex, std::vector<TFieldData>&& AValues) override;
  void InternalDelete(int ARecIndex) override;
  uint64_t InternalRecordId(int ARecIndex) const override;
  int InternalFindRecordId(uint64_t AId) const override;
  void InternalOpen() override;

 private:
  enum TKind : uint8_t { vkNull, vkInteger, vkFloat, vkText };

  void MakeStorage();
  void CheckBulk(int ARecIndex, int AFieldIndex) const;
  size_t At(size_t ARecIndex, int AFieldIndex) const { return ARecIndex * FFieldCount + size_t(AFieldIndex); }
  void StoreData(size_t AAt, const TFieldData& AValue);
  void SetText(size_t AAt, std::string_view AValue);
  // The bytes of the text in the slot at AAt.
  std::string_view TextAt(size_t AAt) const;
  // Counts the text at AAt, if any, as waste.
  void DropText(size_t AAt);
  void CompactIfWasteful();

  size_t FFieldCount = 0;
  // Per record, its id; ids increase along the list (records are only appended).
  TLargeVector<uint64_t> FIds;
  // Per value (record by record, field by field): integer, float bits or
  // text position << 24 | length, and its kind.
  TLargeVector<uint64_t> FSlots;
  TLargeVector<uint8_t> FKinds;
  TLargeVector<char> FPool;  // text bytes
  size_t FWaste = 0;         // bytes of FPool no value refers to
  size_t FReserved = 0;
  uint64_t FNextId = 1;
  bool FCreated = false;
  // Per field: the value read last (InternalGetData's answer).
  mutable std::vector<TFieldData> FRead;
};

}  // namespace kv
