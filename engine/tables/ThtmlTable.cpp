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
      BorderBottomWidth(source.BorderBottomWidth) {
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

void ThtmlTable::Initialize() {
  if (Initialized) return;
  // One walk over the rows builds the grid: a row's column spans are spread
  // and its entries placed below the row spans from above while its cells are
  // at hand, so a long table's cells are visited once here.
  std::vector<int> reservedRows;  // per column: rows below still covered from above
  int width = 0;                  // columns up to the last one holding a real cell
  int shortest = INT32_MAX;       // the fewest and most entries of a row, so that
  int longest = 0;                // rows are walked again only to change them
  const int rowCount = static_cast<int>(Rows.size());
  for (int r = 0; r < rowCount; ++r) {
    TCellList& row = *Rows[static_cast<std::size_t>(r)];
    SpreadColumnSpans(row, rowCount - r);
    SpreadRowSpans(row, reservedRows);
    for (int c = row.Count() - 1; c >= width; --c) {
      if (IsRealEntry(row.Cells[static_cast<std::size_t>(c)])) {
        width = c + 1;
        break;
      }
    }
    shortest = std::min(shortest, row.Count());
    longest = std::max(longest, row.Count());
  }
  if (longest > width) RemoveEmptyTrailingColumns(width);
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

// Step 1, for a row with rowsLeft rows from it to the table's end: cells get
// their padding, borders and backgrounds; a cell spanning n columns is
// followed by n - 1 dummies that carry its row span.
void ThtmlTable::SpreadColumnSpans(TCellList& row, int rowsLeft) {
  row.ApplyRowBackground();
  bool spans = false;
  for (auto& entry : row.Cells) {
    TCellObj* cell = entry.get();
    if (!cell || !cell->IsReal()) continue;
    cell->SetPaddingAndBorders(CellPadding, row.BackgroundImage(), BorderWidth > 0, row.BackgroundPosition());
    if (cell->WidthAttr > 0 && !cell->AsPercent) HasPixelWidths = true;
    if (HasBackground && cell->BackgroundColor == kNoColor) cell->BackgroundColor = BackgroundColor;
    cell->RowSpan = std::clamp(cell->RowSpan, 1, rowsLeft);
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
// span) reserves its column in the rows below (reservedRows, kept from row to
// row); a row's own entries fill the columns that are not reserved, in order.
// Each entry gets its grid column and each cell its float manager (the later
// steps only cut rows short).
void ThtmlTable::SpreadRowSpans(TCellList& row, std::vector<int>& reservedRows) {
  const auto place = [this](TCellObj& entry, std::size_t column) {
    entry.Column = static_cast<int>(column);
    if (TCellObjCell* content = entry.Cell()) content->IMgr = &cellFloats_;
  };
  // Columns past the last one reserved from above end with the row's own entries.
  std::size_t reservedEnd = reservedRows.size();
  while (reservedEnd > 0 && reservedRows[reservedEnd - 1] == 0) --reservedEnd;
  if (reservedEnd == 0) {
    // Nothing reaches down into this row: its entries stay where they are.
    for (std::size_t column = 0; column < row.Cells.size(); ++column) {
      const auto& entry = row.Cells[column];
      if (entry) place(*entry, column);
      if (!entry || entry->RowSpan <= 1) continue;
      if (reservedRows.size() <= column) reservedRows.resize(column + 1, 0);
      reservedRows[column] = entry->RowSpan - 1;
    }
    return;
  }
  std::vector<std::unique_ptr<TCellObj>> placed;
  placed.reserve(row.Cells.size() + reservedEnd);  // the most the loop below places
  std::size_t next = 0;
  for (std::size_t column = 0; column < reservedEnd || next < row.Cells.size(); ++column) {
    const bool reserved = column < reservedEnd && reservedRows[column] > 0;
    if (reserved) {
      placed.push_back(TCellObj::MakeDummy(0));
      place(*placed.back(), column);
      --reservedRows[column];
      continue;
    }
    std::unique_ptr<TCellObj> entry = next < row.Cells.size() ? std::move(row.Cells[next++]) : nullptr;
    if (entry) place(*entry, column);
    if (entry && entry->RowSpan > 1) {
      if (reservedRows.size() <= column) reservedRows.resize(column + 1, 0);
      reservedRows[column] = entry->RowSpan - 1;
    }
    placed.push_back(std::move(entry));
  }
  row.Cells = std::move(placed);
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
