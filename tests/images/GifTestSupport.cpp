#include "GifTestSupport.h"

#include "platform/win/gdi/BitmapObject.h"

#if PAGEWELL_HAVE_LIBPNG
#include <png.h>
#endif

namespace images::testing {

std::uint32_t StripPixel(gui::TBitmap& strip, int x, int y) {
  const win::Surface& surface = win::bitmapFromHandle(strip.Handle())->surface;
  return surface.rowPtr(y)[x] & 0xFFFFFF;
}

int MaskPixel(gui::TBitmap& mask, int x, int y) {
  const win::Surface& surface = win::bitmapFromHandle(mask.Handle())->surface;
  return (surface.rowPtr(y)[x] & 0xFFFFFF) ? 1 : 0;
}

void LoadGif(LoadedGif& loaded, const std::string& bytes) {
  gui::TMemoryStream stream;
  Fill(stream, bytes);
  loaded.gif.LoadGifData(stream);
  loaded.strip = loaded.gif.BuildGifStrip(loaded.mask);
}

RgbaImage ReadPngRgba(const std::string& path) {
  RgbaImage result;
#if PAGEWELL_HAVE_LIBPNG
  const std::string bytes = ReadBytes(path);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) return result;
  image.format = PNG_FORMAT_RGBA;
  std::vector<std::uint8_t> rgba(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) return result;
  result.width = static_cast<int>(image.width);
  result.height = static_cast<int>(image.height);
  result.rgba = std::move(rgba);
#else
  (void)path;
#endif
  return result;
}

}  // namespace images::testing
