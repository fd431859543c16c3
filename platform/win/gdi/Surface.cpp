#include "platform/win/gdi/Surface.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "platform/win/kernel/ReplacementFile.h"

namespace win {

bool surfaceSizeAllowed(int width, int height) {
  return width > 0 && height > 0 && width <= kMaxSurfaceSide && height <= kMaxSurfaceSide &&
         static_cast<std::int64_t>(width) * height <= kMaxSurfacePixels;
}

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

namespace {

void putLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

bool saveSurfaceAsBmp(const Surface& surface, const std::string& path) {
  if (surface.empty()) return false;
  const std::uint32_t rowBytes = (static_cast<std::uint32_t>(surface.width) * 3 + 3) & ~3u;
  const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(surface.height);
  std::vector<std::uint8_t> file;
  file.reserve(54 + imageBytes);
  // BITMAPFILEHEADER: "BM", file size, two reserved words, offset of the pixels.
  file.push_back('B');
  file.push_back('M');
  putLittleEndian(file, 54 + imageBytes, 4);
  putLittleEndian(file, 0, 4);
  putLittleEndian(file, 54, 4);
  // BITMAPINFOHEADER: size, width, height (bottom-up), planes, bit count,
  // compression, image size, resolution x/y, colours used/important.
  putLittleEndian(file, 40, 4);
  putLittleEndian(file, static_cast<std::uint32_t>(surface.width), 4);
  putLittleEndian(file, static_cast<std::uint32_t>(surface.height), 4);
  putLittleEndian(file, 1, 2);
  putLittleEndian(file, 24, 2);
  putLittleEndian(file, 0, 4);
  putLittleEndian(file, imageBytes, 4);
  putLittleEndian(file, 3780, 4);
  putLittleEndian(file, 3780, 4);
  putLittleEndian(file, 0, 4);
  putLittleEndian(file, 0, 4);
  for (int y = surface.height - 1; y >= 0; --y) {
    const std::uint32_t* row = surface.rowPtr(y);
    for (int x = 0; x < surface.width; ++x) putLittleEndian(file, row[x] & 0xFFFFFF, 3);
    for (std::uint32_t pad = static_cast<std::uint32_t>(surface.width) * 3; pad < rowBytes; ++pad) file.push_back(0);
  }
  return writeFileWhole(path, file.data(), file.size());
}

}  // namespace win
