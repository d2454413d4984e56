// TcxGridCustomExport: the value rules.  A cell carries the record's native
// value (dates, times, spin numbers and, with the numeric text editors,
// numbers and currency) when native values are asked for, and otherwise the
// text the grid shows for it.
#include "export/GridCustomExport.h"
#include "gridpack/CustomTableView.h"
#include "gridpack/DataController.h"
#include "gridpack/EditProperties.h"
#include "gridpack/GridRecords.h"
#include "gridpack/ValueTypes.h"
#include "platform/DBFields.h"

namespace kv {

void TcxGridCustomExport::GetCellValue(TcxCustomGridRecord* ARecord, TcxCustomGridTableItem* AItem, Variant& AValue,
                                       TcxCustomEditProperties*& AProperties) {
  AProperties = AItem->GetProperties(ARecord);
  if (UsesNativeValue(AProperties, AItem)) {
    ConvertNativeValue(AProperties, AItem, AValue, ARecord->Values(AItem->Index()));
    return;
  }
  std::string text;
  if (AProperties->GetEditValueSource(false) == evsText)
    text = ARecord->DisplayTexts(AItem->Index());
  else
    text = AProperties->GetDisplayText(ARecord->Values(AItem->Index()), true);
  if (AItem->OnGetDisplayText) AItem->OnGetDisplayText(AItem, ARecord, text);
  AValue = Variant(std::move(text));
}

const TcxGridCustomExport::TPropertiesKind& TcxGridCustomExport::KindOf(TcxCustomEditProperties* AProperties) const {
  // An export meets few distinct properties objects (one per column, mostly);
  // their classes are looked at once each.
  const char* className = AProperties ? AProperties->ClassName() : nullptr;
  // Cells come column by column and ask more than once, so the last entry
  // found and the one after it are tried first.
  const size_t count = FPropertiesKinds.size();
  for (size_t n = 0; n < count; ++n) {
    const size_t i = (FLastPropertiesKind + n) % count;
    const TPropertiesKind& kind = FPropertiesKinds[i];
    if (kind.Properties == AProperties && kind.ClassName == className) {
      FLastPropertiesKind = i;
      return kind;
    }
  }
  TPropertiesKind kind{
      AProperties, className,
      dynamic_cast<TcxDateEditProperties*>(AProperties) || dynamic_cast<TcxSpinEditProperties*>(AProperties) ||
          dynamic_cast<TcxTimeEditProperties*>(AProperties),
      dynamic_cast<TcxMaskEditProperties*>(AProperties) || dynamic_cast<TcxCalcEditProperties*>(AProperties) ||
          dynamic_cast<TcxCurrencyEditProperties*>(AProperties),
      dynamic_cast<TcxCurrencyEditProperties*>(AProperties) != nullptr};
  if (FPropertiesKinds.size() >= 64) FPropertiesKinds.clear();
  FPropertiesKinds.push_back(kind);
  FLastPropertiesKind = FPropertiesKinds.size() - 1;
  return FPropertiesKinds.back();
}

bool TcxGridCustomExport::UsesNativeValue(TcxCustomEditProperties* AProperties, TcxCustomGridTableItem*) {
  if (!FNativeValues) return false;
  return KindOf(AProperties).DateSpinTime || IsNumericTextEditor(AProperties);
}

bool TcxGridCustomExport::IsNumericTextEditor(TcxCustomEditProperties* AProperties) const {
  return FNativeValues && KindOf(AProperties).NumericText;
}

TVarType TcxGridCustomExport::NativeTarget(TcxCustomEditProperties* AProperties, TcxCustomGridTableItem* AItem,
                                           const Variant& ASource) const {
  if ((IsCurrencyItem(AItem) && IsNumericTextEditor(AProperties)) || KindOf(AProperties).Currency) return varCurrency;
  if (ASource.VarType() == varCurrency && !IsCurrencyItem(AItem)) return varDouble;
  return varEmpty;
}

void TcxGridCustomExport::ConvertNativeValue(TcxCustomEditProperties* AProperties, TcxCustomGridTableItem* AItem,
                                             Variant& ADest, const Variant& ASource) {
  Variant source = ASource;
  ConvertNativeValue(AProperties, AItem, ADest, std::move(source));
}

void TcxGridCustomExport::ConvertNativeValue(TcxCustomEditProperties* AProperties, TcxCustomGridTableItem* AItem,
                                             Variant& ADest, Variant&& ASource) {
  const TVarType target = NativeTarget(AProperties, AItem, ASource);
  if (target != varEmpty) {
    try {
      ADest = ASource.ToType(target);
      return;
    } catch (const EVariantError&) {
      // a value that cannot be converted stays as it is
    }
  }
  ADest = std::move(ASource);
}

bool TcxGridCustomExport::IsCurrencyItem(TcxCustomGridTableItem* AItem) const {
  // An item's value type and field do not change during an export.
  const size_t count = FCurrencyItems.size();
  for (size_t n = 0; n < count; ++n) {
    const size_t i = (FLastCurrencyItem + n) % count;
    if (FCurrencyItems[i].first == AItem) {
      FLastCurrencyItem = i;
      return FCurrencyItems[i].second;
    }
  }
  bool result = dynamic_cast<const TcxCurrencyValueType*>(AItem->DataBinding()->ValueTypeClass()) != nullptr;
  if (auto* controller = dynamic_cast<TcxGridDBDataController*>(DataController())) {
    TField* field = controller->GetItemField(AItem);
    if (auto* f = dynamic_cast<TFloatField*>(field))
      result = f->Currency;
    else if (auto* b = dynamic_cast<TBCDField*>(field))
      result = b->Currency;
    else if (auto* fmt = dynamic_cast<TFMTBCDField*>(field))
      result = fmt->Currency;
  }
  if (FCurrencyItems.size() >= 64) FCurrencyItems.clear();
  FCurrencyItems.emplace_back(AItem, result);
  FLastCurrencyItem = FCurrencyItems.size() - 1;
  return result;
}

}  // namespace kv
