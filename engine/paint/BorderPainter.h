#pragma once
// The CSS border painter: the four sides of a border between an outer and an
// inner rectangle, each with its own style and colour, with mitred corners.
// Side order everywhere: 0 left, 1 top, 2 right, 3 bottom.
#include <array>
#include <cstdint>

#include "platform/gui/TCanvas.h"
#include "platform/win/Types.h"

namespace engine {

// Border style numbers.
enum BorderStyleNumber : std::uint8_t {
  bssNone = 0, bssSolid, bssInset, bssOutset, bssGroove, bssRidge, bssDashed, bssDotted, bssDouble,
};

using SideStyles = std::array<std::uint8_t, 4>;
using SideColors = std::array<gui::TColor, 4>;

SideStyles MakeSideStyles(std::uint8_t left, std::uint8_t top, std::uint8_t right, std::uint8_t bottom);
SideColors MakeSideColors(gui::TColor left, gui::TColor top, gui::TColor right, gui::TColor bottom);
// Three quarters of each of red, green and blue (system colours resolved first).
gui::TColor DarkenColor(gui::TColor color);
// Fills one side's polygon (outer i, outer i+1, inner i+1, inner i); a side one
// pixel thick is drawn as a line.
void FillBorderSide(gui::TCanvas& canvas, const std::array<win::POINT, 4>& points, gui::TColor color, bool printing,
                    int side);
// background: the colour shown in the gaps of dashed, dotted and double sides
// (clNone: none).
void PaintBorderSides(gui::TCanvas& canvas, win::RECT outer, win::RECT inner, bool printing, gui::TColor background,
                      const SideStyles& styles, const SideColors& colors);

}  // namespace engine
