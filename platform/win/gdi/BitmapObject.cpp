#include "platform/win/gdi/BitmapObject.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/DibFormat.h"

namespace win {
namespace {

// Advanced by GdiFlush: shadows synced at an older epoch are stale.
std::uint64_t bitsEpoch = 1;

DibLayout layoutOf(const BitmapObject& bitmap) {
  DibLayout layout;
  layout.width = bitmap.surface.width;
  layout.height = bitmap.surface.height;
  layout.bottomUp = bitmap.header.biHeight > 0;
  layout.bitCount = bitmap.header.biBitCount;
  layout.rowBytes = bitmap.bitsStride;
  for (const RGBQUAD& q : bitmap.colorTable)
    layout.palette.push_back((static_cast<std::uint32_t>(q.rgbRed) << 16) |
                             (static_cast<std::uint32_t>(q.rgbGreen) << 8) | q.rgbBlue);
  if (layout.bitCount <= 8) layout.palette.resize(static_cast<std::size_t>(1) << layout.bitCount, 0);
  return layout;
}

std::uint8_t* bitsRow(BitmapObject& bitmap, int surfaceRow) {
  const int dibRow = bitmap.header.biHeight > 0 ? bitmap.surface.height - 1 - surfaceRow : surfaceRow;
  return bitmap.bits.get() + static_cast<std::ptrdiff_t>(dibRow) * bitmap.bitsStride;
}

HBITMAP newMonochromeBitmap(int width, int height) {
  auto bitmap = std::make_unique<BitmapObject>();
  if (!allocateSurface(bitmap->surface, width, height, 0)) return 0;
  bitmap->surface.monochrome = true;
  bitmap->bitsPixel = 1;
  return addGdiObject(std::move(bitmap));
}

HBITMAP newColorBitmap(int width, int height, int reportedBits, bool filled = true) {
  auto bitmap = std::make_unique<BitmapObject>();
  if (!(filled ? allocateSurface(bitmap->surface, width, height, 0)
               : allocateUnfilledSurface(bitmap->surface, width, height))) {
    return 0;
  }
  bitmap->bitsPixel = reportedBits;
  return addGdiObject(std::move(bitmap));
}

// Decoded photos fill tens of megabytes at once; on 4 KiB pages the first
// write to each page costs a fault, which dominates loading them. Large bits
// are mapped on 2 MiB boundaries and offered huge pages instead.
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kMapAtLeast = std::size_t{4} << 20;

// The last freed mapping (up to kKeepAtMost) is kept for the next one of the
// same length: pictures of one size come in runs (a gallery, a page's
// photos), and clearing mapped memory costs less than fresh pages do.
constexpr std::size_t kKeepAtMost = std::size_t{64} << 20;

struct KeptMapping {
  std::mutex lock;
  std::uint8_t* start = nullptr;
  std::size_t length = 0;
};

KeptMapping& keptMapping() {
  static KeptMapping* kept = new KeptMapping();  // outlives static destruction
  return *kept;
}

std::uint8_t* takeKeptMapping(std::size_t length) {
  KeptMapping& kept = keptMapping();
  std::lock_guard<std::mutex> hold(kept.lock);
  if (!kept.start || kept.length != length) return nullptr;
  std::uint8_t* start = kept.start;
  kept.start = nullptr;
  kept.length = 0;
  return start;
}

std::uint8_t* allocateZeroedBits(std::size_t size, std::size_t& mapped) {
  mapped = 0;
  if (size < kMapAtLeast) return static_cast<std::uint8_t*>(std::calloc(size, 1));
  const std::size_t length = (size + kHugePage - 1) / kHugePage * kHugePage;
  if (std::uint8_t* reused = takeKeptMapping(length)) {
    std::memset(reused, 0, length);
    mapped = length;
    return reused;
  }
  void* region = ::mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (region == MAP_FAILED) return nullptr;
  auto* start = static_cast<std::uint8_t*>(region);
  const std::size_t skip = (kHugePage - reinterpret_cast<std::uintptr_t>(start) % kHugePage) % kHugePage;
  if (skip) ::munmap(start, skip);
  if (kHugePage - skip) ::munmap(start + skip + length, kHugePage - skip);
  ::madvise(start + skip, length, MADV_HUGEPAGE);
  mapped = length;
  return start + skip;
}

}  // namespace

void DibBitsDeleter::operator()(std::uint8_t* bits) const {
  if (!mapped) {
    std::free(bits);
    return;
  }
  std::uint8_t* release = bits;
  std::size_t releaseLength = mapped;
  if (mapped <= kKeepAtMost) {
    KeptMapping& kept = keptMapping();
    std::lock_guard<std::mutex> hold(kept.lock);
    std::swap(release, kept.start);
    std::swap(releaseLength, kept.length);
  }
  if (release) ::munmap(release, releaseLength);
}

std::int64_t dibRowBytes(std::int64_t width, int bitCount) { return ((width * bitCount + 31) / 32) * 4; }

int BitmapObject::describe(int bufferSize, void* buffer) const {
  BITMAP info{};
  info.bmType = 0;
  info.bmWidth = surface.width;
  info.bmHeight = surface.height;
  info.bmPlanes = 1;
  info.bmBitsPixel = static_cast<WORD>(bitsPixel);
  if (dib) {
    info.bmWidthBytes = static_cast<LONG>(dibRowBytes(surface.width, bitsPixel));
    info.bmBits = bits ? static_cast<void*>(bits.get()) : static_cast<void*>(surface.storage.get());
    if (buffer) shadowEpoch = 0;  // the caller may write through bmBits
    if (!buffer || bufferSize >= static_cast<int>(sizeof(DIBSECTION))) {
      DIBSECTION section{};
      section.dsBm = info;
      section.dsBmih = header;
      return copyDescription(section, bufferSize, buffer);
    }
  } else {
    info.bmWidthBytes = ((surface.width * bitsPixel + 15) / 16) * 2;
  }
  return copyDescription(info, bufferSize, buffer);
}

bool BitmapObject::readBitsIntoSurface() {
  if (!hasShadow()) return true;
  if (surface.empty()) {
    Surface shadow;
    if (!allocateUnfilledSurface(shadow, surface.width, surface.height)) return false;
    surface = std::move(shadow);  // in place: DCs holding the bitmap point at `surface`
    shadowEpoch = 0;
  }
  if (shadowEpoch == bitsEpoch) return true;
  const DibLayout layout = layoutOf(*this);
  for (int y = 0; y < surface.height; ++y) decodeDibRow(layout, bitsRow(*this, y), surface.rowPtr(y));
  shadowEpoch = bitsEpoch;
  return true;
}

void BitmapObject::writeSurfaceToBits() {
  if (!hasShadow() || surface.empty()) return;
  const DibLayout layout = layoutOf(*this);
  for (int y = 0; y < surface.height; ++y) encodeDibRow(layout, surface.rowPtr(y), bitsRow(*this, y));
  // Indexed formats round the drawn colours to the table, so the shadow is
  // read back from the bits next time rather than trusted.
  shadowEpoch = header.biBitCount >= 24 ? bitsEpoch : 0;
}

BitmapObject* bitmapFromHandle(HBITMAP bitmap) { return gdiObjectAs<BitmapObject>(bitmap, GdiObjectKind::Bitmap); }

namespace {

HBITMAP compatibleBitmap(HDC handle, int width, int height, bool filled) {
  const DeviceContext* dc = dcFromHandle(handle);
  if (!dc || width < 0 || height < 0) return 0;
  if (width == 0 || height == 0) return newMonochromeBitmap(1, 1);
  // A memory DC makes bitmaps like the one it holds: monochrome while it
  // still has its initial bitmap.
  if (dc->memoryDc && dc->surface && dc->surface->monochrome) return newMonochromeBitmap(width, height);
  const BitmapObject* current = bitmapFromHandle(dc->state.bitmap);
  return newColorBitmap(width, height, dc->memoryDc && current ? current->bitsPixel : dc->bitsPixel, filled);
}

}  // namespace

HBITMAP CreateCompatibleBitmap(HDC handle, int width, int height) {
  return compatibleBitmap(handle, width, height, true);
}

HBITMAP createUnfilledCompatibleBitmap(HDC handle, int width, int height) {
  return compatibleBitmap(handle, width, height, false);
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits) {
  if (width < 0 || height < 0 || planes != 1) return 0;
  if (width == 0 || height == 0) return newMonochromeBitmap(1, 1);
  if (bitCount != 1 && bitCount != 32) return 0;
  const HBITMAP handle = bitCount == 1 ? newMonochromeBitmap(width, height) : newColorBitmap(width, height, 32);
  BitmapObject* bitmap = bitmapFromHandle(handle);
  if (!bitmap || !bits) return handle;
  const auto* source = static_cast<const std::uint8_t*>(bits);
  if (bitCount == 1) {
    const std::int64_t rowBytes = ((width + 15) / 16) * 2;
    for (int y = 0; y < height; ++y) {
      const std::uint8_t* row = source + y * rowBytes;
      std::uint32_t* out = bitmap->surface.rowPtr(y);
      for (int x = 0; x < width; ++x) out[x] = ((row[x >> 3] >> (7 - (x & 7))) & 1) ? 0xFFFFFF : 0;
    }
  } else {
    for (int y = 0; y < height; ++y) {
      const std::uint8_t* row = source + static_cast<std::int64_t>(y) * width * 4;
      std::uint32_t* out = bitmap->surface.rowPtr(y);
      for (int x = 0; x < width; ++x)
        out[x] = (static_cast<std::uint32_t>(row[4 * x + 2]) << 16) | (static_cast<std::uint32_t>(row[4 * x + 1]) << 8) |
                 row[4 * x];
    }
  }
  return handle;
}

HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bitsOut, HANDLE section, DWORD) {
  if (bitsOut) *bitsOut = nullptr;
  DibLayout layout;
  if (section != 0 || !readDibLayout(info, usage, dc, layout)) return 0;
  auto bitmap = std::make_unique<BitmapObject>();
  bitmap->dib = true;
  bitmap->bitsPixel = layout.bitCount;
  bitmap->header = info->bmiHeader;
  bitmap->header.biSize = sizeof(BITMAPINFOHEADER);
  bitmap->header.biSizeImage = static_cast<DWORD>(layout.rowBytes * layout.height);
  for (std::uint32_t pixel : layout.palette)
    bitmap->colorTable.push_back(RGBQUAD{static_cast<BYTE>(pixel), static_cast<BYTE>(pixel >> 8),
                                         static_cast<BYTE>(pixel >> 16), 0});
  void* bits = nullptr;
  if (layout.bitCount == 32) {
    if (!allocateSurface(bitmap->surface, layout.width, layout.height, 0)) return 0;
    std::uint32_t* pixels = bitmap->surface.storage.release();
    attachSurface(bitmap->surface, pixels, layout.width, layout.height, layout.bottomUp);
    bitmap->surface.storage.reset(pixels);
    bits = pixels;
  } else {
    // Zeroed bits straight from the allocator (large blocks come as fresh
    // zero pages); the shadow waits for the first drawing call.
    if (!surfaceSizeAllowed(layout.width, layout.height)) return 0;
    bitmap->surface.width = layout.width;
    bitmap->surface.height = layout.height;
    const auto size = static_cast<std::size_t>(layout.rowBytes * layout.height);
    std::size_t mapped = 0;
    std::uint8_t* zeroed = allocateZeroedBits(size, mapped);
    bitmap->bits = std::unique_ptr<std::uint8_t[], BitmapObject::FreeBits>(zeroed, BitmapObject::FreeBits{mapped});
    if (!bitmap->bits) return 0;
    bitmap->bitsStride = static_cast<std::ptrdiff_t>(layout.rowBytes);
    bits = bitmap->bits.get();
  }
  const HBITMAP handle = addGdiObject(std::move(bitmap));
  if (handle && bitsOut) *bitsOut = bits;
  return handle;
}

BOOL GdiFlush() {
  ++bitsEpoch;
  return TRUE;
}

}  // namespace win

namespace win {

SurfaceAccess::SurfaceAccess(DeviceContext& dc, bool writes)
    : dc_(dc), writes_(writes), outermost_(dc.surfaceAccessDepth == 0) {
  ++dc_.surfaceAccessDepth;
  if (!outermost_) return;
  if (BitmapObject* bitmap = bitmapFromHandle(dc_.state.bitmap)) bitmap->readBitsIntoSurface();
}

SurfaceAccess::~SurfaceAccess() {
  --dc_.surfaceAccessDepth;
  if (!outermost_ || !writes_) return;
  if (BitmapObject* bitmap = bitmapFromHandle(dc_.state.bitmap)) bitmap->writeSurfaceToBits();
}

}  // namespace win
