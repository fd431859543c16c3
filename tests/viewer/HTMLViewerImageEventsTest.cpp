// The viewer's image events: the mouse over and clicking an image, the host's
// image and bitmap requests written through into the document, and the
// stream request the parser asks for linked style sheets.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ViewerTestSupport.h"
#include "engine/common/Cursors.h"
#include "engine/document/TIDObject.h"
#include "engine/objects/TImageObj.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TStream.h"

namespace viewer {
namespace {

class HTMLViewerImageEvents : public viewertest::ViewerTest {
 protected:
  // The first panel point (scanning rows) over an image, with its place inside the image.
  win::POINT imagePoint(int& imageX, int& imageY) {
    for (int y = 0; y < 100; ++y) {
      for (int x = 0; x < 200; ++x) {
        engine::TIDObject* object = nullptr;
        if (view().Document().ObjectAtPoint(x, y + view().VerticalPosition(), object, imageX, imageY)) return {x, y};
      }
    }
    ADD_FAILURE() << "no image under any point";
    return {0, 0};
  }
};

struct ImageCall {
  engine::TIDObject* object;
  int button;
  int x;
  int y;
};

TEST_F(HTMLViewerImageEvents, MouseOverAndClicksOnImagesReachTheHost) {
  load("<p><img src=\"none.gif\" width=60 height=40> and some text after the picture</p>");
  int innerX = 0, innerY = 0;
  const win::POINT corner = imagePoint(innerX, innerY);
  std::vector<ImageCall> over, clicks;
  view().OnImageOver = [&](gui::TObject* sender, engine::TIDObject* object, gui::TShiftState, int x, int y) {
    EXPECT_EQ(sender, &view());
    over.push_back({object, -1, x, y});
  };
  view().OnImageClick = [&](gui::TObject*, engine::TIDObject* object, gui::TMouseButton button, gui::TShiftState,
                            int x, int y) { clicks.push_back({object, button, x, y}); };
  mouse(win::WM_MOUSEMOVE, corner.x + 7, corner.y + 5);
  ASSERT_EQ(over.size(), 1u);
  ASSERT_NE(over[0].object, nullptr);
  EXPECT_EQ(over[0].x, innerX + 7);
  EXPECT_EQ(over[0].y, innerY + 5);
  EXPECT_EQ(view().PaintPanel().Cursor(), gui::crArrow);  // not the text cursor over a watched image

  mouse(win::WM_RBUTTONDOWN, corner.x + 3, corner.y + 2);
  mouse(win::WM_RBUTTONUP, corner.x + 3, corner.y + 2);
  mouse(win::WM_LBUTTONDOWN, corner.x + 4, corner.y + 2);
  mouse(win::WM_LBUTTONUP, corner.x + 4, corner.y + 2);
  ASSERT_EQ(clicks.size(), 2u);
  EXPECT_EQ(clicks[0].button, gui::mbRight);
  EXPECT_EQ(clicks[1].button, gui::mbLeft);
  EXPECT_EQ(clicks[1].object, over[0].object);
  EXPECT_EQ(clicks[1].x, innerX + 4);

  // Without image handlers the image is not looked for: text rules the cursor.
  view().OnImageOver = nullptr;
  view().OnImageClick = nullptr;
  const std::size_t seen = over.size();
  mouse(win::WM_MOUSEMOVE, corner.x + 8, corner.y + 5);
  EXPECT_EQ(over.size(), seen);
  // Away from the image, on text, the handlers are not called.
  view().OnImageOver = [&](gui::TObject*, engine::TIDObject* object, gui::TShiftState, int, int) {
    over.push_back({object, -1, 0, 0});
  };
  mouse(win::WM_MOUSEMOVE, corner.x + 150, corner.y + 30);
  EXPECT_EQ(over.size(), seen);
}

TEST_F(HTMLViewerImageEvents, TheImageUnderTheMouseShowsPressedWhileTheButtonIsDown) {
  load(std::string("<p><img src=\"") + PAGEWELL_TEST_DATA_DIR + "/objects/animated_loop.gif\" active> text");
  int innerX = 0, innerY = 0;
  const win::POINT corner = imagePoint(innerX, innerY);
  engine::TIDObject* object = nullptr;
  ASSERT_TRUE(view().Document().ObjectAtPoint(corner.x, corner.y, object, innerX, innerY));
  auto* image = dynamic_cast<engine::TImageObj*>(object);
  ASSERT_NE(image, nullptr);
  mouse(win::WM_MOUSEMOVE, corner.x + 5, corner.y + 5);
  EXPECT_EQ(image->HoverState, 1);
  mouse(win::WM_LBUTTONDOWN, corner.x + 5, corner.y + 5);
  EXPECT_EQ(image->HoverState, 2);
  mouse(win::WM_LBUTTONUP, corner.x + 5, corner.y + 5);
  EXPECT_EQ(image->HoverState, 1);
  win::SendMessageW(view().PaintPanel().Handle(), win::WM_LBUTTONDBLCLK, win::MK_LBUTTON,
                    win::MAKELPARAM(static_cast<win::WORD>(corner.x + 5), static_cast<win::WORD>(corner.y + 5)));
  EXPECT_EQ(image->HoverState, 2);
}

TEST_F(HTMLViewerImageEvents, ImageRequestsAreWrittenThroughToTheDocument) {
  std::vector<std::string> asked;
  view().OnImageRequest = [&](gui::TObject* sender, const std::string& src, gui::TMemoryStream*& stream) {
    EXPECT_EQ(sender, &view());
    asked.push_back(src);
    stream = nullptr;
  };
  load("<p><img src=\"first.gif\" width=10 height=10><img src=\"second.png\">");
  ASSERT_GE(asked.size(), 2u);
  EXPECT_EQ(asked[0], "first.gif");
  EXPECT_EQ(asked[1], "second.png");

  // The bitmap request alone.
  view().OnImageRequest = nullptr;
  asked.clear();
  view().OnBitmapRequest = [&](gui::TObject*, const std::string& src, std::unique_ptr<gui::TBitmap>& bitmap,
                               gui::TColor&) {
    asked.push_back("bitmap " + src);
    bitmap = std::make_unique<gui::TBitmap>();
    bitmap->SetWidth(12);
    bitmap->SetHeight(9);
  };
  load("<p><img src=\"third.bmp\">");
  ASSERT_FALSE(asked.empty());
  EXPECT_EQ(asked[0], "bitmap third.bmp");

  // Cleared handlers are cleared in the document too: it reads files again.
  view().OnBitmapRequest = nullptr;
  asked.clear();
  load("<p><img src=\"fourth.gif\">");
  EXPECT_TRUE(asked.empty());
  EXPECT_FALSE(view().Document().OnBitmapRequest);
}

TEST_F(HTMLViewerImageEvents, LinkedStyleSheetsComeFromTheStreamRequest) {
  gui::TMemoryStream sheet;
  const std::string css = "p { color: red }";
  sheet.Write(css.data(), static_cast<std::int64_t>(css.size()));
  std::vector<std::string> asked;
  view().OnhtStreamRequest = [&](gui::TObject*, const std::string& src, gui::TStream*& stream) {
    asked.push_back(src);
    sheet.Seek(0, gui::soFromBeginning);
    stream = &sheet;
  };
  load("<link rel=stylesheet href=\"look.css\"><p>Red text here");
  EXPECT_EQ(asked, (std::vector<std::string>{"look.css"}));
  view().Repaint();
  pump();
  bool red = false;
  for (int y = 0; y < 40 && !red; ++y) {
    for (int x = 0; x < 120 && !red; ++x) red = (pixel(x, y) & 0xFFFFFF) == 0xFF0000;
  }
  EXPECT_TRUE(red);
}

}  // namespace
}  // namespace viewer
