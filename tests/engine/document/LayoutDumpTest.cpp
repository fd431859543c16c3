// Layout dumps of built trees with text: lines beside a float and below it.
#include <gtest/gtest.h>

#include "engine/html/TokenBuffers.h"
#include "engine/text/TSection.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"
#include "tests/engine/document/DocumentFixtures.h"
#include "tests/engine/support/LayoutDump.h"

namespace engine {
namespace {

using namespace engine::testing;

std::unique_ptr<TProperties> TextStyle(const char* tag) {
  auto style = MakeStyle(tag);
  style->DefFontName = "Arial";
  style->Value(Prop::FontFamily) = std::string("Arial");
  style->Value(Prop::FontSize) = 12.0;
  style->Value(Prop::Color) = 0;
  return style;
}

void AddText(TCellBasic& cell, TProperties& style, const std::u16string& text) {
  auto section = std::make_unique<TSection>(cell.Document, true, nullptr, style, nullptr);
  TokenObj token;
  for (std::size_t i = 0; i < text.size(); ++i) token.AppendChar(text[i], static_cast<int>(i));
  section->AppendTextRun(token, style, false);
  cell.AddSection(std::move(section), static_cast<int>(text.size()));
}

TEST(LayoutDump, TextFlowsBesideALeftFloatAndUnderIt) {
  TSectionList root(nullptr, nullptr);
  gui::TBitmap bitmap;
  bitmap.SetSize(400, 100);
  auto div = TextStyle("div");
  auto floatLeft = MakeStyle("div", {{"float", "left"}, {"width", "120px"}});
  TBlock* block = AddBlock(root, *div);
  TBlock* box = AddBlock(*block->MyCell, *floatLeft);
  AddContent(*box->MyCell, 30);
  AddText(*block->MyCell, *div,
          u"Words run beside the floating box first and then under it, where the whole width is free again.");
  LayOut(root, 300, &bitmap.Canvas());
  EXPECT_EQ(DumpLayout(root), ReadTestDataFile("layout/text_beside_float.txt"));
}

}  // namespace
}  // namespace engine
