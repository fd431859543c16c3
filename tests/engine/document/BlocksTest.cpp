// Blocks: margin collapsing, widths, floats and clearance, positioning and
// z-order, display none, the last block's default margin, and layout dumps.
#include <gtest/gtest.h>

#include "engine/document/TBodyBlock.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"
#include "tests/engine/document/DocumentFixtures.h"
#include "tests/engine/support/LayoutDump.h"

namespace engine {
namespace {

using namespace engine::testing;

// Distance between the content of two adjacent blocks with the given margins.
int GapBetween(const char* bottom, const char* top, int secondWidth) {
  TSectionList root(nullptr, nullptr);
  auto first = MakeStyle("div", {{"margin-bottom", bottom}});
  auto second = MakeStyle("div", {{"margin-top", top}});
  TBlock* a = AddBlock(root, *first);
  AddContent(*a->MyCell, 30);
  TBlock* b = AddBlock(root, *second);
  AddContent(*b->MyCell, 30);
  LayOut(root, 500);
  LayOut(root, secondWidth);  // collapsing survives a layout at another width
  return b->TopY - (a->TopY + 30);
}

TEST(Blocks, AdjacentVerticalMarginsCollapse) {
  EXPECT_EQ(GapBetween("20px", "10px", 300), 20);
  EXPECT_EQ(GapBetween("-5px", "10px", 700), 5);
  EXPECT_EQ(GapBetween("-5px", "-10px", 200), -10);
}

TEST(Blocks, DefaultMarginsOpenNoCellAndTheParserCanDropTheLast) {
  TSectionList root(nullptr, nullptr);
  auto para = MakeParagraphStyle();
  TBlock* first = AddBlock(root, *para);
  AddContent(*first->MyCell, 20);
  TBlock* second = AddBlock(root, *para);
  AddContent(*second->MyCell, 20);
  EXPECT_TRUE(root.ClearLastBlockMargin());
  LayOut(root, 400);
  EXPECT_EQ(first->TopY, 0);            // the default top margin of the first block goes
  EXPECT_EQ(second->TopY, 20 + 14);     // 14 and 14 collapse to 14
  EXPECT_EQ(second->SectionHeight, 34);  // its bottom margin was dropped
  auto explicitMargin = MakeStyle("div", {{"margin-bottom", "8px"}});
  TBlock* last = AddBlock(root, *explicitMargin);
  EXPECT_FALSE(root.ClearLastBlockMargin());
  last->SetDefaultBottomMargin();
  EXPECT_TRUE(root.ClearLastBlockMargin());
  last->SetBottomMargin(0);
  EXPECT_FALSE(root.ClearLastBlockMargin());
}

TEST(Blocks, DeepNestingLaysOutPaintsCopiesAndFrees) {
  auto root = std::make_unique<TSectionList>(nullptr, nullptr);
  auto style = MakeStyle("div", {{"margin-left", "1px"}});
  TCellBasic* cell = root.get();
  for (int depth = 0; depth < 1000; ++depth) {
    AddContent(*cell, 2, 1);
    cell = &*AddBlock(*cell, *style)->MyCell;
  }
  EXPECT_EQ(LayOut(*root, 3000), 2000);
  root->PaintContent(nullptr, win::RECT{0, 0, 800, 600}, 6000, 0, 0, 0, 0);
  auto copy = TSectionList::CreateCopy(*root);
  EXPECT_EQ(LayOut(*copy, 3000), 2000);
  copy.reset();
  root.reset();
}

TEST(Blocks, AutoMarginsTakeTheSpareWidth) {
  TSectionList root(nullptr, nullptr);
  auto right = MakeStyle("div", {{"width", "100px"}, {"margin-left", "auto"}, {"margin-right", "0px"}});
  auto centred = MakeStyle("div", {{"width", "200px"}, {"margin-left", "auto"}, {"margin-right", "auto"}});
  TBlock* a = AddBlock(root, *right);
  TBlock* b = AddBlock(root, *centred);
  LayOut(root, 500);
  EXPECT_EQ(a->ContentLeft, 400);
  EXPECT_EQ(a->NewWidth, 100);
  EXPECT_EQ(b->ContentLeft, 150);
  LayOut(root, 600);
  EXPECT_EQ(a->ContentLeft, 500);
  EXPECT_EQ(b->ContentLeft, 200);
}

TEST(Blocks, AutoWidthFillsTheRoomAndNeverGoesBelowTheContent) {
  TSectionList root(nullptr, nullptr);
  auto boxed = MakeStyle("div", {{"margin-left", "10px"}, {"padding-left", "5px"}, {"padding-right", "5px"},
                                 {"border-left-style", "solid"}, {"border-right-style", "solid"},
                                 {"border-left-width", "2px"}, {"border-right-width", "2px"}});
  TBlock* block = AddBlock(root, *boxed);
  AddContent(*block->MyCell, 10, 0, 450);
  LayOut(root, 500);
  EXPECT_EQ(block->NewWidth, 500 - 10 - 14);
  LayOut(root, 200);
  EXPECT_EQ(block->NewWidth, 450);
  int minWidth = 0;
  int maxWidth = 0;
  block->MeasureWidthRange(nullptr, minWidth, maxWidth);
  EXPECT_EQ(minWidth, 450 + 24);
}

TEST(Blocks, AbsoluteBlockWithAutoLeftGetsAFiniteWidth) {
  TSectionList root(nullptr, nullptr);
  auto absolute = MakeStyle("div", {{"position", "absolute"}, {"top", "40px"}});
  TBlock* block = AddBlock(root, *absolute);
  AddContent(*block->MyCell, 10, 0, 50);
  EXPECT_EQ(LayOut(root, 300), 0);  // takes no room in the flow
  EXPECT_EQ(block->NewWidth, 300);
  EXPECT_EQ(block->TopY, 40);
  EXPECT_EQ(block->ZOrder, 1);
  EXPECT_TRUE(block->PaintsOutsideRange);
}

TEST(Blocks, OverflowHiddenIsDecidedPerMeasure) {
  TSectionList root(nullptr, nullptr);
  auto hidden = MakeStyle("div", {{"overflow", "hidden"}, {"width", "50%"}});
  TBlock* block = AddBlock(root, *hidden);
  AddContent(*block->MyCell, 10, 0, 900);
  int minWidth = 0;
  int maxWidth = 0;
  block->MeasureWidthRange(nullptr, minWidth, maxWidth);
  EXPECT_EQ(minWidth, 900);  // a percentage width measures as none
  EXPECT_TRUE(block->OverflowHidden);
  LayOut(root, 400);
  EXPECT_EQ(block->NewWidth, 200);  // and still clips to its width in layout
}

TEST(Blocks, LeftFloatsStandSideBySideAndClearMovesBelowThem) {
  TSectionList root(nullptr, nullptr);
  auto floatLeft = MakeStyle("div", {{"float", "left"}, {"width", "100px"}});
  auto cleared = MakeStyle("div", {{"clear", "left"}});
  TBlock* a = AddBlock(root, *floatLeft);
  AddContent(*a->MyCell, 120);
  TBlock* b = AddBlock(root, *floatLeft);
  AddContent(*b->MyCell, 80);
  TBlock* c = AddBlock(root, *cleared);
  AddContent(*c->MyCell, 10);
  int height = LayOut(root, 500);
  EXPECT_EQ(a->ContentLeft, 0);
  EXPECT_EQ(b->ContentLeft, 100);
  EXPECT_EQ(a->ZOrder, 1);
  EXPECT_EQ(c->ClearAddOn, 120);
  EXPECT_EQ(c->TopY, 120);
  EXPECT_EQ(height, 130);
}

TEST(Blocks, RightFloatInsideAnIndentedParentKeepsToItsEdge) {
  TSectionList root(nullptr, nullptr);
  auto parentStyle = MakeStyle("div", {{"padding-left", "40px"}});
  auto floatRight = MakeStyle("div", {{"float", "right"}, {"width", "100px"}});
  TBlock* parent = AddBlock(root, *parentStyle);
  TBlock* first = AddBlock(*parent->MyCell, *floatRight);
  AddContent(*first->MyCell, 50);
  TBlock* second = AddBlock(*parent->MyCell, *floatRight);
  AddContent(*second->MyCell, 50);
  LayOut(root, 500);
  EXPECT_EQ(first->ContentLeft, 400);
  EXPECT_EQ(second->ContentLeft, 300);  // beside the first, not over it
}

TEST(Blocks, ARightFloatsRightMarginKeepsItOffTheRightEdge) {
  TSectionList root(nullptr, nullptr);
  auto parentStyle = MakeStyle("div", {{"padding-left", "40px"}});
  auto floatRight =
      MakeStyle("div", {{"float", "right"}, {"width", "100px"}, {"margin-right", "30px"}, {"margin-left", "5px"}});
  TBlock* parent = AddBlock(root, *parentStyle);
  TBlock* floating = AddBlock(*parent->MyCell, *floatRight);
  AddContent(*floating->MyCell, 50);
  LayOut(root, 500);
  EXPECT_EQ(floating->ContentLeft, 500 - 30 - 100);
}

TEST(Blocks, DrawListPutsNegativeZFirstAndPositiveLast) {
  TSectionList root(nullptr, nullptr);
  auto style = MakeStyle("div");
  TBlock* block = AddBlock(root, *style);
  std::vector<FakeSection*> content;
  for (int z : {0, -2, 5, -1, 0, 5}) {
    content.push_back(AddContent(*block->MyCell, 10));
    content.back()->ZOrder = z;
  }
  LayOut(root, 300);
  std::vector<TSectionBase*> expected = {content[1], content[3], content[0], content[4], content[2], content[5]};
  EXPECT_EQ(block->DrawList, expected);
  for (FakeSection* section : content) EXPECT_EQ(section->ContainingBlock, block);
  // Content in document order paints as the cell holds it, with no list of its own.
  TBlock* plain = AddBlock(root, *style);
  FakeSection* only = AddContent(*plain->MyCell, 10);
  LayOut(root, 300);
  EXPECT_TRUE(plain->DrawList.empty());
  EXPECT_EQ(only->ContainingBlock, plain);
}

TEST(Blocks, HostileLengthsAndZIndexSaturate) {
  TSectionList root(nullptr, nullptr);
  auto huge = MakeStyle("div", {{"position", "relative"}, {"z-index", "2147483647"}, {"margin-left", "2147483000px"},
                                {"padding-left", "2147483000px"}, {"margin-top", "2147483000px"}});
  TBlock* block = AddBlock(root, *huge);
  AddContent(*block->MyCell, 10);
  LayOut(root, 300);
  EXPECT_EQ(block->ZOrder, 1000000000);
  EXPECT_GT(block->ContentLeft, 0);
  EXPECT_GT(block->TopY, 0);
}

TEST(Blocks, DisplayNoneTakesNoRoomAndAnswersNothing) {
  TSectionList root(nullptr, nullptr);
  auto none = MakeStyle("div", {{"display", "none"}});
  TBlock* hidden = AddBlock(root, *none);
  FakeSection* inside = AddContent(*hidden->MyCell, 40, 3);
  inside->cursorAnswer = 1;
  AddContent(root, 10);
  EXPECT_EQ(LayOut(root, 300), 10);
  int xr = 0, yr = 0, caret = 0;
  bool inText = false;
  EXPECT_EQ(root.CursorAtPoint(nullptr, 5, 0, xr, yr, caret, inText), -1);
}

TEST(Blocks, BackgroundImageIsDrawnThroughTheDocumentsHookOverThePaddingBox) {
  TSectionList root(nullptr, nullptr);
  auto style = MakeStyle("div", {{"background-image", "url(tile.gif)"}, {"margin-left", "10px"},
                                 {"margin-top", "5px"}, {"width", "100px"}});
  TBlock* block = AddBlock(root, *style);
  AddContent(*block->MyCell, 40);
  LayOut(root, 300);
  EXPECT_FALSE(block->BackgroundImageUrl().empty());
  int calls = 0;
  win::RECT box{};
  root.ImageHooks.PaintBlockBackground = [&](TBlock& painted, gui::TCanvas&, const win::RECT& padding,
                                             const win::RECT&) {
    EXPECT_EQ(&painted, block);
    box = padding;
    ++calls;
  };
  gui::TBitmap bitmap;
  bitmap.SetSize(300, 100);
  root.PaintContent(&bitmap.Canvas(), win::RECT{0, 0, 300, 100}, 6000, 0, 0, 0, 0);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(box, (win::RECT{10, 5, 110, 45}));
  root.ShowImages = false;
  root.PaintContent(&bitmap.Canvas(), win::RECT{0, 0, 300, 100}, 6000, 0, 0, 0, 0);
  EXPECT_EQ(calls, 1);
}

TEST(Blocks, LayoutDumpOfNestedBlocks) {
  TSectionList root(nullptr, nullptr);
  auto body = MakeStyle("body", {{"margin-left", "10px"}, {"margin-right", "10px"}, {"margin-top", "5px"}});
  auto para = MakeParagraphStyle();
  auto boxed = MakeStyle("div", {{"padding-top", "4px"}, {"padding-left", "4px"}, {"border-top-style", "solid"},
                                 {"border-left-style", "solid"}, {"border-top-width", "1px"},
                                 {"border-left-width", "1px"}, {"width", "200px"}});
  auto floatLeft = MakeStyle("div", {{"float", "left"}, {"width", "60px"}});
  TBodyBlock* bodyBlock = AddBlock<TBodyBlock>(root, *body);
  TBlock* p1 = AddBlock(*bodyBlock->MyCell, *para);
  AddContent(*p1->MyCell, 18, 5);
  TBlock* f = AddBlock(*bodyBlock->MyCell, *floatLeft);
  AddContent(*f->MyCell, 40);
  TBlock* box = AddBlock(*bodyBlock->MyCell, *boxed);
  AddContent(*box->MyCell, 20, 7);
  TBlock* p2 = AddBlock(*bodyBlock->MyCell, *para);
  AddContent(*p2->MyCell, 18, 4);
  LayOut(root, 400);
  EXPECT_EQ(DumpLayout(root), ReadTestDataFile("layout/nested_blocks.txt"));
}

}  // namespace
}  // namespace engine
