// The grid-to-DBF export: the field mapping with widths that hold their
// values, the row walk, the date and Boolean texts, hidden and unbound
// columns, and the dataset given back as it was found, also after an error.
#include <gtest/gtest.h>

#include "dbf/ViewToDbf.h"
#include "platform/CodePage.h"
#include "platform/Forms.h"
#include "platform/Streams.h"
#include "support/ViewFixture.h"

namespace kv {
namespace {

using testing::TScratchDir;
using testing::TViewForm;

uint32_t Le(const std::string& AData, size_t AOffset, int ABytes) {
  uint32_t v = 0;
  for (int i = ABytes - 1; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(AData.at(AOffset + static_cast<size_t>(i)));
  return v;
}

// A table file taken apart: descriptors and records (field bytes, undecoded).
struct TDbf {
  struct TDesc {
    std::string Name;
    char Type;
    int Length;
  };
  uint8_t Version = 0;
  uint32_t Count = 0;
  uint32_t HeaderLength = 0, RecordLength = 0;
  std::vector<TDesc> Fields;
  std::vector<std::vector<std::string>> Records;
  std::vector<char> Flags;

  explicit TDbf(const std::string& APath) {
    std::string d = ReadFileBytes(APath);
    Version = static_cast<uint8_t>(d[0]);
    Count = Le(d, 4, 4);
    HeaderLength = Le(d, 8, 2);
    RecordLength = Le(d, 10, 2);
    for (size_t off = 32; off + 32 <= HeaderLength - 1; off += 32) {
      std::string name = d.substr(off, 11);
      name = name.substr(0, name.find('\0'));
      Fields.push_back({name, d[off + 11], static_cast<uint8_t>(d[off + 16])});
    }
    EXPECT_EQ(d.size(), HeaderLength + static_cast<size_t>(Count) * RecordLength + 1);
    EXPECT_EQ(d.back(), '\x1A');
    for (uint32_t r = 0; r < Count; ++r) {
      size_t pos = HeaderLength + static_cast<size_t>(r) * RecordLength;
      Flags.push_back(d[pos++]);
      std::vector<std::string> values;
      for (const TDesc& f : Fields) {
        values.push_back(d.substr(pos, static_cast<size_t>(f.Length)));
        pos += static_cast<size_t>(f.Length);
      }
      Records.push_back(values);
    }
  }
};

std::string RightTrimmed(const std::string& AText) { return AText.substr(0, AText.find_last_not_of(' ') + 1); }

struct TMapCase {
  TFieldType Type;
  int Size;
  char DbfType;
  int Length;
};

TEST(FieldToDBFField, WidthsHoldTheTextsOfEachType) {
  const TMapCase cases[] = {
      {ftString, 20, 'C', 21},       {ftString, 253, 'C', 254},    {ftString, 254, 'M', 10},
      {ftString, 255, 'M', 10},      {ftFixedChar, 5, 'C', 6},     {ftWideString, 10, 'C', 20},
      {ftWideString, 127, 'C', 254}, {ftWideString, 128, 'M', 10}, {ftSmallint, 0, 'C', 11},
      {ftInteger, 0, 'C', 11},       {ftWord, 0, 'C', 11},         {ftAutoInc, 0, 'C', 11},
      {ftLargeint, 0, 'C', 20},      {ftBoolean, 0, 'L', 1},       {ftFloat, 0, 'C', 20},
      {ftCurrency, 0, 'C', 20},      {ftBCD, 4, 'C', 20},          {ftFMTBcd, 8, 'C', 20},
      {ftDate, 0, 'C', 12},          {ftDateTime, 0, 'C', 19},     {ftTimeStamp, 0, 'C', 19},
      {ftTime, 0, 'T', 8},           {ftMemo, 0, 'M', 10},         {ftFmtMemo, 0, 'M', 10},
      {ftGuid, 0, 'C', 38},          {ftBlob, 0, 'C', 10},         {ftGraphic, 0, 'C', 10},
      {ftBytes, 16, 'C', 10},        {ftVarBytes, 16, 'C', 10},
  };
  for (const TMapCase& c : cases) {
    std::unique_ptr<TField> field = CreateFieldOfType(c.Type, c.Size);
    field->FieldName = "Src";
    TDBFFieldStruct s = FieldToDBFField(field.get());
    SCOPED_TRACE(std::string(FieldTypeName(c.Type)) + " " + std::to_string(c.Size));
    EXPECT_EQ(s.FieldName, "Src");
    EXPECT_EQ(s.FieldType, c.DbfType);
    EXPECT_EQ(s.FieldLength, c.Length);
    EXPECT_EQ(s.FieldDecimals, 0);
  }
  TDBFFieldStruct unbound = FieldToDBFField(nullptr);
  EXPECT_EQ(unbound.FieldType, 'C');
  EXPECT_EQ(unbound.FieldLength, 10);
}

class ViewToDbf : public ::testing::Test {
 protected:
  std::string Target() const { return dir.File("out.dbf"); }
  TScratchDir dir;
  TViewForm form;
};

TEST_F(ViewToDbf, EveryValueKeepsItsTextInItsField) {
  form.Define({{"S", ftString, 20},
               {"W", ftWideString, 10},
               {"I", ftInteger},
               {"L", ftLargeint},
               {"F", ftFloat},
               {"C", ftCurrency},
               {"D", ftDate},
               {"T", ftDateTime},
               {"B", ftBoolean},
               {"G", ftGuid},
               {"M", ftMemo},
               {"LONG", ftString, 300}});
  std::string longText(280, 'x');
  form.AddRow({"twenty characters ab", "十个汉字十个汉字十个", "-2147483648", "-9223372036854775807",
               "-1.2345678901234E-15", "-12345678.9012", "2024-03-05", "2024-12-31 23:59:59", "true",
               "{6F9619FF-8B86-D011-B42D-00C04FC964FF}", "备注第一行\r\n第二行", longText});
  form.AddRow({"", "", "", "", "", "", "", "", "false", "", "", ""});
  form.AddRow({});
  form.BindAllFields();
  ExportViewToDBF(Target(), form.View);

  TDbf t(Target());
  EXPECT_EQ(t.Version, 0x83);  // memo fields
  ASSERT_EQ(t.Fields.size(), 12u);
  for (size_t i = 0; i < t.Fields.size(); ++i) EXPECT_EQ(t.Fields[i].Name, "F" + std::to_string(i));
  ASSERT_EQ(t.Count, 3u);
  const std::vector<std::string>& r = t.Records[0];
  EXPECT_EQ(r[0], "twenty characters ab ");
  EXPECT_EQ(DecodeText(r[1], 936), "十个汉字十个汉字十个");
  EXPECT_EQ(r[2], "-2147483648");
  EXPECT_EQ(r[3], "-9223372036854775807");
  EXPECT_EQ(r[4], "-1.2345678901234E-15");
  EXPECT_EQ(r[5], "-12345678.9012      ");
  EXPECT_EQ(r[6], "20240305    ");
  EXPECT_EQ(r[7], "2024-12-31 23:59:59");
  EXPECT_EQ(r[8], "T");
  EXPECT_EQ(r[9], "{6F9619FF-8B86-D011-B42D-00C04FC964FF}");
  EXPECT_EQ(r[10], "         1");  // memo block numbers, right-aligned
  EXPECT_EQ(t.Records[1][8], "F");
  EXPECT_EQ(t.Records[2][8], " ");  // a null Boolean stays blank
  for (size_t i = 0; i < 8; ++i) EXPECT_EQ(RightTrimmed(t.Records[1][i]), "") << i;

  // The memo texts are in the memo file at the blocks the records name.
  std::string memo = ReadFileBytes(dir.File("out.dbt"));
  size_t block = std::stoul(r[10]);
  EXPECT_EQ(memo.substr(block * 512, ToSystemBytes("备注第一行\r\n第二行").size() + 2),
            ToSystemBytes("备注第一行\r\n第二行") + "\x1A\x1A");
  size_t longBlock = std::stoul(r[11]);
  EXPECT_EQ(memo.substr(longBlock * 512, 282), longText + "\x1A\x1A");
}

TEST_F(ViewToDbf, IntegerFloatAndDateTimeTextsFitTheirWidths) {
  form.Define({{"I", ftInteger}, {"F", ftFloat}, {"T", ftDateTime}});
  form.AddRow({"-2147483648", "-0.00123456789012345", "2024-03-05 09:08:07"});
  form.BindAllFields();
  ExportViewToDBF(Target(), form.View);
  TDbf t(Target());
  EXPECT_EQ(t.Records[0][0], "-2147483648");
  EXPECT_EQ(t.Records[0][1], "-0.00123456789012345");
  EXPECT_EQ(t.Records[0][2], "2024-03-05 09:08:07");
}

TEST_F(ViewToDbf, HiddenColumnsAreSkippedAndOrderIsTheColumnIndex) {
  form.Define({{"A", ftString, 5}, {"B", ftString, 5}, {"C", ftInteger}});
  form.AddRow({"a1", "b1", "1"});
  form.AddRow({"a2", "b2", "2"});
  form.BindAllFields();
  form.View->Columns(1)->SetVisible(false);
  form.View->Columns(2)->SetIndex(0);  // C, A, (B hidden)
  ExportViewToDBF(Target(), form.View);
  TDbf t(Target());
  ASSERT_EQ(t.Fields.size(), 2u);
  EXPECT_EQ(t.Fields[0].Name, "F0");
  EXPECT_EQ(t.Fields[0].Length, 11);
  EXPECT_EQ(t.Fields[1].Name, "F1");
  EXPECT_EQ(t.Fields[1].Length, 6);
  ASSERT_EQ(t.Count, 2u);
  EXPECT_EQ(t.Records[1][0], "2          ");
  EXPECT_EQ(t.Records[1][1], "a2    ");
  EXPECT_EQ(t.Flags[0], ' ');
}

TEST_F(ViewToDbf, ColumnsOutsideTheShownBandsAreSkipped) {
  form.Define({{"A", ftString, 5}, {"B", ftString, 5}, {"C", ftInteger}, {"D", ftInteger}});
  form.AddRow({"a1", "b1", "1", "4"});
  form.BindAllFields();
  TcxGridBand* hidden = form.View->Bands()->Add();
  hidden->SetVisible(false);
  form.View->Columns(1)->Position().SetBand(hidden);   // B: in a hidden band
  form.View->Columns(3)->Position().SetBand(nullptr);  // D: in no band
  form.View->Columns(2)->Position().SetColIndex(0);    // shown first, still written in index order
  ExportViewToDBF(Target(), form.View);
  TDbf t(Target());
  ASSERT_EQ(t.Fields.size(), 2u);
  ASSERT_EQ(t.Count, 1u);
  EXPECT_EQ(t.Records[0][0], "a1    ");
  EXPECT_EQ(t.Records[0][1], "1          ");
}

TEST_F(ViewToDbf, UnboundColumnGetsABlankCharacterField) {
  form.Define({{"A", ftString, 3}});
  form.AddRow({"abc"});
  form.BindAllFields();
  form.AddColumn();        // names no field
  form.AddColumn("GONE");  // names a missing field
  ExportViewToDBF(Target(), form.View);
  TDbf t(Target());
  ASSERT_EQ(t.Fields.size(), 3u);
  EXPECT_EQ(t.Fields[1].Type, 'C');
  EXPECT_EQ(t.Fields[1].Length, 10);
  EXPECT_EQ(t.Records[0][0], "abc ");
  EXPECT_EQ(t.Records[0][1], std::string(10, ' '));
  EXPECT_EQ(t.Records[0][2], std::string(10, ' '));
}

TEST_F(ViewToDbf, NoVisibleColumnsStillGivesOneRecordPerRow) {
  form.Define({{"A", ftInteger}});
  for (int i = 0; i < 3; ++i) form.AddRow({std::to_string(i)});
  form.BindAllFields();
  form.View->Columns(0)->SetVisible(false);
  ExportViewToDBF(Target(), form.View);
  std::string bytes = ReadFileBytes(Target());
  EXPECT_EQ(Le(bytes, 8, 2), 33u);
  EXPECT_EQ(Le(bytes, 10, 2), 1u);
  EXPECT_EQ(Le(bytes, 4, 4), 3u);
  EXPECT_EQ(bytes.substr(33), "   \x1A");
}

TEST_F(ViewToDbf, EmptyDataSetGivesAnEmptyTable) {
  form.Define({{"A", ftInteger}, {"M", ftMemo}});
  form.BindAllFields();
  ExportViewToDBF(Target(), form.View);
  TDbf t(Target());
  EXPECT_EQ(t.Count, 0u);
  EXPECT_EQ(ReadFileBytes(dir.File("out.dbt")).size(), 512u);
}

TEST_F(ViewToDbf, CurrentRecordAndControlsAreGivenBack) {
  form.Define({{"A", ftInteger}});
  for (int i = 1; i <= 4; ++i) form.AddRow({std::to_string(i)});
  form.BindAllFields();
  form.DataSet->SetRecNo(3);
  uint64_t scrolls = form.View->DataController()->ScrollCount();
  int calls = 0;
  Application->OnProcessMessages = [&] {
    ++calls;
    EXPECT_TRUE(form.DataSet->ControlsDisabled());
  };
  ExportViewToDBF(Target(), form.View);
  Application->OnProcessMessages = nullptr;
  EXPECT_EQ(calls, 4);  // once per row
  EXPECT_EQ(form.DataSet->RecNo(), 3);
  EXPECT_FALSE(form.DataSet->ControlsDisabled());
  // The grid did not follow the cursor row by row: only the return to the
  // bookmarked record reached it.
  EXPECT_LE(form.View->DataController()->ScrollCount(), scrolls + 1);
}

TEST_F(ViewToDbf, AnErrorGivesTheDataSetBackAndKeepsTheRowsWritten) {
  form.Define({{"A", ftInteger}});
  for (int i = 1; i <= 5; ++i) form.AddRow({std::to_string(i)});
  form.BindAllFields();
  form.DataSet->SetRecNo(4);
  int calls = 0;
  Application->OnProcessMessages = [&] {
    if (++calls == 2) throw EAbort("stopped by the host");
  };
  EXPECT_THROW(ExportViewToDBF(Target(), form.View), EAbort);
  Application->OnProcessMessages = nullptr;
  EXPECT_EQ(form.DataSet->RecNo(), 4);
  EXPECT_FALSE(form.DataSet->ControlsDisabled());
  // The table's files are closed (the component is gone) and hold two rows.
  TFileStream reopen(Target(), fmOpenReadWrite | fmShareExclusive);
  TDbf t(Target());
  EXPECT_EQ(t.Count, 2u);
  EXPECT_EQ(t.Records[1][0], "2          ");
}

TEST_F(ViewToDbf, ATableErrorEndsTheExport) {
  form.Define({{"A", ftInteger}});
  form.AddRow({"1"});
  form.BindAllFields();
  EXPECT_THROW(ExportViewToDBF(dir.File("missing/out.dbf"), form.View), EFCreateError);
  EXPECT_EQ(form.DataSet->RecNo(), 1);
  EXPECT_FALSE(form.DataSet->ControlsDisabled());
}

}  // namespace
}  // namespace kv
