// Fields, datasets and data sources: values in the class library's text and
// variant forms, buffer sizes, the cursor, bookmarks, editing and the
// notifications that DisableControls holds back.
#include <gtest/gtest.h>

#include "platform/DBFields.h"
#include "platform/MemDataSet.h"

namespace kv {
namespace {

// The numbers of the field types are the class library's.
static_assert(ftString == 1 && ftBoolean == 5 && ftDate == 9 && ftMemo == 16 && ftFixedChar == 23 &&
              ftWideString == 24 && ftLargeint == 25 && ftGuid == 35 && ftTimeStamp == 36 && ftFMTBcd == 37);

struct TFieldCase {
  TFieldType Type;
  int Size;
  std::string Input;  // set with SetAsString
  int DataSize;
  std::string Text;  // AsString afterwards
  TVarType Kind;     // Value().VarType()
};

void PrintTo(const TFieldCase& ACase, std::ostream* AOut) {
  *AOut << FieldTypeName(ACase.Type) << " \"" << ACase.Input << "\"";
}

class FieldValues : public ::testing::TestWithParam<TFieldCase> {};

TEST_P(FieldValues, TextVariantAndBufferSize) {
  const TFieldCase& c = GetParam();
  TMemDataSet ds;
  ds.FieldDefs().Add("V", c.Type, c.Size);
  ds.CreateDataSet();
  ds.Append();
  ds.Fields(0)->SetAsString(c.Input);
  ds.Post();
  TField* f = ds.FieldByName("v");
  EXPECT_EQ(f->DataType(), c.Type);
  EXPECT_EQ(f->DataSize(), c.DataSize);
  EXPECT_EQ(f->AsString(), c.Text);
  EXPECT_EQ(f->Value().VarType(), c.Kind) << VarTypeName(f->Value().VarType());
  EXPECT_FALSE(f->IsNull());
}

INSTANTIATE_TEST_SUITE_P(
    AllKinds, FieldValues,
    ::testing::Values(
        TFieldCase{ftString, 20, "abc", 21, "abc", varString}, TFieldCase{ftFixedChar, 5, "ab", 6, "ab", varString},
        TFieldCase{ftWideString, 10, "中文", 4, "中文", varOleStr},
        TFieldCase{ftSmallint, 0, "-12", 2, "-12", varInteger},
        TFieldCase{ftInteger, 0, " 2147483647 ", 4, "2147483647", varInteger},
        TFieldCase{ftWord, 0, "65535", 2, "65535", varInteger},
        TFieldCase{ftLargeint, 0, "9000000000", 8, "9000000000", varInt64},
        TFieldCase{ftBoolean, 0, "true", 2, "True", varBoolean}, TFieldCase{ftBoolean, 0, "F", 2, "False", varBoolean},
        TFieldCase{ftFloat, 0, "1.50", 8, "1.5", varDouble}, TFieldCase{ftFloat, 0, "0.1", 8, "0.1", varDouble},
        TFieldCase{ftCurrency, 0, "12.5", 8, "12.5", varCurrency},
        TFieldCase{ftBCD, 2, "12.34565", 34, "12.3457", varCurrency},
        TFieldCase{ftFMTBcd, 4, "-00123.4500", 34, "-123.45", varFMTBcd},
        TFieldCase{ftDate, 0, "2024-03-05 10:00", 4, "2024-03-05", varDate},
        TFieldCase{ftTime, 0, "14:30:05", 4, "14:30:05", varDate},
        TFieldCase{ftDateTime, 0, "2024-03-05 14:30:05", 8, "2024-03-05 14:30:05", varDate},
        TFieldCase{ftDateTime, 0, "2024-03-05 00:00:00", 8, "2024-03-05", varDate},
        TFieldCase{ftTimeStamp, 0, "2024-03-05 14:30", 16, "2024-03-05 14:30:00", varSQLTimeStamp},
        TFieldCase{ftMemo, 0, "长文本\r\n第二行", 0, "长文本\r\n第二行", varString},
        TFieldCase{ftGuid, 0, "{00000000-0000-0000-0000-000000000001}", 39, "{00000000-0000-0000-0000-000000000001}",
                   varString}),
    [](const ::testing::TestParamInfo<TFieldCase>& AInfo) {
      return std::string(FieldTypeName(AInfo.param.Type) + 2) + std::to_string(AInfo.index);
    });

TEST(Field, NullReadsEmptyAndVariantNull) {
  TMemDataSet ds;
  ds.FieldDefs().Add("D", ftDate);
  ds.FieldDefs().Add("N", ftInteger);
  ds.CreateDataSet();
  ds.Append();
  ds.Post();
  for (int i = 0; i < 2; ++i) {
    EXPECT_TRUE(ds.Fields(i)->IsNull());
    EXPECT_EQ(ds.Fields(i)->AsString(), "");
    EXPECT_TRUE(ds.Fields(i)->Value().IsNull());
  }
}

TEST(Field, RejectsValuesOutsideItsType) {
  TMemDataSet ds;
  ds.FieldDefs().Add("S", ftSmallint);
  ds.FieldDefs().Add("I", ftInteger);
  ds.FieldDefs().Add("D", ftDate);
  ds.FieldDefs().Add("B", ftBoolean);
  ds.CreateDataSet();
  ds.Append();
  try {
    ds.Fields(0)->SetAsInteger(40000);
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "40000 is not a valid value for field 'S'. The allowed range is -32768 to 32767");
  }
  EXPECT_THROW(ds.Fields(1)->SetAsString("12abc"), EDatabaseError);
  EXPECT_THROW(ds.Fields(1)->SetAsString("3000000000"), EDatabaseError);
  EXPECT_THROW(ds.Fields(2)->SetAsString("2024-02-30"), EDatabaseError);
  EXPECT_THROW(ds.Fields(3)->SetAsString("maybe"), EDatabaseError);
}

TEST(Field, ValueSetsConvertBetweenKinds) {
  TMemDataSet ds;
  ds.FieldDefs().Add("C", ftCurrency);
  ds.FieldDefs().Add("B", ftBCD, 2);
  ds.FieldDefs().Add("T", ftDateTime);
  ds.CreateDataSet();
  ds.Append();
  ds.Fields(0)->SetValue(Variant::Currency(125000));
  ds.Fields(1)->SetValue(Variant(3));
  ds.Fields(2)->SetValue(Variant::DateTime(EncodeDate(2024, 1, 2) + EncodeTime(3, 4, 5, 0)));
  ds.Post();
  EXPECT_EQ(ds.Fields(0)->AsString(), "12.5");
  EXPECT_EQ(ds.Fields(0)->Value().AsCurrency(), 125000);
  EXPECT_EQ(ds.Fields(1)->AsString(), "3");
  EXPECT_EQ(ds.Fields(2)->AsString(), "2024-01-02 03:04:05");
}

class DataSetCursor : public ::testing::Test {
 protected:
  void SetUp() override {
    ds.FieldDefs().Add("ID", ftInteger);
    ds.FieldDefs().Add("NAME", ftString, 10);
    ds.CreateDataSet();
    for (int i = 1; i <= 5; ++i) {
      ds.Append();
      ds.FieldByName("ID")->SetAsInteger(i);
      ds.FieldByName("NAME")->SetAsString("n" + std::to_string(i));
      ds.Post();
    }
  }
  TMemDataSet ds;
};

TEST_F(DataSetCursor, WalksEveryRecordOnce) {
  std::string seen;
  int count = 0;
  for (ds.First(); !ds.Eof(); ds.Next()) {
    seen += ds.FieldByName("name")->AsString();
    EXPECT_EQ(ds.RecNo(), ++count);
  }
  EXPECT_EQ(seen, "n1n2n3n4n5");
  EXPECT_EQ(ds.RecordCount(), 5);
  EXPECT_EQ(ds.RecNo(), 5);  // Next past the end stays on the last record
}

TEST_F(DataSetCursor, BookmarkReturnsToItsRecordAfterDeletionsBefore) {
  ds.SetRecNo(4);
  TBookmarkStr mark = ds.Bookmark();
  ds.First();
  ds.Delete();  // removes record 1; the marked record is now the third
  ds.Last();
  ds.SetBookmark(mark);
  EXPECT_EQ(ds.FieldByName("ID")->AsInteger(), 4);
  EXPECT_EQ(ds.RecNo(), 3);
  EXPECT_FALSE(ds.Eof());
}

TEST_F(DataSetCursor, BookmarkOfDeletedRecordRaises) {
  ds.SetRecNo(2);
  TBookmarkStr mark = ds.Bookmark();
  ds.Delete();
  try {
    ds.SetBookmark(mark);
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Record not found");
  }
  EXPECT_THROW(ds.SetBookmark("garbage"), EDatabaseError);
  ds.SetRecNo(1);
  ds.SetBookmark("");  // names no record: nothing happens
  EXPECT_EQ(ds.RecNo(), 1);
}

TEST_F(DataSetCursor, EditingNeedsEditOrInsertState) {
  try {
    ds.FieldByName("ID")->SetAsInteger(9);
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), "Dataset not in edit or insert mode");
  }
  ds.SetRecNo(2);
  ds.Edit();
  ds.FieldByName("NAME")->SetAsString("changed");
  ds.Cancel();
  EXPECT_EQ(ds.FieldByName("NAME")->AsString(), "n2");
  ds.Edit();
  ds.FieldByName("NAME")->SetAsString("changed");
  ds.Next();  // moving posts the edit
  ds.Prior();
  EXPECT_EQ(ds.FieldByName("NAME")->AsString(), "changed");
  EXPECT_THROW(ds.FieldByName("missing"), EDatabaseError);
  EXPECT_EQ(ds.FindField("missing"), nullptr);
}

TEST_F(DataSetCursor, ClosedDataSetHasNoRecordsAndKeepsThemForReopening) {
  ds.Close();
  EXPECT_FALSE(ds.Active());
  EXPECT_EQ(ds.RecordCount(), 0);
  EXPECT_EQ(ds.Bookmark(), "");
  EXPECT_TRUE(ds.FieldByName("ID")->IsNull());
  EXPECT_THROW(ds.First(), EDatabaseError);
  ds.Open();
  EXPECT_EQ(ds.RecordCount(), 5);
  EXPECT_EQ(ds.FieldByName("ID")->AsInteger(), 1);
}

// A link that counts what it is told.
class TCountingLink : public TDataLink {
 public:
  void ActiveChanged() override { ++Active; }
  void DataSetChanged() override { ++Changed; }
  void DataSetScrolled() override { ++Scrolled; }
  int Active = 0, Changed = 0, Scrolled = 0;
};

TEST_F(DataSetCursor, DisabledControlsHearNothingUntilTheLastEnable) {
  TDataSource source;
  source.SetDataSet(&ds);
  TCountingLink link;
  link.SetDataSource(&source);
  ds.First();  // from the last record (where the appends left it) to the first
  EXPECT_EQ(link.Scrolled, 1);

  ds.DisableControls();
  ds.DisableControls();
  EXPECT_TRUE(ds.ControlsDisabled());
  for (ds.First(); !ds.Eof(); ds.Next()) {
  }
  ds.Append();
  ds.Post();
  ds.EnableControls();
  EXPECT_TRUE(ds.ControlsDisabled());
  EXPECT_EQ(link.Scrolled, 1);
  EXPECT_EQ(link.Changed, 0);
  ds.EnableControls();
  EXPECT_FALSE(ds.ControlsDisabled());
  EXPECT_EQ(link.Changed, 1);  // one report for everything held back
  EXPECT_EQ(link.Scrolled, 1);
  ds.EnableControls();  // unbalanced: ignored
  EXPECT_FALSE(ds.ControlsDisabled());
}

// Values are kept field by field: texts replaced by shorter and longer ones,
// nulls between values, deleted records and many replacements (which make the
// text pool compact itself) leave every other value as it was.
TEST(MemDataSetStorage, ReplacedAndDeletedValuesLeaveTheOthersIntact) {
  TMemDataSet ds;
  ds.FieldDefs().Add("ID", ftInteger);
  ds.FieldDefs().Add("TEXT", ftMemo);
  ds.FieldDefs().Add("X", ftFloat);
  ds.CreateDataSet();
  std::vector<std::string> expected;
  for (int i = 0; i < 40; ++i) {
    ds.Append();
    ds.Fields(0)->SetAsInteger(i);
    if (i % 3 != 0) {
      expected.push_back("text " + std::string(size_t(i), 'x'));
      ds.Fields(1)->SetAsString(expected.back());
    } else {
      expected.push_back("");  // null
    }
    if (i % 2 == 0) ds.Fields(2)->SetAsFloat(i / 4.0);
    ds.Post();
  }
  // Many replacements of one text, growing and shrinking.
  for (int round = 0; round < 300; ++round) {
    ds.SetRecNo(5);
    ds.Edit();
    expected[4] = std::string(size_t(round % 2 ? 2000 : 3), char('a' + round % 26));
    ds.Fields(1)->SetAsString(expected[4]);
    ds.Post();
  }
  ds.SetRecNo(8);
  ds.Edit();
  ds.Fields(1)->Clear();  // a text becomes null
  ds.Post();
  expected[7] = "";
  for (int rec : {20, 10, 1}) {  // deletions (record numbers from 1)
    ds.SetRecNo(rec);
    ds.Delete();
    expected.erase(expected.begin() + (rec - 1));
  }
  ASSERT_EQ(ds.RecordCount(), 37);
  int n = 0;
  for (ds.First(); !ds.Eof(); ds.Next(), ++n) {
    const int id = ds.Fields(0)->AsInteger();
    EXPECT_EQ(ds.Fields(1)->AsString(), expected[size_t(n)]) << "record " << n;
    EXPECT_EQ(ds.Fields(1)->IsNull(), expected[size_t(n)].empty()) << "record " << n;
    EXPECT_EQ(ds.Fields(2)->IsNull(), id % 2 != 0);
    if (id % 2 == 0) {
      EXPECT_EQ(ds.Fields(2)->AsFloat(), id / 4.0);
    }
  }
}

// A text of 16 MiB or more is kept with its length beside it.
TEST(MemDataSetStorage, KeepsTextsOfAnyLength) {
  TMemDataSet ds;
  ds.FieldDefs().Add("M", ftMemo);
  ds.FieldDefs().Add("S", ftString, 5);
  ds.CreateDataSet();
  const std::string huge = std::string(size_t(1) << 24, 'h') + "end";
  ds.Append();
  ds.Fields(0)->SetAsString(huge);
  ds.Fields(1)->SetAsString("after");
  ds.Post();
  EXPECT_EQ(ds.Fields(0)->AsString(), huge);
  EXPECT_EQ(ds.Fields(1)->AsString(), "after");
  ds.Edit();
  ds.Fields(0)->SetAsString("short");
  ds.Post();
  EXPECT_EQ(ds.Fields(0)->AsString(), "short");
  EXPECT_EQ(ds.Fields(1)->AsString(), "after");
}

// A value stored in another form than the field's own (SetData takes any)
// comes back in that form.
TEST(MemDataSetStorage, KeepsTheFormAValueWasStoredIn) {
  TMemDataSet ds;
  ds.FieldDefs().Add("I", ftInteger);
  ds.FieldDefs().Add("S", ftString, 5);
  ds.CreateDataSet();
  ds.Append();
  ds.Fields(0)->SetData(std::string("text"));
  ds.Fields(1)->SetData(int64_t(7));
  ds.Post();
  ds.Append();
  ds.Fields(0)->SetData(2.5);
  ds.Post();
  ds.First();
  EXPECT_EQ(std::get<std::string>(ds.Fields(0)->Data()), "text");
  EXPECT_EQ(std::get<int64_t>(ds.Fields(1)->Data()), 7);
  ds.Next();
  EXPECT_EQ(std::get<double>(ds.Fields(0)->Data()), 2.5);
  EXPECT_TRUE(ds.Fields(1)->IsNull());
}

TEST(MemDataSetStorage, BulkLoadingStoresValuesAndReportsOnce) {
  TMemDataSet ds;
  ds.FieldDefs().Add("I", ftLargeint);
  ds.FieldDefs().Add("D", ftDate);
  ds.FieldDefs().Add("S", ftString, 10);
  ds.CreateDataSet();
  TDataSource source;
  source.SetDataSet(&ds);
  TCountingLink link;
  link.SetDataSource(&source);
  ds.DisableControls();
  ds.AppendRecords(3);
  ds.StoreInteger(0, 0, -5);
  ds.StoreFloat(1, 1, EncodeDate(2024, 3, 5));
  ds.StoreText(2, 2, "中文");
  ds.StoreText(0, 2, "");
  EXPECT_THROW(ds.StoreInteger(3, 0, 1), EListError);
  EXPECT_THROW(ds.StoreText(0, 3, "x"), EListError);
  EXPECT_EQ(link.Changed, 0);
  ds.EnableControls();
  EXPECT_EQ(link.Changed, 1);
  EXPECT_EQ(ds.RecNo(), 3);  // the last record appended is current
  ds.First();
  EXPECT_EQ(ds.Fields(0)->AsLargeInt(), -5);
  EXPECT_TRUE(ds.Fields(1)->IsNull());
  EXPECT_FALSE(ds.Fields(2)->IsNull());  // an empty text, not a null
  ds.Next();
  EXPECT_EQ(ds.Fields(1)->AsString(), "2024-03-05");
  ds.Next();
  EXPECT_EQ(ds.Fields(2)->AsString(), "中文");
  ds.Append();
  EXPECT_THROW(ds.AppendRecords(1), EDatabaseError);
  EXPECT_THROW(ds.StoreInteger(0, 0, 1), EDatabaseError);
  ds.Cancel();
}

TEST(DataSource, ForgetsADataSetThatIsFreed) {
  TDataSource source;
  TCountingLink link;
  link.SetDataSource(&source);
  {
    TMemDataSet ds;
    ds.FieldDefs().Add("A", ftInteger);
    source.SetDataSet(&ds);
    ds.CreateDataSet();
    EXPECT_EQ(link.Active, 2);  // attached, then opened
  }
  EXPECT_EQ(source.DataSet(), nullptr);
}

TEST(FieldDefs, RejectDuplicateNamesAndUnsupportedTypes) {
  TMemDataSet ds;
  ds.FieldDefs().Add("Name", ftString, 5);
  EXPECT_THROW(ds.FieldDefs().Add("NAME", ftInteger), EDatabaseError);
  ds.FieldDefs().Add("C", ftCursor);
  EXPECT_THROW(ds.CreateDataSet(), EDatabaseError);
}

}  // namespace
}  // namespace kv
