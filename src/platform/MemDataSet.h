// The in-memory dataset: records held in memory, made from field definitions.
//
// Typical use: fill `FieldDefs`, `CreateDataSet()` (makes the fields, empties
// the records and opens the dataset), then `Append`, set field values, `Post`
// per record.  Closing keeps the records; opening again shows them.  Every
// record carries an id of its own that bookmarks name, so a bookmark stays
// valid while other records are appended or deleted.
//
// Storage is by column, because big datasets (hundreds of thousands of
// records loaded from a file) are the common case: per field one 8-byte slot
// and one kind byte per record (null, integer, floating-point number or
// text), and for texts a length per record and one byte pool per field.  A
// value read is copied into one buffer per field, which the field reads
// through the reference `InternalGetData` returns; that reference stays valid
// until the same field is read again.  Text bytes replaced or deleted stay in
// their pool until the waste is worth compacting.
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
  // Room for this many text bytes in the pool of field AFieldIndex.
  void ReserveText(int AFieldIndex, size_t ABytes);

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
  // The values of one field, record by record.
  struct TColumn {
    enum TKind : uint8_t { vkNull, vkInteger, vkFloat, vkText };
    std::vector<uint64_t> Slots;    // integer, float bits or text position in Pool
    std::vector<uint8_t> Kinds;     // TKind per record
    std::vector<uint32_t> Lengths;  // text lengths; empty until the first text
    std::string Pool;               // text bytes
    size_t Waste = 0;               // bytes of Pool no record refers to
  };

  void MakeColumns();
  void CheckBulk(int ARecIndex, int AFieldIndex) const;
  void StoreData(TColumn& AColumn, size_t ARecIndex, const TFieldData& AValue);
  void SetText(TColumn& AColumn, size_t ARecIndex, std::string_view AValue);
  void DropText(TColumn& AColumn, size_t ARecIndex);
  static void Compact(TColumn& AColumn);

  // Record ids in order; they increase along the list (records are only appended).
  std::vector<uint64_t> FIds;
  std::vector<TColumn> FColumns;
  size_t FReserved = 0;
  uint64_t FNextId = 1;
  bool FCreated = false;
  // Per field: the value read last (InternalGetData's answer).
  mutable std::vector<TFieldData> FRead;
};

}  // namespace kv
