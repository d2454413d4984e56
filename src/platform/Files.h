// Files and folders: existence tests, deletion, the extension rules of the
// class library and the process's current directory.
//
// Extension rule: the extension of a name is the text from the last "." of its
// last path component on, dot included; empty when that component has no dot.
// Both "/" and "\\" end a path component, so Windows-style names given by a
// caller behave as they did on Windows.
#pragma once

#include <string>
#include <string_view>

namespace kv {

bool FileExists(const std::string& AFileName);
bool DirectoryExists(const std::string& ADir);
// Deletes a file; false when it could not be deleted.
bool DeleteFile(const std::string& AFileName);

std::string ExtractFileExt(std::string_view AFileName);
// Replaces the extension (or appends AExt when there is none).
std::string ChangeFileExt(std::string_view AFileName, std::string_view AExt);
// The folder part, with its trailing separator; empty when there is none.
std::string ExtractFilePath(std::string_view AFileName);
std::string ExtractFileName(std::string_view AFileName);
// Case-insensitive comparison of the letters A to Z only (other bytes exact).
bool SameTextAscii(std::string_view A, std::string_view B);
// a to z upper-cased, other bytes unchanged.
std::string UpperCaseAscii(std::string_view AText);
std::string LowerCaseAscii(std::string_view AText);

std::string GetCurrentDir();
bool SetCurrentDir(const std::string& ADir);
// A path made absolute against the current directory, with "." and ".."
// components resolved.
std::string ExpandFileName(const std::string& AFileName);

// The native path separator.
constexpr char PathDelim = '/';

}  // namespace kv
