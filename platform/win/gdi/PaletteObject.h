#pragma once
// Logical palettes. Our surfaces are true colour, so selecting and realising a
// palette only records it; colours are never remapped through it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/win/Types.h"
#include "platform/win/gdi/GdiObject.h"

namespace win {

struct PALETTEENTRY {
  BYTE peRed;
  BYTE peGreen;
  BYTE peBlue;
  BYTE peFlags;
};

struct LOGPALETTE {
  WORD palVersion;
  WORD palNumEntries;
  PALETTEENTRY palPalEntry[1];  // palNumEntries entries follow
};

constexpr UINT kStaticColorCount = 20;

struct PaletteObject : GdiObject {
  PaletteObject() : GdiObject(GdiObjectKind::Palette) {}
  int describe(int bufferSize, void* buffer) const override;  // the entry count, a WORD
  std::vector<PALETTEENTRY> entries;
};

// The 20 static colours, first ten then last ten.
const PALETTEENTRY* staticPaletteColors();

// `palette` must hold palNumEntries entries (at least one).
HPALETTE CreatePalette(const LOGPALETTE* palette);
HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL forceBackground);
// Returns the number of entries mapped into the system palette: 0 on our
// true-colour devices, the palette's size on palette devices.
UINT RealizePalette(HDC dc);
UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries);
UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries);
// On palette devices (8 bpp or fewer): the static colours at both ends of the
// system palette and black between; elsewhere 0.
UINT GetSystemPaletteEntries(HDC dc, UINT start, UINT count, PALETTEENTRY* entries);
// The index of the entry nearest to `color` (squared RGB distance), CLR_INVALID on error.
UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF color);

// For our own callers: a palette's entries as a list (at most `limit`; none
// for a handle that is not a palette), and a palette made from such a list
// without building the variable-length LOGPALETTE (0 for an empty list).
std::vector<PALETTEENTRY> paletteEntries(HPALETTE palette, std::size_t limit = SIZE_MAX);
HPALETTE createPaletteFromEntries(const std::vector<PALETTEENTRY>& entries);

}  // namespace win
