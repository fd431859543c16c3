#pragma once
// Number helpers of the style units: whole integers and rounding. The text
// helpers they use (ASCII case, trimming, leading numbers) are the common ones.
#include <string>
#include <string_view>

#include "engine/common/TextHelpers.h"

namespace engine {

// Reads the whole text as a decimal integer; false when it is not one.
bool ParseInteger(std::string_view text, long long& value);

// Rounds half to even and clamps into the int range.
double RoundHalfEven(double value);
int RoundToInt(double value);

}  // namespace engine
