#pragma once
// Windows of the headless window system: classes, creation and destruction,
// the window tree (parent, children in z-order, owner), bounds, visibility,
// enabled state, window longs and window text. A top-level window's rectangle
// is in screen coordinates, a child's in its parent's client coordinates; the
// client area is the whole window unless the window has a frame (WS_BORDER,
// WS_EX_CLIENTEDGE or one set with setWindowFrame).
#include <string>

#include "platform/win/user/Messages.h"

namespace win {

// Window styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
constexpr DWORD WS_EX_CONTROLPARENT = 0x00010000;

// Class styles.
constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;

struct WNDCLASSW {
  UINT style = 0;
  WNDPROC lpfnWndProc = nullptr;
  int cbClsExtra = 0;
  int cbWndExtra = 0;
  HINSTANCE hInstance = 0;
  HICON hIcon = 0;
  HCURSOR hCursor = 0;
  HBRUSH hbrBackground = 0;  // a brush, or a system colour index + 1
  const WCHAR* lpszMenuName = nullptr;
  const WCHAR* lpszClassName = nullptr;
};

// What WM_NCCREATE and WM_CREATE receive through lParam.
struct CREATESTRUCTW {
  void* lpCreateParams = nullptr;
  HINSTANCE hInstance = 0;
  HMENU hMenu = 0;
  HWND hwndParent = 0;
  int cy = 0;
  int cx = 0;
  int y = 0;
  int x = 0;
  LONG style = 0;
  const WCHAR* lpszName = nullptr;
  const WCHAR* lpszClass = nullptr;
  DWORD dwExStyle = 0;
};

// Registers a class (names compare without regard to case); 0 when the name
// is taken or the class has no procedure.
ATOM RegisterClassW(const WNDCLASSW* windowClass);
BOOL UnregisterClassW(const WCHAR* className, HINSTANCE instance);
BOOL GetClassInfoW(HINSTANCE instance, const WCHAR* className, WNDCLASSW* result);

// Creates a window of a registered class. WS_CHILD needs a parent; without
// WS_CHILD the parent argument becomes the owner. Sends WM_NCCREATE,
// WM_CREATE (FALSE or -1 abort the creation), WM_SIZE and WM_MOVE, then shows
// the window when WS_VISIBLE is given. 0 on failure.
HWND CreateWindowExW(DWORD exStyle, const WCHAR* className, const WCHAR* windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* param);
// The same with a window procedure instead of a class.
HWND createWindowWithProcedure(WNDPROC procedure, DWORD exStyle, DWORD style, const RECT& bounds, HWND parent,
                               void* param = nullptr);

// Destroys the window, its owned windows and its children: WM_DESTROY goes to
// the window before its children, WM_NCDESTROY to the children first. The
// handles are stale afterwards. FALSE for a stale handle or a window already
// being destroyed.
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
// Gives a window made without a class the class styles it would have had
// (CS_DBLCLKS: two quick clicks arrive as a double click). FALSE for a stale handle.
BOOL setWindowClassStyle(HWND window, UINT style);
// Gives a window made without a class the class name a host sees for it
// (controls name their windows after their class). FALSE for a stale handle.
BOOL setWindowClassName(HWND window, const std::u16string& name);
// The window's class name in the ANSI code page: at most maxCount - 1
// characters and a zero; returns the count copied, 0 for a stale handle.
int GetClassNameA(HWND window, char* buffer, int maxCount);

// Tree.
constexpr UINT GW_HWNDFIRST = 0;
constexpr UINT GW_HWNDLAST = 1;
constexpr UINT GW_HWNDNEXT = 2;  // the next sibling below in z-order
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_OWNER = 4;
constexpr UINT GW_CHILD = 5;  // the topmost child
// The parent of a child window, the owner of a top-level window.
HWND GetParent(HWND window);
HWND GetWindow(HWND window, UINT relation);
constexpr UINT GA_PARENT = 1;
constexpr UINT GA_ROOT = 2;       // the top-level window of the child chain
constexpr UINT GA_ROOTOWNER = 3;  // GA_ROOT, then up the owners
HWND GetAncestor(HWND window, UINT kind);
BOOL IsChild(HWND parent, HWND window);
// Calls the procedure for every descendant of parent, each child (top of the
// z-order first) followed by its own descendants, until it returns FALSE.
// Windows made or destroyed by the procedure are not visited / skipped.
using WNDENUMPROC = BOOL (*)(HWND window, LPARAM data);
BOOL EnumChildWindows(HWND parent, WNDENUMPROC procedure, LPARAM data);
// Moves the window under a new parent (0: top-level), keeping its position
// numbers. Returns the old parent; 0 on failure (also when it would make the
// window its own ancestor).
HWND SetParent(HWND window, HWND newParent);

// Visibility and enabled state.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;
// Returns whether the window was visible before.
BOOL ShowWindow(HWND window, int command);
// Visible when the window and all its ancestors have WS_VISIBLE.
BOOL IsWindowVisible(HWND window);
// Returns whether the window was disabled before; sends WM_ENABLE on change.
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);

// Geometry.
constexpr HWND HWND_TOP = 0;
constexpr HWND HWND_BOTTOM = 1;
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
constexpr UINT SWP_NOCOPYBITS = 0x0100;
constexpr UINT SWP_NOOWNERZORDER = 0x0200;
// Sends WM_MOVE / WM_SIZE for what changed and invalidates the old and the
// new area. Negative sizes count as 0.
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
// Client rectangle: (0, 0, client width, client height).
BOOL GetClientRect(HWND window, RECT* rect);
// Window rectangle in screen coordinates.
BOOL GetWindowRect(HWND window, RECT* rect);
// The frame between window and client edges (left, top, right, bottom
// thickness). Replaces what the styles imply.
BOOL setWindowFrame(HWND window, const RECT& frame);

// Window longs.
constexpr int GWL_WNDPROC = -4;
constexpr int GWLP_WNDPROC = -4;
constexpr int GWL_HINSTANCE = -6;
constexpr int GWL_HWNDPARENT = -8;
constexpr int GWL_ID = -12;
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWL_USERDATA = -21;
constexpr int GWLP_USERDATA = -21;
// Returns the previous value; 0 with ERROR_INVALID_INDEX for other indexes.
// Changing GWL_STYLE changes visibility and enabled state without messages.
LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value);
LONG_PTR GetWindowLongPtrW(HWND window, int index);

// Calls a window procedure (as subclassing procedures pass messages on).
LRESULT CallWindowProcW(WNDPROC procedure, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The default handling: WM_CLOSE destroys, WM_PAINT validates, WM_ERASEBKGND
// fills with the class background, WM_SETTEXT / WM_GETTEXT keep the text,
// WM_SETCURSOR sets the class cursor, WM_MOUSEWHEEL goes to the parent.
LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Window text, through WM_SETTEXT / WM_GETTEXT.
BOOL SetWindowTextW(HWND window, const WCHAR* text);
// Copies at most maxCount - 1 characters and a zero; returns the count copied.
int GetWindowTextW(HWND window, WCHAR* buffer, int maxCount);
int GetWindowTextLengthW(HWND window);
std::u16string windowText(HWND window);

// Destroys every window and forgets all classes (for tests).
void resetWindows();

}  // namespace win
