#pragma once
// TLinkList: the document's list of link font runs (for visited and hover
// looks and for keyboard focus), with the services the link tab stops need
// from the document root and the viewer. The root owns one and binds the
// hooks; every run leaves the list before it is freed.
#include <functional>
#include <vector>

#include "platform/gui/TControl.h"

namespace gui {
class TWinControl;
}

namespace engine {

class TFontObj;

class TLinkList {
 public:
  TLinkList() = default;
  // Runs still in the list forget it (their tab stops go with them).
  ~TLinkList();
  TLinkList(const TLinkList&) = delete;
  TLinkList& operator=(const TLinkList&) = delete;

  // Slots in list order; a run that left leaves an empty slot (nullptr) until
  // the list is compacted, so that removal and IndexOf take constant time.
  int Count() const { return static_cast<int>(runs_.size()); }
  TFontObj* Items(int index) const {
    return index >= 0 && index < Count() ? runs_[static_cast<std::size_t>(index)] : nullptr;
  }
  // The runs in the list, empty slots not counted.
  int LiveCount() const { return Count() - holes_; }
  // The nearest run in the list after (before) index; nullptr when none.
  TFontObj* NextAfter(int index) const;
  TFontObj* PrevBefore(int index) const;
  void Add(TFontObj* run);
  int IndexOf(const TFontObj* run) const;
  void Remove(const TFontObj* run);
  // Every run leaves the list (and gives up its tab stop).
  void Clear();
  // Every run in the list is about to be freed (its document is cleared):
  // until Clear, a run that leaves only empties its slot and drops its tab
  // stop, handing nothing on to the runs after it.
  void BeginDissolve() { dissolving_ = true; }
  bool Dissolving() const { return dissolving_; }
  // Empties run's slot while the list dissolves (the list is not compacted).
  void ForgetSlot(const TFontObj* run);

  // The panel the document is painted on; link tab stops are its children.
  // Without one (documents that are only measured) no tab stops are made.
  gui::TWinControl* PaintPanel = nullptr;
  // A document with more than 400 links gets no link tab stops.
  bool ManyLinks = false;
  // The root's tab list: a control that a positive TABINDEX puts first in tab
  // order, and its removal when the control goes away.
  std::function<void(int tabIndex, gui::TWinControl* control)> AddTabStop;
  std::function<void(gui::TWinControl* control)> RemoveTabStop;
  // Whether a URL has been visited (the viewer's visited list).
  std::function<bool(const std::string& url)> IsVisited;
  // A link took the keyboard focus (the viewer scrolls it into view).
  std::function<void(TFontObj* run)> OnObjectFocused;
  // Enter on a link's tab stop: the viewer follows the link.
  std::function<void(TFontObj* run)> OnLinkActivate;
  // Any other key on a link's tab stop goes to the viewer's own key handling.
  std::function<void(win::WORD& key, gui::TShiftState shift)> OnKeyDown;

 private:
  void Compact();

  std::vector<TFontObj*> runs_;  // not owned
  int holes_ = 0;
  bool dissolving_ = false;
};

}  // namespace engine
