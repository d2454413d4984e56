// Records of table-kind views: the objects a view shows as rows, and the view
// data that hands them out in display order.
//
// A record object stands for one row of the data controller (DataController.h)
// as it is at the time: `TcxGridGroupRow` for a group row, `TcxGridDataRow`
// for a data row, `TcxGridMasterDataRow` for a data row of a master view.
// Record objects are made when first asked and kept until the row list
// changes (a row is expanded or collapsed, the data or the grouping
// changes); then the view data drops them the next time it is asked, so a
// caller that expands rows reads the records again by index.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "gridpack/DataController.h"
#include "platform/Variant.h"

namespace kv {

class TcxCustomGridView;
class TcxCustomGridTableView;
class TcxCustomGridTableItem;
class TcxGridColumn;
class TcxGridViewData;

class TcxCustomGridRecord {
 public:
  virtual ~TcxCustomGridRecord() = default;
  TcxCustomGridRecord(const TcxCustomGridRecord&) = delete;
  TcxCustomGridRecord& operator=(const TcxCustomGridRecord&) = delete;

  TcxCustomGridTableView* GridView() const;
  TcxGridViewData* ViewData() const { return FViewData; }
  TcxCustomDataController* DataController() const;
  // The row's index in the view data (display order).
  int Index() const { return FIndex; }
  // Whether this is the last row of the view data.
  bool IsLast() const;
  // The data record (-1 for group rows).
  int RecordIndex() const { return FInfo.RecordIndex; }
  // Grouping level: group rows their group's level, data rows the number of
  // grouping levels.
  int Level() const { return FInfo.Level; }
  // The group row above this row (the nearest row before it with a lower
  // level); nullptr at level 0.
  TcxCustomGridRecord* ParentRecord() const;
  virtual bool IsData() const { return true; }

  virtual bool Expandable() const;
  bool Expanded() const;
  // Expands or collapses the row (no change when it is not expandable); the
  // view data drops its record objects on its next use.
  void SetExpanded(bool AValue);
  bool Selected() const;
  void SetSelected(bool AValue);
  bool Focused() const;

  // The value and the display text for an item of the view (by item index);
  // group rows: null and "" except for their grouped item.
  virtual Variant Values(int AItemIndex) const;
  virtual std::string DisplayTexts(int AItemIndex) const;

 protected:
  TcxCustomGridRecord(TcxGridViewData* AViewData, int AIndex, const TcxRowInfo& AInfo)
      : FViewData(AViewData), FIndex(AIndex), FInfo(AInfo) {}
  const TcxRowInfo& Info() const { return FInfo; }

 private:
  TcxGridViewData* FViewData;
  int FIndex;
  TcxRowInfo FInfo;
};

// The rows of a table view (data rows and group rows).
class TcxCustomGridRow : public TcxCustomGridRecord {
 protected:
  using TcxCustomGridRecord::TcxCustomGridRecord;
};

class TcxGridDataRow : public TcxCustomGridRow {
 public:
  bool Expandable() const override { return false; }

 protected:
  friend class TcxGridViewData;
  using TcxCustomGridRow::TcxCustomGridRow;
};

// A data row of a master view: expanding it shows its detail views.
class TcxGridMasterDataRow : public TcxGridDataRow {
 public:
  bool Expandable() const override { return true; }
  int DetailGridViewCount() const;
  TcxCustomGridView* DetailGridViews(int AIndex) const;
  int ActiveDetailIndex() const;
  void SetActiveDetailIndex(int AValue);
  // The detail view shown (of the active detail level); nullptr when the
  // view has no detail levels.
  TcxCustomGridView* ActiveDetailGridView() const;

 protected:
  friend class TcxGridViewData;
  using TcxGridDataRow::TcxGridDataRow;
};

class TcxGridGroupRow : public TcxCustomGridRow {
 public:
  bool IsData() const override { return false; }
  bool Expandable() const override { return true; }
  // The data group shown.
  int GroupIndex() const { return Info().GroupIndex; }
  // The item grouped at this row's level.
  TcxCustomGridTableItem* GroupedItem() const;
  TcxGridColumn* GroupedColumn() const;
  // The group's value, and its display text (the grouped item's display
  // text of the group's first record).
  Variant Value() const;
  std::string DisplayValueText() const;
  // The caption part of the row's text: the grouped item's caption, " : "
  // when the caption is not empty, the value's display text.
  std::string DisplayCaption() const;
  // The group's summary text (DataSummary.h); "" when none.
  std::string GroupSummaryText() const;
  // DisplayCaption, then a blank and the summary text when there is one.
  std::string DisplayText() const;
  // The group's summary items and their values; false when there are none.
  bool GetGroupSummaryInfo(const TcxDataGroupSummaryItems*& AItems, std::vector<Variant>& AValues) const;
  // The data records of the group (expanded or not), in row order.
  std::vector<int> RecordIndexes() const;

  Variant Values(int AItemIndex) const override;
  std::string DisplayTexts(int AItemIndex) const override;

 protected:
  friend class TcxGridViewData;
  using TcxCustomGridRow::TcxCustomGridRow;
};

// The rows of a view as record objects, in display order.
class TcxGridViewData {
 public:
  explicit TcxGridViewData(TcxCustomGridTableView* AView) : FView(AView) {}
  TcxGridViewData(const TcxGridViewData&) = delete;
  TcxGridViewData& operator=(const TcxGridViewData&) = delete;

  TcxCustomGridTableView* GridView() const { return FView; }
  // The number of rows (read again after expanding or collapsing).
  int RecordCount() const;
  // The record object of row AIndex (list-index error when out of range).
  TcxCustomGridRecord* Records(int AIndex) const;
  // Drops every record object (they are made again when asked).
  void Clear() const;

 private:
  void CheckVersion() const;
  TcxCustomGridTableView* FView;
  mutable std::unordered_map<int, std::unique_ptr<TcxCustomGridRecord>> FRecords;
  mutable uint64_t FVersion = 0;
};

}  // namespace kv
