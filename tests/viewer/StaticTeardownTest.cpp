// A host, test or benchmark may hold a document root or a viewer in a static
// object made before the window system's own state: tearing it down at exit,
// after that state, must not crash. Each case runs in a fresh child process,
// so that nothing else was made first.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "engine/css/TProperties.h"
#include "engine/document/TSectionList.h"
#include "platform/gui/TApplication.h"
#include "platform/gui/TCustomForm.h"
#include "viewer/THTMLViewer.h"

namespace {

// Lays out a root held in a static: the layout makes its animation timer.
void LayOutAStaticRoot() {
  static engine::TSectionList root{nullptr, nullptr};
  int maxWidth = 0, curs = 0;
  root.LayoutContent(nullptr, 0, 800, 600, 0, maxWidth, curs);
  std::exit(0);
}

// Shows a page in a viewer that a static holder owns.
void ShowAPageInAStaticViewer() {
  static std::unique_ptr<gui::TForm> form;
  form = std::make_unique<gui::TForm>(nullptr);
  form->SetBounds(0, 0, 300, 200);
  auto* view = new viewer::THTMLViewer(form.get());
  view->SetParent(form.get());
  view->SetBounds(0, 0, 300, 200);
  form->Show();
  view->LoadSourceString("<body><p>Held until exit</p></body>", "");
  gui::Application->ProcessMessages();
  std::exit(0);
}

TEST(StaticTeardown, ARootOrViewerHeldInAStaticEndsCleanlyAtExit) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(LayOutAStaticRoot(), testing::ExitedWithCode(0), "");
  EXPECT_EXIT(ShowAPageInAStaticViewer(), testing::ExitedWithCode(0), "");
}

}  // namespace
