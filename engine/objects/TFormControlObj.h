#pragma once
// TFormControlObj: the document side of one form control. It owns the window
// control (none for hidden inputs), knows its name and value, its place in
// the text and its form, and how it submits, resets, restores and prints
// itself. Texts are kept 8-bit in the element's code page; the window control
// shows them as UTF-16.
//
// Host events (click, focus, blur, change, file browse) go out through
// CallHost: while one runs the document counts a control event (the viewer
// refuses loads meanwhile), and afterwards the control goes on only when the
// document was not cleared under it.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "engine/document/DocumentSeams.h"
#include "engine/html/BuilderSeams.h"
#include "engine/text/TInlineObject.h"
#include "platform/gui/Colors.h"

namespace gui {
class TWinControl;
}

namespace engine {

class TAttribute;
class TAttributeList;
class ThtmlForm;

// Clamp of SIZE, list sizes, ROWS and COLS.
constexpr int kMaxControlSize = 1000;
// Where window controls wait until a paint places them.
constexpr int kParkedControlLeft = -4000;

class TFormControlObj : public TInlineObject, public IDocumentControl, public TParsedControl {
 public:
  // Joins form (or a new form of the document when form is nullptr) and the
  // document's control list; reads the common attributes.
  TFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes);
  ~TFormControlObj() override;

  gui::TWinControl* WindowControl() override { return control_.get(); }
  void SizeFromFont(gui::TCanvas*) override {}
  void ApplyStyle(TProperties& properties) override;
  void Draw(gui::TCanvas* canvas, int x, TFontObj* run, int baselineY, int lineTopY) override;
  void DrawForPrint(gui::TCanvas* canvas, int x, TFontObj* run, int baselineY, int lineTopY, int yOffset) override;
  int PercentWidth() const override { return PercentWidthValue; }
  void SetWidth(int width) override;

  // Item index of the submission; false when there is no item at index.
  virtual bool GetSubmission(int /*index*/, std::string& /*text*/) { return false; }
  virtual void RestoreValue(int /*index*/, const std::string& /*value*/) {}
  virtual void ClearValue() {}
  virtual bool IsHidden() const { return false; }
  // The value on entry, and the change event on exit when it differs.
  virtual void SaveEnterValue() {}
  // False when the host cleared the document meanwhile.
  virtual bool CheckChanged() { return true; }
  // An image input hears where the mouse is over its picture.
  virtual void MouseOverImage(int /*x*/, int /*y*/) {}
  // The control as printed, its box's top-left corner at (x, y).
  virtual void PaintForPrint(gui::TCanvas& /*canvas*/, int /*x*/, int /*y*/) {}

  // The window control's focus handlers.
  void EnterHandler();
  void ExitHandler();
  // The host's click event; false when the host cleared the document.
  bool ClickHandler();
  // The window control's mouse moves, passed on to the viewer.
  void MouseMoveHandler(std::uint8_t shift, int x, int y);

  ThtmlForm* Form;
  TSectionList* Document;
  std::string Name;
  std::string Value;
  std::string Id;
  std::string OnClickText;
  std::string OnFocusText;
  std::string OnBlurText;
  std::string OnChangeText;
  int CodePage = 1252;
  bool Disabled = false;
  bool ReadOnly = false;
  bool Active = false;  // has the focus
  int TabIndex = 0;
  int CssWidth = 0;
  int CssHeight = 0;
  int PercentWidthValue = 0;
  int BordT = 0;  // CSS top and bottom border widths
  int BordB = 0;
  bool HasCssBorder = false;
  gui::TColor BkColor = gui::clNone;

 protected:
  // Parks the window on the document's paint panel in the element's font.
  void AdoptWindow(std::unique_ptr<gui::TWinControl> control, TProperties& properties);
  std::u16string ToWide(const std::string& text) const;
  std::string ToNarrow(const std::u16string& text) const;
  // Runs a host event. False when the document was cleared meanwhile: then
  // nothing of this control may be touched any more.
  bool CallHost(const std::function<void()>& event);
  // The host's change event (when it has one); false as CallHost.
  bool FireChange();
  // Runs change on the window control with its click events silenced: the
  // program's changes (reset, restore) are no user's clicks.
  void Quietly(const std::function<void()>& change);
  bool Quiet() const { return quiet_ > 0; }
  // The printed box of an edit, list or memo: a sunken 3-D frame with a
  // border (inset 4), a flat fill in the control's colour without (inset 2).
  // Returns the inset.
  int PrintFrame(gui::TCanvas& canvas, int x, int y, bool border) const;
  // The box's top for a line: document coordinates in, document coordinates out.
  int BoxTop(TFontObj* run, int baselineY, int lineTopY) const;

  std::unique_ptr<gui::TWinControl> control_;

 private:
  int quiet_ = 0;
};

// Runs a host event of document's forms: the document counts a control
// event meanwhile. False when the document was cleared by it.
bool CallHostEvent(TSectionList* document, const std::function<void()>& event);

// Gives a control's window the focus when it sits on a form and can take it.
void FocusControlWindow(gui::TWinControl* window);

// SIZE as the number of characters: a whole-text number of at least 1; else,
// with both a blank and a comma past the first character, the number before
// the earlier of them (20 when it is none); else 15. Clamped to 1..1000.
int EditSizeFromAttribute(const std::string& text, bool present);

// The element's attribute, or nullptr when it has none.
const TAttribute* FindAttribute(const TAttributeList& attributes, THtmlSymbol symbol);
// SIZE, list sizes, ROWS and COLS held to 1..1000.
int ClampControlSize(int value);
// Control extents are computed in 64 bits and held to what a window takes.
int ClampControlExtent(std::int64_t extent);

}  // namespace engine
