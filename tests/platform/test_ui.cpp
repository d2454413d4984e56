// The UI service implementations, the save dialog and the application
// object's message box, hook and error text.
#include <gtest/gtest.h>

#include <cstdio>

#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/ScriptedUI.h"
#include "platform/TerminalUI.h"
#include "support/ViewFixture.h"

namespace kv {
namespace {

using testing::TCurrentDirGuard;
using testing::TScratchDir;

TEST(ScriptedUI, AnswersInOrderAndRecordsEveryQuestion) {
  TScriptedUIService ui;
  ui.QueueSave("/tmp/a.dbf");
  ui.QueueSaveCancel();
  ui.QueueAnswer(IDNO);
  ui.QueueAnswer(IDYES);
  std::string name = "unchanged";
  EXPECT_TRUE(ui.SaveDialog({"DBF文件(*.dbf)|*.dbf", "untitle", "", ""}, name));
  EXPECT_EQ(name, "/tmp/a.dbf");
  EXPECT_FALSE(ui.SaveDialog({"X|*.x", "other", "", ""}, name));
  EXPECT_EQ(name, "/tmp/a.dbf");
  EXPECT_EQ(ui.MessageBox("q1", "c", MB_YESNO), IDNO);
  EXPECT_EQ(ui.MessageBox("q2", "c", MB_YESNO), IDYES);
  ui.ShowMessage("note");
  ASSERT_EQ(ui.Questions().size(), 5u);
  EXPECT_EQ(ui.Questions()[0].Filter, "DBF文件(*.dbf)|*.dbf");
  EXPECT_EQ(ui.Questions()[0].Text, "untitle");
  EXPECT_EQ(ui.Questions()[0].Answer, IDOK);
  EXPECT_EQ(ui.Questions()[1].Answer, IDCANCEL);
  EXPECT_EQ(ui.Questions()[2].Text, "q1");
  EXPECT_EQ(ui.Questions()[3].Answer, IDYES);
  EXPECT_EQ(ui.Questions()[4].Kind, TUIQuestionKind::ShowMessage);
  EXPECT_THROW(ui.MessageBox("unexpected", "c", MB_YESNO), EUIScriptError);
  EXPECT_THROW(ui.SaveDialog({}, name), EUIScriptError);
}

TEST(ScriptedUI, UnansweredQuestionsGoToTheFallback) {
  TScriptedUIService fallback;
  fallback.QueueAnswer(IDCANCEL);
  TScriptedUIService ui(&fallback);
  ui.QueueAnswer(IDOK);
  EXPECT_EQ(ui.MessageBox("first", "", MB_OKCANCEL), IDOK);
  EXPECT_EQ(ui.MessageBox("second", "", MB_OKCANCEL), IDCANCEL);
  ASSERT_EQ(fallback.Questions().size(), 1u);
  EXPECT_EQ(fallback.Questions()[0].Text, "second");
  EXPECT_EQ(ui.Questions().size(), 2u);
}

// A terminal service reading AInput and writing into a buffer.
struct TTerminalRun {
  explicit TTerminalRun(const std::string& AInput, bool AInteractive = true) : Input(AInput) {
    In = AInteractive ? fmemopen(Input.data(), Input.size(), "r") : nullptr;
    Out = open_memstream(&Buffer, &Size);
    Service = std::make_unique<TTerminalUIService>(In, Out);
  }
  ~TTerminalRun() {
    Service.reset();
    if (In) std::fclose(In);
    std::fclose(Out);
    std::free(Buffer);
  }
  std::string Written() {
    std::fflush(Out);
    return std::string(Buffer, Size);
  }
  std::string Input;
  std::FILE* In;
  std::FILE* Out;
  char* Buffer = nullptr;
  size_t Size = 0;
  std::unique_ptr<TTerminalUIService> Service;
};

TEST(TerminalUI, AsksUntilAButtonIsNamed) {
  TTerminalRun run("maybe\n  Y \n");
  EXPECT_EQ(run.Service->MessageBox("  文件: a 已经存在,\r是否替换原有文件? ", "提示信息", MB_YESNO | MB_ICONQUESTION),
            IDYES);
  std::string out = run.Written();
  EXPECT_NE(out.find("[提示信息]\n  文件: a 已经存在,\n是否替换原有文件? \n"), std::string::npos) << out;
  EXPECT_EQ(out.find('\r'), std::string::npos);
  // Asked twice: the first answer named no button.
  EXPECT_NE(out.find("(yes/no) (yes/no) "), std::string::npos) << out;
}

TEST(TerminalUI, EndOfInputAndNoTerminalGiveTheSafeAnswer) {
  const struct {
    int Flags, Expected;
  } cases[] = {{MB_YESNO, IDNO},
               {MB_YESNOCANCEL, IDCANCEL},
               {MB_OKCANCEL, IDCANCEL},
               {MB_OK, IDOK},
               {MB_ABORTRETRYIGNORE, IDABORT}};
  for (const auto& c : cases) {
    TTerminalRun eof("");
    EXPECT_EQ(eof.Service->MessageBox("q", "", c.Flags), c.Expected);
    TTerminalRun none("", false);
    EXPECT_FALSE(none.Service->Interactive());
    EXPECT_EQ(none.Service->MessageBox("q", "", c.Flags), c.Expected);
    EXPECT_NE(none.Written().find("(no terminal to answer)"), std::string::npos);
  }
  TTerminalRun none("", false);
  std::string name = "kept";
  EXPECT_FALSE(none.Service->SaveDialog({"DBF文件(*.dbf)|*.dbf", "untitle", "", ""}, name));
  EXPECT_EQ(name, "kept");
}

TEST(TerminalUI, SaveDialogTakesTheTypedOrTheProposedName) {
  TTerminalRun typed("out/report.dbf\n");
  std::string name;
  ASSERT_TRUE(typed.Service->SaveDialog({"DBF文件(*.dbf)|*.dbf", "untitle", "", ""}, name));
  EXPECT_EQ(name, "out/report.dbf");
  EXPECT_NE(typed.Written().find("Save as (DBF文件(*.dbf)) [untitle]: "), std::string::npos);
  TTerminalRun empty("\n");
  ASSERT_TRUE(empty.Service->SaveDialog({"", "untitle", "", ""}, name));
  EXPECT_EQ(name, "untitle");
}

TEST(SaveDialog, ConfirmedDialogGivesAFullPathAndMovesTheCurrentDirectory) {
  TCurrentDirGuard cwd;
  TScratchDir dir;
  std::filesystem::create_directory(dir.File("sub"));
  SetCurrentDir(dir.Path());
  TScriptedUIService ui;
  TUIServiceScope scope(ui);
  ui.QueueSave("sub/report.dbf");  // relative to the current directory
  TSaveDialog dialog;
  dialog.FileName = "untitle";
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName, dir.File("sub/report.dbf"));
  EXPECT_EQ(GetCurrentDir(), dir.File("sub"));

  // Cancelled: name and folder stay.
  ui.QueueSaveCancel();
  dialog.FileName = "proposed";
  EXPECT_FALSE(dialog.Execute());
  EXPECT_EQ(dialog.FileName, "proposed");
  EXPECT_EQ(GetCurrentDir(), dir.File("sub"));

  // ofNoChangeDir keeps the folder; DefaultExt completes a name without one.
  ui.QueueSave(dir.File("other"));
  dialog.Options = ofNoChangeDir;
  dialog.DefaultExt = "txt";
  ASSERT_TRUE(dialog.Execute());
  EXPECT_EQ(dialog.FileName, dir.File("other.txt"));
  EXPECT_EQ(GetCurrentDir(), dir.File("sub"));
}

TEST(Application, MessageBoxHookAndErrorText) {
  TScriptedUIService ui;
  TUIServiceScope scope(ui);
  ui.QueueAnswer(IDOK);
  EXPECT_EQ(Application->MessageBox("text", "", MB_OK), IDOK);
  EXPECT_EQ(ui.Questions()[0].Caption, Application->Title);

  int calls = 0;
  Application->OnProcessMessages = [&] { ++calls; };
  Application->ProcessMessages();
  Application->ProcessMessages();
  Application->OnProcessMessages = nullptr;
  Application->ProcessMessages();
  EXPECT_EQ(calls, 2);

  EXPECT_EQ(TApplication::ExceptionMessage(Exception("Data File not Open")), "Data File not Open.");
  EXPECT_EQ(TApplication::ExceptionMessage(Exception("done.")), "done.");
  EXPECT_EQ(TApplication::ExceptionMessage(Exception("读文件头错误！")), "读文件头错误！.");
  EXPECT_EQ(TApplication::ExceptionMessage(Exception("what?!")), "what?!");
  ui.QueueAnswer(IDOK);
  Application->ShowException(EDatabaseError("bad"));
  EXPECT_EQ(ui.Questions().back().Text, "bad.");
  EXPECT_EQ(ui.Questions().back().Flags, MB_OK | MB_ICONERROR);
}

TEST(Application, ServiceScopesNest) {
  TScriptedUIService outer, inner;
  {
    TUIServiceScope a(outer);
    {
      TUIServiceScope b(inner);
      EXPECT_EQ(&Application->UIService(), &inner);
    }
    EXPECT_EQ(&Application->UIService(), &outer);
  }
  EXPECT_EQ(Application->InstalledUIService(), nullptr);
}

}  // namespace
}  // namespace kv
