// TSection: line breaking (LayoutSection) and width measuring (MeasureWidthRange).
#include <algorithm>
#include <cstdint>
#include <limits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/css/TMyFont.h"
#include "engine/document/IndentManager.h"
#include "engine/document/SaturatedMath.h"
#include "engine/document/TSectionList.h"
#include "engine/paint/TextDrawing.h"
#include "engine/text/LineBreaking.h"
#include "engine/text/TextMeasurer.h"
#include "engine/text/TInlineList.h"
#include "engine/text/TSection.h"
#include "platform/gui/TCanvas.h"
#include "platform/win/kernel/Arithmetic.h"

namespace engine {

// The state of one layout of a section: the canvas and its selected font,
// the indent manager, the running Y and the lines made so far.
class SectionLayout {
 public:
  SectionLayout(TSection& section, gui::TCanvas* canvas, IndentManager& imgr, int x)
      : s_(section), measure_(section, canvas, TextMeasurer::Use::Measuring), imgr_(imgr), x_(x) {
    TInlineList* boxes = InlineListOf(section.Document);
    boxes_ = boxes && !boxes->Empty() ? boxes : nullptr;
  }
  ~SectionLayout() { ReturnLines(); }
  SectionLayout(const SectionLayout&) = delete;
  SectionLayout& operator=(const SectionLayout&) = delete;

  int Run(int y, int width, int availableHeight, int& maxWidth, bool wrap);
  int RunningBottom() const { return runningBottom_; }
  // The document's inline boxes, when it has any.
  TInlineList* Boxes() const { return boxes_; }

 private:
  struct Fit {
    int count = 0;
    int floatHeight = 0;
    std::vector<TInlineObject*> heldFloats;    // floats met after content: placed below the line
    std::vector<TInlineObject*> besideFloats;  // floats met after content with room beside it: placed on the line
  };

  void SizeObjects(int limit, int imageHeight, int& maxWidth);
  int Clearance(int y) const;
  void AddSpacer(int height);
  Fit FitLine(int start, bool firstLine);
  int ChooseLine(int start, Fit& fit, bool& retryLower, int& maxWidth);
  void PlaceBesideFloats(int start, int count, Fit& fit);
  void PlaceFloat(TInlineObject& object);
  void FinishLine(int start, int count, bool firstLine, bool lastLine, const Fit& fit);
  void LineSpaces(LineRec& line, int start, int count, bool hasText, int& above, int& below);
  int NextBreakAt(int from);
  // The indent manager's left indent and right side at y. Only placing a
  // float changes them while a section is laid out, so each Y is asked once
  // until then (a line asks when it is fitted and again when it is finished).
  struct Span {
    int left = 0;
    int right = 0;
  };
  Span SpanAt(int y);
  // From the second line on, the lines are gathered in a per-thread list and
  // moved into the section once, in room of their exact number: a list grown
  // line by line would reallocate as it doubles and keep up to half its room
  // unused.
  void AddLine(LineRec&& line);
  void StoreLines();
  void ReturnLines();

  TSection& s_;
  TextMeasurer measure_;
  IndentManager& imgr_;
  int x_;
  int y_ = 0;
  int sectionHeight_ = 0;
  int runningBottom_ = 0;
  int nextBreak_ = -1;      // cached index of the next forced break at or after the line start
  TInlineList* boxes_ = nullptr;  // the document's inline boxes: lines find theirs when first drawn
  int lineStart_ = 0;      // where the line being made starts (spacer lines keep it too)
  int spanY_ = 0;          // the Y span_ holds, while spanKnown_
  bool spanKnown_ = false;
  Span span_;
  std::vector<LineRec>* lines_ = nullptr;  // the gathered lines, from the second on
  std::vector<LineRec> ownLines_;          // used while the per-thread list serves another layout
};

namespace {

// Index of the first forced break in text[from, end), or end.
int FindBreakChar(const char16_t* text, int from, int end) {
  int at = from;
#if defined(__SSE2__)
  const __m128i breakChar = _mm_set1_epi16(static_cast<short>(kBreakChar));
  for (; at + 8 <= end; at += 8) {
    const __m128i chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
    const int hits = _mm_movemask_epi8(_mm_cmpeq_epi16(chars, breakChar));
    if (hits != 0) return at + __builtin_ctz(static_cast<unsigned>(hits)) / 2;
  }
#endif
  for (; at < end; ++at)
    if (text[at] == kBreakChar) return at;
  return end;
}

struct SpareLines {
  std::vector<LineRec> lines;
  bool inUse = false;
};
// The spare keeps at most this room between layouts; a longer section's room
// is freed.
constexpr std::size_t kSpareLinesKept = 1024;

SpareLines& Spare() {
  thread_local SpareLines spare;
  return spare;
}

}  // namespace

void SectionLayout::AddLine(LineRec&& line) {
  // The first line goes in place: most sections have one.
  if (!lines_ && s_.Lines.empty()) {
    s_.Lines.push_back(std::move(line));
    return;
  }
  if (!lines_) {
    SpareLines& spare = Spare();
    lines_ = spare.inUse ? &ownLines_ : &spare.lines;
    spare.inUse = true;
    lines_->push_back(std::move(s_.Lines.front()));
    s_.Lines.clear();
  }
  lines_->push_back(std::move(line));
}

void SectionLayout::StoreLines() {
  if (!lines_) return;
  s_.Lines.reserve(lines_->size());
  for (LineRec& line : *lines_) s_.Lines.push_back(std::move(line));
  lines_->clear();
}

void SectionLayout::ReturnLines() {
  if (!lines_) return;
  lines_->clear();
  if (lines_ != &ownLines_) {
    if (lines_->capacity() > kSpareLinesKept) std::vector<LineRec>().swap(*lines_);
    Spare().inUse = false;
  }
  lines_ = nullptr;
}

SectionLayout::Span SectionLayout::SpanAt(int y) {
  if (!spanKnown_ || spanY_ != y) {
    span_.left = imgr_.LeftIndent(y);
    span_.right = imgr_.RightSide(y);
    spanY_ = y;
    spanKnown_ = true;
  }
  return span_;
}

int SectionLayout::NextBreakAt(int from) {
  if (nextBreak_ < from) nextBreak_ = FindBreakChar(s_.Text.data(), from, std::max(from, s_.Len));
  return nextBreak_;
}

void SectionLayout::SizeObjects(int limit, int imageHeight, int& maxWidth) {
  for (const auto& object : s_.ImageObjs()) {
    int index = 0;
    object->ComputeSize(measure_.Canvas(), s_.Fonts.RunAt(object->Pos, index), limit, imageHeight);
    maxWidth = std::max(maxWidth, object->Place.ImageWidth);
  }
  for (TInlineObject* control : s_.FormControls()) {
    const int percent = control->PercentWidth();
    // NOTE: a copied document shares its controls with the screen document,
    // so its layout leaves their sizes alone.
    if (percent > 0 && !(s_.Document && s_.Document->IsCopy)) {
      const int wanted = win::MulDiv(percent, limit, 100);
      control->SetWidth(std::max(10, std::min(wanted, limit - control->Place.HSpaceL - control->Place.HSpaceR)));
    }
    maxWidth = std::max(maxWidth, control->Place.ImageWidth);
  }
}

int SectionLayout::Clearance(int y) const {
  if (s_.ClearKind == 0) return 0;
  int clearLeft = 0;
  int clearRight = 0;
  imgr_.ClearYs(clearLeft, clearRight);
  const int left = clearLeft > 0 ? std::max(0, clearLeft - 1 - y) : 0;
  const int right = clearRight > 0 ? std::max(0, clearRight - 1 - y) : 0;
  if (s_.ClearKind == 1) return left;
  if (s_.ClearKind == 2) return right;
  return std::max(left, right);
}

void SectionLayout::AddSpacer(int height) {
  LineRec line;
  line.Start = lineStart_;
  line.LineHt = height;
  line.DrawHeight = height;
  line.Y = y_;
  AddLine(std::move(line));
  y_ = SatAdd(y_, height);
  sectionHeight_ = SatAdd(sectionHeight_, height);
  runningBottom_ = std::max(runningBottom_, y_);
}

int SectionLayout::Run(int y, int width, int availableHeight, int& maxWidth, bool wrap) {
  y_ = y;
  runningBottom_ = y;
  if (s_.IndentPercent != 0) s_.FirstLineIndent = static_cast<int>(std::int64_t{width} * s_.IndentPercent / 100);
  const Span span = SpanAt(y);
  const int limit = std::min(span.right - span.left, width);
  maxWidth = limit;
  SizeObjects(limit, availableHeight, maxWidth);
  const int clearance = Clearance(y);
  if (clearance > 0) AddSpacer(clearance);
  int start = 0;
  bool firstLine = true;
  while (start < s_.Len) {
    lineStart_ = start;
    Fit fit;
    if (!wrap) {
      fit.count = s_.Len - start;
    } else {
      fit = FitLine(start, firstLine);
      runningBottom_ = std::max(runningBottom_, SatAdd(y_, fit.floatHeight));
      if (fit.count == 0 && imgr_.NextFloatEndY(y_) > y_) {
        AddSpacer(imgr_.NextFloatEndY(y_) - y_);
        continue;
      }
      fit.count = std::max(fit.count, 1);
    }
    bool retryLower = false;
    const int count = wrap ? ChooseLine(start, fit, retryLower, maxWidth) : fit.count;
    if (retryLower) {
      AddSpacer(imgr_.NextFloatEndY(y_) - y_);
      continue;
    }
    PlaceBesideFloats(start, count, fit);
    FinishLine(start, count, firstLine, start + count >= s_.Len, fit);
    start += count;
    firstLine = false;
  }
  StoreLines();
  measure_.SyncCanvas();
  return sectionHeight_;
}

// Characters from start that fit in the free width at the current Y.
SectionLayout::Fit SectionLayout::FitLine(int start, bool firstLine) {
  Fit fit;
  const int breakAt = NextBreakAt(start);
  if (breakAt == start) {
    fit.count = 1;
    return fit;
  }
  const int count = breakAt - start;
  const Span span = SpanAt(y_);
  int freeWidth = span.right - span.left;
  if (firstLine) freeWidth -= s_.FirstLineIndent;
  const bool hasObjects = s_.HasObjects();
  if (firstLine && start == 0 && !hasObjects && measure_.UpperBound(start, count) <= freeWidth) {
    fit.count = breakAt < s_.Len ? count + 1 : count;
    return fit;
  }
  int used = 0;
  bool content = false;
  int pos = start;
  const int end = start + count;
  while (pos < end) {
    const char16_t ch = s_.Text[static_cast<std::size_t>(pos)];
    if (ch == kImageChar || ch == kControlChar) {
      TInlineObject* object = s_.ObjectAt(pos);
      if (object && object->Floats()) {
        object->TopY = y_;
        const int outer = object->OuterWidth();
        if (content) {
          // With room beside what already stands on the line the float goes on
          // this line, which then wraps at its edge; else it waits below the line.
          if (SatAdd(used, outer) <= freeWidth) {
            fit.besideFloats.push_back(object);
            freeWidth -= outer;
          } else {
            fit.heldFloats.push_back(object);
          }
          ++pos;
          continue;
        }
        if (SatAdd(used, outer) > freeWidth) {
          if (pos > start || imgr_.NextFloatEndY(y_) > y_) break;
          PlaceFloat(*object);
          fit.floatHeight = std::max(fit.floatHeight, object->OuterHeight());
          fit.count = 1;
          return fit;
        }
        used = SatAdd(used, outer);
        PlaceFloat(*object);
        fit.floatHeight = std::max(fit.floatHeight, object->OuterHeight());
        ++pos;
        continue;
      }
      const int outer = object ? object->OuterWidth() : 0;
      if (SatAdd(used, outer) > freeWidth) break;
      used = SatAdd(used, outer);
      content = true;
      ++pos;
      continue;
    }
    const int pieceEnd = measure_.PieceEnd(pos, end);
    int extent = 0;
    const int fitted = measure_.FitChars(pos, pieceEnd - pos, freeWidth - used, extent);
    if (fitted < pieceEnd - pos) {
      int counted = fitted;
      if (counted > 0 && s_.BreakFlags[static_cast<std::size_t>(pos + counted - 1)] == kBreakSoftHyphen &&
          extent + measure_.HyphenWidth(pos) > freeWidth - used)
        --counted;
      pos += counted;
      fit.count = pos - start;
      return fit;
    }
    used = SatAdd(used, SatAdd(extent, measure_.OverhangAt(pos)));
    content = content || fitted > 0;
    pos = pieceEnd;
    if (used > freeWidth) break;
  }
  fit.count = pos - start;
  if (pos == end && breakAt < s_.Len) ++fit.count;  // everything before the break fits: take the break too
  return fit;
}

// Floats fitted beside the line's content take their place at the line's Y
// before the line's indent and alignment are worked out. One the line broke
// before is met again by the next line.
void SectionLayout::PlaceBesideFloats(int start, int count, Fit& fit) {
  for (TInlineObject* object : fit.besideFloats) {
    if (object->Pos >= start + count) continue;
    object->TopY = y_;
    PlaceFloat(*object);
    fit.floatHeight = std::max(fit.floatHeight, object->OuterHeight());
    runningBottom_ = std::max(runningBottom_, SatAdd(y_, object->OuterHeight()));
  }
}

// Enters a float at the running Y and keeps its left edge relative to the
// section's X, where painting finds it whatever the lines' indents.
void SectionLayout::PlaceFloat(TInlineObject& object) {
  imgr_.AddFloatingObject(y_, &object.Place);
  spanKnown_ = false;
  object.FloatLeft = SatSub(SatAdd(imgr_.LeftEdge, object.Place.Indent), x_);
}

// The line's length from the fitted count, by the break rules.
int SectionLayout::ChooseLine(int start, Fit& fit, bool& retryLower, int& maxWidth) {
  const BreakText text{s_.Text.data(), s_.BreakFlags.data(), s_.Len, s_.BreakWord};
  bool overlong = false;
  const int count = ChooseLineBreak(text, start, fit.count, overlong);
  if (!overlong) return count;
  if (imgr_.NextFloatEndY(y_) > y_) {
    retryLower = true;
    return 0;
  }
  maxWidth = std::max(maxWidth, measure_.Width(start, TrimmedLength(text, start, count)));
  return count;
}

// Spaces above and below the text of a line: the line-height excess, and
// room for the images and controls by their vertical alignment.
void SectionLayout::LineSpaces(LineRec& line, int start, int count, bool hasText, int& above, int& below) {
  above = below = 0;
  if (s_.LineHeight >= 0) {
    const int excess = s_.LineHeight - line.LineHt;
    above = excess / 2;
    below = excess - excess / 2;
  }
  if (!s_.HasObjects()) return;  // no placeholder has an object to make room for
  for (int i = start; i < start + count; ++i) {
    const char16_t ch = s_.Text[static_cast<std::size_t>(i)];
    if (ch != kImageChar && ch != kControlChar) continue;
    TInlineObject* object = s_.ObjectAt(i);
    if (!object || object->Floats()) continue;
    const bool control = ch == kControlChar;
    const FloatPlacement& p = object->Place;
    int lineHt = line.LineHt;
    int descent = line.Descent;
    // A line without text has no font height of its own: only middle
    // alignment centres on the font at the object. Taking the font's height
    // for the others too would leave the line shorter than what drawing puts
    // above the baseline, and the object would stick out at the top.
    if (!hasText && p.Align == kAlignMiddle) {
      int index = 0;
      if (const TFontObj* run = s_.Fonts.RunAt(i, index)) lineHt = run->LineHeight(descent);
    }
    if (!(control && s_.Document && s_.Document->IsCopy)) object->TopY = y_;
    const int h = control ? p.ImageHeight : object->OuterHeight();
    const int t = control ? p.VSpaceT : 0;
    const int b = control ? p.VSpaceB : 0;
    switch (p.Align) {
      case kAlignTop:
        below = std::max(below, SatSub(SatAdd(SatAdd(t, h), b), lineHt));
        break;
      case kAlignMiddle: {
        const int d = (h - lineHt) / 2;
        below = std::max(below, SatAdd(d, b));
        above = std::max(above, SatSub(SatAdd(h, t), SatAdd(lineHt, d)));
        break;
      }
      case kAlignBaseline:
        above = std::max(above, SatSub(SatAdd(SatAdd(t, h), SatAdd(b, descent)), lineHt));
        break;
      default:  // bottom
        above = std::max(above, control ? SatSub(SatAdd(SatAdd(t, h), b), lineHt)
                                        : SatSub(SatAdd(h, descent), lineHt));
        break;
    }
  }
}

void SectionLayout::FinishLine(int start, int count, bool firstLine, bool lastLine, const Fit& fit) {
  LineRec line;
  const BreakText text{s_.Text.data(), s_.BreakFlags.data(), s_.Len, s_.BreakWord};
  bool hasText = count == 1 && s_.Text[static_cast<std::size_t>(start)] == kBreakChar;
  for (int i = start; i < start + count && !hasText; ++i) {
    const char16_t ch = s_.Text[static_cast<std::size_t>(i)];
    const bool finalSpace = i == s_.Len - 1 && ch == kSpaceChar;
    hasText = ch != kImageChar && ch != kControlChar && ch != kBreakChar && !finalSpace;
  }
  const bool copy = s_.Document && s_.Document->IsCopy;
  int index = 0;
  measure_.RunAt(start, index);
  for (const TFontObj* run = s_.Fonts.Items(index); run && run->Pos < start + count; run = s_.Fonts.Items(++index)) {
    TFontObj* mutableRun = s_.Fonts.Items(index);
    if (hasText) {
      int descent = 0;
      line.LineHt = std::max(line.LineHt, run->LineHeight(descent));
      line.Descent = std::max(line.Descent, descent);
    }
    if (!copy) mutableRun->SetLinkY(y_);
  }
  int above = 0;
  int below = 0;
  LineSpaces(line, start, count, hasText, above, below);
  line.Start = start;
  line.Ln = count;
  line.Shy = s_.BreakFlags[static_cast<std::size_t>(start + count - 1)] == kBreakSoftHyphen;
  const Span span = SpanAt(y_);
  const int right = span.right;
  const int left = span.left + (firstLine ? s_.FirstLineIndent : 0);
  line.LineIndent = left - x_;
  if (s_.Justify != 1) {
    int width = measure_.Width(start, TrimmedLength(text, start, count));
    if (line.Shy) width += measure_.HyphenWidth(start + count - 1);
    if (s_.Justify == 2) line.LineIndent = (right + left - width) / 2 - x_;
    else if (s_.Justify == 3) line.LineIndent = right - x_ - width;
    else if (!lastLine) {
      // NOTE: only plain spaces are stretched when the line is drawn, so only
      // they are counted; a line that overflows is never squeezed.
      line.Extra = std::max(0, right - left - width);
      for (int i = start; i < start + count - 1; ++i)
        if (s_.Text[static_cast<std::size_t>(i)] == kSpaceChar) ++line.Spaces;
      if (line.Extra == 0) line.Spaces = 0;
    }
  }
  line.DrawWidth = right - left;
  line.SpaceBefore = above;
  line.SpaceAfter = below;
  line.Y = y_;
  line.DrawX = x_ + line.LineIndent;
  line.DrawY = SatAdd(y_, above);
  line.FirstDraw = boxes_ != nullptr;
  const int height = SatAdd(SatAdd(line.LineHt, above), below);
  sectionHeight_ = SatAdd(sectionHeight_, height);
  y_ = SatAdd(y_, height);
  line.DrawHeight = std::max(height, fit.floatHeight);
  for (TInlineObject* object : fit.heldFloats) {
    if (object->Pos >= start + count) continue;  // the line broke before it: the next line meets it again
    object->TopY = y_;
    PlaceFloat(*object);
    line.DrawHeight = std::max(line.DrawHeight, SatAdd(height, object->OuterHeight()));
    runningBottom_ = std::max(runningBottom_, SatAdd(y_, object->OuterHeight()));
  }
  runningBottom_ = std::max(runningBottom_, y_);
  AddLine(std::move(line));
}

int TSection::LayoutSection(gui::TCanvas* canvas, int X, int Y, int, int, int Width, int AHeight, int BlockHeight,
                            IndentManager& IMgr, int& MaxWidth, int& Curs) {
  return LayoutLines(canvas, X, Y, Width, AHeight, BlockHeight, IMgr, MaxWidth, Curs, /*wrap=*/true);
}

int TSection::LayoutLines(gui::TCanvas* canvas, int X, int Y, int Width, int AHeight, int BlockHeight,
                          IndentManager& IMgr, int& MaxWidth, int& Curs, bool wrap) {
  TopY = ContentTop = PaintTop = Y;
  FirstCharPos = Curs;
  CharCount = Len;
  SectionHeight = 0;
  Lines.clear();
  SectionLayout layout(*this, canvas, IMgr, X);
  int height = 0;
  if (Len == 0) {
    MaxWidth = 0;
    if (ClearKind != 0) {
      int clearLeft = 0;
      int clearRight = 0;
      IMgr.ClearYs(clearLeft, clearRight);
      const int left = clearLeft > 0 ? std::max(0, clearLeft - 1 - Y) : 0;
      const int right = clearRight > 0 ? std::max(0, clearRight - 1 - Y) : 0;
      height = ClearKind == 1 ? left : ClearKind == 2 ? right : std::max(left, right);
    }
    SectionHeight = PaintHeight = height;
    ContentBottom = PaintBottom = SatAdd(Y, height);
    return height;
  }
  const int imageHeight = BlockHeight != 0 ? BlockHeight : AHeight;
  height = layout.Run(Y, Width, imageHeight, MaxWidth, wrap);
  if (TInlineList* boxes = layout.Boxes()) boxes->NoteLaidOut(this);
  Curs = SatAdd(Curs, Len);
  SectionHeight = height;
  if (Document && Document->FirstLinePointer && *Document->FirstLinePointer == 0 && !Lines.empty()) {
    const LineRec& first = Lines.front();
    *Document->FirstLinePointer = Y + first.LineHt + first.SpaceBefore - first.Descent;
  }
  PaintHeight = std::max(layout.RunningBottom() - Y, SectionHeight);
  ContentBottom = SatAdd(Y, SectionHeight);
  PaintBottom = SatAdd(Y, PaintHeight);
  ReportProgress();
  return height;
}

namespace {

bool EndsWord(char16_t ch) {
  return ch == kControlChar || ch == kImageChar || ch == kBreakChar || ch == kSpaceChar || ch == u'-' || ch == u'?' ||
         IsWideScript(ch);
}

}  // namespace

void TSection::MeasureWidthRange(gui::TCanvas* canvas, int& MinWidth, int& MaxWidth) {
  if (MinWidthCache >= 1 && ImageObjs().empty()) {
    MinWidth = MinWidthCache;
    MaxWidth = MaxWidthCache;
    return;
  }
  MinWidth = MaxWidth = 0;
  if (Len == 0) return;
  TextMeasurer measure(*this, canvas, TextMeasurer::Use::Measuring);
  int floatSum = 0;
  for (const auto& object : ImageObjs()) {
    int index = 0;
    object->ComputeSize(canvas, Fonts.RunAt(object->Pos, index), 0, 0);
    if (object->PercentSized()) continue;
    if (!object->Floats()) {
      MinWidth = std::max(MinWidth, object->Place.ImageWidth);
      continue;
    }
    floatSum = SatAdd(floatSum, object->OuterWidth());
    SetBreakFlag(object->Pos, kBreakYes);
  }
  for (const TInlineObject* control : FormControls())
    if (control->PercentWidth() <= 0) MinWidth = std::max(MinWidth, control->OuterWidth());
  const auto withIndent = [this](int width, bool first) {
    if (!first) return width;
    if (IndentPercent > 0) return static_cast<int>(std::int64_t{width} * 100 / (100 - IndentPercent));
    return SatAdd(width, FirstLineIndent);
  };
  const BreakText text{Text.data(), BreakFlags.data(), Len, BreakWord};
  int widest = 0;
  for (int start = 0; start < Len;) {
    int end = start;
    while (end < Len && Text[static_cast<std::size_t>(end)] != kBreakChar) ++end;
    const int count = end == Len ? TrimmedLength(text, start, end - start) : end - start;
    widest = std::max(widest, withIndent(measure.Width(start, count), start == 0));
    start = end + 1;
  }
  MaxWidth = SatAdd(widest, floatSum);
  MinWidth = std::max(MinWidth, MinimumWordWidth(measure, withIndent));
  MinWidth = std::max(MinWidth, floatSum);
  MinWidthCache = MinWidth;
  MaxWidthCache = MaxWidth;
}

// The widest piece no line may break: a character with BreakWord, else a word.
template <class Indent>
int TSection::MinimumWordWidth(TextMeasurer& measure, const Indent& withIndent) {
  int widest = 0;
  ForEachUnbreakable([&](int start, int end, bool first) {
    int width = measure.Width(start, end - start);
    if (BreakFlags[static_cast<std::size_t>(end) - 1] == kBreakSoftHyphen) width += measure.HyphenWidth(end - 1);
    widest = std::max(widest, withIndent(width, first));
  });
  return widest;
}

template <class Visit>
void TSection::ForEachUnbreakable(const Visit& visit) const {
  int i = 0;
  while (i < Len && Text[static_cast<std::size_t>(i)] == kSpaceChar) ++i;
  const int firstWord = i;
  while (i < Len) {
    const char16_t ch = Text[static_cast<std::size_t>(i)];
    if (ch == kControlChar || ch == kImageChar || ch == kBreakChar || ch == kSpaceChar) {
      ++i;
      continue;
    }
    int j = i + 1;
    if (IsHighSurrogate(ch) && j < Len && IsLowSurrogate(Text[static_cast<std::size_t>(j)])) ++j;
    const bool single = BreakWord || (IsWideScript(ch) && BreakFlags[static_cast<std::size_t>(i)] == kBreakYes);
    while (!single && j < Len) {
      const char prev = BreakFlags[static_cast<std::size_t>(j) - 1];
      if (prev == kBreakAfter || prev == kBreakSoftHyphen) break;
      const char16_t c = Text[static_cast<std::size_t>(j)];
      if (BreakFlags[static_cast<std::size_t>(j)] == kBreakYes && EndsWord(c)) {
        if (c == u'-' || c == u'?') ++j;
        break;
      }
      ++j;
    }
    visit(i, j, i == firstWord);
    i = j;
  }
}

// The longest piece in characters, one more for a soft hyphen's dash, at the
// widest character of any run (a pixel more each for rounding), with the
// first line's indent. The quick count stands for the longest piece with the
// longest stretch between breakable spaces, which holds it.
std::int64_t TSection::MinWidthBound(PieceCount count) const {
  constexpr std::int64_t kUnbounded = std::numeric_limits<std::int64_t>::max();
  if (HasObjects() || IndentPercent >= 100) return kUnbounded;
  int longest = 0;
  if (count == PieceCount::Stretches)
    longest = LongestStretch();
  else
    ForEachUnbreakable([&](int start, int end, bool) { longest = std::max(longest, end - start); });
  std::int64_t widestChar = 0;
  for (const auto& run : Fonts) {
    const std::int64_t perChar =
        std::int64_t{run->tmMaxCharWidth} + std::max(0, run->Font->CharExtra) + std::max(0, run->Overhang()) + 1;
    widestChar = std::max(widestChar, perChar);
  }
  std::int64_t bound = (std::int64_t{longest} + 1) * widestChar;
  if (IndentPercent > 0) return bound * 100 / (100 - IndentPercent);
  return bound + std::max(0, FirstLineIndent);
}

int TSection::LongestStretch() const {
  if (longestStretch_ >= 0) return longestStretch_;
  return LongestStretchBetweenBreakableSpaces(Text.data(), BreakFlags.data(), static_cast<std::size_t>(Len));
}

// Most text has no word near the width it is given: the bound answers
// without measuring every word and line.
bool TSection::MinWidthWithin(gui::TCanvas* canvas, int Limit) {
  if (MinWidthCache < 1)
    for (const PieceCount count : {PieceCount::Stretches, PieceCount::Pieces})
      if (MinWidthBound(count) <= Limit) return true;
  return TSectionBase::MinWidthWithin(canvas, Limit);
}

// Every 50th text section reports layout progress once per layout of the document.
void TSection::ReportProgress() {
  if (!Document || Document->IsCopy) return;
  const int count = Document->TextSectionCount;
  if (SectionNumber > 0 && SectionNumber % 50 == 0 && LayoutCycle != Document->LayoutCycle && count > 0 &&
      Document->OnProgress)
    Document->OnProgress(static_cast<int>(std::int64_t{SectionNumber} * 100 / count));
  LayoutCycle = Document->LayoutCycle;
}

int TSection::MeasureText(gui::TCanvas* canvas, int start, int count) {
  TextMeasurer measure(*this, canvas, TextMeasurer::Use::Measuring);
  return measure.Width(start, count);
}

}  // namespace engine
