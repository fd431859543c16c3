#include "engine/text/LineBreaking.h"

#include "engine/text/WhiteSpace.h"

namespace engine {
namespace {

char16_t CharAt(const BreakText& t, int i) { return t.Text[i]; }
char FlagAt(const BreakText& t, int i) { return t.Flags[i]; }

bool IsPlaceholder(char16_t ch) { return ch == kControlChar || ch == kImageChar; }

// A wide-script character that is not the first half of a pair: the line may end after it.
bool EndsWideCharacter(const BreakText& t, int i) {
  const char16_t ch = CharAt(t, i);
  if (!IsWideScript(ch)) return false;
  return !(IsHighSurrogate(ch) && i + 1 < t.Len && IsLowSurrogate(CharAt(t, i + 1)));
}

// A wide-script character follows i, and it does not continue a pair.
bool PrecedesWideCharacter(const BreakText& t, int i) {
  return i + 1 < t.Len && IsWideScript(CharAt(t, i + 1)) && !IsLowSurrogate(CharAt(t, i + 1));
}

int TakeSpaces(const BreakText& t, int end) {
  while (end < t.Len && CharAt(t, end) == kSpaceChar) ++end;
  return end;
}

// Searching back from last to start for a place after which the line may end.
int BackwardBreak(const BreakText& t, int start, int last) {
  for (int c = last; c >= start; --c) {
    const char flag = FlagAt(t, c);
    if (flag == kBreakNo) continue;
    const char16_t ch = CharAt(t, c);
    const bool candidate = IsPlaceholder(ch) || ch == kSpaceChar || ch == u'-' || ch == u'?' ||
                           EndsWideCharacter(t, c) || PrecedesWideCharacter(t, c) || flag == kBreakAfter ||
                           flag == kBreakSoftHyphen;
    if (!candidate) continue;
    if (c > start || IsPlaceholder(ch)) return c;
    return -1;
  }
  return -1;
}

// The end of an overlong word: the first place from last on after which a break is allowed.
int ForwardBreak(const BreakText& t, int last) {
  for (int c = last; c < t.Len; ++c) {
    if (FlagAt(t, c + 1) == kBreakNo && c + 1 < t.Len) continue;
    const char16_t ch = CharAt(t, c);
    if (c == t.Len - 1 || ch == u'-' || ch == u'?' || FlagAt(t, c) == kBreakAfter ||
        FlagAt(t, c) == kBreakSoftHyphen)
      return c;
    const char16_t next = CharAt(t, c + 1);
    if (IsPlaceholder(next) || next == kBreakChar || next == kSpaceChar ||
        (IsWideScript(next) && !IsLowSurrogate(next)))
      return c;
  }
  return t.Len - 1;
}

}  // namespace

int WholeCharacters(const BreakText& t, int start, int count) {
  const int end = start + count;
  if (count <= 0 || end >= t.Len || !IsLowSurrogate(CharAt(t, end))) return count;
  return count > 1 ? count - 1 : count + 1;
}

int ChooseLineBreak(const BreakText& t, int start, int fitted, bool& overlong) {
  overlong = false;
  if (fitted < 1) fitted = 1;
  if (start + fitted >= t.Len) return t.Len - start;
  const int last = start + fitted - 1;
  const int next = last + 1;
  const char16_t l = CharAt(t, last);
  const char16_t n = CharAt(t, next);
  if (l == kBreakChar ||
      (FlagAt(t, last) != kBreakNo && (IsPlaceholder(l) || l == kSpaceChar || EndsWideCharacter(t, last))))
    return TakeSpaces(t, next) - start;
  if (n == kSpaceChar && FlagAt(t, next) != kBreakNo) return TakeSpaces(t, next + 1) - start;
  if (IsPlaceholder(n) && FlagAt(t, last) != kBreakNo) return fitted;
  const int c = BackwardBreak(t, start, last);
  if (c >= 0) return TakeSpaces(t, c + 1) - start;
  if (t.BreakWord) return WholeCharacters(t, start, fitted);
  overlong = true;
  int end = TakeSpaces(t, ForwardBreak(t, last) + 1);
  if (end < t.Len && CharAt(t, end) == kBreakChar) ++end;
  return end - start;
}

int TrimmedLength(const BreakText& t, int start, int count) {
  int end = start + count;
  while (end > start && (CharAt(t, end - 1) == kSpaceChar || CharAt(t, end - 1) == kBreakChar)) --end;
  return end - start;
}

}  // namespace engine
