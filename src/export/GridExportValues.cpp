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

bool TcxGridCustomExport::UsesNativeValue(TcxCustomEditProperties* AProperties, TcxCustomGridTableItem*) {
  if (!FNativeValues) return false;
  return dynamic_cast<TcxDateEditProperties*>(AProperties) || dynamic_cast<TcxSpinEditProperties*>(AProperties) ||
         dynamic_cast<TcxTimeEditProperties*>(AProperties) || IsNumericTextEditor(AProperties);
}

bool TcxGridCustomExport::IsNumericTextEditor(TcxCustomEditProperties* AProperties) const {
  return FNativeValues &&
         (dynamic_cast<TcxMaskEditProperties*>(AProperties) || dynamic_cast<TcxCalcEditProperties*>(AProperties) ||
          dynamic_cast<TcxCurrencyEditProperties*>(AProperties));
}

void TcxGridCustomExport::ConvertNativeValue(TcxCustomEditProperties* AProperties, TcxCustomGridTableItem* AItem,
                                             Variant& ADest, const Variant& ASource) {
  try {
    if ((IsCurrencyItem(AItem) && IsNumericTextEditor(AProperties)) ||
        dynamic_cast<TcxCurrencyEditProperties*>(AProperties))
      ADest = ASource.ToType(varCurrency);
    else if (ASource.VarType() == varCurrency && !IsCurrencyItem(AItem))
      ADest = ASource.ToType(varDouble);
    else
      ADest = ASource;
  } catch (const EVariantError&) {
    ADest = ASource;
  }
}

bool TcxGridCustomExport::IsCurrencyItem(TcxCustomGridTableItem* AItem) const {
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
  return result;
}

}  // namespace kv
