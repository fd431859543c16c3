// TGIFImage on the virtual clock: delays, passes, stopping, frame selection,
// copies, first-frame bitmaps and drawing through the mask.
#include <gtest/gtest.h>

#include "GifTestSupport.h"
#include "images/TGIFImage.h"
#include "platform/gui/GdiCalls.h"
#include "platform/win/kernel/Clock.h"
#include "platform/win/user/Painting.h"
#include "platform/win/user/WindowSystem.h"
#include "platform/win/user/Windows.h"

namespace images::testing {
namespace {

const std::vector<std::uint32_t> kColors = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};

// A 2x1 GIF with one frame per entry of `delays` (hundredths), frame k
// filled with colour 1 + k % 3; pixel 1 of every frame is transparent when
// `transparent`.
std::string AnimatedGif(const std::vector<int>& delays, int loops = -1, bool transparent = false) {
  std::string bytes = GifHeader(2, 1, kColors);
  if (loops >= 0) bytes += LoopExtension(loops);
  for (std::size_t k = 0; k < delays.size(); ++k) {
    const auto colour = static_cast<std::uint8_t>(1 + k % 3);
    GifImageSpec image = ImageSpec(0, 0, 2, 1, {colour, static_cast<std::uint8_t>(transparent ? 0 : colour)});
    bytes += GraphicControl(1, delays[k], transparent ? 0 : -1) + GifImageBlock(image);
  }
  return bytes + ";";
}

std::unique_ptr<TGIFImage> Load(const std::string& bytes, bool& nonAnimated) {
  gui::TMemoryStream stream;
  Fill(stream, bytes);
  return GifImageFromStream(nonAnimated, stream);
}

std::unique_ptr<TGIFImage> Load(const std::string& bytes) {
  bool nonAnimated = false;
  return Load(bytes, nonAnimated);
}

class TGIFImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win::resetWindowSystem();
    clock = &win::useVirtualClock();
  }
  void TearDown() override {
    win::resetWindowSystem();
    win::setClock(nullptr);
  }
  // Ticks every 10 ms for `ms` milliseconds.
  void Run(TGIFImage& image, int ms, win::HWND panel = 0) {
    for (int t = 0; t < ms; t += 10) {
      clock->advance(10);
      image.AdvanceAnimation(panel);
    }
  }
  win::VirtualClock* clock = nullptr;
};

TEST_F(TGIFImageTest, LoadsFramesDelaysAndPasses) {
  bool nonAnimated = true;
  auto image = Load(AnimatedGif({0, 5, 10}), nonAnimated);
  ASSERT_TRUE(image);
  EXPECT_FALSE(nonAnimated);
  EXPECT_TRUE(image->Animated());
  EXPECT_EQ(image->NumFrames(), 3);
  EXPECT_EQ(image->Width(), 2);
  EXPECT_EQ(image->Height(), 1);
  EXPECT_EQ(image->Strip()->Width(), 6);
  EXPECT_EQ(image->NumIterations(), 1);  // no looping extension: one pass
  EXPECT_EQ(image->Frames()[0].Delay, 30);
  EXPECT_EQ(image->Frames()[1].Delay, 50);
  EXPECT_EQ(image->Frames()[2].Delay, 100);
  EXPECT_EQ(Load(AnimatedGif({1, 1}, 0))->NumIterations(), 0);
  EXPECT_EQ(Load(AnimatedGif({1, 1}, 4))->NumIterations(), 5);
  EXPECT_EQ(Load("GIF89a junk", nonAnimated), nullptr);
  EXPECT_TRUE(nonAnimated);
  EXPECT_EQ(GifImageFromFile("/nonexistent/a.gif", nonAnimated), nullptr);
  EXPECT_EQ(GifImageFromFile(PAGEWELL_TEST_DATA_DIR, nonAnimated), nullptr);
  auto fromFile = GifImageFromFile(GifDataDir() + "gifs/animated_loop.gif", nonAnimated);
  ASSERT_TRUE(fromFile);
  EXPECT_EQ(fromFile->NumFrames(), 4);
  EXPECT_EQ(fromFile->NumIterations(), 0);
}

TEST_F(TGIFImageTest, OneFrameNeverAdvances) {
  bool nonAnimated = false;
  auto image = Load(AnimatedGif({10}, 0), nonAnimated);
  ASSERT_TRUE(image);
  EXPECT_TRUE(nonAnimated);
  EXPECT_FALSE(image->Animated());
  Run(*image, 500);
  EXPECT_EQ(image->CurrentFrame(), 1);
  image->SetAnimating(true);
  Run(*image, 500);
  EXPECT_EQ(image->CurrentFrame(), 1);
}

TEST_F(TGIFImageTest, FramesChangeAtTheirExactDelays) {
  const win::HWND panel = win::createWindowWithProcedure(win::DefWindowProcW, 0, win::WS_VISIBLE,
                                                         win::RECT{0, 0, 100, 100}, 0);
  auto image = Load(AnimatedGif({10, 20}, 0));
  gui::TBitmap target;
  target.SetPixelFormat(gui::pf32bit);
  target.SetSize(100, 100);
  image->DrawCurrentFrame(target.Canvas(), 10, 20, 30, 40);
  win::ValidateRect(panel, nullptr);
  image->SetAnimating(true);
  clock->advance(99);
  image->AdvanceAnimation(panel);
  EXPECT_EQ(image->CurrentFrame(), 1);
  clock->advance(1);
  image->AdvanceAnimation(panel);
  EXPECT_EQ(image->CurrentFrame(), 2);
  win::RECT update{};
  ASSERT_TRUE(win::GetUpdateRect(panel, &update, win::FALSE));
  EXPECT_EQ(update.left, 10);
  EXPECT_EQ(update.top, 20);
  EXPECT_EQ(update.right, 40);
  EXPECT_EQ(update.bottom, 60);
  clock->advance(199);
  image->AdvanceAnimation(panel);
  EXPECT_EQ(image->CurrentFrame(), 2);
  clock->advance(1);
  image->AdvanceAnimation(panel);
  EXPECT_EQ(image->CurrentFrame(), 1);
}

TEST_F(TGIFImageTest, PassesAndStopping) {
  // No looping extension: one pass, stopping on the last frame.
  auto once = Load(AnimatedGif({10, 10, 10}));
  once->SetAnimating(true);
  Run(*once, 1000);
  EXPECT_FALSE(once->Animating());
  EXPECT_EQ(once->CurrentFrame(), 3);
  // Loop count 1: two passes, 6 frame changes, then it stops.
  auto twice = Load(AnimatedGif({10, 10, 10}, 1));
  twice->SetAnimating(true);
  Run(*twice, 500);
  EXPECT_TRUE(twice->Animating());
  EXPECT_EQ(twice->CurrentIteration(), 2);
  Run(*twice, 100);
  EXPECT_FALSE(twice->Animating());
  EXPECT_EQ(twice->CurrentFrame(), 3);
  // Loop count 0: for ever.
  auto forever = Load(AnimatedGif({3, 3}, 0));
  forever->SetAnimating(true);
  Run(*forever, 10000);
  EXPECT_TRUE(forever->Animating());
}

TEST_F(TGIFImageTest, TheClockMayWrap) {
  win::useVirtualClock(0xFFFFFFFFull - 50);
  clock = static_cast<win::VirtualClock*>(&win::currentClock());
  auto image = Load(AnimatedGif({10, 10}, 0));
  image->SetAnimating(true);
  clock->advance(99);
  image->AdvanceAnimation(0);
  EXPECT_EQ(image->CurrentFrame(), 1);
  clock->advance(1);
  image->AdvanceAnimation(0);
  EXPECT_EQ(image->CurrentFrame(), 2);
}

TEST_F(TGIFImageTest, SelectFrameWraps) {
  auto image = Load(AnimatedGif({10, 10, 10}));
  image->SelectFrame(0);
  EXPECT_EQ(image->CurrentFrame(), 3);
  image->SelectFrame(4);
  EXPECT_EQ(image->CurrentFrame(), 1);
  image->SelectFrame(2);
  EXPECT_EQ(image->CurrentFrame(), 2);
}

TEST_F(TGIFImageTest, CopiesShareTheStripAndAnimateAlone) {
  auto source = Load(AnimatedGif({10, 10, 10}, 0));
  source->SelectFrame(2);
  auto copy = TGIFImage::CreateCopy(*source);
  auto other = TGIFImage::CreateCopy(*source);
  EXPECT_EQ(copy->Strip(), source->Strip());
  EXPECT_TRUE(copy->IsCopy());
  EXPECT_EQ(copy->CurrentFrame(), 1);
  copy->SetAnimating(true);
  Run(*copy, 100);
  EXPECT_EQ(copy->CurrentFrame(), 2);
  EXPECT_EQ(other->CurrentFrame(), 1);
  copy.reset();
  EXPECT_EQ(other->Strip()->Width(), 6);
}

TEST_F(TGIFImageTest, FirstFrameBitmapAndMask) {
  auto opaque = Load(AnimatedGif({10, 10}));
  gui::TBitmap* first = opaque->GetFirstFrameBitmap();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->Width(), 2);
  EXPECT_EQ(opaque->GetStillImage(), first);
  EXPECT_EQ(opaque->GetFirstFrameMask(), nullptr);
  auto transparent = Load(AnimatedGif({10, 10}, -1, true));
  gui::TBitmap* mask = transparent->GetFirstFrameMask();
  ASSERT_TRUE(mask);
  EXPECT_TRUE(mask->Monochrome());
  EXPECT_EQ(mask->Width(), 2);
  EXPECT_EQ(MaskPixel(*mask, 0, 0), 0);
  EXPECT_EQ(MaskPixel(*mask, 1, 0), 1);
  EXPECT_EQ(StripPixel(*transparent->GetFirstFrameBitmap(), 0, 0), 0xFF0000u);
}

// Frame k draws strip columns (k-1)*W .. k*W-1; transparent pixels leave the target as it was.
TEST_F(TGIFImageTest, DrawsTheCurrentFrameThroughTheMask) {
  auto image = Load(AnimatedGif({10, 10}, 0, true));
  gui::TBitmap target;
  target.SetPixelFormat(gui::pf32bit);
  target.SetSize(4, 2);
  win::PatBlt(target.Canvas().Handle(), 0, 0, 4, 2, win::WHITENESS);
  image->SelectFrame(2);
  image->DrawCurrentFrame(target.Canvas(), 0, 0, 4, 2);
  EXPECT_EQ(win::GetPixel(target.Canvas().Handle(), 0, 0), 0x00FF00u);  // green, as COLORREF
  EXPECT_EQ(win::GetPixel(target.Canvas().Handle(), 1, 1), 0x00FF00u);
  EXPECT_EQ(win::GetPixel(target.Canvas().Handle(), 2, 0), 0xFFFFFFu);
  EXPECT_EQ(win::GetPixel(target.Canvas().Handle(), 3, 1), 0xFFFFFFu);
  // Not visible: nothing drawn, the rectangle still remembered.
  image->SetVisible(false);
  win::PatBlt(target.Canvas().Handle(), 0, 0, 4, 2, win::WHITENESS);
  image->DrawCurrentFrame(target.Canvas(), 1, 1, 2, 1);
  EXPECT_EQ(win::GetPixel(target.Canvas().Handle(), 0, 0), 0xFFFFFFu);
  EXPECT_EQ(image->ScreenRect().right, 3);
}

}  // namespace
}  // namespace images::testing
