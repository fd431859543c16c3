#include "platform/win/user/Cursors.h"

#include <map>

#include "platform/win/HandleTable.h"
#include "platform/win/kernel/CodePages.h"
#include "platform/win/kernel/LastError.h"

namespace win {
namespace {

constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;
constexpr int kMaxCursorSide = 256;
constexpr WORD kSystemCursors[] = {IDC_ARROW,  IDC_IBEAM,   IDC_WAIT,   IDC_CROSS, IDC_UPARROW,
                                   IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZEWE, IDC_SIZENS, IDC_SIZEALL,
                                   IDC_NO,     IDC_HAND,    IDC_APPSTARTING, IDC_HELP};

struct CursorState {
  HandleTable<CursorObject> cursors;
  std::map<WORD, HCURSOR> system;
  std::map<std::pair<HINSTANCE, std::string>, HCURSOR> resources;
  HCURSOR current = 0;
  int showCount = 0;
};

CursorState& cursorState() {
  // Never freed: windows held in static objects may be destroyed after it.
  static auto* state = new CursorState();
  return *state;
}

bool isSystemCursorId(WORD id) {
  for (const WORD known : kSystemCursors)
    if (known == id) return true;
  return false;
}

HCURSOR systemCursor(WORD id) {
  CursorState& state = cursorState();
  auto found = state.system.find(id);
  if (found != state.system.end()) return found->second;
  auto cursor = std::make_unique<CursorObject>();
  cursor->systemId = id;
  cursor->width = cursor->height = 32;
  const HCURSOR handle = state.cursors.add(std::move(cursor));
  state.system[id] = handle;
  return handle;
}

HCURSOR loadByName(HINSTANCE instance, const std::string& name) {
  const CursorState& state = cursorState();
  auto found = state.resources.find({instance, name});
  if (found == state.resources.end() || !state.cursors.get(found->second)) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return 0;
  }
  return found->second;
}

// Names below 0x10000 are resource numbers, as MAKEINTRESOURCE makes them.
template <typename Char>
bool isResourceNumber(const Char* name) {
  return reinterpret_cast<std::uintptr_t>(name) < 0x10000;
}

}  // namespace

HCURSOR LoadCursorW(HINSTANCE instance, WORD resourceId) {
  if (instance == 0) {
    if (isSystemCursorId(resourceId)) return systemCursor(resourceId);
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return 0;
  }
  return loadByName(instance, "#" + std::to_string(resourceId));
}

HCURSOR LoadCursorW(HINSTANCE instance, const WCHAR* name) {
  if (isResourceNumber(name)) return LoadCursorW(instance, static_cast<WORD>(reinterpret_cast<std::uintptr_t>(name)));
  return loadByName(instance, wideToMultiByte(CP_UTF8, name));
}

HCURSOR LoadCursorA(HINSTANCE instance, WORD resourceId) { return LoadCursorW(instance, resourceId); }

HCURSOR LoadCursorA(HINSTANCE instance, const char* name) {
  if (isResourceNumber(name)) return LoadCursorW(instance, static_cast<WORD>(reinterpret_cast<std::uintptr_t>(name)));
  return loadByName(instance, name);
}

void registerCursorResource(HINSTANCE instance, const std::string& name, HCURSOR cursor) {
  cursorState().resources[{instance, name}] = cursor;
}

HCURSOR CreateCursor(HINSTANCE /*instance*/, int hotX, int hotY, int width, int height, const void* andPlane,
                     const void* xorPlane) {
  if (width <= 0 || height <= 0 || width > kMaxCursorSide || height > kMaxCursorSide || !andPlane || !xorPlane) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::size_t bytes = static_cast<std::size_t>((width + 15) / 16 * 2) * static_cast<std::size_t>(height);
  auto cursor = std::make_unique<CursorObject>();
  cursor->width = width;
  cursor->height = height;
  cursor->hotSpot = POINT{hotX, hotY};
  const auto* andBytes = static_cast<const BYTE*>(andPlane);
  const auto* xorBytes = static_cast<const BYTE*>(xorPlane);
  cursor->andMask.assign(andBytes, andBytes + bytes);
  cursor->xorMask.assign(xorBytes, xorBytes + bytes);
  return cursorState().cursors.add(std::move(cursor));
}

BOOL DestroyCursor(HCURSOR cursor) {
  CursorState& state = cursorState();
  const CursorObject* object = state.cursors.get(cursor);
  if (!object) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (object->systemId != 0) return TRUE;
  if (state.current == cursor) state.current = 0;
  state.cursors.remove(cursor);
  return TRUE;
}

const CursorObject* cursorFromHandle(HCURSOR cursor) { return cursorState().cursors.get(cursor); }

HCURSOR SetCursor(HCURSOR cursor) {
  CursorState& state = cursorState();
  const HCURSOR previous = state.cursors.get(state.current) ? state.current : 0;
  state.current = state.cursors.get(cursor) ? cursor : 0;
  return previous;
}

HCURSOR GetCursor() {
  const CursorState& state = cursorState();
  return state.cursors.get(state.current) ? state.current : 0;
}

int ShowCursor(BOOL show) {
  cursorState().showCount += show ? 1 : -1;
  return cursorState().showCount;
}

void resetCursors() {
  CursorState& state = cursorState();
  state.cursors = {};
  state.system.clear();
  state.resources.clear();
  state.current = 0;
  state.showCount = 0;
}

}  // namespace win
