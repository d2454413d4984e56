// Compound document header region: file header, directory, FAT, DIFAT and
// mini FAT for one stream laid out in consecutive sectors.
#include "writers/xls/CompoundDocument.h"

#include <algorithm>
#include <cstring>

#include "writers/xls/XLSErrors.h"

namespace kv::xls {

namespace {

constexpr uint32_t SectorSize = 512;
constexpr uint32_t EntriesPerSector = SectorSize / 4;  // 128
constexpr uint32_t HeaderDIFATEntries = 109;
constexpr uint32_t MiniStreamCutoff = 4096;

void Put16(std::vector<uint8_t>& B, size_t AAt, uint16_t AValue) { TcxXLSByteSink::PutU16(B.data() + AAt, AValue); }
void Put32(std::vector<uint8_t>& B, size_t AAt, uint32_t AValue) { TcxXLSByteSink::PutU32(B.data() + AAt, AValue); }

// File offset of entry AIndex of the allocation-table sector at ASector.
size_t EntryOffset(uint32_t ASector, uint32_t AIndex) {
  return SectorSize * (size_t(ASector) + 1) + 4 * size_t(AIndex);
}

uint32_t DIFATCountFor(uint32_t AFatSectors) {
  return AFatSectors > HeaderDIFATEntries ? (AFatSectors - HeaderDIFATEntries + 126) / 127 : 0;
}

// Writes one directory entry at AAt.
void PutDirectoryEntry(std::vector<uint8_t>& B, size_t AAt, const char16_t* AName, uint8_t AType, uint8_t AColor,
                       uint32_t AChild, uint32_t AStart, uint32_t ASize) {
  size_t n = 0;
  for (; AName[n] != 0; ++n) Put16(B, AAt + 2 * n, static_cast<uint16_t>(AName[n]));
  Put16(B, AAt + 64, static_cast<uint16_t>(2 * n + 2));
  B[AAt + 66] = AType;
  B[AAt + 67] = AColor;
  Put32(B, AAt + 68, cxFreeSector);
  Put32(B, AAt + 72, cxFreeSector);
  Put32(B, AAt + 76, AChild);
  Put32(B, AAt + 116, AStart);
  Put32(B, AAt + 120, ASize);
}

}  // namespace

uint32_t TcxXLSContainerLayout::FATSectorLocation(uint32_t AIndex) const {
  if (AIndex == 0) return 0;
  // FAT sectors 1.. fill sectors 2.. in order, stepping over the sectors
  // reserved for DIFAT sectors.
  uint32_t sector = AIndex + 1;
  for (uint32_t m = 0; m < D && DIFATSectorLocation(m) <= sector; ++m) ++sector;
  return sector;
}

TcxXLSContainerLayout TcxXLSWorkBookWriter::LayoutFor(int64_t AStreamSize) {
  TcxXLSContainerLayout layout;
  layout.N = static_cast<uint32_t>((AStreamSize + SectorSize - 1) / SectorSize);
  layout.Small = AStreamSize < MiniStreamCutoff;
  if (layout.Small) return layout;
  layout.F = (layout.N + 3 + 126) / 127;
  layout.D = DIFATCountFor(layout.F);
  // Every sector (FAT, directory, DIFAT, stream) needs its FAT entry.
  while (uint64_t(EntriesPerSector) * layout.F < uint64_t(layout.F) + layout.D + 1 + layout.N) {
    ++layout.F;
    layout.D = DIFATCountFor(layout.F);
  }
  return layout;
}

void TcxXLSWorkBookWriter::BuildFileHeader(TBuild& ABuild) {
  static const uint8_t fixed[76] = {
      0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1,                          // signature
      0,    0,    0,    0,    0,    0,    0,    0,    0, 0, 0, 0, 0, 0, 0, 0,  // class id
      0x3E, 0x00,                                                              // minor version
      0x03, 0x00,                                                              // major version
      0xFE, 0xFF,                                                              // byte order
      0x09, 0x00,                                                              // sector shift
      0x06, 0x00,                                                              // mini sector shift
      0,    0,    0,    0,    0,    0,                                         // reserved
      0,    0,    0,    0,                                                     // directory sectors
      1,    0,    0,    0,                                                     // FAT sectors
      1,    0,    0,    0,                                                     // first directory sector
      0,    0,    0,    0,                                                     // transaction signature
      0x00, 0x10, 0x00, 0x00,                                                  // mini stream cut-off
      2,    0,    0,    0,                                                     // first mini FAT sector
      1,    0,    0,    0,                                                     // mini FAT sectors
      0xFE, 0xFF, 0xFF, 0xFF,                                                  // first DIFAT sector
      0,    0,    0,    0,                                                     // DIFAT sectors
  };
  const TcxXLSContainerLayout& L = ABuild.Layout;
  ABuild.Buffer.assign(L.HeaderRegionSize(), 0);
  std::vector<uint8_t>& B = ABuild.Buffer;
  std::memcpy(B.data(), fixed, sizeof fixed);
  for (uint32_t i = 0; i < HeaderDIFATEntries; ++i) Put32(B, 76 + 4 * i, cxFreeSector);
  if (!L.Small) {
    Put32(B, 44, L.F);
    Put32(B, 60, cxEndOfChain);
    Put32(B, 64, 0);
    if (L.D > 0) {
      Put32(B, 68, TcxXLSContainerLayout::DIFATSectorLocation(0));
      Put32(B, 72, L.D);
    }
  }
}

void TcxXLSWorkBookWriter::BuildDirectory(TBuild& ABuild) {
  const TcxXLSContainerLayout& L = ABuild.Layout;
  const size_t at = EntryOffset(1, 0);
  uint32_t rootStart = L.Small ? 3 : cxEndOfChain;
  uint32_t rootSize = L.Small ? SectorSize * L.N : 0;
  PutDirectoryEntry(ABuild.Buffer, at, u"Root Entry", 5, 0, 1, rootStart, rootSize);
  uint32_t streamStart = L.Small ? 0 : L.StreamStartSector();
  PutDirectoryEntry(ABuild.Buffer, at + 128, u"Workbook", 2, 1, cxFreeSector, streamStart,
                    static_cast<uint32_t>(ABuild.S));
}

void TcxXLSWorkBookWriter::BuildAllocation(TBuild& ABuild) {
  const TcxXLSContainerLayout& L = ABuild.Layout;
  std::vector<uint8_t>& B = ABuild.Buffer;
  if (L.Small) {
    Put32(B, 76, 0);
    // FAT sector 0: itself, the directory, the mini FAT, then the mini stream's run.
    for (uint32_t i = 0; i < EntriesPerSector; ++i) Put32(B, EntryOffset(0, i), cxFreeSector);
    Put32(B, EntryOffset(0, 0), cxFATSector);
    Put32(B, EntryOffset(0, 1), cxEndOfChain);
    Put32(B, EntryOffset(0, 2), cxEndOfChain);
    for (uint32_t j = 0; j < L.N; ++j) Put32(B, EntryOffset(0, 3 + j), j + 1 < L.N ? 3 + j + 1 : cxEndOfChain);
    // Mini FAT: mini sectors 0 to M - 1 as one run.
    uint32_t m = static_cast<uint32_t>((ABuild.S + 63) / 64);
    for (uint32_t i = 0; i < EntriesPerSector; ++i) Put32(B, EntryOffset(2, i), cxFreeSector);
    for (uint32_t i = 0; i < m; ++i) Put32(B, EntryOffset(2, i), i + 1 < m ? i + 1 : cxEndOfChain);
    return;
  }

  // Header DIFAT: the first 109 FAT sectors.
  for (uint32_t i = 0; i < std::min(L.F, HeaderDIFATEntries); ++i) Put32(B, 76 + 4 * i, L.FATSectorLocation(i));
  // DIFAT sectors: FAT sectors 109.., 127 per sector, entry 127 chaining on.
  for (uint32_t m = 0; m < L.D; ++m) {
    uint32_t sector = TcxXLSContainerLayout::DIFATSectorLocation(m);
    for (uint32_t i = 0; i < EntriesPerSector; ++i) {
      uint32_t fatIndex = HeaderDIFATEntries + 127 * m + i;
      uint32_t value = cxFreeSector;
      if (i < 127 && fatIndex < L.F)
        value = L.FATSectorLocation(fatIndex);
      else if (i == 127 && m + 1 < L.D)
        value = TcxXLSContainerLayout::DIFATSectorLocation(m + 1);
      Put32(B, EntryOffset(sector, i), value);
    }
  }
  // The FAT, entry after entry, moving to the next FAT sector every 128
  // entries; entries never reached stay free.
  for (uint32_t i = 0; i < L.F; ++i) std::memset(B.data() + EntryOffset(L.FATSectorLocation(i), 0), 0xFF, SectorSize);
  uint32_t fatIndex = 0, slot = 0;
  size_t at = EntryOffset(0, 0);
  auto append = [&](uint32_t AValue) {
    if (slot == EntriesPerSector) {
      ++fatIndex;
      slot = 0;
      at = EntryOffset(L.FATSectorLocation(fatIndex), 0);
    }
    Put32(B, at + 4 * slot, AValue);
    ++slot;
  };
  append(cxFATSector);
  append(cxEndOfChain);
  uint32_t nextDIFAT = 0;
  for (uint32_t s = 2; s <= L.F + L.D; ++s) {
    if (nextDIFAT < L.D && s == TcxXLSContainerLayout::DIFATSectorLocation(nextDIFAT)) {
      append(cxDIFATSector);
      ++nextDIFAT;
    } else {
      append(cxFATSector);
    }
  }
  const uint32_t first = L.StreamStartSector();
  for (uint32_t j = 0; j < L.N; ++j) append(j + 1 < L.N ? first + j + 1 : cxEndOfChain);
}

std::vector<uint8_t> TcxXLSWorkBookWriter::BuildHeaderRegion(int64_t AStreamSize) {
  TBuild build;
  build.S = AStreamSize;
  build.Layout = LayoutFor(AStreamSize);
  BuildFileHeader(build);
  BuildDirectory(build);
  BuildAllocation(build);
  return std::move(build.Buffer);
}

void TcxXLSWorkBookWriter::WriteContainerHeader(int64_t AStreamSize, TcxXLSByteSink* AFile) {
  if (AStreamSize <= 0 || AStreamSize > MaxStreamSize || AFile == nullptr) RaiseWorkbookWrite();
  std::vector<uint8_t> region = BuildHeaderRegion(AStreamSize);
  AFile->Write(region.data(), region.size());
}

}  // namespace kv::xls
