#pragma once
// Shared fixture for the standard-control tests: a shown form at the screen's
// origin on a virtual clock, input posted the way a user makes it (mouse at a
// control's point, keys to the focus window, characters), and the form's
// pixels.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/gui/TApplication.h"
#include "platform/gui/TCustomForm.h"
#include "platform/gui/TScreen.h"
#include "platform/gui/UserCalls.h"
#include "platform/win/kernel/Clock.h"

namespace guitest {

class GuiControlTest : public testing::Test {
 protected:
  void SetUp() override {
    win::setMessageBoxEcho(false);
    win::useVirtualClock();
    form_ = std::make_unique<gui::TForm>(nullptr);
    form_->SetBounds(0, 0, 300, 200);
    form_->Show();
  }
  void TearDown() override {
    form_.reset();
    gui::Application->Reset();
    gui::Screen->Reset();
    win::resetInput();
    win::resetSystemParameters();
    win::setClock(nullptr);
  }

  gui::TForm& form() { return *form_; }
  // Makes a control of type T on the form at the given bounds.
  template <typename T>
  T* make(int left, int top, int width, int height) {
    auto* control = new T(form_.get());
    control->SetParent(form_.get());
    control->SetBounds(left, top, width, height);
    control->Font().SetName("Arial");
    control->Font().SetHeight(-13);
    return control;
  }

  static void pump() { gui::Application->ProcessMessages(); }
  // Mouse input at a point of the control (its own coordinates).
  static void mouse(gui::TControl& control, win::UINT message, int x, int y) {
    win::postMouseInput(message, control.ClientToScreen({x, y}));
    pump();
  }
  static void click(gui::TControl& control, int x, int y) {
    mouse(control, win::WM_LBUTTONDOWN, x, y);
    mouse(control, win::WM_LBUTTONUP, x, y);
  }
  static void keyDown(int key) {
    win::postKeyInput(win::WM_KEYDOWN, key);
    pump();
  }
  static void keyUp(int key) {
    win::postKeyInput(win::WM_KEYUP, key);
    pump();
  }
  static void key(int key) {
    keyDown(key);
    keyUp(key);
  }
  // A key pressed with a modifier held.
  static void chord(int modifier, int key) {
    keyDown(modifier);
    GuiControlTest::key(key);
    keyUp(modifier);
  }
  static void type(const std::u16string& text) {
    for (char16_t c : text) win::postCharInput(c);
    pump();
  }
  // The form's pixel (0x00RRGGBB) at a client point.
  std::uint32_t pixel(int x, int y) { return win::windowSurface(form_->Handle())->rowPtr(y)[x]; }

 private:
  std::unique_ptr<gui::TForm> form_;
};

}  // namespace guitest
