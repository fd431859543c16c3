#include "platform/gui/ClipboardText.h"

#include <cstring>

#include "platform/win/kernel/Memory.h"
#include "platform/win/user/Clipboard.h"

namespace gui {

bool SetClipboardText(win::HWND Owner, const std::u16string& Text) {
  if (!win::OpenClipboard(Owner)) return false;
  win::EmptyClipboard();
  const std::size_t bytes = (Text.size() + 1) * sizeof(char16_t);
  const win::HGLOBAL block = win::GlobalAlloc(win::GHND, bytes);
  bool stored = false;
  if (block) {
    if (void* memory = win::GlobalLock(block)) {
      std::memcpy(memory, Text.c_str(), bytes);
      win::GlobalUnlock(block);
      stored = win::SetClipboardData(win::CF_UNICODETEXT, block) != 0;
    }
    if (!stored) win::GlobalFree(block);
  }
  win::CloseClipboard();
  return stored;
}

std::u16string GetClipboardText(win::HWND Owner) {
  if (!win::OpenClipboard(Owner)) return {};
  std::u16string text;
  if (const win::HANDLE block = win::GetClipboardData(win::CF_UNICODETEXT)) {
    const std::size_t units = win::GlobalSize(block) / sizeof(char16_t);
    if (const auto* memory = static_cast<const char16_t*>(win::GlobalLock(block))) {
      std::size_t length = 0;
      while (length < units && memory[length] != 0) ++length;
      text.assign(memory, length);
      win::GlobalUnlock(block);
    }
  }
  win::CloseClipboard();
  return text;
}

}  // namespace gui
