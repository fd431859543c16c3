// TCellObj painting (the rest of TCellObj is in TCellObj.cpp): background,
// content under a clip of the cell's box, and the frame.
#include <algorithm>

#include "engine/common/EngineStartup.h"
#include "engine/document/SaturatedMath.h"
#include "engine/document/TSectionList.h"
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

std::uint8_t SideStyle(const TBoxValues& values, Prop style) {
  return static_cast<std::uint8_t>(std::clamp(values[BoxIndex(style)], 0, 255));
}

TColor SideColor(const TBoxValues& values, Prop color) { return static_cast<TColor>(values[BoxIndex(color)]); }

}  // namespace

void TCellObj::Draw(gui::TCanvas* canvas, const win::RECT& clipRect, TColor dark, TColor light, bool tableHasBorder,
                    int s, int Y, int X) {
  if (!Cell || canvas == nullptr) return;
  TSectionList* document = Cell->Document;
  const int Yo = SatSub(Y, document ? document->YOffset : 0);
  win::RECT outer{SatAdd(X, s), SatAdd(Yo, s), SatAdd(X, Wd), SatAdd(SatAdd(Yo, Ht), s < 0 ? s : 0)};
  win::RECT inner{SatAdd(outer.left, BrdLeft), SatAdd(outer.top, BrdTop), SatSub(outer.right, BrdRight),
                  SatSub(outer.bottom, BrdBottom)};
  Cell->CellRect = outer;
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
      if (BoxValues[BoxIndex(Prop::BorderRightWidth)] > 0) ++band.right;
      if (BoxValues[BoxIndex(Prop::BorderBottomWidth)] > 0) ++band.bottom;
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
  TSectionList* document = Cell->Document;
  if (TiledImage) return true;
  if (BackgroundImage.empty() || ImageLoaded || document == nullptr || !document->ShowImages) return false;
  ImageLoaded = true;
  const std::string name = ExpandImageName(*document, BackgroundImage);
  images::TMaskKind kind = images::mkNone;
  TLoadedImage loaded = LoadCachedImage(*document, name, kind);
  if (loaded.Image) {
    try {
      TiledImage = images::MakeTileBitmap(loaded.Image, std::max(Wd, 1), std::max(Ht, 1));
      if (TiledImage && loaded.Mask) {
        TiledMask = std::make_unique<gui::TBitmap>();
        TiledMask->Assign(loaded.Mask);
      }
    } catch (const gui::Exception&) {
      TiledImage.reset();  // a kind the tiles cannot take: the cell keeps its colour
      TiledMask.reset();
    }
    if (loaded.FromCache) ReleaseCachedImage(*document, name);
  }
  if (!TiledImage) BackgroundImage.clear();
  return TiledImage != nullptr;
}

// One axis of the tiling: where the first tile starts relative to the box.
// A repeated axis starts at or before the box's edge; a single tile is placed
// by the position record and kept within the box's reach.
static int FirstTileOffset(const TBackgroundAxis& axis, int box, int image) {
  int offset = 0;
  switch (axis.PosType) {
    case 1: offset = (box - image) / 2; break;
    case 2: case 4: offset = box - image; break;
    case 5: offset = static_cast<int>(std::int64_t{box - image} * axis.Value / 100); break;
    case 6: offset = axis.Value; break;
    default: break;
  }
  offset = std::clamp(offset, -image, std::max(box, 0));
  if (axis.RepeatD) offset -= (offset + image - 1) / image * image;  // back to at or before 0
  return offset;
}

// Tiles the picture over the part of the inner box that is in view: never a
// bitmap the size of the whole cell.
void TCellObj::TileBackgroundImage(gui::TCanvas* canvas, const win::RECT& clipRect, const win::RECT& inner) {
  const int tileWidth = TiledImage->Width();
  const int tileHeight = TiledImage->Height();
  if (tileWidth <= 0 || tileHeight <= 0) return;
  const int boxWidth = inner.right - inner.left;
  const int boxHeight = inner.bottom - inner.top;
  const int top = std::max(inner.top, clipRect.top);
  const int bottom = std::min(inner.bottom, clipRect.bottom);
  if (top >= bottom || boxWidth <= 0) return;
  TSectionList* document = Cell->Document;
  const bool printing = document != nullptr && document->Printing;
  CellClip clip(*canvas, win::RECT{inner.left, top, inner.right, bottom}, printing);
  const int x0 = inner.left + FirstTileOffset(BackgroundPosition.X, boxWidth, tileWidth);
  int y0 = inner.top + FirstTileOffset(BackgroundPosition.Y, boxHeight, tileHeight);
  if (BackgroundPosition.Y.RepeatD && y0 + tileHeight <= top) y0 += (top - y0) / tileHeight * tileHeight;
  const int yEnd = BackgroundPosition.Y.RepeatD ? bottom : std::min(bottom, y0 + tileHeight);
  const int xEnd = BackgroundPosition.X.RepeatD ? inner.right : std::min(inner.right, x0 + tileWidth);
  for (int y = y0; y < yEnd; y += tileHeight) {
    for (int x = x0; x < xEnd; x += tileWidth) {
      if (printing) images::StretchBitmapAsDIB(*canvas, x, y, tileWidth, tileHeight, TiledImage->Handle());
      else if (TiledMask) images::BlitImageThroughMask(canvas->Handle(), TiledImage.get(), TiledMask.get(), x, y, tileWidth, tileHeight);
      else canvas->Draw(x, y, TiledImage.get());
    }
  }
}

void TCellObj::DrawContent(gui::TCanvas* canvas, const win::RECT& clipRect, const win::RECT& outer, int s, int Y,
                           int X) {
  TSectionList* document = Cell->Document;
  const int Yo = outer.top - s;
  if (Cell->Count() == 0 || Yo >= SatAdd(clipRect.bottom, 200) || SatAdd(Yo, Ht) < -199) return;
  CellClip clip(*canvas, outer, document != nullptr && document->Printing);
  Cell->PaintContent(canvas, clipRect, std::max(0, Wd - HzSpace - s), SatAdd(X, s + PadLeft + BrdLeft),
                     SatAdd(Y, PadTop + BrdTop + YIndent), 0, 0);
  Cell->PaintY = Y;
}

void TCellObj::DrawFrame(gui::TCanvas* canvas, const win::RECT& outer, const win::RECT& inner, TColor dark,
                         TColor light, bool tableHasBorder, int s, int Yo, int X) {
  TSectionList* document = Cell->Document;
  const bool printing = document != nullptr && document->Printing;
  if (HasBorderStyle) {
    const SideStyles styles =
        MakeSideStyles(SideStyle(BoxValues, Prop::BorderLeftStyle), SideStyle(BoxValues, Prop::BorderTopStyle),
                       SideStyle(BoxValues, Prop::BorderRightStyle), SideStyle(BoxValues, Prop::BorderBottomStyle));
    const SideColors colors =
        MakeSideColors(SideColor(BoxValues, Prop::BorderLeftColor), SideColor(BoxValues, Prop::BorderTopColor),
                       SideColor(BoxValues, Prop::BorderRightColor), SideColor(BoxValues, Prop::BorderBottomColor));
    PaintBorderSides(*canvas, outer, inner, printing, BackgroundColor, styles, colors);
    return;
  }
  if (!tableHasBorder || Cell->Count() == 0) return;
  const bool standard = dark == kButtonShadow && light == kButtonHighlight;
  ThinFrame3D(*canvas, SatAdd(X, s), SatAdd(Yo, s), SatSub(SatAdd(X, Wd), 1), SatSub(SatAdd(Yo, Ht), 1),
              /*raised=*/false, standard ? kButtonShadow : dark, standard ? kButtonHighlight : light);
}

}  // namespace engine
