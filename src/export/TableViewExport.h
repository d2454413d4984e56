// The table view exporter, `TcxGridTableViewExport`.
//
// It lays a table view out as a rectangle of cells in two passes.
//
// The layout pass (`LayOut`) walks the view and creates export items:
// rectangles in pixels of a virtual sheet (x from the left edge of the first
// data column, y down from the top of the header), each with a text or value
// and a registered style.  Every item adds its edges to the column and row
// scales.  In order: the column headers (which also give the cell templates:
// where each column's cell sits inside one record), every exported record
// (group rows with their indents and expand cells, data rows, master rows
// with a placeholder for the expanded detail, preview lines, group footers),
// the view footer, and the merging of equal neighbouring cells.
//
// The cell pass (`WriteCells`) maps every item to a cell area of the arranged
// scales and writes it to the provider, merged when it covers several cells:
// the base style everywhere first, then the items in creation order (later
// items overwrite earlier ones where they overlap: the fill of a row comes
// before its cells).  A detail placeholder is filled by exporting the detail
// view into a provider of its own, nested in the cell through the provider's
// cell cache; providers without one (the workbook) export no details.
//
// A big view has an item per cell; to keep that cheap, the data cells of a
// record in columns without cell merging share one item and keep only their
// style indexes (FRowCellStyles); they are written exactly as their own
// items would be.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "export/GridCustomExport.h"
#include "gridpack/TableView.h"
#include "platform/LargeMemory.h"

namespace kv {

class TcxGridTableViewInfo;
class TcxGridGroupRow;
class TcxDataSummaryItem;
class TcxDataSummaryItems;
class TcxDataGroupSummaryItems;

// A reference to one of the grid objects an export item stands for.
struct TcxExportObjectRef {
  // okRowCells: the data cells of one record kept in the exporter's row
  // cell list from position Offset (see TcxGridTableViewExport).
  enum TKind : uint8_t { okNone, okRecord, okColumn, okSummaryItem, okBand, okOffset, okRowCells };
  TKind Kind = okNone;
  union {
    const void* Object = nullptr;
    intptr_t Offset;  // okOffset: an integer (the banded exporter's band offsets)
  };

  static TcxExportObjectRef Record(TcxCustomGridRecord* ARecord) { return Make(okRecord, ARecord); }
  static TcxExportObjectRef Column(TcxGridColumn* AColumn) { return Make(okColumn, AColumn); }
  static TcxExportObjectRef SummaryItem(TcxDataSummaryItem* AItem) { return Make(okSummaryItem, AItem); }
  static TcxExportObjectRef Band(const void* ABand) { return Make(okBand, ABand); }
  static TcxExportObjectRef Integer(intptr_t AValue, TKind AKind = okOffset) {
    TcxExportObjectRef ref;
    ref.Kind = AKind;
    ref.Offset = AValue;
    return ref;
  }

  bool Assigned() const { return Kind != okNone; }
  // The object when it is of that kind; nullptr otherwise.
  TcxCustomGridRecord* AsRecord() const { return Kind == okRecord ? Cast<TcxCustomGridRecord>() : nullptr; }
  TcxGridColumn* AsColumn() const { return Kind == okColumn ? Cast<TcxGridColumn>() : nullptr; }
  TcxDataSummaryItem* AsSummaryItem() const { return Kind == okSummaryItem ? Cast<TcxDataSummaryItem>() : nullptr; }
  const void* AsBand() const { return Kind == okBand ? Object : nullptr; }
  intptr_t AsInteger() const { return Kind == okOffset || Kind == okRowCells ? Offset : 0; }

 private:
  static TcxExportObjectRef Make(TKind AKind, const void* AObject) {
    TcxExportObjectRef ref;
    ref.Kind = AObject ? AKind : okNone;
    ref.Object = AObject;
    return ref;
  }
  template <class T>
  T* Cast() const {
    return static_cast<T*>(const_cast<void*>(Object));
  }
};

// One item of the layout: a rectangle of the sheet and what it shows.
//
// A big export holds an item per cell, so the item is kept small: the two
// object references are a pointer and a kind each, and the text and native
// value, which only header, group, preview and summary items have, live in
// a block of their own.
class TcxExportVisualItem {
 public:
  TRect CellBounds;
  int32_t CellStyleIndex = -1;
  // Writes nothing (hidden header, merged-away cell, detail placeholder).
  bool IsHidden = false;
  // A background area: its cells get the style and an outline, no value.
  bool IsFill = false;
  // Merged into the cell above it.
  bool IsMerged = false;

  // Data cells: the record; a detail placeholder: the master row; templates
  // and header items: the column.
  TcxExportObjectRef SourceObject() const { return Ref(FSourceKind, FSource); }
  void SetSourceObject(TcxExportObjectRef AValue) { Store(AValue, FSourceKind, FSource); }
  // Data cells: the column; summary cells with a native value: the summary
  // item; otherwise none.
  TcxExportObjectRef ValueObject() const { return Ref(FValueKind, FValue); }
  void SetValueObject(TcxExportObjectRef AValue) { Store(AValue, FValueKind, FValue); }
  // The text written for text items ("" when none).
  const std::string& Text() const;
  void SetText(std::string AText);
  // The native value of a summary cell (null when none was set).
  const Variant& CellValue() const;
  void SetCellValue(const Variant& AValue);

 private:
  struct TExtra {
    std::string Text;
    Variant CellValue = Variant::Null();
  };
  static TcxExportObjectRef Ref(uint8_t AKind, const void* AObject) {
    TcxExportObjectRef ref;
    ref.Kind = static_cast<TcxExportObjectRef::TKind>(AKind);
    ref.Object = AObject;
    return ref;
  }
  static void Store(const TcxExportObjectRef& AValue, uint8_t& AKind, const void*& AObject) {
    AKind = AValue.Kind;
    AObject = AValue.Object;
  }
  TExtra& Extra();

  uint8_t FSourceKind = TcxExportObjectRef::okNone;
  uint8_t FValueKind = TcxExportObjectRef::okNone;
  const void* FSource = nullptr;
  const void* FValue = nullptr;
  std::unique_ptr<TExtra> FExtra;
};

// The owning list of export items: items in creation order, kept in blocks
// of a fixed size so that they never move and a big layout needs no
// reallocation.
class TcxExportItemList {
 public:
  static constexpr size_t BlockSize = 4096;
  size_t size() const { return FCount; }
  bool empty() const { return FCount == 0; }
  TcxExportVisualItem& operator[](size_t AIndex) { return FBlocks[AIndex / BlockSize][AIndex % BlockSize]; }
  const TcxExportVisualItem& operator[](size_t AIndex) const { return FBlocks[AIndex / BlockSize][AIndex % BlockSize]; }
  TcxExportVisualItem& emplace_back();
  void clear();

  template <class TItem, class TList>
  class TIterator {
   public:
    TIterator(TList* AList, size_t AIndex) : FList(AList), FIndex(AIndex) {}
    TItem& operator*() const { return (*FList)[FIndex]; }
    TItem* operator->() const { return &(*FList)[FIndex]; }
    TIterator& operator++() {
      ++FIndex;
      return *this;
    }
    bool operator!=(const TIterator& AOther) const { return FIndex != AOther.FIndex; }

   private:
    TList* FList;
    size_t FIndex;
  };
  using iterator = TIterator<TcxExportVisualItem, TcxExportItemList>;
  using const_iterator = TIterator<const TcxExportVisualItem, const TcxExportItemList>;
  iterator begin() { return {this, 0}; }
  iterator end() { return {this, FCount}; }
  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, FCount}; }

 private:
  std::vector<std::unique_ptr<TcxExportVisualItem[]>> FBlocks;
  size_t FCount = 0;
};

// One summary cell of a group row laid out along the columns.
class TcxExportGroupSummaryItem {
 public:
  TRect SummaryBounds;
  // The column the summary belongs to; nullptr for a summary without a
  // visible column and for the caption cell.
  TcxGridColumn* SummaryColumn = nullptr;
  int SummaryIndex = -1;
  TcxDataSummaryItem* SourceItem = nullptr;
  std::string SummaryText;
  Variant SummaryValue = Variant::Null();
  TcxViewParams SummaryParams;
};

class TcxGridTableViewExport : public TcxGridCustomExport {
 public:
  using TcxGridCustomExport::TcxGridCustomExport;
  ~TcxGridTableViewExport() override;

  static TcxGridExportClass Class();

  // What the layout made (for inspection after LayOut, before AfterBuild).
  const TcxExportItemList& ExportItems() const { return FExportItems; }

 protected:
  // --- Overrides of the base ---------------------------------------------
  // The base's, then one line per record and the lists made afresh.
  void BeforeBuild() override;
  // Header, records, footer (from x 0), then cell merging.
  void LayOut() override;
  // The base's cells, then every item in creation order.
  void WriteCells() override;
  // The base's (grid mode back on), then the lists freed.
  void AfterBuild() override;

  // --- Steps ---------------------------------------------------------------
  // Indent, preview and cells of a data row.
  virtual void ExportDataRow(int& ATop, int& ALeft, TcxCustomGridRecord* ARecord);
  // The view footer (AIsFooter) or one group footer.
  virtual void ExportSummaryRow(int& ATop, int& ALeft, TcxCustomGridRecord* ARecord, int AIndentCount, int ALevel,
                                const TcxDataSummaryItems* ASummaryItems, const std::vector<Variant>& AValues,
                                bool AIsFooter);
  virtual void ExportGroupRow(int& ATop, int& ALeft, TcxCustomGridRecord* ARecord);
  // The indent cells left of a row, one per group level, the innermost
  // being the expand button when AWithExpandCell; returns the indent width.
  // ALevel -1: the levels of the record.
  virtual int ExportIndent(int ATop, int AHeight, TcxCustomGridRecord* ARecord, bool AWithExpandCell, int ALevel);
  // A master row and, when it is expanded and the provider has a cell cache,
  // the placeholder of its detail.
  virtual void ExportMasterRow(int& ATop, int& ALeft, TcxCustomGridRecord* ARecord);
  virtual void ExportGroupFooter(int& ATop, int& ALeft, int ALevel, int AIndentCount, TcxCustomGridRecord* ARecord);
  // Every group footer that follows a record.
  virtual void ExportGroupFooters(int& ATop, int& ALeft, TcxCustomGridRecord* ARecord);
  virtual void ExportPreview(int& ATop, int& ALeft, TcxCustomGridRecord* ARecord);
  // Appends an item, feeding the scales with the edges of its rectangle
  // (an empty rectangle feeds nothing).
  virtual TcxExportVisualItem* CreateExportItem(const TRect& ABounds);
  virtual void ExportRecords(int& ATop, int& ALeft);
  virtual void ExportFooter(int& ATop, int& ALeft);
  // Header cells and cell templates; the record height.
  virtual void ExportHeader(int& ATop, int& ALeft);
  // Exports the detail view of a placeholder into this provider's cell cache.
  virtual void ExportDetail(TcxExportVisualItem& AItem);
  // Moves a header cell from its screen position to the sheet.
  virtual int HeaderOffset(TcxGridColumn* AColumn);
  // Whether group rows lay their summaries out along the columns.
  virtual bool AlignsGroupSummaries();
  // Style parameters of a template's cell in a data row (templates that are
  // not columns).
  virtual void GetTemplateParams(TcxCustomGridRecord* ARecord, TcxExportVisualItem& ATemplate, TcxViewParams& AParams);
  // Whether a group footer follows ARecord at loop position ALevel; on true
  // ALevel becomes the level of the group whose footer it is.
  virtual bool HasGroupFooter(TcxCustomGridRecord* ARecord, int& ALevel);
  // Merges equal neighbouring cells of the columns with cell merging.
  virtual void MergeColumnCells();

  // --- Helpers -------------------------------------------------------------
  TcxExportVisualItem* AddDataItem(const TRect& ABounds, int AStyleIndex, TcxCustomGridRecord* ASource,
                                   TcxGridColumn* AValueObject);
  TcxExportVisualItem* AddTextItem(const TRect& ABounds, const std::string& AText, bool AIsFill, TColor ABorderColor,
                                   TcxBorderSides ABorderSides, TAlignment AAlignment, const TcxViewParams& AParams);
  TcxExportVisualItem* AddItem(const TRect& ABounds, const std::string& AText, bool AIsFill, int AStyleIndex);
  TcxExportVisualItem* AddTemplate(const TRect& ABounds, TcxExportObjectRef ASource, TcxExportObjectRef AValueObject);
  // The template moved down by ATop, its left and right edges raised to at
  // least ALeft.
  static TRect TemplateRect(const TcxExportVisualItem& ATemplate, int ATop, int ALeft);
  void ExportRowCells(int& ATop, int& ALeft, TcxCustomGridRecord* ARecord);
  TcxExportCellStyle ExpandButtonStyle(TcxBorderSides ASides) const;
  int PreviewHeight(TcxCustomGridRecord* ARecord);
  bool HasPreview() const;
  bool MultiSummaries(bool AIsFooter) const;
  TRect SummaryCellRect(int ATemplateIndex, int ALine, bool AIsFooter, const TRect& AFooterRect) const;
  static int FooterSummaryCount(const TcxDataSummaryItems* AItems);
  static int MaxSummariesPerColumn(const TcxDataSummaryItems* AItems);
  // Group row summaries along the columns (into FGroupSummaryCells).
  void AddGroupSummaryCell(TcxGridGroupRow* ARow, const TRect& ARowRect, const TcxViewParams& ARowParams,
                           const TcxDataSummaryItems& AItems, const std::vector<Variant>& AValues, int AIndex);
  void ArrangeGroupSummaries(TcxGridGroupRow* ARow, const TRect& ARowRect, const TcxViewParams& ARowParams,
                             const TcxDataGroupSummaryItems& AItems);
  TRect ColumnSpan(const TRect& ABounds, TcxGridColumn* AColumn) const;
  bool TryMergeCells(TcxExportVisualItem& AFirst, TcxExportVisualItem& ANext);

  TcxGridTableView* TableView() const { return static_cast<TcxGridTableView*>(FView); }
  TcxGridTableViewInfo* TableViewInfo();
  // The grid lines' colour and sides by OptionsView.
  TColor GridLineColor() const;
  TcxBorderSides GridLineSides() const;
  // The template of a column; nullptr when it has none.
  const TcxExportVisualItem* ColumnTemplate(TcxGridColumn* AColumn) const;
  // The style index of a data cell (AIsFill: of a template's fill, without
  // sides), registering the style only when the parameters differ from the
  // last ones seen for the template.
  int DataCellStyle(size_t ATemplateIndex, const TcxViewParams& AParams, TAlignment AAlignment, bool AIsFill = false);

  // Fields.
  std::vector<std::unique_ptr<TcxExportGroupSummaryItem>> FGroupSummaryCells;
  int FDataRowHeight = 0;
  int FLineCount = 1;
  int FDataWidth = 0;
  std::deque<TcxExportVisualItem> FCellTemplates;
  TcxExportItemList FExportItems;

 private:
  // Feeds a scale with a coordinate unless it was fed the same one lately
  // (arranging removes duplicates anyway; this keeps the scales short).
  struct TBoundaryFilter {
    int32_t Recent[64];
    bool Used[64] = {};
    void Add(TcxExportScale& AScale, int32_t AValue);
  };
  TBoundaryFilter FColumnFilter, FRowFilter;
  void FeedScales(const TRect& ABounds);

  // The data cells of a record are the one kind of item a big export has by
  // the million.  Those of columns without cell merging are not made items
  // of their own: the record gets one item (okRowCells) that stands for all
  // of them, in template order at the place of its first cell, and each cell
  // keeps only its style index in FRowCellStyles; the cell pass writes them
  // from the templates exactly as it would write their items.  Cells of
  // merging columns stay items, since merging changes them one by one.
  // A big view keeps millions of these: large-block memory faults in cheaply.
  TLargeVector<int32_t> FRowCellStyles;
  std::vector<size_t> FRowCellTemplates;  // templates whose cells go to FRowCellStyles
  // Per template: its cells are items of their own, row cells, or (a fill
  // template that the column templates cover whole) not written at all.
  enum : uint8_t { kOwnItem, kRowCell, kCoveredFill };
  std::vector<uint8_t> FIsRowCellTemplate;
  bool FRowCellTemplatesKnown = false;
  void FindRowCellTemplates();
  void WriteRowCells(const TcxExportVisualItem& AItem, const TcxCellArea& AWhole);

  struct TDataStyleCache {
    bool Valid = false;
    TColor Color = 0, TextColor = 0;
    TFont Font;
    TBitmap* Bitmap = nullptr;
    TAlignment Alignment = taLeftJustify;
    int StyleIndex = -1;
  };
  std::vector<TDataStyleCache> FDataStyles;
  // The last preview height computed, for the record it was computed for.
  TcxCustomGridRecord* FPreviewRecord = nullptr;
  int FPreviewHeight = 0;
};

}  // namespace kv
