// The worksheet's cell table: one cell record per cell, kept in final form.
//
// `TcxXLSCellsData` holds a record for every cell of the grid, column by
// column (cell (c, r) at c * rows + r), each already in the byte form it is
// written in: record id, data length, row, column, XF field, value.  Until the
// workbook is finished the XF field of an unlocked cell holds the cell's style
// index; a locked cell (inside a merged area) holds its final XF index.
// Writing the sheet is then one copy per cell.
//
// Each cell takes 20 bytes: the first 18 bytes of its record (a BLANK,
// NUMBER, BOOLERR or LABELSST record entirely; a LABEL record up to its
// string flags, followed by the 40-bit position of its characters in the
// table's text pool), the number kind that decides its number format, and the
// locked flag.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "platform/LargeMemory.h"
#include "writers/xls/ByteSink.h"

namespace kv::xls {

constexpr uint16_t cxBiffBLANK = 0x0201;
constexpr uint16_t cxBiffNUMBER = 0x0203;
constexpr uint16_t cxBiffLABEL = 0x0204;
constexpr uint16_t cxBiffBOOLERR = 0x0205;
constexpr uint16_t cxBiffLABELSST = 0x00FD;

// What kind of number a NUMBER cell holds; it decides the cell's built-in
// number format.
enum class TcxXLSNumberKind : uint8_t { General, DateTime, DateOnly, TimeOnly, Currency };

struct TcxXLSCell {
  uint8_t Record[18];
  TcxXLSNumberKind NumberKind;
  uint8_t Locked;

  uint16_t RecordId() const { return static_cast<uint16_t>(Record[0] | Record[1] << 8); }
  uint16_t DataSize() const { return static_cast<uint16_t>(Record[2] | Record[3] << 8); }
  uint16_t XF() const { return static_cast<uint16_t>(Record[8] | Record[9] << 8); }
  void SetXF(uint16_t AValue) { TcxXLSByteSink::PutU16(Record + 8, AValue); }
  bool IsLocked() const { return Locked != 0; }
};
static_assert(sizeof(TcxXLSCell) == 20);

// Frees a block of cells from AllocateLarge.
struct TcxXLSCellBlockFree {
  size_t Count = 0;
  void operator()(TcxXLSCell* ACells) const noexcept { FreeLarge(ACells, Count * sizeof(TcxXLSCell)); }
};

class TcxXLSCellsData {
 public:
  TcxXLSCellsData() = default;
  ~TcxXLSCellsData();
  TcxXLSCellsData(const TcxXLSCellsData&) = delete;
  TcxXLSCellsData& operator=(const TcxXLSCellsData&) = delete;

  // Built-in number format of each number kind (General 0, date and time 22,
  // date 14, time 21, currency 7).
  static uint16_t NumberFormatOf(const TcxXLSCell& ACell);

  // A new table of AColCount x ARowCount BLANK records with style 0, unlocked.
  void Resize(int AColCount, int ARowCount);
  int ColCount() const { return FColCount; }
  int RowCount() const { return FRowCount; }
  // The cell at (ACol, ARow); the caller checks the range.
  TcxXLSCell& CellAt(int ACol, int ARow) { return FCells[size_t(ACol) * size_t(FRowCount) + size_t(ARow)]; }
  size_t CellCount() const { return FCellCount; }

  // Record setters; each keeps the cell's XF field and locked flag.
  void SetBlank(TcxXLSCell& ACell);
  void SetNumber(TcxXLSCell& ACell, double AValue, TcxXLSNumberKind AKind = TcxXLSNumberKind::General);
  void SetBoolean(TcxXLSCell& ACell, bool AValue);
  // LABEL with 8-bit characters (at most 255).
  void SetLabel8(TcxXLSCell& ACell, std::string_view AChars);
  // LABEL with UTF-16 characters (at most 127 here, the format allows 255).
  void SetLabel16(TcxXLSCell& ACell, std::u16string_view AChars);
  void SetLabelSST(TcxXLSCell& ACell, uint32_t AStringIndex);

  // Bytes WriteTo writes: the sum over all cells of 4 + data length.
  int64_t TotalSize() const { return FTotalSize; }
  // Writes every cell record in storage order.
  void WriteTo(TcxXLSByteSink& AStream) const;

 private:
  void SetRecord(TcxXLSCell& ACell, uint16_t ARecordId, uint16_t ADataSize, TcxXLSNumberKind AKind);

  // The cells, from AllocateLarge (not value-initialised: Resize fills every cell).
  std::unique_ptr<TcxXLSCell[], TcxXLSCellBlockFree> FCells;
  size_t FCellCount = 0;
  // Characters of LABEL records, in chunks that never move (64 KiB first,
  // each twice the last up to 4 MiB): a label's position is its chunk's
  // number above 26 bits of position in the chunk.
  struct TPoolChunk {
    uint8_t* Bytes;
    size_t Size;
  };
  std::vector<TPoolChunk> FTextPool;
  size_t FPoolUsed = 0;  // bytes used in the last chunk
  // Room for ASize bytes (at most 510); APosition receives their position.
  uint8_t* PoolAppend(size_t ASize, uint64_t& APosition);
  const uint8_t* PoolAt(uint64_t APosition) const;
  void FreePool();
  int FColCount = 0;
  int FRowCount = 0;
  int64_t FTotalSize = 0;
};

}  // namespace kv::xls
