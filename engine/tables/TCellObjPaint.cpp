// TCellObj painting (the rest of TCellObj is in TCellObj.cpp): background,
// content under a clip of the cell's box, and the frame.
#include <algorithm>
#include <new>

#include "engine/common/EngineStartup.h"
#include "engine/document/SaturatedMath.h"
#include "engine/document/TSectionList.h"
#include "engine/paint/BackgroundTiles.h"
#include "engine/paint/BorderPainter.h"
#include "engine/paint/Frames3D.h"
#include "engine/objects/DocumentImages.h"
#include "engine/paint/TextDrawing.h"
#include "engine/tables/TCellObj.h"
#include "engine/tables/ThtmlTable.h"
#include "images/ImageDrawing.h"
#include "platform/gui/Exception.h"
#include "platform/gui/GdiCalls.h"

namespace engine {
namespace {

// Selects a clip of rect for as long as it lives; the previous clip comes back.
class CellClip {
 public:
  CellClip(gui::TCanvas& canvas, const win::RECT& rect, bool printing) : canvas_(canvas) {
    SetClipRegion(canvas, rect, printing, oldRegion_, newRegion_);
  }
  ~CellClip() {
    win::SelectClipRgn(canvas_.Handle(), oldRegion_);
    if (oldRegion_) win::DeleteObject(oldRegion_);
    if (newRegion_) win::DeleteObject(newRegion_);
  }
  CellClip(const CellClip&) = delete;
  CellClip& operator=(const CellClip&) = delete;

 private:
  gui::TCanvas& canvas_;
  win::HRGN oldRegion_ = 0;
  win::HRGN newRegion_ = 0;
};

}  // namespace

void TCellObj::Draw(gui::TCanvas* canvas, const win::RECT& clipRect, TColor dark, TColor light, bool tableHasBorder,
                    int s, int Y, int X) {
  if (!Cell() || canvas == nullptr) return;
  TSectionList* document = Cell()->Document;
  const int Yo = SatSub(Y, document ? document->YOffset : 0);
  win::RECT outer{SatAdd(X, s), SatAdd(Yo, s), SatAdd(X, Wd), SatAdd(SatAdd(Yo, Ht), s < 0 ? s : 0)};
  win::RECT inner{SatAdd(outer.left, BrdLeft), SatAdd(outer.top, BrdTop), SatSub(outer.right, BrdRight),
                  SatSub(outer.bottom, BrdBottom)};
  SetCellRect(outer);
  if (outer.top >= clipRect.bottom) return;
  DrawBackground(canvas, clipRect, inner, tableHasBorder);
  DrawContent(canvas, clipRect, outer, s, Y, X);
  DrawFrame(canvas, outer, inner, dark, light, tableHasBorder, s, Yo, X);
}

void TCellObj::DrawBackground(gui::TCanvas* canvas, const win::RECT& clipRect, const win::RECT& inner,
                              bool tableHasBorder) {
  if (BackgroundColor != kNoColor) {
    win::RECT band = inner;
    if (HasBorderStyle) {
      if (BrdRight > 0) ++band.right;
      if (BrdBottom > 0) ++band.bottom;
    } else if (tableHasBorder) {
      --band.left;
      --band.top;
    }
    FillRectWithColor(*canvas, band.left, band.top, band.right, band.bottom, BackgroundColor | PaletteRGBFlag);
  }
  if (FetchBackgroundImage()) TileBackgroundImage(canvas, clipRect, inner);
}

// Fetches the background picture once; a picture that cannot be had is
// forgotten, so it is not asked for at every paint.
bool TCellObj::FetchBackgroundImage() {
  TSectionList* document = Cell()->Document;
  if (!extras_) return false;
  Extras& background = *extras_;
  if (background.TiledImage) return true;
  if (background.Image.empty() || background.ImageLoaded || document == nullptr || !document->ShowImages)
    return false;
  background.ImageLoaded = true;
  const std::string name = ExpandImageName(*document, background.Image);
  images::TMaskKind kind = images::mkNone;
  const TLoadedImage loaded = LoadBackgroundImage(*document, name, kind);
  if (loaded.Image) {
    try {
      background.TiledImage = images::MakeTileBitmap(loaded.Image, std::max(Wd, 1), std::max(Ht, 1));
      if (background.TiledImage && loaded.Mask) {
        background.TiledMask = std::make_unique<gui::TBitmap>();
        background.TiledMask->Assign(loaded.Mask);
      }
    } catch (const gui::Exception&) {
      background.TiledImage.reset();  // a kind the tiles cannot take: the cell keeps its colour
      background.TiledMask.reset();
    } catch (const std::bad_alloc&) {
      background.TiledImage.reset();
      background.TiledMask.reset();
    }
    if (loaded.FromCache) ReleaseCachedImage(*document, name);
  }
  if (!background.TiledImage) background.Image.clear();
  return background.TiledImage != nullptr;
}

// Tiles the picture over the part of the inner box that is in view: never a
// bitmap the size of the whole cell.
void TCellObj::TileBackgroundImage(gui::TCanvas* canvas, const win::RECT& clipRect, const win::RECT& inner) {
  TSectionList* document = Cell()->Document;
  const bool printing = document != nullptr && document->Printing;
  TileBackground(*canvas, clipRect, inner, *extras_->TiledImage, extras_->TiledMask.get(), extras_->Position, printing);
}

void TCellObj::DrawContent(gui::TCanvas* canvas, const win::RECT& clipRect, const win::RECT& outer, int s, int Y,
                           int X) {
  TSectionList* document = Cell()->Document;
  const int Yo = outer.top - s;
  if (Cell()->Count() == 0 || Yo >= SatAdd(clipRect.bottom, 200) || SatAdd(Yo, Ht) < -199) return;
  CellClip clip(*canvas, outer, document != nullptr && document->Printing);
  Cell()->PaintContent(canvas, clipRect, std::max(0, Wd - HzSpace() - s), SatAdd(X, s + PadLeft + BrdLeft),
                       SatAdd(Y, PadTop + BrdTop + YIndent), 0, 0);
}

void TCellObj::DrawFrame(gui::TCanvas* canvas, const win::RECT& outer, const win::RECT& inner, TColor dark,
                         TColor light, bool tableHasBorder, int s, int Yo, int X) {
  TSectionList* document = Cell()->Document;
  const bool printing = document != nullptr && document->Printing;
  if (HasBorderStyle) {
    PaintBorderSides(*canvas, outer, inner, printing, BackgroundColor, extras_->BorderStyles, extras_->BorderColors);
    return;
  }
  if (!tableHasBorder || Cell()->Count() == 0) return;
  const bool standard = dark == kButtonShadow && light == kButtonHighlight;
  ThinFrame3D(*canvas, SatAdd(X, s), SatAdd(Yo, s), SatSub(SatAdd(X, Wd), 1), SatSub(SatAdd(Yo, Ht), 1),
              /*raised=*/false, standard ? kButtonShadow : dark, standard ? kButtonHighlight : light);
}

}  // namespace engine
