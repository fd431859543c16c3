#include "platform/win/user/Clipboard.h"

#include <cstring>
#include <map>
#include <string>

#include "platform/win/kernel/CodePages.h"
#include "platform/win/kernel/LastError.h"
#include "platform/win/kernel/Memory.h"

namespace win {
namespace {

struct ClipboardState {
  bool open = false;
  HWND owner = 0;
  std::map<UINT, HGLOBAL> formats;
};

ClipboardState& clipboard() {
  // Never freed: windows held in static objects may be destroyed after it.
  static auto* state = new ClipboardState();
  return *state;
}

HGLOBAL blockWith(const void* bytes, std::size_t size) {
  const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!block) return 0;
  std::memcpy(GlobalLock(block), bytes, size);
  GlobalUnlock(block);
  return block;
}

// The text in a block up to its first zero (or its end).
template <typename Char>
std::basic_string<Char> textOf(HGLOBAL block) {
  const auto* chars = static_cast<const Char*>(GlobalLock(block));
  std::basic_string<Char> text;
  if (chars) {
    const std::size_t count = GlobalSize(block) / sizeof(Char);
    std::size_t length = 0;
    while (length < count && chars[length] != 0) ++length;
    text.assign(chars, length);
    GlobalUnlock(block);
  }
  return text;
}

// Makes the missing text format from the other one.
HGLOBAL synthesize(UINT format) {
  auto& formats = clipboard().formats;
  if (format == CF_TEXT && formats.count(CF_UNICODETEXT)) {
    const std::string text = wideToMultiByte(CP_ACP, textOf<char16_t>(formats[CF_UNICODETEXT]));
    return blockWith(text.c_str(), text.size() + 1);
  }
  if (format == CF_UNICODETEXT && formats.count(CF_TEXT)) {
    const std::u16string text = multiByteToWide(CP_ACP, textOf<char>(formats[CF_TEXT]));
    return blockWith(text.c_str(), (text.size() + 1) * sizeof(char16_t));
  }
  return 0;
}

bool requireOpen() {
  if (clipboard().open) return true;
  SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
  return false;
}

}  // namespace

BOOL OpenClipboard(HWND owner) {
  if (clipboard().open) return FALSE;
  clipboard().open = true;
  clipboard().owner = owner;
  return TRUE;
}

BOOL CloseClipboard() {
  if (!requireOpen()) return FALSE;
  clipboard().open = false;
  return TRUE;
}

BOOL EmptyClipboard() {
  if (!requireOpen()) return FALSE;
  for (const auto& [format, block] : clipboard().formats) GlobalFree(block);
  clipboard().formats.clear();
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE memory) {
  if (!requireOpen()) return 0;
  if (GlobalLock(memory) == nullptr) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  GlobalUnlock(memory);
  auto& formats = clipboard().formats;
  auto existing = formats.find(format);
  if (existing != formats.end() && existing->second != memory) GlobalFree(existing->second);
  formats[format] = memory;
  return memory;
}

HANDLE GetClipboardData(UINT format) {
  if (!requireOpen()) return 0;
  auto& formats = clipboard().formats;
  auto found = formats.find(format);
  if (found != formats.end()) return found->second;
  const HGLOBAL made = synthesize(format);
  if (made) formats[format] = made;
  return made;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  const auto& formats = clipboard().formats;
  if (formats.count(format)) return TRUE;
  const bool textFormat = format == CF_TEXT || format == CF_UNICODETEXT;
  return textFormat && (formats.count(CF_TEXT) || formats.count(CF_UNICODETEXT)) ? TRUE : FALSE;
}

int CountClipboardFormats() { return static_cast<int>(clipboard().formats.size()); }

void resetClipboard() {
  for (const auto& [format, block] : clipboard().formats) GlobalFree(block);
  clipboard() = ClipboardState{};
}

}  // namespace win
