// Reading layout files and building view columns from them.
#include "app/Layout.h"

#include <nlohmann/json.hpp>

#include "gridpack/DBBandedTableView.h"
#include "platform/DB.h"
#include "platform/Files.h"
#include "platform/Streams.h"

namespace kv::app {

namespace {

using nlohmann::json;

[[noreturn]] void Fail(const std::string& AName, const std::string& AWhat) {
  throw Exception("layout " + AName + ": " + AWhat);
}

}  // namespace

TLayout ParseLayout(const std::string& AText, const std::string& AName) {
  json doc;
  try {
    doc = json::parse(AText);
  } catch (const json::parse_error& e) {
    Fail(AName, std::string("not valid JSON (") + e.what() + ")");
  }
  if (!doc.is_object()) Fail(AName, "the file must hold a JSON object with a \"columns\" list");
  for (auto it = doc.begin(); it != doc.end(); ++it)
    if (it.key() != "columns") Fail(AName, "unknown key \"" + it.key() + "\"");
  if (!doc.contains("columns") || !doc["columns"].is_array()) Fail(AName, "a \"columns\" list is needed");
  TLayout layout;
  int number = 0;
  for (const json& item : doc["columns"]) {
    std::string where = "column " + std::to_string(++number) + ": ";
    if (!item.is_object()) Fail(AName, where + "must be an object");
    TLayoutColumn column;
    for (auto it = item.begin(); it != item.end(); ++it) {
      const std::string& key = it.key();
      const json& value = it.value();
      if (key == "field") {
        if (!value.is_string()) Fail(AName, where + "\"field\" must be a text");
        column.Field = value.get<std::string>();
      } else if (key == "caption") {
        if (!value.is_string()) Fail(AName, where + "\"caption\" must be a text");
        column.Caption = value.get<std::string>();
      } else if (key == "visible") {
        if (!value.is_boolean()) Fail(AName, where + "\"visible\" must be true or false");
        column.Visible = value.get<bool>();
      } else if (key == "width") {
        if (!value.is_number_integer() || value.get<long long>() < 0 || value.get<long long>() > 100000)
          Fail(AName, where + "\"width\" must be a whole number from 0 to 100000");
        column.Width = value.get<int>();
      } else {
        Fail(AName, where + "unknown key \"" + key + "\"");
      }
    }
    layout.Columns.push_back(column);
  }
  return layout;
}

TLayout ReadLayoutFile(const std::string& AFileName) {
  if (!FileExists(AFileName)) Fail(AFileName, "the file does not exist");
  return ParseLayout(ReadFileBytes(AFileName), AFileName);
}

void ApplyLayout(const TLayout& ALayout, const std::string& AName, TcxGridDBBandedTableView& AView,
                 const TDataSet& ADataSet) {
  AView.ClearColumns();
  AView.Bands()->Clear();
  TcxGridBand* band = AView.Bands()->Add();  // a banded view shows the columns of its bands
  int number = 0;
  for (const TLayoutColumn& c : ALayout.Columns) {
    ++number;
    TcxGridDBBandedColumn* column = AView.CreateColumn();
    column->Position().SetBand(band);
    if (!c.Field.empty()) {
      TField* field = ADataSet.FindField(c.Field);
      if (!field) Fail(AName, "column " + std::to_string(number) + ": the data has no field \"" + c.Field + "\"");
      column->DataBinding()->FieldName = field->FieldName;
    }
    if (c.Caption) column->SetCaption(*c.Caption);
    column->SetVisible(c.Visible);
    if (c.Width) column->SetWidth(*c.Width);
  }
}

void ApplyDefaultLayout(TcxGridDBBandedTableView& AView, const TDataSet& ADataSet) {
  AView.ClearColumns();
  AView.Bands()->Clear();
  TcxGridBand* band = AView.Bands()->Add();
  for (int i = 0; i < ADataSet.FieldCount(); ++i) {
    TcxGridDBBandedColumn* column = AView.CreateColumn();
    column->DataBinding()->FieldName = ADataSet.Fields(i)->FieldName;
    column->Position().SetBand(band);
  }
}

}  // namespace kv::app
