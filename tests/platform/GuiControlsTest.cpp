#include <gtest/gtest.h>

#include "platform/gui/Exception.h"
#include "platform/gui/TApplication.h"
#include "platform/gui/TCustomForm.h"
#include "platform/gui/TCustomPanel.h"
#include "platform/gui/TScreen.h"
#include "platform/gui/TTimer.h"
#include "platform/gui/UserCalls.h"
#include "platform/win/kernel/Clock.h"
#include "platform/win/user/Input.h"

namespace gui {
namespace {

class GuiControls : public testing::Test {
 protected:
  void SetUp() override {
    win::setMessageBoxEcho(false);
    win::clearMessageBoxRecords();
  }
  void TearDown() override {
    Application->Reset();
    Screen->Reset();
    win::setClock(nullptr);
  }
  // A visible top-level form of 200 x 100 at the screen's origin.
  std::unique_ptr<TForm> shownForm() {
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 200, 100);
    form->Show();
    return form;
  }
};

// Paints a plain colour over its client area.
class Swatch : public TGraphicControl {
 public:
  Swatch(TComponent* owner, TColor colour) : TGraphicControl(owner), colour_(colour) {}
  int paints = 0;

 protected:
  void Paint() override {
    ++paints;
    Canvas().Brush().SetColor(colour_);
    Canvas().FillRect(ClientRect());
  }

 private:
  TColor colour_;
};

std::uint32_t surfacePixel(TWinControl& topLevel, int x, int y) {
  return win::windowSurface(topLevel.Handle())->rowPtr(y)[x];
}

TEST_F(GuiControls, AlignLaysOutTopBottomLeftRightThenClient) {
  auto form = shownForm();
  auto* top = new TPanel(form.get());
  auto* bottom = new TPanel(form.get());
  auto* left = new TPanel(form.get());
  auto* client = new TPanel(form.get());
  for (TControl* control : std::initializer_list<TControl*>{top, bottom, left, client}) control->SetParent(form.get());
  top->SetHeight(10);
  top->SetAlign(alTop);
  bottom->SetHeight(20);
  bottom->SetAlign(alBottom);
  left->SetWidth(30);
  left->SetAlign(alLeft);
  client->SetAlign(alClient);
  EXPECT_EQ(top->BoundsRect(), (win::RECT{0, 0, 200, 10}));
  EXPECT_EQ(bottom->BoundsRect(), (win::RECT{0, 80, 200, 100}));
  EXPECT_EQ(left->BoundsRect(), (win::RECT{0, 10, 30, 80}));
  EXPECT_EQ(client->BoundsRect(), (win::RECT{30, 10, 200, 80}));
  // Resizing the form moves them along.
  form->SetBounds(0, 0, 300, 150);
  EXPECT_EQ(bottom->BoundsRect(), (win::RECT{0, 130, 300, 150}));
  EXPECT_EQ(client->BoundsRect(), (win::RECT{30, 10, 300, 130}));
  // Hidden controls take no room.
  top->Hide();
  EXPECT_EQ(left->Top(), 0);
}

TEST_F(GuiControls, ControlsOfOneAlignStackInTheOrderOfTheirPositions) {
  auto form = shownForm();
  auto* first = new TPanel(form.get());
  auto* second = new TPanel(form.get());
  for (TPanel* panel : {first, second}) {
    panel->SetParent(form.get());
    panel->SetHeight(10);
    panel->SetAlign(alTop);
  }
  EXPECT_EQ(first->Top(), 0);
  EXPECT_EQ(second->Top(), 10);
  // Moving the second above the first swaps them.
  second->SetTop(-1);
  EXPECT_EQ(second->Top(), 0);
  EXPECT_EQ(first->Top(), 10);
  // While alignment is off nothing moves; turning it on catches up.
  form->DisableAlign();
  first->SetHeight(30);
  EXPECT_EQ(first->Height(), 30);
  form->EnableAlign();
  EXPECT_EQ(first->BoundsRect(), (win::RECT{0, 10, 200, 40}));
}

TEST_F(GuiControls, KeysReachTheFocusedControlsHandlers) {
  auto form = shownForm();
  auto* panel = new TPanel(form.get());
  panel->SetParent(form.get());
  std::string log;
  panel->OnKeyDown = [&](TObject*, win::WORD& key, TShiftState shift) {
    log += "down " + std::to_string(key) + (shift & ssShift ? " shift" : "") + ";";
    key = 0;
  };
  panel->OnKeyPress = [&](TObject*, char& key) { log += std::string("press ") + key + ";"; };
  panel->OnKeyUp = [&](TObject*, win::WORD& key, TShiftState) { log += "up " + std::to_string(key) + ";"; };
  panel->SetFocus();
  win::SendMessageW(panel->Handle(), win::WM_KEYDOWN, 0x41, 0);
  win::SendMessageW(panel->Handle(), win::WM_CHAR, u'\u00e9', 0);
  win::SendMessageW(panel->Handle(), win::WM_CHAR, u'\u4e00', 0);
  win::SendMessageW(panel->Handle(), win::WM_KEYUP, 0x41, 0);
  EXPECT_EQ(log, "down 65;press \xe9;press ?;up 65;");
}

TEST_F(GuiControls, CursorsFollowTheControlUnderThePointer) {
  auto form = shownForm();
  auto* swatch = new Swatch(form.get(), clBlue);
  swatch->SetParent(form.get());
  swatch->SetBounds(50, 20, 20, 20);
  swatch->SetCursor(crHandPoint);
  form->SetCursor(crIBeam);
  win::SetCursorPos(55, 25);
  win::SendMessageW(form->Handle(), win::WM_SETCURSOR, form->Handle(), win::HTCLIENT);
  EXPECT_EQ(win::GetCursor(), win::LoadCursorW(0, win::IDC_HAND));
  win::SetCursorPos(5, 5);
  win::SendMessageW(form->Handle(), win::WM_SETCURSOR, form->Handle(), win::HTCLIENT);
  EXPECT_EQ(win::GetCursor(), win::LoadCursorW(0, win::IDC_IBEAM));
  Screen->SetCursor(crHourGlass);  // the screen's cursor wins over the controls
  win::SendMessageW(form->Handle(), win::WM_SETCURSOR, form->Handle(), win::HTCLIENT);
  EXPECT_EQ(win::GetCursor(), win::LoadCursorW(0, win::IDC_WAIT));
}

TEST_F(GuiControls, ChildWindowsFollowTheirParentAndFreedControlsLeaveIt) {
  auto form = shownForm();
  auto* panel = new TPanel(form.get());
  panel->SetParent(form.get());
  EXPECT_TRUE(panel->HandleAllocated());  // made with its parent's window
  EXPECT_EQ(win::GetParent(panel->Handle()), form->Handle());
  auto* inner = new TPanel(nullptr);
  inner->SetParent(panel);
  inner->SetBounds(5, 6, 20, 10);
  EXPECT_EQ(inner->ClientToScreen(win::POINT{1, 1}), (win::POINT{6, 7}));
  delete inner;
  EXPECT_EQ(panel->ControlCount(), 0);
  delete panel;
  EXPECT_EQ(form->ControlCount(), 0);
  EXPECT_EQ(form->ComponentCount(), 0);
}

TEST_F(GuiControls, ParentGoingFirstLeavesChildrenToTheirOwners) {
  auto form = shownForm();
  auto* panel = new TPanel(nullptr);
  panel->SetParent(form.get());
  TPanel child(nullptr);
  child.SetParent(panel);
  const win::HWND childWindow = child.Handle();
  delete panel;
  EXPECT_EQ(child.Parent(), nullptr);
  EXPECT_FALSE(child.HandleAllocated());
  EXPECT_FALSE(win::IsWindow(childWindow));
}

TEST_F(GuiControls, PaintingReachesTheFormSurface) {
  auto form = shownForm();
  form->SetColor(clWhite);
  auto* panel = new TPanel(form.get());
  panel->SetParent(form.get());
  panel->SetBounds(10, 10, 50, 30);
  panel->SetColor(clRed);
  panel->SetBevelOuter(bvNone);
  auto* swatch = new Swatch(form.get(), clBlue);
  swatch->SetParent(form.get());
  swatch->SetBounds(100, 10, 20, 20);
  Application->ProcessMessages();
  EXPECT_EQ(surfacePixel(*form, 20, 20), 0xFF0000u);  // surfaces hold 0x00RRGGBB
  EXPECT_EQ(surfacePixel(*form, 110, 15), 0x0000FFu);
  EXPECT_EQ(surfacePixel(*form, 150, 50), 0xFFFFFFu);
  EXPECT_EQ(swatch->paints, 1);
  swatch->Invalidate();
  Application->ProcessMessages();
  EXPECT_EQ(swatch->paints, 2);
}

TEST_F(GuiControls, RaisedBevelIsLightTopLeftDarkBottomRight) {
  auto form = shownForm();
  auto* panel = new TPanel(form.get());
  panel->SetParent(form.get());
  panel->SetBounds(0, 0, 20, 20);
  Application->ProcessMessages();
  const std::uint32_t highlight = surfacePixel(*form, 0, 5);
  const std::uint32_t shadow = surfacePixel(*form, 19, 5);
  EXPECT_EQ(highlight, 0xFFFFFFu);
  EXPECT_EQ(shadow, 0x808080u);
  EXPECT_EQ(surfacePixel(*form, 5, 5), 0xC0C0C0u);  // the button face
}

TEST_F(GuiControls, MouseMessagesReachWindowlessChildrenInTheirCoordinates) {
  auto form = shownForm();
  auto* swatch = new Swatch(form.get(), clBlue);
  swatch->SetParent(form.get());
  swatch->SetBounds(50, 20, 20, 20);
  std::vector<std::string> log;
  swatch->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
    log.push_back("down " + std::to_string(x) + "," + std::to_string(y));
  };
  swatch->OnClick = [&](TObject*) { log.push_back("click"); };
  form->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { log.push_back("form down"); };
  win::SendMessageW(form->Handle(), win::WM_LBUTTONDOWN, win::MK_LBUTTON, win::MAKELPARAM(55, 25));
  win::SendMessageW(form->Handle(), win::WM_LBUTTONUP, 0, win::MAKELPARAM(56, 26));
  win::SendMessageW(form->Handle(), win::WM_LBUTTONDOWN, win::MK_LBUTTON, win::MAKELPARAM(5, 5));
  EXPECT_EQ(log, (std::vector<std::string>{"down 5,5", "click", "form down"}));
}

TEST_F(GuiControls, FormTracksItsActiveControl) {
  auto form = shownForm();
  auto* panel = new TPanel(form.get());
  panel->SetParent(form.get());
  std::vector<std::string> log;
  panel->OnEnter = [&](TObject*) { log.push_back("enter"); };
  panel->OnExit = [&](TObject*) { log.push_back("exit"); };
  form->SetActiveControl(panel);
  EXPECT_TRUE(panel->Focused());
  EXPECT_EQ(form->ActiveControl(), panel);
  form->SetFocus();
  EXPECT_EQ(log, (std::vector<std::string>{"enter", "exit"}));
  panel->SetFocus();
  delete panel;
  EXPECT_EQ(form->ActiveControl(), nullptr);
}

// A one-pixel stop parked off screen that can keep chosen keys for itself.
class KeyStop : public TWinControl {
 public:
  KeyStop(TWinControl* parent, win::LRESULT dialogCode = 0) : TWinControl(parent), dialogCode_(dialogCode) {
    SetParent(parent);
    SetBounds(-4000, 0, 1, 1);
    SetTabStop(true);
  }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == win::WM_GETDLGCODE) {
      Message.Result = dialogCode_;
      return;
    }
    TWinControl::WndProc(Message);
  }

 private:
  win::LRESULT dialogCode_;
};

TEST_F(GuiControls, TabMovesTheFocusThroughTabStopsInTabOrder) {
  auto form = shownForm();
  auto* panel = new TPanel(form.get());
  panel->SetParent(form.get());
  auto* a = new KeyStop(panel);
  auto* b = new KeyStop(panel);
  auto* c = new KeyStop(form.get());
  auto* skipped = new KeyStop(panel);
  skipped->SetTabStop(false);
  auto* hidden = new KeyStop(panel);
  hidden->Hide();
  std::string log;
  for (auto [stop, name] : {std::pair{a, "a"}, std::pair{b, "b"}, std::pair{c, "c"}})
    stop->OnEnter = [&log, name = std::string(name)](TObject*) { log += name; };
  b->SetTabOrder(0);  // panel: b, a, skipped, hidden; then c on the form
  b->SetFocus();
  auto tab = [] { win::SendMessageW(win::GetFocus(), win::WM_KEYDOWN, win::VK_TAB, 0); };
  tab();
  tab();
  tab();  // wraps around to the first stop
  win::setKeyDown(win::VK_SHIFT, true);
  tab();  // and back again
  win::setKeyDown(win::VK_SHIFT, false);
  EXPECT_EQ(log, "bacbc");
  EXPECT_TRUE(c->Focused());
}

TEST_F(GuiControls, ControlsThatWantTabKeepTheKey) {
  auto form = shownForm();
  auto* keeper = new KeyStop(form.get(), win::DLGC_WANTTAB | win::DLGC_WANTARROWS);
  auto* other = new KeyStop(form.get());
  std::string log;
  keeper->OnKeyDown = [&](TObject*, win::WORD& key, TShiftState) { log += std::to_string(key) + ";"; };
  other->OnKeyDown = keeper->OnKeyDown;
  keeper->SetFocus();
  win::SendMessageW(keeper->Handle(), win::WM_KEYDOWN, win::VK_TAB, 0);
  win::SendMessageW(keeper->Handle(), win::WM_KEYDOWN, win::VK_DOWN, 0);
  EXPECT_TRUE(keeper->Focused());
  other->SetFocus();
  win::SendMessageW(other->Handle(), win::WM_KEYDOWN, win::VK_DOWN, 0);  // arrows still reach it
  win::SendMessageW(other->Handle(), win::WM_KEYDOWN, win::VK_TAB, 0);   // Tab does not
  EXPECT_TRUE(keeper->Focused());
  win::setKeyDown(win::VK_CONTROL, true);  // Control+Tab is left to the control
  win::SendMessageW(keeper->Handle(), win::WM_KEYDOWN, win::VK_TAB, 0);
  win::setKeyDown(win::VK_CONTROL, false);
  EXPECT_EQ(log, "9;40;40;9;");
}

TEST_F(GuiControls, CloseHidesOrFreesTheForm) {
  auto form = shownForm();
  form->Close();
  EXPECT_FALSE(form->Visible());
  bool destroyed = false;
  auto* loose = new TForm(nullptr);
  loose->OnDestroy = [&](TObject*) { destroyed = true; };
  loose->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  loose->Close();
  EXPECT_FALSE(destroyed);  // freed once the loop runs
  Application->ProcessMessages();
  EXPECT_TRUE(destroyed);
}

TEST_F(GuiControls, TimerFiresOnTheVirtualClock) {
  win::VirtualClock& clock = win::useVirtualClock();
  TTimer timer(nullptr);
  int ticks = 0;
  timer.OnTimer = [&](TObject*) { ++ticks; };
  timer.SetInterval(50);
  Application->ProcessMessages();
  EXPECT_EQ(ticks, 0);
  clock.advance(50);
  Application->ProcessMessages();
  EXPECT_EQ(ticks, 1);
  clock.advance(120);
  Application->ProcessMessages();
  EXPECT_EQ(ticks, 2);  // missed periods are not made up
  timer.SetEnabled(false);
  clock.advance(100);
  Application->ProcessMessages();
  EXPECT_EQ(ticks, 2);
}

TEST_F(GuiControls, TimerMayBeFreedInItsOwnHandler) {
  win::VirtualClock& clock = win::useVirtualClock();
  auto* timer = new TTimer(nullptr);
  int ticks = 0;
  timer->OnTimer = [&](TObject*) {
    ++ticks;
    delete timer;
  };
  timer->SetInterval(10);
  clock.advance(10);
  Application->ProcessMessages();
  clock.advance(30);
  Application->ProcessMessages();
  EXPECT_EQ(ticks, 1);

  // Freed, then an error: the error still reaches the application.
  std::string seen;
  Application->OnException = [&](TObject* Sender, const Exception& e) { seen = e.Message() + (Sender ? "!" : ""); };
  auto* failing = new TTimer(nullptr);
  failing->OnTimer = [&](TObject*) {
    delete failing;
    throw EConvertError("gone");
  };
  failing->SetInterval(10);
  clock.advance(10);
  Application->ProcessMessages();
  EXPECT_EQ(seen, "gone");
}

TEST_F(GuiControls, ExceptionsInHandlersGoToTheApplication) {
  auto form = shownForm();
  form->OnMouseDown = [](TObject*, TMouseButton, TShiftState, int, int) { throw EConvertError("Bad number"); };
  win::PostMessageW(form->Handle(), win::WM_LBUTTONDOWN, 0, 0);
  Application->ProcessMessages();
  const auto boxes = win::messageBoxRecords();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, u"Bad number.");

  std::string seen;
  Application->OnException = [&](TObject*, const Exception& e) { seen = e.Message(); };
  form->OnMouseDown = [](TObject*, TMouseButton, TShiftState, int, int) { throw EAbort("quiet"); };
  win::PostMessageW(form->Handle(), win::WM_LBUTTONDOWN, 0, 0);
  Application->ProcessMessages();
  EXPECT_EQ(seen, "");  // the silent abort shows nothing
  EXPECT_EQ(win::messageBoxRecords().size(), 1u);

  std::string caught;
  {
    TApplicationEvents events(nullptr);
    events.OnException = [&](TObject*, const Exception& e) { caught = e.Message(); };
    form->OnMouseDown = [](TObject*, TMouseButton, TShiftState, int, int) { throw EListError("Out"); };
    win::PostMessageW(form->Handle(), win::WM_LBUTTONDOWN, 0, 0);
    Application->ProcessMessages();
  }
  EXPECT_EQ(caught, "Out");
  EXPECT_EQ(seen, "");
  win::PostMessageW(form->Handle(), win::WM_LBUTTONDOWN, 0, 0);
  Application->ProcessMessages();
  EXPECT_EQ(seen, "Out");  // the events component is gone
}

TEST_F(GuiControls, ScreenCursorsByNumber) {
  EXPECT_EQ(Screen->Cursors(crIBeam), win::LoadCursorW(0, win::IDC_IBEAM));
  EXPECT_EQ(Screen->Cursors(12345), win::LoadCursorW(0, win::IDC_ARROW));
  const win::HCURSOR own = win::LoadCursorW(0, win::IDC_HAND);
  Screen->SetCursors(10101, own);
  EXPECT_EQ(Screen->Cursors(10101), own);
  Screen->SetCursor(crHourGlass);
  EXPECT_EQ(win::GetCursor(), win::LoadCursorW(0, win::IDC_WAIT));
  EXPECT_EQ(Screen->PixelsPerInch(), 96);
  EXPECT_GT(Screen->Fonts().Count(), 0);
  EXPECT_GE(Screen->Fonts().IndexOf("arial"), 0);
}

}  // namespace
}  // namespace gui
