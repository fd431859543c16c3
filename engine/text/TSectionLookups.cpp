// TSection: what lies at a point, where the caret of a position goes, the
// character at a position, search, source position mapping and selection copy.
#include <algorithm>
#include <string>

#include "engine/common/TextHelpers.h"
#include "engine/document/SaturatedMath.h"
#include "engine/document/SelTextCount.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TUrlTarget.h"
#include "engine/objects/TFormControlObj.h"
#include "engine/text/TSection.h"
#include "engine/text/TextMeasurer.h"
#include "platform/gui/TCanvas.h"
#include "platform/win/Gdi.h"

namespace engine {
namespace {

constexpr int kCaretSlack = 10;  // a click this far left of a line still finds it

// Measures with the line's justification, as drawing spreads it (preformatted text is never justified).
void JustifyAsDrawn(TextMeasurer& measure, const TSection& section, const LineRec& line) {
  if (!section.IsPreformatted()) measure.Justify(line.Start, line.Extra, line.Spaces);
}

}  // namespace

// The line whose band holds y; -1 when none. Bands follow one another down from the section top.
int TSection::LineAtY(int y) const {
  const auto it = std::partition_point(Lines.begin(), Lines.end(),
                                       [y](const LineRec& line) { return SatAdd(line.Y, line.Height()) <= y; });
  if (it == Lines.end() || it->Y > y) return -1;
  return static_cast<int>(it - Lines.begin());
}

// The text line that holds the character at index; -1 when none.
int TSection::LineAtIndex(int index) const {
  const auto it = std::partition_point(Lines.begin(), Lines.end(), [index](const LineRec& line) {
    return line.Ln == 0 ? line.Start <= index : line.Start + line.Ln <= index;
  });
  if (it == Lines.end() || it->Ln == 0 || it->Start > index) return -1;
  return static_cast<int>(it - Lines.begin());
}

bool TSection::ObjectAtPoint(int X, int Y, TIDObject*& Obj, int& IX, int& IY) {
  for (const auto& object : ImageObjs()) {
    const FloatPlacement& p = object->Place;
    if (X >= object->LeftX && X < SatAdd(object->LeftX, p.ImageWidth) && Y >= object->TopY &&
        Y < SatAdd(object->TopY, p.ImageHeight)) {
      Obj = object.get();
      IX = X - object->LeftX;
      IY = Y - object->TopY;
      return true;
    }
  }
  return false;
}

std::uint8_t TSection::LinkAtPoint(gui::TCanvas* canvas, int X, int Y, std::unique_ptr<TUrlTarget>& UrlTarget,
                                   TFormControlObj*& FormControl, std::string& Title) {
  TIDObject* hit = nullptr;
  int innerX = 0;
  int innerY = 0;
  int index = -1;
  const TInlineObject* image = nullptr;
  if (ObjectAtPoint(X, Y, hit, innerX, innerY)) {
    image = static_cast<TInlineObject*>(hit);
    // NOTE: only images become the document's image under the mouse (panels have no hover state).
    if (Document && image->ObjectKind == TInlineObject::Kind::Image) Document->HoverImage = hit;
    index = image->Pos;
    if (image->FormControl) {
      // An image input's picture: its control takes the point, which a click submits.
      image->FormControl->MouseOverImage(innerX, innerY);
      FormControl = image->FormControl;
      if (image->Title.empty()) return kLinkFlagFormControl;
      Title = image->Title;
      return kLinkFlagFormControl | kLinkFlagTitle;
    }
    if (image->MapLinkAt(innerX, innerY, UrlTarget, Title))
      return Title.empty() ? kLinkFlagTarget : kLinkFlagTarget | kLinkFlagTitle;
  } else {
    const auto it = std::find_if(Lines.begin(), Lines.end(), [Y](const LineRec& line) {
      return line.Ln > 0 && line.DrawY < Y && Y <= SatAdd(line.DrawY, line.LineHt);
    });
    if (it == Lines.end() || X < it->DrawX) return 0;
    const LineRec& line = *it;
    TextMeasurer measure(*this, canvas);
    JustifyAsDrawn(measure, *this, line);
    int extent = 0;
    const int count = measure.FitAcross(line.Start, line.Ln, X - line.DrawX, extent);
    if (count >= line.Ln) return 0;
    index = line.Start + count;
    if (Text[static_cast<std::size_t>(index)] == kImageChar) return 0;
  }
  int runIndex = 0;
  TFontObj* run = Fonts.RunAt(index, runIndex);
  if (!run) return 0;
  std::uint8_t flags = 0;
  if (run->IsLink()) {
    UrlTarget = std::make_unique<TUrlTarget>();
    UrlTarget->Assign(run->UrlTarget());
    // NOTE: the click point goes on the caller's copy, never on the run's own link.
    if (image && image->ServerMap) UrlTarget->Url += "?" + std::to_string(innerX) + "," + std::to_string(innerY);
    if (Document) Document->HoverLink = run;
    flags |= kLinkFlagTarget;
  }
  const std::string& title = image ? image->Title : run->Title();
  if (!title.empty()) {
    Title = title;
    flags |= kLinkFlagTitle;
  }
  return flags;
}

int TSection::CursorAtPoint(gui::TCanvas* canvas, int X, int Y, int& XR, int& YR, int& CaretHeight, bool& InText) {
  const int lineIndex = LineAtY(Y);
  if (lineIndex < 0) return -1;
  const LineRec& line = Lines[static_cast<std::size_t>(lineIndex)];
  if (X < line.DrawX - kCaretSlack || X > line.DrawX + line.DrawWidth) return -1;
  CaretHeight = line.LineHt;
  YR = SatAdd(line.Y, line.SpaceBefore);
  InText = true;
  if (X < line.DrawX) {
    XR = line.DrawX;
    InText = false;
    return FirstCharPos + line.Start;
  }
  TextMeasurer measure(*this, canvas);
  JustifyAsDrawn(measure, *this, line);
  int extent = 0;
  int count = measure.FitAcross(line.Start, line.Ln, X - line.DrawX, extent);
  XR = line.DrawX + extent;
  if (count < line.Ln) {
    const int next = measure.Width(line.Start, count + 1) - extent;
    if (next / 2 + extent < X - line.DrawX) {
      XR += next;
      ++count;
    }
  }
  if (count >= line.Ln) InText = false;
  return FirstCharPos + line.Start + count;
}

bool TSection::CursorToXY(gui::TCanvas* canvas, int Position, int& X, int& Y) {
  const int index = Position - FirstCharPos;
  if (Len == 0 || index < 0 || index >= Len) return false;
  const int lineIndex = LineAtIndex(index);
  if (lineIndex < 0) return false;
  const LineRec& line = Lines[static_cast<std::size_t>(lineIndex)];
  Y = line.Y;
  X = line.DrawX;
  if (canvas) {
    TextMeasurer measure(*this, canvas);
    JustifyAsDrawn(measure, *this, line);
    X += measure.Width(line.Start, index - line.Start);
  }
  return true;
}

bool TSection::CharAtPosition(int Position, char16_t& Ch, TIDObject*& Obj) {
  const int index = Position - FirstCharPos;
  if (index < 0 || index >= Len) return false;
  Ch = Text[static_cast<std::size_t>(index)];
  TInlineObject* object = ObjectAt(index);
  Obj = object ? static_cast<TIDObject*>(object) : static_cast<TIDObject*>(this);
  return true;
}

int TSection::SearchForward(int Position, const std::u16string& Text_, bool MatchCase) {
  if (Len == 0 || Position >= FirstCharPos + Len || Text_.empty()) return -1;
  // A search that matches case reads the text in place.
  const std::u16string lowered = MatchCase ? std::u16string() : WideLowerCase(Text);
  const std::u16string_view haystack = MatchCase ? Text : std::u16string_view(lowered);
  const std::size_t from = static_cast<std::size_t>(std::max(0, Position - FirstCharPos));
  const std::size_t found = haystack.find(Text_, from);
  return found == std::u16string::npos ? -1 : FirstCharPos + static_cast<int>(found);
}

int TSection::SearchBackward(int Position, const std::u16string& Text_, bool MatchCase) {
  const int needle = static_cast<int>(Text_.size());
  if (Position < FirstCharPos || Len < needle || needle == 0) return -1;
  const int before = std::min(Len, Position - FirstCharPos);
  if (before < needle) return -1;
  const std::u16string_view searched = Text.substr(0, static_cast<std::size_t>(before));
  const std::u16string lowered = MatchCase ? std::u16string() : WideLowerCase(searched);
  const std::u16string_view haystack = MatchCase ? searched : std::u16string_view(lowered);
  const std::size_t found = haystack.rfind(Text_);
  return found == std::u16string::npos ? -1 : FirstCharPos + static_cast<int>(found);
}

int TSection::DocPosToSourcePos(int Position) {
  const int index = Position - FirstCharPos;
  if (Len == 0 || SourceIndex.empty() || index < 0 || index >= Len) return -1;
  const auto it = std::partition_point(SourceIndex.begin(), SourceIndex.end(),
                                       [index](const IndexObj& entry) { return entry.Pos <= index; });
  const IndexObj& entry = *(it - 1);
  return entry.SourcePos + index - entry.Pos;
}

int TSection::SourcePosToDocPos(int SourcePos, bool Previous) {
  if (Len == 0 || SourceIndex.empty()) return -1;
  const IndexObj& last = SourceIndex.back();
  const int lastSource = last.SourcePos + (Len - 1 - last.Pos);
  if (!Previous) {
    if (SourcePos > lastSource) return -1;
    if (SourcePos <= SourceIndex.front().SourcePos) return FirstCharPos;
  } else {
    if (SourcePos < SourceIndex.front().SourcePos) return -1;
    if (SourcePos > lastSource) return FirstCharPos + Len - 1;
  }
  // The last entry whose source starts at or before SourcePos.
  const auto it = std::partition_point(SourceIndex.begin(), SourceIndex.end(),
                                       [SourcePos](const IndexObj& entry) { return entry.SourcePos <= SourcePos; });
  const std::size_t k = static_cast<std::size_t>(it - SourceIndex.begin()) - 1;
  const IndexObj& entry = SourceIndex[k];
  const int entryEnd = k + 1 < SourceIndex.size() ? SourceIndex[k + 1].Pos : Len;  // first char after the entry
  const int index = entry.Pos + SourcePos - entry.SourcePos;
  if (index < entryEnd) return FirstCharPos + index;
  return FirstCharPos + (Previous ? entryEnd - 1 : std::min(entryEnd, Len - 1));
}

void TSection::CopyToSelectionBuffer(SelTextCount& buffer) {
  if (!Document || Len == 0) return;
  const int selB = Document->SelB - FirstCharPos;
  const int selE = Document->SelE - FirstCharPos;
  if (selE <= selB) return;
  for (const auto& line : Lines) {
    if (line.Ln == 0) continue;
    const bool lastLine = &line == &Lines.back();
    int from = std::max(selB, line.Start);
    int to = std::min(selE, line.Start + line.Ln);
    if (lastLine && to == line.Start + line.Ln && to > from) --to;  // the section's final space
    // NOTE: a forced break copies as a line end, so that the copy holds every
    // character the count promised and the break survives.
    for (int i = from; i < to; ++i) {
      if (Text[static_cast<std::size_t>(i)] != kBreakChar) continue;
      buffer.Append(Text.data() + from, i - from);
      buffer.AppendLine(nullptr, 0);
      from = i + 1;
    }
    if (to > from) buffer.Append(Text.data() + from, to - from);
  }
  if (selE > Len) buffer.AppendLine(nullptr, 0);
}

}  // namespace engine
