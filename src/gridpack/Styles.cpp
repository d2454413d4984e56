// Styles, style repositories, style slots and style sheets.
#include "gridpack/Styles.h"

#include <algorithm>

#include "platform/Exceptions.h"

namespace kv {

namespace {

void EraseOne(std::vector<TcxCustomStyles*>& AList, TcxCustomStyles* AItem) {
  auto it = std::find(AList.begin(), AList.end(), AItem);
  if (it != AList.end()) AList.erase(it);
}

}  // namespace

// --- TcxStyle ----------------------------------------------------------------------

TcxStyle::TcxStyle(TComponent* AOwner) : TComponent(AOwner), FBitmap(std::make_unique<TBitmap>()) {}

TcxStyle::~TcxStyle() {
  // Every slot holding this style forgets it.
  std::vector<TcxCustomStyles*> users;
  users.swap(FUsers);
  for (TcxCustomStyles* user : users) user->StyleFreed(this);
  if (FRepository) {
    auto& items = FRepository->FItems;
    items.erase(std::remove(items.begin(), items.end(), this), items.end());
  }
}

void TcxStyle::SetColor(TColor AValue) {
  FColor = AValue;
  FAssigned |= svColor;
}

void TcxStyle::SetTextColor(TColor AValue) {
  FTextColor = AValue;
  FAssigned |= svTextColor;
}

void TcxStyle::SetFont(const TFont& AValue) {
  FFont = AValue;
  FAssigned |= svFont;
}

TcxStyleValues TcxStyle::AssignedValues() const {
  TcxStyleValues values = FAssigned & static_cast<TcxStyleValues>(~svBitmap);
  if (!FBitmap->Empty()) values |= svBitmap;
  return values;
}

void TcxStyle::RestoreDefaults(TcxStyleValues AValues) {
  FAssigned &= static_cast<TcxStyleValues>(~AValues);
  if (AValues & svBitmap) FBitmap->SetSize(0, 0);
}

// --- TcxStyleRepository -----------------------------------------------------------------

TcxStyleRepository::~TcxStyleRepository() {
  std::vector<TcxStyle*> items;
  items.swap(FItems);
  for (TcxStyle* style : items) {
    style->FRepository = nullptr;
    delete style;
  }
}

TcxStyle* TcxStyleRepository::CreateItem() {
  auto* style = new TcxStyle(Owner());
  style->FRepository = this;
  FItems.push_back(style);
  return style;
}

TcxStyle* TcxStyleRepository::Items(int AIndex) const {
  if (AIndex < 0 || AIndex >= Count()) RaiseListIndexError(AIndex);
  return FItems[static_cast<size_t>(AIndex)];
}

// --- View parameters --------------------------------------------------------------------

namespace {

template <class It>
void Resolve(It ABegin, It AEnd, TColor ADefaultColor, TColor ADefaultTextColor, const TFont* ADefaultFont,
             TcxViewParams& AParams) {
  AParams = TcxViewParams();
  TcxStyleValues found = 0;
  for (It it = ABegin; it != AEnd && found != (svBitmap | svColor | svFont | svTextColor); ++it) {
    const TcxStyle* style = *it;
    if (!style) continue;
    TcxStyleValues values = style->AssignedValues() & static_cast<TcxStyleValues>(~found);
    if (values & svBitmap) AParams.Bitmap = style->Bitmap();
    if (values & svColor) AParams.Color = style->Color();
    if (values & svFont) AParams.Font = &style->Font();
    if (values & svTextColor) AParams.TextColor = style->TextColor();
    found |= values;
  }
  if (!(found & svColor)) AParams.Color = ADefaultColor;
  if (!(found & svTextColor)) AParams.TextColor = ADefaultTextColor;
  if (!(found & svFont)) AParams.Font = ADefaultFont ? ADefaultFont : &DefaultFont();
}

}  // namespace

void ResolveViewParams(std::initializer_list<const TcxStyle*> AChain, TColor ADefaultColor, TColor ADefaultTextColor,
                       const TFont* ADefaultFont, TcxViewParams& AParams) {
  Resolve(AChain.begin(), AChain.end(), ADefaultColor, ADefaultTextColor, ADefaultFont, AParams);
}

void ResolveViewParams(const std::vector<const TcxStyle*>& AChain, TColor ADefaultColor, TColor ADefaultTextColor,
                       const TFont* ADefaultFont, TcxViewParams& AParams) {
  Resolve(AChain.begin(), AChain.end(), ADefaultColor, ADefaultTextColor, ADefaultFont, AParams);
}

// --- TcxCustomStyles --------------------------------------------------------------------

TcxCustomStyles::TcxCustomStyles(int ASlotCount) : FSlots(static_cast<size_t>(ASlotCount < 0 ? 0 : ASlotCount)) {}

TcxCustomStyles::~TcxCustomStyles() {
  for (TcxStyle*& style : FSlots)
    if (style) {
      EraseOne(style->FUsers, this);
      style = nullptr;
    }
  SetStyleSheet(nullptr);
}

TcxStyle* TcxCustomStyles::Values(int AIndex) const {
  if (AIndex < 0 || AIndex >= SlotCount()) return nullptr;
  return FSlots[static_cast<size_t>(AIndex)];
}

void TcxCustomStyles::SetValues(int AIndex, TcxStyle* AStyle) {
  if (AIndex < 0 || AIndex >= SlotCount()) return;
  TcxStyle*& slot = FSlots[static_cast<size_t>(AIndex)];
  if (slot == AStyle) return;
  if (slot) EraseOne(slot->FUsers, this);
  slot = AStyle;
  if (slot) slot->FUsers.push_back(this);
}

TcxStyle* TcxCustomStyles::GetStyle(int AIndex) const {
  TcxStyle* style = Values(AIndex);
  if (!style && FStyleSheet && FStyleSheet->Styles() != this) style = FStyleSheet->Styles()->Values(AIndex);
  return style;
}

void TcxCustomStyles::SetStyleSheet(TcxCustomStyleSheet* AStyleSheet) {
  if (FStyleSheet == AStyleSheet) return;
  if (FStyleSheet) EraseOne(FStyleSheet->FUsers, this);
  FStyleSheet = AStyleSheet;
  if (FStyleSheet) FStyleSheet->FUsers.push_back(this);
}

void TcxCustomStyles::AssignSlots(const TcxCustomStyles& ASource) {
  for (int i = 0; i < SlotCount(); ++i) SetValues(i, ASource.Values(i));
  SetStyleSheet(ASource.StyleSheet());
}

void TcxCustomStyles::StyleFreed(TcxStyle* AStyle) {
  for (TcxStyle*& slot : FSlots)
    if (slot == AStyle) slot = nullptr;
}

// --- TcxCustomStyleSheet ----------------------------------------------------------------

TcxCustomStyleSheet::TcxCustomStyleSheet(TComponent* AOwner, std::unique_ptr<TcxCustomStyles> AStyles)
    : TComponent(AOwner), FStyles(std::move(AStyles)) {}

TcxCustomStyleSheet::~TcxCustomStyleSheet() {
  std::vector<TcxCustomStyles*> users;
  users.swap(FUsers);
  for (TcxCustomStyles* user : users) user->FStyleSheet = nullptr;
}

}  // namespace kv
