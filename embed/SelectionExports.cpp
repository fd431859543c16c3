// The exported functions over the viewer of the frame "part1" (or the
// active viewer): the caret, the selection and its text, the clipboard, the
// word at the caret, the focus and paging keys.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <string>

#include "embed/EmbedState.h"
#include "embed/ExportGuard.h"
#include "embed/ExportText.h"
#include "embed/TBrowserEnvelope.h"
#include "embed/include/pagewell.h"
#include "platform/win/kernel/CodePages.h"
#include "platform/win/kernel/Memory.h"
#include "platform/win/user/Clipboard.h"
#include "platform/win/user/Focus.h"
#include "platform/win/user/Input.h"
#include "platform/win/user/MessageQueue.h"
#include "platform/win/user/Windows.h"

using namespace embed;

namespace {

// A selection length standing for the rest of the document.
constexpr int kToTheEnd = 0x7FFFFFF;
constexpr int kWordScan = 10;
constexpr std::size_t kWordBytes = 31;

viewer::THTMLViewer* ViewerOf(PW_HWND Handle) {
  const int slot = GetEnvelopeIndex(Handle);
  return slot < 0 ? nullptr : GetEnvelopeViewer(*Envelope(slot), "part1");
}

std::string SelectedText(viewer::THTMLViewer& View) {
  std::string text = win::wideToMultiByte(win::CP_ACP, View.GetSelectionText());
  std::replace(text.begin(), text.end(), '\xA0', ' ');
  return text;
}

bool IsAsciiLetterOrDigit(char C) {
  return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || (C >= '0' && C <= '9');
}

// Whether the character at Position reads as an ASCII letter or digit.
bool WordCharacterAt(viewer::THTMLViewer& View, int Position) {
  View.SetSelectionStart(Position);
  View.SetSelectionLength(1);
  const std::string text = win::wideToMultiByte(win::CP_ACP, View.GetSelectionText());
  return !text.empty() && IsAsciiLetterOrDigit(text.front());
}

// Up to 10 characters from the caret leftwards (position 0 included) and up
// to 10 from it rightwards; the caret's own character counts in both.
char* WordAtCaret(viewer::THTMLViewer& View, int Caret) {
  int left = 0;
  while (left <= Caret && left < kWordScan && WordCharacterAt(View, Caret - left)) ++left;
  int right = 0;
  while (right < kWordScan && Caret <= INT_MAX - right && WordCharacterAt(View, Caret + right)) ++right;
  if (left + right == 0) return nullptr;
  View.SetSelectionStart(Caret - left + 1);
  View.SetSelectionLength(left + right - 1);
  std::string word = SelectedText(View);
  const std::size_t first = word.find_first_not_of(" \t\r\n");
  word = first == std::string::npos ? std::string() : word.substr(first, word.find_last_not_of(" \t\r\n") + 1 - first);
  return NewText(word.substr(0, kWordBytes - 1));
}

// Puts the text on the clipboard as CF_TEXT; the block is freed on every failure.
void copyFormatToClipBoard(const char* Text) {
  if (!win::OpenClipboard(0)) {
    ShowWarningBox("Error in copyFormatToClipBoard", "Error");
    return;
  }
  const std::size_t size = std::strlen(Text) + 1;
  win::EmptyClipboard();
  const win::HGLOBAL block = win::GlobalAlloc(win::GMEM_MOVEABLE | win::GMEM_DDESHARE, size);
  void* memory = block ? win::GlobalLock(block) : nullptr;
  bool placed = false;
  if (memory) {
    std::memcpy(memory, Text, size);
    win::GlobalUnlock(block);
    placed = win::SetClipboardData(win::CF_TEXT, block) != 0;
  }
  if (!placed) {
    if (block) win::GlobalFree(block);
    ShowWarningBox("Error in copyFormatToClipBoard", "Error");
  }
  win::CloseClipboard();
}

void PostKey(PW_HWND Envelope, int Key, const char* Name) {
  if (Envelope == 0) return;
  viewer::THTMLViewer* view = ViewerOf(Envelope);
  if (!view) return;
  TExportScope scope;
  GuardedVoid(Name, [&] { win::PostMessageW(view->Handle(), win::WM_KEYDOWN, static_cast<win::WPARAM>(Key), 0); });
}

}  // namespace

extern "C" {

PAGEWELL_API int _GetPosition(PW_HWND envelope, int* position) {
  if (envelope == 0) {
    if (position) *position = 0;
    return 0;
  }
  viewer::THTMLViewer* view = ViewerOf(envelope);
  if (!view || !position) return 0;
  TExportScope scope;
  return Guarded("GetPosition", 0, [&] {
    *position = view->CaretPosition();
    return 1;
  });
}

PAGEWELL_API int _SetPosition(PW_HWND envelope, int position) {
  viewer::THTMLViewer* view = envelope ? ViewerOf(envelope) : nullptr;
  if (!view) return 0;
  TExportScope scope;
  return Guarded("SetPosition", 0, [&] {
    view->SetCaretPosition(position);
    return 1;
  });
}

// Selects from the position to the end of the document; nothing is deleted.
PAGEWELL_API int _DeleteToEnd(PW_HWND envelope, int position) {
  viewer::THTMLViewer* view = envelope ? ViewerOf(envelope) : nullptr;
  if (!view) return 0;
  TExportScope scope;
  return Guarded("DeleteToEnd", 0, [&] {
    view->SetCaretPosition(position);
    view->SetSelectionLength(kToTheEnd);
    return 1;
  });
}

// The arithmetic is done in 64 bits and held inside the document's positions.
PAGEWELL_API int _SelectRangeText(PW_HWND envelope, int from, int to) {
  viewer::THTMLViewer* view = envelope ? ViewerOf(envelope) : nullptr;
  if (!view) return 0;
  TExportScope scope;
  return Guarded("SelectRangeText", 0, [&] {
    const int start = std::max(0, from);
    view->SetSelectionLength(0);
    view->SetSelectionStart(start);
    std::int64_t length = 0;
    if (to == -1) length = kToTheEnd;
    else if (to != from) length = std::max<std::int64_t>(std::int64_t{to} - from, -std::int64_t{start});
    view->SetSelectionLength(static_cast<int>(std::clamp<std::int64_t>(length, INT_MIN, INT_MAX)));
    return 0;
  });
}

PAGEWELL_API char* _GetSelectedText(PW_HWND envelope) {
  if (envelope == 0) return NewText("");
  viewer::THTMLViewer* view = ViewerOf(envelope);
  if (!view) return nullptr;
  TExportScope scope;
  return Guarded("GetSelectedText", static_cast<char*>(nullptr), [&] { return NewText(SelectedText(*view)); });
}

PAGEWELL_API void _CopySelectedText(PW_HWND envelope) {
  if (envelope == 0 || GetEnvelopeIndex(envelope) < 0) return;
  TExportScope scope;
  GuardedVoid("CopySelectedText", [&] {
    std::unique_ptr<char[]> text(_GetSelectedText(envelope));
    if (text) copyFormatToClipBoard(text.get());
  });
}

PAGEWELL_API int _CanCopy(PW_HWND envelope) {
  viewer::THTMLViewer* view = envelope ? ViewerOf(envelope) : nullptr;
  if (!view) return 0;
  TExportScope scope;
  return Guarded("CanCopy", 0, [&] { return view->GetSelectionLength() != 0 ? 1 : 0; });
}

PAGEWELL_API char* _GetCurrentWord(PW_HWND envelope) {
  if (envelope == 0) return NewText("");
  viewer::THTMLViewer* view = ViewerOf(envelope);
  if (!view) return nullptr;
  TExportScope scope;
  return Guarded("GetCurrentWord(outer)", static_cast<char*>(nullptr), [&] {
    const int caret = view->CaretPosition();
    const int length = view->GetSelectionLength();
    char* word = Guarded("GetCurrentWord(inner)", static_cast<char*>(nullptr),
                         [&] { return WordAtCaret(*view, caret); });
    try {
      view->SetSelectionStart(caret);
      view->SetSelectionLength(length);
    } catch (...) {
      delete[] word;
      throw;
    }
    return word;
  });
}

PAGEWELL_API int _HasFocus(PW_HWND envelope) {
  if (envelope == 0 || GetEnvelopeIndex(envelope) < 0) return 0;
  TExportScope scope;
  return Guarded("HasFocus", 0, [&] {
    for (win::HWND window = win::GetFocus(); window != 0; window = win::GetParent(window))
      if (window == envelope) return 1;
    return 0;
  });
}

PAGEWELL_API void _PriorKey(PW_HWND envelope) { PostKey(envelope, win::VK_PRIOR, "PriorKey"); }
PAGEWELL_API void _NextKey(PW_HWND envelope) { PostKey(envelope, win::VK_NEXT, "NextKey"); }

}  // extern "C"
