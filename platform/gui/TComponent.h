#pragma once
// Components and their ownership. A component made with an owner is listed in
// the owner's Components and freed with it; a component freed earlier leaves
// its owner's list. Components that asked for FreeNotification of another are
// told through Notification(that, opRemove) before it goes, so that they can
// drop their links to it.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gui/TPersistent.h"
#include "platform/win/kernel/OffsetVector.h"

namespace gui {

enum TOperation { opInsert, opRemove };

// ComponentState bits.
constexpr unsigned csLoading = 0x01;
constexpr unsigned csDestroying = 0x08;
constexpr unsigned csDesigning = 0x10;

class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  // Raises EListError for an index out of range.
  TComponent* Components(int Index) const;
  int ComponentIndex() const;

  // Takes ownership of AComponent (leaving its previous owner).
  void InsertComponent(TComponent* AComponent);
  // Gives up ownership without freeing AComponent; its owner becomes nil.
  void RemoveComponent(TComponent* AComponent);
  // The owned component of that name (ignoring case), or nullptr.
  TComponent* FindComponent(const std::string& AName) const;

  const std::string& Name() const { return name_; }
  // A name is empty or an identifier (a letter or "_", then letters, digits
  // and "_"), unique among the owner's components without regard to case;
  // anything else raises EComponentError and keeps the old name.
  virtual void SetName(const std::string& NewName);
  std::intptr_t Tag() const { return tag_; }
  void SetTag(std::intptr_t Value) { tag_ = Value; }
  unsigned ComponentState() const { return state_; }

  // Asks to be told (Notification opRemove) when AComponent is freed.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);
  // Frees the owned components now (the destructor does the same).
  void DestroyComponents();
  // Marks this component and its owned components as being destroyed.
  void Destroying();

 protected:
  // Called on the owner when a component is inserted or removed, and on every
  // component that asked for a free notification of AComponent.
  virtual void Notification(TComponent* AComponent, TOperation Operation);

 private:
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void DropFreeNotifier(TComponent* AComponent);

  TComponent* owner_ = nullptr;
  win::OffsetVector<TComponent*> components_;  // owned
  std::vector<TComponent*> freeNotifies_;  // links both ways, not owned
  std::string name_;
  std::intptr_t tag_ = 0;
  unsigned state_ = 0;
};

}  // namespace gui
