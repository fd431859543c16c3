// Images and floats standing in lines, from markup, compared as layout dumps
// with the files beside their HTML under tests/data/text.
#include <gtest/gtest.h>

#include <fstream>

#include "engine/text/SectionDump.h"
#include "engine/text/TSection.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"
#include "tests/engine/html/ParseTestSupport.h"
#include "tests/engine/support/LayoutDump.h"

namespace engine {
namespace {

struct LaidOut {
  testing::ParsedDocument document;
  gui::TBitmap bitmap;
  std::string dump;
};

std::unique_ptr<LaidOut> LayOut(const std::string& name, int width) {
  auto result = std::make_unique<LaidOut>();
  result->document = testing::Parse(testing::ReadTestDataFile("text/" + name + ".html"));
  result->bitmap.SetSize(width + 40, 400);
  int maxWidth = 0;
  int curs = 0;
  result->document.root->LayoutContent(&result->bitmap.Canvas(), 0, width, 400, 0, maxWidth, curs);
  // The text sections' lines only: other tests register section describers
  // that leave lines out.
  for (const TSection* section : testing::TextSections(*result->document.root))
    result->dump += "Text y=" + std::to_string(section->TopY) + "\n" + DumpTextLines(*section);
  return result;
}

void ExpectDump(const std::string& name, const std::string& actual) {
  const std::string expected = testing::ReadTestDataFile("text/" + name + ".txt");
  if (expected != actual) std::ofstream(std::string(PAGEWELL_TEST_DATA_DIR) + "/text/" + name + ".actual") << actual;
  EXPECT_EQ(expected, actual) << name << ": the actual dump is written beside the expected one as .actual";
}

TInlineObject* FirstObject(const TCellBasic& cell) {
  for (const TSection* section : testing::TextSections(cell))
    if (!section->ImageObjs().empty()) return section->ImageObjs().front().get();
  return nullptr;
}

// A right float met after text on a line goes on that line when there is room
// beside the text: the line wraps at the float's edge like the lines below it.
TEST(ObjectsInLines, AFloatMetInMidLineNarrowsItsOwnLine) {
  auto laidOut = LayOut("float_in_mid_line", 420);
  ExpectDump("float_in_mid_line", laidOut->dump);
  const TInlineObject* image = FirstObject(*laidOut->document.root);
  ASSERT_NE(image, nullptr);
  const TSection* text = testing::TextSections(*laidOut->document.root).front();
  EXPECT_EQ(image->TopY, text->Lines[1].Y);  // the float starts with the line that holds it
}

// Lines of images only: the line is as tall as the image box, so the box
// drawn against the baseline starts at the line top, not above it.
TEST(ObjectsInLines, ImagesOnLinesWithoutTextSitInsideTheirLine) {
  auto laidOut = LayOut("image_line_without_text", 400);
  ExpectDump("image_line_without_text", laidOut->dump);
  const TSection* text = testing::TextSections(*laidOut->document.root).front();
  ASSERT_FALSE(text->Lines.empty());
  const LineRec& line = text->Lines.front();
  TInlineObject* image = text->ImageObjs().front().get();
  win::RECT clip{0, 0, 440, 400};
  laidOut->document.root->PaintContent(&laidOut->bitmap.Canvas(), clip, 6000, 0, 0, 0, 0);
  EXPECT_EQ(image->TopY, line.Y);
  EXPECT_EQ(line.Height(), image->Place.ImageHeight);
}

}  // namespace
}  // namespace engine
