// Cells: layout order and character positions, float extension, delegation
// order, failed sections and the paint and hit-test ranges.
#include <gtest/gtest.h>

#include "engine/document/TBlockCell.h"
#include "engine/document/TCellObjCell.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TUrlTarget.h"
#include "engine/tables/TCellObj.h"
#include "platform/win/user/MessageBoxes.h"
#include "tests/engine/document/FakeSection.h"

namespace engine {
namespace {

using testing::FakeSection;

FakeSection* AddFake(TCellBasic& cell, int height, int chars) {
  auto section = std::make_unique<FakeSection>(cell.Document, height, chars);
  FakeSection* raw = section.get();
  cell.AddSection(std::move(section), 0);
  return raw;
}

TEST(Cells, EmptyCellLaysOutToZeroAndPaintsToItsY) {
  TSectionList root(nullptr, nullptr);
  TCell cell(&root);
  int maxWidth = -1;
  int curs = 7;
  EXPECT_EQ(cell.LayoutContent(nullptr, 40, 300, 0, 0, maxWidth, curs), 0);
  EXPECT_EQ(cell.CharCount, 0);
  EXPECT_EQ(curs, 7);
  EXPECT_EQ(cell.PaintContent(nullptr, win::RECT{0, 0, 300, 200}, 6000, 0, 55, 0, 0), 55);
}

TEST(Cells, SectionsStackAndPositionsRunWithoutGaps) {
  TSectionList root(nullptr, nullptr);
  TCell cell(&root);
  FakeSection* a = AddFake(cell, 10, 3);
  FakeSection* b = AddFake(cell, 20, 0);
  FakeSection* c = AddFake(cell, 5, 4);
  a->width = 120;
  c->width = 80;
  int maxWidth = 0;
  int curs = 10;
  EXPECT_EQ(cell.LayoutContent(nullptr, 100, 300, 0, 0, maxWidth, curs), 35);
  EXPECT_EQ(a->TopY, 100);
  EXPECT_EQ(b->TopY, 110);
  EXPECT_EQ(c->TopY, 130);
  EXPECT_EQ(b->FirstCharPos, 13);
  EXPECT_EQ(c->FirstCharPos, 13);
  EXPECT_EQ(curs, 17);
  EXPECT_EQ(cell.CharCount, 7);
  EXPECT_EQ(maxWidth, 120);
}

TEST(Cells, FailedSectionKeepsItsPlaceEmptyAndIsReportedOnce) {
  win::resetMessageBoxes();
  TSectionList root(nullptr, nullptr);
  TCell cell(&root);
  AddFake(cell, 10, 2);
  FakeSection* bad = AddFake(cell, 50, 9);
  FakeSection* after = AddFake(cell, 10, 2);
  bad->throwOnLayout = true;
  int maxWidth = 0;
  int curs = 0;
  EXPECT_EQ(cell.LayoutContent(nullptr, 0, 300, 0, 0, maxWidth, curs), 20);
  EXPECT_EQ(cell.Count(), 3);
  EXPECT_TRUE(bad->LayoutFailed);
  EXPECT_EQ(after->TopY, 10);
  EXPECT_EQ(after->FirstCharPos, 2);
  EXPECT_EQ(curs, 4);
  EXPECT_EQ(win::messageBoxRecords().size(), 1u);
  // A second layout neither retries nor reports again.
  curs = 0;
  cell.LayoutContent(nullptr, 0, 300, 0, 0, maxWidth, curs);
  EXPECT_EQ(bad->layouts, 1);
  EXPECT_EQ(win::messageBoxRecords().size(), 1u);
  // Paint and hit tests pass it over.
  bad->cursorAnswer = 5;
  int xr = 0, yr = 0, caret = 0;
  bool inText = false;
  EXPECT_EQ(cell.CursorAtPoint(nullptr, 0, 10, xr, yr, caret, inText), -1);
  cell.PaintContent(nullptr, win::RECT{0, 0, 300, 200}, 6000, 0, 0, 0, 0);
  EXPECT_EQ(bad->paints, 0);
}

TEST(Cells, LookupsAskInOrderAndTheFirstAnswerWins) {
  TSectionList root(nullptr, nullptr);
  TCell cell(&root);
  FakeSection* a = AddFake(cell, 10, 3);
  FakeSection* b = AddFake(cell, 10, 3);
  a->matches = b->matches = true;
  a->sourcePos = b->sourcePos = 77;
  int maxWidth = 0;
  int curs = 0;
  cell.LayoutContent(nullptr, 0, 300, 0, 0, maxWidth, curs);
  EXPECT_EQ(cell.SearchForward(4, u"x", false), 4);
  EXPECT_EQ(cell.SearchBackward(6, u"x", false), 3);
  EXPECT_EQ(cell.SourcePosToDocPos(77, false), 0);
  EXPECT_EQ(cell.SourcePosToDocPos(77, true), 3);
  char16_t ch = 0;
  TIDObject* obj = nullptr;
  EXPECT_TRUE(cell.CharAtPosition(5, ch, obj));
  EXPECT_FALSE(cell.CharAtPosition(6, ch, obj));  // the end position still asks the sections
  EXPECT_EQ(b->charQueries, 2);
  EXPECT_FALSE(cell.CharAtPosition(7, ch, obj));
  EXPECT_EQ(b->charQueries, 2);
}

TEST(Cells, LeftFloatTallerThanTheTextLengthensTheCell) {
  TSectionList root(nullptr, nullptr);
  TCell cell(&root);
  struct FloatSection : FakeSection {
    using FakeSection::FakeSection;
    int LayoutSection(gui::TCanvas* canvas, int X, int Y, int XRef, int YRef, int Width, int AHeight,
                      int BlockHeight, IndentManager& IMgr, int& MaxWidth, int& Curs) override {
      FakeSection::LayoutSection(canvas, X, Y, XRef, YRef, Width, AHeight, BlockHeight, IMgr, MaxWidth, Curs);
      IMgr.AddFloatBlock(Y, 100, 200, kAlignFloatLeft);
      return 0;
    }
  };
  cell.AddSection(std::make_unique<FloatSection>(&root, 0, 0), 0);
  AddFake(cell, 50, 0);
  int maxWidth = 0;
  int curs = 0;
  EXPECT_EQ(cell.LayoutContent(nullptr, 10, 300, 0, 0, maxWidth, curs), 200);
}

TEST(Cells, TableCellTitleAndLinkAnswerOverPlainContent) {
  TSectionList root(nullptr, nullptr);
  auto cell = TCellObj::Make(&root, nullptr, nullptr, kVAlignMiddle);
  cell->SetCellTitle("T");
  cell->SetUrl("a.htm");
  cell->SetCellRect(win::RECT{0, 0, 100, 100});
  AddFake(*cell->Cell(), 40, 3);
  int maxWidth = 0;
  int curs = 0;
  cell->Cell()->LayoutContent(nullptr, 0, 100, 0, 0, maxWidth, curs);
  std::unique_ptr<TUrlTarget> target;
  TFormControlObj* control = nullptr;
  std::string title;
  EXPECT_EQ(cell->LinkAtPoint(nullptr, 10, 10, 0, target, control, title), 5);
  EXPECT_EQ(title, "T");
  ASSERT_TRUE(target);
  EXPECT_EQ(target->Url, "a.htm");
  EXPECT_EQ(cell->LinkAtPoint(nullptr, 150, 10, 0, target, control, title), 0);
}

TEST(Cells, TableCellLinkIsCopiedAndEmptyWhenNeverSet) {
  TSectionList root(nullptr, nullptr);
  auto plain = TCellObj::Make(&root, nullptr, nullptr, kVAlignMiddle);
  plain->SetUrl("");
  EXPECT_EQ(plain->CellTitle(), "");
  EXPECT_EQ(plain->Url(), "");
  EXPECT_EQ(plain->Target(), "");
  auto cell = TCellObj::Make(&root, nullptr, nullptr, kVAlignMiddle);
  cell->SetTarget("frame");
  cell->SetUrl("b.htm");
  auto copy = TCellObj::MakeCopy(&root, *cell);
  cell->SetUrl("c.htm");
  EXPECT_EQ(copy->Url(), "b.htm");
  EXPECT_EQ(copy->Target(), "frame");
  EXPECT_EQ(copy->CellTitle(), "");
  ASSERT_NE(copy->Cell(), nullptr);
  EXPECT_EQ(TCellObj::MakeCopy(&root, *TCellObj::MakeDummy(3))->Cell(), nullptr);
}

TEST(Cells, TableCellCopyAnswersForItsPlaceOnlyOnceItIsPainted) {
  // The window place is kept with the link; a copy (for printing) must not
  // answer at the place its source was last painted.
  TSectionList root(nullptr, nullptr);
  auto cell = TCellObj::Make(&root, nullptr, nullptr, kVAlignMiddle);
  cell->SetUrl("a.htm");
  cell->SetCellRect(win::RECT{0, 0, 100, 100});
  auto copy = TCellObj::MakeCopy(&root, *cell);
  std::unique_ptr<TUrlTarget> target;
  TFormControlObj* control = nullptr;
  std::string title;
  EXPECT_EQ(copy->LinkAtPoint(nullptr, 10, 10, 0, target, control, title), 0);
  copy->SetCellRect(win::RECT{0, 0, 50, 50});
  EXPECT_NE(copy->LinkAtPoint(nullptr, 10, 10, 0, target, control, title), 0);
  auto plain = TCellObj::Make(&root, nullptr, nullptr, kVAlignMiddle);
  plain->SetCellRect(win::RECT{0, 0, 100, 100});
  EXPECT_EQ(plain->LinkAtPoint(nullptr, 10, 10, 0, target, control, title), 0);
}

}  // namespace
}  // namespace engine
