// Floating images painted on a real surface: a float is drawn where layout
// placed it, beside the text that wraps round it, never over that text.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "engine/document/TSectionList.h"
#include "engine/text/TSection.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"
#include "tests/engine/html/ParseTestSupport.h"

namespace engine {
namespace {

constexpr int kWidth = 400;
constexpr int kHeight = 200;
constexpr std::uint32_t kWhite = 0xFFFFFF;

class FloatPaint : public ::testing::Test {
 protected:
  void Load(const std::string& html) {
    document_ = testing::Parse("<body style=\"margin: 0\">" + html);
    bitmap_.SetSize(kWidth, kHeight);
    int maxWidth = 0;
    int curs = 0;
    document_.root->LayoutContent(&bitmap_.Canvas(), 0, kWidth, kHeight, 0, maxWidth, curs);
    bitmap_.Canvas().Brush().SetColor(gui::clWhite);
    bitmap_.Canvas().FillRect(win::RECT{0, 0, kWidth, kHeight});
    document_.root->PaintContent(&bitmap_.Canvas(), win::RECT{0, 0, kWidth, kHeight}, 6000, 0, 0, 0, 0);
  }
  std::uint32_t Pixel(int x, int y) { return bitmap_.Canvas().Pixels(x, y) & 0xFFFFFF; }
  // Whether any pixel of the column x between top and bottom is not white.
  bool InkInColumn(int x, int top, int bottom) {
    for (int y = top; y < bottom; ++y)
      if (Pixel(x, y) != kWhite) return true;
    return false;
  }
  const TSection& Text() { return *testing::TextSections(*document_.root).front(); }
  const TInlineObject& Image() { return *Text().ImageObjs().front(); }

  // The image's 2-pixel frame stands at the section's left edge (plus its
  // horizontal space), the text to its right: nothing is painted where the
  // picture would stand if shifted right by the room left for it.
  void ExpectLeftFloatAtTheEdge() {
    const TInlineObject& image = Image();
    const LineRec& line = Text().Lines.front();
    const int left = line.DrawX - line.LineIndent;  // the X the section was painted at
    EXPECT_EQ(image.LeftX, left + image.Place.HSpaceL);
    EXPECT_GE(line.LineIndent, image.OuterWidth());  // the text stands beside the float
    const int top = image.TopY;                      // the box as drawn
    const int bottom = top + image.Place.ImageHeight;
    EXPECT_TRUE(InkInColumn(left + image.Place.HSpaceL, top, bottom)) << "the float's frame is not at the edge";
    EXPECT_FALSE(InkInColumn(line.DrawX + image.Place.HSpaceL, line.DrawY + line.LineHt, bottom))
        << "something is painted where the float would stand shifted right by its room";
  }

  testing::ParsedDocument document_;
  gui::TBitmap bitmap_;
};

TEST_F(FloatPaint, ALeftFloatIsPaintedAtTheLeftEdgeBesideItsText) {
  for (const char* markup :
       {"<p><img src=\"missing.gif\" align=\"left\" width=\"100\" height=\"66\" border=\"2\">Text beside.</p>",
        "<p><img src=\"missing.gif\" align=\"left\" width=\"100\" height=\"66\" border=\"2\" hspace=\"8\">Text "
        "beside.</p>",
        "<p><img src=\"missing.gif\" style=\"float: left\" width=\"100\" height=\"66\" border=\"2\">Text beside.</p>",
        "<div style=\"margin-left: 30px\"><img src=\"missing.gif\" align=\"left\" width=\"100\" height=\"66\" "
        "border=\"2\">Text beside.</div>"}) {
    SCOPED_TRACE(markup);
    Load(markup);
    ExpectLeftFloatAtTheEdge();
  }
}

// A right float stands at the right edge whatever the line beside it starts
// at: a centred line, or one beside a left float.
TEST_F(FloatPaint, ARightFloatStaysAtTheRightEdgeWhateverTheLineStartsAt) {
  const std::string image = "<img src=\"b.gif\" align=\"right\" width=\"100\" height=\"66\" border=\"2\">";
  Load("<p>" + image + "Text.</p>");
  const int right = Image().LeftX;
  EXPECT_GT(right, kWidth / 2);
  EXPECT_TRUE(InkInColumn(right, Image().TopY, Image().TopY + 66));

  Load("<p align=\"center\">" + image + "Centred.</p>");
  EXPECT_EQ(Image().LeftX, right);

  Load("<p><img src=\"a.gif\" align=\"left\" width=\"50\" height=\"66\" border=\"2\">" + image +
       "Between two floats.</p>");
  ASSERT_EQ(Text().ImageObjs().size(), 2u);
  EXPECT_EQ(Text().ImageObjs()[1]->LeftX, right);
  EXPECT_TRUE(InkInColumn(right, Image().TopY, Image().TopY + 66));
}

}  // namespace
}  // namespace engine
