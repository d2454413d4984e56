// The terminal UI service: prompts on the terminal, safe answers without one.
#include "platform/TerminalUI.h"

#include <unistd.h>

#include <vector>

#include "platform/Files.h"
#include "platform/SysUtils.h"

namespace kv {

namespace {

// "\r\n" and lone "\r" become "\n", as a message box shows them as line breaks.
std::string TerminalText(const std::string& AText) {
  std::string out;
  for (size_t i = 0; i < AText.size(); ++i) {
    if (AText[i] == '\r') {
      out.push_back('\n');
      if (i + 1 < AText.size() && AText[i + 1] == '\n') ++i;
    } else {
      out.push_back(AText[i]);
    }
  }
  return out;
}

struct TButton {
  int Id;
  const char* Word;  // typed answer (its first letter works too)
};

// The buttons of a message box, in their order on screen.
std::vector<TButton> ButtonsOf(int AFlags) {
  switch (AFlags & 0x0F) {
    case MB_OKCANCEL:
      return {{IDOK, "ok"}, {IDCANCEL, "cancel"}};
    case MB_ABORTRETRYIGNORE:
      return {{IDABORT, "abort"}, {IDRETRY, "retry"}, {IDIGNORE, "ignore"}};
    case MB_YESNOCANCEL:
      return {{IDYES, "yes"}, {IDNO, "no"}, {IDCANCEL, "cancel"}};
    case MB_YESNO:
      return {{IDYES, "yes"}, {IDNO, "no"}};
    case MB_RETRYCANCEL:
      return {{IDRETRY, "retry"}, {IDCANCEL, "cancel"}};
    default:
      return {{IDOK, "ok"}};
  }
}

const char* WordOf(int AButton) {
  switch (AButton) {
    case IDOK:
      return "ok";
    case IDCANCEL:
      return "cancel";
    case IDABORT:
      return "abort";
    case IDRETRY:
      return "retry";
    case IDIGNORE:
      return "ignore";
    case IDYES:
      return "yes";
    case IDNO:
      return "no";
    default:
      return "?";
  }
}

}  // namespace

TTerminalUIService::TTerminalUIService() {
  FTty = std::fopen("/dev/tty", "r+");
  if (FTty) {
    FIn = FOut = FTty;
  } else {
    FIn = ::isatty(STDIN_FILENO) ? stdin : nullptr;
    FOut = stderr;
  }
}

TTerminalUIService::TTerminalUIService(std::FILE* AIn, std::FILE* AOut) : FIn(AIn), FOut(AOut) {}

TTerminalUIService::~TTerminalUIService() {
  if (FTty) std::fclose(FTty);
}

void TTerminalUIService::Write(const std::string& AText) {
  if (!FOut) return;
  std::fputs(AText.c_str(), FOut);
  std::fflush(FOut);
}

bool TTerminalUIService::ReadLine(std::string& ALine) {
  if (!FIn) return false;
  ALine.clear();
  int c;
  while ((c = std::fgetc(FIn)) != EOF && c != '\n') ALine.push_back(static_cast<char>(c));
  if (c == EOF && ALine.empty()) return false;
  if (!ALine.empty() && ALine.back() == '\r') ALine.pop_back();
  return true;
}

bool TTerminalUIService::SaveDialog(const TSaveDialogRequest& ARequest, std::string& AFileName) {
  std::string title = ARequest.Title.empty() ? "Save as" : ARequest.Title;
  std::string types = FilterDescription(ARequest.Filter);
  std::string prompt = title + (types.empty() ? "" : " (" + types + ")") + " [" + ARequest.FileName + "]: ";
  if (!Interactive()) {
    Write(prompt + "cancelled (no terminal to answer)\n");
    return false;
  }
  Write(prompt);
  std::string line;
  if (!ReadLine(line)) {
    Write("\n");
    return false;
  }
  line = Trim(line);
  std::string name = line.empty() ? ARequest.FileName : line;
  if (name.empty()) return false;
  if (name[0] != '/' && !ARequest.InitialDir.empty()) name = ARequest.InitialDir + "/" + name;
  AFileName = name;
  return true;
}

int TTerminalUIService::MessageBox(const std::string& AText, const std::string& ACaption, int AFlags) {
  std::vector<TButton> buttons = ButtonsOf(AFlags);
  std::string choices;
  for (const TButton& b : buttons) choices += std::string(choices.empty() ? "" : "/") + b.Word;
  std::string head = (ACaption.empty() ? std::string() : "[" + ACaption + "]\n") + TerminalText(AText) + "\n";
  if (!Interactive()) {
    Write(head + "(" + choices + ") " + WordOf(DefaultMessageBoxAnswer(AFlags)) + " (no terminal to answer)\n");
    return DefaultMessageBoxAnswer(AFlags);
  }
  Write(head);
  for (;;) {
    Write("(" + choices + ") ");
    std::string line;
    if (!ReadLine(line)) {
      Write("\n");
      return DefaultMessageBoxAnswer(AFlags);
    }
    std::string answer = LowerCaseAscii(Trim(line));
    if (buttons.size() == 1 && answer.empty()) return buttons[0].Id;
    for (const TButton& b : buttons)
      if (!answer.empty() && (answer == b.Word || (answer.size() == 1 && answer[0] == b.Word[0]))) return b.Id;
  }
}

void TTerminalUIService::ShowMessage(const std::string& AText) { Write(TerminalText(AText) + "\n"); }

}  // namespace kv
