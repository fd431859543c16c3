// ThtmlTable painting and TCellList's row drawing: rows in view are found by
// halving over their tops, each row draws its real cells left to right, and
// when printing a row decides whether it starts the next page.
#include <algorithm>

#include "engine/document/SaturatedMath.h"
#include "engine/document/TSectionList.h"
#include "engine/tables/ThtmlTable.h"

namespace engine {
namespace {

// Moves the page end up to limit (never down) and marks it fixed.
void MovePageEndUp(TSectionList& document, int limit) {
  if (limit < document.VisibleBottom) {
    document.VisibleBottom = limit;
    document.PageMoved = true;
  }
}

// The page rules of one printed row; true when the row waits for the next page.
bool RowWaitsForNextPage(const TCellList& row, TSectionList& document, int s, int Y, int Yo, const win::RECT& clip) {
  const int half = s / 2;
  const int pageHeight = SatSub(document.VisibleBottom, document.YOffset);
  const bool startsPage = clip.top >= Yo;
  if (row.BreakBefore && !startsPage) {
    MovePageEndUp(document, SatAdd(Y, half));
    return true;
  }
  if (row.KeepIntact && !startsPage) {
    if (SatAdd(Y, row.RowSpanHeight) > document.VisibleBottom && row.RowSpanHeight < pageHeight) {
      MovePageEndUp(document, Y);
      return true;
    }
    if (SatAdd(Y, row.RowHeight) > document.VisibleBottom && row.RowHeight < pageHeight) {
      MovePageEndUp(document, SatAdd(Y, half));
      return true;
    }
  }
  const int bottom = SatAdd(Y, row.RowHeight);
  if (row.BreakAfter && bottom > document.YOffset && SatAdd(bottom, half) < document.VisibleBottom) {
    document.VisibleBottom = SatAdd(bottom, half);
    document.PageMoved = true;
  }
  // Short rows move to the next page whole; taller ones are cut by the page.
  if (row.RowSpanHeight <= 100 && SatAdd(Y, row.RowSpanHeight) > document.VisibleBottom) {
    MovePageEndUp(document, Y);
    return true;
  }
  return false;
}

}  // namespace

int TCellList::Draw(gui::TCanvas* canvas, TSectionList& document, TColor dark, TColor light, bool tableHasBorder,
                    int cellSpacing, int Y, int X, const std::vector<int>& widths, const win::RECT& clipRect) {
  const int Yo = SatSub(Y, document.YOffset);
  const int next = SatAdd(Y, RowHeight);
  if (document.Printing && RowWaitsForNextPage(*this, document, cellSpacing, Y, Yo, clipRect)) return next;
  if (SatAdd(Yo, RowSpanHeight) < clipRect.top || Yo >= clipRect.bottom) return next;
  if (document.Printing && Y >= document.VisibleBottom) return next;
  for (std::size_t c = 0; c < Cells.size() && c < widths.size(); ++c) {
    if (Cells[c] && Cells[c]->IsReal()) Cells[c]->Draw(canvas, clipRect, dark, light, tableHasBorder, cellSpacing, Y, X);
    X = SatAdd(X, widths[c]);
  }
  return next;
}

int ThtmlTable::PaintSection(gui::TCanvas* canvas, const win::RECT& clipRect, IndentManager& /*IMgr*/, int X,
                             int /*XRef*/, int /*YRef*/) {
  const int result = SatAdd(TopY, SectionHeight);
  if (Document == nullptr || rowTops_.size() != Rows.size()) return result;
  ++Document->TableNestLevel;
  struct Unnest {
    int& level;
    ~Unnest() { --level; }
  } unnest{Document->TableNestLevel};
  const int Y = TopY;
  const int Yo = SatSub(Y, Document->YOffset);
  if (!Document->Printing && (SatAdd(Yo, SectionHeight) < clipRect.top || Yo >= clipRect.bottom)) return result;
  DrawX = X;
  DrawY = Y;
  // NOTE: repeating header and footer rows across printed pages comes with
  // printing; a printed table is drawn row by row under the page rules.
  const int first = static_cast<int>(
      std::lower_bound(rowReach_.begin(), rowReach_.end(), SatAdd(clipRect.top, Document->YOffset)) - rowReach_.begin());
  const int last = static_cast<int>(
      std::lower_bound(rowTops_.begin(), rowTops_.end(), SatAdd(clipRect.bottom, Document->YOffset)) -
      rowTops_.begin());
  PaintRows(canvas, clipRect, X, Y, Document->Printing ? 0 : first, Document->Printing ? static_cast<int>(Rows.size()) : last);
  return result;
}

int ThtmlTable::PaintRows(gui::TCanvas* canvas, const win::RECT& clipRect, int X, int /*Y*/, int firstRow,
                          int lastRow) {
  int bottom = 0;
  for (int r = std::max(firstRow, 0); r < lastRow && r < static_cast<int>(Rows.size()); ++r) {
    bottom = Rows[static_cast<std::size_t>(r)]->Draw(canvas, *Document, BorderColorDark, BorderColorLight,
                                                      BorderWidth > 0, CellSpacing,
                                                      rowTops_[static_cast<std::size_t>(r)], X, Widths, clipRect);
  }
  return bottom;
}

}  // namespace engine
