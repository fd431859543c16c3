#pragma once
// A rectangle of 32-bit pixels, 0x00RRGGBB. Rows may be stored top-down
// (positive stride) or bottom-up (negative stride); `row0` is always the
// address of the top row. A surface may own its pixels or describe memory
// owned elsewhere (a DIB section's bits, which callers write directly).
// A monochrome surface keeps the same layout but only ever holds 0x000000
// or 0xFFFFFF.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace win {

// Frees a surface's own pixels (`capacity` of them); a large block may be kept
// for the next large surface instead (see Surface.cpp).
struct SurfacePixelsDeleter {
  std::size_t capacity = 0;
  void operator()(std::uint32_t* pixels) const;
};

struct Surface {
  int width = 0;
  int height = 0;
  std::uint8_t* row0 = nullptr;
  std::ptrdiff_t strideBytes = 0;
  bool monochrome = false;
  std::unique_ptr<std::uint32_t[], SurfacePixelsDeleter> storage;  // empty when the pixels live elsewhere

  // In line wherever it is used: the drawing code asks for a row per line it paints.
  [[gnu::always_inline]] std::uint32_t* rowPtr(int y) {
    return reinterpret_cast<std::uint32_t*>(row0 + y * strideBytes);
  }
  [[gnu::always_inline]] const std::uint32_t* rowPtr(int y) const {
    return reinterpret_cast<const std::uint32_t*>(row0 + y * strideBytes);
  }
  bool empty() const { return width <= 0 || height <= 0 || row0 == nullptr; }
};

// Surfaces are limited by their pixel count, so that long strips (the frames
// of an animation side by side) stay possible; the side limit only keeps
// coordinate arithmetic far from overflow. Bigger requests fail rather than
// exhaust memory.
constexpr int kMaxSurfaceSide = 1 << 20;
constexpr std::int64_t kMaxSurfacePixels = 1ll << 28;

// Within the limits above and the current allowance, and not empty.
bool surfaceSizeAllowed(int width, int height);

// While a scope lives, no surface of more than its pixel count is allowed:
// an image decodes within what is left of its document's image budget.
// Scopes nest; the innermost one counts.
class SurfaceAllowanceScope {
 public:
  explicit SurfaceAllowanceScope(std::int64_t pixels);
  ~SurfaceAllowanceScope();
  SurfaceAllowanceScope(const SurfaceAllowanceScope&) = delete;
  SurfaceAllowanceScope& operator=(const SurfaceAllowanceScope&) = delete;

 private:
  std::int64_t previous_;
};

// Allocates owned, top-down pixels filled with `fill`. Returns false (and leaves
// the surface empty) for non-positive or oversized dimensions.
bool allocateSurface(Surface& surface, int width, int height, std::uint32_t fill = 0);
// The same, leaving the pixels unset: for surfaces written in full before
// anything reads them.
bool allocateUnfilledSurface(Surface& surface, int width, int height);

// Describes foreign memory; a negative stride means bottom-up rows starting at `bits`.
void attachSurface(Surface& surface, void* bits, int width, int height, bool bottomUp);

// Writes the surface as an uncompressed 24-bit BMP (a debugging aid).
bool saveSurfaceAsBmp(const Surface& surface, const std::string& path);

}  // namespace win
