#include "platform/gui/ClassicLook.h"

#include <algorithm>
#include <cmath>

#include "platform/gui/GdiCalls.h"
#include "platform/gui/TCustomPanel.h"
#include "platform/win/text/TextMetrics.h"

namespace gui {

namespace {

void setPixel(TCanvas& canvas, int x, int y, TColor color) { canvas.SetPixel(x, y, color); }

// A ring of pixels of the circle glyph: Inner <= distance < Outer from the
// centre; Upper picks the top-left half.
void drawRadioRing(TCanvas& canvas, int x, int y, double inner, double outer, TColor upper, TColor lower) {
  const double centre = (kRadioSize - 1) / 2.0;
  for (int row = 0; row < kRadioSize; ++row)
    for (int column = 0; column < kRadioSize; ++column) {
      const double distance = std::hypot(column - centre, row - centre);
      if (distance < inner || distance >= outer) continue;
      setPixel(canvas, x + column, y + row, column + row < kRadioSize - 1 ? upper : lower);
    }
}

void drawArrowRows(TCanvas& canvas, const win::RECT& rect, ArrowDirection direction, TColor color, int shift) {
  const int size = 4;  // rows of 7, 5, 3 and 1 pixels
  const int centreX = (rect.left + rect.right) / 2 + shift;
  const int centreY = (rect.top + rect.bottom) / 2 + shift;
  canvas.Brush().SetColor(color);
  for (int row = 0; row < size; ++row) {
    const int half = size - 1 - row;
    switch (direction) {
      case ArrowDirection::Up:
        canvas.FillRect({centreX - row, centreY - 2 + row, centreX + row + 1, centreY - 1 + row});
        break;
      case ArrowDirection::Down:
        canvas.FillRect({centreX - half, centreY - 2 + row, centreX + half + 1, centreY - 1 + row});
        break;
      case ArrowDirection::Left:
        canvas.FillRect({centreX - 2 + row, centreY - row, centreX - 1 + row, centreY + row + 1});
        break;
      case ArrowDirection::Right:
        canvas.FillRect({centreX - 2 + row, centreY - half, centreX - 1 + row, centreY + half + 1});
        break;
    }
  }
}

// Copies the trough's checker from a bitmap that holds it once, a column
// wider than the trough so that it can start at either phase: the pixels
// SetPixelV would set, at a fraction of the calls. The bitmap's first row is
// set pixel by pixel; each further row is copied from the rows above it, at
// an even offset, so that the checker doubles in height at each copy. False
// when the bitmap cannot be made.
bool copyChecker(win::HDC dc, const win::RECT& rect, win::COLORREF face, win::COLORREF highlight) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  const win::HDC checker = win::CreateCompatibleDC(dc);
  if (!checker) return false;
  const win::HBITMAP bits = win::CreateCompatibleBitmap(dc, width + 1, height);
  if (!bits) {
    win::DeleteDC(checker);
    return false;
  }
  {
    const win::SelectScope select(checker, bits);
    // Face where column + row is even.
    for (int x = 0; x <= width; ++x) win::SetPixelV(checker, x, 0, x % 2 == 0 ? face : highlight);
    if (height > 1) {
      win::BitBlt(checker, 0, 1, width, 1, checker, 1, 0, win::SRCCOPY);
      win::SetPixelV(checker, width, 1, width % 2 == 0 ? highlight : face);
    }
    for (int rows = 2; rows < height; rows *= 2)
      win::BitBlt(checker, 0, rows, width + 1, std::min(rows, height - rows), checker, 0, 0, win::SRCCOPY);
    // Face where x + y is even on the DC.
    win::BitBlt(dc, rect.left, rect.top, width, height, checker, (rect.left + rect.top) & 1, 0, win::SRCCOPY);
  }
  win::DeleteObject(bits);
  win::DeleteDC(checker);
  return true;
}

// The trough: a checker of button face and highlight, as the classic look has
// it. A scaled DC, where copying would stretch, gets it pixel by pixel.
void paintTrough(TCanvas& canvas, const win::RECT& rect) {
  FillSolid(canvas, rect, clBtnHighlight);
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  const win::COLORREF face = ColorToRGB(clBtnFace);
  const win::HDC dc = canvas.Handle();
  if (win::GetMapMode(dc) == win::MM_TEXT && copyChecker(dc, rect, face, ColorToRGB(clBtnHighlight))) return;
  for (int y = rect.top; y < rect.bottom; ++y)
    for (int x = rect.left + ((rect.left + y) & 1); x < rect.right; x += 2) win::SetPixelV(dc, x, y, face);
}

win::RECT barRect(bool vertical, const win::RECT& bar, int start, int end) {
  return vertical ? win::RECT{bar.left, start, bar.right, end} : win::RECT{start, bar.top, end, bar.bottom};
}

}  // namespace

void FillSolid(TCanvas& Canvas, const win::RECT& Rect, TColor Color) {
  Canvas.Brush().SetStyle(bsSolid);
  Canvas.Brush().SetColor(Color);
  Canvas.FillRect(Rect);
}

void DrawSunkenEdge(TCanvas& Canvas, win::RECT& Rect) {
  Frame3D(Canvas, Rect, clBtnShadow, clBtnHighlight, 1);
  Frame3D(Canvas, Rect, cl3DDkShadow, cl3DLight, 1);
}

void DrawButtonEdge(TCanvas& Canvas, win::RECT& Rect, bool Pressed) {
  if (Pressed) {
    Frame3D(Canvas, Rect, cl3DDkShadow, cl3DDkShadow, 1);
    Frame3D(Canvas, Rect, clBtnShadow, clBtnShadow, 1);
    return;
  }
  Frame3D(Canvas, Rect, cl3DLight, cl3DDkShadow, 1);
  Frame3D(Canvas, Rect, clBtnHighlight, clBtnShadow, 1);
}

void DrawCheckBoxGlyph(TCanvas& Canvas, int X, int Y, bool Checked, bool Enabled, bool Pushed) {
  win::RECT box{X, Y, X + kCheckBoxSize, Y + kCheckBoxSize};
  DrawSunkenEdge(Canvas, box);
  FillSolid(Canvas, box, Enabled && !Pushed ? clWindow : clBtnFace);
  if (!Checked) return;
  // The tick: seven columns, three pixels tall, down then up.
  static constexpr int kTickTop[7] = {5, 6, 7, 6, 5, 4, 3};
  const TColor tick = Enabled ? clWindowText : clBtnShadow;
  Canvas.Brush().SetColor(tick);
  for (int column = 0; column < 7; ++column)
    Canvas.FillRect({X + 3 + column, Y + kTickTop[column], X + 4 + column, Y + kTickTop[column] + 3});
}

void DrawRadioGlyph(TCanvas& Canvas, int X, int Y, bool Checked, bool Enabled, bool Pushed) {
  drawRadioRing(Canvas, X, Y, 5.0, 6.5, clBtnShadow, clBtnHighlight);
  drawRadioRing(Canvas, X, Y, 4.0, 5.0, cl3DDkShadow, cl3DLight);
  drawRadioRing(Canvas, X, Y, 0.0, 4.0, Enabled && !Pushed ? clWindow : clBtnFace,
                Enabled && !Pushed ? clWindow : clBtnFace);
  if (Checked) drawRadioRing(Canvas, X, Y, 0.0, 2.0, Enabled ? clWindowText : clBtnShadow,
                             Enabled ? clWindowText : clBtnShadow);
}

void DrawArrowGlyph(TCanvas& Canvas, const win::RECT& Rect, ArrowDirection Direction, bool Enabled) {
  if (!Enabled) drawArrowRows(Canvas, Rect, Direction, clBtnHighlight, 1);
  drawArrowRows(Canvas, Rect, Direction, Enabled ? clBtnText : clBtnShadow, 0);
}

void DrawControlText(TCanvas& Canvas, int X, int Y, std::u16string_view Text, bool Enabled, TColor Color) {
  Canvas.Brush().SetStyle(bsClear);
  if (!Enabled) {
    Canvas.Font().SetColor(clBtnHighlight);
    Canvas.TextOut(X + 1, Y + 1, Text);
  }
  Canvas.Font().SetColor(Enabled ? Color : clBtnShadow);
  Canvas.TextOut(X, Y, Text);
  Canvas.Brush().SetStyle(bsSolid);
}

void DrawFocusRectangle(TCanvas& Canvas, const win::RECT& Rect) {
  win::SetTextColor(Canvas.Handle(), ColorToRGB(clBlack));
  win::SetBkColor(Canvas.Handle(), ColorToRGB(clWhite));
  win::DrawFocusRect(Canvas.Handle(), &Rect);
}

ScrollBarLayout LayoutScrollBar(const win::RECT& Bar, bool Vertical, const win::SCROLLINFO& Info) {
  ScrollBarLayout layout;
  const int start = Vertical ? Bar.top : Bar.left;
  const int end = Vertical ? Bar.bottom : Bar.right;
  const int thickness = Vertical ? Bar.right - Bar.left : Bar.bottom - Bar.top;
  const int arrow = std::max(0, std::min(thickness, (end - start) / 2));
  layout.lineUp = barRect(Vertical, Bar, start, start + arrow);
  layout.lineDown = barRect(Vertical, Bar, end - arrow, end);
  layout.troughStart = start + arrow;
  layout.troughLength = std::max(0, end - start - 2 * arrow);
  const long long range = static_cast<long long>(Info.nMax) - Info.nMin;
  const long long pageSpan = std::max<long long>(Info.nPage, 1) - 1;
  const long long travel = range - pageSpan;  // positions the thumb can take, less one
  long long thumb = Info.nPage > 0 ? layout.troughLength * static_cast<long long>(Info.nPage) / (range + 1) : arrow;
  thumb = std::clamp<long long>(thumb, kMinThumb, std::max(kMinThumb, layout.troughLength));
  layout.hasThumb = travel > 0 && layout.troughLength >= thumb && layout.troughLength >= kMinThumb;
  const int troughEnd = layout.troughStart + layout.troughLength;
  if (!layout.hasThumb) {
    layout.pageUp = barRect(Vertical, Bar, layout.troughStart, troughEnd);
    return layout;
  }
  layout.thumbLength = static_cast<int>(thumb);
  const long long offset = std::clamp<long long>(Info.nPos - static_cast<long long>(Info.nMin), 0, travel);
  const int thumbStart = layout.troughStart + static_cast<int>((layout.troughLength - thumb) * offset / travel);
  layout.pageUp = barRect(Vertical, Bar, layout.troughStart, thumbStart);
  layout.thumb = barRect(Vertical, Bar, thumbStart, thumbStart + layout.thumbLength);
  layout.pageDown = barRect(Vertical, Bar, thumbStart + layout.thumbLength, troughEnd);
  return layout;
}

ScrollBarPart ScrollBarPartAt(const ScrollBarLayout& Layout, win::POINT Point) {
  const auto inside = [&](const win::RECT& r) {
    return Point.x >= r.left && Point.x < r.right && Point.y >= r.top && Point.y < r.bottom;
  };
  if (inside(Layout.lineUp)) return ScrollBarPart::LineUp;
  if (inside(Layout.lineDown)) return ScrollBarPart::LineDown;
  if (!Layout.hasThumb) return ScrollBarPart::None;
  if (inside(Layout.thumb)) return ScrollBarPart::Thumb;
  if (inside(Layout.pageUp)) return ScrollBarPart::PageUp;
  if (inside(Layout.pageDown)) return ScrollBarPart::PageDown;
  return ScrollBarPart::None;
}

int ScrollPositionForThumb(const ScrollBarLayout& Layout, const win::SCROLLINFO& Info, int ThumbStart) {
  const long long range = static_cast<long long>(Info.nMax) - Info.nMin;
  const long long travel = range - (std::max<long long>(Info.nPage, 1) - 1);
  const long long room = Layout.troughLength - Layout.thumbLength;
  if (travel <= 0 || room <= 0) return Info.nMin;
  const long long along = std::clamp<long long>(ThumbStart - Layout.troughStart, 0, room);
  return static_cast<int>(Info.nMin + (along * travel + room / 2) / room);
}

void PaintScrollBar(TCanvas& Canvas, const win::RECT& Bar, bool Vertical, const win::SCROLLINFO& Info, bool Enabled,
                    ScrollBarPart Pressed) {
  const ScrollBarLayout layout = LayoutScrollBar(Bar, Vertical, Info);
  const bool scrollable = Enabled && layout.hasThumb;
  const auto button = [&](win::RECT rect, ArrowDirection direction, bool pressed) {
    FillSolid(Canvas, rect, clBtnFace);
    win::RECT glyph = rect;
    DrawButtonEdge(Canvas, rect, pressed);
    if (pressed) glyph = {glyph.left + 1, glyph.top + 1, glyph.right + 1, glyph.bottom + 1};
    DrawArrowGlyph(Canvas, glyph, direction, scrollable);
  };
  button(layout.lineUp, Vertical ? ArrowDirection::Up : ArrowDirection::Left, Pressed == ScrollBarPart::LineUp);
  button(layout.lineDown, Vertical ? ArrowDirection::Down : ArrowDirection::Right,
         Pressed == ScrollBarPart::LineDown);
  paintTrough(Canvas, layout.pageUp);
  if (!layout.hasThumb) return;
  paintTrough(Canvas, layout.pageDown);
  if (Pressed == ScrollBarPart::PageUp) FillSolid(Canvas, layout.pageUp, cl3DDkShadow);
  if (Pressed == ScrollBarPart::PageDown) FillSolid(Canvas, layout.pageDown, cl3DDkShadow);
  win::RECT thumb = layout.thumb;
  FillSolid(Canvas, thumb, clBtnFace);
  DrawButtonEdge(Canvas, thumb, false);
}

FontMeasure::FontMeasure(const TFont& Font) {
  font_.Assign(&Font);
  dc_ = win::CreateCompatibleDC(0);
  select_.emplace(dc_, font_.Handle());
  win::TEXTMETRICW metrics{};
  win::GetTextMetricsW(dc_, &metrics);
  lineHeight_ = metrics.tmHeight;
}

FontMeasure::~FontMeasure() {
  select_.reset();
  win::DeleteDC(dc_);
}

int FontMeasure::Width(std::u16string_view Text) const {
  win::SIZE size{};
  win::GetTextExtentPoint32W(dc_, Text.data(), static_cast<int>(Text.size()),
                             &size);
  return size.cx;
}

void FontMeasure::PartialWidths(std::u16string_view Text, std::vector<int>& Ends) const {
  Ends.assign(Text.size(), 0);
  if (Text.empty()) return;
  int fit = 0;
  win::SIZE size{};
  win::GetTextExtentExPointW(dc_, Text.data(), static_cast<int>(Text.size()),
                             0x7FFFFFFF, &fit, Ends.data(), &size);
}

}  // namespace gui
