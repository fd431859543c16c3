#include "platform/gui/TGraphicsObject.h"

#include "platform/win/gdi/GdiObject.h"
#include "platform/win/text/SharedFonts.h"

namespace gui {

TGraphicsObject::~TGraphicsObject() { FreeHandle(); }

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
  FreeHandle();
}

win::HGDIOBJ TGraphicsObject::CachedHandle() const {
  if (handle_ == 0) handle_ = CreateHandle();
  return handle_;
}

void TGraphicsObject::AdoptHandle(win::HGDIOBJ Handle) {
  if (OnChange) OnChange(this);
  FreeHandle();
  handle_ = Handle;
}

void TGraphicsObject::FreeHandle() {
  // A shared font handle is given back; any other handle is ours alone.
  if (handle_ != 0 && !win::releaseSharedFont(handle_)) win::DeleteObject(handle_);
  handle_ = 0;
}

}  // namespace gui
