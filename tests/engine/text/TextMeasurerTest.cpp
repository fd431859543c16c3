// A measurer that keeps each font's text state (layout's use) must measure
// exactly as one that selects every font into the canvas (painting's use),
// and leave the canvas as that one does.
#include "engine/text/TextMeasurer.h"

#include <random>
#include <string>

#include <gtest/gtest.h>

#include "TextSectionTestSupport.h"
#include "engine/text/TFontObj.h"
#include "platform/win/gdi/DcAttributes.h"
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/MappingMode.h"
#include "platform/win/text/FontInstance.h"

namespace engine {
namespace {

class TextMeasurerUses : public testing::Test, public TextSectionFixture {
 protected:
  TextMeasurerUses() {
    otherBitmap.SetSize(800, 200);
    oracleBitmap.SetSize(8, 8);
  }

  // Runs whose fonts repeat, differ only in colour or only in letter spacing,
  // and are more than the measurer keeps; replayable by number.
  std::unique_ptr<TSection> Build(unsigned number) {
    std::mt19937 random(number);
    const char16_t letters[] = u"iWm l.-\u00E9\u0416";
    const char* spacings[] = {"normal", "1px", "3px"};
    auto section = Make();
    int source = 0;
    const int runs = 1 + static_cast<int>(random() % 14);
    for (int r = 0; r < runs; ++r) {
      SetArial(props, 9 + 3 * static_cast<double>(random() % 3));
      if (random() % 3 == 0) props.Value(Prop::FontFamily) = std::string("Courier New");
      props.Value(Prop::FontWeight) = std::string(random() % 2 ? "bold" : "normal");
      props.Value(Prop::LetterSpacing) = std::string(spacings[random() % 3]);
      props.Value(Prop::Color) = static_cast<int>(random() % 3) * 0x40;
      props.DropCachedFont();
      section->ChangeFont(props);
      std::u16string text;
      const int length = static_cast<int>(random() % 31);  // empty runs too
      for (int c = 0; c < length; ++c) text += letters[random() % 9];
      Append(*section, text, source);
      source += length;
    }
    section->FinishForCell(source);
    return section;
  }

  struct CanvasState {
    std::string name;
    int height = 0;
    int style = 0;
    gui::TColor color = 0;
    int charExtra = 0;
    win::COLORREF textColor = 0;
    win::HGDIOBJ font = 0;
    bool operator==(const CanvasState&) const = default;
  };
  static CanvasState StateOf(gui::TCanvas& canvas) {
    const win::HDC dc = canvas.Handle();
    return {canvas.Font().Name(),           canvas.Font().Height(), canvas.Font().Style(),
            canvas.Font().Color(),          win::GetTextCharacterExtra(dc), win::GetTextColor(dc),
            win::GetCurrentObject(dc, win::OBJ_FONT)};
  }

  // Measures case `number` both ways with random calls, then compares the canvases.
  void Compare(unsigned number) {
    SCOPED_TRACE("case " + std::to_string(number));
    auto section = Build(number);
    const int length = section->Len;
    if (length == 0) return;
    std::mt19937 random(number + 1000);
    // Painting in between leaves the DCs with other colours and spacing.
    const auto color = static_cast<win::COLORREF>(random() % 0x1000000);
    const int spacing = static_cast<int>(random() % 5);
    for (gui::TCanvas* each : {&canvas(), &otherBitmap.Canvas()}) {
      win::SetTextColor(each->Handle(), color);
      win::SetTextCharacterExtra(each->Handle(), spacing);
    }
    const TFontObj* last = nullptr;
    {
      TextMeasurer drawing(*section, &canvas(), TextMeasurer::Use::Drawing);
      TextMeasurer measuring(*section, &otherBitmap.Canvas(), TextMeasurer::Use::Measuring);
      for (int step = 0; step < 40; ++step) {
        const int pos = static_cast<int>(random() % static_cast<unsigned>(length));
        const int pieceEnd = drawing.PieceEnd(pos, length);
        // Runs are looked up in any order, as the list itself answers.
        int index = 0;
        const TFontObj* run = section->Fonts.RunAt(pos, index);
        const TFontObj* next = section->Fonts.Items(index + 1);
        EXPECT_EQ(pieceEnd, next ? std::min(length, std::max(next->Pos, pos + 1)) : length);
        EXPECT_EQ(measuring.PieceEnd(pos, length), pieceEnd);
        const int inPiece = 1 + static_cast<int>(random() % static_cast<unsigned>(pieceEnd - pos));
        const int anyCount = 1 + static_cast<int>(random() % static_cast<unsigned>(length - pos));
        const int limit = static_cast<int>(random() % 500) - 20;
        int expected = 0;
        int got = 0;
        switch (random() % 7) {
          case 5:
            EXPECT_EQ(measuring.SelectFontAt(pos), run);
            EXPECT_EQ(drawing.SelectFontAt(pos), run);
            break;
          case 0:
            EXPECT_EQ(measuring.FitChars(pos, inPiece, limit, got), drawing.FitChars(pos, inPiece, limit, expected));
            EXPECT_EQ(got, expected);
            break;
          case 1:
            EXPECT_EQ(measuring.FitAcross(pos, anyCount, limit, got), drawing.FitAcross(pos, anyCount, limit, expected));
            EXPECT_EQ(got, expected);
            break;
          case 2: EXPECT_EQ(measuring.Width(pos, anyCount), drawing.Width(pos, anyCount)); break;
          case 3: EXPECT_EQ(measuring.PieceWidth(pos, inPiece), drawing.PieceWidth(pos, inPiece)); break;
          case 4: EXPECT_EQ(measuring.HyphenWidth(pos), drawing.HyphenWidth(pos)); break;
          default:
            // Whoever is handed the canvas finds the font last asked for.
            EXPECT_EQ(StateOf(*measuring.Canvas()), StateOf(*drawing.Canvas()));
            break;
        }
      }
      // Layout asks piece after piece, in order: each position finds its own run.
      for (int pos = 0; pos < length; ++pos) {
        int index = 0;
        section->Fonts.RunAt(pos, index);
        const TFontObj* next = section->Fonts.Items(index + 1);
        ASSERT_EQ(measuring.PieceEnd(pos, length), next ? std::min(length, std::max(next->Pos, pos + 1)) : length)
            << "position " << pos;
      }
      const int lastPos = static_cast<int>(random() % static_cast<unsigned>(length));
      last = drawing.SelectFontAt(lastPos);
      measuring.SelectFontAt(lastPos);
    }
    // Both end as a canvas that was simply given the last font.
    ApplyFontToCanvas(*last->Font, oracleBitmap.Canvas());
    oracleBitmap.Canvas().TextExtent(std::u16string_view());
    EXPECT_EQ(StateOf(otherBitmap.Canvas()), StateOf(oracleBitmap.Canvas()));
    EXPECT_EQ(StateOf(canvas()), StateOf(oracleBitmap.Canvas()));
  }

  // Both canvases print: 96 logical units to 300 device pixels.
  void Print() {
    for (gui::TCanvas* each : {&canvas(), &otherBitmap.Canvas()}) {
      const win::HDC dc = each->Handle();
      win::SetMapMode(dc, win::MM_ANISOTROPIC);
      win::SetWindowExtEx(dc, 96, 96, nullptr);
      win::SetViewportExtEx(dc, 300, 300, nullptr);
    }
  }

  gui::TBitmap otherBitmap;
  gui::TBitmap oracleBitmap;
};

TEST_F(TextMeasurerUses, KeptFontStatesMeasureAsSelectedFonts) {
  TextMeasurer::ForgetKeptStates();
  for (unsigned number = 0; number < 200; ++number) Compare(number);
}

// States kept from one device, canvas resolution or set of font instances
// must not be taken for another.
TEST_F(TextMeasurerUses, KeptStatesHoldOnlyWhereTheyWereRead) {
  TextMeasurer::ForgetKeptStates();
  for (unsigned number = 0; number < 20; ++number) Compare(number);
  Print();
  for (unsigned number = 0; number < 20; ++number) Compare(number);
  win::SetMapMode(canvas().Handle(), win::MM_TEXT);
  win::SetMapMode(otherBitmap.Canvas().Handle(), win::MM_TEXT);
  for (gui::TBitmap* each : {&bitmap, &otherBitmap, &oracleBitmap}) each->Canvas().Font().SetPixelsPerInch(144);
  for (unsigned number = 0; number < 20; ++number) Compare(number);
  win::resetFontInstances();
  for (unsigned number = 0; number < 20; ++number) Compare(number);
}

// Measurers of a layout pass share one reading of the pass canvas's scale:
// one on another canvas reads its own, and states kept at another scale still
// do not hold there. A nested pass leaves the outer one serving.
TEST_F(TextMeasurerUses, APassServesTheMeasurersOfItsOwnCanvas) {
  TextMeasurer::ForgetKeptStates();
  for (unsigned number = 0; number < 20; ++number) Compare(number);
  Print();  // both compared canvases; the pass's canvas stays unscaled
  auto section = Make();
  section->ChangeFont(props);
  Append(*section, u"measured", 0);
  section->FinishForCell(8);
  {
    const TextMeasurer::Pass pass(&oracleBitmap.Canvas());
    const TextMeasurer::Pass nested(&canvas());
    {
      TextMeasurer onPassCanvas(*section, &oracleBitmap.Canvas(), TextMeasurer::Use::Measuring);
      EXPECT_GT(onPassCanvas.PieceWidth(0, 8), 0);
    }
    for (unsigned number = 0; number < 20; ++number) Compare(number);
  }
  for (unsigned number = 20; number < 40; ++number) Compare(number);
}

TEST_F(TextMeasurerUses, FontsThatDifferOnlyInLetterSpacingAreMeasuredApart) {
  auto section = Make();
  props.Value(Prop::LetterSpacing) = std::string("normal");
  props.DropCachedFont();
  section->ChangeFont(props);
  Append(*section, u"aaaa", 0);
  props.Value(Prop::LetterSpacing) = std::string("4px");
  props.DropCachedFont();
  section->ChangeFont(props);
  Append(*section, u"aaaa", 4);
  section->FinishForCell(8);
  ASSERT_EQ(section->Fonts.Count(), 2);
  TextMeasurer measuring(*section, &canvas(), TextMeasurer::Use::Measuring);
  const int plain = measuring.PieceWidth(0, 4);
  EXPECT_EQ(measuring.PieceWidth(4, 4), plain + 16);
  EXPECT_EQ(measuring.PieceWidth(0, 4), plain);
}

}  // namespace
}  // namespace engine
