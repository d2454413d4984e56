// The ownership tree of components.
#include "platform/Components.h"

#include <algorithm>

#include "platform/Exceptions.h"
#include "platform/Files.h"

namespace kv {

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  FDestroying = true;
  // Free owned components, last first, each detached before it is deleted.
  while (!FComponents.empty()) {
    TComponent* child = FComponents.back().release();
    FComponents.pop_back();
    child->FOwner = nullptr;
    delete child;
  }
  if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int AIndex) const {
  if (AIndex < 0 || AIndex >= ComponentCount()) RaiseListIndexError(AIndex);
  return FComponents[static_cast<size_t>(AIndex)].get();
}

TComponent* TComponent::FindComponent(const std::string& AName) const {
  for (const auto& c : FComponents)
    if (!AName.empty() && SameTextAscii(c->Name, AName)) return c.get();
  return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  AComponent->FOwner = this;
  FComponents.emplace_back(AComponent);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (!FDestroying) Notification(AComponent);
  auto it = std::find_if(FComponents.begin(), FComponents.end(),
                         [&](const std::unique_ptr<TComponent>& p) { return p.get() == AComponent; });
  if (it != FComponents.end()) {
    it->release();
    FComponents.erase(it);
  }
  AComponent->FOwner = nullptr;
}

}  // namespace kv
