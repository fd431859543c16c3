#pragma once
// TInlineObject: what a text section needs of an image, panel or form control
// that stands in its text behind a placeholder character (4 for images and
// panels, 2 for form controls). The image, panel and control classes derive
// from it; until they exist a plain stand-in keeps the section's invariants
// (one object per placeholder) with the size its attributes give.
#include <cstdint>
#include <memory>
#include <string>

#include "engine/document/IndentManager.h"
#include "engine/document/SaturatedMath.h"
#include "engine/document/TIDObject.h"

namespace gui {
class TCanvas;
}

namespace engine {

class TFontObj;
class TFormControlObj;
class TSectionList;
class TUrlTarget;

// Vertical alignments (AlignKind) of objects in a line.
constexpr std::uint8_t kAlignNone = 0;
constexpr std::uint8_t kAlignTop = 1;
constexpr std::uint8_t kAlignMiddle = 2;
constexpr std::uint8_t kAlignBaseline = 3;
constexpr std::uint8_t kAlignBottom = 4;

class TInlineObject : public TIDObject {
 public:
  enum class Kind : std::uint8_t { Image, Panel, Control };
  explicit TInlineObject(Kind kind) : ObjectKind(kind) { Place.Align = kAlignBottom; }

  int GetDocumentY() override { return TopY; }
  // A copy for a copied document (measuring, printing).
  virtual std::unique_ptr<TInlineObject> CreateCopy(TSectionList* document) const;
  // Sizes the box (Place.ImageWidth, Place.ImageHeight) for the available room.
  virtual void ComputeSize(gui::TCanvas* canvas, TFontObj* run, int availableWidth, int availableHeight);
  // Form controls whose width is a percentage of the line (0: a fixed width).
  virtual int PercentWidth() const { return 0; }
  // Images and panels whose width or height is a percentage of the room.
  virtual bool PercentSized() const { return false; }
  virtual void SetWidth(int width) { Place.ImageWidth = width; }
  // Draws the object with its box's left at x against the line (document coordinates).
  virtual void Draw(gui::TCanvas* canvas, int x, TFontObj* run, int baselineY, int lineTopY);
  // Draws the object on a printed page, baselineY and lineTopY in the
  // canvas's coordinates: form controls, which are windows on screen, draw a
  // picture of themselves; everything else draws as on screen.
  virtual void DrawForPrint(gui::TCanvas* canvas, int x, TFontObj* run, int baselineY, int lineTopY, int yOffset) {
    Draw(canvas, x, run, baselineY + yOffset, lineTopY + yOffset);
  }

  // An image with a client-side map: the area's link at a point inside the
  // box (true), or false to fall back on the run's link.
  virtual bool MapLinkAt(int /*innerX*/, int /*innerY*/, std::unique_ptr<TUrlTarget>& /*urlTarget*/,
                         std::string& /*title*/) const {
    return false;
  }

  bool Floats() const { return Place.Align == kAlignFloatLeft || Place.Align == kAlignFloatRight; }
  int OuterWidth() const { return SatAdd(SatAdd(Place.ImageWidth, Place.HSpaceL), Place.HSpaceR); }
  int OuterHeight() const { return SatAdd(SatAdd(Place.ImageHeight, Place.VSpaceT), Place.VSpaceB); }

  Kind ObjectKind;
  int Pos = 0;  // index of the placeholder in the section text
  FloatPlacement Place;
  std::string Title;       // hint text (TITLE, else ALT)
  bool ServerMap = false;  // ISMAP: a click adds "?x,y" to the link
  int TopY = 0;       // document Y of the box's top, set by layout and drawing
  int LeftX = 0;      // X of the box, set by drawing
  int FloatLeft = 0;  // a float's box left relative to the X its section was laid out at (layout)
  // The form control of an image input's picture (not owned): the hit test
  // answers it for the picture.
  TFormControlObj* FormControl = nullptr;
};

}  // namespace engine
