#include "engine/html/CharacterReferences.h"

#include <gtest/gtest.h>

#include "engine/html/Entities.h"
#include "LexerTestSupport.h"

namespace engine {
namespace {

std::u16string TextOf(const std::string& document, int codePage = 1252) {
  return testing::JoinedText(testing::LexAll(document, codePage));
}

// Reads one reference as attribute text; the rest stays unread.
std::string AttributeText(const std::string& reference, int codePage = 1252) {
  testing::StartLexing(reference, codePage);
  std::string text;
  ReadCharacterReferenceText(codePage, text);
  return text;
}

TEST(Entities, TableHoldsEveryNameOnceAndSorts) {
  ASSERT_EQ(EntityTable().size(), 253u);
  std::uint16_t code = 0;
  for (const TEntity& entity : EntityTable()) {
    ASSERT_TRUE(LookUpEntity(entity.Name, code)) << entity.Name;
    EXPECT_EQ(code, entity.Code) << entity.Name;
  }
  EXPECT_TRUE(LookUpEntity("apos", code));
  EXPECT_EQ(code, 8217);
  EXPECT_TRUE(LookUpEntity("euro", code));
  EXPECT_EQ(code, 8364);
  EXPECT_FALSE(LookUpEntity("AMP", code));
  EXPECT_FALSE(LookUpEntity("", code));
}

TEST(CharacterReferences, NamedReferencesInText) {
  EXPECT_EQ(TextOf("&amp; &amp x"), u"& & x");
  EXPECT_EQ(TextOf("&AMP;"), u"&AMP;");
  EXPECT_EQ(TextOf("&apos;&hellip&Eacute;"), u"\u2019\u2026\u00C9");
  EXPECT_EQ(TextOf("&abcdefghijklmnop;"), u"&abcdefghijklmnop;");
  EXPECT_EQ(TextOf("a & b &"), u"a & b &");
}

TEST(CharacterReferences, NumericReferencesInText) {
  EXPECT_EQ(TextOf("&#65;&#x41;&#X41&#65"), u"AAAA");
  EXPECT_EQ(TextOf("&#;&#xg;&#x;"), u"&#;&#xg;&#x;");
  EXPECT_EQ(TextOf("a&#9;b&#7;c&#0;d"), u"a b?c?d");
  // 127 to 159 are the document code page's characters.
  EXPECT_EQ(TextOf("&#150;&#128;"), u"\u2013\u20AC");
  EXPECT_EQ(TextOf("&#8211;&#x1F600;"), u"\u2013\U0001F600");
}

TEST(CharacterReferences, BytesTheDocumentCodePageRejectsAreReadAsAnsi) {
  // Numeric 127 to 159 are bytes of the document's code page; neither UTF-8
  // nor Shift_JIS has a character for them alone, so they are read as 1252.
  EXPECT_EQ(TextOf("&#145;&#146;&#147;&#148;&#150;&#151;&#128;", 65001), u"\u2018\u2019\u201C\u201D\u2013\u2014\u20AC");
  EXPECT_EQ(TextOf("&#145;x", 932), u"\u2018x");
  // So is a text run that is not UTF-8, as a whole.
  EXPECT_EQ(TextOf("caf\xE9 au lait", 65001), u"caf\u00E9 au lait");
  EXPECT_EQ(TextOf("caf\xC3\xA9 au lait", 65001), u"caf\u00E9 au lait");
}

TEST(CharacterReferences, OutOfRangeNumbersSaturateAndSurrogatesAreReplaced) {
  EXPECT_EQ(TextOf("&#99999999999999999999999999;x"), u"\uFFFDx");
  EXPECT_EQ(TextOf("&#x110000;&#xD800;&#56320;"), u"\uFFFD\uFFFD\uFFFD");
  EXPECT_EQ(TextOf("&#x10FFFF;"), u"\U0010FFFF");
  // The edge of the 16-bit range: the last code is one character, the next a surrogate pair.
  EXPECT_EQ(TextOf("&#65535;"), std::u16string(1, u'\xFFFF'));
  EXPECT_EQ(TextOf("&#x10000;"), (std::u16string{u'\xD800', u'\xDC00'}));
  EXPECT_EQ(AttributeText("&#xFFFFFFFFFFFFFFFFFFFF;", 65001), "\xEF\xBF\xBD");
  EXPECT_EQ(AttributeText("&#xDBFF;", 65001), "\xEF\xBF\xBD");
}

TEST(CharacterReferences, AttributeText) {
  EXPECT_EQ(AttributeText("&copy"), "\xA9");
  EXPECT_EQ(AttributeText("&hellip"), "&hellip");
  EXPECT_EQ(AttributeText("&hellip;", 65001), "\xE2\x80\xA6");
  EXPECT_EQ(AttributeText("&#150;", 65001), "\x96");
  EXPECT_EQ(AttributeText("&#9;"), " ");
  EXPECT_EQ(AttributeText("&#31;"), "?");
  EXPECT_EQ(AttributeText("&#x3B1;", 1253), "\xE1");
  EXPECT_EQ(AttributeText("&#x3B1;", 1252), "?");
  EXPECT_EQ(AttributeText("&nosuch;"), "&nosuch");
}

TEST(CharacterReferences, CodePageRangeIsExactly127To159) {
  // In text: 159 is the document code page's byte (Y diaeresis in 1252), 160
  // and 126 are Unicode; 127 reads the same either way.
  EXPECT_EQ(TextOf("&#126;&#127;&#159;&#160;"), u"~\u007F\u0178\u00A0");
  EXPECT_EQ(TextOf("&#159;", 65001), u"\u0178");
  // In attribute values the range is kept as the byte itself, whatever the
  // code page would make of the character.
  EXPECT_EQ(AttributeText("&#159;"), "\x9F");
  EXPECT_EQ(AttributeText("&#159;", 65001), "\x9F");
  // In UTF-16 the character 127 would be two bytes; the range keeps one.
  EXPECT_EQ(AttributeText("&#127;", 1200), "\x7F");
  EXPECT_EQ(AttributeText("&#160;", 65001), "\xC2\xA0");
}

}  // namespace
}  // namespace engine
