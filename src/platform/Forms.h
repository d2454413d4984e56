// The application object of the class library stand-in.
//
// `Application` is the process's one `TApplication`, a component that owns
// the dialogs created for it.  It shows message boxes through the installed
// UI service (UIService.h), lets a host run its pending work from
// `ProcessMessages` (a hook the host sets, for example to draw progress), and
// formats exceptions as the class library's default error display does.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "platform/Components.h"
#include "platform/UIService.h"

namespace kv {

class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;

  // Caption of message boxes shown without one, and of error displays.
  std::string Title = "kvpublic";

  // Shows a message box through the UI service and returns the button pressed.
  // An empty caption shows the title.
  int MessageBox(const std::string& AText, const std::string& ACaption, int AFlags);

  // Lets pending work run: calls OnProcessMessages when the host set one.
  void ProcessMessages();
  std::function<void()> OnProcessMessages;

  // The UI service dialogs and message boxes go through: the installed one,
  // or a terminal service made on first use.
  TUIService& UIService();
  // Installs a service the caller keeps alive; nullptr returns to the default.
  void SetUIService(TUIService* AService) { FUIService = AService; }
  // The installed service; nullptr when the default is in use.
  TUIService* InstalledUIService() const { return FUIService; }

  // The text the default error display shows: the message, with a period
  // added unless it already ends in one or in a character below it.
  static std::string ExceptionMessage(const std::exception& AError);
  // Shows an error the way the class library's default display does: a
  // message box with the title as caption, an OK button and the error icon.
  void ShowException(const std::exception& AError);

 private:
  TUIService* FUIService = nullptr;
  std::unique_ptr<TUIService> FDefaultService;
};

// The process's application object.
extern TApplication* const Application;

// Shows a plain message through the UI service.
void ShowMessage(const std::string& AText);

// Installs a UI service for the lifetime of the scope, then restores the one
// installed before.
class TUIServiceScope {
 public:
  explicit TUIServiceScope(TUIService& AService);
  ~TUIServiceScope();
  TUIServiceScope(const TUIServiceScope&) = delete;
  TUIServiceScope& operator=(const TUIServiceScope&) = delete;

 private:
  TUIService* FPrevious;
};

}  // namespace kv
