// Three-dimensional frames over the border painter and plain lines.
#include "engine/paint/Frames3D.h"

#include <algorithm>

#include "engine/document/TSectionList.h"
#include "engine/paint/BorderPainter.h"
#include "engine/paint/PenBrushScope.h"
#include "platform/gui/GdiCalls.h"
#include "platform/win/user/SystemColors.h"

namespace engine {

namespace {

bool IsWhite(gui::TColor color) { return (color & 0x00FFFFFF) == 0x00FFFFFF; }

}  // namespace

bool IsMonochromeDevice(gui::TCanvas& canvas) {
  win::HDC dc = canvas.Handle();
  return win::GetDeviceCaps(dc, win::BITSPIXEL) == 1 && win::GetDeviceCaps(dc, win::PLANES) == 1;
}

void ThinFrame3D(gui::TCanvas& canvas, int left, int top, int right, int bottom, bool raised, gui::TColor dark,
                 gui::TColor light) {
  top = std::max(top, -200);
  bottom = std::min(bottom, 5000);
  PenBrushScope restore(canvas);
  canvas.Pen().SetStyle(gui::psSolid);
  canvas.Pen().SetWidth(1);
  canvas.Pen().SetColor(raised ? light : dark);
  canvas.MoveTo(left, bottom);
  canvas.LineTo(left, top);
  canvas.LineTo(right, top);
  canvas.Pen().SetColor(raised ? dark : light);
  canvas.LineTo(right, bottom);
  canvas.LineTo(left, bottom);
}

void ColoredFrame3D(TSectionList* /*document*/, gui::TCanvas& canvas, int left, int width, bool raised,
                    gui::TColor dark, gui::TColor light, int top, int right, int bottom) {
  if (width == 1) {
    ThinFrame3D(canvas, left, top, right, bottom, raised, dark, light);
    return;
  }
  if (raised) std::swap(dark, light);
  win::RECT outer{left - width + 1, top - width + 1, right + width, bottom + width};
  win::RECT inner{left + 1, top + 1, right, bottom};
  PaintBorderSides(canvas, outer, inner, /*printing=*/false, gui::clNone,
                   MakeSideStyles(bssSolid, bssSolid, bssSolid, bssSolid), MakeSideColors(dark, dark, light, light));
}

void DocumentFrame3D(TSectionList* document, gui::TCanvas& canvas, int left, int width, bool raised, int top,
                     int right, int bottom) {
  gui::TColor dark = gui::clBtnShadow;
  gui::TColor light = gui::clBtnHighlight;
  bool printing = document != nullptr && document->Printing;
  if (document != nullptr &&
      (printing || IsWhite(document->Background) ||
       (document->Background == gui::clWindow && IsWhite(win::GetSysColor(win::COLOR_WINDOW)))))
    light = gui::clSilver;
  if (printing && document->PrintMonochrome && IsMonochromeDevice(canvas)) dark = light = gui::clBlack;
  ColoredFrame3D(document, canvas, left, width, raised, dark, light, top, right, bottom);
}

void DrawControlFrame3D(gui::TCanvas& canvas, int left, int top, int right, int bottom, gui::TColor fillColor,
                        bool useButtonFace, bool checkMono, bool raised) {
  bool mono = checkMono && IsMonochromeDevice(canvas);
  PenBrushScope restore(canvas);
  canvas.Brush().SetStyle(gui::bsSolid);
  canvas.Brush().SetColor(useButtonFace && !mono ? gui::clBtnFace : fillColor);
  canvas.FillRect(win::RECT{left, top, right - 1, bottom - 1});
  canvas.Pen().SetStyle(gui::psInsideFrame);
  canvas.Pen().SetWidth(mono ? 1 : 2);
  canvas.Pen().SetColor(mono ? gui::clBlack : raised ? gui::clSilver : gui::clBtnShadow);
  canvas.MoveTo(left, bottom - 1);
  canvas.LineTo(left, top);
  canvas.LineTo(right - 1, top);
  canvas.Pen().SetColor(mono ? gui::clBlack : raised ? gui::clBtnShadow : gui::clSilver);
  canvas.LineTo(right - 1, bottom - 1);
  canvas.LineTo(left, bottom - 1);
}

}  // namespace engine
