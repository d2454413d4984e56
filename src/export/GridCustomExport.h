// The common base of the view exporters, `TcxGridCustomExport`.
//
// An exporter lays one grid view out as a rectangle of styled cells and fills
// a provider (a format writer, export/core) with it.  The base owns what all
// view exporters share:
//   - the provider references (and the provider's cell cache, when it has one);
//   - the column and row scales from which the cell grid is derived;
//   - the list of records to export, chosen by the selection and expansion
//     rules (CollectRecords);
//   - the build pipeline (Build): grid mode off, records, base style, layout,
//     scales, grid, cells, grid mode back on;
//   - the conversion of a view's style parameters into a cell style, and the
//     writers of styled, outlined and merged cell areas;
//   - the value rules: a cell carries the record's native value or its
//     display text (GetCellValue).
// The layout of a view kind is its subclass's (TableViewExport.h).
//
// Exporter "classes" are values of `TcxGridExportClass`: a name and the two
// constructors, so that the entry points can choose a class by the view and
// create it later, and a master exporter can create detail exporters.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "export/GridExportMessages.h"
#include "export/core/Export.h"
#include "gridpack/Styles.h"
#include "platform/Fonts.h"
#include "platform/Types.h"
#include "platform/Variant.h"

namespace kv {

class TcxGrid;
class TcxCustomGridView;
class TcxCustomGridTableView;
class TcxCustomGridTableItem;
class TcxCustomGridRecord;
class TcxCustomGridTableViewInfo;
class TcxCustomDataController;
class TcxCustomEditProperties;
class TcxGridCustomExport;

// Sets of border sides: bit 0 left, bit 1 top, bit 2 right, bit 3 bottom
// (the order of TcxExportCellStyle::CellBorders).
using TcxBorderSides = uint8_t;
enum : TcxBorderSides {
  cxBorderSideLeft = 1 << cxBorderLeft,
  cxBorderSideTop = 1 << cxBorderTop,
  cxBorderSideRight = 1 << cxBorderRight,
  cxBorderSideBottom = 1 << cxBorderBottom,
  cxBorderSidesAll = 0x0F,
};

// An area of cells: start column and row, finish column and row (one past
// the last: the spans are finish minus start).
struct TcxCellArea {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  int ColSpan() const { return Right - Left; }
  int RowSpan() const { return Bottom - Top; }
};

// An exporter class: its name and its two constructors.
struct TcxGridExportClassInfo {
  const char* ClassName;
  // Create(AFileName, AExportKind, AView, AGrid, ALayoutInfo).
  std::unique_ptr<TcxGridCustomExport> (*Create)(const std::string& AFileName, int AExportKind,
                                                 TcxCustomGridView* AView, TcxGrid* AGrid,
                                                 TcxCustomGridTableViewInfo* ALayoutInfo);
  // CreateForDetail(AMaster, AView, ALayoutInfo).
  std::unique_ptr<TcxGridCustomExport> (*CreateForDetail)(TcxGridCustomExport& AMaster, TcxCustomGridView* AView,
                                                          TcxCustomGridTableViewInfo* ALayoutInfo);
};
using TcxGridExportClass = const TcxGridExportClassInfo*;

// The class value of exporter class T (one per class, compared by address).
template <class T>
TcxGridExportClass GridExportClassOf(const char* AClassName) {
  static const TcxGridExportClassInfo info{
      AClassName,
      [](const std::string& AFileName, int AExportKind, TcxCustomGridView* AView, TcxGrid* AGrid,
         TcxCustomGridTableViewInfo* ALayoutInfo) -> std::unique_ptr<TcxGridCustomExport> {
        return std::make_unique<T>(AFileName, AExportKind, AView, AGrid, ALayoutInfo);
      },
      [](TcxGridCustomExport& AMaster, TcxCustomGridView* AView, TcxCustomGridTableViewInfo* ALayoutInfo)
          -> std::unique_ptr<TcxGridCustomExport> { return std::make_unique<T>(AMaster, AView, ALayoutInfo); }};
  return &info;
}

// The phases of an export that a progress observer hears of.
enum class TcxExportPhase {
  LayOut,      // records laid out: ACount of ATotal
  WriteCells,  // cells written: ACount (ATotal -1: not known beforehand)
  Finish,      // the provider writes its file (once, ACount 0, ATotal -1)
};

// A process-wide observer of the running export (the command line's progress
// line).  Only the exporter an entry point runs reports; detail exporters of
// master rows do not.  Calls come every 256 records and every 4,096 cells,
// and once at the end of each phase with the final count.
using TcxExportProgressObserver = std::function<void(TcxExportPhase APhase, int ACount, int ATotal)>;

// Installs AObserver (an empty one: none) and returns the one installed before.
TcxExportProgressObserver SetExportProgressObserver(TcxExportProgressObserver AObserver);

class TcxGridCustomExport {
 public:
  // Creates the provider of AExportKind for AFileName through the engine's
  // registry and keeps its references; a stream error while doing so (a
  // target file that cannot be created) becomes EcxGridExport
  // (scxCantCreateExportOutputFile); other errors pass through.
  // ALayoutInfo: the layout object to read (detail exporters), or nullptr
  // to take the view's own when first needed.
  TcxGridCustomExport(const std::string& AFileName, int AExportKind, TcxCustomGridView* AView, TcxGrid* AGrid,
                      TcxCustomGridTableViewInfo* ALayoutInfo);
  // A detail exporter: a provider of its own of the master's kind and target
  // name, the master's grid, and the master's expansion and selection
  // settings; native values are never used for details.
  TcxGridCustomExport(TcxGridCustomExport& AMaster, TcxCustomGridView* AView, TcxCustomGridTableViewInfo* ALayoutInfo);
  // Drops the provider references (the provider frees itself with the last).
  virtual ~TcxGridCustomExport();
  TcxGridCustomExport(const TcxGridCustomExport&) = delete;
  TcxGridCustomExport& operator=(const TcxGridCustomExport&) = delete;

  // Build, BeforeFinish, then the provider's Finish (which writes the file).
  void Execute();

  // Settings of the run, set by the caller before Execute.
  bool FExpandRecords = false;
  bool FAllRecords = false;
  bool FNativeValues = false;

  // What the run works on and with.
  TcxCustomGridView* View() const { return FView; }
  TcxGrid* GridControl() const { return FGridControl; }
  const std::string& TargetFile() const { return FTargetFile; }
  int ExportKind() const { return FExportKind; }
  const std::shared_ptr<IcxExportProvider>& ExportProvider() const { return FExportProvider; }
  const std::shared_ptr<IcxCellInternalCache>& CellCache() const { return FCellCache; }
  bool HasCellCache() const { return FHasCellCache; }
  // Whether the last Build defined a grid (the layout gave at least one cell).
  bool BuiltCells() const { return FBuiltCells; }

  // The pipeline: BeforeBuild; then, protected so that AfterBuild runs
  // whatever happens: CollectRecords, RegisterBaseStyle, LayOut, both scales
  // arranged, and, when both have an interval, DefineGrid and WriteCells.
  virtual void Build();

 protected:
  // Runs between Build and the provider's Finish; nothing here.
  virtual void BeforeFinish() {}
  // A new layout object of AView laid out in ABounds from record 0, for a
  // table-kind view (card views included); nullptr for other views.
  virtual std::unique_ptr<TcxCustomGridTableViewInfo> CreateDetailViewInfo(TcxCustomGridView* AView,
                                                                           const TRect& ABounds);
  // The layout; nothing here.
  virtual void LayOut() {}
  // Column widths, row heights that differ from FBaseRowHeight, and the base
  // style on every cell.
  virtual void WriteCells();
  // Fills FExportRecords (selection and expansion rules).
  virtual void CollectRecords();
  // Restores grid mode when BeforeBuild switched it off.
  virtual void AfterBuild();
  // The value of a cell: the record's native value when UsesNativeValue,
  // else its display text (after the item's OnGetDisplayText) as 8-bit text.
  // AProperties: the item's editor properties for the record.
  virtual void GetCellValue(TcxCustomGridRecord* ARecord, TcxCustomGridTableItem* AItem, Variant& AValue,
                            TcxCustomEditProperties*& AProperties);
  // Switches a data-bound view out of grid mode (saving the dataset
  // position), then seeds both scales with the boundary 0.
  virtual void BeforeBuild();
  // Native values: date, spin and time editors, and the numeric text
  // editors of IsNumericTextEditor, when FNativeValues is set.
  virtual bool UsesNativeValue(TcxCustomEditProperties* AProperties, TcxCustomGridTableItem* AItem);
  // Builds FBaseStyle from the view's background style, makes it the
  // provider's default style and registers it.
  virtual void RegisterBaseStyle();

  // --- Progress ----------------------------------------------------------
  // Tells the progress observer that ADone of the export records are laid
  // out (exporters call it as they go; Build reports the end).
  void ReportRecordsLaidOut(int ADone) {
    if (FReportsProgress && (ADone & 255) == 0) ReportProgress(TcxExportPhase::LayOut, ADone, RecordCount());
  }

  // --- Areas -------------------------------------------------------------
  // The cell area of a pixel rectangle (each edge must be a boundary).
  TcxCellArea CellSpan(const TRect& ABounds) const;
  // The same, each search limited to an index range of boundaries.
  TcxCellArea CellSpanWithin(const TRect& ABounds, const TcxCellArea& AIndexRange) const;
  // Every boundary of both scales (the whole grid).
  TcxCellArea WholeGridRange() const;
  // A cell style from style parameters: the engine default style with the
  // parameters' fill, text colour and font, the alignment, and a 1-pixel
  // border of ABorderColor on the sides of ABorderSides (none when
  // ABorderColor is clDefault).
  TcxExportCellStyle StyleFromParams(const TcxViewParams& AParams, TColor ABorderColor, TcxBorderSides ABorderSides,
                                     TAlignment AAlignment) const;
  int AddParamsStyle(const TcxViewParams& AParams, TAlignment AAlignment);
  // FBaseStyle with another fill colour.
  int AddFillStyle(TColor AColor);
  // The fill colour the view's styles give for a slot and an item.
  int AddViewFillStyle(int AStyleKind, TcxCustomGridTableItem* AItem);
  // Gives every cell of the area the style; with a border colour and sides,
  // the cells on the area's edges get those sides drawn (an outline).
  void FillCells(const TcxCellArea& AArea, int AStyleIndex, TcxBorderSides ABorderSides, TColor ABorderColor);
  void FillBounds(const TRect& ABounds, int AStyleIndex, TcxBorderSides ABorderSides, TColor ABorderColor);
  void WriteEmptyArea(const TRect& ABounds, const TcxCellArea& AIndexRange, int AStyleIndex);
  // Puts the value (unless null) into the area's first cell and merges the
  // area with the style.
  void WriteValueArea(const TRect& ABounds, const TcxCellArea& AIndexRange, const Variant& AValue, int AStyleIndex);
  // The same with the value (or picture) of a record's item; AItem nullptr
  // only merges.
  void WriteItemArea(const TRect& ABounds, const TcxCellArea& AIndexRange, TcxCustomGridTableItem* AItem,
                     TcxCustomGridRecord* ARecord, int AStyleIndex);
  void PutStyledValue(int ACol, int ARow, const TcxExportCellStyle& AStyle, const Variant& AValue);
  // For an item with image properties: puts the record's picture (if its
  // value holds one) and answers true; false for other items.
  bool WritePicture(int ACol, int ARow, TcxCustomGridTableItem* AItem, TcxCustomGridRecord* ARecord);

  // --- Measures ----------------------------------------------------------
  // Text height of "Wg" plus 4 pixels.
  static int FontRowHeight(const TFont& AFont);
  static int FontRowHeight(const TcxViewParams& AParams);
  // Text width plus 4 pixels.
  static int TextWidthPlus(const TFont& AFont, const std::string& AText);
  static int TextWidthPlus(const TcxViewParams& AParams, const std::string& AText);

  // --- Values ------------------------------------------------------------
  // Currency items with numeric text editors and currency editors carry a
  // currency; a currency value of another item becomes a float; a value
  // that cannot be converted stays as it is.
  void ConvertNativeValue(TcxCustomEditProperties* AProperties, TcxCustomGridTableItem* AItem, Variant& ADest,
                          const Variant& ASource);
  // The same, taking the source over when it stays as it is.
  void ConvertNativeValue(TcxCustomEditProperties* AProperties, TcxCustomGridTableItem* AItem, Variant& ADest,
                          Variant&& ASource);
  // The item's value type is currency, or (data-bound views) its float, BCD
  // or FMT-BCD field is marked currency.
  bool IsCurrencyItem(TcxCustomGridTableItem* AItem) const;
  // FNativeValues is set and the properties are mask, calc or currency ones.
  bool IsNumericTextEditor(TcxCustomEditProperties* AProperties) const;

  // --- Records -----------------------------------------------------------
  // A table-kind view with a selected record, or with a record marked
  // through the selection of an expanded master row's detail view.
  bool ViewHasSelection(TcxCustomGridView* AView) const;
  bool IsRecordMarked(TcxCustomGridRecord* ARecord) const;

  TcxCustomDataController* DataController() const;
  // FLayoutInfo, taken from the view when none was given.
  TcxCustomGridTableViewInfo* LayoutInfo();
  int RecordCount() const { return static_cast<int>(FExportRecords.size()); }
  TcxCustomGridRecord* Records(int AIndex) const { return FExportRecords[static_cast<size_t>(AIndex)]; }

  // Fields.
  TcxExportScale FColumnScale;
  int FBaseRowHeight = 19;
  TcxExportCellStyle FBaseStyle{};
  int FBaseStyleIndex = 0;
  int FExportKind = 0;
  std::string FTargetFile;
  TcxGrid* FGridControl = nullptr;
  TcxCustomGridView* FView = nullptr;
  std::shared_ptr<IcxCellInternalCache> FCellCache;
  bool FHasCellCache = false;
  std::shared_ptr<IcxExportProvider> FExportProvider;
  TcxExportScale FRowScale;
  std::vector<TcxCustomGridRecord*> FExportRecords;
  bool FGridModeWasOn = false;
  TcxCustomGridTableViewInfo* FLayoutInfo = nullptr;

 private:
  // The boundary indexes last found on a scale: consecutive cells mostly
  // start where the last one started or ended, so these are tried before a
  // search.
  struct TSpanHint {
    int Start = 0;
    int Finish = 0;
  };
  static void FindSpan(const TcxExportScale& AScale, int32_t AStart, int32_t AFinish, int ALo, int AHi,
                       TSpanHint& AHint, int& AStartIndex, int& AFinishIndex);
  // What the value rules need to know of a set of editor properties.
  struct TPropertiesKind {
    const TcxCustomEditProperties* Properties;
    const char* ClassName;  // the class's name literal: a freed object's address may come back as another class
    bool DateSpinTime;      // date, spin or time properties
    bool NumericText;       // mask, calc or currency properties
    bool Currency;          // currency properties
  };
  const TPropertiesKind& KindOf(TcxCustomEditProperties* AProperties) const;
  // The kind ConvertNativeValue converts a source to; varEmpty: none.
  TVarType NativeTarget(TcxCustomEditProperties* AProperties, TcxCustomGridTableItem* AItem,
                        const Variant& ASource) const;

  // Tells the observer (when there is one and this exporter reports).
  void ReportProgress(TcxExportPhase APhase, int ACount, int ATotal) const;
  // Counts a written cell, reporting every 4,096.
  void CountCell() {
    if (FReportsProgress && (++FCellsWritten & 4095) == 0)
      ReportProgress(TcxExportPhase::WriteCells, FCellsWritten, -1);
  }

  bool FReportsProgress = true;  // false for detail exporters
  int FCellsWritten = 0;
  bool FBuiltCells = false;
  mutable TSpanHint FColumnHint, FRowHint;
  mutable std::vector<TPropertiesKind> FPropertiesKinds;
  mutable size_t FLastPropertiesKind = 0;
  mutable std::vector<std::pair<const TcxCustomGridTableItem*, bool>> FCurrencyItems;
  mutable size_t FLastCurrencyItem = 0;
};

// The alignment of a cell style for the class library's alignment.
uint8_t ExportAlignment(TAlignment AAlignment);

}  // namespace kv
