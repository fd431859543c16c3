#include "platform/win/kernel/PlatformFlags.h"

namespace win {
namespace {
bool win9xFlag = false;
bool win95Flag = false;
}  // namespace

bool IsWin9x() { return win9xFlag; }
bool IsWin95() { return win95Flag; }

void setPlatformFlags(bool win9x, bool win95) {
  win9xFlag = win9x || win95;
  win95Flag = win95;
}

void resetPlatformFlags() { setPlatformFlags(false, false); }

}  // namespace win
