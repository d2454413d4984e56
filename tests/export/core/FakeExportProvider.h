// A recording provider for the engine's tests: it implements both provider
// interfaces, keeps what it is given and counts its lives.  Test code only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "export/core/Export.h"
#include "platform/Variant.h"

namespace kv::testing {

struct TFakeLog {
  static int& Alive() {
    static int alive = 0;
    return alive;
  }
  static std::vector<std::string>& Events() {
    static std::vector<std::string> events;
    return events;
  }
};

// A provider of kind AKind that implements only IcxExportProvider.
template <int AKind>
class TFakeExportProvider : public TcxCustomExportProvider, public IcxExportProvider {
 public:
  explicit TFakeExportProvider(const std::string& AFileName) : TcxCustomExportProvider(AFileName) {
    if (AFileName == "fail") throw EFCreateError("Cannot create file \"fail\".");
    FStyles = TcxExportStyleManager::Acquire(AFileName);
    ++TFakeLog::Alive();
  }
  ~TFakeExportProvider() override {
    --TFakeLog::Alive();
    FStyles->Release();
  }
  static int ExportKind() { return AKind; }

  void Finish() override { TFakeLog::Events().push_back("Finish"); }
  const TcxExportCellStyle* CellStyleAt(int, int) override { return nullptr; }
  const TcxExportCellStyle* StyleAt(int AStyleIndex) override { return FStyles->StyleAt(AStyleIndex); }
  int AddStyle(const TcxExportCellStyle& AStyle) override { return FStyles->AddStyle(AStyle); }
  void PutDouble(int, int, double) override {}
  void PutInteger(int, int, int32_t) override {}
  void PutText(int, int, const std::string&) override {}
  void PutWideText(int, int, const std::u16string&) override {}
  void ApplyStyleIndex(int, int, int) override {}
  void CopyCellStyle(int, int, int, int) override {}
  void ApplyStyle(int, int, const TcxExportCellStyle&) override {}
  void ApplyMergedStyle(int, int, int, int, int) override {}
  void MergeCells(int, int, int, int) override {}
  void PutValue(int, int, const Variant&) override {}
  void DefineColumnWidth(int, int) override {}
  void DefineDefaultStyle(const TcxExportCellStyle&) override {}
  void DefineGrid(int, int, bool) override {}
  void DefineRowHeight(int, int) override {}
  void PutGraphic(int, int, TGraphic&) override {}
  bool AcceptsGraphics() override { return false; }

  TcxExportStyleManager* Styles() const { return FStyles; }

 protected:
  void DoBeforeDestroy() override {
    // The object is still whole here: its interface still answers.
    TFakeLog::Events().push_back("DoBeforeDestroy " + std::to_string(ExportKind()) + " " +
                                 std::to_string(FStyles->UserCount()));
  }

 private:
  TcxExportStyleManager* FStyles = nullptr;
};

// A provider of kind AKind that also offers IcxCellInternalCache.
template <int AKind>
class TFakeCacheProvider : public TFakeExportProvider<AKind>, public IcxCellInternalCache {
 public:
  using TFakeExportProvider<AKind>::TFakeExportProvider;
  void OutputCells(TStream&) override {}
  void OutputStyles(TStream&) override {}
  void RemoveCellCache(int, int) override {}
  void PutCellCache(int, int, std::shared_ptr<IcxCellInternalCache>) override {}
};

template <class T>
TcxExportProviderClass FakeClass(const char* AName) {
  return TcxExportProviderClass::Of<T>(AName);
}

}  // namespace kv::testing
