#pragma once
// TImageRec: a floating image whose drawing waits for the end of the paint
// (the document's draw list), so that it comes out over the text that flows
// beside it.
#include "engine/document/DocumentSeams.h"
#include "engine/text/TInlineObject.h"

namespace engine {

class TImageRec : public IDeferredDraw {
 public:
  TImageRec(TInlineObject* obj, int x, int lineTopY, int baselineY, TFontObj* fontRun)
      : Obj(obj), X(x), LineTopY(lineTopY), BaselineY(baselineY), FontRun(fontRun) {}
  void Draw(gui::TCanvas* canvas) override { Obj->Draw(canvas, X, FontRun, BaselineY, LineTopY); }

  TInlineObject* Obj;  // not owned: the section owns it and outlives the paint
  int X;
  int LineTopY;
  int BaselineY;
  TFontObj* FontRun;
};

}  // namespace engine
