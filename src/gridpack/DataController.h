// Data controllers: what connects a view to its data.
//
// `TcxCustomDataController` holds the data records of a view and what the
// view does with them:
//   - records: numbered from 0; the value and display text of a record for
//     an item of the view (`GetValue`, `GetDisplayText`);
//   - grouping: the records sorted by the values of the view's grouped items
//     (level 0 first; records of equal values keep their order) and split
//     into data groups, a tree with one level per grouped item;
//   - rows: what the view shows, in display order: a group row per data
//     group whose parent groups are all expanded, and a data row per record
//     whose groups are all expanded; a row's level is its group's level
//     (data rows: the number of grouping levels);
//   - expansion: group rows, and the data rows of a master view (a view
//     whose level has detail levels), can be expanded; an expanded master
//     row shows a detail view per detail level (DetailGridViews);
//   - selection of rows (group and data rows; one row at a time unless
//     MultiSelect is set);
//   - summaries (DataSummary.h).
// The structure is built when first needed and again after the data, the
// grouping or grid mode changed; group expansion and group selection start
// collapsed and unselected with every rebuild, while the expansion and
// selection of data records stay with their records.
//
// `TcxGridDataController` keeps the values in itself (views without a
// dataset; the host fills them).  `TcxDBDataController` (and the grid's
// `TcxGridDBDataController`) reads a dataset
// through a data source: its records are the dataset's records (or, in grid
// mode, a window of `GridModeBufferCount` records starting at the dataset's
// current record, without grouping), read without moving the dataset's
// cursor; a detail controller shows only the records whose
// `DetailKeyFieldNames` fields equal the master record's
// `MasterKeyFieldNames` fields.  The controller follows the dataset's
// notifications (open/close, changes), which stop while the dataset's
// controls are disabled.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gridpack/DataSummary.h"
#include "platform/DB.h"
#include "platform/Variant.h"

namespace kv {

class TcxCustomGridView;
class TcxCustomGridTableView;
class TcxCustomGridTableItem;
class TcxGridLevel;

// What one row shows.
struct TcxRowInfo {
  int Level = 0;         // grouping level (data rows: the number of grouping levels)
  int RecordIndex = -1;  // data rows: the record; group rows: -1
  int GroupIndex = -1;   // group rows: the data group; data rows: the innermost group (-1 without grouping)
  bool IsGroup() const { return RecordIndex < 0; }
};

class TcxCustomDataController {
 public:
  TcxCustomDataController();
  virtual ~TcxCustomDataController();
  TcxCustomDataController(const TcxCustomDataController&) = delete;
  TcxCustomDataController& operator=(const TcxCustomDataController&) = delete;

  TcxCustomGridView* GridView() const { return FGridView; }
  // The view as a table-kind view; nullptr for other views.
  TcxCustomGridTableView* TableView() const;

  // --- Records -------------------------------------------------------------
  // The number of data records (loading them when needed).
  int RecordCount() const;
  // The value of record ARecordIndex for an item of the view; null for an
  // item without data.  List-index error for a record out of range.
  Variant GetValue(int ARecordIndex, const TcxCustomGridTableItem* AItem) const;
  // The text the record's data gives for the item: a field's display text,
  // or the item's editor text of the value for views without a dataset.
  std::string GetDisplayText(int ARecordIndex, const TcxCustomGridTableItem* AItem) const;

  // --- Grouping ------------------------------------------------------------
  // The number of grouping levels (grouped items of the view; 0 in grid mode).
  int GroupingLevelCount() const;
  // The item grouped at a level.
  TcxCustomGridTableItem* GroupingItem(int ALevel) const;
  int DataGroupCount() const;
  int DataGroupLevel(int AGroupIndex) const;
  // The group's value (the grouped item's value of its records).
  Variant DataGroupValue(int AGroupIndex) const;
  int DataGroupParent(int AGroupIndex) const;  // -1 for level 0
  // The data records of a group (all of them, expanded or not), in row order.
  std::vector<int> DataGroupRecords(int AGroupIndex) const;
  // The records in row order (grouped order), all of them.
  const std::vector<int>& SortedRecords() const;

  // --- Rows ----------------------------------------------------------------
  int RowCount() const;
  TcxRowInfo GetRowInfo(int ARowIndex) const;  // list-index error when out of range
  // The row showing a record; -1 when a group above it is collapsed.
  int GetRowIndexByRecordIndex(int ARecordIndex) const;
  // The row showing a data group; -1 when a group above it is collapsed.
  int GetRowIndexByGroupIndex(int AGroupIndex) const;

  // --- Expansion -----------------------------------------------------------
  // Group rows always; data rows when the view is a master view.
  bool IsRowExpandable(int ARowIndex) const;
  bool IsRowExpanded(int ARowIndex) const;
  // Expands or collapses a row (rows that are not expandable do not change);
  // ARecursive does the same to every group and record below a group row.
  void ChangeExpanding(int ARowIndex, bool AExpanded, bool ARecursive = false);
  void FullExpand();
  void FullCollapse();
  // Whether a data record is expanded (master rows).
  bool IsRecordExpanded(int ARecordIndex) const;
  // Counts every change of the row list (views drop their record objects).
  uint64_t RowListVersion() const { return FRowListVersion; }

  // --- Selection -----------------------------------------------------------
  bool MultiSelect = false;
  bool IsRowSelected(int ARowIndex) const;
  // Selects or deselects a row; without MultiSelect selecting a row first
  // deselects every other.
  void ChangeRowSelection(int ARowIndex, bool ASelect);
  bool IsRecordSelected(int ARecordIndex) const;
  // Selected group rows and records (also those inside collapsed groups).
  int GetSelectedCount() const;
  // Selects every visible row (MultiSelect only; else the first row).
  void SelectAll();
  void ClearSelection();

  // --- Master-detail -------------------------------------------------------
  // The detail views of master record ARecordIndex, one per detail level of
  // the view's level, made when first asked: the view the detail level's
  // OnGetDetailView gives (the host keeps it), else a copy of the level's
  // view whose data are the detail records of this master record.  Empty
  // for views that are no master.
  int DetailGridViewCount(int ARecordIndex) const;
  TcxCustomGridView* DetailGridViews(int ARecordIndex, int ADetailIndex) const;
  int ActiveDetailIndex(int ARecordIndex) const;
  void SetActiveDetailIndex(int ARecordIndex, int AIndex);

  // --- Summaries -----------------------------------------------------------
  TcxDataSummary& Summary() { return *FSummary; }
  const TcxDataSummary& Summary() const { return *FSummary; }
  // Makes a summary item of the class the controller's views use.
  virtual std::unique_ptr<TcxDataSummaryItem> NewSummaryItem() const;

  // --- Modes ---------------------------------------------------------------
  // Grid mode: only a window of the data is loaded (data-bound controllers).
  virtual bool IsGridMode() const { return false; }

  // --- Notifications -------------------------------------------------------
  // Counts of the notifications received (a change of the data, of its state,
  // a move of the current record): what the view redraws after.
  uint64_t DataChangeCount() const { return FDataChanges; }
  uint64_t ScrollCount() const { return FScrolls; }
  // The grouping, an item or a data setting changed: rebuild when next needed.
  void StructureChanged();
  // Drops the detail views of every master record now (the detail levels
  // or the master view's level are going away).
  void DropDetails();

 protected:
  // Called when the data changed or was opened or closed.
  virtual void DataChanged();
  virtual void FocusedRecordChanged() { ++FScrolls; }
  // The records must be loaded again (a setting of the data changed).
  void DataInvalidated();

  // --- What a controller class provides -----------------------------------
  // Loads the records; returns their number.
  virtual int LoadRecords() = 0;
  virtual Variant DoGetValue(int ARecordIndex, const TcxCustomGridTableItem* AItem) const = 0;
  virtual std::string DoGetDisplayText(int ARecordIndex, const TcxCustomGridTableItem* AItem) const = 0;
  // A key that names a record across reloads (expansion and selection
  // follow it): the record index unless a class knows better.
  virtual int RecordKey(int ARecordIndex) const { return ARecordIndex; }
  // A detail view copied from APattern for master record ARecordIndex.
  virtual std::unique_ptr<TcxCustomGridView> CreateDetailClone(TcxCustomGridView* APattern, int ARecordIndex) const;
  // Whether a grouping may be built (not in grid mode).
  virtual bool CanGroup() const { return true; }

  void CheckLoaded() const;
  void CheckStructure() const;
  void CheckRecordIndex(int ARecordIndex) const;

 private:
  friend class TcxCustomGridView;
  struct TDataGroup;
  class TRowList;
  struct TDetailSet;

  void BuildStructure();
  void ExpandGroupRow(int ARowIndex, const TcxRowInfo& AInfo);
  void CollapseGroupRow(int ARowIndex, const TcxRowInfo& AInfo);
  void AppendGroupRows(int AGroupIndex, std::vector<int32_t>& ARows) const;
  void SetRecordFlag(int ARecordIndex, uint8_t AFlag, bool AOn);
  bool RecordFlag(int ARecordIndex, uint8_t AFlag) const;
  TDetailSet& DetailSet(int ARecordIndex) const;
  void RebuildRows();
  int RowLevel(int32_t ARow) const;

  TcxCustomGridView* FGridView = nullptr;
  std::unique_ptr<TcxDataSummary> FSummary;
  uint64_t FDataChanges = 0;
  uint64_t FScrolls = 0;
  uint64_t FRowListVersion = 0;

  mutable bool FLoaded = false;
  mutable bool FStructureValid = false;
  mutable int FRecordCount = 0;
  mutable std::vector<int> FSorted;
  mutable std::vector<TDataGroup> FGroups;
  mutable std::vector<TcxCustomGridTableItem*> FGroupingItems;
  mutable std::unique_ptr<TRowList> FRows;
  mutable std::vector<uint8_t> FRecordFlags;                  // by RecordKey: selected, expanded
  mutable std::vector<std::unique_ptr<TDetailSet>> FDetails;  // by record index
  mutable bool FDetailsStale = false;
  int FSelectedGroups = 0;
  mutable std::vector<int> FRecordGroup;  // record -> innermost data group
  mutable std::vector<int> FGroupRows;    // data group -> row (cache)
  mutable uint64_t FGroupRowsVersion = ~0ull;
};

// The controller of views that hold their own data (no dataset): the host
// sets the record count and the values.
class TcxGridDataController : public TcxCustomDataController {
 public:
  TcxGridDataController();
  ~TcxGridDataController() override;

  // Changes the number of records; new records hold nulls.
  void SetRecordCount(int ACount);
  // Appends a record of nulls; returns its index.
  int AppendRecord();
  void DeleteRecord(int ARecordIndex);
  // Sets a value (list-index error for a record out of range).
  void SetValue(int ARecordIndex, const TcxCustomGridTableItem* AItem, const Variant& AValue);

 protected:
  int LoadRecords() override { return static_cast<int>(FValues.size()); }
  Variant DoGetValue(int ARecordIndex, const TcxCustomGridTableItem* AItem) const override;
  std::string DoGetDisplayText(int ARecordIndex, const TcxCustomGridTableItem* AItem) const override;

 private:
  // Per record, the values by the item's data index.
  std::vector<std::vector<Variant>> FValues;
};

class TcxDBDataController;

// The grid-mode settings of a data-bound controller.
class TcxDBDataModeController {
 public:
  explicit TcxDBDataModeController(TcxDBDataController* AOwner) : FOwner(AOwner) {}
  bool GridMode() const { return FGridMode; }
  // Switching reloads the records.
  void SetGridMode(bool AValue);
  // Records loaded in grid mode (at least 1; 100 by default).
  int GridModeBufferCount() const { return FGridModeBufferCount; }
  void SetGridModeBufferCount(int AValue);

 private:
  TcxDBDataController* FOwner;
  bool FGridMode = false;
  int FGridModeBufferCount = 100;
};

// The data-bound controller: records of a dataset.
class TcxDBDataController : public TcxCustomDataController {
 public:
  TcxDBDataController();
  ~TcxDBDataController() override;

  TDataSource* DataSource() const { return FLink.DataSource(); }
  void SetDataSource(TDataSource* ADataSource);
  // The data source's dataset; nullptr when there is no source or no dataset.
  TDataSet* DataSet() const;

  TcxDBDataModeController* DataModeController() { return &FDataModeController; }
  const TcxDBDataModeController* DataModeController() const { return &FDataModeController; }
  bool IsGridMode() const override { return FDataModeController.GridMode(); }

  // Key fields (";"-separated): KeyFieldNames names a record; a detail
  // view's DetailKeyFieldNames (its own fields) are matched with
  // MasterKeyFieldNames (the master view's fields).
  std::string KeyFieldNames;
  std::string DetailKeyFieldNames;
  std::string MasterKeyFieldNames;

  // The dataset field bound to an item; nullptr when the item names no field
  // of the dataset.
  TField* GetItemField(const TcxCustomGridTableItem* AItem) const;
  // The dataset position (from 0) of a record.
  int RecordDataSetIndex(int ARecordIndex) const;
  // The value of a dataset field for a record (null without a field).
  Variant GetFieldValue(int ARecordIndex, TField* AField) const;
  // Values of the fields named in a ";"-separated list for a record; an
  // empty list when a name is no field of the dataset.
  std::vector<Variant> GetFieldValues(int ARecordIndex, const std::string& AFieldNames) const;

  // Remembers the dataset's current record, and goes back to it (nothing
  // happens when nothing was saved or the record is gone).
  void SaveDataSetPos();
  void RestoreDataSetPos();

  // Limits the records to those whose fields AFields hold AValues (detail
  // views; an empty list shows every record).  A null value, a value list
  // of another length or a name that is no field of the dataset leaves no
  // record.
  void SetDetailFilter(std::vector<std::string> AFields, std::vector<Variant> AValues);

 protected:
  int LoadRecords() override;
  Variant DoGetValue(int ARecordIndex, const TcxCustomGridTableItem* AItem) const override;
  std::string DoGetDisplayText(int ARecordIndex, const TcxCustomGridTableItem* AItem) const override;
  int RecordKey(int ARecordIndex) const override { return RecordDataSetIndex(ARecordIndex); }
  std::unique_ptr<TcxCustomGridView> CreateDetailClone(TcxCustomGridView* APattern, int ARecordIndex) const override;
  bool CanGroup() const override { return !IsGridMode(); }

 private:
  friend class TcxDBDataModeController;
  class TLink : public TDataLink {
   public:
    explicit TLink(TcxDBDataController* AOwner) : FOwner(AOwner) {}
    void ActiveChanged() override { FOwner->DataChanged(); }
    void DataSetChanged() override { FOwner->DataChanged(); }
    void DataSetScrolled() override { FOwner->FocusedRecordChanged(); }

   private:
    TcxDBDataController* FOwner;
  };
  void FocusedRecordChanged() override;
  TLink FLink;
  TcxDBDataModeController FDataModeController;
  mutable std::vector<int> FDataSetIndexes;  // record -> dataset position
  TBookmarkStr FSavedPos;
  std::vector<std::string> FDetailFields;
  std::vector<Variant> FDetailValues;
  bool FDetailMatchesNothing = false;
};

// The controller of data-bound grid views: its summary items are the
// data-bound table view's (they may name a field).
class TcxGridDBDataController : public TcxDBDataController {
 protected:
  std::unique_ptr<TcxDataSummaryItem> NewSummaryItem() const override;
};

}  // namespace kv
