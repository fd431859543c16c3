#pragma once
// System-wide settings that programs read with SystemParametersInfoW. Only
// the wheel's scroll lines are kept: 3 by default, settable by programs and
// tests.
#include "platform/win/Types.h"

namespace win {

constexpr UINT SPI_GETWHEELSCROLLLINES = 0x0068;
constexpr UINT SPI_SETWHEELSCROLLLINES = 0x0069;

// GET writes the value to *parameter (a UINT); SET takes it from
// uiParameter. FALSE for other actions or a missing out parameter.
BOOL SystemParametersInfoW(UINT action, UINT uiParameter, void* parameter, UINT winIni);

// Back to the defaults (for tests).
void resetSystemParameters();

}  // namespace win
