// TGif::BuildGifStrip: renders the decoded images into the strip and its mask.
#include <algorithm>
#include <cstring>
#include <utility>

#include "images/TGif.h"
#include "platform/gui/Exception.h"
#include "platform/win/gdi/BitmapObject.h"
#include "platform/win/gdi/GdiObject.h"

namespace images {

namespace {

constexpr std::uint32_t kMaskTransparent = 0xFFFFFF;
constexpr std::uint32_t kMaskOpaque = 0x000000;

// A bitmap handle freed unless handed on.
class OwnedBitmap {
 public:
  explicit OwnedBitmap(win::HBITMAP handle) : handle_(handle) {}
  OwnedBitmap(const OwnedBitmap&) = delete;
  OwnedBitmap& operator=(const OwnedBitmap&) = delete;
  ~OwnedBitmap() {
    if (handle_) win::DeleteObject(handle_);
  }
  win::HBITMAP get() const { return handle_; }
  win::Surface& surface() const { return win::bitmapFromHandle(handle_)->surface; }
  win::HBITMAP release() { return std::exchange(handle_, 0); }

 private:
  win::HBITMAP handle_;
};

// A 32 bpp bottom-up DIB section: the strip, black when made.
win::HBITMAP createStripBitmap(int width, int height) {
  win::BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(win::BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = win::BI_RGB;
  void* bits = nullptr;
  return win::CreateDIBSection(0, &info, win::DIB_RGB_COLORS, &bits, 0, 0);
}

// Pixels as the surface holds them (0x00RRGGBB) for every index; indices
// past the table are black.
std::array<std::uint32_t, 256> surfaceColors(const TGifColorTable& table) {
  std::array<std::uint32_t, 256> colors{};
  for (std::size_t i = 0; i < colors.size(); ++i) {
    const std::uint32_t c = table.Colors[i];
    colors[i] = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
  }
  return colors;
}

struct StripSurfaces {
  win::Surface& strip;
  win::Surface* mask;
  int frameWidth;
};

void drawImage(const TGif& gif, int index, const StripSurfaces& out) {
  const TGifImageDescriptor& image = gif.Image(index);
  const GifPixelTarget& pixels = image.Pixels;
  const std::array<std::uint32_t, 256> colors = surfaceColors(gif.ColorTable(image.TableIndex));
  const int transparent = gif.ImageTransparentIndex(index);
  const int frameLeft = index * out.frameWidth + image.Left;
  for (int row = 0; row < pixels.VisibleHeight; ++row) {
    const std::uint8_t* source = pixels.Pixels.data() + static_cast<std::size_t>(row) * pixels.VisibleWidth;
    std::uint32_t* target = out.strip.rowPtr(image.Top + row) + frameLeft;
    std::uint32_t* mask = out.mask ? out.mask->rowPtr(image.Top + row) + frameLeft : nullptr;
    for (int x = 0; x < pixels.VisibleWidth; ++x) {
      const std::uint8_t c = source[x];
      // Transparent pixels keep what the frame before left there (black
      // and transparent in the first frame).
      if (c == transparent) continue;
      target[x] = colors[c];
      if (mask) mask[x] = kMaskOpaque;
    }
  }
}

// Starts frame index + 1 as a copy of frame index; after disposal 2 or 3 the
// area of frame index shows the background wherever the next one is transparent.
void carryFrameOver(const TGif& gif, int index, const StripSurfaces& out) {
  const std::size_t rowBytes = static_cast<std::size_t>(out.frameWidth) * 4;
  const int from = index * out.frameWidth;
  for (int y = 0; y < out.strip.height; ++y) {
    std::memcpy(out.strip.rowPtr(y) + from + out.frameWidth, out.strip.rowPtr(y) + from, rowBytes);
    if (out.mask) std::memcpy(out.mask->rowPtr(y) + from + out.frameWidth, out.mask->rowPtr(y) + from, rowBytes);
  }
  if (!out.mask || gif.ImageDisposal(index) < 2) return;
  const TGifImageDescriptor& image = gif.Image(index);
  const int right = std::min(image.Left + image.Width, out.frameWidth);
  const int bottom = std::min(image.Top + image.Height, out.strip.height);
  for (int y = image.Top; y < bottom; ++y) {
    std::uint32_t* mask = out.mask->rowPtr(y) + from + out.frameWidth;
    for (int x = image.Left; x < right; ++x) mask[x] = kMaskTransparent;
  }
}

}  // namespace

std::unique_ptr<gui::TBitmap> TGif::BuildGifStrip(std::unique_ptr<gui::TBitmap>& Mask) const {
  Mask.reset();
  const int count = ImageCount();
  if (count == 0) RaiseGifError(geNoImageDescription);
  const bool transparent = AnyTransparent();
  const std::int64_t limit = transparent ? kGifTransparentStripLimit : kGifStripLimit;
  if (tooLarge_ || StripBytes(screenWidth_, screenHeight_, count) > limit) RaiseGifError(geAnimatedGifTooLarge);

  const int width = screenWidth_ * count;  // within int: the byte limit holds it
  OwnedBitmap strip(createStripBitmap(width, screenHeight_));
  if (!strip.get()) throw gui::EOutOfResources("Out of system resources");
  OwnedBitmap mask(transparent ? win::CreateBitmap(width, screenHeight_, 1, 1, nullptr) : 0);
  if (transparent && !mask.get()) throw gui::EOutOfResources("Out of system resources");
  win::Surface* maskSurface = transparent ? &mask.surface() : nullptr;
  // Only frame 1 starts transparent: every later frame starts as a copy of the one before.
  if (maskSurface)
    for (int y = 0; y < maskSurface->height; ++y) std::fill_n(maskSurface->rowPtr(y), screenWidth_, kMaskTransparent);

  const StripSurfaces out{strip.surface(), maskSurface, screenWidth_};
  for (int i = 0; i < count; ++i) {
    drawImage(*this, i, out);
    if (i + 1 < count) carryFrameOver(*this, i, out);
  }

  auto result = std::make_unique<gui::TBitmap>();
  result->SetHandle(strip.release());
  if (transparent) {
    Mask = std::make_unique<gui::TBitmap>();
    Mask->SetHandle(mask.release());
  }
  return result;
}

}  // namespace images
