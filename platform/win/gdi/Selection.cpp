#include "platform/win/gdi/Selection.h"

#include "platform/win/gdi/BitmapObject.h"
#include "platform/win/gdi/Clipping.h"
#include "platform/win/gdi/PenObject.h"
#include "platform/win/gdi/StockObjects.h"

namespace win {
namespace {

bool isKind(HGDIOBJ handle, GdiObjectKind kind) {
  const GdiObject* object = gdiObjects().get(handle);
  return object && object->kind == kind;
}

bool isPen(HGDIOBJ handle) { return penFromHandle(handle) != nullptr; }

// Swaps the handle in `slot` for `object` and returns the old one.
HGDIOBJ replaceSelection(HGDIOBJ& slot, HGDIOBJ object) {
  const HGDIOBJ previous = slot;
  retainSelection(object);
  releaseSelection(previous);
  slot = object;
  return previous;
}

}  // namespace

void retainSelection(HGDIOBJ handle) {
  if (GdiObject* object = gdiObjects().get(handle)) ++object->selections;
}

void releaseSelection(HGDIOBJ handle) {
  GdiObject* object = gdiObjects().get(handle);
  if (object && object->selections > 0) --object->selections;
}

BOOL selectBitmap(DeviceContext& dc, HBITMAP handle) {
  BitmapObject* bitmap = bitmapFromHandle(handle);
  if (!bitmap || !dc.memoryDc) return FALSE;
  if (bitmap->selectedInto && bitmap->selectedInto != &dc && !bitmap->stock) return FALSE;
  if (BitmapObject* previous = bitmapFromHandle(dc.state.bitmap); previous && previous != bitmap) {
    if (previous->selectedInto == &dc) previous->selectedInto = nullptr;
  }
  if (!bitmap->stock) bitmap->selectedInto = &dc;
  replaceSelection(dc.state.bitmap, handle);
  dc.surface = &bitmap->surface;
  dc.clipChanged();
  return TRUE;
}

HGDIOBJ SelectObject(HDC handle, HGDIOBJ object) {
  DeviceContext* dc = dcFromHandle(handle);
  GdiObject* target = gdiObjects().get(object);
  if (!dc || !target) return 0;
  switch (target->kind) {
    case GdiObjectKind::Pen:
    case GdiObjectKind::ExtPen: return replaceSelection(dc->state.pen, object);
    case GdiObjectKind::Brush: return replaceSelection(dc->state.brush, object);
    case GdiObjectKind::Font: return replaceSelection(dc->state.font, object);
    case GdiObjectKind::Palette: return replaceSelection(dc->state.palette, object);
    case GdiObjectKind::Bitmap: {
      const HBITMAP previous = dc->state.bitmap;
      return selectBitmap(*dc, object) ? previous : 0;
    }
    case GdiObjectKind::Region: {
      const int result = SelectClipRgn(handle, object);
      return result == ERROR ? 0 : static_cast<HGDIOBJ>(result);
    }
    case GdiObjectKind::DeviceContext: return 0;
  }
  return 0;
}

HGDIOBJ GetCurrentObject(HDC handle, UINT objectType) {
  const DeviceContext* dc = dcFromHandle(handle);
  if (!dc) return 0;
  switch (objectType) {
    case OBJ_PEN: return dc->state.pen;
    case OBJ_BRUSH: return dc->state.brush;
    case OBJ_FONT: return dc->state.font;
    case OBJ_BITMAP: return dc->state.bitmap;
    case OBJ_PAL: return dc->state.palette;
    default: return 0;
  }
}

void adoptState(DeviceContext& dc, DcState restored) {
  // Objects deleted since the state was saved fall back to the stock ones.
  if (!isPen(restored.pen)) restored.pen = GetStockObject(BLACK_PEN);
  if (!isKind(restored.brush, GdiObjectKind::Brush)) restored.brush = GetStockObject(WHITE_BRUSH);
  if (!isKind(restored.font, GdiObjectKind::Font)) restored.font = GetStockObject(SYSTEM_FONT);
  if (!isKind(restored.palette, GdiObjectKind::Palette)) restored.palette = GetStockObject(DEFAULT_PALETTE);
  const HBITMAP bitmap = restored.bitmap;
  restored.bitmap = dc.state.bitmap;
  replaceSelection(dc.state.pen, restored.pen);
  replaceSelection(dc.state.brush, restored.brush);
  replaceSelection(dc.state.font, restored.font);
  replaceSelection(dc.state.palette, restored.palette);
  restored.pen = dc.state.pen;
  restored.brush = dc.state.brush;
  restored.font = dc.state.font;
  restored.palette = dc.state.palette;
  dc.state = std::move(restored);
  if (dc.memoryDc && bitmap != dc.state.bitmap && !selectBitmap(dc, bitmap)) selectBitmap(dc, stockBitmap());
  dc.clipChanged();
}

void releaseAllSelections(DeviceContext& dc) {
  if (BitmapObject* bitmap = bitmapFromHandle(dc.state.bitmap)) {
    if (bitmap->selectedInto == &dc) bitmap->selectedInto = nullptr;
  }
  releaseSelection(dc.state.bitmap);
  releaseSelection(dc.state.pen);
  releaseSelection(dc.state.brush);
  releaseSelection(dc.state.font);
  releaseSelection(dc.state.palette);
  dc.state = DcState{};
  dc.surface = nullptr;
}

}  // namespace win
