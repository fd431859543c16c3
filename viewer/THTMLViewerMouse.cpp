// The mouse over the document: hover over links with their cursor and title,
// link clicks through the hot-spot events, images under the mouse and
// clicked, and selection by dragging.
#include <algorithm>
#include <cstdlib>

#include "engine/common/Cursors.h"
#include "engine/common/TextHelpers.h"
#include "platform/gui/AnsiText.h"
#include "platform/gui/FileNames.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TUrlTarget.h"
#include "engine/text/TFontObj.h"
#include "platform/gui/TCustomForm.h"
#include "platform/gui/UserCalls.h"
#include "viewer/THTMLViewer.h"

#include "engine/objects/DocumentHover.h"
#include "engine/objects/TImageFormControlObj.h"
#include "platform/win/user/Input.h"

namespace viewer {

// The link under a panel point. Its attribute lines and its text are kept
// for hosts that report a covered hot spot.
bool THTMLViewer::LinkAt(int X, int Y, std::string& Url, std::string& Target, std::string& Title) {
  std::unique_ptr<engine::TUrlTarget> link;
  engine::TFormControlObj* control = nullptr;
  const bool leftDown = win::GetKeyState(win::VK_LBUTTON) < 0;
  const std::uint8_t hit = engine::LinkAtPointWithHover(*root_, &LayoutCanvas(), X + HorizontalPosition(),
                                                        Y + VerticalPosition(), link, control, Title, leftDown);
  if (!(hit & 1) || !link) return false;
  Url = link->Url;
  Target = link->Target;
  if (link->LinkId != lastLinkId_) {
    lastLinkId_ = link->LinkId;
    linkAttributes_.SetText(link->AttributeText);
    linkText_ = GetTextOfRange(link->Start(), link->Last());
  }
  return true;
}

// The text between two source positions, through a selection that is put
// back afterwards; the caret place of its start is kept as the link's place.
std::u16string THTMLViewer::GetTextOfRange(int Start, int Last) {
  if (Start < 0 || Last < 0 || Start >= Last) return {};
  const int oldB = root_->SelB, oldE = root_->SelE;
  root_->SelB = root_->FindDocPos(Start, false);
  root_->SelE = root_->FindDocPos(Last, false);
  std::u16string text = GetSelectionText();
  int x = 0, y = 0;
  if (root_->FindCaretXY(&LayoutCanvas(), root_->SelB, x, y)) {
    linkTextX_ = x;
    linkTextY_ = y - VerticalPosition();
  }
  root_->SelB = oldB;
  root_->SelE = oldE;
  return text;
}

void THTMLViewer::HandleMouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
  if (CanFocus()) SetFocus();
  linkFollowed_ = false;
  if (middleScroll_) {
    LeaveMiddleScroll();
    return;
  }
  if (Button == gui::mbMiddle && !(options_ & htNoWheelMouse)) {
    middleScroll_ = true;
    middleStartY_ = Y;
    paintPanel_->SetCursor(engine::kUpDownCursor);
    return;
  }
  if (Button != gui::mbLeft || busy_) return;
  leftDown_ = true;
  std::string url, target, title;
  selecting_ = !((options_ & htNoLinkHilite) && LinkAt(X, Y, url, target, title));
  const int position = DocumentPositionAt(X, Y);
  mouseAnchor_ = position;
  engine::SetHoverImagePressed(*root_, true);
  if (position < 0) return;
  if (root_->SelB < root_->SelE || (Shift & gui::ssShift)) paintPanel_->Invalidate();
  if (Shift & gui::ssShift) {
    root_->SelB = std::min(caretPos_, position);
    root_->SelE = std::max(caretPos_, position);
  } else {
    root_->SelB = root_->SelE = position;
    caretPos_ = position;
  }
}

void THTMLViewer::HandleMouseMove(gui::TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
  if (middleScroll_) {
    if (std::abs(Y - middleStartY_) > 20) PostAutoScroll();
    return;
  }
  if (busy_) return;
  std::string url, target, title;
  gui::TCursor cursor = gui::crArrow;
  if (LinkAt(X, Y, url, target, title)) cursor = engine::kLinkCursor;
  int imageX = 0, imageY = 0;
  engine::TIDObject* image = (OnImageClick || OnImageOver) ? ImageAt(X, Y, imageX, imageY) : nullptr;
  if (image) {
    // Over an image the host watches: the arrow, unless it is a link.
    if (OnImageOver) OnImageOver(this, image, Shift, imageX, imageY);
  } else if (cursor != engine::kLinkCursor && DocumentPositionAt(X, Y) >= 0) {
    cursor = Cursor();
  }
  paintPanel_->SetCursor(cursor);
  paintPanel_->SetHint(title);
  mouseTimer_->SetEnabled(cursor == engine::kLinkCursor || root_->HoverImage != nullptr);
  if (url != linkUrl_ || target != linkTarget_) {
    linkUrl_ = url;
    linkTarget_ = target;
    if (OnHotSpotCovered) OnHotSpotCovered(this, url);
  }
  if (Shift & gui::ssLeft) {
    if (Y <= 0 || Y >= paintPanel_->Height()) PostAutoScroll();
    if (!noSelect_) ExtendSelectionTo(X, Y);
  }
}

void THTMLViewer::FormControlMouseMove(engine::TFormControlObj* Sender, gui::TShiftState Shift, int X, int Y) {
  if (!Sender) return;
  std::string title = Sender->Title;
  gui::TWinControl* window = Sender->WindowControl();
  if (title.empty() && window) {
    // The control's window sits on the paint panel: its point there, shifted
    // by the scroll positions, is the document's point under the mouse.
    std::unique_ptr<engine::TUrlTarget> link;
    engine::TFormControlObj* control = nullptr;
    root_->LinkAtPoint(&LayoutCanvas(), window->Left() + X + HorizontalPosition(),
                       window->Top() + Y + VerticalPosition(), link, control, title);
  }
  paintPanel_->SetHint(title);
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void THTMLViewer::HandleMouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
  if (middleScroll_) {
    if (Button != gui::mbMiddle || Y != middleStartY_) LeaveMiddleScroll();
    return;
  }
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
  if (OnImageClick) {
    int imageX = 0, imageY = 0;
    if (engine::TIDObject* image = ImageAt(X, Y, imageX, imageY)) {
      OnImageClick(this, image, Button, Shift, imageX, imageY);
    }
  }
  if (Button == gui::mbRight && OnRightClick) {
    RightClick(X, Y);
    return;
  }
  if (Button != gui::mbLeft || (Shift & gui::ssShift)) return;
  autoScroll_ = false;
  ExtendSelectionTo(X, Y);
  selecting_ = false;
  engine::SetHoverImagePressed(*root_, false);
  const bool wasDown = leftDown_;
  leftDown_ = false;
  if (!wasDown || busy_ || root_->SelB < root_->SelE) return;
  if (ImageInputClick(X, Y)) return;
  std::string url, target, title;
  if (!LinkAt(X, Y, url, target, title)) return;
  linkUrl_ = url;
  linkTarget_ = target;
  FocusLinkStop(lastLinkId_);
  linkFollowed_ = true;
  FollowLink();
}

bool THTMLViewer::ImageInputClick(int X, int Y) {
  std::unique_ptr<engine::TUrlTarget> link;
  engine::TFormControlObj* control = nullptr;
  std::string title;
  const std::uint8_t hit = engine::LinkAtPointWithHover(*root_, &LayoutCanvas(), X + HorizontalPosition(),
                                                        Y + VerticalPosition(), link, control, title, false);
  auto* input = (hit & engine::kLinkFlagFormControl) ? dynamic_cast<engine::TImageFormControlObj*>(control) : nullptr;
  if (!input) return false;
  input->HandleClick();
  return true;
}

// The clicked link's keyboard stop becomes the form's active control, without
// the scroll that a focused link otherwise asks for.
void THTMLViewer::FocusLinkStop(int LinkId) {
  for (int i = 0; i < root_->Links.Count(); ++i) {
    engine::TFontObj* run = root_->Links.Items(i);
    if (!run || run->UrlTarget().LinkId != LinkId || !run->TabControl()) continue;
    gui::TCustomForm* form = gui::GetParentForm(run->TabControl());
    if (form && run->TabControl()->CanFocus()) {
      focusingLink_ = true;
      try {
        form->SetActiveControl(run->TabControl());
      } catch (...) {
        focusingLink_ = false;
        throw;
      }
      focusingLink_ = false;
    }
    return;
  }
}

// The host learns the image, link and word under the point; the hover timer
// rests meanwhile, since the host may show a menu.
void THTMLViewer::RightClick(int X, int Y) {
  TRightClickParameters parameters;
  parameters.ImageObject = ImageAt(X, Y, parameters.ImagePointX, parameters.ImagePointY);
  std::string title;
  LinkAt(X, Y, parameters.LinkUrl, parameters.LinkTarget, title);
  int after = 0, before = 0;
  GetWordAtPoint(X, Y, parameters.WordUnderPoint, after, before);
  mouseTimer_->SetEnabled(false);
  OnRightClick(this, parameters);
  mouseTimer_->SetEnabled(true);
}

engine::TIDObject* THTMLViewer::ImageAt(int X, int Y, int& ImageX, int& ImageY) {
  engine::TIDObject* image = nullptr;
  if (!root_->ObjectAtPoint(X + HorizontalPosition(), Y + VerticalPosition(), image, ImageX, ImageY)) return nullptr;
  return image;
}

bool THTMLViewer::FireHotSpotClick() {
  bool handled = false;
  if (OnHotSpotClick) OnHotSpotClick(this, linkUrl_, handled);
  return handled;
}

// Selection from the anchor to the character under the point.
void THTMLViewer::ExtendSelectionTo(int X, int Y) {
  if (!selecting_ || mouseAnchor_ < 0) return;
  const int position = DocumentPositionAt(X, std::max(0, std::min(Y, paintPanel_->Height())));
  if (position < 0) return;
  if (!noSelect_) {
    root_->SelB = std::min(mouseAnchor_, position);
    root_->SelE = std::max(mouseAnchor_, position);
    paintPanel_->Invalidate();
  }
  caretPos_ = position;
}

int THTMLViewer::DocumentPositionAt(int X, int Y) {
  int xr = 0, yr = 0, caretHeight = 0;
  bool inText = false;
  return root_->CursorAtPoint(&LayoutCanvas(), X + HorizontalPosition(), Y + VerticalPosition(), xr, yr,
                              caretHeight, inText);
}

// A clicked link: anchors in this document scroll, HTML files load, image
// files show as images; other kinds are left to the host's OnHotSpotClick.
void THTMLViewer::FollowLink() {
  if (FireHotSpotClick()) return;
  const std::int64_t position = GetSavedPosition();
  const std::string link = linkUrl_;
  if (!link.empty() && link[0] == '#') {
    if (ScrollToAnchor(link)) {
      AddToHistory(shownFileName_, titleText_, sourceKind_, nullptr, position);
      AddVisited(shownFileName_ + link);
    }
    return;
  }
  const std::size_t hash = link.find('#');
  const std::string anchor = hash == std::string::npos ? std::string() : link.substr(hash);
  const std::string name = ExpandDocumentName(link.substr(0, hash));
  const std::string extension = gui::AnsiUpperCase(gui::ExtractFileExt(name)).substr(0, 5);
  if (extension == ".HTM" || extension == ".HTML") {
    if (name != shownFileName_) {
      OpenHtmlFile(name + anchor);
      AddVisited(name + anchor);
    } else if (ScrollToAnchor(anchor)) {
      AddToHistory(shownFileName_, titleText_, kHtmlKind, nullptr, position);
      AddVisited(name + anchor);
    }
  } else if (extension == ".BMP" || extension == ".GIF" || extension == ".JPG" || extension == ".JPEG" ||
             extension == ".PNG") {
    OpenImageFile(name);
  }
}

// Enter on a link's tab stop: the link is followed from the message loop,
// after the key handling that raised it has finished.
void THTMLViewer::PostLinkActivation(const engine::TUrlTarget& Target) {
  linkUrl_ = Target.Url;
  linkTarget_ = Target.Target;
  if (HandleAllocated()) win::PostMessageW(Handle(), kLinkActivationMessage, 0, 0);
}

// A link that took the focus is brought into view unless the mouse put it there.
void THTMLViewer::ScrollLinkIntoView(int Y) {
  if (focusingLink_) return;
  const int top = VerticalPosition();
  if (Y < top) {
    ScrollVertically(Y);
  } else if (Y > top + ClientHeight() - 30) {
    ScrollVertically(Y - ClientHeight() / 2);
  }
  paintPanel_->Invalidate();
}

// The pointer left the panel: the hover state goes.
void THTMLViewer::MouseLeaveTimer() {
  win::POINT point{};
  win::GetCursorPos(&point);
  const win::POINT local = paintPanel_->ScreenToClient(point);
  if (local.x >= 0 && local.y >= 0 && local.x < paintPanel_->Width() && local.y < paintPanel_->Height()) return;
  mouseTimer_->SetEnabled(false);
  engine::ClearHover(*root_);
  if (!linkUrl_.empty()) {
    linkUrl_.clear();
    linkTarget_.clear();
    if (OnHotSpotCovered) OnHotSpotCovered(this, std::string());
  }
}

}  // namespace viewer
