#include "platform/win/user/SystemParameters.h"

namespace win {

namespace {

constexpr UINT kDefaultWheelScrollLines = 3;
UINT wheelScrollLines = kDefaultWheelScrollLines;

}  // namespace

BOOL SystemParametersInfoW(UINT action, UINT uiParameter, void* parameter, UINT) {
  switch (action) {
    case SPI_GETWHEELSCROLLLINES:
      if (!parameter) return FALSE;
      *static_cast<UINT*>(parameter) = wheelScrollLines;
      return TRUE;
    case SPI_SETWHEELSCROLLLINES:
      wheelScrollLines = uiParameter;
      return TRUE;
    default:
      return FALSE;
  }
}

void resetSystemParameters() { wheelScrollLines = kDefaultWheelScrollLines; }

}  // namespace win
