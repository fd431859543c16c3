#pragma once
// TextMeasurer: measures stretches of a section's text on a canvas, piece by
// piece (a piece ends where the font run or an inline object changes),
// selecting a font into the canvas only when it changes, or, when it only
// measures, reusing the text state kept for a font that looks the same.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/win/text/TextMeter.h"

namespace gui {
class TCanvas;
}

namespace engine {

class TSection;
class TFontObj;
class TMyFont;

class TextMeasurer {
 public:
  // Drawing: every font change is selected into the canvas and every
  // measurement asks the DC, whose state the caller may change in between
  // (justification, colours). Measuring: nothing else uses the canvas while
  // the measurer lives, so a font's text state read from a DC of the same
  // scale is reused for every run that looks the same, in this section and in
  // later ones; the canvas is brought to the font last asked for before
  // anyone else sees it.
  enum class Use { Drawing, Measuring };

  // A layout pass over a document: measurers made meanwhile on the pass's
  // canvas share one reading of its DC's scale, which measuring leaves as it
  // is, instead of reading it once each. Passes nest; the outermost serves.
  class Pass {
   public:
    explicit Pass(gui::TCanvas* canvas);
    ~Pass();
    Pass(const Pass&) = delete;
    Pass& operator=(const Pass&) = delete;

   private:
    bool outermost_ = false;
  };

  TextMeasurer(TSection& section, gui::TCanvas* canvas, Use use = Use::Drawing);
  ~TextMeasurer();
  TextMeasurer(const TextMeasurer&) = delete;
  TextMeasurer& operator=(const TextMeasurer&) = delete;

  // The canvas, holding the font last asked for.
  gui::TCanvas* Canvas() {
    SyncCanvas();
    return canvas_;
  }
  // Selects into the canvas the font last asked for, when a kept text state
  // stood in for it.
  void SyncCanvas();
  // Forgets the kept text states; for tests.
  static void ForgetKeptStates();
  // End of the text piece that starts at pos: the next run start, the next
  // placeholder, or end, whichever comes first.
  int PieceEnd(int pos, int end) const;
  // How many of count characters from pos (one piece) fit in maxExtent;
  // extent gets their width. Measured in slices, so a long piece costs about
  // what fits, not its whole length.
  int FitChars(int pos, int count, int maxExtent, int& extent);
  // Width of characters [start, start + count): text with each run's
  // overhang, inline objects with their spaces, floats not counted.
  int Width(int start, int count);
  // How many of count characters from start (any pieces) fit in maxExtent.
  int FitAcross(int start, int count, int maxExtent, int& extent);
  // Width of text characters only (one piece).
  int PieceWidth(int pos, int count);
  // Width of "-" in the font at pos.
  int HyphenWidth(int pos);
  int OverhangAt(int pos) const;
  // A bound no text of count characters from start can exceed: characters x
  // (widest character + letter spacing + overhang) of each run, summed in 64 bits.
  std::int64_t UpperBound(int start, int count) const;
  // Makes the font of the run holding pos the one measured with (selected
  // into the canvas when drawing); answers that run.
  TFontObj* SelectFontAt(int pos);
  // Measures as a justified line draws: extra pixels over spaces, the first
  // extra % spaces spaces of the line one pixel more. The DC's own
  // justification must be off; this adds the shares itself, so that a line
  // measured in several pieces gets each space's share exactly once.
  void Justify(int lineStart, int extra, int spaces);

  // The run holding pos, as TFontList::RunAt answers it. Pieces are asked
  // for in order, so the last answer usually holds.
  TFontObj* RunAt(int pos, int& index) const;

 private:
  int ShareOf(int breakIndex) const;
  int BreaksBefore(int pos) const;
  int JustifiedFit(int pos, int count, int maxExtent, int& extent);
  void SelectIntoCanvas(const TFontObj& run);
  bool TakeKeptMeter(const TMyFont& font);
  void KeepMeter(const TMyFont& font);
  int FitSlice(const char16_t* text, int count, int room, int& extent);
  int PlainWidth(const char16_t* text, int count);

  TSection& s_;
  gui::TCanvas* canvas_;
  bool keepMeters_;
  const TFontObj* selected_ = nullptr;  // the run whose font the canvas holds
  const TFontObj* current_ = nullptr;   // the run measured with
  bool hasMeter_ = false;               // meter_ measures current_'s font
  win::TextMeter meter_;
  // The fonts met so far with their meters, the oldest replaced first.
  struct HeldMeter {
    const TMyFont* font = nullptr;
    win::TextMeter meter;
  };
  std::array<HeldMeter, 4> held_;
  std::size_t heldCount_ = 0;
  std::size_t heldNext_ = 0;
  // The canvas's DC as first met, read here or by the pass: its scale decides
  // which kept states hold.
  const win::TextMeter* device_ = nullptr;
  win::TextMeter ownDevice_;
  std::vector<int> objectPositions_;  // placeholders, ascending
  mutable TFontObj* run_ = nullptr;   // the run RunAt answered last, at runIndex_, holding [runFrom_, runTo_)
  mutable int runIndex_ = 0;
  mutable int runFrom_ = 0;
  mutable int runTo_ = 0;
  int lineStart_ = 0;
  int extra_ = 0;
  int spaces_ = 0;
};

}  // namespace engine
