// New tables written by TXBase::CreateTable: header and descriptor bytes, the
// fixed sizes of typed fields, field names, file names and the memo file.
#include <ctime>

#include "XBaseTestUtil.h"
#include "dbf/XBase.h"
#include "platform/CodePage.h"
#include "platform/Files.h"

namespace kv {
namespace {

using testing::FileBytes;
using testing::TTempDir;
using testing::U16At;
using testing::U32At;

TEST(XBaseCreate, EmptyFieldListGivesThe34ByteTable) {
  TTempDir dir;
  TXBase table;
  table.CreateTable(dir.File("empty"), {});
  std::string b = FileBytes(dir.File("empty.dbf"));
  ASSERT_EQ(b.size(), 34u);
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  EXPECT_EQ(static_cast<uint8_t>(b[0]), 0x03);
  EXPECT_EQ(static_cast<uint8_t>(b[1]), local.tm_year);
  EXPECT_EQ(static_cast<uint8_t>(b[2]), local.tm_mon + 1);
  EXPECT_EQ(static_cast<uint8_t>(b[3]), local.tm_mday);
  EXPECT_EQ(U32At(b, 4), 0u);
  EXPECT_EQ(U16At(b, 8), 33u);
  EXPECT_EQ(U16At(b, 10), 1u);
  EXPECT_EQ(b.substr(12, 17), std::string(17, '\0'));
  EXPECT_EQ(static_cast<uint8_t>(b[29]), 0x4D);
  EXPECT_EQ(b.substr(30, 2), std::string(2, '\0'));
  EXPECT_EQ(b.substr(32), "\x0D\x1A");
  EXPECT_FALSE(FileExists(dir.File("empty.dbt")));
  EXPECT_FALSE(table.Active());
}

struct TTypeCase {
  char TypeIn;
  uint8_t LengthIn, DecimalsIn;
  char TypeOut;
  uint8_t LengthOut, DecimalsOut, Version;
};

TEST(XBaseCreate, TypeLettersAreUpperCasedAndGetTheirFixedSizes) {
  const TTypeCase cases[] = {
      {'n', 5, 0, 'N', 20, 2, 0x03}, {'C', 7, 3, 'C', 7, 3, 0x03},  {'c', 200, 0, 'C', 200, 0, 0x03},
      {'D', 3, 3, 'D', 8, 0, 0x03},  {'t', 0, 0, 'T', 8, 0, 0x03},  {'Y', 1, 0, 'Y', 8, 2, 0x03},
      {'f', 9, 9, 'F', 8, 2, 0x03},  {'I', 2, 1, 'I', 8, 0, 0x03},  {'l', 9, 0, 'L', 1, 0, 0x03},
      {'m', 4, 4, 'M', 10, 0, 0x83}, {'G', 0, 0, 'G', 10, 0, 0x83}, {'x', 9, 1, 'X', 9, 1, 0x03},
      {'5', 9, 1, '5', 9, 1, 0x03},
  };
  for (const TTypeCase& c : cases) {
    SCOPED_TRACE(std::string("type ") + c.TypeIn);
    TTempDir dir;
    TXBase table;
    std::vector<TDBFFieldStruct> fields = {{"amount", c.TypeIn, c.LengthIn, c.DecimalsIn}};
    table.CreateTable(dir.File("t.dbf"), fields);
    std::string b = FileBytes(dir.File("t.dbf"));
    ASSERT_EQ(b.size(), 66u);
    EXPECT_EQ(static_cast<uint8_t>(b[0]), c.Version);
    EXPECT_EQ(U16At(b, 8), 65u);
    EXPECT_EQ(U16At(b, 10), 1u + c.LengthOut);
    std::string d = b.substr(32, 32);
    EXPECT_EQ(d.substr(0, 11), std::string("AMOUNT\0\0\0\0\0", 11));
    EXPECT_EQ(d[11], c.TypeOut);
    EXPECT_EQ(d.substr(12, 4), std::string(4, '\0'));
    EXPECT_EQ(static_cast<uint8_t>(d[16]), c.LengthOut);
    EXPECT_EQ(static_cast<uint8_t>(d[17]), c.DecimalsOut);
    EXPECT_EQ(d.substr(18), std::string(14, '\0'));
    EXPECT_EQ(b.substr(64), "\x0D\x1A");
    EXPECT_EQ(FileExists(dir.File("t.dbt")), c.Version == 0x83);
    // The caller's array is left as it was.
    EXPECT_EQ(fields[0].FieldType, c.TypeIn);
    EXPECT_EQ(fields[0].FieldLength, c.LengthIn);
  }
}

TEST(XBaseCreate, DescriptorsFollowInOrderAndLengthsAddUp) {
  TTempDir dir;
  TXBase table;
  table.CreateTable(dir.File("t"), {{"F0", 'C', 12, 0}, {"F1", 'N', 0, 0}, {"F2", 'L', 0, 0}});
  std::string b = FileBytes(dir.File("t.dbf"));
  ASSERT_EQ(b.size(), 32u * 3 + 34);
  EXPECT_EQ(U16At(b, 8), 32u * 3 + 33);
  EXPECT_EQ(U16At(b, 10), 1u + 12 + 20 + 1);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(b.substr(32 + 32 * i, 3), std::string("F") + char('0' + i) + '\0');
  EXPECT_EQ(b.substr(128), "\x0D\x1A");
}

TEST(XBaseCreate, FieldNamesAreCutTo11BytesAndUpperCased) {
  TTempDir dir;
  {
    TXBase table;
    table.CreateTable(dir.File("t"), {{"abcdefghijkl", 'C', 5, 0}, {"x1", 'C', 5, 0}, {"金额合计", 'C', 5, 0}});
    std::string b = FileBytes(dir.File("t.dbf"));
    EXPECT_EQ(b.substr(32, 12), "ABCDEFGHIJKC");  // no terminating zero: the name fills its 11 bytes
    EXPECT_EQ(b.substr(64, 11), std::string("X1\0\0\0\0\0\0\0\0\0", 11));
    EXPECT_EQ(b.substr(96, 11), ToSystemBytes("金额合计") + std::string(3, '\0'));  // 8 GBK bytes
  }
  TXBase table;
  table.SetFilename(dir.File("t.dbf"));
  table.SetActive(true);
  ASSERT_TRUE(table.Active());
  EXPECT_EQ(table.GetFieldName(1), "ABCDEFGHIJK");
  EXPECT_EQ(table.GetFieldName(2), "X1");
  EXPECT_EQ(table.GetFieldName(3), "金额合计");
  EXPECT_EQ(table.FieldIndex("abcdefghijk"), 1);
  EXPECT_EQ(table.FieldIndex("abcdefghijkl"), 0);
  EXPECT_EQ(table.FieldIndex("X1"), 2);
  EXPECT_EQ(table.FieldIndex("金额合计"), 3);
}

TEST(XBaseCreate, TargetGetsDbfUnlessItAlreadyEndsSo) {
  const std::pair<const char*, const char*> cases[] = {{"out", "out.dbf"},         {"out.dbf", "out.dbf"},
                                                       {"out.DBF", "out.DBF"},     {"out.Dbf", "out.Dbf"},
                                                       {"out.txt", "out.txt.dbf"}, {"a.b/out", "a.b/out.dbf"}};
  for (const auto& [given, written] : cases) {
    SCOPED_TRACE(given);
    TTempDir dir;
    std::filesystem::create_directory(dir.File("a.b"));
    TXBase table;
    table.CreateTable(dir.File(given), {{"F0", 'C', 3, 0}});
    EXPECT_EQ(FileBytes(dir.File(written)).size(), 32u * 1 + 34);
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.File("")))
      files += entry.is_regular_file();
    EXPECT_EQ(files, 1);
  }
}

TEST(XBaseCreate, MemoTableGetsItsMemoFileHeaderBlock) {
  for (const auto& [given, memo] : {std::pair{"m", "m.dbt"}, std::pair{"m.DBF", "m.DBT"}}) {
    SCOPED_TRACE(given);
    TTempDir dir;
    TXBase table;
    table.CreateTable(dir.File(given), {{"ID", 'C', 4, 0}, {"NOTE", 'M', 0, 0}});
    std::string block = FileBytes(dir.File(memo));
    ASSERT_EQ(block.size(), 512u);
    EXPECT_EQ(U32At(block, 0), 1u);
    EXPECT_EQ(block.substr(4), std::string(508, '\0'));
  }
}

TEST(XBaseCreate, ReplacesAnExistingFile) {
  TTempDir dir;
  testing::WriteBytes(dir.File("t.dbf"), std::string(5000, 'x'));
  TXBase table;
  table.CreateTable(dir.File("t.dbf"), {});
  EXPECT_EQ(FileBytes(dir.File("t.dbf")).size(), 34u);
}

TEST(XBaseCreate, FileErrorsReachTheCaller) {
  TTempDir dir;
  TXBase table;
  EXPECT_THROW(table.CreateTable(dir.File("missing/t.dbf"), {}), EFCreateError);
}

TEST(XBaseCreate, RefusesTablesWhoseLengthsOverflowTheHeader) {
  TTempDir dir;
  TXBase table;
  std::vector<TDBFFieldStruct> many(2100, {"F", 'C', 1, 0});  // 32 * 2100 + 33 > 65535
  EXPECT_TRUE(testing::RaisesXBase([&] { table.CreateTable(dir.File("t"), many); }, "表结构超出文件格式的限制"));
  std::vector<TDBFFieldStruct> wide(300, {"F", 'C', 255, 0});  // 1 + 300 * 255 > 65535
  EXPECT_TRUE(testing::RaisesXBase([&] { table.CreateTable(dir.File("t"), wide); }, "表结构超出文件格式的限制"));
  EXPECT_FALSE(FileExists(dir.File("t.dbf")));
  // The largest table that fits is written.
  table.CreateTable(dir.File("t"), std::vector<TDBFFieldStruct>(2046, {"F", 'C', 1, 0}));
  EXPECT_EQ(U16At(FileBytes(dir.File("t.dbf")), 8), 32u * 2046 + 33);
}

TEST(XBaseCreate, CodePageMarkFollowsTheSystemCodePage) {
  const std::pair<int, uint8_t> cases[] = {{936, 0x4D}, {1252, 0x03}, {950, 0x4F}, {CP_UTF8, 0x00}};
  for (const auto& [codePage, mark] : cases) {
    SCOPED_TRACE(codePage);
    TTempDir dir;
    SetSystemCodePage(codePage);
    TXBase table;
    table.CreateTable(dir.File("t"), {});
    SetSystemCodePage(936);
    EXPECT_EQ(static_cast<uint8_t>(FileBytes(dir.File("t.dbf"))[29]), mark);
  }
}

}  // namespace
}  // namespace kv
