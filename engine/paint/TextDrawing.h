#pragma once
// Measuring on a device context; wrapped drawing, filling and clipping on a canvas.
#include "platform/gui/TCanvas.h"
#include "platform/win/Types.h"

namespace engine {

// How many of the first count characters fit into maxExtent pixels with the
// DC's font; extent gets their width. 0 and extent 0 when nothing can fit.
int CountFittingChars(win::HDC dc, const char16_t* text, int count, int maxExtent, int& extent);
// Width in pixels of the first count characters.
int TextWidth(win::HDC dc, const char16_t* text, int count);
// Word-wrapped text in the rectangle, with left/top text alignment for the call.
void DrawWrappedText(gui::TCanvas& canvas, int left, int top, int right, int bottom, const char16_t* text, int count);
// Fills the rectangle with a solid colour; the canvas's brush colour and style are put back.
void FillRectWithColor(gui::TCanvas& canvas, int left, int top, int right, int bottom, gui::TColor color);
// Narrows the DC's clipping to rect (scaled to device units when printing).
// oldRegion is the previous clip (0: none) for the caller to select back;
// the caller deletes both regions.
void SetClipRegion(gui::TCanvas& canvas, const win::RECT& rect, bool printing, win::HRGN& oldRegion, win::HRGN& newRegion);

}  // namespace engine
