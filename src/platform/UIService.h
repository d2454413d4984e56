// The UI service: how dialogs and message boxes reach a user.
//
// The class library showed its save dialogs and message boxes on the desktop.
// Here every such question goes through the process's `TUIService` (installed
// on the application object, Forms.h).  Two implementations exist: a scripted
// one (answers queued in advance, every question recorded; for tests and
// batch runs, ScriptedUI.h) and a terminal one (interactive prompts,
// TerminalUI.h).  A desktop implementation can be added later.
#pragma once

#include <string>

namespace kv {

// Message box buttons (flags & 0xF), icons (flags & 0xF0) and answers, with
// the class library's values.
constexpr int MB_OK = 0x00;
constexpr int MB_OKCANCEL = 0x01;
constexpr int MB_ABORTRETRYIGNORE = 0x02;
constexpr int MB_YESNOCANCEL = 0x03;
constexpr int MB_YESNO = 0x04;
constexpr int MB_RETRYCANCEL = 0x05;
constexpr int MB_ICONERROR = 0x10;
constexpr int MB_ICONQUESTION = 0x20;
constexpr int MB_ICONWARNING = 0x30;
constexpr int MB_ICONINFORMATION = 0x40;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// What a save dialog shows.
struct TSaveDialogRequest {
  std::string Filter;    // pairs "display text|mask|display text|mask..."
  std::string FileName;  // the name proposed
  std::string Title;     // empty: the default title
  std::string InitialDir;
};

class TUIService {
 public:
  virtual ~TUIService() = default;
  // Asks for a file to save to.  True and the chosen name (as the user gave
  // it; the dialog makes it a full path) when confirmed, false when cancelled.
  virtual bool SaveDialog(const TSaveDialogRequest& ARequest, std::string& AFileName) = 0;
  // Shows a message with the buttons of AFlags and returns the button pressed
  // (IDOK, IDCANCEL, IDYES, IDNO, ...).
  virtual int MessageBox(const std::string& AText, const std::string& ACaption, int AFlags) = 0;
  // Shows a plain message with an OK button.
  virtual void ShowMessage(const std::string& AText) = 0;
};

// The answer a message box gives when nobody can answer it: No for questions
// with a No button, Cancel where there is one, Abort, else OK.
int DefaultMessageBoxAnswer(int AFlags);

// The display texts of a dialog filter ("DBF文件(*.dbf)|*.dbf" -> "DBF文件(*.dbf)").
std::string FilterDescription(const std::string& AFilter);

}  // namespace kv
