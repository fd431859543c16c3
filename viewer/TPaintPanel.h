#pragma once
// The surface the viewer draws the document on. Every paint goes through an
// off-screen bitmap the size of the clip rectangle: background first, then the
// viewer's DrawDocument, then one copy to the screen, so nothing flickers.
#include <functional>

#include "platform/gui/TCanvas.h"
#include "platform/gui/TCustomPanel.h"

namespace images {
class TBitmapItem;
}

namespace viewer {

class THTMLViewer;
struct TileRun;

class TPaintPanel : public gui::TCustomPanel {
 public:
  TPaintPanel(gui::TComponent* AOwner, THTMLViewer& Viewer);

  // The canvas in use during a paint (nullptr otherwise).
  gui::TCanvas* OffScreenCanvas() const { return offScreen_; }

 protected:
  void Paint() override;
  void CreateParams(gui::TCreateParams& Params) override;
  bool EraseBackground(win::HDC) override { return true; }
  // Paint copies the whole painted area from its off-screen bitmap, unless
  // painting is suppressed or already under way.
  bool PaintsWholeClient() const override;
  void WndProc(gui::TMessage& Message) override;

 private:
  friend class THTMLViewer;  // prints the background with the same tiles
  void PaintBackground(gui::TCanvas& Canvas, const win::RECT& R);
  images::TBitmapItem* BackgroundItem();
  static bool ImageSize(const images::TBitmapItem& Item, int& W, int& H);
  static void DrawTiles(gui::TCanvas& Canvas, images::TBitmapItem& Item, int W, int H, const TileRun& Xs,
                        const TileRun& Ys);
  THTMLViewer& viewer_;
  gui::TCanvas* offScreen_ = nullptr;
};

}  // namespace viewer
