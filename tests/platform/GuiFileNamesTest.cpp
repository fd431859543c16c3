#include <gtest/gtest.h>

#include <unistd.h>

#include "platform/gui/FileNames.h"
#include "platform/gui/StringFunctions.h"

namespace gui {
namespace {

TEST(GuiFileNames, PartsOfNamesWithEitherSeparator) {
  EXPECT_EQ(ExtractFilePath("/docs/mail/page.html"), "/docs/mail/");
  EXPECT_EQ(ExtractFilePath("c:\\docs\\page.html"), "c:\\docs\\");
  EXPECT_EQ(ExtractFilePath("page.html"), "");
  EXPECT_EQ(ExtractFileExt("/docs/page.tar.GZ"), ".GZ");
  EXPECT_EQ(ExtractFileExt("/docs.d/readme"), "");  // the dot is in the folder
  EXPECT_EQ(ExtractFileExt(""), "");
}

TEST(GuiFileNames, ExpandingResolvesDotsAgainstTheCurrentFolder) {
  EXPECT_EQ(ExpandFileName("/a/b/../c/./d.html"), "/a/c/d.html");
  EXPECT_EQ(ExpandFileName("/../../x"), "/x");
  EXPECT_EQ(ExpandFileName("\\a\\b"), "/a/b");
  EXPECT_EQ(ExpandFileName("/a/b/"), "/a/b/");
  EXPECT_EQ(ExpandFileName("/a//b/.."), "/a");
  EXPECT_EQ(ExpandFileName("/a/b/../../.."), "/");
  EXPECT_EQ(ExpandFileName("/a/../"), "/");
  EXPECT_EQ(ExpandFileName("/a/.b/..c/."), "/a/.b/..c");
  char folder[4096];
  ASSERT_NE(::getcwd(folder, sizeof folder), nullptr);
  const std::string here = folder;
  EXPECT_EQ(ExpandFileName("x.html"), (here == "/" ? "" : here) + "/x.html");
}

TEST(GuiStringFunctions, NumbersWithADefault) {
  EXPECT_EQ(StrToIntDef("42", -1), 42);
  EXPECT_EQ(StrToIntDef("  -17", 0), -17);
  EXPECT_EQ(StrToIntDef("$1F", 0), 31);
  EXPECT_EQ(StrToIntDef("0x10", 0), 16);
  EXPECT_EQ(StrToIntDef("-2147483648", 0), INT32_MIN);
  EXPECT_EQ(StrToIntDef("2147483648", 7), 7);  // out of range
  EXPECT_EQ(StrToIntDef("99999999999999999999999", 7), 7);
  EXPECT_EQ(StrToIntDef("12 ", 7), 7);  // not the whole text
  EXPECT_EQ(StrToIntDef("20,3", 7), 7);
  EXPECT_EQ(StrToIntDef("", 7), 7);
  EXPECT_EQ(StrToIntDef("-", 7), 7);
}

TEST(GuiStringFunctions, TrimTakesBlanksAndControlCharactersFromBothEnds) {
  EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim(u"\x01x\x1F"), u"x");
  EXPECT_EQ(Trim(u"\u00A0x"), u"\u00A0x");  // only what is up to the space
}

}  // namespace
}  // namespace gui
