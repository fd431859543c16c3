#pragma once
// TextMeasurer: measures stretches of a section's text on a canvas, piece by
// piece (a piece ends where the font run or an inline object changes),
// selecting a font into the canvas only when it changes.
#include <cstdint>
#include <vector>

namespace gui {
class TCanvas;
}

namespace engine {

class TSection;
class TFontObj;

class TextMeasurer {
 public:
  TextMeasurer(TSection& section, gui::TCanvas* canvas);

  gui::TCanvas* Canvas() const { return canvas_; }
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
  // Selects the font of the run holding pos; answers that run.
  TFontObj* SelectFontAt(int pos);
  // Measures as a justified line draws: extra pixels over spaces, the first
  // extra % spaces spaces of the line one pixel more. The DC's own
  // justification must be off; this adds the shares itself, so that a line
  // measured in several pieces gets each space's share exactly once.
  void Justify(int lineStart, int extra, int spaces);

 private:
  int ShareOf(int breakIndex) const;
  int BreaksBefore(int pos) const;
  int JustifiedFit(int pos, int count, int maxExtent, int& extent);

  TSection& s_;
  gui::TCanvas* canvas_;
  const TFontObj* selected_ = nullptr;
  std::vector<int> objectPositions_;  // placeholders, ascending
  int lineStart_ = 0;
  int extra_ = 0;
  int spaces_ = 0;
};

}  // namespace engine
