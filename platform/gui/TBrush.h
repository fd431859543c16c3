#pragma once
// A brush description: colour and style; bsClear paints nothing and the
// hatched styles paint like bsSolid.
#include "platform/gui/Colors.h"
#include "platform/gui/TGraphicsObject.h"

namespace gui {

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
 public:
  win::HBRUSH Handle() const { return CachedHandle(); }

  TColor Color() const { return color_; }
  void SetColor(TColor Value);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle Value);

  void Assign(const TPersistent* Source) override;

 protected:
  win::HGDIOBJ CreateHandle() const override;

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
};

}  // namespace gui
