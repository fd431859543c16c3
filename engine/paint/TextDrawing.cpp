#include "engine/paint/TextDrawing.h"

#include <cmath>

#include "engine/common/EngineStartup.h"
#include "platform/win/Gdi.h"
#include "platform/win/text/DrawText.h"
#include "platform/win/text/TextMeter.h"

namespace engine {
namespace {

const win::WCHAR* Wide(const char16_t* text) { return reinterpret_cast<const win::WCHAR*>(text); }

int MeasuredWidth(win::HDC dc, const char16_t* text, int count) {
  win::SIZE size;
  return win::GetTextExtentPoint32W(dc, Wide(text), count, &size) ? size.cx : 0;
}

// The 9x family measures prefixes in a binary search instead of asking for
// every character's extent.
int CountFittingBySearch(win::HDC dc, const char16_t* text, int count, int maxExtent, int& extent) {
  int low = 0;
  int high = count;
  int fitting = count;
  int measuredCount = -1;
  int width = 0;
  while (high >= low) {
    width = MeasuredWidth(dc, text, fitting);
    measuredCount = fitting;
    if (width < maxExtent) {
      low = fitting + 1;
    } else {
      high = fitting - 1;
    }
    if (width == maxExtent) break;
    fitting = (low + high) / 2;
  }
  extent = measuredCount == fitting ? width : MeasuredWidth(dc, text, fitting);
  return fitting;
}

}  // namespace

int CountFittingChars(win::HDC dc, const char16_t* text, int count, int maxExtent, int& extent) {
  extent = 0;
  if (maxExtent <= 0 || count <= 0 || text == nullptr) return 0;
  if (IsWin9x) return CountFittingBySearch(dc, text, count, maxExtent, extent);
  int fit = 0;
  int fitExtent = 0;
  if (!win::fitTextExtent(dc, Wide(text), count, maxExtent, &fit, &fitExtent)) return 0;
  extent = fitExtent;
  return fit;
}

int TextWidth(win::HDC dc, const char16_t* text, int count) {
  if (count <= 0 || text == nullptr) return 0;
  if (IsWin9x) return MeasuredWidth(dc, text, count);
  win::SIZE size;
  return win::GetTextExtentExPointW(dc, Wide(text), count, 0, nullptr, nullptr, &size) ? size.cx : 0;
}

void DrawWrappedText(gui::TCanvas& canvas, int left, int top, int right, int bottom, const char16_t* text,
                     int count) {
  const win::HDC dc = canvas.Handle();
  const win::UINT oldAlign = win::SetTextAlign(dc, 0);
  win::RECT rect{left, top, right, bottom};
  win::DrawTextW(dc, Wide(text), count, &rect, win::DT_WORDBREAK);
  win::SetTextAlign(dc, oldAlign);
}

void FillRectWithColor(gui::TCanvas& canvas, int left, int top, int right, int bottom, gui::TColor color) {
  gui::TBrush& brush = canvas.Brush();
  const gui::TColor oldColor = brush.Color();
  const gui::TBrushStyle oldStyle = brush.Style();
  brush.SetColor(color);
  brush.SetStyle(gui::bsSolid);
  canvas.FillRect(win::RECT{left, top, right, bottom});
  brush.SetColor(oldColor);
  brush.SetStyle(oldStyle);
}

void SetClipRegion(gui::TCanvas& canvas, const win::RECT& rect, bool printing, win::HRGN& oldRegion,
                   win::HRGN& newRegion) {
  const win::HDC dc = canvas.Handle();
  oldRegion = win::CreateRectRgn(0, 0, 1, 1);
  const int hadClip = win::GetClipRgn(dc, oldRegion);
  if (hadClip != 1) {
    win::DeleteObject(oldRegion);
    oldRegion = 0;
  }
  win::POINT origin;
  win::GetWindowOrgEx(dc, &origin);
  if (printing) {
    win::SIZE viewport;
    win::SIZE window;
    win::GetViewportExtEx(dc, &viewport);
    win::GetWindowExtEx(dc, &window);
    const double scaleX = window.cx != 0 ? static_cast<double>(viewport.cx) / window.cx : 1.0;
    const double scaleY = window.cy != 0 ? static_cast<double>(viewport.cy) / window.cy : 1.0;
    auto scaled = [](int value, int originValue, double scale) {
      return static_cast<int>(std::nearbyint((static_cast<double>(value) - originValue) * scale));
    };
    newRegion = win::CreateRectRgn(scaled(rect.left, origin.x, scaleX), scaled(rect.top, origin.y, scaleY),
                                   scaled(rect.right, origin.x, scaleX), scaled(rect.bottom, origin.y, scaleY));
  } else {
    newRegion = win::CreateRectRgn(rect.left - origin.x, rect.top - origin.y, rect.right - origin.x,
                                   rect.bottom - origin.y);
  }
  if (oldRegion != 0) win::CombineRgn(newRegion, newRegion, oldRegion, win::RGN_AND);
  win::SelectClipRgn(dc, newRegion);
}

}  // namespace engine
