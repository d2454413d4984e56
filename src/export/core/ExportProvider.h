// The provider contract of the export engine.
//
// A view exporter fills a format writer (a provider) only through
// `IcxExportProvider`; the text-family writers also offer
// `IcxCellInternalCache` for nested cell content.  Providers are reference
// counted: they are held by `std::shared_ptr` and free themselves with their
// last reference; asking a provider for its second interface is a
// `std::dynamic_pointer_cast`.  `TcxCustomExportProvider` is the common base
// of all providers; the registry (ExportRegistry.h) creates them by export
// kind.
//
// Cell coordinates are zero-based, column first and row second; spans of an
// area are given rows first (`ARowSpan`, then `AColSpan`).  Text is UTF-8
// inside the program ("8-bit text"); providers encode it when they write.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "export/core/ExportCellStyle.h"

namespace kv {

class TGraphic;
class TStream;
class Variant;

// Export kinds: the numbers that select a format writer.
enum : int {
  cxExportToExcel = 1,
  cxExportToHtml = 2,
  cxExportToXml = 3,
  cxExportToText = 4,
};

// The provider interface.  The 20 operations are declared in their slot order.
class IcxExportProvider {
 public:
  static constexpr const char* IID = "{442A08A8-CDDA-4FD6-8E15-9D8BD34554F6}";
  virtual ~IcxExportProvider() = default;

  // 1. Writes the target file from everything put so far.
  virtual void Finish() = 0;
  // 2. The style a cell currently has (provider-specific for a cell outside
  //    the grid or without a style; may be nullptr).
  virtual const TcxExportCellStyle* CellStyleAt(int ACol, int ARow) = 0;
  // 3. The registered style of an index.
  virtual const TcxExportCellStyle* StyleAt(int AStyleIndex) = 0;
  // 4. Registers the style or finds an equal registered one; its index.
  virtual int AddStyle(const TcxExportCellStyle& AStyle) = 0;
  // 5. Numeric cell value.
  virtual void PutDouble(int ACol, int ARow, double AValue) = 0;
  // 6. Integer cell value.
  virtual void PutInteger(int ACol, int ARow, int32_t AValue) = 0;
  // 7. Text cell value as 8-bit text (the provider decides the code page).
  virtual void PutText(int ACol, int ARow, const std::string& AText) = 0;
  // 8. Text cell value as UTF-16.
  virtual void PutWideText(int ACol, int ARow, const std::u16string& AText) = 0;
  // 9. Gives a cell a registered style.
  virtual void ApplyStyleIndex(int ACol, int ARow, int AStyleIndex) = 0;
  // 10. Gives a cell the style of another cell.
  virtual void CopyCellStyle(int ACol, int ARow, int ASourceCol, int ASourceRow) = 0;
  // 11. AddStyle, then ApplyStyleIndex.
  virtual void ApplyStyle(int ACol, int ARow, const TcxExportCellStyle& AStyle) = 0;
  // 12. Merges the area whose top-left cell is (ACol, ARow) and gives all its
  //     cells the style.  Row span first.
  virtual void ApplyMergedStyle(int ACol, int ARow, int ARowSpan, int AColSpan, int AStyleIndex) = 0;
  // 13. Merges the area, keeping the styles.  Row span first.
  virtual void MergeCells(int ACol, int ARow, int ARowSpan, int AColSpan) = 0;
  // 14. Cell value of any kind; the provider decides by the value's kind.
  virtual void PutValue(int ACol, int ARow, const Variant& AValue) = 0;
  // 15. Width of one column in pixels.
  virtual void DefineColumnWidth(int ACol, int AWidth) = 0;
  // 16. The provider's default style.
  virtual void DefineDefaultStyle(const TcxExportCellStyle& AStyle) = 0;
  // 17. Size of the cell grid; comes before any cell operation.
  virtual void DefineGrid(int AColCount, int ARowCount, bool AShowGridLines) = 0;
  // 18. Height of one row in pixels.
  virtual void DefineRowHeight(int ARow, int AHeight) = 0;
  // 19. Picture cell value (ignored by providers that take no pictures).
  virtual void PutGraphic(int ACol, int ARow, TGraphic& AGraphic) = 0;
  // 20. Whether PutGraphic is honoured.
  virtual bool AcceptsGraphics() = 0;
};

// The second interface of the text-family providers: nested cell content of
// master-detail exports.  Four operations in their slot order.
class IcxCellInternalCache {
 public:
  static constexpr const char* IID = "{DEF62C25-0B11-4BD0-AE25-BABF7EDD7883}";
  virtual ~IcxCellInternalCache() = default;

  // 1. Writes the cell part of the provider's output into AStream.
  virtual void OutputCells(TStream& AStream) = 0;
  // 2. Writes the style part of the provider's output into AStream.
  virtual void OutputStyles(TStream& AStream) = 0;
  // 3. Drops the nested content a cell holds, if any.
  virtual void RemoveCellCache(int ACol, int ARow) = 0;
  // 4. Makes a cell hold AContent (nullptr acts as RemoveCellCache).
  virtual void PutCellCache(int ACol, int ARow, std::shared_ptr<IcxCellInternalCache> AContent) = 0;
};

// The common base of all providers.
//
// Subclasses provide a constructor taking the target file name and a static
// `ExportKind()`; they are created through `Create<T>` (or the registry),
// which runs `DoBeforeDestroy` just before the object is destroyed, while the
// object is still whole.
class TcxCustomExportProvider {
 public:
  // AFileName: the target file name as 8-bit text; FTargetName becomes its
  // UTF-16 form with every separator made native (NormalizeExportPath).
  explicit TcxCustomExportProvider(const std::string& AFileName);
  virtual ~TcxCustomExportProvider() = default;
  TcxCustomExportProvider(const TcxCustomExportProvider&) = delete;
  TcxCustomExportProvider& operator=(const TcxCustomExportProvider&) = delete;

  // The export kind of the class; the base answers -1, a kind that is never
  // registered.
  static int ExportKind() { return -1; }

  const std::u16string& TargetName() const { return FTargetName; }

  // Creates a provider of class T, held by a shared_ptr whose deleter runs
  // DoBeforeDestroy before destruction.
  template <class T, class... Args>
  static std::shared_ptr<T> Create(Args&&... AArgs) {
    return std::shared_ptr<T>(new T(std::forward<Args>(AArgs)...), &TcxCustomExportProvider::Destroy);
  }

 protected:
  // Runs just before destruction; the base does nothing.  Must not throw.
  virtual void DoBeforeDestroy() {}

  std::u16string FTargetName;

 private:
  static void Destroy(TcxCustomExportProvider* AProvider);
};

}  // namespace kv
