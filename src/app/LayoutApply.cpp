// Applying a layout to a view: styles, options, columns with their editors,
// grouping and styles, summaries and the preview (bands: LayoutBands.cpp).
#include <algorithm>

#include "app/LayoutParts.h"
#include "gridpack/BandedTableView.h"
#include "gridpack/DBTableView.h"
#include "gridpack/DataController.h"
#include "gridpack/EditProperties.h"
#include "platform/DB.h"
#include "platform/Files.h"

namespace kv::app {

void TLayoutContext::Fail(const std::string& APlace, const std::string& AWhat) const {
  throw Exception("layout " + Name + ": " + Place + APlace + AWhat);
}

namespace {

std::string ColumnPlace(size_t AIndex) { return "column " + std::to_string(AIndex + 1) + ": "; }

// The styles of the layout's "styles", made by a repository of the form.
void MakeStyles(const TLayout& ALayout, TComponent& AOwner, TLayoutContext& AContext) {
  if (ALayout.Styles.empty()) return;
  auto* repository = new TcxStyleRepository(&AOwner);
  for (const auto& [name, s] : ALayout.Styles) {
    TcxStyle* style = repository->CreateItem();
    if (s.Color) style->SetColor(*s.Color);
    if (s.TextColor) style->SetTextColor(*s.TextColor);
    if (s.Font) {
      TFont font = DefaultFont();
      const TLayoutFont& f = *s.Font;
      if (f.Name) font.Name = *f.Name;
      if (f.Size) font.Size = *f.Size;
      auto flag = [&font](const std::optional<bool>& AOn, TFontStyle ABit) {
        if (AOn) font.Style = *AOn ? (font.Style | ABit) : (font.Style & ~ABit);
      };
      flag(f.Bold, fsBold);
      flag(f.Italic, fsItalic);
      flag(f.Underline, fsUnderline);
      flag(f.StrikeOut, fsStrikeOut);
      if (s.TextColor) font.Color = *s.TextColor;
      style->SetFont(font);
    }
    AContext.Styles[name] = style;
  }
}

void ApplyOptions(const TLayout& ALayout, TcxGridTableView& AView) {
  const TLayoutOptions& o = ALayout.Options;
  TcxGridTableOptionsView& v = AView.OptionsView;
  if (o.Header) v.Header = *o.Header;
  if (o.Footer) v.Footer = *o.Footer;
  if (o.GroupByBox) v.GroupByBox = *o.GroupByBox;
  if (o.GroupFooters) v.GroupFooters = *o.GroupFooters;
  if (o.GroupSummaryLayout) v.GroupSummaryLayout = *o.GroupSummaryLayout;
  if (o.FooterMultiSummaries) v.FooterMultiSummaries = *o.FooterMultiSummaries;
  if (o.GroupFooterMultiSummaries) v.GroupFooterMultiSummaries = *o.GroupFooterMultiSummaries;
  if (o.GridLines) v.GridLines = *o.GridLines;
  if (o.GridLineColor) v.GridLineColor = *o.GridLineColor;
  if (o.Indicator) v.Indicator = *o.Indicator;
  if (o.DataRowHeight) v.DataRowHeight = *o.DataRowHeight;
  if (o.HeaderHeight) v.HeaderHeight = *o.HeaderHeight;
  if (o.GroupRowHeight) v.GroupRowHeight = *o.GroupRowHeight;
  if (o.LeftPos) AView.Controller()->SetLeftPos(*o.LeftPos);
  if (auto* banded = dynamic_cast<TcxGridBandedTableView*>(&AView))
    if (o.BandHeaders) banded->OptionsView.BandHeaders = *o.BandHeaders;
  // Summaries are shown where the layout puts them unless it says otherwise.
  if (!o.Footer && !ALayout.FooterSummaries.empty()) v.Footer = true;
  if (!o.GroupFooters)
    for (const TLayoutSummary& s : ALayout.GroupSummaries)
      if (s.InGroupFooter) v.GroupFooters = gfVisibleWhenExpanded;
}

void ApplyViewStyles(const TLayout& ALayout, const TLayoutContext& AContext, TcxGridTableView& AView) {
  static const std::pair<const char*, int> slots[] = {
      {"background", TcxGridTableViewStyles::vsBackground},
      {"content", TcxGridTableViewStyles::vsContent},
      {"contentEven", TcxGridTableViewStyles::vsContentEven},
      {"contentOdd", TcxGridTableViewStyles::vsContentOdd},
      {"footer", TcxGridTableViewStyles::vsFooter},
      {"group", TcxGridTableViewStyles::vsGroup},
      {"groupSummary", TcxGridTableViewStyles::vsGroupSummary},
      {"header", TcxGridTableViewStyles::vsHeader},
      {"preview", TcxGridTableViewStyles::vsPreview},
      {"bandHeader", TcxGridBandedTableViewStyles::vsBandHeader},
      {"bandBackground", TcxGridBandedTableViewStyles::vsBandBackground},
  };
  for (const auto& [key, name] : ALayout.ViewStyles)
    for (const auto& [slot, index] : slots)
      if (key == slot) AView.Styles()->SetValues(index, AContext.Style(name));
}

void ApplyEditor(const TLayoutColumn& ALayoutColumn, const TField* AField, const TLayoutContext& AContext,
                 const std::string& APlace, TcxGridColumn& AColumn) {
  const TLayoutEditor editor = ALayoutColumn.Editor.value_or(TLayoutEditor());
  const TLayoutEditorKind kind = editor.Kind.value_or(DefaultEditorKind(AField));
  std::unique_ptr<TcxCustomEditProperties> properties = MakeEditor(kind, AField);
  if (editor.DisplayFormat && !SetDisplayFormat(*properties, *editor.DisplayFormat))
    AContext.Fail(APlace + "editor: ",
                  "\"displayFormat\": the column's editor (" + std::string(EditorKindName(kind)) +
                      ", by its field's type) has no display format; give a \"kind\" that has one");
  if (editor.Alignment) properties->Alignment.Horz = *editor.Alignment;
  AColumn.SetProperties(std::move(properties));
}

void ApplyColumnStyles(const TLayoutColumn& ALayoutColumn, const TLayoutContext& AContext, TcxGridColumn& AColumn) {
  for (const auto& [key, name] : ALayoutColumn.Styles) {
    TcxStyle* style = AContext.Style(name);
    if (key == "content") AColumn.Styles()->SetContent(style);
    if (key == "header") AColumn.Styles()->SetHeader(style);
    if (key == "footer") AColumn.Styles()->SetFooter(style);
    if (key == "groupSummary") AColumn.Styles()->SetGroupSummary(style);
  }
}

// The layout's columns, or one per field when it names none.
std::vector<TLayoutColumn> ColumnsOf(const TLayout& ALayout, const TDataSet& ADataSet) {
  if (ALayout.HasColumns) return ALayout.Columns;
  std::vector<TLayoutColumn> columns;
  for (int i = 0; i < ADataSet.FieldCount(); ++i) {
    TLayoutColumn column;
    column.Field = column.Name = ADataSet.Fields(i)->FieldName;
    columns.push_back(column);
  }
  return columns;
}

// Columns by name, for summaries and the preview.
class TColumnNames {
 public:
  void Add(const std::string& AName, TcxGridColumn* AColumn) {
    if (!AName.empty()) FItems.emplace_back(AName, AColumn);
  }
  TcxGridColumn* Find(const std::string& AName, const TLayoutContext& AContext, const std::string& APlace) const {
    TcxGridColumn* found = nullptr;
    int count = 0;
    for (const auto& [name, column] : FItems)
      if (SameTextAscii(name, AName) && column != found) {
        found = column;
        ++count;
      }
    if (count == 0) AContext.Fail(APlace, "\"column\": there is no column named \"" + AName + "\"");
    if (count > 1)
      AContext.Fail(APlace, "\"column\": " + std::to_string(count) + " columns are named \"" + AName +
                                "\"; give them distinct \"name\"s");
    return found;
  }

 private:
  std::vector<std::pair<std::string, TcxGridColumn*>> FItems;
};

void ApplyGrouping(const std::vector<TLayoutColumn>& ALayoutColumns, const std::vector<TcxGridColumn*>& AColumns,
                   const TLayoutContext& AContext) {
  std::vector<std::pair<int, size_t>> grouped;  // group index, column
  for (size_t i = 0; i < ALayoutColumns.size(); ++i) {
    int index = ALayoutColumns[i].GroupIndex.value_or(-1);
    if (index < 0) continue;
    for (const auto& [other, column] : grouped)
      if (other == index)
        AContext.Fail(ColumnPlace(i), "\"groupIndex\" " + std::to_string(index) + " is given to column " +
                                          std::to_string(column + 1) + " too");
    grouped.emplace_back(index, i);
  }
  std::sort(grouped.begin(), grouped.end());
  int level = 0;
  for (const auto& [index, column] : grouped) AColumns[column]->SetGroupIndex(level++);
}

void ApplySummaries(const TLayout& ALayout, const TColumnNames& ANames, const TLayoutContext& AContext,
                    TcxGridTableView& AView) {
  TcxDataSummary& summary = AView.DataController()->Summary();
  int number = 0;
  for (const TLayoutSummary& s : ALayout.FooterSummaries) {
    TcxGridColumn* column = ANames.Find(s.Column, AContext, "footer summary " + std::to_string(++number) + ": ");
    summary.FooterSummaryItems().Add(column, spFooter, s.Kind, s.Format);
  }
  number = 0;
  for (const TLayoutSummary& s : ALayout.GroupSummaries) {
    TcxGridColumn* column = ANames.Find(s.Column, AContext, "group summary " + std::to_string(++number) + ": ");
    summary.DefaultGroupSummaryItems().Add(column, s.InGroupFooter ? spFooter : spGroup, s.Kind, s.Format);
  }
}

void ApplyPreview(const TLayoutPreview& APreview, const TColumnNames& ANames, const TLayoutContext& AContext,
                  TcxGridTableView& AView) {
  TcxGridPreview& preview = AView.Preview();
  preview.SetColumn(ANames.Find(APreview.Column, AContext, "preview: "));
  preview.Visible = APreview.Visible.value_or(true);
  if (APreview.Place) preview.Place = *APreview.Place;
  if (APreview.MaxLineCount) preview.MaxLineCount = *APreview.MaxLineCount;
  if (APreview.AutoHeight) preview.AutoHeight = *APreview.AutoHeight;
  if (APreview.LeftIndent) preview.LeftIndent = *APreview.LeftIndent;
}

}  // namespace

void ApplyLayout(const TLayout& ALayout, const std::string& AName, TcxGridTableView& AView, const TDataSet& ADataSet,
                 TComponent& AStyleOwner, const std::string& ABandCaption, const std::string& APlace) {
  auto* banded = dynamic_cast<TcxGridBandedTableView*>(&AView);
  TLayoutContext context{AName, APlace, {}};
  if (!banded && ALayout.View == TLayoutViewKind::Banded) context.Fail("", "the view is no banded view");
  MakeStyles(ALayout, AStyleOwner, context);
  ApplyOptions(ALayout, AView);
  ApplyViewStyles(ALayout, context, AView);

  AView.Preview().SetColumn(nullptr);
  AView.DataController()->Summary().FooterSummaryItems().Clear();
  AView.DataController()->Summary().DefaultGroupSummaryItems().Clear();
  AView.ClearColumns();
  const std::vector<TLayoutColumn> layoutColumns = ColumnsOf(ALayout, ADataSet);
  std::vector<TcxGridColumn*> columns;
  TColumnNames names;
  for (size_t i = 0; i < layoutColumns.size(); ++i) {
    const TLayoutColumn& c = layoutColumns[i];
    const std::string place = ColumnPlace(i);
    TcxGridColumn* column = AView.CreateColumn();
    columns.push_back(column);
    TField* field = nullptr;
    if (!c.Field.empty()) {
      field = ADataSet.FindField(c.Field);
      if (!field) context.Fail(place, "the data has no field \"" + c.Field + "\"");
      DBDataBindingOf(column)->FieldName = field->FieldName;
    }
    if (c.Caption)
      column->SetCaption(*c.Caption);
    else if (field)
      column->SetCaption(field->FieldName);
    column->SetVisible(c.Visible);
    if (c.Width) column->SetWidth(*c.Width);
    if (c.CellMerging) column->Options.CellMerging = *c.CellMerging;
    if (c.GroupFooters) column->Options.GroupFooters = *c.GroupFooters;
    if (c.HeaderAlignment) column->HeaderAlignmentHorz = *c.HeaderAlignment;
    if (c.FooterAlignment) column->FooterAlignmentHorz = *c.FooterAlignment;
    ApplyEditor(c, field, context, place, *column);
    ApplyColumnStyles(c, context, *column);
    names.Add(c.Name.empty() && field ? field->FieldName : c.Name, column);
  }
  if (banded) ApplyBands(ALayout, context, *banded, columns, ABandCaption);
  ApplyGrouping(layoutColumns, columns, context);
  ApplySummaries(ALayout, names, context, AView);
  if (ALayout.Preview) ApplyPreview(*ALayout.Preview, names, context, AView);
}

void ApplyDefaultLayout(TcxGridTableView& AView, const TDataSet& ADataSet, const std::string& ABandCaption) {
  TComponent noStyles;  // the default view makes no styles
  TLayout layout;
  layout.View = dynamic_cast<TcxGridBandedTableView*>(&AView) ? TLayoutViewKind::Banded : TLayoutViewKind::Table;
  ApplyLayout(layout, "(default)", AView, ADataSet, noStyles, ABandCaption);
}

}  // namespace kv::app
