#pragma once
// The GDI+ library, loaded by name at first use and started and stopped with
// a reference count that the image caches hold. When it is missing, when it
// does not start, or when PAGEWELL_NO_GDIPLUS is set, GdiPlusAvailable stays
// false and the engine uses its own PNG reader; nothing is reported.
//
// The library's own start-up is not counted: our count must be its only
// user in the process, and the last ExitGDIPlus shuts it down for everyone.
// A shutdown asked for while GDI+ images still live waits for the last one.
#include <cstdint>

namespace images {

// True while GDI+ is started.
extern bool GdiPlusAvailable;

void InitGDIPlus();
void ExitGDIPlus();

namespace gdiplus {

// The flat interface, as far as the wrapper calls it. Handles are opaque.
using Status = int;
using ARGB = std::uint32_t;
struct GpImage;
struct GpGraphics;

constexpr Status Ok = 0;
constexpr int PixelFormat32bppRGB = 0x22009;
constexpr int PixelFormat32bppARGB = 0x26200A;
constexpr int UnitPixel = 2;
constexpr int InterpolationModeNearestNeighbor = 5;
constexpr int CombineModeReplace = 0;
constexpr int CombineModeUnion = 2;
constexpr int MatrixOrderPrepend = 0;

struct Api {
  Status (*DeleteGraphics)(GpGraphics*);
  Status (*DrawImageRectI)(GpGraphics*, GpImage*, int, int, int, int);
  Status (*LoadImageFromFile)(const char16_t*, GpImage**);
  Status (*DisposeImage)(GpImage*);
  Status (*GetImageWidth)(GpImage*, unsigned*);
  Status (*GetImageHeight)(GpImage*, unsigned*);
  Status (*GetImageGraphicsContext)(GpImage*, GpGraphics**);
  Status (*GraphicsClear)(GpGraphics*, ARGB);
  Status (*CreateBitmapFromScan0)(int, int, int, int, std::uint8_t*, GpImage**);
  Status (*DrawImagePointRect)(GpGraphics*, GpImage*, float, float, float, float, float, float, int);
  Status (*ScaleWorldTransform)(GpGraphics*, float, float, int);
  Status (*BitmapGetPixel)(GpImage*, int, int, ARGB*);
  Status (*DrawImageRectRectI)(GpGraphics*, GpImage*, int, int, int, int, int, int, int, int, int, const void*,
                               void*, void*);
  Status (*SetInterpolationMode)(GpGraphics*, int);
  Status (*BitmapSetPixel)(GpImage*, int, int, ARGB);
  Status (*SetClipRectI)(GpGraphics*, int, int, int, int, int);
};

// The entry points; only valid while GdiPlusAvailable.
const Api& api();

// Objects alive that need the library; the last one lets a deferred
// shutdown happen.
void objectMade();
void objectFreed();

}  // namespace gdiplus

// Back to the unloaded state with a zero count (for tests).
void ResetGDIPlusForTests();

}  // namespace images
