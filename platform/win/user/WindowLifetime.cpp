#include <algorithm>

#include "platform/win/kernel/CodePages.h"
#include "platform/win/kernel/LastError.h"
#include "platform/win/kernel/NearEndSearch.h"
#include "platform/win/user/MessageQueue.h"
#include "platform/win/user/ScrollBars.h"
#include "platform/win/user/WindowStore.h"

namespace win {
namespace {

constexpr DWORD ERROR_CANNOT_FIND_WND_CLASS = 1407;
constexpr DWORD ERROR_TLW_WITH_WSCHILD = 1406;
constexpr int kUseDefault = static_cast<int>(0x80000000);
// Window coordinates are kept within this range so that edges never overflow.
constexpr int kCoordinateLimit = 1 << 26;

int clampCoordinate(int value) { return std::clamp(value, -kCoordinateLimit, kCoordinateLimit); }
int clampExtent(int value) { return std::clamp(value, 0, kCoordinateLimit); }

RECT initialRect(int x, int y, int width, int height) {
  if (x == kUseDefault) x = y = 0;
  if (width == kUseDefault) {
    width = 640;
    height = 480;
  }
  const int left = clampCoordinate(x);
  const int top = clampCoordinate(y);
  return RECT{left, top, left + clampExtent(width), top + clampExtent(height)};
}

struct Placement {
  HWND parent = 0;
  HWND owner = 0;
};

// Where a new window goes in the tree; false when the arguments do not allow it.
bool placementFor(DWORD style, HWND parentArgument, Placement& placement) {
  if (style & WS_CHILD) {
    if (!findWindow(parentArgument)) {
      SetLastError(parentArgument ? ERROR_INVALID_WINDOW_HANDLE : ERROR_TLW_WITH_WSCHILD);
      return false;
    }
    placement.parent = parentArgument;
    return true;
  }
  if (parentArgument != 0 && !findWindow(parentArgument)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  placement.owner = GetAncestor(parentArgument, GA_ROOT);
  return true;
}

void linkIntoTree(WindowRecord& record) {
  if (WindowRecord* parent = findWindow(record.parent)) {
    parent->children.push_back(record.handle);  // new children start at the bottom
  } else {
    auto& topLevel = windowStore().topLevel;
    topLevel.insert(topLevel.begin(), record.handle);
  }
}

// A child going with its parent stays listed: the parent's list is swept
// once when all its children are gone, so that freeing a window with many
// children stays linear.
void unlinkFromTree(const WindowRecord& record) {
  if (const WindowRecord* parent = findWindow(record.parent); parent && parent->destroying) return;
  eraseFromEnds(siblingsOf(record), record.handle);  // listed once (see WindowStore.h)
}

void freeWindowTree(HWND window);

// Runs the creation messages; false when the window refused or vanished. A
// window that refused WM_NCCREATE gets only WM_NCDESTROY; one that refused
// WM_CREATE is destroyed in full.
bool runCreation(HWND window, CREATESTRUCTW& create) {
  if (!SendMessageW(window, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create))) {
    freeWindowTree(window);
    return false;
  }
  if (!findWindow(window)) return false;
  if (SendMessageW(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
    DestroyWindow(window);
    return false;
  }
  if (!findWindow(window)) return false;
  const WindowRecord* record = findWindow(window);
  const RECT frame = frameOf(*record);
  const LPARAM size = MAKELPARAM(static_cast<WORD>(clientWidth(*record)), static_cast<WORD>(clientHeight(*record)));
  const LPARAM origin = MAKELPARAM(static_cast<WORD>(record->rect.left + frame.left),
                                   static_cast<WORD>(record->rect.top + frame.top));
  SendMessageW(window, WM_SIZE, SIZE_RESTORED, size);
  if (!findWindow(window)) return false;
  SendMessageW(window, WM_MOVE, 0, origin);
  return findWindow(window) != nullptr;
}

// The procedure createWindowWithProcedure hands over; it replaces the class
// procedure at the window's first message, before WM_NCCREATE is handled.
thread_local WNDPROC pendingProcedure = nullptr;

LRESULT startWithPendingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  WindowRecord* record = findWindow(window);
  if (record && record->procedure == startWithPendingProcedure && pendingProcedure) {
    record->procedure = pendingProcedure;
    pendingProcedure = nullptr;
  }
  const WNDPROC procedure = record ? record->procedure : nullptr;
  if (!procedure || procedure == startWithPendingProcedure) return DefWindowProcW(window, message, wParam, lParam);
  return procedure(window, message, wParam, lParam);
}

bool anyInSubtree(HWND root, HWND candidate) { return candidate != 0 && isSelfOrAncestor(root, candidate); }

// WM_DESTROY to the window, then to its children.
void sendDestroyMessages(HWND window) {
  WindowRecord* record = findWindow(window);
  if (!record) return;
  record->destroying = true;
  SendMessageW(window, WM_DESTROY, 0, 0);
  record = findWindow(window);
  if (!record) return;
  const std::vector<HWND> children = record->children;
  for (const HWND child : children) sendDestroyMessages(child);
}

// Children first: WM_NCDESTROY, then the record goes.
void freeWindowTree(HWND window) {
  WindowRecord* record = findWindow(window);
  if (!record) return;
  const std::vector<HWND> children = record->children;
  for (const HWND child : children) freeWindowTree(child);
  if (!findWindow(window)) return;
  findWindow(window)->children.eraseIf([](HWND child) { return !findWindow(child); });
  SendMessageW(window, WM_NCDESTROY, 0, 0);
  record = findWindow(window);
  if (!record) return;
  // Windows made by the handlers meanwhile go too.
  while (!record->children.empty()) {
    const HWND child = record->children.front();
    if (findWindow(child))
      freeWindowTree(child);
    else
      record->children.erase(record->children.begin());
    record = findWindow(window);
    if (!record) return;
  }
  unlinkFromTree(*record);
  forgetWindowTimers(window);
  forgetWindowMessages(window);
  forgetWindowCaret(window);
  forgetWindowScrollInfo(window);
  releaseSurface(window);
  windowStore().windows.remove(window);
}

void destroyOwnedWindows(HWND owner) {
  std::vector<HWND> owned;
  for (const HWND topLevel : windowStore().topLevel) {
    const WindowRecord* record = findWindow(topLevel);
    if (record && record->owner == owner) owned.push_back(topLevel);
  }
  for (const HWND window : owned) DestroyWindow(window);
}

}  // namespace

HWND CreateWindowExW(DWORD exStyle, const WCHAR* className, const WCHAR* windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* param) {
  const WindowClass* windowClass = findWindowClass(className);
  if (!windowClass) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return 0;
  }
  Placement placement;
  if (!placementFor(style, parent, placement)) return 0;

  auto record = std::make_unique<WindowRecord>();
  record->procedure = windowClass->procedure;
  record->className = windowClass->name;
  record->classStyle = windowClass->style;
  record->classCursor = windowClass->cursor;
  record->classBackground = windowClass->background;
  record->style = style & ~WS_VISIBLE;
  record->exStyle = exStyle;
  record->parent = placement.parent;
  record->owner = placement.owner;
  record->rect = initialRect(x, y, width, height);
  record->id = (style & WS_CHILD) ? static_cast<LONG_PTR>(menu) : 0;
  record->instance = instance;
  if (windowName && reinterpret_cast<std::uintptr_t>(windowName) >= 0x10000) record->text = windowName;
  WindowRecord* stored = record.get();
  const HWND window = windowStore().windows.add(std::move(record));
  if (!window) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return 0;
  }
  stored->handle = window;
  linkIntoTree(*stored);
  syncSurface(*stored);

  CREATESTRUCTW create;
  create.lpCreateParams = param;
  create.hInstance = instance;
  create.hMenu = menu;
  create.hwndParent = parent;
  create.x = stored->rect.left;
  create.y = stored->rect.top;
  create.cx = stored->rect.right - stored->rect.left;
  create.cy = stored->rect.bottom - stored->rect.top;
  create.style = static_cast<LONG>(style);
  create.lpszName = windowName;
  create.lpszClass = className;
  create.dwExStyle = exStyle;
  if (!runCreation(window, create)) {
    if (findWindow(window)) DestroyWindow(window);  // a handler left it half made
    return 0;
  }
  if (style & WS_VISIBLE) ShowWindow(window, SW_SHOW);
  return findWindow(window) ? window : 0;
}

HWND createWindowWithProcedure(WNDPROC procedure, DWORD exStyle, DWORD style, const RECT& bounds, HWND parent,
                               void* param) {
  static const WCHAR kClassName[] = u"PlainWindow";
  if (!procedure) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!findWindowClass(kClassName)) {
    WNDCLASSW windowClass;
    windowClass.lpfnWndProc = startWithPendingProcedure;
    windowClass.lpszClassName = kClassName;
    RegisterClassW(&windowClass);
  }
  pendingProcedure = procedure;
  const HWND window = CreateWindowExW(exStyle, kClassName, u"", style, bounds.left, bounds.top,
                                      bounds.right - bounds.left, bounds.bottom - bounds.top, parent, 0, 0, param);
  pendingProcedure = nullptr;
  return window;
}

BOOL DestroyWindow(HWND window) {
  WindowRecord* record = findWindow(window);
  if (!record || record->destroying) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  record->destroying = true;
  destroyOwnedWindows(window);
  record = findWindow(window);
  if (!record) return TRUE;
  if (record->style & WS_VISIBLE) invalidateAreaInParent(*record);
  if (anyInSubtree(window, windowStore().focus)) forgetWindowInput(windowStore().focus);
  if (anyInSubtree(window, windowStore().capture)) forgetWindowInput(windowStore().capture);
  record = findWindow(window);
  if (!record) return TRUE;
  sendDestroyMessages(window);
  freeWindowTree(window);
  return TRUE;
}

BOOL IsWindow(HWND window) { return findWindow(window) ? TRUE : FALSE; }

BOOL setWindowClassStyle(HWND window, UINT style) {
  WindowRecord* record = findWindow(window);
  if (!record) return FALSE;
  record->classStyle = style;
  return TRUE;
}

BOOL setWindowClassName(HWND window, const std::u16string& name) {
  WindowRecord* record = findWindow(window);
  if (!record) return FALSE;
  record->className = name;
  return TRUE;
}

int GetClassNameA(HWND window, char* buffer, int maxCount) {
  const WindowRecord* record = findWindow(window);
  if (!record || !buffer || maxCount <= 0) {
    SetLastError(record ? ERROR_INSUFFICIENT_BUFFER : ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  const std::string name = wideToMultiByte(CP_ACP, record->className);
  const std::size_t count = std::min(name.size(), static_cast<std::size_t>(maxCount - 1));
  std::copy_n(name.begin(), count, buffer);
  buffer[count] = '\0';
  return static_cast<int>(count);
}

void resetWindows() {
  while (!windowStore().topLevel.empty()) {
    const HWND window = windowStore().topLevel.front();
    if (!findWindow(window) || !DestroyWindow(window)) windowStore().topLevel.erase(windowStore().topLevel.begin());
  }
  WindowStore& store = windowStore();
  store.windows = {};
  store.classes.clear();
  store.focus = 0;
  store.capture = 0;
  resetPainting();
  resetScrollInfo();
}

}  // namespace win
