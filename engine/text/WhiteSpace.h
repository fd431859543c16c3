#pragma once
// White-space collapsing of a finished text section, done in linear passes
// over the characters, their break flags and their source positions. The
// result says where every old position went, so that font runs, images and
// controls can be moved in one sweep.
#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace engine {

// Placeholder and control characters of section text.
constexpr char16_t kControlChar = 2;
constexpr char16_t kImageChar = 4;
constexpr char16_t kBreakChar = 8;
constexpr char16_t kSpaceChar = 32;
constexpr char16_t kNoBreakSpace = 160;
constexpr char16_t kSoftHyphen = 0xAD;

// Break flag letters, one per character.
constexpr char kBreakYes = 'y';
constexpr char kBreakNo = 'n';
constexpr char kBreakSoftHyphen = 's';
constexpr char kBreakAfter = 'a';

struct SectionChars {
  std::u16string Text;
  std::string Flags;               // one letter per character of Text
  std::vector<int> SourcePositions;  // one per character of Text
};

// For each old position 0..old length, the new position of the character that
// stood there (or of the next surviving one): the count of survivors before it.
// Most collapses only drop leading spaces and a trailing space or break: the
// map is then old position minus the leading count, held between 0 and the
// survivors, and needs no table.
class PositionMap {
 public:
  // A map given position by position.
  PositionMap(std::vector<int> table) : table_(std::move(table)) {}  // NOLINT: implicit on purpose
  // The map of a collapse that dropped only leading and trailing characters.
  static PositionMap Shift(std::size_t oldLength, int leading, int survivors);

  std::size_t size() const { return shift_ ? oldLength_ + 1 : table_.size(); }
  bool empty() const { return size() == 0; }
  int operator[](std::size_t old) const {
    if (!shift_) return table_[old];
    const int shifted = static_cast<int>(old) - leading_;
    return shifted < 0 ? 0 : shifted > survivors_ ? survivors_ : shifted;
  }

 private:
  PositionMap() = default;

  std::vector<int> table_;  // unused for a shift
  bool shift_ = false;
  std::size_t oldLength_ = 0;
  int leading_ = 0;
  int survivors_ = 0;
};

// Applies the section rules in order: leading spaces go; soft hyphens go,
// marking the character before them 's' unless it is 'n'; of two neighbouring
// spaces one goes (the second unless the first is 'n'); a space after an image
// for which floatsAt(old position) is true goes; spaces next to a forced break
// go; a trailing break and then a trailing space go (unless only one character
// is left); finally a space with endSourcePos is added unless the text is
// empty, a lone break, or already ends in a space. The final 'y' after the last
// character is not added here.
PositionMap CollapseSectionWhiteSpace(SectionChars& chars, const std::function<bool(int)>& floatsAt,
                                      int endSourcePos);

// The most characters that stand between two spaces a line may break at
// (flag 'y'), or between such a space and an end of text[0, count). No piece
// a line may not break is longer. flags holds at least count letters.
int LongestStretchBetweenBreakableSpaces(const char16_t* text, const char* flags, std::size_t count);

}  // namespace engine
