// Table views and their columns.
//
// `TcxGridTableView` shows its records as rows under a header of columns.
// Besides what every table-kind item has (CustomTableView.h), a column has a
// width, the alignment of its header and footer texts, a group index (the
// view groups its records by the columns with a group index of 0 or more,
// in the order of those indexes), options (cell merging, group footers),
// style slots of its own (content, footer, group summary, header) and the
// events that compare values for cell merging.  The view has its display
// options (`OptionsView`), the preview line under or above each record
// (`Preview`), and style slots with the documents' indexes
// (`TcxGridTableViewStyles`).  Subclasses choose the column class through
// `NewColumn`.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gridpack/CustomTableView.h"
#include "gridpack/DataController.h"

namespace kv {

class TcxGridTableView;
class TcxGridColumn;
class TcxCustomGridRow;
class TcxGridTableViewInfo;

// Column style slots: content (0, from the item), footer, group summary, header.
class TcxGridColumnStyles : public TcxCustomGridTableItemStyles {
 public:
  enum : int { isFooter = isCustomItemLast + 1, isGroupSummary, isHeader, isColumnLast = isHeader };
  explicit TcxGridColumnStyles(TcxGridColumn* AColumn);
  TcxGridColumn* Column() const;

  TcxStyle* Footer() const { return GetStyle(isFooter); }
  void SetFooter(TcxStyle* AStyle) { SetValues(isFooter, AStyle); }
  TcxStyle* GroupSummary() const { return GetStyle(isGroupSummary); }
  void SetGroupSummary(TcxStyle* AStyle) { SetValues(isGroupSummary, AStyle); }
  TcxStyle* Header() const { return GetStyle(isHeader); }
  void SetHeader(TcxStyle* AStyle) { SetValues(isHeader, AStyle); }

  // Footer cells of the column (ARow nullptr: the view footer; else a group
  // footer at AFooterGroupLevel).
  std::function<void(TcxGridTableView* Sender, TcxCustomGridRow* ARow, TcxGridColumn* AColumn, int AFooterGroupLevel,
                     TcxStyle*& AStyle)>
      OnGetFooterStyle;
  // Group summary cells of the column in group rows.
  std::function<void(TcxGridTableView* Sender, TcxCustomGridRow* ARow, TcxGridColumn* AColumn,
                     TcxDataSummaryItem* ASummaryItem, TcxStyle*& AStyle)>
      OnGetGroupSummaryStyle;
  std::function<void(TcxGridTableView* Sender, TcxGridColumn* AColumn, TcxStyle*& AStyle)> OnGetHeaderStyle;
};

struct TcxGridColumnOptions {
  // Neighbouring cells of equal values are shown as one.
  bool CellMerging = false;
  // Group footers show this column's group (when it is grouped).
  bool GroupFooters = true;
};

class TcxGridColumn : public TcxCustomGridTableItem {
 public:
  ~TcxGridColumn() override;

  TcxGridTableView* GridView() const;
  TcxGridColumnStyles* Styles() const override;

  int Width() const { return FWidth; }
  void SetWidth(int AValue) { FWidth = AValue < 0 ? 0 : AValue; }

  TAlignment HeaderAlignmentHorz = taLeftJustify;
  TAlignment FooterAlignmentHorz = taLeftJustify;
  TcxGridColumnOptions Options;

  // The position among the grouped columns, from 0; -1 when not grouped.
  int GroupIndex() const { return FGroupIndex; }
  // Groups by this column at position AValue among the grouped columns
  // (the columns at and after it move one level down; a value beyond the
  // last puts it last); -1 ungroups it (the later ones move up).
  void SetGroupIndex(int AValue);

  // Cell merging: AValue1 of ARow1 and AValue2 of ARow2 are equal when both
  // use the same properties and those find the values equal; the events may
  // then change the answer (value event first, row event second).
  bool CompareValuesForCellMerging(TcxCustomGridRecord* ARow1, TcxCustomEditProperties* AProperties1,
                                   const Variant& AValue1, TcxCustomGridRecord* ARow2,
                                   TcxCustomEditProperties* AProperties2, const Variant& AValue2) const;
  std::function<void(TcxGridColumn* Sender, TcxCustomEditProperties* AProperties1, const Variant& AValue1,
                     TcxCustomEditProperties* AProperties2, const Variant& AValue2, bool& AAreEqual)>
      OnCompareValuesForCellMerging;
  std::function<void(TcxGridColumn* Sender, TcxCustomGridRecord* ARow1, TcxCustomEditProperties* AProperties1,
                     const Variant& AValue1, TcxCustomGridRecord* ARow2, TcxCustomEditProperties* AProperties2,
                     const Variant& AValue2, bool& AAreEqual)>
      OnCompareRowValuesForCellMerging;

  void Assign(const TcxCustomGridTableItem& ASource) override;

 protected:
  // Columns are made by their view (TcxGridTableView::CreateColumn).
  explicit TcxGridColumn(TcxGridTableView* AGridView);

 private:
  friend class TcxGridTableView;
  int FWidth = 64;
  int FGroupIndex = -1;
};

enum TcxGridGroupFootersMode { gfInvisible, gfVisibleWhenExpanded, gfAlwaysVisible };
enum TcxGridLines { glBoth, glNone, glVertical, glHorizontal };
enum TcxGridGroupSummaryLayout { gslStandard, gslAlignWithColumns, gslAlignWithColumnsAndDistribute };

struct TcxGridTableOptionsView {
  virtual ~TcxGridTableOptionsView() = default;
  bool Header = true;
  bool Footer = false;
  TcxGridGroupFootersMode GroupFooters = gfInvisible;
  bool GroupByBox = true;
  TcxGridLines GridLines = glBoth;
  TColor GridLineColor = clDefault;
  bool Indicator = false;
  int IndicatorWidth = 12;
  TcxGridGroupSummaryLayout GroupSummaryLayout = gslStandard;
  bool FooterMultiSummaries = false;
  bool GroupFooterMultiSummaries = false;
  // Fixed heights in pixels; 0 takes the height from the fonts.
  int DataRowHeight = 0;
  int GroupRowHeight = 0;
  int HeaderHeight = 0;
};

enum TcxGridPreviewPlace { ppTop, ppBottom };

// A text shown across the whole row above or below each data record: the
// record's text of `Column` (a column usually kept hidden).
class TcxGridPreview {
 public:
  explicit TcxGridPreview(TcxGridTableView* AView) : FView(AView) {}
  bool Visible = false;
  TcxGridPreviewPlace Place = ppBottom;
  // Lines shown at most (0: as many as the text needs with AutoHeight).
  int MaxLineCount = 3;
  bool AutoHeight = true;
  // Spaces left of the text, in pixels.
  int LeftIndent = 20;
  TcxGridColumn* Column() const { return FColumn; }
  void SetColumn(TcxGridColumn* AColumn);

 private:
  friend class TcxGridTableView;
  TcxGridTableView* FView;
  TcxGridColumn* FColumn = nullptr;
};

// The style slots of table views.
class TcxGridTableViewStyles : public TcxCustomGridTableViewStyles {
 public:
  enum : int {
    vsFooter = vsCustomTableLast + 1,  // 9
    vsGroup,                           // 10
    vsGroupByBox,                      // 11
    vsGroupFooterSortedSummary,        // 12
    vsGroupSortedSummary,              // 13
    vsGroupSummary,                    // 14
    vsHeader,                          // 15
    vsIndicator,                       // 16
    vsNewItemRowInfoText,              // 17
    vsPreview,                         // 18
    vsTableLast = vsPreview,
  };
  explicit TcxGridTableViewStyles(TcxGridTableView* AView, int ASlotCount = vsTableLast + 1);
  TcxGridTableView* GridView() const;

  TcxStyle* Footer() const { return GetStyle(vsFooter); }
  TcxStyle* Group() const { return GetStyle(vsGroup); }
  TcxStyle* GroupByBox() const { return GetStyle(vsGroupByBox); }
  TcxStyle* GroupFooterSortedSummary() const { return GetStyle(vsGroupFooterSortedSummary); }
  TcxStyle* GroupSortedSummary() const { return GetStyle(vsGroupSortedSummary); }
  TcxStyle* GroupSummary() const { return GetStyle(vsGroupSummary); }
  TcxStyle* Header() const { return GetStyle(vsHeader); }
  TcxStyle* Indicator() const { return GetStyle(vsIndicator); }
  TcxStyle* Preview() const { return GetStyle(vsPreview); }

  std::function<void(TcxGridTableView* Sender, TcxCustomGridRow* ARow, TcxGridColumn* AColumn, int AFooterGroupLevel,
                     TcxStyle*& AStyle)>
      OnGetFooterStyle;
  std::function<void(TcxGridTableView* Sender, TcxCustomGridRecord* ARecord, int ALevel, TcxStyle*& AStyle)>
      OnGetGroupStyle;
  std::function<void(TcxGridTableView* Sender, TcxCustomGridRow* ARow, TcxGridColumn* AColumn,
                     TcxDataSummaryItem* ASummaryItem, TcxStyle*& AStyle)>
      OnGetGroupSummaryStyle;
  std::function<void(TcxGridTableView* Sender, TcxGridColumn* AColumn, TcxStyle*& AStyle)> OnGetHeaderStyle;
  std::function<void(TcxGridTableView* Sender, TcxCustomGridRecord* ARecord, TcxCustomGridTableItem* AItem,
                     TcxStyle*& AStyle)>
      OnGetPreviewStyle;

  void GetViewParams(int AIndex, TcxCustomGridRecord* ARecord, TcxCustomGridTableItem* AItem,
                     TcxViewParams& AParams) const override;
  void GetDefaultViewParams(int AIndex, TcxViewParams& AParams) const override;

  // A column header: the column's OnGetHeaderStyle, its Header slot, the
  // view's OnGetHeaderStyle, Header; defaults button face, button text.
  void GetHeaderParams(TcxGridColumn* AColumn, TcxViewParams& AParams) const;
  // The footer area (AColumn nullptr) or a footer cell of a column: the
  // column's OnGetFooterStyle and Footer slot, the view's OnGetFooterStyle,
  // Footer; defaults button face, button text.
  void GetFooterParams(TcxCustomGridRow* ARow, TcxGridColumn* AColumn, int AFooterGroupLevel,
                       TcxViewParams& AParams) const;
  // A summary cell of a footer: GroupFooterSortedSummary (over the footer
  // chain) for a Sorted summary in a group footer (ARow set), else GetFooterParams.
  void GetFooterCellParams(TcxCustomGridRow* ARow, TcxGridColumn* AColumn, int AFooterGroupLevel,
                           TcxDataSummaryItem* ASummaryItem, TcxViewParams& AParams) const;
  // A group row at ALevel: OnGetGroupStyle, Group; defaults button face,
  // button text.
  void GetGroupParams(TcxCustomGridRecord* ARecord, int ALevel, TcxViewParams& AParams) const;
  // A summary cell of a group row: the column's OnGetGroupSummaryStyle and
  // GroupSummary slot, the view's OnGetGroupSummaryStyle, GroupSortedSummary
  // for a Sorted summary, GroupSummary, then the group row's chain.
  void GetGroupSummaryParams(TcxCustomGridRow* ARow, TcxGridColumn* AColumn, TcxDataSummaryItem* ASummaryItem,
                             TcxViewParams& AParams) const;
  // The preview of a record: OnGetPreviewStyle, Preview, then the content
  // chain of the preview column; default text colour blue.
  void GetPreviewParams(TcxCustomGridRecord* ARecord, TcxCustomGridTableItem* AItem, TcxViewParams& AParams) const;

  void Assign(const TcxCustomGridTableViewStyles& ASource) override;
};

// A style sheet for table views: slot assignments only.
class TcxGridTableViewStyleSheet : public TcxCustomStyleSheet {
 public:
  explicit TcxGridTableViewStyleSheet(TComponent* AOwner = nullptr);
  TcxGridTableViewStyles* Styles() const;
};

class TcxGridTableView : public TcxCustomGridTableView {
  // Declared first: OptionsView refers to it.
  std::unique_ptr<TcxGridTableOptionsView> FOptionsView;

 public:
  explicit TcxGridTableView(TComponent* AOwner = nullptr);
  ~TcxGridTableView() override;

  int ColumnCount() const { return ItemCount(); }
  // The column at an index of the collection (list-index error when out of range).
  TcxGridColumn* Columns(int AIndex) const;
  // Adds a column of the view's column class at the end.
  TcxGridColumn* CreateColumn();
  // Frees the column at AIndex; the following ones move up.
  void DeleteColumn(int AIndex) { DeleteItem(AIndex); }
  void ClearColumns() { ClearItems(); }

  // The visible columns in the order they are shown.
  int VisibleColumnCount() const { return VisibleItemCount(); }
  TcxGridColumn* VisibleColumns(int AIndex) const;  // list-index error when out of range

  // The grouped columns in grouping order.
  int GroupedColumnCount() const;
  TcxGridColumn* GroupedColumns(int AIndex) const;  // list-index error when out of range
  std::vector<TcxCustomGridTableItem*> GetGroupingItems() const override;

  // The display options.  They live in an object of the view's options
  // class (subclasses extend it, TcxGridBandedTableView's band options), so
  // a view reached as a TcxGridTableView shows the same values.
  TcxGridTableOptionsView& OptionsView;
  TcxGridPreview& Preview() { return FPreview; }
  const TcxGridPreview& Preview() const { return FPreview; }
  TcxGridTableViewStyles* Styles() const override { return FStyles.get(); }

  // Whether a footer column can show several summaries one under another
  // (table views can).
  virtual bool SupportsMultiSummaries() const { return true; }
  bool IsFooterMultiSummaries() const { return OptionsView.FooterMultiSummaries && SupportsMultiSummaries(); }
  bool IsGroupFooterMultiSummaries() const { return OptionsView.GroupFooterMultiSummaries && SupportsMultiSummaries(); }

  // The layout object of the view (TableViewInfo.h).
  TcxGridTableViewInfo* ViewInfo() const;
  std::unique_ptr<TcxCustomGridTableViewInfo> CreateViewInfo() const override;

  void Assign(const TcxCustomGridTableView& ASource) override;

 protected:
  // AOptionsView: the options object of a subclass (nullptr: table options).
  TcxGridTableView(TComponent* AOwner, std::unique_ptr<TcxCustomDataController> ADataController,
                   std::unique_ptr<TcxGridTableOptionsView> AOptionsView = nullptr);
  // Replaces the styles with those of a subclass (in its constructor, before
  // anything refers to them).
  void SetStyles(std::unique_ptr<TcxGridTableViewStyles> AStyles) { FStyles = std::move(AStyles); }
  // The column class of this view.
  virtual std::unique_ptr<TcxGridColumn> NewColumn();
  std::unique_ptr<TcxCustomGridTableItem> NewItem() override;
  std::unique_ptr<TcxCustomGridView> NewInstance() const override;
  void ItemRemoving(TcxCustomGridTableItem* AItem) override;

 private:
  friend class TcxGridColumn;
  TcxGridPreview FPreview{this};
  std::unique_ptr<TcxGridTableViewStyles> FStyles;
};

}  // namespace kv
