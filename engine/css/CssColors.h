#pragma once
// Colours as the engine keeps them: TColor with red in the low byte, blue in the third.
// 0x1FFFFFFF means no colour; 0xFF000000 + n is the system colour with index n.
#include <string>

#include "platform/gui/Colors.h"

namespace engine {

using TColor = gui::TColor;

constexpr TColor kNoColor = gui::clNone;
constexpr TColor kSystemColorBase = 0xFF000000;

// The flag OR-ed into colours read from hex text: the display's palette flag.
TColor CssPaletteFlag();

// Reads a colour: a name, a system colour name, "#rgb", "#rrggbb" or "rgb(r, g, b)".
// Without strict, hex digits without "#" are read too. False when the text is no colour.
bool ColorFromString(const std::string& text, bool strict, TColor& colour);

// Forgets the one-entry cache of the last colour read (for tests).
void ResetColorCache();

}  // namespace engine
