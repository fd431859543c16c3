#include "engine/paint/BackgroundTiles.h"

#include <algorithm>
#include <cstdint>

#include "engine/paint/TextDrawing.h"
#include "images/ImageDrawing.h"
#include "platform/gui/GdiCalls.h"

namespace engine {
namespace {

// Selects a clip of rect for as long as it lives; the previous clip comes back.
class ClipScope {
 public:
  ClipScope(gui::TCanvas& canvas, const win::RECT& rect, bool printing) : canvas_(canvas) {
    SetClipRegion(canvas, rect, printing, oldRegion_, newRegion_);
  }
  ~ClipScope() {
    win::SelectClipRgn(canvas_.Handle(), oldRegion_);
    if (oldRegion_) win::DeleteObject(oldRegion_);
    if (newRegion_) win::DeleteObject(newRegion_);
  }
  ClipScope(const ClipScope&) = delete;
  ClipScope& operator=(const ClipScope&) = delete;

 private:
  gui::TCanvas& canvas_;
  win::HRGN oldRegion_ = 0;
  win::HRGN newRegion_ = 0;
};

// One axis of the tiling: where the first tile starts relative to the box.
// A repeated axis starts at or before the box's edge; a single tile is placed
// by the position record and kept within the box's reach.
int FirstTileOffset(const TBackgroundAxis& axis, int box, int image) {
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

}  // namespace

void TileBackground(gui::TCanvas& canvas, const win::RECT& clipRect, const win::RECT& box, gui::TBitmap& tile,
                    gui::TBitmap* mask, const TBackgroundPosition& position, bool printing) {
  const int tileWidth = tile.Width();
  const int tileHeight = tile.Height();
  if (tileWidth <= 0 || tileHeight <= 0) return;
  const int boxWidth = box.right - box.left;
  const int boxHeight = box.bottom - box.top;
  const int top = std::max(box.top, clipRect.top);
  const int bottom = std::min(box.bottom, clipRect.bottom);
  if (top >= bottom || boxWidth <= 0) return;
  ClipScope clip(canvas, win::RECT{box.left, top, box.right, bottom}, printing);
  const int x0 = box.left + FirstTileOffset(position.X, boxWidth, tileWidth);
  int y0 = box.top + FirstTileOffset(position.Y, boxHeight, tileHeight);
  if (position.Y.RepeatD && y0 + tileHeight <= top) y0 += (top - y0) / tileHeight * tileHeight;
  const int yEnd = position.Y.RepeatD ? bottom : std::min(bottom, y0 + tileHeight);
  const int xEnd = position.X.RepeatD ? box.right : std::min(box.right, x0 + tileWidth);
  for (int y = y0; y < yEnd; y += tileHeight) {
    for (int x = x0; x < xEnd; x += tileWidth) {
      if (printing) images::StretchBitmapAsDIB(canvas, x, y, tileWidth, tileHeight, tile.Handle());
      else if (mask) images::BlitImageThroughMask(canvas.Handle(), &tile, mask, x, y, tileWidth, tileHeight);
      else canvas.Draw(x, y, &tile);
    }
  }
}

}  // namespace engine
