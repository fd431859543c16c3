#include "platform/win/user/ScrollBars.h"

#include <algorithm>
#include <map>
#include <utility>

#include "platform/win/user/Painting.h"
#include "platform/win/user/Windows.h"

namespace win {

namespace {

struct BarState {
  int minimum = 0;
  int maximum = 0;
  UINT page = 0;
  int position = 0;
  int trackPosition = 0;
  bool tracking = false;
};

// Keyed by window and bar. Never freed, so that windows going during static
// destruction still find it.
std::map<std::pair<HWND, int>, BarState>& bars() {
  static auto* states = new std::map<std::pair<HWND, int>, BarState>();
  return *states;
}

bool knownBar(int bar) { return bar == SB_HORZ || bar == SB_VERT || bar == SB_CTL; }

// The largest position: the last one at which a full page still fits.
int highestPosition(const BarState& state) {
  const long long highest = static_cast<long long>(state.maximum) - std::max<long long>(state.page, 1) + 1;
  return static_cast<int>(std::max<long long>(state.minimum, highest));
}

}  // namespace

int SetScrollInfo(HWND window, int bar, const SCROLLINFO* info, BOOL redraw) {
  if (!info || !knownBar(bar) || !IsWindow(window)) return 0;
  BarState& state = bars()[{window, bar}];
  if (info->fMask & SIF_RANGE) {
    state.minimum = info->nMin;
    state.maximum = std::max(info->nMin, info->nMax);
  }
  const long long rangeSize = static_cast<long long>(state.maximum) - state.minimum + 1;
  if (info->fMask & SIF_PAGE) state.page = static_cast<UINT>(std::min<long long>(info->nPage, rangeSize));
  if (info->fMask & SIF_POS) state.position = info->nPos;
  state.page = static_cast<UINT>(std::min<long long>(state.page, rangeSize));
  state.position = std::clamp(state.position, state.minimum, highestPosition(state));
  if (redraw && bar == SB_CTL) InvalidateRect(window, nullptr, TRUE);
  return state.position;
}

BOOL GetScrollInfo(HWND window, int bar, SCROLLINFO* info) {
  if (!info || !knownBar(bar) || !IsWindow(window)) return FALSE;
  const auto found = bars().find({window, bar});
  const BarState state = found == bars().end() ? BarState{} : found->second;
  if (info->fMask & SIF_RANGE) {
    info->nMin = state.minimum;
    info->nMax = state.maximum;
  }
  if (info->fMask & SIF_PAGE) info->nPage = state.page;
  if (info->fMask & SIF_POS) info->nPos = state.position;
  if (info->fMask & SIF_TRACKPOS) info->nTrackPos = state.tracking ? state.trackPosition : state.position;
  return TRUE;
}

void setScrollTrackPos(HWND window, int bar, int position) {
  if (!knownBar(bar) || !IsWindow(window)) return;
  BarState& state = bars()[{window, bar}];
  state.tracking = true;
  state.trackPosition = std::clamp(position, state.minimum, highestPosition(state));
}

void endScrollTracking(HWND window, int bar) {
  const auto found = bars().find({window, bar});
  if (found != bars().end()) found->second.tracking = false;
}

void forgetWindowScrollInfo(HWND window) {
  for (int bar : {SB_HORZ, SB_VERT, SB_CTL}) bars().erase({window, bar});
}

void resetScrollInfo() { bars().clear(); }

}  // namespace win
