#include "images/TGpGraphics.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "images/EGDIPlus.h"
#include "platform/win/gdi/DcPixels.h"
#include "platform/win/RectMath.h"

namespace images {
namespace {

constexpr int kSmallSource = 10;
constexpr std::int64_t kMaxSmallSourcePixels = 1 << 20;

win::LONG roundToLong(double v) {
  return static_cast<win::LONG>(std::clamp<long>(std::lround(v), -(1l << 30), 1l << 30));
}

// The pixels of a small source, read once for a nearest-neighbour draw.
std::vector<gdiplus::ARGB> pixelsOf(TGpImage& source) {
  std::vector<gdiplus::ARGB> pixels;
  pixels.reserve(static_cast<std::size_t>(source.Width()) * static_cast<std::size_t>(source.Height()));
  for (int y = 0; y < source.Height(); ++y)
    for (int x = 0; x < source.Width(); ++x) pixels.push_back(source.GetPixel(x, y));
  return pixels;
}

std::uint32_t blendOver(gdiplus::ARGB source, std::uint32_t target) {
  const std::uint32_t alpha = source >> 24;
  if (alpha == 255) return source & 0xFFFFFF;
  if (alpha == 0) return target & 0xFFFFFF;
  std::uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const std::uint32_t s = (source >> shift) & 0xFF, t = (target >> shift) & 0xFF;
    out |= ((s * alpha + t * (255 - alpha) + 127) / 255) << shift;
  }
  return out;
}

}  // namespace

TGpGraphics::TGpGraphics(win::HDC DC) : FDC(DC) {
  win::DcPixels pixels(DC, false);
  if (!GdiPlusAvailable || !pixels.valid()) throw EGDIPlus("Can't Create Graphics");
}

TGpGraphics::TGpGraphics(TGpImage& Image) {
  if (!GdiPlusAvailable || !Image.Handle() ||
      gdiplus::api().GetImageGraphicsContext(Image.Handle(), &FImageGraphics) != gdiplus::Ok || !FImageGraphics)
    throw EGDIPlus("Can't Create Graphics");
}

TGpGraphics::~TGpGraphics() {
  if (FImageGraphics) gdiplus::api().DeleteGraphics(FImageGraphics);
}

void TGpGraphics::DrawImage(TGpImage& Image, int X, int Y) {
  Draw(Image, Placement{double(X), double(Y), double(Image.Width()), double(Image.Height()), 0, 0, Image.Width(),
                        Image.Height(), false});
}

void TGpGraphics::DrawImageStretched(TGpImage& Image, int X, int Y, int W, int H) {
  const int sw = Image.Width(), sh = Image.Height();
  const bool small = (sw <= kSmallSource && sw < W) || (sh <= kSmallSource && sh < H);
  // GDI+ fades the edges of enlarged images (it samples past them): tiny
  // sources, such as one-pixel lines and small tiles, are enlarged here
  // nearest-neighbour instead, straight onto the target under its clip, so
  // no W x H intermediate is made whatever size the page asks for.
  if (small && !FImageGraphics && static_cast<std::int64_t>(sw) * sh <= kMaxSmallSourcePixels) {
    if (sw > 0 && sh > 0 && W > 0 && H > 0) DrawNearestOnDC(Image, X, Y, W, H);
    return;
  }
  if (small) {
    Draw(Image, Placement{double(X), double(Y), double(W), double(H), 0, 0, sw, sh, true});
    return;
  }
  Draw(Image, Placement{double(X), double(Y), double(W), double(H), 0, 0, sw, sh, false});
}

void TGpGraphics::DrawImagePart(TGpImage& Image, int X, int Y, int SrcX, int SrcY, int SrcW, int SrcH) {
  Draw(Image, Placement{double(X), double(Y), double(SrcW), double(SrcH), SrcX, SrcY, SrcW, SrcH, false});
}

void TGpGraphics::DrawImageRectRect(TGpImage& Image, int DstX, int DstY, int DstW, int DstH, int SrcX, int SrcY,
                                    int SrcW, int SrcH) {
  Draw(Image, Placement{double(DstX), double(DstY), double(DstW), double(DstH), SrcX, SrcY, SrcW, SrcH, false});
}

void TGpGraphics::ScaleTransform(float ScaleX, float ScaleY) {
  FScaleX *= ScaleX;
  FScaleY *= ScaleY;
}

void TGpGraphics::Draw(TGpImage& Image, const Placement& where) {
  if (!Image.Handle() || where.w <= 0 || where.h <= 0 || where.sw <= 0 || where.sh <= 0) return;
  if (FImageGraphics) DrawOnImage(Image.Handle(), where);
  else DrawOnDC(Image.Handle(), where);
}

void TGpGraphics::DrawOnImage(gdiplus::GpImage* image, const Placement& where) {
  const gdiplus::Api& api = gdiplus::api();
  const int x = roundToLong(where.x * FScaleX), y = roundToLong(where.y * FScaleY);
  const int w = roundToLong(where.w * FScaleX), h = roundToLong(where.h * FScaleY);
  api.SetClipRectI(FImageGraphics, x, y, w, h, gdiplus::CombineModeReplace);
  const bool unscaled = w == where.sw && h == where.sh;
  api.SetInterpolationMode(FImageGraphics,
                           where.nearest || unscaled ? gdiplus::InterpolationModeNearestNeighbor : 0);
  api.DrawImageRectRectI(FImageGraphics, image, x, y, w, h, where.sx, where.sy, where.sw, where.sh,
                         gdiplus::UnitPixel, nullptr, nullptr, nullptr);
}

// Wraps only the bounds of what will be painted, so that the GDI+ bitmap
// stays small (and within its size limits) whatever the DC's surface.
void TGpGraphics::DrawOnDC(gdiplus::GpImage* image, const Placement& where) {
  win::DcPixels pixels(FDC, true);
  if (!pixels.valid() || pixels.monochrome()) return;
  const win::RECT logical{roundToLong(where.x * FScaleX), roundToLong(where.y * FScaleY),
                          roundToLong((where.x + where.w) * FScaleX), roundToLong((where.y + where.h) * FScaleY)};
  const win::RECT dest = pixels.logicalToSurface(logical);
  std::vector<win::RECT> pieces;
  win::RECT bounds{};
  for (const win::RECT& clip : pixels.clipRects()) {
    const win::RECT piece = win::intersectRects(clip, dest);
    if (piece.left >= piece.right || piece.top >= piece.bottom) continue;
    bounds = pieces.empty() ? piece : win::unionRects(bounds, piece);
    pieces.push_back(piece);
  }
  if (pieces.empty()) return;
  const gdiplus::Api& api = gdiplus::api();
  std::uint8_t* origin = pixels.row0() + bounds.top * pixels.stride() + 4 * static_cast<std::ptrdiff_t>(bounds.left);
  gdiplus::GpImage* target = nullptr;
  gdiplus::GpGraphics* graphics = nullptr;
  if (api.CreateBitmapFromScan0(bounds.right - bounds.left, bounds.bottom - bounds.top,
                                static_cast<int>(pixels.stride()), gdiplus::PixelFormat32bppRGB, origin,
                                &target) != gdiplus::Ok)
    return;
  if (api.GetImageGraphicsContext(target, &graphics) == gdiplus::Ok) {
    for (std::size_t i = 0; i < pieces.size(); ++i) {
      const win::RECT& p = pieces[i];
      api.SetClipRectI(graphics, p.left - bounds.left, p.top - bounds.top, p.right - p.left, p.bottom - p.top,
                       i == 0 ? gdiplus::CombineModeReplace : gdiplus::CombineModeUnion);
    }
    // At one to one, filtering would only soften the edges against nothing.
    const bool unscaled = dest.right - dest.left == where.sw && dest.bottom - dest.top == where.sh;
    if (where.nearest || unscaled) api.SetInterpolationMode(graphics, gdiplus::InterpolationModeNearestNeighbor);
    api.DrawImageRectRectI(graphics, image, dest.left - bounds.left, dest.top - bounds.top, dest.right - dest.left,
                           dest.bottom - dest.top, where.sx, where.sy, where.sw, where.sh, gdiplus::UnitPixel,
                           nullptr, nullptr, nullptr);
    api.DeleteGraphics(graphics);
  }
  api.DisposeImage(target);
  for (const win::RECT& p : pieces)
    for (win::LONG row = p.top; row < p.bottom; ++row) {
      auto* pixel = reinterpret_cast<std::uint32_t*>(pixels.row0() + row * pixels.stride()) + p.left;
      for (win::LONG x = p.left; x < p.right; ++x, ++pixel) *pixel &= 0x00FFFFFF;
    }
}

void TGpGraphics::DrawNearestOnDC(TGpImage& Image, int X, int Y, int W, int H) {
  win::DcPixels pixels(FDC, true);
  if (!pixels.valid() || pixels.monochrome()) return;
  const win::RECT dest = pixels.logicalToSurface(win::RECT{roundToLong(X * FScaleX), roundToLong(Y * FScaleY),
                                                           roundToLong((X + W) * FScaleX),
                                                           roundToLong((Y + H) * FScaleY)});
  const std::int64_t destW = dest.right - dest.left, destH = dest.bottom - dest.top;
  if (destW <= 0 || destH <= 0) return;
  const int sw = Image.Width(), sh = Image.Height();
  const std::vector<gdiplus::ARGB> source = pixelsOf(Image);
  for (const win::RECT& clip : pixels.clipRects()) {
    const win::RECT p = win::intersectRects(clip, dest);
    for (win::LONG row = p.top; row < p.bottom; ++row) {
      const std::int64_t sy = ((row - dest.top) * 2 + 1) * sh / (2 * destH);
      const gdiplus::ARGB* sourceRow = source.data() + sy * sw;
      auto* pixel = reinterpret_cast<std::uint32_t*>(pixels.row0() + row * pixels.stride()) + p.left;
      for (win::LONG x = p.left; x < p.right; ++x, ++pixel) {
        const std::int64_t sx = ((x - dest.left) * 2 + 1) * sw / (2 * destW);
        *pixel = blendOver(sourceRow[sx], *pixel);
      }
    }
  }
}

void TGpGraphics::Clear(gdiplus::ARGB Color) {
  if (FImageGraphics) {
    gdiplus::api().GraphicsClear(FImageGraphics, Color);
    return;
  }
  win::DcPixels pixels(FDC, true);
  if (!pixels.valid()) return;
  const std::uint32_t value = pixels.monochrome() ? ((Color & 0xFFFFFF) ? 0xFFFFFF : 0) : (Color & 0xFFFFFF);
  for (const win::RECT& p : pixels.clipRects())
    for (win::LONG row = p.top; row < p.bottom; ++row) {
      auto* pixel = reinterpret_cast<std::uint32_t*>(pixels.row0() + row * pixels.stride()) + p.left;
      std::fill(pixel, pixel + (p.right - p.left), value);
    }
}

}  // namespace images
