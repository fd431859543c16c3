#pragma once
// A panel: a control that fills itself with its Color inside an outer bevel,
// a border and an inner bevel, and shows its Caption.
#include "platform/gui/TCustomControl.h"

namespace gui {

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum TBorderStyle { bsNone, bsSingle };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TCustomPanel : public TCustomControl {
 public:
  explicit TCustomPanel(TComponent* AOwner);

  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut Value);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut Value);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int Value);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int Value);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle Value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment Value);

  // The client area less bevels and border: where aligned children go.
  void AlignControls(TControl* AControl, win::RECT& Rect) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  // Paint sets every pixel of the client area: bevels, border and the fill.
  bool PaintsWholeClient() const override { return true; }
  // No fill where Paint will fill with the same colour.
  bool EraseBackground(win::HDC DC) override;

 private:
  int FrameWidth() const;
  // Sets a part of the frame and lays out and paints again when it changed.
  template <typename T>
  void ChangeFrame(T& Field, T Value);
  TBevelCut bevelInner_ = bvNone;
  TBevelCut bevelOuter_ = bvRaised;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  TBorderStyle borderStyle_ = bsNone;
  TAlignment alignment_ = taCenter;
};

class TPanel : public TCustomPanel {
 public:
  using TCustomPanel::TCustomPanel;
};

// Draws Width rings inside Rect: top and left in TopColor, bottom and right
// in BottomColor, and shrinks Rect by them.
void Frame3D(TCanvas& Canvas, win::RECT& Rect, TColor TopColor, TColor BottomColor, int Width);

}  // namespace gui
