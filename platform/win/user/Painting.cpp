#include "platform/win/user/Painting.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "platform/win/gdi/BrushObject.h"
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/RegionObject.h"
#include "platform/win/gdi/ScreenDevice.h"
#include "platform/win/kernel/LastError.h"
#include "platform/win/user/MessageQueue.h"
#include "platform/win/user/WindowStore.h"

namespace win {
namespace {

constexpr std::uint32_t kFreshSurfacePixel = 0xFFFFFF;

struct LiveDc {
  HDC dc = 0;
  HWND window = 0;
  Surface* surface = nullptr;
};

struct PaintState {
  std::unordered_map<HWND, std::unique_ptr<Surface>> surfaces;  // top-level windows only
  std::vector<LiveDc> dcs;
  Surface screen;
};

PaintState& paintState() {
  // Never freed: windows held in static objects may be destroyed after it.
  static auto* state = new PaintState();
  return *state;
}

WindowRecord* topLevelOf(WindowRecord* record) {
  while (WindowRecord* parent = findWindow(record->parent)) record = parent;
  return record;
}

RECT clientRectOf(const WindowRecord& record) { return RECT{0, 0, clientWidth(record), clientHeight(record)}; }

// Where the window's client origin lies on its top-level window's surface.
POINT clientOffsetInSurface(const WindowRecord& record, const WindowRecord& topLevel) {
  const POINT origin = clientOriginOnScreen(record);
  const POINT topOrigin = clientOriginOnScreen(topLevel);
  return POINT{origin.x - topOrigin.x, origin.y - topOrigin.y};
}

// The part of the window (client area, or the whole window) that can be seen
// on the surface: clipped by every ancestor's client area; empty when hidden.
RECT visibleInSurface(const WindowRecord& record, bool wholeWindow) {
  WindowRecord* topLevel = topLevelOf(const_cast<WindowRecord*>(&record));
  const POINT offset = clientOffsetInSurface(record, *topLevel);
  RECT visible = offsetRect(clientRectOf(record), offset.x, offset.y);
  if (wholeWindow) {
    const RECT frame = frameOf(record);
    visible = RECT{visible.left - frame.left, visible.top - frame.top, visible.right + frame.right,
                   visible.bottom + frame.bottom};
  }
  for (const WindowRecord* window = &record; window; window = findWindow(window->parent)) {
    if (!(window->style & WS_VISIBLE)) return RECT{};
    if (window == &record) continue;
    const POINT ancestorOffset = clientOffsetInSurface(*window, *topLevel);
    visible = intersectRects(visible, offsetRect(clientRectOf(*window), ancestorOffset.x, ancestorOffset.y));
  }
  return visible;
}

Surface* surfaceOf(const WindowRecord& topLevel) {
  auto found = paintState().surfaces.find(topLevel.handle);
  return found == paintState().surfaces.end() ? nullptr : found->second.get();
}

// A DC over the window's part of its top-level surface, limited to 'limit'
// (surface coordinates) as well as to what is visible.
HDC makeWindowDc(WindowRecord& record, bool wholeWindow, const RECT* limit) {
  WindowRecord* topLevel = topLevelOf(&record);
  Surface* surface = surfaceOf(*topLevel);
  if (!surface) return 0;
  POINT origin = clientOffsetInSurface(record, *topLevel);
  if (wholeWindow) {
    const RECT frame = frameOf(record);
    origin = POINT{origin.x - frame.left, origin.y - frame.top};
  }
  RECT visible = visibleInSurface(record, wholeWindow);
  if (limit) visible = intersectRects(visible, *limit);
  const HDC dc = createDeviceContextForSurface(surface, origin, visible, screenBitsPerPixel());
  if (dc) paintState().dcs.push_back(LiveDc{dc, record.handle, surface});
  return dc;
}

bool releaseLiveDc(HDC dc) {
  auto& dcs = paintState().dcs;
  auto found = std::find_if(dcs.begin(), dcs.end(), [&](const LiveDc& live) { return live.dc == dc; });
  if (found == dcs.end()) return false;
  dcs.erase(found);
  releaseDeviceContext(dc);
  return true;
}

void resizeSurface(Surface& surface, int width, int height) {
  if (surface.width == width && surface.height == height) return;
  Surface resized;
  if (allocateSurface(resized, width, height, kFreshSurfacePixel) && !surface.empty()) {
    const int rows = std::min(height, surface.height);
    const int columns = std::min(width, surface.width);
    for (int y = 0; y < rows; ++y)
      std::memcpy(resized.rowPtr(y), surface.rowPtr(y), static_cast<std::size_t>(columns) * sizeof(std::uint32_t));
  }
  // The Surface object stays where it is: live DCs keep pointing at it.
  surface = std::move(resized);
}

bool anyVisibleChildIn(const WindowRecord& record, const RECT& area) {
  for (const HWND child : record.children) {
    const WindowRecord* childRecord = findWindow(child);
    if (childRecord && (childRecord->style & WS_VISIBLE) && !isEmptyRect(intersectRects(childRecord->rect, area)))
      return true;
  }
  return false;
}

// Invalidates the visible children under the client rectangle.
void repaintChildrenIn(const WindowRecord& record, const RECT& painted) {
  if (isEmptyRect(painted)) return;
  // invalidateWindow only marks windows, so the list stays as it is meanwhile.
  for (const HWND child : record.children) {
    const WindowRecord* childRecord = findWindow(child);
    if (!childRecord || !(childRecord->style & WS_VISIBLE)) continue;
    const RECT overlap = intersectRects(childRecord->rect, painted);
    if (isEmptyRect(overlap)) continue;
    const RECT frame = frameOf(*childRecord);
    const RECT inChild =
        offsetRect(overlap, -(childRecord->rect.left + frame.left), -(childRecord->rect.top + frame.top));
    invalidateWindow(child, &inChild, true, true);
  }
}

// When the window's painting cannot leave out its children (it has
// WS_CLIPCHILDREN, but a DC's clip is one rectangle), the children under the
// painted rectangle are painted again afterwards.
void repaintCoveredChildren(const WindowRecord& record, const RECT& painted) {
  if (record.style & WS_CLIPCHILDREN) repaintChildrenIn(record, painted);
}

// The same for siblings: a DC cannot leave out the windows stacked above the
// painted one (WS_CLIPSIBLINGS), so those that overlap the painted rectangle,
// at every level up to the top-level window, are painted again afterwards.
void repaintCoveringSiblings(const WindowRecord& record, const RECT& paintedClient) {
  if (isEmptyRect(paintedClient)) return;
  const RECT frame = frameOf(record);
  RECT painted = offsetRect(paintedClient, record.rect.left + frame.left, record.rect.top + frame.top);
  for (const WindowRecord* level = &record; findWindow(level->parent);) {
    const WindowRecord* parent = findWindow(level->parent);
    if (level->style & WS_CLIPSIBLINGS) {
      for (const HWND sibling : parent->children) {  // invalidateWindow leaves the list as it is
        if (sibling == level->handle) break;  // only those above
        const WindowRecord* above = findWindow(sibling);
        if (!above || !(above->style & WS_VISIBLE)) continue;
        const RECT overlap = intersectRects(above->rect, painted);
        if (isEmptyRect(overlap)) continue;
        const RECT aboveFrame = frameOf(*above);
        const RECT inAbove =
            offsetRect(overlap, -(above->rect.left + aboveFrame.left), -(above->rect.top + aboveFrame.top));
        invalidateWindow(sibling, &inAbove, true, true);
      }
    }
    // Up one level: the painted part as the grandparent sees it.
    parent = findWindow(level->parent);
    if (!parent) break;
    const RECT parentFrame = frameOf(*parent);
    painted = intersectRects(painted, RECT{0, 0, clientWidth(*parent), clientHeight(*parent)});
    painted = offsetRect(painted, parent->rect.left + parentFrame.left, parent->rect.top + parentFrame.top);
    level = parent;
  }
}

// The bounding rectangle of 'area' without 'removed'.
RECT remainderBounds(const RECT& area, const RECT& removed) {
  const RECT overlap = intersectRects(area, removed);
  if (isEmptyRect(overlap)) return area;
  const bool fullWidth = overlap.left == area.left && overlap.right == area.right;
  const bool fullHeight = overlap.top == area.top && overlap.bottom == area.bottom;
  if (fullWidth && fullHeight) return RECT{};
  if (fullWidth && overlap.top == area.top) return RECT{area.left, overlap.bottom, area.right, area.bottom};
  if (fullWidth && overlap.bottom == area.bottom) return RECT{area.left, area.top, area.right, overlap.top};
  if (fullHeight && overlap.left == area.left) return RECT{overlap.right, area.top, area.right, area.bottom};
  if (fullHeight && overlap.right == area.right) return RECT{area.left, area.top, overlap.left, area.bottom};
  return area;
}

// Copies the pixels of 'destination' (surface coordinates) from (dx, dy) away.
void movePixels(Surface& surface, RECT destination, int dx, int dy) {
  destination = intersectRects(destination, RECT{0, 0, surface.width, surface.height});
  destination = intersectRects(destination, offsetRect(RECT{0, 0, surface.width, surface.height}, dx, dy));
  if (isEmptyRect(destination)) return;
  const std::size_t bytes = static_cast<std::size_t>(destination.right - destination.left) * sizeof(std::uint32_t);
  auto copyRow = [&](int y) {
    std::memmove(surface.rowPtr(y) + destination.left, surface.rowPtr(y - dy) + destination.left - dx, bytes);
  };
  if (dy > 0) {
    for (int y = destination.bottom - 1; y >= destination.top; --y) copyRow(y);
  } else {
    for (int y = destination.top; y < destination.bottom; ++y) copyRow(y);
  }
}

void scrollChildren(WindowRecord& record, int dx, int dy, const RECT* scroll) {
  const std::vector<HWND> children = record.children;
  for (const HWND child : children) {
    WindowRecord* childRecord = findWindow(child);
    if (!childRecord || (scroll && isEmptyRect(intersectRects(childRecord->rect, *scroll)))) continue;
    childRecord->rect = offsetRect(childRecord->rect, dx, dy);
    const RECT frame = frameOf(*childRecord);
    SendMessageW(child, WM_MOVE, 0,
                 MAKELPARAM(static_cast<WORD>(childRecord->rect.left + frame.left),
                            static_cast<WORD>(childRecord->rect.top + frame.top)));
  }
}

HWND findNeedingPaint(const WindowRecord& record, HWND filter) {
  if (!(record.style & WS_VISIBLE)) return 0;
  if ((filter == 0 || filter == record.handle) && !isEmptyRect(record.updateRect)) return record.handle;
  // Lower siblings paint first, so that the upper ones end on top.
  for (auto child = record.children.rbegin(); child != record.children.rend(); ++child)
    if (const WindowRecord* childRecord = findWindow(*child))
      if (const HWND found = findNeedingPaint(*childRecord, filter)) return found;
  return 0;
}

void collectPaintOrder(HWND window, std::vector<HWND>& order) {
  const WindowRecord* record = findWindow(window);
  if (!record) return;
  order.push_back(window);
  for (auto child = record->children.rbegin(); child != record->children.rend(); ++child)
    collectPaintOrder(*child, order);
}

}  // namespace

void invalidateWindow(HWND window, const RECT* clientRect, bool erase, bool withChildren) {
  WindowRecord* record = findWindow(window);
  if (!record || !IsWindowVisible(window)) return;
  const RECT client = clientRectOf(*record);
  const RECT area = clientRect ? intersectRects(*clientRect, client) : client;
  if (isEmptyRect(area)) return;
  record->updateRect = unionRects(record->updateRect, area);
  record->eraseNeeded = record->eraseNeeded || erase;
  if (!withChildren || (record->style & WS_CLIPCHILDREN)) return;
  // Marking windows sends no message, so the list stays as it is meanwhile.
  for (const HWND child : record->children) {
    const WindowRecord* childRecord = findWindow(child);
    if (!childRecord) continue;
    const RECT frame = frameOf(*childRecord);
    const RECT inChild = offsetRect(area, -(childRecord->rect.left + frame.left), -(childRecord->rect.top + frame.top));
    invalidateWindow(child, &inChild, erase, true);
  }
}

void invalidateAreaInParent(const WindowRecord& window) {
  if (findWindow(window.parent)) invalidateWindow(window.parent, &window.rect, true, true);
}

void syncSurface(WindowRecord& window) {
  if (window.parent != 0) return;
  auto& slot = paintState().surfaces[window.handle];
  if (!slot) slot = std::make_unique<Surface>();
  resizeSurface(*slot, clientWidth(window), clientHeight(window));
}

void releaseSurface(HWND window) {
  PaintState& state = paintState();
  auto found = state.surfaces.find(window);
  Surface* surface = found == state.surfaces.end() ? nullptr : found->second.get();
  std::vector<HDC> stale;
  for (const LiveDc& live : state.dcs)
    if (live.window == window || (surface && live.surface == surface)) stale.push_back(live.dc);
  for (const HDC dc : stale) releaseLiveDc(dc);
  if (found != state.surfaces.end()) state.surfaces.erase(found);
}

void resetPainting() {
  PaintState& state = paintState();
  for (const LiveDc& live : state.dcs) releaseDeviceContext(live.dc);
  state.dcs.clear();
  state.surfaces.clear();
  state.screen = Surface{};
}

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
  if (window == 0) {
    const std::vector<HWND> topLevel = windowStore().topLevel;
    for (const HWND each : topLevel) invalidateWindow(each, nullptr, erase != FALSE, true);
    return TRUE;
  }
  if (!findWindow(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  invalidateWindow(window, rect, erase != FALSE, true);
  return TRUE;
}

BOOL ValidateRect(HWND window, const RECT* rect) {
  WindowRecord* record = findWindow(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  record->updateRect = rect ? remainderBounds(record->updateRect, *rect) : RECT{};
  if (isEmptyRect(record->updateRect)) {
    record->updateRect = RECT{};
    record->eraseNeeded = false;
  }
  return TRUE;
}

BOOL GetUpdateRect(HWND window, RECT* rect, BOOL erase) {
  WindowRecord* record = findWindow(window);
  if (!record) return FALSE;
  const RECT update = record->updateRect;
  if (rect) *rect = update;
  if (isEmptyRect(update)) return FALSE;
  if (erase && record->eraseNeeded) {
    record->eraseNeeded = false;
    const HDC dc = GetDC(window);
    SendMessageW(window, WM_ERASEBKGND, dc, 0);
    ReleaseDC(window, dc);
  }
  return TRUE;
}

BOOL UpdateWindow(HWND window) {
  if (!findWindow(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  std::vector<HWND> order;
  collectPaintOrder(window, order);
  for (std::size_t i = 0; i < order.size(); ++i) {
    const WindowRecord* record = findWindow(order[i]);
    if (record && IsWindowVisible(order[i]) && !isEmptyRect(record->updateRect)) dispatchPaint(order[i]);
  }
  return TRUE;
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
  WindowRecord* record = findWindow(window);
  if (!record || !paint) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  *paint = PAINTSTRUCT{};
  const RECT area = intersectRects(record->updateRect, clientRectOf(*record));
  const bool erase = record->eraseNeeded;
  record->updateRect = RECT{};
  record->eraseNeeded = false;
  record->paintCalled = true;
  const POINT offset = clientOffsetInSurface(*record, *topLevelOf(record));
  const RECT limit = offsetRect(area, offset.x, offset.y);
  paint->hdc = makeWindowDc(*record, false, &limit);
  paint->rcPaint = area;
  repaintCoveredChildren(*record, area);
  repaintCoveringSiblings(*record, area);
  if (erase && paint->hdc) {
    paint->fErase = SendMessageW(window, WM_ERASEBKGND, paint->hdc, 0) ? FALSE : TRUE;
    if (!findWindow(window)) return 0;
  }
  return paint->hdc;
}

BOOL EndPaint(HWND /*window*/, const PAINTSTRUCT* paint) {
  if (paint && paint->hdc) releaseLiveDc(paint->hdc);
  return TRUE;
}

HDC GetDC(HWND window) {
  if (window == 0) {
    Surface& screen = screenSurface();
    const HDC dc = createDeviceContextForSurface(&screen, POINT{}, RECT{0, 0, screen.width, screen.height},
                                                 screenBitsPerPixel());
    if (dc) paintState().dcs.push_back(LiveDc{dc, 0, &screen});
    return dc;
  }
  WindowRecord* record = findWindow(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return makeWindowDc(*record, false, nullptr);
}

HDC GetWindowDC(HWND window) {
  if (window == 0) return GetDC(0);
  WindowRecord* record = findWindow(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return makeWindowDc(*record, true, nullptr);
}

int ReleaseDC(HWND /*window*/, HDC dc) { return releaseLiveDc(dc) ? 1 : 0; }

int ScrollWindowEx(HWND window, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, RECT* updateRect,
                   UINT flags) {
  WindowRecord* record = findWindow(window);
  if (!record) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return ERROR;
  }
  const RECT client = clientRectOf(*record);
  dx = std::clamp(dx, -(1 << 24), 1 << 24);
  dy = std::clamp(dy, -(1 << 24), 1 << 24);
  const RECT area = scroll ? intersectRects(client, *scroll) : client;
  const RECT shown = clip ? intersectRects(area, *clip) : area;
  // Pixels move only where both their old and their new place can be seen.
  WindowRecord* topLevel = topLevelOf(record);
  const POINT offset = clientOffsetInSurface(*record, *topLevel);
  const RECT visible = offsetRect(visibleInSurface(*record, false), -offset.x, -offset.y);
  RECT moved = intersectRects(intersectRects(offsetRect(area, dx, dy), shown), visible);
  moved = intersectRects(moved, offsetRect(intersectRects(visible, area), dx, dy));
  if (Surface* surface = surfaceOf(*topLevel); surface && !isEmptyRect(moved))
    movePixels(*surface, offsetRect(moved, offset.x, offset.y), dx, dy);
  const RECT uncovered = remainderBounds(shown, moved);
  if (!isEmptyRect(record->updateRect)) {
    const RECT shifted = intersectRects(offsetRect(intersectRects(record->updateRect, area), dx, dy), shown);
    record->updateRect = unionRects(record->updateRect, shifted);
  }
  // Pixels of windows above this one (or of children that stay put) moved
  // along with the scrolled ones; those windows are painted again.
  repaintCoveringSiblings(*record, moved);
  if (flags & SW_SCROLLCHILDREN)
    scrollChildren(*record, dx, dy, scroll);
  else if (anyVisibleChildIn(*record, area)) {
    // Children that stay put had their pixels moved: all of it is painted again.
    invalidateWindow(window, &moved, false, true);
    repaintChildrenIn(*record, moved);
  }
  if ((flags & SW_INVALIDATE) && findWindow(window))
    invalidateWindow(window, &uncovered, (flags & SW_ERASE) != 0, true);
  if (updateRect) *updateRect = uncovered;
  if (update) {
    const HRGN strip = CreateRectRgnIndirect(&uncovered);
    CombineRgn(update, strip, 0, RGN_COPY);
    DeleteObject(strip);
  }
  return isEmptyRect(uncovered) ? NULLREGION : SIMPLEREGION;
}

BOOL ScrollWindow(HWND window, int dx, int dy, const RECT* scroll, const RECT* clip) {
  const UINT flags = SW_INVALIDATE | SW_ERASE | (scroll ? 0 : SW_SCROLLCHILDREN);
  return ScrollWindowEx(window, dx, dy, scroll, clip, 0, nullptr, flags) != ERROR ? TRUE : FALSE;
}

Surface* windowSurface(HWND topLevel) {
  const WindowRecord* record = findWindow(topLevel);
  return record && record->parent == 0 ? surfaceOf(*record) : nullptr;
}

Surface& screenSurface() {
  Surface& screen = paintState().screen;
  resizeSurface(screen, screenWidth(), screenHeight());
  return screen;
}

HWND windowNeedingPaint(HWND filter) {
  for (const HWND topLevel : windowStore().topLevel)
    if (const WindowRecord* record = findWindow(topLevel))
      if (const HWND found = findNeedingPaint(*record, filter)) return found;
  return 0;
}

LRESULT dispatchPaint(HWND window) {
  WindowRecord* record = findWindow(window);
  if (!record) return 0;
  record->paintCalled = false;
  const LRESULT result = SendMessageW(window, WM_PAINT, 0, 0);
  record = findWindow(window);
  if (record && !record->paintCalled) {
    record->updateRect = RECT{};
    record->eraseNeeded = false;
  }
  return result;
}

bool eraseWithClassBackground(HWND window, HDC dc) {
  const WindowRecord* record = findWindow(window);
  DeviceContext* context = dcFromHandle(dc);
  if (!record || !context || !record->classBackground) return false;
  const BrushPaint paint = brushPaint(record->classBackground);
  if (!paint.paints) return false;
  fillDeviceRect(*context, clientRectOf(*record), paint.color);
  return true;
}

}  // namespace win
