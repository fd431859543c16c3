#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/css/CssValues.h"
#include "engine/css/FontDevice.h"
#include "engine/css/FontInfo.h"
#include "engine/css/TMyFont.h"
#include "engine/css/TProperties.h"
#include "platform/gui/TCanvas.h"
#include "platform/gui/TScreen.h"
#include "platform/win/gdi/DcAttributes.h"
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/GdiObject.h"
#include "platform/win/text/FontObject.h"
#include "platform/win/text/TextMetrics.h"

namespace engine {
namespace {

std::unique_ptr<TProperties> FontProperties(const std::string& family, double points) {
  auto properties = std::make_unique<TProperties>();
  properties->DefFontName = "Times New Roman";
  properties->Value(Prop::FontFamily) = family;
  properties->Value(Prop::FontSize) = points;
  properties->Value(Prop::Color) = 0x123456;
  return properties;
}

TEST(Fonts, FamilyResolution) {
  std::string name = "unchanged";
  EXPECT_TRUE(FirstInstalledFamily("'No Such Font', monospace", name));
  EXPECT_EQ(name, "Courier New");
  EXPECT_TRUE(FirstInstalledFamily("\"arial\"", name));
  EXPECT_EQ(name, "arial");
  EXPECT_TRUE(FirstInstalledFamily("Helvetica, serif", name));
  EXPECT_EQ(name, "Arial");
  EXPECT_TRUE(FirstInstalledFamily("SERIF", name));
  EXPECT_EQ(name, "Times New Roman");
  EXPECT_TRUE(FirstInstalledFamily("'No Such Font', Courier, monospace", name));
  EXPECT_EQ(name, "Courier");
  name = "unchanged";
  EXPECT_FALSE(FirstInstalledFamily("No Such Font", name));
  EXPECT_EQ(name, "unchanged");
  EXPECT_FALSE(FirstInstalledFamily(", ,", name));

  ThtFontInfo info;
  FontProperties("No Such Font", 12)->GetFontInfo(info);
  EXPECT_EQ(info.iName, "Times New Roman");  // the default font name
}

TEST(Fonts, WeightsStylesAndDecorations) {
  auto style = [](const char* weight, const char* fontStyle, const char* decoration) {
    auto p = FontProperties("arial", 12);
    p->Value(Prop::FontWeight) = std::string(weight);
    p->Value(Prop::FontStyle) = std::string(fontStyle);
    p->Value(Prop::TextDecoration) = std::string(decoration);
    ThtFontInfo info;
    p->GetFontInfo(info);
    return info.iStyle;
  };
  EXPECT_EQ(style("600", "normal", "none"), fsBold);
  EXPECT_EQ(style("599", "normal", "none"), 0);
  EXPECT_EQ(style("bolder", "oblique", "underline"), fsBold | fsItalic | fsUnderline);
  EXPECT_EQ(style("lighter", "italic", "line-through"), fsItalic | fsStrikeOut);
}

TEST(Fonts, FontOfPropertiesAt96PixelsPerInch) {
  SetCssPixelsPerInch(96);
  auto p = FontProperties("Arial", 12);
  p->Value(Prop::LetterSpacing) = std::string("0.5em");
  std::unique_ptr<TMyFont> font = p->GetFont();
  EXPECT_EQ(font->Name(), "Arial");
  EXPECT_EQ(font->Height(), -16);
  EXPECT_EQ(font->Color(), 0x123456u);

  // The metrics are the layer's own for the same font.
  win::LOGFONTW logFont;
  logFont.lfHeight = -16;
  logFont.lfWeight = 400;
  const char16_t face[] = u"Arial";
  for (std::size_t index = 0; face[index]; ++index) logFont.lfFaceName[index] = face[index];
  win::HDC dc = win::CreateCompatibleDC(0);
  win::HFONT handle = win::CreateFontIndirectW(&logFont);
  win::HGDIOBJ previous = win::SelectObject(dc, handle);
  win::TEXTMETRICW metrics;
  ASSERT_TRUE(win::GetTextMetricsW(dc, &metrics));
  win::SelectObject(dc, previous);
  win::DeleteObject(handle);
  win::DeleteDC(dc);
  EXPECT_EQ(font->tmHeight, metrics.tmHeight);
  EXPECT_EQ(font->tmDescent, metrics.tmDescent);
  EXPECT_EQ(font->tmAveCharWidth, metrics.tmAveCharWidth);
  EXPECT_EQ(p->EmSize, metrics.tmHeight - metrics.tmInternalLeading);
  EXPECT_EQ(p->ExSize, p->EmSize / 2);
  EXPECT_EQ(font->CharExtra, static_cast<int>(std::nearbyint(p->EmSize * 0.5)));

  std::unique_ptr<TMyFont> second = p->GetFont();
  EXPECT_NE(second.get(), font.get());  // a fresh copy each time
  EXPECT_EQ(second->Name(), font->Name());
  EXPECT_EQ(second->tmHeight, font->tmHeight);
  SetCssPixelsPerInch(0);
}

TEST(Fonts, TinyAndNegativeSizesGiveOnePixel) {
  for (double points : {0.0, -3.0, 0.1}) {
    auto p = FontProperties("Arial", points);
    EXPECT_EQ(p->GetFont()->Height(), -1) << points;
  }
}

TEST(Fonts, SymbolCharsetWins) {
  int measured = 0;
  SetFontDeviceHooks({nullptr, nullptr, [&measured](const FontRequest& request) {
                        ++measured;
                        FontMetrics metrics;
                        metrics.height = 10;
                        metrics.charset = 2;
                        EXPECT_EQ(request.charset, measured == 1 ? 1 : 2);
                        return metrics;
                      }});
  auto p = FontProperties("Wingdings", 12);
  p->Charset = 0;
  EXPECT_EQ(p->GetFont()->Charset(), 2);
  EXPECT_EQ(measured, 2);
  SetFontDeviceHooks({});
}

// The screen's own answer, given through the hook: fonts are then made afresh
// every time, with nothing kept from earlier requests.
FontDeviceHooks FreshFontHooks() {
  FontDeviceHooks hooks;
  hooks.isFontInstalled = [](const std::string& name) { return gui::Screen->Fonts().IndexOf(name) >= 0; };
  return hooks;
}

TEST(Fonts, FamilyChoicesFollowTheInstalledFamilies) {
  std::string name;
  EXPECT_TRUE(FirstInstalledFamily("Made Up Face, Arial", name));
  EXPECT_EQ(name, "Arial");
  // A family that becomes installed is chosen from then on, and no longer once it goes.
  SetFontDeviceHooks({[](const std::string& family) { return family == "Made Up Face"; }, nullptr, nullptr});
  EXPECT_TRUE(FirstInstalledFamily("Made Up Face, Arial", name));
  EXPECT_EQ(name, "Made Up Face");
  SetFontDeviceHooks({});
  EXPECT_TRUE(FirstInstalledFamily("Made Up Face, Arial", name));
  EXPECT_EQ(name, "Arial");
  // The same through the screen's own list.
  gui::TStrings& installed = gui::Screen->Fonts();
  installed.Add("Made Up Face");
  EXPECT_TRUE(FirstInstalledFamily("Made Up Face, Arial", name));
  EXPECT_EQ(name, "Made Up Face");
  const std::string longList = std::string(300, 'x') + ", Made Up Face, Arial";
  EXPECT_TRUE(FirstInstalledFamily(longList, name));
  EXPECT_EQ(name, "Made Up Face");
  installed.Delete(installed.IndexOf("Made Up Face"));
  EXPECT_TRUE(FirstInstalledFamily("Made Up Face, Arial", name));
  EXPECT_EQ(name, "Arial");
  EXPECT_TRUE(FirstInstalledFamily(longList, name));
  EXPECT_EQ(name, "Arial");
  name = "unchanged";
  EXPECT_FALSE(FirstInstalledFamily("Made Up Face", name));
  EXPECT_FALSE(FirstInstalledFamily("Made Up Face", name));
  EXPECT_EQ(name, "unchanged");
}

// Font values, each picked from a few that make different fonts.
struct FontValuePicks {
  static inline const std::vector<std::vector<TPropValue>> kChoices = {
      {std::monostate{}, std::string("Arial"), std::string("serif"), std::string("'Made Up', monospace"),
       std::string("Made Up"), std::string(300, 'x') + ", monospace"},
      {std::monostate{}, 12.0, 10.5, std::string("medium"), std::string("small"), std::string("16px"),
       std::string("2em")},
      {std::monostate{}, std::string("bold"), std::string("normal"), std::string("700"), 700},
      {std::monostate{}, std::string("italic"), std::string("normal")},
      {std::monostate{}, std::string("underline"), std::string("line-through"), std::string("none")},
      {std::monostate{}, std::string("normal"), std::string("2px"), std::string("0.5em"), 3, 1.6},
      {std::monostate{}, 0x123456, 0xFF0000}};
  static constexpr Prop kProps[] = {Prop::FontFamily, Prop::FontSize, Prop::FontWeight, Prop::FontStyle,
                                    Prop::TextDecoration, Prop::LetterSpacing, Prop::Color};
  static inline const std::vector<std::string> kDefaultNames = {"Times New Roman", "Arial", "Courier New"};
  static constexpr std::size_t kFields = 10;  // the values above, background, charset, default name

  static std::size_t ChoiceCount(std::size_t field) {
    if (field < kChoices.size()) return kChoices[field].size();
    return field == 7 ? 2 : 3;
  }

  std::vector<std::size_t> picks = std::vector<std::size_t>(kFields, 0);

  static FontValuePicks Random(std::mt19937& random) {
    FontValuePicks values;
    for (std::size_t field = 0; field < kFields; ++field) values.picks[field] = random() % ChoiceCount(field);
    return values;
  }
  // The same values but one field, which takes another choice.
  FontValuePicks Varied(std::size_t field, std::mt19937& random) const {
    FontValuePicks values = *this;
    values.picks[field] = (picks[field] + 1 + random() % (ChoiceCount(field) - 1)) % ChoiceCount(field);
    return values;
  }
  std::unique_ptr<TProperties> Properties() const {
    auto props = std::make_unique<TProperties>();
    for (std::size_t field = 0; field < kChoices.size(); ++field)
      props->Value(kProps[field]) = kChoices[field][picks[field]];
    props->BackgroundColor = picks[7] ? 0xFFFFFF : kNoColor;
    props->Charset = static_cast<std::uint8_t>(picks[8]);
    props->DefFontName = kDefaultNames[picks[9]];
    return props;
  }
};

std::string Describe(TProperties& props) {
  const std::unique_ptr<TMyFont> font = props.GetFont();
  return font->Name() + " h" + std::to_string(font->Height()) + " s" + std::to_string(font->Style()) + " c" +
         std::to_string(font->Color()) + " bg" + std::to_string(font->bgColor) + " cs" +
         std::to_string(font->Charset()) + " ppi" + std::to_string(font->PixelsPerInch()) + " tm" +
         std::to_string(font->tmHeight) + "/" + std::to_string(font->tmDescent) + "/" +
         std::to_string(font->tmExternalLeading) + "/" + std::to_string(font->tmAveCharWidth) + "/" +
         std::to_string(font->tmMaxCharWidth) + "/" + std::to_string(font->tmCharset) + " x" +
         std::to_string(font->CharExtra) + " em" + std::to_string(props.EmSize) + " ex" +
         std::to_string(props.ExSize);
}

// Fonts made for alike values are reused. Values that differ from the ones
// before them in a single field, under changing settings, must each give the
// font made afresh for them. Replayable by number.
TEST(Fonts, ReusedFontsAreTheFontsMadeAfresh) {
  struct Settings {
    double defaultSize;
    int pixelsPerInch;
  };
  for (int number = 0; number < 50; ++number) {
    std::mt19937 random(static_cast<unsigned>(number));
    std::vector<FontValuePicks> values = {FontValuePicks::Random(random)};
    for (std::size_t field = 0; field < FontValuePicks::kFields; ++field)
      values.push_back(values.front().Varied(field, random));
    const Settings settings[] = {{12, 0}, {10, 0}, {12, 120}, {12, 0}};
    std::vector<std::vector<std::string>> fresh;
    SetFontDeviceHooks(FreshFontHooks());
    for (const Settings& setting : settings) {
      SetDefaultFontSize(setting.defaultSize);
      SetCssPixelsPerInch(setting.pixelsPerInch);
      fresh.emplace_back();
      for (const FontValuePicks& picks : values) fresh.back().push_back(Describe(*picks.Properties()));
    }
    SetFontDeviceHooks({});
    for (std::size_t which = 0; which < std::size(settings); ++which) {
      SetDefaultFontSize(settings[which].defaultSize);
      SetCssPixelsPerInch(settings[which].pixelsPerInch);
      for (std::size_t at = 0; at < values.size(); ++at) {
        ASSERT_EQ(Describe(*values[at].Properties()), fresh[which][at])
            << "case " << number << ", values " << at << ", settings " << which;
      }
    }
  }
  SetDefaultFontSize(12);
  SetCssPixelsPerInch(0);
}

// A page's elements take a few dozen distinct fonts, among which alike elements recur;
// each recurrence shares the font made first instead of measuring one anew.
TEST(Fonts, AlikeElementsShareOneFontAmongDozensOfOthers) {
  const auto first = FontProperties("Arial", 11);
  const TMyFont* font = &ElementFont(*first);
  for (int size = 1; size <= 40; ++size) ElementFont(*FontProperties("Arial", 20 + size * 0.5));
  EXPECT_EQ(&ElementFont(*FontProperties("Arial", 11)), font);
  EXPECT_NE(&ElementFont(*FontProperties("Arial", 11.5)), font);
}

TEST(Fonts, LinkLooksTakeRuleValuesRelativeToTheirOwn) {
  ThtFontInfo info;
  info.iSize = 10;
  info.iStyle = fsUnderline;
  info.ApplyRuleValue(PropIdx(Prop::FontSize), std::string("200%"));
  info.ApplyRuleValue(PropIdx(Prop::FontWeight), std::string("700"));
  info.ApplyRuleValue(PropIdx(Prop::TextDecoration), std::string("none"));
  info.ApplyRuleValue(PropIdx(Prop::FontFamily), std::string("nosuch, monospace"));
  info.ApplyRuleValue(PropIdx(Prop::Color), 0x00FF00);
  EXPECT_DOUBLE_EQ(info.iSize, 20);
  EXPECT_EQ(info.iStyle, fsBold);
  EXPECT_EQ(info.iName, "Courier New");
  EXPECT_EQ(info.iColor, 0x00FF00u);
  info.ApplyRuleValue(PropIdx(Prop::FontWeight), std::string("normal"));
  EXPECT_EQ(info.iStyle, 0);

  TFontInfoArray looks;
  looks.Ar[TFontInfoArray::Hover]->iName = "Arial";
  TFontInfoArray copy;
  copy.Assign(looks);
  EXPECT_EQ(copy.Ar[TFontInfoArray::Hover]->iName, "Arial");
  EXPECT_NE(copy.Ar[TFontInfoArray::Hover].get(), looks.Ar[TFontInfoArray::Hover].get());
}

}  // namespace
}  // namespace engine

namespace engine {
namespace {

TEST(Fonts, AssignCopiesMeasuredValuesAndCanvasTakesTheSpacing) {
  TMyFont font;
  font.SetName("Arial");
  font.SetHeight(-20);
  font.tmHeight = 23;
  font.CharExtra = 3;
  TMyFont copy;
  copy.Assign(&font);
  EXPECT_EQ(copy.Name(), "Arial");
  EXPECT_EQ(copy.Height(), -20);
  EXPECT_EQ(copy.tmHeight, 23);
  EXPECT_EQ(copy.CharExtra, 3);

  gui::TCanvas canvas;
  win::HDC dc = win::CreateCompatibleDC(0);
  canvas.SetHandle(dc);
  ApplyFontToCanvas(copy, canvas);
  EXPECT_EQ(win::GetTextCharacterExtra(dc), 3);
  EXPECT_EQ(canvas.Font().Height(), -20);
  canvas.SetHandle(0);
  win::DeleteDC(dc);
}

}  // namespace
}  // namespace engine
