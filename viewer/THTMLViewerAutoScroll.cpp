// Scrolling while the pointer holds: a drag selection that leaves the panel
// above or below, and middle-button scrolling. The loop pumps messages, so it
// holds the busy guard (no load can clear the document under it) and stops
// at once when a handler freed the viewer.
#include <algorithm>
#include <cstdlib>
#include <memory>

#include "engine/common/Cursors.h"
#include "engine/document/TSectionList.h"
#include "platform/gui/TApplication.h"
#include "platform/gui/UserCalls.h"
#include "platform/win/kernel/Clock.h"
#include "viewer/THTMLViewer.h"

namespace viewer {

namespace {

constexpr unsigned kStepInterval = 100;
constexpr int kMiddleDeadZone = 20;
constexpr int kPumpsPerStep = 4;

// Pixels to move for one step of middle-button scrolling.
int MiddleStep(int distance) {
  if (distance < -60) return -32;
  if (distance < -kMiddleDeadZone) return -8;
  if (distance > 60) return 32;
  if (distance > kMiddleDeadZone) return 8;
  return 0;
}

}  // namespace

void THTMLViewer::PostAutoScroll() {
  if (autoScroll_ || !HandleAllocated()) return;
  autoScroll_ = true;
  win::PostMessageW(Handle(), kAutoScrollMessage, 0, 0);
}

win::POINT THTMLViewer::PointerInPanel() {
  win::POINT point{};
  win::GetCursorPos(&point);
  return paintPanel_->ScreenToClient(point);
}

bool THTMLViewer::AutoScrollGoesOn(const win::POINT& P) const {
  const bool selecting = autoScroll_ && leftDown_ && (P.y <= 0 || P.y > paintPanel_->Height());
  const bool middle = middleScroll_ && std::abs(P.y - middleStartY_) > kMiddleDeadZone;
  return selecting || middle;
}

void THTMLViewer::AutoScrollLoop() {
  const std::shared_ptr<bool> alive = alive_;
  const bool wasBusy = busy_;
  SetBusy(true);
  win::POINT p = PointerInPanel();
  std::uint64_t lastStep = 0;
  while (AutoScrollGoesOn(p)) {
    const std::uint64_t now = win::GetTickCount64();
    if (now - lastStep > kStepInterval) {
      lastStep = now;
      AutoScrollStep(p);
      p = PointerInPanel();
    }
    for (int i = 0; i < kPumpsPerStep; ++i) {
      gui::Application->ProcessMessages();
      if (!*alive) return;
    }
    p = PointerInPanel();
  }
  autoScroll_ = false;
  if (!wasBusy) SetBusy(false);
  if (middleScroll_) paintPanel_->SetCursor(engine::kUpDownCursor);
}

void THTMLViewer::AutoScrollStep(const win::POINT& P) {
  const int small = vScrollBar_->SmallChange();
  int step = 0;
  if (leftDown_) {
    if (P.y < -15) {
      step = -8 * small;
    } else if (P.y <= 0) {
      step = -small;
    } else if (P.y > paintPanel_->Height() + 15) {
      step = 8 * small;
    } else {
      step = small;
    }
  } else {
    step = MiddleStep(P.y - middleStartY_);
    if (step != 0) paintPanel_->SetCursor(step < 0 ? engine::kUpOnlyCursor : engine::kDownOnlyCursor);
  }
  const long long target = static_cast<long long>(VerticalPosition()) + step;
  const int now = static_cast<int>(std::clamp<long long>(target, 0, std::max(0, documentHeight_ - PanelHeight())));
  vScrollBar_->SetPosition32(now);
  root_->SetYOffset(now);
  ExtendSelectionTo(P.x, P.y);
  paintPanel_->Invalidate();
}

void THTMLViewer::LeaveMiddleScroll() {
  middleScroll_ = false;
  autoScroll_ = false;
  paintPanel_->SetCursor(Cursor());
}

}  // namespace viewer
