#include "platform/win/gdi/Surface.h"

#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>
#include <utility>
#include <vector>

#include "platform/win/gdi/DibFormat.h"
#include "platform/win/kernel/ReplacementFile.h"

namespace win {

namespace {
thread_local std::int64_t surfaceAllowance = kMaxSurfacePixels;

// A window painted through an off-screen bitmap makes a surface of its size
// for every paint and frees it right after. Blocks that large come from the
// system as fresh pages, each faulted in by the first fill; so the largest
// block freed lately is kept and handed to the next large surface that fits
// in it (and is not much smaller, so that a small long-lived surface does not
// hold it). Under AddressSanitizer the kept block is poisoned, and a surface
// taking it gets only its own pixels unpoisoned: a use after free, or past
// the surface's end, is still reported.
constexpr std::size_t kSpareFrom = std::size_t{1} << 12;    // pixels: 16 KiB
constexpr std::size_t kSpareAtMost = std::size_t{1} << 20;  // pixels: 4 MiB
constexpr std::size_t kSpareWasteAtMost = 8;                // capacity / pixels

struct SparePixels {
  std::mutex lock;
  std::uint32_t* pixels = nullptr;
  std::size_t capacity = 0;
};

SparePixels& sparePixels() {
  static auto* spare = new SparePixels();  // outlives static destruction
  return *spare;
}

// The kept block when `pixels` fit in it well, else nullptr; `capacity` is its size.
std::uint32_t* takeSparePixels(std::size_t pixels, std::size_t& capacity) {
  if (pixels < kSpareFrom) return nullptr;
  SparePixels& spare = sparePixels();
  std::lock_guard<std::mutex> hold(spare.lock);
  if (!spare.pixels || spare.capacity < pixels || spare.capacity / kSpareWasteAtMost > pixels) return nullptr;
  capacity = std::exchange(spare.capacity, 0);
  std::uint32_t* block = std::exchange(spare.pixels, nullptr);
  ASAN_UNPOISON_MEMORY_REGION(block, pixels * sizeof(std::uint32_t));
  return block;
}
}  // namespace

void SurfacePixelsDeleter::operator()(std::uint32_t* pixels) const {
  if (capacity >= kSpareFrom && capacity <= kSpareAtMost) {
    ASAN_POISON_MEMORY_REGION(pixels, capacity * sizeof(std::uint32_t));
    SparePixels& spare = sparePixels();
    std::unique_lock<std::mutex> hold(spare.lock);
    if (spare.capacity <= capacity) {
      std::swap(pixels, spare.pixels);
      spare.capacity = capacity;
    }
    hold.unlock();
  }
  delete[] pixels;
}

bool surfaceSizeAllowed(int width, int height) {
  return width > 0 && height > 0 && width <= kMaxSurfaceSide && height <= kMaxSurfaceSide &&
         static_cast<std::int64_t>(width) * height <= std::min(kMaxSurfacePixels, surfaceAllowance);
}

SurfaceAllowanceScope::SurfaceAllowanceScope(std::int64_t pixels) : previous_(surfaceAllowance) {
  surfaceAllowance = pixels;
}

SurfaceAllowanceScope::~SurfaceAllowanceScope() { surfaceAllowance = previous_; }

bool allocateUnfilledSurface(Surface& surface, int width, int height) {
  surface = Surface{};
  if (!surfaceSizeAllowed(width, height)) return false;
  const auto pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  std::size_t capacity = pixels;
  std::uint32_t* block = takeSparePixels(pixels, capacity);
  if (!block) block = new (std::nothrow) std::uint32_t[pixels];
  if (!block) return false;
  std::unique_ptr<std::uint32_t[], SurfacePixelsDeleter> storage(block, SurfacePixelsDeleter{capacity});
  surface.width = width;
  surface.height = height;
  surface.row0 = reinterpret_cast<std::uint8_t*>(storage.get());
  surface.strideBytes = static_cast<std::ptrdiff_t>(width) * 4;
  surface.storage = std::move(storage);
  return true;
}

bool allocateSurface(Surface& surface, int width, int height, std::uint32_t fill) {
  if (!allocateUnfilledSurface(surface, width, height)) return false;
  std::fill_n(surface.storage.get(), static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
  return true;
}

void attachSurface(Surface& surface, void* bits, int width, int height, bool bottomUp) {
  surface = Surface{};
  if (!bits || width <= 0 || height <= 0) return;
  const std::ptrdiff_t stride = static_cast<std::ptrdiff_t>(width) * 4;
  surface.width = width;
  surface.height = height;
  surface.strideBytes = bottomUp ? -stride : stride;
  surface.row0 = static_cast<std::uint8_t*>(bits) + (bottomUp ? stride * (height - 1) : 0);
}

bool saveSurfaceAsBmp(const Surface& surface, const std::string& path) {
  if (surface.empty()) return false;
  DibLayout layout;
  layout.width = surface.width;
  layout.height = surface.height;
  layout.bitCount = 24;
  layout.rowBytes = (static_cast<std::int64_t>(surface.width) * 3 + 3) & ~std::int64_t{3};
  std::vector<std::uint8_t> rows(static_cast<std::size_t>(layout.rowBytes) * static_cast<std::size_t>(surface.height));
  for (int y = 0; y < surface.height; ++y) {
    const auto bottomUpRow = static_cast<std::size_t>(surface.height - 1 - y);
    encodeDibRow(layout, surface.rowPtr(y), rows.data() + bottomUpRow * static_cast<std::size_t>(layout.rowBytes));
  }
  const std::vector<std::uint8_t> file = encodeBmpFile(surface.width, surface.height, 24, false, {}, rows);
  return writeFileWhole(path, file.data(), file.size());
}

}  // namespace win
