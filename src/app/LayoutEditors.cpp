// Editors of the view's columns: the kind a field's type gets, and editor
// properties made for a kind and a field.
#include "app/LayoutParts.h"
#include "gridpack/EditProperties.h"
#include "platform/DB.h"
#include "platform/DBFields.h"
#include "platform/SysUtils.h"

namespace kv::app {

namespace {

bool IsDateTimeField(const TField* AField) {
  return AField && (AField->DataType() == ftDateTime || AField->DataType() == ftTimeStamp);
}

bool IsWholeNumberType(TFieldType AType) {
  switch (AType) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint:
      return true;
    default:
      return false;
  }
}

}  // namespace

TLayoutEditorKind DefaultEditorKind(const TField* AField) {
  if (!AField) return TLayoutEditorKind::Text;
  if (auto* f = dynamic_cast<const TFloatField*>(AField); f && f->Currency) return TLayoutEditorKind::Currency;
  if (IsWholeNumberType(AField->DataType())) return TLayoutEditorKind::Spin;
  switch (AField->DataType()) {
    case ftFloat:
      return TLayoutEditorKind::Calc;
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd:
      return TLayoutEditorKind::Currency;
    case ftDate:
    case ftDateTime:
    case ftTimeStamp:
      return TLayoutEditorKind::Date;
    case ftTime:
      return TLayoutEditorKind::Time;
    case ftBoolean:
      return TLayoutEditorKind::CheckBox;
    case ftGraphic:
      return TLayoutEditorKind::Image;
    default:
      return TLayoutEditorKind::Text;
  }
}

const std::vector<std::pair<const char*, TLayoutEditorKind>>& EditorKindNames() {
  static const std::vector<std::pair<const char*, TLayoutEditorKind>> names = {
      {"text", TLayoutEditorKind::Text},        {"mask", TLayoutEditorKind::Mask},
      {"calc", TLayoutEditorKind::Calc},        {"currency", TLayoutEditorKind::Currency},
      {"date", TLayoutEditorKind::Date},        {"spin", TLayoutEditorKind::Spin},
      {"time", TLayoutEditorKind::Time},        {"image", TLayoutEditorKind::Image},
      {"checkbox", TLayoutEditorKind::CheckBox}};
  return names;
}

const char* EditorKindName(TLayoutEditorKind AKind) {
  for (const auto& [name, kind] : EditorKindNames())
    if (kind == AKind) return name;
  return "text";
}

std::unique_ptr<TcxCustomEditProperties> MakeEditor(TLayoutEditorKind AKind, const TField* AField) {
  switch (AKind) {
    case TLayoutEditorKind::Text:
      return std::make_unique<TcxTextEditProperties>();
    case TLayoutEditorKind::Mask:
      return std::make_unique<TcxMaskEditProperties>();
    case TLayoutEditorKind::Calc:
      return std::make_unique<TcxCalcEditProperties>();
    case TLayoutEditorKind::Currency:
      return std::make_unique<TcxCurrencyEditProperties>();
    case TLayoutEditorKind::Date: {
      auto date = std::make_unique<TcxDateEditProperties>();
      if (IsDateTimeField(AField)) {
        date->Kind = ckDateTime;
        date->DisplayFormat = "yyyy-mm-dd hh:nn:ss";
      }
      return date;
    }
    case TLayoutEditorKind::Spin: {
      auto spin = std::make_unique<TcxSpinEditProperties>();
      if (AField && !IsWholeNumberType(AField->DataType())) spin->ValueType = vtFloat;
      return spin;
    }
    case TLayoutEditorKind::Time:
      return std::make_unique<TcxTimeEditProperties>();
    case TLayoutEditorKind::Image:
      return std::make_unique<TcxImageProperties>();
    case TLayoutEditorKind::CheckBox:
      return std::make_unique<TcxCheckBoxProperties>();
  }
  return std::make_unique<TcxTextEditProperties>();
}

bool SetDisplayFormat(TcxCustomEditProperties& AProperties, const std::string& AFormat) {
  if (auto* p = dynamic_cast<TcxCalcEditProperties*>(&AProperties))
    p->DisplayFormat = AFormat;
  else if (auto* p = dynamic_cast<TcxCurrencyEditProperties*>(&AProperties))
    p->DisplayFormat = AFormat;
  else if (auto* p = dynamic_cast<TcxDateEditProperties*>(&AProperties))
    p->DisplayFormat = AFormat;
  else if (auto* p = dynamic_cast<TcxSpinEditProperties*>(&AProperties))
    p->DisplayFormat = AFormat;
  else
    return false;
  return true;
}

std::vector<std::string> SplitKeyNames(const std::string& AList) {
  std::vector<std::string> names;
  size_t start = 0;
  while (true) {
    size_t end = AList.find(';', start);
    names.push_back(Trim(AList.substr(start, end == std::string::npos ? std::string::npos : end - start)));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return names;
}

}  // namespace kv::app
