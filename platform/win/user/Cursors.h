#pragma once
// Cursors as state that tests read: the system cursors, cursors made from
// AND/XOR masks, the current cursor and the show count. Nothing is shown.
#include <string>
#include <vector>

#include "platform/win/Types.h"

namespace win {

constexpr WORD IDC_ARROW = 32512;
constexpr WORD IDC_IBEAM = 32513;
constexpr WORD IDC_WAIT = 32514;
constexpr WORD IDC_CROSS = 32515;
constexpr WORD IDC_UPARROW = 32516;
constexpr WORD IDC_SIZENWSE = 32642;
constexpr WORD IDC_SIZENESW = 32643;
constexpr WORD IDC_SIZEWE = 32644;
constexpr WORD IDC_SIZENS = 32645;
constexpr WORD IDC_SIZEALL = 32646;
constexpr WORD IDC_NO = 32648;
constexpr WORD IDC_HAND = 32649;
constexpr WORD IDC_APPSTARTING = 32650;
constexpr WORD IDC_HELP = 32651;

struct CursorObject {
  WORD systemId = 0;  // IDC_* for system cursors, else 0
  int width = 0;
  int height = 0;
  POINT hotSpot;
  std::vector<BYTE> andMask;  // rows padded to 16 bits, as CreateCursor takes them
  std::vector<BYTE> xorMask;
};

// The system cursor (instance 0) or a cursor registered for the module under
// the resource number or name; 0 when there is none. System cursors are
// shared: the same handle each time.
HCURSOR LoadCursorW(HINSTANCE instance, WORD resourceId);
HCURSOR LoadCursorW(HINSTANCE instance, const WCHAR* name);
HCURSOR LoadCursorA(HINSTANCE instance, WORD resourceId);
HCURSOR LoadCursorA(HINSTANCE instance, const char* name);
// Makes a cursor resource of a module loadable by number ("#1003") or name.
void registerCursorResource(HINSTANCE instance, const std::string& name, HCURSOR cursor);

// A width x height cursor (1..256 each) from monochrome masks whose rows are
// padded to 16 bits. 0 for bad sizes or missing masks.
HCURSOR CreateCursor(HINSTANCE instance, int hotX, int hotY, int width, int height, const void* andPlane,
                     const void* xorPlane);
// System cursors are never destroyed.
BOOL DestroyCursor(HCURSOR cursor);
const CursorObject* cursorFromHandle(HCURSOR cursor);

// Returns the previous cursor.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
// Adds 1 (show) or -1 to the display count and returns the new count; the
// cursor would be shown while the count is 0 or more.
int ShowCursor(BOOL show);

void resetCursors();

}  // namespace win
