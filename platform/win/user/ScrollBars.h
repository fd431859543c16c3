#pragma once
// Scroll-bar state of windows: the range, page, position and, while the
// thumb is dragged, the track position of a window's horizontal and vertical
// bars and of scroll-bar controls (SB_CTL). The window system keeps the
// numbers; scroll-bar controls draw them and report the user's actions to
// their parent with WM_HSCROLL / WM_VSCROLL (lParam: the bar's window).
#include "platform/win/user/Messages.h"

namespace win {

struct SCROLLINFO {
  UINT cbSize = sizeof(SCROLLINFO);
  UINT fMask = 0;
  int nMin = 0;
  int nMax = 0;
  UINT nPage = 0;
  int nPos = 0;
  int nTrackPos = 0;
};

// Which bar.
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_CTL = 2;

// What the fields of SCROLLINFO carry.
constexpr UINT SIF_RANGE = 0x0001;
constexpr UINT SIF_PAGE = 0x0002;
constexpr UINT SIF_POS = 0x0004;
constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
constexpr UINT SIF_TRACKPOS = 0x0010;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

// Scroll requests: the low word of WM_HSCROLL / WM_VSCROLL's wParam; the
// high word is the thumb position (16 bits) for the two thumb codes.
constexpr WORD SB_LINEUP = 0;
constexpr WORD SB_LINELEFT = 0;
constexpr WORD SB_LINEDOWN = 1;
constexpr WORD SB_LINERIGHT = 1;
constexpr WORD SB_PAGEUP = 2;
constexpr WORD SB_PAGELEFT = 2;
constexpr WORD SB_PAGEDOWN = 3;
constexpr WORD SB_PAGERIGHT = 3;
constexpr WORD SB_THUMBPOSITION = 4;
constexpr WORD SB_THUMBTRACK = 5;
constexpr WORD SB_TOP = 6;
constexpr WORD SB_LEFT = 6;
constexpr WORD SB_BOTTOM = 7;
constexpr WORD SB_RIGHT = 7;
constexpr WORD SB_ENDSCROLL = 8;

// Sets what fMask names: the range, then the page (clamped to 0 .. range
// size), then the position (clamped to nMin .. nMax - page + 1). Returns the
// position; 0 for a stale window or an unknown bar. A redraw repaints a
// scroll-bar control.
int SetScrollInfo(HWND window, int bar, const SCROLLINFO* info, BOOL redraw);
// Fills what fMask names; nTrackPos is the dragged thumb's position, nPos
// when nothing is dragged. FALSE for a stale window or an unknown bar.
BOOL GetScrollInfo(HWND window, int bar, SCROLLINFO* info);

// The position of a dragged thumb (the scroll-bar control sets it while the
// user drags; ends with endScrollTracking).
void setScrollTrackPos(HWND window, int bar, int position);
void endScrollTracking(HWND window, int bar);

// The window's bars go with it; everything goes for tests.
void forgetWindowScrollInfo(HWND window);
void resetScrollInfo();

}  // namespace win
