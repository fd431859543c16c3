#include "images/ScreenAdaptation.h"

#include <new>

#include "images/ColorReduction.h"
#include "images/DisplayPalette.h"
#include "platform/gui/Exception.h"
#include "platform/gui/GdiCalls.h"
#include "platform/win/gdi/Surface.h"
#include "platform/win/user/Painting.h"

namespace images {

namespace {

// A DC with the display palette selected (foreground) and realised, put
// back as it was when the scope ends.
class DisplayPaletteScope {
 public:
  explicit DisplayPaletteScope(win::HDC dc) : dc_(dc) {
    if (!DisplayPalette) return;
    old_ = win::SelectPalette(dc, DisplayPalette, win::FALSE);
    win::RealizePalette(dc);
  }
  DisplayPaletteScope(const DisplayPaletteScope&) = delete;
  DisplayPaletteScope& operator=(const DisplayPaletteScope&) = delete;
  ~DisplayPaletteScope() {
    if (old_) win::SelectPalette(dc_, old_, win::FALSE);
  }

 private:
  win::HDC dc_;
  win::HPALETTE old_ = 0;
};

}  // namespace

TDib::TDib(win::HDC DC, gui::TBitmap& Bitmap) {
  win::BITMAP described{};
  const win::HBITMAP handle = Bitmap.Handle();
  if (!handle || win::GetObject(handle, sizeof described, &described) == 0) throw gui::EOutOfMemory("Out of memory");
  int bits = described.bmBitsPixel * described.bmPlanes;
  if (bits == 16 || bits == 32) bits = 24;
  const int colours = bits <= 8 ? 1 << bits : 0;
  const std::int64_t width = described.bmWidth;
  const std::int64_t height = described.bmHeight < 0 ? -std::int64_t{described.bmHeight} : described.bmHeight;
  // 64-bit sizes, held to the platform's bitmap limit before anything is allocated.
  const std::int64_t rowBytes = (bits * width + 31) / 32 * 4;
  const std::int64_t imageBytes = rowBytes * height;
  if (!win::surfaceSizeAllowed(static_cast<int>(width), static_cast<int>(height)) || imageBytes > 0x7FFFFFFF)
    gui::Abort();
  try {
    info_.assign(sizeof(win::BITMAPINFOHEADER) + static_cast<std::size_t>(colours) * sizeof(win::RGBQUAD), 0);
    // NOTE: large bit buffers come from the heap like small ones; the
    // allocator already hands out fresh pages for big blocks.
    bits_.assign(static_cast<std::size_t>(imageBytes), 0);
  } catch (const std::bad_alloc&) {
    gui::Abort();
  }
  auto* header = reinterpret_cast<win::BITMAPINFOHEADER*>(info_.data());
  header->biSize = sizeof(win::BITMAPINFOHEADER);
  header->biWidth = static_cast<win::LONG>(width);
  header->biHeight = static_cast<win::LONG>(height);
  header->biPlanes = 1;
  header->biBitCount = static_cast<win::WORD>(bits);
  header->biCompression = win::BI_RGB;
  header->biSizeImage = static_cast<win::DWORD>(imageBytes);
  if (win::GetDIBits(DC, handle, 0, static_cast<win::UINT>(height), bits_.data(),
                     reinterpret_cast<win::BITMAPINFO*>(info_.data()), win::DIB_RGB_COLORS) == 0)
    throw gui::EOutOfMemory("Out of memory");
}

win::HBITMAP TDib::CreateDeviceBitmap() const {
  const win::HDC screen = win::GetDC(0);
  win::HBITMAP made = 0;
  {
    DisplayPaletteScope palette(screen);
    made = win::CreateDIBitmap(screen, &Header(), win::CBM_INIT, bits_.data(),
                               reinterpret_cast<const win::BITMAPINFO*>(info_.data()), win::DIB_RGB_COLORS);
  }
  win::ReleaseDC(0, screen);
  return made;
}

std::unique_ptr<gui::TBitmap> RebuildAsDeviceBitmap(std::unique_ptr<gui::TBitmap> Bitmap) {
  if (!Bitmap) return nullptr;
  std::unique_ptr<TDib> dib;
  {
    const win::HDC screen = win::GetDC(0);
    const win::HDC dc = win::CreateCompatibleDC(screen);
    win::ReleaseDC(0, screen);
    DisplayPaletteScope palette(dc);
    try {
      dib = std::make_unique<TDib>(dc, *Bitmap);
    } catch (...) {
      win::DeleteDC(dc);
      throw;
    }
    win::DeleteDC(dc);
  }
  Bitmap.reset();
  const win::HBITMAP handle = dib->CreateDeviceBitmap();
  // A bitmap that could not be made is a failure, not an empty picture.
  if (!handle) throw gui::EOutOfResources("Out of system resources");
  auto result = std::make_unique<gui::TBitmap>();
  result->SetHandle(handle);
  if (ScreenColorDepth == 8 && !result->Palette()) result->SetPalette(ClonePalette(DisplayPalette));
  return result;
}

std::unique_ptr<gui::TBitmap> AdaptBitmapToScreen(std::unique_ptr<gui::TBitmap> Bitmap) {
  if (!Bitmap) return nullptr;
  if (ScreenColorDepth <= 8) {
    if (Bitmap->HandleType() == gui::bmDIB) return ReduceColorsForDisplay(Bitmap.get());
    return RebuildAsDeviceBitmap(std::move(Bitmap));
  }
  switch (Bitmap->PixelFormat()) {
    case gui::pfDevice:
    case gui::pf1bit:
    case gui::pf4bit:
    case gui::pf8bit:
      return RebuildAsDeviceBitmap(std::move(Bitmap));
    default:
      return Bitmap;
  }
}

}  // namespace images
