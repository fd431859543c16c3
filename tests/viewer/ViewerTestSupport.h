#pragma once
// A viewer on a shown form at the screen's origin, on a virtual clock, with
// helpers to load markup, post mouse input and read the form's pixels.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/document/TSectionList.h"
#include "platform/gui/TApplication.h"
#include "platform/gui/TCustomForm.h"
#include "platform/gui/TScreen.h"
#include "platform/gui/UserCalls.h"
#include "platform/win/kernel/Clock.h"
#include "platform/win/user/Painting.h"
#include "viewer/THTMLViewer.h"

namespace viewertest {

class ViewerTest : public testing::Test {
 protected:
  void SetUp() override {
    win::setMessageBoxEcho(false);
    win::useVirtualClock();
    form_ = std::make_unique<gui::TForm>(nullptr);
    form_->SetBounds(0, 0, 400, 300);
    view_ = new viewer::THTMLViewer(form_.get());
    view_->SetParent(form_.get());
    view_->SetBounds(0, 0, 400, 300);
    form_->Show();
    pump();
  }
  void TearDown() override {
    form_.reset();
    gui::Application->Reset();
    gui::Screen->Reset();
    win::resetInput();
    win::resetSystemParameters();
    win::setClock(nullptr);
  }

  viewer::THTMLViewer& view() { return *view_; }
  gui::TForm& form() { return *form_; }
  static void pump() { gui::Application->ProcessMessages(); }
  void load(const std::string& html, const std::string& reference = "") {
    view_->LoadSourceString(html, reference);
    pump();
  }
  // Mouse input at a point of the paint panel.
  void mouse(win::UINT message, int x, int y) {
    win::postMouseInput(message, view_->PaintPanel().ClientToScreen({x, y}));
    pump();
  }
  // The form's pixel (0x00RRGGBB) at a client point.
  std::uint32_t pixel(int x, int y) { return win::windowSurface(form_->Handle())->rowPtr(y)[x]; }
  // Paragraphs enough to make the document taller than the window.
  static std::string tallDocument(int paragraphs) {
    std::string html = "<body>";
    for (int i = 0; i < paragraphs; ++i) html += "<p>Paragraph " + std::to_string(i) + "</p>";
    return html + "</body>";
  }

 private:
  std::unique_ptr<gui::TForm> form_;
  viewer::THTMLViewer* view_ = nullptr;
};

}  // namespace viewertest
