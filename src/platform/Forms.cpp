// The application object.
#include "platform/Forms.h"

#include "platform/Exceptions.h"
#include "platform/TerminalUI.h"

namespace kv {

namespace {
TApplication GApplication;
}  // namespace

TApplication* const Application = &GApplication;

TApplication::TApplication() = default;
TApplication::~TApplication() = default;

int TApplication::MessageBox(const std::string& AText, const std::string& ACaption, int AFlags) {
  return UIService().MessageBox(AText, ACaption.empty() ? Title : ACaption, AFlags);
}

void TApplication::ProcessMessages() {
  if (OnProcessMessages) OnProcessMessages();
}

TUIService& TApplication::UIService() {
  if (FUIService) return *FUIService;
  if (!FDefaultService) FDefaultService = std::make_unique<TTerminalUIService>();
  return *FDefaultService;
}

std::string TApplication::ExceptionMessage(const std::exception& AError) {
  const auto* e = dynamic_cast<const Exception*>(&AError);
  std::string text = e ? e->Message() : AError.what();
  if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') text.push_back('.');
  return text;
}

void TApplication::ShowException(const std::exception& AError) {
  UIService().MessageBox(ExceptionMessage(AError), Title, MB_OK | MB_ICONERROR);
}

void ShowMessage(const std::string& AText) { Application->UIService().ShowMessage(AText); }

TUIServiceScope::TUIServiceScope(TUIService& AService) : FPrevious(Application->InstalledUIService()) {
  Application->SetUIService(&AService);
}

TUIServiceScope::~TUIServiceScope() { Application->SetUIService(FPrevious); }

}  // namespace kv
