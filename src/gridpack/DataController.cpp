// Data controllers: records, grouping, rows, expansion, selection, details,
// and the data-bound controller's link to its dataset.
#include "gridpack/DataController.h"

#include <algorithm>
#include <cstring>
#include <numeric>

#include "gridpack/CustomTableView.h"
#include "gridpack/DBTableView.h"
#include "gridpack/Grid.h"
#include "gridpack/GridView.h"
#include "platform/DBFields.h"
#include "platform/Exceptions.h"
#include "platform/Files.h"

namespace kv {

namespace {

enum : uint8_t { rfSelected = 0x01, rfExpanded = 0x02 };

// A row entry: a record index (0 or more) or a data group (-(group + 1)).
constexpr int32_t GroupRow(int AGroup) { return -(AGroup + 1); }
constexpr bool IsGroupRow(int32_t ARow) { return ARow < 0; }
constexpr int GroupOfRow(int32_t ARow) { return -ARow - 1; }

// Splits a ";"-separated list of names (blanks around names dropped).
std::vector<std::string> SplitNames(const std::string& ANames) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= ANames.size()) {
    size_t end = ANames.find(';', start);
    if (end == std::string::npos) end = ANames.size();
    std::string name = Trim(std::string_view(ANames).substr(start, end - start));
    if (!name.empty()) names.push_back(name);
    start = end + 1;
  }
  return names;
}

}  // namespace

struct TcxCustomDataController::TDataGroup {
  int Level = 0;
  int Parent = -1;
  int First = 0;  // range of FSorted
  int Last = 0;   // one past the end
  std::vector<int> Children;
  bool Expanded = false;
  bool Selected = false;
};

// The rows in display order, kept in a gap buffer: rows expanded or collapsed
// one after another from top to bottom (as an export that expands every row
// does) move the gap only forward, so each change costs what it inserts.
class TcxCustomDataController::TRowList {
 public:
  explicit TRowList(std::vector<int32_t> ARows)
      : FBuffer(std::move(ARows)), FGapStart(FBuffer.size()), FGapEnd(FBuffer.size()) {}
  int Count() const { return static_cast<int>(FBuffer.size() - (FGapEnd - FGapStart)); }
  int32_t Get(int AIndex) const {
    size_t i = static_cast<size_t>(AIndex);
    return i < FGapStart ? FBuffer[i] : FBuffer[i + (FGapEnd - FGapStart)];
  }
  void Insert(int AIndex, const std::vector<int32_t>& ARows) {
    if (ARows.empty()) return;
    MoveGap(static_cast<size_t>(AIndex));
    if (FGapEnd - FGapStart < ARows.size()) Grow(ARows.size());
    std::copy(ARows.begin(), ARows.end(), FBuffer.begin() + static_cast<ptrdiff_t>(FGapStart));
    FGapStart += ARows.size();
  }
  void Erase(int AIndex, int ACount) {
    if (ACount <= 0) return;
    MoveGap(static_cast<size_t>(AIndex));
    FGapEnd += static_cast<size_t>(ACount);
  }
  // The position of a row entry; -1 when absent.  Linear.
  int Find(int32_t ARow) const {
    for (int i = 0; i < Count(); ++i)
      if (Get(i) == ARow) return i;
    return -1;
  }

 private:
  void MoveGap(size_t APos) {
    if (APos < FGapStart) {
      size_t n = FGapStart - APos;
      std::memmove(&FBuffer[FGapEnd - n], &FBuffer[APos], n * sizeof(int32_t));
      FGapStart -= n;
      FGapEnd -= n;
    } else if (APos > FGapStart) {
      size_t n = APos - FGapStart;
      std::memmove(&FBuffer[FGapStart], &FBuffer[FGapEnd], n * sizeof(int32_t));
      FGapStart += n;
      FGapEnd += n;
    }
  }
  void Grow(size_t ANeeded) {
    size_t tail = FBuffer.size() - FGapEnd;
    size_t size = std::max(FBuffer.size() * 2, FBuffer.size() + ANeeded) + 16;
    std::vector<int32_t> buffer(size);
    std::copy(FBuffer.begin(), FBuffer.begin() + static_cast<ptrdiff_t>(FGapStart), buffer.begin());
    std::copy(FBuffer.begin() + static_cast<ptrdiff_t>(FGapEnd), FBuffer.end(),
              buffer.end() - static_cast<ptrdiff_t>(tail));
    FGapEnd = size - tail;
    FBuffer.swap(buffer);
  }
  std::vector<int32_t> FBuffer;
  size_t FGapStart;
  size_t FGapEnd;
};

struct TcxCustomDataController::TDetailSet {
  bool Made = false;
  int Active = 0;
  std::vector<TcxCustomGridView*> Views;                  // per detail level (nullptr: none)
  std::vector<std::unique_ptr<TcxCustomGridView>> Owned;  // the copies among them
};

// --- TcxCustomDataController ------------------------------------------------------------

TcxCustomDataController::TcxCustomDataController() : FSummary(std::make_unique<TcxDataSummary>(this)) {}

TcxCustomDataController::~TcxCustomDataController() {
  // Details first: they may refer to this controller's view.
  DropDetails();
}

TcxCustomGridTableView* TcxCustomDataController::TableView() const {
  return dynamic_cast<TcxCustomGridTableView*>(FGridView);
}

void TcxCustomDataController::DataChanged() {
  ++FDataChanges;
  DataInvalidated();
}

void TcxCustomDataController::DataInvalidated() {
  FLoaded = false;
  FStructureValid = false;
  // Detail copies go when next used: this may run inside a dataset
  // notification that walks the links the copies hold.
  FDetailsStale = true;
  ++FRowListVersion;
}

void TcxCustomDataController::StructureChanged() {
  FStructureValid = false;
  ++FRowListVersion;
}

void TcxCustomDataController::CheckLoaded() const {
  if (FDetailsStale) const_cast<TcxCustomDataController*>(this)->DropDetails();
  if (FLoaded) return;
  auto* self = const_cast<TcxCustomDataController*>(this);
  self->FRecordCount = self->LoadRecords();
  self->FLoaded = true;
  self->FStructureValid = false;
}

void TcxCustomDataController::CheckStructure() const {
  CheckLoaded();
  if (!FStructureValid) const_cast<TcxCustomDataController*>(this)->BuildStructure();
}

void TcxCustomDataController::CheckRecordIndex(int ARecordIndex) const {
  if (ARecordIndex < 0 || ARecordIndex >= FRecordCount) RaiseListIndexError(ARecordIndex);
}

int TcxCustomDataController::RecordCount() const {
  CheckLoaded();
  return FRecordCount;
}

Variant TcxCustomDataController::GetValue(int ARecordIndex, const TcxCustomGridTableItem* AItem) const {
  CheckLoaded();
  CheckRecordIndex(ARecordIndex);
  return AItem ? DoGetValue(ARecordIndex, AItem) : Variant::Null();
}

std::string TcxCustomDataController::GetDisplayText(int ARecordIndex, const TcxCustomGridTableItem* AItem) const {
  CheckLoaded();
  CheckRecordIndex(ARecordIndex);
  return AItem ? DoGetDisplayText(ARecordIndex, AItem) : std::string();
}

// --- Grouping ------------------------------------------------------------------------

void TcxCustomDataController::BuildStructure() {
  FStructureValid = true;
  ++FRowListVersion;
  FGroupingItems.clear();
  if (CanGroup())
    if (TcxCustomGridTableView* view = TableView()) FGroupingItems = view->GetGroupingItems();
  const int levels = static_cast<int>(FGroupingItems.size());
  const int n = FRecordCount;
  FSorted.resize(static_cast<size_t>(n));
  std::iota(FSorted.begin(), FSorted.end(), 0);
  FGroups.clear();
  FRecordGroup.assign(static_cast<size_t>(n), -1);
  if (levels > 0) {
    // The grouped values, read once.
    std::vector<std::vector<Variant>> values(static_cast<size_t>(levels));
    for (int l = 0; l < levels; ++l) {
      values[static_cast<size_t>(l)].reserve(static_cast<size_t>(n));
      for (int r = 0; r < n; ++r)
        values[static_cast<size_t>(l)].push_back(DoGetValue(r, FGroupingItems[static_cast<size_t>(l)]));
    }
    std::stable_sort(FSorted.begin(), FSorted.end(), [&](int A, int B) {
      for (int l = 0; l < levels; ++l) {
        int c = VarCompare(values[static_cast<size_t>(l)][static_cast<size_t>(A)],
                           values[static_cast<size_t>(l)][static_cast<size_t>(B)]);
        if (c != 0) return c < 0;
      }
      return false;
    });
    // The group tree, parents before their children.
    auto build = [&](auto&& self, int ALevel, int AFirst, int ALast, int AParent) -> void {
      const auto& v = values[static_cast<size_t>(ALevel)];
      int start = AFirst;
      while (start < ALast) {
        int end = start + 1;
        while (end < ALast && VarEquals(v[static_cast<size_t>(FSorted[static_cast<size_t>(start)])],
                                        v[static_cast<size_t>(FSorted[static_cast<size_t>(end)])]))
          ++end;
        int index = static_cast<int>(FGroups.size());
        TDataGroup group;
        group.Level = ALevel;
        group.Parent = AParent;
        group.First = start;
        group.Last = end;
        FGroups.push_back(std::move(group));
        if (AParent >= 0) FGroups[static_cast<size_t>(AParent)].Children.push_back(index);
        if (ALevel + 1 < levels)
          self(self, ALevel + 1, start, end, index);
        else
          for (int k = start; k < end; ++k) FRecordGroup[static_cast<size_t>(FSorted[static_cast<size_t>(k)])] = index;
        start = end;
      }
    };
    build(build, 0, 0, n, -1);
  }
  FSelectedGroups = 0;
  RebuildRows();
}

void TcxCustomDataController::AppendGroupRows(int AGroupIndex, std::vector<int32_t>& ARows) const {
  const TDataGroup& group = FGroups[static_cast<size_t>(AGroupIndex)];
  ARows.push_back(GroupRow(AGroupIndex));
  if (!group.Expanded) return;
  if (!group.Children.empty()) {
    for (int child : group.Children) AppendGroupRows(child, ARows);
  } else {
    for (int k = group.First; k < group.Last; ++k) ARows.push_back(FSorted[static_cast<size_t>(k)]);
  }
}

void TcxCustomDataController::RebuildRows() {
  std::vector<int32_t> rows;
  if (FGroupingItems.empty()) {
    rows.assign(FSorted.begin(), FSorted.end());
  } else {
    for (size_t g = 0; g < FGroups.size(); ++g)
      if (FGroups[g].Level == 0) AppendGroupRows(static_cast<int>(g), rows);
  }
  FRows = std::make_unique<TRowList>(std::move(rows));
  ++FRowListVersion;
}

int TcxCustomDataController::GroupingLevelCount() const {
  CheckStructure();
  return static_cast<int>(FGroupingItems.size());
}

TcxCustomGridTableItem* TcxCustomDataController::GroupingItem(int ALevel) const {
  CheckStructure();
  if (ALevel < 0 || ALevel >= static_cast<int>(FGroupingItems.size())) RaiseListIndexError(ALevel);
  return FGroupingItems[static_cast<size_t>(ALevel)];
}

int TcxCustomDataController::DataGroupCount() const {
  CheckStructure();
  return static_cast<int>(FGroups.size());
}

int TcxCustomDataController::DataGroupLevel(int AGroupIndex) const {
  if (AGroupIndex < 0 || AGroupIndex >= DataGroupCount()) RaiseListIndexError(AGroupIndex);
  return FGroups[static_cast<size_t>(AGroupIndex)].Level;
}

Variant TcxCustomDataController::DataGroupValue(int AGroupIndex) const {
  DataGroupLevel(AGroupIndex);  // checks the index
  const TDataGroup& group = FGroups[static_cast<size_t>(AGroupIndex)];
  return DoGetValue(FSorted[static_cast<size_t>(group.First)], FGroupingItems[static_cast<size_t>(group.Level)]);
}

int TcxCustomDataController::DataGroupParent(int AGroupIndex) const {
  DataGroupLevel(AGroupIndex);
  return FGroups[static_cast<size_t>(AGroupIndex)].Parent;
}

std::vector<int> TcxCustomDataController::DataGroupRecords(int AGroupIndex) const {
  DataGroupLevel(AGroupIndex);
  const TDataGroup& group = FGroups[static_cast<size_t>(AGroupIndex)];
  return std::vector<int>(FSorted.begin() + group.First, FSorted.begin() + group.Last);
}

const std::vector<int>& TcxCustomDataController::SortedRecords() const {
  CheckStructure();
  return FSorted;
}

// --- Rows ---------------------------------------------------------------------------

int TcxCustomDataController::RowCount() const {
  CheckStructure();
  return FRows->Count();
}

int TcxCustomDataController::RowLevel(int32_t ARow) const {
  return IsGroupRow(ARow) ? FGroups[static_cast<size_t>(GroupOfRow(ARow))].Level
                          : static_cast<int>(FGroupingItems.size());
}

TcxRowInfo TcxCustomDataController::GetRowInfo(int ARowIndex) const {
  if (ARowIndex < 0 || ARowIndex >= RowCount()) RaiseListIndexError(ARowIndex);
  int32_t row = FRows->Get(ARowIndex);
  TcxRowInfo info;
  info.Level = RowLevel(row);
  if (IsGroupRow(row)) {
    info.GroupIndex = GroupOfRow(row);
  } else {
    info.RecordIndex = row;
    info.GroupIndex = FRecordGroup[static_cast<size_t>(row)];
  }
  return info;
}

int TcxCustomDataController::GetRowIndexByGroupIndex(int AGroupIndex) const {
  CheckStructure();
  if (AGroupIndex < 0 || AGroupIndex >= static_cast<int>(FGroups.size())) return -1;
  if (FGroupRowsVersion != FRowListVersion) {
    FGroupRows.assign(FGroups.size(), -1);
    for (int i = 0; i < FRows->Count(); ++i) {
      int32_t row = FRows->Get(i);
      if (IsGroupRow(row)) FGroupRows[static_cast<size_t>(GroupOfRow(row))] = i;
    }
    FGroupRowsVersion = FRowListVersion;
  }
  return FGroupRows[static_cast<size_t>(AGroupIndex)];
}

int TcxCustomDataController::GetRowIndexByRecordIndex(int ARecordIndex) const {
  CheckStructure();
  if (ARecordIndex < 0 || ARecordIndex >= FRecordCount) return -1;
  int group = FRecordGroup[static_cast<size_t>(ARecordIndex)];
  if (group < 0) {
    // Without grouping the rows are the records in order.
    return ARecordIndex;
  }
  int groupRow = GetRowIndexByGroupIndex(group);
  if (groupRow < 0 || !FGroups[static_cast<size_t>(group)].Expanded) return -1;
  for (int i = groupRow + 1; i < FRows->Count(); ++i) {
    int32_t row = FRows->Get(i);
    if (IsGroupRow(row)) break;
    if (row == ARecordIndex) return i;
  }
  return -1;
}

// --- Expansion --------------------------------------------------------------------------

bool TcxCustomDataController::IsRowExpandable(int ARowIndex) const {
  TcxRowInfo info = GetRowInfo(ARowIndex);
  return info.IsGroup() || (FGridView && FGridView->IsMaster());
}

bool TcxCustomDataController::IsRowExpanded(int ARowIndex) const {
  TcxRowInfo info = GetRowInfo(ARowIndex);
  if (info.IsGroup()) return FGroups[static_cast<size_t>(info.GroupIndex)].Expanded;
  return IsRowExpandable(ARowIndex) && RecordFlag(info.RecordIndex, rfExpanded);
}

bool TcxCustomDataController::IsRecordExpanded(int ARecordIndex) const {
  CheckLoaded();
  CheckRecordIndex(ARecordIndex);
  return FGridView && FGridView->IsMaster() && RecordFlag(ARecordIndex, rfExpanded);
}

void TcxCustomDataController::ExpandGroupRow(int ARowIndex, const TcxRowInfo& AInfo) {
  TDataGroup& group = FGroups[static_cast<size_t>(AInfo.GroupIndex)];
  if (group.Expanded) return;
  group.Expanded = true;
  std::vector<int32_t> rows;
  AppendGroupRows(AInfo.GroupIndex, rows);
  rows.erase(rows.begin());  // the group row itself is there already
  FRows->Insert(ARowIndex + 1, rows);
  ++FRowListVersion;
}

void TcxCustomDataController::CollapseGroupRow(int ARowIndex, const TcxRowInfo& AInfo) {
  TDataGroup& group = FGroups[static_cast<size_t>(AInfo.GroupIndex)];
  if (!group.Expanded) return;
  group.Expanded = false;
  int end = ARowIndex + 1;
  while (end < FRows->Count() && RowLevel(FRows->Get(end)) > AInfo.Level) ++end;
  FRows->Erase(ARowIndex + 1, end - ARowIndex - 1);
  ++FRowListVersion;
}

void TcxCustomDataController::ChangeExpanding(int ARowIndex, bool AExpanded, bool ARecursive) {
  TcxRowInfo info = GetRowInfo(ARowIndex);
  if (!info.IsGroup()) {
    if (IsRowExpandable(ARowIndex)) SetRecordFlag(info.RecordIndex, rfExpanded, AExpanded);
    return;
  }
  if (!ARecursive) {
    if (AExpanded)
      ExpandGroupRow(ARowIndex, info);
    else
      CollapseGroupRow(ARowIndex, info);
    return;
  }
  // The whole subtree: take its rows out, change every group below (and the
  // master records), then put the rows back.
  CollapseGroupRow(ARowIndex, info);
  const TDataGroup& top = FGroups[static_cast<size_t>(info.GroupIndex)];
  for (size_t g = 0; g < FGroups.size(); ++g) {
    const TDataGroup& group = FGroups[g];
    if (group.First >= top.First && group.Last <= top.Last && group.Level > top.Level) FGroups[g].Expanded = AExpanded;
  }
  if (FGridView && FGridView->IsMaster())
    for (int k = top.First; k < top.Last; ++k) SetRecordFlag(FSorted[static_cast<size_t>(k)], rfExpanded, AExpanded);
  if (AExpanded) ExpandGroupRow(ARowIndex, info);
}

void TcxCustomDataController::FullExpand() {
  CheckStructure();
  for (TDataGroup& group : FGroups) group.Expanded = true;
  RebuildRows();
}

void TcxCustomDataController::FullCollapse() {
  CheckStructure();
  for (TDataGroup& group : FGroups) group.Expanded = false;
  RebuildRows();
}

// --- Record flags -----------------------------------------------------------------------

bool TcxCustomDataController::RecordFlag(int ARecordIndex, uint8_t AFlag) const {
  size_t key = static_cast<size_t>(RecordKey(ARecordIndex));
  return key < FRecordFlags.size() && (FRecordFlags[key] & AFlag) != 0;
}

void TcxCustomDataController::SetRecordFlag(int ARecordIndex, uint8_t AFlag, bool AOn) {
  size_t key = static_cast<size_t>(RecordKey(ARecordIndex));
  if (key >= FRecordFlags.size()) {
    if (!AOn) return;
    FRecordFlags.resize(key + 1, 0);
  }
  if (AOn)
    FRecordFlags[key] |= AFlag;
  else
    FRecordFlags[key] &= static_cast<uint8_t>(~AFlag);
}

// --- Selection ----------------------------------------------------------------------------

bool TcxCustomDataController::IsRowSelected(int ARowIndex) const {
  TcxRowInfo info = GetRowInfo(ARowIndex);
  if (info.IsGroup()) return FGroups[static_cast<size_t>(info.GroupIndex)].Selected;
  return RecordFlag(info.RecordIndex, rfSelected);
}

bool TcxCustomDataController::IsRecordSelected(int ARecordIndex) const {
  CheckLoaded();
  CheckRecordIndex(ARecordIndex);
  return RecordFlag(ARecordIndex, rfSelected);
}

void TcxCustomDataController::ChangeRowSelection(int ARowIndex, bool ASelect) {
  TcxRowInfo info = GetRowInfo(ARowIndex);
  if (ASelect && !MultiSelect) ClearSelection();
  if (info.IsGroup()) {
    bool& selected = FGroups[static_cast<size_t>(info.GroupIndex)].Selected;
    if (selected != ASelect) FSelectedGroups += ASelect ? 1 : -1;
    selected = ASelect;
  } else {
    SetRecordFlag(info.RecordIndex, rfSelected, ASelect);
  }
}

int TcxCustomDataController::GetSelectedCount() const {
  CheckStructure();
  int count = FSelectedGroups;
  for (int r = 0; r < FRecordCount; ++r)
    if (RecordFlag(r, rfSelected)) ++count;
  return count;
}

void TcxCustomDataController::SelectAll() {
  int rows = RowCount();
  if (!MultiSelect) {
    if (rows > 0) ChangeRowSelection(0, true);
    return;
  }
  for (int i = 0; i < rows; ++i) ChangeRowSelection(i, true);
}

void TcxCustomDataController::ClearSelection() {
  for (uint8_t& flags : FRecordFlags) flags &= static_cast<uint8_t>(~rfSelected);
  for (TDataGroup& group : FGroups) group.Selected = false;
  FSelectedGroups = 0;
}

// --- Master-detail --------------------------------------------------------------------------

void TcxCustomDataController::DropDetails() {
  FDetailsStale = false;
  std::vector<std::unique_ptr<TDetailSet>> details;
  details.swap(FDetails);
  for (auto& set : details) {
    if (!set) continue;
    for (TcxCustomGridView* view : set->Views)
      if (view && view->FMasterView == FGridView) {
        view->FMasterView = nullptr;
        view->FMasterRecordIndex = -1;
      }
  }
  // The copies are freed here, with `details`.
}

TcxCustomDataController::TDetailSet& TcxCustomDataController::DetailSet(int ARecordIndex) const {
  CheckLoaded();
  CheckRecordIndex(ARecordIndex);
  if (FDetails.size() < static_cast<size_t>(FRecordCount)) FDetails.resize(static_cast<size_t>(FRecordCount));
  auto& slot = FDetails[static_cast<size_t>(ARecordIndex)];
  if (!slot) slot = std::make_unique<TDetailSet>();
  TDetailSet& set = *slot;
  if (set.Made) return set;
  set.Made = true;
  TcxGridLevel* level = FGridView ? FGridView->Level() : nullptr;
  if (!level) return set;
  for (int i = 0; i < level->Count(); ++i) {
    TcxGridLevel* detailLevel = level->Items(i);
    TcxCustomGridView* view = nullptr;
    if (detailLevel->OnGetDetailView) view = detailLevel->OnGetDetailView(detailLevel, FGridView, ARecordIndex);
    if (!view && detailLevel->GridView()) {
      std::unique_ptr<TcxCustomGridView> clone = CreateDetailClone(detailLevel->GridView(), ARecordIndex);
      if (clone) {
        clone->FPattern = detailLevel->GridView();
        clone->FLevel = detailLevel;
        view = clone.get();
        set.Owned.push_back(std::move(clone));
      }
    }
    if (view) {
      view->FMasterView = FGridView;
      view->FMasterRecordIndex = ARecordIndex;
    }
    set.Views.push_back(view);
  }
  return set;
}

std::unique_ptr<TcxCustomGridView> TcxCustomDataController::CreateDetailClone(TcxCustomGridView* APattern,
                                                                              int ARecordIndex) const {
  (void)ARecordIndex;
  return APattern->CreateClone();
}

int TcxCustomDataController::DetailGridViewCount(int ARecordIndex) const {
  if (!FGridView || !FGridView->IsMaster()) return 0;
  return static_cast<int>(DetailSet(ARecordIndex).Views.size());
}

TcxCustomGridView* TcxCustomDataController::DetailGridViews(int ARecordIndex, int ADetailIndex) const {
  if (ADetailIndex < 0 || ADetailIndex >= DetailGridViewCount(ARecordIndex)) RaiseListIndexError(ADetailIndex);
  return DetailSet(ARecordIndex).Views[static_cast<size_t>(ADetailIndex)];
}

int TcxCustomDataController::ActiveDetailIndex(int ARecordIndex) const {
  if (DetailGridViewCount(ARecordIndex) == 0) return -1;
  return DetailSet(ARecordIndex).Active;
}

void TcxCustomDataController::SetActiveDetailIndex(int ARecordIndex, int AIndex) {
  int count = DetailGridViewCount(ARecordIndex);
  if (AIndex >= 0 && AIndex < count) DetailSet(ARecordIndex).Active = AIndex;
}

std::unique_ptr<TcxDataSummaryItem> TcxCustomDataController::NewSummaryItem() const {
  return std::make_unique<TcxGridTableSummaryItem>();
}

// --- TcxGridDataController ------------------------------------------------------------------

TcxGridDataController::TcxGridDataController() = default;
TcxGridDataController::~TcxGridDataController() = default;

void TcxGridDataController::SetRecordCount(int ACount) {
  FValues.resize(static_cast<size_t>(ACount < 0 ? 0 : ACount));
  DataChanged();
}

int TcxGridDataController::AppendRecord() {
  FValues.emplace_back();
  DataChanged();
  return static_cast<int>(FValues.size()) - 1;
}

void TcxGridDataController::DeleteRecord(int ARecordIndex) {
  if (ARecordIndex < 0 || ARecordIndex >= static_cast<int>(FValues.size())) RaiseListIndexError(ARecordIndex);
  FValues.erase(FValues.begin() + ARecordIndex);
  DataChanged();
}

void TcxGridDataController::SetValue(int ARecordIndex, const TcxCustomGridTableItem* AItem, const Variant& AValue) {
  if (ARecordIndex < 0 || ARecordIndex >= static_cast<int>(FValues.size())) RaiseListIndexError(ARecordIndex);
  if (!AItem) return;
  auto& values = FValues[static_cast<size_t>(ARecordIndex)];
  size_t index = static_cast<size_t>(AItem->DataBinding()->DataIndex());
  if (values.size() <= index) values.resize(index + 1, Variant::Null());
  values[index] = AValue;
  // Values change no records; the grouping may change.
  StructureChanged();
}

Variant TcxGridDataController::DoGetValue(int ARecordIndex, const TcxCustomGridTableItem* AItem) const {
  const auto& values = FValues[static_cast<size_t>(ARecordIndex)];
  size_t index = static_cast<size_t>(AItem->DataBinding()->DataIndex());
  return index < values.size() ? values[index] : Variant::Null();
}

std::string TcxGridDataController::DoGetDisplayText(int ARecordIndex, const TcxCustomGridTableItem* AItem) const {
  return AItem->GetProperties()->GetDisplayText(DoGetValue(ARecordIndex, AItem));
}

// --- Grid mode --------------------------------------------------------------------------------

void TcxDBDataModeController::SetGridMode(bool AValue) {
  if (FGridMode == AValue) return;
  FGridMode = AValue;
  FOwner->DataInvalidated();
}

void TcxDBDataModeController::SetGridModeBufferCount(int AValue) {
  AValue = AValue < 1 ? 1 : AValue;
  if (FGridModeBufferCount == AValue) return;
  FGridModeBufferCount = AValue;
  if (FGridMode) FOwner->DataInvalidated();
}

// --- TcxDBDataController -------------------------------------------------------------------

TcxDBDataController::TcxDBDataController() : FLink(this), FDataModeController(this) {}

TcxDBDataController::~TcxDBDataController() { DropDetails(); }

void TcxDBDataController::SetDataSource(TDataSource* ADataSource) {
  if (FLink.DataSource() == ADataSource) return;
  FLink.SetDataSource(ADataSource);
  DataChanged();
}

TDataSet* TcxDBDataController::DataSet() const {
  TDataSource* source = FLink.DataSource();
  return source ? source->DataSet() : nullptr;
}

void TcxDBDataController::FocusedRecordChanged() {
  TcxCustomDataController::FocusedRecordChanged();
  if (!IsGridMode()) return;
  // Grid mode follows the cursor: a window that no longer holds the current
  // record is loaded again.
  TDataSet* dataSet = DataSet();
  if (!dataSet || !dataSet->Active() || FDataSetIndexes.empty()) return;
  int current = dataSet->RecNo() - 1;
  if (current < FDataSetIndexes.front() || current > FDataSetIndexes.back()) DataInvalidated();
}

int TcxDBDataController::LoadRecords() {
  FDataSetIndexes.clear();
  TDataSet* dataSet = DataSet();
  if (!dataSet || !dataSet->Active()) return 0;
  const int count = dataSet->RecordCount();
  if (IsGridMode()) {
    int buffer = FDataModeController.GridModeBufferCount();
    int current = std::max(0, dataSet->RecNo() - 1);
    int start = std::max(0, std::min(current, count - buffer));
    for (int i = start; i < count && i < start + buffer; ++i) FDataSetIndexes.push_back(i);
  } else if (FDetailMatchesNothing) {
    // No master key to match.
  } else if (!FDetailFields.empty()) {
    std::vector<TField*> fields;
    for (const std::string& name : FDetailFields) fields.push_back(dataSet->FindField(name));
    if (count > 0 && std::find(fields.begin(), fields.end(), nullptr) == fields.end()) {
      TDataSet::TRecordReader reader(*dataSet, 0);
      for (int i = 0; i < count; ++i) {
        reader.SetRecord(i);
        bool match = true;
        for (size_t k = 0; match && k < fields.size(); ++k) match = VarEquals(fields[k]->Value(), FDetailValues[k]);
        if (match) FDataSetIndexes.push_back(i);
      }
    }
  } else {
    FDataSetIndexes.resize(static_cast<size_t>(count));
    std::iota(FDataSetIndexes.begin(), FDataSetIndexes.end(), 0);
  }
  return static_cast<int>(FDataSetIndexes.size());
}

int TcxDBDataController::RecordDataSetIndex(int ARecordIndex) const {
  CheckLoaded();
  CheckRecordIndex(ARecordIndex);
  return FDataSetIndexes[static_cast<size_t>(ARecordIndex)];
}

TField* TcxDBDataController::GetItemField(const TcxCustomGridTableItem* AItem) const {
  TcxGridItemDBDataBinding* binding = AItem ? DBDataBindingOf(AItem) : nullptr;
  return binding ? binding->Field() : nullptr;
}

Variant TcxDBDataController::GetFieldValue(int ARecordIndex, TField* AField) const {
  CheckLoaded();
  CheckRecordIndex(ARecordIndex);
  if (!AField || AField->DataSet() != DataSet()) return Variant::Null();
  TDataSet::TRecordReader reader(*DataSet(), FDataSetIndexes[static_cast<size_t>(ARecordIndex)]);
  return AField->Value();
}

std::vector<Variant> TcxDBDataController::GetFieldValues(int ARecordIndex, const std::string& AFieldNames) const {
  std::vector<Variant> values;
  TDataSet* dataSet = DataSet();
  if (!dataSet) return values;
  for (const std::string& name : SplitNames(AFieldNames)) {
    TField* field = dataSet->FindField(name);
    if (!field) return {};
    values.push_back(GetFieldValue(ARecordIndex, field));
  }
  return values;
}

Variant TcxDBDataController::DoGetValue(int ARecordIndex, const TcxCustomGridTableItem* AItem) const {
  TField* field = GetItemField(AItem);
  if (!field) return Variant::Null();
  TDataSet::TRecordReader reader(*DataSet(), FDataSetIndexes[static_cast<size_t>(ARecordIndex)]);
  return field->Value();
}

std::string TcxDBDataController::DoGetDisplayText(int ARecordIndex, const TcxCustomGridTableItem* AItem) const {
  TField* field = GetItemField(AItem);
  if (!field) return std::string();
  TDataSet::TRecordReader reader(*DataSet(), FDataSetIndexes[static_cast<size_t>(ARecordIndex)]);
  return field->DisplayText();
}

void TcxDBDataController::SaveDataSetPos() {
  TDataSet* dataSet = DataSet();
  FSavedPos = dataSet && dataSet->Active() ? dataSet->Bookmark() : TBookmarkStr();
}

void TcxDBDataController::RestoreDataSetPos() {
  TDataSet* dataSet = DataSet();
  TBookmarkStr saved;
  saved.swap(FSavedPos);
  if (!dataSet || !dataSet->Active() || saved.empty()) return;
  try {
    dataSet->SetBookmark(saved);
  } catch (const EDatabaseError&) {
    // The record is gone; the cursor stays where it is.
  }
}

void TcxDBDataController::SetDetailFilter(std::vector<std::string> AFields, std::vector<Variant> AValues) {
  FDetailMatchesNothing =
      AFields.size() != AValues.size() ||
      std::any_of(AValues.begin(), AValues.end(), [](const Variant& V) { return V.IsEmptyOrNull(); });
  FDetailFields = std::move(AFields);
  FDetailValues = std::move(AValues);
  DataInvalidated();
}

std::unique_ptr<TcxCustomGridView> TcxDBDataController::CreateDetailClone(TcxCustomGridView* APattern,
                                                                          int ARecordIndex) const {
  std::unique_ptr<TcxCustomGridView> clone = TcxCustomDataController::CreateDetailClone(APattern, ARecordIndex);
  auto* detail = clone ? dynamic_cast<TcxDBDataController*>(clone->DataController()) : nullptr;
  if (!detail) return clone;
  // The detail's own key fields take the master record's key values.
  std::vector<std::string> fields = SplitNames(detail->DetailKeyFieldNames);
  if (fields.empty()) return clone;
  std::vector<Variant> values = GetFieldValues(ARecordIndex, detail->MasterKeyFieldNames);
  detail->SetDetailFilter(std::move(fields), std::move(values));
  return clone;
}

std::unique_ptr<TcxDataSummaryItem> TcxGridDBDataController::NewSummaryItem() const {
  return std::make_unique<TcxGridDBTableSummaryItem>();
}

}  // namespace kv
