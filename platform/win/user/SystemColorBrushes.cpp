#include <array>

#include "platform/win/gdi/BrushObject.h"
#include "platform/win/gdi/Colors.h"
#include "platform/win/gdi/GdiObject.h"
#include "platform/win/user/SystemColors.h"

namespace win {

HBRUSH GetSysColorBrush(int index) {
  if (index < 0 || index >= kSystemColorCount) return 0;
  static std::array<HBRUSH, kSystemColorCount> brushes{};
  HBRUSH& brush = brushes[static_cast<std::size_t>(index)];
  // Made on first use; made again if a caller deleted it.
  if (!brush || GetObjectType(brush) == 0)
    brush = CreateSolidBrush(kSystemColorFlag | static_cast<COLORREF>(index));
  return brush;
}

}  // namespace win
