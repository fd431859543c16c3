// Image maps: COORDS reading, the region of each shape, the first area
// deciding, and the limits on areas and coordinates.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

#include "engine/html/TAttributeList.h"
#include "engine/html/TUrlTarget.h"
#include "engine/objects/TMapItem.h"

namespace engine {
namespace {

std::unique_ptr<TAttributeList> Area(const std::string& shape, const std::string& coords, const std::string& href,
                                     bool noHref = false) {
  auto list = std::make_unique<TAttributeList>();
  if (!shape.empty()) list->Add(std::make_unique<TAttribute>(symShape, 1252, shape, "", 0));
  list->Add(std::make_unique<TAttribute>(symCoords, 1252, coords, "", 0));
  if (!href.empty()) list->Add(std::make_unique<TAttribute>(symHref, 1252, href, "", 0));
  if (noHref) list->Add(std::make_unique<TAttribute>(symNohref, 1252, "", "", 0));
  return list;
}

std::string UrlAt(const TMapItem& map, int x, int y) {
  std::unique_ptr<TUrlTarget> target;
  std::string title;
  return map.FindAreaAt(x, y, target, title) ? target->Url : "-";
}

TEST(MapItem, CoordsAreReadAcrossCommasAndBlanks) {
  EXPECT_EQ(ReadAreaCoords("1, 2 ,3,,4"), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(ReadAreaCoords(" 5 x 7 "), (std::vector<int>{5, 0, 7}));
  EXPECT_EQ(ReadAreaCoords("99999999999,-99999999999"), (std::vector<int>{1 << 24, -(1 << 24)}));
  std::string many;
  for (int i = 0; i < 500; ++i) many += "1,";
  EXPECT_EQ(ReadAreaCoords(many).size(), 301u);
}

TEST(MapItem, EachShapeIsARegion) {
  TMapItem map;
  map.DefineArea(*Area("rect", "0 0 9 9", "r"));
  map.DefineArea(*Area("circle", "30,10,5", "c"));
  map.DefineArea(*Area("polygon", "50,0,70,0,50,20,99", "p"));
  map.DefineArea(*Area("", "0,0,9", "none"));  // too few numbers
  ASSERT_EQ(map.AreaCount(), 3);
  EXPECT_EQ(UrlAt(map, 9, 9), "r");
  EXPECT_EQ(UrlAt(map, 10, 10), "-");
  EXPECT_EQ(UrlAt(map, 30, 10), "c");
  EXPECT_EQ(UrlAt(map, 25, 10), "c");
  EXPECT_EQ(UrlAt(map, 25, 5), "-");
  EXPECT_EQ(UrlAt(map, 52, 2), "p");
  EXPECT_EQ(UrlAt(map, 68, 18), "-");
}

TEST(MapItem, TheFirstAreaDecidesAndTheCountIsBounded) {
  TMapItem map;
  map.DefineArea(*Area("rect", "0,0,10,10", "hidden", true));
  map.DefineArea(*Area("rect", "0,0,20,20", "under"));
  EXPECT_EQ(UrlAt(map, 5, 5), "-");
  EXPECT_EQ(UrlAt(map, 15, 15), "under");
  // Extreme coordinates make regions without overflow.
  map.DefineArea(*Area("circle", "2147483647,2147483647,2147483647", "big"));
  for (int i = map.AreaCount(); i < TMapItem::kMaxAreas + 5; ++i) map.DefineArea(*Area("rect", "0,0,1,1", "x"));
  EXPECT_EQ(map.AreaCount(), TMapItem::kMaxAreas);
}

}  // namespace
}  // namespace engine
