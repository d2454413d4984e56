// Layout objects of banded table views: where the bands, their headers and
// the column headers inside them lie, computed from widths and the fonts'
// text metrics (platform/TextMetrics.h) like the table layout
// (TableViewInfo.h), whose group-by box, indicator, level indent, group row
// height and first column extra it keeps.  With T(f) the text height of
// font f, and only the bands that are shown (a band and the bands above it
// visible) and the visible columns in them:
//   line height        = the table layout's header height: OptionsView.
//                        HeaderHeight when set, else the largest T(header
//                        font) + 4 of the visible columns
//   line count         = Bands()->LineCount(): the largest line count of the
//                        shown root bands (a band's: the sum over its rows of
//                        the largest Position.LineCount of the row's visible
//                        columns; a band with shown child bands: the largest
//                        of theirs; at least 1); 0 without shown bands
//   band header height = 0 when OptionsView.BandHeaders is off; else
//                        OptionsView.BandHeaderHeight when set, else
//                        BandHeaderLineCount * the largest T(band header
//                        font) of the shown bands + 4
//   band levels        = the depth of the band tree (1: root bands only)
//   band header        = at the top of the header area (below the group-by
//                        box) plus depth * band header height; one band
//                        header high for a band with shown child bands,
//                        else down to the column headers (levels - depth
//                        band headers high)
//   column header top  = top of the header area + levels * band header height
//   column area        = line count * line height high, under every band
//   band width         = Width when set, else its contents: its shown child
//                        bands side by side, or its widest row of visible
//                        columns; the first band (below) adds the extra
//   band rectangle     = the band's header and the column area under it
//   root bands         = left-fixed bands from the left edge of the bounds
//                        plus the indicator, then the scrolling bands after
//                        them moved left by the controller's LeftPos, then
//                        the right-fixed bands ending at the right edge of
//                        the bounds (never left of the left-fixed ones)
//   child bands        = side by side from their parent's left edge
//   column header cell = left: the band's left plus the widths of the
//                        visible columns before it in its row; top: column
//                        header top + the line counts of the rows above;
//                        Position.LineCount lines high; clipped to its band
//   first item extra   = LevelIndent * (grouped columns + 1 for a master
//                        view), as in the table layout, given to the first
//                        band: the first root band in display order, its
//                        first shown child band and so on down, and in the
//                        band at the bottom of that line the first column of
//                        every row (so each row starts after the indent)
//   data width         = the widths of the shown root bands
//   data row height    = line count (at least 1) * (OptionsView.DataRowHeight
//                        when set, else the largest T(content font) + 4)
//   footer height      = the table footer's, with line count (at least 1)
//                        lines unless the footer shows several summaries
//                        per column
// As in the table layout the column header cells are laid out also when
// OptionsView.Header is off (the header area's Visible is false), so that a
// record still has the height and the places of the column area.
#pragma once

#include <string>
#include <vector>

#include "gridpack/TableViewInfo.h"

namespace kv {

class TcxGridBandedTableView;
class TcxGridBand;

// The header cell of a band.
class TcxGridBandHeaderViewInfo {
 public:
  const TRect& Bounds() const { return FBounds; }
  // The band's caption.
  const std::string& Text() const { return FText; }
  TAlignment AlignmentHorz() const { return FAlignmentHorz; }
  // The band header style parameters of the band.
  const TcxViewParams& Params() const { return FParams; }

 private:
  friend class TcxGridBandedTableViewInfo;
  TRect FBounds;
  std::string FText;
  TAlignment FAlignmentHorz = taCenter;
  TcxViewParams FParams;
};

// One shown band.
class TcxGridBandViewInfo {
 public:
  TcxGridBand* Band() const { return FBand; }
  // The band header and the column area under it.
  const TRect& Bounds() const { return FBounds; }
  // The band's caption and header alignment.
  const std::string& Text() const { return FHeader.Text(); }
  TAlignment AlignmentHorz() const { return FHeader.AlignmentHorz(); }
  // The band's background parameters (the area its columns leave free).
  const TcxViewParams& Params() const { return FParams; }
  const TcxGridBandHeaderViewInfo& HeaderViewInfo() const { return FHeader; }
  // 0 for a root band, 1 for its child bands, and so on.
  int Depth() const { return FDepth; }

 private:
  friend class TcxGridBandedTableViewInfo;
  TcxGridBand* FBand = nullptr;
  TRect FBounds;
  TcxViewParams FParams;
  TcxGridBandHeaderViewInfo FHeader;
  int FDepth = 0;
};

// The shown bands of the header area: each root band in display order
// followed by the bands inside it (parents before their child bands).
class TcxGridBandsViewInfo {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  const TcxGridBandViewInfo& Items(int AIndex) const;  // list-index error when out of range
  // The layout of ABand; nullptr when it is not shown.
  const TcxGridBandViewInfo* FindItem(const TcxGridBand* ABand) const;

 private:
  friend class TcxGridBandedTableViewInfo;
  std::vector<TcxGridBandViewInfo> FItems;
};

class TcxGridBandedTableViewInfo : public TcxGridTableViewInfo {
 public:
  explicit TcxGridBandedTableViewInfo(const TcxGridBandedTableView* AView);
  const TcxGridBandedTableView* GridView() const;

  void Calculate(int AFirstRecordIndex, const TRect& ABounds) override;

  // The bands of the header area.
  const TcxGridBandsViewInfo& BandsViewInfo() const { return FBands; }
  // The lines of column headers (0 without shown bands).
  int LineCount() const { return FLineCount; }
  // The height of one line of column headers.
  int LineHeight() const { return FHeaderHeight; }
  // The height of one level of band headers (0 when they are off).
  int BandHeaderHeight() const { return FBandHeaderHeight; }
  int BandLevelCount() const { return FBandLevelCount; }

 protected:
  void CalculateHeader(int ATop, const TRect& ABounds) override;

 private:
  // The width of a band with AExtra added (see the formulas above).
  int BandWidth(const TcxGridBand* ABand, int AExtra) const;
  // Lays out ABand and what it holds from ALeft, no further right than AClip.
  void PlaceBand(TcxGridBand* ABand, int ALeft, int ADepth, int AExtra, int AClip);

  TcxGridBandsViewInfo FBands;
  int FLineCount = 0;
  int FBandHeaderHeight = 0;
  int FBandLevelCount = 0;
  int FHeaderTop = 0;
  int FColumnTop = 0;
};

}  // namespace kv
