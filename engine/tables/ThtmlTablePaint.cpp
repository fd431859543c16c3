// ThtmlTable painting and TCellList's row drawing: rows in view are found by
// halving over their tops, each row draws its real cells left to right, and
// when printing a row decides whether it starts the next page.
#include <algorithm>

#include "engine/common/ScopedValues.h"
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
// startsPage: nothing of the table was drawn on this page above the row, so
// deferring it would only put it at the top of an equally full page (a page
// that repeats a header row is never empty above its first body row).
bool RowWaitsForNextPage(const TCellList& row, TSectionList& document, int s, int Y, bool startsPage) {
  const int half = s / 2;
  const int pageHeight = SatSub(document.VisibleBottom, document.YOffset);
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
  if (!startsPage && row.RowSpanHeight <= 100 && SatAdd(Y, row.RowSpanHeight) > document.VisibleBottom) {
    MovePageEndUp(document, Y);
    return true;
  }
  return false;
}

}  // namespace

int TCellList::Draw(gui::TCanvas* canvas, TSectionList& document, TColor dark, TColor light, bool tableHasBorder,
                    int cellSpacing, int Y, int X, const std::vector<int>& widths, const win::RECT& clipRect,
                    bool& drawnOnPage) {
  const int Yo = SatSub(Y, document.YOffset);
  const int next = SatAdd(Y, RowHeight);
  if (document.Printing) {
    if (Yo < clipRect.top - 1 && SatAdd(Yo, RowSpanHeight) <= clipRect.top) return next;  // on an earlier page
    const bool startsPage = !drawnOnPage && Yo <= SatAdd(clipRect.top, cellSpacing + 1) ? true : clipRect.top >= Yo;
    if (RowWaitsForNextPage(*this, document, cellSpacing, Y, startsPage)) return next;
  }
  if (SatAdd(Yo, RowSpanHeight) < clipRect.top || Yo >= clipRect.bottom) return next;
  if (document.Printing && Y >= document.VisibleBottom) return next;
  drawnOnPage = true;
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
  CounterScope nest(Document->TableNestLevel);
  const int Y = TopY;
  const int Yo = SatSub(Y, Document->YOffset);
  if (!Document->Printing && (SatAdd(Yo, SectionHeight) < clipRect.top || Yo >= clipRect.bottom)) return result;
  DrawX = X;
  if (Document->Printing && Document->TableNestLevel == 1 && HeaderRepeat && PartRec && Y < Document->VisibleBottom &&
      (Document->TableBeingPrinted == nullptr || Document->TableBeingPrinted == this)) {
    PaintAcrossPages(canvas, clipRect, X, Y);
    Document->TablePartSlot = PartRec.get();
    return result;
  }
  DrawY = Y;
  if (Document->Printing) return PaintRows(canvas, clipRect, X, 0, static_cast<int>(Rows.size())), result;
  const int first = static_cast<int>(
      std::lower_bound(rowReach_.begin(), rowReach_.end(), SatAdd(clipRect.top, Document->YOffset)) - rowReach_.begin());
  const int last = static_cast<int>(
      std::lower_bound(rowTops_.begin(), rowTops_.end(), SatAdd(clipRect.bottom, Document->YOffset)) -
      rowTops_.begin());
  PaintRows(canvas, clipRect, X, first, last);
  return result;
}

int ThtmlTable::PaintRows(gui::TCanvas* canvas, const win::RECT& clipRect, int X, int firstRow, int lastRow) {
  int bottom = 0;
  bool drawnOnPage = false;
  for (int r = std::max(firstRow, 0); r < lastRow && r < static_cast<int>(Rows.size()); ++r) {
    bottom = Rows[static_cast<std::size_t>(r)]->Draw(canvas, *Document, BorderColorDark, BorderColorLight,
                                                      BorderWidth > 0, CellSpacing,
                                                      rowTops_[static_cast<std::size_t>(r)], X, Widths, clipRect,
                                                      drawnOnPage);
  }
  return bottom;
}

int ThtmlTable::HeaderHeight() const {
  int height = 0;
  for (const auto& row : Rows)
    if (row->RowKind == kRowHeader) height = SatAdd(height, row->RowHeight);
  return height;
}

// The part the printer places next once a page of the table is done.
void ThtmlTable::ChooseNextPart() {
  const int s = CellSpacing;
  if (FootStartRow >= 0) {
    PartRec->PartType = 5;
    PartRec->PartStart = SatAdd(TopY, FootOffset);
    PartRec->PartHeight = SatAdd(std::max(2 * s, s + 1), SatAdd(FootHeight, BorderBottomWidth));
  } else if (HeaderHeight() > 0) {
    PartRec->PartType = 1;
    PartRec->PartStart = SatSub(DrawY, BorderTopWidth);
    PartRec->PartHeight = SatAdd(BorderTopWidth, HeaderHeight());
  } else {
    PartRec->PartType = 0;  // nothing to repeat: the printer must not wait for a band
  }
}

// A printed table whose header or footer rows repeat on every page it covers:
// each call draws what belongs on the current page and leaves in PartRec what
// the printer must place next.
void ThtmlTable::PaintAcrossPages(gui::TCanvas* canvas, const win::RECT& clipRect, int X, int Y) {
  TSectionList& doc = *Document;
  const int s = CellSpacing;
  const int e1 = BorderTopWidth;
  const int e2 = BorderBottomWidth;
  const int rowCount = static_cast<int>(Rows.size());
  switch (PartRec->PartType) {
    case 0: {
      DrawY = Y;
      doc.TableBeingPrinted = this;
      if (SatSub(doc.VisibleBottom, Y) >= SatAdd(e2, TableHeight)) {
        PaintRows(canvas, clipRect, X, 0, rowCount);
        doc.TableBeingPrinted = nullptr;
        return;
      }
      // Header, first body row and footer together: the least a page must show of the table.
      int least = SatAdd(HeaderHeight(), FootHeight);
      for (const auto& row : Rows) {
        if (row->RowKind == kRowBody) {
          least = SatAdd(least, row->RowHeight);
          break;
        }
      }
      const int pageHeight = SatSub(doc.VisibleBottom, doc.YOffset);
      if (Y > doc.YOffset && least < pageHeight && SatAdd(Y, least) > doc.VisibleBottom) {
        MovePageEndUp(doc, SatAdd(Y, s / 2));
        return;
      }
      doc.VisibleBottom = SatSub(doc.VisibleBottom, SatAdd(SatAdd(FootHeight, s), e2 + 5));
      PaintRows(canvas, clipRect, X, 0, rowCount);
      BreakY = doc.VisibleBottom;
      ChooseNextPart();
      return;
    }
    case 1:
      for (int r = 0; r < rowCount && Rows[static_cast<std::size_t>(r)]->RowKind == kRowHeader; ++r)
        PaintRows(canvas, clipRect, X, r, r + 1);
      PartRec->PartType = 2;
      PartRec->PartStart = SatSub(BreakY, 1);
      PartRec->FootHeight = SatAdd(std::max(s, 1), SatAdd(FootHeight, e2));
      return;
    case 2:
    case 3: {
      const bool variant = PartRec->PartType == 3;
      if (SatAdd(SatAdd(Y, TableHeight), e2) < doc.VisibleBottom) {
        PaintRows(canvas, clipRect, X, 0, rowCount);
        PartRec->PartType = 0;
        if (variant) doc.TableBeingPrinted = nullptr;
        return;
      }
      const int limit = doc.VisibleBottom;
      doc.VisibleBottom = SatSub(SatAdd(std::max(s, 1), limit), SatAdd(FootHeight, e2));
      PaintRows(canvas, clipRect, X, 0, rowCount);
      BreakY = doc.VisibleBottom;
      if (variant && FootStartRow < 0) doc.VisibleBottom = limit;
      ChooseNextPart();
      return;
    }
    case 5:
      PaintRows(canvas, clipRect, X, std::max(FootStartRow, 0), rowCount);
      if (HeaderHeight() <= 0) {
        PartRec->PartType = 4;
        PartRec->PartStart = SatSub(BreakY, 1);
        PartRec->FootHeight = SatAdd(std::max(s, 1), FootHeight);
      } else {
        PartRec->PartType = 1;
        PartRec->PartStart = SatSub(DrawY, e1);
        PartRec->PartHeight = SatAdd(e1, HeaderHeight());
      }
      return;
    default: return;  // 4: the footer was drawn and there is no header to repeat
  }
}

}  // namespace engine
