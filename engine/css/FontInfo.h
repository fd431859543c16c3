#pragma once
// Plain descriptions of document fonts: ThtFontInfo, and TFontInfoArray with the four link looks.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/css/CssColors.h"
#include "engine/css/TProperties.h"
#include "platform/gui/TFont.h"

namespace engine {

using gui::fsBold;
using gui::fsItalic;
using gui::fsStrikeOut;
using gui::fsUnderline;
using gui::TFontStyles;

class ThtFontInfo {
 public:
  std::string iName;
  double iSize = 0;  // points
  TFontStyles iStyle = 0;
  TColor iColor = 0;
  TColor ibgColor = kNoColor;
  std::uint8_t iCharset = 1;
  TPropValue iSpace;  // letter spacing as written in the style

  // The same as *this = source; a look mostly takes one it holds already (a reused link's
  // looks), so equal texts are left as they are.
  void Assign(const ThtFontInfo& source) {
    if (!SameText(iName, source.iName)) iName = source.iName;
    iSize = source.iSize;
    iStyle = source.iStyle;
    iColor = source.iColor;
    ibgColor = source.ibgColor;
    iCharset = source.iCharset;
    if (!SameValue(iSpace, source.iSpace)) iSpace = source.iSpace;
  }
  // Applies the value one style rule gives property index (font group, colours) to this look.
  void ApplyRuleValue(int index, const TPropValue& value);
};

// The looks of a link, in the order normal, visited, hover, visited + hover.
class TFontInfoArray {
 public:
  enum LinkState { Normal = 0, Visited = 1, Hover = 2, VisitedHover = 3 };
  TFontInfoArray();
  void Assign(const TFontInfoArray& source);
  std::array<std::unique_ptr<ThtFontInfo>, 4> Ar;
};

// Font-family text -> the first family of the list that the screen has; generic families
// ("serif", "monospace", ...) become their fonts. False when none is installed.
bool FirstInstalledFamily(const std::string& families, std::string& name);

// The generic family map ("serif" -> "Times New Roman"); the name itself for any other name.
std::string GenericFamilyFont(const std::string& name);

}  // namespace engine
