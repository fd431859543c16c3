#include "engine/css/CssColors.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

#include "engine/css/CssText.h"
#include "engine/common/EngineStartup.h"

namespace engine {
namespace {

struct NamedColor {
  std::string_view name;
  TColor colour;
};

constexpr TColor Rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }
constexpr TColor Sys(unsigned index) { return kSystemColorBase + index; }

// Sorted by name at start-up; lookups ignore case because the reader lower-cases first
// and the names compare lower-cased.
constexpr std::array<NamedColor, 176> kColorNames = {{
    {"transparent", kNoColor},
    {"black", Rgb(0, 0, 0)}, {"maroon", Rgb(128, 0, 0)}, {"green", Rgb(0, 128, 0)},
    {"olive", Rgb(128, 128, 0)}, {"navy", Rgb(0, 0, 128)}, {"purple", Rgb(128, 0, 128)},
    {"teal", Rgb(0, 128, 128)}, {"gray", Rgb(128, 128, 128)}, {"silver", Rgb(192, 192, 192)},
    {"red", Rgb(255, 0, 0)}, {"lime", Rgb(0, 255, 0)}, {"yellow", Rgb(255, 255, 0)},
    {"blue", Rgb(0, 0, 255)}, {"fuchsia", Rgb(255, 0, 255)}, {"aqua", Rgb(0, 255, 255)},
    {"white", Rgb(255, 255, 255)}, {"aliceblue", Rgb(240, 248, 255)},
    {"antiquewhite", Rgb(250, 235, 215)}, {"aquamarine", Rgb(127, 255, 212)},
    {"azure", Rgb(240, 255, 255)}, {"beige", Rgb(245, 245, 220)}, {"bisque", Rgb(255, 228, 196)},
    {"blanchedalmond", Rgb(255, 235, 205)}, {"blueviolet", Rgb(138, 43, 226)},
    {"brown", Rgb(165, 42, 42)}, {"burlywood", Rgb(222, 184, 135)}, {"cadetblue", Rgb(95, 158, 160)},
    {"chartreuse", Rgb(127, 255, 0)}, {"chocolate", Rgb(210, 105, 30)}, {"coral", Rgb(255, 127, 80)},
    {"cornflowerblue", Rgb(100, 149, 237)}, {"cornsilk", Rgb(255, 248, 220)},
    {"crimson", Rgb(220, 20, 60)}, {"cyan", Rgb(0, 255, 255)}, {"darkblue", Rgb(0, 0, 139)},
    {"darkcyan", Rgb(0, 139, 139)}, {"darkgoldenrod", Rgb(184, 134, 11)},
    {"darkgray", Rgb(169, 169, 169)}, {"darkgreen", Rgb(0, 100, 0)}, {"darkkhaki", Rgb(189, 183, 107)},
    {"darkmagenta", Rgb(139, 0, 139)}, {"darkolivegreen", Rgb(85, 107, 47)},
    {"darkorange", Rgb(255, 140, 0)}, {"darkorchid", Rgb(153, 50, 204)}, {"darkred", Rgb(139, 0, 0)},
    {"darksalmon", Rgb(233, 150, 122)}, {"darkseagreen", Rgb(143, 188, 143)},
    {"darkslateblue", Rgb(72, 61, 139)}, {"darkslategray", Rgb(47, 79, 79)},
    {"darkturquoise", Rgb(0, 206, 209)}, {"darkviolet", Rgb(148, 0, 211)},
    {"deeppink", Rgb(255, 20, 147)}, {"deepskyblue", Rgb(0, 191, 255)}, {"dimgray", Rgb(105, 105, 105)},
    {"dodgerblue", Rgb(30, 144, 255)}, {"firebrick", Rgb(178, 34, 34)},
    {"floralwhite", Rgb(255, 250, 240)}, {"forestgreen", Rgb(34, 139, 34)},
    {"gainsboro", Rgb(220, 220, 220)}, {"ghostwhite", Rgb(248, 248, 255)}, {"gold", Rgb(255, 215, 0)},
    {"goldenrod", Rgb(218, 165, 32)}, {"greenyellow", Rgb(173, 255, 47)}, {"honeydew", Rgb(240, 255, 240)},
    {"hotpink", Rgb(255, 105, 180)}, {"indianred", Rgb(205, 92, 92)}, {"indigo", Rgb(75, 0, 130)},
    {"ivory", Rgb(255, 255, 240)}, {"khaki", Rgb(240, 230, 140)}, {"lavender", Rgb(230, 230, 250)},
    {"lavenderblush", Rgb(255, 240, 245)}, {"lawngreen", Rgb(124, 252, 0)},
    {"lemonchiffon", Rgb(255, 250, 205)}, {"lightblue", Rgb(173, 216, 230)},
    {"lightcoral", Rgb(240, 128, 128)}, {"lightcyan", Rgb(224, 255, 255)},
    {"lightgoldenrodyellow", Rgb(250, 250, 210)}, {"lightgreen", Rgb(144, 238, 144)},
    {"lightgray", Rgb(211, 211, 211)}, {"lightpink", Rgb(255, 182, 193)},
    {"lightsalmon", Rgb(255, 160, 122)}, {"lightseagreen", Rgb(32, 178, 170)},
    {"lightskyblue", Rgb(135, 206, 250)}, {"lightslategray", Rgb(119, 136, 153)},
    {"lightsteelblue", Rgb(176, 196, 222)}, {"lightyellow", Rgb(255, 255, 224)},
    {"limegreen", Rgb(50, 205, 50)}, {"linen", Rgb(250, 240, 230)}, {"magenta", Rgb(255, 0, 255)},
    {"mediumaquamarine", Rgb(102, 205, 170)}, {"mediumblue", Rgb(0, 0, 205)},
    {"mediumorchid", Rgb(186, 85, 211)}, {"mediumpurple", Rgb(147, 112, 219)},
    {"mediumseagreen", Rgb(60, 179, 113)}, {"mediumslateblue", Rgb(123, 104, 238)},
    {"mediumspringgreen", Rgb(0, 250, 154)}, {"mediumturquoise", Rgb(72, 209, 204)},
    {"mediumvioletred", Rgb(199, 21, 133)}, {"midnightblue", Rgb(25, 25, 112)},
    {"mintcream", Rgb(245, 255, 250)}, {"mistyrose", Rgb(255, 228, 225)}, {"moccasin", Rgb(255, 228, 181)},
    {"navajowhite", Rgb(255, 222, 173)}, {"oldlace", Rgb(253, 245, 230)}, {"olivedrab", Rgb(107, 142, 35)},
    {"orange", Rgb(255, 165, 0)}, {"orangered", Rgb(255, 69, 0)}, {"orchid", Rgb(218, 112, 214)},
    {"palegoldenrod", Rgb(238, 232, 170)}, {"palegreen", Rgb(152, 251, 152)},
    {"paleturquoise", Rgb(175, 238, 238)}, {"palevioletred", Rgb(219, 112, 147)},
    {"papayawhip", Rgb(255, 239, 213)}, {"peachpuff", Rgb(255, 218, 185)}, {"peru", Rgb(205, 133, 63)},
    {"pink", Rgb(255, 192, 203)}, {"plum", Rgb(221, 160, 221)}, {"powderblue", Rgb(176, 224, 230)},
    {"rosybrown", Rgb(188, 143, 143)}, {"royalblue", Rgb(65, 105, 225)},
    {"saddlebrown", Rgb(139, 69, 19)}, {"salmon", Rgb(250, 128, 114)}, {"sandybrown", Rgb(244, 164, 96)},
    {"seagreen", Rgb(46, 139, 87)}, {"seashell", Rgb(255, 245, 238)}, {"sienna", Rgb(160, 82, 45)},
    {"skyblue", Rgb(135, 206, 235)}, {"slateblue", Rgb(106, 90, 205)}, {"slategray", Rgb(112, 128, 144)},
    {"snow", Rgb(255, 250, 250)}, {"springgreen", Rgb(0, 255, 127)}, {"steelblue", Rgb(70, 130, 180)},
    {"tan", Rgb(210, 180, 140)}, {"thistle", Rgb(216, 191, 216)}, {"tomato", Rgb(255, 99, 71)},
    {"turquoise", Rgb(64, 224, 208)}, {"violet", Rgb(238, 130, 238)}, {"wheat", Rgb(245, 222, 179)},
    {"whitesmoke", Rgb(245, 245, 245)}, {"yellowgreen", Rgb(154, 205, 50)},
    {"grey", Rgb(128, 128, 128)}, {"darkgrey", Rgb(169, 169, 169)}, {"darkslategrey", Rgb(47, 79, 79)},
    {"dimgrey", Rgb(105, 105, 105)}, {"lightgrey", Rgb(211, 211, 211)},
    {"lightslategrey", Rgb(119, 136, 153)}, {"slategrey", Rgb(112, 128, 144)},
    // System colours: the drawing code asks the system for index n.
    {"background", Sys(1)}, {"activecaption", Sys(2)}, {"inactivecaption", Sys(3)}, {"menu", Sys(4)},
    {"window", Sys(5)}, {"windowframe", Sys(6)}, {"menutext", Sys(7)}, {"windowtext", Sys(8)},
    {"captiontext", Sys(9)}, {"activeborder", Sys(10)}, {"inactiveborder", Sys(11)},
    {"appworkspace", Sys(12)}, {"highlight", Sys(13)}, {"hightlighttext", Sys(14)},
    {"buttonface", Sys(15)}, {"buttonshadow", Sys(16)}, {"graytext", Sys(17)}, {"buttontext", Sys(18)},
    {"inactivecaptiontext", Sys(19)}, {"buttonhighlight", Sys(20)}, {"threeddarkshadow", Sys(21)},
    {"threedlightshadow", Sys(20)}, {"infotext", Sys(23)}, {"infobackground", Sys(24)},
    {"scrollbar", Sys(0)}, {"threedface", Sys(15)}, {"threedhighlight", Sys(22)},
    {"threedshadow", Sys(16)},
}};

using SortedNames = std::array<NamedColor, kColorNames.size()>;

const SortedNames& SortedColorNames() {
  static const SortedNames sorted = [] {
    SortedNames names = kColorNames;
    std::sort(names.begin(), names.end(),
              [](const NamedColor& a, const NamedColor& b) { return a.name < b.name; });
    return names;
  }();
  return sorted;
}

bool LookUpColorName(std::string_view name, TColor& colour) {
  const SortedNames& names = SortedColorNames();
  auto it = std::lower_bound(names.begin(), names.end(), name,
                             [](const NamedColor& entry, std::string_view key) { return entry.name < key; });
  if (it == names.end() || it->name != name) return false;
  colour = it->colour;
  return true;
}

// One rgb() component: "50%" is 50 * 2.55 rounded, else an integer; clamped to 0..255.
int RgbComponent(std::string_view text) {
  text = TrimView(text);
  double value = 0;
  if (!text.empty() && text.back() == '%') {
    double percent = 0;
    if (ParseLeadingNumber(text.substr(0, text.size() - 1), percent) == 0) percent = 0;
    value = RoundHalfEven(percent * 2.55);
  } else {
    long long integer = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), integer);
    if (error != std::errc() || end != text.data() + text.size()) integer = 0;
    value = static_cast<double>(integer);
  }
  return static_cast<int>(std::clamp(value, 0.0, 255.0));
}

bool RgbFromText(std::string_view text, TColor& colour) {
  std::size_t open = text.find('(');
  if (open == std::string_view::npos) return false;
  std::size_t close = text.find(')', open + 1);
  if (close == std::string_view::npos) return false;
  std::string_view inner = text.substr(open + 1, close - open - 1);
  int components[3] = {0, 0, 0};
  for (int index = 0; index < 3; ++index) {
    std::size_t comma = inner.find(',');
    components[index] = RgbComponent(inner.substr(0, comma));
    if (comma == std::string_view::npos) {
      inner = {};
    } else {
      inner.remove_prefix(comma + 1);
    }
  }
  colour = Rgb(static_cast<unsigned>(components[0]), static_cast<unsigned>(components[1]),
               static_cast<unsigned>(components[2]));
  return true;
}

bool HexFromText(std::string_view text, TColor& colour) {
  std::size_t hash = text.rfind('#');
  if (hash != std::string_view::npos) text = TrimView(text.substr(hash + 1));
  std::string digits(text);
  if (digits.size() <= 3) {
    std::string doubled;
    for (char digit : digits) doubled.append(2, digit);
    digits = doubled;
  }
  if (digits.empty()) return false;
  unsigned long long value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
  if (error != std::errc() || end != digits.data() + digits.size() || value > 0xFFFFFFFFull) return false;
  TColor rrggbb = static_cast<TColor>(value);
  colour = (((rrggbb >> 16) & 0xFF) | (rrggbb & 0xFF00) | ((rrggbb & 0xFF) << 16)) | CssPaletteFlag();
  return true;
}

struct ColorCache {
  bool valid = false;
  bool strict = false;
  std::string text;
  TColor colour = 0;
};

ColorCache& LastColor() {
  static ColorCache cache;
  return cache;
}

}  // namespace

TColor CssPaletteFlag() { return PaletteRGBFlag; }

void ResetColorCache() { LastColor() = ColorCache(); }

bool ColorFromString(const std::string& text, bool strict, TColor& colour) {
  if (text.empty()) return false;
  std::string lowered = LowerCase(TrimView(text));
  ColorCache& cache = LastColor();
  if (cache.valid && cache.strict == strict && cache.text == lowered) {
    colour = cache.colour;
    return true;
  }
  bool hasHash = !lowered.empty() && lowered[0] == '#';
  bool isRgb = lowered.find("rgb(") != std::string::npos;
  bool found = false;
  if (!hasHash && !isRgb) found = LookUpColorName(lowered, colour);
  if (!found) {
    if (lowered.find("rgb") != std::string::npos) {
      found = RgbFromText(lowered, colour);
    } else if (lowered.find('#') == std::string::npos && strict) {
      found = false;
    } else {
      found = HexFromText(lowered, colour);
    }
  }
  if (found) cache = ColorCache{true, strict, lowered, colour};
  return found;
}

}  // namespace engine
