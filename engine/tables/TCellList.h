#pragma once
// TCellList: one row of a table: its cells (dummies where spans reach), its
// height, background and page-break flags, and whether it belongs to the
// table's header, body or footer.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/css/CssBoxValues.h"
#include "engine/css/CssColors.h"
#include "engine/tables/TCellObj.h"

namespace engine {

class TAttributeList;
class TProperties;
class TSectionList;

// Row kinds.
constexpr std::uint8_t kRowHeader = 0;
constexpr std::uint8_t kRowBody = 1;
constexpr std::uint8_t kRowFooter = 2;

class TCellList {
 public:
  // From the TR element's attributes and style (either may be null).
  TCellList(TAttributeList* attributes, TProperties* properties);
  TCellList(TSectionList* document, const TCellList& source);

  // Appends a cell (null: an empty place); the cell takes the row's height
  // as its least height and gives the row its page-break flags.
  void AddCell(std::unique_ptr<TCellObj> cell);
  // Cells whose content has no background colour take the row's.
  void ApplyRowBackground();

  int Count() const { return static_cast<int>(Cells.size()); }
  TCellObj* Items(int index) const {
    return index >= 0 && index < Count() ? Cells[static_cast<std::size_t>(index)].get() : nullptr;
  }

  // Draws the row's cells with its top at document Y; returns Y + RowHeight.
  // drawnOnPage tells (and records) whether a row of the table was drawn on
  // the printed page already.
  int Draw(gui::TCanvas* canvas, TSectionList& document, TColor dark, TColor light, bool tableHasBorder,
           int cellSpacing, int Y, int X, const std::vector<int>& widths, const win::RECT& clipRect,
           bool& drawnOnPage);

  std::vector<std::unique_ptr<TCellObj>> Cells;
  int RowHeight = 0;
  int SpecRowHeight = 0;
  int SpecRowHeightPercent = 0;
  int RowSpanHeight = 0;
  TColor BackgroundColor = kNoColor;
  bool BreakBefore = false;
  bool BreakAfter = false;
  bool KeepIntact = false;
  std::uint8_t RowKind = kRowBody;

  // The row's background picture, which its cells without one of their own
  // take (empty for none), and where it starts.
  const std::string& BackgroundImage() const;
  TBackgroundPosition BackgroundPosition() const;

 private:
  // Few rows have a picture: it is held apart.
  struct Picture {
    std::string Image;
    TBackgroundPosition Position{};
  };
  void SetBackgroundImage(const std::string& image, const TBackgroundPosition& position);
  std::unique_ptr<Picture> picture_;  // null without a picture
};

}  // namespace engine
