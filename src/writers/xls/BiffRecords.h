// BIFF8 record building for the workbook stream.
//
// Every record is a 16-bit id, a 16-bit data length and the data, numbers
// little-endian.  This file holds the record ids, the record list used for
// FONT, XF, COLINFO and ROW records (`TcxXLSRecordsList`, optionally
// de-duplicating), the builders of the records made from a cell style (FONT,
// XF) and from sizes (COLINFO, ROW, MERGEDCELLS), and the fixed records of the
// workbook globals and the worksheet (BOF, WINDOW1, default fonts, XFs and
// styles, BOUNDSHEET, SUPBOOK, EXTERNSHEET, DIMENSIONS, WINDOW2, EOF).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "writers/xls/ByteSink.h"

namespace kv::xls {

constexpr uint16_t cxBiffBOF = 0x0809;
constexpr uint16_t cxBiffEOF = 0x000A;
constexpr uint16_t cxBiffTABID = 0x013D;
constexpr uint16_t cxBiffWINDOW1 = 0x003D;
constexpr uint16_t cxBiffFONT = 0x0031;
constexpr uint16_t cxBiffXF = 0x00E0;
constexpr uint16_t cxBiffSTYLE = 0x0293;
constexpr uint16_t cxBiffBOUNDSHEET = 0x0085;
constexpr uint16_t cxBiffSUPBOOK = 0x01AE;
constexpr uint16_t cxBiffEXTERNSHEET = 0x0017;
constexpr uint16_t cxBiffDIMENSIONS = 0x0200;
constexpr uint16_t cxBiffWINDOW2 = 0x023E;
constexpr uint16_t cxBiffCOLINFO = 0x007D;
constexpr uint16_t cxBiffROW = 0x0208;
constexpr uint16_t cxBiffMERGEDCELLS = 0x00E5;

// Font index of the first user FONT record (indexes 0 to 3 and 5 are the
// default fonts; the format has no font 4) and XF index of the first user XF.
constexpr int cxFirstUserFont = 6;
constexpr int cxFirstUserXF = 17;
// Ranges per MERGEDCELLS record.
constexpr int cxMergedRangesPerRecord = 1024;
// Bytes of the fixed records of the stream: everything but the user FONT and
// XF records, the sheet name, the shared strings, COLINFO, ROW, cells and
// MERGEDCELLS.
constexpr int64_t cxFixedRecordsSize = 984;

// Writes one record: id, data length, data.
void WriteRecord(TcxXLSByteSink& AStream, uint16_t ARecordId, const void* AData, uint16_t ASize);

// An ordered list of records of one id.  `AddOrFind` de-duplicates: a record
// equal to a stored one (same hash, then same length and bytes) is not stored
// again and the stored one's position is returned.
class TcxXLSRecordsList {
 public:
  explicit TcxXLSRecordsList(uint16_t ARecordId) : FRecordId(ARecordId) {}

  uint16_t RecordId() const { return FRecordId; }
  int Count() const { return static_cast<int>(FItems.size()); }
  // Appends; returns the position.
  int Add(const uint8_t* AData, uint16_t ASize);
  int Add(const std::vector<uint8_t>& AData) { return Add(AData.data(), static_cast<uint16_t>(AData.size())); }
  // Position of an equal stored record, or of the appended record.
  int AddOrFind(const uint8_t* AData, uint16_t ASize);
  int AddOrFind(const std::vector<uint8_t>& AData) {
    return AddOrFind(AData.data(), static_cast<uint16_t>(AData.size()));
  }
  // Data of the record at APosition.
  std::basic_string_view<uint8_t> At(int APosition) const;
  // Bytes WriteTo writes: 4 per record plus all data.
  int64_t TotalSize() const { return 4 * int64_t(FItems.size()) + int64_t(FData.size()); }
  void WriteTo(TcxXLSByteSink& AStream) const;

 private:
  struct TItem {
    size_t Offset;
    uint16_t Size;
    uint32_t Hash;  // ExportHash of the data (records added with AddOrFind)
  };
  uint16_t FRecordId;
  std::vector<TItem> FItems;
  std::vector<uint8_t> FData;
};

// FONT record data (16 + 2 x name length bytes).
struct TcxXLSFontFields {
  uint16_t Height = 200;  // twips
  bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
  uint16_t ColorIndex = 0x7FFF;
  uint8_t Charset = 0;
  std::u16string_view Name;
};
std::vector<uint8_t> BuildFontRecord(const TcxXLSFontFields& AFont);

// One border side of an XF: line style (0 none, 1 thin, 2 medium, 5 thick)
// and palette index.
struct TcxXLSBorderSide {
  uint8_t Style = 0;
  uint8_t Color = 0;
};
// Line style for a border of AWidth pixels (0 when there is no line).
uint8_t BorderLineStyle(int AWidth);

// XF record data (20 bytes) of a cell XF.
struct TcxXLSXFFields {
  uint16_t Font = 0;
  uint16_t Format = 0;
  uint8_t AlignText = 0;  // 0 left, 1 centre, 2 right
  bool Merged = false;
  TcxXLSBorderSide Left, Right, Top, Bottom;
  uint8_t FillPattern = 0;
  uint8_t FillForeground = 64;
};
std::vector<uint8_t> BuildXFRecord(const TcxXLSXFFields& AXF);

// COLINFO data (11 bytes) for one column and ROW data (16 bytes).
std::vector<uint8_t> BuildColInfoRecord(uint16_t ACol, uint16_t AWidth);
std::vector<uint8_t> BuildRowRecord(uint16_t ARow, uint16_t AHeight);

// The fixed records.  AStreamType is 0x0005 (globals) or 0x0010 (worksheet).
void WriteBOF(TcxXLSByteSink& AStream, uint16_t AStreamType);
void WriteEOF(TcxXLSByteSink& AStream);
// TABID, WINDOW1 and the five default FONT records.
void WriteGlobalsHead(TcxXLSByteSink& AStream);
// The 17 default XF records.
void WriteDefaultXFs(TcxXLSByteSink& AStream);
// The six built-in STYLE records.
void WriteBuiltInStyles(TcxXLSByteSink& AStream);
// BOUNDSHEET with its stream position 0; returns the stream position (sink
// position) of that field so that it can be filled in later.  The name is
// cut to 255 characters, the most its length byte holds.
int64_t WriteBoundSheet(TcxXLSByteSink& AStream, std::u16string_view ASheetName);
// SUPBOOK and EXTERNSHEET.
void WriteExternals(TcxXLSByteSink& AStream);
void WriteDimensions(TcxXLSByteSink& AStream, uint32_t ARowCount, uint16_t AColCount);
void WriteWindow2(TcxXLSByteSink& AStream, bool AShowGrid);

// One merged range: rows and columns, first and last.
struct TcxXLSMergedRange {
  uint16_t FirstRow, LastRow, FirstCol, LastCol;
};
// MERGEDCELLS records, 1024 ranges per record; nothing when there are none.
void WriteMergedCells(TcxXLSByteSink& AStream, const std::vector<TcxXLSMergedRange>& ARanges);
int64_t MergedCellsSize(size_t ARangeCount);

}  // namespace kv::xls
