// Panels and delayed images through the viewer: OBJECT offered to the host
// and placed by a paint, and an image the host delivers after the load.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ViewerTestSupport.h"
#include "engine/common/EngineStartup.h"
#include "engine/objects/TImageObj.h"
#include "engine/objects/TPanelObj.h"
#include "engine/objects/ThvPanel.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TStream.h"

namespace viewer {
namespace {

// The library's start-up: the panel hooks and the pending-image stream.
class HTMLViewerPanels : public viewertest::ViewerTest {
 protected:
  void SetUp() override {
    engine::InitializeEngineUnit();
    ViewerTest::SetUp();
  }
  void TearDown() override {
    ViewerTest::TearDown();
    engine::FinalizeEngineUnit();
  }
};

TEST_F(HTMLViewerPanels, AnObjectTheHostKeepsIsPlacedInTheTextOnScreen) {
  engine::TPanelObj* offered = nullptr;
  view().OnObjectTag = [&](gui::TObject* sender, engine::TPanelObj* panel, const gui::TStringList&,
                           const gui::TStringList&, bool& want) {
    EXPECT_EQ(sender, &view());
    offered = panel;
    want = true;
  };
  load("<p>before <object width=60 height=40 alt=clip></object> after</p>");
  ASSERT_NE(offered, nullptr);
  view().Invalidate();
  pump();
  engine::ThvPanel* window = offered->Window();
  EXPECT_TRUE(window->Visible());
  EXPECT_GT(window->Left(), 0);
  EXPECT_EQ(window->Width(), 60);
  EXPECT_EQ(window->Height(), 40);
  EXPECT_EQ(window->Parent(), &view().PaintPanel());
}

TEST_F(HTMLViewerPanels, ADelayedImageArrivesAndTheDocumentIsLaidOutAgain) {
  view().OnImageRequest = [](gui::TObject*, const std::string&, gui::TMemoryStream*& stream) {
    stream = engine::PendingImageStream;
  };
  load("<p><img src=\"late.bmp\"> text</p>");
  gui::TBitmap picture;
  picture.SetSize(70, 50);
  gui::TMemoryStream data;
  picture.SaveToStream(data);
  EXPECT_FALSE(view().InsertImage("other.bmp", data));
  EXPECT_TRUE(view().InsertImage("late.bmp", data));
  EXPECT_TRUE(view().Document().MissingImages.empty());
  // The image now has its own size in the laid-out document.
  engine::TIDObject* object = nullptr;
  int x = 0, y = 0;
  bool found = false;
  for (int py = 0; py < 120 && !found; ++py)
    for (int px = 0; px < 120 && !found; ++px)
      if (view().Document().ObjectAtPoint(px, py, object, x, y)) found = true;
  ASSERT_TRUE(found);
  auto* shown = static_cast<engine::TImageObj*>(object);
  EXPECT_EQ(shown->Place.ImageWidth, 70);
  EXPECT_EQ(shown->Place.ImageHeight, 50);
}

}  // namespace
}  // namespace viewer
