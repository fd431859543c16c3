#pragma once
// Text on the clipboard as UTF-16, for the controls' copy, cut and paste.
#include <string>

#include "platform/win/Types.h"

namespace gui {

// Replaces the clipboard's contents with Text; false when the clipboard is
// busy or memory runs out.
bool SetClipboardText(win::HWND Owner, const std::u16string& Text);
// The clipboard's text up to its first NUL ("" when there is none).
std::u16string GetClipboardText(win::HWND Owner);

}  // namespace gui
