// The exported ConvertToExcel: prompt and filter, extension fix-up, the
// overwrite question (Yes replaces the file, No keeps it), and the workbook
// written for the grid's view.
#include <gtest/gtest.h>

#include "library/Exports.h"
#include "platform/Forms.h"
#include "platform/ScriptedUI.h"
#include "platform/Streams.h"
#include "support/ViewFixture.h"

namespace kv {
namespace {

using testing::TCurrentDirGuard;
using testing::TScratchDir;
using testing::TViewForm;

const std::string CompoundSignature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);

class ConvertToExcelTest : public ::testing::Test {
 protected:
  ConvertToExcelTest() : scope(ui) {
    form.Define({{"NAME", ftString, 10}, {"QTY", ftInteger}});
    form.AddRow({"张三", "3"});
    form.AddRow({"李四", "12"});
    form.BindAllFields();
  }
  bool IsWorkbook(const std::string& AFile) { return ReadFileBytes(AFile).substr(0, 8) == CompoundSignature; }
  TCurrentDirGuard cwd;
  TScratchDir dir;
  TViewForm form;
  TScriptedUIService ui;
  TUIServiceScope scope;
};

TEST_F(ConvertToExcelTest, FixesTheExtensionAndWritesTheChosenFile) {
  const struct {
    const char* Chosen;
    const char* Written;
  } cases[] = {{"book", "book.xls"}, {"book.XLS", "book.XLS"}, {"book.txt", "book.txt.xls"}};
  for (const auto& c : cases) {
    ui.QueueSave(dir.File(c.Chosen));
    ConvertToExcel(form.Grid);
    EXPECT_TRUE(IsWorkbook(dir.File(c.Written))) << c.Chosen;
  }
  // Nothing else was written: "book.XLS" did not become "book.xls".
  EXPECT_FALSE(FileExists(dir.File("book.txt")));
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) files += entry.is_regular_file();
  EXPECT_EQ(files, 3);
  ASSERT_EQ(ui.Questions().size(), 3u);  // three prompts, no overwrite question
  for (const TUIQuestion& q : ui.Questions()) {
    EXPECT_EQ(q.Kind, TUIQuestionKind::SaveDialog);
    EXPECT_EQ(q.Filter, "文本文件(*.xls)|*.xls");
    EXPECT_EQ(q.Text, "untitle");
  }
  EXPECT_EQ(GetCurrentDir(), dir.Path());
}

TEST_F(ConvertToExcelTest, YesReplacesTheFileAndNoKeepsIt) {
  dir.Write("book.xls", "old workbook");
  ui.QueueSave(dir.File("book"));
  ui.QueueAnswer(IDNO);
  ConvertToExcel(form.Grid);
  EXPECT_EQ(ReadFileBytes(dir.File("book.xls")), "old workbook");
  ASSERT_EQ(ui.Questions().size(), 2u);
  EXPECT_EQ(ui.Questions()[1].Text, "  文件: " + dir.File("book.xls") + " 已经存在,\r是否替换原有文件? ");
  EXPECT_EQ(ui.Questions()[1].Flags, 36);

  ui.QueueSave(dir.File("book"));
  ui.QueueAnswer(IDYES);
  ConvertToExcel(form.Grid);
  EXPECT_TRUE(IsWorkbook(dir.File("book.xls")));
}

TEST_F(ConvertToExcelTest, CancelWritesNothingAndErrorsReachTheCaller) {
  ui.QueueSaveCancel();
  ConvertToExcel(form.Grid);
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
  EXPECT_EQ(GetCurrentDir(), cwd.Dir());

  // No precondition: the prompt comes first even without a grid, which
  // then writes nothing.
  ui.QueueSave(dir.File("none"));
  ConvertToExcel(nullptr);
  EXPECT_EQ(ui.Questions().size(), 2u);
  EXPECT_FALSE(FileExists(dir.File("none.xls")));

  // A level without a view: the engine's error reaches the host.
  form.Grid->Levels()->Items(0)->SetGridView(nullptr);
  ui.QueueSave(dir.File("noview"));
  try {
    ConvertToExcel(form.Grid);
    ADD_FAILURE() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "表格视图不存在");
  }
  EXPECT_FALSE(FileExists(dir.File("noview.xls")));
}

}  // namespace
}  // namespace kv
