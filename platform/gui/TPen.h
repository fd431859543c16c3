#pragma once
// A pen description: colour, width, style and the mix mode it draws with.
#include "platform/gui/Colors.h"
#include "platform/gui/TGraphicsObject.h"

namespace gui {

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// Each mode is one of the sixteen binary raster operations.
enum TPenMode {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
  pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

class TPen : public TGraphicsObject {
 public:
  win::HPEN Handle() const { return CachedHandle(); }

  TColor Color() const { return color_; }
  void SetColor(TColor Value);
  int Width() const { return width_; }
  void SetWidth(int Value);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle Value);
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode Value);
  // The SetROP2 value of Mode.
  int Rop2() const;

  void Assign(const TPersistent* Source) override;

 protected:
  win::HGDIOBJ CreateHandle() const override;

 private:
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
  TPenMode mode_ = pmCopy;
};

}  // namespace gui
