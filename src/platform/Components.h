// Components: the class library's ownership tree.
//
// A component created with an owner is held by that owner (a unique_ptr in the
// owner's list) and freed with it; deleting a component directly removes it
// from its owner's list first.  Owned components are reached by index, as the
// form styling walk and the menu code do.  `ClassName()` answers the exact
// class; exact-class tests elsewhere compare typeid.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace kv {

class TComponent {
public:
  explicit TComponent(TComponent* AOwner = nullptr);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  // Raises the list-index error for an index out of range.
  TComponent* Components(int AIndex) const;
  // Finds an owned component by name (case-insensitive for A to Z); nullptr if none.
  TComponent* FindComponent(const std::string& AName) const;

  std::string Name;
  long long Tag = 0;

  // Called on the owner when a component it owns is about to be freed.
  virtual void Notification(TComponent* AComponent) { (void)AComponent; }

private:
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);

  TComponent* FOwner = nullptr;
  std::vector<std::unique_ptr<TComponent>> FComponents;
  bool FDestroying = false;
};

}  // namespace kv
