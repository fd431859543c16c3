#pragma once
// TCellObjCell: the content of a table cell, with the cell's title and link,
// which answer for points inside the cell that no section claims.
#include <string>

#include "engine/document/TCell.h"

namespace engine {

class TCellObjCell : public TCell {
 public:
  using TCell::TCell;
  TCellObjCell(TSectionList* document, const TCellObjCell& source);

  std::uint8_t LinkAtPoint(gui::TCanvas* canvas, int X, int Y, std::unique_ptr<TUrlTarget>& UrlTarget,
                           TFormControlObj*& FormControl, std::string& Title) override;

  win::RECT CellRect{};  // window coordinates, written when the table paints
  std::string CellTitle;
  std::string Url;
  std::string Target;
};

}  // namespace engine
