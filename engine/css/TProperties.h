#pragma once
// The CSS property values of one element, one style rule or one style attribute.
// A value is unassigned (never set), text (keywords, lengths, url(...); shared, see TPropText), an
// integer (colours, sentinels, visibility, text-transform, z-index) or a double (a font size
// resolved to points).
#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "engine/css/CssColors.h"
#include "engine/css/TPropText.h"

namespace engine {

class TMyFont;
class TFontInfoArray;
class ThtFontInfo;

using TPropValue = std::variant<std::monostate, TPropText, int, double>;

// The text of a value; nullptr when the value is not a text.
inline const std::string* TextOf(const TPropValue& value) {
  const TPropText* text = std::get_if<TPropText>(&value);
  return text ? &text->Text() : nullptr;
}

enum class Prop : int {
  FontFamily, FontSize, FontStyle, FontWeight, TextAlign, TextDecoration, LetterSpacing, BorderStyle,
  Color, BackgroundColor, BorderColor, MarginTop, MarginRight, MarginBottom, MarginLeft, PaddingTop,
  PaddingRight, PaddingBottom, PaddingLeft, BorderTopWidth, BorderRightWidth, BorderBottomWidth,
  BorderLeftWidth, BorderTopColor, BorderRightColor, BorderBottomColor, BorderLeftColor, BorderTopStyle,
  BorderRightStyle, BorderBottomStyle, BorderLeftStyle, Width, Height, Top, Bottom, Right, Left,
  Visibility, LineHeight, BackgroundImage, BackgroundPosition, BackgroundRepeat, BackgroundAttachment,
  VerticalAlign, Position, ZIndex, ListStyleType, ListStyleImage, Float, Clear, TextIndent,
  PageBreakBefore, PageBreakAfter, PageBreakInside, TextTransform, WordWrap, FontVariant,
  BorderCollapse, Overflow, Display,
};
constexpr int kPropCount = 60;
static_assert(kPropCount <= 64, "HeldValues has one bit per property");
constexpr int PropIdx(Prop p) { return static_cast<int>(p); }

// The same as a == b, in line for the short texts that nearly all values are (a call to
// memcmp costs more than comparing them).
inline bool SameText(std::string_view a, std::string_view b) {
  const std::size_t size = a.size();
  if (size != b.size()) return false;
  const auto word = [](const char* at) {
    std::uint64_t bytes;
    std::memcpy(&bytes, at, sizeof bytes);
    return bytes;
  };
  const auto half = [](const char* at) {
    std::uint32_t bytes;
    std::memcpy(&bytes, at, sizeof bytes);
    return bytes;
  };
  const char* x = a.data();
  const char* y = b.data();
  // Two loads that overlap when the text is shorter than both cover.
  if (size >= 8 && size <= 16) return word(x) == word(y) && word(x + size - 8) == word(y + size - 8);
  if (size >= 4 && size < 8) return half(x) == half(y) && half(x + size - 4) == half(y + size - 4);
  if (size > 0 && size < 4) return x[0] == y[0] && x[size / 2] == y[size / 2] && x[size - 1] == y[size - 1];
  return size == 0 || std::memcmp(x, y, size) == 0;
}

// The same as a == b, without the variant's dispatch through a table; in line, for the
// memos that compare many values each.
[[gnu::always_inline]] inline bool SameValue(const TPropValue& a, const TPropValue& b) {
  if (a.index() != b.index()) return false;
  if (const int* number = std::get_if<int>(&a)) return *number == *std::get_if<int>(&b);
  if (const TPropText* text = std::get_if<TPropText>(&a)) {
    const TPropText& other = *std::get_if<TPropText>(&b);
    return text->SharesWith(other) || SameText(text->Text(), other.Text());
  }
  if (const double* real = std::get_if<double>(&a)) return *real == *std::get_if<double>(&b);
  return true;
}

// The CSS name of a property index ("font-family" for 0).
const char* PropertyName(int index);
// Case-sensitive lookup of a CSS property name; false when none matches.
bool PropertyIndexFromName(const std::string& name, int& index);

constexpr int kVisibilityVisible = 2;
constexpr int kVisibilityHidden = 1;

class TProperties {
 public:
  TProperties();
  ~TProperties();
  TProperties(const TProperties&) = delete;
  TProperties& operator=(const TProperties&) = delete;

  // Setting by the value rules of each property (colours parsed, border styles spread, ...).
  void SetPropertyByIndex(int index, const std::string& value);
  void SetPropertyByName(const std::string& name, const std::string& value);
  // The 60 values of source (values only).
  void CopyValues(const TProperties& source);
  // The values with source's charset, code page and default font name, all as they stand.
  void CopyValuesAndFontBase(const TProperties& source);
  // The values, charset, code page and default font name of the sheet's "default" entry.
  void CopyDefault(const TProperties& defaultEntry);
  // Takes source's value for every property whose assigned flag is clear.
  // A link whose own fonts must be rebuilt calls rebuildLinkFonts (the cascade owner supplies it).
  void FillUnassigned(const TProperties& source,
                      const std::function<void(TProperties&)>& rebuildLinkFonts = {});
  // Stores value and sets the assigned flag unless the property was assigned already.
  void SetIfUnassigned(int index, const TPropValue& value);
  // Charset rule: 31 is ISO 8859-2; other charsets as the device reports them, with their code page.
  void SetCharset(int charset);
  void SetUtf8();
  // Takes the inherited values of a parent, for a child of tag childTag.
  void Inherit(const std::string& childTag, const TProperties& parent);
  // Entries kept for reuse: Renew makes these properties what a newly constructed entry is, and
  // RenewAsChild what a newly constructed entry is after Inherit(childTag, parent); both reuse
  // the storage of the values held, which costs far less than destroying and constructing.
  // A new field must be reset in RenewFields.
  void Renew();
  void RenewAsChild(const std::string& childTag, const TProperties& parent);
  // Merges the values one style rule assigns.
  void Merge(const TProperties& rule);
  // The same, where heldValues is rule.HeldValues() (a sheet keeps it for each of its rules).
  void Merge(const TProperties& rule, std::uint64_t heldValues);
  // A bit (1 << index) for each value that Merge takes: assigned, and for a box value not unset.
  std::uint64_t HeldValues() const;
  // A bit (1 << index) for each value a child takes from these properties as its parent
  // (Inherit copies these and sets the others to what they are for every child).
  std::uint64_t ValuesInherited() const;

  const TPropValue& Value(Prop p) const { return Props[PropIdx(p)]; }
  TPropValue& Value(Prop p) { return Props[PropIdx(p)]; }
  bool IsAssigned(int index) const { return Assigned[static_cast<std::size_t>(index)]; }

  // Getters of computed values; each gives its "not set" result for an unassigned value.
  bool GetBackgroundImage(std::string& url) const;
  bool GetVertAlign(int& align) const;
  bool IsOverflowHidden() const;
  bool GetFloat(int& align) const;
  bool GetClear(int& clear);  // clear applies once: the value is dropped afterwards
  int GetListStyleType() const;
  bool GetListStyleImage(std::string& url) const;
  int GetPosition() const;
  int GetVisibility() const;
  int GetZIndex() const;
  bool IsDisplayNone() const;
  bool IsBorderCollapse() const;
  int GetLineHeight(int fontHeight) const;
  int GetTextIndent(bool& percent) const;
  int GetTextTransform() const;
  std::string GetFontVariant() const;
  void GetPageBreaks(bool& before, bool& after, bool& inside) const;
  TColor GetBackgroundColor() const;
  // The element's own background colour, when it has one, becomes the
  // object's background colour, which its text draws on; without one the
  // text keeps the background it inherited. Returns the object's colour.
  TColor UpdateBackgroundColor();
  TColor GetColor() const;
  int GetBorderStyle() const;

  // The document font of these properties (built and cached on the first call); the caller owns
  // the returned copy.
  std::unique_ptr<TMyFont> GetFont();
  // The same font as read at pixelsPerInch (default: the screen's), shared
  // and never changed: the cached font itself when its own pixels per inch
  // match, else a copy at pixelsPerInch.
  std::shared_ptr<const TMyFont> SharedFont(int pixelsPerInch);
  std::shared_ptr<const TMyFont> SharedFont();
  // The font description of these properties.
  void GetFontInfo(ThtFontInfo& info) const;
  // Drops the cached font (after a change of font values).
  void DropCachedFont();

  // Cached font (shared with other elements of the same font values; never changed), link fonts
  // (normal, visited, hover, visited + hover; links only).
  std::shared_ptr<const TMyFont> CachedFont;
  bool HasLinkFonts = false;
  std::unique_ptr<TFontInfoArray> LinkFonts;
  // An array for LinkFonts, in the storage of one these properties dropped when there is
  // one (its looks are then stale: the caller sets all four).
  std::unique_ptr<TFontInfoArray> NewLinkFonts();

  std::string DefFontName;
  std::string PropTag;     // lower case
  std::string PropClass;   // several classes joined by "."
  std::string PropID;
  std::string PropPseudo;  // "link", "visited", "hover" or empty
  std::string PropTitle;
  TProperties* PropStyle = nullptr;  // the element's inline style, not owned

  TColor BackgroundColor = kNoColor;
  std::uint8_t Charset = 1;
  int CodePage = 1252;
  int EmSize = 0;
  int ExSize = 0;

  std::array<TPropValue, kPropCount> Props;
  std::array<bool, kPropCount> Assigned{};
  std::uint32_t Serial = 0;

 private:
  enum class Inheriting { No, Yes };
  void RenewFields(Inheriting inheriting);
  void InheritValues(const std::string& childTag, const TProperties& parent);
  void InheritFields(const TProperties& parent);
  void SetLinkFontValue(int index, const TPropValue& value);
  void SetCharsetAndCodePage(int charset, int codePage);
  // LinkFonts goes; its storage is kept for NewLinkFonts (a renewed entry of a link's
  // parent becomes the next link more often than not).
  void DropLinkFonts();

  std::unique_ptr<TFontInfoArray> spareLinkFonts_;
};

// Reset of the unit-wide serial counter (for tests).
void ResetPropertiesSerial();

}  // namespace engine
