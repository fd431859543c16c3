#include "images/GdiPlusLibrary.h"

#include <cstdlib>

#include "platform/win/kernel/Libraries.h"

namespace images {

bool GdiPlusAvailable = false;

namespace gdiplus {
namespace {

// Layout of the start-up record: version, debug callback, two flags.
struct StartupInput {
  std::uint32_t GdiplusVersion = 1;
  void* DebugEventCallback = nullptr;
  int SuppressBackgroundThread = 0;
  int SuppressExternalCodecs = 0;
};

using StartupFn = Status (*)(std::uintptr_t*, const StartupInput*, void*);
using ShutdownFn = void (*)(std::uintptr_t);

struct LibraryState {
  win::HMODULE module = 0;
  std::uintptr_t token = 0;
  int referenceCount = 0;
  int liveObjects = 0;
  bool shutdownPending = false;
  ShutdownFn shutdown = nullptr;
  Api api{};
};

LibraryState state;

// GDI+ ("GdiPlus.dll" elsewhere) is this platform's library of the same interface.
constexpr const char* kLibraryName = "libgdiplus.so.0";

template <typename Fn>
bool resolve(Fn& slot, const char* name) {
  slot = reinterpret_cast<Fn>(win::GetProcAddress(state.module, name));
  return slot != nullptr;
}

bool resolveAll() {
  Api& a = state.api;
  return resolve(state.shutdown, "GdiplusShutdown") && resolve(a.DeleteGraphics, "GdipDeleteGraphics") &&
         resolve(a.DrawImageRectI, "GdipDrawImageRectI") && resolve(a.LoadImageFromFile, "GdipLoadImageFromFile") &&
         resolve(a.DisposeImage, "GdipDisposeImage") && resolve(a.GetImageWidth, "GdipGetImageWidth") &&
         resolve(a.GetImageHeight, "GdipGetImageHeight") &&
         resolve(a.GetImageGraphicsContext, "GdipGetImageGraphicsContext") &&
         resolve(a.GraphicsClear, "GdipGraphicsClear") &&
         resolve(a.CreateBitmapFromScan0, "GdipCreateBitmapFromScan0") &&
         resolve(a.DrawImagePointRect, "GdipDrawImagePointRect") &&
         resolve(a.ScaleWorldTransform, "GdipScaleWorldTransform") &&
         resolve(a.BitmapGetPixel, "GdipBitmapGetPixel") &&
         resolve(a.DrawImageRectRectI, "GdipDrawImageRectRectI") &&
         resolve(a.SetInterpolationMode, "GdipSetInterpolationMode") &&
         resolve(a.BitmapSetPixel, "GdipBitmapSetPixel") && resolve(a.SetClipRectI, "GdipSetClipRectI");
}

void start() {
  const char* disabled = std::getenv("PAGEWELL_NO_GDIPLUS");
  if (disabled && *disabled) return;
  state.module = win::LoadLibraryA(kLibraryName);
  if (!state.module) return;
  StartupFn startup = nullptr;
  StartupInput input;
  if (resolve(startup, "GdiplusStartup") && resolveAll() && startup(&state.token, &input, nullptr) == Ok) {
    GdiPlusAvailable = true;
    return;
  }
  win::FreeLibrary(state.module);
  state.module = 0;
}

void stop() {
  if (GdiPlusAvailable) state.shutdown(state.token);
  GdiPlusAvailable = false;
  state.shutdownPending = false;
  state.token = 0;
  if (state.module) win::FreeLibrary(state.module);
  state.module = 0;
}

}  // namespace

const Api& api() { return state.api; }

void objectMade() { ++state.liveObjects; }

void objectFreed() {
  if (state.liveObjects > 0) --state.liveObjects;
  if (state.liveObjects == 0 && state.shutdownPending && state.referenceCount == 0) stop();
}

}  // namespace gdiplus

void InitGDIPlus() {
  using gdiplus::state;
  if (state.referenceCount++ > 0) return;
  if (state.shutdownPending) {  // the library never went down
    state.shutdownPending = false;
    return;
  }
  gdiplus::start();
}

void ExitGDIPlus() {
  using gdiplus::state;
  if (state.referenceCount == 0) return;
  if (--state.referenceCount > 0) return;
  // Shutting down under live images would leave them dangling in the library.
  if (state.liveObjects > 0) {
    state.shutdownPending = true;
    return;
  }
  gdiplus::stop();
}

void ResetGDIPlusForTests() {
  gdiplus::state.referenceCount = 0;
  gdiplus::state.liveObjects = 0;
  gdiplus::stop();
}

}  // namespace images
