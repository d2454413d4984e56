// Layout objects of table-kind views: where the parts of a view lie on the
// screen, computed from widths and the fonts' text metrics
// (platform/TextMetrics.h), so that every value can be predicted.
//
// A layout object is made for a view and laid out (`Calculate`) in bounds
// from a first record.  For a table view, with T(f) the text height of font
// f and the view's own fonts (style parameters) for each part:
//   LevelIndent        = cxGridLevelIndent (20: an 11-pixel expand button,
//                        4 pixels each side, a 1-pixel line)
//   group-by box       = when OptionsView.GroupByBox: T(group-by box font) + 4
//                        + 2 * 6 pixels high, at the top of the bounds
//   header height      = OptionsView.HeaderHeight when set, else the largest
//                        T(header font) + 4 of the visible columns (T(view
//                        font) + 4 without columns)
//   data row height    = OptionsView.DataRowHeight when set, else the largest
//                        T(content font) + 4 of the visible columns
//   group row height   = OptionsView.GroupRowHeight when set, else
//                        T(group font) + 6
//   footer row height  = T(footer font) + 4 per summary line (the most
//                        summaries of one column with FooterMultiSummaries,
//                        else 1), plus 2 * 2 pixels of frame
//   indicator          = OptionsView.IndicatorWidth when OptionsView.Indicator
//   first column extra = LevelIndent * (grouped columns + 1 when the view is
//                        a master view)
//   header cell i      = left: bounds.left + indicator + widths of the visible
//                        columns before it (the first one with the extra)
//                        - the controller's LeftPos; width: its column's
//                        width (plus the extra for the first); top: below the
//                        group-by box; height: the header height
//   data width         = the widths of the visible columns plus the extra
// The header area reports its cells also when OptionsView.Header is off
// (then its Visible is false), so that the record height still follows the
// header layout.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "gridpack/Styles.h"
#include "platform/Types.h"

namespace kv {

class TcxCustomGridTableView;
class TcxGridTableView;
class TcxGridColumn;

constexpr int cxGridLevelIndent = 20;

class TcxCustomGridTableViewInfo {
 public:
  explicit TcxCustomGridTableViewInfo(const TcxCustomGridTableView* AView) : FView(AView) {}
  virtual ~TcxCustomGridTableViewInfo() = default;
  TcxCustomGridTableViewInfo(const TcxCustomGridTableViewInfo&) = delete;
  TcxCustomGridTableViewInfo& operator=(const TcxCustomGridTableViewInfo&) = delete;

  const TcxCustomGridTableView* GridView() const { return FView; }
  // Lays the view out in ABounds, the first shown record being AFirstRecordIndex.
  virtual void Calculate(int AFirstRecordIndex, const TRect& ABounds);
  const TRect& Bounds() const { return FBounds; }
  int FirstRecordIndex() const { return FFirstRecordIndex; }

 private:
  const TcxCustomGridTableView* FView;
  TRect FBounds;
  int FFirstRecordIndex = 0;
};

// One column header cell.
class TcxGridColumnHeaderViewInfo {
 public:
  TcxGridColumn* Column() const { return FColumn; }
  const TRect& Bounds() const { return FBounds; }
  // The column's caption.
  const std::string& Text() const { return FText; }
  TAlignment AlignmentHorz() const { return FAlignmentHorz; }
  // The header style parameters of the column.
  const TcxViewParams& Params() const { return FParams; }

 private:
  friend class TcxGridTableViewInfo;
  friend class TcxGridBandedTableViewInfo;
  TcxGridColumn* FColumn = nullptr;
  TRect FBounds;
  std::string FText;
  TAlignment FAlignmentHorz = taLeftJustify;
  TcxViewParams FParams;
};

// The column header area.
class TcxGridHeaderViewInfo {
 public:
  const TRect& Bounds() const { return FBounds; }
  bool Visible() const { return FVisible; }
  int Height() const { return FBounds.Height(); }
  int Count() const { return static_cast<int>(FItems.size()); }
  // List-index error when out of range.
  const TcxGridColumnHeaderViewInfo& Items(int AIndex) const;

 private:
  friend class TcxGridTableViewInfo;
  friend class TcxGridBandedTableViewInfo;
  TRect FBounds;
  bool FVisible = true;
  std::vector<TcxGridColumnHeaderViewInfo> FItems;
};

class TcxGridTableViewInfo : public TcxCustomGridTableViewInfo {
 public:
  explicit TcxGridTableViewInfo(const TcxGridTableView* AView);
  const TcxGridTableView* GridView() const;

  void Calculate(int AFirstRecordIndex, const TRect& ABounds) override;

  const TcxGridHeaderViewInfo& HeaderViewInfo() const { return FHeader; }
  int GroupByBoxHeight() const { return FGroupByBoxHeight; }
  int IndicatorWidth() const { return FIndicatorWidth; }
  int LevelIndent() const { return cxGridLevelIndent; }
  int FirstItemAdditionalWidth() const { return FFirstItemAdditionalWidth; }
  int DataWidth() const { return FDataWidth; }
  int DataRowHeight() const { return FDataRowHeight; }
  int GroupRowHeight() const { return FGroupRowHeight; }
  int FooterHeight() const { return FFooterHeight; }

 protected:
  // Lays out the header area below ATop (the column header cells and the
  // data width); the metrics above are known.
  virtual void CalculateHeader(int ATop, const TRect& ABounds);
  // A header cell of AColumn in ABounds.
  TcxGridColumnHeaderViewInfo MakeHeaderCell(TcxGridColumn* AColumn, const TRect& ABounds) const;

  TcxGridHeaderViewInfo FHeader;
  // The height of a header cell (of one line of header cells in banded views).
  int FHeaderHeight = 0;
  int FGroupByBoxHeight = 0;
  int FIndicatorWidth = 0;
  int FFirstItemAdditionalWidth = 0;
  int FDataWidth = 0;
  int FDataRowHeight = 0;
  int FGroupRowHeight = 0;
  int FFooterHeight = 0;
};

}  // namespace kv
