// Form controls printed: each kind draws a picture of itself on a page's
// canvas (a bitmap here), and a printed copy of the document leaves the
// screen's windows where they are.
#include <gtest/gtest.h>

#include <string>

#include "engine/objects/TButtonFormControlObj.h"
#include "engine/objects/TCheckBoxFormControlObj.h"
#include "engine/objects/TComboFormControlObj.h"
#include "engine/objects/TEditFormControlObj.h"
#include "engine/objects/TListBoxFormControlObj.h"
#include "engine/objects/TRadioButtonFormControlObj.h"
#include "engine/objects/TTextAreaFormControlObj.h"
#include "platform/gui/TBitmap.h"
#include "tests/engine/objects/FormControlTestSupport.h"

namespace engine {
namespace {

constexpr win::COLORREF kWhite = 0xFFFFFF;
constexpr win::COLORREF kBlack = 0x000000;

class FormControlPrinting : public testing::FormControlFixture {
 protected:
  void SetUp() override {
    FormControlFixture::SetUp();
    page_.SetSize(200, 100);
    page_.Canvas().Brush().SetColor(gui::clWhite);
    page_.Canvas().FillRect({0, 0, 200, 100});
  }
  gui::TCanvas& Page() { return page_.Canvas(); }
  win::COLORREF At(int x, int y) { return page_.Canvas().Pixels(x, y); }
  // Dark pixels (text, ticks) in the rectangle.
  int InkIn(int left, int top, int right, int bottom) {
    int ink = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) {
        const win::COLORREF c = At(x, y);
        ink += (c & 0xFF) < 0x60 && ((c >> 8) & 0xFF) < 0x60 && ((c >> 16) & 0xFF) < 0x60 ? 1 : 0;
      }
    return ink;
  }
  // Pixels in the rectangle that are not white.
  int PaintedIn(int left, int top, int right, int bottom) {
    int painted = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) painted += At(x, y) != kWhite ? 1 : 0;
    return painted;
  }
  void SizeAll() {
    for (TFormControlObj* control : Form()->ControlList) control->SizeFromFont(&page_.Canvas());
  }

 private:
  gui::TBitmap page_;
};

TEST_F(FormControlPrinting, ACheckedBoxShowsItsTickAndAnUncheckedOneNone) {
  Build("<form><input type=checkbox checked><input type=checkbox></form>");
  SizeAll();
  Control<TCheckBoxFormControlObj>(0)->PaintForPrint(Page(), 10, 20);
  Control<TCheckBoxFormControlObj>(1)->PaintForPrint(Page(), 40, 20);
  const int middle = 20 + 13 / 2;
  // The tick runs (x+3, M) - (x+5, M+2) - (x+9, M-2).
  for (const auto& [dx, dy] : {std::pair{3, 0}, {4, 1}, {5, 2}, {6, 1}, {7, 0}, {8, -1}})
    EXPECT_EQ(At(10 + dx, middle + dy), kBlack) << dx;
  EXPECT_EQ(At(40 + 7, middle), kWhite);
  EXPECT_NE(At(40, 20), kWhite);  // the frame
}

TEST_F(FormControlPrinting, ACheckedRadioShowsItsDot) {
  Build("<form><input type=radio name=r checked><input type=radio name=r></form>");
  SizeAll();
  Control<TRadioButtonFormControlObj>(0)->PaintForPrint(Page(), 10, 20);
  Control<TRadioButtonFormControlObj>(1)->PaintForPrint(Page(), 40, 20);
  EXPECT_EQ(At(17, 27), kBlack);
  EXPECT_EQ(At(47, 27), kWhite);
  EXPECT_GT(PaintedIn(40, 20, 47, 27), 0);  // the upper-left arc

}

TEST_F(FormControlPrinting, TextControlsPrintTheirTextInsideTheirFrame) {
  Build("<form><input value=WWWW><input type=password value=ab><select><option>MMM</select>"
        "<select size=3><option>One<option>Two</select><textarea rows=2>HH</textarea>"
        "<input type=submit value=Send></form>");
  SizeAll();
  Control<TEditFormControlObj>(0)->ResetToDefault();
  for (std::size_t i = 2; i < 5; ++i) Form()->ControlList[i]->ResetToDefault();
  struct Printed {
    std::size_t index;
    int x, y;
  };
  for (const Printed& p : {Printed{0, 0, 0}, Printed{1, 100, 0}, Printed{2, 0, 30}, Printed{3, 100, 30},
                           Printed{4, 0, 65}, Printed{5, 100, 65}}) {
    TFormControlObj* control = Form()->ControlList[p.index];
    control->PaintForPrint(Page(), p.x, p.y);
    const int width = std::min(control->WindowControl()->Width(), 95);
    const int height = std::min(control->WindowControl()->Height(), 30);
    EXPECT_GT(InkIn(p.x + 5, p.y + 5, p.x + width - 5, p.y + height - 5), 0) << p.index;
  }

}

TEST_F(FormControlPrinting, PrintingLeavesTheScreensWindowsInPlace) {
  Build("<form><input name=a value=v><input type=checkbox checked></form>");
  SizeAll();
  auto* edit = Control<TEditFormControlObj>(0);
  edit->WindowControl()->SetBounds(30, 40, 100, 20);
  edit->TopY = 40;
  edit->DrawForPrint(&Page(), 5, nullptr, 60, 40, 0);
  EXPECT_EQ(edit->WindowControl()->Left(), 30);
  EXPECT_EQ(edit->WindowControl()->Top(), 40);
  EXPECT_EQ(edit->TopY, 40);
  EXPECT_GT(InkIn(5, 30, 105, 60), 0);
}

}  // namespace
}  // namespace engine
