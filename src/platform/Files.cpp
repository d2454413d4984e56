// File and folder helpers over POSIX calls.
#include "platform/Files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <cstdio>

namespace kv {

namespace {
bool IsDelim(char c) { return c == '/' || c == '\\'; }

size_t ExtensionStart(std::string_view s) {
  for (size_t i = s.size(); i > 0; --i) {
    char c = s[i - 1];
    if (c == '.') return i - 1;
    if (IsDelim(c) || c == ':') break;
  }
  return std::string_view::npos;
}
}  // namespace

bool FileExists(const std::string& AFileName) {
  struct stat st;
  return ::stat(AFileName.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& ADir) {
  struct stat st;
  return ::stat(ADir.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool DeleteFile(const std::string& AFileName) { return ::unlink(AFileName.c_str()) == 0; }

std::string ExtractFileExt(std::string_view AFileName) {
  size_t p = ExtensionStart(AFileName);
  return p == std::string_view::npos ? std::string() : std::string(AFileName.substr(p));
}

std::string ChangeFileExt(std::string_view AFileName, std::string_view AExt) {
  size_t p = ExtensionStart(AFileName);
  std::string base(p == std::string_view::npos ? AFileName : AFileName.substr(0, p));
  return base + std::string(AExt);
}

std::string ExtractFilePath(std::string_view AFileName) {
  for (size_t i = AFileName.size(); i > 0; --i)
    if (IsDelim(AFileName[i - 1])) return std::string(AFileName.substr(0, i));
  return std::string();
}

std::string ExtractFileName(std::string_view AFileName) {
  for (size_t i = AFileName.size(); i > 0; --i)
    if (IsDelim(AFileName[i - 1])) return std::string(AFileName.substr(i));
  return std::string(AFileName);
}

bool SameTextAscii(std::string_view A, std::string_view B) {
  if (A.size() != B.size()) return false;
  for (size_t i = 0; i < A.size(); ++i) {
    char a = A[i], b = B[i];
    if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 32);
    if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 32);
    if (a != b) return false;
  }
  return true;
}

std::string UpperCaseAscii(std::string_view AText) {
  std::string s(AText);
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return s;
}

std::string LowerCaseAscii(std::string_view AText) {
  std::string s(AText);
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return s;
}

std::string GetCurrentDir() {
  char buf[PATH_MAX];
  if (::getcwd(buf, sizeof buf) == nullptr) return std::string();
  return buf;
}

bool SetCurrentDir(const std::string& ADir) { return ::chdir(ADir.c_str()) == 0; }

std::string ExpandFileName(const std::string& AFileName) {
  std::string full;
  if (!AFileName.empty() && AFileName[0] == '/') {
    full = AFileName;
  } else {
    full = GetCurrentDir();
    if (!full.empty() && full.back() != '/') full.push_back('/');
    full.append(AFileName);
  }
  // "." and ".." components are resolved, as the desktop routine does.
  return std::filesystem::path(full).lexically_normal().string();
}

}  // namespace kv
