// SelTextCount and SelTextBuf: the two selection sinks.
#include "engine/document/SelTextCount.h"

#include "engine/document/SelTextBuf.h"

namespace engine {

namespace {

constexpr char16_t kControlMark = 2;
constexpr char16_t kImageMark = 4;
constexpr char16_t kBreakMark = 8;
constexpr char16_t kLineEnd[] = {u'\r', u'\n'};

}  // namespace

void SelTextCount::Append(const char16_t* P, int Size) {
  if (P == nullptr) return;
  for (int i = 0; i < Size; ++i)
    if (P[i] != kControlMark && P[i] != kImageMark && P[i] != kBreakMark) ++Count;
}

void SelTextCount::AppendLine(const char16_t* P, int Size) {
  Append(P, Size);
  Append(kLineEnd, 2);
}

int SelTextCount::Finish() { return Count; }

SelTextBuf::SelTextBuf(char16_t* buffer, int bufferLength) {
  Buffer = buffer;
  BufferLength = bufferLength;
}

void SelTextBuf::Append(const char16_t* P, int Size) {
  if (P == nullptr || Buffer == nullptr) return;
  for (int i = 0; i < Size && Count < BufferLength - 1; ++i) {
    char16_t ch = P[i];
    if (ch == kControlMark || ch == kImageMark || ch == kBreakMark) continue;
    Buffer[Count++] = ch;
  }
}

int SelTextBuf::Finish() {
  if (Buffer == nullptr || BufferLength < 1) return 0;
  Buffer[Count] = 0;
  return Count + 1;
}

}  // namespace engine
