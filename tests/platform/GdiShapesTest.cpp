#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "platform/win/Gdi.h"
#include "platform/win/gdi/Raster.h"
#include "platform/win/user/SystemColors.h"
#include "tests/platform/GdiTestCanvas.h"

namespace win {
namespace {

using gditest::Canvas;
using gditest::kBlack;
using gditest::kWhite;

TEST(GdiShapes, RectangleCoversLeftTopButNotRightBottom) {
  Canvas canvas(6, 5);
  const HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  SelectObject(canvas.dc, red);
  Rectangle(canvas.dc, 1, 1, 5, 4);
  EXPECT_EQ(canvas.dump(),
            "......\n"
            ".####.\n"
            ".#oo#.\n"
            ".####.\n"
            "......\n");
  SelectObject(canvas.dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(red);
}

TEST(GdiShapes, NullPenShrinksFilledShapesByOnePixel) {
  Canvas canvas(6, 5);
  SelectObject(canvas.dc, GetStockObject(NULL_PEN));
  SelectObject(canvas.dc, GetStockObject(BLACK_BRUSH));
  Rectangle(canvas.dc, 1, 1, 5, 4);
  EXPECT_EQ(canvas.dump(),
            "......\n"
            ".###..\n"
            ".###..\n"
            "......\n"
            "......\n");
}

TEST(GdiShapes, FillRectAndFrameRectUseExclusiveEdges) {
  Canvas canvas(6, 5);
  RECT r{1, 1, 4, 3};
  EXPECT_TRUE(FillRect(canvas.dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
  r = RECT{0, 0, 6, 5};
  FrameRect(canvas.dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(canvas.dump(),
            "######\n"
            "####.#\n"
            "####.#\n"
            "#....#\n"
            "######\n");
  r = RECT{4, 1, 2, 3};  // inverted: nothing
  FillRect(canvas.dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(canvas.at(3, 1), kBlack);
}

// Fills store several pixels at once after reaching an aligned address: every
// start and length sets exactly its pixels and leaves the neighbours.
TEST(GdiShapes, RowFillsSetExactlyTheirPixelsAtAnyStartAndLength) {
  alignas(16) std::uint32_t row[64];
  for (int start = 0; start < 5; ++start) {
    for (int count = 0; count <= 40; ++count) {
      std::fill(std::begin(row), std::end(row), 0x123456u);
      win::applyRop2(row + start, count, 0xABCDEFu, win::R2_COPYPEN);
      for (int i = 0; i < 64; ++i) {
        const bool inside = i >= start && i < start + count;
        ASSERT_EQ(row[i], inside ? 0xABCDEFu : 0x123456u) << start << " " << count << " " << i;
      }
    }
  }
}

TEST(GdiShapes, SystemColourBrushesResolveThroughTheColourTable) {
  Canvas canvas(2, 1);
  const RECT r{0, 0, 1, 1};
  FillRect(canvas.dc, &r, static_cast<HBRUSH>(COLOR_BTNSHADOW + 1));
  EXPECT_EQ(canvas.at(0, 0), GetSysColor(COLOR_BTNSHADOW));
  const HBRUSH window = CreateSolidBrush(kSystemColorFlag | COLOR_HIGHLIGHT);
  FillRect(canvas.dc, &r, window);
  EXPECT_EQ(canvas.at(0, 0), GetSysColor(COLOR_HIGHLIGHT));
  DeleteObject(window);
}

TEST(GdiShapes, LineToLeavesOutTheEndPointAndMovesThePosition) {
  Canvas canvas(6, 4);
  MoveToEx(canvas.dc, 0, 0, nullptr);
  LineTo(canvas.dc, 4, 0);
  LineTo(canvas.dc, 4, 3);
  LineTo(canvas.dc, 1, 3);  // ends before (1, 3)
  POINT at;
  GetCurrentPositionEx(canvas.dc, &at);
  EXPECT_EQ(at, (POINT{1, 3}));
  EXPECT_EQ(canvas.dump(),
            "#####.\n"
            "....#.\n"
            "....#.\n"
            "..###.\n");
}

TEST(GdiShapes, DiagonalLinesStepOnePixelPerColumn) {
  Canvas canvas(6, 4);
  MoveToEx(canvas.dc, 0, 0, nullptr);
  LineTo(canvas.dc, 4, 4);
  MoveToEx(canvas.dc, 0, 3, nullptr);
  LineTo(canvas.dc, 6, 1);
  EXPECT_EQ(canvas.dump(),
            "#.....\n"
            ".#...#\n"
            "..###.\n"
            "##.#..\n");
}

// Horizontal and vertical solid lines take a shortcut; they must set the
// pixels a pixel-by-pixel walk would: from the start, the end left out,
// within the clip (one rectangle or two), on a DC placed anywhere on its
// surface, under the copy, xor and not operations. Replay a case by its seed.
TEST(GdiShapes, StraightLinesSetThePixelsOfAPixelByPixelWalk) {
  constexpr int kWidth = 30, kHeight = 20;
  constexpr std::uint32_t kPen = 0x123456;
  for (std::uint32_t seed = 1; seed <= 400; ++seed) {
    std::uint32_t state = seed;
    auto next = [&](int range) {
      state = state * 1103515245u + 12345u;
      return static_cast<int>((state >> 16) % static_cast<std::uint32_t>(range));
    };
    Surface surface;
    ASSERT_TRUE(allocateSurface(surface, kWidth, kHeight));
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) surface.rowPtr(y)[x] = static_cast<std::uint32_t>(next(1 << 24));
    const POINT origin{next(6), next(4)};
    const RECT visible{next(4), next(4), kWidth - next(4), kHeight - next(4)};
    const HDC dc = createDeviceContextForSurface(&surface, origin, visible, 32);
    // Device-unit clip: none, one rectangle, or two overlapping ones.
    const int clipKind = next(3);
    const RECT first{next(12) - 3, next(8) - 2, 10 + next(20), 6 + next(14)};
    const POINT corner{next(20), next(14)};
    const RECT second{corner.x, corner.y, corner.x + 1 + next(12), corner.y + 1 + next(8)};
    if (clipKind > 0) {
      const HRGN clip = CreateRectRgn(first.left, first.top, first.right, first.bottom);
      if (clipKind == 2) {
        const HRGN more = CreateRectRgn(second.left, second.top, second.right, second.bottom);
        CombineRgn(clip, clip, more, RGN_OR);
        DeleteObject(more);
      }
      SelectClipRgn(dc, clip);
      DeleteObject(clip);
    }
    const int rop2 = std::array{R2_COPYPEN, R2_XORPEN, R2_NOT}[next(3)];
    SetROP2(dc, rop2);
    const HPEN pen = CreatePen(PS_SOLID, 1, pixelToColor(kPen));
    const HGDIOBJ oldPen = SelectObject(dc, pen);
    const POINT a{next(40) - 8, next(30) - 6};
    const POINT b = next(2) ? POINT{next(40) - 8, a.y} : POINT{a.x, next(30) - 6};

    std::vector<std::uint32_t> expected(kWidth * kHeight);
    for (int y = 0; y < kHeight; ++y) std::copy_n(surface.rowPtr(y), kWidth, expected.begin() + y * kWidth);
    auto inRect = [](const RECT& r, LONG x, LONG y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; };
    const int length = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
    for (int i = 0; i < length; ++i) {
      const LONG x = a.x + (b.x > a.x ? i : b.x < a.x ? -i : 0), y = a.y + (b.y > a.y ? i : b.y < a.y ? -i : 0);
      const bool clipped = clipKind == 0 || inRect(first, x, y) || (clipKind == 2 && inRect(second, x, y));
      const LONG sx = x + origin.x, sy = y + origin.y;
      if (!clipped || !inRect(visible, sx, sy)) continue;
      std::uint32_t& p = expected[sy * kWidth + sx];
      p = rop2 == R2_COPYPEN ? kPen : rop2 == R2_XORPEN ? (p ^ kPen) & 0xFFFFFF : ~p & 0xFFFFFF;
    }
    MoveToEx(dc, a.x, a.y, nullptr);
    LineTo(dc, b.x, b.y);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        ASSERT_EQ(surface.rowPtr(y)[x] & 0xFFFFFF, expected[y * kWidth + x])
            << "seed " << seed << " at " << x << "," << y;
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    releaseDeviceContext(dc);
  }
}

TEST(GdiShapes, XorPenTwiceRestoresThePixels) {
  Canvas canvas(8, 8);
  SetROP2(canvas.dc, R2_XORPEN);
  const HPEN white = CreatePen(PS_SOLID, 1, kWhite);
  SelectObject(canvas.dc, white);
  const std::string before = canvas.dump();
  const POINT points[] = {{0, 0}, {7, 2}, {3, 7}, {0, 0}};
  Polyline(canvas.dc, points, 4);
  EXPECT_NE(canvas.dump(), before);
  Polyline(canvas.dc, points, 4);
  EXPECT_EQ(canvas.dump(), before);
  SelectObject(canvas.dc, GetStockObject(BLACK_PEN));
  DeleteObject(white);
}

TEST(GdiShapes, PolygonFillModesDifferInsideTheSelfOverlap) {
  // A pentagram: its centre has winding number 2.
  const POINT star[] = {{10, 0}, {16, 19}, {0, 7}, {20, 7}, {4, 19}};
  for (int mode : {ALTERNATE, WINDING}) {
    Canvas canvas(21, 20);
    SelectObject(canvas.dc, GetStockObject(NULL_PEN));
    SelectObject(canvas.dc, GetStockObject(BLACK_BRUSH));
    SetPolyFillMode(canvas.dc, mode);
    Polygon(canvas.dc, star, 5);
    EXPECT_EQ(canvas.at(10, 10), mode == WINDING ? kBlack : kWhite) << mode;
    EXPECT_EQ(canvas.at(10, 3), kBlack);
    EXPECT_EQ(canvas.at(1, 1), kWhite);
  }
}

TEST(GdiShapes, EllipseTouchesEveryEdgeOfItsBoxAndStaysInside) {
  Canvas canvas(12, 9);
  SelectObject(canvas.dc, GetStockObject(BLACK_BRUSH));
  Ellipse(canvas.dc, 1, 1, 11, 8);
  const Surface& s = canvas.surface();
  int left = 99, top = 99, right = -1, bottom = -1;
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x)
      if (canvas.at(x, y) == kBlack) {
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
      }
  EXPECT_EQ(left, 1);
  EXPECT_EQ(top, 1);
  EXPECT_EQ(right, 10);
  EXPECT_EQ(bottom, 7);
  EXPECT_EQ(canvas.at(1, 1), kWhite);  // corners are cut
  EXPECT_EQ(canvas.at(10, 7), kWhite);
}

TEST(GdiShapes, EllipseOutlineAndInteriorDoNotOverlapUnderXor) {
  Canvas canvas(16, 12);
  SetROP2(canvas.dc, R2_NOT);
  Ellipse(canvas.dc, 1, 1, 15, 11);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 16; ++x) EXPECT_NE(canvas.at(x, y), RGB(1, 1, 1));  // every pixel inverted at most once
  EXPECT_EQ(canvas.at(8, 6), kBlack);
  Ellipse(canvas.dc, 1, 1, 15, 11);
  EXPECT_EQ(canvas.dump().find('#'), std::string::npos);
}

TEST(GdiShapes, WidePenIsCentredOnTheOutline) {
  Canvas canvas(12, 12);
  const HPEN wide = CreatePen(PS_SOLID, 3, kBlack);
  SelectObject(canvas.dc, wide);
  SelectObject(canvas.dc, GetStockObject(NULL_BRUSH));
  Rectangle(canvas.dc, 3, 3, 9, 9);
  EXPECT_EQ(canvas.at(2, 5), kBlack);  // one pixel outside
  EXPECT_EQ(canvas.at(4, 5), kBlack);  // one pixel inside
  EXPECT_EQ(canvas.at(5, 5), kWhite);
  EXPECT_EQ(canvas.at(1, 5), kWhite);
  EXPECT_EQ(canvas.at(9, 5), kBlack);
  EXPECT_EQ(canvas.at(10, 5), kWhite);
  SelectObject(canvas.dc, GetStockObject(BLACK_PEN));
  DeleteObject(wide);

  Canvas inside(12, 12);
  const HPEN frame = CreatePen(PS_INSIDEFRAME, 3, kBlack);
  SelectObject(inside.dc, frame);
  SelectObject(inside.dc, GetStockObject(NULL_BRUSH));
  Rectangle(inside.dc, 3, 3, 11, 11);
  EXPECT_EQ(inside.at(2, 7), kWhite);
  EXPECT_EQ(inside.at(3, 7), kBlack);
  EXPECT_EQ(inside.at(5, 7), kBlack);
  EXPECT_EQ(inside.at(6, 7), kWhite);
  EXPECT_EQ(inside.at(8, 7), kBlack);
  EXPECT_EQ(inside.at(10, 7), kBlack);
  EXPECT_EQ(inside.at(11, 7), kWhite);
  SelectObject(inside.dc, GetStockObject(BLACK_PEN));
  DeleteObject(frame);
}

TEST(GdiShapes, StockPensAreHairlinesUnderAScalingTransform) {
  LOGPEN described{};
  ASSERT_EQ(GetObjectW(GetStockObject(BLACK_PEN), sizeof described, &described), static_cast<int>(sizeof described));
  EXPECT_EQ(described.lopnWidth.x, 0);
  // The printing transform: 96 logical units are 300 device pixels.
  for (int stock : {BLACK_PEN, WHITE_PEN, -1}) {
    Canvas canvas(40, 40, false, stock == WHITE_PEN ? kBlack : kWhite);
    SetMapMode(canvas.dc, MM_ANISOTROPIC);
    SetWindowExtEx(canvas.dc, 96, 96, nullptr);
    SetViewportExtEx(canvas.dc, 300, 300, nullptr);
    if (stock >= 0) SelectObject(canvas.dc, GetStockObject(stock));  // -1: the pen a new DC starts with
    MoveToEx(canvas.dc, 1, 4, nullptr);
    LineTo(canvas.dc, 10, 4);
    const COLORREF background = stock == WHITE_PEN ? kBlack : kWhite;
    int rows = 0;
    for (int y = 0; y < 40; ++y) rows += canvas.at(20, y) != background ? 1 : 0;
    EXPECT_EQ(rows, 1) << stock;
  }
}

TEST(GdiShapes, DashedCosmeticLinesPaintGapsOnlyWhenOpaque) {
  Canvas canvas(30, 2);
  const HPEN dotted = CreatePen(PS_DOT, 1, kBlack);
  SelectObject(canvas.dc, dotted);
  SetBkMode(canvas.dc, TRANSPARENT);
  MoveToEx(canvas.dc, 0, 0, nullptr);
  LineTo(canvas.dc, 12, 0);
  SetBkMode(canvas.dc, OPAQUE);
  SetBkColor(canvas.dc, RGB(255, 0, 0));
  MoveToEx(canvas.dc, 0, 1, nullptr);
  LineTo(canvas.dc, 12, 1);
  EXPECT_EQ(canvas.dump(),
            "###...###.....................\n"
            "###ooo###ooo..................\n");
  SelectObject(canvas.dc, GetStockObject(BLACK_PEN));
  DeleteObject(dotted);
}

TEST(GdiShapes, GeometricDashedPathRunsRoundTheCorners) {
  Canvas canvas(40, 40);
  LOGBRUSH brush{BS_SOLID, kBlack, 0};
  const HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_DASH | PS_ENDCAP_SQUARE | PS_JOIN_MITER, 2, &brush, 0, nullptr);
  ASSERT_NE(pen, 0u);
  SelectObject(canvas.dc, pen);
  BeginPath(canvas.dc);
  MoveToEx(canvas.dc, 5, 5, nullptr);
  LineTo(canvas.dc, 35, 5);
  LineTo(canvas.dc, 35, 35);
  LineTo(canvas.dc, 5, 35);
  CloseFigure(canvas.dc);
  EndPath(canvas.dc);
  EXPECT_EQ(canvas.dump().find('#'), std::string::npos);  // nothing drawn while recording
  EXPECT_TRUE(StrokePath(canvas.dc));
  int onTop = 0;
  for (int x = 0; x < 40; ++x) onTop += canvas.at(x, 5) == kBlack;
  EXPECT_GT(onTop, 10);
  EXPECT_LT(onTop, 30);  // gaps
  EXPECT_EQ(canvas.at(20, 20), kWhite);
  EXPECT_FALSE(StrokePath(canvas.dc));  // the path is used up
  SelectObject(canvas.dc, GetStockObject(BLACK_PEN));
  DeleteObject(pen);
}

TEST(GdiShapes, PathToRegionAndFillPathAgreeWithPolygon) {
  Canvas canvas(10, 10);
  BeginPath(canvas.dc);
  const POINT triangle[] = {{0, 0}, {9, 0}, {0, 9}};
  Polygon(canvas.dc, triangle, 3);
  EndPath(canvas.dc);
  const HRGN region = PathToRegion(canvas.dc);
  const HRGN expected = CreatePolygonRgn(triangle, 3, ALTERNATE);
  EXPECT_TRUE(EqualRgn(region, expected));
  EXPECT_EQ(PathToRegion(canvas.dc), 0u);
  DeleteObject(region);
  DeleteObject(expected);
}

TEST(GdiShapes, HugeCoordinatesDrawOnlyWhatIsVisible) {
  Canvas canvas(20, 20);
  SelectObject(canvas.dc, GetStockObject(BLACK_BRUSH));
  Rectangle(canvas.dc, -2000000000, -2000000000, 2000000000, 2000000000);
  Ellipse(canvas.dc, -2000000000, -2000000000, 2000000000, 2000000000);
  MoveToEx(canvas.dc, -2000000000, 5, nullptr);
  LineTo(canvas.dc, 2000000000, 7);
  const HPEN dashed = CreatePen(PS_DASH, 1, kBlack);
  SelectObject(canvas.dc, dashed);
  LineTo(canvas.dc, -2000000000, -2000000000);
  LOGBRUSH brush{BS_SOLID, kBlack, 0};
  const HPEN wide = ExtCreatePen(PS_GEOMETRIC | PS_DOT, 3, &brush, 0, nullptr);
  SelectObject(canvas.dc, wide);
  LineTo(canvas.dc, 2000000000, 2000000000);
  const POINT huge[] = {{-2000000000, 0}, {2000000000, 1}, {0, 2000000000}};
  Polygon(canvas.dc, huge, 3);
  RECT r{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX};
  FillRect(canvas.dc, &r, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
  EXPECT_EQ(canvas.at(10, 10), RGB(128, 128, 128));
  SelectObject(canvas.dc, GetStockObject(BLACK_PEN));
  DeleteObject(dashed);
  DeleteObject(wide);
}

TEST(GdiShapes, PixelsOutsideTheClipAreNeitherSetNorRead) {
  Canvas canvas(4, 4);
  IntersectClipRect(canvas.dc, 0, 0, 2, 2);
  EXPECT_EQ(SetPixel(canvas.dc, 1, 1, RGB(10, 20, 30)), RGB(10, 20, 30));
  EXPECT_EQ(GetPixel(canvas.dc, 1, 1), RGB(10, 20, 30));
  EXPECT_EQ(SetPixel(canvas.dc, 3, 3, kBlack), CLR_INVALID);
  EXPECT_EQ(canvas.at(3, 3), kWhite);
  EXPECT_EQ(GetPixel(canvas.dc, 3, 3), CLR_INVALID);
  EXPECT_EQ(GetPixel(canvas.dc, -1, 0), CLR_INVALID);
}

TEST(GdiShapes, FocusRectDrawnTwiceRestoresThePixels) {
  Canvas canvas(8, 6);
  const std::string before = canvas.dump();
  const RECT r{1, 1, 7, 5};
  DrawFocusRect(canvas.dc, &r);
  EXPECT_EQ(canvas.at(1, 1), kBlack);
  EXPECT_EQ(canvas.at(2, 1), kWhite);
  EXPECT_EQ(canvas.at(3, 3), kWhite);
  DrawFocusRect(canvas.dc, &r);
  EXPECT_EQ(canvas.dump(), before);
}

TEST(GdiShapes, ArcDrawsOnlyTheCounterClockwisePart) {
  Canvas canvas(21, 21);
  // From the rightmost point counter-clockwise to the top: the upper right quarter.
  Arc(canvas.dc, 0, 0, 21, 21, 21, 10, 10, 0);
  EXPECT_EQ(canvas.at(20, 9), kBlack);
  EXPECT_EQ(canvas.at(10, 0), kBlack);
  EXPECT_EQ(canvas.at(0, 10), kWhite);
  EXPECT_EQ(canvas.at(10, 20), kWhite);
  int upperRight = 0;
  for (int y = 0; y < 10; ++y)
    for (int x = 11; x < 21; ++x) upperRight += canvas.at(x, y) == kBlack;
  EXPECT_GT(upperRight, 8);
}

TEST(GdiShapes, BinaryRasterOperationsMixPenAndDestination) {
  const COLORREF pen = RGB(0xF0, 0x0F, 0x33), dst = RGB(0xAA, 0x55, 0x0F);
  struct Case {
    int rop2;
    COLORREF expected;
  };
  const Case cases[] = {
      {R2_COPYPEN, pen},         {R2_NOTCOPYPEN, ~pen & 0xFFFFFF}, {R2_XORPEN, pen ^ dst},
      {R2_NOTXORPEN, ~(pen ^ dst) & 0xFFFFFF}, {R2_NOT, ~dst & 0xFFFFFF}, {R2_MASKPEN, pen & dst},
      {R2_MERGEPEN, pen | dst},  {R2_NOP, dst},                     {R2_BLACK, kBlack},
      {R2_WHITE, kWhite},        {R2_MASKPENNOT, pen & ~dst & 0xFFFFFF},
  };
  const HPEN colored = CreatePen(PS_SOLID, 1, pen);
  for (const Case& c : cases) {
    Canvas canvas(3, 1, false, dst);
    SelectObject(canvas.dc, colored);
    SetROP2(canvas.dc, c.rop2);
    MoveToEx(canvas.dc, 0, 0, nullptr);
    LineTo(canvas.dc, 2, 0);
    EXPECT_EQ(canvas.at(1, 0), c.expected) << c.rop2;
    EXPECT_EQ(canvas.at(2, 0), dst);
    SelectObject(canvas.dc, GetStockObject(BLACK_PEN));
  }
  DeleteObject(colored);
  Canvas canvas(1, 1);
  EXPECT_EQ(SetROP2(canvas.dc, 0), 0);
  EXPECT_EQ(GetROP2(canvas.dc), R2_COPYPEN);
}

TEST(GdiShapes, RoundRectCutsItsCornersOnly) {
  Canvas canvas(12, 10);
  SelectObject(canvas.dc, GetStockObject(BLACK_BRUSH));
  RoundRect(canvas.dc, 0, 0, 12, 10, 6, 6);
  EXPECT_EQ(canvas.at(0, 0), kWhite);
  EXPECT_EQ(canvas.at(11, 9), kWhite);
  EXPECT_EQ(canvas.at(6, 0), kBlack);
  EXPECT_EQ(canvas.at(0, 5), kBlack);
  EXPECT_EQ(canvas.at(11, 5), kBlack);
  EXPECT_EQ(canvas.blackBounds(), (RECT{0, 0, 12, 10}));
}

TEST(GdiShapes, PolyPolygonFillsAHoleUnderAlternate) {
  Canvas canvas(10, 10);
  SelectObject(canvas.dc, GetStockObject(NULL_PEN));
  SelectObject(canvas.dc, GetStockObject(BLACK_BRUSH));
  const POINT points[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {3, 3}, {7, 3}, {7, 7}, {3, 7}};
  const int counts[] = {4, 4};
  EXPECT_TRUE(PolyPolygon(canvas.dc, points, counts, 2));
  EXPECT_EQ(canvas.at(1, 1), kBlack);
  EXPECT_EQ(canvas.at(5, 5), kWhite);
  EXPECT_EQ(canvas.at(9, 9), kBlack);
  const int bad[] = {4, 1};
  EXPECT_FALSE(PolyPolygon(canvas.dc, points, bad, 2));
}

TEST(GdiShapes, MonochromeBitmapsTakeTheNearerOfBlackAndWhite) {
  Canvas canvas(3, 1, true, kBlack);
  const RECT light{0, 0, 1, 1}, dark{1, 0, 2, 1};
  const HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0)), navy = CreateSolidBrush(RGB(0, 0, 128));
  FillRect(canvas.dc, &light, yellow);
  FillRect(canvas.dc, &dark, navy);
  EXPECT_EQ(canvas.at(0, 0), kWhite);
  EXPECT_EQ(canvas.at(1, 0), kBlack);
  EXPECT_EQ(SetPixel(canvas.dc, 2, 0, RGB(200, 200, 200)), kWhite);
  DeleteObject(yellow);
  DeleteObject(navy);
}

TEST(GdiShapes, BadHandlesFailQuietly) {
  EXPECT_FALSE(Rectangle(0, 0, 0, 1, 1));
  EXPECT_FALSE(LineTo(12345, 1, 1));
  RECT r{0, 0, 1, 1};
  EXPECT_FALSE(FillRect(0, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
  Canvas canvas(2, 2);
  const HBRUSH brush = CreateSolidBrush(kBlack);
  DeleteObject(brush);
  EXPECT_FALSE(FillRect(canvas.dc, &r, brush));
  EXPECT_FALSE(Polygon(canvas.dc, nullptr, 3));
  EXPECT_FALSE(Polyline(canvas.dc, reinterpret_cast<const POINT*>(&r), 1));
  EXPECT_EQ(canvas.at(0, 0), kWhite);
}

}  // namespace
}  // namespace win
