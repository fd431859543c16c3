// The document root's queries over its sections: the section at a scroll
// position, and the selected text counted and copied alike (forced line
// breaks included) into buffers of any size.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/html/DocumentParser.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"
#include "tests/engine/document/DocumentFixtures.h"
#include "tests/engine/html/ParseTestSupport.h"

namespace engine {
namespace {

using namespace engine::testing;

TEST(RootQueries, TheSectionAtAPositionIsTheLastOneStartingAtOrAboveIt) {
  TSectionList root(nullptr, nullptr);
  AddContent(root, 20, 5);
  AddContent(root, 30, 5);
  AddContent(root, 10, 5);
  LayOut(root, 300);
  ASSERT_EQ(root.PositionList.size(), 3u);
  int objY = -1;
  int index = -1;
  EXPECT_EQ(root.FindSectionAtPosition(-1, objY, index), nullptr);
  EXPECT_EQ(root.FindSectionAtPosition(0, objY, index), root.PositionList[0]);
  EXPECT_EQ(objY, 0);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(root.FindSectionAtPosition(49, objY, index), root.PositionList[1]);
  EXPECT_EQ(objY, 20);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(root.FindSectionAtPosition(5000, objY, index), root.PositionList[2]);
  EXPECT_EQ(index, 2);
}

// A section whose paint reaches far below its content, as a hanging float's does.
class HangingSection : public FakeSection {
 public:
  HangingSection(TSectionList* document, int height, int hang) : FakeSection(document, height, 1), hang_(hang) {}
  int LayoutSection(gui::TCanvas* canvas, int X, int Y, int XRef, int YRef, int Width, int AHeight, int BlockHeight,
                    IndentManager& IMgr, int& MaxWidth, int& Curs) override {
    int height = FakeSection::LayoutSection(canvas, X, Y, XRef, YRef, Width, AHeight, BlockHeight, IMgr, MaxWidth,
                                            Curs);
    PaintBottom = Y + hang_;
    return height;
  }

 private:
  int hang_;
};

TEST(RootQueries, AHitAtABandsLastRowAnswersItsSectionAndOnePastItNothing) {
  TSectionList root(nullptr, nullptr);
  auto hanging = std::make_unique<HangingSection>(&root, 20, 500);
  root.AddSection(std::move(hanging), 0);
  FakeSection* next = AddContent(root, 30, 5);
  next->cursorAnswer = 7;
  LayOut(root, 300);
  ASSERT_EQ(next->PaintTop, 20);
  ASSERT_EQ(next->PaintBottom, 50);
  int xr = 0, yr = 0, caretHeight = 0;
  bool inText = false;
  EXPECT_EQ(root.CursorAtPoint(nullptr, 5, 20, xr, yr, caretHeight, inText), 7);
  EXPECT_EQ(root.CursorAtPoint(nullptr, 5, 49, xr, yr, caretHeight, inText), 7);
  EXPECT_EQ(root.CursorAtPoint(nullptr, 5, 50, xr, yr, caretHeight, inText), -1);
}

class SelectionTest : public ::testing::Test {
 protected:
  void Load(const std::string& html) {
    root = NewTestRoot();
    ParseHtmlSource(html, *root, nullptr);
    surface.SetSize(400, 300);
    LayOut(*root, 400, &surface.Canvas());
  }
  std::u16string Collect(int length, int& answer) {
    std::vector<char16_t> buffer(static_cast<std::size_t>(length) + 4, u'#');
    answer = root->CollectSelectedText(buffer.data(), length);
    return std::u16string(buffer.data(), static_cast<std::size_t>(length));
  }
  std::unique_ptr<TSectionList> root;
  gui::TBitmap surface;
};

TEST_F(SelectionTest, CountAndCopyAgreeAcrossForcedBreaks) {
  Load("<p>one<br>two<br><br>three</p><p>four</p>");
  root->SelB = 0;
  root->SelE = root->CharCount;
  const int count = root->CountSelectedChars();
  ASSERT_GT(count, 0);
  int written = 0;
  const std::u16string text = Collect(count + 1, written);
  EXPECT_EQ(written, count + 1);  // the characters and the terminator
  EXPECT_EQ(text.find(u'\0'), static_cast<std::size_t>(count));
  EXPECT_EQ(text.substr(0, 12), u"one\r\ntwo\r\n\r\n");
  EXPECT_NE(text.find(u"four"), std::u16string::npos);
}

TEST_F(SelectionTest, EmptySelectionsAndBuffersWithoutRoomAnswerZero) {
  Load("<p>some text</p>");
  root->SelB = root->SelE = 3;
  EXPECT_EQ(root->CountSelectedChars(), 0);
  int written = -1;
  EXPECT_EQ(Collect(5, written)[0], u'\0');
  EXPECT_EQ(written, 0);
  root->SelB = 0;
  root->SelE = 9;
  char16_t untouched = u'#';
  EXPECT_EQ(root->CollectSelectedText(&untouched, 0), 0);
  EXPECT_EQ(untouched, u'#');
  EXPECT_EQ(root->CollectSelectedText(nullptr, 10), 0);
  // A short buffer takes what fits and the terminator.
  const std::u16string cut = Collect(3, written);
  EXPECT_EQ(written, 3);
  EXPECT_EQ(cut, std::u16string(u"so\0", 3));
}

}  // namespace
}  // namespace engine
