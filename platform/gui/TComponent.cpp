#include "platform/gui/TComponent.h"

#include <algorithm>

#include "platform/gui/AnsiText.h"
#include "platform/gui/Exception.h"
#include "platform/win/kernel/NearEndSearch.h"

namespace gui {

namespace {

void eraseValue(std::vector<TComponent*>& list, TComponent* value) {
  list.erase(std::remove(list.begin(), list.end(), value), list.end());
}

}  // namespace

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Tell everyone linked to us; each drops its link (and ours to it).
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    eraseValue(other->freeNotifies_, this);
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return components_[static_cast<std::size_t>(Index)];
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  const auto& siblings = owner_->components_;
  const auto found = std::find(siblings.begin(), siblings.end(), this);
  return found == siblings.end() ? -1 : static_cast<int>(found - siblings.begin());
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->owner_ == this) return;
  if (AComponent->owner_) AComponent->owner_->RemoveComponent(AComponent);
  Insert(AComponent);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->owner_ != this) return;
  Notification(AComponent, opRemove);
  Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
  components_.push_back(AComponent);
  AComponent->owner_ = this;
}

void TComponent::Remove(TComponent* AComponent) {
  win::eraseFromEnds(components_, AComponent);
  AComponent->owner_ = nullptr;
}

TComponent* TComponent::FindComponent(const std::string& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* component : components_)
    if (AnsiSameText(component->name_, AName)) return component;
  return nullptr;
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), AComponent) == freeNotifies_.end())
    freeNotifies_.push_back(AComponent);
  if (std::find(AComponent->freeNotifies_.begin(), AComponent->freeNotifies_.end(), this) ==
      AComponent->freeNotifies_.end())
    AComponent->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  eraseValue(freeNotifies_, AComponent);
  eraseValue(AComponent->freeNotifies_, this);
}

void TComponent::DestroyComponents() {
  // Last first, so that later components, which may refer to earlier ones,
  // go before them.
  while (!components_.empty()) {
    TComponent* component = components_.back();
    Remove(component);
    delete component;
  }
}

void TComponent::Destroying() {
  if (state_ & csDestroying) return;
  state_ |= csDestroying;
  for (TComponent* component : components_) component->Destroying();
}

// NOTE: the owner does not pass the news on to every component it owns: that
// made each insertion and removal cost the owner's component count, so a
// parent with thousands of controls filled and emptied in quadratic time.
// Components that care about another one ask for FreeNotification.
void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent) eraseValue(freeNotifies_, AComponent);
}

void TComponent::SetName(const std::string& NewName) {
  if (NewName == name_) return;
  const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  const bool identifier =
      NewName.empty() || (isLetter(NewName[0]) && std::all_of(NewName.begin(), NewName.end(), [&](char c) {
        return isLetter(c) || (c >= '0' && c <= '9');
      }));
  if (!identifier) throw EComponentError("Component name \"" + NewName + "\" is not a valid identifier");
  if (!NewName.empty() && owner_) {
    const TComponent* other = owner_->FindComponent(NewName);
    if (other && other != this) throw EComponentError("A component named " + NewName + " already exists");
  }
  name_ = NewName;
}

}  // namespace gui
