#pragma once
// What a WM_CHAR types once the control's key-press handling has seen it.
// OnKeyPress works on ANSI characters: it sees "?" for a character outside
// the ANSI code page, and may change the key or swallow it (#0).
#include <functional>

namespace gui {

// The UTF-16 character to type: Character itself when the handler left the
// key alone, the handler's replacement otherwise, 0 when it was swallowed.
char16_t TypedCharacter(char16_t Character, const std::function<void(char& Key)>& KeyPress);

}  // namespace gui
