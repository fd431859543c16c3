#pragma once
// A frame viewer of 404 x 304 (400 x 300 inside its top set's bevel) on a
// shown form, on a virtual clock, with a temporary folder for its documents.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/gui/TApplication.h"
#include "platform/gui/TCustomForm.h"
#include "platform/gui/TScreen.h"
#include "platform/gui/UserCalls.h"
#include "platform/win/kernel/Clock.h"
#include "platform/win/user/Painting.h"
#include "viewer/TFrameSet.h"
#include "viewer/TFrameViewer.h"

namespace viewer {

class FrameViewerTest : public testing::Test {
 protected:
  void SetUp() override {
    win::setMessageBoxEcho(false);
    clock_ = &win::useVirtualClock();
    // Worktrees share the temporary folder: the process id keeps runs apart.
    folder_ = std::filesystem::path(testing::TempDir()) /
              ("frames_" + std::to_string(::getpid()) + "_" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    form_ = std::make_unique<gui::TForm>(nullptr);
    form_->SetBounds(0, 0, 404, 304);
    fv_ = new TFrameViewer(form_.get());
    fv_->SetParent(form_.get());
    fv_->SetBounds(0, 0, 404, 304);  // 400 x 300 inside the top set's bevel
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
  TFrameViewer& fv() { return *fv_; }
  TFrameSet& top() { return *fv_->CurrentFrameSet(); }
  // Child bounds of a set as "x,y wxh" joined by blanks.
  static std::string Bounds(const TSubFrameSet& set) {
    std::string text;
    for (int index = 0; index < set.ChildCount(); ++index) {
      const TFrameBase* child = set.Child(index);
      text += (index ? " " : "") + std::to_string(child->Left()) + "," + std::to_string(child->Top()) + " " +
              std::to_string(child->Width()) + "x" + std::to_string(child->Height());
    }
    return text;
  }
  // Whether any pixel of the viewer's area on the form is far from the background (drawn text).
  bool HasInk(THTMLViewer& viewer) {
    const win::POINT origin = form_->ScreenToClient(viewer.ClientToScreen({0, 0}));
    auto* surface = win::windowSurface(form_->Handle());
    for (int y = origin.y; y < origin.y + viewer.Height(); ++y) {
      for (int x = origin.x; x < origin.x + viewer.Width(); ++x) {
        if ((surface->rowPtr(y)[x] & 0xFFFFFF) < 0x404040) return true;
      }
    }
    return false;
  }
  // Mouse input at a client point of a control.
  static void mouse(win::UINT message, gui::TControl& control, int x, int y) {
    win::postMouseInput(message, control.ClientToScreen({x, y}));
    pump();
  }
  gui::TForm& form() { return *form_; }
  std::filesystem::path folder_;
  win::VirtualClock* clock_ = nullptr;

 private:
  std::unique_ptr<gui::TForm> form_;
  TFrameViewer* fv_ = nullptr;
};

}  // namespace viewer
