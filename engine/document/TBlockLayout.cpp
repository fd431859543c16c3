// TBlock::LayoutSection and its steps (the rest of TBlock is in TBlock.cpp).
#include <algorithm>

#include "engine/css/CssValues.h"
#include "engine/document/SaturatedMath.h"
#include "engine/document/TBlock.h"
#include "engine/document/TSectionList.h"

namespace engine {

namespace {

int Sum(std::initializer_list<int> values) {
  std::int64_t total = 0;
  for (int value : values) total += value;
  return SatClamp(total);
}

}  // namespace

void TBlock::ResolveOffsets(int Width, int AutoCount) {
  const TBoxValues& m = MargArray;
  TopP = m[Marg::TopPos];
  LeftP = m[Marg::LeftPos];
  if (Positioning == kPosStatic) {
    TopP = LeftP = 0;
  } else if (Positioning == kPosRelative) {
    if (TopP == kAutoValue) TopP = 0;
    if (LeftP == kAutoValue) LeftP = 0;
  } else {
    if (TopP == kAutoValue) TopP = 0;
    if (LeftP == kAutoValue) {
      int right = m[Marg::RightPos];
      int width = m[Marg::piWidth];
      if (right == kAutoValue || AutoCount > 0 || width == kAutoValue)
        LeftP = 0;
      else
        LeftP = Sum({Width, -right, -width, -m[Marg::MarginRight], -m[Marg::MarginLeft], -m[Marg::PaddingLeft],
                     -m[Marg::PaddingRight], -m[Marg::BorderLeftWidth], -m[Marg::BorderRightWidth]});
    }
  }
}

void TBlock::PlaceHorizontally(IndentManager& IMgr, int X, int Width, int Yc) {
  const TBoxValues& m = MargArray;
  if (FloatLR == kAlignFloatLeft) {
    Indent = Sum({std::max(X, IMgr.LeftIndent(Yc)), m[Marg::MarginLeft], m[Marg::PaddingLeft],
                  m[Marg::BorderLeftWidth], -X});
  } else if (FloatLR == kAlignFloatRight) {
    // Both sides in the cell's coordinates: the available right edge is X + Width.
    Indent = Sum({std::min(SatAdd(X, Width), IMgr.RightSide(Yc)), -X, -m[Marg::MarginRight],
                  -m[Marg::PaddingRight], -m[Marg::BorderRightWidth], -NewWidth});
  } else {
    Indent = Sum({m[Marg::MarginLeft], m[Marg::PaddingLeft], m[Marg::BorderLeftWidth]});
  }
  PaintTop = m[Marg::MarginTop] < 1 ? SatAdd(Yc, m[Marg::MarginTop]) : Yc;
}

int TBlock::LayoutSection(gui::TCanvas* canvas, int X, int Y, int XRef, int YRef, int Width, int AHeight,
                          int BlockHeight, IndentManager& IMgr, int& MaxWidth, int& Curs) {
  if (DisplayNone) {
    FirstCharPos = Curs;
    CharCount = 0;
    SectionHeight = PaintHeight = ContentBottom = MaxWidth = 0;
    TopY = ContentTop = PaintTop = PaintBottom = Y;
    return 0;
  }
  const int givenY = Y;
  ContentTop = Y;
  ClearAddOn = ClearanceFor(HasClear, Y, IMgr);
  FirstCharPos = Curs;
  MaxWidth = Width;
  int autoCount = ConvertMargins(Width, AHeight);
  const TBoxValues& m = MargArray;
  ResolveOffsets(Width, autoCount);
  if (Positioning == kPosAbsolute) {
    X = LeftP;
    Y = SatAdd(TopP, YRef);
  }
  NewWidth = std::max(0, ComputeBlockWidth(canvas, Width, autoCount, AHeight));

  IndentManager* contentMgr = &IMgr;
  if (Positioning == kPosAbsolute) {
    RefIMgr = &IMgr;
    contentMgr = ownManager_.get();
    contentMgr->Clear();
    contentMgr->Init(0, NewWidth);
    contentMgr->Width = NewWidth;
  }
  MyCell->IMgr = contentMgr;
  const void* previousBlock = contentMgr->CurrentBlock;
  contentMgr->CurrentBlock = this;

  int Yc = SatAdd(Y, ClearAddOn);
  PlaceHorizontally(IMgr, X, Width, Yc);
  TopY = Sum({Yc, m[Marg::MarginTop], m[Marg::PaddingTop], m[Marg::BorderTopWidth]});
  int contentX = SatAdd(X, Indent);
  ContentLeft = contentX;
  int leftIndex = contentMgr->AddLeft(contentX, TopY);
  int rightIndex = contentMgr->AddRight(SatAdd(contentX, NewWidth), TopY);

  int height = m[Marg::piHeight];
  int contentAHeight = height;
  int contentBlockHeight = height >= 1 ? height : AHeight >= 1 ? AHeight : BlockHeight;
  int contentY = TopY;
  int contentXRef = XRef;
  int contentYRef = YRef;
  if (Positioning == kPosRelative) {
    contentY = contentYRef = SatAdd(TopY, TopP);
  } else if (Positioning == kPosAbsolute) {
    contentYRef = Sum({YRef, TopP, m[Marg::MarginTop], m[Marg::BorderTopWidth]});
    contentXRef = Sum({XRef, LeftP, m[Marg::MarginLeft], m[Marg::BorderLeftWidth]});
  }
  int contentMax = 0;
  try {
    MyCell->LayoutBlockContent(canvas, contentX, contentY, contentXRef, contentYRef, NewWidth, contentAHeight,
                               contentBlockHeight, contentMax, Curs);
  } catch (...) {
    contentMgr->DeleteLeft(leftIndex);
    contentMgr->DeleteRight(rightIndex);
    contentMgr->CurrentBlock = previousBlock;
    throw;
  }
  CharCount = Curs - FirstCharPos;

  if (Positioning == kPosStatic)
    MaxWidth = Sum({contentMax, m[Marg::MarginRight], m[Marg::PaddingRight], m[Marg::BorderRightWidth], Indent});
  else
    MaxWidth = Sum({contentMax, HorizontalExtras(), LeftP, -m[Marg::MarginRight], -X});

  int innerBottom = std::max(TopY, SatSub(MyCell->ContentBottom, Positioning == kPosRelative ? TopP : 0));
  if ((OverflowHidden && height > 3) || SatSub(innerBottom, TopY) < height) innerBottom = SatAdd(TopY, height);
  if (Positioning == kPosAbsolute) innerBottom = std::max(innerBottom, contentMgr->FloatsBottom());
  ContentBot = innerBottom;
  ContentBottom = Sum({innerBottom, m[Marg::PaddingBottom], m[Marg::BorderBottomWidth], m[Marg::MarginBottom]});
  PaintBottom = Sum({std::max(innerBottom, MyCell->PaintBottom), m[Marg::PaddingBottom], m[Marg::BorderBottomWidth]});
  int result = SatSub(ContentBottom, givenY);
  SectionHeight = result;

  contentMgr->DeleteLeft(leftIndex);
  contentMgr->DeleteRight(rightIndex);
  contentMgr->CurrentBlock = previousBlock;
  result = FinishLayout(IMgr, X, givenY, result);
  if (DrawCount() == 0) BuildDrawList();
  return result;
}

int TBlock::FinishLayout(IndentManager& IMgr, int X, int Y, int result) {
  const TBoxValues& m = MargArray;
  if (FloatLR != 0 || Positioning == kPosAbsolute) {
    PaintHeight = Positioning == kPosAbsolute ? 0 : result;
    if (FloatLR == kAlignFloatLeft) {
      int rightEdge = Sum({X, Indent, NewWidth, m[Marg::MarginRight], m[Marg::PaddingRight],
                           m[Marg::BorderRightWidth]});
      IMgr.AddFloatBlock(Y, rightEdge, SatSub(PaintBottom, Y), kAlignFloatLeft);
    } else if (FloatLR == kAlignFloatRight) {
      IMgr.AddFloatBlock(Y, SatAdd(NewWidth, HorizontalExtras()), SatSub(PaintBottom, Y), kAlignFloatRight);
    }
    SectionHeight = 0;
    return 0;
  }
  PaintHeight = std::max(SectionHeight, SatSub(IMgr.FloatsBottom(), Y));
  return result;
}

}  // namespace engine
