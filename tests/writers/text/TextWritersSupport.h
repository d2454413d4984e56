// Helpers of the text-family writer tests: a scratch folder per test and
// providers created the way the engine creates them.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "export/core/ExportCellStyle.h"
#include "export/core/ExportProvider.h"
#include "platform/Graphics.h"
#include "platform/Exceptions.h"

namespace kv::testing {

// A fresh folder under the system's temporary folder, removed afterwards.
class TScratchFolder {
 public:
  TScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kv_text_XXXXXX").string();
    char* made = ::mkdtemp(pattern.data());
    if (!made) throw std::runtime_error("mkdtemp failed");
    FPath = made;
  }
  ~TScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
  }
  const std::string& Path() const { return FPath; }
  // A file name inside the folder.
  std::string File(const std::string& AName) const { return FPath + "/" + AName; }

 private:
  std::string FPath;
};

// Runs AAction and answers the message of the EcxExportData-family
// exception it raised ("" when it raised none).
template <class TException, class TAction>
std::string MessageOf(TAction&& AAction) {
  try {
    AAction();
  } catch (const TException& e) {
    return e.Message();
  }
  return "";
}

// A style with known colours: borders 1 px grey, black on white, Tahoma 8.
inline TcxExportCellStyle PlainStyle() {
  TcxExportCellStyle style;
  style.AlignText = catCenter;
  style.SetFontName("Tahoma");
  style.FontSize = 8;
  style.FontColor = RGB(0, 0, 0);
  for (TcxExportCellBorder& border : style.CellBorders) {
    border.Width = 1;
    border.Color = RGB(160, 160, 160);
  }
  style.BrushStyle = cbsSolid;
  style.BrushBkColor = RGB(255, 255, 255);
  return style;
}

}  // namespace kv::testing
