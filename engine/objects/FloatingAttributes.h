#pragma once
// Attribute readings shared by images and panels: alignment, spacing and the
// ALT text.
#include <cstdint>
#include <string>

namespace engine {

// The largest width, height or box size taken from attributes or style.
constexpr int kMaxWantedSize = 32767;
// Spacing given to a floating object without HSPACE.
constexpr int kFloatSpace = 3;

// ALIGN: TOP, MIDDLE / ABSMIDDLE, LEFT and RIGHT (floats) change align;
// anything else leaves it.
void ReadAlignAttribute(const std::string& value, std::uint8_t& align);
// HSPACE / VSPACE: min(40, |value|), taken in 64 bits.
int SpaceFromAttribute(int value);
// ALT without its trailing CR and LF characters.
std::string AltFromAttribute(std::string text);
// value * numerator / denominator, held to 0..kMaxWantedSize; 0 for a zero divisor.
int ScaledSize(int value, int numerator, int denominator);

}  // namespace engine
