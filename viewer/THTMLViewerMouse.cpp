// The mouse over the document: hover over links with their cursor and title,
// link clicks through the hot-spot events, and selection by dragging.
#include <algorithm>

#include "engine/common/Cursors.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TUrlTarget.h"
#include "platform/gui/UserCalls.h"
#include "viewer/THTMLViewer.h"

namespace viewer {

bool THTMLViewer::LinkAt(int X, int Y, std::string& Url, std::string& Target, std::string& Title) {
  std::unique_ptr<engine::TUrlTarget> link;
  engine::TFormControlObj* control = nullptr;
  root_->HoverImage = nullptr;
  const std::uint8_t hit =
      root_->LinkAtPoint(&LayoutCanvas(), X + HorizontalPosition(), Y + VerticalPosition(), link, control, Title);
  if (!hit || !link) return false;
  Url = link->Url;
  Target = link->Target;
  return true;
}

void THTMLViewer::HandleMouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
  if (busy_) return;
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
  if (Button != gui::mbLeft) return;
  std::string title;
  pressedUrl_.clear();
  LinkAt(X, Y, pressedUrl_, pressedTarget_, title);
  leftDown_ = true;
  dragged_ = false;
  const int position = DocumentPositionAt(X, Y);
  mouseAnchor_ = position;
  caretPos_ = std::max(0, position);
  if (!noSelect_ && !(Shift & gui::ssShift)) {
    root_->SelB = root_->SelE = caretPos_;
    paintPanel_->Invalidate();
  }
}

void THTMLViewer::HandleMouseMove(gui::TShiftState Shift, int X, int Y) {
  if (busy_) return;
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
  if (leftDown_ && (Shift & gui::ssLeft)) {
    ExtendSelectionTo(X, Y);
    return;
  }
  std::string url, target, title;
  const bool onLink = LinkAt(X, Y, url, target, title);
  paintPanel_->SetCursor(onLink ? engine::kLinkCursor : gui::crIBeam);
  paintPanel_->SetHint(title);
  if (url != hoverUrl_) {
    hoverUrl_ = url;
    if (OnHotSpotCovered) OnHotSpotCovered(this, url);
  }
  mouseTimer_->SetEnabled(!url.empty() || !title.empty());
}

void THTMLViewer::HandleMouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
  if (Button != gui::mbLeft || !leftDown_) return;
  leftDown_ = false;
  if (busy_ || dragged_ || pressedUrl_.empty()) return;
  std::string url, target, title;
  if (!LinkAt(X, Y, url, target, title) || url != pressedUrl_) return;
  bool handled = false;
  if (OnHotSpotClick) OnHotSpotClick(this, url, handled);
  if (!handled) FollowLink(url);
}

// Selection from the anchor to the character under the point.
void THTMLViewer::ExtendSelectionTo(int X, int Y) {
  if (noSelect_ || mouseAnchor_ < 0) return;
  const int position = DocumentPositionAt(X, Y);
  if (position < 0) return;
  dragged_ = dragged_ || position != mouseAnchor_;
  caretPos_ = position;
  root_->SelB = std::min(mouseAnchor_, position);
  root_->SelE = std::max(mouseAnchor_, position);
  paintPanel_->Invalidate();
}

int THTMLViewer::DocumentPositionAt(int X, int Y) {
  int xr = 0, yr = 0, caretHeight = 0;
  bool inText = false;
  return root_->CursorAtPoint(&LayoutCanvas(), X + HorizontalPosition(), Y + VerticalPosition(), xr, yr,
                              caretHeight, inText);
}

// Links within the document scroll to their anchor; local files load in place.
void THTMLViewer::FollowLink(const std::string& Url) {
  const std::size_t hash = Url.find('#');
  const std::string name = Url.substr(0, hash);
  const std::string anchor = hash == std::string::npos ? std::string() : Url.substr(hash + 1);
  if (name.empty()) {
    ScrollToAnchor(anchor);
    return;
  }
  const std::string file = ExpandDocumentName(name);
  if (file.find("://") != std::string::npos) return;
  try {
    LoadFileOfType(anchor.empty() ? file : file + "#" + anchor, kHtmlKind);
  } catch (const gui::Exception&) {
    // A missing target leaves the shown document as it was.
  }
}

// The pointer left the panel: the hover state goes.
void THTMLViewer::MouseLeaveTimer() {
  win::POINT point{};
  win::GetCursorPos(&point);
  const win::POINT local = paintPanel_->ScreenToClient(point);
  if (local.x >= 0 && local.y >= 0 && local.x < paintPanel_->Width() && local.y < paintPanel_->Height()) return;
  mouseTimer_->SetEnabled(false);
  if (!hoverUrl_.empty()) {
    hoverUrl_.clear();
    if (OnHotSpotCovered) OnHotSpotCovered(this, std::string());
  }
  paintPanel_->SetCursor(gui::crIBeam);
}

}  // namespace viewer
