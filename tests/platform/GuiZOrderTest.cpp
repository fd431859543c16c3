// Sibling order: a control brought to the front is drawn last and hit first;
// one sent to the back goes under its siblings.
#include <gtest/gtest.h>

#include <memory>

#include "platform/gui/TApplication.h"
#include "platform/gui/TCustomForm.h"
#include "platform/gui/TCustomPanel.h"
#include "platform/gui/TScreen.h"
#include "platform/gui/UserCalls.h"

namespace gui {
namespace {

TEST(GuiZOrder, BringToFrontAndSendToBackRestackSiblings) {
  win::setMessageBoxEcho(false);
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(0, 0, 200, 100);
  auto* lower = new TPanel(form.get());
  lower->SetBounds(0, 0, 100, 100);
  lower->SetParent(form.get());
  auto* upper = new TPanel(form.get());
  upper->SetBounds(50, 0, 100, 100);
  upper->SetParent(form.get());
  form->Show();
  Application->ProcessMessages();
  const win::POINT overlap = form->ClientToScreen({75, 50});
  lower->BringToFront();
  EXPECT_EQ(win::WindowFromPoint(overlap), lower->Handle());
  EXPECT_EQ(form->Controls(form->ControlCount() - 1), lower);
  lower->SendToBack();
  EXPECT_EQ(win::WindowFromPoint(overlap), upper->Handle());
  EXPECT_EQ(form->Controls(0), lower);
  form.reset();
  Application->Reset();
  Screen->Reset();
}

}  // namespace
}  // namespace gui
