#pragma once
// The engine's own cursors: the link cursor and the three cursors shown while
// the document is scrolled by dragging, registered as resources of the
// library and loaded into the engine's cursor table at start-up.
#include "platform/win/Types.h"

namespace engine {

// Cursor numbers in the cursor table.
constexpr int kLinkCursor = 10101;
constexpr int kUpDownCursor = 10103;
constexpr int kUpOnlyCursor = 10104;
constexpr int kDownOnlyCursor = 10105;

constexpr win::WORD kLinkCursorResource = 1003;
inline constexpr const char* kUpDownCursorName = "UPDOWNCURSOR";
inline constexpr const char* kUpOnlyCursorName = "UPONLYCURSOR";
inline constexpr const char* kDownOnlyCursorName = "DOWNONLYCURSOR";

// Makes the four cursors loadable from the module by number or name.
void RegisterCursorResources(win::HINSTANCE module);
// Loads them from the module into the cursor table and the screen's (start-up).
void LoadEngineCursors(win::HINSTANCE module);
// The cursor of a number in the table; 0 when there is none.
win::HCURSOR EngineCursor(int cursorNumber);
// Empties the table (shutdown).
void ClearEngineCursors();

}  // namespace engine
