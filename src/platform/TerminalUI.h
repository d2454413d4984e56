// The terminal UI service: save dialogs and message boxes as prompts.
//
// Prompts go to the controlling terminal (/dev/tty) and answers come from it;
// without one, stdin and stderr are used when stdin is a terminal.  When no
// terminal can be asked, the service is not interactive: a save dialog is
// cancelled and a message box gets `DefaultMessageBoxAnswer` (No to a yes/no
// question); the question and that answer are still written to stderr.
// The end of the input cancels like a non-interactive run.
#pragma once

#include <cstdio>
#include <string>

#include "platform/UIService.h"

namespace kv {

class TTerminalUIService : public TUIService {
 public:
  TTerminalUIService();
  // Reads answers from AIn (nullptr: nobody answers) and writes prompts to
  // AOut; the streams stay the caller's.
  TTerminalUIService(std::FILE* AIn, std::FILE* AOut);
  ~TTerminalUIService() override;
  TTerminalUIService(const TTerminalUIService&) = delete;
  TTerminalUIService& operator=(const TTerminalUIService&) = delete;

  bool Interactive() const { return FIn != nullptr; }

  bool SaveDialog(const TSaveDialogRequest& ARequest, std::string& AFileName) override;
  int MessageBox(const std::string& AText, const std::string& ACaption, int AFlags) override;
  void ShowMessage(const std::string& AText) override;

 private:
  // One line of input without its line break; false at the end of input.
  bool ReadLine(std::string& ALine);
  void Write(const std::string& AText);

  std::FILE* FIn = nullptr;
  std::FILE* FOut = nullptr;
  std::FILE* FTty = nullptr;  // opened here, closed by the destructor
};

}  // namespace kv
