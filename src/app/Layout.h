// Layout files: the columns of the view the command line builds (JSON,
// described in docs/layout.md).
//
//   { "columns": [ { "field": "order_no", "caption": "订单号", "visible": true, "width": 90 },
//                  { "field": "customer" },
//                  { "caption": "签收人" } ] }
//
// Columns are made in the order given.  "field" names a dataset field (case
// of A to Z ignored); a column without one is bound to no field.  "caption"
// defaults to the field's name, "visible" to true, "width" to 64.  Without a
// layout every field becomes a visible column.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Exceptions.h"

namespace kv {
class TDataSet;
class TcxGridDBBandedTableView;
}  // namespace kv

namespace kv::app {

struct TLayoutColumn {
  std::string Field;  // empty: bound to no field
  std::optional<std::string> Caption;
  bool Visible = true;
  std::optional<int> Width;
};

struct TLayout {
  std::vector<TLayoutColumn> Columns;
};

// Parses layout text; AName names it in messages.  Raises Exception with a
// message naming the file and the column when the text is not a layout.
TLayout ParseLayout(const std::string& AText, const std::string& AName);
TLayout ReadLayoutFile(const std::string& AFileName);

// Makes the view's columns from a layout; raises Exception when a column
// names a field the dataset does not have.
void ApplyLayout(const TLayout& ALayout, const std::string& AName, TcxGridDBBandedTableView& AView,
                 const TDataSet& ADataSet);
// One visible column per dataset field, in field order.
void ApplyDefaultLayout(TcxGridDBBandedTableView& AView, const TDataSet& ADataSet);

}  // namespace kv::app
