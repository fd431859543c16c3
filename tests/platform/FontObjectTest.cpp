#include "platform/win/text/FontObject.h"

#include <string>

#include <gtest/gtest.h>

#include "platform/win/gdi/BrushObject.h"
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/StockObjects.h"
#include "platform/win/text/TextMeter.h"
#include "platform/win/text/TextMetrics.h"

namespace win {
namespace {

// A screen-compatible memory DC that frees itself and the fonts made through it.
class FontDc {
 public:
  FontDc() : dc_(CreateCompatibleDC(0)) {}
  ~FontDc() {
    DeleteDC(dc_);
    for (HFONT font : fonts_) DeleteObject(font);
  }
  HDC dc() const { return dc_; }
  HFONT select(LONG height, const char16_t* face, LONG weight = FW_NORMAL, BYTE italic = 0,
               BYTE charSet = DEFAULT_CHARSET) {
    HFONT font = CreateFontW(height, 0, 0, 0, weight, italic, 0, 0, charSet, 0, 0, 0, 0, face);
    fonts_.push_back(font);
    SelectObject(dc_, font);
    return font;
  }
  TEXTMETRICW metrics() const {
    TEXTMETRICW tm;
    EXPECT_TRUE(GetTextMetricsW(dc_, &tm));
    return tm;
  }
  std::u16string face() const {
    WCHAR name[LF_FACESIZE];
    const int copied = GetTextFaceW(dc_, LF_FACESIZE, name);
    return copied > 0 ? std::u16string(name, static_cast<std::size_t>(copied - 1)) : std::u16string();
  }

 private:
  HDC dc_;
  std::vector<HFONT> fonts_;
};

TEST(FontMetrics, NegativeHeightIsTheEmHeight) {
  FontDc dc;
  for (const char16_t* face : {u"Arial", u"Times New Roman", u"Courier New"}) {
    for (LONG em : {8, 11, 13, 16, 24, 37}) {
      dc.select(-em, face);
      const TEXTMETRICW tm = dc.metrics();
      EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
      EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, em);
      EXPECT_GE(tm.tmInternalLeading, 0);
      EXPECT_GT(tm.tmAveCharWidth, 0);
      EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
    }
  }
}

TEST(FontMetrics, PositiveHeightIsTheCellHeight) {
  FontDc dc;
  for (LONG cell : {12, 16, 19, 32}) {
    dc.select(cell, u"Arial");
    EXPECT_NEAR(dc.metrics().tmHeight, cell, 1) << cell;
  }
}

TEST(FontMetrics, LiberationSansMatchesTheTableDerivedValues) {
  // Liberation Sans: unitsPerEm 2048, usWinAscent 1854, usWinDescent 434,
  // hhea lineGap 67, ascender 1854, descender -434.
  FontDc dc;
  dc.select(-16, u"Arial");
  const TEXTMETRICW tm = dc.metrics();
  EXPECT_EQ(tm.tmAscent, 14);
  EXPECT_EQ(tm.tmDescent, 3);
  EXPECT_EQ(tm.tmExternalLeading, 1);
  EXPECT_EQ(tm.tmOverhang, 0);
}

TEST(FontMetrics, AverageWidthWeighsLowerCaseLettersAndTheSpace) {
  // The Liberation files carry the all-glyph average in their OS/2 table (1208
  // units for Sans); the letter-frequency average of their advances is 904 for
  // Sans and 822 for Serif, which text inputs are sized by (10 pt is 13 pixels).
  FontDc dc;
  dc.select(-13, u"Arial");
  EXPECT_EQ(dc.metrics().tmAveCharWidth, 6);
  dc.select(-16, u"Arial");
  EXPECT_EQ(dc.metrics().tmAveCharWidth, 7);
  dc.select(-16, u"Times New Roman");
  EXPECT_EQ(dc.metrics().tmAveCharWidth, 6);
  dc.select(-100, u"Arial");
  EXPECT_EQ(dc.metrics().tmAveCharWidth, 44);
  // A fixed-pitch face averages to its one advance either way.
  dc.select(-16, u"Courier New");
  int advance = 0;
  ASSERT_TRUE(GetCharWidth32W(dc.dc(), 'x', 'x', &advance));
  EXPECT_EQ(dc.metrics().tmAveCharWidth, advance);
}

TEST(FontMetrics, PitchBitIsSetForVariablePitchOnly) {
  FontDc dc;
  dc.select(-12, u"Arial");
  EXPECT_EQ(dc.metrics().tmPitchAndFamily & TMPF_FIXED_PITCH, TMPF_FIXED_PITCH);
  EXPECT_EQ(dc.metrics().tmPitchAndFamily & TMPF_TRUETYPE, TMPF_TRUETYPE);
  dc.select(-12, u"Courier New");
  const TEXTMETRICW tm = dc.metrics();
  EXPECT_EQ(tm.tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
  EXPECT_EQ(tm.tmPitchAndFamily & 0xF0, FF_MODERN);
  EXPECT_EQ(tm.tmAveCharWidth, tm.tmMaxCharWidth);
}

TEST(FontMetrics, StyleFlagsAndWeightAreReported) {
  FontDc dc;
  HFONT font = CreateFontW(-12, 0, 0, 0, FW_BOLD, 1, 1, 1, ANSI_CHARSET, 0, 0, 0, 0, u"Arial");
  SelectObject(dc.dc(), font);
  const TEXTMETRICW tm = dc.metrics();
  EXPECT_EQ(tm.tmWeight, FW_BOLD);
  EXPECT_NE(tm.tmItalic, 0);
  EXPECT_NE(tm.tmUnderlined, 0);
  EXPECT_NE(tm.tmStruckOut, 0);
  EXPECT_EQ(tm.tmCharSet, ANSI_CHARSET);
  EXPECT_EQ(tm.tmBreakChar, u' ');
  SelectObject(dc.dc(), GetStockObject(SYSTEM_FONT));
  DeleteObject(font);
}

TEST(FontMetrics, BoldWithoutABoldFileIsSynthesizedOnePixelWider) {
  // DejaVu Math TeX Gyre comes in one upright regular file only.
  const ResolvedFont& bold = resolveFont({"DejaVu Math TeX Gyre", FW_BOLD, true});
  ASSERT_EQ(bold.usedFamily, "DejaVu Math TeX Gyre");
  EXPECT_TRUE(bold.synthesizeBold);
  EXPECT_TRUE(bold.synthesizeItalic);
  FontDc dc;
  int regular[3], heavy[3];
  dc.select(-20, u"DejaVu Math TeX Gyre");
  ASSERT_TRUE(GetCharWidth32W(dc.dc(), 'a', 'c', regular));
  const LONG regularAverage = dc.metrics().tmAveCharWidth;
  dc.select(-20, u"DejaVu Math TeX Gyre", FW_BOLD);
  ASSERT_TRUE(GetCharWidth32W(dc.dc(), 'a', 'c', heavy));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(heavy[i], regular[i] + 1);
  EXPECT_EQ(dc.metrics().tmAveCharWidth, regularAverage + 1);
}

TEST(FontCharset, AFixedPitchFaceInAnEastAsianCharacterSetStaysFixedPitch) {
  FontDc dc;
  dc.select(-16, u"Courier New", FW_NORMAL, 0, SHIFTJIS_CHARSET);
  EXPECT_NE(dc.face(), u"Courier New");  // the face with the Japanese letters
  int narrow = 0, wide = 0;
  ASSERT_TRUE(GetCharWidth32W(dc.dc(), 'i', 'i', &narrow));
  ASSERT_TRUE(GetCharWidth32W(dc.dc(), 'M', 'M', &wide));
  EXPECT_EQ(narrow, wide);
  EXPECT_EQ(dc.metrics().tmCharSet, SHIFTJIS_CHARSET);
}

TEST(FontFaceName, ReportsRequestedNameWhenInstalledElseTheSubstitute) {
  FontDc dc;
  dc.select(-12, u"Arial");
  EXPECT_EQ(dc.face(), u"Arial");
  dc.select(-12, u"liberation serif");
  EXPECT_EQ(dc.face(), u"liberation serif");
  dc.select(-12, u"Courier");
  EXPECT_EQ(dc.face(), u"Courier");
  dc.select(-12, u"Helvetica");
  EXPECT_EQ(dc.face(), u"Arial");
  dc.select(-12, u"No Such Face");
  EXPECT_EQ(dc.face(), u"Liberation Sans");
  EXPECT_EQ(GetTextFaceW(dc.dc(), 0, nullptr), 16);
  WCHAR shortBuffer[4];
  EXPECT_EQ(GetTextFaceW(dc.dc(), 4, shortBuffer), 4);
  EXPECT_EQ(std::u16string(shortBuffer), u"Lib");
}

TEST(FontCharset, DefaultAndSymbolOnTextFacesReportAnsi) {
  FontDc dc;
  dc.select(-12, u"Arial", FW_NORMAL, 0, DEFAULT_CHARSET);
  EXPECT_EQ(GetTextCharset(dc.dc()), ANSI_CHARSET);
  dc.select(-12, u"Symbol", FW_NORMAL, 0, SYMBOL_CHARSET);
  EXPECT_EQ(dc.metrics().tmCharSet, ANSI_CHARSET);
  dc.select(-12, u"Arial", FW_NORMAL, 0, RUSSIAN_CHARSET);
  EXPECT_EQ(GetTextCharset(dc.dc()), RUSSIAN_CHARSET);
}

TEST(FontObject, GetObjectReturnsTheLogFont) {
  LOGFONTW in;
  in.lfHeight = -13;
  in.lfWeight = FW_SEMIBOLD;
  in.lfItalic = 1;
  in.lfCharSet = GREEK_CHARSET;
  in.lfPitchAndFamily = VARIABLE_PITCH | FF_ROMAN;
  std::u16string face = u"Times New Roman";
  std::copy(face.begin(), face.end(), in.lfFaceName);
  HFONT font = CreateFontIndirectW(&in);
  ASSERT_NE(font, 0u);
  EXPECT_EQ(GetObjectType(font), OBJ_FONT);
  EXPECT_EQ(GetObjectW(font, 0, nullptr), static_cast<int>(sizeof(LOGFONTW)));
  LOGFONTW out;
  EXPECT_EQ(GetObjectW(font, sizeof out, &out), static_cast<int>(sizeof out));
  EXPECT_EQ(out.lfHeight, -13);
  EXPECT_EQ(out.lfWeight, FW_SEMIBOLD);
  EXPECT_EQ(out.lfCharSet, GREEK_CHARSET);
  EXPECT_EQ(std::u16string(out.lfFaceName), face);
  EXPECT_TRUE(DeleteObject(font));
  EXPECT_EQ(GetObjectW(font, sizeof out, &out), 0);
}

TEST(FontObject, OverlongFaceNameIsCutToTheField) {
  const std::u16string longName(40, u'x');
  HFONT font = CreateFontW(-12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, longName.c_str());
  LOGFONTW out;
  GetObjectW(font, sizeof out, &out);
  EXPECT_EQ(std::u16string(out.lfFaceName).size(), static_cast<std::size_t>(LF_FACESIZE - 1));
  DeleteObject(font);
  EXPECT_EQ(CreateFontIndirectW(nullptr), 0u);
}

TEST(FontObject, StockFontsAreFontsThatCannotBeDeleted) {
  for (int index : {SYSTEM_FONT, DEFAULT_GUI_FONT, ANSI_VAR_FONT, ANSI_FIXED_FONT, OEM_FIXED_FONT}) {
    HGDIOBJ font = GetStockObject(index);
    ASSERT_NE(fontFromHandle(font), nullptr) << index;
    DeleteObject(font);
    EXPECT_EQ(GetStockObject(index), font);
    EXPECT_EQ(GetObjectType(font), OBJ_FONT);
  }
  FontDc dc;
  SelectObject(dc.dc(), GetStockObject(OEM_FIXED_FONT));
  EXPECT_EQ(dc.metrics().tmCharSet, OEM_CHARSET);
  EXPECT_EQ(dc.metrics().tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
}

TEST(FontObject, TextCallsRefuseBadHandles) {
  TEXTMETRICW tm;
  HBRUSH brush = CreateSolidBrush(0);
  HFONT font = CreateFontW(-12, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, u"Arial");
  DeleteObject(font);
  for (HDC bad : {HDC{0}, HDC{font}, HDC{brush}, HDC{0xFFFFFFFFu}}) {
    EXPECT_FALSE(GetTextMetricsW(bad, &tm));
    EXPECT_EQ(GetTextFaceW(bad, 0, nullptr), 0);
    EXPECT_EQ(fontFromHandle(bad), nullptr);
  }
  FontDc dc;
  EXPECT_FALSE(GetTextMetricsW(dc.dc(), nullptr));
  DeleteObject(brush);
}

}  // namespace
}  // namespace win
