#include "platform/gui/TypedCharacter.h"

#include <string>

#include "platform/win/kernel/CodePages.h"

namespace gui {

char16_t TypedCharacter(char16_t Character, const std::function<void(char& Key)>& KeyPress) {
  const std::string ansi = win::wideToMultiByte(win::CP_ACP, std::u16string(1, Character));
  const char original = ansi.size() == 1 ? ansi[0] : '?';
  char key = original;
  KeyPress(key);
  if (key == 0) return 0;
  if (key == original) return Character;
  const std::u16string changed = win::multiByteToWide(win::CP_ACP, std::string(1, key));
  return changed.empty() ? u'?' : changed[0];
}

}  // namespace gui
