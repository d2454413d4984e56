// Cell table: cell records in final form, written column by column.
#include "writers/xls/CellTable.h"

#include <algorithm>
#include <cstring>
#include <span>

namespace kv::xls {

namespace {

constexpr size_t LabelHeadSize = 13;  // id, length, row, column, XF, count, flags

uint64_t PoolOffsetOf(const TcxXLSCell& ACell) {
  uint64_t v = 0;
  for (int i = 0; i < 5; ++i) v |= uint64_t(ACell.Record[LabelHeadSize + i]) << (8 * i);
  return v;
}

constexpr size_t FirstPoolChunk = size_t(1) << 16;
constexpr size_t LastPoolChunk = size_t(1) << 22;
constexpr int PoolChunkShift = 26;

}  // namespace

TcxXLSCellsData::~TcxXLSCellsData() { FreePool(); }

uint8_t* TcxXLSCellsData::PoolAppend(size_t ASize, uint64_t& APosition) {
  if (FTextPool.empty() || FPoolUsed + ASize > FTextPool.back().Size) {
    const size_t size = FTextPool.empty() ? FirstPoolChunk : std::min(2 * FTextPool.back().Size, LastPoolChunk);
    FTextPool.reserve(FTextPool.size() + 1);
    FTextPool.push_back({static_cast<uint8_t*>(AllocateLarge(size)), size});
    FPoolUsed = 0;
  }
  APosition = uint64_t(FTextPool.size() - 1) << PoolChunkShift | FPoolUsed;
  uint8_t* at = FTextPool.back().Bytes + FPoolUsed;
  FPoolUsed += ASize;
  return at;
}

const uint8_t* TcxXLSCellsData::PoolAt(uint64_t APosition) const {
  return FTextPool[size_t(APosition >> PoolChunkShift)].Bytes + (APosition & ((uint64_t(1) << PoolChunkShift) - 1));
}

void TcxXLSCellsData::FreePool() {
  for (const TPoolChunk& chunk : FTextPool) FreeLarge(chunk.Bytes, chunk.Size);
  FTextPool.clear();
  FPoolUsed = 0;
}

uint16_t TcxXLSCellsData::NumberFormatOf(const TcxXLSCell& ACell) {
  switch (ACell.NumberKind) {
    case TcxXLSNumberKind::DateTime:
      return 22;
    case TcxXLSNumberKind::DateOnly:
      return 14;
    case TcxXLSNumberKind::TimeOnly:
      return 21;
    case TcxXLSNumberKind::Currency:
      return 7;
    default:
      return 0;
  }
}

void TcxXLSCellsData::Resize(int AColCount, int ARowCount) {
  FColCount = AColCount < 0 ? 0 : AColCount;
  FRowCount = ARowCount < 0 ? 0 : ARowCount;
  FCells.reset();
  FreePool();
  const size_t count = size_t(FColCount) * size_t(FRowCount);
  // Each cell is written once below.
  FCells = std::unique_ptr<TcxXLSCell[], TcxXLSCellBlockFree>(
      static_cast<TcxXLSCell*>(AllocateLarge(count * sizeof(TcxXLSCell))), TcxXLSCellBlockFree{count});
  TcxXLSCell blank{};
  TcxXLSByteSink::PutU16(blank.Record, cxBiffBLANK);
  TcxXLSByteSink::PutU16(blank.Record + 2, 6);
  TcxXLSCell* cell = FCells.get();
  for (int c = 0; c < FColCount; ++c) {
    TcxXLSByteSink::PutU16(blank.Record + 6, static_cast<uint16_t>(c));
    for (int r = 0; r < FRowCount; ++r, ++cell) {
      TcxXLSByteSink::PutU16(blank.Record + 4, static_cast<uint16_t>(r));
      *cell = blank;
    }
  }
  FCellCount = count;
  FTotalSize = 10 * int64_t(count);
}

void TcxXLSCellsData::SetRecord(TcxXLSCell& ACell, uint16_t ARecordId, uint16_t ADataSize, TcxXLSNumberKind AKind) {
  FTotalSize += int64_t(ADataSize) - ACell.DataSize();
  TcxXLSByteSink::PutU16(ACell.Record, ARecordId);
  TcxXLSByteSink::PutU16(ACell.Record + 2, ADataSize);
  std::memset(ACell.Record + 10, 0, 8);
  ACell.NumberKind = AKind;
}

void TcxXLSCellsData::SetBlank(TcxXLSCell& ACell) { SetRecord(ACell, cxBiffBLANK, 6, TcxXLSNumberKind::General); }

void TcxXLSCellsData::SetNumber(TcxXLSCell& ACell, double AValue, TcxXLSNumberKind AKind) {
  SetRecord(ACell, cxBiffNUMBER, 14, AKind);
  TcxXLSByteSink::PutDouble(ACell.Record + 10, AValue);
}

void TcxXLSCellsData::SetBoolean(TcxXLSCell& ACell, bool AValue) {
  SetRecord(ACell, cxBiffBOOLERR, 8, TcxXLSNumberKind::General);
  ACell.Record[10] = AValue ? 1 : 0;
  ACell.Record[11] = 0;
}

void TcxXLSCellsData::SetLabelSST(TcxXLSCell& ACell, uint32_t AStringIndex) {
  SetRecord(ACell, cxBiffLABELSST, 10, TcxXLSNumberKind::General);
  TcxXLSByteSink::PutU32(ACell.Record + 10, AStringIndex);
}

void TcxXLSCellsData::SetLabel8(TcxXLSCell& ACell, std::string_view AChars) {
  if (AChars.size() > 255) AChars = AChars.substr(0, 255);
  SetRecord(ACell, cxBiffLABEL, static_cast<uint16_t>(9 + AChars.size()), TcxXLSNumberKind::General);
  uint64_t at;
  std::memcpy(PoolAppend(AChars.size(), at), AChars.data(), AChars.size());
  TcxXLSByteSink::PutU16(ACell.Record + 10, static_cast<uint16_t>(AChars.size()));
  ACell.Record[12] = 0;
  for (int i = 0; i < 5; ++i) ACell.Record[LabelHeadSize + i] = static_cast<uint8_t>(at >> (8 * i));
}

void TcxXLSCellsData::SetLabel16(TcxXLSCell& ACell, std::u16string_view AChars) {
  if (AChars.size() > 255) AChars = AChars.substr(0, 255);
  SetRecord(ACell, cxBiffLABEL, static_cast<uint16_t>(9 + 2 * AChars.size()), TcxXLSNumberKind::General);
  uint64_t at;
  uint8_t* to = PoolAppend(2 * AChars.size(), at);
  TcxXLSByteSink::PutU16(ACell.Record + 10, static_cast<uint16_t>(AChars.size()));
  ACell.Record[12] = 1;
  for (int i = 0; i < 5; ++i) ACell.Record[LabelHeadSize + i] = static_cast<uint8_t>(at >> (8 * i));
  for (char16_t ch : AChars) {
    TcxXLSByteSink::PutU16(to, static_cast<uint16_t>(ch));
    to += 2;
  }
}

void TcxXLSCellsData::WriteTo(TcxXLSByteSink& AStream) const {
  for (const TcxXLSCell& cell : std::span(FCells.get(), FCellCount)) {
    size_t size = 4 + size_t(cell.DataSize());
    if (cell.RecordId() == cxBiffLABEL) {
      AStream.Write(cell.Record, LabelHeadSize);
      AStream.Write(PoolAt(PoolOffsetOf(cell)), size - LabelHeadSize);
    } else {
      AStream.Write(cell.Record, size);
    }
  }
}

}  // namespace kv::xls
