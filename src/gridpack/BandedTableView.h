// Banded table views: table views whose columns sit in bands.
//
// A band is a column group with a header of its own.  Bands form a tree:
// root bands lie side by side in the view, a band may hold child bands
// (side by side inside it, under its header) or columns, never both in the
// same area.  Columns of a band lie in rows (`Position.RowIndex`), each row
// left to right by `Position.ColIndex`; a column may span several rows
// (`Position.LineCount`).  The band's line count is the number of column
// rows it holds; the view's line count is the largest among its bands.
//
// Root bands may be fixed to the left or right edge of the view: horizontal
// scrolling (the controller's LeftPos) moves only the bands that are not
// fixed.  The layout object (BandedTableViewInfo.h) gives the screen
// rectangles of bands, band headers and column headers.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gridpack/TableView.h"

namespace kv {

class TcxGridBandedTableView;
class TcxGridBand;
class TcxGridBandedColumn;
class TcxGridBandedTableViewInfo;

enum TcxGridBandFixedKind { fkNone, fkLeft, fkRight };

// Style slots of a band: background (the band's area not covered by its
// columns), content (the band's area in data rows), header.
class TcxGridBandStyles : public TcxCustomStyles {
 public:
  enum : int { bsBackground = 0, bsContent = 1, bsHeader = 2, bsLast = bsHeader };
  explicit TcxGridBandStyles(TcxGridBand* ABand) : TcxCustomStyles(bsLast + 1), FBand(ABand) {}
  TcxGridBand* Band() const { return FBand; }

  TcxStyle* Background() const { return GetStyle(bsBackground); }
  void SetBackground(TcxStyle* AStyle) { SetValues(bsBackground, AStyle); }
  TcxStyle* Content() const { return GetStyle(bsContent); }
  void SetContent(TcxStyle* AStyle) { SetValues(bsContent, AStyle); }
  TcxStyle* Header() const { return GetStyle(bsHeader); }
  void SetHeader(TcxStyle* AStyle) { SetValues(bsHeader, AStyle); }

  std::function<void(TcxGridBandedTableView* Sender, TcxGridBand* ABand, TcxStyle*& AStyle)> OnGetHeaderStyle;

 private:
  TcxGridBand* FBand;
};

// Where a band sits: in which band (none: a root band) and at which place
// among that band's child bands (or among the root bands).
class TcxGridBandPosition {
 public:
  explicit TcxGridBandPosition(TcxGridBand* ABand) : FBand(ABand) {}
  // The parent band; nullptr for a root band.
  TcxGridBand* Band() const;
  // Moves the band into AParent (nullptr: makes it a root band), placed
  // last among its new siblings.  A band cannot move into itself, into one
  // of its own child bands or into another view (EInvalidOperation).  A
  // band holds child bands or columns: columns that AParent held move into
  // the band (into its first band at the bottom when it holds child bands).
  void SetBand(TcxGridBand* AParent);
  // The index of the parent band in the view's Bands; -1 for a root band.
  int BandIndex() const;
  void SetBandIndex(int AValue);
  // The place among the siblings, from 0; setting moves the band there (a
  // value beyond the last puts it last).
  int ColIndex() const;
  void SetColIndex(int AValue);

 private:
  TcxGridBand* FBand;
};

class TcxGridBand {
 public:
  ~TcxGridBand();
  TcxGridBand(const TcxGridBand&) = delete;
  TcxGridBand& operator=(const TcxGridBand&) = delete;

  TcxGridBandedTableView* GridView() const { return FView; }
  // The index in the view's Bands.
  int Index() const;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& AValue) { FCaption = AValue; }
  TAlignment HeaderAlignmentHorz = taCenter;
  bool Visible() const { return FVisible; }
  void SetVisible(bool AValue) { FVisible = AValue; }
  // Root bands only; child bands take the fixed kind of their root band.
  TcxGridBandFixedKind FixedKind() const;
  void SetFixedKind(TcxGridBandFixedKind AValue) { FFixedKind = AValue; }
  // The width set (0: as wide as its contents: the widest column row, or the
  // child bands side by side).
  int Width() const { return FWidth; }
  void SetWidth(int AValue) { FWidth = AValue < 0 ? 0 : AValue; }

  TcxGridBandPosition& Position() { return FPosition; }
  const TcxGridBandPosition& Position() const { return FPosition; }
  TcxGridBand* ParentBand() const { return FParent; }
  bool IsRoot() const { return FParent == nullptr; }
  // The root band this band belongs to (itself for a root band).
  TcxGridBand* RootBand() const;

  // Child bands in their order (Position.ColIndex).
  int ChildBandCount() const { return static_cast<int>(FChildBands.size()); }
  TcxGridBand* ChildBands(int AIndex) const;  // list-index error when out of range
  // Columns placed in this band (any visibility), by row then column index.
  int ColumnCount() const;
  TcxGridBandedColumn* Columns(int AIndex) const;  // list-index error when out of range
  // The rows of columns, top to bottom, each left to right (ColIndex).
  int RowCount() const { return static_cast<int>(FRows.size()); }
  // The lines the band's columns take: the sum over its rows that hold a
  // visible column of the row's line count (the largest Position.LineCount
  // of its visible columns); for a band with visible child bands, the
  // largest line count among them.  At least 1.
  int LineCount() const;
  // Whether the band is shown: it and every band above it are visible.
  bool ActuallyVisible() const;
  // Whether AOther is this band or one of the bands inside it.
  bool Contains(const TcxGridBand* AOther) const;

  TcxGridBandStyles* Styles() const { return FStyles.get(); }

 private:
  friend class TcxGridBands;
  friend class TcxGridBandPosition;
  friend class TcxGridBandedColumnPosition;
  friend class TcxGridBandedTableView;
  explicit TcxGridBand(TcxGridBandedTableView* AView);

  TcxGridBandedTableView* FView;
  std::string FCaption;
  bool FVisible = true;
  TcxGridBandFixedKind FFixedKind = fkNone;
  int FWidth = 0;
  TcxGridBandPosition FPosition{this};
  TcxGridBand* FParent = nullptr;
  std::vector<TcxGridBand*> FChildBands;
  std::vector<std::vector<TcxGridBandedColumn*>> FRows;
  std::unique_ptr<TcxGridBandStyles> FStyles;

  // The list this band sits in: its parent's child bands or the root bands.
  std::vector<TcxGridBand*>& Siblings() const;
  // Column bookkeeping: rows are never empty; each column's RowIndex and
  // ColIndex follow its place.
  void RemoveColumn(TcxGridBandedColumn* AColumn);
  void InsertColumn(TcxGridBandedColumn* AColumn, int ARowIndex, int AColIndex);
  void Renumber();
};

// The bands of a view, in index order (the order they were added).
class TcxGridBands {
 public:
  explicit TcxGridBands(TcxGridBandedTableView* AView) : FView(AView) {}
  ~TcxGridBands();
  TcxGridBands(const TcxGridBands&) = delete;
  TcxGridBands& operator=(const TcxGridBands&) = delete;

  TcxGridBandedTableView* GridView() const { return FView; }
  // A new visible root band placed last.
  TcxGridBand* Add();
  // The index of ABand; -1 when it is not a band of this view.
  int IndexOf(const TcxGridBand* ABand) const;
  int Count() const { return static_cast<int>(FItems.size()); }
  TcxGridBand* Items(int AIndex) const;  // list-index error when out of range
  // Frees a band: its child bands become children of its parent (or root
  // bands) in its place; its columns lose their band (and so are not shown).
  void Delete(int AIndex);
  void Clear();

  // Root bands in their order (among each fixed kind: left-fixed first,
  // then the scrolling ones, then right-fixed, each group by ColIndex).
  int RootBandCount() const;
  TcxGridBand* RootBands(int AIndex) const;  // list-index error when out of range
  // The view's line count: the largest line count of its visible root bands
  // (0 when there is none).  Bands (BandedTableViewInfo.h) lay their column
  // rows out in as many lines.
  int LineCount() const;

 private:
  friend class TcxGridBand;
  friend class TcxGridBandPosition;
  friend class TcxGridBandedTableView;
  TcxGridBandedTableView* FView;
  std::vector<std::unique_ptr<TcxGridBand>> FItems;
  std::vector<TcxGridBand*> FRootBands;  // by ColIndex
};

// Where a banded column sits: its band, its row in the band, its place in
// the row and the rows it spans.
class TcxGridBandedColumnPosition {
 public:
  explicit TcxGridBandedColumnPosition(TcxGridBandedColumn* AColumn) : FColumn(AColumn) {}
  // nullptr: the column is in no band and is not shown.
  TcxGridBand* Band() const;
  // Places the column last in row RowIndex of ABand (a row after the last
  // makes a new row); nullptr takes it out of its band.  ABand must be a
  // band of the column's view that holds no child bands (EInvalidOperation).
  void SetBand(TcxGridBand* ABand);
  // The index of Band in the view's Bands; -1 when none.
  int BandIndex() const;
  void SetBandIndex(int AValue);
  // The place in the row, from 0; setting moves the column there (a value
  // beyond the last puts it last).
  int ColIndex() const { return FColIndex; }
  void SetColIndex(int AValue);
  // The row in the band, from 0; setting moves the column to the end of
  // that row (a row after the last makes a new row; a row left empty goes).
  int RowIndex() const { return FRowIndex; }
  void SetRowIndex(int AValue);
  // The lines of the column's cells (at least 1).
  int LineCount() const { return FLineCount; }
  void SetLineCount(int AValue) { FLineCount = AValue < 1 ? 1 : AValue; }

 private:
  friend class TcxGridBand;
  friend class TcxGridBands;
  friend class TcxGridBandPosition;
  friend class TcxGridBandedColumn;
  friend class TcxGridBandedTableView;
  TcxGridBandedColumn* FColumn;
  TcxGridBand* FBand = nullptr;
  int FRowIndex = 0;
  int FColIndex = 0;
  int FLineCount = 1;
};

class TcxGridBandedColumn : public TcxGridColumn {
 public:
  TcxGridBandedTableView* GridView() const;
  TcxGridBandedColumnPosition& Position() { return FPosition; }
  const TcxGridBandedColumnPosition& Position() const { return FPosition; }

  void Assign(const TcxCustomGridTableItem& ASource) override;

 protected:
  friend class TcxGridBandedTableView;
  explicit TcxGridBandedColumn(TcxGridTableView* AGridView) : TcxGridColumn(AGridView), FPosition(this) {}

 private:
  TcxGridBandedColumnPosition FPosition;
};

// Display options of banded views: those of table views and the band headers.
struct TcxGridBandedTableOptionsView : TcxGridTableOptionsView {
  bool BandHeaders = true;
  // Fixed height in pixels of a band header (one level of band headers);
  // 0 takes it from the fonts and BandHeaderLineCount.
  int BandHeaderHeight = 0;
  // Text lines of a band header.
  int BandHeaderLineCount = 1;
};

// Style slots of banded views: those of table views, then the bands'
// background (19) and headers (20).
class TcxGridBandedTableViewStyles : public TcxGridTableViewStyles {
 public:
  enum : int { vsBandBackground = vsTableLast + 1, vsBandHeader, vsBandedLast = vsBandHeader };
  explicit TcxGridBandedTableViewStyles(TcxGridBandedTableView* AView);
  TcxGridBandedTableView* GridView() const;

  TcxStyle* BandBackground() const { return GetStyle(vsBandBackground); }
  TcxStyle* BandHeader() const { return GetStyle(vsBandHeader); }

  std::function<void(TcxGridBandedTableView* Sender, TcxGridBand* ABand, TcxStyle*& AStyle)> OnGetBandHeaderStyle;

  void GetDefaultViewParams(int AIndex, TcxViewParams& AParams) const override;
  // A band header: the band's OnGetHeaderStyle and Header slot, the view's
  // OnGetBandHeaderStyle, BandHeader; defaults button face, button text.
  void GetBandHeaderParams(TcxGridBand* ABand, TcxViewParams& AParams) const;
  // A band's background: its Background slot, the view's BandBackground;
  // defaults button face, button text.
  void GetBandBackgroundParams(TcxGridBand* ABand, TcxViewParams& AParams) const;
  // A band's area in a data row: its Content slot, then the record's content
  // chain outside the items (GetContentParams(ARecord, nullptr)).
  void GetBandContentParams(TcxCustomGridRecord* ARecord, TcxGridBand* ABand, TcxViewParams& AParams) const;

  void Assign(const TcxCustomGridTableViewStyles& ASource) override;
};

class TcxGridBandedTableView : public TcxGridTableView {
 public:
  explicit TcxGridBandedTableView(TComponent* AOwner = nullptr);
  ~TcxGridBandedTableView() override;

  TcxGridBandedColumn* Columns(int AIndex) const;
  TcxGridBandedColumn* CreateColumn();
  TcxGridBandedColumn* VisibleColumns(int AIndex) const;

  // The visible columns that lie in shown bands, in display order: root
  // bands in their order (Bands()->RootBands), inside a band its child
  // bands in order, else its rows top to bottom, each left to right.
  int VisibleItemCount() const override;
  TcxCustomGridTableItem* VisibleItems(int AIndex) const override;
  int VisibleIndexOf(const TcxCustomGridTableItem* AItem) const override;
  // The same list at once.
  std::vector<TcxGridBandedColumn*> GetVisibleColumns() const;

  TcxGridBands* Bands() const { return FBands.get(); }
  // The same object as the table view's OptionsView, with the band options.
  TcxGridBandedTableOptionsView& OptionsView;
  TcxGridBandedTableViewStyles* Styles() const override;
  // The layout object of the view (BandedTableViewInfo.h).
  TcxGridBandedTableViewInfo* ViewInfo() const;

  std::unique_ptr<TcxCustomGridTableViewInfo> CreateViewInfo() const override;
  void Assign(const TcxCustomGridTableView& ASource) override;

 protected:
  TcxGridBandedTableView(TComponent* AOwner, std::unique_ptr<TcxCustomDataController> ADataController);
  std::unique_ptr<TcxGridColumn> NewColumn() override;
  std::unique_ptr<TcxCustomGridView> NewInstance() const override;
  void ItemRemoving(TcxCustomGridTableItem* AItem) override;

 private:
  std::unique_ptr<TcxGridBands> FBands;
};

}  // namespace kv
