// Column widths and row heights of tables from synthetic measurements: the
// ranges, the three ways of choosing widths, and sharing a table's height.
#include <gtest/gtest.h>

#include <climits>

#include "engine/tables/TableColumnWidths.h"
#include "engine/tables/TableRowHeights.h"

namespace engine {
namespace {

TWidthCell Cell(int column, int min, int max, int span = 1) {
  TWidthCell cell;
  cell.Column = column;
  cell.ColSpan = span;
  cell.ContentMin = min;
  cell.ContentMax = max;
  return cell;
}

TWidthCell PercentCell(int column, int min, int max, int tenths) {
  TWidthCell cell = Cell(column, min, max);
  cell.Width = tenths;
  cell.WidthIsPercent = true;
  return cell;
}

TColumnRanges Ranges(std::vector<int> mins, std::vector<int> maxs, std::vector<int> percents) {
  return TColumnRanges{std::move(mins), std::move(maxs), std::move(percents)};
}

TEST(TableWidthRange, CellsAddTheirSpaceAndPixelWidthsRaiseBothEnds) {
  TWidthCell wide = Cell(0, 10, 40);
  wide.HzSpace = 4;
  TWidthCell fixed = Cell(1, 10, 40);
  fixed.Width = 80;
  const TColumnRanges ranges = PlainWidthRange({wide, fixed}, 2, /*CellSpacing=*/2);
  EXPECT_EQ(ranges.MinWidths, (std::vector<int>{16, 82}));
  EXPECT_EQ(ranges.MaxWidths, (std::vector<int>{46, 82}));
  EXPECT_EQ(ranges.MinSum(), 98);
  EXPECT_EQ(ranges.MaxSum(), 128);
}

TEST(TableWidthRange, ASpanningCellGrowsItsColumnsByTheirMinima) {
  // Minima 50 and 150; the spanning cell needs 300: 100 more, shared 1 : 3.
  const TColumnRanges ranges = PlainWidthRange({Cell(0, 50, 50), Cell(1, 150, 150), Cell(0, 300, 300, 2)}, 2, 0);
  EXPECT_EQ(ranges.MinWidths, (std::vector<int>{75, 225}));
  EXPECT_EQ(ranges.MaxWidths, (std::vector<int>{75, 225}));
  // The columns add up to at least what the cell needs: the rounding shortfall goes to the first.
  const TColumnRanges thirds = PlainWidthRange({Cell(0, 10, 10), Cell(1, 10, 10), Cell(2, 10, 10), Cell(0, 100, 100, 3)}, 3, 0);
  EXPECT_EQ(thirds.MinWidths, (std::vector<int>{34, 33, 33}));
  EXPECT_EQ(thirds.MaxWidths, (std::vector<int>{34, 33, 33}));
  const TColumnRanges percentThirds = PercentWidthRange(
      {Cell(0, 10, 10), Cell(1, 10, 10), Cell(2, 10, 10), Cell(3, 5, 5), Cell(0, 100, 100, 3)}, 4, 0, 400);
  EXPECT_EQ(percentThirds.MinWidths, (std::vector<int>{34, 33, 33, 5}));
  EXPECT_EQ(percentThirds.MaxWidths, (std::vector<int>{34, 33, 33, 5}));
  // Over empty columns the first one takes it all.
  const TColumnRanges empty = PlainWidthRange({Cell(0, 90, 120, 3)}, 3, 0);
  EXPECT_EQ(empty.MinWidths, (std::vector<int>{90, 0, 0}));
}

TEST(TableWidthRange, PercentagesComeFromCellsAndPixelWidthsOfTheBase) {
  TWidthCell pixels = Cell(1, 0, 10);
  pixels.Width = 100;
  const TColumnRanges ranges = PercentWidthRange({PercentCell(0, 5, 10, 250), pixels}, 2, 0, /*Base=*/400);
  EXPECT_EQ(ranges.Percents, (std::vector<int>{250, 250}));
  // A spanning cell with a percentage shares it with the columns that have none.
  // Its excess goes to them by their maxima, and to the maxima by percentage.
  TWidthCell spanning = PercentCell(0, 100, 100, 600);
  spanning.ColSpan = 2;
  const TColumnRanges spanned = PercentWidthRange({Cell(0, 10, 10), Cell(1, 10, 10), Cell(2, 5, 5), spanning}, 3, 0, 400);
  EXPECT_EQ(spanned.Percents, (std::vector<int>{300, 300, 0}));
  EXPECT_EQ(spanned.MinWidths, (std::vector<int>{50, 50, 5}));
  EXPECT_EQ(spanned.MaxWidths, (std::vector<int>{50, 50, 5}));
  // A cell over every column counts the base as already held.
  spanning.ColSpan = 3;
  const TColumnRanges whole = PercentWidthRange({Cell(0, 10, 10), Cell(1, 10, 10), Cell(2, 5, 5), spanning}, 3, 0, 400);
  EXPECT_EQ(whole.MinWidths, (std::vector<int>{10, 10, 5}));
}

TEST(TableWidthRange, OnlyPixelWidthsAndCellsOverEveryColumnTieTheRangeToItsBase) {
  TWidthCell pixels = Cell(1, 0, 10);
  pixels.Width = 100;
  TWidthCell whole = Cell(0, 200, 300, 3);
  TWidthCell outside = Cell(3, 0, 10);
  outside.Width = 100;
  EXPECT_TRUE(RangeUsesBase(pixels, 3));
  EXPECT_TRUE(RangeUsesBase(whole, 3));
  EXPECT_FALSE(RangeUsesBase(Cell(1, 200, 300, 2), 3));
  EXPECT_FALSE(RangeUsesBase(Cell(1, 200, 300, 5), 3));  // cut to the grid: two columns of three
  EXPECT_FALSE(RangeUsesBase(PercentCell(0, 5, 10, 250), 3));
  EXPECT_FALSE(RangeUsesBase(outside, 3));
  // A range of cells none of which ties it gives the same columns at every base...
  const std::vector<TWidthCell> free = {PercentCell(0, 5, 10, 250), Cell(1, 10, 40), Cell(1, 200, 300, 2),
                                        Cell(2, 30, 30)};
  for (const TWidthCell& cell : free) ASSERT_FALSE(RangeUsesBase(cell, 3));
  const TColumnRanges atZero = PercentWidthRange(free, 3, 2, 0);
  for (int base : {1, 400, 5000}) {
    const TColumnRanges other = PercentWidthRange(free, 3, 2, base);
    EXPECT_EQ(other.MinWidths, atZero.MinWidths) << base;
    EXPECT_EQ(other.MaxWidths, atZero.MaxWidths) << base;
    EXPECT_EQ(other.Percents, atZero.Percents) << base;
  }
  // ...while either kind of tying cell changes them.
  EXPECT_NE(PercentWidthRange({Cell(0, 5, 5), pixels}, 3, 0, 400).Percents,
            PercentWidthRange({Cell(0, 5, 5), pixels}, 3, 0, 1000).Percents);
  EXPECT_NE(PercentWidthRange({Cell(0, 5, 5), whole}, 3, 0, 0).MinWidths,
            PercentWidthRange({Cell(0, 5, 5), whole}, 3, 0, 1000).MinWidths);
}

TEST(TableColumnWidths, PlainWidthsInterpolateAndSettleRoundingInColumnOrder) {
  const TColumnRanges ranges = Ranges({0, 0, 0}, {100, 100, 100}, {0, 0, 0});
  EXPECT_EQ(PlainColumnWidths(100, ranges), (std::vector<int>{34, 33, 33}));
  EXPECT_EQ(PlainColumnWidths(500, ranges), (std::vector<int>{100, 100, 100}));
  const TColumnRanges tight = Ranges({50, 60}, {80, 90}, {0, 0});
  // Below the minimum the table overflows at its minima.
  EXPECT_EQ(PlainColumnWidths(70, tight), (std::vector<int>{50, 60}));
  EXPECT_EQ(PlainColumnWidths(140, tight), (std::vector<int>{65, 75}));
}

TEST(TableColumnWidths, NaturalWidthHoldsEachColumnAtItsShare) {
  // A 50 % column and a free column, both with maximum 100: natural width 200.
  TColumnRanges ranges = Ranges({0, 0}, {100, 100}, {500, 0});
  EXPECT_EQ(NaturalColumnWidths(500, ranges), (std::vector<int>{100, 100}));
}

TEST(TableColumnWidths, PercentagesOfAHundredWithAFreeColumnTakeTheWholeWidth) {
  TColumnRanges ranges = Ranges({20, 20, 10}, {100, 100, 50}, {500, 500, 0});
  const std::vector<int> widths = NaturalColumnWidths(600, ranges);
  EXPECT_EQ(widths, (std::vector<int>{295, 295, 10}));
  // The percentage columns were pinned to their scaled shares.
  EXPECT_EQ(ranges.MinWidths, (std::vector<int>{295, 295, 10}));
  EXPECT_EQ(ranges.Percents, (std::vector<int>{492, 492, 0}));
}

TEST(TableColumnWidths, APercentageColumnThatCannotHoldItsMinimumLosesItsShare) {
  TColumnRanges ranges = Ranges({150, 10}, {150, 200}, {100, 0});
  const std::vector<int> widths = NaturalColumnWidths(300, ranges);
  EXPECT_EQ(ranges.Percents, (std::vector<int>{0, 0}));
  EXPECT_EQ(widths[0] + widths[1], 300);
}

TEST(TableColumnWidths, APercentageColumnWhoseShareEqualsItsMinimumKeepsIt) {
  TColumnRanges ranges = Ranges({150, 10}, {150, 200}, {500, 0});
  const std::vector<int> widths = NaturalColumnWidths(300, ranges);
  EXPECT_EQ(ranges.Percents, (std::vector<int>{500, 0}));
  EXPECT_EQ(widths, (std::vector<int>{150, 150}));
}

TEST(TableColumnWidths, OwnWidthFillsFreeColumnsByTheirFlexibility) {
  const TColumnRanges ranges = Ranges({50, 50}, {50, 300}, {250, 0});
  EXPECT_EQ(OwnColumnWidths(400, ranges), (std::vector<int>{100, 300}));
}

TEST(TableColumnWidths, OwnWidthShrinksPercentagesAndFixesThoseAtTheirMinimum) {
  // 60 % and 60 % of 500 is 600: column 0 cannot give up 50 and stays at 280.
  const TColumnRanges ranges = Ranges({280, 100}, {280, 300}, {600, 600});
  const std::vector<int> widths = OwnColumnWidths(500, ranges);
  EXPECT_EQ(widths, (std::vector<int>{280, 220}));
}

TEST(TableColumnWidths, OwnWidthSpreadsTheRestOverAllPercentageColumns) {
  const TColumnRanges ranges = Ranges({0, 0, 0}, {10, 10, 10}, {100, 100, 100});
  const std::vector<int> widths = OwnColumnWidths(100, ranges);
  EXPECT_EQ(widths, (std::vector<int>{34, 33, 33}));
}

TEST(TableColumnWidths, SpansAreSettledNarrowestFirstWhateverTheCellOrder) {
  // Single-column cells come first, then the spanning ones by span: a wide
  // span met before the narrower span and the plain cells beneath it must
  // give the ranges of the sorted order.
  const std::vector<TWidthCell> sorted{Cell(0, 10, 20),    Cell(1, 30, 60),      Cell(2, 5, 5),
                                       Cell(0, 50, 90, 2), Cell(1, 80, 200, 2), Cell(0, 300, 400, 3)};
  const std::vector<TWidthCell> shuffled{sorted[5], sorted[3], sorted[0], sorted[4], sorted[1], sorted[2]};
  const TColumnRanges plain = PlainWidthRange(sorted, 3, 2);
  const TColumnRanges plainShuffled = PlainWidthRange(shuffled, 3, 2);
  EXPECT_EQ(plainShuffled.MinWidths, plain.MinWidths);
  EXPECT_EQ(plainShuffled.MaxWidths, plain.MaxWidths);
  const TColumnRanges percent = PercentWidthRange(sorted, 3, 2, 600);
  const TColumnRanges percentShuffled = PercentWidthRange(shuffled, 3, 2, 600);
  EXPECT_EQ(percentShuffled.MinWidths, percent.MinWidths);
  EXPECT_EQ(percentShuffled.MaxWidths, percent.MaxWidths);
  EXPECT_EQ(percentShuffled.Percents, percent.Percents);
  EXPECT_GE(plain.MinSum(), 300);
}

TEST(TableColumnWidths, HostileWidthsNeitherOverflowNorGoNegative) {
  std::vector<TWidthCell> cells;
  for (int c = 0; c < 50; ++c) cells.push_back(Cell(c, INT_MAX, INT_MAX));
  cells.push_back(Cell(0, INT_MAX, INT_MAX, INT_MAX));
  cells.push_back(Cell(-3, 10, 10));
  cells.push_back(Cell(70, 10, 10));
  TColumnRanges ranges = PercentWidthRange(cells, 50, INT_MAX, INT_MAX);
  for (int width : ranges.MinWidths) EXPECT_GE(width, 0);
  EXPECT_GT(ranges.MinSum(), 0);
  for (int width : NaturalColumnWidths(INT_MAX, ranges)) EXPECT_GE(width, 0);
  for (int width : PlainColumnWidths(INT_MAX, PlainWidthRange(cells, 50, 0))) EXPECT_GE(width, 0);
  EXPECT_TRUE(PlainWidthRange(cells, 0, 0).MinWidths.empty());
}

TEST(TableColumnWidths, ATableWithoutColumnsGetsNoWidths) {
  // A table of its own width but no cell used to divide the rest by zero columns.
  const TColumnRanges none;
  EXPECT_TRUE(OwnColumnWidths(300, none).empty());
  TColumnRanges natural;
  EXPECT_TRUE(NaturalColumnWidths(300, natural).empty());
  EXPECT_TRUE(PlainColumnWidths(300, none).empty());
}

TEST(TableRowHeights, SpanningCellsSpreadTheirShortfallEqually) {
  std::vector<int> rows{10, 10, 40};
  SpreadRowSpan(rows, 0, 2, 25);
  EXPECT_EQ(rows, (std::vector<int>{12, 13, 40}));
  SpreadRowSpan(rows, 1, 5, 20);  // covered already; a span past the end is cut
  EXPECT_EQ(rows, (std::vector<int>{12, 13, 40}));
}

TEST(TableRowHeights, AnUnsizedRowStretchesToTheAvailableHeight) {
  // A single row in a 200-pixel block with spacing 2 gets 198.
  EXPECT_EQ(DistributeRowHeights({{22}, {22}, {false}}, 198), (std::vector<int>{198}));
  // Minima that fill the height are kept, as when there is no height at all.
  EXPECT_EQ(DistributeRowHeights({{30, 40}, {30, 40}, {false, false}}, 0), (std::vector<int>{30, 40}));
  // Only unsized rows take the room; the last of them the rest.
  EXPECT_EQ(DistributeRowHeights({{10, 10, 10}, {10, 20, 10}, {false, true, false}}, 55),
            (std::vector<int>{17, 20, 18}));
}

TEST(TableRowHeights, SizedRowsScaleTogetherRoundingHalvesToEven) {
  EXPECT_EQ(DistributeRowHeights({{2, 2}, {2, 2}, {true, true}}, 5), (std::vector<int>{2, 3}));
  // Between minima and desired heights in proportion to each row's room.
  EXPECT_EQ(DistributeRowHeights({{10, 10}, {30, 50}, {true, true}}, 40), (std::vector<int>{17, 23}));
}

}  // namespace
}  // namespace engine
