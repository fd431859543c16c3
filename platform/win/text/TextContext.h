#pragma once
// What every text call works with on a DC: the selected font, its instance at
// the device's size, the logical-to-device scale and the spacing that
// SetTextCharacterExtra and SetTextJustification ask for. Measuring and
// drawing both walk advances through this, so they always agree.
#include <cstdint>
#include <type_traits>

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

// Device units to logical units and back, rounded to the nearest unit. The
// identity case is inline: measuring converts every running sum.
int scaledToLogicalX(const TextContext& context, std::int64_t device);
int scaledToLogicalY(const TextContext& context, std::int64_t device);
int scaledToDeviceX(const TextContext& context, std::int64_t logical);

inline int clampToInt(std::int64_t value) {
  return value < INT32_MIN ? INT32_MIN : value > INT32_MAX ? INT32_MAX : static_cast<int>(value);
}
inline int toLogicalX(const TextContext& context, std::int64_t device) {
  return context.identity ? clampToInt(device) : scaledToLogicalX(context, device);
}
inline int toLogicalY(const TextContext& context, std::int64_t device) {
  return context.identity ? clampToInt(device) : scaledToLogicalY(context, device);
}
inline int toDeviceX(const TextContext& context, std::int64_t logical) {
  return context.identity ? clampToInt(logical) : scaledToDeviceX(context, logical);
}

// Per-character spacing in device units: the character extra on every
// character, and on break characters the justification share that the DC's
// SetTextJustification state gives the n-th break of one output.
struct TextSpacing {
  int charExtra = 0;
  std::uint32_t breakChar = 0x20;
  bool justified = false;
};

TextSpacing spacingFor(const TextContext& context);

// The device extra for the break character `breakIndex` (0-based) of one output.
int justificationFor(const TextContext& context, int breakIndex);

// Calls advanceOf(index, deviceAdvance) for each character and returns the total.
// Sums are 64-bit: character extra and justification come from callers unchecked.
// A visitor that answers bool ends the walk by answering false; the total then
// covers the characters up to and including that one.
template <class Visit>
std::int64_t walkAdvances(const TextContext& context, const WCHAR* text, int count, const TextSpacing& spacing,
                          Visit&& advanceOf) {
  FontInstance& instance = *context.instance;
  std::int64_t total = 0;
  int breakIndex = 0;
  for (int i = 0; i < count; ++i) {
    const std::uint32_t character = text[i];
    std::int64_t width = std::int64_t{instance.advance(character)} + spacing.charExtra;
    if (spacing.justified && character == spacing.breakChar) width += justificationFor(context, breakIndex++);
    total += width;
    if constexpr (std::is_same_v<decltype(advanceOf(i, width)), bool>) {
      if (!advanceOf(i, width)) break;
    } else {
      advanceOf(i, width);
    }
  }
  return total;
}

}  // namespace win
