// Fitting the document to the window: layout at the client width with the
// decision on the vertical bar, placing the panel and the bars, scrolling,
// saved reading places and the paint callback.
#include <algorithm>
#include <climits>

#include "engine/document/TSectionBase.h"
#include "engine/document/TSectionList.h"
#include "platform/gui/GdiCalls.h"
#include "viewer/THTMLViewer.h"

namespace viewer {

namespace {

// Wider content than this is not scrolled to.
constexpr int kMaxDocumentWidth = 6000;
// The limit the root's paint is given.
constexpr int kPaintClipWidth = 6000;
// Larger sources are laid out once with the vertical bar assumed.
constexpr std::size_t kSingleLayoutSource = 9999;

}  // namespace

int THTMLViewer::LayoutAtWidth(int Width) {
  documentWidth_ = 0;
  int maxWidth = 0;
  int curs = 0;
  const int height = root_->LayoutContent(&LayoutCanvas(), 0, std::max(0, Width),
                                          ClientHeight() - Border(), 0, maxWidth, curs);
  documentWidth_ = std::max(documentWidth_, maxWidth);
  return std::max(0, height);
}

// The paint panel's canvas; a viewer not yet in a window measures on a
// memory context of the screen instead.
gui::TCanvas& THTMLViewer::LayoutCanvas() {
  if (paintPanel_->HandleAllocated()) return paintPanel_->Canvas();
  if (!measureCanvas_) {
    measureCanvas_ = std::make_unique<gui::TCanvas>();
    measureDC_ = win::CreateCompatibleDC(0);
    measureCanvas_->SetHandle(measureDC_);
  }
  return *measureCanvas_;
}

void THTMLViewer::LayoutDocument() {
  if (Parent() || ParentWindow()) HandleNeeded();
  const bool wasSuppressed = paintSuppressed_;
  paintSuppressed_ = true;
  try {
    const int border = Border();
    const int w = Width() - border;
    const int h = Height() - border;
    const bool horizontalToo = scrollBars_ == gui::ssHorizontal || scrollBars_ == gui::ssBoth;
    if (scrollBars_ == gui::ssNone || scrollBars_ == gui::ssHorizontal) {
      documentHeight_ = LayoutAtWidth(w);
    } else if ((options_ & htShowVScroll) || sourceText_.size() > kSingleLayoutSource) {
      documentHeight_ = LayoutAtWidth(w - scrollBarWidth_);
    } else {
      documentHeight_ = LayoutAtWidth(w);
      const bool testA = documentHeight_ > h || (horizontalToo && documentHeight_ >= h - scrollBarWidth_ &&
                                                 documentWidth_ > Width() - scrollBarWidth_ - border);
      if (testA) {
        documentHeight_ = LayoutAtWidth(w - scrollBarWidth_);
        const bool testB = documentHeight_ > h || (horizontalToo && documentHeight_ >= h - scrollBarWidth_ &&
                                                   documentWidth_ > Width() - border);
        if (!testB) documentHeight_ = LayoutAtWidth(w);
      }
    }
    ArrangeScrollBars();
  } catch (...) {
    paintSuppressed_ = wasSuppressed;
    throw;
  }
  paintSuppressed_ = wasSuppressed;
}

void THTMLViewer::ArrangeScrollBars() {
  documentWidth_ = std::min(documentWidth_, kMaxDocumentWidth);
  int b = 0;
  if (borderStyle_ == htNone) {
    paintPanel_->SetBounds(0, 0, paintPanel_->Width(), paintPanel_->Height());
    borderPanel_->SetVisible(false);
  } else {
    paintPanel_->SetBounds(1, 1, paintPanel_->Width(), paintPanel_->Height());
    borderPanel_->SetVisible(true);
    b = 1;
  }
  const int a = 2 * b;
  const bool showV = (options_ & htShowVScroll) != 0;
  const bool vertical = scrollBars_ == gui::ssVertical || scrollBars_ == gui::ssBoth;
  bool vVisible = false, vNeeded = false, hVisible = false;
  if ((!showV && Height() - a >= documentHeight_ && Width() - a >= documentWidth_) || scrollBars_ == gui::ssNone) {
    // everything fits
  } else if (scrollBars_ == gui::ssHorizontal) {
    hVisible = Width() - a < documentWidth_;
  } else {
    const bool both = scrollBars_ == gui::ssBoth;
    vNeeded = documentHeight_ >= Height() - a ||
              (both && documentHeight_ >= Height() - a - scrollBarWidth_ &&
               Width() - scrollBarWidth_ - a < documentWidth_);
    hVisible = both && (documentWidth_ > Width() - a ||
                        ((vNeeded || showV) && documentWidth_ > Width() - scrollBarWidth_ - a));
    vVisible = vNeeded || showV;
  }
  const int cw = (vVisible || (showV && vertical)) ? Width() - scrollBarWidth_ : Width();
  const int panelHeight = std::max(0, hVisible ? Height() - a - scrollBarWidth_ : Height() - a);
  paintPanel_->SetBounds(b, b, std::max(0, cw - a), panelHeight);

  hScrollBar_->SetVisible(hVisible);
  hScrollBar_->SetLargeChange(std::max(1, cw - 20));
  hScrollBar_->SetBounds(b, Height() - scrollBarWidth_ - b, std::max(0, cw - b), scrollBarWidth_);
  hScrollBar_->SetMax(std::max(0, std::max(documentWidth_, cw - a)));
  hScrollBar_->SetPageSize(std::max(0, cw));

  vScrollBar_->SetBounds(Width() - scrollBarWidth_ - b, b, scrollBarWidth_, panelHeight);
  // At least one pixel, so that a page down never scrolls up in a tiny panel.
  vScrollBar_->SetLargeChange(std::max(1, panelHeight - vScrollBar_->SmallChange()));
  if (showV) {
    vScrollBar_->SetVisible(vertical);
    vScrollBar_->SetEnabled(vNeeded);
  } else {
    vScrollBar_->SetVisible(vVisible);
  }
  vScrollBar_->SetScrollValues(vScrollBar_->Position32(), panelHeight + 1, 0, documentHeight_);
}

void THTMLViewer::Relayout() {
  if (busy_) return;
  SetBusy(true);
  try {
    const std::int64_t place = GetSavedPosition();
    Progress(psStarting, 0);
    LayoutDocument();
    RestoreSavedPosition(place);
  } catch (...) {
    Progress(psEnding, 100);
    SetBusy(false);
    throw;
  }
  Progress(psEnding, 100);
  SetBusy(false);
}

void THTMLViewer::Resize() {
  gui::TWinControl::Resize();
  if (creating_ || !root_) return;
  if (busy_) {
    ArrangeScrollBars();
  } else {
    Relayout();
  }
  if (documentHeight_ < PanelHeight()) {
    RestoreSavedPosition(0);
  } else {
    SetVerticalPosition(VerticalPosition());
  }
  SetHorizontalPosition(HorizontalPosition());
}

void THTMLViewer::SetVerticalPosition(int Y) {
  Y = std::max(std::min(Y, documentHeight_ - PanelHeight()), 0);
  vScrollBar_->SetPosition32(Y);
  root_->SetYOffset(Y);
  Invalidate();
  paintPanel_->Invalidate();
}

void THTMLViewer::ScrollVertically(int Y) {
  Y = std::max(std::min(std::max(Y, 0), documentHeight_ - PanelHeight()), 0);
  if (Y != VerticalPosition()) SetVerticalPosition(Y);
}

void THTMLViewer::SetHorizontalPosition(int X) {
  const int highest = std::max(0, hScrollBar_->Max() - paintPanel_->Width());
  hScrollBar_->SetPosition(std::clamp(X, 0, highest));
  paintPanel_->Invalidate();
}

void THTMLViewer::HorizontalScrolled(int& ScrollPos) {
  ScrollPos = std::max(0, std::min(ScrollPos, hScrollBar_->Max() - paintPanel_->Width()));
  paintPanel_->Invalidate();
}

// The section of the position list that holds the Y (the last one starting
// at or above it): sections are listed in document order.
namespace {

int SectionIndexAt(const std::vector<engine::TSectionBase*>& list, int Y, int& SectionY) {
  int low = 0, high = static_cast<int>(list.size()) - 1, found = -1;
  while (low <= high) {
    const int middle = low + (high - low) / 2;
    const int top = list[static_cast<std::size_t>(middle)]->GetDocumentY();
    if (top <= Y) {
      found = middle;
      SectionY = top;
      low = middle + 1;
    } else {
      high = middle - 1;
    }
  }
  return found;
}

}  // namespace

// Kept in 64 bits: a section taller than 65,535 pixels or a list longer than
// 65,535 entries still comes back to the same place.
std::int64_t THTMLViewer::GetSavedPosition() {
  const int y = VerticalPosition();
  int sectionY = 0;
  const int index = SectionIndexAt(root_->PositionList, y, sectionY);
  if (index < 0) return y;
  const std::uint64_t offset = static_cast<std::uint32_t>(y - sectionY);
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(index + 1) << 32) | offset);
}

void THTMLViewer::RestoreSavedPosition(std::int64_t Value) {
  const auto bits = static_cast<std::uint64_t>(Value);
  long long y = static_cast<std::int32_t>(bits & 0xFFFFFFFFu);
  const std::uint64_t entry = bits >> 32;
  if (entry != 0) {
    const std::uint64_t index = entry - 1;
    if (index >= root_->PositionList.size()) return;
    y += root_->PositionList[static_cast<std::size_t>(index)]->GetDocumentY();
  }
  SetVerticalPosition(static_cast<int>(std::clamp<long long>(y, 0, INT_MAX)));
}

void THTMLViewer::DrawDocument(gui::TCanvas& Canvas) {
  if (paintSuppressed_) return;
  const win::RECT clip{0, 1, paintPanel_->Width(), paintPanel_->Height()};
  root_->PaintContent(&Canvas, clip, kPaintClipWidth, -HorizontalPosition(), 0, 0, 0);
}

}  // namespace viewer
