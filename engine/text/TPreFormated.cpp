#include "engine/text/TPreFormated.h"

#include <algorithm>

#include "engine/document/IndentManager.h"
#include "engine/document/SaturatedMath.h"
#include "engine/text/TextMeasurer.h"

namespace engine {
namespace {

constexpr int kMaxPreformattedMinimum = 6000;
constexpr int kNoWrapWidth = 32000;

}  // namespace

TPreFormated::TPreFormated(TSectionList* document, const TUrlTarget* linkTarget, TProperties& props,
                           TAttributeList* attributes)
    : TSection(document, false, linkTarget, props, attributes) {
  SetPreformatted();
}

TPreFormated::TPreFormated(TSectionList* document, const TPreFormated& source) : TSection(document, source) {
  PreMaxWidthCache = source.PreMaxWidthCache;
}

std::unique_ptr<TSectionBase> TPreFormated::CreateCopy(TSectionList* document) const {
  return std::make_unique<TPreFormated>(document, *this);
}

void TPreFormated::CollapseWhiteSpace(int sourcePos) {
  if (Finished()) return;
  // An empty last run moves past the blank added next, so that the blank
  // belongs to the run before it. NOTE: the first run never moves: it must
  // start at 0, and on an empty line it is the only run.
  TFontObj* last = Fonts.Last();
  if (Fonts.Count() > 1 && last->Pos == Len) last->Pos = Len + 1;
  // NOTE: an empty line has no previous character; its blank takes the
  // position where its source ended.
  BuildBuffers& built = Building();
  const int blankSource = built.Positions.empty() ? sourcePos : built.Positions.back() + 1;
  built.Text.push_back(kSpaceChar);
  built.Flags.push_back(kBreakNo);
  built.Positions.push_back(blankSource);
  FinishText();
}

void TPreFormated::MeasureWidthRange(gui::TCanvas* canvas, int& MinWidth, int& MaxWidth) {
  if (BreakWord) {
    TSection::MeasureWidthRange(canvas, MinWidth, MaxWidth);
    return;
  }
  if (BlankLine()) {
    MinWidth = MaxWidth = 0;
    return;
  }
  if (PreMaxWidthCache == 0 || !ImageObjs().empty()) PreMaxWidthCache = MeasureText(canvas, 0, Len);
  MaxWidth = PreMaxWidthCache;
  MinWidth = std::min(kMaxPreformattedMinimum, MaxWidth);
}

// Unwrapped text is as narrow as its longest line: only a broken-word section
// has the words' bound.
bool TPreFormated::MinWidthWithin(gui::TCanvas* canvas, int Limit) {
  if (BreakWord) return TSection::MinWidthWithin(canvas, Limit);
  return TSectionBase::MinWidthWithin(canvas, Limit);
}

int TPreFormated::LayoutSection(gui::TCanvas* canvas, int X, int Y, int XRef, int YRef, int Width, int AHeight,
                                int BlockHeight, IndentManager& IMgr, int& MaxWidth, int& Curs) {
  if (BlankLine() && !BreakWord) {
    // NOTE: a blank line keeps the height of its font's line instead of collapsing to 0.
    int descent = 0;
    const int height = Fonts.Empty() ? 0 : Fonts.Items(0)->LineHeight(descent);
    TopY = ContentTop = PaintTop = Y;
    FirstCharPos = Curs;
    CharCount = Len;
    Curs = SatAdd(Curs, Len);
    Lines.clear();
    MaxWidth = 0;
    SectionHeight = PaintHeight = height;
    ContentBottom = PaintBottom = SatAdd(Y, height);
    return height;
  }
  if (BreakWord) return TSection::LayoutSection(canvas, X, Y, XRef, YRef, Width, AHeight, BlockHeight, IMgr, MaxWidth, Curs);
  const int savedWidth = IMgr.Width;
  IMgr.Width = kNoWrapWidth;
  int height = 0;
  try {
    height = LayoutLines(canvas, X, Y, Width, AHeight, BlockHeight, IMgr, MaxWidth, Curs, /*wrap=*/false);
  } catch (...) {
    IMgr.Width = savedWidth;
    throw;
  }
  IMgr.Width = savedWidth;
  int minWidth = 0;
  MeasureWidthRange(canvas, minWidth, MaxWidth);
  return height;
}

}  // namespace engine
