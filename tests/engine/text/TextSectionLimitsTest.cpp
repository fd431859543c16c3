// Text sections where the obvious arithmetic goes wrong: later larger fonts,
// squeezed justified lines, hostile heights, printing colours, shared controls.
#include <gtest/gtest.h>

#include <climits>

#include "platform/win/kernel/PlatformFlags.h"

#include "TextSectionTestSupport.h"

namespace engine {
namespace {

class TextSectionLimits : public testing::Test, public TextSectionFixture {};

// A control whose width is a share of the line.
class HalfWidthControl : public TInlineObject {
 public:
  HalfWidthControl() : TInlineObject(Kind::Control) {
    Place.ImageWidth = 30;
    Place.ImageHeight = 20;
  }
  int PercentWidth() const override { return 50; }
};

TEST_F(TextSectionLimits, ALaterLargerFontStillWraps) {
  auto section = Make();
  SetArial(props, 6);
  section->ChangeFont(props);
  Append(*section, u"a ");
  SetArial(props, 40);
  section->ChangeFont(props);
  Append(*section, u"WWW WWW WWW WWW");
  section->FinishForCell(20);
  Layout(*section, 300);
  // The first font's widest character times the count would let everything
  // stand on one line; measured, it cannot.
  EXPECT_GT(section->Lines.size(), 1u);
}

TEST_F(TextSectionLimits, OverlongJustifiedLinesAreNeverSqueezed) {
  props.Value(Prop::TextAlign) = std::string("justify");
  auto section = Make();
  Append(*section, u"aa bb cc dd ee ff gg", 0, /*noBreak=*/true);
  Append(*section, u" tail words here", 20);
  section->FinishForCell(40);
  Layout(*section, Width(u"aa bb cc"));
  const LineRec& first = section->Lines[0];
  EXPECT_EQ(first.Ln, 21);
  EXPECT_EQ(first.Extra, 0);
  EXPECT_EQ(first.Spaces, 0);
}

TEST_F(TextSectionLimits, HostileLineHeightsSaturate) {
  props.Value(Prop::LineHeight) = std::string("2000000000px");
  auto section = Finished(u"one two three four five six seven eight nine ten");
  const int height = Layout(*section, 60, 0, 1000);
  EXPECT_EQ(height, INT_MAX);
  EXPECT_EQ(section->ContentBottom, INT_MAX);
  int x = 0, y = 0, caretHeight = 0;
  bool inText = false;
  EXPECT_GE(section->CursorAtPoint(&canvas(), 5, INT_MAX - 1, x, y, caretHeight, inText), -1);
  section->PaintSection(&canvas(), win::RECT{0, 0, 800, 200}, imgr, 0, 0, 0);
}

TEST_F(TextSectionLimits, CopiedDocumentsLeaveSharedControlsAlone) {
  auto section = Make();
  Append(*section, u"name ");
  auto* control = section->AppendObject(std::make_unique<HalfWidthControl>(), 5);
  Append(*section, u" more", 6);
  section->FinishForCell(11);
  EXPECT_EQ(section->Text, u"name \x02 more ");
  Layout(*section, 400);
  EXPECT_EQ(control->Place.ImageWidth, 200);
  auto copyDoc = TSectionList::CreateCopy(doc);
  auto copy = section->CreateCopy(copyDoc.get());
  auto& copied = static_cast<TSection&>(*copy);
  ASSERT_EQ(copied.FormControls().size(), 1u);
  EXPECT_EQ(copied.FormControls()[0], control);
  imgr.Clear();
  imgr.Init(0, 100);
  int curs = 0;
  copied.LayoutSection(&canvas(), 0, 0, 0, 0, 100, 600, 0, imgr, maxWidth, curs);
  EXPECT_EQ(control->Place.ImageWidth, 200);
}

// The darkest pixel of the first line after painting on a white surface.
std::uint32_t DarkestInk(gui::TBitmap& bitmap, const TSection& section) {
  const LineRec& line = section.Lines.front();
  std::uint32_t darkest = 0xFFFFFF;
  for (int y = line.DrawY; y < line.DrawY + line.LineHt; ++y)
    for (int x = 0; x < 100; ++x) {
      const std::uint32_t pixel = bitmap.Canvas().Pixels(x, y) & 0xFFFFFF;
      if ((pixel & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel >> 16) <
          (darkest & 0xFF) + ((darkest >> 8) & 0xFF) + (darkest >> 16))
        darkest = pixel;
    }
  return darkest;
}

TEST_F(TextSectionLimits, PrintedColours) {
  doc.Printing = true;
  doc.PrintMonochrome = true;
  doc.PrintBackground = true;
  props.Value(Prop::Color) = 0x0000FF;  // red
  props.DropCachedFont();
  auto red = Finished(u"MMMM");
  Layout(*red, 400);
  doc.VisibleBottom = 10000;
  canvas().Brush().SetColor(0xFFFFFF);
  canvas().FillRect(win::RECT{0, 0, 800, 200});
  red->PaintSection(&canvas(), win::RECT{0, 0, 800, 200}, imgr, 0, 0, 0);
  // A true-colour device is no monochrome printer: red stays red.
  EXPECT_EQ(DarkestInk(bitmap, *red), 0x0000FFu);

  doc.PrintMonochrome = false;
  doc.PrintBackground = false;
  props.Value(Prop::Color) = 0xF0F0F0;  // too light for paper: printed grey
  props.DropCachedFont();
  auto light = Finished(u"MMMM");
  Layout(*light, 400);
  canvas().FillRect(win::RECT{0, 0, 800, 200});
  light->PaintSection(&canvas(), win::RECT{0, 0, 800, 200}, imgr, 0, 0, 0);
  EXPECT_EQ(DarkestInk(bitmap, *light), 0xA0A0A0u);
}

// The first 9x release draws every piece clipped to its own box; an ordinary
// line looks the same either way.
TEST_F(TextSectionLimits, ClippedPiecesOnTheFirst9xReleaseDrawTheSameLine) {
  auto section = Finished(u"Clipped pieces gqjy");
  Layout(*section, 400);
  gui::TBitmap plain;
  plain.SetSize(400, 60);
  gui::TBitmap clipped;
  clipped.SetSize(400, 60);
  for (gui::TBitmap* target : {&plain, &clipped}) {
    win::setPlatformFlags(target == &clipped, target == &clipped);
    target->Canvas().Brush().SetColor(0xFFFFFF);
    target->Canvas().FillRect(win::RECT{0, 0, 400, 60});
    section->PaintSection(&target->Canvas(), win::RECT{0, 0, 400, 60}, imgr, 0, 0, 0);
  }
  win::resetPlatformFlags();
  int differing = 0;
  int inked = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 400; ++x) {
      differing += plain.Canvas().Pixels(x, y) != clipped.Canvas().Pixels(x, y);
      inked += (plain.Canvas().Pixels(x, y) & 0xFFFFFF) != 0xFFFFFF;
    }
  EXPECT_GT(inked, 100);
  EXPECT_EQ(differing, 0);
}

// A line of one long word is output only where it meets the clip; what shows
// is what the start of the word alone draws.
TEST_F(TextSectionLimits, LongLinesDrawOnlyWhatMeetsTheClip) {
  std::u16string word;
  for (int i = 0; i < 6000; ++i) word.push_back(static_cast<char16_t>(u'a' + i % 26));
  auto whole = Finished(word);
  auto start = Finished(word.substr(0, 300));
  gui::TBitmap pictures[2];
  TSection* sections[2] = {whole.get(), start.get()};
  for (int i = 0; i < 2; ++i) {
    Layout(*sections[i], 400);
    pictures[i].SetSize(400, 40);
    pictures[i].Canvas().Brush().SetColor(0xFFFFFF);
    pictures[i].Canvas().FillRect(win::RECT{0, 0, 400, 40});
    sections[i]->PaintSection(&pictures[i].Canvas(), win::RECT{0, 0, 400, 40}, imgr, 0, 0, 0);
  }
  int differing = 0;
  int inked = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 400; ++x) {
      differing += pictures[0].Canvas().Pixels(x, y) != pictures[1].Canvas().Pixels(x, y);
      inked += (pictures[0].Canvas().Pixels(x, y) & 0xFFFFFF) != 0xFFFFFF;
    }
  EXPECT_GT(inked, 500);
  EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace engine
