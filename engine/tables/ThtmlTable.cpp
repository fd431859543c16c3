#include "engine/tables/ThtmlTable.h"

#include <algorithm>

#include "engine/css/TProperties.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TAttributeList.h"

namespace engine {
namespace {

constexpr int kMaxBorderWidth = 100;
constexpr int kMaxCellPadding = 50;
constexpr int kMaxCellSpacing = 40;

// A place of the grid: a real cell, a dummy where a span reaches, or empty (null).
bool IsRealEntry(const std::unique_ptr<TCellObj>& entry) { return entry && entry->IsReal(); }
// A dummy that a cell to its left put there for its column span.
bool IsColumnSpanDummy(const std::unique_ptr<TCellObj>& entry) {
  return entry && !entry->IsReal() && entry->RowSpan != 0;
}

}  // namespace

ThtmlTable::ThtmlTable(TSectionList* document, TProperties* properties, TAttributeList* attributes)
    : TSectionBase(document) {
  if (attributes) {
    for (const auto& attribute : *attributes) {
      TColor color = kNoColor;
      switch (attribute->Symbol) {
        case symBorder:
          BorderWidth = attribute->ValueText.empty() ? 1 : std::clamp(attribute->Value, 0, kMaxBorderWidth);
          break;
        case symCellpadding:
          if (attribute->Value >= 0) CellPadding = std::min(attribute->Value, kMaxCellPadding);
          break;
        case symCellspacing:
          if (attribute->Value >= -1) CellSpacing = std::min(attribute->Value, kMaxCellSpacing);
          break;
        case symBordercolor:
          if (ColorFromString(attribute->ValueText, false, color)) BorderColorLight = BorderColorDark = color;
          break;
        case symBordercolorlight:
          if (ColorFromString(attribute->ValueText, false, color)) BorderColorLight = color;
          break;
        case symBordercolordark:
          if (ColorFromString(attribute->ValueText, false, color)) BorderColorDark = color;
          break;
        default: break;
      }
    }
  }
  if (properties && properties->IsBorderCollapse()) CellSpacing = -1;
}

ThtmlTable::ThtmlTable(TSectionList* document, const ThtmlTable& source)
    : TSectionBase(document, source),
      PartRec(std::make_unique<TTablePartRec>()),
      FootHeight(source.FootHeight),
      FootStartRow(source.FootStartRow),
      FootOffset(source.FootOffset),
      HeaderRepeat(source.HeaderRepeat),
      Initialized(source.Initialized),
      BorderWidth(source.BorderWidth),
      NumCols(source.NumCols),
      TotalWidth(source.TotalWidth),
      SpecWidth(source.SpecWidth),
      HasPixelWidths(source.HasPixelWidths),
      TableHeight(source.TableHeight),
      CellPadding(source.CellPadding),
      CellSpacing(source.CellSpacing),
      BorderColorLight(source.BorderColorLight),
      BorderColorDark(source.BorderColorDark),
      Columns(source.Columns),
      Widths(source.Widths),
      MaxWidths(source.MaxWidths),
      MinWidths(source.MinWidths),
      Percents(source.Percents),
      Heights(source.Heights),
      BorderTopWidth(source.BorderTopWidth),
      BorderBottomWidth(source.BorderBottomWidth),
      grid_(source.grid_) {
  // NOTE: the column descriptions are copied too, so a copy made before the
  // grid was built keeps the COL widths.
  if (document && document->PrintBackground) {
    HasBackground = source.HasBackground;
    BackgroundColor = source.BackgroundColor;
  }
  Rows.reserve(source.Rows.size());
  for (const auto& row : source.Rows) Rows.push_back(std::make_unique<TCellList>(document, *row));
  ShareCellFloats();
  const std::size_t columns = static_cast<std::size_t>(std::max(NumCols, 0));
  Widths.resize(columns);
  MaxWidths.resize(columns);
  MinWidths.resize(columns);
  Percents.resize(columns);
}

ThtmlTable::~ThtmlTable() = default;

std::unique_ptr<TSectionBase> ThtmlTable::CreateCopy(TSectionList* document) const {
  return std::make_unique<ThtmlTable>(document, *this);
}

void ThtmlTable::AddColumn(int width, bool asPercent, const std::string& align, int vertAlign) {
  Columns.push_back(TColObj{std::clamp(width, 0, kMaxCellExtent), asPercent, vertAlign, align});
}

void ThtmlTable::AddRow(std::unique_ptr<TCellList> row) {
  // Rows are placed a few dozen at a time: their cells are still in cache,
  // and the grid's code is not fetched again between every two rows read.
  constexpr std::size_t kRowsPlacedTogether = 32;
  Rows.push_back(std::move(row));
  if (!Initialized && Rows.size() - grid_.placedRows >= kRowsPlacedTogether)
    while (grid_.placedRows < Rows.size()) PlaceRowInGrid(grid_.placedRows);
}

int ThtmlTable::GridWidthSoFar() const { return Initialized ? NumCols : grid_.width; }

// Places the next row in the grid: its column spans are spread and its
// entries placed below the row spans from above while its cells are at hand,
// so a long table's cells are not walked again for the grid.
void ThtmlTable::PlaceRowInGrid(std::size_t rowIndex) {
  TCellList& row = *Rows[rowIndex];
  SpreadColumnSpans(row);
  SpreadRowSpans(row, rowIndex);
  for (int c = row.Count() - 1; c >= grid_.width; --c) {
    if (IsRealEntry(row.Cells[static_cast<std::size_t>(c)])) {
      grid_.width = c + 1;
      break;
    }
  }
  grid_.shortest = std::min(grid_.shortest, row.Count());
  grid_.longest = std::max(grid_.longest, row.Count());
  grid_.placedRows = rowIndex + 1;
}

void ThtmlTable::Initialize() {
  if (Initialized) return;
  while (grid_.placedRows < Rows.size()) PlaceRowInGrid(grid_.placedRows);
  // Row spans end at the table's last row. The grid is the same with the
  // spans cut before or after it was built: a span only reserves rows below.
  const std::size_t rowCount = Rows.size();
  for (const auto& [r, c] : grid_.spanning)
    if (TCellObj* entry = Rows[r]->Items(static_cast<int>(c)))
      entry->RowSpan = std::min(entry->RowSpan, static_cast<int>(rowCount - r));
  // The table's background is known once its block has been measured.
  if (HasBackground)
    for (const auto& row : Rows)
      for (const auto& entry : row->Cells)
        if (IsRealEntry(entry) && entry->BackgroundColor == kNoColor) entry->BackgroundColor = BackgroundColor;
  const int width = grid_.width;
  const int shortest = grid_.shortest;
  if (grid_.longest > width) RemoveEmptyTrailingColumns(width);
  grid_ = GridProgress{};
  NumCols = width;
  ApplyColumnWidths();
  const std::size_t columns = static_cast<std::size_t>(NumCols);
  if (shortest < NumCols)
    for (const auto& row : Rows) row->Cells.resize(columns);  // every row as wide as the grid
  Widths.assign(columns, 0);
  MaxWidths.assign(columns, 0);
  MinWidths.assign(columns, 0);
  Percents.assign(columns, 0);
  Heights.assign(Rows.size(), 0);
  Initialized = true;
}

void ThtmlTable::ShareCellFloats() {
  for (const auto& row : Rows)
    for (const auto& cell : row->Cells)
      if (TCellObjCell* content = cell ? cell->Cell() : nullptr) content->IMgr = &cellFloats_;
}

// Step 1: cells get their padding, borders and the row's background; a cell
// spanning n columns is followed by n - 1 dummies that carry its row span.
void ThtmlTable::SpreadColumnSpans(TCellList& row) {
  row.ApplyRowBackground();
  bool spans = false;
  for (auto& entry : row.Cells) {
    TCellObj* cell = entry.get();
    if (!cell || !cell->IsReal()) continue;
    cell->SetPaddingAndBorders(CellPadding, row.BackgroundImage(), BorderWidth > 0, row.BackgroundPosition());
    if (cell->WidthAttr > 0 && !cell->AsPercent) HasPixelWidths = true;
    cell->RowSpan = std::max(cell->RowSpan, 1);
    spans = spans || cell->ColSpan > 1;
  }
  // Only a row with column spans is rebuilt; most rows keep their list.
  if (!spans) return;
  std::vector<std::unique_ptr<TCellObj>> spread;
  spread.reserve(row.Cells.size());
  for (auto& entry : row.Cells) {
    TCellObj* cell = entry.get();
    spread.push_back(std::move(entry));
    if (!cell || !cell->IsReal()) continue;
    for (int extra = 1; extra < cell->ColSpan; ++extra)
      spread.push_back(TCellObj::MakeDummy(cell->RowSpan >= 2 ? cell->RowSpan : 1));
  }
  row.Cells = std::move(spread);
}

// Step 2: every entry spanning rows (a real cell or a dummy of its column
// span) reserves its column in the rows below (grid_.reservedRows, kept from
// row to row); a row's own entries fill the columns that are not reserved,
// in order. Each entry gets its grid column and each cell its float manager
// (the later steps only cut rows short).
void ThtmlTable::SpreadRowSpans(TCellList& row, std::size_t rowIndex) {
  std::vector<int>& reservedRows = grid_.reservedRows;
  std::vector<std::unique_ptr<TCellObj>>& cells = row.Cells;
  // Columns past the last one reserved from above end with the row's own entries.
  std::size_t reservedEnd = reservedRows.size();
  while (reservedEnd > 0 && reservedRows[reservedEnd - 1] == 0) --reservedEnd;
  const auto reserved = [&](std::size_t column) { return column < reservedEnd && reservedRows[column] > 0; };
  if (reservedEnd > 0) {
    // The row's entries move right past the reserved columns, in place (a
    // row read after one like it has the room): from the back, so that no
    // entry is overwritten before it moved.
    const std::size_t own = cells.size();
    std::size_t covered = 0;
    for (std::size_t column = 0; column < reservedEnd; ++column) covered += reserved(column) ? 1 : 0;
    const std::size_t total = std::max(reservedEnd, own + covered);
    cells.resize(total);
    std::size_t from = total - covered;  // one past the own entry the next free column takes
    for (std::size_t column = total; column-- > 0;) {
      if (reserved(column)) {
        cells[column] = TCellObj::MakeDummy(0);
        continue;
      }
      --from;
      if (from != column) cells[column] = from < own ? std::move(cells[from]) : nullptr;
    }
  }
  for (std::size_t column = 0; column < cells.size(); ++column) {
    TCellObj* entry = cells[column].get();
    if (entry) {
      entry->Column = static_cast<int>(column);
      if (TCellObjCell* content = entry->Cell()) content->IMgr = &cellFloats_;
    }
    if (reserved(column)) {
      --reservedRows[column];
      continue;
    }
    if (!entry || entry->RowSpan <= 1) continue;
    if (reservedRows.size() <= column) reservedRows.resize(column + 1, 0);
    reservedRows[column] = entry->RowSpan - 1;
    grid_.spanning.emplace_back(rowIndex, column);
  }
}

// Step 3: columns from width on hold no real cell in any row and are dropped
// in one sweep; a dropped dummy of a column span takes one column from the
// cell that made it.
void ThtmlTable::RemoveEmptyTrailingColumns(int width) {
  for (const auto& row : Rows) {
    if (row->Count() <= width) continue;
    TCellObj* owner = nullptr;
    for (int c = width - 1; c >= 0 && !owner; --c)
      if (IsRealEntry(row->Cells[static_cast<std::size_t>(c)])) owner = row->Cells[static_cast<std::size_t>(c)].get();
    for (int c = width; c < row->Count(); ++c)
      if (owner && IsColumnSpanDummy(row->Cells[static_cast<std::size_t>(c)]) && owner->ColSpan > 1) --owner->ColSpan;
    row->Cells.resize(static_cast<std::size_t>(width));
  }
  NumCols = width;
}

// Step 4: COL widths go to the real cells of their column.
void ThtmlTable::ApplyColumnWidths() {
  if (Columns.empty()) return;
  bool someWithoutPercent = false;
  for (const auto& row : Rows) {
    for (int c = 0; c < row->Count(); ++c) {
      TCellObj* cell = row->Items(c);
      if (!cell || !cell->IsReal()) continue;
      if (c < static_cast<int>(Columns.size()) && Columns[static_cast<std::size_t>(c)].Width > 0) {
        cell->WidthAttr = Columns[static_cast<std::size_t>(c)].Width;
        cell->AsPercent = Columns[static_cast<std::size_t>(c)].AsPercent;
      }
      if (!cell->AsPercent) someWithoutPercent = true;
    }
  }
  HasPixelWidths = someWithoutPercent;
  Columns.clear();
}

}  // namespace engine
