// Shared string table: strings laid out in SST/CONTINUE record blocks as they
// arrive, EXTSST buckets computed when written.
#include "writers/xls/SharedStringTable.h"

#include <cstring>

namespace kv::xls {

TcxXLSSharedStringTable::TSSTBlock& TcxXLSSharedStringTable::AppendBlock(uint16_t ARecordId) {
  FBlocks.push_back(std::make_unique<TSSTBlock>());
  TSSTBlock& block = *FBlocks.back();
  block.RecordId = ARecordId;
  block.DataSize = 0;
  return block;
}

uint32_t TcxXLSSharedStringTable::AddString(std::u16string_view AText) {
  if (AText.size() > MaxStringLength) AText = AText.substr(0, MaxStringLength);
  const uint32_t index = FStringCount;
  if (FBlocks.empty()) AppendBlock(cxBiffSST).DataSize = 8;  // room for the two counts

  const size_t chars = AText.size();
  const size_t bytes = 2 * chars;
  if (size_t(FBlocks.back()->DataSize) + 4 > MaxRecordData) AppendBlock(cxBiffCONTINUE);
  TSSTBlock* block = FBlocks.back().get();

  // The count and option byte always stay together; as many whole characters
  // as fit follow them.
  size_t room = MaxRecordData - (block->DataSize + 3);
  size_t part = bytes < room ? bytes : room & ~size_t(1);
  FStringsInfo.push_back({static_cast<uint32_t>(FBlocks.size() - 1), block->DataSize});
  uint8_t* at = block->Data + block->DataSize;
  TcxXLSByteSink::PutU16(at, static_cast<uint16_t>(chars));
  at[2] = 1;
  at += 3;
  const char16_t* src = AText.data();
  auto copyChars = [&](uint8_t* ATo, size_t ABytes) {
    for (size_t i = 0; i < ABytes / 2; ++i) TcxXLSByteSink::PutU16(ATo + 2 * i, static_cast<uint16_t>(*src++));
  };
  copyChars(at, part);
  block->DataSize = static_cast<uint16_t>(block->DataSize + 3 + part);

  size_t left = bytes - part;
  while (left > 0) {
    block = &AppendBlock(cxBiffCONTINUE);
    size_t next = left <= MaxRecordData - 1 ? left : (MaxRecordData - 1) & ~size_t(1);
    block->Data[0] = 1;
    copyChars(block->Data + 1, next);
    block->DataSize = static_cast<uint16_t>(1 + next);
    left -= next;
  }

  ++FStringCount;
  TcxXLSByteSink::PutU32(FBlocks[0]->Data, FStringCount);
  TcxXLSByteSink::PutU32(FBlocks[0]->Data + 4, FStringCount);
  return index;
}

TcxXLSSharedStringTable::TBuckets TcxXLSSharedStringTable::BucketsFor(int64_t AStringCount) {
  TBuckets b;
  const int64_t c = AStringCount;
  while (c > int64_t(b.PerBucket) * b.Count) {
    b.PerBucket += 8;
    if (b.Count < MaxBuckets && c > int64_t(b.PerBucket) * b.Count) ++b.Count;
  }
  while (c < int64_t(b.PerBucket) * (b.Count - 1)) --b.Count;
  return b;
}

int64_t TcxXLSSharedStringTable::TotalSize() const {
  if (FStringCount == 0) return 0;
  int64_t size = 0;
  for (const auto& block : FBlocks) size += 4 + block->DataSize;
  return size + 4 + 2 + 8 * BucketsFor(FStringCount).Count;
}

void TcxXLSSharedStringTable::WriteTo(TcxXLSByteSink& AStream, int64_t AStreamStart) const {
  if (FStringCount == 0) return;
  const TBuckets buckets = BucketsFor(FStringCount);
  // Stream position of each block's record, for the bucket entries.
  std::vector<int64_t> blockStart(FBlocks.size());
  int64_t pos = AStream.Position() - AStreamStart;
  for (size_t k = 0; k < FBlocks.size(); ++k) {
    blockStart[k] = pos;
    pos += 4 + FBlocks[k]->DataSize;
  }
  for (const auto& block : FBlocks) {
    AStream.WriteU16(block->RecordId);
    AStream.WriteU16(block->DataSize);
    AStream.Write(block->Data, block->DataSize);
  }
  AStream.WriteU16(cxBiffEXTSST);
  AStream.WriteU16(static_cast<uint16_t>(2 + 8 * buckets.Count));
  AStream.WriteU16(static_cast<uint16_t>(buckets.PerBucket));
  for (int j = 0; j < buckets.Count; ++j) {
    int64_t first = int64_t(buckets.PerBucket) * j;
    uint32_t streamPos = 0;
    uint16_t offset = 0;
    if (first < FStringCount) {
      const TSSTStringInfo& info = FStringsInfo[static_cast<size_t>(first)];
      streamPos = static_cast<uint32_t>(blockStart[info.Block] + 4 + info.Offset);
      offset = static_cast<uint16_t>(4 + info.Offset);
    }
    AStream.WriteU32(streamPos);
    AStream.WriteU16(offset);
    AStream.WriteU16(0);
  }
}

}  // namespace kv::xls
