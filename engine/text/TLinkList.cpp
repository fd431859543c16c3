#include "engine/text/TLinkList.h"

#include "engine/text/TFontObj.h"

namespace engine {

TLinkList::~TLinkList() {
  RemoveTabStop = nullptr;
  Clear();
}

TFontObj* TLinkList::NextAfter(int index) const {
  for (int i = index + 1; i < Count(); ++i)
    if (TFontObj* run = Items(i)) return run;
  return nullptr;
}

TFontObj* TLinkList::PrevBefore(int index) const {
  for (int i = index - 1; i >= 0; --i)
    if (TFontObj* run = Items(i)) return run;
  return nullptr;
}

void TLinkList::Add(TFontObj* run) {
  run->SetLinkIndex(Count());
  runs_.push_back(run);
}

int TLinkList::IndexOf(const TFontObj* run) const {
  const int index = run ? run->LinkIndex() : -1;
  return Items(index) == run && run ? index : -1;
}

void TLinkList::Remove(const TFontObj* run) {
  const int index = IndexOf(run);
  if (index < 0) return;
  runs_[static_cast<std::size_t>(index)] = nullptr;
  ++holes_;
  if (index == Count() - 1) {
    while (!runs_.empty() && runs_.back() == nullptr) {
      runs_.pop_back();
      --holes_;
    }
  }
  if (holes_ > 64 && holes_ * 2 > Count()) Compact();
}

void TLinkList::ForgetSlot(const TFontObj* run) {
  const int index = IndexOf(run);
  if (index < 0) return;
  runs_[static_cast<std::size_t>(index)] = nullptr;
  ++holes_;
}

void TLinkList::Compact() {
  std::size_t kept = 0;
  for (TFontObj* run : runs_) {
    if (!run) continue;
    run->SetLinkIndex(static_cast<int>(kept));
    runs_[kept++] = run;
  }
  runs_.resize(kept);
  holes_ = 0;
}

void TLinkList::Clear() {
  dissolving_ = false;
  while (!runs_.empty()) {
    TFontObj* run = runs_.back();
    if (run) run->LeaveLinks(nullptr);
    // A slot the run did not give back (or an empty one) goes all the same.
    if (!runs_.empty() && runs_.back() == run) {
      runs_.pop_back();
      if (!run) --holes_;
    }
  }
  holes_ = 0;
}

}  // namespace engine
