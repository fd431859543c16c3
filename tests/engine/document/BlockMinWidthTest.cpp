// A block answers "is your narrowest width at most this?" without measuring its
// content; the answer must be the measured width's, whatever the nesting,
// box values, widths, overflow, display and positioning.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/document/TBlock.h"
#include "tests/engine/html/ParseTestSupport.h"

namespace engine {
namespace {

std::string RandomStyle(std::mt19937& random) {
  const char* parts[] = {"margin-left:12px", "margin-right:-30px", "padding-left:7px", "padding-right:3em",
                         "border-style:solid;border-width:4px", "width:120px", "width:40%", "width:10px",
                         "overflow:hidden;width:60px", "overflow:hidden", "display:none", "position:absolute",
                         "margin-left:auto", "float:left", "margin-left:-2000000px", "padding-left:3000000px"};
  std::string style;
  const int count = static_cast<int>(random() % 3);
  for (int i = 0; i < count; ++i) style += std::string(parts[random() % 16]) + ";";
  return style;
}

std::string RandomWords(std::mt19937& random) {
  std::string text;
  const int words = 1 + static_cast<int>(random() % 5);
  for (int w = 0; w < words; ++w) text += std::string(1 + random() % (random() % 4 == 0 ? 30 : 6), "iWm"[random() % 3]) + " ";
  return text;
}

std::string RandomBlocks(std::mt19937& random, int depth) {
  const char* tags[] = {"div", "p", "blockquote", "ul", "li", "pre"};
  std::string html;
  const int count = 1 + static_cast<int>(random() % 3);
  for (int i = 0; i < count; ++i) {
    const std::string tag = tags[random() % 6];
    html += "<" + tag + " style=\"" + RandomStyle(random) + "\">" + RandomWords(random);
    if (depth < 4 && random() % 2 == 0) html += RandomBlocks(random, depth + 1);
    if (random() % 8 == 0) html += "<table><tr><td>" + RandomWords(random) + "</table>";
    html += "</" + tag + ">";
  }
  return html;
}

void CollectBlocks(const TCellBasic& cell, std::vector<TBlock*>& blocks) {
  for (const auto& section : cell) {
    if (auto* block = dynamic_cast<TBlock*>(section.get())) {
      blocks.push_back(block);
      CollectBlocks(*block->MyCell, blocks);
    }
  }
}

TEST(BlockMinWidth, AnswersAsTheMeasuredNarrowestWidthForRandomNestings) {
  int checked = 0;
  for (unsigned run = 0; run < 150; ++run) {
    std::mt19937 random(run);
    testing::ParsedDocument document = testing::Parse(RandomBlocks(random, 0));
    std::vector<TBlock*> blocks;
    CollectBlocks(*document.root, blocks);
    // Ask first: measuring fills each block's remembered range, which would answer instead.
    const std::vector<int> limits = {-1, 0, 5, 37, 60, 120, 250, 800, 2000000, INT_MAX - 1, INT_MAX};
    std::vector<std::vector<bool>> answers;
    for (TBlock* block : blocks) {
      std::vector<bool> row;
      for (int limit : limits) row.push_back(block->MinWidthWithin(nullptr, limit));
      answers.push_back(row);
    }
    // Asked again in the same layout cycle, narrowest last: what an earlier,
    // wider question taught a block must not answer a narrower one.
    for (std::size_t b = 0; b < blocks.size(); ++b)
      for (std::size_t l = limits.size(); l-- > 0;)
        EXPECT_EQ(blocks[b]->MinWidthWithin(nullptr, limits[l]), answers[b][l]) << "run " << run << " block " << b;
    for (std::size_t b = 0; b < blocks.size(); ++b) {
      int minWidth = 0;
      int maxWidth = 0;
      blocks[b]->MeasureWidthRange(nullptr, minWidth, maxWidth);
      for (std::size_t l = 0; l < limits.size(); ++l) {
        EXPECT_EQ(answers[b][l], minWidth <= limits[l]) << "run " << run << " block " << b << " limit " << limits[l]
                                                         << " measured " << minWidth;
        ++checked;
      }
      // Limits beside the measured width itself.
      document.root->LayoutCycle++;
      for (int limit : {minWidth - 1, minWidth, minWidth + 1})
        EXPECT_EQ(blocks[b]->MinWidthWithin(nullptr, limit), minWidth <= limit) << "run " << run << " block " << b;
    }
  }
  EXPECT_GT(checked, 1000);
}

}  // namespace
}  // namespace engine
