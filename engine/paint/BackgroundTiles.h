#pragma once
// Tiling a background picture over a box, as blocks and table cells draw it.
#include "engine/css/CssBoxValues.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"
#include "platform/win/Types.h"

namespace engine {

// Draws tile (through mask when given) over box at position, limited to the
// part of box inside clipRect; only the tiles in view are drawn. Printing
// draws the tiles as device-independent bits.
void TileBackground(gui::TCanvas& canvas, const win::RECT& clipRect, const win::RECT& box, gui::TBitmap& tile,
                    gui::TBitmap* mask, const TBackgroundPosition& position, bool printing);

}  // namespace engine
