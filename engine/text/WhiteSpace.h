#pragma once
// White-space collapsing of a finished text section, done in linear passes
// over the characters, their break flags and their source positions. The
// result says where every old position went, so that font runs, images and
// controls can be moved in one sweep.
#include <functional>
#include <string>
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
using PositionMap = std::vector<int>;

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

}  // namespace engine
