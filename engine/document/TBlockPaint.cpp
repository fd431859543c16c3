// TBlock painting, the print page decisions and the look-ups (the rest of
// TBlock is in TBlock.cpp and TBlockLayout.cpp).
#include <algorithm>

#include "engine/common/EngineStartup.h"
#include "engine/document/SaturatedMath.h"
#include "engine/document/SelTextCount.h"
#include "engine/document/TBlock.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TUrlTarget.h"
#include "engine/paint/BorderPainter.h"
#include "engine/paint/TextDrawing.h"
#include "platform/gui/GdiCalls.h"
#include "platform/win/gdi/Clipping.h"
#include "platform/win/gdi/RegionObject.h"

namespace engine {

namespace {

void RestoreClip(gui::TCanvas& canvas, win::HRGN saved) {
  win::SelectClipRgn(canvas.Handle(), saved);
  if (saved != 0) win::DeleteObject(saved);
}

bool CanHit(const TSectionBase& section, int Y) {
  return !section.LayoutFailed && section.PaintTop <= Y && Y < section.PaintBottom;
}

}  // namespace

bool TBlock::PrintPageDecisions() {
  TSectionList& doc = *Document;
  if (doc.SkipDraw) {
    doc.SkipDraw = false;
    return true;
  }
  const int top = SatAdd(ContentTop, MargArray[Marg::MarginTop]);
  const int pageTop = doc.YOffset;
  if (BreakBefore && !doc.NoOutput) {
    if (top > pageTop) {
      doc.VisibleBottom = std::min(doc.VisibleBottom, top);
      doc.SkipDraw = true;
      return true;
    }
  }
  const int pageHeight = SatSub(doc.VisibleBottom, pageTop);
  const int bottom = SatAdd(ContentTop, PaintHeight);
  if (KeepIntact && top > pageTop && bottom > doc.VisibleBottom &&
      SatSub(PaintHeight, MargArray[Marg::MarginTop]) < pageHeight) {
    doc.VisibleBottom = std::min(doc.VisibleBottom, top);
    return true;
  }
  // The page rules of table blocks (moving a table to the next page, repeated
  // header rows) belong to the table area's block.
  // Glyphs scaled to the printer reach up to a logical pixel below their
  // rounded line box: the page ends below that, so the last line's descenders
  // stay whole, and the next page starts there.
  if (BreakAfter && bottom > pageTop && bottom < doc.VisibleBottom)
    doc.VisibleBottom = SatAdd(bottom, 1);  // at most VisibleBottom, as bottom is below it
  return false;
}

int TBlock::PaintSection(gui::TCanvas* canvas, const win::RECT& clipRect, IndentManager& IMgr, int X, int XRef,
                         int YRef) {
  if (DisplayNone) return 0;
  const int result = SatAdd(ContentTop, SectionHeight);
  if (Document != nullptr && Document->Printing && Positioning != kPosAbsolute && PrintPageDecisions())
    return result;
  if (Visibility == 1) return result;
  int Y = ContentTop;
  if (Positioning == kPosRelative) {
    Y = SatAdd(ContentTop, TopP);
    X = SatAdd(X, LeftP);
  } else if (Positioning == kPosAbsolute) {
    Y = SatAdd(YRef, TopP);
    X = SatAdd(XRef, LeftP);
  }
  // A positioned block inside a table may stand outside the cell that clips it.
  win::HRGN savedClip = 0;
  bool unclipped = canvas != nullptr && Positioning != kPosStatic && Document != nullptr && Document->TableNestLevel > 0;
  if (unclipped) {
    savedClip = win::CreateRectRgn(0, 0, 1, 1);
    if (win::GetClipRgn(canvas->Handle(), savedClip) != 1) {
      win::DeleteObject(savedClip);
      savedClip = 0;
    }
    win::SelectClipRgn(canvas->Handle(), 0);
  }
  try {
    PaintBlock(canvas, clipRect, IMgr, X, Y, XRef, YRef);
  } catch (...) {
    if (unclipped) RestoreClip(*canvas, savedClip);
    throw;
  }
  if (unclipped) RestoreClip(*canvas, savedClip);
  return result;
}

void TBlock::PaintBlock(gui::TCanvas* canvas, const win::RECT& clipRect, IndentManager& IMgr, int X, int Y, int XRef,
                        int YRef) {
  const TBoxValues& m = MargArray;
  const int offset = Document != nullptr ? Document->YOffset : 0;
  win::RECT border{};
  border.left = FloatLR != 0 ? SatClamp(std::int64_t{X} + Indent - m[Marg::PaddingLeft] - m[Marg::BorderLeftWidth])
                             : SatAdd(X, m[Marg::MarginLeft]);
  border.top = SatClamp(std::int64_t{Y} + ClearAddOn + m[Marg::MarginTop] - offset);
  border.right = SatClamp(std::int64_t{border.left} + m[Marg::BorderLeftWidth] + m[Marg::PaddingLeft] + NewWidth +
                          m[Marg::PaddingRight] + m[Marg::BorderRightWidth]);
  int bottom = FloatLR != 0 ? PaintBottom : SatSub(ContentBottom, m[Marg::MarginBottom]);
  if (Positioning == kPosRelative) bottom = SatAdd(bottom, TopP);
  border.bottom = SatSub(bottom, offset);
  win::RECT padding{SatAdd(border.left, m[Marg::BorderLeftWidth]), SatAdd(border.top, m[Marg::BorderTopWidth]),
                    SatSub(border.right, m[Marg::BorderRightWidth]), SatSub(border.bottom, m[Marg::BorderBottomWidth])};
  BorderBox = border;

  const bool printing = Document != nullptr && Document->Printing;
  if (canvas != nullptr && border.top < clipRect.bottom && border.bottom > clipRect.top) {
    TColor background = static_cast<TColor>(m[Marg::BackgroundColor]);
    if (background != kNoColor && (!printing || Document->PrintBackground)) {
      int top = std::max(padding.top, clipRect.top - 2);
      int fillBottom = std::min(padding.bottom, clipRect.bottom);
      if (top < fillBottom)
        FillRectWithColor(*canvas, padding.left, top, padding.right, fillBottom, background | PaletteRGBFlag);
    }
    if (!BackgroundImageUrl().empty() && Document->ShowImages && (!printing || Document->PrintBackground) &&
        Document->ImageHooks.PaintBlockBackground)
      Document->ImageHooks.PaintBlockBackground(*this, *canvas, padding, clipRect);
  }

  win::HRGN oldRegion = 0;
  win::HRGN newRegion = 0;
  const bool clip = OverflowHidden && canvas != nullptr;
  if (clip) {
    win::RECT content{SatAdd(padding.left, m[Marg::PaddingLeft]), SatAdd(padding.top, m[Marg::PaddingTop]),
                      SatSub(padding.right, m[Marg::PaddingRight]), SatSub(padding.bottom, m[Marg::PaddingBottom])};
    SetClipRegion(*canvas, content, printing, oldRegion, newRegion);
  }
  IndentManager* mgr = &IMgr;
  if (Positioning == kPosAbsolute && ownManager_) {
    mgr = ownManager_.get();
    IndentManager* outer = RefIMgr != nullptr ? RefIMgr : &IMgr;
    mgr->Init(outer->LeftEdge, outer->RightEdge);
  }
  const void* previous = mgr->CurrentBlock;
  mgr->CurrentBlock = this;
  int contentX = SatAdd(X, Indent);
  int contentXRef = XRef;
  int contentYRef = YRef;
  if (Positioning == kPosRelative) {
    contentYRef = SatAdd(TopY, TopP);
  } else if (Positioning == kPosAbsolute) {
    contentYRef = SatClamp(std::int64_t{YRef} + TopP + m[Marg::MarginTop] + m[Marg::BorderTopWidth]);
    contentXRef = SatClamp(std::int64_t{XRef} + LeftP + m[Marg::MarginLeft] + m[Marg::BorderLeftWidth]);
  }
  PaintContentList(canvas, clipRect, *mgr, contentX, contentXRef, contentYRef);
  mgr->CurrentBlock = previous;
  if (clip) {
    win::SelectClipRgn(canvas->Handle(), oldRegion);
    if (oldRegion != 0) win::DeleteObject(oldRegion);
    if (newRegion != 0) win::DeleteObject(newRegion);
  }
  if (canvas != nullptr) PaintBlockBorder(canvas, border, padding);
}

void TBlock::PaintContentList(gui::TCanvas* canvas, const win::RECT& clipRect, IndentManager& IMgr, int X, int XRef,
                              int YRef) {
  if (drawListInOrder_ && drawListSize_ == MyCell->Count()) {
    // Content in document order: the cell's walk skips what cannot meet the clip.
    MyCell->PaintSections(canvas, clipRect, IMgr, X, XRef, YRef, ContentTop);
    return;
  }
  for (int i = 0, count = DrawCount(); i < count; ++i) {
    TSectionBase* section = DrawItem(i);
    if (!section->LayoutFailed) section->PaintSection(canvas, clipRect, IMgr, X, XRef, YRef);
  }
}

void TBlock::PaintBlockBorder(gui::TCanvas* canvas, const win::RECT& borderBox, const win::RECT& paddingBox) {
  if (BorderStyle == 0 || canvas == nullptr) return;
  const TBoxValues& m = MargArray;
  auto colour = [&](int index) { return static_cast<gui::TColor>(m[static_cast<std::size_t>(index)]); };
  // NOTE: a side without a colour of its own takes the element's text colour.
  auto side = [&](int index) {
    gui::TColor value = colour(index);
    return value == kNoColor ? TextColor : value;
  };
  auto style = [&](int index) { return static_cast<std::uint8_t>(m[static_cast<std::size_t>(index)]); };
  PaintBorderSides(*canvas, borderBox, paddingBox, Document != nullptr && Document->Printing,
                   colour(Marg::BackgroundColor),
                   MakeSideStyles(style(Marg::BorderLeftStyle), style(Marg::BorderTopStyle),
                                  style(Marg::BorderRightStyle), style(Marg::BorderBottomStyle)),
                   MakeSideColors(side(Marg::BorderLeftColor), side(Marg::BorderTopColor),
                                  side(Marg::BorderRightColor), side(Marg::BorderBottomColor)));
}

std::uint8_t TBlock::LinkAtPoint(gui::TCanvas* canvas, int X, int Y, std::unique_ptr<TUrlTarget>& UrlTarget,
                                 TFormControlObj*& FormControl, std::string& Title) {
  if (DisplayNone) return 0;
  int windowY = SatSub(Y, Document != nullptr ? Document->YOffset : 0);
  if (!BlockTitle().empty() && X >= BorderBox.left && X < BorderBox.right && windowY >= BorderBox.top &&
      windowY < BorderBox.bottom)
    Title = BlockTitle();
  return MyCell->LinkAtPoint(canvas, X, Y, UrlTarget, FormControl, Title);
}

template <class Ask>
bool TBlock::AskDrawListBackward(int Y, Ask ask) {
  int first = 0;
  int last = DrawCount();
  // In document order the draw list is the cell, whose index bounds the candidates.
  if (drawListInOrder_ && drawListSize_ == MyCell->Count()) MyCell->RowRange(Y, first, last);
  for (int i = last - 1; i >= first; --i) {
    TSectionBase& section = *DrawItem(i);
    if (CanHit(section, Y) && ask(section)) return true;
  }
  return false;
}

bool TBlock::ObjectAtPoint(int X, int Y, TIDObject*& Obj, int& IX, int& IY) {
  if (DisplayNone) return false;
  return AskDrawListBackward(Y, [&](TSectionBase& section) { return section.ObjectAtPoint(X, Y, Obj, IX, IY); });
}

int TBlock::CursorAtPoint(gui::TCanvas* canvas, int X, int Y, int& XR, int& YR, int& CaretHeight, bool& InText) {
  if (DisplayNone) return -1;
  int result = -1;
  AskDrawListBackward(Y, [&](TSectionBase& section) {
    result = section.CursorAtPoint(canvas, X, Y, XR, YR, CaretHeight, InText);
    return result >= 0;
  });
  return result;
}

int TBlock::SearchForward(int Position, const std::u16string& Text, bool MatchCase) {
  return DisplayNone ? -1 : MyCell->SearchForward(Position, Text, MatchCase);
}

int TBlock::SearchBackward(int Position, const std::u16string& Text, bool MatchCase) {
  return DisplayNone ? -1 : MyCell->SearchBackward(Position, Text, MatchCase);
}

int TBlock::DocPosToSourcePos(int Position) { return DisplayNone ? -1 : MyCell->DocPosToSourcePos(Position); }

int TBlock::SourcePosToDocPos(int SourcePos, bool Previous) {
  return DisplayNone ? -1 : MyCell->SourcePosToDocPos(SourcePos, Previous);
}

bool TBlock::CursorToXY(gui::TCanvas* canvas, int Position, int& X, int& Y) {
  return !DisplayNone && MyCell->CursorToXY(canvas, Position, X, Y);
}

bool TBlock::CharAtPosition(int Position, char16_t& Ch, TIDObject*& Obj) {
  return !DisplayNone && MyCell->CharAtPosition(Position, Ch, Obj);
}

void TBlock::AddToPositionList(std::vector<TSectionBase*>& list) { MyCell->BuildPositionList(list); }

void TBlock::CopyToSelectionBuffer(SelTextCount& buffer) {
  if (Document == nullptr || DisplayNone) return;
  MyCell->CopyToSelectionBuffer(buffer, Document->SelB, Document->SelE);
  if (TagClass.rfind("p.", 0) == 0 && MyCell->FirstCharPos + MyCell->CharCount < Document->SelE)
    buffer.AppendLine(nullptr, 0);
}

}  // namespace engine
