// The banded table view exporter, `TcxGridBandedTableViewExport`.
//
// It is the table view exporter (TableViewExport.h) with another header:
// above the column headers it lays out the band headers, and it places the
// bands side by side from the left edge of the sheet whatever their screen
// positions (fixed bands, horizontal scrolling), keeping every child band
// and column at its distance from its root band's left edge.  Each band
// gets a template (before the column templates) whose value is how far the
// band moves from its screen position to the sheet; the column headers move
// by the offset of their band.  In every data row a band template becomes a
// fill in the band's content style behind and between the band's cells.  A
// record has as many cell lines as the bands have column rows.
#pragma once

#include "export/TableViewExport.h"

namespace kv {

class TcxGridBand;
class TcxGridBandedTableView;
class TcxGridBandedTableViewInfo;

class TcxGridBandedTableViewExport : public TcxGridTableViewExport {
 public:
  using TcxGridTableViewExport::TcxGridTableViewExport;

  static TcxGridExportClass Class();

 protected:
  // Root band headers, child band headers, then the table's column headers;
  // records start below the lowest band header when column headers are off.
  // The line count and base row height come from the bands.
  void ExportHeader(int& ATop, int& ALeft) override;
  // The offset in the template of the column's band (0 without one).
  int HeaderOffset(TcxGridColumn* AColumn) override;
  // The table's rule, and every visible column in the same column row.
  bool AlignsGroupSummaries() override;
  // Band templates: the band's content style for the record.
  void GetTemplateParams(TcxCustomGridRecord* ARecord, TcxExportVisualItem& ATemplate, TcxViewParams& AParams) override;

  // The band areas, band headers and band templates of the root bands
  // (ARootBands) or of the child bands; ATop becomes the lowest bottom of
  // the band headers written (0 when none).
  virtual void ExportBands(int& ATop, bool ARootBands);

  // The first template that is not a column template and stands for ABand;
  // nullptr when none.
  const TcxExportVisualItem* BandTemplate(const TcxGridBand* ABand) const;
  // The offset of the template of ABand's root band (0 when it has none).
  int RootBandOffset(const TcxGridBand* ABand) const;

  TcxGridBandedTableView* BandedView() const;
  TcxGridBandedTableViewInfo* BandedViewInfo();
};

}  // namespace kv
