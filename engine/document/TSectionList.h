#pragma once
// TSectionList: the root of one parsed document. It is the body's flow (a
// TCell) and holds what belongs to the document as a whole: settings, the
// style sheet, anchors, forms and controls, animated images and their timer,
// selection, scroll offset, position list and tab order. The parser fills it;
// the viewer lays it out, paints and hit-tests it. A copy (CreateCopy) is laid
// out and painted for measuring and printing without touching its source.
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/css/CssBoxValues.h"
#include "engine/css/CssColors.h"
#include "engine/document/DocumentSeams.h"
#include "engine/document/TCell.h"
#include "engine/text/TLinkList.h"

namespace gui {
class TTimer;
class TWinControl;
class TObject;
class TBitmap;
class TMemoryStream;
}

namespace engine {

struct TTablePartRec;

class TIDNameList;
class TFontObj;
class TFormControlObj;
class TStyleList;
class ThvPanel;
struct TParseState;

class TSectionList : public TCell {
 public:
  TSectionList(gui::TWinControl* viewer, gui::TWinControl* paintPanel);
  ~TSectionList() override;

  // A copy for measuring or printing: shares the image cache and inline list,
  // never animates, assigns no tab order and builds no position list.
  static std::unique_ptr<TSectionList> CreateCopy(const TSectionList& source);

  // Forgets the document (sections, lists, background, selection); a copy
  // keeps its source's shared parts alone.
  void Clear() override;
  // The parser calls this before building.
  void ClearControlLists();

  // Viewer entries: Y 0, the client width and height, BlockHeight 0.
  int LayoutContent(gui::TCanvas* canvas, int Y, int Width, int AHeight, int BlockHeight, int& MaxWidth,
                    int& Curs) override;
  // Viewer entries: ClipWidth 6000, X minus the horizontal scroll, Y, XRef, YRef 0.
  int PaintContent(gui::TCanvas* canvas, const win::RECT& clipRect, int ClipWidth, int X, int Y, int XRef,
                   int YRef) override;

  void SetYOffset(int Y);
  void ClearShownFlags();
  void ShowParkedControls();
  // The animation timer's tick.
  void AnimationTick();

  // Builds the default style sheet and stores the link colours and fonts.
  void SetDocumentDefaults(const std::string& fontName, const std::string& preFontName, int fontSize,
                           TColor fontColor, TColor hotSpotColor, TColor visitedColor, TColor overLinkColor,
                           TColor background, bool overLinksActive, bool underlineLinks, int charset,
                           int marginHeight, int marginWidth);
  // The same without the style sheet: the link colours, fonts and background.
  void SetDocumentLooks(const std::string& preFontName, int fontSize, TColor hotSpotColor, TColor visitedColor,
                        TColor overLinkColor, TColor background, bool overLinksActive);
  void SetBackground(TColor color);
  void SetBackgroundImage(const std::string& name, const TBackgroundPosition& position);

  // Registers a keyboard stop: order by tabIndex, then by registration.
  void AddTabStop(int tabIndex, gui::TWinControl* control);
  // Takes a control out of the tab list (a link stop that goes away).
  void RemoveTabStop(gui::TWinControl* control);
  int TabStopCount() const { return static_cast<int>(TabList.size()); }

  // Position queries (the document's own answers over its sections).
  // The last position-list entry (searched from the end) whose top is at or
  // above Y, with its top and index; nullptr when none.
  TSectionBase* FindSectionAtPosition(int Y, int& ObjY, int& Index) const;
  int FindDocPos(int SourcePos, bool Previous);
  bool FindCaretXY(gui::TCanvas* canvas, int Position, int& X, int& Y);

  // The selected text: its length, and a copy into Buffer (BufferLength
  // characters with the terminating zero) answering the characters written
  // with the zero. A buffer sized by the count takes the whole selection;
  // no buffer or no room answers 0.
  int CountSelectedChars();
  int CollectSelectedText(char16_t* Buffer, int BufferLength);

  // Points the parser's hooks at this document: ids become position anchors,
  // progress goes to OnProgress.
  void ConnectParseHooks(TParseState& state);

  // Owner links (not owned).
  gui::TWinControl* TheOwner = nullptr;
  gui::TWinControl* PPanel = nullptr;

  // Settings, copied by CreateCopy.
  bool ShowImages = true;
  bool Printing = false;
  bool PrintBackground = false;
  bool PrintMonochrome = false;
  std::string PreFontName;
  TColor LinkVisitedColor = 0;
  TColor LinkActiveColor = 0;
  TColor HotSpotColor = 0;
  bool OverLinksActive = false;
  TColor Background = 0;
  int YOffset = 0;
  bool YOffsetChange = false;
  int SelB = 0;  // selection start and end (none when SelB >= SelE)
  int SelE = 0;
  // The viewer's htShowDummyCaret option and its caret position: text sections
  // then draw a caret sign at an empty selection.
  bool ShowDummyCaret = false;
  int CaretPos = 0;
  float ScaleX = 1.0f;
  float ScaleY = 1.0f;

  // Font sizes of the seven HTML font sizes at the document's default size;
  // computed from constant base tables at every SetDocumentDefaults.
  std::array<double, 7> FontConv{};
  std::array<double, 7> PreFontConv{};
  static const std::array<double, 7> kBaseFontSizes;
  static const std::array<double, 7> kBasePreFontSizes;

  // Owned lists and objects. Every document has each of them (a copy too, empty).
  std::unique_ptr<TIDNameList> IDNameList;
  std::vector<std::unique_ptr<IDocumentPart>> htmlFormList;
  std::vector<IAnimatedImage*> AGifList;
  // Images the host will deliver later: (key, image), nullptr for the
  // background. Changed only through the four calls below, which keep a
  // count per key so that asking whether a key waits costs no scan.
  std::vector<std::pair<std::string, TIDObject*>> MissingImages;
  void AddMissingImage(const std::string& key, TIDObject* object);
  bool IsMissingImage(const std::string& key) const { return missingKeys_.count(key) != 0; }
  std::vector<TIDObject*> TakeMissingImages(const std::string& key);
  void ForgetMissingImage(TIDObject* object);
  std::vector<std::unique_ptr<IDocumentPart>> MapList;
  std::vector<IDocumentControl*> FormControlList;
  std::vector<IDocumentPanel*> PanelList;
  // The link font runs, for visited and hover colouring and link tab stops.
  TLinkList Links;
  // Non-empty text sections finished so far (their numbers, layout progress).
  int TextSectionCount = 0;
  std::unique_ptr<TStyleList> Styles;
  std::vector<std::unique_ptr<IDeferredDraw>> DrawList;
  std::vector<TSectionBase*> PositionList;
  std::shared_ptr<IInlineList> InlineList;
  std::unique_ptr<gui::TTimer> Timer;
  // Shared with the viewer (not owned).
  gui::TObject* BitmapList = nullptr;

  // Background.
  std::string BackgroundImageName;
  TBackgroundPosition BackgroundPos{};
  bool BackgroundImageLoaded = false;
  IAnimatedImage* BackgroundAnimation = nullptr;

  // Hover state (not owned).
  TFontObj* HoverLink = nullptr;
  TIDObject* HoverImage = nullptr;

  // Drawing of block background and list-item images (the image area fills it).
  DocumentImageHooks ImageHooks;

  // Events the viewer fills.
  std::function<void(TSectionList* sender)> OnBackgroundChanged;
  std::function<void(int percent)> OnProgress;
  // Image requests the host answers (engine/objects/DocumentImages.h). A
  // bitmap handed back becomes the document's; a stream stays the host's
  // (PendingImageStream: the image comes later).
  std::function<void(const std::string& src, std::unique_ptr<gui::TBitmap>& bitmap, TColor& color)> OnBitmapRequest;
  std::function<void(const std::string& src, gui::TMemoryStream*& stream)> OnImageRequest;
  std::function<void(const std::string& src, std::string& result)> OnExpandName;
  // Panels (engine/objects/TPanelObj.h), sender = the viewer: a PANEL's
  // window was made (NAME, TYPE, SRC); a window goes (never said of print
  // copies); the host paints a window into a bitmap for print.
  std::function<void(gui::TObject* sender, const std::string& name, const std::string& type, const std::string& src,
                     ThvPanel* panel)>
      OnPanelCreate;
  std::function<void(gui::TObject* sender, ThvPanel* panel)> OnPanelDestroy;
  std::function<void(gui::TObject* sender, ThvPanel* panel, gui::TBitmap& bitmap)> OnPanelPrint;
  // The viewer's name expansion (document folder, server root, base).
  std::function<std::string(const std::string& name)> ExpandDocumentName;
  // A form is submitted: its action, target, encoding type, method and items.
  std::function<void(const std::string& action, const std::string& target, const std::string& encType,
                     const std::string& method, std::vector<std::string> items)>
      OnSubmitForm;
  // Host events of form controls, with the control and its script attribute
  // (onclick, onfocus, onblur, onchange).
  std::function<void(TFormControlObj* control, const std::string& script)> OnObjectClick;
  std::function<void(TFormControlObj* control, const std::string& script)> OnObjectFocus;
  std::function<void(TFormControlObj* control, const std::string& script)> OnObjectBlur;
  std::function<void(TFormControlObj* control, const std::string& script)> OnObjectChange;
  // A file input's browse button: the host may change the file name.
  std::function<void(TFormControlObj* control, std::string& fileName)> OnFileBrowse;
  // A control took the focus (the viewer scrolls it into view).
  std::function<void(TFormControlObj* control)> OnObjectFocused;
  // The mouse moved over a control's window; shift state and the point in
  // the window's coordinates (the viewer shows the hint and tells the host).
  std::function<void(TFormControlObj* control, std::uint8_t shift, int x, int y)> OnControlMouseMove;
  // Above zero while a form control calls out to the host: the viewer refuses
  // loads meanwhile, since the control is still on the stack.
  int ControlEventDepth = 0;
  // Counts Clear(): a control that called out compares it before going on.
  std::uint32_t Generation = 0;

  // Layout and paint state.
  int LayoutCycle = 0;
  int TableNestLevel = 0;
  bool InLogic2 = false;
  int VisibleBottom = 0;
  bool NoOutput = false;      // nothing drawn yet in this paint (page logic)
  bool PageMoved = false;     // the page bottom moved for a repeated table header
  bool SkipDraw = false;      // a page break before a block ended this page
  bool IsCopy = false;
  // Printing a table with repeated header or footer rows across pages: the
  // table that is being split (not owned) and its page state, which the
  // printer reads between pages.
  TSectionBase* TableBeingPrinted = nullptr;
  TTablePartRec* TablePartSlot = nullptr;
  // The first text line laid out inside a list item stores its baseline here.
  int* FirstLinePointer = nullptr;

 private:
  struct TabKey {
    int tabIndex;
    int count;
    bool operator<(const TabKey& other) const {
      return tabIndex != other.tabIndex ? tabIndex < other.tabIndex : count < other.count;
    }
  };
  void AssignTabOrder();
  void SetAnimationTimer(bool enabled);

  std::multimap<TabKey, gui::TWinControl*> TabList;
  std::unordered_map<std::string, int> missingKeys_;
  int tabCount_ = 0;
};

}  // namespace engine
