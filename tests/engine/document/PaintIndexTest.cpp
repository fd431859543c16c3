// Painting through the cells' row index gives the pixels of painting every
// section, with positioned, overlapping and negative-margin content.
#include <gtest/gtest.h>

#include <random>

#include "engine/paint/TextDrawing.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"
#include "tests/engine/document/DocumentFixtures.h"

namespace engine {
namespace {

using namespace engine::testing;

// Fills its rows in its own colour; one that draws anywhere fills a band far from its place.
class FillingSection : public FakeSection {
 public:
  FillingSection(TSectionList* document, int height, gui::TColor colour, int overlap, int farBand)
      : FakeSection(document, height, 1), colour_(colour), overlap_(overlap), farBand_(farBand) {
    PaintsOutsideRange = farBand >= 0;
  }
  int LayoutSection(gui::TCanvas* canvas, int X, int Y, int XRef, int YRef, int Width, int AHeight, int BlockHeight,
                    IndentManager& IMgr, int& MaxWidth, int& Curs) override {
    int height = FakeSection::LayoutSection(canvas, X, Y, XRef, YRef, Width, AHeight, BlockHeight, IMgr, MaxWidth,
                                            Curs);
    PaintTop = Y - overlap_;  // reaches up over earlier sections, as a negative margin does
    return height;
  }
  int PaintSection(gui::TCanvas* canvas, const win::RECT& clipRect, IndentManager& IMgr, int X, int XRef,
                   int YRef) override {
    FakeSection::PaintSection(canvas, clipRect, IMgr, X, XRef, YRef);
    int offset = Document->YOffset;
    FillRectWithColor(*canvas, 0, PaintTop - offset, 50, PaintBottom - offset, colour_);
    if (farBand_ >= 0) FillRectWithColor(*canvas, 50, farBand_ - offset, 100, farBand_ + 30 - offset, colour_);
    return ContentTop + SectionHeight;
  }

 private:
  gui::TColor colour_;
  int overlap_;
  int farBand_;
};

TEST(PaintIndex, SkippingGivesThePixelsOfTheFullWalk) {
  std::mt19937 random(20261209);
  for (int round = 0; round < 20; ++round) {
    TSectionList root(nullptr, nullptr);
    std::vector<FillingSection*> sections;
    for (int i = 0; i < 300; ++i) {
      int height = static_cast<int>(random() % 40);
      int overlap = random() % 10 == 0 ? static_cast<int>(random() % 200) : 0;
      int farBand = random() % 50 == 0 ? static_cast<int>(random() % 5000) : -1;
      auto section = std::make_unique<FillingSection>(&root, height, static_cast<gui::TColor>(random() & 0xFFFFFF),
                                                      overlap, farBand);
      sections.push_back(section.get());
      root.AddSection(std::move(section), 0);
    }
    LayOut(root, 100);
    int offset = static_cast<int>(random() % 5000);
    root.SetYOffset(offset);
    gui::TBitmap indexed;
    gui::TBitmap full;
    for (gui::TBitmap* bitmap : {&indexed, &full}) {
      bitmap->SetPixelFormat(gui::pf24bit);
      bitmap->SetSize(100, 120);
    }
    win::RECT clip{0, 0, 100, 120};
    root.PaintContent(&indexed.Canvas(), clip, 6000, 0, 0, 0, 0);
    int painted = 0;
    for (FillingSection* section : sections) painted += section->paints;
    for (FillingSection* section : sections) section->PaintSection(&full.Canvas(), clip, *root.IMgr, 0, 0, 0);
    for (int y = 0; y < 120; ++y)
      for (int x = 0; x < 100; ++x)
        ASSERT_EQ(indexed.Canvas().Pixels(x, y), full.Canvas().Pixels(x, y))
            << "round " << round << " at " << x << "," << y;
    EXPECT_LT(painted, 300) << "round " << round;
  }
}

}  // namespace
}  // namespace engine
