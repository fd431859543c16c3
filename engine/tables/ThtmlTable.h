#pragma once
// ThtmlTable: a table of the document, held by its table block. It owns its
// rows of cells and turns them into a rectangular grid (spans filled with
// dummy cells) as they are added, finished before the first measurement.
// Column widths come from the arithmetic of TableColumnWidths.h, row heights
// from TableRowHeights.h; the table lays every cell's content out and paints
// row by row.
//
// Invariant once the grid is built: every row holds exactly NumCols entries,
// the entries a real cell's spans cover are dummies (ColSpan 0), and the width
// arrays are NumCols long.
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/css/CssColors.h"
#include "engine/document/IndentManager.h"
#include "engine/document/TSectionBase.h"
#include "engine/tables/TCellList.h"
#include "engine/tables/TColObj.h"
#include "engine/tables/TTablePartRec.h"
#include "engine/tables/TableColumnWidths.h"

namespace engine {

class TAttributeList;
class TProperties;

constexpr int kDefaultCellPadding = 1;
constexpr int kDefaultCellSpacing = 2;
constexpr TColor kButtonHighlight = 0xFF000014;
constexpr TColor kButtonShadow = 0xFF000010;

class ThtmlTable : public TSectionBase {
 public:
  // From the TABLE element's style and attributes (either may be null).
  ThtmlTable(TSectionList* document, TProperties* properties, TAttributeList* attributes);
  ThtmlTable(TSectionList* document, const ThtmlTable& source);
  ~ThtmlTable() override;

  void AddColumn(int width, bool asPercent, const std::string& align, int vertAlign);
  // Appends a row as it is read; until the grid is finished, the rows added
  // are placed in the grid soon after, while their cells are still in cache.
  void AddRow(std::unique_ptr<TCellList> row);
  // The columns up to the last one holding a real cell in the rows placed so
  // far: the entries every row will have at least once the grid is finished.
  int GridWidthSoFar() const;
  // Finishes the grid once (rows pushed onto Rows directly are placed here);
  // later calls do nothing.
  void Initialize();

  std::unique_ptr<TSectionBase> CreateCopy(TSectionList* document) const override;
  void MeasureWidthRange(gui::TCanvas* canvas, int& MinWidth, int& MaxWidth) override;
  int LayoutSection(gui::TCanvas* canvas, int X, int Y, int XRef, int YRef, int Width, int AHeight, int BlockHeight,
                    IndentManager& IMgr, int& MaxWidth, int& Curs) override;
  int PaintSection(gui::TCanvas* canvas, const win::RECT& clipRect, IndentManager& IMgr, int X, int XRef,
                   int YRef) override;

  std::uint8_t LinkAtPoint(gui::TCanvas* canvas, int X, int Y, std::unique_ptr<TUrlTarget>& UrlTarget,
                           TFormControlObj*& FormControl, std::string& Title) override;
  bool ObjectAtPoint(int X, int Y, TIDObject*& Obj, int& IX, int& IY) override;
  int CursorAtPoint(gui::TCanvas* canvas, int X, int Y, int& XR, int& YR, int& CaretHeight, bool& InText) override;
  int SearchForward(int Position, const std::u16string& Text, bool MatchCase) override;
  int SearchBackward(int Position, const std::u16string& Text, bool MatchCase) override;
  int DocPosToSourcePos(int Position) override;
  int SourcePosToDocPos(int SourcePos, bool Previous) override;
  bool CursorToXY(gui::TCanvas* canvas, int Position, int& X, int& Y) override;
  bool CharAtPosition(int Position, char16_t& Ch, TIDObject*& Obj) override;
  void CopyToSelectionBuffer(SelTextCount& buffer) override;
  void AddToPositionList(std::vector<TSectionBase*>& list) override;

  // The content cell whose box holds the document point, or null.
  TCellObj* CellAtPoint(int X, int Y) const;
  // Where the last layout put the table, a row and a column (document coordinates).
  int LayoutX() const { return layoutX_; }
  int RowTop(int row) const;
  int ColumnLeft(int column) const;

  std::unique_ptr<TTablePartRec> PartRec;  // copies only
  int FootHeight = 0;
  int FootStartRow = -1;
  int FootOffset = 0;
  int BreakY = 0;
  bool HeaderRepeat = false;
  std::vector<std::unique_ptr<TCellList>> Rows;
  bool Initialized = false;
  int BorderWidth = 0;
  int NumCols = 0;
  int TotalWidth = 0;
  int SpecWidth = 0;
  bool HasPixelWidths = false;
  int TableHeight = 0;
  int CellPadding = kDefaultCellPadding;
  int CellSpacing = kDefaultCellSpacing;
  TColor BorderColorLight = kButtonHighlight;
  TColor BorderColorDark = kButtonShadow;
  int DrawX = 0;
  int DrawY = 0;
  bool HasBackground = false;
  TColor BackgroundColor = kNoColor;
  std::vector<TColObj> Columns;
  std::vector<int> Widths, MaxWidths, MinWidths, Percents;
  std::vector<int> Heights;
  // Block borders at the top and bottom, for page-aware printing (set by the block).
  int BorderTopWidth = 0;
  int BorderBottomWidth = 0;

 private:
  // Grid steps.
  void PlaceRowInGrid(std::size_t rowIndex);
  void SpreadColumnSpans(TCellList& row);
  void SpreadRowSpans(TCellList& row, std::size_t rowIndex);
  void RemoveEmptyTrailingColumns(int width);
  void ApplyColumnWidths();
  // Layout steps.
  void ChooseColumnWidths(gui::TCanvas* canvas, int W);
  TColumnRanges MeasureRanges(gui::TCanvas* canvas, bool withPercent, int base);
  // How far the placing of rows has got: the next row, its top and the
  // running figures of the rows placed.
  struct RowPlacement {
    int next = 0;
    int Y = 0;
    int headerHeight = 0;
    bool bodyExists = false;
    int reach = INT32_MIN;
    // While the heights are measured, a placed row's cells spanning rows wait
    // for their heights. One laid out for good keeps the character position
    // it had in the order of cells, and the position moves on by its
    // characters as its measurement counted them.
    bool heightsKnown = true;
    struct Waiting {
      TCellObj* cell;
      int row;
      int rowY;
      int curs;
      int chars;
      bool layOut;
    };
    std::vector<Waiting> waiting;
    std::unordered_map<const TCellObj*, int> spanChars;  // cells spanning rows measured ahead: their characters
  };
  // Row heights; rows whose height is settled while the heights are measured
  // are placed at once (when placement is given), their cells still at hand.
  void ComputeRowHeights(gui::TCanvas* canvas, int availableHeight, RowPlacement* placement, int& Curs);
  RowPlacement StartPlacement(int Y);
  // Places the next row at the given height and, when the root asks for it,
  // lays its cells out for good.
  void PlaceRow(gui::TCanvas* canvas, RowPlacement& placement, int height, int& Curs);
  // Places the rows not placed yet at their heights and lays the waiting
  // cells out; returns the bottom.
  int FinishPlacement(gui::TCanvas* canvas, RowPlacement& placement, int& Curs);
  // Lays the cells out that waited for their heights; false when one of them
  // moved the character position otherwise than its measurement did.
  bool LayOutWaitingCells(gui::TCanvas* canvas, RowPlacement& placement);
  void LayoutCellFinal(gui::TCanvas* canvas, TCellObj& cell, int rowY, int& Curs);
  int SpannedHeight(int row, int span) const;
  // Document X where a cell's content starts.
  int CellContentX(const TCellObj& cell) const;
  // Painting.
  int PaintRows(gui::TCanvas* canvas, const win::RECT& clipRect, int X, int firstRow, int lastRow);
  void PaintAcrossPages(gui::TCanvas* canvas, const win::RECT& clipRect, int X, int Y);
  void ChooseNextPart();
  int HeaderHeight() const;

  // Makes every content cell keep its floats in cellFloats_ (a copy's cells;
  // Initialize does it in its walk over the grid).
  void ShareCellFloats();

  // Content cells in row-major order for lookups.
  template <class Visit>
  bool ForEachCell(Visit visit) const;
  template <class Visit>
  bool ForEachCellBackward(Visit visit) const;

  // The grid as its rows are placed: the rows placed so far, per column the
  // rows below still covered from above, the columns up to the last one
  // holding a real cell, the fewest and most entries of a row (so that rows
  // are walked again only to change them), and the places (row, column) of
  // the entries spanning rows, whose spans are cut at the table's end once
  // its rows are all known.
  struct GridProgress {
    std::size_t placedRows = 0;
    std::vector<int> reservedRows;
    int width = 0;
    int shortest = INT32_MAX;
    int longest = 0;
    std::vector<std::pair<std::size_t, std::size_t>> spanning;
  };
  GridProgress grid_;
  int layoutX_ = 0;       // document X of the table's left edge
  // The table's width range, kept for the layout cycle (and the specified
  // width) it was made in.
  int rangeCycle_ = -1;
  int rangeSpecWidth_ = 0;
  int rangeMin_ = 0;
  int rangeMax_ = 0;
  // The column ranges last measured, for the layout cycle, kind and base
  // they were measured with: the layout asks again for the ranges that the
  // width range measured, and a long table's cells are not walked again for
  // them. A range no cell ties to its base serves every base.
  struct MeasuredRanges {
    int cycle = -1;
    bool withPercent = false;
    int base = 0;
    bool usesBase = true;
    TColumnRanges ranges;
  };
  MeasuredRanges measured_;
  int layoutCycle_ = -1;  // the root layout cycle whose row heights are kept
  // Document Y of each row's top after layout, and the running maximum of
  // row top + RowSpanHeight: both ascend, so paints and hit tests find their
  // rows by halving.
  std::vector<int> rowTops_;
  std::vector<int> rowReach_;
  std::vector<int> columnLefts_;  // each column's left edge from the table's, after layout
  // The float bookkeeping of the cells, which are laid out and painted one at
  // a time: one manager for the table instead of one in every cell.
  IndentManager cellFloats_;
};

}  // namespace engine
