// Building the document font of a TProperties: its description, the device's metrics, the cache.
#include <memory>

#include "engine/css/CssText.h"
#include "engine/css/CssValues.h"
#include "engine/css/FontDevice.h"
#include "engine/css/FontInfo.h"
#include "engine/css/TMyFont.h"
#include "engine/css/TProperties.h"

namespace engine {
namespace {

constexpr int kDefaultCharset = 1;
constexpr int kSymbolCharset = 2;

bool IsBold(const TPropValue& weight) {
  if (const std::string* text = std::get_if<std::string>(&weight)) {
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
  if (const std::string* text = std::get_if<std::string>(&size)) return FontSizeFromString(*text, DefaultFontSize());
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
  if (const std::string* text = std::get_if<std::string>(&spacing); text && *text != "normal")
    return LengthFromString(*text, true, em, 0, em, ex);
  return 0;
}

}  // namespace

void TProperties::GetFontInfo(ThtFontInfo& info) const {
  info.ibgColor = BackgroundColor;
  info.iColor = GetColor();
  TFontStyles style = 0;
  if (IsBold(Value(Prop::FontWeight))) style |= fsBold;
  const TPropValue& fontStyle = Value(Prop::FontStyle);
  if (const std::string* text = std::get_if<std::string>(&fontStyle); text && (*text == "italic" || *text == "oblique"))
    style |= fsItalic;
  if (const std::string* text = std::get_if<std::string>(&Value(Prop::TextDecoration))) {
    if (*text == "underline") style |= fsUnderline;
    if (*text == "line-through") style |= fsStrikeOut;
  }
  info.iStyle = style;
  info.iSize = PointSize(Value(Prop::FontSize));
  info.iCharset = Charset;
  info.iSpace = Value(Prop::LetterSpacing);
  const std::string* family = std::get_if<std::string>(&Value(Prop::FontFamily));
  if (!family || !FirstInstalledFamily(*family, info.iName)) info.iName = DefFontName;
}

std::unique_ptr<TMyFont> TProperties::GetFont() {
  if (!CachedFont) {
    ThtFontInfo info;
    GetFontInfo(info);
    auto font = std::make_unique<TMyFont>();
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

    EmSize = metrics.height - metrics.internalLeading;
    ExSize = EmSize / 2;
    font->tmHeight = metrics.height;
    font->tmDescent = metrics.descent;
    font->tmExternalLeading = metrics.externalLeading;
    font->tmAveCharWidth = metrics.aveCharWidth;
    font->tmMaxCharWidth = metrics.maxCharWidth;
    font->tmCharset = metrics.charset;
    font->CharExtra = LetterSpacingPixels(info.iSpace, EmSize, ExSize);
    CachedFont = std::move(font);
  }
  auto copy = std::make_unique<TMyFont>();
  copy->Assign(CachedFont.get());
  return copy;
}

}  // namespace engine
