#pragma once
// The viewer's vertical bar: position, page, minimum and maximum are plain
// 32-bit numbers written to the window with SetScrollInfo, so documents of any
// height scroll. Its scroll requests move the viewer's document directly.
#include "platform/gui/TScrollBar.h"

namespace viewer {

class THTMLViewer;

class T32ScrollBar : public gui::TScrollBar {
 public:
  T32ScrollBar(gui::TComponent* AOwner, THTMLViewer& Viewer);

  // Writes all four to the window unless they are the stored ones.
  void SetScrollValues(int APosition, int APage, int AMin, int AMax);
  int Position32() const { return position_; }
  // Fires OnChange when the position changed.
  void SetPosition32(int Value);
  int Page32() const { return page_; }
  int Max32() const { return max_; }

 protected:
  void DoScroll(gui::TMessage& Message) override;
  void CreateWnd() override;

 private:
  THTMLViewer& viewer_;
  int position_ = 0;
  int page_ = 0;
  int min_ = 0;
  int max_ = 0;
  void WriteValues();
};

}  // namespace viewer
