#pragma once
// A frame viewer on a shown form, on a virtual clock, with documents written
// to a folder of the test's own and mouse input at text positions of a
// frame's viewer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "engine/document/TSectionList.h"
#include "platform/gui/TApplication.h"
#include "platform/gui/TCustomForm.h"
#include "platform/gui/TScreen.h"
#include "platform/gui/UserCalls.h"
#include "platform/win/kernel/Clock.h"
#include "platform/win/user/Input.h"
#include "platform/win/user/Painting.h"
#include "viewer/TFrameSet.h"
#include "viewer/TFrameViewer.h"
#include "viewer/THTMLViewer.h"

namespace viewertest {

class FrameViewerFixture : public testing::Test {
 protected:
  void SetUp() override {
    win::setMessageBoxEcho(false);
    clock_ = &win::useVirtualClock();
    // Worktrees share the temporary folder: the process id keeps runs apart.
    folder_ = std::filesystem::path(testing::TempDir()) /
              ("fvlinks_" + std::to_string(::getpid()) + "_" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    form_ = std::make_unique<gui::TForm>(nullptr);
    form_->SetBounds(0, 0, 404, 304);
    fv_ = new viewer::TFrameViewer(form_.get());
    fv_->SetParent(form_.get());
    fv_->SetBounds(0, 0, 404, 304);
    form_->Show();
    pump();
  }
  void TearDown() override {
    form_.reset();
    gui::Application->Reset();
    gui::Screen->Reset();
    win::resetInput();
    win::setClock(nullptr);
    std::filesystem::remove_all(folder_);
  }
  static void pump() { gui::Application->ProcessMessages(); }
  void advance(int ms) {
    clock_->advance(ms);
    pump();
  }
  std::string path(const std::string& name) const { return (folder_ / name).string(); }
  std::string write(const std::string& name, const std::string& text) {
    std::ofstream(path(name), std::ios::binary) << text;
    return path(name);
  }
  void load(const std::string& name) {
    ASSERT_TRUE(fv_->LoadFromFile(path(name)));
    pump();
  }
  viewer::TFrameViewer& fv() { return *fv_; }
  viewer::TFrameSet& top() { return *fv_->CurrentFrameSet(); }
  viewer::THTMLViewer& frame(const std::string& name) {
    viewer::THTMLViewer* viewer = fv_->FrameViewerByName(name);
    EXPECT_NE(viewer, nullptr) << name;
    return *viewer;
  }
  // A point on the text at a document position of a viewer, in screen terms.
  static win::POINT screenPointOf(viewer::THTMLViewer& viewer, int position) {
    int x = 0, y = 0;
    EXPECT_TRUE(viewer.Document().FindCaretXY(&viewer.PaintPanel().Canvas(), position, x, y));
    return viewer.PaintPanel().ClientToScreen({x + 2, y + 4 - viewer.VerticalPosition()});
  }
  // A second click at the same place comes too late to make a double click.
  void click(viewer::THTMLViewer& viewer, int position) {
    clock_->advance(1000);
    const win::POINT point = screenPointOf(viewer, position);
    win::postMouseInput(win::WM_LBUTTONDOWN, point);
    win::postMouseInput(win::WM_LBUTTONUP, point);
    pump();
  }
  static void hover(viewer::THTMLViewer& viewer, int position) {
    win::postMouseInput(win::WM_MOUSEMOVE, screenPointOf(viewer, position));
    pump();
  }

  std::filesystem::path folder_;

 private:
  win::VirtualClock* clock_ = nullptr;
  std::unique_ptr<gui::TForm> form_;
  viewer::TFrameViewer* fv_ = nullptr;
};

}  // namespace viewertest
