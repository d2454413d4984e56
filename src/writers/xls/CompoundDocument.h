// The compound document container around the workbook stream.
//
// `TcxXLSWorkBookWriter` writes the header region of a structured-storage
// file (version 3, 512-byte sectors) holding exactly one stream, "Workbook",
// below "Root Entry": the file header, the allocation tables (FAT, DIFAT
// sectors, mini FAT) and the directory.  The caller knows the stream's exact
// length in advance, so the stream is laid out as one run of consecutive
// sectors right behind the header region, and the caller writes the stream
// bytes straight after it.  Nothing is ever written twice or read back.
//
// Layout.  With S the stream length and N = ceil(S / 512):
//  - S < 4096 (small): sector 0 FAT, 1 directory, 2 mini FAT, 3.. the mini
//    stream, whose bytes are the workbook stream itself.
//  - S >= 4096 (large): F FAT sectors and D DIFAT sectors at sectors 0 and
//    2..F+D (sector 1 is the directory; DIFAT sector m sits at 111 + 128 m),
//    then the stream from sector F+D+1.  F starts at ceil((N + 3) / 127) and
//    grows until the FAT has an entry for every sector, which only matters for
//    streams needing three or more DIFAT sectors.
// The last sector is not padded: the file ends with the last stream byte.
#pragma once

#include <cstdint>
#include <vector>

#include "writers/xls/ByteSink.h"

namespace kv::xls {

// Sector numbers of the allocation tables.
constexpr uint32_t cxFreeSector = 0xFFFFFFFF;
constexpr uint32_t cxEndOfChain = 0xFFFFFFFE;
constexpr uint32_t cxFATSector = 0xFFFFFFFD;
constexpr uint32_t cxDIFATSector = 0xFFFFFFFC;

// The shape of the container for one stream length.
struct TcxXLSContainerLayout {
  bool Small = true;
  uint32_t N = 0;  // 512-byte sectors of the stream
  uint32_t F = 0;  // FAT sectors (large class)
  uint32_t D = 0;  // DIFAT sectors (large class)

  // Size of the header region in bytes: the stream starts there.
  uint64_t HeaderRegionSize() const { return Small ? 2048 : 512ull * (F + D + 2); }
  // First sector of the stream (large class).
  uint32_t StreamStartSector() const { return F + D + 1; }
  // Sector number of FAT sector AIndex (large class).
  uint32_t FATSectorLocation(uint32_t AIndex) const;
  // Sector number of DIFAT sector AIndex.
  static uint32_t DIFATSectorLocation(uint32_t AIndex) { return 111 + 128 * AIndex; }
};

class TcxXLSWorkBookWriter {
 public:
  // The largest stream the container maps (a 32-bit size with room for the
  // allocation sectors in 32-bit sector numbers).
  static constexpr int64_t MaxStreamSize = 0xFFFFFFFFll;

  // The layout for a stream of AStreamSize bytes (1 <= AStreamSize <= MaxStreamSize).
  static TcxXLSContainerLayout LayoutFor(int64_t AStreamSize);

  // Builds the header region for a stream of AStreamSize bytes and writes it
  // at AFile's current position (the start of the file).  AStreamSize <= 0,
  // a size above MaxStreamSize or no file raise EcxExportData with
  // scxWorkbookWrite and write nothing; a write error of the stream passes
  // out.  The caller then writes exactly AStreamSize stream bytes.
  void WriteContainerHeader(int64_t AStreamSize, TcxXLSByteSink* AFile);

  // The header region for a stream of AStreamSize bytes, as WriteContainerHeader
  // writes it.
  static std::vector<uint8_t> BuildHeaderRegion(int64_t AStreamSize);

 private:
  struct TBuild {
    TcxXLSContainerLayout Layout;
    int64_t S = 0;
    std::vector<uint8_t> Buffer;
  };
  static void BuildFileHeader(TBuild& ABuild);
  static void BuildDirectory(TBuild& ABuild);
  static void BuildAllocation(TBuild& ABuild);
};

}  // namespace kv::xls
