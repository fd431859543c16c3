#include <algorithm>

#include "platform/win/kernel/LastError.h"
#include "platform/win/user/WindowStore.h"

namespace win {
namespace {

constexpr DWORD ERROR_CLASS_ALREADY_EXISTS = 1410;
constexpr DWORD ERROR_CLASS_DOES_NOT_EXIST = 1411;
constexpr DWORD ERROR_CLASS_HAS_WINDOWS = 1412;

char16_t foldCase(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

bool sameClassName(const std::u16string& a, const WCHAR* b) {
  std::size_t i = 0;
  for (; i < a.size(); ++i)
    if (b[i] == 0 || foldCase(a[i]) != foldCase(b[i])) return false;
  return b[i] == 0;
}

// Class names below 0x10000 are atoms, as MAKEINTATOM makes them.
bool isAtom(const WCHAR* name) { return reinterpret_cast<std::uintptr_t>(name) < 0x10000; }

}  // namespace

WindowClass* findWindowClass(const WCHAR* name) {
  if (!name) return nullptr;
  for (const auto& windowClass : windowStore().classes) {
    if (isAtom(name) ? windowClass->atom == reinterpret_cast<std::uintptr_t>(name)
                     : sameClassName(windowClass->name, name))
      return windowClass.get();
  }
  return nullptr;
}

ATOM RegisterClassW(const WNDCLASSW* info) {
  if (!info || !info->lpfnWndProc || !info->lpszClassName || isAtom(info->lpszClassName) ||
      !*info->lpszClassName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (findWindowClass(info->lpszClassName)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  WindowStore& store = windowStore();
  auto windowClass = std::make_unique<WindowClass>();
  windowClass->name = info->lpszClassName;
  windowClass->atom = store.nextAtom++;
  if (store.nextAtom == 0) store.nextAtom = 0xC000;
  windowClass->style = info->style;
  windowClass->procedure = info->lpfnWndProc;
  windowClass->instance = info->hInstance;
  windowClass->cursor = info->hCursor;
  windowClass->background = info->hbrBackground;
  store.classes.push_back(std::move(windowClass));
  return store.classes.back()->atom;
}

BOOL UnregisterClassW(const WCHAR* className, HINSTANCE /*instance*/) {
  const WindowClass* windowClass = findWindowClass(className);
  if (!windowClass) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  bool inUse = false;
  windowStore().windows.forEach([&](HWND, const WindowRecord& record) {
    if (record.className == windowClass->name) inUse = true;
  });
  if (inUse) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return FALSE;
  }
  auto& classes = windowStore().classes;
  classes.erase(std::find_if(classes.begin(), classes.end(),
                             [&](const auto& candidate) { return candidate.get() == windowClass; }));
  return TRUE;
}

BOOL GetClassInfoW(HINSTANCE /*instance*/, const WCHAR* className, WNDCLASSW* result) {
  const WindowClass* windowClass = findWindowClass(className);
  if (!windowClass || !result) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  *result = WNDCLASSW{};
  result->style = windowClass->style;
  result->lpfnWndProc = windowClass->procedure;
  result->hInstance = windowClass->instance;
  result->hCursor = windowClass->cursor;
  result->hbrBackground = windowClass->background;
  result->lpszClassName = windowClass->name.c_str();
  return TRUE;
}

}  // namespace win
