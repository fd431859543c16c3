#pragma once
// The column arithmetic of tables: the minimum and maximum width of each column
// from its cells, and the width each column gets for a given table width. Pure
// functions over plain arrays, so the table layout calls them and tests check
// the numbers. Percentages are in tenths (1000 = 100 %).
//
// Every input is clamped to kMaxTableExtent and every sum is taken in 64 bits,
// so hostile widths and spans neither overflow nor turn a failed division into
// a width.
#include <functional>
#include <vector>

namespace engine {

// Widths beyond this are clamped; far wider than any screen or page.
constexpr int kMaxTableExtent = 1 << 24;

// What the width arithmetic needs of one real cell of the grid.
struct TWidthCell {
  int Column = 0;      // first column
  int ColSpan = 1;
  int ContentMin = 0;  // the content's own minimum and maximum width
  int ContentMax = 0;
  int HzSpace = 0;     // padding and borders left and right
  int Width = 0;       // the WIDTH the cell asks for; 0 or less: none
  bool WidthIsPercent = false;
};

// Per-column results. Percents are 0 for columns without a percentage.
struct TColumnRanges {
  std::vector<int> MinWidths;
  std::vector<int> MaxWidths;
  std::vector<int> Percents;
  int MinSum() const;
  int MaxSum() const;
  int PercentSum() const;
};

// The cells of a table as the range functions read them: a call visits every
// real cell once, in row order. A long table measures its cells as they are
// visited rather than copying them into a list beside the cells.
using TWidthCellVisit = std::function<void(const TWidthCell&)>;
using TWidthCells = std::function<void(const TWidthCellVisit&)>;

// The range from the cells' content and pixel widths; percentages are ignored.
TColumnRanges PlainWidthRange(const TWidthCells& Cells, int NumCols, int CellSpacing);
TColumnRanges PlainWidthRange(const std::vector<TWidthCell>& Cells, int NumCols, int CellSpacing);
// The range with percentages, for the base width Base (the table's own width or
// the width available to it).
TColumnRanges PercentWidthRange(const TWidthCells& Cells, int NumCols, int CellSpacing, int Base);
TColumnRanges PercentWidthRange(const std::vector<TWidthCell>& Cells, int NumCols, int CellSpacing, int Base);
// Whether the cell makes the percentage-aware range depend on Base: a pixel
// width becomes a share of it, and a cell spanning every column is widened to
// it. A range without such cells holds for every base.
bool RangeUsesBase(const TWidthCell& Cell, int NumCols);

// Column widths for a table width W when only pixel widths are given: the
// minima below the range, the maxima above it, in between an interpolation
// whose rounding is settled one pixel per column.
std::vector<int> PlainColumnWidths(int W, const TColumnRanges& Ranges);
// Column widths for a table of natural width with percentage columns; W is the
// width available. Percentage columns that cannot keep their share are adjusted
// in Ranges, as the table keeps them.
std::vector<int> NaturalColumnWidths(int W, TColumnRanges& Ranges);
// Column widths for a table whose own width W is given.
std::vector<int> OwnColumnWidths(int W, const TColumnRanges& Ranges);

}  // namespace engine
