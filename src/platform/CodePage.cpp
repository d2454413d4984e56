// Code-page conversion through iconv, with one cached converter per code page
// and direction so that converting many short cell texts stays cheap.
#include "platform/CodePage.h"

#include <iconv.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <cerrno>
#include <map>
#include <mutex>
#include <utility>

#include "platform/Exceptions.h"

namespace kv {

namespace {

std::atomic<int> GSystemCodePage{936};

std::string IconvName(int ACodePage) {
  switch (ACodePage) {
    case CP_UTF8: return "UTF-8";
    case 936: return "CP936";
    case 1252: return "WINDOWS-1252";
    default: return "CP" + std::to_string(ACodePage);
  }
}

// A cached iconv descriptor.  Conversions run on the user-interface thread;
// the mutex only guards the cache itself.
iconv_t Converter(int ACodePage, bool AToCodePage) {
  // The cache closes its descriptors when the process ends.
  struct TCache : std::map<std::pair<int, bool>, iconv_t> {
    ~TCache() {
      for (auto& entry : *this) iconv_close(entry.second);
    }
  };
  static std::mutex Lock;
  static TCache Cache;
  std::lock_guard<std::mutex> guard(Lock);
  auto key = std::make_pair(ACodePage, AToCodePage);
  auto it = Cache.find(key);
  if (it != Cache.end()) return it->second;
  std::string cp = IconvName(ACodePage);
  iconv_t cd = AToCodePage ? iconv_open(cp.c_str(), "UTF-8") : iconv_open("UTF-8", cp.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1))
    throw Exception("Code page " + std::to_string(ACodePage) + " is not supported");
  Cache.emplace(key, cd);
  return cd;
}

// Length of the UTF-8 sequence that starts with byte C (1 for a stray byte).
size_t Utf8SequenceLength(unsigned char C) {
  if (C < 0xC0) return 1;
  if (C < 0xE0) return 2;
  if (C < 0xF0) return 3;
  return 4;
}

std::string Convert(std::string_view AInput, iconv_t cd, bool AFromUtf8) {
  std::string out;
  out.resize(AInput.size() * 2 + 16);
  char* in = const_cast<char*>(AInput.data());
  size_t inLeft = AInput.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  while (inLeft > 0) {
    size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    if (r != static_cast<size_t>(-1)) break;
    if (errno == E2BIG) {
      size_t used = static_cast<size_t>(outPtr - out.data());
      out.resize(out.size() * 2 + 16);
      outPtr = out.data() + used;
      outLeft = out.size() - used;
      continue;
    }
    // EILSEQ or EINVAL: replace one character (or byte) with "?".
    size_t skip = AFromUtf8 ? Utf8SequenceLength(static_cast<unsigned char>(*in)) : 1;
    if (skip > inLeft) skip = inLeft;
    in += skip;
    inLeft -= skip;
    if (outLeft < 1) {
      size_t used = static_cast<size_t>(outPtr - out.data());
      out.resize(out.size() * 2 + 16);
      outPtr = out.data() + used;
      outLeft = out.size() - used;
    }
    *outPtr++ = '?';
    --outLeft;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  out.resize(static_cast<size_t>(outPtr - out.data()));
  return out;
}

}  // namespace

int SystemCodePage() { return GSystemCodePage.load(); }
void SetSystemCodePage(int ACodePage) {
  Converter(ACodePage, true);  // fails early for a code page iconv lacks
  GSystemCodePage.store(ACodePage);
}

std::string CodePageName(int ACodePage) {
  switch (ACodePage) {
    case 936: return "GBK";
    case 950: return "Big5";
    case 932: return "Shift_JIS";
    case 949: return "EUC-KR";
    case CP_UTF8: return "UTF-8";
    default:
      if (ACodePage == 874 || (ACodePage >= 1250 && ACodePage <= 1258))
        return "windows-" + std::to_string(ACodePage);
      return "CP" + std::to_string(ACodePage);
  }
}

bool IsSevenBit(std::string_view AText) {
  for (unsigned char c : AText)
    if (c >= 0x80) return false;
  return true;
}

namespace {

// Code pages that encode each character on its own (no state, no combining)
// in one or two bytes: what a text takes is the sum of what its characters
// take.
bool EncodesCharactersAlone(int ACodePage) {
  return ACodePage == 932 || ACodePage == 936 || ACodePage == 949 || ACodePage == 950 || ACodePage == 874 ||
         (ACodePage >= 1250 && ACodePage <= 1257);
}

// EncodedLength by the lengths of the text's characters, each encoded once
// per process and code page and remembered (texts of characters outside the
// Basic Multilingual Plane, or that are not UTF-8, are not taken: false).
bool LengthByCharacters(std::string_view AUtf8, int ACodePage, size_t& ABytes) {
  using TTable = std::array<uint8_t, 0x10000>;  // bytes per character, 0: not yet known
  static std::mutex Lock;
  static std::map<int, std::unique_ptr<TTable>> Tables;
  std::lock_guard<std::mutex> guard(Lock);
  std::unique_ptr<TTable>& table = Tables[ACodePage];
  if (!table) table = std::make_unique<TTable>(TTable{});
  size_t bytes = 0, i = 0;
  while (i < AUtf8.size()) {
    const unsigned char c = static_cast<unsigned char>(AUtf8[i]);
    if (c < 0x80) {
      ++bytes;
      ++i;
      continue;
    }
    // Two- and three-byte sequences that are valid UTF-8: no overlong forms, no surrogates.
    char32_t cp;
    size_t n;
    if (c >= 0xC2 && c < 0xE0 && i + 1 < AUtf8.size() && (AUtf8[i + 1] & 0xC0) == 0x80) {
      cp = char32_t(c & 0x1F) << 6 | (AUtf8[i + 1] & 0x3F);
      n = 2;
    } else if ((c & 0xF0) == 0xE0 && i + 2 < AUtf8.size() && (AUtf8[i + 1] & 0xC0) == 0x80 &&
               (AUtf8[i + 2] & 0xC0) == 0x80) {
      cp = char32_t(c & 0x0F) << 12 | char32_t(AUtf8[i + 1] & 0x3F) << 6 | (AUtf8[i + 2] & 0x3F);
      n = 3;
      if (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    } else {
      return false;
    }
    uint8_t& length = (*table)[cp];
    if (length == 0)
      length = static_cast<uint8_t>(Convert(AUtf8.substr(i, n), Converter(ACodePage, true), true).size());
    bytes += length;
    i += n;
  }
  ABytes = bytes;
  return true;
}

}  // namespace

size_t EncodedLength(std::string_view AUtf8, int ACodePage) {
  if (ACodePage == CP_UTF8) return AUtf8.size();
  if (ACodePage == 936) {
    size_t bytes = 0, i = 0;
    while (i < AUtf8.size()) {
      unsigned char c = static_cast<unsigned char>(AUtf8[i]);
      if (c < 0x80) {
        ++bytes;
        ++i;
        continue;
      }
      if ((c & 0xF0) != 0xE0 || i + 2 >= AUtf8.size()) break;
      unsigned char c1 = static_cast<unsigned char>(AUtf8[i + 1]), c2 = static_cast<unsigned char>(AUtf8[i + 2]);
      if ((c1 & 0xC0) != 0x80 || (c2 & 0xC0) != 0x80) break;
      char32_t cp = char32_t(c & 0x0F) << 12 | char32_t(c1 & 0x3F) << 6 | char32_t(c2 & 0x3F);
      if (cp < 0x4E00 || cp > 0x9FA5) break;
      bytes += 2;
      i += 3;
    }
    if (i == AUtf8.size()) return bytes;
  } else if (IsSevenBit(AUtf8)) {
    return AUtf8.size();
  }
  size_t bytes = 0;
  if (EncodesCharactersAlone(ACodePage) && LengthByCharacters(AUtf8, ACodePage, bytes)) return bytes;
  return EncodeText(AUtf8, ACodePage).size();
}

std::string EncodeText(std::string_view AUtf8, int ACodePage) {
  if (ACodePage == CP_UTF8 || IsSevenBit(AUtf8)) return std::string(AUtf8);
  return Convert(AUtf8, Converter(ACodePage, true), true);
}

std::string DecodeText(std::string_view ABytes, int ACodePage) {
  if (ACodePage == CP_UTF8 || IsSevenBit(ABytes)) return std::string(ABytes);
  return Convert(ABytes, Converter(ACodePage, false), false);
}

namespace {

// UTF-8 to UTF-16 appended to AOut.  An invalid sequence becomes U+FFFD, or,
// with AStopAtInvalid, ends the conversion with false.
bool DecodeUtf8(std::string_view s, std::u16string& out, bool AStopAtInvalid) {
  size_t i = 0;
  while (i < s.size()) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    char32_t cp;
    size_t n;
    if (c < 0x80) { cp = c; n = 1; }
    else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; n = 2; }
    else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; n = 3; }
    else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; n = 4; }
    else {
      if (AStopAtInvalid) return false;
      out.push_back(u'\uFFFD'); ++i; continue;
    }
    if (i + n > s.size()) {
      if (AStopAtInvalid) return false;
      out.push_back(u'\uFFFD'); break;
    }
    bool ok = true;
    for (size_t k = 1; k < n; ++k) {
      unsigned char cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xC0) != 0x80) { ok = false; break; }
      cp = (cp << 6) | (cc & 0x3F);
    }
    if (!ok) {
      if (AStopAtInvalid) return false;
      out.push_back(u'\uFFFD'); ++i; continue;
    }
    i += n;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return true;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  DecodeUtf8(s, out, false);
  return out;
}

bool TryUtf8ToUtf16(std::string_view AUtf8, std::u16string& AOut) {
  AOut.clear();
  return DecodeUtf8(AUtf8, AOut, true);
}

std::string Utf16ToUtf8(std::u16string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t cp = s[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) out.push_back(static_cast<char>(cp));
    else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

}  // namespace kv
