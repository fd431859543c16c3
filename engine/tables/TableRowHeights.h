#pragma once
// The row arithmetic of tables: spreading a spanning cell's height over the
// rows it covers, and sharing the height available to a table among its rows.
// Pure functions over plain arrays, like the column arithmetic beside them.
#include <vector>

namespace engine {

// Rows of one table as the row-span passes leave them. Minimum and Desired
// include the cell spacing; Sized marks rows that a cell gave a height or a
// percentage height.
struct TRowHeights {
  std::vector<int> Minimum;
  std::vector<int> Desired;
  std::vector<bool> Sized;
};

// A cell spanning Span rows from First needs Needed in all: the shortfall of
// the rows' sum is spread equally, the last row taking the rounding rest.
void SpreadRowSpan(std::vector<int>& Rows, int First, int Span, int Needed);

// Whether the rows keep their minima when the minima of some of them add up
// to MinimumSum and the others' minima are not below 0: they fill the height
// Available, so DistributeRowHeights gives every row its minimum.
bool MinimaFillHeight(long long MinimumSum, int Available);

// The height of each row when the table has Available pixels (spacing taken
// off already; 0 or less: none). Rows keep their minimum when the minima fill
// the height; otherwise they stretch toward their desired heights or beyond,
// the last row taking what rounding leaves.
std::vector<int> DistributeRowHeights(const TRowHeights& Rows, int Available);

}  // namespace engine
