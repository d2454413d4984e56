// Text routines shared by the HTML, XML and text writers.
#include "writers/text/HtmlXmlTxtRoutines.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "export/core/ExportEngine.h"
#include "export/core/ExportHelpers.h"
#include "platform/Exceptions.h"
#include "platform/Files.h"
#include "platform/Streams.h"

namespace kv {

namespace {

// Appends "&#" + decimal + ";" for every UTF-16 code unit of AText.
void AppendCharRefs(std::string& AOut, std::u16string_view AText) {
  AOut.reserve(AOut.size() + AText.size() * 8);
  for (char16_t unit : AText) {
    AOut += "&#";
    AOut += std::to_string(static_cast<unsigned>(unit));
    AOut += ';';
  }
}

}  // namespace

std::string SaveImageFile(std::string_view AFolder, std::string_view APackedGraphic, bool AAsElement) {
  std::string imageName, imageBytes;
  UnpackGraphic(APackedGraphic, imageName, imageBytes);

  // The folder of the image file, created when missing (its parent must exist).
  std::string imageFolder = ExtractFilePath(imageName);
  if (imageFolder.size() > 1) imageFolder.pop_back();  // without the trailing separator
  if (!imageFolder.empty() && !DirectoryExists(imageFolder) && ::mkdir(imageFolder.c_str(), 0777) != 0 &&
      errno != EEXIST)
    throw EFCreateError("Cannot create folder \"" + imageFolder + "\". " + std::strerror(errno));

  {
    TFileStream file(imageName, fmCreate);
    file.WriteBuffer(imageBytes.data(), imageBytes.size());
  }

  std::string path = imageName;
  if (!AFolder.empty() && std::string_view(path).substr(0, AFolder.size()) == AFolder) path.erase(0, AFolder.size());
  for (char& c : path)
    if (c == '\\') c = '/';
  if (AAsElement) return "<img src=\"" + path + "\"></img>";
  return path;
}

std::string CssRgb(uint32_t AColor) {
  return "rgb(" + std::to_string(AColor & 0xFF) + "," + std::to_string((AColor >> 8) & 0xFF) + "," +
         std::to_string((AColor >> 16) & 0xFF) + ")";
}

std::string EscapeHtmlText(std::string_view AText) {
  std::string out;
  out.reserve(AText.size());
  for (char c : AText) {
    switch (c) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out.push_back(c);
        break;
    }
  }
  return out;
}

std::string LineBreaksToBR(std::string_view AText) {
  std::string out;
  out.reserve(AText.size());
  for (size_t i = 0; i < AText.size(); ++i) {
    char c = AText[i];
    if (c == '\r' && i + 1 < AText.size() && AText[i + 1] == '\n') {
      out += "<BR>";
      ++i;
    } else if (c == '\n') {
      out += "<BR>";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

std::string CharsetCharRefs(std::string_view AText, int ACharset) {
  if (!HasSpecialChars(AText, true)) return std::string(AText);
  std::string out;
  AppendCharRefs(out, AnsiToWideText(AText, ACharset));
  return out;
}

std::string TitleCharRefs(std::u16string_view AText) {
  if (!UnicodeRefsEnabled()) return WideToAnsiText(AText, 0);
  std::string out;
  AppendCharRefs(out, AText);
  return out;
}

}  // namespace kv
