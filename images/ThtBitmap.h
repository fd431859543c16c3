#pragma once
// ThtBitmap: the frame strip of an animated GIF with its monochrome mask
// (white where transparent). It draws the whole strip or one part of it,
// through the mask when it has one.
#include <memory>

#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"

namespace images {

class ThtBitmap : public gui::TBitmap {
 public:
  ThtBitmap();
  ~ThtBitmap() override;

  gui::TBitmap* Mask() const { return mask_.get(); }
  // Takes ownership; the strip is transparent exactly when it has a mask.
  void SetMask(std::unique_ptr<gui::TBitmap> Mask);
  bool HtTransparent() const { return mask_ != nullptr; }

  void Draw(gui::TCanvas& ACanvas, const win::RECT& Rect) override;
  void DrawBitmapPart(gui::TCanvas& ACanvas, const win::RECT& DestRect, const win::RECT& SourceRect);

 private:
  std::unique_ptr<gui::TBitmap> mask_;
};

}  // namespace images
