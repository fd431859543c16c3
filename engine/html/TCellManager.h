#pragma once
// TCellManager: which column each cell of a table lands in while the table is
// read, so that COL and COLGROUP alignments reach their cells. One string per
// row: "o" marks a free column, "x" an occupied one (by a cell of the row or a
// row span from above). Only made when the table has column descriptions.
#include <string>
#include <vector>

namespace engine {

class TCellObj;
class ThtmlTable;

class TCellManager {
 public:
  // Rows beyond this are not tracked: their cells get no column alignment.
  static constexpr int kMaxRows = 65536;

  // New row strings are as long as the table has column descriptions then.
  explicit TCellManager(const ThtmlTable& table) : table_(table) {}

  // The first free column of row, -1 when the row is full (or not tracked).
  int FindColNum(int row);
  // Marks the columns the cell takes from the first free one of row, in every
  // row it spans; a column span that runs into an occupied column is cut back
  // (never below one column).
  void AddCell(int row, TCellObj& cell);

  const std::vector<std::string>& Rows() const { return rows_; }

 private:
  bool EnsureRows(long long count);

  const ThtmlTable& table_;
  std::vector<std::string> rows_;
};

}  // namespace engine
