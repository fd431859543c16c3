#pragma once
// What every text call works with on a DC: the selected font, its instance at
// the device's size, the logical-to-device scale and the spacing that
// SetTextCharacterExtra and SetTextJustification ask for. Measuring and
// drawing both walk advances through this, so they always agree.
#include <cstdint>

#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/text/FontObject.h"

namespace win {

struct TextContext {
  DeviceContext* dc = nullptr;
  FontObject* font = nullptr;
  FontInstance* instance = nullptr;  // null when no font file is available
  double scaleX = 1.0;               // device units per logical unit
  double scaleY = 1.0;
  bool identity = true;              // logical units are device pixels
};

// Opens the DC's selected font (the system font when none is selected); false
// for a handle that is not a live DC.
bool openTextContext(HDC handle, TextContext& context);

// Device units to logical units and back, rounded to the nearest unit.
int toLogicalX(const TextContext& context, std::int64_t device);
int toLogicalY(const TextContext& context, std::int64_t device);
int toDeviceX(const TextContext& context, std::int64_t logical);

// Per-character spacing in device units. Break characters get `breakExtra`,
// and the next `remainderLeft` of them one unit of `remainderStep` more: the
// part of the justification that does not divide evenly.
struct TextSpacing {
  int charExtra = 0;
  std::uint32_t breakChar = 0x20;
  bool justified = false;
  int breakExtra = 0;
  int remainderLeft = 0;
  int remainderStep = 0;
};

TextSpacing spacingFor(const TextContext& context);

// Calls advanceOf(index, deviceAdvance) for each character and returns the
// total. Consumes spacing.remainderLeft as break characters take it.
template <class Visit>
std::int64_t walkAdvances(FontInstance& instance, const WCHAR* text, int count, TextSpacing& spacing,
                          Visit&& advanceOf) {
  std::int64_t total = 0;
  for (int i = 0; i < count; ++i) {
    const std::uint32_t character = text[i];
    int width = instance.advance(character) + spacing.charExtra;
    if (spacing.justified && character == spacing.breakChar) {
      width += spacing.breakExtra;
      if (spacing.remainderLeft > 0) {
        width += spacing.remainderStep;
        --spacing.remainderLeft;
      }
    }
    total += width;
    advanceOf(i, width);
  }
  return total;
}

}  // namespace win
