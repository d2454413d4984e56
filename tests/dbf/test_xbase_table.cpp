// An open TXBase table: activation and file names, appending and posting
// records, field padding, memos, deletion flags, events and the error
// messages of every failure.
#include <unistd.h>

#include <memory>

#include "XBaseTestUtil.h"
#include "dbf/XBase.h"
#include "platform/CodePage.h"
#include "platform/Files.h"

namespace kv {
namespace {

using testing::FileBytes;
using testing::RaisesXBase;
using testing::TTempDir;
using testing::U16At;
using testing::U32At;

// Creates the table at APath and opens it.
std::unique_ptr<TXBase> OpenNew(const std::string& APath, const std::vector<TDBFFieldStruct>& AFields) {
  auto table = std::make_unique<TXBase>();
  table->CreateTable(APath, AFields);
  table->SetFilename(APath);
  table->SetActive(true);
  return table;
}

// Record ARecno (from 1) as stored in the table file.
std::string StoredRecord(const std::string& APath, int ARecno) {
  std::string b = FileBytes(APath);
  size_t headerLength = U16At(b, 8), recordLength = U16At(b, 10);
  return b.substr(headerLength + (ARecno - 1) * recordLength, recordLength);
}

TEST(XBaseTable, NewComponentIsClosed) {
  TXBase table;
  EXPECT_FALSE(table.Active());
  EXPECT_EQ(table.Recno(), 0);
  EXPECT_EQ(table.FieldCount(), 0);
  EXPECT_EQ(table.RecordCount(), 0u);
  EXPECT_FALSE(table.Modified());
  EXPECT_FALSE(table.Deleted());
}

TEST(XBaseTable, FilenameReadsBackWithDbf) {
  TXBase table;
  const std::pair<const char*, const char*> cases[] = {{"C:\\a.b\\out.dbf", "C:\\a.b\\out.dbf"},
                                                       {"C:\\a.b\\out", "C:\\a.b\\out.dbf"},
                                                       {"/tmp/x.y/out.txt", "/tmp/x.y/out.dbf"},
                                                       {"out.DBF", "out.dbf"}};
  for (const auto& [given, read] : cases) {
    table.SetFilename(given);
    EXPECT_EQ(table.Filename(), read);
    EXPECT_FALSE(table.Active());
  }
}

TEST(XBaseTable, MissingFileLeavesTheTableInactive) {
  TTempDir dir;
  TXBase table;
  table.SetFilename(dir.File("none.dbf"));
  EXPECT_NO_THROW(table.SetActive(true));
  EXPECT_FALSE(table.Active());
  EXPECT_TRUE(RaisesXBase([&] { table.Append(); }, "Data File not Open"));
  EXPECT_TRUE(RaisesXBase([&] { table.Last(); }, "数据集没有打开"));
  EXPECT_TRUE(RaisesXBase([&] { table.Post(); }, "写记录时发生错误！"));
}

TEST(XBaseTable, EmptyTableBofEofAndLast) {
  TTempDir dir;
  auto table = OpenNew(dir.File("t.dbf"), {{"A", 'C', 3, 0}, {"B", 'N', 0, 0}});
  ASSERT_TRUE(table->Active());
  EXPECT_EQ(table->FieldCount(), 2);
  EXPECT_EQ(table->RecordCount(), 0u);
  EXPECT_EQ(table->Recno(), 1);
  EXPECT_TRUE(table->Bof());
  EXPECT_FALSE(table->Eof());
  table->Last();
  EXPECT_EQ(table->Recno(), 0);
  EXPECT_FALSE(table->Bof());
  EXPECT_TRUE(table->Eof());
  // There is no record to write: the end mark stays where it is.
  EXPECT_TRUE(RaisesXBase([&] { table->Post(); }, "写记录时发生错误！"));
  EXPECT_EQ(FileBytes(dir.File("t.dbf")).size(), 32u * 2 + 34);
}

TEST(XBaseTable, AppendLastPostWritesRecordsAndCount) {
  TTempDir dir;
  std::string path = dir.File("t.dbf");
  auto table = OpenNew(path, {{"NAME", 'C', 5, 0}, {"QTY", 'N', 0, 0}});
  int appended = 0;
  table->OnAppended = [&](TXBase* sender) {
    EXPECT_EQ(sender, table.get());
    ++appended;
  };
  const size_t headerLength = 32 * 2 + 33, recordLength = 1 + 5 + 20;
  const std::pair<const char*, const char*> rows[] = {{"ab", "12"}, {"vwxyz", "-3.5"}, {"", "7"}};
  for (int i = 0; i < 3; ++i) {
    table->Append();
    EXPECT_EQ(table->Recno(), i == 0 ? 1 : i);  // Append does not move
    std::string b = FileBytes(path);
    EXPECT_EQ(U32At(b, 4), static_cast<uint32_t>(i + 1));  // the header is current after each append
    EXPECT_EQ(b.size(), headerLength + (i + 1) * recordLength + 1);
    EXPECT_EQ(b.back(), '\x1A');
    table->Last();
    EXPECT_EQ(table->Recno(), i + 1);
    EXPECT_TRUE(table->Eof());
    EXPECT_FALSE(table->Modified());
    table->SetFieldByName("name", rows[i].first);
    table->SetFieldByName("QTY", rows[i].second);
    EXPECT_TRUE(table->Modified());
    table->Post();
    EXPECT_FALSE(table->Modified());
  }
  EXPECT_EQ(appended, 3);
  EXPECT_EQ(table->RecordCount(), 3u);
  EXPECT_EQ(StoredRecord(path, 1), " ab   " + std::string(18, ' ') + "12");
  EXPECT_EQ(StoredRecord(path, 2), " vwxyz" + std::string(16, ' ') + "-3.5");
  EXPECT_EQ(StoredRecord(path, 3), std::string(6, ' ') + std::string(19, ' ') + "7");
  table->SetActive(false);
  EXPECT_FALSE(table->Active());
  // Reopened, the component is on record 1 with the stored count.
  table->SetActive(true);
  EXPECT_EQ(table->RecordCount(), 3u);
  EXPECT_EQ(table->Recno(), 1);
  EXPECT_TRUE(table->Bof());
}

struct TPadCase {
  char Type;
  uint8_t Length;
  const char* Value;
  const char* Stored;  // nullptr: the field keeps its previous bytes
};

TEST(XBaseTable, ValuesArePaddedCutOrLeftOut) {
  const TPadCase cases[] = {
      {'N', 20, "12", "                  12"},
      {'C', 5, "12", "12   "},
      {'C', 5, "123456", nullptr},
      {'C', 5, "12345", "12345"},
      {'C', 5, "   ", nullptr},
      {'C', 5, "", nullptr},
      {'C', 5, "ab \t\r\n", "ab   "},
      {'C', 5, "  ab", "  ab "},
      {'C', 5, "中文", "中文 "},  // 4 bytes in GBK
      {'C', 4, "中文", "中文"},
      {'C', 5, "中文字", nullptr},  // 6 bytes in GBK, 9 in UTF-8
      {'D', 8, "20240131", "20240131"},
      {'L', 1, "T", "T"},
      {'L', 1, "True", nullptr},
      {'M', 10, "42", "        42"},
      {'X', 3, "a", "a  "},
  };
  for (const TPadCase& c : cases) {
    SCOPED_TRACE(std::string(1, c.Type) + " \"" + c.Value + "\"");
    TTempDir dir;
    std::string path = dir.File("t.dbf");
    auto table = OpenNew(path, {{"V", c.Type, c.Length, 0}});
    table->Append();
    table->Last();
    table->SetFieldByIndex(1, "#");
    table->Post();
    table->SetFieldByIndex(1, c.Value);
    EXPECT_EQ(table->Modified(), c.Stored != nullptr);
    table->Post();
    std::string expected = c.Stored ? ToSystemBytes(c.Stored) : TXBase::PadLeft("#", c.Length);
    if (!c.Stored && c.Type != 'N' && c.Type != 'M') expected = TXBase::PadRight("#", c.Length);
    EXPECT_EQ(StoredRecord(path, 1), " " + expected);
  }
}

TEST(XBaseTable, PadHelpersOnlyWiden) {
  EXPECT_EQ(TXBase::PadLeft("ab", 4), "  ab");
  EXPECT_EQ(TXBase::PadRight("ab", 4), "ab  ");
  EXPECT_EQ(TXBase::PadLeft("abcde", 4), "abcde");
  EXPECT_EQ(TXBase::PadRight("abc", -1), "abc");
}

TEST(XBaseTable, FieldNamesAndIndexErrors) {
  TTempDir dir;
  auto table = OpenNew(dir.File("t.dbf"), {{"Name", 'C', 5, 0}, {"qty", 'N', 0, 0}});
  EXPECT_EQ(table->FieldIndex("QTY"), 2);
  EXPECT_EQ(table->FieldIndex("Qty"), 2);
  EXPECT_EQ(table->FieldIndex("price"), 0);
  EXPECT_EQ(table->GetFieldName(1), "NAME");
  EXPECT_TRUE(RaisesXBase([&] { table->GetFieldName(0); }, "Invalid Field Number: 0"));
  EXPECT_TRUE(RaisesXBase([&] { table->GetFieldName(3); }, "Invalid Field Number: 3"));
  EXPECT_TRUE(RaisesXBase([&] { table->SetFieldByName("price", "1"); }, "错误的字段名称"));
  EXPECT_TRUE(RaisesXBase([&] { table->SetFieldByIndex(0, "1"); }, "错误的字段名称！"));
  EXPECT_TRUE(RaisesXBase([&] { table->SetFieldByIndex(3, "1"); }, "错误的字段名称！"));
  EXPECT_TRUE(RaisesXBase([&] { table->SetMemoByIndex(-1, "1"); }, "错误的字段下标！(11位)"));
  EXPECT_TRUE(RaisesXBase([&] { table->SetMemoByIndex(3, "1"); }, "错误的字段下标！(11位)"));

  // With a name stored twice the first field of that name is found, also
  // right after the field before the second one.
  auto twice = OpenNew(dir.File("twice.dbf"), {{"A", 'C', 1, 0}, {"B", 'C', 1, 0}, {"a", 'C', 1, 0}});
  EXPECT_EQ(twice->FieldIndex("B"), 2);
  EXPECT_EQ(twice->FieldIndex("A"), 1);
  EXPECT_EQ(twice->FieldIndex("B"), 2);
  EXPECT_EQ(twice->FieldIndex("a"), 1);

  auto bare = OpenNew(dir.File("bare.dbf"), {});
  EXPECT_EQ(bare->FieldCount(), 0);
  EXPECT_TRUE(RaisesXBase([&] { bare->FieldIndex("F0"); }, "Invalid Field Number: 1"));
  EXPECT_TRUE(RaisesXBase([&] { bare->SetFieldByName("F0", "x"); }, "Invalid Field Number: 1"));
}

TEST(XBaseTable, MemoTextsGoToTheirBlocks) {
  TTempDir dir;
  std::string path = dir.File("m.dbf"), memoPath = dir.File("m.dbt");
  auto table = OpenNew(path, {{"ID", 'C', 2, 0}, {"NOTE", 'M', 0, 0}});
  std::string first(600, 'a');
  table->Append();
  table->Last();
  table->SetFieldByName("NOTE", first);
  EXPECT_TRUE(table->Modified());
  table->Post();
  EXPECT_EQ(StoredRecord(path, 1), "   " + std::string(9, ' ') + "1");
  std::string memo = FileBytes(memoPath);
  EXPECT_EQ(U32At(memo, 0), 3u);
  ASSERT_EQ(memo.size(), 512u + 600 + 2);
  EXPECT_EQ(memo.substr(4, 507), std::string(507, '\0'));
  EXPECT_EQ(memo[511], '\x1A');  // the old last byte, overwritten by the first end mark
  EXPECT_EQ(memo.substr(512, 600), first);
  EXPECT_EQ(memo.substr(1112), "\x1A\x1A");

  // 255 Chinese characters are 510 GBK bytes: with the end marks one block.
  std::string second;
  for (int i = 0; i < 255; ++i) second += "备";
  table->Append();
  table->Last();
  table->SetFieldByIndex(1, "b");
  table->SetMemoByIndex(2, second);
  table->Post();
  EXPECT_EQ(StoredRecord(path, 2), " b " + std::string(9, ' ') + "3");
  memo = FileBytes(memoPath);
  EXPECT_EQ(U32At(memo, 0), 4u);
  ASSERT_EQ(memo.size(), 3u * 512 + 512);
  EXPECT_EQ(memo.substr(1112, 3), "\x1A\x1A\x1A");
  EXPECT_EQ(memo.substr(1115, 3 * 512 - 1115), std::string(3 * 512 - 1115, '\0'));
  EXPECT_EQ(memo.substr(3 * 512, 510), ToSystemBytes(second));
  EXPECT_EQ(memo.substr(3 * 512 + 510), "\x1A\x1A");

  // The next activation continues at the stored next free block.
  table->SetActive(false);
  table->SetActive(true);
  table->Append();
  table->Last();
  table->SetFieldByName("note", "");
  table->Post();
  EXPECT_EQ(StoredRecord(path, 3), "   " + std::string(9, ' ') + "4");
  EXPECT_EQ(U32At(FileBytes(memoPath), 0), 5u);
}

TEST(XBaseTable, MemoFieldWithoutMemoFileRaises) {
  TTempDir dir;
  std::string path = dir.File("m.dbf");
  {
    TXBase maker;
    maker.CreateTable(path, {{"NOTE", 'M', 0, 0}});
  }
  // A table whose version byte announces no memo file.
  std::string b = FileBytes(path);
  b[0] = 0x03;
  testing::WriteBytes(path, b);
  TXBase table;
  table.SetFilename(path);
  table.SetActive(true);
  table.Append();
  table.Last();
  EXPECT_TRUE(RaisesXBase([&] { table.SetFieldByName("NOTE", "text"); }, "备注文件没有打开"));
  EXPECT_FALSE(table.Modified());
  EXPECT_EQ(U32At(FileBytes(dir.File("m.dbt")), 0), 1u);
}

TEST(XBaseTable, MissingMemoFileFailsActivationWithTheTableOpen) {
  TTempDir dir;
  std::string path = dir.File("m.dbf");
  {
    TXBase maker;
    maker.CreateTable(path, {{"NOTE", 'M', 0, 0}});
  }
  ASSERT_TRUE(DeleteFile(dir.File("m.dbt")));
  TXBase table;
  table.SetFilename(path);
  EXPECT_THROW(table.SetActive(true), EFOpenError);
  EXPECT_TRUE(table.Active());
  EXPECT_NO_THROW(table.Append());  // the table itself is usable
  EXPECT_TRUE(RaisesXBase([&] { table.SetMemoByIndex(1, "x"); }, "备注文件没有打开"));
  table.SetActive(false);
  TXBase other;
  other.SetFilename(path);
  EXPECT_THROW(other.SetActive(true), EFOpenError);  // still no memo file, but the table was released
}

TEST(XBaseTable, UpperCaseExtensionsAreFound) {
  TTempDir dir;
  auto table = OpenNew(dir.File("OUT.DBF"), {{"NOTE", 'M', 0, 0}});
  ASSERT_TRUE(table->Active());
  EXPECT_EQ(table->Filename(), dir.File("OUT.dbf"));
  table->Append();
  table->Last();
  table->SetFieldByIndex(1, "x");
  table->SetMemoByIndex(1, "memo");
  table->Post();
  EXPECT_EQ(U32At(FileBytes(dir.File("OUT.DBT")), 0), 2u);
  EXPECT_FALSE(FileExists(dir.File("OUT.dbf")));
}

TEST(XBaseTable, DeletedFlagAsksOnDeleting) {
  TTempDir dir;
  std::string path = dir.File("t.dbf");
  auto table = OpenNew(path, {{"A", 'C', 2, 0}});
  table->Append();
  table->Last();
  EXPECT_FALSE(table->Deleted());
  bool allow = false;
  int asked = 0;
  table->OnDeleting = [&](TXBase*, bool& allowed) {
    EXPECT_TRUE(allowed);
    ++asked;
    allowed = allow;
  };
  table->SetDeleted(true);
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(table->Deleted());
  table->Post();
  EXPECT_EQ(StoredRecord(path, 1), "   ");
  allow = true;
  table->SetDeleted(true);
  EXPECT_TRUE(table->Deleted());
  EXPECT_FALSE(table->Modified());
  EXPECT_EQ(StoredRecord(path, 1), "   ");  // nothing written before Post
  table->Post();
  EXPECT_EQ(StoredRecord(path, 1), "*  ");
  table->SetDeleted(false);
  EXPECT_EQ(asked, 2);
  EXPECT_FALSE(table->Deleted());
  table->SetDeleted(true);
  table->SetActive(false);
  EXPECT_FALSE(table->Deleted());  // reads false while closed
  table->SetDeleted(false);        // and setting it does nothing
  EXPECT_EQ(asked, 3);
  table->SetActive(true);
  table->Last();
  EXPECT_TRUE(table->Deleted());
}

TEST(XBaseTable, OnChangingRefusingKeepsTheRecord) {
  TTempDir dir;
  auto table = OpenNew(dir.File("t.dbf"), {{"A", 'C', 2, 0}});
  table->Append();
  table->Append();
  table->OnChanging = [](TXBase*, bool& allowed) { allowed = false; };
  table->Last();
  EXPECT_EQ(table->Recno(), 1);
  table->OnChanging = nullptr;
  table->Last();
  EXPECT_EQ(table->Recno(), 2);
}

TEST(XBaseTable, FailingOnAppendedIsAWriteError) {
  TTempDir dir;
  std::string path = dir.File("t.dbf");
  auto table = OpenNew(path, {{"A", 'C', 2, 0}});
  table->OnAppended = [](TXBase*) { throw std::runtime_error("handler"); };
  EXPECT_TRUE(RaisesXBase([&] { table->Append(); }, "Error Writing record"));
  EXPECT_EQ(table->RecordCount(), 1u);
  EXPECT_EQ(U32At(FileBytes(path), 4), 1u);  // the record was written before the handler ran
}

TEST(XBaseTable, TruncatedRecordsRaiseReadError) {
  TTempDir dir;
  std::string path = dir.File("t.dbf");
  auto table = OpenNew(path, {{"A", 'C', 2, 0}});
  table->Append();
  table->Append();
  table->Last();
  table->Post();
  ASSERT_EQ(::truncate(path.c_str(), 32 + 32 + 1 + 3), 0);  // record 2 is gone
  EXPECT_TRUE(RaisesXBase([&] { table->Last(); }, "读记录时发生错误！"));
}

TEST(XBaseTable, HeldTableCannotBeOpenedOrRecreated) {
  TTempDir dir;
  std::string path = dir.File("t.dbf");
  auto table = OpenNew(path, {{"A", 'C', 2, 0}});
  table->Append();
  TXBase second;
  second.SetFilename(path);
  EXPECT_THROW(second.SetActive(true), EFOpenError);
  EXPECT_THROW(second.CreateTable(path, {}), EFCreateError);
  EXPECT_EQ(U32At(FileBytes(path), 4), 1u);  // the held table is untouched
  // The destructor releases the files.
  table.reset();
  second.SetActive(true);
  EXPECT_TRUE(second.Active());
  EXPECT_EQ(second.RecordCount(), 1u);
}

TEST(XBaseTable, FilenameChangesWhileOpen) {
  TTempDir dir;
  auto table = OpenNew(dir.File("a.dbf"), {{"A", 'C', 2, 0}});
  TXBase maker;
  maker.CreateTable(dir.File("b.dbf"), {{"B", 'C', 2, 0}, {"C", 'C', 2, 0}});
  table->SetFilename(dir.File("b.dbf"));  // stays on a.dbf
  EXPECT_TRUE(table->Active());
  EXPECT_EQ(table->FieldCount(), 1);
  table->Append();
  EXPECT_EQ(U32At(FileBytes(dir.File("a.dbf")), 4), 1u);
  EXPECT_EQ(U32At(FileBytes(dir.File("b.dbf")), 4), 0u);
  table->SetFilename(dir.File("none.dbf"));  // a missing table closes the open one
  EXPECT_FALSE(table->Active());
  TXBase other;
  other.SetFilename(dir.File("a.dbf"));
  other.SetActive(true);
  EXPECT_TRUE(other.Active());
}

}  // namespace
}  // namespace kv
