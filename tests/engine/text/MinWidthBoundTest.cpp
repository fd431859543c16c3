// MinWidthWithin answers from a cheap bound where it can; its answer must be
// the measured narrowest width's, whatever the text, fonts and indent.
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "TextSectionTestSupport.h"

namespace engine {
namespace {

class MinWidthBound : public testing::Test, public TextSectionFixture {
 protected:
  struct Recipe {
    std::vector<std::u16string> pieces;
    std::vector<bool> noBreak;
    std::vector<double> sizes;
    std::vector<bool> bold;
    std::string indent;
    bool breakWord = false;
  };

  // A random mix of short and long words, soft hyphens, unbreakable stretches,
  // sizes, weights, letter spacing and first-line indents; replayable by number.
  static Recipe MakeRecipe(unsigned number) {
    std::mt19937 random(number);
    const char16_t letters[] = u"iWmlw.-?";
    Recipe recipe;
    const int pieces = 1 + static_cast<int>(random() % 4);
    for (int p = 0; p < pieces; ++p) {
      std::u16string text;
      const int words = 1 + static_cast<int>(random() % 6);
      for (int w = 0; w < words; ++w) {
        const int length = 1 + static_cast<int>(random() % (random() % 5 == 0 ? 40 : 8));
        for (int c = 0; c < length; ++c) {
          text += letters[random() % 8];
          if (random() % 15 == 0) text += u'\u00AD';
        }
        text += u' ';
      }
      recipe.pieces.push_back(text);
      recipe.noBreak.push_back(random() % 4 == 0);
      recipe.sizes.push_back(6 + static_cast<double>(random() % 40));
      recipe.bold.push_back(random() % 2 == 0);
    }
    const char* indents[] = {"", "30px", "-20px", "10%", "90%"};
    recipe.indent = indents[random() % 5];
    recipe.breakWord = random() % 6 == 0;
    return recipe;
  }

  std::unique_ptr<TSection> Build(const Recipe& recipe) {
    if (recipe.indent.empty()) props.Value(Prop::TextIndent) = std::monostate();
    else props.Value(Prop::TextIndent) = recipe.indent;
    props.Value(Prop::WordWrap) = std::string(recipe.breakWord ? "break-word" : "normal");
    auto section = Make();
    int source = 0;
    for (std::size_t i = 0; i < recipe.pieces.size(); ++i) {
      SetArial(props, recipe.sizes[i]);
      props.Value(Prop::FontWeight) = std::string(recipe.bold[i] ? "bold" : "normal");
      props.Value(Prop::LetterSpacing) = std::string(i % 2 ? "2px" : "normal");
      props.DropCachedFont();
      section->ChangeFont(props);
      Append(*section, recipe.pieces[i], source, recipe.noBreak[i]);
      source += static_cast<int>(recipe.pieces[i].size());
    }
    section->FinishForCell(source);
    return section;
  }
};

TEST_F(MinWidthBound, AgreesWithTheMeasuredNarrowestWidth) {
  for (unsigned number = 0; number < 300; ++number) {
    const Recipe recipe = MakeRecipe(number);
    int minWidth = 0;
    int maxWidth = 0;
    Build(recipe)->MeasureWidthRange(&canvas(), minWidth, maxWidth);
    for (int limit : {minWidth - 1, minWidth, minWidth + 1, minWidth * 2, minWidth + 400, 0, 5000}) {
      // A fresh section each time: measuring keeps its result.
      EXPECT_EQ(Build(recipe)->MinWidthWithin(&canvas(), limit), minWidth <= limit)
          << "case " << number << ", limit " << limit << ", narrowest " << minWidth;
      // A copy (as printing makes) keeps what the bound was built from.
      EXPECT_EQ(Build(recipe)->CreateCopy(&doc)->MinWidthWithin(&canvas(), limit), minWidth <= limit)
          << "copy of case " << number << ", limit " << limit;
    }
  }
}

TEST_F(MinWidthBound, PreformattedTextIsAsNarrowAsItsLongestLine) {
  const std::u16string line = u"one preformatted line that never wraps";
  int minWidth = 0;
  int maxWidth = 0;
  Finished<TPreFormated>(line)->MeasureWidthRange(&canvas(), minWidth, maxWidth);
  EXPECT_GE(minWidth, Width(line));
  EXPECT_FALSE(Finished<TPreFormated>(line)->MinWidthWithin(&canvas(), minWidth - 1));
  EXPECT_TRUE(Finished<TPreFormated>(line)->MinWidthWithin(&canvas(), minWidth));
}

}  // namespace
}  // namespace engine
