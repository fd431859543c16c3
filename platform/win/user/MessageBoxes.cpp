#include "platform/win/user/MessageBoxes.h"

#include <cstdio>
#include <mutex>

#include "platform/win/kernel/CodePages.h"

namespace win {
namespace {

struct MessageBoxLog {
  std::mutex mutex;  // boxes may come from any thread
  std::vector<MessageBoxRecord> records;
  std::optional<int> answer;
  bool echo = true;
};

MessageBoxLog& log() {
  // Never freed: windows held in static objects may be destroyed after it.
  static auto* instance = new MessageBoxLog();
  return *instance;
}

// The buttons of each box type, in order.
int defaultAnswer(UINT flags) {
  static constexpr int kButtons[][3] = {
      {IDOK, IDOK, IDOK},          {IDOK, IDCANCEL, IDCANCEL},  {IDABORT, IDRETRY, IDIGNORE},
      {IDYES, IDNO, IDCANCEL},     {IDYES, IDNO, IDNO},         {IDRETRY, IDCANCEL, IDCANCEL}};
  const UINT type = flags & MB_TYPEMASK;
  if (type >= std::size(kButtons)) return IDOK;
  const UINT button = ((flags & MB_DEFMASK) >> 8) % 3;
  return kButtons[type][button];
}

std::u16string textOrEmpty(const WCHAR* text) { return text ? std::u16string(text) : std::u16string(); }

}  // namespace

int MessageBoxW(HWND owner, const WCHAR* text, const WCHAR* caption, UINT flags) {
  MessageBoxRecord record;
  record.owner = owner;
  record.caption = caption ? textOrEmpty(caption) : u"Error";
  record.text = textOrEmpty(text);
  record.flags = flags;
  std::lock_guard lock(log().mutex);
  if (log().echo) {
    const std::string line = wideToMultiByte(CP_UTF8, record.caption) + ": " + wideToMultiByte(CP_UTF8, record.text);
    std::fprintf(stderr, "%s\n", line.c_str());
  }
  log().records.push_back(std::move(record));
  return log().answer ? *log().answer : defaultAnswer(flags);
}

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT flags) {
  const std::u16string wideText = text ? multiByteToWide(CP_ACP, text) : std::u16string();
  const std::u16string wideCaption = caption ? multiByteToWide(CP_ACP, caption) : std::u16string();
  return MessageBoxW(owner, wideText.c_str(), caption ? wideCaption.c_str() : nullptr, flags);
}

std::vector<MessageBoxRecord> messageBoxRecords() {
  std::lock_guard lock(log().mutex);
  return log().records;
}

void clearMessageBoxRecords() {
  std::lock_guard lock(log().mutex);
  log().records.clear();
}

void setMessageBoxAnswer(std::optional<int> answer) {
  std::lock_guard lock(log().mutex);
  log().answer = answer;
}

void setMessageBoxEcho(bool echo) {
  std::lock_guard lock(log().mutex);
  log().echo = echo;
}

void resetMessageBoxes() {
  std::lock_guard lock(log().mutex);
  log().records.clear();
  log().answer.reset();
  log().echo = true;
}

}  // namespace win
