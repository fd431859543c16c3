// The budget of decoded image pixels of a viewer control: small files that
// declare large pictures decode only while they fit, the frames of a frame
// viewer share one budget, an image held once counts once, and an image past
// the budget shows as missing.
#include <gtest/gtest.h>

#include <string>

#include "FrameLayoutTestSupport.h"
#include "images/TStringBitmapList.h"
#include "tests/images/PngTestSupport.h"

namespace viewer {
namespace {

using namespace images::testing;

// A greyscale PNG of one bit per pixel: a few kilobytes that decode to
// width x height pixels.
std::string DeclaredPng(std::uint32_t width, std::uint32_t height) {
  const std::string row(1 + (width + 7) / 8, '\0');
  std::string rows;
  rows.reserve(row.size() * height);
  for (std::uint32_t y = 0; y < height; ++y) rows += row;
  return kSignature + Ihdr(width, height, 1, 0) + Idat(rows) + kIend;
}

class ImageBudget : public FrameViewerTest {
 protected:
  // Page name holding count images of side x side pixels, each its own file.
  std::string PageOfImages(const std::string& name, int count, std::uint32_t side) {
    std::string page = "<body>";
    for (int i = 0; i < count; ++i) {
      const std::string file = name + "_" + std::to_string(i) + ".png";
      write(file, DeclaredPng(side, side));
      page += "<img src=" + file + ">";
    }
    write(name + ".htm", page);
    return name + ".htm";
  }
  images::TStringBitmapList& cache() { return fv().ImageCache(); }
};

TEST_F(ImageBudget, ImagesPastTheBudgetShowAsMissing) {
  EXPECT_EQ(cache().PixelBudget(), std::int64_t{1} << 28);  // 256 M pixels by default
  cache().SetPixelBudget(3'500'000);
  load(PageOfImages("many", 8, 1000));  // 8 M pixels declared in files of a few KB
  EXPECT_EQ(cache().Count(), 3);
  EXPECT_EQ(cache().PixelsHeld(), 3'000'000);
  EXPECT_LE(cache().PixelsHeld(), cache().PixelBudget());
}

TEST_F(ImageBudget, AnImageLargerThanWhatIsLeftIsNotDecodedAtAll) {
  cache().SetPixelBudget(1'000'000);
  write("big.png", DeclaredPng(4000, 4000));
  write("big.htm", "<img src=big.png><img src=big.png>");
  load("big.htm");
  EXPECT_EQ(cache().Count(), 0);
  EXPECT_EQ(cache().PixelsHeld(), 0);
  cache().SetPixelBudget(images::TStringBitmapList::kPixelBudget);
  load("big.htm");  // within the budget it shows, held once for both uses
  EXPECT_EQ(cache().Count(), 1);
  EXPECT_EQ(cache().PixelsHeld(), 16'000'000);
}

TEST_F(ImageBudget, FramesShareOneBudgetAndUnusedImagesMakeRoom) {
  cache().SetPixelBudget(2'500'000);
  PageOfImages("left", 2, 1000);
  PageOfImages("right", 2, 1000);
  write("set.htm", "<frameset cols=*,*><frame src=left.htm><frame src=right.htm></frameset>");
  load("set.htm");
  ASSERT_EQ(fv().GetViewerCount(), 2);
  EXPECT_EQ(cache().Count(), 2);  // the first frame's two; the second frame's are missing
  EXPECT_EQ(cache().PixelsHeld(), 2'000'000);

  // Images no document uses any more make room for those of a later one.
  write("empty.htm", "<p>none");
  load("empty.htm");
  load("right.htm");
  EXPECT_EQ(cache().PixelsHeld(), 2'000'000);
  EXPECT_NE(cache().IndexOf(path("right_1.png")), -1);
}

}  // namespace
}  // namespace viewer
