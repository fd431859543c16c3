// Forms in the viewer: a click on an image input's picture submits the point,
// a host that loads from inside a form control's event is refused, the mouse
// over a control shows its title and reaches the host, and text inputs take
// their width from the input style's font.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ViewerTestSupport.h"
#include "engine/document/TIDObject.h"
#include "engine/html/BuilderSeams.h"
#include "engine/document/TBlock.h"
#include "engine/text/TSection.h"
#include "engine/objects/TFormControlObj.h"
#include "engine/objects/ThtmlFormHooks.h"
#include "platform/gui/TStringList.h"

namespace viewer {
namespace {

class HTMLViewerForms : public viewertest::ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    saved_ = engine::BuilderSeams();
    engine::InstallFormHooks();
    view().OnFormSubmit = [this](gui::TObject*, const std::string& action, const std::string&, const std::string&,
                                 const std::string&, std::unique_ptr<gui::TStringList> results) {
      std::vector<std::string> lines{action};
      for (int i = 0; i < results->Count(); ++i) lines.push_back(results->Strings(i));
      submitted.push_back(lines);
    };
  }
  void TearDown() override {
    engine::BuilderSeams() = saved_;
    ViewerTest::TearDown();
  }
  // The panel point over the image's top-left corner.
  win::POINT imageCorner() {
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 200; ++x) {
        engine::TIDObject* object = nullptr;
        int innerX = 0, innerY = 0;
        if (view().Document().ObjectAtPoint(x, y + view().VerticalPosition(), object, innerX, innerY))
          return {x - innerX, y - innerY};
      }
    ADD_FAILURE() << "no image under any point";
    return {0, 0};
  }
  void click(int x, int y) {
    mouse(win::WM_LBUTTONDOWN, x, y);
    mouse(win::WM_LBUTTONUP, x, y);
  }

  std::vector<std::vector<std::string>> submitted;

 private:
  engine::TBuilderSeams saved_;
};

TEST_F(HTMLViewerForms, AClickOnAnImageInputSubmitsThePoint) {
  load("<form action=/go><input type=image name=map src=none.gif width=60 height=40>"
       "<input type=hidden name=h value=1></form>");
  const win::POINT corner = imageCorner();
  click(corner.x + 12, corner.y + 34);
  ASSERT_EQ(submitted.size(), 1u);
  EXPECT_EQ(submitted[0], (std::vector<std::string>{"/go", "map.x=12", "map.y=34", "h=1"}));
}

TEST_F(HTMLViewerForms, ALoadFromInsideAControlEventIsRefused) {
  // Loading here used to free the form and the button still running the click.
  load("<form action=/go><input type=image name=map src=none.gif width=60 height=40></form>");
  int clicks = 0;
  view().OnObjectClick = [&](gui::TObject* sender, engine::TFormControlObj*, const std::string&) {
    EXPECT_EQ(sender, &view());
    ++clicks;
    view().LoadSourceString("<p>elsewhere</p>", "");
    view().Clear();
  };
  const win::POINT corner = imageCorner();
  click(corner.x + 5, corner.y + 5);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(view().Document().htmlFormList.size(), 1u);
  ASSERT_EQ(submitted.size(), 1u);
  EXPECT_EQ(submitted[0], (std::vector<std::string>{"/go", "map.x=5", "map.y=5"}));
  // Outside the event the host loads as before.
  view().LoadSourceString("<p>elsewhere</p>", "");
  EXPECT_TRUE(view().Document().htmlFormList.empty());
}

TEST_F(HTMLViewerForms, TheMouseOverAControlShowsItsTitleAndReachesTheHost) {
  load("<form><input name=a title=\"Your name\"> <input name=b></form>");
  const auto& controls = view().Document().FormControlList;
  ASSERT_EQ(controls.size(), 2u);
  std::vector<std::vector<int>> moves;
  view().OnMouseMove = [&](gui::TObject* sender, gui::TShiftState shift, int x, int y) {
    EXPECT_EQ(sender, &view());
    moves.push_back({shift, x, y});
  };
  const auto moveOver = [&](engine::IDocumentControl* control, int x, int y) {
    gui::TWinControl* window = control->WindowControl();
    ASSERT_NE(window, nullptr);
    win::postMouseInput(win::WM_MOUSEMOVE, window->ClientToScreen({x, y}));
    pump();
  };
  moveOver(controls[0], 5, 6);
  EXPECT_EQ(view().PaintPanel().Hint(), "Your name");
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0], (std::vector<int>{0, 5, 6}));
  // A control without a title leaves no stale hint behind.
  moveOver(controls[1], 3, 4);
  EXPECT_EQ(view().PaintPanel().Hint(), "");
  ASSERT_EQ(moves.size(), 2u);
  EXPECT_EQ(moves[1], (std::vector<int>{0, 3, 4}));
}

// SIZE=20 in the input style's 10 pt Arial: 20 average characters of 6 pixels and 23 for the frame.
TEST_F(HTMLViewerForms, ATextInputOfSizeTwentyIsA143PixelControl) {
  load("<form><input size=20></form>");
  const auto& controls = view().Document().FormControlList;
  ASSERT_EQ(controls.size(), 1u);
  ASSERT_NE(controls[0]->WindowControl(), nullptr);
  EXPECT_EQ(controls[0]->WindowControl()->Width(), 143);
}

// Middle alignment centres the control on its line's text: its top is the
// text's bottom less half the text height and half its own (it used to sit
// three pixels lower, past the line's bottom).
TEST_F(HTMLViewerForms, AMiddleAlignedControlCentresOnTheTextsMiddle) {
  load("<p>Some text <input style=\"vertical-align: middle\"> more text</p>");
  const auto& controls = view().Document().FormControlList;
  ASSERT_EQ(controls.size(), 1u);
  gui::TWinControl* window = controls[0]->WindowControl();
  ASSERT_NE(window, nullptr);
  const engine::TCellBasic* cell = &view().Document();
  const engine::TSection* text = nullptr;
  while (cell != nullptr && text == nullptr && cell->Count() > 0) {
    text = dynamic_cast<const engine::TSection*>(cell->Items(0));
    const auto* block = dynamic_cast<const engine::TBlock*>(cell->Items(0));
    cell = block ? &*block->MyCell : nullptr;
  }
  ASSERT_NE(text, nullptr);
  ASSERT_EQ(text->Lines.size(), 1u);
  const engine::LineRec& line = text->Lines[0];
  const int textBottom = line.Y + line.SpaceBefore + line.LineHt;
  EXPECT_EQ(window->Top(), textBottom - (line.LineHt + window->Height()) / 2);
}

}  // namespace
}  // namespace viewer
