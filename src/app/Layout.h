// Layout files: everything a user sets on the banded or table view the
// command line builds (JSON, UTF-8; described with a complete example in
// docs/layout.md).
//
// A layout names the view kind, its display options, named styles and the
// view's style slots, the bands (banded views), the columns with their
// places, grouping, editors and styles, footer and group summaries, the
// preview and one detail level (a second dataset shown under each master
// record).  Every key is optional; a layout of only "columns" (field,
// caption, visible, width) is the simplest form.
//
// Reading a layout (LayoutParse.cpp) checks its form: unknown keys, values of
// the wrong kind and references to bands, columns and styles that do not
// exist are errors naming the file and the place ("layout F: column 3:
// unknown key \"widht\"").  Applying it to a view (LayoutApply.cpp) checks it
// against the data: fields the dataset does not have are errors too.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "gridpack/DataSummary.h"
#include "gridpack/TableView.h"
#include "platform/Exceptions.h"
#include "platform/Fonts.h"
#include "platform/Graphics.h"
#include "platform/Types.h"

namespace kv {
class TComponent;
class TDataSet;
}  // namespace kv

namespace kv::app {

enum class TLayoutViewKind { Banded, Table };

// A band or column given by its name (a text) or its index in its list.
struct TLayoutRef {
  std::string Name;
  int Index = -1;  // >= 0 when given as a number
  bool IsIndex() const { return Index >= 0; }
};

struct TLayoutFont {
  std::optional<std::string> Name;
  std::optional<int> Size;
  std::optional<bool> Bold, Italic, Underline, StrikeOut;
};

// A named style: what it sets, the rest is left to the view's defaults.
struct TLayoutStyle {
  std::optional<TColor> Color;
  std::optional<TColor> TextColor;
  std::optional<TLayoutFont> Font;
};

// Style slots of a view, a band or a column: slot key -> style name.
using TLayoutStyleSlots = std::map<std::string, std::string>;

struct TLayoutOptions {
  std::optional<bool> Header, BandHeaders, Footer, GroupByBox;
  std::optional<TcxGridGroupFootersMode> GroupFooters;
  std::optional<TcxGridGroupSummaryLayout> GroupSummaryLayout;
  std::optional<bool> FooterMultiSummaries, GroupFooterMultiSummaries;
  std::optional<TcxGridLines> GridLines;
  std::optional<TColor> GridLineColor;
  std::optional<bool> Indicator;
  std::optional<int> DataRowHeight, HeaderHeight, GroupRowHeight;
  std::optional<int> LeftPos;
};

// Where a root band is fixed (the band's fixed kind).
enum class TLayoutFixed { None, Left, Right };

struct TLayoutBand {
  std::string Name;  // empty: reached by index only
  std::optional<std::string> Caption;
  std::optional<int> Width;
  bool Visible = true;
  std::optional<TLayoutFixed> Fixed;
  std::optional<TLayoutRef> Parent;  // none: a root band
  std::optional<TAlignment> Alignment;
  TLayoutStyleSlots Styles;  // header, content, background
};

enum class TLayoutEditorKind { Text, Mask, Calc, Currency, Date, Spin, Time, Image, CheckBox };

struct TLayoutEditor {
  std::optional<TLayoutEditorKind> Kind;  // none: by the field's type
  std::optional<std::string> DisplayFormat;
  std::optional<TAlignment> Alignment;
};

struct TLayoutColumn {
  std::string Field;  // empty: bound to no field
  std::string Name;   // the column's id; defaults to the field name
  std::optional<std::string> Caption;
  bool Visible = true;
  std::optional<int> Width;
  std::optional<TLayoutRef> Band;  // none: the first band
  std::optional<int> Row, LineCount;
  std::optional<int> GroupIndex;
  std::optional<bool> CellMerging, GroupFooters;
  std::optional<TAlignment> HeaderAlignment, FooterAlignment;
  std::optional<TLayoutEditor> Editor;
  TLayoutStyleSlots Styles;  // content, header, footer, groupSummary
};

struct TLayoutSummary {
  std::string Column;  // a column's name
  TcxSummaryKind Kind = skNone;
  std::string Format;
  bool InGroupFooter = false;  // group summaries: "position": "footer"
};

struct TLayoutPreview {
  std::string Column;
  std::optional<bool> Visible;
  std::optional<TcxGridPreviewPlace> Place;
  std::optional<int> MaxLineCount, LeftIndent;
  std::optional<bool> AutoHeight;
};

struct TLayout;

// The detail level: a second dataset whose records are shown under the
// master record whose key fields hold the same values.
struct TLayoutDetail {
  std::string Table, Query, Csv;  // exactly one is given
  std::string MasterKey, DetailKey;
  std::optional<std::string> Caption;
  std::vector<TLayout> Layout;  // none or one: the detail view's layout
};

struct TLayout {
  TLayoutViewKind View = TLayoutViewKind::Banded;
  TLayoutOptions Options;
  std::map<std::string, TLayoutStyle> Styles;
  TLayoutStyleSlots ViewStyles;
  bool HasBands = false;  // "bands" given
  std::vector<TLayoutBand> Bands;
  bool HasColumns = false;  // "columns" given; otherwise one column per field
  std::vector<TLayoutColumn> Columns;
  std::vector<TLayoutSummary> FooterSummaries, GroupSummaries;
  std::optional<TLayoutPreview> Preview;
  std::optional<TLayoutDetail> Detail;
};

// The editor kinds by their names in layout files ("text", "calc", ...).
const std::vector<std::pair<const char*, TLayoutEditorKind>>& EditorKindNames();

// The field names of a ";"-separated key list, each trimmed (empty names
// are kept, so that a caller can reject them).
std::vector<std::string> SplitKeyNames(const std::string& AList);

// Parses layout text; AName names it in messages.  Raises Exception with a
// message "layout AName: place: what" when the text is not a layout.
TLayout ParseLayout(const std::string& AText, const std::string& AName);
TLayout ReadLayoutFile(const std::string& AFileName);

// Builds the view's bands, columns, options, styles, summaries and preview
// from a layout.  The styles are made as components of AStyleOwner (the
// form).  ABandCaption captions the band a banded view gets when the layout
// has no "bands".  Raises Exception naming AName and the place when the
// layout does not fit the view or the data (a field the dataset lacks, band
// keys on a table view).
// APlace prefixes the places in messages (a detail level's layout).
void ApplyLayout(const TLayout& ALayout, const std::string& AName, TcxGridTableView& AView, const TDataSet& ADataSet,
                 TComponent& AStyleOwner, const std::string& ABandCaption, const std::string& APlace = "");
// The view without a layout: on a banded view one band captioned
// ABandCaption; every field a visible column captioned with its field name,
// with the editor of its field type (DefaultEditorKind).
void ApplyDefaultLayout(TcxGridTableView& AView, const TDataSet& ADataSet, const std::string& ABandCaption);

}  // namespace kv::app
