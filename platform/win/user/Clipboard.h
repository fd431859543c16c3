#pragma once
// An in-process clipboard of CF_TEXT and CF_UNICODETEXT held in global
// memory blocks. The text formats stand in for each other: asking for the
// one that is missing converts the other (through the ANSI code page).
#include "platform/win/Types.h"

namespace win {

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_UNICODETEXT = 13;

// FALSE when the clipboard is already open.
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
// Frees every format's memory; the clipboard must be open.
BOOL EmptyClipboard();
// The clipboard takes over the block (freeing one it held for the format).
// Returns the block, 0 when the clipboard is not open or the block is bad.
HANDLE SetClipboardData(UINT format, HANDLE memory);
// The block for the format (the clipboard keeps it); 0 when absent or closed.
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
int CountClipboardFormats();

void resetClipboard();

}  // namespace win
