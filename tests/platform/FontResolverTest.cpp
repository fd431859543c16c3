#include "platform/win/text/FontResolver.h"

#include <algorithm>
#include <tuple>

#include <gtest/gtest.h>

#include "platform/win/text/FontFace.h"

namespace win {
namespace {

TEST(FontResolver, CoreWindowsNamesResolveToLiberationFaces) {
  EXPECT_EQ(resolveFont({"Times New Roman"}).usedFamily, "Liberation Serif");
  EXPECT_EQ(resolveFont({"Arial"}).usedFamily, "Liberation Sans");
  EXPECT_EQ(resolveFont({"courier new"}).usedFamily, "Liberation Mono");
  EXPECT_TRUE(resolveFont({"Arial"}).requestedExists);
  EXPECT_NE(resolveFont({"Arial"}).path.find("LiberationSans-Regular"), std::string::npos);
}

TEST(FontResolver, WindowsFacesAndSubstitutesResolveToTheLiberationFaceOfTheirKind) {
  const ResolvedFont& courier = resolveFont({"Courier"});
  EXPECT_EQ(courier.usedFamily, "Liberation Mono");
  EXPECT_TRUE(courier.requestedExists);
  EXPECT_TRUE(courier.substitutedFace.empty());
  EXPECT_EQ(resolveFont({"VERDANA"}).usedFamily, "Liberation Sans");
  EXPECT_EQ(resolveFont({"Georgia"}).usedFamily, "Liberation Serif");
  EXPECT_EQ(resolveFont({"Lucida Console"}).usedFamily, "Liberation Mono");
  EXPECT_EQ(resolveFont({"Arial Narrow"}).usedFamily, "Liberation Sans Narrow");
  // A substitute is not a face of its own: it reports the face it stands for.
  for (const auto& [alias, face, family] :
       {std::tuple{"Helvetica", "Arial", "Liberation Sans"}, std::tuple{"times", "Times New Roman", "Liberation Serif"},
        std::tuple{"Courier New CYR", "Courier New", "Liberation Mono"},
        std::tuple{"MS Shell Dlg", "Microsoft Sans Serif", "Liberation Sans"}}) {
    const ResolvedFont& resolved = resolveFont({alias, 700});
    EXPECT_FALSE(resolved.requestedExists) << alias;
    EXPECT_EQ(resolved.substitutedFace, face) << alias;
    EXPECT_EQ(resolved.usedFamily, family) << alias;
    EXPECT_FALSE(resolved.synthesizeBold) << alias;
  }
}

TEST(FontResolver, AnEastAsianCharacterSetTakesAFaceThatHasItsLetters) {
  struct Case {
    unsigned char charset;
    char32_t letter;
  };
  for (const Case& c : {Case{128, U'\u3042'}, Case{134, U'\u6C49'}, Case{136, U'\u9AD4'}, Case{129, U'\uD55C'},
                        Case{130, U'\uD55C'}}) {
    SCOPED_TRACE(static_cast<int>(c.charset));
    for (const char* name : {"Times New Roman", "Courier New", "No Such Face"}) {
      const ResolvedFont& resolved = resolveFont({name, 400, false, 0, c.charset});
      EXPECT_FALSE(resolved.requestedExists) << name;
      FontFace* face = loadFontFace(resolved.path, resolved.faceIndex);
      ASSERT_NE(face, nullptr) << name;
      EXPECT_NE(face->glyphIndex(c.letter), 0u) << name;
    }
  }
  // Character sets that the Liberation faces cover, or whose letters come by
  // linking, keep the face asked for.
  for (unsigned char charset : {0, 1, 161, 177, 178, 204, 238})
    EXPECT_EQ(resolveFont({"Times New Roman", 400, false, 0, charset}).usedFamily, "Liberation Serif");
}

TEST(FontResolver, BoldAndItalicPickTheirFilesWithoutSynthesis) {
  const ResolvedFont& boldItalic = resolveFont({"Arial", 700, true});
  EXPECT_NE(boldItalic.path.find("LiberationSans-BoldItalic"), std::string::npos);
  EXPECT_FALSE(boldItalic.synthesizeBold);
  EXPECT_FALSE(boldItalic.synthesizeItalic);
}

TEST(FontResolver, UnknownNameFallsBackByPitchAndFamily) {
  const ResolvedFont& plain = resolveFont({"No Such Face 123"});
  EXPECT_FALSE(plain.requestedExists);
  EXPECT_EQ(plain.usedFamily, "Liberation Sans");
  EXPECT_EQ(resolveFont({"No Such Face 123", 400, false, 0x10}).usedFamily, "Liberation Serif");
  EXPECT_EQ(resolveFont({"No Such Face 123", 400, false, 0x31}).usedFamily, "Liberation Mono");
  EXPECT_EQ(resolveFont({""}).usedFamily, "Liberation Sans");
}

TEST(FontResolver, FamilyListHoldsCoreNamesSortedWithoutDuplicates) {
  const std::vector<std::string> families = installedFontFamilies();
  for (const char* name : {"Arial", "Courier New", "Times New Roman", "Liberation Sans", "Courier", "Verdana"})
    EXPECT_NE(std::find(families.begin(), families.end(), name), families.end()) << name;
  // Substitute names are not enumerated.
  for (const char* name : {"Helvetica", "Times", "Arial CE"})
    EXPECT_EQ(std::find(families.begin(), families.end(), name), families.end()) << name;
  for (std::size_t i = 1; i < families.size(); ++i) {
    std::string previous = families[i - 1], current = families[i];
    std::transform(previous.begin(), previous.end(), previous.begin(), ::tolower);
    std::transform(current.begin(), current.end(), current.begin(), ::tolower);
    EXPECT_LT(previous, current);
  }
}

}  // namespace
}  // namespace win
