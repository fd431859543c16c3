// ThtmlTable's answers to point, position, search and selection questions:
// a point goes to the cell whose box holds it; the other questions go to the
// cells in reading order (row by row, left to right), or backward, and the
// first answer wins.
#include <algorithm>

#include "engine/document/SaturatedMath.h"
#include "engine/document/TSectionList.h"
#include "engine/tables/ThtmlTable.h"

namespace engine {

template <class Visit>
bool ThtmlTable::ForEachCell(Visit visit) const {
  for (const auto& row : Rows)
    for (const auto& cell : row->Cells)
      if (cell && cell->IsReal() && visit(*cell)) return true;
  return false;
}

template <class Visit>
bool ThtmlTable::ForEachCellBackward(Visit visit) const {
  for (auto row = Rows.rbegin(); row != Rows.rend(); ++row)
    for (auto cell = (*row)->Cells.rbegin(); cell != (*row)->Cells.rend(); ++cell)
      if (*cell && (*cell)->IsReal() && visit(**cell)) return true;
  return false;
}

TCellObj* ThtmlTable::CellAtPoint(int X, int Y) const {
  if (rowTops_.empty() || Y < TopY || Y >= SatAdd(TopY, TableHeight)) return nullptr;
  if (X < layoutX_ || X >= SatAdd(layoutX_, TotalWidth)) return nullptr;
  // The row that starts last at or above Y, and the column under X.
  const int row = static_cast<int>(std::upper_bound(rowTops_.begin(), rowTops_.end(), Y) - rowTops_.begin()) - 1;
  int column = -1;
  for (int c = 0, left = layoutX_; c < NumCols; ++c) {
    const int right = SatAdd(left, Widths[static_cast<std::size_t>(c)]);
    if (X < right) {
      column = c;
      break;
    }
    left = right;
  }
  if (row < 0 || column < 0) return nullptr;
  // Walk to the real cell that covers this place: up through row-span dummies,
  // left through column-span dummies.
  for (int r = row; r >= 0; --r) {
    const TCellList& cells = *Rows[static_cast<std::size_t>(r)];
    for (int c = column; c >= 0; --c) {
      TCellObj* entry = cells.Items(c);
      if (entry == nullptr) return nullptr;
      if (entry->IsReal()) {
        const int top = rowTops_[static_cast<std::size_t>(r)];
        return Y < SatAdd(top, entry->Ht) ? entry : nullptr;
      }
      if (entry->RowSpan == 0) break;  // a row-span dummy: the owner is above
    }
  }
  return nullptr;
}

std::uint8_t ThtmlTable::LinkAtPoint(gui::TCanvas* canvas, int X, int Y, std::unique_ptr<TUrlTarget>& UrlTarget,
                                     TFormControlObj*& FormControl, std::string& Title) {
  TCellObj* cell = CellAtPoint(X, Y);
  return cell ? cell->LinkAtPoint(canvas, X, Y, CellContentX(*cell), UrlTarget, FormControl, Title) : 0;
}

bool ThtmlTable::ObjectAtPoint(int X, int Y, TIDObject*& Obj, int& IX, int& IY) {
  TCellObj* cell = CellAtPoint(X, Y);
  return cell && cell->Cell()->ObjectAtPoint(X - CellContentX(*cell), Y, Obj, IX, IY);
}

int ThtmlTable::CursorAtPoint(gui::TCanvas* canvas, int X, int Y, int& XR, int& YR, int& CaretHeight,
                              bool& InText) {
  TCellObj* cell = CellAtPoint(X, Y);
  if (!cell) return -1;
  const int offset = CellContentX(*cell);
  const int position = cell->Cell()->CursorAtPoint(canvas, X - offset, Y, XR, YR, CaretHeight, InText);
  if (position >= 0) XR = SatAdd(XR, offset);
  return position;
}

int ThtmlTable::SearchForward(int Position, const std::u16string& Text, bool MatchCase) {
  int found = -1;
  ForEachCell([&](TCellObj& cell) { return (found = cell.Cell()->SearchForward(Position, Text, MatchCase)) >= 0; });
  return found;
}

int ThtmlTable::SearchBackward(int Position, const std::u16string& Text, bool MatchCase) {
  int found = -1;
  ForEachCellBackward(
      [&](TCellObj& cell) { return (found = cell.Cell()->SearchBackward(Position, Text, MatchCase)) >= 0; });
  return found;
}

int ThtmlTable::DocPosToSourcePos(int Position) {
  int found = -1;
  ForEachCell([&](TCellObj& cell) { return (found = cell.Cell()->DocPosToSourcePos(Position)) >= 0; });
  return found;
}

int ThtmlTable::SourcePosToDocPos(int SourcePos, bool Previous) {
  int found = -1;
  auto visit = [&](TCellObj& cell) { return (found = cell.Cell()->SourcePosToDocPos(SourcePos, Previous)) >= 0; };
  if (Previous) ForEachCellBackward(visit);
  else ForEachCell(visit);
  return found;
}

bool ThtmlTable::CursorToXY(gui::TCanvas* canvas, int Position, int& X, int& Y) {
  if (Position < FirstCharPos || Position >= SatAdd(FirstCharPos, CharCount)) return false;
  return ForEachCell([&](TCellObj& cell) {
    if (!cell.Cell()->CursorToXY(canvas, Position, X, Y)) return false;
    X = SatAdd(X, CellContentX(cell));
    return true;
  });
}

bool ThtmlTable::CharAtPosition(int Position, char16_t& Ch, TIDObject*& Obj) {
  if (Position < FirstCharPos || Position >= SatAdd(FirstCharPos, CharCount)) return false;
  return ForEachCell([&](TCellObj& cell) { return cell.Cell()->CharAtPosition(Position, Ch, Obj); });
}

void ThtmlTable::CopyToSelectionBuffer(SelTextCount& buffer) {
  if (!Document) return;
  ForEachCell([&](TCellObj& cell) {
    cell.Cell()->CopyToSelectionBuffer(buffer, Document->SelB, Document->SelE);
    return false;
  });
}

void ThtmlTable::AddToPositionList(std::vector<TSectionBase*>& list) { list.push_back(this); }

int ThtmlTable::RowTop(int row) const {
  return row >= 0 && row < static_cast<int>(rowTops_.size()) ? rowTops_[static_cast<std::size_t>(row)] : TopY;
}

int ThtmlTable::ColumnLeft(int column) const {
  const int left = column >= 0 && column < static_cast<int>(columnLefts_.size())
                       ? columnLefts_[static_cast<std::size_t>(column)]
                       : 0;
  return SatAdd(layoutX_, left);
}

int ThtmlTable::CellContentX(const TCellObj& cell) const {
  const std::size_t column = static_cast<std::size_t>(std::max(cell.Column, 0));
  const int left = column < columnLefts_.size() ? columnLefts_[column] : 0;
  return SatAdd(SatAdd(layoutX_, left), CellSpacing + cell.PadLeft + cell.BrdLeft);
}

}  // namespace engine
