#pragma once
// TCell: a flow with its own float bookkeeping (an IndentManager it owns); a
// float that reaches below the last section lengthens the cell.
#include <memory>

#include "engine/document/IndentManager.h"
#include "engine/document/TCellBasic.h"

namespace engine {

class TCell : public TCellBasic {
 public:
  explicit TCell(TSectionList* document);
  TCell(TSectionList* document, const TCell& source);
  ~TCell() override;

  int LayoutContent(gui::TCanvas* canvas, int Y, int Width, int AHeight, int BlockHeight, int& MaxWidth,
                    int& Curs) override;
  int PaintContent(gui::TCanvas* canvas, const win::RECT& clipRect, int ClipWidth, int X, int Y, int XRef,
                   int YRef) override;

 private:
  IndentManager ownManager_;  // held in the cell: one allocation less for every table cell
};

}  // namespace engine
