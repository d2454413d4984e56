// The scripted UI service: queued answers and the record of questions.
#include "platform/ScriptedUI.h"

namespace kv {

bool TScriptedUIService::SaveDialog(const TSaveDialogRequest& ARequest, std::string& AFileName) {
  FQuestions.push_back(TUIQuestion{TUIQuestionKind::SaveDialog, ARequest.FileName, ARequest.Title, 0, ARequest.Filter,
                                   IDCANCEL, std::string()});
  bool confirmed;
  if (!FSaves.empty()) {
    std::optional<std::string> answer = FSaves.front();
    FSaves.pop_front();
    confirmed = answer.has_value();
    if (confirmed) AFileName = *answer;
  } else if (FFallback) {
    confirmed = FFallback->SaveDialog(ARequest, AFileName);
  } else {
    throw EUIScriptError("no answer queued for the save dialog (" + ARequest.Filter + ")");
  }
  FQuestions.back().Answer = confirmed ? IDOK : IDCANCEL;
  if (confirmed) FQuestions.back().Chosen = AFileName;
  return confirmed;
}

int TScriptedUIService::MessageBox(const std::string& AText, const std::string& ACaption, int AFlags) {
  FQuestions.push_back(
      TUIQuestion{TUIQuestionKind::MessageBox, AText, ACaption, AFlags, std::string(), 0, std::string()});
  int answer;
  if (!FAnswers.empty()) {
    answer = FAnswers.front();
    FAnswers.pop_front();
  } else if (FFallback) {
    answer = FFallback->MessageBox(AText, ACaption, AFlags);
  } else {
    throw EUIScriptError("no answer queued for the message box \"" + AText + "\"");
  }
  FQuestions.back().Answer = answer;
  return answer;
}

void TScriptedUIService::ShowMessage(const std::string& AText) {
  FQuestions.push_back(
      TUIQuestion{TUIQuestionKind::ShowMessage, AText, std::string(), MB_OK, std::string(), IDOK, std::string()});
  if (FFallback) FFallback->ShowMessage(AText);
}

}  // namespace kv
