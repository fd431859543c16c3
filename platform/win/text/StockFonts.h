#pragma once
// The stock fonts (SYSTEM_FONT, DEFAULT_GUI_FONT, ANSI_VAR_FONT, ...), made on
// first use and never deleted. GetStockObject reaches them through the GDI
// core's stock-font hook, which the font code installs at start-up.
#include "platform/win/Types.h"

namespace win {

// The stock font for a GetStockObject index, or 0 when the index names none.
HFONT stockFont(int index);

}  // namespace win
