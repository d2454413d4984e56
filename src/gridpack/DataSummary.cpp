// Summary items, their collections and the computation of summary values.
#include "gridpack/DataSummary.h"

#include <algorithm>
#include <limits>

#include "gridpack/DBTableView.h"
#include "gridpack/DataController.h"
#include "gridpack/TableView.h"
#include "gridpack/ValueTypes.h"
#include "platform/Exceptions.h"
#include "platform/SysUtils.h"

namespace kv {

// --- Items ------------------------------------------------------------------------

int TcxDataSummaryItem::Index() const {
  if (!FItems) return -1;
  for (int i = 0; i < FItems->Count(); ++i)
    if (FItems->Items(i) == this) return i;
  return -1;
}

TcxSummaryPosition TcxDataSummaryItem::Position() const { return FItems && FItems->IsFooter() ? spFooter : FPosition; }

std::string TcxDataSummaryItem::FormatValue(const Variant& AValue, bool) const {
  if (AValue.IsEmptyOrNull()) return std::string();
  if (!Format.empty()) {
    if (AValue.VarType() == varDate || AValue.VarType() == varSQLTimeStamp)
      return FormatDateTime(Format, AValue.AsDateTime());
    if (VarIsNumeric(AValue)) return FormatFloat(Format, AValue.AsDouble());
    return AValue.AsString();
  }
  if (Kind == skCount) return IntToStr(AValue.AsInt64());
  if (FItemLink) return FItemLink->ValueDisplayText(AValue);
  return AValue.AsString();
}

void TcxDataSummaryItem::Assign(const TcxDataSummaryItem& ASource) {
  Kind = ASource.Kind;
  Format = ASource.Format;
  DisplayText = ASource.DisplayText;
  Sorted = ASource.Sorted;
  FPosition = ASource.FPosition;
}

TcxGridColumn* TcxGridTableSummaryItem::Column() const { return dynamic_cast<TcxGridColumn*>(ItemLink()); }

void TcxGridTableSummaryItem::SetColumn(TcxGridColumn* AColumn) { SetItemLink(AColumn); }

void TcxGridDBTableSummaryItem::Assign(const TcxDataSummaryItem& ASource) {
  TcxGridTableSummaryItem::Assign(ASource);
  if (auto* db = dynamic_cast<const TcxGridDBTableSummaryItem*>(&ASource)) FieldName = db->FieldName;
}

// --- Collections --------------------------------------------------------------------

TcxDataSummaryItem* TcxDataSummaryItems::Items(int AIndex) const {
  if (AIndex < 0 || AIndex >= Count()) RaiseListIndexError(AIndex);
  return FItems[static_cast<size_t>(AIndex)].get();
}

TcxDataSummaryItem* TcxDataSummaryItems::Add() {
  std::unique_ptr<TcxDataSummaryItem> item = FSummary->DataController()->NewSummaryItem();
  item->FItems = this;
  if (FIsFooter) item->FPosition = spFooter;
  FItems.push_back(std::move(item));
  return FItems.back().get();
}

TcxDataSummaryItem* TcxDataSummaryItems::Add(TcxCustomGridTableItem* AItemLink, TcxSummaryPosition APosition,
                                             TcxSummaryKind AKind, const std::string& AFormat) {
  TcxDataSummaryItem* item = Add();
  item->SetItemLink(AItemLink);
  item->SetPosition(APosition);
  item->Kind = AKind;
  item->Format = AFormat;
  return item;
}

void TcxDataSummaryItems::Delete(int AIndex) {
  if (AIndex < 0 || AIndex >= Count()) RaiseListIndexError(AIndex);
  FItems.erase(FItems.begin() + AIndex);
}

void TcxDataSummaryItems::Clear() { FItems.clear(); }

TcxDataSummaryItem* TcxDataSummaryItems::ItemOfItemLink(const TcxCustomGridTableItem* AItem) const {
  for (const auto& item : FItems)
    if (item->ItemLink() == AItem) return item.get();
  return nullptr;
}

// --- Summary ----------------------------------------------------------------------------

TcxDataSummary::TcxDataSummary(TcxCustomDataController* AController)
    : FController(AController), FFooterSummaryItems(this, true), FDefaultGroupSummaryItems(this) {}

TcxDataSummary::~TcxDataSummary() = default;

TcxDataSummaryGroup* TcxDataSummary::SummaryGroups(int AIndex) const {
  if (AIndex < 0 || AIndex >= SummaryGroupCount()) RaiseListIndexError(AIndex);
  return FSummaryGroups[static_cast<size_t>(AIndex)].get();
}

TcxDataSummaryGroup* TcxDataSummary::AddSummaryGroup() {
  FSummaryGroups.push_back(std::make_unique<TcxDataSummaryGroup>(this));
  return FSummaryGroups.back().get();
}

void TcxDataSummary::DeleteSummaryGroup(int AIndex) {
  if (AIndex < 0 || AIndex >= SummaryGroupCount()) RaiseListIndexError(AIndex);
  FSummaryGroups.erase(FSummaryGroups.begin() + AIndex);
}

const TcxDataGroupSummaryItems& TcxDataSummary::GroupSummaryItems(int ALevel) const {
  if (ALevel >= 0 && ALevel < FController->GroupingLevelCount()) {
    TcxCustomGridTableItem* grouped = FController->GroupingItem(ALevel);
    for (const auto& group : FSummaryGroups)
      if (std::find(group->Links.begin(), group->Links.end(), grouped) != group->Links.end())
        return group->SummaryItems();
  }
  return FDefaultGroupSummaryItems;
}

Variant TcxDataSummary::FooterSummaryValues(int AIndex) const {
  const TcxDataSummaryItem* item = FFooterSummaryItems.Items(AIndex);
  return Calculate(*item, FController->SortedRecords());
}

std::string TcxDataSummary::FooterSummaryTexts(int AIndex) const {
  return FFooterSummaryItems.Items(AIndex)->FormatValue(FooterSummaryValues(AIndex), true);
}

bool TcxDataSummary::GetGroupSummaryInfo(int ARowIndex, const TcxDataGroupSummaryItems*& AItems,
                                         std::vector<Variant>& AValues) const {
  TcxRowInfo info = FController->GetRowInfo(ARowIndex);
  if (!info.IsGroup()) return false;
  const TcxDataGroupSummaryItems& items = GroupSummaryItems(info.Level);
  if (items.Count() == 0) return false;
  std::vector<int> records = FController->DataGroupRecords(info.GroupIndex);
  AItems = &items;
  AValues.clear();
  for (int i = 0; i < items.Count(); ++i) AValues.push_back(Calculate(*items.Items(i), records));
  return true;
}

std::string TcxDataSummary::GroupSummaryText(int ARowIndex) const {
  const TcxDataGroupSummaryItems* items = nullptr;
  std::vector<Variant> values;
  if (!GetGroupSummaryInfo(ARowIndex, items, values)) return std::string();
  std::string joined;
  bool any = false;
  for (int i = 0; i < items->Count(); ++i) {
    const TcxDataSummaryItem* item = items->Items(i);
    if (item->Position() != spGroup) continue;
    std::string text = item->FormatValue(values[static_cast<size_t>(i)], false);
    if (text.empty()) continue;
    if (any) joined += items->Separator + " ";
    joined += text;
    any = true;
  }
  return any ? items->BeginText + joined + items->EndText : std::string();
}

Variant TcxDataSummary::Calculate(const TcxDataSummaryItem& AItem, const std::vector<int>& ARecordIndexes) const {
  return Calculate(AItem, ARecordIndexes.data(), ARecordIndexes.size());
}

namespace {

// Running sum of numeric values in the widest kind met: 64-bit integers,
// then currency (ten-thousandths), then floats.
struct TSum {
  enum { kNone, kInteger, kCurrency, kFloat } Kind = kNone;
  __int128 Whole = 0;  // integers, or ten-thousandths for currency
  double Float = 0;
  size_t Count = 0;

  void Add(const Variant& V) {
    ++Count;
    if (V.VarType() == varCurrency) {
      if (Kind == kNone || Kind == kInteger) {
        if (Kind == kInteger) Whole *= 10000;
        Kind = kCurrency;
      }
      if (Kind == kCurrency)
        Whole += V.RawInt();
      else
        Float += V.AsDouble();
    } else if (V.IsIntegerKind()) {
      if (Kind == kNone) Kind = kInteger;
      if (Kind == kInteger)
        Whole += V.RawInt();
      else if (Kind == kCurrency)
        Whole += static_cast<__int128>(V.RawInt()) * 10000;
      else
        Float += static_cast<double>(V.RawInt());
    } else {
      if (Kind != kFloat) {
        Float = AsDouble();
        Kind = kFloat;
      }
      Float += V.AsDouble();
    }
  }
  double AsDouble() const {
    switch (Kind) {
      case kInteger:
        return static_cast<double>(Whole);
      case kCurrency:
        return static_cast<double>(Whole) / 10000.0;
      case kFloat:
        return Float;
      default:
        return 0;
    }
  }
  Variant Result() const {
    constexpr __int128 lo = std::numeric_limits<int64_t>::min(), hi = std::numeric_limits<int64_t>::max();
    bool fits = Whole >= lo && Whole <= hi;
    switch (Kind) {
      case kInteger:
        return fits ? Variant(static_cast<int64_t>(Whole)) : Variant(AsDouble());
      case kCurrency:
        return fits ? Variant::Currency(static_cast<int64_t>(Whole)) : Variant(AsDouble());
      case kFloat:
        return Variant(Float);
      default:
        return Variant::Null();
    }
  }
};

}  // namespace

Variant TcxDataSummary::Calculate(const TcxDataSummaryItem& AItem, const int* ARecordIndexes, size_t ACount) const {
  if (AItem.Kind == skNone) return Variant::Null();
  // Where the values come from: a named dataset field, else the linked item.
  TField* field = nullptr;
  auto* db = dynamic_cast<TcxDBDataController*>(FController);
  if (auto* dbItem = dynamic_cast<const TcxGridDBTableSummaryItem*>(&AItem);
      dbItem && db && !dbItem->FieldName.empty() && db->DataSet())
    field = db->DataSet()->FindField(dbItem->FieldName);
  const TcxCustomGridTableItem* link = AItem.ItemLink();
  if (!field && !link) return AItem.Kind == skCount ? Variant(static_cast<int>(ACount)) : Variant::Null();
  auto valueOf = [&](int ARecord) {
    return field ? db->GetFieldValue(ARecord, field) : FController->GetValue(ARecord, link);
  };

  TSum sum;
  int count = 0;
  Variant best = Variant::Null();
  for (size_t i = 0; i < ACount; ++i) {
    Variant v = valueOf(ARecordIndexes[i]);
    if (v.IsEmptyOrNull()) continue;
    ++count;
    switch (AItem.Kind) {
      case skSum:
      case skAverage:
        if (VarIsNumeric(v)) sum.Add(v);
        break;
      case skMin:
        if (best.IsNull() || VarCompare(v, best) < 0) best = v;
        break;
      case skMax:
        if (best.IsNull() || VarCompare(v, best) > 0) best = v;
        break;
      default:
        break;
    }
  }
  switch (AItem.Kind) {
    case skCount:
      return Variant(count);
    case skSum:
      return sum.Result();
    case skAverage:
      return sum.Count == 0 ? Variant::Null() : Variant(sum.AsDouble() / static_cast<double>(sum.Count));
    case skMin:
    case skMax:
      return best;
    default:
      return Variant::Null();
  }
}

void TcxDataSummary::ItemRemoved(const TcxCustomGridTableItem* AItem) {
  auto unlink = [&](TcxDataSummaryItems& AItems) {
    for (int i = 0; i < AItems.Count(); ++i)
      if (AItems.Items(i)->ItemLink() == AItem) AItems.Items(i)->SetItemLink(nullptr);
  };
  unlink(FFooterSummaryItems);
  unlink(FDefaultGroupSummaryItems);
  for (auto& group : FSummaryGroups) {
    unlink(group->SummaryItems());
    auto& links = group->Links;
    links.erase(std::remove(links.begin(), links.end(), AItem), links.end());
  }
}

}  // namespace kv
