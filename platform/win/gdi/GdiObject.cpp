#include "platform/win/gdi/GdiObject.h"

#include <vector>

#include "platform/win/gdi/DeviceContext.h"

namespace win {

GdiObject::~GdiObject() = default;

int GdiObject::describe(int, void*) const { return 0; }

DWORD GdiObject::objectType() const {
  switch (kind) {
    case GdiObjectKind::Pen: return OBJ_PEN;
    case GdiObjectKind::ExtPen: return OBJ_EXTPEN;
    case GdiObjectKind::Brush: return OBJ_BRUSH;
    case GdiObjectKind::Font: return OBJ_FONT;
    case GdiObjectKind::Bitmap: return OBJ_BITMAP;
    case GdiObjectKind::Region: return OBJ_REGION;
    case GdiObjectKind::Palette: return OBJ_PAL;
    case GdiObjectKind::DeviceContext: return OBJ_DC;
  }
  return 0;
}

// Never destroyed: objects held by other static objects may be deleted
// during static destruction, in any order.
HandleTable<GdiObject>& gdiObjects() {
  static auto* table = new HandleTable<GdiObject>();
  return *table;
}

void resetGdiObjects() {
  std::vector<HGDIOBJ> contexts;
  std::vector<HGDIOBJ> others;
  gdiObjects().forEach([&](std::uint32_t handle, const GdiObject& object) {
    (object.kind == GdiObjectKind::DeviceContext ? contexts : others).push_back(handle);
  });
  // Deleting the contexts first lets go of everything they select.
  for (const HDC dc : contexts) DeleteDC(dc);
  for (const HGDIOBJ object : others) gdiObjects().remove(object);
}

HGDIOBJ addGdiObject(std::unique_ptr<GdiObject> object) {
  if (!object) return 0;
  return gdiObjects().add(std::move(object));
}

BOOL DeleteObject(HGDIOBJ handle) {
  GdiObject* object = gdiObjects().get(handle);
  if (!object || object->kind == GdiObjectKind::DeviceContext) return FALSE;
  if (object->stock) return TRUE;
  if (object->selections > 0) return FALSE;
  gdiObjects().remove(handle);
  return TRUE;
}

int GetObject(HGDIOBJ handle, int bufferSize, void* buffer) {
  const GdiObject* object = gdiObjects().get(handle);
  if (!object || bufferSize < 0) return 0;
  return object->describe(buffer ? bufferSize : 0, buffer);
}

int GetObjectW(HGDIOBJ handle, int bufferSize, void* buffer) { return GetObject(handle, bufferSize, buffer); }
int GetObjectA(HGDIOBJ handle, int bufferSize, void* buffer) { return GetObject(handle, bufferSize, buffer); }

DWORD GetObjectType(HGDIOBJ handle) {
  const GdiObject* object = gdiObjects().get(handle);
  return object ? object->objectType() : 0;
}

}  // namespace win
