// The workbook's shared string table: SST, CONTINUE and EXTSST records.
//
// `TcxXLSSharedStringTable` collects the texts that cells refer to by index
// (LABELSST) and lays them out, as they arrive, in record blocks of at most
// 8,192 data bytes: block 0 is the SST record (it starts with the total and
// unique string counts), every further block a CONTINUE record.  A string is
// its character count, an option byte 1 (UTF-16, no rich text, no phonetic
// data) and its characters; a string that does not fit continues in the next
// block, which starts with a fresh option byte.  Because the layout is final
// from the start, `TotalSize` is exact before anything is written, and
// `WriteTo` is a plain copy followed by the EXTSST record, whose buckets point
// at every d-th string (see `BucketsFor`).
//
// Strings are not shared: every text added gets a new index.  A text longer
// than `MaxStringLength` UTF-16 units (the most a cell holds) is cut there.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "writers/xls/ByteSink.h"

namespace kv::xls {

constexpr uint16_t cxBiffSST = 0x00FC;
constexpr uint16_t cxBiffCONTINUE = 0x003C;
constexpr uint16_t cxBiffEXTSST = 0x00FF;

class TcxXLSSharedStringTable {
 public:
  static constexpr size_t MaxRecordData = 8192;
  static constexpr size_t MaxStringLength = 32767;
  static constexpr int MaxBuckets = 127;

  // The EXTSST bucket shape for ACount strings: APerBucket strings per bucket
  // and ACount buckets; bucket j starts at string APerBucket * j.
  struct TBuckets {
    int PerBucket = 8;
    int Count = 1;
  };
  static TBuckets BucketsFor(int64_t AStringCount);

  TcxXLSSharedStringTable() = default;
  TcxXLSSharedStringTable(const TcxXLSSharedStringTable&) = delete;
  TcxXLSSharedStringTable& operator=(const TcxXLSSharedStringTable&) = delete;

  // Adds a text (cut to MaxStringLength units) and returns its 0-based index.
  uint32_t AddString(std::u16string_view AText);
  uint32_t StringCount() const { return FStringCount; }
  // Bytes WriteTo writes: every block as a record plus the EXTSST record; 0
  // when no string was added.
  int64_t TotalSize() const;
  // Writes the SST, CONTINUE and EXTSST records.  AStreamStart is the sink
  // position at which the workbook stream began, so that the EXTSST entries
  // hold positions within the stream.  Writes nothing when the table is empty.
  void WriteTo(TcxXLSByteSink& AStream, int64_t AStreamStart = 0) const;

 private:
  struct TSSTBlock {
    uint16_t RecordId;
    uint16_t DataSize;
    uint8_t Data[MaxRecordData];
  };
  // Where a string's character count lies.
  struct TSSTStringInfo {
    uint32_t Block;
    uint16_t Offset;
  };

  TSSTBlock& AppendBlock(uint16_t ARecordId);

  std::vector<std::unique_ptr<TSSTBlock>> FBlocks;
  std::vector<TSSTStringInfo> FStringsInfo;
  uint32_t FStringCount = 0;
};

}  // namespace kv::xls
