// The CSS border painter: side polygons, the bevelled styles, double bands and
// dashed or dotted paths that run round equal corners.
#include "engine/paint/BorderPainter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "engine/common/EngineStartup.h"
#include "platform/gui/GdiCalls.h"
#include "platform/gui/UserCalls.h"
#include "platform/win/gdi/Path.h"
#include "platform/win/gdi/RegionObject.h"
#include "platform/win/user/SystemColors.h"

namespace engine {

namespace {

constexpr int kClampTop = -200;
constexpr int kClampBottom = 5000;

// Corners in the order bottom-left, top-left, top-right, bottom-right; side i
// runs from corner i to corner i + 1.
win::POINT Corner(const win::RECT& r, int index) {
  switch (index & 3) {
    case 0: return {r.left, r.bottom};
    case 1: return {r.left, r.top};
    case 2: return {r.right, r.top};
    default: return {r.right, r.bottom};
  }
}

std::array<win::POINT, 4> SidePolygon(const win::RECT& outer, const win::RECT& inner, int side) {
  return {Corner(outer, side), Corner(outer, side + 1), Corner(inner, side + 1), Corner(inner, side)};
}

int SideWidth(const win::RECT& outer, const win::RECT& inner, int side) {
  switch (side) {
    case 0: return inner.left - outer.left;
    case 1: return inner.top - outer.top;
    case 2: return outer.right - inner.right;
    default: return outer.bottom - inner.bottom;
  }
}

int DoubleThird(int width) { return width / 3 + (width % 3 == 2 ? 1 : 0); }

// Left and top take the first colour, right and bottom the second.
gui::TColor Bevel(int side, gui::TColor leftTop, gui::TColor rightBottom) {
  return side < 2 ? leftTop : rightBottom;
}

// A geometric pen selected for one dashed or dotted path; released when the
// path ends or drawing fails.
class DashPen {
 public:
  DashPen(win::HDC dc, std::uint8_t style, int width, gui::TColor color) {
    win::LOGBRUSH brush{win::BS_SOLID, static_cast<win::COLORREF>(color & 0x00FFFFFF), 0};
    win::DWORD penStyle = win::PS_GEOMETRIC | win::PS_JOIN_MITER |
                          (style == bssDotted ? (win::PS_DOT | win::PS_ENDCAP_ROUND)
                                              : (win::PS_DASH | win::PS_ENDCAP_SQUARE));
    pen_ = win::ExtCreatePen(penStyle, static_cast<win::DWORD>(width), &brush, 0, nullptr);
    select_.emplace(dc, pen_);
  }
  ~DashPen() {
    select_.reset();
    if (pen_ != 0) win::DeleteObject(pen_);
  }
  DashPen(const DashPen&) = delete;
  DashPen& operator=(const DashPen&) = delete;
  bool Valid() const { return pen_ != 0; }

 private:
  win::HPEN pen_ = 0;
  std::optional<win::SelectScope> select_;
};

void FillOuterMinusInner(win::HDC dc, const win::RECT& outer, const win::RECT& inner, gui::TColor color) {
  win::HRGN band = win::CreateRectRgn(outer.left, outer.top, outer.right, outer.bottom);
  win::HRGN hole = win::CreateRectRgn(inner.left, inner.top, inner.right, inner.bottom);
  win::CombineRgn(band, band, hole, win::RGN_DIFF);
  win::HBRUSH brush = win::CreateSolidBrush(color);
  win::FillRgn(dc, band, brush);
  win::DeleteObject(brush);
  win::DeleteObject(hole);
  win::DeleteObject(band);
}

// Strokes the dashed or dotted sides: consecutive sides of one style, colour
// and width make one path, closed when it runs all the way round.
void StrokeDashedSides(gui::TCanvas& canvas, const win::RECT& middle, const win::RECT& outer,
                       const win::RECT& inner, const SideStyles& styles, const std::array<gui::TColor, 4>& colors) {
  win::HDC dc = canvas.Handle();
  for (int side = 0; side < 4;) {
    std::uint8_t style = styles[static_cast<std::size_t>(side)];
    int width = SideWidth(outer, inner, side);
    if ((style != bssDashed && style != bssDotted) || width <= 0 || colors[static_cast<std::size_t>(side)] == gui::clNone) {
      ++side;
      continue;
    }
    int first = side;
    int last = side;
    while (last < 3 && styles[static_cast<std::size_t>(last + 1)] == style &&
           colors[static_cast<std::size_t>(last + 1)] == colors[static_cast<std::size_t>(side)] &&
           SideWidth(outer, inner, last + 1) == width)
      ++last;
    DashPen pen(dc, style, width, colors[static_cast<std::size_t>(side)]);
    if (pen.Valid()) {
      win::BeginPath(dc);
      win::POINT start = Corner(middle, first);
      win::MoveToEx(dc, start.x, start.y, nullptr);
      for (int i = first; i <= last; ++i) {
        win::POINT to = Corner(middle, i + 1);
        win::LineTo(dc, to.x, to.y);
      }
      if (first == 0 && last == 3) win::CloseFigure(dc);
      win::EndPath(dc);
      win::StrokePath(dc);
    }
    side = last + 1;
  }
}

}  // namespace

SideStyles MakeSideStyles(std::uint8_t left, std::uint8_t top, std::uint8_t right, std::uint8_t bottom) {
  return {left, top, right, bottom};
}

SideColors MakeSideColors(gui::TColor left, gui::TColor top, gui::TColor right, gui::TColor bottom) {
  return {left, top, right, bottom};
}

gui::TColor DarkenColor(gui::TColor color) {
  if ((color & 0xFF000000) == 0xFF000000) color = win::GetSysColor(static_cast<int>(color & 0x00FFFFFF));
  auto scale = [](unsigned channel) { return static_cast<unsigned>(std::lround(channel * 0.75)); };
  unsigned red = scale(color & 0xFF);
  unsigned green = scale((color >> 8) & 0xFF);
  unsigned blue = scale((color >> 16) & 0xFF);
  return red | (green << 8) | (blue << 16);
}

void FillBorderSide(gui::TCanvas& canvas, const std::array<win::POINT, 4>& points, gui::TColor color, bool printing,
                    int side) {
  const bool vertical = side == 0 || side == 2;
  int thickness = vertical ? std::abs(points[2].x - points[1].x) : std::abs(points[1].y - points[2].y);
  if (thickness == 1) {
    static constexpr int kScreen[4][4] = {{0, 1, 0, 3}, {0, 1, 1, 1}, {2, 0, 2, 1}, {1, 3, 3, 3}};
    static constexpr int kPrint[4][4] = {{0, 1, 0, 3}, {0, 1, 2, 1}, {2, 0, 2, 2}, {1, 3, 3, 3}};
    const int* index = printing ? kPrint[side & 3] : kScreen[side & 3];
    gui::TPen saved;
    saved.Assign(&canvas.Pen());
    canvas.Pen().SetStyle(gui::psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(color);
    canvas.MoveTo(points[static_cast<std::size_t>(index[0])].x, points[static_cast<std::size_t>(index[1])].y);
    canvas.LineTo(points[static_cast<std::size_t>(index[2])].x, points[static_cast<std::size_t>(index[3])].y);
    canvas.SetPen(saved);
    return;
  }
  win::HRGN region = win::CreatePolygonRgn(points.data(), 4, win::ALTERNATE);
  if (region == 0) return;
  win::HBRUSH brush = win::CreateSolidBrush(color);
  win::FillRgn(canvas.Handle(), region, brush);
  win::DeleteObject(brush);
  win::DeleteObject(region);
}

void PaintBorderSides(gui::TCanvas& canvas, win::RECT outer, win::RECT inner, bool printing, gui::TColor background,
                      const SideStyles& styles, const SideColors& colors) {
  // Very tall boxes are drawn only where a page or screen can show them.
  outer.top = std::max(outer.top, kClampTop);
  inner.top = std::max(inner.top, kClampTop);
  outer.bottom = std::min(outer.bottom, kClampBottom);
  inner.bottom = std::min(inner.bottom, kClampBottom);

  bool gapped = false;
  for (std::uint8_t style : styles) gapped |= style == bssDashed || style == bssDotted || style == bssDouble;
  win::RECT middle{(outer.left + inner.left) / 2, (outer.top + inner.top) / 2, (outer.right + inner.right) / 2,
                   (outer.bottom + inner.bottom) / 2};
  win::RECT outerBandInner{outer.left + DoubleThird(SideWidth(outer, inner, 0)),
                           outer.top + DoubleThird(SideWidth(outer, inner, 1)),
                           outer.right - DoubleThird(SideWidth(outer, inner, 2)),
                           outer.bottom - DoubleThird(SideWidth(outer, inner, 3))};
  win::RECT innerBandOuter{inner.left - DoubleThird(SideWidth(outer, inner, 0)),
                           inner.top - DoubleThird(SideWidth(outer, inner, 1)),
                           inner.right + DoubleThird(SideWidth(outer, inner, 2)),
                           inner.bottom + DoubleThird(SideWidth(outer, inner, 3))};
  if (background != gui::clNone && gapped)
    FillOuterMinusInner(canvas.Handle(), outer, inner, background | PaletteRGBFlag);

  std::array<gui::TColor, 4> keys{};
  for (int side = 0; side < 4; ++side) {
    gui::TColor colour = colors[static_cast<std::size_t>(side)];
    // NOTE: a side without a colour has nothing to draw.
    if (colour == gui::clNone) {
      keys[static_cast<std::size_t>(side)] = gui::clNone;
      continue;
    }
    gui::TColor key = colour | PaletteRGBFlag;
    keys[static_cast<std::size_t>(side)] = key;
    gui::TColor dark = DarkenColor(colour) | PaletteRGBFlag;
    auto band = [&](const win::RECT& from, const win::RECT& to, gui::TColor c) {
      FillBorderSide(canvas, SidePolygon(from, to, side), c, printing, side);
    };
    switch (styles[static_cast<std::size_t>(side)]) {
      case bssSolid: band(outer, inner, key); break;
      case bssInset: band(outer, inner, Bevel(side, dark, key)); break;
      case bssOutset: band(outer, inner, Bevel(side, key, dark)); break;
      case bssGroove:
        band(outer, middle, Bevel(side, dark, key));
        band(middle, inner, Bevel(side, key, dark));
        break;
      case bssRidge:
        band(outer, middle, Bevel(side, key, dark));
        band(middle, inner, Bevel(side, dark, key));
        break;
      case bssDouble:
        band(outer, outerBandInner, key);
        band(innerBandOuter, inner, key);
        break;
      default: break;
    }
  }
  StrokeDashedSides(canvas, middle, outer, inner, styles, keys);
}

}  // namespace engine
