#pragma once
// TImageFormControlObj: INPUT TYPE=image. The picture stands in the text as an
// image; this control keeps a 1 x 1 button parked off the panel for the
// keyboard focus, and submits its form with the point clicked in the image.
#include <string>

#include "engine/objects/TFormControlObj.h"

namespace engine {

class TImageObj;

class TImageFormControlObj : public TFormControlObj {
 public:
  TImageFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes,
                       TProperties& properties);
  ~TImageFormControlObj() override;
  // Links the picture in the text to this control (each points at the other).
  void AttachImage(TImageObj* image);
  void ApplyStyle(TProperties& properties) override;
  void SizeFromFont(gui::TCanvas* canvas) override;
  // The hit test tells where the mouse is over the picture.
  void MouseOverImage(int x, int y) override;
  // A click on the picture (or the button): the host hears of it, then the
  // form is submitted with the point clicked.
  void HandleClick();
  // After a click: "name.x=X" and "name.y=Y" ("x=", "y=" without a name); the
  // point is forgotten after it was given.
  bool GetSubmission(int index, std::string& text) override;

  // Not owned: the section that holds the picture frees it before the form
  // frees this control, so neither touches the other when it goes.
  TImageObj* Image = nullptr;
  int XPos = -1;  // the point clicked; -1: none
  int YPos = -1;
  int XTmp = -1;  // the last point the mouse was over
  int YTmp = -1;
};

}  // namespace engine
