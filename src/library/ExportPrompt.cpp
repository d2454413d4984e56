// The export target prompt, the extension fix-up and the overwrite question.
#include "library/ExportPrompt.h"

#include <memory>

#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Forms.h"
#include "platform/UIService.h"

namespace kv {

bool PromptExportFile(const std::string& AFilter, std::string& AFileName) {
  // Owned by the application; the unique_ptr frees it (and so takes it out of
  // the application's components) whether Execute returns or raises.
  auto dialog = std::make_unique<TSaveDialog>(Application);
  dialog->Filter = AFilter;
  dialog->FileName = "untitle";
  if (!dialog->Execute()) return false;
  AFileName = dialog->FileName;
  return true;
}

std::string ApplyExportExtension(const std::string& AFileName, const std::string& AExt) {
  std::string ext = ExtractFileExt(AFileName);
  if (ext.empty() || !SameTextAscii(ext, AExt)) return AFileName + AExt;
  return AFileName;
}

std::string ExportFileExt(const std::string& AFileName) {
  std::string ext = ExtractFileExt(AFileName);
  return ext.empty() ? ext : ext.substr(1);
}

std::string OverwriteQuestion(const std::string& AFileName) {
  return std::string("  文件: ") + AFileName + " 已经存在," + "\r" + "是否替换原有文件? ";
}

bool ConfirmExportOverwrite(const std::string& AFileName) {
  if (!FileExists(AFileName)) return true;
  return Application->MessageBox(OverwriteQuestion(AFileName), LibraryMessageCaption, MB_YESNO | MB_ICONQUESTION) !=
         IDNO;
}

}  // namespace kv
