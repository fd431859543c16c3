#pragma once
// TPanelObj: a PANEL or OBJECT element in a text section. It owns the window
// (ThvPanel) that the host program fills: the document tells the host when
// a PANEL's window is made and when it goes, and asks it to paint the window
// into a bitmap when printing. Layout sizes the box from WIDTH / HEIGHT
// (pixels or percent) and the size the window had after creation; drawing
// moves the window to its place in the text, or prints it on a copy.
#include <functional>
#include <memory>
#include <string>

#include "engine/document/DocumentSeams.h"
#include "engine/text/TInlineObject.h"

namespace gui {
class TBitmap;
class TObject;
}

namespace engine {

class TAttributeList;
class TProperties;
class ThvPanel;

using TPanelPrintEvent = std::function<void(gui::TObject* sender, ThvPanel* panel, gui::TBitmap& bitmap)>;

class TPanelObj : public TInlineObject, public IDocumentPanel {
 public:
  // A panel for PANEL (offered to the host through OnPanelCreate) or for
  // OBJECT (offered by the parser through the viewer's object-tag event).
  TPanelObj(TSectionList* document, bool isObjectTag, const TAttributeList& attributes);
  // A print copy of source for the copied document.
  TPanelObj(TSectionList* document, const TPanelObj& source);
  ~TPanelObj() override;

  std::unique_ptr<TInlineObject> CreateCopy(TSectionList* document) const override;
  // Vertical alignment and float from the element's style.
  void ApplyStyle(TProperties& prop);
  void ComputeSize(gui::TCanvas* canvas, TFontObj* run, int availableWidth, int availableHeight) override;
  bool PercentSized() const override { return WidthInPercent || HeightInPercent; }
  // On screen: moves the window there and shows it (when Displayed); on a
  // copy: prints it.
  void Draw(gui::TCanvas* canvas, int x, TFontObj* run, int baselineY, int lineTopY) override;
  // The host's picture of the window (OnPanelPrint), else a box with the ALT text.
  void Print(gui::TCanvas& canvas, int x, int y);
  gui::TWinControl* Panel() override;
  ThvPanel* Window() const { return panel_.get(); }
  // Takes the panel off the document's panel list (a panel the builder drops).
  void LeaveDocument();

  TSectionList* Document;
  std::string Name;
  std::string Source;
  std::string Type;
  std::string Alt;
  std::u16string AltWide;
  int WantedWidth = 0;   // 0: not given
  int WantedHeight = 0;  // 0: not given
  bool WidthInPercent = false;
  bool HeightInPercent = false;
  bool SizeKnown = false;
  int NaturalWidth = 0;
  int NaturalHeight = 0;
  bool IsCopy = false;
  // A print copy: the screen document's panel, viewer and print handler.
  ThvPanel* ScreenPanel = nullptr;
  gui::TObject* ScreenViewer = nullptr;
  TPanelPrintEvent OnPanelPrint;

 private:
  void ReadAttributes(const TAttributeList& attributes);
  int AlignedTop(TFontObj* run, int baselineY, int lineTopY);
  void PrintBox(gui::TCanvas& canvas, int x, int y);

  std::unique_ptr<ThvPanel> panel_;
  bool listed_ = false;  // on the document's panel list
  int floatTop_ = 0;     // a float's outer top as layout placed it
  int drawnTop_ = 0;     // TopY as the last paint left it
  bool hSpaceGiven_ = false;
  int hSpace_ = 0;
};

}  // namespace engine
