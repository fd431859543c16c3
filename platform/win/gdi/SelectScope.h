#pragma once
// A drawing object selected into a device context for the length of a scope:
// what was selected before goes back when the scope ends (or at restore()),
// so the object can then be deleted and the DC keeps no stale selection.
#include "platform/win/Types.h"
#include "platform/win/gdi/DeviceContext.h"

namespace win {

class SelectScope {
 public:
  // Selects nothing when dc or object is 0.
  SelectScope(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : 0) {}
  ~SelectScope() { restore(); }
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;

  // True when the object went in.
  bool selected() const { return previous_ != 0; }
  // Puts the previous object back now; the scope's end then does nothing.
  void restore() {
    if (previous_) SelectObject(dc_, previous_);
    previous_ = 0;
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace win
