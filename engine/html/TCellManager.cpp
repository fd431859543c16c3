#include "engine/html/TCellManager.h"

#include <algorithm>

#include "engine/tables/ThtmlTable.h"

namespace engine {

bool TCellManager::EnsureRows(long long count) {
  if (count > kMaxRows) return false;
  while (static_cast<long long>(rows_.size()) < count) rows_.emplace_back(table_.Columns.size(), 'o');
  return true;
}

int TCellManager::FindColNum(int row) {
  if (row < 0 || !EnsureRows(static_cast<long long>(row) + 1)) return -1;
  const std::size_t free = rows_[static_cast<std::size_t>(row)].find('o');
  return free == std::string::npos ? -1 : static_cast<int>(free);
}

void TCellManager::AddCell(int row, TCellObj& cell) {
  if (row < 0) return;
  EnsureRows(std::min<long long>(static_cast<long long>(row) + cell.RowSpan, kMaxRows));
  if (row >= static_cast<int>(rows_.size())) return;
  const std::size_t start = rows_[static_cast<std::size_t>(row)].find('o');
  if (start == std::string::npos) return;
  const int last = std::min(static_cast<int>(rows_.size()), row + cell.RowSpan);
  const int span = cell.ColSpan;
  for (int r = row; r < last; ++r) {
    std::string& text = rows_[static_cast<std::size_t>(r)];
    int marked = 0;
    for (std::size_t c = start; c < text.size() && marked < span && text[c] == 'o'; ++c, ++marked) text[c] = 'x';
    // The shortfall of each row counts against the span the cell asked for.
    if (marked < span) cell.ColSpan = std::max(1, std::min(cell.ColSpan, marked));
  }
}

}  // namespace engine
