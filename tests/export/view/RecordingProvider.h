// A recording provider for the view exporter tests: it keeps the cell grid
// an exporter produces (values, style numbers, merged areas, widths, heights,
// nested contents) so that a test can read it back cell by cell.  Two kinds
// are registered: one with the cell cache interface and one without, so that
// the master-detail rules can be seen on both.  Test code only.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "export/core/Export.h"
#include "platform/Graphics.h"
#include "platform/Variant.h"

namespace kv::testing {

// Export kinds of the recording providers.
constexpr int kRecordingKind = 101;       // IcxExportProvider only
constexpr int kRecordingCacheKind = 102;  // also IcxCellInternalCache

struct TRecordedMerge {
  int Col, Row, RowSpan, ColSpan;
};

class TRecordingProvider : public TcxCustomExportProvider, public IcxExportProvider {
 public:
  explicit TRecordingProvider(const std::string& AFileName) : TcxCustomExportProvider(AFileName) {
    if (AFileName.find("/missing-folder/") != std::string::npos)
      throw EFCreateError("Cannot create file \"" + AFileName + "\".");
    FStyles = TcxExportStyleManager::Acquire(AFileName);
  }
  ~TRecordingProvider() override { FStyles->Release(); }
  static int ExportKind() { return kRecordingKind; }

  // Every provider made since the last Clear, in creation order, kept alive
  // so that a test can read what an exporter wrote after the exporter is gone.
  static std::vector<std::shared_ptr<TcxCustomExportProvider>>& Kept() {
    static std::vector<std::shared_ptr<TcxCustomExportProvider>> kept;
    return kept;
  }
  // The provider made ANumber-th (0 first), as a recording provider.
  static TRecordingProvider* Made(size_t ANumber) {
    return ANumber < Kept().size() ? dynamic_cast<TRecordingProvider*>(Kept()[ANumber].get()) : nullptr;
  }

  void Finish() override { ++FinishCount; }
  const TcxExportCellStyle* CellStyleAt(int ACol, int ARow) override {
    int no = Style(ACol, ARow);
    return no < 0 ? &FDefaultStyle : FStyles->StyleAt(no);
  }
  const TcxExportCellStyle* StyleAt(int AStyleIndex) override { return FStyles->StyleAt(AStyleIndex); }
  int AddStyle(const TcxExportCellStyle& AStyle) override { return FStyles->AddStyle(AStyle); }
  void PutDouble(int ACol, int ARow, double AValue) override { At(ACol, ARow).Value = Variant(AValue); }
  void PutInteger(int ACol, int ARow, int32_t AValue) override { At(ACol, ARow).Value = Variant(AValue); }
  void PutText(int ACol, int ARow, const std::string& AText) override { At(ACol, ARow).Value = Variant(AText); }
  void PutWideText(int ACol, int ARow, const std::u16string& AText) override { At(ACol, ARow).Value = Variant(AText); }
  void ApplyStyleIndex(int ACol, int ARow, int AStyleIndex) override {
    FStyles->StyleAt(AStyleIndex);  // raises for an index that is not registered
    At(ACol, ARow).StyleNo = AStyleIndex;
  }
  void CopyCellStyle(int ACol, int ARow, int ASourceCol, int ASourceRow) override {
    At(ACol, ARow).StyleNo = At(ASourceCol, ASourceRow).StyleNo;
  }
  void ApplyStyle(int ACol, int ARow, const TcxExportCellStyle& AStyle) override {
    ApplyStyleIndex(ACol, ARow, AddStyle(AStyle));
  }
  void ApplyMergedStyle(int ACol, int ARow, int ARowSpan, int AColSpan, int AStyleIndex) override {
    for (int r = ARow; r < ARow + ARowSpan; ++r)
      for (int c = ACol; c < ACol + AColSpan; ++c) ApplyStyleIndex(c, r, AStyleIndex);
    MergeCells(ACol, ARow, ARowSpan, AColSpan);
  }
  void MergeCells(int ACol, int ARow, int ARowSpan, int AColSpan) override {
    At(ACol, ARow);
    At(ACol + AColSpan - 1, ARow + ARowSpan - 1);
    if (ARowSpan > 1 || AColSpan > 1) Merges.push_back({ACol, ARow, ARowSpan, AColSpan});
  }
  void PutValue(int ACol, int ARow, const Variant& AValue) override { At(ACol, ARow).Value = AValue; }
  void DefineColumnWidth(int ACol, int AWidth) override {
    At(ACol, 0);
    ColumnWidths[ACol] = AWidth;
  }
  void DefineDefaultStyle(const TcxExportCellStyle& AStyle) override { FDefaultStyle = AStyle; }
  void DefineGrid(int AColCount, int ARowCount, bool AShowGridLines) override {
    EXPECT_FALSE(GridDefined) << "DefineGrid twice";
    GridDefined = true;
    ColCount = AColCount;
    RowCount = ARowCount;
    ShowGridLines = AShowGridLines;
    FCells.assign(static_cast<size_t>(AColCount) * static_cast<size_t>(ARowCount), TCell());
  }
  void DefineRowHeight(int ARow, int AHeight) override {
    At(0, ARow);
    RowHeights[ARow] = AHeight;
  }
  // Records a picture as "<picture W x H .ext>".
  void PutGraphic(int ACol, int ARow, TGraphic& AGraphic) override {
    At(ACol, ARow).Value = Variant("<picture " + std::to_string(AGraphic.Width()) + " x " +
                                   std::to_string(AGraphic.Height()) + " ." + AGraphic.DefaultExtension() + ">");
  }
  bool AcceptsGraphics() override { return false; }

  // What was recorded.
  struct TCell {
    Variant Value;
    int StyleNo = -1;
  };
  const Variant& Value(int ACol, int ARow) { return At(ACol, ARow).Value; }
  // The cell's value as text ("" for none).
  std::string Text(int ACol, int ARow) {
    const Variant& v = Value(ACol, ARow);
    return v.IsEmptyOrNull() ? std::string() : v.AsString();
  }
  int Style(int ACol, int ARow) { return At(ACol, ARow).StyleNo; }
  const TcxExportCellStyle& StyleOf(int ACol, int ARow) { return *CellStyleAt(ACol, ARow); }
  // The merged area whose top-left cell is (ACol, ARow), if any (the last one given).
  const TRecordedMerge* MergeAt(int ACol, int ARow) const {
    const TRecordedMerge* found = nullptr;
    for (const auto& m : Merges)
      if (m.Col == ACol && m.Row == ARow) found = &m;
    return found;
  }
  // The texts of one row, column by column.
  std::vector<std::string> RowTexts(int ARow) {
    std::vector<std::string> texts;
    for (int c = 0; c < ColCount; ++c) texts.push_back(Text(c, ARow));
    return texts;
  }
  TcxExportStyleManager& Styles() { return *FStyles; }

  bool GridDefined = false;
  int ColCount = 0, RowCount = 0;
  bool ShowGridLines = true;
  int FinishCount = 0;
  std::vector<TRecordedMerge> Merges;
  std::map<int, int> ColumnWidths, RowHeights;

 protected:
  TCell& At(int ACol, int ARow) {
    if (!GridDefined) throw EcxExportData("cell operation before DefineGrid");
    if (ACol < 0 || ACol >= ColCount || ARow < 0 || ARow >= RowCount)
      throw EcxExportData("cell outside the grid: " + std::to_string(ACol) + "," + std::to_string(ARow));
    return FCells[static_cast<size_t>(ACol) * static_cast<size_t>(RowCount) + static_cast<size_t>(ARow)];
  }

 private:
  TcxExportStyleManager* FStyles = nullptr;
  TcxExportCellStyle FDefaultStyle;
  std::vector<TCell> FCells;
};

// The same provider with the cell cache interface.
class TRecordingCacheProvider : public TRecordingProvider, public IcxCellInternalCache {
 public:
  using TRecordingProvider::TRecordingProvider;
  static int ExportKind() { return kRecordingCacheKind; }
  // Like the page and document writers, this one takes pictures.
  bool AcceptsGraphics() override { return true; }

  void OutputCells(TStream&) override {}
  void OutputStyles(TStream&) override {}
  void RemoveCellCache(int ACol, int ARow) override { Nested.erase({ACol, ARow}); }
  void PutCellCache(int ACol, int ARow, std::shared_ptr<IcxCellInternalCache> AContent) override {
    At(ACol, ARow);
    if (!AContent)
      RemoveCellCache(ACol, ARow);
    else
      Nested[{ACol, ARow}] = std::move(AContent);
  }
  // The nested provider held by a cell, as a recording provider (nullptr for none).
  TRecordingProvider* NestedAt(int ACol, int ARow) const {
    auto it = Nested.find({ACol, ARow});
    return it == Nested.end() ? nullptr : dynamic_cast<TRecordingProvider*>(it->second.get());
  }

  std::map<std::pair<int, int>, std::shared_ptr<IcxCellInternalCache>> Nested;
};

// Registers both recording providers (their constructors keep every
// provider made in TRecordingProvider::Kept()).
inline void RegisterRecordingProviders() {
  auto keep = [](TcxExportProviderClass AClass) {
    auto construct = AClass.Construct;
    AClass.Construct = [construct](const std::string& AFileName) {
      auto provider = construct(AFileName);
      TRecordingProvider::Kept().push_back(provider);
      return provider;
    };
    return AClass;
  };
  TcxExport::RegisterProvider(keep(TcxExportProviderClass::Of<TRecordingProvider>("TRecordingProvider")));
  TcxExport::RegisterProvider(keep(TcxExportProviderClass::Of<TRecordingCacheProvider>("TRecordingCacheProvider")));
}

}  // namespace kv::testing
