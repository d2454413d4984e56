// The pieces that apply a layout to a view, shared by the files that hold
// them: editors by kind and field type (LayoutEditors.cpp), bands and column
// positions (LayoutBands.cpp), the rest (LayoutApply.cpp).
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/Layout.h"

namespace kv {
class TField;
class TcxStyle;
class TcxCustomEditProperties;
class TcxGridColumn;
class TcxGridBandedTableView;
}  // namespace kv

namespace kv::app {

// What applying one layout works with: the file's name and the place of the
// layout in it for messages, and the styles made from its "styles".
struct TLayoutContext {
  std::string Name;   // the layout file
  std::string Place;  // "" or "detail: layout: "
  std::map<std::string, TcxStyle*> Styles;

  // Raises Exception "layout Name: Place APlace AWhat".
  [[noreturn]] void Fail(const std::string& APlace, const std::string& AWhat) const;
  // The style of a name the parser has checked.
  TcxStyle* Style(const std::string& AName) const { return Styles.at(AName); }
};

// The editor kind of a field's type: spin for integers, calc for floats,
// currency for currency, BCD and fields marked currency, date for dates,
// date-times and time stamps, time for times, check box for Booleans, image
// for graphics, text otherwise (and for no field).
TLayoutEditorKind DefaultEditorKind(const TField* AField);
// The layout's name of an editor kind ("text", "calc", ...).
const char* EditorKindName(TLayoutEditorKind AKind);
// New editor properties of a kind, fitted to the field: a date editor on a
// date-time or time-stamp field shows the time too ("yyyy-mm-dd hh:nn:ss"),
// a spin editor on a field of fractions counts in fractions.  AField may be
// nullptr.
std::unique_ptr<TcxCustomEditProperties> MakeEditor(TLayoutEditorKind AKind, const TField* AField);
// Sets the display format of properties that have one; false for the others.
bool SetDisplayFormat(TcxCustomEditProperties& AProperties, const std::string& AFormat);

// Makes the bands of a banded view and puts the columns (AColumns[i] made
// from ALayout.Columns[i], or, without "columns", one per field) into them:
// without "bands", one band captioned ABandCaption holds every column.
void ApplyBands(const TLayout& ALayout, const TLayoutContext& AContext, TcxGridBandedTableView& AView,
                const std::vector<TcxGridColumn*>& AColumns, const std::string& ABandCaption);

}  // namespace kv::app
