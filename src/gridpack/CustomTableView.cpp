// Table-kind views, their items, item bindings, styles and controller.
#include "gridpack/CustomTableView.h"

#include <algorithm>

#include "gridpack/DataController.h"
#include "gridpack/Grid.h"
#include "gridpack/GridRecords.h"
#include "gridpack/TableViewInfo.h"
#include "platform/Exceptions.h"

namespace kv {

// --- TcxGridItemDataBinding -----------------------------------------------------------

TcxGridItemDataBinding::TcxGridItemDataBinding(TcxCustomGridTableItem* AItem) : FItem(AItem) {
  if (TcxCustomGridTableView* view = AItem ? AItem->GridView() : nullptr) FDataIndex = view->FNextDataIndex++;
}

const TcxValueType* TcxGridItemDataBinding::ValueTypeClass() const {
  return FValueTypeClass ? FValueTypeClass : TcxVariantValueType::Instance();
}

std::unique_ptr<TcxCustomEditProperties> TcxGridItemDataBinding::DefaultProperties() const {
  const TcxValueType* type = ValueTypeClass();
  if (dynamic_cast<const TcxBooleanValueType*>(type)) return std::make_unique<TcxCheckBoxProperties>();
  if (dynamic_cast<const TcxDateTimeValueType*>(type) || dynamic_cast<const TcxSQLTimeStampValueType*>(type))
    return std::make_unique<TcxDateEditProperties>();
  if (dynamic_cast<const TcxCurrencyValueType*>(type)) return std::make_unique<TcxCurrencyEditProperties>();
  if (dynamic_cast<const TcxBLOBValueType*>(type)) return std::make_unique<TcxImageProperties>();
  return std::make_unique<TcxTextEditProperties>();
}

void TcxGridItemDataBinding::Assign(const TcxGridItemDataBinding& ASource) {
  FValueTypeClass = ASource.FValueTypeClass;
}

// --- TcxCustomGridTableItem --------------------------------------------------------------

TcxCustomGridTableItem::TcxCustomGridTableItem(TcxCustomGridTableView* AGridView)
    : FGridView(AGridView),
      FDataBinding(std::make_unique<TcxGridItemDataBinding>(this)),
      FStyles(std::make_unique<TcxCustomGridTableItemStyles>(this)) {}

TcxCustomGridTableItem::~TcxCustomGridTableItem() = default;

void TcxCustomGridTableItem::SetDataBinding(std::unique_ptr<TcxGridItemDataBinding> ABinding) {
  FDataBinding = std::move(ABinding);
  FDefaultProperties.reset();
}

int TcxCustomGridTableItem::Index() const {
  const auto& items = FGridView->FItems;
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].get() == this) return static_cast<int>(i);
  return -1;
}

void TcxCustomGridTableItem::SetIndex(int AIndex) {
  auto& items = FGridView->FItems;
  int from = Index();
  int to = std::clamp(AIndex, 0, static_cast<int>(items.size()) - 1);
  if (from < 0 || from == to) return;
  std::unique_ptr<TcxCustomGridTableItem> self = std::move(items[static_cast<size_t>(from)]);
  items.erase(items.begin() + from);
  items.insert(items.begin() + to, std::move(self));
}

int TcxCustomGridTableItem::VisibleIndex() const { return FGridView->VisibleIndexOf(this); }

std::string TcxCustomGridTableItem::Caption() const {
  return FCaptionAssigned ? FCaption : FDataBinding->DefaultCaption();
}

void TcxCustomGridTableItem::SetCaption(const std::string& AValue) {
  FCaption = AValue;
  FCaptionAssigned = true;
}

void TcxCustomGridTableItem::SetProperties(std::unique_ptr<TcxCustomEditProperties> AProperties) {
  FProperties = std::move(AProperties);
}

TcxCustomEditProperties* TcxCustomGridTableItem::GetProperties() const {
  if (FProperties) return FProperties.get();
  // The defaults follow the binding's value type (a field may change type
  // when its dataset is opened again).
  const TcxValueType* type = FDataBinding->ValueTypeClass();
  if (!FDefaultProperties || FDefaultPropertiesType != type) {
    FDefaultProperties = FDataBinding->DefaultProperties();
    FDefaultPropertiesType = type;
  }
  return FDefaultProperties.get();
}

TcxCustomEditProperties* TcxCustomGridTableItem::GetProperties(TcxCustomGridRecord* ARecord) const {
  TcxCustomEditProperties* properties = GetProperties();
  if (OnGetProperties) {
    OnGetProperties(const_cast<TcxCustomGridTableItem*>(this), ARecord, properties);
    if (!properties) properties = GetProperties();
  }
  return properties;
}

std::string TcxCustomGridTableItem::ValueDisplayText(const Variant& AValue) const {
  return GetProperties()->GetDisplayText(AValue);
}

void TcxCustomGridTableItem::Assign(const TcxCustomGridTableItem& ASource) {
  FVisible = ASource.FVisible;
  FCaptionAssigned = ASource.FCaptionAssigned;
  FCaption = ASource.FCaption;
  FDataBinding->Assign(*ASource.FDataBinding);
  FProperties = ASource.FProperties ? ASource.FProperties->Clone() : nullptr;
  FDefaultProperties.reset();
  OnGetProperties = ASource.OnGetProperties;
  OnGetDisplayText = ASource.OnGetDisplayText;
  Styles()->AssignSlots(*ASource.Styles());
  Styles()->OnGetContentStyle = ASource.Styles()->OnGetContentStyle;
}

// --- TcxCustomGridTableViewStyles -------------------------------------------------------------

void TcxCustomGridTableViewStyles::GetDefaultViewParams(int AIndex, TcxViewParams& AParams) const {
  AParams = TcxViewParams();
  switch (AIndex) {
    case vsSelection:
      AParams.Color = clHighlight;
      AParams.TextColor = clHighlightText;
      break;
    case vsInactive:
      AParams.Color = clBtnFace;
      AParams.TextColor = clBtnText;
      break;
    default:
      AParams.Color = clWindow;
      AParams.TextColor = clWindowText;
      break;
  }
  AParams.Font = FView ? &FView->Font() : &DefaultFont();
}

void TcxCustomGridTableViewStyles::GetViewParams(int AIndex, TcxCustomGridRecord* ARecord,
                                                 TcxCustomGridTableItem* AItem, TcxViewParams& AParams) const {
  if (AIndex == vsContent) {
    GetContentParams(ARecord, AItem, AParams);
    return;
  }
  TcxViewParams defaults;
  GetDefaultViewParams(AIndex, defaults);
  ResolveViewParams({GetStyle(AIndex)}, defaults.Color, defaults.TextColor, defaults.Font, AParams);
}

void TcxCustomGridTableViewStyles::GetContentParams(TcxCustomGridRecord* ARecord, TcxCustomGridTableItem* AItem,
                                                    TcxViewParams& AParams) const {
  TcxStyle* itemEvent = nullptr;
  TcxStyle* itemSlot = nullptr;
  if (AItem && AItem->Styles()) {
    if (AItem->Styles()->OnGetContentStyle) AItem->Styles()->OnGetContentStyle(FView, ARecord, AItem, itemEvent);
    itemSlot = AItem->Styles()->Content();
  }
  TcxStyle* viewEvent = nullptr;
  if (OnGetContentStyle) OnGetContentStyle(FView, ARecord, AItem, viewEvent);
  TcxStyle* parity = nullptr;
  if (ARecord) parity = ARecord->Index() % 2 == 0 ? ContentEven() : ContentOdd();
  TcxViewParams defaults;
  GetDefaultViewParams(vsContent, defaults);
  ResolveViewParams({itemEvent, itemSlot, viewEvent, parity, Content()}, defaults.Color, defaults.TextColor,
                    defaults.Font, AParams);
}

void TcxCustomGridTableViewStyles::Assign(const TcxCustomGridTableViewStyles& ASource) {
  AssignSlots(ASource);
  OnGetContentStyle = ASource.OnGetContentStyle;
}

// --- Controller and selection options ----------------------------------------------------------

int TcxCustomGridTableController::SelectedRecordCount() const { return FView->DataController()->GetSelectedCount(); }

std::vector<TcxCustomGridRecord*> TcxCustomGridTableController::SelectedRecords() const {
  std::vector<TcxCustomGridRecord*> records;
  TcxGridViewData* data = FView->ViewData();
  for (int i = 0; i < data->RecordCount(); ++i)
    if (FView->DataController()->IsRowSelected(i)) records.push_back(data->Records(i));
  return records;
}

bool TcxGridTableOptionsSelection::MultiSelect() const { return FView->DataController()->MultiSelect; }

void TcxGridTableOptionsSelection::SetMultiSelect(bool AValue) { FView->DataController()->MultiSelect = AValue; }

// --- TcxCustomGridTableView ---------------------------------------------------------------------

TcxCustomGridTableView::TcxCustomGridTableView(TComponent* AOwner,
                                               std::unique_ptr<TcxCustomDataController> ADataController)
    : TcxCustomGridView(AOwner, std::move(ADataController)),
      FViewData(std::make_unique<TcxGridViewData>(this)),
      FController(std::make_unique<TcxCustomGridTableController>(this)) {
  FOptionsSelection.FView = this;
}

TcxCustomGridTableView::~TcxCustomGridTableView() {
  // Detail copies and record objects refer to the items; they go first.
  DataController()->DropDetails();
  FViewData->Clear();
  FItems.clear();
}

TcxCustomGridTableItem* TcxCustomGridTableView::Items(int AIndex) const {
  if (AIndex < 0 || AIndex >= ItemCount()) RaiseListIndexError(AIndex);
  return FItems[static_cast<size_t>(AIndex)].get();
}

TcxCustomGridTableItem* TcxCustomGridTableView::CreateItem() {
  FItems.push_back(NewItem());
  return FItems.back().get();
}

void TcxCustomGridTableView::ItemRemoving(TcxCustomGridTableItem* AItem) {
  DataController()->Summary().ItemRemoved(AItem);
  DataController()->StructureChanged();
}

void TcxCustomGridTableView::DeleteItem(int AIndex) {
  TcxCustomGridTableItem* item = Items(AIndex);
  ItemRemoving(item);
  FItems.erase(FItems.begin() + AIndex);
}

void TcxCustomGridTableView::ClearItems() {
  while (!FItems.empty()) DeleteItem(ItemCount() - 1);
}

int TcxCustomGridTableView::VisibleItemCount() const {
  return static_cast<int>(std::count_if(FItems.begin(), FItems.end(), [](const auto& i) { return i->Visible(); }));
}

TcxCustomGridTableItem* TcxCustomGridTableView::VisibleItems(int AIndex) const {
  int seen = 0;
  for (const auto& item : FItems)
    if (item->Visible() && seen++ == AIndex) return item.get();
  RaiseListIndexError(AIndex);
}

int TcxCustomGridTableView::VisibleIndexOf(const TcxCustomGridTableItem* AItem) const {
  if (!AItem || !AItem->Visible()) return -1;
  int index = 0;
  for (const auto& item : FItems) {
    if (item.get() == AItem) return index;
    if (item->Visible()) ++index;
  }
  return -1;
}

TcxCustomGridTableItem* TcxCustomGridTableView::FindItemByDataIndex(int ADataIndex) const {
  for (const auto& item : FItems)
    if (item->DataBinding()->DataIndex() == ADataIndex) return item.get();
  return nullptr;
}

const TFont& TcxCustomGridTableView::Font() const {
  TcxGrid* grid = Control();
  return grid ? grid->Font : DefaultFont();
}

TcxCustomGridTableViewInfo* TcxCustomGridTableView::ViewInfo() const {
  if (!FViewInfo) FViewInfo = CreateViewInfo();
  TcxGrid* grid = Control();
  TRect bounds = grid ? TRect{0, 0, grid->Width, grid->Height} : TRect{0, 0, 800, 600};
  FViewInfo->Calculate(0, bounds);
  return FViewInfo.get();
}

void TcxCustomGridTableView::AssignTo(TcxCustomGridView& AClone) const {
  if (auto* table = dynamic_cast<TcxCustomGridTableView*>(&AClone)) table->Assign(*this);
}

void TcxCustomGridTableView::Assign(const TcxCustomGridTableView& ASource) {
  if (&ASource == this) return;
  ClearItems();
  for (const auto& item : ASource.FItems) CreateItem()->Assign(*item);
  auto mapItem = [&](const TcxCustomGridTableItem* AItem) -> TcxCustomGridTableItem* {
    if (!AItem) return nullptr;
    int index = AItem->Index();
    return index >= 0 && index < ItemCount() ? Items(index) : nullptr;
  };

  // Data settings.
  TcxCustomDataController* target = DataController();
  const TcxCustomDataController* source = ASource.DataController();
  target->MultiSelect = source->MultiSelect;
  auto* dbTarget = dynamic_cast<TcxDBDataController*>(target);
  auto* dbSource = dynamic_cast<const TcxDBDataController*>(source);
  if (dbTarget && dbSource) {
    dbTarget->SetDataSource(dbSource->DataSource());
    dbTarget->KeyFieldNames = dbSource->KeyFieldNames;
    dbTarget->DetailKeyFieldNames = dbSource->DetailKeyFieldNames;
    dbTarget->MasterKeyFieldNames = dbSource->MasterKeyFieldNames;
  }

  // Summaries, their links moved to this view's items.
  auto copyItems = [&](TcxDataSummaryItems& ATarget, const TcxDataSummaryItems& ASourceItems) {
    ATarget.Clear();
    for (int i = 0; i < ASourceItems.Count(); ++i) {
      const TcxDataSummaryItem* from = ASourceItems.Items(i);
      TcxDataSummaryItem* to = ATarget.Add();
      to->Assign(*from);
      to->SetItemLink(mapItem(from->ItemLink()));
    }
  };
  TcxDataSummary& summary = target->Summary();
  const TcxDataSummary& sourceSummary = source->Summary();
  copyItems(summary.FooterSummaryItems(), sourceSummary.FooterSummaryItems());
  copyItems(summary.DefaultGroupSummaryItems(), sourceSummary.DefaultGroupSummaryItems());
  auto copyFrame = [](TcxDataGroupSummaryItems& ATarget, const TcxDataGroupSummaryItems& ASourceItems) {
    ATarget.BeginText = ASourceItems.BeginText;
    ATarget.EndText = ASourceItems.EndText;
    ATarget.Separator = ASourceItems.Separator;
  };
  copyFrame(summary.DefaultGroupSummaryItems(), sourceSummary.DefaultGroupSummaryItems());
  while (summary.SummaryGroupCount() > 0) summary.DeleteSummaryGroup(0);
  for (int g = 0; g < sourceSummary.SummaryGroupCount(); ++g) {
    const TcxDataSummaryGroup* from = sourceSummary.SummaryGroups(g);
    TcxDataSummaryGroup* to = summary.AddSummaryGroup();
    copyItems(to->SummaryItems(), from->SummaryItems());
    copyFrame(to->SummaryItems(), from->SummaryItems());
    for (TcxCustomGridTableItem* link : from->Links)
      if (TcxCustomGridTableItem* mapped = mapItem(link)) to->Links.push_back(mapped);
  }
  target->StructureChanged();
}

}  // namespace kv
