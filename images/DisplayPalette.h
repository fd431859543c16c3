#pragma once
// The display values the image code reads (colour depth class and the
// display palette, set by the engine's start-up), the 256-colour display
// palette for 8-bit screens, and palette copies handed to bitmaps.
#include <cstdint>

#include "platform/win/Types.h"

namespace images {

// Colour depth class of the display: 4, 8 or 24. The engine reads and sets
// it as engine::ScreenColorDepth.
extern std::uint8_t ScreenColorDepth;
// The display palette; 0 unless ScreenColorDepth is 8. Owned by the
// engine's start-up, which makes it with BuildDefaultPalette8 and deletes it.
extern win::HPALETTE DisplayPalette;

// The 8-bit display palette: the screen's system colours 0-9 and 246-255, a
// 6x6x6 cube without white (levels 55, 115, 165, 205, 235, 255; blue
// outermost, red innermost) at 10-224, greys at 225-244, and (255,255,254)
// at 245. The caller owns the result.
win::HPALETTE BuildDefaultPalette8(win::HDC screen);

// A copy of Palette's entries (up to 256) on screens of 8 bits or fewer;
// 0 on deeper screens and for a palette without entries.
win::HPALETTE ClonePalette(win::HPALETTE Palette);

// The display palette and the placeholder pictures are freed once, by the
// engine's shutdown; this is kept for callers of the image unit and does
// nothing, so nothing is freed twice.
void FreeImageGlobals();

}  // namespace images
