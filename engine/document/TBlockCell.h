#pragma once
// TBlockCell: the content of a block box. Its block gives it the indent
// manager and lays it out through LayoutBlockContent.
#include "engine/document/TCellBasic.h"

namespace engine {

class TBlockCell : public TCellBasic {
 public:
  using TCellBasic::TCellBasic;

  void LayoutBlockContent(gui::TCanvas* canvas, int X, int Y, int XRef, int YRef, int Width, int AHeight,
                          int BlockHeight, int& MaxWidth, int& Curs);

  int ContentHeight = 0;
};

}  // namespace engine
