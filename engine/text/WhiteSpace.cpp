#include "engine/text/WhiteSpace.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <numeric>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace engine {
namespace {

// The characters being collapsed, each with the old position it came from.
// Every rule is one pass that keeps some characters and drops the others.
class Stream {
 public:
  explicit Stream(SectionChars& chars) : chars_(chars) {
    origin_.reserve(chars.Text.size() + 1);  // room for the closing space
    origin_.resize(chars.Text.size());
    std::iota(origin_.begin(), origin_.end(), 0);
  }

  std::size_t Size() const { return chars_.Text.size(); }
  char16_t At(std::size_t i) const { return chars_.Text[i]; }
  char& FlagAt(std::size_t i) { return chars_.Flags[i]; }
  int OriginAt(std::size_t i) const { return origin_[i]; }

  // Keeps the characters for which keep(i) is true, in order. keep may look at
  // the characters kept so far through LastKept.
  template <class Keep>
  void Filter(Keep&& keep) {
    kept_ = 0;
    for (std::size_t i = 0; i < Size(); ++i) {
      if (!keep(i)) continue;
      MoveTo(i, kept_++);
    }
    Truncate(kept_);
  }
  std::size_t KeptCount() const { return kept_; }
  // Index among the kept characters of the last one kept so far.
  std::size_t LastKept() const { return kept_ - 1; }
  // Drops the last kept character, so that the next kept one takes its place.
  void DropLastKept() { --kept_; }

  void Truncate(std::size_t size) {
    chars_.Text.resize(size);
    chars_.Flags.resize(size);
    chars_.SourcePositions.resize(size);
    origin_.resize(size);
  }
  void Append(char16_t ch, char flag, int sourcePos) {
    chars_.Text.push_back(ch);
    chars_.Flags.push_back(flag);
    chars_.SourcePositions.push_back(sourcePos);
    origin_.push_back(-1);
  }

  PositionMap Map(std::size_t oldLength) const {
    std::vector<int> map(oldLength + 1, 0);
    // Characters before the first one dropped kept their places; usually that
    // is all of them but the last.
    std::size_t same = 0;
    while (same < origin_.size() && origin_[same] == static_cast<int>(same)) ++same;
    std::iota(map.begin(), map.begin() + static_cast<std::ptrdiff_t>(same), 0);
    std::size_t next = same;
    for (std::size_t i = same; i < origin_.size(); ++i) {
      if (origin_[i] < 0) continue;
      const auto old = static_cast<std::size_t>(origin_[i]);
      for (; next <= old; ++next) map[next] = static_cast<int>(i);
    }
    const int survivors = static_cast<int>(origin_.size()) - (origin_.empty() || origin_.back() >= 0 ? 0 : 1);
    for (; next <= oldLength; ++next) map[next] = survivors;
    return PositionMap(std::move(map));
  }

 private:
  void MoveTo(std::size_t from, std::size_t to) {
    if (from == to) return;
    chars_.Text[to] = chars_.Text[from];
    chars_.Flags[to] = chars_.Flags[from];
    chars_.SourcePositions[to] = chars_.SourcePositions[from];
    origin_[to] = origin_[from];
  }

  SectionChars& chars_;
  std::vector<int> origin_;
  std::size_t kept_ = 0;
};

// Which characters the rules act on occur in the section at all. A rule with
// nothing to act on keeps every character, so its pass can be left out; most
// sections hold no soft hyphen, image, break or double space.
struct Occurrences {
  bool softHyphen = false;
  bool image = false;
  bool breakChar = false;
  bool adjacentSpaces = false;
};

Occurrences FindOccurrences(const std::u16string& text) {
  // Accumulated without branches on the characters, which vary too much for
  // branches to be predicted well.
  bool softHyphen = false, image = false, breakChar = false, adjacentSpaces = false;
  bool previousSpace = false;
  for (const char16_t ch : text) {
    const bool space = ch == kSpaceChar;
    adjacentSpaces |= space & previousSpace;
    softHyphen |= ch == kSoftHyphen;
    image |= ch == kImageChar;
    breakChar |= ch == kBreakChar;
    previousSpace = space;
  }
  return Occurrences{softHyphen, image, breakChar, adjacentSpaces};
}

void DropLeadingSpaces(Stream& s) {
  bool leading = true;
  s.Filter([&](std::size_t i) {
    if (leading && s.At(i) == kSpaceChar) return false;
    leading = false;
    return true;
  });
}

void DropSoftHyphens(Stream& s) {
  s.Filter([&](std::size_t i) {
    if (s.At(i) != kSoftHyphen) return true;
    if (s.KeptCount() > 0 && s.FlagAt(s.LastKept()) != kBreakNo) s.FlagAt(s.LastKept()) = kBreakSoftHyphen;
    return false;
  });
}

// Of two neighbouring spaces the second goes, unless the first is 'n': then
// the first goes and the second is compared with what follows.
void MergeSpaces(Stream& s) {
  s.Filter([&](std::size_t i) {
    if (s.At(i) != kSpaceChar || s.KeptCount() == 0 || s.At(s.LastKept()) != kSpaceChar) return true;
    if (s.FlagAt(s.LastKept()) != kBreakNo) return false;
    s.DropLastKept();
    return true;
  });
}

void DropSpacesAfterFloats(Stream& s, const std::function<bool(int)>& floatsAt) {
  s.Filter([&](std::size_t i) {
    if (s.At(i) != kSpaceChar || s.KeptCount() == 0 || s.At(s.LastKept()) != kImageChar) return true;
    const int origin = s.OriginAt(s.LastKept());
    return !(origin >= 0 && floatsAt && floatsAt(origin));
  });
}

void DropSpacesAroundBreaks(Stream& s) {
  const std::size_t size = s.Size();
  s.Filter([&](std::size_t i) {
    if (s.At(i) != kSpaceChar) return true;
    const bool beforeBreak = i + 1 < size && s.At(i + 1) == kBreakChar;
    const bool afterBreak = i > 0 && s.At(i - 1) == kBreakChar;
    return !beforeBreak && !afterBreak;
  });
}

// True when text[0, count) holds no soft hyphen, image or break and no two
// neighbouring spaces: the rules between the ends then keep every character.
bool NothingBetweenTheEnds(const char16_t* text, std::size_t count) {
  std::size_t i = 0;
  bool found = false;
  bool previousSpace = false;
#if defined(__SSE2__)
  // Eight characters at a time, without branches on them.
  const __m128i space = _mm_set1_epi16(static_cast<short>(kSpaceChar));
  const __m128i image = _mm_set1_epi16(static_cast<short>(kImageChar));
  const __m128i lineBreak = _mm_set1_epi16(static_cast<short>(kBreakChar));
  const __m128i softHyphen = _mm_set1_epi16(static_cast<short>(kSoftHyphen));
  __m128i hits = _mm_setzero_si128();
  __m128i spaceBefore = _mm_setzero_si128();  // lane 0: the last character of the block before was a space
  for (; i + 8 <= count; i += 8) {
    const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
    const __m128i spaces = _mm_cmpeq_epi16(chars, space);
    hits = _mm_or_si128(hits, _mm_and_si128(spaces, _mm_or_si128(_mm_slli_si128(spaces, 2), spaceBefore)));
    hits = _mm_or_si128(hits, _mm_cmpeq_epi16(chars, image));
    hits = _mm_or_si128(hits, _mm_cmpeq_epi16(chars, lineBreak));
    hits = _mm_or_si128(hits, _mm_cmpeq_epi16(chars, softHyphen));
    spaceBefore = _mm_srli_si128(spaces, 14);
  }
  found = _mm_movemask_epi8(hits) != 0;
  previousSpace = i > 0 && text[i - 1] == kSpaceChar;
#endif
  for (; i < count; ++i) {
    const char16_t ch = text[i];
    const bool space = ch == kSpaceChar;
    found |= (space & previousSpace) | (ch == kImageChar) | (ch == kBreakChar) | (ch == kSoftHyphen);
    previousSpace = space;
  }
  return !found;
}

// The collapse when only the ends change: leading spaces go, then a trailing
// break and a trailing space, and the closing space is added. A break that
// ends the text may follow a space: the general rules drop that space as next
// to a break, and here it goes as the trailing space once the break has gone.
PositionMap CollapseEnds(SectionChars& chars, std::size_t leading, int endSourcePos) {
  const std::size_t oldLength = chars.Text.size();
  const auto drop = static_cast<std::ptrdiff_t>(leading);
  chars.Text.erase(0, leading);
  chars.Flags.erase(0, leading);
  chars.SourcePositions.erase(chars.SourcePositions.begin(), chars.SourcePositions.begin() + drop);
  std::size_t size = chars.Text.size();
  if (size > 1 && chars.Text[size - 1] == kBreakChar) --size;
  if (size > 1 && chars.Text[size - 1] == kSpaceChar) --size;
  chars.Text.resize(size);
  chars.Flags.resize(size);
  chars.SourcePositions.resize(size);
  const bool loneBreak = size == 1 && chars.Text[0] == kBreakChar;
  if (!loneBreak && size > 0 && chars.Text.back() != kSpaceChar) {
    chars.Text.push_back(kSpaceChar);
    chars.Flags.push_back(kBreakYes);
    chars.SourcePositions.push_back(endSourcePos);
  }
  return PositionMap::Shift(oldLength, static_cast<int>(leading), static_cast<int>(size));
}

}  // namespace

PositionMap PositionMap::Shift(std::size_t oldLength, int leading, int survivors) {
  PositionMap map;
  map.shift_ = true;
  map.oldLength_ = oldLength;
  map.leading_ = leading;
  map.survivors_ = survivors;
  return map;
}

int LongestStretchBetweenBreakableSpaces(const char16_t* text, const char* flags, std::size_t count) {
  std::size_t longest = 0;
  std::size_t start = 0;  // the first character after the last breakable space
  const auto breakableSpaceAt = [&](std::size_t at) {
    longest = std::max(longest, at - start);
    start = at + 1;
  };
  std::size_t i = 0;
#if defined(__SSE2__)
  // Eight characters at a time; only the breakable spaces among them are visited.
  const __m128i space = _mm_set1_epi16(static_cast<short>(kSpaceChar));
  const __m128i breakYes = _mm_set1_epi16(static_cast<short>(kBreakYes));
  for (; i + 8 <= count; i += 8) {
    const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
    const __m128i letters =
        _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(flags + i)), _mm_setzero_si128());
    // Two mask bits per character.
    auto mask = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi16(chars, space), _mm_cmpeq_epi16(letters, breakYes))));
    while (mask != 0) {
      breakableSpaceAt(i + static_cast<std::size_t>(std::countr_zero(mask)) / 2);
      mask &= mask - 1;
      mask &= mask - 1;
    }
  }
#endif
  for (; i < count; ++i)
    if (text[i] == kSpaceChar && flags[i] == kBreakYes) breakableSpaceAt(i);
  return static_cast<int>(std::max(longest, count - start));
}

PositionMap CollapseSectionWhiteSpace(SectionChars& chars, const std::function<bool(int)>& floatsAt,
                                      int endSourcePos) {
  const std::size_t oldLength = chars.Text.size();
  chars.Flags.resize(oldLength, kBreakYes);
  chars.SourcePositions.resize(oldLength, endSourcePos);
  std::size_t leading = 0;
  while (leading < oldLength && chars.Text[leading] == kSpaceChar) ++leading;
  const bool endsInBreak = oldLength > leading && chars.Text[oldLength - 1] == kBreakChar;
  const std::size_t middle = oldLength - leading - (endsInBreak ? 1 : 0);
  if (NothingBetweenTheEnds(chars.Text.data() + leading, middle)) return CollapseEnds(chars, leading, endSourcePos);

  const Occurrences found = FindOccurrences(chars.Text);
  Stream s(chars);
  if (s.Size() > 0 && s.At(0) == kSpaceChar) DropLeadingSpaces(s);
  if (found.softHyphen) DropSoftHyphens(s);
  // Dropping soft hyphens can bring two spaces together.
  if (found.adjacentSpaces || found.softHyphen) MergeSpaces(s);
  if (found.image) DropSpacesAfterFloats(s, floatsAt);
  if (found.breakChar) DropSpacesAroundBreaks(s);
  if (s.Size() > 1 && s.At(s.Size() - 1) == kBreakChar) s.Truncate(s.Size() - 1);
  if (s.Size() > 1 && s.At(s.Size() - 1) == kSpaceChar) s.Truncate(s.Size() - 1);
  const bool loneBreak = s.Size() == 1 && s.At(0) == kBreakChar;
  if (!loneBreak && s.Size() > 0 && s.At(s.Size() - 1) != kSpaceChar) s.Append(kSpaceChar, kBreakYes, endSourcePos);
  return s.Map(oldLength);
}

}  // namespace engine
