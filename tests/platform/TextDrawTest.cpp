#include "platform/win/text/TextDraw.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/win/gdi/Clipping.h"
#include "platform/win/gdi/DcAttributes.h"
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/MappingMode.h"
#include "platform/win/gdi/RegionObject.h"
#include "platform/win/gdi/Surface.h"
#include "platform/win/text/DrawText.h"
#include "platform/win/text/FontObject.h"
#include "platform/win/text/TextMeter.h"
#include "platform/win/text/TextMetrics.h"

namespace win {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr RECT kNoInk{0, 0, 0, 0};

// A white surface with a DC over it and one selected font; black text, transparent background.
class Canvas {
 public:
  explicit Canvas(LONG height = -16, const char16_t* face = u"Arial", BYTE underline = 0, int width = 400) {
    allocateSurface(surface_, width, 120, kWhite);
    dc_ = createDeviceContextForSurface(&surface_, POINT{0, 0}, RECT{0, 0, width, 120}, 32);
    font_ = CreateFontW(height, 0, 0, 0, FW_NORMAL, 0, underline, 0, DEFAULT_CHARSET, 0, 0, 0, 0, face);
    SelectObject(dc_, font_);
    SetBkMode(dc_, TRANSPARENT);
    SetTextColor(dc_, 0);
  }
  ~Canvas() {
    releaseDeviceContext(dc_);
    DeleteObject(font_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  HDC dc() const { return dc_; }
  std::uint32_t pixel(int x, int y) const { return surface_.rowPtr(y)[x]; }
  void clear() {
    for (int y = 0; y < surface_.height; ++y)
      for (int x = 0; x < surface_.width; ++x) surface_.rowPtr(y)[x] = kWhite;
  }
  // Bounding box of every pixel that is not white; kNoInk when there is none.
  RECT ink() const {
    RECT box{surface_.width, surface_.height, 0, 0};
    for (int y = 0; y < surface_.height; ++y)
      for (int x = 0; x < surface_.width; ++x)
        if (pixel(x, y) != kWhite) {
          box.left = std::min<LONG>(box.left, x);
          box.top = std::min<LONG>(box.top, y);
          box.right = std::max<LONG>(box.right, x + 1);
          box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    return box.left < box.right ? box : kNoInk;
  }
  bool samePixels(const Canvas& other) const {
    for (int y = 0; y < surface_.height; ++y)
      for (int x = 0; x < surface_.width; ++x)
        if (pixel(x, y) != other.pixel(x, y)) return false;
    return true;
  }
  SIZE extent(const std::u16string& text) const {
    SIZE size;
    GetTextExtentPoint32W(dc_, text.data(), static_cast<int>(text.size()), &size);
    return size;
  }
  TEXTMETRICW metrics() const {
    TEXTMETRICW tm;
    GetTextMetricsW(dc_, &tm);
    return tm;
  }
  ABC abc(char16_t c) const {
    ABC widths;
    GetCharABCWidthsW(dc_, c, c, &widths);
    return widths;
  }
  void out(int x, int y, const std::u16string& text) {
    ASSERT_TRUE(TextOutW(dc_, x, y, text.data(), static_cast<int>(text.size())));
  }

 private:
  Surface surface_;
  HDC dc_ = 0;
  HFONT font_ = 0;
};

TEST(TextDraw, InkSpansTheMeasuredExtent) {
  Canvas canvas;
  const std::u16string text = u"Hello, world|";
  canvas.out(10, 20, text);
  const RECT ink = canvas.ink();
  const SIZE size = canvas.extent(text);
  EXPECT_EQ(ink.left, 10 + canvas.abc(u'H').abcA);
  EXPECT_EQ(ink.right, 10 + size.cx - canvas.abc(u'|').abcC);
  EXPECT_GE(ink.top, 20);
  EXPECT_LE(ink.bottom, 20 + size.cy);
}

TEST(TextDraw, UpdateCpAdvancesByTheMeasuredWidth) {
  Canvas whole, pieces;
  const std::u16string first = u"Justified ", second = u"text runs";
  for (Canvas* canvas : {&whole, &pieces}) {
    SetTextCharacterExtra(canvas->dc(), 1);
    SetTextJustification(canvas->dc(), 6, 3);
  }
  const int wholeWidth = whole.extent(first + second).cx;
  whole.out(5, 10, first + second);
  SetTextAlign(pieces.dc(), TA_UPDATECP);
  dcFromHandle(pieces.dc())->state.currentPosition = POINT{5, 10};
  const int firstWidth = pieces.extent(first).cx;
  pieces.out(0, 0, first);
  POINT position;
  GetCurrentPositionEx(pieces.dc(), &position);
  EXPECT_EQ(position.x, 5 + firstWidth);
  pieces.out(0, 0, second);
  GetCurrentPositionEx(pieces.dc(), &position);
  EXPECT_EQ(position.x, 5 + wholeWidth);
  EXPECT_TRUE(pieces.samePixels(whole));
}

// The remainder of the extra space goes to the first breaks of the line, not
// to the first breaks of every output call.
TEST(TextDraw, JustificationRemainderCarriesAcrossOutputCalls) {
  Canvas whole, pieces;
  const std::u16string parts[] = {u"a b ", u"c d ", u"e f"};
  for (Canvas* canvas : {&whole, &pieces}) SetTextJustification(canvas->dc(), 8, 5);
  whole.out(5, 10, parts[0] + parts[1] + parts[2]);
  const int wholeRight = whole.ink().right;
  int x = 5;
  for (const std::u16string& part : parts) {
    const int width = pieces.extent(part).cx;  // measuring reads the carried shares
    pieces.out(x, 10, part);
    x += width;
  }
  EXPECT_EQ(pieces.ink().right, wholeRight);
  EXPECT_TRUE(pieces.samePixels(whole));
  // A new SetTextJustification starts the line again: breaks 0 and 1 get 2 pixels each.
  SetTextJustification(pieces.dc(), 0, 0);
  const int plain = pieces.extent(parts[0]).cx;
  SetTextJustification(pieces.dc(), 8, 5);
  EXPECT_EQ(pieces.extent(parts[0]).cx, plain + 4);
}

TEST(TextDraw, MeasuringAndDrawingAgreeCharacterByCharacter) {
  Canvas whole, single;
  // The letters after the Latin ones are drawn by linked faces.
  const std::u16string text = u"Wave AV, fi fl \u65E5\u672C\uD55C \u05D0\u0628";
  SetTextCharacterExtra(whole.dc(), 2);
  SetTextCharacterExtra(single.dc(), 2);
  whole.out(3, 10, text);
  std::vector<int> partial(text.size());
  SIZE size;
  GetTextExtentExPointW(single.dc(), text.data(), static_cast<int>(text.size()), 0, nullptr, partial.data(), &size);
  for (std::size_t i = 0; i < text.size(); ++i) single.out(3 + (i ? partial[i - 1] : 0), 10, text.substr(i, 1));
  EXPECT_TRUE(whole.samePixels(single));
}

TEST(TextDraw, LettersTheFaceLacksComeFromALinkedFaceNotAsBoxes) {
  // The Liberation faces have no Japanese, Chinese, Korean, Hebrew or Arabic
  // letters; a private-use character draws the missing glyph's box.
  const std::u16string letters = u"\u3042\u30AB\u4E2D\u9AD4\uD55C\u05D0\u0628";
  for (const char16_t* face : {u"Times New Roman", u"Arial", u"Courier New"}) {
    Canvas box(-20, face);
    box.out(10, 20, u"\xE000");
    for (char16_t letter : letters) {
      SCOPED_TRACE(testing::Message() << "face " << std::string(face, face + 5).c_str() << " letter U+" << std::hex
                                      << static_cast<int>(letter));
      Canvas canvas(-20, face);
      canvas.out(10, 20, std::u16string(1, letter));
      const RECT ink = canvas.ink();
      ASSERT_LT(ink.left, ink.right);
      EXPECT_FALSE(canvas.samePixels(box));
      // The advance is the drawing face's: the ink stays within it.
      int width = 0;
      GetCharWidth32W(canvas.dc(), letter, letter, &width);
      EXPECT_GE(ink.left, 10 - 2);
      EXPECT_LE(ink.right, 10 + width + 2);
    }
  }
}

TEST(TextDraw, AlignmentPlacesTheReferencePoint) {
  Canvas canvas;
  const std::u16string text = u"Align|";
  const SIZE size = canvas.extent(text);
  const TEXTMETRICW tm = canvas.metrics();
  canvas.out(20, 10, text);
  const RECT topLeft = canvas.ink();

  canvas.clear();
  SetTextAlign(canvas.dc(), TA_RIGHT | TA_BASELINE);
  canvas.out(20 + size.cx, 10 + tm.tmAscent, text);
  EXPECT_EQ(canvas.ink(), topLeft);

  canvas.clear();
  SetTextAlign(canvas.dc(), TA_CENTER | TA_BOTTOM);
  canvas.out(20 + size.cx / 2, 10 + tm.tmHeight, text);
  RECT centred = canvas.ink();
  EXPECT_NEAR(centred.left, topLeft.left, 1);
  EXPECT_EQ(centred.top, topLeft.top);
}

TEST(TextDraw, OpaqueModeFillsTheTextCell) {
  Canvas canvas;
  SetBkMode(canvas.dc(), OPAQUE);
  SetBkColor(canvas.dc(), RGB(0, 0, 255));
  const std::u16string text = u"cell";
  canvas.out(10, 10, text);
  const SIZE size = canvas.extent(text);
  EXPECT_EQ(canvas.ink(), (RECT{10, 10, 10 + size.cx, 10 + size.cy}));
  EXPECT_EQ(canvas.pixel(10, 10), 0x0000FFu);  // surface pixels are 0x00RRGGBB
}

TEST(TextDraw, ExtTextOutOpaqueRectangleAndClipping) {
  Canvas canvas;
  SetBkColor(canvas.dc(), RGB(255, 0, 0));
  const RECT box{5, 5, 30, 40};
  const std::u16string text = u"WWWWWWWW";
  ASSERT_TRUE(ExtTextOutW(canvas.dc(), 10, 10, ETO_OPAQUE | ETO_CLIPPED, &box, text.data(),
                          static_cast<UINT>(text.size()), nullptr));
  EXPECT_EQ(canvas.ink(), box);
  EXPECT_EQ(canvas.pixel(5, 5), 0xFF0000u);
  canvas.clear();
  ASSERT_TRUE(ExtTextOutW(canvas.dc(), 10, 10, ETO_CLIPPED, &box, text.data(), static_cast<UINT>(text.size()), nullptr));
  const RECT ink = canvas.ink();
  EXPECT_GE(ink.left, box.left);
  EXPECT_EQ(ink.right, box.right);
}

TEST(TextDraw, ClipRegionLimitsTheInk) {
  Canvas canvas;
  HRGN region = CreateRectRgn(0, 0, 40, 120);
  SelectClipRgn(canvas.dc(), region);
  DeleteObject(region);
  canvas.out(10, 10, u"MMMMMMMMMM");
  EXPECT_EQ(canvas.ink().right, 40);
}

TEST(TextDraw, ExplicitAdvancesPlaceEachCharacter) {
  Canvas canvas;
  const std::u16string text = u"ll";
  const int dx[] = {40, 40};
  ExtTextOutW(canvas.dc(), 10, 10, 0, nullptr, text.data(), 2, dx);
  const RECT ink = canvas.ink();
  const ABC l = canvas.abc(u'l');
  EXPECT_EQ(ink.left, 10 + l.abcA);
  EXPECT_EQ(ink.right, 50 + l.abcA + static_cast<LONG>(l.abcB));
}

TEST(TextDraw, UnderlineRunsBelowTheBaselineAcrossTheWidth) {
  Canvas canvas(-20, u"Arial", 1);
  const std::u16string text = u"ooo";
  canvas.out(10, 10, text);
  const TEXTMETRICW tm = canvas.metrics();
  const RECT ink = canvas.ink();
  EXPECT_EQ(ink.left, 10);
  EXPECT_EQ(ink.right, 10 + canvas.extent(text).cx);
  EXPECT_GT(ink.bottom, 10 + tm.tmAscent);
  EXPECT_LE(ink.bottom, 10 + tm.tmHeight);
}

TEST(TextDraw, AnisotropicMappingScalesTheGlyphs) {
  Canvas plain, scaled;
  const std::u16string text = u"Hx";
  plain.out(4, 4, text);
  SetMapMode(scaled.dc(), MM_ANISOTROPIC);
  SetWindowExtEx(scaled.dc(), 1, 1, nullptr);
  SetViewportExtEx(scaled.dc(), 2, 2, nullptr);
  scaled.out(2, 2, text);
  const RECT a = plain.ink(), b = scaled.ink();
  EXPECT_NEAR(b.bottom - b.top, 2 * (a.bottom - a.top), 2);
  EXPECT_NEAR(b.right - b.left, 2 * (a.right - a.left), 3);
  EXPECT_NEAR(b.left - 4, 2 * (a.left - 4), 2);
}

TEST(TextDraw, BadInputFails) {
  Canvas canvas;
  EXPECT_FALSE(TextOutW(0, 0, 0, u"x", 1));
  EXPECT_FALSE(TextOutW(canvas.dc(), 0, 0, nullptr, 1));
  EXPECT_FALSE(TextOutW(canvas.dc(), 0, 0, u"x", -1));
  EXPECT_TRUE(TextOutW(canvas.dc(), 0, 0, u"", 0));
  EXPECT_TRUE(TextOutW(canvas.dc(), 2000000000, -2000000000, u"far away", 8));
  EXPECT_EQ(canvas.ink(), kNoInk);
  // Extreme spacing saturates instead of overflowing.
  SetTextCharacterExtra(canvas.dc(), INT32_MAX);
  SIZE size;
  ASSERT_TRUE(GetTextExtentPoint32W(canvas.dc(), u"abc", 3, &size));
  EXPECT_EQ(size.cx, INT32_MAX);
  EXPECT_TRUE(TextOutW(canvas.dc(), 0, 0, u"abc", 3));
  RECT rect{INT32_MAX - 5, 0, INT32_MAX, 10};
  EXPECT_GT(DrawTextW(canvas.dc(), u"abc", 3, &rect, DT_CALCRECT), 0);
  EXPECT_EQ(rect.right, INT32_MAX);
}

TEST(TextDraw, HugeFontsAreClampedAndStillDraw) {
  Canvas canvas(-100000);
  EXPECT_EQ(canvas.metrics().tmHeight - canvas.metrics().tmInternalLeading, kMaxEmPixels);
  canvas.out(-300, -1500, u"Og");
  EXPECT_NE(canvas.ink(), kNoInk);
}

TEST(TextDraw, AnsiTextDrawsAsWindows1252) {
  Canvas ansi, wide;
  ASSERT_TRUE(TextOutA(ansi.dc(), 5, 5, "\x80uro", 4));
  wide.out(5, 5, u"€uro");
  EXPECT_TRUE(ansi.samePixels(wide));
}

TEST(DrawTextTest, WordBreakWrapsAtBlanksAndCalcRectSizesTheLines) {
  Canvas canvas;
  const std::u16string text = u"alpha beta  alpha beta ";
  const int lineHeight = canvas.metrics().tmHeight;
  const LONG twoWords = canvas.extent(u"alpha beta").cx;
  RECT rect{0, 0, twoWords + 2, 0};
  EXPECT_EQ(DrawTextW(canvas.dc(), text.c_str(), -1, &rect, DT_WORDBREAK | DT_CALCRECT), 2 * lineHeight);
  EXPECT_EQ(rect.bottom, 2 * lineHeight);
  EXPECT_EQ(rect.right, twoWords);
  EXPECT_EQ(canvas.ink(), kNoInk);

  RECT narrow{0, 0, 1, 0};
  EXPECT_EQ(DrawTextW(canvas.dc(), text.c_str(), -1, &narrow, DT_WORDBREAK | DT_CALCRECT), 4 * lineHeight);
  EXPECT_EQ(narrow.right, canvas.extent(u"alpha").cx);
}

TEST(DrawTextTest, LineBreaksSplitLinesAndAFinalBreakAddsNone) {
  Canvas canvas;
  const int lineHeight = canvas.metrics().tmHeight;
  RECT rect{};
  EXPECT_EQ(DrawTextW(canvas.dc(), u"one\r\ntwo\nthree\r\n", -1, &rect, DT_CALCRECT), 3 * lineHeight);
  EXPECT_EQ(rect.right, canvas.extent(u"three").cx);
  rect = RECT{};
  EXPECT_EQ(DrawTextW(canvas.dc(), u"one\r\ntwo", -1, &rect, DT_CALCRECT | DT_SINGLELINE), lineHeight);
}

TEST(DrawTextTest, AlignsWithinTheRectangleAndClipsToIt) {
  Canvas canvas;
  const std::u16string text = u"H";
  const ABC h = canvas.abc(u'H');
  const LONG width = canvas.extent(text).cx;
  RECT rect{10, 10, 110, 60};
  DrawTextW(canvas.dc(), text.c_str(), 1, &rect, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
  RECT ink = canvas.ink();
  EXPECT_EQ(ink.left, 110 - width + h.abcA);
  EXPECT_LE(ink.bottom, 60);
  EXPECT_GT(ink.top, 10 + 20);

  canvas.clear();
  RECT small{10, 10, 14, 60};
  DrawTextW(canvas.dc(), u"WWW", 3, &small, DT_LEFT);
  EXPECT_LE(canvas.ink().right, 14);
  canvas.clear();
  DrawTextW(canvas.dc(), u"WWW", 3, &small, DT_LEFT | DT_NOCLIP);
  EXPECT_GT(canvas.ink().right, 14);
}

TEST(DrawTextTest, PrefixesUnderlineTheirCharacter) {
  Canvas canvas;
  RECT plain{}, prefixed{}, literal{};
  DrawTextW(canvas.dc(), u"File", -1, &plain, DT_CALCRECT);
  DrawTextW(canvas.dc(), u"&File", -1, &prefixed, DT_CALCRECT);
  DrawTextW(canvas.dc(), u"&File", -1, &literal, DT_CALCRECT | DT_NOPREFIX);
  EXPECT_EQ(prefixed, plain);
  EXPECT_GT(literal.right, plain.right);

  RECT area{0, 0, 200, 50};
  DrawTextW(canvas.dc(), u"o", -1, &area, 0);
  const RECT withoutMark = canvas.ink();
  canvas.clear();
  DrawTextW(canvas.dc(), u"&o", -1, &area, 0);
  const RECT withMark = canvas.ink();
  EXPECT_GT(withMark.bottom, withoutMark.bottom);
  EXPECT_EQ(withMark.left, 0);

  RECT ampersand{};
  DrawTextW(canvas.dc(), u"&&", -1, &ampersand, DT_CALCRECT);
  EXPECT_EQ(ampersand.right, canvas.extent(u"&").cx);
}

TEST(DrawTextTest, ExpandedTabsReachTheNextStop) {
  Canvas canvas;
  const int stop = canvas.metrics().tmAveCharWidth * 8;
  RECT rect{};
  DrawTextW(canvas.dc(), u"a\tb", -1, &rect, DT_CALCRECT | DT_EXPANDTABS);
  EXPECT_EQ(rect.right, stop + canvas.extent(u"b").cx);
}

TEST(DrawTextTest, BadInputFails) {
  Canvas canvas;
  RECT rect{0, 0, 10, 10};
  EXPECT_EQ(DrawTextW(canvas.dc(), u"x", 1, nullptr, 0), 0);
  EXPECT_EQ(DrawTextW(canvas.dc(), nullptr, 1, &rect, 0), 0);
  EXPECT_EQ(DrawTextW(0, u"x", 1, &rect, 0), 0);
  EXPECT_EQ(DrawTextW(canvas.dc(), u"x", -2, &rect, 0), 0);
}

}  // namespace
}  // namespace win
