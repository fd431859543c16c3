#include "platform/win/gdi/Colors.h"

#include "platform/win/user/SystemColors.h"

namespace win {

// Never destroyed, so drawing during static destruction still resolves colours.
std::function<COLORREF(int)>& systemColorResolver() {
  static auto* resolver = new std::function<COLORREF(int)>(GetSysColor);
  return *resolver;
}

COLORREF resolveColor(COLORREF color) {
  if ((color & 0xFF000000u) == kSystemColorFlag) {
    const auto& resolver = systemColorResolver();
    const int index = static_cast<int>(color & 0xFF);
    const COLORREF resolved = resolver ? resolver(index) : GetSysColor(index);
    return resolved & 0x00FFFFFFu;
  }
  return color & 0x00FFFFFFu;
}

}  // namespace win
