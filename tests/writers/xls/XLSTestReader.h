// Test helper: the records of a written workbook, read back from the file
// through its directory entry.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Streams.h"
#include "writers/xls/CompoundDocument.h"

namespace kv::xls::test {

inline uint16_t U16(const std::string& B, size_t AAt) {
  return static_cast<uint16_t>(uint8_t(B[AAt]) | uint8_t(B[AAt + 1]) << 8);
}
inline uint32_t U32(const std::string& B, size_t AAt) { return U16(B, AAt) | uint32_t(U16(B, AAt + 2)) << 16; }
inline double F64(const std::string& B, size_t AAt) {
  uint64_t bits = U32(B, AAt) | uint64_t(U32(B, AAt + 4)) << 32;
  double d;
  std::memcpy(&d, &bits, 8);
  return d;
}

struct TRecord {
  uint16_t Id;
  uint32_t Position;  // within the stream
  std::string Data;
};

struct TWorkbook {
  std::string Stream;
  std::vector<TRecord> Records;
  uint64_t HeaderRegion = 0;

  std::vector<const TRecord*> All(uint16_t AId) const {
    std::vector<const TRecord*> out;
    for (const TRecord& r : Records)
      if (r.Id == AId) out.push_back(&r);
    return out;
  }
  // The cell record at (ACol, ARow) of the worksheet.
  const TRecord* CellAt(int ACol, int ARow) const {
    for (const TRecord& r : Records) {
      bool cell = r.Id == 0x0201 || r.Id == 0x0203 || r.Id == 0x0204 || r.Id == 0x0205 || r.Id == 0x00FD;
      if (cell && U16(r.Data, 0) == ARow && U16(r.Data, 2) == ACol) return &r;
    }
    return nullptr;
  }
  // Data of XF record AIndex (17 defaults first) and FONT record AIndex (no index 4).
  std::string XF(int AIndex) const { return All(0x00E0).at(size_t(AIndex))->Data; }
  std::string Font(int AIndex) const { return All(0x0031).at(size_t(AIndex < 4 ? AIndex : AIndex - 1))->Data; }
  // The shared strings, reassembled.
  std::vector<std::u16string> SharedStrings() const;
};

// Reads a workbook file: the stream is the last S bytes of the file (S from
// the directory), right after the header region.
inline TWorkbook ReadWorkbook(const std::string& AFileName) {
  TWorkbook w;
  std::string file = ReadFileBytes(AFileName);
  EXPECT_GE(file.size(), 2048u);
  if (file.size() < 2048) return w;
  uint32_t size = U32(file, 512 * 2 + 128 + 120);
  w.HeaderRegion = TcxXLSWorkBookWriter::LayoutFor(size).HeaderRegionSize();
  EXPECT_EQ(file.size(), w.HeaderRegion + size) << "stream size in the directory and bytes after the header region";
  w.Stream = file.substr(file.size() - size);
  size_t at = 0;
  while (at + 4 <= w.Stream.size()) {
    uint16_t len = U16(w.Stream, at + 2);
    w.Records.push_back({U16(w.Stream, at), uint32_t(at), w.Stream.substr(at + 4, len)});
    at += 4 + len;
  }
  EXPECT_EQ(at, w.Stream.size());
  return w;
}

inline std::vector<std::u16string> TWorkbook::SharedStrings() const {
  std::vector<std::u16string> out;
  size_t i = 0;
  while (i < Records.size() && Records[i].Id != 0x00FC) ++i;
  if (i == Records.size()) return out;
  size_t rec = i, pos = 8;
  uint32_t total = U32(Records[i].Data, 0);
  for (uint32_t k = 0; k < total; ++k) {
    if (pos >= Records[rec].Data.size()) {
      ++rec;
      pos = 0;
    }
    uint16_t n = U16(Records[rec].Data, pos);
    pos += 3;
    std::u16string s;
    while (s.size() < n) {
      if (pos >= Records[rec].Data.size()) {
        ++rec;
        pos = 1;
      }
      s.push_back(static_cast<char16_t>(U16(Records[rec].Data, pos)));
      pos += 2;
    }
    out.push_back(s);
  }
  return out;
}

}  // namespace kv::xls::test
