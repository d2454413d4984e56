// Records of table-kind views and the view data.
#include "gridpack/GridRecords.h"

#include "gridpack/CustomTableView.h"
#include "gridpack/TableView.h"
#include "platform/Exceptions.h"

namespace kv {

// --- TcxCustomGridRecord ------------------------------------------------------------

TcxCustomGridTableView* TcxCustomGridRecord::GridView() const { return FViewData->GridView(); }

TcxCustomDataController* TcxCustomGridRecord::DataController() const { return GridView()->DataController(); }

bool TcxCustomGridRecord::IsLast() const { return FIndex == DataController()->RowCount() - 1; }

TcxCustomGridRecord* TcxCustomGridRecord::ParentRecord() const {
  if (FInfo.Level == 0 || FInfo.GroupIndex < 0) return nullptr;
  TcxCustomDataController* controller = DataController();
  // A data row's parent is its innermost group; a group row's the group above.
  int group = FInfo.IsGroup() ? controller->DataGroupParent(FInfo.GroupIndex) : FInfo.GroupIndex;
  int row = group < 0 ? -1 : controller->GetRowIndexByGroupIndex(group);
  return row < 0 ? nullptr : FViewData->Records(row);
}

bool TcxCustomGridRecord::Expandable() const { return DataController()->IsRowExpandable(FIndex); }

bool TcxCustomGridRecord::Expanded() const { return Expandable() && DataController()->IsRowExpanded(FIndex); }

void TcxCustomGridRecord::SetExpanded(bool AValue) {
  if (!Expandable()) return;
  // Last step: the row list may change, after which this object is stale.
  DataController()->ChangeExpanding(FIndex, AValue, false);
}

bool TcxCustomGridRecord::Selected() const { return DataController()->IsRowSelected(FIndex); }

void TcxCustomGridRecord::SetSelected(bool AValue) { DataController()->ChangeRowSelection(FIndex, AValue); }

bool TcxCustomGridRecord::Focused() const { return GridView()->Controller()->FocusedRecordIndex() == FIndex; }

Variant TcxCustomGridRecord::Values(int AItemIndex) const {
  TcxCustomGridTableItem* item = GridView()->Items(AItemIndex);
  return FInfo.IsGroup() ? Variant::Null() : DataController()->GetValue(FInfo.RecordIndex, item);
}

std::string TcxCustomGridRecord::DisplayTexts(int AItemIndex) const {
  TcxCustomGridTableItem* item = GridView()->Items(AItemIndex);
  return FInfo.IsGroup() ? std::string() : DataController()->GetDisplayText(FInfo.RecordIndex, item);
}

// --- TcxGridMasterDataRow ---------------------------------------------------------------

int TcxGridMasterDataRow::DetailGridViewCount() const { return DataController()->DetailGridViewCount(RecordIndex()); }

TcxCustomGridView* TcxGridMasterDataRow::DetailGridViews(int AIndex) const {
  return DataController()->DetailGridViews(RecordIndex(), AIndex);
}

int TcxGridMasterDataRow::ActiveDetailIndex() const { return DataController()->ActiveDetailIndex(RecordIndex()); }

void TcxGridMasterDataRow::SetActiveDetailIndex(int AValue) {
  DataController()->SetActiveDetailIndex(RecordIndex(), AValue);
}

TcxCustomGridView* TcxGridMasterDataRow::ActiveDetailGridView() const {
  int index = ActiveDetailIndex();
  return index < 0 ? nullptr : DetailGridViews(index);
}

// --- TcxGridGroupRow ---------------------------------------------------------------------

TcxCustomGridTableItem* TcxGridGroupRow::GroupedItem() const { return DataController()->GroupingItem(Level()); }

TcxGridColumn* TcxGridGroupRow::GroupedColumn() const { return dynamic_cast<TcxGridColumn*>(GroupedItem()); }

Variant TcxGridGroupRow::Value() const { return DataController()->DataGroupValue(GroupIndex()); }

std::string TcxGridGroupRow::DisplayValueText() const {
  std::vector<int> records = RecordIndexes();
  return records.empty() ? std::string() : DataController()->GetDisplayText(records.front(), GroupedItem());
}

std::string TcxGridGroupRow::DisplayCaption() const {
  std::string caption = GroupedItem()->Caption();
  if (!caption.empty()) caption += " : ";
  return caption + DisplayValueText();
}

std::string TcxGridGroupRow::GroupSummaryText() const { return DataController()->Summary().GroupSummaryText(Index()); }

std::string TcxGridGroupRow::DisplayText() const {
  std::string text = DisplayCaption();
  std::string summary = GroupSummaryText();
  if (!summary.empty()) text += " " + summary;
  return text;
}

bool TcxGridGroupRow::GetGroupSummaryInfo(const TcxDataGroupSummaryItems*& AItems,
                                          std::vector<Variant>& AValues) const {
  return DataController()->Summary().GetGroupSummaryInfo(Index(), AItems, AValues);
}

std::vector<int> TcxGridGroupRow::RecordIndexes() const { return DataController()->DataGroupRecords(GroupIndex()); }

Variant TcxGridGroupRow::Values(int AItemIndex) const {
  return GridView()->Items(AItemIndex) == GroupedItem() ? Value() : Variant::Null();
}

std::string TcxGridGroupRow::DisplayTexts(int AItemIndex) const {
  return GridView()->Items(AItemIndex) == GroupedItem() ? DisplayValueText() : std::string();
}

// --- TcxGridViewData -------------------------------------------------------------------------

void TcxGridViewData::CheckVersion() const {
  uint64_t version = FView->DataController()->RowListVersion();
  if (version != FVersion) {
    FRecords.clear();
    FVersion = version;
  }
}

void TcxGridViewData::Clear() const { FRecords.clear(); }

int TcxGridViewData::RecordCount() const {
  int count = FView->DataController()->RowCount();
  CheckVersion();
  return count;
}

TcxCustomGridRecord* TcxGridViewData::Records(int AIndex) const {
  int count = RecordCount();
  if (AIndex < 0 || AIndex >= count) RaiseListIndexError(AIndex);
  auto& slot = FRecords[AIndex];
  if (!slot) {
    auto* self = const_cast<TcxGridViewData*>(this);
    TcxRowInfo info = FView->DataController()->GetRowInfo(AIndex);
    if (info.IsGroup())
      slot.reset(new TcxGridGroupRow(self, AIndex, info));
    else if (FView->IsMaster())
      slot.reset(new TcxGridMasterDataRow(self, AIndex, info));
    else
      slot.reset(new TcxGridDataRow(self, AIndex, info));
  }
  return slot.get();
}

}  // namespace kv
