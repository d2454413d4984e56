// BIFF8 records: record lists, style records and the fixed records.
#include "writers/xls/BiffRecords.h"

#include <algorithm>
#include <cstring>

#include "export/core/ExportHelpers.h"

namespace kv::xls {

namespace {

using B = TcxXLSByteSink;

void Put16(std::vector<uint8_t>& AData, size_t AAt, uint16_t AValue) { B::PutU16(AData.data() + AAt, AValue); }
void Put32(std::vector<uint8_t>& AData, size_t AAt, uint32_t AValue) { B::PutU32(AData.data() + AAt, AValue); }

}  // namespace

void WriteRecord(TcxXLSByteSink& AStream, uint16_t ARecordId, const void* AData, uint16_t ASize) {
  uint8_t head[4];
  B::PutU16(head, ARecordId);
  B::PutU16(head + 2, ASize);
  AStream.Write(head, 4);
  if (ASize > 0) AStream.Write(AData, ASize);
}

int TcxXLSRecordsList::Add(const uint8_t* AData, uint16_t ASize) {
  FItems.push_back({FData.size(), ASize, 0});  // no hash: never searched
  FData.insert(FData.end(), AData, AData + ASize);
  return Count() - 1;
}

int TcxXLSRecordsList::AddOrFind(const uint8_t* AData, uint16_t ASize) {
  uint32_t hash = ExportHash(AData, ASize);
  for (size_t i = 0; i < FItems.size(); ++i) {
    const TItem& item = FItems[i];
    if (item.Hash == hash && item.Size == ASize && std::memcmp(FData.data() + item.Offset, AData, ASize) == 0)
      return static_cast<int>(i);
  }
  FItems.push_back({FData.size(), ASize, hash});
  FData.insert(FData.end(), AData, AData + ASize);
  return Count() - 1;
}

std::basic_string_view<uint8_t> TcxXLSRecordsList::At(int APosition) const {
  const TItem& item = FItems.at(static_cast<size_t>(APosition));
  return {FData.data() + item.Offset, item.Size};
}

void TcxXLSRecordsList::WriteTo(TcxXLSByteSink& AStream) const {
  for (const TItem& item : FItems) WriteRecord(AStream, FRecordId, FData.data() + item.Offset, item.Size);
}

std::vector<uint8_t> BuildFontRecord(const TcxXLSFontFields& AFont) {
  size_t cch = std::min<size_t>(AFont.Name.size(), 255);
  std::vector<uint8_t> d(16 + 2 * cch, 0);
  Put16(d, 0, AFont.Height);
  Put16(d, 2, static_cast<uint16_t>((AFont.Italic ? 0x0002 : 0) | (AFont.StrikeOut ? 0x0008 : 0)));
  Put16(d, 4, AFont.ColorIndex);
  Put16(d, 6, AFont.Bold ? 700 : 400);
  Put16(d, 8, 0);
  d[10] = AFont.Underline ? 1 : 0;
  d[11] = 0;
  d[12] = AFont.Charset;
  d[13] = 0;
  d[14] = static_cast<uint8_t>(cch);
  d[15] = 1;
  for (size_t i = 0; i < cch; ++i) Put16(d, 16 + 2 * i, static_cast<uint16_t>(AFont.Name[i]));
  return d;
}

uint8_t BorderLineStyle(int AWidth) {
  if (AWidth <= 0) return 0;
  if (AWidth == 1) return 1;
  if (AWidth == 2) return 2;
  return 5;
}

std::vector<uint8_t> BuildXFRecord(const TcxXLSXFFields& AXF) {
  std::vector<uint8_t> d(20, 0);
  Put16(d, 0, AXF.Font);
  Put16(d, 2, AXF.Format);
  Put16(d, 4, 0x0001);
  d[6] = static_cast<uint8_t>((AXF.AlignText + 1) | 0x08);
  d[7] = 0;
  Put16(d, 8, static_cast<uint16_t>(0xFC00 | (AXF.Merged ? 0x0020 : 0)));
  uint32_t lines = uint32_t(AXF.Left.Style & 0xF) | uint32_t(AXF.Right.Style & 0xF) << 4 |
                   uint32_t(AXF.Top.Style & 0xF) << 8 | uint32_t(AXF.Bottom.Style & 0xF) << 12 |
                   uint32_t(AXF.Left.Color & 0x7F) << 16 | uint32_t(AXF.Right.Color & 0x7F) << 23;
  Put32(d, 10, lines);
  uint32_t colors =
      uint32_t(AXF.Top.Color & 0x7F) | uint32_t(AXF.Bottom.Color & 0x7F) << 7 | uint32_t(AXF.FillPattern & 0x3F) << 26;
  Put32(d, 14, colors);
  Put16(d, 18, static_cast<uint16_t>((AXF.FillForeground & 0x7F) | 65 << 7));
  return d;
}

std::vector<uint8_t> BuildColInfoRecord(uint16_t ACol, uint16_t AWidth) {
  std::vector<uint8_t> d(11, 0);
  Put16(d, 0, ACol);
  Put16(d, 2, ACol);
  Put16(d, 4, AWidth);
  Put16(d, 6, 15);
  return d;
}

std::vector<uint8_t> BuildRowRecord(uint16_t ARow, uint16_t AHeight) {
  std::vector<uint8_t> d(16, 0);
  Put16(d, 0, ARow);
  Put16(d, 4, 256);
  Put16(d, 6, AHeight);
  Put16(d, 12, 0x01C0);
  Put16(d, 14, 15);
  return d;
}

void WriteBOF(TcxXLSByteSink& AStream, uint16_t AStreamType) {
  uint8_t d[16] = {0x00, 0x06, 0, 0, 0xBB, 0x0D, 0xCC, 0x07, 0, 0, 0, 0, 6, 0, 0, 0};
  B::PutU16(d + 2, AStreamType);
  WriteRecord(AStream, cxBiffBOF, d, sizeof d);
}

void WriteEOF(TcxXLSByteSink& AStream) { WriteRecord(AStream, cxBiffEOF, nullptr, 0); }

void WriteGlobalsHead(TcxXLSByteSink& AStream) {
  static const uint8_t tabid[2] = {0, 0};
  WriteRecord(AStream, cxBiffTABID, tabid, sizeof tabid);
  static const uint8_t window1[18] = {
      0xE0, 0x01,  // left 480
      0x69, 0x00,  // top 105
      0xCC, 0x42,  // width 17100
      0x7F, 0x26,  // height 9855
      0x38, 0x00,  // scroll bars and sheet tabs
      0x00, 0x00,  // active sheet
      0x00, 0x00,  // first visible tab
      0x01, 0x00,  // selected tabs
      0x58, 0x02,  // tab bar width ratio 600
  };
  WriteRecord(AStream, cxBiffWINDOW1, window1, sizeof window1);
  static const uint8_t font[26] = {
      0xC8, 0x00,                                      // height 200 twips
      0x00, 0x00,                                      // options
      0xFF, 0x7F,                                      // automatic colour
      0x90, 0x01,                                      // weight 400
      0x00, 0x00,                                      // script
      0x00, 0x00, 0x00, 0x00,                          // underline, family, character set, reserved
      0x05, 0x01,                                      // 5 characters, UTF-16
      'A',  0,    'r',  0,    'i', 0, 'a', 0, 'l', 0,  // "Arial"
  };
  for (int i = 0; i < 5; ++i) WriteRecord(AStream, cxBiffFONT, font, sizeof font);
}

void WriteDefaultXFs(TcxXLSByteSink& AStream) {
  for (int i = 0; i < 17; ++i) {
    uint16_t fontIndex = 0, format = 0, protection = 0xFFF5, used = 0xF400;
    if (i == 1 || i == 2) fontIndex = 1;
    if (i == 3 || i == 4) fontIndex = 2;
    if (i == 0) used = 0;
    if (i == 15) {
      protection = 0x0001;
      used = 0;
    }
    if (i == 16) {
      fontIndex = 1;
      format = 43;
      used = 0xF800;
    }
    uint8_t d[20] = {};
    B::PutU16(d, fontIndex);
    B::PutU16(d + 2, format);
    B::PutU16(d + 4, protection);
    d[6] = 0x20;
    B::PutU16(d + 8, used);
    B::PutU16(d + 18, 0x20C0);
    WriteRecord(AStream, cxBiffXF, d, sizeof d);
  }
}

void WriteBuiltInStyles(TcxXLSByteSink& AStream) {
  static const uint16_t xf[6] = {0x8010, 0x8011, 0x8010, 0x8010, 0x8000, 0x8010};
  static const uint8_t style[6] = {3, 6, 4, 7, 0, 5};
  for (int i = 0; i < 6; ++i) {
    uint8_t d[4];
    B::PutU16(d, xf[i]);
    d[2] = style[i];
    d[3] = 0xFF;
    WriteRecord(AStream, cxBiffSTYLE, d, sizeof d);
  }
}

int64_t WriteBoundSheet(TcxXLSByteSink& AStream, std::u16string_view ASheetName) {
  size_t n = std::min<size_t>(ASheetName.size(), 255);
  std::vector<uint8_t> d(8 + 2 * n, 0);
  d[6] = static_cast<uint8_t>(n);
  d[7] = 1;
  for (size_t i = 0; i < n; ++i) Put16(d, 8 + 2 * i, static_cast<uint16_t>(ASheetName[i]));
  int64_t field = AStream.Position() + 4;
  WriteRecord(AStream, cxBiffBOUNDSHEET, d.data(), static_cast<uint16_t>(d.size()));
  return field;
}

void WriteExternals(TcxXLSByteSink& AStream) {
  static const uint8_t supbook[4] = {1, 0, 0x01, 0x04};
  WriteRecord(AStream, cxBiffSUPBOOK, supbook, sizeof supbook);
  static const uint8_t externsheet[8] = {1, 0, 0, 0, 0, 0, 0, 0};
  WriteRecord(AStream, cxBiffEXTERNSHEET, externsheet, sizeof externsheet);
}

void WriteDimensions(TcxXLSByteSink& AStream, uint32_t ARowCount, uint16_t AColCount) {
  uint8_t d[14] = {};
  B::PutU32(d + 4, ARowCount);
  B::PutU16(d + 10, AColCount);
  WriteRecord(AStream, cxBiffDIMENSIONS, d, sizeof d);
}

void WriteWindow2(TcxXLSByteSink& AStream, bool AShowGrid) {
  uint8_t d[18] = {};
  B::PutU16(d, AShowGrid ? 0x06B6 : 0x06B4);
  B::PutU32(d + 6, 64);
  WriteRecord(AStream, cxBiffWINDOW2, d, sizeof d);
}

int64_t MergedCellsSize(size_t ARangeCount) {
  int64_t records = (int64_t(ARangeCount) + cxMergedRangesPerRecord - 1) / cxMergedRangesPerRecord;
  return 8 * int64_t(ARangeCount) + 6 * records;
}

void WriteMergedCells(TcxXLSByteSink& AStream, const std::vector<TcxXLSMergedRange>& ARanges) {
  for (size_t first = 0; first < ARanges.size(); first += cxMergedRangesPerRecord) {
    size_t k = std::min<size_t>(cxMergedRangesPerRecord, ARanges.size() - first);
    std::vector<uint8_t> d(2 + 8 * k);
    Put16(d, 0, static_cast<uint16_t>(k));
    for (size_t i = 0; i < k; ++i) {
      const TcxXLSMergedRange& r = ARanges[first + i];
      Put16(d, 2 + 8 * i, r.FirstRow);
      Put16(d, 4 + 8 * i, r.LastRow);
      Put16(d, 6 + 8 * i, r.FirstCol);
      Put16(d, 8 + 8 * i, r.LastCol);
    }
    WriteRecord(AStream, cxBiffMERGEDCELLS, d.data(), static_cast<uint16_t>(d.size()));
  }
}

}  // namespace kv::xls
