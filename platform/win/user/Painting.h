#pragma once
// Painting: update regions, WM_PAINT, window device contexts and scrolling.
// Each top-level window owns a 32-bit surface the size of its client area;
// child windows draw into their top-level ancestor's surface at their offset.
// The update region of a window is kept as its bounding rectangle.
#include "platform/win/gdi/Surface.h"
#include "platform/win/user/Messages.h"

namespace win {

struct PAINTSTRUCT {
  HDC hdc = 0;
  BOOL fErase = FALSE;  // the background still needs erasing
  RECT rcPaint;         // client coordinates
  BOOL fRestore = FALSE;
  BOOL fIncUpdate = FALSE;
  BYTE rgbReserved[32] = {};
};

// Adds the client rectangle (nullptr: the whole client area) to the update
// region; window 0 invalidates every window. Hidden windows are not painted
// and ignore it. Children are included unless the window has WS_CLIPCHILDREN.
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND window, const RECT* rect);
// The update region's bounding rectangle; FALSE when the window is valid.
BOOL GetUpdateRect(HWND window, RECT* rect, BOOL erase);
// Sends WM_PAINT now to the window, then to its descendants, if they need it.
BOOL UpdateWindow(HWND window);

// Validates the window and gives a DC clipped to the update rectangle and
// the window's visible part; sends WM_ERASEBKGND first when erasing is due.
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);

// A DC over the client area (GetWindowDC: the whole window) clipped to the
// visible part; GetDC(0) draws on the screen surface. Release with ReleaseDC.
HDC GetDC(HWND window);
HDC GetWindowDC(HWND window);
int ReleaseDC(HWND window, HDC dc);

constexpr UINT SW_SCROLLCHILDREN = 0x0001;
constexpr UINT SW_INVALIDATE = 0x0002;
constexpr UINT SW_ERASE = 0x0004;
// Moves the pixels of the client area (or of scroll ∩ clip) by (dx, dy); the
// uncovered part is returned in updateRect / update and, with SW_INVALIDATE,
// added to the update region. SW_SCROLLCHILDREN moves the children that
// intersect the scroll rectangle (all of them without one). Returns
// NULLREGION, SIMPLEREGION or ERROR.
int ScrollWindowEx(HWND window, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update,
                   RECT* updateRect, UINT flags);
// ScrollWindowEx with SW_INVALIDATE | SW_ERASE; children move when scroll is nullptr.
BOOL ScrollWindow(HWND window, int dx, int dy, const RECT* scroll, const RECT* clip);

// The pixels of a top-level window's client area (nullptr for other windows).
Surface* windowSurface(HWND topLevel);
// The screen that GetDC(0) draws on, sized like the screen device.
Surface& screenSurface();

// For the message loop: the first visible window (tree order, top of the
// z-order first) that needs painting, within the filter (0: any).
HWND windowNeedingPaint(HWND filter);
// Sends WM_PAINT; a window whose handler did not paint is validated so
// that it does not ask again forever.
LRESULT dispatchPaint(HWND window);
// WM_ERASEBKGND's default: fills the client area with the class background.
bool eraseWithClassBackground(HWND window, HDC dc);

}  // namespace win
