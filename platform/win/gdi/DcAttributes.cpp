#include "platform/win/gdi/DcAttributes.h"

#include <cstdlib>

#include "platform/win/gdi/Colors.h"
#include "platform/win/gdi/Selection.h"

namespace win {
namespace {

// Deep enough for any sane nesting; refuses runaway recursion.
constexpr std::size_t kMaxSavedStates = 4096;

// Replaces one attribute and returns its old value, or `failure` for a bad DC.
template <class T, class Field>
T exchange(HDC handle, Field field, T value, T failure) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc) return failure;
  T& slot = dc->state.*field;
  const T previous = slot;
  slot = value;
  return previous;
}

template <class T, class Field>
T read(HDC handle, Field field, T failure) {
  const DeviceContext* dc = dcFromHandle(handle);
  return dc ? dc->state.*field : failure;
}

}  // namespace

int SaveDC(HDC handle) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc || dc->savedStates.size() >= kMaxSavedStates) return 0;
  dc->savedStates.push_back(dc->state);
  return static_cast<int>(dc->savedStates.size());
}

BOOL RestoreDC(HDC handle, int level) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc || level == 0) return FALSE;
  const int depth = static_cast<int>(dc->savedStates.size());
  const int target = level < 0 ? depth + level + 1 : level;
  if (target < 1 || target > depth) return FALSE;
  DcState restored = std::move(dc->savedStates[static_cast<std::size_t>(target - 1)]);
  dc->savedStates.resize(static_cast<std::size_t>(target - 1));
  adoptState(*dc, std::move(restored));
  return TRUE;
}

COLORREF SetBkColor(HDC dc, COLORREF color) { return exchange(dc, &DcState::bkColor, color, CLR_INVALID); }
COLORREF GetBkColor(HDC dc) { return read(dc, &DcState::bkColor, CLR_INVALID); }
COLORREF SetTextColor(HDC dc, COLORREF color) { return exchange(dc, &DcState::textColor, color, CLR_INVALID); }
COLORREF GetTextColor(HDC dc) { return read(dc, &DcState::textColor, CLR_INVALID); }

int SetBkMode(HDC dc, int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  return exchange(dc, &DcState::bkMode, mode, 0);
}
int GetBkMode(HDC dc) { return read(dc, &DcState::bkMode, 0); }

UINT SetTextAlign(HDC dc, UINT align) { return exchange(dc, &DcState::textAlign, align, GDI_ERROR); }
UINT GetTextAlign(HDC dc) { return read(dc, &DcState::textAlign, GDI_ERROR); }

int SetROP2(HDC dc, int rop2) {
  if (rop2 < R2_BLACK || rop2 > R2_WHITE) return 0;
  return exchange(dc, &DcState::rop2, rop2, 0);
}
int GetROP2(HDC dc) { return read(dc, &DcState::rop2, 0); }

int SetStretchBltMode(HDC dc, int mode) {
  if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
  return exchange(dc, &DcState::stretchMode, mode, 0);
}
int GetStretchBltMode(HDC dc) { return read(dc, &DcState::stretchMode, 0); }

int SetPolyFillMode(HDC dc, int mode) {
  if (mode != ALTERNATE && mode != WINDING) return 0;
  return exchange(dc, &DcState::polyFillMode, mode, 0);
}
int GetPolyFillMode(HDC dc) { return read(dc, &DcState::polyFillMode, 0); }

BOOL SetTextJustification(HDC handle, int breakExtra, int breakCount) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc || breakCount < 0) return FALSE;
  dc->state.breakExtra = breakCount == 0 ? 0 : breakExtra;
  dc->state.breakCount = breakCount;
  dc->state.breaksUsed = 0;
  return TRUE;
}

int SetTextCharacterExtra(HDC dc, int charExtra) {
  return exchange(dc, &DcState::charExtra, charExtra, static_cast<int>(0x80000000u));
}
int GetTextCharacterExtra(HDC dc) { return read(dc, &DcState::charExtra, static_cast<int>(0x80000000u)); }

BOOL GetCurrentPositionEx(HDC handle, POINT* position) {
  const DeviceContext* dc = dcFromHandle(handle);
  if (!dc || !position) return FALSE;
  *position = dc->state.currentPosition;
  return TRUE;
}

int breakExtraFor(const DcState& state, int breakIndex) {
  if (state.breakCount <= 0 || breakIndex < 0 || breakIndex >= state.breakCount - state.breaksUsed) return 0;
  breakIndex += state.breaksUsed;
  const int each = state.breakExtra / state.breakCount;
  const int remainder = std::abs(state.breakExtra % state.breakCount);
  const int sign = state.breakExtra < 0 ? -1 : 1;
  return each + (breakIndex < remainder ? sign : 0);
}

}  // namespace win
