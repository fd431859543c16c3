#include "engine/text/BorderRec.h"

#include <algorithm>

#include "engine/document/SaturatedMath.h"
#include "engine/paint/BorderPainter.h"
#include "engine/paint/TextDrawing.h"

namespace engine {
namespace {

// Hostile widths would only make the painter walk huge polygons.
constexpr int kMaxBorderWidth = 1000;

}  // namespace

void BorderRec::Paint(gui::TCanvas& canvas, int xShift, bool printing, int yOffset, bool withBackground) const {
  const auto value = [this](Prop p) { return BoxValues[BoxIndex(p)]; };
  const auto width = [&](Prop p) { return std::clamp(value(p), 0, kMaxBorderWidth); };
  const auto colour = [&](Prop p) {
    const TColor side = static_cast<TColor>(value(p));
    const TColor all = static_cast<TColor>(value(Prop::BorderColor));
    return side != kNoColor ? side : all != kNoColor ? all : TextColor;
  };
  const auto style = [&](Prop p) { return static_cast<std::uint8_t>(std::clamp(value(p), 0, 255)); };
  const win::RECT inner{SatAdd(BRect.left, xShift), SatSub(BRect.top, yOffset), SatAdd(BRect.right, xShift),
                        SatSub(BRect.bottom, yOffset)};
  const TColor background = static_cast<TColor>(value(Prop::BackgroundColor));
  if (background != kNoColor && withBackground)
    FillRectWithColor(canvas, inner.left, inner.top, inner.right, inner.bottom, background);
  // An open side has no border, and the top and bottom borders stop square there.
  const int left = OpenStart ? 0 : width(Prop::BorderLeftWidth);
  const int right = OpenEnd ? 0 : width(Prop::BorderRightWidth);
  const win::RECT outer{inner.left - left, inner.top - width(Prop::BorderTopWidth), inner.right + right,
                        inner.bottom + width(Prop::BorderBottomWidth)};
  PaintBorderSides(canvas, outer, inner, printing, background,
                   MakeSideStyles(OpenStart ? std::uint8_t{bssNone} : style(Prop::BorderLeftStyle), style(Prop::BorderTopStyle),
                                  OpenEnd ? std::uint8_t{bssNone} : style(Prop::BorderRightStyle), style(Prop::BorderBottomStyle)),
                   MakeSideColors(colour(Prop::BorderLeftColor), colour(Prop::BorderTopColor),
                                  colour(Prop::BorderRightColor), colour(Prop::BorderBottomColor)));
}

}  // namespace engine
