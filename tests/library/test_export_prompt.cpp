// The export target prompt, the extension fix-up and the overwrite question.
#include <gtest/gtest.h>

#include "library/ExportPrompt.h"
#include "platform/Forms.h"
#include "platform/ScriptedUI.h"
#include "support/ViewFixture.h"

namespace kv {
namespace {

using testing::TCurrentDirGuard;
using testing::TScratchDir;

TEST(ExportExtension, AppendsUnlessTheExtensionMatchesIgnoringCase) {
  const struct {
    const char* Chosen;
    const char* Result;
  } cases[] = {
      {"/d/report", "/d/report.dbf"},           {"/d/report.DBF", "/d/report.DBF"},
      {"/d/report.Dbf", "/d/report.Dbf"},       {"/d/report.txt", "/d/report.txt.dbf"},
      {"/d/a.b/report", "/d/a.b/report.dbf"},   {"/d/report.", "/d/report..dbf"},
      {"/d/report.dbfx", "/d/report.dbfx.dbf"},
  };
  for (const auto& c : cases) EXPECT_EQ(ApplyExportExtension(c.Chosen, ".dbf"), c.Result) << c.Chosen;
  EXPECT_EQ(ApplyExportExtension("/d/book.XLS", ".xls"), "/d/book.XLS");
}

TEST(PromptExportFile, ProposesUntitleAndReturnsTheFullPath) {
  TCurrentDirGuard cwd;
  TScratchDir dir;
  std::filesystem::create_directory(dir.File("out"));
  TScriptedUIService ui;
  TUIServiceScope scope(ui);
  int owned = Application->ComponentCount();

  ui.QueueSave(dir.File("out/first.dbf"));
  std::string name = "before";
  ASSERT_TRUE(PromptExportFile("DBF文件(*.dbf)|*.dbf", name));
  EXPECT_EQ(name, dir.File("out/first.dbf"));
  EXPECT_EQ(GetCurrentDir(), dir.File("out"));  // the chosen file's folder

  // The next prompt proposes "untitle" again, not the earlier choice.
  ui.QueueSaveCancel();
  EXPECT_FALSE(PromptExportFile("DBF文件(*.dbf)|*.dbf", name));
  EXPECT_EQ(name, dir.File("out/first.dbf"));  // unchanged by a cancelled prompt
  EXPECT_EQ(GetCurrentDir(), dir.File("out"));
  ASSERT_EQ(ui.Questions().size(), 2u);
  for (const TUIQuestion& q : ui.Questions()) {
    EXPECT_EQ(q.Kind, TUIQuestionKind::SaveDialog);
    EXPECT_EQ(q.Text, "untitle");
    EXPECT_EQ(q.Filter, "DBF文件(*.dbf)|*.dbf");
    EXPECT_EQ(q.Caption, "");  // no title of its own
  }
  // No dialog is left behind with the application, also after an error.
  EXPECT_EQ(Application->ComponentCount(), owned);
  EXPECT_THROW(PromptExportFile("X|*.x", name), EUIScriptError);
  EXPECT_EQ(Application->ComponentCount(), owned);
}

TEST(OverwriteQuestion, ExactTextCaptionAndFlags) {
  EXPECT_EQ(OverwriteQuestion("/d/a.dbf"), "  文件: /d/a.dbf 已经存在,\r是否替换原有文件? ");
  TScratchDir dir;
  TScriptedUIService ui;
  TUIServiceScope scope(ui);
  // A file that does not exist needs no question.
  EXPECT_TRUE(ConfirmExportOverwrite(dir.File("new.dbf")));
  EXPECT_TRUE(ui.Questions().empty());

  dir.Write("old.dbf", "x");
  ui.QueueAnswer(IDNO);
  ui.QueueAnswer(IDYES);
  EXPECT_FALSE(ConfirmExportOverwrite(dir.File("old.dbf")));
  EXPECT_TRUE(ConfirmExportOverwrite(dir.File("old.dbf")));
  ASSERT_EQ(ui.Questions().size(), 2u);
  const TUIQuestion& q = ui.Questions()[0];
  EXPECT_EQ(q.Kind, TUIQuestionKind::MessageBox);
  EXPECT_EQ(q.Caption, "提示信息");
  EXPECT_EQ(q.Flags, 36);
  EXPECT_EQ(q.Text, "  文件: " + dir.File("old.dbf") + " 已经存在,\r是否替换原有文件? ");
  EXPECT_TRUE(FileExists(dir.File("old.dbf")));  // asking deletes nothing
}

}  // namespace
}  // namespace kv
