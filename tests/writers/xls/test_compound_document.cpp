// Compound document header region: exact bytes of the small and large
// layouts, and a reader's walk over FAT, DIFAT and directory for streams of
// every size class.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>

#include "export/core/ExportMessages.h"
#include "platform/Streams.h"
#include "writers/xls/CompoundDocument.h"

namespace kv::xls {
namespace {

uint32_t U32(const std::vector<uint8_t>& B, size_t AAt) {
  return B[AAt] | B[AAt + 1] << 8 | B[AAt + 2] << 16 | uint32_t(B[AAt + 3]) << 24;
}
uint16_t U16(const std::vector<uint8_t>& B, size_t AAt) { return static_cast<uint16_t>(B[AAt] | B[AAt + 1] << 8); }
size_t SectorOffset(uint32_t ASector) { return 512 * (size_t(ASector) + 1); }

// What a reader learns from the header region alone, following the same
// steps an independent reader takes: header DIFAT, DIFAT chain, FAT, directory.
struct TWalk {
  std::vector<uint32_t> FatSectors;  // locations, in FAT order
  std::vector<uint32_t> Fat;         // all entries
  std::vector<uint32_t> DifatSectors;
  uint32_t StreamStart = 0, StreamSize = 0;
  uint32_t RootStart = 0, RootSize = 0;
};

TWalk Walk(const std::vector<uint8_t>& B) {
  TWalk w;
  EXPECT_EQ(U32(B, 0), 0xE011CFD0u);
  EXPECT_EQ(U32(B, 4), 0xE11AB1A1u);
  EXPECT_EQ(U16(B, 24), 0x3E);
  EXPECT_EQ(U16(B, 26), 3);
  EXPECT_EQ(U16(B, 28), 0xFFFE);
  EXPECT_EQ(U16(B, 30), 9);
  EXPECT_EQ(U16(B, 32), 6);
  EXPECT_EQ(U32(B, 48), 1u);
  EXPECT_EQ(U32(B, 56), 4096u);
  uint32_t fatCount = U32(B, 44);
  for (uint32_t i = 0; i < 109 && w.FatSectors.size() < fatCount; ++i) w.FatSectors.push_back(U32(B, 76 + 4 * i));
  uint32_t difat = U32(B, 68), difatCount = U32(B, 72);
  for (uint32_t d = 0; d < difatCount; ++d) {
    EXPECT_NE(difat, cxEndOfChain);
    w.DifatSectors.push_back(difat);
    for (uint32_t i = 0; i < 127 && w.FatSectors.size() < fatCount; ++i)
      w.FatSectors.push_back(U32(B, SectorOffset(difat) + 4 * i));
    difat = U32(B, SectorOffset(difat) + 4 * 127);
  }
  EXPECT_TRUE(difat == cxFreeSector || difat == cxEndOfChain);
  EXPECT_EQ(w.FatSectors.size(), fatCount);
  for (uint32_t s : w.FatSectors)
    for (uint32_t i = 0; i < 128; ++i) w.Fat.push_back(U32(B, SectorOffset(s) + 4 * i));
  size_t dir = SectorOffset(1);
  w.RootStart = U32(B, dir + 116);
  w.RootSize = U32(B, dir + 120);
  w.StreamStart = U32(B, dir + 128 + 116);
  w.StreamSize = U32(B, dir + 128 + 120);
  return w;
}

// Every structural rule a reader relies on, for any stream size.
void CheckLarge(int64_t AStreamSize) {
  SCOPED_TRACE(AStreamSize);
  std::vector<uint8_t> B = TcxXLSWorkBookWriter::BuildHeaderRegion(AStreamSize);
  TcxXLSContainerLayout L = TcxXLSWorkBookWriter::LayoutFor(AStreamSize);
  ASSERT_FALSE(L.Small);
  ASSERT_EQ(B.size(), 512u * (L.F + L.D + 2));
  TWalk w = Walk(B);
  EXPECT_EQ(U32(B, 60), cxEndOfChain);  // no mini FAT
  EXPECT_EQ(U32(B, 64), 0u);
  EXPECT_EQ(w.StreamSize, uint32_t(AStreamSize));
  EXPECT_EQ(w.RootStart, cxEndOfChain);
  EXPECT_EQ(w.RootSize, 0u);
  // Every sector of the file has a FAT entry.
  uint32_t sectors = L.F + L.D + 1 + L.N;
  ASSERT_GE(w.Fat.size(), sectors);
  // Header region sectors: the right marker on every one, each used once.
  std::set<uint32_t> fatSet(w.FatSectors.begin(), w.FatSectors.end());
  std::set<uint32_t> difatSet(w.DifatSectors.begin(), w.DifatSectors.end());
  EXPECT_EQ(fatSet.size(), w.FatSectors.size());
  EXPECT_EQ(w.Fat[1], cxEndOfChain);  // directory
  for (uint32_t s = 0; s <= L.F + L.D; ++s) {
    if (s == 1) continue;
    if (fatSet.count(s))
      EXPECT_EQ(w.Fat[s], cxFATSector) << s;
    else if (difatSet.count(s))
      EXPECT_EQ(w.Fat[s], cxDIFATSector) << s;
    else
      ADD_FAILURE() << "sector " << s << " is neither FAT nor DIFAT";
  }
  EXPECT_EQ(fatSet.size() + difatSet.size() + 1, size_t(L.F + L.D + 1));
  // The stream: one run of N sectors starting right after the header region.
  EXPECT_EQ(w.StreamStart, L.F + L.D + 1);
  uint32_t s = w.StreamStart, visited = 0;
  while (s != cxEndOfChain && visited <= L.N) {
    EXPECT_EQ(s, w.StreamStart + visited);
    s = w.Fat[s];
    ++visited;
  }
  EXPECT_EQ(visited, L.N);
  for (size_t i = sectors; i < w.Fat.size(); ++i) EXPECT_EQ(w.Fat[i], cxFreeSector) << i;
}

TEST(CompoundDocument, SmallStreamJustBelowCutoff) {
  std::vector<uint8_t> B = TcxXLSWorkBookWriter::BuildHeaderRegion(4095);
  ASSERT_EQ(B.size(), 2048u);
  TWalk w = Walk(B);
  EXPECT_EQ(U32(B, 44), 1u);
  EXPECT_EQ(U32(B, 60), 2u);  // mini FAT at sector 2, one sector
  EXPECT_EQ(U32(B, 64), 1u);
  EXPECT_EQ(U32(B, 68), cxEndOfChain);
  EXPECT_EQ(U32(B, 72), 0u);
  EXPECT_EQ(w.FatSectors, std::vector<uint32_t>{0});
  for (uint32_t i = 1; i < 109; ++i) EXPECT_EQ(U32(B, 76 + 4 * i), cxFreeSector);
  // Root entry: the mini stream at sector 3, 8 sectors declared.
  EXPECT_EQ(w.RootStart, 3u);
  EXPECT_EQ(w.RootSize, 4096u);
  EXPECT_EQ(w.StreamStart, 0u);
  EXPECT_EQ(w.StreamSize, 4095u);
  std::vector<uint32_t> fat(w.Fat.begin(), w.Fat.begin() + 12);
  EXPECT_EQ(fat, (std::vector<uint32_t>{cxFATSector, cxEndOfChain, cxEndOfChain, 4, 5, 6, 7, 8, 9, 10, cxEndOfChain,
                                        cxFreeSector}));
  // Mini FAT: 64 mini sectors in one run.
  for (uint32_t i = 0; i < 128; ++i) {
    uint32_t want = i < 63 ? i + 1 : i == 63 ? cxEndOfChain : cxFreeSector;
    EXPECT_EQ(U32(B, SectorOffset(2) + 4 * i), want) << i;
  }
}

TEST(CompoundDocument, DirectoryEntries) {
  std::vector<uint8_t> B = TcxXLSWorkBookWriter::BuildHeaderRegion(100);
  size_t dir = SectorOffset(1);
  const char16_t root[] = u"Root Entry";
  for (size_t i = 0; i < 10; ++i) EXPECT_EQ(U16(B, dir + 2 * i), root[i]);
  EXPECT_EQ(U16(B, dir + 64), 22);
  EXPECT_EQ(B[dir + 66], 5);
  EXPECT_EQ(B[dir + 67], 0);
  EXPECT_EQ(U32(B, dir + 68), cxFreeSector);
  EXPECT_EQ(U32(B, dir + 72), cxFreeSector);
  EXPECT_EQ(U32(B, dir + 76), 1u);
  EXPECT_EQ(U32(B, dir + 116), 3u);
  EXPECT_EQ(U32(B, dir + 120), 512u);  // N = 1
  const char16_t book[] = u"Workbook";
  for (size_t i = 0; i < 8; ++i) EXPECT_EQ(U16(B, dir + 128 + 2 * i), book[i]);
  EXPECT_EQ(U16(B, dir + 128 + 64), 18);
  EXPECT_EQ(B[dir + 128 + 66], 2);
  EXPECT_EQ(B[dir + 128 + 67], 1);
  EXPECT_EQ(U32(B, dir + 128 + 76), cxFreeSector);
  EXPECT_EQ(U32(B, dir + 128 + 120), 100u);
  // Mini FAT of a 100-byte stream: 2 mini sectors; FAT: one mini stream sector.
  EXPECT_EQ(U32(B, SectorOffset(2)), 1u);
  EXPECT_EQ(U32(B, SectorOffset(2) + 4), cxEndOfChain);
  EXPECT_EQ(U32(B, SectorOffset(0) + 12), cxEndOfChain);
  // Unused directory bytes (names' tails, time stamps, entries 2 and 3) are zero.
  for (size_t i = dir + 256; i < dir + 512; ++i) ASSERT_EQ(B[i], 0) << i;
  for (size_t i = dir + 80; i < dir + 116; ++i) ASSERT_EQ(B[i], 0) << i;
}

TEST(CompoundDocument, LargeStreamAtCutoff) {
  std::vector<uint8_t> B = TcxXLSWorkBookWriter::BuildHeaderRegion(4096);
  TcxXLSContainerLayout L = TcxXLSWorkBookWriter::LayoutFor(4096);
  EXPECT_EQ(L.N, 8u);
  EXPECT_EQ(L.F, 1u);
  EXPECT_EQ(L.D, 0u);
  EXPECT_EQ(B.size(), 1536u);
  TWalk w = Walk(B);
  EXPECT_EQ(w.StreamStart, 2u);
  std::vector<uint32_t> fat(w.Fat.begin(), w.Fat.begin() + 11);
  EXPECT_EQ(fat, (std::vector<uint32_t>{cxFATSector, cxEndOfChain, 3, 4, 5, 6, 7, 8, 9, cxEndOfChain, cxFreeSector}));
  CheckLarge(4096);
}

TEST(CompoundDocument, SizeClassesAndSectorCounts) {
  struct TCase {
    int64_t S;
    uint32_t N, F, D;
  };
  const TCase cases[] = {
      {4095, 8, 0, 0},
      {4096, 8, 1, 0},
      {124 * 512, 124, 1, 0},
      {124 * 512 + 1, 125, 2, 0},      // N + 3 exceeds 127
      {13841 * 512ll, 13841, 110, 1},  // first F with a DIFAT sector
      {13838 * 512ll, 13838, 109, 0},  // the last F without
  };
  for (const TCase& c : cases) {
    TcxXLSContainerLayout L = TcxXLSWorkBookWriter::LayoutFor(c.S);
    EXPECT_EQ(L.N, c.N) << c.S;
    EXPECT_EQ(L.F, c.F) << c.S;
    EXPECT_EQ(L.D, c.D) << c.S;
    if (!L.Small) CheckLarge(c.S);
  }
}

TEST(CompoundDocument, FirstDIFATSectorLayout) {
  const int64_t S = 13841 * 512ll;
  std::vector<uint8_t> B = TcxXLSWorkBookWriter::BuildHeaderRegion(S);
  EXPECT_EQ(U32(B, 68), 111u);
  EXPECT_EQ(U32(B, 72), 1u);
  for (uint32_t i = 1; i < 109; ++i) EXPECT_EQ(U32(B, 76 + 4 * i), i + 1);
  // FAT 109 (the last one) at sector 110; the rest of the DIFAT sector free.
  EXPECT_EQ(U32(B, SectorOffset(111)), 110u);
  for (uint32_t i = 1; i < 128; ++i) EXPECT_EQ(U32(B, SectorOffset(111) + 4 * i), cxFreeSector);
  TWalk w = Walk(B);
  EXPECT_EQ(w.Fat[110], cxFATSector);
  EXPECT_EQ(w.Fat[111], cxDIFATSector);
  EXPECT_EQ(w.StreamStart, 112u);
  EXPECT_EQ(w.Fat[112], 113u);
  // One FAT sector more: FAT 110 steps over the DIFAT sector to sector 112.
  std::vector<uint8_t> C = TcxXLSWorkBookWriter::BuildHeaderRegion(13968 * 512ll);
  EXPECT_EQ(U32(C, 44), 111u);
  EXPECT_EQ(U32(C, SectorOffset(111) + 4), 112u);
  EXPECT_EQ(Walk(C).StreamStart, 113u);
  CheckLarge(13968 * 512ll);
}

TEST(CompoundDocument, ThreeAndMoreDIFATSectors) {
  // F = 364 needs 3 DIFAT sectors.  N = 127 F - 3 is where the first count of
  // FAT sectors falls one entry short and another FAT sector is added.
  CheckLarge(int64_t(127 * 364 - 10) * 512);
  TcxXLSContainerLayout tight = TcxXLSWorkBookWriter::LayoutFor(int64_t(127 * 400 - 3) * 512);
  EXPECT_EQ(tight.D, 3u);
  EXPECT_EQ(tight.F, 401u);
  CheckLarge(int64_t(127 * 400 - 3) * 512);
  std::vector<uint8_t> B = TcxXLSWorkBookWriter::BuildHeaderRegion(int64_t(127 * 400 - 3) * 512);
  // The DIFAT chain: 111 -> 239 -> 367, the last one's link free.
  EXPECT_EQ(U32(B, SectorOffset(111) + 4 * 127), 239u);
  EXPECT_EQ(U32(B, SectorOffset(239) + 4 * 127), 367u);
  EXPECT_EQ(U32(B, SectorOffset(367) + 4 * 127), cxFreeSector);
  // A partial last stream sector and a stream of several hundred MB.
  CheckLarge(int64_t(127 * 400 - 3) * 512 - 77);
  CheckLarge(300ll * 1024 * 1024 + 5);
}

TEST(CompoundDocument, WritesTheRegionOnceOrRefuses) {
  TMemoryStream m;
  {
    TcxXLSByteSink sink(m);
    TcxXLSWorkBookWriter writer;
    for (int64_t bad : {int64_t(0), int64_t(-5), TcxXLSWorkBookWriter::MaxStreamSize + 1}) {
      try {
        writer.WriteContainerHeader(bad, &sink);
        ADD_FAILURE() << bad;
      } catch (const EcxExportData& e) {
        EXPECT_EQ(e.Message(), "写MS Excel文件 (*.xls)出错");
      }
    }
    EXPECT_THROW(writer.WriteContainerHeader(100, nullptr), EcxExportData);
    EXPECT_EQ(sink.Position(), 0);  // nothing written
    writer.WriteContainerHeader(5000, &sink);
  }
  std::vector<uint8_t> want = TcxXLSWorkBookWriter::BuildHeaderRegion(5000);
  EXPECT_EQ(m.Data(), std::string(want.begin(), want.end()));
}

}  // namespace
}  // namespace kv::xls
