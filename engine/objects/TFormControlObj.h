#pragma once
// TFormControlObj: the document side of one form control. It owns the window
// control (none for hidden inputs), knows its name and value, its place in
// the text and its form, and how it submits, resets and restores itself.
// Texts are kept 8-bit in the element's code page; the window control shows
// them as UTF-16.
#include <cstdint>
#include <memory>
#include <string>

#include "engine/document/DocumentSeams.h"
#include "engine/html/BuilderSeams.h"
#include "engine/text/TInlineObject.h"

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
  int PercentWidth() const override { return PercentWidthValue; }
  void SetWidth(int width) override;

  // Item index of the submission; false when there is no item at index.
  virtual bool GetSubmission(int /*index*/, std::string& /*text*/) { return false; }
  virtual void RestoreValue(int /*index*/, const std::string& /*value*/) {}
  virtual void ClearValue() {}
  virtual bool IsHidden() const { return false; }

  ThtmlForm* Form;
  TSectionList* Document;
  std::string Name;
  std::string Value;
  std::string Id;
  int CodePage = 1252;
  bool Disabled = false;
  bool ReadOnly = false;
  int TabIndex = 0;
  int CssWidth = 0;
  int CssHeight = 0;
  int PercentWidthValue = 0;

 protected:
  // Parks the window on the document's paint panel in the element's font.
  void AdoptWindow(std::unique_ptr<gui::TWinControl> control, TProperties& properties);
  std::u16string ToWide(const std::string& text) const;
  std::string ToNarrow(const std::u16string& text) const;

  std::unique_ptr<gui::TWinControl> control_;
};

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
