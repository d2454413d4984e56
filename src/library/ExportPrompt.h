// The export target prompt shared by every export command: the save dialog,
// the extension fix-up and the overwrite confirmation.
#pragma once

#include <string>

namespace kv {

// Caption of the library's own questions and notices.
inline constexpr const char* LibraryMessageCaption = "提示信息";

// Shows a save dialog owned by the application object with the filter AFilter
// ("display text|mask" pairs) and the proposed name "untitle", everything else
// at its defaults (so a confirmed dialog leaves the chosen file's folder as the
// current directory).  True and the chosen full path in AFileName when
// confirmed; false and AFileName unchanged when cancelled.  The dialog is
// freed in every case.
bool PromptExportFile(const std::string& AFilter, std::string& AFileName);

// AFileName with AExt (".dbf", ".xls", ...) appended, unless its extension
// already equals AExt when the case of A to Z is ignored.
std::string ApplyExportExtension(const std::string& AFileName, const std::string& AExt);

// The extension of a fixed-up target name without its dot ("xls"; "XLS" for
// "book.XLS").  The entry points of the export engine replace a name's
// extension with the FileExt they get; given this one, they write the very
// file the user chose and was asked about, also where file names differ by
// the case of their letters.
std::string ExportFileExt(const std::string& AFileName);

// The text of the overwrite question for AFileName: the file name on the
// first line, "是否替换原有文件? " on the second (separated by a lone "\r").
std::string OverwriteQuestion(const std::string& AFileName);

// When AFileName exists, asks the overwrite question through the application's
// message box (caption "提示信息", Yes/No with the question icon).  False when
// the answer was No: the command must end and write nothing.  True when the
// file does not exist or the user did not refuse.
bool ConfirmExportOverwrite(const std::string& AFileName);

}  // namespace kv
