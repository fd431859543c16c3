#pragma once
// Every drawing object (pens, brushes, fonts, bitmaps, regions, palettes and
// device contexts) lives in one handle table, so a handle names exactly one
// object of one kind and a stale handle is refused everywhere.
#include <cstdint>
#include <cstring>
#include <memory>

#include "platform/win/HandleTable.h"
#include "platform/win/Types.h"

namespace win {

enum class GdiObjectKind { Pen, ExtPen, Brush, Font, Bitmap, Region, Palette, DeviceContext };

// GetObjectType values.
constexpr DWORD OBJ_PEN = 1;
constexpr DWORD OBJ_BRUSH = 2;
constexpr DWORD OBJ_DC = 3;
constexpr DWORD OBJ_PAL = 5;
constexpr DWORD OBJ_FONT = 6;
constexpr DWORD OBJ_BITMAP = 7;
constexpr DWORD OBJ_REGION = 8;
constexpr DWORD OBJ_MEMDC = 10;
constexpr DWORD OBJ_EXTPEN = 11;

struct GdiObject {
  explicit GdiObject(GdiObjectKind objectKind) : kind(objectKind) {}
  virtual ~GdiObject();
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  // GetObject: copies the object's description (BITMAP, LOGPEN, LOGFONT, ...)
  // into `buffer`, at most `bufferSize` bytes. With a null buffer, returns the
  // size needed. Returns the number of bytes written, 0 on failure.
  virtual int describe(int bufferSize, void* buffer) const;
  // GetObjectType.
  virtual DWORD objectType() const;

  GdiObjectKind kind;
  bool stock = false;     // stock objects are never deleted
  int selections = 0;     // how many device contexts currently select this object
};

// The table of all drawing objects. Register objects through addGdiObject.
HandleTable<GdiObject>& gdiObjects();

// For tests: deletes every drawing object, device contexts first, stock ones
// too (they are made again on their next use). Slots keep their generations,
// so every handle issued before stays refused.
void resetGdiObjects();

// Registers an object and returns its handle (0 when the table is full).
HGDIOBJ addGdiObject(std::unique_ptr<GdiObject> object);

// The live object behind `handle` when it is of the given kind, else nullptr.
template <class T>
T* gdiObjectAs(HGDIOBJ handle, GdiObjectKind kind) {
  GdiObject* object = gdiObjects().get(handle);
  return object && object->kind == kind ? static_cast<T*>(object) : nullptr;
}

// GetObject's rule for a fixed-size description: with a null buffer the size
// needed, else the bytes copied (0 when the buffer is too small).
template <class T>
int copyDescription(const T& value, int bufferSize, void* buffer) {
  if (!buffer) return static_cast<int>(sizeof(T));
  if (bufferSize < static_cast<int>(sizeof(T))) return 0;
  std::memcpy(buffer, &value, sizeof(T));
  return static_cast<int>(sizeof(T));
}

// Deletes any kind of drawing object except device contexts (use DeleteDC).
// Refuses stock objects (returns TRUE, as GDI does, and keeps them) and
// objects currently selected into a device context (FALSE, object kept).
BOOL DeleteObject(HGDIOBJ object);
int GetObject(HGDIOBJ object, int bufferSize, void* buffer);
int GetObjectW(HGDIOBJ object, int bufferSize, void* buffer);
int GetObjectA(HGDIOBJ object, int bufferSize, void* buffer);
DWORD GetObjectType(HGDIOBJ object);

}  // namespace win
