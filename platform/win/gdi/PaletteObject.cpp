#include "platform/win/gdi/PaletteObject.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/win/gdi/Colors.h"
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/DibFormat.h"
#include "platform/win/gdi/Selection.h"

namespace win {
namespace {

constexpr PALETTEENTRY kStaticColors[kStaticColorCount] = {
    {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},   {0, 0, 128, 0},
    {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0}, {192, 220, 192, 0}, {166, 202, 240, 0},
    {255, 251, 240, 0}, {160, 160, 164, 0}, {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},
    {255, 255, 0, 0},   {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
};

PaletteObject* paletteFromHandle(HPALETTE palette) {
  return gdiObjectAs<PaletteObject>(palette, GdiObjectKind::Palette);
}

}  // namespace

const PALETTEENTRY* staticPaletteColors() { return kStaticColors; }

int PaletteObject::describe(int bufferSize, void* buffer) const {
  return copyDescription(static_cast<WORD>(entries.size()), bufferSize, buffer);
}

HPALETTE CreatePalette(const LOGPALETTE* logical) {
  if (!logical) return 0;
  return createPaletteFromEntries(
      std::vector<PALETTEENTRY>(logical->palPalEntry, logical->palPalEntry + logical->palNumEntries));
}

HPALETTE createPaletteFromEntries(const std::vector<PALETTEENTRY>& entries) {
  if (entries.empty()) return 0;
  auto palette = std::make_unique<PaletteObject>();
  palette->entries = entries;
  return addGdiObject(std::move(palette));
}

std::vector<PALETTEENTRY> paletteEntries(HPALETTE handle, std::size_t limit) {
  const PaletteObject* palette = paletteFromHandle(handle);
  if (!palette) return {};
  const std::size_t count = std::min(palette->entries.size(), limit);
  return std::vector<PALETTEENTRY>(palette->entries.begin(),
                                   palette->entries.begin() + static_cast<std::ptrdiff_t>(count));
}

HPALETTE SelectPalette(HDC handle, HPALETTE palette, BOOL) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc || !paletteFromHandle(palette)) return 0;
  const HPALETTE previous = dc->state.palette;
  retainSelection(palette);
  releaseSelection(previous);
  dc->state.palette = palette;
  return previous;
}

UINT RealizePalette(HDC handle) {
  const DeviceContext* dc = dcFromHandle(handle);
  if (!dc) return GDI_ERROR;
  const PaletteObject* palette = paletteFromHandle(dc->state.palette);
  if (!palette || dc->bitsPixel > 8 || palette->stock) return 0;
  return static_cast<UINT>(palette->entries.size());
}

UINT GetPaletteEntries(HPALETTE handle, UINT start, UINT count, PALETTEENTRY* entries) {
  const PaletteObject* palette = paletteFromHandle(handle);
  if (!palette) return 0;
  const UINT size = static_cast<UINT>(palette->entries.size());
  if (!entries) return size;
  if (start >= size) return 0;
  const UINT copied = std::min(count, size - start);
  std::copy_n(palette->entries.begin() + start, copied, entries);
  return copied;
}

UINT SetPaletteEntries(HPALETTE handle, UINT start, UINT count, const PALETTEENTRY* entries) {
  PaletteObject* palette = paletteFromHandle(handle);
  if (!palette || !entries || palette->stock) return 0;
  const UINT size = static_cast<UINT>(palette->entries.size());
  if (start >= size) return 0;
  const UINT copied = std::min(count, size - start);
  std::copy_n(entries, copied, palette->entries.begin() + start);
  return copied;
}

UINT GetSystemPaletteEntries(HDC handle, UINT start, UINT count, PALETTEENTRY* entries) {
  const DeviceContext* dc = dcFromHandle(handle);
  if (!dc || dc->bitsPixel > 8) return 0;
  const UINT size = 1u << dc->bitsPixel;
  if (!entries) return size;
  if (start >= size) return 0;
  const UINT half = std::min<UINT>(kStaticColorCount / 2, size / 2);
  const UINT copied = std::min(count, size - start);
  for (UINT i = 0; i < copied; ++i) {
    const UINT index = start + i;
    if (index < half) entries[i] = kStaticColors[index];
    else if (index >= size - half) entries[i] = kStaticColors[kStaticColorCount - (size - index)];
    else entries[i] = PALETTEENTRY{0, 0, 0, 0};
  }
  return copied;
}

UINT GetNearestPaletteIndex(HPALETTE handle, COLORREF color) {
  const PaletteObject* palette = paletteFromHandle(handle);
  if (!palette || palette->entries.empty()) return CLR_INVALID;
  std::vector<std::uint32_t> pixels;
  pixels.reserve(palette->entries.size());
  for (const PALETTEENTRY& e : palette->entries)
    pixels.push_back((static_cast<std::uint32_t>(e.peRed) << 16) | (static_cast<std::uint32_t>(e.peGreen) << 8) |
                     e.peBlue);
  return static_cast<UINT>(nearestPaletteIndex(pixels, colorToPixel(resolveColor(color))));
}

}  // namespace win
