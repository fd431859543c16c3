#include "viewer/TPrintGeometry.h"

#include <algorithm>

#include "platform/gui/TPrinter.h"
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/kernel/Arithmetic.h"

namespace viewer {
namespace {

constexpr double kCmPerInch = 2.54;

// Centimetres to device pixels, truncated toward zero.
int CmToDevice(double Cm, int Dpi) { return static_cast<int>(Cm / kCmPerInch * Dpi); }

}  // namespace

TPrinterMetrics TPrinterMetrics::Read(win::HDC DC) {
  TPrinterMetrics m;
  m.DpiX = win::GetDeviceCaps(DC, win::LOGPIXELSX);
  m.DpiY = win::GetDeviceCaps(DC, win::LOGPIXELSY);
  m.HorzRes = win::GetDeviceCaps(DC, win::HORZRES);
  m.VertRes = win::GetDeviceCaps(DC, win::VERTRES);
  m.PhysicalWidth = win::GetDeviceCaps(DC, win::PHYSICALWIDTH);
  m.PhysicalHeight = win::GetDeviceCaps(DC, win::PHYSICALHEIGHT);
  m.OffX = win::GetDeviceCaps(DC, win::PHYSICALOFFSETX);
  m.OffY = win::GetDeviceCaps(DC, win::PHYSICALOFFSETY);
  return m;
}

TPrintGeometry TPrintGeometry::Compute(const TPrinterMetrics& P, int Inch, const TPrintMargins& Margins) {
  if (P.DpiX < 1 || P.DpiY < 1 || Inch < 1) throw gui::EPrinter(gui::kPrinterNotValid);
  TPrintGeometry g;
  g.DpiX = P.DpiX;
  g.DpiY = P.DpiY;
  g.Inch = Inch;
  const int rightGap = std::max(0, P.PhysicalWidth - P.HorzRes - P.OffX);
  const int bottomGap = std::max(0, P.PhysicalHeight - P.VertRes - P.OffY);
  g.LeftDev = CmToDevice(Margins.Left, P.DpiX) - P.OffX;
  g.RightDev = CmToDevice(Margins.Right, P.DpiX) - rightGap;
  g.TopDev = CmToDevice(Margins.Top, P.DpiY) - P.OffY;
  g.BottomDev = CmToDevice(Margins.Bottom, P.DpiY) - bottomGap;
  g.WidthDev = P.HorzRes - (g.LeftDev + g.RightDev);
  g.HeightDev = P.VertRes - (g.TopDev + g.BottomDev);
  g.Left = win::MulDiv(g.LeftDev, Inch, P.DpiX);
  g.Top = win::MulDiv(g.TopDev, Inch, P.DpiY);
  g.Width = win::MulDiv(g.WidthDev, Inch, P.DpiX);
  g.Height = win::MulDiv(g.HeightDev, Inch, P.DpiY);
  g.PageWidth = win::MulDiv(P.HorzRes, Inch, P.DpiX);
  g.PageHeight = win::MulDiv(P.VertRes, Inch, P.DpiY);
  g.BodyRect = {g.Left, g.Top, g.Left + g.Width, g.Top + g.Height};
  g.BodyClip = {g.LeftDev, g.TopDev - 1, g.LeftDev + g.WidthDev + 2, g.TopDev + g.HeightDev + 2};
  return g;
}

void TPrintGeometry::MoveTop(const TPrintGeometry& Start, double DeltaCm) {
  const int logical = static_cast<int>(DeltaCm / kCmPerInch * Inch);
  const int device = CmToDevice(DeltaCm, DpiY);
  Top = Start.Top + logical;
  TopDev = Start.TopDev + device;
  Height = Start.Height - logical;
  HeightDev = Start.HeightDev - device;
  BodyRect = {Left, Top, Left + Width, Top + Height};
  BodyClip = {LeftDev, TopDev, LeftDev + WidthDev + 2, TopDev + HeightDev};
}

}  // namespace viewer
