#pragma once
// Display and platform values that the engine and the image code read, and
// the built-in pictures; made once when the library loads, read-only after.
#include <cstdint>
#include <functional>
#include <memory>

#include "images/DisplayPalette.h"
#include "platform/gui/TStream.h"
#include "platform/gui/TBitmap.h"
#include "platform/win/Types.h"

namespace engine {

// Colour depth class of the display (4, 8 or 24) and the display palette (0
// unless the depth is 8): kept by the image code, set here at start-up.
using images::ScreenColorDepth;
using images::DisplayPalette;
// OR-ed into every colour handed to drawing: the palette flag on displays of
// 8 bits or fewer, else 0.
extern std::uint32_t PaletteRGBFlag;
extern bool IsWin9x;
extern bool IsWin95;
// Shown while an image is being fetched (and for all images when images are off).
extern gui::TBitmap* WaitingPicture;
// Shown, through its mask, for an image that could not be loaded.
extern gui::TBitmap* ErrorPicture;
extern gui::TBitmap* ErrorPictureMask;
// Its identity means "the image comes later" when a request handler answers with it.
extern gui::TMemoryStream* PendingImageStream;

constexpr std::uint32_t kPaletteRgbFlag = 0x02000000;

// Builds the default 8-bit display palette on the screen DC: the image
// code's BuildDefaultPalette8 unless a test puts another in.
extern std::function<win::HPALETTE(win::HDC screen)> BuildDefaultPalette8;

// Runs for the first call only; each call must be paired with a finalize,
// and the last one releases what the first made.
void InitializeEngineUnit();
void FinalizeEngineUnit();

}  // namespace engine
