// Building the document font of a TProperties: its description, the device's metrics, the cache.
#include <array>
#include <bit>
#include <cstdint>
#include <memory>

#include "engine/css/CssText.h"
#include "engine/css/CssValues.h"
#include "engine/css/FontDevice.h"
#include "engine/css/FontInfo.h"
#include "engine/css/TMyFont.h"
#include "engine/css/TProperties.h"
#include "platform/win/gdi/ScreenDevice.h"

namespace engine {
namespace {

constexpr int kDefaultCharset = 1;
constexpr int kSymbolCharset = 2;

bool IsBold(const TPropValue& weight) {
  if (const std::string* text = TextOf(weight)) {
    if (text->find("bold") != std::string::npos) return true;
    long long number = 0;
    return ParseInteger(TrimView(*text), number) && number > 599;
  }
  if (const int* number = std::get_if<int>(&weight)) return *number > 599;
  return false;
}

double PointSize(const TPropValue& size) {
  if (const double* points = std::get_if<double>(&size)) return *points;
  if (const int* number = std::get_if<int>(&size)) return *number;
  if (const std::string* text = TextOf(size)) return FontSizeFromString(*text, DefaultFontSize());
  return DefaultFontSize();
}

// A size of 0 or less would ask the device for its default or a cell height: at least one pixel.
int EmHeightPixels(double points) {
  int pixels = RoundToInt(CssPixelsPerInch() * points / 72);
  return pixels < 1 ? 1 : pixels;
}

int LetterSpacingPixels(const TPropValue& spacing, int em, int ex) {
  if (const int* number = std::get_if<int>(&spacing)) return *number;
  if (const double* number = std::get_if<double>(&spacing)) return RoundToInt(*number);
  if (const std::string* text = TextOf(spacing); text && *text != "normal")
    return LengthFromString(*text, true, em, 0, em, ex);
  return 0;
}

// The settings outside a TProperties that its document font depends on.
struct FontSettings {
  double defaultSize = 0;
  int cssPixelsPerInch = 0;
  int screenPixelsPerInch = 0;
  unsigned deviceVersion = 0;

  static FontSettings Now() {
    return {DefaultFontSize(), CssPixelsPerInch(), win::screenPixelsPerInch(), FontDeviceVersion()};
  }
  bool operator==(const FontSettings&) const = default;
};

// Most elements take a font that a recent element already made: the same
// font values under the same settings give the same font and em size, which
// the elements then share. 64 are kept with the values they were made from: a
// dense page takes a few dozen looks in turn (prose, terms, code, links,
// headings), which 16 did not hold, so each element made its font anew. The
// summary of the values picks a set of sixteen slots, the only ones searched;
// within a set the oldest gives way.
class RecentFonts {
 public:
  struct Made {
    std::shared_ptr<const TMyFont> font;
    int emSize = 0;
  };

  // The slot found last is tried first: an element's font is most often the one the
  // element before it took. Otherwise summary is computed, and the set searched.
  const Made* Find(const TProperties& props, const FontSettings& settings, std::uint64_t& summary) {
    if (settings.deviceVersion == 0) return nullptr;
    if (const Slot& last = slots_[lastFound_]; last.made.font && last.settings == settings && SameValues(last, props)) {
      summary = summaries_[lastFound_];
      return &last.made;
    }
    summary = Summary(props);
    const std::size_t first = SetOf(summary) * kWays;
    for (std::size_t index = first; index < first + kWays; ++index) {
      if (summaries_[index] != summary) continue;
      const Slot& slot = slots_[index];
      if (slot.made.font && slot.settings == settings && SameValues(slot, props)) {
        lastFound_ = index;
        return &slot.made;
      }
    }
    return nullptr;
  }

  void Keep(const TProperties& props, const FontSettings& settings, std::uint64_t summary,
            std::shared_ptr<const TMyFont> font, int emSize) {
    if (settings.deviceVersion == 0 || !Keepable(props)) return;
    const std::size_t set = SetOf(summary);
    const std::size_t index = set * kWays + nextWay_[set];
    nextWay_[set] = static_cast<std::uint8_t>((nextWay_[set] + 1) % kWays);
    lastFound_ = index;
    summaries_[index] = summary;
    Slot& slot = slots_[index];
    for (std::size_t at = 0; at < kFontProps.size(); ++at) slot.values[at] = props.Value(kFontProps[at]);
    slot.color = props.GetColor();
    slot.background = props.BackgroundColor;
    slot.charset = props.Charset;
    slot.defaultName = props.DefFontName;
    slot.settings = settings;
    slot.made.font = std::move(font);
    slot.made.emSize = emSize;
  }

  // A summary of the values SameValues compares, equal whenever they are (a zero of
  // either sign aside): the slots of other summaries are passed over unread.
  static std::uint64_t Summary(const TProperties& props) {
    std::uint64_t summary = (std::uint64_t{props.GetColor()} << 32 | props.BackgroundColor) ^ props.Charset;
    for (Prop prop : kFontProps) {
      const TPropValue& value = props.Value(prop);
      std::uint64_t part = value.index();
      if (const double* number = std::get_if<double>(&value)) {
        part ^= std::bit_cast<std::uint64_t>(*number);
      } else if (const int* number = std::get_if<int>(&value)) {
        part ^= static_cast<std::uint64_t>(static_cast<std::uint32_t>(*number)) << 2;
      } else if (const std::string* text = TextOf(value); text && !text->empty()) {
        part ^= text->size() << 2 ^ std::uint64_t{static_cast<unsigned char>(text->back())} << 24;
      }
      summary = (summary ^ part) * 0x100000001B3ull;
    }
    return summary ^ props.DefFontName.size();
  }

 private:
  // Every value GetFontInfo reads, most often different first.
  static constexpr std::array<Prop, 6> kFontProps = {Prop::FontSize,  Prop::FontWeight,    Prop::FontStyle,
                                                     Prop::FontFamily, Prop::TextDecoration, Prop::LetterSpacing};
  struct Slot {
    std::array<TPropValue, kFontProps.size()> values;
    TColor color = 0;
    TColor background = 0;
    std::uint8_t charset = 0;
    std::string defaultName;
    FontSettings settings;
    Made made;
  };

  static constexpr std::size_t kWays = 16;
  static constexpr std::size_t kSets = 4;

  static std::size_t SetOf(std::uint64_t summary) {
    return static_cast<std::size_t>((summary * 0x9E3779B97F4A7C15ull) >> 60) % kSets;
  }

  // Long texts are not kept: what stays held after a page is small.
  static bool Keepable(const TProperties& props) {
    for (Prop prop : kFontProps) {
      const std::string* text = TextOf(props.Value(prop));
      if (text && text->size() > kMaxTextLength) return false;
    }
    return props.DefFontName.size() <= kMaxTextLength;
  }

  static bool SameValues(const Slot& slot, const TProperties& props) {
    if (slot.color != props.GetColor() || slot.background != props.BackgroundColor || slot.charset != props.Charset)
      return false;
    for (std::size_t index = 0; index < kFontProps.size(); ++index) {
      if (!SameValue(slot.values[index], props.Value(kFontProps[index]))) return false;
    }
    return SameText(slot.defaultName, props.DefFontName);
  }

  static constexpr std::size_t kMaxTextLength = 256;
  std::array<Slot, kWays * kSets> slots_;
  std::array<std::uint64_t, kWays * kSets> summaries_{};  // of the slots' values
  std::array<std::uint8_t, kSets> nextWay_{};
  std::size_t lastFound_ = 0;
};

std::shared_ptr<const TMyFont> MakeFont(const TProperties& props, int& emSize) {
  ThtFontInfo info;
  props.GetFontInfo(info);
  auto font = std::make_shared<TMyFont>();
  font->SetName(info.iName);
  font->SetHeight(-EmHeightPixels(info.iSize));
  font->SetStyle(info.iStyle);
  font->bgColor = info.ibgColor;
  font->SetColor(info.iColor);

  FontRequest request{info.iName, font->Height(), (info.iStyle & fsBold) != 0, (info.iStyle & fsItalic) != 0,
                      (info.iStyle & fsUnderline) != 0, (info.iStyle & fsStrikeOut) != 0, kDefaultCharset};
  FontMetrics metrics = MeasureFont(request);
  int charset = metrics.charset == kSymbolCharset ? kSymbolCharset : info.iCharset;
  if (charset != kDefaultCharset) {
    request.charset = charset;
    metrics = MeasureFont(request);
  }
  font->SetCharset(static_cast<gui::TFontCharset>(charset));

  emSize = metrics.height - metrics.internalLeading;
  font->tmHeight = metrics.height;
  font->tmDescent = metrics.descent;
  font->tmExternalLeading = metrics.externalLeading;
  font->tmAveCharWidth = metrics.aveCharWidth;
  font->tmMaxCharWidth = metrics.maxCharWidth;
  font->tmCharset = metrics.charset;
  font->CharExtra = LetterSpacingPixels(info.iSpace, emSize, emSize / 2);
  return font;
}

}  // namespace

void TProperties::GetFontInfo(ThtFontInfo& info) const {
  info.ibgColor = BackgroundColor;
  info.iColor = GetColor();
  TFontStyles style = 0;
  if (IsBold(Value(Prop::FontWeight))) style |= fsBold;
  const TPropValue& fontStyle = Value(Prop::FontStyle);
  if (const std::string* text = TextOf(fontStyle); text && (*text == "italic" || *text == "oblique"))
    style |= fsItalic;
  if (const std::string* text = TextOf(Value(Prop::TextDecoration))) {
    if (*text == "underline") style |= fsUnderline;
    if (*text == "line-through") style |= fsStrikeOut;
  }
  info.iStyle = style;
  info.iSize = PointSize(Value(Prop::FontSize));
  info.iCharset = Charset;
  info.iSpace = Value(Prop::LetterSpacing);
  const std::string* family = TextOf(Value(Prop::FontFamily));
  if (!family || !FirstInstalledFamily(*family, info.iName)) info.iName = DefFontName;
}

namespace {
thread_local RecentFonts recentElementFonts;
}  // namespace

const TMyFont& ElementFont(TProperties& props) {
  if (!props.CachedFont) {
    RecentFonts& recent = recentElementFonts;
    const FontSettings settings = FontSettings::Now();
    std::uint64_t summary = 0;
    if (const RecentFonts::Made* made = recent.Find(props, settings, summary)) {
      props.CachedFont = made->font;
      props.EmSize = made->emSize;
    } else {
      props.CachedFont = MakeFont(props, props.EmSize);
      recent.Keep(props, settings, summary, props.CachedFont, props.EmSize);
    }
    props.ExSize = props.EmSize / 2;
  }
  return *props.CachedFont;
}

void ForgetRecentElementFonts() { recentElementFonts = RecentFonts{}; }

std::unique_ptr<TMyFont> TProperties::GetFont() {
  auto copy = std::make_unique<TMyFont>();
  copy->AssignMyFont(ElementFont(*this));
  return copy;
}

std::shared_ptr<const TMyFont> TProperties::SharedFont(int pixelsPerInch) {
  const TMyFont& font = ElementFont(*this);
  if (font.PixelsPerInch() == pixelsPerInch) return CachedFont;
  return CopyFont(font, pixelsPerInch);
}

std::shared_ptr<const TMyFont> TProperties::SharedFont() { return SharedFont(win::screenPixelsPerInch()); }

}  // namespace engine
