// Pictures that blocks draw: a block's background picture tiled over its
// padding box, a list item's picture in place of its marker, and each
// picture asked of the host once however often the block is painted.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/common/EngineStartup.h"
#include "engine/document/TBlock.h"
#include "engine/document/TBlockLI.h"
#include "engine/document/TSectionList.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"
#include "platform/gui/TStream.h"
#include "tests/engine/html/ParseTestSupport.h"

namespace engine {
namespace {

// 8 x 8: the left four columns red, the right four blue.
const std::string kHalves = std::string(PAGEWELL_TEST_DATA_DIR) + "/objects/halves_8x8.png";
constexpr win::COLORREF kRed = 0x0000FF;
constexpr win::COLORREF kBlue = 0xFF0000;

template <typename Wanted>
Wanted* FindBlock(TCellBasic& cell) {
  for (auto& section : cell) {
    if (auto* wanted = dynamic_cast<Wanted*>(section.get())) return wanted;
    if (auto* block = dynamic_cast<TBlock*>(section.get()))
      if (Wanted* inner = FindBlock<Wanted>(*block->MyCell)) return inner;
  }
  return nullptr;
}

class BlockImagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitializeEngineUnit();
    surface.SetSize(300, 200);
    canvas = &surface.Canvas();
  }
  void TearDown() override {
    document.root.reset();
    FinalizeEngineUnit();
  }
  // Parses html with every image request counted; answer decides the host's reply.
  void Load(const std::string& html) {
    document = testing::Parse(html);
    document.root->OnImageRequest = [this](const std::string&, gui::TMemoryStream*& stream) {
      ++requests;
      stream = answer;
    };
    int maxWidth = 0;
    int curs = 0;
    document.root->LayoutContent(canvas, 0, 300, 600, 0, maxWidth, curs);
  }
  void Paint() {
    canvas->Brush().SetColor(0xFFFFFF);
    canvas->FillRect(win::RECT{0, 0, 300, 200});
    document.root->PaintContent(canvas, win::RECT{0, 0, 300, 200}, 300, 0, 0, 0, 0);
  }
  // The box holding every red or blue pixel in rows top..bottom (exclusive).
  win::RECT PictureBounds(int top, int bottom) {
    win::RECT box{300, 200, -1, -1};
    for (int y = top; y < bottom; ++y)
      for (int x = 0; x < 300; ++x) {
        const win::COLORREF pixel = canvas->Pixels(x, y);
        if (pixel != kRed && pixel != kBlue) continue;
        box = {std::min<int>(box.left, x), std::min<int>(box.top, y), std::max<int>(box.right, x + 1),
               std::max<int>(box.bottom, y + 1)};
      }
    return box;
  }

  testing::ParsedDocument document;
  gui::TMemoryStream* answer = nullptr;  // nullptr: the picture is read from its file
  int requests = 0;
  gui::TBitmap surface;
  gui::TCanvas* canvas = nullptr;
};

TEST_F(BlockImagesTest, BackgroundPictureTilesThePaddingBoxFromItsCorner) {
  Load("<div style=\"background-image: url(" + kHalves + "); width: 36px; height: 20px; padding: 2px\"></div>");
  Paint();
  TBlock* div = FindBlock<TBlock>(*document.root);
  while (div != nullptr && div->BackgroundImageUrl().empty()) div = FindBlock<TBlock>(*div->MyCell);
  ASSERT_NE(div, nullptr);
  const win::RECT box = div->BorderBox;  // no border: the padding box
  EXPECT_EQ(PictureBounds(0, 200), box);
  for (int y = box.top; y < box.bottom; y += 3)
    for (int x = box.left; x < box.right; ++x)
      EXPECT_EQ(canvas->Pixels(x, y), (x - box.left) % 8 < 4 ? kRed : kBlue) << x << "," << y;
  EXPECT_EQ(requests, 1);
  Paint();
  EXPECT_EQ(PictureBounds(0, 200), box);
  EXPECT_EQ(requests, 1);
}

TEST_F(BlockImagesTest, ListItemDrawsItsPictureOnTheBaselineInsteadOfTheMarker) {
  Load("<ul style=\"list-style-image: url(" + kHalves + ")\"><li>item</li></ul>");
  Paint();
  TBlockLI* item = FindBlock<TBlockLI>(*document.root);
  ASSERT_NE(item, nullptr);
  const win::RECT picture = PictureBounds(0, 200);
  EXPECT_EQ(picture.right - picture.left, 8);
  EXPECT_EQ(picture.bottom, item->LabelY);
  EXPECT_EQ(picture.top, item->LabelY - 8);
  for (int y = picture.top; y < picture.bottom; ++y)
    for (int x = 0; x < picture.left; ++x) EXPECT_EQ(canvas->Pixels(x, y), 0xFFFFFFu) << "marker at " << x;
  Paint();
  EXPECT_EQ(requests, 1);
}

TEST_F(BlockImagesTest, MissingOrDelayedPicturesAreAskedForOnceAndLeaveTheMarker) {
  gui::TMemoryStream* answers[] = {nullptr, PendingImageStream};
  for (gui::TMemoryStream* reply : answers) {
    answer = reply;
    requests = 0;
    Load("<ul style=\"list-style-image: url(missing.png)\"><li>item</li></ul>"
         "<div style=\"background-image: url(missing.png); height: 20px\"></div>");
    Paint();
    Paint();
    EXPECT_EQ(requests, 2);  // the list item's and the block's, each once
    TBlockLI* item = FindBlock<TBlockLI>(*document.root);
    ASSERT_NE(item, nullptr);
    bool marker = false;  // the disc, in the text colour left of the item's text
    for (int y = item->LabelY - 8; y < item->LabelY; ++y)
      for (int x = 0; x < 40; ++x) marker = marker || canvas->Pixels(x, y) == 0;
    EXPECT_TRUE(marker);
  }
}

}  // namespace
}  // namespace engine
