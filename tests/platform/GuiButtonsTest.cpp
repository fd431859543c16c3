#include <gtest/gtest.h>

#include "GuiControlTestSupport.h"
#include "platform/gui/Exception.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TButton.h"
#include "platform/gui/TCheckBox.h"
#include "platform/gui/TCustomPanel.h"
#include "platform/gui/TRadioButton.h"
#include "platform/gui/GdiCalls.h"

namespace gui {
namespace {

using guitest::GuiControlTest;

class GuiButtons : public GuiControlTest {};

TEST_F(GuiButtons, ProgrammaticCheckChangesRunOnClickOncePerChange) {
  auto* box = make<TCheckBox>(10, 10, 100, 17);
  int clicks = 0;
  box->OnClick = [&](TObject*) { ++clicks; };
  box->SetChecked(true);
  box->SetChecked(true);  // no change, no click
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(box->Perform(win::BM_GETCHECK, 0, 0), static_cast<win::LRESULT>(win::BST_CHECKED));
  box->SetChecked(false);
  EXPECT_EQ(clicks, 2);

  auto* radio = make<TRadioButton>(10, 40, 100, 17);
  int radioClicks = 0;
  radio->OnClick = [&](TObject*) { ++radioClicks; };
  radio->SetChecked(true);
  radio->SetChecked(false);  // only checking clicks
  EXPECT_EQ(radioClicks, 1);
  EXPECT_FALSE(radio->TabStop());  // a radio button is a tab stop exactly when checked
}

TEST_F(GuiButtons, MouseClickTogglesOnlyWhenReleasedOverTheControl) {
  auto* box = make<TCheckBox>(10, 10, 100, 17);
  int clicks = 0;
  box->OnClick = [&](TObject*) { ++clicks; };
  click(*box, 5, 5);
  EXPECT_TRUE(box->Checked());
  EXPECT_TRUE(box->Focused());
  EXPECT_EQ(clicks, 1);
  // Pressed, then dragged off and released: nothing happens.
  mouse(*box, win::WM_LBUTTONDOWN, 5, 5);
  mouse(*box, win::WM_MOUSEMOVE, 150, 5);
  mouse(*box, win::WM_LBUTTONUP, 150, 5);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(clicks, 1);
  click(*box, 50, 8);
  EXPECT_FALSE(box->Checked());
}

TEST_F(GuiButtons, RadioButtonsLeaveTheirSiblingsAlone) {
  auto* first = make<TRadioButton>(10, 10, 100, 17);
  auto* second = make<TRadioButton>(10, 30, 100, 17);
  click(*first, 5, 8);
  click(*second, 5, 8);
  EXPECT_TRUE(first->Checked());
  EXPECT_TRUE(second->Checked());
  // Clicking a checked radio button changes nothing and does not click.
  int clicks = 0;
  second->OnClick = [&](TObject*) { ++clicks; };
  click(*second, 5, 8);
  EXPECT_EQ(clicks, 0);
}

TEST_F(GuiButtons, CheckMessageSetsWhatIsPaintedNotTheControlState) {
  auto* radio = make<TRadioButton>(10, 10, 100, 17);
  pump();
  const int centreX = 10 + 5;
  const int centreY = 10 + 2 + 5;  // glyph top (17 - 12) / 2, then the middle
  EXPECT_EQ(pixel(centreX, centreY), 0xFFFFFFu);
  win::SendMessageW(radio->Handle(), win::BM_SETCHECK, win::BST_CHECKED, 0);
  pump();
  EXPECT_FALSE(radio->Checked());
  EXPECT_EQ(pixel(centreX, centreY), 0x000000u);  // the dot
}

TEST_F(GuiButtons, KeysPressButtons) {
  auto* box = make<TCheckBox>(10, 10, 100, 17);
  auto* button = make<TButton>(10, 40, 75, 25);
  int buttonClicks = 0;
  button->OnClick = [&](TObject*) { ++buttonClicks; };
  box->SetFocus();
  keyDown(win::VK_SPACE);
  EXPECT_FALSE(box->Checked());  // acts on release
  keyUp(win::VK_SPACE);
  EXPECT_TRUE(box->Checked());
  button->SetFocus();
  key(win::VK_SPACE);
  key(win::VK_RETURN);
  EXPECT_EQ(buttonClicks, 2);
  // A key-down handler that takes the key stops it.
  button->OnKeyDown = [](TObject*, win::WORD& key, TShiftState) { key = 0; };
  key(win::VK_RETURN);
  EXPECT_EQ(buttonClicks, 2);
}

TEST_F(GuiButtons, TabVisitsTabStopsInTabOrderAndShiftTabGoesBack) {
  auto* a = make<TButton>(10, 10, 50, 20);
  auto* panel = make<TPanel>(100, 10, 150, 100);
  auto* b = new TButton(&form());
  b->SetParent(panel);
  auto* skipped = make<TButton>(10, 40, 50, 20);
  skipped->SetTabStop(false);
  auto* disabled = make<TButton>(10, 70, 50, 20);
  disabled->SetEnabled(false);
  auto* c = make<TCheckBox>(10, 100, 50, 20);
  c->SetTabOrder(0);  // now first: c, a, panel (b), skipped, disabled
  c->SetFocus();
  key(win::VK_TAB);
  EXPECT_TRUE(a->Focused());
  key(win::VK_TAB);
  EXPECT_TRUE(b->Focused());  // inside the panel, which is no tab stop itself
  key(win::VK_TAB);
  EXPECT_TRUE(c->Focused());  // round again
  chord(win::VK_SHIFT, win::VK_TAB);
  EXPECT_TRUE(b->Focused());
}

TEST_F(GuiButtons, ArrowsMoveTheFocusUnlessTheControlWantsThem) {
  auto* first = make<TRadioButton>(10, 10, 100, 17);
  auto* second = make<TRadioButton>(10, 30, 100, 17);
  first->SetChecked(true);
  first->SetFocus();
  key(win::VK_DOWN);
  EXPECT_TRUE(second->Focused());
  EXPECT_TRUE(second->Checked());  // focus from the keyboard checks a radio button
  // A control that wants arrows keeps them.
  class ArrowKeeper : public TRadioButton {
   public:
    using TRadioButton::TRadioButton;
    void WndProc(TMessage& message) override {
      if (message.Msg == win::WM_GETDLGCODE) {
        message.Result = win::DLGC_WANTARROWS;
        return;
      }
      TRadioButton::WndProc(message);
    }
  };
  auto* keeper = make<ArrowKeeper>(10, 50, 100, 17);
  keeper->SetFocus();
  key(win::VK_DOWN);
  EXPECT_TRUE(keeper->Focused());
}

TEST_F(GuiButtons, TabFocusWhileTabIsDownCanBeToldApart) {
  // A radio group's own logic ignores checks while Tab is held; the key
  // state must say so when the focus arrives.
  auto* button = make<TButton>(10, 10, 50, 20);
  class TabWatcher : public TRadioButton {
   public:
    using TRadioButton::TRadioButton;
    bool tabWasDown = false;
    void SetChecked(bool value) override {
      tabWasDown = win::GetKeyState(win::VK_TAB) < 0;
      if (!tabWasDown) TRadioButton::SetChecked(value);
    }
  };
  auto* radio = make<TabWatcher>(10, 40, 100, 17);
  button->SetFocus();
  key(win::VK_TAB);
  EXPECT_TRUE(radio->Focused());
  EXPECT_TRUE(radio->tabWasDown);
  EXPECT_FALSE(radio->Checked());
}

TEST_F(GuiButtons, PaintToDrawsAParkedButtonInTheClassicLook) {
  auto* button = make<TButton>(-4000, 10, 40, 20);
  button->SetCaption("");
  TBitmap bitmap;
  bitmap.SetWidth(50);
  bitmap.SetHeight(30);
  bitmap.Canvas().Brush().SetColor(clRed);
  bitmap.Canvas().FillRect({0, 0, 50, 30});
  button->PaintTo(bitmap.Canvas().Handle(), 5, 5);
  const auto at = [&](int x, int y) { return bitmap.Canvas().Pixels(x, y) & 0xFFFFFF; };
  EXPECT_EQ(at(4, 4), ColorToRGB(clRed));            // outside stays
  EXPECT_EQ(at(5, 10), ColorToRGB(cl3DLight));       // outer left edge
  EXPECT_EQ(at(6, 10), ColorToRGB(clBtnHighlight));  // inner left edge
  EXPECT_EQ(at(44, 10), ColorToRGB(cl3DDkShadow));   // right edge
  EXPECT_EQ(at(43, 10), ColorToRGB(clBtnShadow));    // inner right edge
  EXPECT_EQ(at(25, 15), ColorToRGB(clBtnFace));
  EXPECT_EQ(at(45, 10), ColorToRGB(clRed));  // nothing past the width
}

TEST_F(GuiButtons, CheckBoxPaintsItsTickWhenChecked) {
  auto* box = make<TCheckBox>(20, 20, 100, 17);
  pump();
  const int boxTop = 20 + 2;
  EXPECT_EQ(pixel(20 + 6, boxTop + 8), 0xFFFFFFu);
  EXPECT_EQ(pixel(20, boxTop), 0x808080u);      // the sunken edge's outer shadow
  EXPECT_EQ(pixel(21, boxTop + 1), 0x000000u);  // its inner dark shadow
  box->SetChecked(true);
  pump();
  EXPECT_EQ(pixel(20 + 5, boxTop + 8), 0x000000u);  // the bottom of the tick
}

TEST(GuiComponentNames, NamesAreIdentifiersUniqueInTheirOwner) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName("Edit1");
  EXPECT_THROW(b->SetName("edit1"), EComponentError);
  EXPECT_THROW(b->SetName("1Edit"), EComponentError);
  EXPECT_THROW(b->SetName("my edit"), EComponentError);
  EXPECT_EQ(b->Name(), "");
  b->SetName("_Edit2");
  a->SetName("EDIT1");  // its own name in other case
  a->SetName("");
  b->SetName("Edit1");
  EXPECT_EQ(b->Name(), "Edit1");
}

TEST_F(GuiButtons, ParentFormIsTheFormAtTheTopOfTheChain) {
  auto* panel = make<TPanel>(0, 0, 100, 100);
  auto* button = new TButton(&form());
  button->SetParent(panel);
  EXPECT_EQ(GetParentForm(button), &form());
  TPanel loose(nullptr);
  TButton inLoose(nullptr);
  inLoose.SetParent(&loose);
  EXPECT_EQ(GetParentForm(&inLoose), nullptr);
  EXPECT_EQ(GetParentForm(nullptr), nullptr);
  inLoose.SetParent(nullptr);
}

TEST_F(GuiButtons, AlignedChildrenStayLaidOutAroundUnalignedOnes) {
  auto* top = make<TPanel>(0, 0, 10, 30);
  auto* loose = make<TButton>(50, 50, 40, 20);
  top->SetAlign(alTop);
  EXPECT_EQ(top->Width(), 300);
  loose->SetBounds(60, 60, 40, 20);
  EXPECT_EQ(loose->Left(), 60);
  top->SetAlign(alNone);
  top->SetWidth(10);
  form().SetBounds(0, 0, 400, 200);
  EXPECT_EQ(top->Width(), 10);  // no longer aligned
  loose->SetAlign(alBottom);
  EXPECT_EQ(loose->BoundsRect(), (win::RECT{0, 180, 400, 200}));
  delete loose;  // the count of aligned children goes down with it
  top->SetAlign(alClient);
  EXPECT_EQ(top->BoundsRect(), (win::RECT{0, 0, 400, 200}));
}

}  // namespace
}  // namespace gui
