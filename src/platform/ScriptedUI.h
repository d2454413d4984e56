// The scripted UI service: answers queued in advance, every question recorded.
//
// Tests and batch runs queue the answers of the save dialogs and of the
// message boxes (two separate queues, each used in order).  Every question is
// recorded with its texts and flags, answered or not.  A question without a
// queued answer goes to the fallback service when one is given; without one
// it raises EUIScriptError, so a test notices an unexpected question.
// Plain messages need no answer; they are recorded and passed on to the
// fallback.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/UIService.h"

namespace kv {

KV_DECLARE_EXCEPTION(EUIScriptError, Exception);

enum class TUIQuestionKind { SaveDialog, MessageBox, ShowMessage };

struct TUIQuestion {
  TUIQuestionKind Kind;
  std::string Text;     // message text; the proposed file name of a dialog
  std::string Caption;  // message caption; the title of a dialog
  int Flags = 0;        // message box flags
  std::string Filter;   // dialog filter
  int Answer = 0;       // the button pressed; for dialogs IDOK or IDCANCEL
  std::string Chosen;   // the file name a confirmed dialog gave
};

class TScriptedUIService : public TUIService {
 public:
  explicit TScriptedUIService(TUIService* AFallback = nullptr) : FFallback(AFallback) {}

  // The next save dialog is confirmed with this file name.
  void QueueSave(const std::string& AFileName) { FSaves.emplace_back(AFileName); }
  // The next save dialog is cancelled.
  void QueueSaveCancel() { FSaves.emplace_back(std::nullopt); }
  // The next message box is answered with this button.
  void QueueAnswer(int AButton) { FAnswers.push_back(AButton); }

  const std::vector<TUIQuestion>& Questions() const { return FQuestions; }
  // Queued answers not used yet.
  size_t PendingSaves() const { return FSaves.size(); }
  size_t PendingAnswers() const { return FAnswers.size(); }

  bool SaveDialog(const TSaveDialogRequest& ARequest, std::string& AFileName) override;
  int MessageBox(const std::string& AText, const std::string& ACaption, int AFlags) override;
  void ShowMessage(const std::string& AText) override;

 private:
  TUIService* FFallback;
  std::deque<std::optional<std::string>> FSaves;
  std::deque<int> FAnswers;
  std::vector<TUIQuestion> FQuestions;
};

}  // namespace kv
