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
    for (const auto& row : Rows) {
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

// Row heights: passes by row span, each cell laid out at Y 0 to learn its
// content height, then the table's available height shared among the rows.
// Cells learn their widths first.
//
// A row that no cell spanning rows covers has its height once its own cells
// are measured, as soon as the minima of the rows so far fill the available
// height (they are never shared out then, and later passes only touch rows
// that spanning cells cover). Such rows are placed and laid out for good in
// the same walk, in order, while their cells are still in cache; the first
// row that is not settled leaves the rest to the placing after the passes.
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
    int desired = 0;
    int g = 0;
    if (cell->SpecHt > 0) g = cell->SpecHt;
    else if (cell->SpecHtPercent > 0) g = win::MulDiv(cell->SpecHtPercent, base, 100);
    else if (rowCount == 1) g = base;
    int maxWidth = 0;
    int scratchCurs = 0;
    const int contentWidth = std::max(0, cell->Wd - cell->HzSpace() - CellSpacing);
    cell->VSize = cell->Cell()->LayoutContent(canvas, 0, contentWidth, std::max(0, g - cell->VrSpace()), 0, maxWidth,
                                              scratchCurs);
    int least = SatAdd(cell->VSize, cell->VrSpace());
    if (cell->SpecHt > 0) {
      least = std::max(least, std::max(cell->VSize, cell->SpecHt));
      rows.Sized[static_cast<std::size_t>(r)] = true;
    } else if (cell->SpecHtPercent > 0) {
      desired = g;
      rows.Sized[static_cast<std::size_t>(r)] = true;
    }
    auto& pass = passHeights[static_cast<std::size_t>(r)];
    if (pass.first < 0) {
      pass.first = 0;
      passRows.push_back(r);
    }
    pass.first = std::max(pass.first, least);
    pass.second = std::max(pass.second, desired);
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
  // Rows are settled only while no row so far has been covered by a spanning
  // cell, and only when no minimum can be negative (cell spacing -1).
  bool settling = placement != nullptr && placement->next == 0 && CellSpacing >= 0;
  long long minimumSum = 0;
  int coveredTo = -1;  // the last row a spanning cell met so far reaches
  // One walk over the rows gives every cell its width and makes the pass of
  // single-row cells in row order; cells spanning rows wait for their own
  // passes, by span. A long table is walked once, not three times.
  std::map<int, std::vector<std::pair<int, TCellObj*>>> spanning;
  for (int r = 0; r < rowCount; ++r) {
    const TCellList& row = *Rows[static_cast<std::size_t>(r)];
    for (int c = 0; c < row.Count(); ++c) {
      TCellObj* cell = row.Items(c);
      if (!cell || !cell->IsReal()) continue;
      cell->Wd = SumRange(Widths, c, cell->ColSpan);
      if (cell->RowSpan == 1) {
        measureCell(r, cell);
      } else {
        spanning[cell->RowSpan].push_back({r, cell});
        coveredTo = std::max(coveredTo, r + cell->RowSpan - 1);
      }
    }
    finishSingleRow(r);
    if (!settling) continue;
    if (r <= coveredTo) {
      settling = false;
      continue;
    }
    minimumSum += rows.Minimum[static_cast<std::size_t>(r)];
    if (MinimaFillHeight(minimumSum, H))
      while (placement->next <= r)
        PlaceRow(canvas, *placement, rows.Minimum[static_cast<std::size_t>(placement->next)], Curs);
  }
  passRows.clear();
  for (auto& [span, cells] : spanning) {
    for (auto& [r, cell] : cells) measureCell(r, cell);
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
  for (int c = 0; c < row.Count(); ++c) {
    TCellObj* cell = row.Items(c);
    if (!cell || !cell->IsReal()) continue;
    cell->Wd = SumRange(Widths, c, cell->ColSpan);
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
      for (const auto& cell : row.Cells)
        if (cell && cell->IsReal()) LayoutCellFinal(canvas, *cell, Y, Curs);
    }
  }
  placement.Y = SatAdd(Y, row.RowHeight);
}

int ThtmlTable::FinishPlacement(gui::TCanvas* canvas, RowPlacement& placement, int& Curs) {
  const int rowCount = static_cast<int>(Rows.size());
  while (placement.next < rowCount) {
    const std::size_t r = static_cast<std::size_t>(placement.next);
    PlaceRow(canvas, placement, r < Heights.size() ? Heights[r] : 0, Curs);
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
