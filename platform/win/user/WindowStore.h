#pragma once
// The window system's own state, shared by the files of this folder: the
// window records, the class list, focus and capture. Not for other callers.
//
// Invariants: a child is listed in exactly one parent's children (top of the
// z-order first) and has that parent in 'parent'; a top-level window (parent
// 0) is listed in 'topLevel'. Handles of destroyed windows are never reused
// while the generation count distinguishes them (HandleTable).
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/win/HandleTable.h"
#include "platform/win/kernel/OffsetVector.h"
#include "platform/win/RectMath.h"
#include "platform/win/user/Windows.h"

namespace win {

struct WindowClass {
  std::u16string name;
  ATOM atom = 0;
  UINT style = 0;
  WNDPROC procedure = nullptr;
  HINSTANCE instance = 0;
  HCURSOR cursor = 0;
  HBRUSH background = 0;
};

struct WindowRecord {
  HWND handle = 0;
  WNDPROC procedure = nullptr;
  std::u16string className;
  UINT classStyle = 0;
  HCURSOR classCursor = 0;
  HBRUSH classBackground = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  HWND parent = 0;
  HWND owner = 0;
  OffsetVector<HWND> children;  // top of the z-order first
  RECT rect;                   // parent client coordinates, or screen for top-level
  std::optional<RECT> frame;   // set by setWindowFrame
  std::u16string text;
  LONG_PTR userData = 0;
  LONG_PTR id = 0;
  HINSTANCE instance = 0;
  bool destroying = false;

  // Painting: the bounding rectangle of what needs painting, in client
  // coordinates (empty when valid).
  RECT updateRect;
  bool eraseNeeded = false;
  bool paintCalled = false;  // BeginPaint ran since the last WM_PAINT dispatch
};

struct WindowStore {
  HandleTable<WindowRecord> windows;
  OffsetVector<HWND> topLevel;  // top of the z-order first
  std::vector<std::unique_ptr<WindowClass>> classes;
  ATOM nextAtom = 0xC000;
  HWND focus = 0;
  HWND capture = 0;
};

WindowStore& windowStore();
WindowRecord* findWindow(HWND window);
// A registered class by name (without regard to case) or atom.
WindowClass* findWindowClass(const WCHAR* name);

// Edges between the window rectangle and the client area.
RECT frameOf(const WindowRecord& window);
LONG clientWidth(const WindowRecord& window);
LONG clientHeight(const WindowRecord& window);
// The client area's top-left corner in screen coordinates.
POINT clientOriginOnScreen(const WindowRecord& window);
// The window rectangle in screen coordinates.
RECT windowRectOnScreen(const WindowRecord& window);
// The siblings list that holds the window (the parent's children or topLevel).
OffsetVector<HWND>& siblingsOf(const WindowRecord& window);
// True when 'ancestor' is the window or one of its parents.
bool isSelfOrAncestor(HWND ancestor, HWND window);

// Painting state changes, implemented with the painting code.
void invalidateWindow(HWND window, const RECT* clientRect, bool erase, bool withChildren);
// Invalidates the area the window covers in its parent's client area.
void invalidateAreaInParent(const WindowRecord& window);
// A top-level window's surface follows its client size.
void syncSurface(WindowRecord& window);
void releaseSurface(HWND window);
void resetPainting();

// Focus, capture, timers, queued messages and the caret of a dying window.
void forgetWindowInput(HWND window);
void forgetWindowTimers(HWND window);
void forgetWindowMessages(HWND window);
void forgetWindowCaret(HWND window);

}  // namespace win
