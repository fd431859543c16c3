#include <gtest/gtest.h>

#include "platform/gui/Exception.h"
#include "platform/gui/TComponent.h"
#include "platform/gui/TList.h"

namespace gui {
namespace {

class Tracked : public TComponent {
 public:
  Tracked(TComponent* owner, std::vector<std::string>* log, std::string name) : TComponent(owner), log_(log) {
    SetName(std::move(name));
  }
  ~Tracked() override { log_->push_back("free " + Name()); }
  Tracked* watched = nullptr;

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == watched) {
      log_->push_back(Name() + " unlinks " + component->Name());
      watched = nullptr;
    }
  }

 private:
  std::vector<std::string>* log_;
};

TEST(GuiComponent, OwnerFreesItsComponentsLastFirst) {
  std::vector<std::string> log;
  auto* owner = new Tracked(nullptr, &log, "owner");
  new Tracked(owner, &log, "a");
  new Tracked(owner, &log, "b");
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->FindComponent("B")->Name(), "b");
  delete owner;
  EXPECT_EQ(log, (std::vector<std::string>{"free owner", "free b", "free a"}));
}

TEST(GuiComponent, FreedComponentLeavesItsOwner) {
  std::vector<std::string> log;
  Tracked owner(nullptr, &log, "owner");
  auto* a = new Tracked(&owner, &log, "a");
  auto* b = new Tracked(&owner, &log, "b");
  delete a;
  ASSERT_EQ(owner.ComponentCount(), 1);
  EXPECT_EQ(owner.Components(0), b);
  EXPECT_EQ(b->ComponentIndex(), 0);
  EXPECT_THROW(owner.Components(1), EListError);
}

TEST(GuiComponent, FreeNotificationUnlinksWatchers) {
  std::vector<std::string> log;
  Tracked watcher(nullptr, &log, "watcher");
  auto* target = new Tracked(nullptr, &log, "target");
  watcher.watched = target;
  watcher.FreeNotification(target);
  delete target;
  EXPECT_EQ(watcher.watched, nullptr);
  EXPECT_EQ(log.back(), "watcher unlinks target");
}

TEST(GuiComponent, InsertComponentMovesOwnership) {
  std::vector<std::string> log;
  Tracked first(nullptr, &log, "first");
  Tracked second(nullptr, &log, "second");
  auto* child = new Tracked(&first, &log, "child");
  second.InsertComponent(child);
  EXPECT_EQ(first.ComponentCount(), 0);
  EXPECT_EQ(child->Owner(), &second);
}

TEST(GuiList, InsertDeleteRemoveAndBounds) {
  int a = 1, b = 2, c = 3;
  TListOf<int> list;
  list.Add(&a);
  list.Add(&c);
  list.Insert(1, &b);
  EXPECT_EQ(*list[1], 2);
  EXPECT_EQ(list.Remove(&a), 0);
  EXPECT_EQ(list.Remove(&a), -1);
  EXPECT_EQ(list.IndexOf(&c), 1);
  EXPECT_THROW(list.Items(2), EListError);
  EXPECT_THROW(list.Insert(5, &a), EListError);
  list.Move(1, 0);
  EXPECT_EQ(list.First(), &c);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(GuiList, SortIsStable) {
  int values[] = {3, 1, 3, 2};
  TList list;
  for (int& v : values) list.Add(&v);
  list.Sort([](void* x, void* y) { return *static_cast<int*>(x) - *static_cast<int*>(y); });
  EXPECT_EQ(list[0], &values[1]);
  EXPECT_EQ(list[2], &values[0]);
  EXPECT_EQ(list[3], &values[2]);
}

// A list that owns its items, as descendants do through Notify.
class OwningList : public TList {
 public:
  ~OwningList() override { Clear(); }

 protected:
  void Notify(void* item, TListNotification action) override {
    if (action == TListNotification::lnDeleted) delete static_cast<std::string*>(item);
  }
};

TEST(GuiList, DescendantsFreeDeletedItemsButNotExtractedOnes) {
  auto* kept = new std::string("kept");
  {
    OwningList list;
    list.Add(new std::string("a"));
    list.Add(kept);
    list.Add(new std::string("b"));
    list.Delete(0);
    EXPECT_EQ(list.Extract(kept), kept);
    list.SetCount(0);  // deletes "b"
    EXPECT_EQ(list.Count(), 0);
    list.Add(new std::string("c"));
  }  // "c" freed with the list; ASan would report a leak otherwise
  EXPECT_EQ(*kept, "kept");
  delete kept;
}

TEST(GuiObject, ClassNameIsTheDynamicTypesName) {
  TList list;
  const TObject& object = list;
  EXPECT_EQ(object.ClassName(), "TList");
}

}  // namespace
}  // namespace gui
