#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "engine/css/CssValues.h"
#include "engine/css/FontDevice.h"
#include "engine/css/FontInfo.h"
#include "engine/css/TMyFont.h"
#include "engine/css/TProperties.h"
#include "platform/gui/TCanvas.h"
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
