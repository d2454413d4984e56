// The exported ConvertToDBF: quiet returns, prompt, fix-up, overwrite
// question, deletion of the old table, and the export itself.
#include <gtest/gtest.h>

#include "dbf/XBase.h"
#include "library/Exports.h"
#include "platform/CodePage.h"
#include "platform/Forms.h"
#include "platform/ScriptedUI.h"
#include "platform/Streams.h"
#include "support/ViewFixture.h"

namespace kv {
namespace {

using testing::TCurrentDirGuard;
using testing::TScratchDir;
using testing::TViewForm;

class ConvertToDBFTest : public ::testing::Test {
 protected:
  ConvertToDBFTest() : scope(ui) {
    form.Define({{"NAME", ftString, 10}, {"QTY", ftInteger}});
    form.AddRow({"张三", "3"});
    form.AddRow({"李四", "12"});
    form.BindAllFields();
  }
  void Convert() {
    TcxGridDBBandedTableView* view = form.View;
    ConvertToDBF(&view);
    EXPECT_EQ(view, form.View);  // the variable is read, not written
  }
  TCurrentDirGuard cwd;
  TScratchDir dir;
  TViewForm form;
  TScriptedUIService ui;
  TUIServiceScope scope;
};

TEST_F(ConvertToDBFTest, WritesTheTableAtTheFixedUpName) {
  ui.QueueSave(dir.File("report"));
  Convert();
  ASSERT_TRUE(FileExists(dir.File("report.dbf")));
  EXPECT_EQ(GetCurrentDir(), dir.Path());
  std::string bytes = ReadFileBytes(dir.File("report.dbf"));
  EXPECT_EQ(static_cast<uint8_t>(bytes[4]), 2);  // two records
  EXPECT_NE(bytes.find(ToSystemBytes("张三")), std::string::npos);
  ASSERT_EQ(ui.Questions().size(), 1u);  // no overwrite question for a new file
  EXPECT_EQ(ui.Questions()[0].Filter, "DBF文件(*.dbf)|*.dbf");
}

TEST_F(ConvertToDBFTest, ClosedOrMissingDataShowsNothing) {
  form.DataSet->Close();
  Convert();
  form.DataSet->Open();
  form.Source->SetDataSet(nullptr);
  Convert();
  form.View->DataController()->SetDataSource(nullptr);
  Convert();
  ConvertToDBF(nullptr);
  TcxGridDBBandedTableView* none = nullptr;
  ConvertToDBF(&none);
  EXPECT_TRUE(ui.Questions().empty());
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST_F(ConvertToDBFTest, CancelledPromptWritesNothing) {
  ui.QueueSaveCancel();
  Convert();
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
  EXPECT_EQ(GetCurrentDir(), cwd.Dir());
}

TEST_F(ConvertToDBFTest, NoLeavesTheExistingFileUntouched) {
  dir.Write("report.DBF", "old bytes");
  ui.QueueSave(dir.File("report.DBF"));
  ui.QueueAnswer(IDNO);
  Convert();
  EXPECT_EQ(ReadFileBytes(dir.File("report.DBF")), "old bytes");
  ASSERT_EQ(ui.Questions().size(), 2u);
  EXPECT_EQ(ui.Questions()[1].Text, "  文件: " + dir.File("report.DBF") + " 已经存在,\r是否替换原有文件? ");
}

TEST_F(ConvertToDBFTest, YesDeletesTheOldTableFirstAndLeavesItsMemoFile) {
  // A second name for the old file's data shows whether the old file was
  // deleted (its data stays) or rewritten in place (its data changes).
  dir.Write("report.dbf", std::string(5000, 'x'));
  std::filesystem::create_hard_link(dir.File("report.dbf"), dir.File("second-name"));
  dir.Write("report.dbt", "old memo");
  ui.QueueSave(dir.File("report.dbf"));
  ui.QueueAnswer(IDYES);
  Convert();
  std::string bytes = ReadFileBytes(dir.File("report.dbf"));
  EXPECT_EQ(bytes[0], '\x03');
  EXPECT_EQ(bytes.size(), 32u * 2 + 34 + 2 * (1 + 11 + 11));  // header, 2 fields, 2 records
  EXPECT_EQ(ReadFileBytes(dir.File("report.dbt")), "old memo");
  EXPECT_EQ(ReadFileBytes(dir.File("second-name")), std::string(5000, 'x'));
}

TEST_F(ConvertToDBFTest, ErrorsReachTheCaller) {
  ui.QueueSave(dir.File("no/such/folder/report.dbf"));
  EXPECT_THROW(Convert(), EFCreateError);
  EXPECT_FALSE(FileExists(dir.File("no/such/folder/report.dbf")));
}

}  // namespace
}  // namespace kv
