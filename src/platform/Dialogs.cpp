// The save-file dialog over the UI service.
#include "platform/Dialogs.h"

#include "platform/Files.h"
#include "platform/Forms.h"

namespace kv {

bool TSaveDialog::Execute() {
  TSaveDialogRequest request{Filter, FileName, Title, InitialDir};
  std::string chosen;
  if (!Application->UIService().SaveDialog(request, chosen) || chosen.empty()) return false;
  std::string path = ExpandFileName(chosen);
  if (!DefaultExt.empty() && ExtractFileExt(ExtractFileName(path)).empty())
    path += (DefaultExt[0] == '.' ? "" : ".") + DefaultExt;
  FileName = path;
  if (!(Options & ofNoChangeDir)) {
    std::string folder = ExtractFilePath(path);
    if (folder.size() > 1 && folder.back() == PathDelim) folder.pop_back();
    // A folder that cannot be entered (it may not exist) leaves the current
    // directory as it is; the caller learns about the folder when it writes.
    if (!folder.empty()) SetCurrentDir(folder);
  }
  return true;
}

}  // namespace kv
