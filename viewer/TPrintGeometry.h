#pragma once
// The measures of one print run. Logical units are screen pixels scaled by the
// print scale (Inch per inch); device units are printer pixels. Margins are in
// centimetres from the paper's edges, so the unprintable border is taken off.
#include "platform/win/Types.h"

namespace viewer {

struct TPrintMargins {
  double Left = 2.0;
  double Right = 2.0;
  double Top = 2.0;
  double Bottom = 2.0;
};

// What the printer DC reports.
struct TPrinterMetrics {
  int DpiX = 0, DpiY = 0;          // LOGPIXELSX, LOGPIXELSY
  int HorzRes = 0, VertRes = 0;    // printable area
  int PhysicalWidth = 0, PhysicalHeight = 0;
  int OffX = 0, OffY = 0;          // unprintable left and top

  static TPrinterMetrics Read(win::HDC DC);
};

struct TPrintGeometry {
  int DpiX = 0, DpiY = 0, Inch = 0;
  int LeftDev = 0, RightDev = 0, TopDev = 0, BottomDev = 0;
  int WidthDev = 0, HeightDev = 0;
  int Left = 0, Top = 0, Width = 0, Height = 0;  // the page body, logical
  int PageWidth = 0, PageHeight = 0;
  win::RECT BodyRect{};  // logical
  win::RECT BodyClip{};  // device

  // Raises EPrinter "Printer selected is not valid" for a resolution below 1.
  static TPrintGeometry Compute(const TPrinterMetrics& Printer, int Inch, const TPrintMargins& Margins);
  // A body that cannot hold anything: the margins leave no room on the paper.
  bool Empty() const { return Width < 1 || Height < 1; }
  // The top margin changed by DeltaCm since Start was computed: the body moves
  // down (or up) and shrinks by the same amount; the clip loses its slack.
  void MoveTop(const TPrintGeometry& Start, double DeltaCm);
};

}  // namespace viewer
