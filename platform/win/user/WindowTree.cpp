#include <algorithm>

#include "platform/win/kernel/LastError.h"
#include "platform/win/kernel/NearEndSearch.h"
#include "platform/win/user/WindowStore.h"

namespace win {
namespace {

HWND siblingAt(const OffsetVector<HWND>& siblings, std::ptrdiff_t index) {
  if (index < 0 || index >= static_cast<std::ptrdiff_t>(siblings.size())) return 0;
  return siblings[static_cast<std::size_t>(index)];
}

}  // namespace

HWND GetParent(HWND window) {
  const WindowRecord* record = findWindow(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return record->parent ? record->parent : record->owner;
}

HWND GetWindow(HWND window, UINT relation) {
  const WindowRecord* record = findWindow(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  if (relation == GW_CHILD) return record->children.empty() ? 0 : record->children.front();
  if (relation == GW_OWNER) return record->owner;
  const OffsetVector<HWND>& siblings = siblingsOf(*record);
  const auto position = std::find(siblings.begin(), siblings.end(), window) - siblings.begin();
  switch (relation) {
    case GW_HWNDFIRST: return siblings.empty() ? 0 : siblings.front();
    case GW_HWNDLAST: return siblings.empty() ? 0 : siblings.back();
    case GW_HWNDNEXT: return siblingAt(siblings, position + 1);
    case GW_HWNDPREV: return siblingAt(siblings, position - 1);
    default: SetLastError(ERROR_INVALID_PARAMETER); return 0;
  }
}

HWND GetAncestor(HWND window, UINT kind) {
  const WindowRecord* record = findWindow(window);
  if (!record) return 0;
  if (kind == GA_PARENT) return record->parent;
  while (const WindowRecord* parent = findWindow(record->parent)) record = parent;
  if (kind == GA_ROOTOWNER) {
    while (const WindowRecord* owner = findWindow(record->owner)) {
      record = owner;
      while (const WindowRecord* parent = findWindow(record->parent)) record = parent;
    }
  }
  return record->handle;
}

BOOL IsChild(HWND parent, HWND window) {
  const WindowRecord* record = findWindow(window);
  if (!record || !findWindow(parent)) return FALSE;
  return (record->parent != 0 && isSelfOrAncestor(parent, record->parent)) ? TRUE : FALSE;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC procedure, LPARAM data) {
  const WindowRecord* record = findWindow(parent);
  if (!record || !procedure) return FALSE;
  // The tree as it stands now; windows gone by their turn are skipped.
  std::vector<HWND> order;
  std::vector<HWND> pending(record->children.rbegin(), record->children.rend());
  while (!pending.empty()) {
    const HWND window = pending.back();
    pending.pop_back();
    order.push_back(window);
    if (const WindowRecord* child = findWindow(window))
      pending.insert(pending.end(), child->children.rbegin(), child->children.rend());
  }
  for (const HWND window : order) {
    if (findWindow(window) && !procedure(window, data)) break;
  }
  return TRUE;
}

HWND SetParent(HWND window, HWND newParent) {
  WindowRecord* record = findWindow(window);
  const bool parentUsable = newParent == 0 || (findWindow(newParent) && !isSelfOrAncestor(window, newParent));
  if (!record || !parentUsable) {
    SetLastError(record ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  const HWND oldParent = record->parent;
  if (oldParent == newParent) return oldParent;
  const bool visible = (record->style & WS_VISIBLE) != 0;
  if (visible) invalidateAreaInParent(*record);
  eraseFromEnds(siblingsOf(*record), window);
  if (oldParent == 0) releaseSurface(window);
  record->parent = newParent;
  OffsetVector<HWND>& newSiblings = siblingsOf(*record);
  newSiblings.insert(newSiblings.begin(), window);
  if (newParent == 0) syncSurface(*record);
  if (visible) invalidateWindow(window, nullptr, true, true);
  SetLastError(ERROR_SUCCESS);
  return oldParent;
}

}  // namespace win
