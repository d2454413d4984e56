// Reading layout files: JSON into a TLayout, with every key, kind and
// reference inside the file checked, and errors naming the file and place.
#include <nlohmann/json.hpp>
#include <set>
#include <utility>

#include "app/Layout.h"
#include "platform/Files.h"
#include "platform/Streams.h"

namespace kv::app {

namespace {

using nlohmann::json;

template <class T>
using TChoices = std::vector<std::pair<const char*, T>>;

const TChoices<TAlignment> Alignments = {{"left", taLeftJustify}, {"center", taCenter}, {"right", taRightJustify}};

// Walks one layout object; APlace prefixes every message with where the
// value sits ("column 3: ", "detail: layout: band 1: ").
class TLayoutReader {
 public:
  explicit TLayoutReader(std::string AName) : FName(std::move(AName)) {}

  [[noreturn]] void Fail(const std::string& APlace, const std::string& AWhat) const {
    throw Exception("layout " + FName + ": " + APlace + AWhat);
  }

  TLayout Layout(const json& ADoc, const std::string& APlace, bool AAllowDetail) const;

 private:
  // --- Values ---------------------------------------------------------------
  void Object(const json& AValue, const std::string& APlace, const std::string& AWhat) const {
    if (!AValue.is_object()) Fail(APlace, AWhat + " must be an object");
  }
  void Keys(const json& AObject, const std::string& APlace, std::initializer_list<const char*> AAllowed) const {
    for (auto it = AObject.begin(); it != AObject.end(); ++it) {
      bool known = false;
      for (const char* k : AAllowed) known = known || it.key() == k;
      if (!known) Fail(APlace, "unknown key \"" + it.key() + "\"");
    }
  }
  static std::string Key(const std::string& AKey) { return "\"" + AKey + "\""; }
  bool Bool(const json& AValue, const std::string& APlace, const std::string& AKey) const {
    if (!AValue.is_boolean()) Fail(APlace, Key(AKey) + " must be true or false");
    return AValue.get<bool>();
  }
  std::string Text(const json& AValue, const std::string& APlace, const std::string& AKey) const {
    if (!AValue.is_string()) Fail(APlace, Key(AKey) + " must be a text");
    return AValue.get<std::string>();
  }
  int Int(const json& AValue, const std::string& APlace, const std::string& AKey, int AMin, int AMax) const {
    if (!AValue.is_number_integer() || AValue.get<long long>() < AMin || AValue.get<long long>() > AMax)
      Fail(APlace, Key(AKey) + " must be a whole number from " + std::to_string(AMin) + " to " + std::to_string(AMax));
    return AValue.get<int>();
  }
  template <class T>
  T Choice(const json& AValue, const std::string& APlace, const std::string& AKey, const TChoices<T>& AChoices) const {
    if (AValue.is_string())
      for (const auto& [name, value] : AChoices)
        if (AValue.get<std::string>() == name) return value;
    std::string names;
    for (const auto& c : AChoices) names += (names.empty() ? "\"" : ", \"") + std::string(c.first) + "\"";
    Fail(APlace, Key(AKey) + " must be one of " + names);
  }
  // "#RRGGBB" as the class library's colour (red in the low byte).
  TColor Color(const json& AValue, const std::string& APlace, const std::string& AKey) const {
    std::string text = AValue.is_string() ? AValue.get<std::string>() : std::string();
    bool ok = text.size() == 7 && text[0] == '#';
    for (size_t i = 1; ok && i < text.size(); ++i) ok = std::isxdigit(static_cast<unsigned char>(text[i])) != 0;
    if (!ok) Fail(APlace, Key(AKey) + " must be a colour \"#RRGGBB\"");
    unsigned long rgb = std::stoul(text.substr(1), nullptr, 16);
    return static_cast<TColor>(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
  }
  TLayoutRef Ref(const json& AValue, const std::string& APlace, const std::string& AKey) const {
    TLayoutRef ref;
    if (AValue.is_string() && !AValue.get<std::string>().empty())
      ref.Name = AValue.get<std::string>();
    else if (AValue.is_number_integer() && AValue.get<long long>() >= 0 && AValue.get<long long>() <= 100000)
      ref.Index = AValue.get<int>();
    else
      Fail(APlace, Key(AKey) + " must be a band's name or its index in \"bands\" (from 0)");
    return ref;
  }

  // --- Parts ----------------------------------------------------------------
  TLayoutOptions Options(const json& AValue, const std::string& APlace) const;
  TLayoutStyle Style(const json& AValue, const std::string& APlace) const;
  TLayoutStyleSlots Slots(const json& AValue, const std::string& APlace, std::initializer_list<const char*> ASlots,
                          const std::map<std::string, TLayoutStyle>& AStyles) const;
  TLayoutBand Band(const json& AValue, const std::string& APlace,
                   const std::map<std::string, TLayoutStyle>& AStyles) const;
  TLayoutColumn Column(const json& AValue, const std::string& APlace,
                       const std::map<std::string, TLayoutStyle>& AStyles) const;
  TLayoutEditor Editor(const json& AValue, const std::string& APlace) const;
  TLayoutSummary Summary(const json& AValue, const std::string& APlace, bool AGroup) const;
  TLayoutPreview Preview(const json& AValue, const std::string& APlace) const;
  TLayoutDetail Detail(const json& AValue, const std::string& APlace) const;
  void CheckBandRefs(const TLayout& ALayout, const std::string& APlace) const;
  void CheckViewKind(const TLayout& ALayout, const std::string& APlace) const;

  std::string FName;
};

TLayoutOptions TLayoutReader::Options(const json& AValue, const std::string& APlace) const {
  Object(AValue, APlace, "\"options\"");
  Keys(AValue, APlace,
       {"header", "bandHeaders", "footer", "groupByBox", "groupFooters", "groupSummaryLayout", "footerMultiSummaries",
        "groupFooterMultiSummaries", "gridLines", "gridLineColor", "indicator", "dataRowHeight", "headerHeight",
        "groupRowHeight", "leftPos"});
  TLayoutOptions o;
  for (auto it = AValue.begin(); it != AValue.end(); ++it) {
    const std::string& k = it.key();
    const json& v = it.value();
    if (k == "header") o.Header = Bool(v, APlace, k);
    if (k == "bandHeaders") o.BandHeaders = Bool(v, APlace, k);
    if (k == "footer") o.Footer = Bool(v, APlace, k);
    if (k == "groupByBox") o.GroupByBox = Bool(v, APlace, k);
    if (k == "groupFooters")
      o.GroupFooters = Choice<TcxGridGroupFootersMode>(
          v, APlace, k,
          {{"invisible", gfInvisible}, {"whenExpanded", gfVisibleWhenExpanded}, {"always", gfAlwaysVisible}});
    if (k == "groupSummaryLayout")
      o.GroupSummaryLayout =
          Choice<TcxGridGroupSummaryLayout>(v, APlace, k,
                                            {{"standard", gslStandard},
                                             {"alignWithColumns", gslAlignWithColumns},
                                             {"alignWithColumnsAndDistribute", gslAlignWithColumnsAndDistribute}});
    if (k == "footerMultiSummaries") o.FooterMultiSummaries = Bool(v, APlace, k);
    if (k == "groupFooterMultiSummaries") o.GroupFooterMultiSummaries = Bool(v, APlace, k);
    if (k == "gridLines")
      o.GridLines = Choice<TcxGridLines>(
          v, APlace, k, {{"both", glBoth}, {"none", glNone}, {"vertical", glVertical}, {"horizontal", glHorizontal}});
    if (k == "gridLineColor") o.GridLineColor = Color(v, APlace, k);
    if (k == "indicator") o.Indicator = Bool(v, APlace, k);
    if (k == "dataRowHeight") o.DataRowHeight = Int(v, APlace, k, 0, 10000);
    if (k == "headerHeight") o.HeaderHeight = Int(v, APlace, k, 0, 10000);
    if (k == "groupRowHeight") o.GroupRowHeight = Int(v, APlace, k, 0, 10000);
    if (k == "leftPos") o.LeftPos = Int(v, APlace, k, 0, 10000000);
  }
  return o;
}

TLayoutStyle TLayoutReader::Style(const json& AValue, const std::string& APlace) const {
  Object(AValue, APlace, "a style");
  Keys(AValue, APlace, {"color", "textColor", "font"});
  TLayoutStyle style;
  for (auto it = AValue.begin(); it != AValue.end(); ++it) {
    const std::string& k = it.key();
    const json& v = it.value();
    if (k == "color") style.Color = Color(v, APlace, k);
    if (k == "textColor") style.TextColor = Color(v, APlace, k);
    if (k == "font") {
      const std::string place = APlace + "font: ";
      Object(v, APlace, "\"font\"");
      Keys(v, place, {"name", "size", "bold", "italic", "underline", "strikeOut"});
      TLayoutFont font;
      for (auto f = v.begin(); f != v.end(); ++f) {
        if (f.key() == "name") {
          font.Name = Text(f.value(), place, f.key());
          if (font.Name->empty()) Fail(place, "\"name\" must not be empty");
        }
        if (f.key() == "size") font.Size = Int(f.value(), place, f.key(), 1, 1000);
        if (f.key() == "bold") font.Bold = Bool(f.value(), place, f.key());
        if (f.key() == "italic") font.Italic = Bool(f.value(), place, f.key());
        if (f.key() == "underline") font.Underline = Bool(f.value(), place, f.key());
        if (f.key() == "strikeOut") font.StrikeOut = Bool(f.value(), place, f.key());
      }
      style.Font = font;
    }
  }
  return style;
}

TLayoutStyleSlots TLayoutReader::Slots(const json& AValue, const std::string& APlace,
                                       std::initializer_list<const char*> ASlots,
                                       const std::map<std::string, TLayoutStyle>& AStyles) const {
  Object(AValue, APlace, "the style slots");
  Keys(AValue, APlace, ASlots);
  TLayoutStyleSlots slots;
  for (auto it = AValue.begin(); it != AValue.end(); ++it) {
    std::string name = Text(it.value(), APlace, it.key());
    if (!AStyles.count(name)) Fail(APlace, Key(it.key()) + ": there is no style \"" + name + "\" in \"styles\"");
    slots[it.key()] = name;
  }
  return slots;
}

TLayoutBand TLayoutReader::Band(const json& AValue, const std::string& APlace,
                                const std::map<std::string, TLayoutStyle>& AStyles) const {
  Object(AValue, APlace, "a band");
  Keys(AValue, APlace, {"name", "caption", "width", "visible", "fixed", "band", "alignment", "styles"});
  TLayoutBand band;
  for (auto it = AValue.begin(); it != AValue.end(); ++it) {
    const std::string& k = it.key();
    const json& v = it.value();
    if (k == "name") {
      band.Name = Text(v, APlace, k);
      if (band.Name.empty()) Fail(APlace, "\"name\" must not be empty");
    }
    if (k == "caption") band.Caption = Text(v, APlace, k);
    if (k == "width") band.Width = Int(v, APlace, k, 0, 100000);
    if (k == "visible") band.Visible = Bool(v, APlace, k);
    if (k == "fixed")
      band.Fixed = Choice<TLayoutFixed>(
          v, APlace, k, {{"none", TLayoutFixed::None}, {"left", TLayoutFixed::Left}, {"right", TLayoutFixed::Right}});
    if (k == "band" && !v.is_null()) band.Parent = Ref(v, APlace, k);
    if (k == "alignment") band.Alignment = Choice(v, APlace, k, Alignments);
    if (k == "styles") band.Styles = Slots(v, APlace + "styles: ", {"header", "content", "background"}, AStyles);
  }
  return band;
}

TLayoutEditor TLayoutReader::Editor(const json& AValue, const std::string& APlace) const {
  Object(AValue, APlace, "\"editor\"");
  Keys(AValue, APlace, {"kind", "displayFormat", "alignment"});
  TLayoutEditor editor;
  for (auto it = AValue.begin(); it != AValue.end(); ++it) {
    const std::string& k = it.key();
    const json& v = it.value();
    if (k == "kind") editor.Kind = Choice<TLayoutEditorKind>(v, APlace, k, EditorKindNames());
    if (k == "displayFormat") editor.DisplayFormat = Text(v, APlace, k);
    if (k == "alignment") editor.Alignment = Choice(v, APlace, k, Alignments);
  }
  if (editor.DisplayFormat && editor.Kind) {
    TLayoutEditorKind kind = *editor.Kind;
    if (kind != TLayoutEditorKind::Calc && kind != TLayoutEditorKind::Currency && kind != TLayoutEditorKind::Date &&
        kind != TLayoutEditorKind::Spin)
      Fail(APlace, "\"displayFormat\" needs an editor that has one (calc, currency, date or spin)");
  }
  return editor;
}

TLayoutColumn TLayoutReader::Column(const json& AValue, const std::string& APlace,
                                    const std::map<std::string, TLayoutStyle>& AStyles) const {
  Object(AValue, APlace, "a column");
  Keys(AValue, APlace,
       {"field", "name", "caption", "visible", "width", "band", "row", "lineCount", "groupIndex", "cellMerging",
        "groupFooters", "headerAlignment", "footerAlignment", "editor", "styles"});
  TLayoutColumn column;
  for (auto it = AValue.begin(); it != AValue.end(); ++it) {
    const std::string& k = it.key();
    const json& v = it.value();
    if (k == "field") column.Field = Text(v, APlace, k);
    if (k == "name") {
      column.Name = Text(v, APlace, k);
      if (column.Name.empty()) Fail(APlace, "\"name\" must not be empty");
    }
    if (k == "caption") column.Caption = Text(v, APlace, k);
    if (k == "visible") column.Visible = Bool(v, APlace, k);
    if (k == "width") column.Width = Int(v, APlace, k, 0, 100000);
    if (k == "band") column.Band = Ref(v, APlace, k);
    if (k == "row") column.Row = Int(v, APlace, k, 0, 99);
    if (k == "lineCount") column.LineCount = Int(v, APlace, k, 1, 100);
    if (k == "groupIndex") column.GroupIndex = Int(v, APlace, k, -1, 999);
    if (k == "cellMerging") column.CellMerging = Bool(v, APlace, k);
    if (k == "groupFooters") column.GroupFooters = Bool(v, APlace, k);
    if (k == "headerAlignment") column.HeaderAlignment = Choice(v, APlace, k, Alignments);
    if (k == "footerAlignment") column.FooterAlignment = Choice(v, APlace, k, Alignments);
    if (k == "editor") column.Editor = Editor(v, APlace + "editor: ");
    if (k == "styles")
      column.Styles = Slots(v, APlace + "styles: ", {"content", "header", "footer", "groupSummary"}, AStyles);
  }
  if (column.Name.empty()) column.Name = column.Field;
  return column;
}

TLayoutSummary TLayoutReader::Summary(const json& AValue, const std::string& APlace, bool AGroup) const {
  Object(AValue, APlace, "a summary");
  if (AGroup)
    Keys(AValue, APlace, {"column", "kind", "format", "position"});
  else
    Keys(AValue, APlace, {"column", "kind", "format"});
  TLayoutSummary summary;
  if (!AValue.contains("column")) Fail(APlace, "\"column\" is needed (the name of the column summed)");
  if (!AValue.contains("kind")) Fail(APlace, "\"kind\" is needed");
  for (auto it = AValue.begin(); it != AValue.end(); ++it) {
    const std::string& k = it.key();
    const json& v = it.value();
    if (k == "column") summary.Column = Text(v, APlace, k);
    if (k == "kind")
      summary.Kind = Choice<TcxSummaryKind>(
          v, APlace, k, {{"sum", skSum}, {"count", skCount}, {"average", skAverage}, {"min", skMin}, {"max", skMax}});
    if (k == "format") summary.Format = Text(v, APlace, k);
    if (k == "position") summary.InGroupFooter = Choice<bool>(v, APlace, k, {{"groupRow", false}, {"footer", true}});
  }
  return summary;
}

TLayoutPreview TLayoutReader::Preview(const json& AValue, const std::string& APlace) const {
  Object(AValue, APlace, "\"preview\"");
  Keys(AValue, APlace, {"column", "visible", "place", "maxLineCount", "autoHeight", "leftIndent"});
  if (!AValue.contains("column")) Fail(APlace, "\"column\" is needed (the name of the column shown)");
  TLayoutPreview preview;
  for (auto it = AValue.begin(); it != AValue.end(); ++it) {
    const std::string& k = it.key();
    const json& v = it.value();
    if (k == "column") preview.Column = Text(v, APlace, k);
    if (k == "visible") preview.Visible = Bool(v, APlace, k);
    if (k == "place") preview.Place = Choice<TcxGridPreviewPlace>(v, APlace, k, {{"top", ppTop}, {"bottom", ppBottom}});
    if (k == "maxLineCount") preview.MaxLineCount = Int(v, APlace, k, 0, 1000);
    if (k == "autoHeight") preview.AutoHeight = Bool(v, APlace, k);
    if (k == "leftIndent") preview.LeftIndent = Int(v, APlace, k, 0, 10000);
  }
  return preview;
}

TLayoutDetail TLayoutReader::Detail(const json& AValue, const std::string& APlace) const {
  Object(AValue, APlace, "\"detail\"");
  Keys(AValue, APlace, {"table", "query", "csv", "masterKey", "detailKey", "caption", "layout"});
  TLayoutDetail detail;
  int sources = 0;
  for (auto it = AValue.begin(); it != AValue.end(); ++it) {
    const std::string& k = it.key();
    const json& v = it.value();
    std::string* source = k == "table"   ? &detail.Table
                          : k == "query" ? &detail.Query
                          : k == "csv"   ? &detail.Csv
                                         : nullptr;
    if (source) {
      *source = Text(v, APlace, k);
      if (source->empty()) Fail(APlace, Key(k) + " must not be empty");
      ++sources;
    }
    if (k == "masterKey") detail.MasterKey = Text(v, APlace, k);
    if (k == "detailKey") detail.DetailKey = Text(v, APlace, k);
    if (k == "caption") detail.Caption = Text(v, APlace, k);
    if (k == "layout") {
      Object(v, APlace, "\"layout\"");
      detail.Layout.push_back(Layout(v, APlace + "layout: ", false));
    }
  }
  if (sources != 1) Fail(APlace, "give the detail data as one of \"table\", \"query\" or \"csv\"");
  if (!AValue.contains("masterKey") || !AValue.contains("detailKey"))
    Fail(APlace, "\"masterKey\" and \"detailKey\" are needed (the fields that link a detail record to its master)");
  std::vector<std::string> master = SplitKeyNames(detail.MasterKey), detailKeys = SplitKeyNames(detail.DetailKey);
  for (const auto& list : {master, detailKeys})
    for (const std::string& name : list)
      if (name.empty()) Fail(APlace, "a key names an empty field (fields are separated by \";\")");
  if (master.size() != detailKeys.size())
    Fail(APlace, "\"masterKey\" names " + std::to_string(master.size()) + " fields, \"detailKey\" " +
                     std::to_string(detailKeys.size()));
  return detail;
}

void TLayoutReader::CheckBandRefs(const TLayout& ALayout, const std::string& APlace) const {
  const int count = static_cast<int>(ALayout.Bands.size());
  std::set<std::string> names;
  for (int i = 0; i < count; ++i) {
    const std::string& name = ALayout.Bands[static_cast<size_t>(i)].Name;
    if (!name.empty() && !names.insert(name).second)
      Fail(APlace + "band " + std::to_string(i + 1) + ": ", "the name \"" + name + "\" is used by an earlier band");
  }
  // The index of a referenced band; fails naming the place when there is none.
  auto find = [&](const TLayoutRef& ARef, const std::string& APlaceOf) {
    if (ARef.IsIndex()) {
      if (ARef.Index >= count)
        Fail(APlaceOf, "\"band\": there is no band " + std::to_string(ARef.Index) + " (\"bands\" holds " +
                           std::to_string(count) + ", counted from 0)");
      return ARef.Index;
    }
    for (int i = 0; i < count; ++i)
      if (ALayout.Bands[static_cast<size_t>(i)].Name == ARef.Name) return i;
    Fail(APlaceOf, "\"band\": there is no band named \"" + ARef.Name + "\"");
  };
  for (int i = 0; i < count; ++i) {
    const TLayoutBand& band = ALayout.Bands[static_cast<size_t>(i)];
    const std::string place = APlace + "band " + std::to_string(i + 1) + ": ";
    if (!band.Parent) continue;
    if (band.Fixed && *band.Fixed != TLayoutFixed::None)
      Fail(place, "\"fixed\" is for root bands (a child band goes with its root band)");
    // Following the parents must end at a root band.
    int at = i;
    for (int steps = 0; steps <= count; ++steps) {
      const TLayoutBand& b = ALayout.Bands[static_cast<size_t>(at)];
      if (!b.Parent) break;
      at = find(*b.Parent, APlace + "band " + std::to_string(at + 1) + ": ");
      if (at == i) Fail(place, "\"band\" puts the band inside itself");
    }
  }
  for (size_t c = 0; c < ALayout.Columns.size(); ++c)
    if (ALayout.Columns[c].Band) find(*ALayout.Columns[c].Band, APlace + "column " + std::to_string(c + 1) + ": ");
}

void TLayoutReader::CheckViewKind(const TLayout& ALayout, const std::string& APlace) const {
  if (ALayout.View != TLayoutViewKind::Table) return;
  const std::string only = " is for banded views only (this layout has \"view\": \"table\")";
  if (ALayout.HasBands) Fail(APlace, "\"bands\"" + only);
  if (ALayout.Options.BandHeaders) Fail(APlace + "options: ", "\"bandHeaders\"" + only);
  for (const char* slot : {"bandHeader", "bandBackground"})
    if (ALayout.ViewStyles.count(slot)) Fail(APlace + "viewStyles: ", Key(slot) + only);
  for (size_t c = 0; c < ALayout.Columns.size(); ++c) {
    const TLayoutColumn& column = ALayout.Columns[c];
    const std::string place = APlace + "column " + std::to_string(c + 1) + ": ";
    if (column.Band) Fail(place, "\"band\"" + only);
    if (column.Row) Fail(place, "\"row\"" + only);
    if (column.LineCount) Fail(place, "\"lineCount\"" + only);
  }
}

TLayout TLayoutReader::Layout(const json& ADoc, const std::string& APlace, bool AAllowDetail) const {
  Keys(ADoc, APlace, {"view", "options", "styles", "viewStyles", "bands", "columns", "summaries", "preview", "detail"});
  TLayout layout;
  // Styles first: the other parts refer to them by name.
  if (ADoc.contains("styles")) {
    Object(ADoc["styles"], APlace, "\"styles\"");
    for (auto it = ADoc["styles"].begin(); it != ADoc["styles"].end(); ++it)
      layout.Styles[it.key()] = Style(it.value(), APlace + "style \"" + it.key() + "\": ");
  }
  for (auto it = ADoc.begin(); it != ADoc.end(); ++it) {
    const std::string& k = it.key();
    const json& v = it.value();
    if (k == "view")
      layout.View = Choice<TLayoutViewKind>(v, APlace, k,
                                            {{"banded", TLayoutViewKind::Banded}, {"table", TLayoutViewKind::Table}});
    if (k == "options") layout.Options = Options(v, APlace + "options: ");
    if (k == "viewStyles")
      layout.ViewStyles = Slots(v, APlace + "viewStyles: ",
                                {"background", "content", "contentEven", "contentOdd", "footer", "group",
                                 "groupSummary", "header", "preview", "bandHeader", "bandBackground"},
                                layout.Styles);
    if (k == "bands") {
      if (!v.is_array() || v.empty())
        Fail(APlace,
             "\"bands\" must be a list of at least one band (a banded view shows only the columns in its bands)");
      layout.HasBands = true;
      int number = 0;
      for (const json& item : v)
        layout.Bands.push_back(Band(item, APlace + "band " + std::to_string(++number) + ": ", layout.Styles));
    }
    if (k == "columns") {
      if (!v.is_array()) Fail(APlace, "\"columns\" must be a list");
      layout.HasColumns = true;
      int number = 0;
      for (const json& item : v)
        layout.Columns.push_back(Column(item, APlace + "column " + std::to_string(++number) + ": ", layout.Styles));
    }
    if (k == "summaries") {
      const std::string place = APlace + "summaries: ";
      Object(v, APlace, "\"summaries\"");
      Keys(v, place, {"footer", "group"});
      for (auto s = v.begin(); s != v.end(); ++s) {
        const bool group = s.key() == "group";
        if (!s.value().is_array()) Fail(place, Key(s.key()) + " must be a list");
        int number = 0;
        for (const json& item : s.value())
          (group ? layout.GroupSummaries : layout.FooterSummaries)
              .push_back(Summary(item, APlace + s.key() + " summary " + std::to_string(++number) + ": ", group));
      }
    }
    if (k == "preview") layout.Preview = Preview(v, APlace + "preview: ");
    if (k == "detail") {
      if (!AAllowDetail) Fail(APlace, "\"detail\": a detail level has no detail level of its own");
      layout.Detail = Detail(v, APlace + "detail: ");
    }
  }
  CheckViewKind(layout, APlace);
  CheckBandRefs(layout, APlace);
  return layout;
}

}  // namespace

TLayout ParseLayout(const std::string& AText, const std::string& AName) {
  TLayoutReader reader(AName);
  json doc;
  try {
    doc = json::parse(AText);
  } catch (const json::parse_error& e) {
    reader.Fail("", std::string("not valid JSON (") + e.what() + ")");
  }
  if (!doc.is_object()) reader.Fail("", "the file must hold one JSON object");
  return reader.Layout(doc, "", true);
}

TLayout ReadLayoutFile(const std::string& AFileName) {
  if (DirectoryExists(AFileName)) throw Exception("layout " + AFileName + ": it is a folder");
  if (!FileExists(AFileName)) throw Exception("layout " + AFileName + ": the file does not exist");
  return ParseLayout(ReadFileBytes(AFileName), AFileName);
}

}  // namespace kv::app
