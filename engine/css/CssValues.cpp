#include "engine/css/CssValues.h"

#include <array>
#include <string_view>

#include "engine/css/CssText.h"
#include "platform/gui/TScreen.h"

namespace engine {
namespace {

// A number and its unit: "1.5em" -> 1.5, "em". An "e" ends the number ("1e3" is 1 and "e3").
// The unit stays a view of text: it is only compared, ASCII case ignored, with UnitIs.
bool SplitNumberAndUnit(const std::string& text, double& value, std::string_view& unit) {
  std::string_view view = TrimView(text);
  std::size_t length = ParseLeadingNumber(view, value);
  if (length == 0) return false;
  unit = TrimView(view.substr(length));
  return true;
}

// Whether a unit or keyword is word (given in lower case), ASCII case ignored.
bool UnitIs(std::string_view unit, std::string_view word) {
  return unit.size() == word.size() && StartsWithNoCase(unit, word);
}

double& DefaultFontSizeStore() {
  static double size = 12.0;
  return size;
}

int& PixelsPerInchStore() {
  static int pixelsPerInch = 0;  // 0: the screen's
  return pixelsPerInch;
}

struct CharsetRow {
  int charset;
  int codePage;
};

// The last row (31) is handled apart by the charset rule of the properties.
constexpr std::array<CharsetRow, 20> kCharsetTable = {{
    {0, 1252}, {1, 0}, {2, 0}, {77, 2}, {128, 932}, {129, 949}, {130, 1361}, {134, 936}, {136, 950},
    {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257}, {204, 1251},
    {222, 874}, {238, 1250}, {255, 1}, {kIso8859_2Charset, kIso8859_2CodePage},
}};

constexpr std::array<std::string_view, 9> kBorderStyles = {"none",   "solid",  "inset", "outset", "groove",
                                                           "ridge", "dashed", "dotted", "double"};

constexpr std::array<std::string_view, 10> kListStyles = {"blank",      "circle", "decimal",     "disc",
                                                          "lower-alpha", "lower-roman", "none", "square",
                                                          "upper-alpha", "upper-roman"};

}  // namespace

double DefaultFontSize() { return DefaultFontSizeStore(); }
void SetDefaultFontSize(double points) { DefaultFontSizeStore() = points; }

int CssPixelsPerInch() {
  int pixelsPerInch = PixelsPerInchStore() > 0 ? PixelsPerInchStore() : gui::Screen->PixelsPerInch();
  return pixelsPerInch > 0 ? pixelsPerInch : 96;
}
void SetCssPixelsPerInch(int pixelsPerInch) { PixelsPerInchStore() = pixelsPerInch > 0 ? pixelsPerInch : 0; }

int LengthFromString(const std::string& text, bool relative, double base, int defaultValue, int em, int ex) {
  double value = 0;
  std::string_view unit;
  if (!SplitNumberAndUnit(text, value, unit)) return defaultValue;
  const double ppi = CssPixelsPerInch();
  double pixels = 0;
  if (UnitIs(unit, "in")) {
    pixels = ppi * value;
  } else if (UnitIs(unit, "cm")) {
    pixels = ppi * value / 2.54;
  } else if (UnitIs(unit, "mm")) {
    pixels = ppi * value / 25.4;
  } else if (UnitIs(unit, "pt")) {
    pixels = value * ppi / 72;
  } else if (UnitIs(unit, "px")) {
    pixels = value;
  } else if (UnitIs(unit, "pc")) {
    pixels = value * ppi / 6;
  } else if (UnitIs(unit, "em")) {
    pixels = em * value;
  } else if (UnitIs(unit, "ex")) {
    pixels = ex * value;
  } else if (UnitIs(unit, "%")) {
    pixels = base * value / 100;
  } else if (unit.empty()) {
    pixels = relative ? base * value : value;
  } else {
    return defaultValue;
  }
  return RoundToInt(pixels);
}

double FontSizeFromString(const std::string& text, double parentSize) {
  const double defaultSize = DefaultFontSize();
  double value = 0;
  std::string_view unit;
  if (SplitNumberAndUnit(text, value, unit)) {
    const double ppi = CssPixelsPerInch();
    if (UnitIs(unit, "in")) return value * 72;
    if (UnitIs(unit, "cm")) return value * 72 / 2.54;
    if (UnitIs(unit, "mm")) return value * 72 / 25.4;
    if (UnitIs(unit, "pt")) return value;
    if (UnitIs(unit, "px")) return value * 72 / ppi;
    if (UnitIs(unit, "pc")) return value * 12;
    if (UnitIs(unit, "em")) return parentSize * value;
    if (UnitIs(unit, "ex")) return parentSize * value / 2;
    if (UnitIs(unit, "%")) return parentSize * value / 100;
    if (unit.empty()) return value * 72 / ppi;
    return defaultSize;
  }
  const std::string_view word = TrimView(text);
  if (UnitIs(word, "smaller")) return parentSize * 0.75;
  if (UnitIs(word, "larger")) return parentSize * 1.25;
  if (UnitIs(word, "xx-small")) return defaultSize / 1.5;
  if (UnitIs(word, "x-small")) return defaultSize / 1.2;
  if (UnitIs(word, "small")) return defaultSize;
  if (UnitIs(word, "medium")) return defaultSize * 1.2;
  if (UnitIs(word, "large")) return defaultSize * 1.5;
  if (UnitIs(word, "x-large")) return defaultSize * 2;
  if (UnitIs(word, "xx-large")) return defaultSize * 3;
  return defaultSize;
}

int AlignmentFromString(const std::string& text) {
  std::string word = LowerCase(text);
  if (word == "top") return 1;
  if (word == "middle" || word == "absmiddle" || word == "center") return 2;
  if (word == "baseline") return 3;
  if (word == "bottom") return 4;
  if (word == "left") return 5;
  if (word == "right") return 6;
  if (word == "justify") return 7;
  return 0;
}

bool CodePageFromCharset(int charset, int& codePage) {
  for (std::size_t row = 0; row + 1 < kCharsetTable.size(); ++row) {
    if (kCharsetTable[row].charset == charset) {
      codePage = kCharsetTable[row].codePage;
      return true;
    }
  }
  return false;
}

int BorderStyleFromString(const std::string& text) {
  for (std::size_t index = 0; index < kBorderStyles.size(); ++index) {
    if (kBorderStyles[index] == text) return static_cast<int>(index);
  }
  return 0;
}

int ListStyleFromString(const std::string& text, bool* known) {
  for (std::size_t index = 0; index < kListStyles.size(); ++index) {
    if (kListStyles[index] == text) {
      if (known) *known = true;
      return static_cast<int>(index);
    }
  }
  if (known) *known = false;
  return 0;
}

}  // namespace engine
