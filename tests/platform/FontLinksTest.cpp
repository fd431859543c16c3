#include "platform/win/text/FontLinks.h"

#include <gtest/gtest.h>

#include "platform/win/text/FontInstance.h"
#include "platform/win/text/FontResolver.h"

namespace win {
namespace {

FontFace& faceOf(const char* name, int weight = 400) {
  const ResolvedFont& resolved = resolveFont({name, weight});
  FontFace* face = loadFontFace(resolved.path, resolved.faceIndex);
  EXPECT_NE(face, nullptr) << name;
  return *face;
}

TEST(FontLinks, ControlSurrogateAndPrivateUseCharactersAreNeverLinked) {
  FontFace& serif = faceOf("Times New Roman");
  for (std::uint32_t character : {0x01u, 0x1Fu, 0x7Fu, 0x85u, 0xD800u, 0xDFFFu, 0xE000u, 0xF8FFu})
    EXPECT_EQ(linkedFaceFor(serif, false, false, character), nullptr) << std::hex << character;
  // A character no installed face has.
  EXPECT_EQ(linkedFaceFor(serif, false, false, 0xFFFF), nullptr);
}

TEST(FontLinks, ALetterTheFaceLacksIsMeasuredAndDrawnByTheLinkedFace) {
  FontFace& serif = faceOf("Times New Roman");
  for (std::uint32_t letter : {0x3042u, 0x4E2Du, 0xD55Cu, 0x05D0u, 0x0628u}) {
    SCOPED_TRACE(letter);
    ASSERT_EQ(serif.glyphIndex(letter), 0u);
    const LinkedFace* linked = linkedFaceFor(serif, false, false, letter);
    ASSERT_NE(linked, nullptr);
    ASSERT_NE(linked->face, &serif);
    EXPECT_NE(linked->face->glyphIndex(letter), 0u);
    FontInstance& primary = fontInstance(serif, 20 * 64, false, false);
    FontInstance& drawer = fontInstance(*linked->face, 20 * 64, linked->synthesizeBold, linked->synthesizeItalic);
    EXPECT_GT(primary.advance(letter), 0);
    EXPECT_EQ(primary.advance(letter), drawer.advance(letter));
    EXPECT_EQ(primary.glyph(letter).coverage, drawer.glyph(letter).coverage);
  }
}

TEST(FontLinks, BoldLettersFromAFaceWithoutABoldFileAreSynthesized) {
  FontFace& bold = faceOf("Arial", 700);
  const LinkedFace* linked = linkedFaceFor(bold, true, false, 0x3042);
  ASSERT_NE(linked, nullptr);
  const bool boldFile = (linked->face->handle()->style_flags & FT_STYLE_FLAG_BOLD) != 0;
  EXPECT_NE(linked->synthesizeBold, boldFile);
}

}  // namespace
}  // namespace win
