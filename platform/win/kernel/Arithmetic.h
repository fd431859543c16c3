#pragma once
// Integer helpers with the rounding rules the drawing and layout code expect.
#include "platform/win/Types.h"

namespace win {

// a * b / c with a 64-bit intermediate, rounded to nearest with halves away
// from zero. -1 when c is 0 or the result does not fit in 32 bits.
int MulDiv(int a, int b, int c);

}  // namespace win
