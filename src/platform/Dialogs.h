// Common dialogs of the class library stand-in: the save-file dialog.
//
// `TSaveDialog` is a component (usually owned by the application object or a
// form).  `Execute` asks the UI service for a file name; a confirmed dialog
// stores the chosen name as a full path in `FileName` and, as the desktop
// dialog did, makes the chosen file's folder the process's current directory
// unless `ofNoChangeDir` is set.
#pragma once

#include <string>

#include "platform/Components.h"

namespace kv {

// Dialog options (a set of flags); only those with behaviour here.
enum TOpenOption : unsigned {
  ofNoChangeDir = 0x01,  // keep the current directory after a confirmed dialog
};

class TSaveDialog : public TComponent {
 public:
  explicit TSaveDialog(TComponent* AOwner = nullptr) : TComponent(AOwner) {}

  std::string Filter;      // "display text|mask|..." pairs
  std::string FileName;    // proposed before Execute, chosen after it
  std::string DefaultExt;  // appended (with a dot) to a chosen name without extension
  std::string Title;
  std::string InitialDir;
  unsigned Options = 0;  // TOpenOption flags

  // Shows the dialog modally; true when the user confirmed a file name.
  // A cancelled dialog leaves FileName and the current directory as they were.
  bool Execute();
};

}  // namespace kv
