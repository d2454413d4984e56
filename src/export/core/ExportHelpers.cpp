// The engine's shared helpers: hash, character sets, file names, picture
// names and picture packing.
#include "export/core/ExportHelpers.h"

#include "platform/CodePage.h"
#include "platform/Exceptions.h"
#include "platform/Graphics.h"

namespace kv {

namespace {

int gImageCounter = 0;        // number of the next picture file
int gImageProviderCount = 0;  // live picture-writing providers

bool IsSeparator(char16_t AChar) { return AChar == u'/' || AChar == u'\\'; }

}  // namespace

uint32_t ExportHash(const void* ABytes, size_t ACount) {
  const uint8_t* p = static_cast<const uint8_t*>(ABytes);
  uint32_t hash = 0;
  for (size_t i = 0; i < ACount; ++i) hash = ((hash << 5) | (hash >> 27)) ^ p[i];
  return hash;
}

int CharsetToCodePage(int ACharset) {
  switch (ACharset) {
    case 128:
      return 932;  // Shift-JIS
    case 129:      // Hangul
    case 130:
      return 949;  // Johab
    case 134:
      return 936;  // GB2312
    case 136:
      return 950;  // Big5
    case 161:
      return 1253;  // Greek
    case 162:
      return 1254;  // Turkish
    case 177:
      return 1255;  // Hebrew
    case 178:
      return 1256;  // Arabic
    case 186:
      return 1257;  // Baltic
    case 204:
      return 1251;  // Russian
    case 222:
      return 874;  // Thai
    case 238:
      return 1250;  // Eastern Europe
    default:
      return 0;  // the system code page
  }
}

std::u16string AnsiToWideText(std::string_view AText, int /*ACharset*/) { return Utf8ToUtf16(AText); }

std::string WideToAnsiText(std::u16string_view AText, int /*ACharset*/) { return Utf16ToUtf8(AText); }

bool HasSpecialChars(std::string_view AText, bool AStrict) {
  for (char ch : AText) {
    unsigned char c = static_cast<unsigned char>(ch);
    if (c > 127) return true;
    if (!AStrict) continue;
    bool safe = c == ' ' || c == '!' || (c >= '(' && c <= '/') || (c >= '0' && c <= ';') || (c >= 'A' && c <= 'Z') ||
                (c >= 'a' && c <= 'z') || c == '_';
    if (!safe) return true;
  }
  return false;
}

std::u16string NormalizeExportPath(std::string_view AFileName) {
  std::u16string path = Utf8ToUtf16(AFileName);
  for (char16_t& c : path) {
    if (IsSeparator(c)) c = cxPathDelim;
  }
  return path;
}

std::u16string WideExtractFileName(std::u16string_view APath) {
  size_t at = APath.rfind(cxPathDelim);
  return std::u16string(at == std::u16string_view::npos ? APath : APath.substr(at + 1));
}

std::u16string WideChangeFileExt(std::u16string_view AName, std::u16string_view ANewExt) {
  size_t sep = AName.rfind(cxPathDelim);
  size_t nameStart = sep == std::u16string_view::npos ? 0 : sep + 1;
  size_t dot = AName.rfind(u'.');
  std::u16string result(AName);
  if (dot != std::u16string_view::npos && dot > nameStart) result.resize(dot);
  result += ANewExt;
  return result;
}

std::string ImageFileName(std::string_view AFileName, std::string_view AExt) {
  std::u16string path = NormalizeExportPath(AFileName);
  std::u16string name = WideChangeFileExt(WideExtractFileName(path), u"");
  std::u16string result = WideChangeFileExt(path, u".images");
  result += cxPathDelim;
  result += name;
  result += u'_';
  result += Utf8ToUtf16(std::to_string(gImageCounter));
  result += u'.';
  result += Utf8ToUtf16(AExt);
  ++gImageCounter;
  return Utf16ToUtf8(result);
}

void TrackImageProvider(bool AAdding) {
  if (AAdding) {
    ++gImageProviderCount;
  } else if (gImageProviderCount > 0) {
    --gImageProviderCount;
  }
  if (gImageProviderCount == 0) gImageCounter = 0;
}

int ImageFileCounter() { return gImageCounter; }
int ImageProviderCount() { return gImageProviderCount; }

void PackGraphic(const std::string& AFileName, const TGraphic& APicture, std::string& APacked) {
  std::string imageName = ImageFileName(AFileName, APicture.DefaultExtension());
  std::string bytes = APicture.SaveToBytes();
  uint32_t n = static_cast<uint32_t>(imageName.size());
  APacked.clear();
  APacked.reserve(4 + imageName.size() + bytes.size());
  for (int i = 0; i < 4; ++i) APacked.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
  APacked += imageName;
  APacked += bytes;
}

void UnpackGraphic(std::string_view APacked, std::string& AImageName, std::string& AImageBytes) {
  if (APacked.size() < 4) throw EReadError("Stream read error");
  uint32_t n = 0;
  for (int i = 0; i < 4; ++i) n |= static_cast<uint32_t>(static_cast<uint8_t>(APacked[i])) << (8 * i);
  if (n > APacked.size() - 4) throw EReadError("Stream read error");
  AImageName.assign(APacked.substr(4, n));
  AImageBytes.assign(APacked.substr(4 + n));
}

}  // namespace kv
