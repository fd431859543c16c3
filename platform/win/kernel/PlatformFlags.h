#pragma once
// Which Windows family the platform layer presents itself as. We always run
// as the NT family; tests switch the flags to reach the 9x code paths.

namespace win {

// The system belongs to the Windows 9x family.
bool IsWin9x();
// The system is the first 9x release (implies IsWin9x).
bool IsWin95();

// For tests: present the given family; resetPlatformFlags() restores NT.
void setPlatformFlags(bool win9x, bool win95);
void resetPlatformFlags();

}  // namespace win
