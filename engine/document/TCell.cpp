// TCell, TBlockCell and TCellObjCell: the cell kinds over TCellBasic.
#include "engine/document/TCell.h"

#include <algorithm>

#include "engine/document/SaturatedMath.h"
#include "engine/document/TBlock.h"
#include "engine/document/TBlockCell.h"
#include "engine/document/TCellObjCell.h"
#include "engine/document/TSectionList.h"

namespace engine {

TCell::TCell(TSectionList* document) : TCellBasic(document) { IMgr = &ownManager_; }

TCell::TCell(TSectionList* document, const TCell& source) : TCellBasic(document, source) { IMgr = &ownManager_; }

TCell::~TCell() = default;

int TCell::LayoutContent(gui::TCanvas* canvas, int Y, int Width, int AHeight, int BlockHeight, int& MaxWidth,
                         int& Curs) {
  return LayoutWithFloats(canvas, Y, Width, AHeight, BlockHeight, MaxWidth, Curs);
}

int TCell::PaintContent(gui::TCanvas* canvas, const win::RECT& clipRect, int ClipWidth, int X, int Y, int XRef,
                        int YRef) {
  return PaintWithFloats(canvas, clipRect, ClipWidth, IMgr->Width, X, Y, XRef, YRef);
}

void TBlockCell::LayoutBlockContent(gui::TCanvas* canvas, int X, int Y, int XRef, int YRef, int Width, int AHeight,
                                    int BlockHeight, int& MaxWidth, int& Curs) {
  StartY = Y;
  FirstCharPos = Curs;
  MaxWidth = 0;
  int total = 0;
  ContentBottom = 0;
  PaintTop = INT32_MAX;
  PaintBottom = 0;
  bool hidesOverflow = OwnerBlock != nullptr && OwnerBlock->OverflowHidden;
  StartIndexing();
  int index = 0;
  for (const auto& section : *this) {
    int sectionMax = 0;
    int height = LayoutOne(*section, canvas, X, SatAdd(Y, total), XRef, YRef, Width, AHeight, BlockHeight,
                           sectionMax, Curs);
    total = SatAdd(total, height);
    MaxWidth = hidesOverflow ? Width : std::max(MaxWidth, sectionMax);
    // Only positioned blocks paint outside their range, and only absolute ones leave the bottom alone.
    const auto* block = section->PaintsOutsideRange ? dynamic_cast<const TBlock*>(section.get()) : nullptr;
    if (block == nullptr || block->Positioning != TBlock::kPosAbsolute)
      ContentBottom = std::max(ContentBottom, section->ContentBottom);
    PaintTop = std::min(PaintTop, section->PaintTop);
    PaintBottom = std::max(PaintBottom, section->PaintBottom);
    NoteLaidOut(index++, *section);
  }
  CharCount = Curs - FirstCharPos;
  ContentHeight = total;
  FinishIndexing();
}

int TCellObjCell::LayoutContent(gui::TCanvas* canvas, int Y, int Width, int AHeight, int BlockHeight, int& MaxWidth,
                                int& Curs) {
  layoutWidth_ = Width;
  if (IMgr == nullptr) return TCellBasic::LayoutContent(canvas, Y, Width, AHeight, BlockHeight, MaxWidth, Curs);
  return LayoutWithFloats(canvas, Y, Width, AHeight, BlockHeight, MaxWidth, Curs);
}

int TCellObjCell::PaintContent(gui::TCanvas* canvas, const win::RECT& clipRect, int ClipWidth, int X, int Y, int XRef,
                               int YRef) {
  if (IMgr == nullptr) return Y;
  return PaintWithFloats(canvas, clipRect, ClipWidth, layoutWidth_, X, Y, XRef, YRef);
}

}  // namespace engine
