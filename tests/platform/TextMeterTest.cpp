#include "platform/win/text/TextMeter.h"

#include <numeric>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win/gdi/DcAttributes.h"
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/MappingMode.h"
#include "platform/win/text/DrawText.h"
#include "platform/win/text/FontObject.h"
#include "platform/win/text/TextMetrics.h"

namespace win {
namespace {

const std::u16string kSample = u"Justify the quick brown fox, 1234 Élan.";

class MeasureDc : public ::testing::Test {
 protected:
  void SetUp() override {
    dc_ = CreateCompatibleDC(0);
    font_ = CreateFontW(-16, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"Arial");
    SelectObject(dc_, font_);
  }
  void TearDown() override {
    DeleteDC(dc_);
    DeleteObject(font_);
  }
  SIZE extent(const std::u16string& text) const {
    SIZE size;
    EXPECT_TRUE(GetTextExtentPoint32W(dc_, text.data(), static_cast<int>(text.size()), &size));
    return size;
  }
  int sumOfCharWidths(const std::u16string& text) const {
    int sum = 0;
    for (char16_t c : text) {
      int width = 0;
      GetCharWidth32W(dc_, c, c, &width);
      sum += width;
    }
    return sum;
  }
  HDC dc_ = 0;
  HFONT font_ = 0;
};

TEST_F(MeasureDc, ExtentIsTheSumOfAdvancesAndTheCellHeight) {
  TEXTMETRICW tm;
  GetTextMetricsW(dc_, &tm);
  const SIZE size = extent(kSample);
  EXPECT_EQ(size.cx, sumOfCharWidths(kSample));
  EXPECT_EQ(size.cy, tm.tmHeight);
  EXPECT_EQ(extent(u"").cx, 0);
  EXPECT_EQ(extent(u"").cy, tm.tmHeight);
  // No kerning: a pair measures as its two characters.
  EXPECT_EQ(extent(u"AV").cx, extent(u"A").cx + extent(u"V").cx);
}

TEST_F(MeasureDc, FitCountAndPartialExtents) {
  const int count = static_cast<int>(kSample.size());
  std::vector<int> partial(kSample.size());
  int fit = -1;
  SIZE size;
  ASSERT_TRUE(GetTextExtentExPointW(dc_, kSample.data(), count, 0, nullptr, partial.data(), &size));
  EXPECT_EQ(partial.back(), size.cx);
  for (int i = 0; i < count; ++i)
    EXPECT_EQ(partial[static_cast<std::size_t>(i)], extent(kSample.substr(0, static_cast<std::size_t>(i) + 1)).cx);

  const int tenth = partial[9];
  GetTextExtentExPointW(dc_, kSample.data(), count, tenth, &fit, nullptr, &size);
  EXPECT_EQ(fit, 10);
  GetTextExtentExPointW(dc_, kSample.data(), count, tenth - 1, &fit, nullptr, &size);
  EXPECT_EQ(fit, 9);
  GetTextExtentExPointW(dc_, kSample.data(), count, size.cx + 100, &fit, nullptr, &size);
  EXPECT_EQ(fit, count);
  GetTextExtentExPointW(dc_, kSample.data(), count, 0, &fit, nullptr, &size);
  EXPECT_EQ(fit, 0);
  GetTextExtentExPointW(dc_, kSample.data(), count, -5, &fit, nullptr, &size);
  EXPECT_EQ(fit, 0);
}

TEST_F(MeasureDc, CharacterExtraAndJustificationWiden) {
  const std::u16string text = u"a b c d";
  const LONG plain = extent(text).cx;
  const int a = extent(u"a").cx, space = extent(u" ").cx, b = extent(u"b").cx;
  SetTextCharacterExtra(dc_, 2);
  EXPECT_EQ(extent(text).cx, plain + 2 * 7);
  SetTextCharacterExtra(dc_, 0);
  SetTextJustification(dc_, 7, 3);
  EXPECT_EQ(extent(text).cx, plain + 7);
  std::vector<int> partial(text.size());
  SIZE size;
  GetTextExtentExPointW(dc_, text.data(), 7, 0, nullptr, partial.data(), &size);
  // 7 over 3 breaks: 3, 2, 2.
  EXPECT_EQ(partial[1], a + space + 3);
  EXPECT_EQ(partial[3], a + space + 3 + b + space + 2);
  SetTextJustification(dc_, 0, 0);
  EXPECT_EQ(extent(text).cx, plain);
}

TEST_F(MeasureDc, MappingModeScalesFontsInLogicalUnits) {
  const SIZE textMode = extent(kSample);
  TEXTMETRICW textMetrics;
  GetTextMetricsW(dc_, &textMetrics);
  SetMapMode(dc_, MM_ANISOTROPIC);
  SetWindowExtEx(dc_, 1, 1, nullptr);
  SetViewportExtEx(dc_, 3, 3, nullptr);
  TEXTMETRICW scaled;
  GetTextMetricsW(dc_, &scaled);
  const SIZE scaledExtent = extent(kSample);
  // The device font is three times larger; in logical units it measures about the same.
  EXPECT_NEAR(scaled.tmHeight, textMetrics.tmHeight, 1);
  EXPECT_NEAR(scaled.tmHeight - scaled.tmInternalLeading, 16, 1);
  EXPECT_NEAR(scaledExtent.cx, textMode.cx, static_cast<double>(kSample.size()) / 3 + 1);
}

TEST_F(MeasureDc, PrintingTransformKeepsMetricsExtentsAndDrawingInAgreement) {
  // Printing maps 96 logical units to 300 device pixels. The font is realised
  // at a whole device pixel em, and every logical figure comes from that one size.
  SetMapMode(dc_, MM_ANISOTROPIC);
  SetWindowExtEx(dc_, 96, 96, nullptr);
  SetViewportExtEx(dc_, 300, 300, nullptr);
  for (LONG em = 1; em <= 75; ++em) {
    HFONT font = CreateFontW(-em, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"Arial");
    HGDIOBJ old = SelectObject(dc_, font);
    TEXTMETRICW tm;
    ASSERT_TRUE(GetTextMetricsW(dc_, &tm));
    RECT drawn{0, 0, 1000, 0};
    const int drawnHeight = DrawTextW(dc_, u"Hg", 2, &drawn, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, em) << em;
    EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight) << em;
    EXPECT_EQ(extent(u"Hg").cy, tm.tmHeight) << em;
    EXPECT_EQ(drawnHeight, tm.tmHeight) << em;
    SelectObject(dc_, old);
    DeleteObject(font);
  }
}

// fitTextExtent and a TextMeter must give exactly GetTextExtentExPointW's fit,
// partial extent and width: with character extra (negative too, so extents go
// back down), justification, a scaled mapping, characters past the flat
// advance table and every kind of limit. Cases replay by number.
TEST_F(MeasureDc, MeterAgreesWithExtentsInEveryState) {
  const char16_t alphabet[] = u"aW .il\u00E9\u0416\u4E2D\u2014";
  auto setState = [&](int state) {
    // State 5 overflows int: extents are clamped, and at INT32_MAX all fits.
    SetTextCharacterExtra(dc_, state == 1 ? 3 : state == 2 ? -6 : state == 5 ? (1 << 28) : 0);
    SetTextJustification(dc_, state == 3 ? 11 : 0, state == 3 ? 4 : 0);
    SetMapMode(dc_, state == 4 ? MM_ANISOTROPIC : MM_TEXT);
    if (state == 4) {
      SetWindowExtEx(dc_, 96, 96, nullptr);
      SetViewportExtEx(dc_, 300, 300, nullptr);
    }
  };
  for (unsigned number = 0; number < 400; ++number) {
    std::mt19937 random(number);
    const int state = static_cast<int>(number % 6);
    setState(state);
    std::u16string text;
    const int length = static_cast<int>(random() % 40);
    // Half the cases use Latin-1 letters only, which the meter may take four at a time.
    const unsigned letters = number % 12 < 6 ? 7 : 10;
    for (int i = 0; i < length; ++i) text += alphabet[random() % letters];
    const int count = static_cast<int>(text.size());
    std::vector<int> partial(text.size() + 1);
    SIZE size{};
    ASSERT_TRUE(GetTextExtentExPointW(dc_, text.data(), count, 0, nullptr, partial.data(), &size));
    TextMeter meter;
    ASSERT_TRUE(meter.read(dc_));
    EXPECT_EQ(meter.width(text.data(), count), size.cx) << "case " << number;
    std::vector<int> limits = {0, -1, size.cx, size.cx - 1, size.cx / 2, static_cast<int>(random() % 400), INT32_MAX,
                               INT32_MIN};
    // The extent at every character, and one less: the fit must stop at each
    // place, whether it falls inside a group of characters measured at once or not.
    for (int i = 0; i < count; ++i) {
      limits.push_back(partial[static_cast<std::size_t>(i)]);
      limits.push_back(partial[static_cast<std::size_t>(i)] - 1);
    }
    for (int limit : limits) {
      int expectedFit = 0;
      GetTextExtentExPointW(dc_, text.data(), count, limit, &expectedFit, nullptr, &size);
      const int expectedExtent = expectedFit > 0 ? partial[static_cast<std::size_t>(expectedFit) - 1] : 0;
      int extent = -1;
      EXPECT_EQ(meter.fit(text.data(), count, limit, extent), expectedFit) << "case " << number << " limit " << limit;
      EXPECT_EQ(extent, expectedExtent) << "case " << number << " limit " << limit;
      int fit = -1;
      extent = -1;
      ASSERT_TRUE(fitTextExtent(dc_, text.data(), count, limit, &fit, &extent));
      EXPECT_EQ(fit, expectedFit) << "case " << number << " limit " << limit;
      EXPECT_EQ(extent, expectedExtent) << "case " << number << " limit " << limit;
    }
  }
  setState(0);
}

TEST_F(MeasureDc, MeterOfADeadHandleMeasuresNothing) {
  TextMeter meter;
  EXPECT_FALSE(meter.read(font_));
  EXPECT_FALSE(meter.isRead());
  int extent = -1;
  EXPECT_EQ(meter.fit(kSample.data(), 3, 1000, extent), 0);
  EXPECT_EQ(extent, 0);
  EXPECT_EQ(meter.width(kSample.data(), 3), 0);
  int fit = 0;
  EXPECT_FALSE(fitTextExtent(0, kSample.data(), 3, 1000, &fit, &extent));
  EXPECT_FALSE(fitTextExtent(dc_, kSample.data(), -1, 1000, &fit, &extent));
  EXPECT_FALSE(fitTextExtent(dc_, kSample.data(), 3, 1000, nullptr, &extent));
  ASSERT_TRUE(meter.read(dc_));
  EXPECT_TRUE(meter.current());
  resetFontInstances();
  EXPECT_FALSE(meter.current());
}

TEST_F(MeasureDc, AnsiTextIsReadAsWindows1252) {
  SIZE ansi, wide;
  const char bytes[] = "caf\xE9 \x80";
  ASSERT_TRUE(GetTextExtentPoint32A(dc_, bytes, 6, &ansi));
  wide = extent(u"café €");
  EXPECT_EQ(ansi, wide);
}

TEST_F(MeasureDc, BadArgumentsFail) {
  SIZE size;
  int widths[2];
  EXPECT_FALSE(GetTextExtentPoint32W(dc_, kSample.data(), -1, &size));
  EXPECT_FALSE(GetTextExtentPoint32W(dc_, nullptr, 3, &size));
  EXPECT_FALSE(GetTextExtentPoint32W(dc_, kSample.data(), 3, nullptr));
  EXPECT_FALSE(GetTextExtentPoint32W(0, kSample.data(), 3, &size));
  EXPECT_FALSE(GetTextExtentPoint32W(font_, kSample.data(), 3, &size));
  EXPECT_FALSE(GetCharWidth32W(dc_, 'b', 'a', widths));
  EXPECT_FALSE(GetCharWidth32W(dc_, 0, 0xFFFFFFFFu, widths));
  EXPECT_TRUE(GetTextExtentPoint32W(dc_, nullptr, 0, &size));
}

TEST_F(MeasureDc, AbcWidthsAddUpToTheAdvance) {
  ABC abc[3];
  int widths[3];
  ASSERT_TRUE(GetCharABCWidthsW(dc_, 'W', 'Y', abc));
  GetCharWidth32W(dc_, 'W', 'Y', widths);
  for (int i = 0; i < 3; ++i) {
    EXPECT_GT(abc[i].abcB, 0u);
    EXPECT_EQ(abc[i].abcA + static_cast<int>(abc[i].abcB) + abc[i].abcC, widths[i]);
  }
}

TEST_F(MeasureDc, UnknownCharactersMeasureAsTheMissingGlyph) {
  const SIZE missing = extent(u"\xE000");
  EXPECT_GT(missing.cx, 0);
  EXPECT_EQ(extent(u"\xE000\xE001").cx, 2 * missing.cx);
}

}  // namespace
}  // namespace win
