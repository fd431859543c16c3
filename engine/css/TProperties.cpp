#include "engine/css/TProperties.h"

#include <algorithm>
#include <array>
#include <bit>
#include <utility>
#include <string_view>

#include "engine/css/CssText.h"
#include "engine/css/CssValues.h"
#include "engine/css/FontDevice.h"
#include "engine/css/FontInfo.h"
#include "engine/css/TMyFont.h"

namespace engine {
namespace {

constexpr std::array<const char*, kPropCount> kPropertyNames = {
    "font-family", "font-size", "font-style", "font-weight", "text-align", "text-decoration",
    "letter-spacing", "border-style", "color", "background-color", "border-color", "margin-top",
    "margin-right", "margin-bottom", "margin-left", "padding-top", "padding-right", "padding-bottom",
    "padding-left", "border-top-width", "border-right-width", "border-bottom-width", "border-left-width",
    "border-top-color", "border-right-color", "border-bottom-color", "border-left-color",
    "border-top-style", "border-right-style", "border-bottom-style", "border-left-style", "width",
    "height", "top", "bottom", "right", "left", "visibility", "line-height", "background-image",
    "background-position", "background-repeat", "background-attachment", "vertical-align", "position",
    "z-index", "list-style-type", "list-style-image", "float", "clear", "text-indent",
    "page-break-before", "page-break-after", "page-break-inside", "text-transform", "word-wrap",
    "font-variant", "border-collapse", "overflow", "display",
};

constexpr int kFirstBoxProp = PropIdx(Prop::MarginTop);
constexpr int kLastBoxProp = PropIdx(Prop::Left);

std::uint32_t& SerialCounter() {
  static std::uint32_t counter = 0;
  return counter;
}

bool TextIs(const TPropValue& value, std::string_view word) {
  const std::string* text = TextOf(value);
  return text && *text == word;
}

// How a child takes each value from a parent of most tags: the box values start unset, the
// values listed in kClearedProps start unassigned, and the rest are copied.
constexpr Prop kClearedProps[] = {
    Prop::BorderStyle, Prop::BackgroundColor, Prop::BorderColor, Prop::BackgroundImage, Prop::BackgroundPosition,
    Prop::BackgroundRepeat, Prop::BackgroundAttachment, Prop::Position, Prop::Float, Prop::Clear,
    Prop::PageBreakBefore, Prop::PageBreakAfter, Prop::PageBreakInside, Prop::BorderCollapse, Prop::Overflow,
    Prop::Display,
};
constexpr std::size_t kClearedCount = std::size(kClearedProps);
constexpr std::size_t kCopiedCount = kPropCount - kClearedCount - (kLastBoxProp - kFirstBoxProp + 1);

constexpr std::array<std::uint8_t, kCopiedCount> kCopiedIndexes = [] {
  std::array<std::uint8_t, kCopiedCount> indexes{};
  std::size_t count = 0;
  for (int index = 0; index < kPropCount; ++index) {
    bool cleared = false;
    for (Prop p : kClearedProps) cleared = cleared || PropIdx(p) == index;
    if (!cleared && (index < kFirstBoxProp || index > kLastBoxProp))
      indexes[count++] = static_cast<std::uint8_t>(index);
  }
  return indexes;
}();

constexpr std::uint64_t kCopiedMask = [] {
  std::uint64_t mask = 0;
  for (std::uint8_t index : kCopiedIndexes) mask |= std::uint64_t{1} << index;
  return mask;
}();

// How a child takes its values from a parent of a tag: a SPAN's children take all but its
// border style, a table section's all of them with their assigned flags, and the children
// of other tags the kCopiedIndexes values.
enum class Inheritance { AllButBorderStyle, All, Inherited };

Inheritance InheritanceOf(std::string_view parentTag) {
  if (parentTag == "span") return Inheritance::AllButBorderStyle;
  if (parentTag == "thead" || parentTag == "tbody" || parentTag == "tfoot") return Inheritance::All;
  return Inheritance::Inherited;
}

// The assignments below set a value in place when the target already holds the same kind,
// which is the common case for a reused entry; the variant's own assignment dispatches
// through a table for every value.
[[gnu::always_inline]] inline void ClearValue(TPropValue& to) {
  if (to.index() != 0) to.emplace<std::monostate>();
}

[[gnu::always_inline]] inline void SetUnset(TPropValue& to) {
  if (int* number = std::get_if<int>(&to)) *number = kUnsetValue;
  else to.emplace<int>(kUnsetValue);
}

// Out of line, so that the callers' loops over numbers stay small.
[[gnu::noinline]] void AssignText(TPropValue& to, const TPropText& text) {
  if (TPropText* target = std::get_if<TPropText>(&to)) *target = text;
  else to.emplace<TPropText>(text);
}

[[gnu::always_inline]] inline void AssignValue(TPropValue& to, const TPropValue& from) {
  switch (from.index()) {
    case 0:
      ClearValue(to);
      return;
    case 1: {
      // A reused entry mostly holds its parent's texts already.
      const TPropText& text = *std::get_if<TPropText>(&from);
      if (const TPropText* target = std::get_if<TPropText>(&to); target && target->SharesWith(text)) return;
      AssignText(to, text);
      return;
    }
    case 2:
      if (int* target = std::get_if<int>(&to)) *target = *std::get_if<int>(&from);
      else to.emplace<int>(*std::get_if<int>(&from));
      return;
    case 3:
      if (double* target = std::get_if<double>(&to)) *target = *std::get_if<double>(&from);
      else to.emplace<double>(*std::get_if<double>(&from));
      return;
    default:
      to = from;
  }
}

// What a child of most tags takes from its parent, written out value by value: a loop over the
// index tables cost more in reading the tables than in the values themselves.
template <std::size_t... Copied, std::size_t... Cleared, std::size_t... Box>
void InheritCommon(std::array<TPropValue, kPropCount>& to, const std::array<TPropValue, kPropCount>& from,
                   std::index_sequence<Copied...>, std::index_sequence<Cleared...>, std::index_sequence<Box...>) {
  (AssignValue(to[kCopiedIndexes[Copied]], from[kCopiedIndexes[Copied]]), ...);
  (ClearValue(to[static_cast<std::size_t>(PropIdx(kClearedProps[Cleared]))]), ...);
  (SetUnset(to[kFirstBoxProp + Box]), ...);
}

void AssignValues(std::array<TPropValue, kPropCount>& to, const std::array<TPropValue, kPropCount>& from) {
  for (std::size_t index = 0; index < to.size(); ++index) AssignValue(to[index], from[index]);
}

// Properties whose merged values also change the four looks of a link.
bool IsFontGroup(int index) {
  return index <= PropIdx(Prop::FontWeight) || index == PropIdx(Prop::TextDecoration) ||
         index == PropIdx(Prop::LetterSpacing) || index == PropIdx(Prop::Color) ||
         index == PropIdx(Prop::BackgroundColor);
}

// The URL of a "url(...)" value, its quotes removed.
std::string UrlOfValue(const std::string& text) {
  std::size_t start = text.find("url(");
  if (start == std::string::npos) return {};
  std::string url = text.substr(start + 4);
  std::size_t close = url.find(')');
  if (close != std::string::npos) url.resize(close);
  if (url.size() > 2 && (url[0] == '"' || url[0] == '\'')) url = url.substr(1, url.size() - 2);
  return url;
}

bool UrlGetter(const TPropValue& value, std::string& url) {
  url.clear();
  const std::string* text = TextOf(value);
  if (!text) return false;
  if (*text == "none") return true;
  url = UrlOfValue(*text);
  return !url.empty();
}

}  // namespace

const char* PropertyName(int index) {
  if (index < 0 || index >= kPropCount) return "";
  return kPropertyNames[static_cast<std::size_t>(index)];
}

bool PropertyIndexFromName(const std::string& name, int& index) {
  using Named = std::pair<std::string_view, int>;
  static const std::array<Named, kPropCount> sorted = [] {
    std::array<Named, kPropCount> names;
    for (int at = 0; at < kPropCount; ++at) names[static_cast<std::size_t>(at)] = {kPropertyNames[static_cast<std::size_t>(at)], at};
    std::sort(names.begin(), names.end());
    return names;
  }();
  auto it = std::lower_bound(sorted.begin(), sorted.end(), std::string_view(name),
                             [](const Named& entry, std::string_view key) { return entry.first < key; });
  if (it == sorted.end() || it->first != name) return false;
  index = it->second;
  return true;
}

void ResetPropertiesSerial() { SerialCounter() = 0; }

TProperties::TProperties() {
  Serial = ++SerialCounter();
  for (int index = kFirstBoxProp; index <= kLastBoxProp; ++index) Props[static_cast<std::size_t>(index)] = kUnsetValue;
}

TProperties::~TProperties() = default;

void TProperties::DropCachedFont() { CachedFont.reset(); }

void TProperties::SetPropertyByIndex(int index, const std::string& value) {
  if (index < 0 || index >= kPropCount) return;
  auto& props = Props;
  auto at = [&props](Prop p) -> TPropValue& { return props[static_cast<std::size_t>(PropIdx(p))]; };
  TColor colour = 0;
  switch (static_cast<Prop>(index)) {
    case Prop::BorderStyle: {
      const TPropText text(value);
      for (Prop p : {Prop::BorderStyle, Prop::BorderTopStyle, Prop::BorderRightStyle, Prop::BorderBottomStyle,
                     Prop::BorderLeftStyle})
        at(p) = text;
      return;
    }
    case Prop::Color:
      at(Prop::Color) = static_cast<int>(ColorFromString(value, false, colour) ? colour : 0);
      return;
    case Prop::BackgroundColor:
      at(Prop::BackgroundColor) = static_cast<int>(ColorFromString(value, false, colour) ? colour : kNoColor);
      return;
    case Prop::BorderColor:
      if (ColorFromString(value, false, colour)) {
        for (Prop p : {Prop::BorderColor, Prop::BorderTopColor, Prop::BorderRightColor, Prop::BorderBottomColor,
                       Prop::BorderLeftColor})
          at(p) = static_cast<int>(colour);
      }
      return;
    case Prop::BorderTopColor:
    case Prop::BorderRightColor:
    case Prop::BorderBottomColor:
    case Prop::BorderLeftColor:
      if (ColorFromString(value, false, colour)) Props[static_cast<std::size_t>(index)] = static_cast<int>(colour);
      return;
    case Prop::BorderTopStyle:
    case Prop::BorderRightStyle:
    case Prop::BorderBottomStyle:
    case Prop::BorderLeftStyle:
    {
      const TPropText text(value);
      Props[static_cast<std::size_t>(index)] = text;
      if (value != "none") at(Prop::BorderStyle) = text;
      return;
    }
    case Prop::Visibility:
      if (value == "visible") at(Prop::Visibility) = kVisibilityVisible;
      if (value == "hidden") at(Prop::Visibility) = kVisibilityHidden;
      return;
    case Prop::TextTransform:
      at(Prop::TextTransform) = value == "uppercase" ? 1 : value == "lowercase" ? 2 : 0;
      return;
    case Prop::WordWrap:
      at(Prop::WordWrap) = std::string(value == "break-word" ? "break-word" : "normal");
      return;
    case Prop::FontVariant:
      if (value == "small-caps" || value == "normal") at(Prop::FontVariant) = value;
      return;
    default:
      Props[static_cast<std::size_t>(index)] = value;
      return;
  }
}

void TProperties::SetPropertyByName(const std::string& name, const std::string& value) {
  int index = 0;
  if (PropertyIndexFromName(name, index)) SetPropertyByIndex(index, value);
}

void TProperties::CopyValues(const TProperties& source) { Props = source.Props; }

void TProperties::CopyValuesAndFontBase(const TProperties& source) {
  Props = source.Props;
  DefFontName = source.DefFontName;
  Charset = source.Charset;
  CodePage = source.CodePage;
}

void TProperties::CopyDefault(const TProperties& defaultEntry) {
  CopyValuesAndFontBase(defaultEntry);
  SetCharset(defaultEntry.Charset);
  PropTag = "default";
}

void TProperties::FillUnassigned(const TProperties& source,
                                 const std::function<void(TProperties&)>& rebuildLinkFonts) {
  for (std::size_t index = 0; index < Props.size(); ++index) {
    if (!Assigned[index]) Props[index] = source.Props[index];
  }
  DropCachedFont();
  if (!LinkFonts) return;
  if (source.HasLinkFonts && source.LinkFonts) {
    LinkFonts->Assign(*source.LinkFonts);
  } else if (PropPseudo != "link") {
    DropLinkFonts();
    HasLinkFonts = false;
  } else if (rebuildLinkFonts) {
    rebuildLinkFonts(*this);
  } else {
    for (auto& info : LinkFonts->Ar) GetFontInfo(*info);
  }
}

void TProperties::SetLinkFontValue(int index, const TPropValue& value) {
  if (!HasLinkFonts || !LinkFonts) return;
  for (auto& info : LinkFonts->Ar) info->ApplyRuleValue(index, value);
}

void TProperties::SetIfUnassigned(int index, const TPropValue& value) {
  if (index < 0 || index >= kPropCount || Assigned[static_cast<std::size_t>(index)]) return;
  Props[static_cast<std::size_t>(index)] = value;
  Assigned[static_cast<std::size_t>(index)] = true;
  if (index == PropIdx(Prop::FontFamily) || index == PropIdx(Prop::FontSize) || index == PropIdx(Prop::Color))
    SetLinkFontValue(index, value);
}

void TProperties::SetCharsetAndCodePage(int charset, int codePage) {
  Charset = static_cast<std::uint8_t>(charset);
  CodePage = codePage;
  if (HasLinkFonts && LinkFonts) {
    for (auto& info : LinkFonts->Ar) info->iCharset = Charset;
  }
}

void TProperties::SetCharset(int charset) {
  if (charset == kIso8859_2Charset) {
    SetCharsetAndCodePage(kEastEuropeCharset, kIso8859_2CodePage);
    return;
  }
  int reported = (charset == 1) ? 1 : ReportedCharset(charset) & 0xFF;
  int codePage = CodePage;
  CodePageFromCharset(reported, codePage);
  SetCharsetAndCodePage(reported, codePage);
}

void TProperties::SetUtf8() { SetCharsetAndCodePage(0, 65001); }

std::uint64_t TProperties::ValuesInherited() const {
  constexpr std::uint64_t kAll = (std::uint64_t{1} << kPropCount) - 1;
  switch (InheritanceOf(PropTag)) {
    case Inheritance::AllButBorderStyle:
      return kAll & ~(std::uint64_t{1} << PropIdx(Prop::BorderStyle));
    case Inheritance::All:
      return kAll;
    case Inheritance::Inherited:
      break;
  }
  return kCopiedMask;
}

void TProperties::InheritValues(const std::string& childTag, const TProperties& parent) {
  const Inheritance inheritance = InheritanceOf(parent.PropTag);
  if (inheritance == Inheritance::AllButBorderStyle) {
    for (std::size_t at = 0; at < Props.size(); ++at) {
      if (at != static_cast<std::size_t>(PropIdx(Prop::BorderStyle))) AssignValue(Props[at], parent.Props[at]);
    }
  } else if (inheritance == Inheritance::All) {
    AssignValues(Props, parent.Props);
    Assigned = parent.Assigned;
  } else {
    InheritCommon(Props, parent.Props, std::make_index_sequence<kCopiedCount>(),
                  std::make_index_sequence<kClearedCount>(),
                  std::make_index_sequence<kLastBoxProp - kFirstBoxProp + 1>());
    if (std::string_view(childTag) == "table") Props[PropIdx(Prop::WordWrap)] = std::string("normal");
  }
}

void TProperties::InheritFields(const TProperties& parent) {
  // A renewed entry mostly holds its parent's names already.
  if (!SameText(DefFontName, parent.DefFontName)) DefFontName = parent.DefFontName;
  BackgroundColor = parent.BackgroundColor;
  Charset = parent.Charset;
  CodePage = parent.CodePage;
  if (!SameText(PropTitle, parent.PropTitle)) PropTitle = parent.PropTitle;
  HasLinkFonts = parent.HasLinkFonts;
  if (parent.HasLinkFonts && parent.LinkFonts) {
    if (!LinkFonts) LinkFonts = NewLinkFonts();
    LinkFonts->Assign(*parent.LinkFonts);
  }
  EmSize = parent.EmSize;
  ExSize = EmSize / 2;
}

void TProperties::Inherit(const std::string& childTag, const TProperties& parent) {
  InheritValues(childTag, parent);
  InheritFields(parent);
}

void TProperties::RenewFields(Inheriting inheriting) {
  Serial = ++SerialCounter();
  CachedFont.reset();
  HasLinkFonts = false;
  // InheritFields sets these next when inheriting.
  if (inheriting == Inheriting::No) {
    DefFontName.clear();
    PropTitle.clear();
  }
  PropTag.clear();
  PropClass.clear();
  PropID.clear();
  PropPseudo.clear();
  PropStyle = nullptr;
  BackgroundColor = kNoColor;
  Charset = 1;
  CodePage = 1252;
  EmSize = 0;
  ExSize = 0;
  Assigned.fill(false);
}

std::unique_ptr<TFontInfoArray> TProperties::NewLinkFonts() {
  if (spareLinkFonts_) return std::move(spareLinkFonts_);
  return std::make_unique<TFontInfoArray>();
}

void TProperties::DropLinkFonts() {
  if (!LinkFonts) return;
  if (!spareLinkFonts_) spareLinkFonts_ = std::move(LinkFonts);
  LinkFonts.reset();
}

void TProperties::Renew() {
  RenewFields(Inheriting::No);
  DropLinkFonts();
  for (int index = 0; index < kPropCount; ++index) {
    TPropValue& value = Props[static_cast<std::size_t>(index)];
    if (index >= kFirstBoxProp && index <= kLastBoxProp) SetUnset(value);
    else ClearValue(value);
  }
}

void TProperties::RenewAsChild(const std::string& childTag, const TProperties& parent) {
  RenewFields(Inheriting::Yes);
  // A link's looks are kept only when the parent has them to copy.
  if (!parent.HasLinkFonts || !parent.LinkFonts) DropLinkFonts();
  // The one value the general rules may leave as it was.
  ClearValue(Props[PropIdx(Prop::BorderStyle)]);
  InheritValues(childTag, parent);
  InheritFields(parent);
}

void TProperties::Merge(const TProperties& rule) { Merge(rule, rule.HeldValues()); }

std::uint64_t TProperties::HeldValues() const {
  std::uint64_t held = 0;
  for (std::size_t index = 0; index < Props.size(); ++index) {
    const TPropValue& value = Props[index];
    if (value.index() == 0) continue;
    // Every rule starts with its box values unset; Merge passes those over.
    const bool box = static_cast<int>(index) >= kFirstBoxProp && static_cast<int>(index) <= kLastBoxProp;
    if (box && std::holds_alternative<int>(value) && std::get<int>(value) == kUnsetValue) continue;
    held |= std::uint64_t{1} << index;
  }
  return held;
}

void TProperties::Merge(const TProperties& rule, std::uint64_t heldValues) {
  for (; heldValues != 0; heldValues &= heldValues - 1) {
    const int index = std::countr_zero(heldValues);
    const std::size_t at = static_cast<std::size_t>(index);
    const TPropValue& value = rule.Props[at];
    if (value.index() == 0) continue;
    if (IsFontGroup(index)) {
      AssignValue(Props[at], value);
      Assigned[at] = true;
      SetLinkFontValue(index, value);
    } else if (index < kFirstBoxProp || index > kLastBoxProp) {
      AssignValue(Props[at], value);
    } else if (TextOf(value) || (std::holds_alternative<int>(value) && std::get<int>(value) != kUnsetValue) ||
               std::holds_alternative<double>(value)) {
      AssignValue(Props[at], value);
    }
  }
}

bool TProperties::GetBackgroundImage(std::string& url) const {
  return UrlGetter(Value(Prop::BackgroundImage), url);
}

bool TProperties::GetListStyleImage(std::string& url) const {
  return UrlGetter(Value(Prop::ListStyleImage), url);
}

bool TProperties::GetVertAlign(int& align) const {
  const std::string* text = TextOf(Value(Prop::VerticalAlign));
  if (!text) return false;
  static constexpr std::pair<std::string_view, int> kWords[] = {
      {"top", 1}, {"text-top", 1}, {"middle", 2}, {"baseline", 3}, {"bottom", 4}, {"sub", 8}, {"super", 9}};
  for (const auto& [word, number] : kWords) {
    if (*text == word) {
      align = number;
      return true;
    }
  }
  return false;
}

bool TProperties::IsOverflowHidden() const { return TextIs(Value(Prop::Overflow), "hidden"); }

bool TProperties::GetFloat(int& align) const {
  const TPropValue& value = Value(Prop::Float);
  if (TextIs(value, "left")) align = 5;
  else if (TextIs(value, "right")) align = 6;
  else if (TextIs(value, "none")) align = 0;
  else return false;
  return true;
}

bool TProperties::GetClear(int& clear) {
  TPropValue& value = Value(Prop::Clear);
  bool found = true;
  if (TextIs(value, "left")) clear = 1;
  else if (TextIs(value, "right")) clear = 2;
  else if (TextIs(value, "both")) clear = 3;
  else if (TextIs(value, "none")) clear = 0;
  else found = false;
  value = std::monostate();
  return found;
}

int TProperties::GetListStyleType() const {
  const std::string* text = TextOf(Value(Prop::ListStyleType));
  return text ? ListStyleFromString(*text) : 0;
}

int TProperties::GetPosition() const {
  const TPropValue& value = Value(Prop::Position);
  if (TextIs(value, "absolute")) return 1;
  if (TextIs(value, "relative")) return 2;
  return 0;
}

int TProperties::GetVisibility() const {
  const int* number = std::get_if<int>(&Value(Prop::Visibility));
  return (number && *number == kVisibilityHidden) ? kVisibilityHidden : kVisibilityVisible;
}

int TProperties::GetZIndex() const {
  const TPropValue& value = Value(Prop::ZIndex);
  if (const int* number = std::get_if<int>(&value)) return *number;
  long long parsed = 0;
  if (const std::string* text = TextOf(value); text && ParseInteger(TrimView(*text), parsed)) {
    if (parsed > 0x7FFFFFFF) return 0x7FFFFFFF;
    if (parsed < -0x7FFFFFFF) return -0x7FFFFFFF;
    return static_cast<int>(parsed);
  }
  return 0;
}

bool TProperties::IsDisplayNone() const { return TextIs(Value(Prop::Display), "none"); }
bool TProperties::IsBorderCollapse() const { return TextIs(Value(Prop::BorderCollapse), "collapse"); }

int TProperties::GetLineHeight(int fontHeight) const {
  const TPropValue& value = Value(Prop::LineHeight);
  if (const int* number = std::get_if<int>(&value)) return RoundToInt(static_cast<double>(*number) * fontHeight);
  if (const double* number = std::get_if<double>(&value)) return RoundToInt(*number * fontHeight);
  const std::string* text = TextOf(value);
  if (!text) return -1;
  double factor = 0;
  std::string_view trimmed = TrimView(*text);
  if (!trimmed.empty() && ParseLeadingNumber(trimmed, factor) == trimmed.size())
    return RoundToInt(factor * fontHeight);
  return LengthFromString(*text, false, fontHeight, -1, EmSize, ExSize);
}

int TProperties::GetTextIndent(bool& percent) const {
  percent = false;
  const std::string* text = TextOf(Value(Prop::TextIndent));
  if (!text) return 0;
  if (text->find('%') != std::string::npos) {
    percent = true;
    return LengthFromString(*text, false, 100, 0, EmSize, ExSize);
  }
  return LengthFromString(*text, false, 0, 0, EmSize, ExSize);
}

int TProperties::GetTextTransform() const {
  const int* number = std::get_if<int>(&Value(Prop::TextTransform));
  return (number && *number >= 0 && *number <= 2) ? *number : 0;
}

std::string TProperties::GetFontVariant() const {
  const std::string* text = TextOf(Value(Prop::FontVariant));
  return text ? *text : std::string("normal");
}

void TProperties::GetPageBreaks(bool& before, bool& after, bool& inside) const {
  before = TextIs(Value(Prop::PageBreakBefore), "always");
  after = TextIs(Value(Prop::PageBreakAfter), "always");
  inside = TextIs(Value(Prop::PageBreakInside), "avoid");
}

TColor TProperties::GetBackgroundColor() const {
  const int* number = std::get_if<int>(&Value(Prop::BackgroundColor));
  return number ? static_cast<TColor>(*number) : kNoColor;
}

TColor TProperties::UpdateBackgroundColor() {
  const TColor own = GetBackgroundColor();
  if (own != kNoColor) BackgroundColor = own;
  return BackgroundColor;
}

TColor TProperties::GetColor() const {
  const int* number = std::get_if<int>(&Value(Prop::Color));
  return number ? static_cast<TColor>(*number) : kNoColor;
}

int TProperties::GetBorderStyle() const {
  const std::string* text = TextOf(Value(Prop::BorderStyle));
  return text ? BorderStyleFromString(*text) : 0;
}

}  // namespace engine
