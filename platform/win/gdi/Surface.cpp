#include "platform/win/gdi/Surface.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "platform/win/gdi/DibFormat.h"
#include "platform/win/kernel/ReplacementFile.h"

namespace win {

namespace {
thread_local std::int64_t surfaceAllowance = kMaxSurfacePixels;
}  // namespace

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
  const std::int64_t pixels = static_cast<std::int64_t>(width) * height;
  std::unique_ptr<std::uint32_t[]> storage(new (std::nothrow) std::uint32_t[static_cast<std::size_t>(pixels)]);
  if (!storage) return false;
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
