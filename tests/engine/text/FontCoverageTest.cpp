// Pages in Japanese, Chinese and a mix of scripts, laid out in the default
// Times New Roman: every letter of their text runs is drawn by an installed
// face that has it, none as the missing glyph's box.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/text/TSection.h"
#include "platform/win/gdi/DcAttributes.h"
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/text/TextDraw.h"
#include "tests/engine/html/ParseTestSupport.h"
#include "tests/engine/support/LayoutDump.h"

namespace engine {
namespace {

constexpr int kSide = 64;

// The pixels of one character drawn in the font on a white surface.
std::vector<std::uint32_t> Drawn(win::HFONT font, char16_t character) {
  win::Surface surface;
  win::allocateSurface(surface, kSide, kSide, 0xFFFFFF);
  const win::HDC dc = win::createDeviceContextForSurface(&surface, win::POINT{0, 0}, win::RECT{0, 0, kSide, kSide}, 32);
  win::SelectObject(dc, font);
  win::SetBkMode(dc, win::TRANSPARENT);
  win::TextOutW(dc, 8, 8, &character, 1);
  win::releaseDeviceContext(dc);
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < kSide; ++y) pixels.insert(pixels.end(), surface.rowPtr(y), surface.rowPtr(y) + kSide);
  return pixels;
}

// The characters of the page's text drawn as the box, as "U+XXXX" each; and
// in `letters` how many characters were checked. Each of `expected` must be
// among them: the page was decoded.
std::string BoxedCharacters(const std::string& page, const std::u16string& expected, int& letters) {
  const std::string html = testing::ReadTestDataFile("fonts/" + page);
  EXPECT_FALSE(html.empty()) << page;
  auto document = testing::Parse(html);
  std::string boxed;
  std::u16string text;
  letters = 0;
  for (const TSection* section : testing::TextSections(*document.root)) {
    for (int i = 0; i < section->Len; ++i) {
      const char16_t character = section->Text[static_cast<std::size_t>(i)];
      text += character;
      if (character <= 0x20 || character == 0xA0) continue;
      int overhang = 0;
      const win::HFONT font = section->Fonts.FontAt(i, overhang)->Handle();
      ++letters;
      if (Drawn(font, character) != Drawn(font, 0xE000)) continue;
      char name[16];
      std::snprintf(name, sizeof name, "U+%04X ", static_cast<unsigned>(character));
      boxed += name;
    }
  }
  for (char16_t character : expected) EXPECT_NE(text.find(character), std::u16string::npos) << page;
  return boxed;
}

TEST(FontCoverage, AShiftJisPageHasNoBoxes) {
  int letters = 0;
  EXPECT_EQ(BoxedCharacters("shift_jis.html", u"\u65E5\u3072\u30AB\uFF21", letters), "");
  EXPECT_GT(letters, 60);
}

TEST(FontCoverage, AGbkPageHasNoBoxes) {
  int letters = 0;
  EXPECT_EQ(BoxedCharacters("gbk.html", u"\u4E2D\u7E41\u9AD4", letters), "");
  EXPECT_GT(letters, 50);
}

TEST(FontCoverage, AUtf8PageOfMixedScriptsHasNoBoxes) {
  int letters = 0;
  EXPECT_EQ(BoxedCharacters("mixed_utf8.html", u"\u65E5\u4E2D\uD55C\u05E2\u0627\u03BB", letters), "");
  EXPECT_GT(letters, 100);
}

}  // namespace
}  // namespace engine
