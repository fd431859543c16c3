#include "platform/gui/Colors.h"

#include "platform/win/user/SystemColors.h"

namespace gui {

win::COLORREF ColorToRGB(TColor Color) {
  if ((Color & 0xFF000000u) == clSystemColor) return win::GetSysColor(static_cast<int>(Color & 0xFF));
  return Color;
}

}  // namespace gui
