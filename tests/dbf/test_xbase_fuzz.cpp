// Damaged tables: explicit header faults and a few thousand deterministic
// mutations of a valid table and its memo file.  Every one must either open or
// raise EXBaseException (or a file error); whatever opens must survive the
// whole write path without touching memory outside its buffers (the sanitizer
// build checks that).
#include <random>

#include "XBaseTestUtil.h"
#include "dbf/XBase.h"

namespace kv {
namespace {

using testing::FileBytes;
using testing::RaisesXBase;
using testing::TTempDir;
using testing::WriteBytes;

// Byte writers that skip offsets past the end of a (possibly truncated) file.
void PutU8(std::string& AData, size_t AOffset, uint32_t AValue) {
  if (AOffset < AData.size()) AData[AOffset] = static_cast<char>(AValue & 0xFF);
}

void PutU16(std::string& AData, size_t AOffset, uint32_t AValue) {
  PutU8(AData, AOffset, AValue);
  PutU8(AData, AOffset + 1, AValue >> 8);
}

void PutU32(std::string& AData, size_t AOffset, uint32_t AValue) {
  PutU16(AData, AOffset, AValue & 0xFFFF);
  PutU16(AData, AOffset + 2, AValue >> 16);
}

// The seed table: 4 + 16 fields, header length 32 * 20 + 33 = 673, record
// length 1 + 6 + 20 + 10 + 1 + 16 * 247 = 3990.
constexpr int SeedWideFields = 16;
constexpr uint32_t SeedFields = 4 + SeedWideFields;
constexpr uint32_t SeedHeaderLength = 32 * SeedFields + 33;
constexpr uint32_t SeedRecordLength = 3990;

// A valid memo table of three filled records; returns the table and memo bytes.
std::pair<std::string, std::string> MakeValidTable(const TTempDir& ADir) {
  std::string path = ADir.File("seed.dbf");
  {
    TXBase table;
    // Wide fields bring the record close to the 4000-byte limit, so that a
    // lengthened field would run past the record buffer if it were accepted.
    std::vector<TDBFFieldStruct> fields = {
        {"NAME", 'C', 6, 0}, {"QTY", 'N', 0, 0}, {"NOTE", 'M', 0, 0}, {"OK", 'L', 0, 0}};
    for (int i = 0; i < SeedWideFields; ++i) fields.push_back({"W" + std::to_string(i), 'C', 247, 0});
    table.CreateTable(path, fields);
    table.SetFilename(path);
    table.SetActive(true);
    for (int i = 0; i < 3; ++i) {
      table.Append();
      table.Last();
      table.SetFieldByName("NAME", "r" + std::to_string(i));
      table.SetFieldByName("QTY", std::to_string(i * 7));
      table.SetFieldByName("NOTE", std::string(300 * (i + 1), 'x'));
      table.SetFieldByName("OK", "T");
      table.Post();
    }
  }
  return {FileBytes(path), FileBytes(ADir.File("seed.dbt"))};
}

// Opens the table at APath; returns the message of the EXBaseException raised,
// "" when it opened, "file error" for a file-layer error.
std::string TryOpen(TXBase& ATable, const std::string& APath) {
  try {
    ATable.SetFilename(APath);
    ATable.SetActive(true);
  } catch (const EXBaseException& e) {
    return e.Message();
  } catch (const EStreamError&) {
    return "file error";
  }
  return "";
}

TEST(XBaseDamaged, HeaderFaultsAreRefused) {
  TTempDir dir;
  auto [seed, memo] = MakeValidTable(dir);
  struct TFault {
    const char* Name;
    void (*Apply)(std::string& ATable, std::string& AMemo);
  };
  const TFault faults[] = {
      {"shorter than a header", [](std::string& t, std::string&) { t.resize(20); }},
      {"empty file", [](std::string& t, std::string&) { t.clear(); }},
      {"descriptors cut off", [](std::string& t, std::string&) { t.resize(100); }},
      {"records cut off", [](std::string& t, std::string&) { t.resize(SeedHeaderLength + SeedRecordLength * 2 + 10); }},
      {"more records counted than stored", [](std::string& t, std::string&) { PutU32(t, 4, 4); }},
      {"huge record count", [](std::string& t, std::string&) { PutU32(t, 4, 0xFFFFFFFF); }},
      {"header length below 33", [](std::string& t, std::string&) { PutU16(t, 8, 20); }},
      {"header length rounding into the records",
       [](std::string& t, std::string&) { PutU16(t, 8, SeedHeaderLength - 15); }},
      {"header length zero", [](std::string& t, std::string&) { PutU16(t, 8, 0); }},
      {"129 descriptors", [](std::string& t, std::string&) { PutU16(t, 8, 32 * 129 + 33); }},
      {"record length zero", [](std::string& t, std::string&) { PutU16(t, 10, 0); }},
      {"record length above 4000", [](std::string& t, std::string&) { PutU16(t, 10, 4001); }},
      {"record length above the fields", [](std::string& t, std::string&) { PutU16(t, 10, SeedRecordLength + 1); }},
      {"record length below the fields", [](std::string& t, std::string&) { PutU16(t, 10, SeedRecordLength - 1); }},
      {"field longer than the record", [](std::string& t, std::string&) { PutU8(t, 32 * SeedFields + 16, 255); }},
      {"memo header cut off", [](std::string&, std::string& m) { m.resize(100); }},
      {"memo next block zero", [](std::string&, std::string& m) { PutU32(m, 0, 0); }},
      {"memo next block past the end", [](std::string&, std::string& m) { PutU32(m, 0, 0x7FFFFFFF); }},
  };
  for (const TFault& fault : faults) {
    SCOPED_TRACE(fault.Name);
    std::string table = seed, memoFile = memo;
    fault.Apply(table, memoFile);
    WriteBytes(dir.File("t.dbf"), table);
    WriteBytes(dir.File("t.dbt"), memoFile);
    TXBase xbase;
    EXPECT_EQ(TryOpen(xbase, dir.File("t.dbf")), "读文件头错误！");
    // The table counts as open but refuses record access (a bad memo file
    // only the memo) ...
    EXPECT_TRUE(xbase.Active());
    if (std::string(fault.Name).rfind("memo", 0) == 0) {
      EXPECT_TRUE(RaisesXBase([&] { xbase.SetMemoByIndex(3, "x"); }, "备注文件没有打开"));
    } else {
      EXPECT_EQ(xbase.FieldCount(), 0);
      EXPECT_TRUE(RaisesXBase([&] { xbase.Post(); }, "写记录时发生错误！"));
      EXPECT_TRUE(RaisesXBase([&] { xbase.Append(); }, "Error Writing record"));
    }
    // ... and setting Active false releases it.
    xbase.SetActive(false);
    TXBase again;
    EXPECT_EQ(TryOpen(again, dir.File("t.dbf")), "读文件头错误！");
  }
}

TEST(XBaseDamaged, TablesBeyondTheLimitsAreRefused) {
  TTempDir dir;
  const std::vector<TDBFFieldStruct> tooMany(129, {"F", 'C', 1, 0});
  const std::vector<TDBFFieldStruct> tooLong(16, {"F", 'C', 250, 0});  // record length 4001
  for (const auto* fields : {&tooMany, &tooLong}) {
    TXBase maker;
    maker.CreateTable(dir.File("t"), *fields);
    TXBase table;
    EXPECT_EQ(TryOpen(table, dir.File("t.dbf")), "读文件头错误！");
  }
}

TEST(XBaseDamaged, LargestTableWithinTheLimitsOpens) {
  TTempDir dir;
  std::vector<TDBFFieldStruct> fields(128, {"F", 'C', 31, 0});
  fields.back().FieldLength = 4000 - 1 - 127 * 31;  // record length exactly 4000
  TXBase table;
  table.CreateTable(dir.File("big"), fields);
  table.SetFilename(dir.File("big.dbf"));
  table.SetActive(true);
  EXPECT_EQ(table.FieldCount(), 128);
  table.Append();
  table.Last();
  table.SetFieldByIndex(128, std::string(fields.back().FieldLength, 'z'));
  table.Post();
  EXPECT_EQ(FileBytes(dir.File("big.dbf")).substr(32 * 128 + 33 + 4000 - 10, 11), "zzzzzzzzzz\x1A");
}

TEST(XBaseDamaged, MutatedTablesOpenOrRaise) {
  TTempDir dir;
  auto [seed, memo] = MakeValidTable(dir);
  std::mt19937 random(20240611u);
  auto below = [&](uint32_t ALimit) { return static_cast<uint32_t>(random() % ALimit); };
  int opened = 0, refused = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string table = seed, memoFile = memo;
    int mutations = 1 + static_cast<int>(below(4));
    for (int m = 0; m < mutations; ++m) {
      switch (below(8)) {
        case 0:  // a random byte of the header or the descriptors
          PutU8(table, below(SeedHeaderLength), below(256));
          break;
        case 1:  // a key header number
          if (below(2))
            PutU16(table, 8, below(3) == 0 ? below(65536) : SeedHeaderLength + below(64) - 32);
          else
            PutU16(table, 10, below(3) == 0 ? below(65536) : SeedRecordLength + below(64) - 32);
          break;
        case 2:
          PutU32(table, 4, below(2) ? below(8) : static_cast<uint32_t>(random()));
          break;
        case 3:  // a field length
          PutU8(table, 32 + 32 * below(SeedFields) + 16, below(256));
          break;
        case 4:  // truncation anywhere
          table.resize(below(static_cast<uint32_t>(table.size()) + 1));
          break;
        case 5:  // garbage appended: whole records or less
          table.append(below(3) == 0 ? SeedRecordLength : below(600), static_cast<char>(below(256)));
          break;
        case 6:  // memo header and size
          if (below(2))
            PutU32(memoFile, 0, below(16));
          else
            memoFile.resize(below(static_cast<uint32_t>(memoFile.size()) + 1));
          break;
        case 7:  // the version byte
          PutU8(table, 0, below(2) ? 0x03 : 0x84);
          break;
      }
    }
    WriteBytes(dir.File("t.dbf"), table);
    WriteBytes(dir.File("t.dbt"), memoFile);
    TXBase xbase;
    std::string result = TryOpen(xbase, dir.File("t.dbf"));
    if (!result.empty()) {
      ++refused;
      EXPECT_TRUE(result == "读文件头错误！" || result == "file error") << result;
    } else {
      ++opened;
    }
    // Whatever state activation left, the whole write path must stay in bounds.
    try {
      xbase.Append();
      xbase.Last();
      for (int i = 1; i <= xbase.FieldCount(); ++i) {
        xbase.SetFieldByIndex(i, std::string(1 + below(30), 'v'));
        xbase.SetFieldByName(xbase.GetFieldName(i), "12");
      }
      xbase.SetDeleted(true);
      xbase.Post();
    } catch (const EXBaseException&) {
    }
    if (result.empty()) {
      // The appended record ends with the end-of-file mark where the header says.
      std::string written = FileBytes(dir.File("t.dbf"));
      size_t end = testing::U16At(written, 8) + size_t{testing::U32At(written, 4)} * testing::U16At(written, 10);
      ASSERT_LT(end, written.size()) << round;
      EXPECT_EQ(written[end], '\x1A') << round;
    }
  }
  // The mutations must exercise both outcomes.
  EXPECT_GT(opened, 300);
  EXPECT_GT(refused, 300);
}

}  // namespace
}  // namespace kv
