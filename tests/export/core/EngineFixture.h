// A fixture that gives each test a freshly started export engine and leaves
// none of its registrations behind.
#pragma once

#include <gtest/gtest.h>

#include "export/core/Export.h"

namespace kv::testing {

class ExportEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetEngine();
    EnsureExportEngine();
  }
  void TearDown() override { ResetEngine(); }

  static void ResetEngine() {
    try {
      FinalizeExportEngine();
    } catch (const EcxExportData&) {
      // a test left a manager in use; its users keep it
    }
  }
};

}  // namespace kv::testing
