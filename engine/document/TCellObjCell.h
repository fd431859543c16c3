#pragma once
// TCellObjCell: the content of a table cell. Its floats go to the manager its
// table gives it (IMgr), one for all of the table's cells: a cell is laid out
// and painted whole before the next one starts.
#include "engine/document/TCellBasic.h"

namespace engine {

class TCellObjCell : public TCellBasic {
 public:
  using TCellBasic::TCellBasic;

  // Without a manager (the table has not built its grid) the content is laid
  // out without float bookkeeping and not painted.
  int LayoutContent(gui::TCanvas* canvas, int Y, int Width, int AHeight, int BlockHeight, int& MaxWidth,
                    int& Curs) override;
  int PaintContent(gui::TCanvas* canvas, const win::RECT& clipRect, int ClipWidth, int X, int Y, int XRef,
                   int YRef) override;

 private:
  int layoutWidth_ = 0;  // the width of the last layout, which paint sets the manager to
};

}  // namespace engine
