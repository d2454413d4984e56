// Applying a layout's bands to a banded view: the band tree, the bands'
// captions, widths, fixing, alignment and styles, and every column's place
// (band, row, rows spanned).
#include "app/LayoutParts.h"
#include "gridpack/BandedTableView.h"

namespace kv::app {

namespace {

TcxGridBandFixedKind FixedKindOf(TLayoutFixed AFixed) {
  switch (AFixed) {
    case TLayoutFixed::Left:
      return fkLeft;
    case TLayoutFixed::Right:
      return fkRight;
    case TLayoutFixed::None:
      break;
  }
  return fkNone;
}

// The index in "bands" of a reference the parser has checked.
size_t BandIndexOf(const TLayout& ALayout, const TLayoutRef& ARef) {
  if (ARef.IsIndex()) return static_cast<size_t>(ARef.Index);
  for (size_t i = 0; i < ALayout.Bands.size(); ++i)
    if (ALayout.Bands[i].Name == ARef.Name) return i;
  return 0;
}

std::string BandLabel(const TLayout& ALayout, size_t AIndex) {
  const std::string& name = ALayout.Bands[AIndex].Name;
  return name.empty() ? "band " + std::to_string(AIndex) : "band \"" + name + "\"";
}

}  // namespace

void ApplyBands(const TLayout& ALayout, const TLayoutContext& AContext, TcxGridBandedTableView& AView,
                const std::vector<TcxGridColumn*>& AColumns, const std::string& ABandCaption) {
  TcxGridBands& bands = *AView.Bands();
  bands.Clear();
  if (!ALayout.HasBands) {
    // One band holds every column, in column order.
    TcxGridBand* band = bands.Add();
    band->SetCaption(ABandCaption);
    for (TcxGridColumn* column : AColumns) static_cast<TcxGridBandedColumn*>(column)->Position().SetBand(band);
    return;
  }

  std::vector<TcxGridBand*> made;
  for (const TLayoutBand& b : ALayout.Bands) {
    TcxGridBand* band = bands.Add();
    if (b.Caption) band->SetCaption(*b.Caption);
    if (b.Width) band->SetWidth(*b.Width);
    band->SetVisible(b.Visible);
    if (b.Fixed) band->SetFixedKind(FixedKindOf(*b.Fixed));
    if (b.Alignment) band->HeaderAlignmentHorz = *b.Alignment;
    for (const auto& [key, name] : b.Styles) {
      if (key == "header") band->Styles()->SetHeader(AContext.Style(name));
      if (key == "content") band->Styles()->SetContent(AContext.Style(name));
      if (key == "background") band->Styles()->SetBackground(AContext.Style(name));
    }
    made.push_back(band);
  }
  // Child bands go into their parents in list order (the parser has made
  // sure that every chain of parents ends at a root band).
  std::vector<bool> hasChildren(made.size(), false);
  for (size_t i = 0; i < made.size(); ++i) {
    const TLayoutBand& b = ALayout.Bands[i];
    if (!b.Parent) continue;
    size_t parent = BandIndexOf(ALayout, *b.Parent);
    made[i]->Position().SetBand(made[parent]);
    hasChildren[parent] = true;
  }

  // Columns without a band go into the first band that holds no bands.
  size_t firstLeaf = 0;
  while (firstLeaf < made.size() && hasChildren[firstLeaf]) ++firstLeaf;
  for (size_t i = 0; i < AColumns.size(); ++i) {
    const std::string place = "column " + std::to_string(i + 1) + ": ";
    const TLayoutColumn* c = ALayout.HasColumns ? &ALayout.Columns[i] : nullptr;
    size_t band = c && c->Band ? BandIndexOf(ALayout, *c->Band) : firstLeaf;
    if (band >= made.size()) AContext.Fail(place, "every band holds bands; there is none for the column");
    if (hasChildren[band])
      AContext.Fail(place,
                    "\"band\": " + BandLabel(ALayout, band) + " holds bands; columns go into bands that hold no bands");
    TcxGridBandedColumnPosition& position = static_cast<TcxGridBandedColumn*>(AColumns[i])->Position();
    if (c && c->Row) position.SetRowIndex(*c->Row);
    position.SetBand(made[band]);
    if (c && c->LineCount) position.SetLineCount(*c->LineCount);
  }
}

}  // namespace kv::app
