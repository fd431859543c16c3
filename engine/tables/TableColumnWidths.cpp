#include "engine/tables/TableColumnWidths.h"

#include <algorithm>
#include <numeric>

namespace engine {
namespace {

using Wide = long long;
using Columns = std::vector<Wide>;

Wide ClampExtent(Wide value) { return std::clamp<Wide>(value, -kMaxTableExtent, kMaxTableExtent); }

// a * b / c rounded to nearest, halves away from zero, in 128 bits. A zero
// divisor gives 0: a width must never become the -1 of a failed division.
Wide MulDiv(Wide a, Wide b, Wide c) {
  if (c == 0) return 0;
  const __int128 product = static_cast<__int128>(a) * b;
  const bool negative = (product < 0) != (c < 0);
  const __int128 magnitude = product < 0 ? -product : product;
  const __int128 divisor = c < 0 ? -static_cast<__int128>(c) : c;
  const __int128 quotient = (magnitude + divisor / 2) / divisor;
  const __int128 limit = static_cast<__int128>(1) << 62;
  const Wide result = static_cast<Wide>(std::min(quotient, limit));
  return negative ? -result : result;
}

Wide Sum(const Columns& values) { return std::accumulate(values.begin(), values.end(), Wide{0}); }

std::vector<int> Narrow(const Columns& values) {
  std::vector<int> result(values.size());
  for (std::size_t i = 0; i < values.size(); ++i) result[i] = static_cast<int>(ClampExtent(values[i]));
  return result;
}

Columns Widen(const std::vector<int>& values) { return Columns(values.begin(), values.end()); }

// A cell with its span cut to the grid and its widths clamped.
struct SpanCell {
  int first;
  int span;
  Wide min;   // content minimum + the cell's horizontal space
  Wide max;
  Wide pixelWidth;  // 0 when none
  Wide percent;     // 0 when none
  Wide extra;       // HzSpace + CellSpacing
};

// A cell of the grid with its span cut to it and its widths clamped; false for
// a cell outside the grid.
bool ToSpanCell(const TWidthCell& cell, int numCols, int spacing, Wide base, SpanCell& c) {
  if (cell.Column < 0 || cell.Column >= numCols) return false;
  c.first = cell.Column;
  c.span = std::clamp(cell.ColSpan, 1, numCols - cell.Column);
  c.extra = ClampExtent(std::max(0, cell.HzSpace)) + ClampExtent(std::max(0, spacing));
  c.min = ClampExtent(std::max(0, cell.ContentMin)) + c.extra;
  c.max = ClampExtent(std::max(0, cell.ContentMax)) + c.extra;
  c.pixelWidth = cell.Width > 0 && !cell.WidthIsPercent ? ClampExtent(cell.Width) : 0;
  c.percent = 0;
  if (cell.Width > 0 && cell.WidthIsPercent) c.percent = std::min(cell.Width, 1000);
  else if (c.pixelWidth > 0 && base > 0) c.percent = std::min<Wide>(1000, MulDiv(c.pixelWidth, 1000, base));
  return true;
}

// Visits the cells by span, spans ascending and each span in cell order: the
// single-column cells as they come, then the spanning ones, which alone are
// copied (a long table's cells are not copied).
template <class Visit>
void ForEachCellBySpan(const TWidthCells& cells, int numCols, int spacing, Wide base, const Visit& visit) {
  std::vector<SpanCell> spanning;
  cells([&](const TWidthCell& cell) {
    SpanCell c;
    if (!ToSpanCell(cell, numCols, spacing, base, c)) return;
    if (c.span == 1) visit(c);
    else spanning.push_back(c);
  });
  std::stable_sort(spanning.begin(), spanning.end(),
                   [](const SpanCell& a, const SpanCell& b) { return a.span < b.span; });
  for (const SpanCell& c : spanning) visit(c);
}

// The cell's own minimum and maximum after its pixel width: one column compares
// the width with the space added, a span compares it bare.
void ApplyPixelWidth(SpanCell& cell) {
  if (cell.pixelWidth <= 0) return;
  const Wide wanted = cell.span == 1 ? cell.pixelWidth + cell.extra : cell.pixelWidth;
  cell.min = cell.max = std::max(cell.min, wanted);
}

// Grows the spanned columns of `values` to `needed` in proportion to what they
// hold; an empty block gives it all to its first column, and so does the
// rounding shortfall, so the columns always hold at least `needed`.
void GrowProportionally(Columns& values, int first, int span, Wide needed) {
  Wide held = 0;
  for (int c = first; c < first + span; ++c) held += values[c];
  if (held >= needed) return;
  if (held == 0) {
    values[first] = needed;
    return;
  }
  Wide grown = 0;
  for (int c = first; c < first + span; ++c) {
    values[c] += MulDiv(values[c], needed - held, held);
    grown += values[c];
  }
  if (grown < needed) values[first] += needed - grown;
}

// A spanning cell without percentages: each column's share of the cell's width
// in proportion to what it holds (equal shares for an empty block); the rounding
// shortfall goes to the first column.
void ShareWithoutPercent(Columns& values, int first, int span, Wide needed, Wide held) {
  Wide given = 0;
  for (int c = first; c < first + span; ++c) {
    values[c] = held == 0 ? needed / span : MulDiv(needed, values[c], held);
    given += values[c];
  }
  if (given < needed) values[first] += needed - given;
}

// One spanning cell of the percentage-aware range.
void SpreadSpanningCell(const SpanCell& cell, int numCols, Wide base, Columns& mins, Columns& maxs,
                        Columns& percents) {
  const int first = cell.first;
  const int last = first + cell.span;
  Wide sumMax = 0, sumMin = 0, sumPercent = 0;
  int withoutPercent = 0;
  for (int c = first; c < last; ++c) {
    sumMax += maxs[c];
    sumMin += mins[c];
    if (percents[c] > 0) sumPercent += percents[c];
    else ++withoutPercent;
  }
  if (cell.span == numCols) {
    sumMin = std::max(sumMin, base);
    sumMax = std::max(sumMax, base);
  }
  const Wide minExcess = cell.min - sumMin;
  const Wide maxExcess = cell.max - sumMax;
  if (cell.percent > 0 || sumPercent > 0) {
    const Wide share = withoutPercent > 0 ? std::max<Wide>(0, (cell.percent - sumPercent) / withoutPercent) : 0;
    for (int c = first; c < last; ++c) {
      if (withoutPercent == 0 && sumPercent + 1 < cell.percent) percents[c] = MulDiv(percents[c], cell.percent, sumPercent);
      else if (percents[c] <= 0 && share > 0) percents[c] = share;
    }
    const Wide total = std::max(sumPercent, cell.percent);
    for (int c = first; c < last; ++c) {
      if (minExcess > 0)
        mins[c] += withoutPercent <= 0 || sumMax <= 0 ? MulDiv(minExcess, percents[c], total)
                                                      : MulDiv(minExcess, maxs[c], sumMax);
      if (maxExcess > 0) maxs[c] += MulDiv(maxExcess, percents[c], total);
    }
    return;
  }
  if (minExcess > 0) ShareWithoutPercent(mins, first, cell.span, cell.min, sumMin);
  if (maxExcess > 0) ShareWithoutPercent(maxs, first, cell.span, cell.max, sumMax);
}

TColumnRanges ToRanges(const Columns& mins, const Columns& maxs, const Columns& percents) {
  return TColumnRanges{Narrow(mins), Narrow(maxs), Narrow(percents)};
}

// Interpolates each column between its minimum and maximum for the table width W.
Columns Interpolate(Wide W, const Columns& mins, const Columns& maxs, Wide minSum, Wide maxSum) {
  Columns widths(mins.size());
  for (std::size_t c = 0; c < mins.size(); ++c) {
    widths[c] = maxSum == minSum ? mins[c] + (W - minSum) / static_cast<Wide>(mins.size())
                                 : mins[c] + MulDiv(maxs[c] - mins[c], W - minSum, maxSum - minSum);
  }
  return widths;
}


// The natural width of a table with percentage columns summing to at most 100 %:
// wide enough for every percentage column to hold its maximum at its share and
// for the other columns to hold theirs in what is left.
Wide NaturalWidth(const Columns& maxs, const Columns& percents, Wide percentSum) {
  Wide byPercent = 0, freeMax = 0;
  for (std::size_t c = 0; c < maxs.size(); ++c) {
    if (percents[c] > 0) byPercent = std::max(byPercent, MulDiv(maxs[c], 1000, percents[c]));
    else freeMax += maxs[c];
  }
  Wide byFree = 0;
  if (percentSum > 999) byFree = freeMax < 1 ? 0 : 30000;
  else byFree = MulDiv(freeMax, 1000, 1000 - percentSum);
  return std::max(byPercent, byFree);
}

// Gives percentage columns that cannot keep their share of W up, scales the
// rest until they fit beside the other columns' minima, and pins each kept one
// to its share. False when no percentage column is left.
bool FitPercentColumns(Wide W, Columns& mins, Columns& maxs, Columns& percents) {
  constexpr int kMaxPasses = 64;  // the shrinking share ends the loop anyway; this bounds it
  Wide previousShare = W + 1;
  for (int pass = 0; pass < kMaxPasses; ++pass) {
    Wide freeMins = 0, percentWidths = 0;
    bool anyPercent = false;
    for (std::size_t c = 0; c < mins.size(); ++c) {
      if (percents[c] > 0 && MulDiv(W, percents[c], 1000) < mins[c]) percents[c] = 0;
      if (percents[c] > 0) {
        anyPercent = true;
        percentWidths += MulDiv(W, percents[c], 1000);
      } else {
        freeMins += mins[c];
      }
    }
    if (!anyPercent) return false;
    if (W >= freeMins + percentWidths) {
      for (std::size_t c = 0; c < mins.size(); ++c)
        if (percents[c] > 0) mins[c] = maxs[c] = MulDiv(W, percents[c], 1000);
      return true;
    }
    const Wide share = std::max<Wide>(0, std::min(W - freeMins, previousShare - 1));
    previousShare = share;
    for (Wide& percent : percents)
      if (percent > 0) percent = MulDiv(percent, share, percentWidths);
  }
  return true;
}

// Own width: what each column takes at first, with the percentage columns that
// are held at their minimum marked fixed.
struct OwnStart {
  Columns widths;
  std::vector<bool> fixed;
  Wide percentSum = 0;  // of the percentage columns not fixed
};

OwnStart StartOwnWidths(Wide W, const Columns& mins, const Columns& percents) {
  OwnStart start{Columns(mins.size()), std::vector<bool>(mins.size(), false), 0};
  for (std::size_t c = 0; c < mins.size(); ++c) {
    start.widths[c] = mins[c];
    if (percents[c] <= 0) continue;
    const Wide share = MulDiv(W, percents[c], 1000);
    if (share > mins[c]) {
      start.widths[c] = share;
      start.percentSum += percents[c];
    } else {
      start.fixed[c] = true;
    }
  }
  return start;
}

// Room left over (excess < 0): to the unfixed percentage columns when every
// column has a percentage, else to the other columns by their flexibility.
void GrowOwnWidths(OwnStart& own, Wide room, const Columns& mins, const Columns& maxs, const Columns& percents) {
  std::vector<std::size_t> free;
  for (std::size_t c = 0; c < mins.size(); ++c)
    if (percents[c] <= 0) free.push_back(c);
  if (free.empty()) {
    for (std::size_t c = 0; c < mins.size(); ++c)
      if (!own.fixed[c]) own.widths[c] += MulDiv(room, percents[c], own.percentSum);
    return;
  }
  Wide flexibility = 0;
  for (std::size_t c : free) flexibility += std::max<Wide>(0, maxs[c] - mins[c]);
  for (std::size_t c : free) {
    if (flexibility > 0 && flexibility * 4 >= room)
      own.widths[c] += MulDiv(room, std::max<Wide>(0, maxs[c] - mins[c]), flexibility);
    else
      own.widths[c] += room / static_cast<Wide>(free.size());
  }
}

// Too wide (excess > 0): percentage columns that would fall below their minimum
// are fixed there, then the others give up the rest by their percentage.
void ShrinkOwnWidths(OwnStart& own, Wide excess, const Columns& mins, const Columns& percents) {
  for (int pass = 0; pass < 4; ++pass) {
    bool fixedAny = false;
    for (std::size_t c = 0; c < mins.size(); ++c) {
      if (own.fixed[c] || percents[c] <= 0) continue;
      if (own.widths[c] - MulDiv(excess, percents[c], own.percentSum) >= mins[c]) continue;
      excess -= own.widths[c] - mins[c];
      own.widths[c] = mins[c];
      own.fixed[c] = true;
      own.percentSum -= percents[c];
      fixedAny = true;
    }
    if (!fixedAny) break;
  }
  for (std::size_t c = 0; c < mins.size(); ++c)
    if (!own.fixed[c] && percents[c] > 0) own.widths[c] -= MulDiv(excess, percents[c], own.percentSum);
}

// Makes the widths add up to W exactly.
void FitOwnWidths(OwnStart& own, Wide W, const Columns& percents) {
  const Wide sum = Sum(own.widths);
  const std::size_t count = own.widths.size();
  if (count == 0) return;  // a table without columns has nothing to fit
  if (sum > W) {
    for (std::size_t c = 0; c < count; ++c) {
      if (own.fixed[c]) continue;
      own.widths[c] = std::max<Wide>(0, own.widths[c] - (sum - W));
      break;
    }
    return;
  }
  Wide rest = W - sum;
  std::size_t lastFree = count;
  for (std::size_t c = 0; c < count; ++c)
    if (percents[c] <= 0) lastFree = c;
  if (lastFree < count) {
    own.widths[lastFree] += rest;
    return;
  }
  if (rest > static_cast<Wide>(count)) {
    const Wide each = rest / static_cast<Wide>(count);
    for (Wide& width : own.widths) width += each;
    rest -= each * static_cast<Wide>(count);
  }
  for (std::size_t c = 0; c < count && rest > 0; ++c, --rest) ++own.widths[c];
}

// The cells of a list, for the list forms of the range functions.
TWidthCells CellsOf(const std::vector<TWidthCell>& cells) {
  return [&cells](const TWidthCellVisit& visit) {
    for (const TWidthCell& cell : cells) visit(cell);
  };
}

}  // namespace

int TColumnRanges::MinSum() const { return static_cast<int>(ClampExtent(Sum(Widen(MinWidths)))); }
int TColumnRanges::MaxSum() const { return static_cast<int>(ClampExtent(Sum(Widen(MaxWidths)))); }
int TColumnRanges::PercentSum() const { return static_cast<int>(ClampExtent(Sum(Widen(Percents)))); }

TColumnRanges PlainWidthRange(const std::vector<TWidthCell>& Cells, int NumCols, int CellSpacing) {
  return PlainWidthRange(CellsOf(Cells), NumCols, CellSpacing);
}

TColumnRanges PercentWidthRange(const std::vector<TWidthCell>& Cells, int NumCols, int CellSpacing, int Base) {
  return PercentWidthRange(CellsOf(Cells), NumCols, CellSpacing, Base);
}

TColumnRanges PlainWidthRange(const TWidthCells& Cells, int NumCols, int CellSpacing) {
  NumCols = std::max(NumCols, 0);
  Columns mins(NumCols, 0), maxs(NumCols, 0);
  ForEachCellBySpan(Cells, NumCols, CellSpacing, 0, [&](SpanCell cell) {
    ApplyPixelWidth(cell);
    if (cell.span == 1) {
      mins[cell.first] = std::max(mins[cell.first], cell.min);
      maxs[cell.first] = std::max(maxs[cell.first], cell.max);
    } else {
      GrowProportionally(mins, cell.first, cell.span, cell.min);
      GrowProportionally(maxs, cell.first, cell.span, cell.max);
    }
  });
  return ToRanges(mins, maxs, Columns(NumCols, 0));
}

TColumnRanges PercentWidthRange(const TWidthCells& Cells, int NumCols, int CellSpacing, int Base) {
  NumCols = std::max(NumCols, 0);
  const Wide base = ClampExtent(std::max(0, Base));
  Columns mins(NumCols, 0), maxs(NumCols, 0), percents(NumCols, 0);
  ForEachCellBySpan(Cells, NumCols, CellSpacing, base, [&](SpanCell cell) {
    ApplyPixelWidth(cell);
    if (cell.span == 1) {
      mins[cell.first] = std::max(mins[cell.first], cell.min);
      maxs[cell.first] = std::max(maxs[cell.first], cell.max);
      percents[cell.first] = std::max(percents[cell.first], cell.percent);
    } else {
      SpreadSpanningCell(cell, NumCols, base, mins, maxs, percents);
    }
  });
  return ToRanges(mins, maxs, percents);
}

bool RangeUsesBase(const TWidthCell& Cell, int NumCols) {
  if (Cell.Column < 0 || Cell.Column >= NumCols) return false;
  const int span = std::clamp(Cell.ColSpan, 1, NumCols - Cell.Column);
  return (Cell.Width > 0 && !Cell.WidthIsPercent) || (span > 1 && span == NumCols);
}

std::vector<int> PlainColumnWidths(int W, const TColumnRanges& Ranges) {
  const Columns mins = Widen(Ranges.MinWidths), maxs = Widen(Ranges.MaxWidths);
  const Wide minSum = Sum(mins), maxSum = Sum(maxs), width = ClampExtent(W);
  if (width < minSum) return Narrow(mins);
  if (width >= maxSum) return Narrow(maxs);
  Columns widths = Interpolate(width, mins, maxs, minSum, maxSum);
  // Settle the rounding one pixel per column, in column order.
  Wide difference = width - Sum(widths);
  for (std::size_t c = 0; c < widths.size() && difference != 0; ++c) {
    if (difference > 0) {
      ++widths[c];
      --difference;
    } else if (mins[c] < maxs[c]) {
      --widths[c];
      ++difference;
    }
  }
  return Narrow(widths);
}

std::vector<int> NaturalColumnWidths(int W, TColumnRanges& Ranges) {
  Columns mins = Widen(Ranges.MinWidths), maxs = Widen(Ranges.MaxWidths), percents = Widen(Ranges.Percents);
  const Wide width = ClampExtent(W);
  const Wide percentSum = Sum(percents);
  if (percentSum > 0 && percentSum <= 1000) {
    const Wide natural = NaturalWidth(maxs, percents, percentSum);
    if (width >= natural) {
      Wide freeMax = 0;
      for (std::size_t c = 0; c < maxs.size(); ++c)
        if (percents[c] <= 0) freeMax += maxs[c];
      const Wide freeRoom = MulDiv(natural, 1000 - percentSum, 1000);
      Columns widths(maxs.size());
      for (std::size_t c = 0; c < maxs.size(); ++c)
        widths[c] = percents[c] > 0 ? MulDiv(natural, percents[c], 1000) : freeMax < 1 ? 0 : MulDiv(maxs[c], freeRoom, freeMax);
      return Narrow(widths);
    }
    FitPercentColumns(width, mins, maxs, percents);
    Ranges = ToRanges(mins, maxs, percents);
  }
  if (mins.empty()) return {};
  const Wide minSum = Sum(mins), maxSum = Sum(maxs);
  Columns widths = Interpolate(width, mins, maxs, minSum, maxSum);
  // The rounding rest goes to the most flexible column (the first of equals).
  std::size_t flexible = 0;
  for (std::size_t c = 1; c < mins.size(); ++c)
    if (maxs[c] - mins[c] > maxs[flexible] - mins[flexible]) flexible = c;
  widths[flexible] += width - Sum(widths);
  return Narrow(widths);
}

std::vector<int> OwnColumnWidths(int W, const TColumnRanges& Ranges) {
  const Columns mins = Widen(Ranges.MinWidths), maxs = Widen(Ranges.MaxWidths), percents = Widen(Ranges.Percents);
  const Wide width = ClampExtent(W);
  OwnStart own = StartOwnWidths(width, mins, percents);
  const Wide excess = Sum(own.widths) - width;
  if (excess < 0) GrowOwnWidths(own, -excess, mins, maxs, percents);
  else if (excess > 0) ShrinkOwnWidths(own, excess, mins, percents);
  FitOwnWidths(own, width, percents);
  return Narrow(own.widths);
}

}  // namespace engine
