// TSection: drawing the lines that meet the clip rectangle, with link
// colours, selection, super- and subscripts and full justification.
#include <algorithm>
#include <limits>
#include <memory>

#include "engine/common/EngineStartup.h"
#include "engine/css/TMyFont.h"
#include "engine/document/SaturatedMath.h"
#include "engine/document/TSectionList.h"
#include "engine/paint/TextDrawing.h"
#include "engine/text/TImageRec.h"
#include "engine/text/TInlineList.h"
#include "engine/text/TSection.h"
#include "engine/text/TextMeasurer.h"
#include "platform/gui/TCanvas.h"
#include "platform/win/Gdi.h"
#include "platform/win/text/TextDraw.h"
#include "platform/win/user/SystemColors.h"

namespace engine {
namespace {

constexpr int kClipMargin = 40;  // covers italic overhang and descenders
constexpr win::COLORREF kPrintGrey = 0x02A0A0A0;
constexpr int kSelectionStep = 32000;
// Long unjustified pieces are drawn in slices, so that only the slices that
// meet the clip rectangle are output.
constexpr int kDrawSlice = 2048;

win::COLORREF ResolvedColor(TColor color) {
  if ((color & 0xFF000000u) == 0xFF000000u) return win::GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<win::COLORREF>(color & 0x00FFFFFF);
}

// NUMCOLORS is -1 on devices of more than 8 bits, which are colour devices.
bool IsMonochromeDevice(win::HDC dc) {
  const int colors = win::GetDeviceCaps(dc, win::NUMCOLORS);
  if (colors > 0 && colors < 3) return true;
  return win::GetDeviceCaps(dc, win::BITSPIXEL) * win::GetDeviceCaps(dc, win::PLANES) == 1;
}

}  // namespace

// Draws the lines of one section; one per PaintSection call.
class SectionPainter {
 public:
  SectionPainter(TSection& section, gui::TCanvas& canvas)
      : s_(section), canvas_(canvas), measure_(section, &canvas), dc_(canvas.Handle()) {
    TSectionList* doc = section.Document;
    yOffset_ = doc ? doc->YOffset : 0;
    printing_ = doc && doc->Printing;
    copy_ = doc && doc->IsCopy;
    noBackgrounds_ = printing_ && !doc->PrintBackground;
    if (doc && !copy_) {
      selB_ = doc->SelB - section.FirstCharPos;
      selE_ = doc->SelE - section.FirstCharPos;
      dummyCaret_ = doc->ShowDummyCaret;
      caretAtEnd_ = dummyCaret_ && selB_ == section.Len && doc->CaretPos == doc->SelB;
    }
  }

  void PaintLines(const win::RECT& clip, int x);

 private:
  bool OutsideClip(int left, int right) const {
    return right < clip_.left - kClipMargin || left > clip_.right + kClipMargin;
  }
  bool Selected(int index, int& run) const;
  void DrawLine(LineRec& line, int x, int baseY);
  void FindBoxes(LineRec& line, int x);
  void MeasureBoxes(const LineRec& line, int x, std::vector<BorderRec>& boxes);
  void StretchToObject(const LineRec& line, int index, win::RECT& rect);
  int DrawPiece(int pos, int count, bool selected, int x, int baseline, bool lineEnd, const LineRec& line);
  void SetPieceColors(const TFontObj& run, bool selected);
  void DrawCaretSign(const TFontObj& run, int x, int baseline);

  TSection& s_;
  gui::TCanvas& canvas_;
  TextMeasurer measure_;
  win::HDC dc_;
  int yOffset_ = 0;
  bool printing_ = false;
  bool noBackgrounds_ = false;  // printing without backgrounds: runs and boxes leave theirs out, as blocks do
  bool copy_ = false;
  int selB_ = 0;
  int selE_ = 0;
  win::RECT clip_{};
  bool justified_ = false;
  bool dummyCaret_ = false;
  bool caretAtEnd_ = false;
};

// Whether the character at index is selected, and how many characters on
// the state stays the same (at most 32000).
bool SectionPainter::Selected(int index, int& run) const {
  // With the caret sign shown an empty selection still splits the line at its place.
  const bool none = selE_ < selB_ || (selE_ == selB_ && !dummyCaret_);
  if (copy_ || none || index >= selE_) {
    run = kSelectionStep;
    return false;
  }
  if (index < selB_) {
    run = selB_ - index;
    return false;
  }
  run = std::min(kSelectionStep, selE_ - index);
  return true;
}

void SectionPainter::PaintLines(const win::RECT& clip, int x) {
  clip_ = clip;
  win::SetTextAlign(dc_, win::TA_BASELINE);
  // The first line that reaches into the clip band (lines are in Y order).
  const int clipTop = SatAdd(SatAdd(clip.top, yOffset_), -kClipMargin);
  auto first = std::partition_point(s_.Lines.begin(), s_.Lines.end(), [&](const LineRec& line) {
    return SatAdd(line.Y, line.Height()) < clipTop && !printing_;
  });
  for (auto it = first; it != s_.Lines.end(); ++it) {
    LineRec& line = *it;
    const int top = line.Y;
    if (!printing_ && SatSub(SatSub(top, yOffset_), kClipMargin) >= clip.bottom) break;
    if (printing_ && s_.Document) {
      TSectionList& doc = *s_.Document;
      const int bottom = SatAdd(top, line.DrawHeight);
      const bool tall = line.DrawHeight >= clip.bottom - clip.top;
      if (bottom > doc.VisibleBottom && !tall) {
        if (top < doc.VisibleBottom) doc.VisibleBottom = top;  // the line starts the next page
        continue;
      }
      if (bottom - 1 < clip.top + yOffset_) continue;
      doc.NoOutput = false;  // the page has content: a later break before a block applies
    }
    if (line.Ln <= 0) continue;
    if (line.FirstDraw) FindBoxes(line, x);
    if (line.BorderList) {
      for (const BorderRec& box : *line.BorderList)
        box.Paint(canvas_, x - line.FirstX, printing_, yOffset_, !noBackgrounds_);
    }
    DrawLine(line, x, top);
  }
  win::SetTextJustification(dc_, 0, 0);
}

void SectionPainter::DrawLine(LineRec& line, int x, int top) {
  const int textBottom = SatAdd(SatAdd(top, line.SpaceBefore), line.LineHt);
  line.DrawY = SatSub(textBottom, line.LineHt);
  line.DrawX = x + line.LineIndent;
  const int baseline = SatSub(SatSub(textBottom, line.Descent), yOffset_);
  const bool justify = line.Spaces > 0 && line.Extra > 0 && !s_.IsPreformatted();
  win::SetTextJustification(dc_, justify ? line.Extra : 0, justify ? line.Spaces : 0);
  justified_ = justify;
  int penX = line.DrawX;
  const int end = line.Start + line.Ln;
  for (int pos = line.Start; pos < end;) {
    const char16_t ch = s_.Text[static_cast<std::size_t>(pos)];
    if (ch == kImageChar || ch == kControlChar) {
      TInlineObject* object = s_.ObjectAt(pos);
      if (object) {
        int index = 0;
        TFontObj* run = s_.Fonts.RunAt(pos, index);
        if (object->Floats()) {
          const int floatX = SatAdd(x, object->FloatLeft);
          // Floating images are drawn at the end of the paint, over the text beside them.
          if (s_.Document && object->ObjectKind == TInlineObject::Kind::Image)
            s_.Document->DrawList.push_back(
                std::make_unique<TImageRec>(object, floatX, line.DrawY, baseline + yOffset_, run));
          else
            object->Draw(&canvas_, floatX, run, baseline + yOffset_, line.DrawY);
        } else {
          const int objectX = penX + object->Place.HSpaceL;
          // Printed copies share their form controls with the screen: those draw a picture instead.
          if (printing_) object->DrawForPrint(&canvas_, objectX, run, baseline, line.DrawY - yOffset_, yOffset_);
          else object->Draw(&canvas_, objectX, run, baseline + yOffset_, line.DrawY);
          penX += object->OuterWidth();
        }
        win::SetTextAlign(dc_, win::TA_BASELINE);  // objects may draw their own text with another alignment
      }
      ++pos;
      continue;
    }
    int same = 0;
    const bool selected = Selected(pos, same);
    int pieceEnd = std::min(measure_.PieceEnd(pos, end), pos + same);
    if (!justify && pieceEnd - pos > kDrawSlice) pieceEnd = pos + kDrawSlice;
    if (dummyCaret_ && !selected && pos == selB_) {
      if (const TFontObj* run = measure_.SelectFontAt(pos)) DrawCaretSign(*run, penX, baseline);
    }
    penX = DrawPiece(pos, pieceEnd - pos, selected, penX, baseline, pieceEnd == end, line);
    pos = pieceEnd;
  }
  if (caretAtEnd_ && end == s_.Len) {
    if (const TFontObj* run = measure_.SelectFontAt(end - 1)) DrawCaretSign(*run, penX, baseline);
  }
  win::SetTextJustification(dc_, 0, 0);
}

// The inline boxes that meet the line, measured without drawing: the first
// paint and every later one draw the same pixels.
void SectionPainter::FindBoxes(LineRec& line, int x) {
  line.FirstDraw = false;
  line.BorderList.reset();
  TInlineList* list = InlineListOf(s_.Document);
  if (!list) return;
  const int sectionStart = s_.FirstCharPos;
  const int b = SatAdd(sectionStart, line.Start);
  const int lineEnd = SatAdd(b, line.Ln);
  std::vector<const InlineRec*> found;
  list->BoxesMeeting(b, lineEnd, found);
  auto boxes = std::make_unique<std::vector<BorderRec>>();
  boxes->reserve(found.size());
  for (const InlineRec* record : found) {
    BorderRec box;
    box.BoxValues = record->BoxValues;
    box.TextColor = record->TextColor;
    box.OpenStart = record->StartB < b;
    box.BStart = box.OpenStart ? line.Start : record->StartB - sectionStart;
    box.OpenEnd = lineEnd < record->EndB;
    box.BEnd = box.OpenEnd ? line.Start + line.Ln : record->EndB - sectionStart;
    if (box.BEnd <= box.BStart) continue;  // an element whose end comes before its start in the document
    boxes->push_back(box);
  }
  if (boxes->empty()) return;
  line.FirstX = x;
  MeasureBoxes(line, x, *boxes);
  line.BorderList = std::move(boxes);
}

// X at each box edge by the widths drawing advances by; top and bottom from
// the fonts (and objects) inside the box against the line's baseline.
void SectionPainter::MeasureBoxes(const LineRec& line, int x, std::vector<BorderRec>& boxes) {
  const int start = line.Start;
  const int end = line.Start + line.Ln;
  std::vector<int> cuts;
  for (const BorderRec& box : boxes) {
    cuts.push_back(std::clamp(box.BStart, start, end));
    cuts.push_back(std::clamp(box.BEnd, start, end));
  }
  std::sort(cuts.begin(), cuts.end());
  cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
  std::vector<int> xs(cuts.size(), 0);
  const bool justify = line.Spaces > 0 && line.Extra > 0 && !s_.IsPreformatted();
  win::SetTextJustification(dc_, 0, 0);
  if (justify) measure_.Justify(line.Start, line.Extra, line.Spaces);
  int penX = x + line.LineIndent;
  std::size_t next = 0;
  for (int pos = start;;) {
    while (next < cuts.size() && cuts[next] <= pos) xs[next++] = penX;
    if (pos >= end) break;
    const char16_t ch = s_.Text[static_cast<std::size_t>(pos)];
    if (ch == kImageChar || ch == kControlChar) {
      const TInlineObject* object = s_.ObjectAt(pos);
      if (object && !object->Floats()) penX = SatAdd(penX, object->OuterWidth());
      ++pos;
      continue;
    }
    int pieceEnd = measure_.PieceEnd(pos, end);
    if (next < cuts.size()) pieceEnd = std::min(pieceEnd, cuts[next]);
    penX = SatAdd(penX, measure_.PieceWidth(pos, pieceEnd - pos));
    pos = pieceEnd;
  }
  if (justify) measure_.Justify(0, 0, 0);
  const auto xAt = [&](int index) {
    const auto it = std::lower_bound(cuts.begin(), cuts.end(), std::clamp(index, start, end));
    return xs[static_cast<std::size_t>(it - cuts.begin())];
  };
  const int baseline = SatSub(SatAdd(SatAdd(line.Y, line.SpaceBefore), line.LineHt), line.Descent);
  for (BorderRec& box : boxes) {
    win::RECT rect{xAt(box.BStart), 0, xAt(box.BEnd), 0};
    const int last = std::max(box.BEnd, box.BStart + 1);
    int runIndex = 0;
    bool first = true;
    for (const TFontObj* run = s_.Fonts.RunAt(std::max(box.BStart, start), runIndex); run && run->Pos < last;
         run = s_.Fonts.Items(++runIndex)) {
      const int top = baseline + run->Descent - run->tmHeight + 1;
      const int bottom = baseline + run->Descent;
      rect.top = first ? top : std::min<int>(rect.top, top);
      rect.bottom = first ? bottom : std::max<int>(rect.bottom, bottom);
      first = false;
    }
    for (int i = std::max(box.BStart, start); i < std::min(last, end); ++i) StretchToObject(line, i, rect);
    // A box of one inline object (a bordered image or control) goes round the
    // object itself, not its margins.
    if (box.BEnd == box.BStart + 1 && !box.OpenStart && !box.OpenEnd) {
      const TInlineObject* object = s_.ObjectAt(box.BStart);
      if (object && !object->Floats()) {
        rect.left = SatAdd(rect.left, object->Place.HSpaceL);
        rect.right = SatAdd(rect.left, object->Place.ImageWidth);
        rect.top = std::numeric_limits<int>::max();
        rect.bottom = std::numeric_limits<int>::min();
        StretchToObject(line, box.BStart, rect);
      }
    }
    box.BRect = rect;
  }
}

// An inline image or control inside a box stretches it to the object's
// extent, placed by its vertical alignment as drawing places it.
void SectionPainter::StretchToObject(const LineRec& line, int index, win::RECT& rect) {
  const char16_t ch = s_.Text[static_cast<std::size_t>(index)];
  if (ch != kImageChar && ch != kControlChar) return;
  const TInlineObject* object = s_.ObjectAt(index);
  if (!object || object->Floats()) return;
  const FloatPlacement& p = object->Place;
  const int lineTop = SatAdd(line.Y, line.SpaceBefore);
  const int textBottom = SatAdd(lineTop, line.LineHt);
  const int baseline = SatSub(textBottom, line.Descent);
  int top = 0;
  if (ch == kControlChar) {
    switch (p.Align) {
      case kAlignTop: top = lineTop + p.VSpaceT; break;
      case kAlignMiddle: top = textBottom - (line.LineHt + p.ImageHeight) / 2; break;
      case kAlignBaseline: top = baseline - p.ImageHeight - p.VSpaceB; break;
      default: top = textBottom - p.ImageHeight - p.VSpaceB; break;
    }
  } else {
    int runIndex = 0;
    const TFontObj* run = s_.Fonts.RunAt(index, runIndex);
    switch (p.Align) {
      case kAlignTop: top = lineTop + p.VSpaceT; break;
      case kAlignMiddle:
        top = baseline + (run ? run->Descent - run->tmHeight / 2 : 0) -
              (p.ImageHeight + p.VSpaceB - p.VSpaceT) / 2;
        break;
      default: top = baseline - p.ImageHeight - p.VSpaceB; break;
    }
  }
  rect.top = std::min<int>(rect.top, top);
  rect.bottom = std::max<int>(rect.bottom, SatAdd(top, p.ImageHeight));
}

// A one-pixel rectangle as tall as the run's font, in the text colour.
void SectionPainter::DrawCaretSign(const TFontObj& run, int x, int baseline) {
  const int ascent = run.tmHeight - run.Descent;
  FillRectWithColor(canvas_, x, baseline - ascent, x + 1, baseline + run.Descent,
                    static_cast<TColor>(ResolvedColor(run.Font->Color())));
}

void SectionPainter::SetPieceColors(const TFontObj& run, bool selected) {
  const win::COLORREF text = ResolvedColor(run.Font->Color());
  const TColor background = noBackgrounds_ ? kNoColor : run.Font->bgColor;
  win::COLORREF shown = text;
  if (selected) {
    win::SetBkMode(dc_, win::OPAQUE);
    win::SetBkColor(dc_, text);
    shown = background != kNoColor ? ResolvedColor(background) : text ^ 0xFFFFFF;
  } else if (background == kNoColor) {
    win::SetBkMode(dc_, win::TRANSPARENT);
  } else {
    win::SetBkMode(dc_, win::OPAQUE);
    win::SetBkColor(dc_, ResolvedColor(background));
  }
  if (printing_ && s_.Document) {
    if (s_.Document->PrintMonochrome && IsMonochromeDevice(dc_) && (shown & 0xFFFFFF) != 0xFFFFFF) shown = 0;
    else if (!s_.Document->PrintBackground && (shown & 0xE0E0) == 0xE0E0) shown = kPrintGrey;
  }
  win::SetTextColor(dc_, shown);
}

int SectionPainter::DrawPiece(int pos, int count, bool selected, int x, int baseline, bool lineEnd,
                              const LineRec& line) {
  TFontObj* run = measure_.SelectFontAt(pos);
  if (!run || count <= 0) return x;
  int drawn = count;
  if (lineEnd) {
    const char16_t last = s_.Text[static_cast<std::size_t>(pos + count - 1)];
    if (last == kBreakChar || last == kSpaceChar) --drawn;
  }
  std::u16string text(s_.Text, static_cast<std::size_t>(pos), static_cast<std::size_t>(drawn));
  if (lineEnd && line.Shy) text.push_back(u'-');
  int y = baseline;
  if (run->VerticalShift == kShiftSuperscript) y -= run->FontHeight / 3;
  else if (run->VerticalShift == kShiftSubscript) y += run->Descent / 2 + 1;
  SetPieceColors(*run, selected);
  // Measure before drawing: both read the justification shares from the same break on.
  const int width = measure_.PieceWidth(pos, count);
  // Justified pieces are always output: each output uses up its share of the line's extra space.
  if (!justified_ && OutsideClip(x, x + width)) return x + width;
  const auto* wide = reinterpret_cast<const win::WCHAR*>(text.data());
  if (IsWin95) {
    // That platform draws stray pixels past a piece unless the output is clipped to it.
    const win::RECT piece{x, line.DrawY - yOffset_, x + width, line.DrawY + line.LineHt - yOffset_};
    win::ExtTextOutW(dc_, x, y, win::ETO_CLIPPED, &piece, wide, static_cast<win::UINT>(text.size()), nullptr);
  } else {
    win::TextOutW(dc_, x, y, wide, static_cast<int>(text.size()));
  }
  if (run->Active && !copy_) {
    win::SetTextColor(dc_, 0);
    const int ascent = run->tmHeight - run->Descent;
    const win::RECT focus{x, y - ascent, x + width + 1, y + run->Descent};
    win::DrawFocusRect(dc_, &focus);
  }
  return x + width;
}

int TSection::PaintSection(gui::TCanvas* canvas, const win::RECT& clipRect, IndentManager&, int X, int, int) {
  const int result = SatAdd(ContentTop, SectionHeight);
  if (Len == 0 || !canvas) return result;
  const int yOffset = Document ? Document->YOffset : 0;
  if (SatAdd(SatAdd(TopY, PaintHeight), kClipMargin - yOffset) < clipRect.top ||
      SatSub(SatSub(TopY, yOffset), kClipMargin) >= clipRect.bottom)
    return result;
  SectionPainter painter(*this, *canvas);
  painter.PaintLines(clipRect, X);
  return result;
}

}  // namespace engine
