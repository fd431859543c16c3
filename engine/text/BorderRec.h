#pragma once
// BorderRec: the part of one inline box that lies on one line: where it starts
// and ends in the section text, whether the box goes on from an earlier line or
// to a later one (that side then has no border), and the rectangle of its text
// on the line, measured the first time the line is drawn.
#include "engine/css/CssBoxValues.h"
#include "engine/css/CssColors.h"
#include "platform/win/Types.h"

namespace gui {
class TCanvas;
}

namespace engine {

struct BorderRec {
  int BStart = 0;  // index in the section text
  int BEnd = 0;
  bool OpenStart = false;
  bool OpenEnd = false;
  win::RECT BRect{};  // document coordinates; X as of the line's first drawing
  TBoxValues BoxValues{};
  TColor TextColor = 0;

  // Background (unless withBackground is off: printing without backgrounds),
  // then the borders round BRect moved by xShift and up by yOffset.
  void Paint(gui::TCanvas& canvas, int xShift, bool printing, int yOffset, bool withBackground = true) const;
};

}  // namespace engine
