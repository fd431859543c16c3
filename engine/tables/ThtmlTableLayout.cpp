// ThtmlTable's measuring and layout: column widths for the width it is given,
// row heights by row-span passes, and every cell's content placed with its
// vertical alignment.
#include <algorithm>
#include <cassert>
#include <map>
#include <optional>

#include "engine/common/ScopedValues.h"
#include "engine/document/IndentManager.h"
#include "engine/document/SaturatedMath.h"
#include "engine/document/TSectionList.h"
#include "engine/tables/TableColumnWidths.h"
#include "engine/tables/TableRowHeights.h"
#include "engine/tables/ThtmlTable.h"
#include "platform/win/kernel/Arithmetic.h"

namespace engine {
namespace {

int SumRange(const std::vector<int>& values, int first, int count) {
  long long sum = 0;
  const int end = std::min(static_cast<int>(values.size()), first + count);
  for (int i = std::max(first, 0); i < end; ++i) sum += values[static_cast<std::size_t>(i)];
  return static_cast<int>(std::clamp<long long>(sum, 0, kMaxTableExtent));
}

// The walks over a long table's rows ask for the entries of the row
// kRowsAhead below early: a long table's cells are far out of cache when it
// is measured, and a row's work outlasts the fetch.
constexpr std::size_t kRowsAhead = 2;
void FetchRowAhead(const std::vector<std::unique_ptr<TCellList>>& rows, std::size_t row) {
  if (row >= rows.size()) return;
  for (const auto& entry : rows[row]->Cells) __builtin_prefetch(entry.get());
}

}  // namespace

TColumnRanges ThtmlTable::MeasureRanges(gui::TCanvas* canvas, bool withPercent, int base) {
  const int cycle = Document ? Document->LayoutCycle : -1;
  if (cycle >= 0 && measured_.cycle == cycle && measured_.withPercent == withPercent &&
      (measured_.base == base || !measured_.usesBase))
    return measured_.ranges;
  // The cells are measured as the arithmetic visits them (their sections keep
  // their own measurements), so that no copy of a long table's cells is made.
  bool usesBase = false;
  const TWidthCells cells = [&](const TWidthCellVisit& visit) {
    for (std::size_t r = 0; r < Rows.size(); ++r) {
      const auto& row = Rows[r];
      FetchRowAhead(Rows, r + kRowsAhead);
      for (int c = 0; c < row->Count(); ++c) {
        TCellObj* cell = row->Items(c);
        if (!cell || !cell->IsReal()) continue;
        TWidthCell measured;
        measured.Column = c;
        measured.ColSpan = cell->ColSpan;
        cell->Cell()->MeasureWidthRange(canvas, measured.ContentMin, measured.ContentMax);
        measured.HzSpace = cell->HzSpace();
        measured.Width = cell->WidthAttr;
        measured.WidthIsPercent = cell->AsPercent;
        usesBase = usesBase || RangeUsesBase(measured, NumCols);
        visit(measured);
      }
    }
  };
  TColumnRanges ranges = withPercent ? PercentWidthRange(cells, NumCols, CellSpacing, base)
                                     : PlainWidthRange(cells, NumCols, CellSpacing);
  measured_ = MeasuredRanges{cycle, withPercent, base, withPercent && usesBase, ranges};
  return ranges;
}

void ThtmlTable::MeasureWidthRange(gui::TCanvas* canvas, int& MinWidth, int& MaxWidth) {
  Initialize();
  const int cycle = Document ? Document->LayoutCycle : -1;
  if (cycle < 0 || rangeCycle_ != cycle || rangeSpecWidth_ != SpecWidth) {
    const TColumnRanges ranges = MeasureRanges(canvas, !HasPixelWidths || SpecWidth > 0, SpecWidth);
    rangeMin_ = std::max(SatAdd(ranges.MinSum(), CellSpacing), SpecWidth);
    rangeMax_ = std::max(SatAdd(ranges.MaxSum(), CellSpacing), SpecWidth);
    rangeCycle_ = cycle;
    rangeSpecWidth_ = SpecWidth;
  }
  MinWidth = rangeMin_;
  MaxWidth = rangeMax_;
}

void ThtmlTable::ChooseColumnWidths(gui::TCanvas* canvas, int W) {
  TColumnRanges ranges;
  if (HasPixelWidths && SpecWidth <= 0) {
    ranges = MeasureRanges(canvas, false, 0);
    Widths = PlainColumnWidths(W, ranges);
  } else {
    ranges = MeasureRanges(canvas, true, W);
    if (ranges.MinSum() < W)
      Widths = SpecWidth <= 0 ? NaturalColumnWidths(W, ranges) : OwnColumnWidths(W, ranges);
    else
      Widths = ranges.MinWidths;
  }
  MinWidths = ranges.MinWidths;
  MaxWidths = ranges.MaxWidths;
  Percents = ranges.Percents;
}

namespace {

// A cell's measurement for the row passes: its least and desired height and
// the characters its content counted.
struct CellMeasure {
  int least = 0;
  int desired = 0;
  int chars = 0;
};

// A cell spanning rows, measured ahead of its pass while the rows it covers
// settle: its pass leaves their heights alone once the rows' own minima hold
// what it needs (later passes only raise them).
struct SpanWatch {
  int first;
  int last;
  long long need;  // 0 or less: needs nothing
  long long held = 0;
};

}  // namespace

// Row heights: passes by row span, each cell laid out at Y 0 to learn its
// content height, then the table's available height shared among the rows.
// Cells learn their widths first.
//
// A row's height is settled once its own cells are measured, no spanning
// cell may still stretch it, and the minima of the rows so far fill the
// available height (they are never shared out then). Settled rows are placed
// and laid out for good in the same walk, in order, while their cells are
// still in cache. For that, cells spanning rows are measured as the walk
// meets them rather than in their passes; they wait for their heights to be
// laid out. The first row that is not settled leaves the rest to the placing
// after the passes.
void ThtmlTable::ComputeRowHeights(gui::TCanvas* canvas, int availableHeight, RowPlacement* placement, int& Curs) {
  const int rowCount = static_cast<int>(Rows.size());
  const int H = availableHeight - CellSpacing;
  const int base = std::max(0, H - rowCount * CellSpacing);
  TRowHeights rows{std::vector<int>(static_cast<std::size_t>(rowCount), 0),
                   std::vector<int>(static_cast<std::size_t>(rowCount), 0),
                   std::vector<bool>(static_cast<std::size_t>(rowCount), false)};
  // Per row: (least, desired) of the pass running; -1 marks a row the pass has not met.
  std::vector<std::pair<int, int>> passHeights(static_cast<std::size_t>(rowCount), {-1, 0});
  std::vector<int> passRows;  // rows the pass met, in order
  auto measureCell = [&](int r, TCellObj* cell) {
    CellMeasure measured;
    int g = 0;
    if (cell->SpecHt > 0) g = cell->SpecHt;
    else if (cell->SpecHtPercent > 0) g = win::MulDiv(cell->SpecHtPercent, base, 100);
    else if (rowCount == 1) g = base;
    int maxWidth = 0;
    const int contentWidth = std::max(0, cell->Wd - cell->HzSpace() - CellSpacing);
    cell->VSize = cell->Cell()->LayoutContent(canvas, 0, contentWidth, std::max(0, g - cell->VrSpace()), 0, maxWidth,
                                              measured.chars);
    measured.least = SatAdd(cell->VSize, cell->VrSpace());
    if (cell->SpecHt > 0) {
      measured.least = std::max(measured.least, std::max(cell->VSize, cell->SpecHt));
      rows.Sized[static_cast<std::size_t>(r)] = true;
    } else if (cell->SpecHtPercent > 0) {
      measured.desired = g;
      rows.Sized[static_cast<std::size_t>(r)] = true;
    }
    return measured;
  };
  auto note = [&](int r, const CellMeasure& measured) {
    auto& pass = passHeights[static_cast<std::size_t>(r)];
    if (pass.first < 0) {
      pass.first = 0;
      passRows.push_back(r);
    }
    pass.first = std::max(pass.first, measured.least);
    pass.second = std::max(pass.second, measured.desired);
  };
  // The single-row pass finishes each row as soon as its cells are measured.
  auto finishSingleRow = [&](int r) {
    auto& pass = passHeights[static_cast<std::size_t>(r)];
    if (pass.first < 0) return;
    rows.Minimum[static_cast<std::size_t>(r)] = SatAdd(pass.first, CellSpacing);
    rows.Desired[static_cast<std::size_t>(r)] = SatAdd(std::max(pass.first, pass.second), CellSpacing);
    pass = {-1, 0};
  };
  auto finishPass = [&](int span) {
    for (int r : passRows) {
      const std::pair<int, int>& pass = passHeights[static_cast<std::size_t>(r)];
      if (pass.first > CellSpacing) {
        SpreadRowSpan(rows.Minimum, r, span, SatAdd(pass.first, CellSpacing));
        SpreadRowSpan(rows.Desired, r, span, SatAdd(std::max(pass.first, pass.second), CellSpacing));
      }
    }
    for (int r : passRows) passHeights[static_cast<std::size_t>(r)] = {-1, 0};
    passRows.clear();
  };
  // Rows settle only when no minimum can be negative (cell spacing -1), and
  // spanning cells are measured ahead only when no line of theirs can be the
  // first one the document asks the baseline of.
  bool settling = placement != nullptr && placement->next == 0 && CellSpacing >= 0 &&
                  !(Document && Document->FirstLinePointer && *Document->FirstLinePointer == 0);
  long long minimumSum = 0;
  std::vector<SpanWatch> watched;  // measured ahead, still able to stretch their rows
  struct Spanning {
    int row;
    TCellObj* cell;
    std::optional<CellMeasure> measured;
  };
  // One walk over the rows gives every cell its width and makes the pass of
  // single-row cells in row order; cells spanning rows wait for their own
  // passes, by span. A long table is walked once, not three times.
  std::map<int, std::vector<Spanning>> spanning;
  for (int r = 0; r < rowCount; ++r) {
    const TCellList& row = *Rows[static_cast<std::size_t>(r)];
    FetchRowAhead(Rows, static_cast<std::size_t>(r) + kRowsAhead);
    for (int c = 0; c < row.Count(); ++c) {
      TCellObj* cell = row.Items(c);
      if (!cell || !cell->IsReal()) continue;
      cell->Wd = SumRange(Widths, c, cell->ColSpan);
      if (cell->RowSpan == 1) {
        note(r, measureCell(r, cell));
        continue;
      }
      Spanning& entry = spanning[cell->RowSpan].emplace_back(Spanning{r, cell, std::nullopt});
      if (!settling) continue;
      entry.measured = measureCell(r, cell);
      placement->spanChars[cell] = entry.measured->chars;
      if (entry.measured->least > CellSpacing)
        watched.push_back(SpanWatch{r, r + cell->RowSpan - 1, SatAdd(entry.measured->least, CellSpacing)});
    }
    finishSingleRow(r);
    if (!settling) continue;
    const int minimum = rows.Minimum[static_cast<std::size_t>(r)];
    minimumSum += minimum;
    int blockedFrom = INT32_MAX;
    for (SpanWatch& watch : watched) {
      watch.held += minimum;
      if (watch.held < watch.need) blockedFrom = std::min(blockedFrom, watch.first);
      if (watch.held < watch.need && watch.last <= r) settling = false;  // its pass will stretch its rows
    }
    std::erase_if(watched, [](const SpanWatch& watch) { return watch.held >= watch.need; });
    if (settling && MinimaFillHeight(minimumSum, H))
      while (placement->next <= r && placement->next < blockedFrom)
        PlaceRow(canvas, *placement, rows.Minimum[static_cast<std::size_t>(placement->next)], Curs);
  }
  passRows.clear();
  for (auto& [span, cells] : spanning) {
    for (Spanning& entry : cells) note(entry.row, entry.measured ? *entry.measured : measureCell(entry.row, entry.cell));
    finishPass(span);
  }
  Heights = DistributeRowHeights(rows, H);
#ifndef NDEBUG
  for (int r = 0; placement != nullptr && r < placement->next; ++r)
    assert(Heights[static_cast<std::size_t>(r)] == Rows[static_cast<std::size_t>(r)]->RowHeight);
#endif
}

int ThtmlTable::SpannedHeight(int row, int span) const { return SumRange(Heights, row, span); }

void ThtmlTable::LayoutCellFinal(gui::TCanvas* canvas, TCellObj& cell, int rowY, int& Curs) {
  const int c = CellSpacing;
  if (cell.Cell()->Count() == 0) {
    cell.YIndent = 0;
  } else if (cell.VertAlign == kVAlignTop) {
    cell.YIndent = 0;
  } else {
    const int room = cell.Ht - cell.VSize - c - cell.VrSpace();
    cell.YIndent = cell.VertAlign == kVAlignMiddle ? room / 2 : room;
  }
  int maxWidth = 0;
  const int top = SatAdd(rowY, c + cell.PadTop + cell.BrdTop + cell.YIndent);
  cell.Cell()->LayoutContent(canvas, top, std::max(0, cell.Wd - c - cell.HzSpace()),
                             std::max(0, cell.Ht - cell.VrSpace() - c), 0, maxWidth, Curs);
}

ThtmlTable::RowPlacement ThtmlTable::StartPlacement(int Y) {
  FootStartRow = -1;
  FootHeight = 0;
  FootOffset = 0;
  TableHeight = 0;
  rowTops_.assign(Rows.size(), 0);
  rowReach_.assign(Rows.size(), 0);
  RowPlacement placement;
  placement.Y = Y;
  return placement;
}

// Places one row at placement.Y: its height, spans, header and footer bands,
// and (when the root asks for it) its cells' final layout.
void ThtmlTable::PlaceRow(gui::TCanvas* canvas, RowPlacement& placement, int height, int& Curs) {
  const int r = placement.next++;
  const int Y = placement.Y;
  TCellList& row = *Rows[static_cast<std::size_t>(r)];
  row.RowHeight = height;
  if (row.RowKind == kRowHeader) placement.headerHeight = SatAdd(placement.headerHeight, row.RowHeight);
  else if (row.RowKind == kRowFooter) {
    if (FootStartRow < 0) {
      FootStartRow = r;
      FootOffset = TableHeight;
    }
    FootHeight = SatAdd(FootHeight, row.RowHeight);
  } else {
    placement.bodyExists = true;
  }
  row.RowSpanHeight = 0;
  const std::size_t firstWaiting = placement.waiting.size();
  for (int c = 0; c < row.Count(); ++c) {
    TCellObj* cell = row.Items(c);
    if (!cell || !cell->IsReal()) continue;
    cell->Wd = SumRange(Widths, c, cell->ColSpan);
    if (cell->RowSpan > 1 && !placement.heightsKnown) {
      placement.waiting.push_back({cell, r, Y, 0, 0, /*layOut=*/false});  // its height comes with the others'
      continue;
    }
    // A single row's height as the sum over the rows it spans would give it.
    cell->Ht = cell->RowSpan == 1 ? std::clamp(row.RowHeight, 0, kMaxTableExtent) : SpannedHeight(r, cell->RowSpan);
    row.RowSpanHeight = std::max(row.RowSpanHeight, cell->Ht);
  }
  rowTops_[static_cast<std::size_t>(r)] = Y;
  placement.reach = std::max(placement.reach, SatAdd(Y, row.RowSpanHeight));
  rowReach_[static_cast<std::size_t>(r)] = placement.reach;
  TableHeight = SatAdd(TableHeight, row.RowHeight);
  {
    // The outermost table lays its cells out for good; nested tables do so
    // only inside that final layout, which bounds the work of deep nesting.
    std::optional<ValueScope<bool>> repeat;
    if (Document != nullptr && Document->TableNestLevel == 1) repeat.emplace(Document->InLogic2, true);
    if (Document == nullptr || Document->InLogic2) {
      for (const auto& cell : row.Cells) {
        if (!cell || !cell->IsReal()) continue;
        if (cell->RowSpan == 1 || placement.heightsKnown) {
          LayoutCellFinal(canvas, *cell, Y, Curs);
          continue;
        }
        auto waiting = std::find_if(placement.waiting.begin() + static_cast<std::ptrdiff_t>(firstWaiting),
                                    placement.waiting.end(),
                                    [&cell](const RowPlacement::Waiting& entry) { return entry.cell == cell.get(); });
        const auto chars = placement.spanChars.find(cell.get());
        waiting->curs = Curs;
        waiting->chars = chars != placement.spanChars.end() ? chars->second : -1;
        waiting->layOut = true;
        Curs = SatAdd(Curs, std::max(waiting->chars, 0));
      }
    }
  }
  placement.Y = SatAdd(Y, row.RowHeight);
}

bool ThtmlTable::LayOutWaitingCells(gui::TCanvas* canvas, RowPlacement& placement) {
  bool asCounted = true;
  std::optional<ValueScope<bool>> repeat;
  if (Document != nullptr && Document->TableNestLevel == 1) repeat.emplace(Document->InLogic2, true);
  for (const RowPlacement::Waiting& waiting : placement.waiting) {
    TCellObj& cell = *waiting.cell;
    cell.Ht = SpannedHeight(waiting.row, cell.RowSpan);
    TCellList& row = *Rows[static_cast<std::size_t>(waiting.row)];
    row.RowSpanHeight = std::max(row.RowSpanHeight, cell.Ht);
    if (!waiting.layOut) continue;
    int curs = waiting.curs;
    LayoutCellFinal(canvas, cell, waiting.rowY, curs);
    asCounted = asCounted && waiting.chars >= 0 && curs == SatAdd(waiting.curs, waiting.chars);
  }
  // The rows' reach takes the waiting cells' in one sweep from the first of them.
  int reach = INT32_MIN;
  std::size_t next = 0;
  const std::size_t first = placement.waiting.empty() ? rowReach_.size()
                                                      : static_cast<std::size_t>(placement.waiting.front().row);
  for (std::size_t r = first; r < rowReach_.size(); ++r) {
    for (; next < placement.waiting.size() && static_cast<std::size_t>(placement.waiting[next].row) == r; ++next)
      reach = std::max(reach, SatAdd(rowTops_[r], placement.waiting[next].cell->Ht));
    rowReach_[r] = std::max(rowReach_[r], reach);
  }
  placement.waiting.clear();
  return asCounted;
}

int ThtmlTable::FinishPlacement(gui::TCanvas* canvas, RowPlacement& placement, int& Curs) {
  const int rowCount = static_cast<int>(Rows.size());
  placement.heightsKnown = true;
  while (placement.next < rowCount) {
    const std::size_t r = static_cast<std::size_t>(placement.next);
    PlaceRow(canvas, placement, r < Heights.size() ? Heights[r] : 0, Curs);
  }
  if (!placement.waiting.empty() && !LayOutWaitingCells(canvas, placement)) {
    // A waiting cell counted otherwise for good than when measured (content
    // that failed to lay out counts nothing): the cells after it took wrong
    // character positions, so every row is laid out again, in order.
    const int top = rowTops_.empty() ? placement.Y : rowTops_.front();
    placement = StartPlacement(top);
    Curs = FirstCharPos;
    while (placement.next < rowCount) {
      const std::size_t r = static_cast<std::size_t>(placement.next);
      PlaceRow(canvas, placement, r < Heights.size() ? Heights[r] : 0, Curs);
    }
  }
  HeaderRepeat = (placement.headerHeight > 0 || FootHeight > 0) && placement.bodyExists;
  return placement.Y;
}

int ThtmlTable::LayoutSection(gui::TCanvas* canvas, int X, int Y, int /*XRef*/, int /*YRef*/, int Width,
                              int AHeight, int /*BlockHeight*/, IndentManager& IMgr, int& MaxWidth, int& Curs) {
  int unusedNest = 0;
  CounterScope nest(Document ? Document->TableNestLevel : unusedNest);
  TopY = Y;
  ContentTop = Y;
  FirstCharPos = Curs;
  layoutX_ = X;
  int* baselineSlot = Document && Document->FirstLinePointer && *Document->FirstLinePointer == 0
                          ? Document->FirstLinePointer
                          : nullptr;
  const int available = SpecWidth > 0 ? SpecWidth : IMgr.RightSide(Y) - IMgr.LeftIndent(Y);
  const int W = std::max(0, (available > 0 ? available : Width)) - CellSpacing;
  Initialize();
  ChooseColumnWidths(canvas, W);
  TotalWidth = SatAdd(CellSpacing, SumRange(Widths, 0, NumCols));
  columnLefts_.assign(Widths.size(), 0);
  for (std::size_t c = 1; c < Widths.size(); ++c) columnLefts_[c] = SatAdd(columnLefts_[c - 1], Widths[c - 1]);
  const int cycle = Document ? Document->LayoutCycle : 0;
  const bool repeat = Document != nullptr && Document->InLogic2 && Document->TableNestLevel <= 5;
  RowPlacement placement = StartPlacement(Y);
  placement.heightsKnown = false;
  if (layoutCycle_ != cycle || repeat || Heights.size() != Rows.size()) {
    ComputeRowHeights(canvas, AHeight, &placement, Curs);
    layoutCycle_ = cycle;
  }
  FinishPlacement(canvas, placement, Curs);
  TableHeight = SatAdd(TableHeight, CellSpacing);
  SectionHeight = TableHeight;
  PaintHeight = TableHeight;
  PaintTop = Y;
  PaintBottom = SatAdd(Y, TableHeight);
  ContentBottom = PaintBottom;
  CharCount = Curs - FirstCharPos;
  MaxWidth = TotalWidth;
  if (baselineSlot && *baselineSlot == 0) *baselineSlot = SatAdd(Y, TableHeight);
  return TableHeight;
}

}  // namespace engine
