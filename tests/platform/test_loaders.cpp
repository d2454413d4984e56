// Loading SQLite tables and queries and CSV files: field types from declared
// types and values, widening instead of losing values, and clear messages for
// bad input.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include "platform/CsvLoader.h"
#include "platform/DBFields.h"
#include "platform/SqliteLoader.h"
#include "support/ViewFixture.h"

namespace kv {
namespace {

using testing::TScratchDir;

void Exec(const std::string& ADatabase, const std::string& ASql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(ADatabase.c_str(), &db), SQLITE_OK);
  char* error = nullptr;
  int rc = sqlite3_exec(db, ASql.c_str(), nullptr, nullptr, &error);
  std::string message = error ? error : "";
  sqlite3_free(error);
  sqlite3_close(db);
  ASSERT_EQ(rc, SQLITE_OK) << message;
}

// The message of the EDatabaseError that AAction raises ("" when none).
template <class F>
std::string DatabaseError(F&& AAction) {
  try {
    AAction();
  } catch (const EDatabaseError& e) {
    return e.Message();
  }
  return std::string();
}

struct TDeclCase {
  const char* Column;
  TFieldType Type;
  int Size;
  const char* Text;  // AsString of the loaded value
};

TEST(SqliteLoader, FieldTypesFromDeclarationsWidenedByValues) {
  TScratchDir dir;
  std::string db = dir.File("shop.db");
  Exec(db,
       "CREATE TABLE t (a INTEGER, b INTEGER, c SMALLINT, d BIGINT, e VARCHAR(5), f NVARCHAR(4), "
       "g DECIMAL(10,2), h DECIMAL(20,6), i MONEY, j REAL, k DATE, l DATETIME, m BOOLEAN, n MEMO, o BLOB, "
       "p TEXT, q INTEGER, r DATE, s TIME, u GUID, v DECIMAL(10,2), w SMALLINT, x CHAR(2));"
       "INSERT INTO t VALUES (1, 5000000000, 7, 8, '张三丰', '中文', 12.5, '1.123456', 99.99, 0.25, "
       "'2024-03-05', '2024-03-05 10:11:12', 1, 'long text', x'0001', 'abc', 'abc', 'soon', '08:30:00', "
       "'{00000000-0000-0000-0000-000000000001}', 1.23456, 70000, 'toolong');");
  TMemDataSet ds;
  LoadSqliteTable(db, "t", ds);
  ASSERT_TRUE(ds.Active());
  ASSERT_EQ(ds.RecordCount(), 1);
  const TDeclCase cases[] = {
      {"a", ftInteger, 0, "1"},
      {"b", ftLargeint, 0, "5000000000"},
      {"c", ftSmallint, 0, "7"},
      {"d", ftLargeint, 0, "8"},
      {"e", ftString, 6, "张三丰"},  // 6 bytes in GBK, more than the declared 5
      {"f", ftWideString, 4, "中文"},
      {"g", ftBCD, 2, "12.5"},
      {"h", ftFMTBcd, 6, "1.123456"},
      {"i", ftCurrency, 0, "99.99"},
      {"j", ftFloat, 0, "0.25"},
      {"k", ftDate, 0, "2024-03-05"},
      {"l", ftDateTime, 0, "2024-03-05 10:11:12"},
      {"m", ftBoolean, 0, "True"},
      {"n", ftMemo, 0, "long text"},
      {"o", ftBlob, 0, nullptr},  // checked below: its bytes hold a zero
      {"p", ftString, 3, "abc"},
      {"q", ftString, 3, "abc"},   // text in an INTEGER column: the column becomes text
      {"r", ftString, 4, "soon"},  // not a date: text
      {"s", ftTime, 0, "08:30:00"},
      {"u", ftGuid, 38, "{00000000-0000-0000-0000-000000000001}"},
      {"v", ftFMTBcd, 5, "1.23456"},  // more decimals than a BCD field holds
      {"w", ftInteger, 0, "70000"},   // beyond a small integer
      {"x", ftString, 7, "toolong"},
  };
  for (const TDeclCase& c : cases) {
    SCOPED_TRACE(c.Column);
    TField* f = ds.FieldByName(c.Column);
    EXPECT_EQ(FieldTypeName(f->DataType()), std::string(FieldTypeName(c.Type)));
    EXPECT_EQ(f->Size(), c.Size);
    if (c.Text) {
      EXPECT_EQ(f->AsString(), c.Text);
    }
  }
  EXPECT_EQ(ds.FieldByName("o")->AsString(), std::string("\x00\x01", 2));
}

TEST(SqliteLoader, QueryColumnsWithoutDeclarationsAndRepeatedNames) {
  TScratchDir dir;
  std::string db = dir.File("q.db");
  Exec(db,
       "CREATE TABLE t (id INTEGER, name TEXT);"
       "INSERT INTO t VALUES (1, 'a'), (2, NULL), (3, 'ccc');");
  TMemDataSet ds;
  LoadSqliteQuery(db,
                  "select id * 2 as twice, name || '!' as shout, id / 2.0 as half, "
                  "date('2024-01-01', '+' || id || ' days') as day, null as nada, id, id "
                  "from t where id > 1 order by id desc;",
                  ds);
  ASSERT_EQ(ds.FieldCount(), 7);
  EXPECT_EQ(ds.Fields(0)->DataType(), ftInteger);
  EXPECT_EQ(ds.Fields(1)->DataType(), ftString);
  EXPECT_EQ(ds.Fields(1)->Size(), 4);
  EXPECT_EQ(ds.Fields(2)->DataType(), ftFloat);
  EXPECT_EQ(ds.Fields(3)->DataType(), ftDate);
  EXPECT_EQ(ds.Fields(4)->DataType(), ftString);
  EXPECT_EQ(ds.Fields(5)->FieldName, "id");
  EXPECT_EQ(ds.Fields(6)->FieldName, "id_1");
  ASSERT_EQ(ds.RecordCount(), 2);
  EXPECT_EQ(ds.RecNo(), 1);
  EXPECT_EQ(ds.Fields(0)->AsString(), "6");
  EXPECT_EQ(ds.Fields(1)->AsString(), "ccc!");
  EXPECT_EQ(ds.Fields(2)->AsString(), "1.5");
  EXPECT_EQ(ds.Fields(3)->AsString(), "2024-01-04");
  ds.Next();
  EXPECT_TRUE(ds.Fields(1)->IsNull());
  EXPECT_TRUE(ds.Fields(4)->IsNull());
}

TEST(SqliteLoader, BadInputGetsAClearMessage) {
  TScratchDir dir;
  std::string db = dir.File("ok.db");
  Exec(db, "CREATE TABLE t (a INTEGER);");
  dir.Write("text.db", "this is not a database, just some text that is long enough to have a header....\n");
  struct TCase {
    std::string Database, Table, Query, Expected;
  } cases[] = {
      {dir.File("missing.db"), "t", "",
       "cannot open database \"" + dir.File("missing.db") + "\": the file does not exist"},
      {dir.Path(), "t", "", "cannot open database \"" + dir.Path() + "\": it is a folder"},
      {dir.File("text.db"), "t", "", "\"" + dir.File("text.db") + "\" is not an SQLite database"},
      {db, "nope", "", "cannot read table \"nope\" from \"" + db + "\": no such table: nope"},
      {db, "", "selec * from t", "query failed on \"" + db + "\": near \"selec\": syntax error"},
      {db, "", "   ", "query failed on \"" + db + "\": the query is empty"},
      {db, "", "select 1; select 2", "query failed on \"" + db + "\": only one SQL statement can be run"},
      {db, "", "begin", "query failed on \"" + db + "\": the statement returns no columns"},
      {db, "", "insert into t values (1) returning a",
       "query failed on \"" + db + "\": attempt to write a readonly database"},
  };
  for (const TCase& c : cases) {
    TMemDataSet ds;
    std::string message = DatabaseError([&] {
      if (c.Table.empty())
        LoadSqliteQuery(c.Database, c.Query, ds);
      else
        LoadSqliteTable(c.Database, c.Table, ds);
    });
    EXPECT_EQ(message, c.Expected);
    EXPECT_FALSE(ds.Active());
  }
  // The table of the failed write is unchanged.
  TMemDataSet ds;
  LoadSqliteTable(db, "t", ds);
  EXPECT_EQ(ds.RecordCount(), 0);
}

TEST(CsvLoader, FieldTypesFromValues) {
  TMemDataSet ds;
  LoadCsvText(
      "id,name,price,day,at,flag,code,empty,big\n"
      "1,张三,12.5,2024-03-05,2024-03-05 10:11,true,007,,3000000000\n"
      "2,李四,3,2024-12-31,2024-03-06,FALSE,12,,1\n"
      "3,,,,,,,,\n",
      "t.csv", ds);
  const TFieldType expected[] = {ftInteger, ftString, ftFloat,  ftDate,    ftDateTime,
                                 ftBoolean, ftString, ftString, ftLargeint};
  ASSERT_EQ(ds.FieldCount(), 9);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(ds.Fields(i)->DataType(), expected[i]) << ds.Fields(i)->FieldName;
  EXPECT_EQ(ds.FieldByName("name")->Size(), 4);  // bytes in GBK
  EXPECT_EQ(ds.FieldByName("empty")->Size(), 1);
  EXPECT_EQ(ds.RecordCount(), 3);
  EXPECT_EQ(ds.FieldByName("code")->AsString(), "007");  // leading zeros kept
  EXPECT_EQ(ds.FieldByName("at")->AsString(), "2024-03-05 10:11:00");
  ds.Last();
  EXPECT_TRUE(ds.FieldByName("name")->IsNull());
}

TEST(CsvLoader, QuotedValuesLineEndingsAndByteOrderMark) {
  TMemDataSet ds;
  LoadCsvText(
      "\xEF\xBB\xBF"
      "a,b\r\n\"x, y\",\"say \"\"hi\"\"\"\r\n\"two\r\nlines\",\"\"\r\n\r\n",
      "q.csv", ds);
  ASSERT_EQ(ds.RecordCount(), 2);
  EXPECT_EQ(ds.Fields(0)->FieldName, "a");
  EXPECT_EQ(ds.Fields(0)->AsString(), "x, y");
  EXPECT_EQ(ds.Fields(1)->AsString(), "say \"hi\"");
  ds.Next();
  EXPECT_EQ(ds.Fields(0)->AsString(), "two\r\nlines");
  EXPECT_FALSE(ds.Fields(1)->IsNull());  // a quoted empty value is an empty text
}

TEST(CsvLoader, BadInputNamesTheLine) {
  struct TCase {
    std::string Text, Expected;
  } cases[] = {
      {"a,b,c\n1,2,3\n\"multi\nline\",2,3\n4,5\n", "bad.csv, line 5: 2 values, but the header names 3 columns"},
      {"a,b\n1,2,3\n", "bad.csv, line 2: 3 values, but the header names 2 columns"},
      {"a,b\n1,\"open\n", "bad.csv, line 2: a quoted value is not closed"},
      {"a,b\n1,\xC3\x28\n", "bad.csv, line 2: the text is not valid UTF-8"},
      {"", "bad.csv: the file is empty (a header row naming the columns is needed)"},
      {"\n\n", "bad.csv: the file is empty (a header row naming the columns is needed)"},
      {"name,x,NAME\n", "bad.csv, line 1: the header names the column \"NAME\" twice"},
      // Inside a value that spans lines or after a closing quote: the line of the character.
      {"a,b\n\"x\n\ny\xFF\",1\n", "bad.csv, line 4: the text is not valid UTF-8"},
      {"a,b\n\"x\"\xC3\x28,1\n", "bad.csv, line 2: the text is not valid UTF-8"},
      {"a,b\n\"x\"\"\n\xE4\xB8,1\n", "bad.csv, line 3: the text is not valid UTF-8"},
      {"a,b\n1,2\r\r\"x,1\n", "bad.csv, line 4: a quoted value is not closed"},
      {"a,b\n1,2\r\r\"x\"y\"\"\nz", "bad.csv, line 4: 1 value, but the header names 2 columns"},
  };
  for (const TCase& c : cases) {
    TMemDataSet ds;
    ds.FieldDefs().Add("kept", ftInteger);
    ds.CreateDataSet();
    EXPECT_EQ(DatabaseError([&] { LoadCsvText(c.Text, "bad.csv", ds); }), c.Expected);
    EXPECT_EQ(ds.Fields(0)->FieldName, "kept");  // the dataset is not touched
  }
  TScratchDir dir;
  TMemDataSet ds;
  EXPECT_EQ(DatabaseError([&] { LoadCsvFile(dir.File("none.csv"), ds); }),
            "cannot read \"" + dir.File("none.csv") + "\": the file does not exist");
}

// The loader converts values itself; what it stores must be exactly what the
// field of the chosen type stores for the same text (SetAsString).  Each case
// is one column; the texts probe the ends of the ranges and forms.
TEST(CsvLoader, StoresWhatTheFieldsOwnConversionStores) {
  struct TColumnCase {
    TFieldType Type;
    std::vector<std::string> Texts;
  } cases[] = {
      {ftLargeint, {"0", "-0", "9223372036854775807", "-9223372036854775808", "-2147483649"}},
      {ftInteger, {"2147483647", "-2147483648", "7"}},
      {ftFloat, {"9223372036854775808", "1"}},  // beyond 64 bits: a number
      {ftFloat, {"1.5E3", "-0.5", "0.1", "1e-400", "2.5e-320", "123456789012345678901234567890", "1E+2"}},
      {ftString, {"1e999", "2"}},  // not finite: text
      {ftString, {"007", "12"}},   // leading zeros stay text
      {ftDate,
       {"2024-02-29", "1900-01-01", "9999-12-31", "0001-01-01", "1899-12-30", "1899-12-29", "1900-02-28", "1900-03-01",
        "2000-02-29", "2100-02-28", "2100-03-01", "1970-01-01", "2023-12-31"}},
      {ftString, {"2100-02-29"}},
      {ftString, {"0000-01-01"}},
      {ftString, {"2024-13-01"}},
      {ftString, {"2024-04-31"}},
      {ftString, {"2023-02-29"}},  // no such day
      {ftDateTime,
       {"2024-03-05T10:11", "2024-03-05 23:59:59.9996", "2024-03-05 10:11:05.5", "2024-03-05", "2024-03-05 00:00:00"}},
      {ftString, {"2024-03-05 24:00"}},
      {ftBoolean, {"TRUE", "false", "True"}},
      {ftString, {"true", "yes"}},
      {ftString, {"长文本（全角括号）", "a\"b", "x, y"}},
  };
  for (const TColumnCase& c : cases) {
    std::string csv = "v\n";
    for (const std::string& t : c.Texts) {
      std::string quoted = "\"";
      for (char ch : t) quoted += ch == '"' ? std::string("\"\"") : std::string(1, ch);
      csv += quoted + "\"\n";
    }
    TMemDataSet loaded;
    LoadCsvText(csv, "c.csv", loaded);
    ASSERT_EQ(loaded.Fields(0)->DataType(), c.Type)
        << c.Texts[0] << ": " << FieldTypeName(loaded.Fields(0)->DataType());
    TMemDataSet reference;
    reference.FieldDefs().Add("v", c.Type, loaded.Fields(0)->Size());
    reference.CreateDataSet();
    loaded.First();
    for (const std::string& t : c.Texts) {
      reference.Append();
      reference.Fields(0)->SetAsString(t);
      reference.Post();
      EXPECT_EQ(loaded.Fields(0)->Data(), reference.Fields(0)->Data()) << t;
      EXPECT_EQ(loaded.Fields(0)->AsString(), reference.Fields(0)->AsString()) << t;
      loaded.Next();
    }
  }
}

// Quoting: a quote opens a quoted value only at its start; doubled quotes
// inside stand for one; text after the closing quote is kept as written;
// line breaks inside quotes are kept; rows end at LF, CR LF or CR.
TEST(CsvLoader, QuotesInsideAndAfterValues) {
  TMemDataSet ds;
  LoadCsvText(
      "a,b,c\r"
      "\"ab\"cd,\"\"\"x\",ab\"c\r"
      "\"x\"\"\",\"\"\"\",\"two\nlines\"tail\"\n"
      "\"\",,\"\"\"\"\"\"\r\n"
      "1,2,",
      "q.csv", ds);
  const char* expected[4][3] = {
      {"ab"
       "cd",
       "\"x", "ab\"c"},
      {"x\"", "\"", "two\nlinestail\""},
      {"", nullptr, "\"\""},
      {"1", "2", nullptr},
  };
  ASSERT_EQ(ds.RecordCount(), 4);
  ds.First();
  for (const auto& row : expected) {
    for (int c = 0; c < 3; ++c) {
      EXPECT_EQ(ds.Fields(c)->IsNull(), row[c] == nullptr) << ds.RecNo() << "/" << c;
      if (row[c]) {
        EXPECT_EQ(ds.Fields(c)->AsString(), row[c]) << ds.RecNo() << "/" << c;
      }
    }
    ds.Next();
  }
}

TEST(CsvLoader, HeaderOnlyGivesAnEmptyDataSet) {
  TMemDataSet ds;
  LoadCsvText("a,,c\n", "h.csv", ds);
  ASSERT_EQ(ds.FieldCount(), 3);
  EXPECT_EQ(ds.Fields(1)->FieldName, "Column2");
  EXPECT_EQ(ds.RecordCount(), 0);
  EXPECT_TRUE(ds.Eof());
}

}  // namespace
}  // namespace kv
