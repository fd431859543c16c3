#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>
#include <vector>

#include "platform/win/Gdi.h"

namespace win {
namespace {

using PixelSet = std::set<std::pair<int, int>>;

PixelSet pixelsOf(const Region& region) {
  PixelSet pixels;
  for (const RECT& r : region.rects())
    for (LONG y = r.top; y < r.bottom; ++y)
      for (LONG x = r.left; x < r.right; ++x) pixels.insert({x, y});
  return pixels;
}

// Checks the documented band invariant, here and through the class's own check.
void expectCanonical(const Region& region) {
  EXPECT_TRUE(region.isCanonical());
  const auto& bands = region.bands();
  for (std::size_t i = 0; i < bands.size(); ++i) {
    ASSERT_LT(bands[i].top, bands[i].bottom);
    ASSERT_FALSE(bands[i].spans.empty());
    for (std::size_t k = 0; k < bands[i].spans.size(); ++k) {
      ASSERT_LT(bands[i].spans[k].left, bands[i].spans[k].right);
      if (k > 0) {
        ASSERT_LT(bands[i].spans[k - 1].right, bands[i].spans[k].left);
      }
    }
    if (i > 0) {
      ASSERT_LE(bands[i - 1].bottom, bands[i].top);
      if (bands[i - 1].bottom == bands[i].top) {
        ASSERT_NE(bands[i - 1].spans, bands[i].spans);
      }
    }
  }
}

// A random region of a few rectangles in a 24x24 field, with its pixel model.
std::pair<Region, PixelSet> randomRegion(std::mt19937& random) {
  std::uniform_int_distribution<int> coordinate(0, 24), count(0, 5);
  Region region;
  PixelSet model;
  const int rects = count(random);
  for (int i = 0; i < rects; ++i) {
    const RECT r{coordinate(random), coordinate(random), coordinate(random), coordinate(random)};
    region = Region::combine(region, Region(r), RGN_OR);
    for (LONG y = r.top; y < r.bottom; ++y)
      for (LONG x = r.left; x < r.right; ++x) model.insert({x, y});
  }
  return {region, model};
}

PixelSet combineModel(const PixelSet& a, const PixelSet& b, int mode) {
  PixelSet out;
  for (int y = -1; y <= 25; ++y)
    for (int x = -1; x <= 25; ++x) {
      const bool inA = a.count({x, y}) > 0, inB = b.count({x, y}) > 0;
      const bool in = mode == RGN_AND ? inA && inB : mode == RGN_OR ? inA || inB : mode == RGN_XOR ? inA != inB : inA && !inB;
      if (in) out.insert({x, y});
    }
  return out;
}

TEST(Region, RandomCombinationsMatchPixelModel) {
  for (int caseNumber = 0; caseNumber < 400; ++caseNumber) {
    SCOPED_TRACE("case " + std::to_string(caseNumber));
    std::mt19937 random(static_cast<unsigned>(caseNumber));
    const auto [a, modelA] = randomRegion(random);
    const auto [b, modelB] = randomRegion(random);
    ASSERT_EQ(pixelsOf(a), modelA);
    for (int mode : {RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF}) {
      const Region result = Region::combine(a, b, mode);
      expectCanonical(result);
      const PixelSet expected = combineModel(modelA, modelB, mode);
      ASSERT_EQ(pixelsOf(result), expected) << "mode " << mode;
      for (int probe = 0; probe < 20; ++probe) {
        const int x = static_cast<int>(random() % 26) - 1, y = static_cast<int>(random() % 26) - 1;
        ASSERT_EQ(result.contains(x, y), expected.count({x, y}) > 0);
      }
    }
  }
}

TEST(Region, EqualPixelSetsCompareEqualWhateverTheBuildOrder) {
  const Region ab = Region::combine(Region(RECT{0, 0, 10, 5}), Region(RECT{0, 5, 10, 10}), RGN_OR);
  EXPECT_EQ(ab, Region(RECT{0, 0, 10, 10}));
  EXPECT_EQ(ab.complexity(), SIMPLEREGION);
  const Region hole = Region::combine(Region(RECT{0, 0, 10, 10}), Region(RECT{3, 3, 6, 6}), RGN_DIFF);
  EXPECT_EQ(hole.complexity(), COMPLEXREGION);
  EXPECT_EQ(Region::combine(hole, Region(RECT{3, 3, 6, 6}), RGN_OR), Region(RECT{0, 0, 10, 10}));
  EXPECT_TRUE(Region::combine(hole, hole, RGN_XOR).empty());
}

TEST(Region, ForEachRectClipsToTheGivenRectangle) {
  const Region hole = Region::combine(Region(RECT{0, 0, 10, 10}), Region(RECT{3, 3, 6, 6}), RGN_DIFF);
  std::vector<RECT> pieces;
  hole.forEachRectIn(RECT{2, 2, 7, 4}, [&](const RECT& r) { pieces.push_back(r); });
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0], (RECT{2, 2, 7, 3}));
  EXPECT_EQ(pieces[1], (RECT{2, 3, 3, 4}));
  EXPECT_EQ(pieces[2], (RECT{6, 3, 7, 4}));
}

TEST(Region, HugeCoordinatesAreClamped) {
  Region huge(RECT{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX});
  EXPECT_EQ(huge.bounds(), (RECT{-kRegionCoordLimit, -kRegionCoordLimit, kRegionCoordLimit, kRegionCoordLimit}));
  huge.offset(INT32_MAX, 0);  // everything piles up at the limit: nothing left
  EXPECT_TRUE(huge.empty());
  const HRGN ellipse = CreateEllipticRgn(-2000000000, -2000000000, 2000000000, 2000000000);
  const HRGN polygon = [] {
    const POINT points[] = {{-2000000000, 0}, {0, -2000000000}, {2000000000, 0}, {0, 2000000000}};
    return CreatePolygonRgn(points, 4, ALTERNATE);
  }();
  EXPECT_TRUE(PtInRegion(ellipse, 0, 0));
  EXPECT_TRUE(PtInRegion(polygon, 0, 0));
  DeleteObject(ellipse);
  DeleteObject(polygon);
}

TEST(RegionCalls, CombineReportsComplexityAndRefusesStaleHandles) {
  const HRGN a = CreateRectRgn(0, 0, 10, 10), b = CreateRectRgn(5, 5, 15, 15), out = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(CombineRgn(out, a, b, RGN_AND), SIMPLEREGION);
  RECT box;
  EXPECT_EQ(GetRgnBox(out, &box), SIMPLEREGION);
  EXPECT_EQ(box, (RECT{5, 5, 10, 10}));
  EXPECT_EQ(CombineRgn(out, a, b, RGN_OR), COMPLEXREGION);
  EXPECT_EQ(CombineRgn(out, a, a, RGN_DIFF), NULLREGION);
  EXPECT_EQ(CombineRgn(out, b, 0, RGN_COPY), SIMPLEREGION);
  EXPECT_TRUE(EqualRgn(out, b));
  EXPECT_EQ(CombineRgn(out, a, b, 99), ERROR);
  EXPECT_EQ(OffsetRgn(out, -5, -5), SIMPLEREGION);
  EXPECT_TRUE(EqualRgn(out, a));
  RECT probe{9, 9, 20, 20};
  EXPECT_TRUE(RectInRegion(a, &probe));
  probe = RECT{10, 0, 20, 10};
  EXPECT_FALSE(RectInRegion(a, &probe));
  EXPECT_FALSE(PtInRegion(a, 10, 5));  // right edge is outside
  DeleteObject(b);
  EXPECT_EQ(CombineRgn(out, a, b, RGN_OR), ERROR);
  EXPECT_EQ(GetRgnBox(b, &box), ERROR);
  EXPECT_EQ(OffsetRgn(b, 1, 1), ERROR);
  DeleteObject(a);
  DeleteObject(out);
}

TEST(RegionCalls, RegionDataRoundTripsThroughExtCreateRegion) {
  const HRGN a = CreateRectRgn(0, 0, 10, 10), hole = CreateRectRgn(3, 3, 6, 6);
  CombineRgn(a, a, hole, RGN_DIFF);
  const DWORD size = GetRegionData(a, 0, nullptr);
  ASSERT_EQ(size, sizeof(RGNDATAHEADER) + 4 * sizeof(RECT));
  std::vector<std::uint8_t> buffer(size);
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  EXPECT_EQ(GetRegionData(a, size - 1, data), 0u);
  EXPECT_EQ(GetRegionData(a, size, data), size);
  const HRGN copy = ExtCreateRegion(nullptr, size, data);
  EXPECT_TRUE(EqualRgn(copy, a));
  // Scaling by two and moving right by one.
  const XFORM xform{2, 0, 0, 2, 1, 0};
  const HRGN scaled = ExtCreateRegion(&xform, size, data);
  RECT box;
  GetRgnBox(scaled, &box);
  EXPECT_EQ(box, (RECT{1, 0, 21, 20}));
  EXPECT_FALSE(PtInRegion(scaled, 8, 8));
  const XFORM shear{1, 1, 0, 1, 0, 0};
  EXPECT_EQ(ExtCreateRegion(&shear, size, data), 0u);
  // A count claiming more rectangles than the buffer holds is refused.
  data->rdh.nCount = 1000;
  EXPECT_EQ(ExtCreateRegion(nullptr, size, data), 0u);
  for (HRGN r : {a, hole, copy, scaled}) DeleteObject(r);
}

TEST(RegionCalls, EllipticAndPolygonRegionsStayInsideTheirBounds) {
  const HRGN ellipse = CreateEllipticRgn(0, 0, 10, 6);
  RECT box;
  EXPECT_EQ(GetRgnBox(ellipse, &box), COMPLEXREGION);
  EXPECT_EQ(box, (RECT{0, 0, 10, 6}));
  EXPECT_FALSE(PtInRegion(ellipse, 0, 0));
  EXPECT_TRUE(PtInRegion(ellipse, 0, 3));
  EXPECT_TRUE(PtInRegion(ellipse, 5, 0));
  const POINT square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  const HRGN polygon = CreatePolygonRgn(square, 4, WINDING);
  const HRGN rect = CreateRectRgn(0, 0, 10, 10);
  EXPECT_TRUE(EqualRgn(polygon, rect));
  EXPECT_EQ(CreatePolygonRgn(square, 1, WINDING), 0u);
  EXPECT_EQ(CreatePolygonRgn(square, 4, 7), 0u);
  const HRGN rounded = CreateRoundRectRgn(0, 0, 20, 20, 6, 6);
  EXPECT_FALSE(PtInRegion(rounded, 0, 0));
  EXPECT_TRUE(PtInRegion(rounded, 10, 0));
  EXPECT_TRUE(PtInRegion(rounded, 0, 10));
  for (HRGN r : {ellipse, polygon, rect, rounded}) DeleteObject(r);
}

TEST(RegionCalls, FrameRgnPaintsOnlyTheEdge) {
  const HDC dc = CreateCompatibleDC(0);
  const HBITMAP bitmap = CreateBitmap(12, 12, 1, 32, nullptr);
  SelectObject(dc, bitmap);
  const HRGN region = CreateRectRgn(2, 2, 10, 10);
  const HBRUSH brush = CreateSolidBrush(RGB(255, 255, 255));
  EXPECT_TRUE(FrameRgn(dc, region, brush, 2, 1));
  const Surface& s = bitmapFromHandle(bitmap)->surface;
  EXPECT_EQ(s.rowPtr(5)[2], 0xFFFFFFu);
  EXPECT_EQ(s.rowPtr(5)[3], 0xFFFFFFu);
  EXPECT_EQ(s.rowPtr(5)[4], 0u);
  EXPECT_EQ(s.rowPtr(2)[5], 0xFFFFFFu);
  EXPECT_EQ(s.rowPtr(3)[5], 0u);
  EXPECT_EQ(s.rowPtr(5)[1], 0u);
  DeleteDC(dc);
  for (HGDIOBJ o : {static_cast<HGDIOBJ>(bitmap), region, brush}) DeleteObject(o);
}

}  // namespace
}  // namespace win
