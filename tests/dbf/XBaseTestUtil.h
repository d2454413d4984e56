// Helpers of the table component tests: a private temporary folder, file
// bytes, little-endian reads and a check for the component's error messages.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dbf/XBase.h"
#include "platform/Streams.h"

namespace kv::testing {

// A folder of its own per test, removed afterwards.
class TTempDir {
 public:
  TTempDir() {
    std::string pattern = ::testing::TempDir() + "kv_dbf_XXXXXX";
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    FPath = pattern;
  }
  ~TTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(FPath, ec);
  }
  std::string File(const std::string& AName) const { return FPath + "/" + AName; }

 private:
  std::string FPath;
};

inline std::string FileBytes(const std::string& APath) { return ReadFileBytes(APath); }

inline void WriteBytes(const std::string& APath, const std::string& ABytes) {
  std::ofstream out(APath, std::ios::binary | std::ios::trunc);
  out.write(ABytes.data(), static_cast<std::streamsize>(ABytes.size()));
}

inline uint32_t U16At(const std::string& AData, size_t AOffset) {
  return static_cast<uint8_t>(AData.at(AOffset)) | (static_cast<uint8_t>(AData.at(AOffset + 1)) << 8);
}

inline uint32_t U32At(const std::string& AData, size_t AOffset) {
  return U16At(AData, AOffset) | (U16At(AData, AOffset + 2) << 16);
}

// Runs AAction and checks that it raises EXBaseException with AMessage.
template <class F>
::testing::AssertionResult RaisesXBase(F&& AAction, const std::string& AMessage) {
  try {
    AAction();
  } catch (const EXBaseException& e) {
    if (e.Message() == AMessage) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "raised \"" << e.Message() << "\", expected \"" << AMessage << "\"";
  }
  return ::testing::AssertionFailure() << "raised nothing, expected \"" << AMessage << "\"";
}

}  // namespace kv::testing
