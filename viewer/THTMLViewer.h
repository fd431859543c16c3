#pragma once
// THTMLViewer: the window control that shows one HTML document. It owns the
// document root, a paint panel that draws the document off-screen, a border
// panel and two scroll bars. Loading (files, strings, buffers, plain text and
// images), layout with the scroll-bar decision, scrolling and painting,
// and the mouse, keys and selection are split over the THTMLViewer*.cpp files.
#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/html/DocumentParser.h"
#include "engine/html/TParseViewer.h"
#include "engine/html/ParseEvents.h"
#include "engine/html/ParseState.h"
#include "platform/gui/Exception.h"
#include "platform/gui/TCustomPanel.h"
#include "platform/gui/TScrollBar.h"
#include "platform/gui/TStream.h"
#include "platform/gui/TStringList.h"
#include "platform/gui/TTimer.h"
#include "platform/gui/TWinControl.h"
#include "viewer/PositionObj.h"
#include "viewer/T32ScrollBar.h"
#include "viewer/TForwardedEvent.h"
#include "viewer/TPaintPanel.h"

namespace engine {
class TFormControlObj;
class TIDObject;
class TSectionList;
}
namespace gui {
class TBitmap;
class TMemoryStream;
class TStream;
}
namespace images {
class TStringBitmapList;
}

namespace viewer {

// A file that cannot be found or read.
class EInOutError : public gui::Exception {
 public:
  using gui::Exception::Exception;
};

enum THTMLBorderStyle { htFocused, htNone, htSingle };

// Option bits (bit = ordinal).
using ThtmlViewerOptions = std::uint32_t;
constexpr ThtmlViewerOptions htOverLinksActive = 1u << 0;
constexpr ThtmlViewerOptions htNoLinkUnderline = 1u << 1;
constexpr ThtmlViewerOptions htPrintTableBackground = 1u << 2;
constexpr ThtmlViewerOptions htPrintBackground = 1u << 3;
constexpr ThtmlViewerOptions htPrintMonochromeBlack = 1u << 4;
constexpr ThtmlViewerOptions htShowDummyCaret = 1u << 5;
constexpr ThtmlViewerOptions htShowVScroll = 1u << 6;
constexpr ThtmlViewerOptions htNoWheelMouse = 1u << 7;
constexpr ThtmlViewerOptions htNoLinkHilite = 1u << 8;

// Messages the viewer posts to itself.
constexpr win::UINT kFormSubmitMessage = 0x464;
constexpr win::UINT kAutoScrollMessage = 0x466;
constexpr win::UINT kLinkActivationMessage = 0x467;

enum ThtProgressStage { psStarting, psRunning, psEnding };

// Source kinds.
constexpr int kHtmlKind = 0;
constexpr int kTextKind = 1;
constexpr int kImageKind = 2;

// What lies under a right click.
struct TRightClickParameters {
  std::string LinkUrl;
  std::string LinkTarget;
  engine::TIDObject* ImageObject = nullptr;
  int ImagePointX = 0;
  int ImagePointY = 0;
  std::u16string WordUnderPoint;
};
using TRightClickEvent = std::function<void(gui::TObject* Sender, TRightClickParameters& Parameters)>;

using THotSpotEvent = std::function<void(gui::TObject* Sender, const std::string& SRC)>;
using THotSpotClickEvent = std::function<void(gui::TObject* Sender, const std::string& SRC, bool& Handled)>;
using ThtProgressEvent = std::function<void(gui::TObject* Sender, ThtProgressStage Stage, int PercentDone)>;
using TProcessingEvent = std::function<void(gui::TObject* Sender, bool ProcessingOn)>;
using TParseEvent = std::function<void(gui::TObject* Sender, std::string& Source)>;
using TMetaRefreshType = std::function<void(gui::TObject* Sender, int Delay, const std::string& URL)>;
// The image under the mouse (Obj), with the point inside it.
using TImageClickEvent = std::function<void(gui::TObject* Sender, engine::TIDObject* Obj, gui::TMouseButton Button,
                                            gui::TShiftState Shift, int X, int Y)>;
using TImageOverEvent =
    std::function<void(gui::TObject* Sender, engine::TIDObject* Obj, gui::TShiftState Shift, int X, int Y)>;
// The host's picture for an image source: a bitmap (Color: its transparent
// colour, or -1), or a stream of image bytes the viewer does not own.
using TGetBitmapEvent = std::function<void(gui::TObject* Sender, const std::string& SRC,
                                           std::unique_ptr<gui::TBitmap>& Bitmap, gui::TColor& Color)>;
using TGetImageEvent =
    std::function<void(gui::TObject* Sender, const std::string& SRC, gui::TMemoryStream*& Stream)>;
// The host's bytes for a source the parser fetches (a linked style sheet); the
// stream stays the host's.
using TGetStreamEvent = std::function<void(gui::TObject* Sender, const std::string& SRC, gui::TStream*& Stream)>;
// An OBJECT element: the host is offered its panel and keeps it by setting WantPanel.
using TObjectTagEvent = std::function<void(gui::TObject* Sender, engine::TPanelObj* Panel,
                                           const gui::TStringList& Attributes, const gui::TStringList& Params,
                                           bool& WantPanel)>;
// A submitted form; the handler takes the submitted "name=value" lines over.
using TFormSubmitEvent =
    std::function<void(gui::TObject* Sender, const std::string& Action, const std::string& Target,
                       const std::string& EncType, const std::string& Method,
                       std::unique_ptr<gui::TStringList> Results)>;
// A form control's host events: the control and its script attribute
// (onclick, onfocus, onblur, onchange).
using TObjectClickEvent =
    std::function<void(gui::TObject* Sender, engine::TFormControlObj* Obj, const std::string& OnClick)>;
using ThtObjectEvent =
    std::function<void(gui::TObject* Sender, engine::TFormControlObj* Obj, const std::string& Script)>;
// A file input's browse button: the host may change the file name S.
using TFileBrowseEvent = std::function<void(gui::TObject* Sender, engine::TFormControlObj* Obj, std::string& S)>;

class THTMLViewer;
struct TPrintRun;
// A page's plain header or footer: W by H logical units at the origin.
using TPagePrinted =
    std::function<void(gui::TObject* Sender, gui::TCanvas& Canvas, int NumPage, int W, int H, bool& StopPrinting)>;
// A page's HTML header or footer: the handler fills HFViewer and may move XL and XR.
using ThtmlPagePrinted = std::function<void(gui::TObject* Sender, THTMLViewer& HFViewer, int NumPage,
                                            bool LastPage, int& XL, int& XR, bool& StopPrinting)>;

class THTMLViewer : public gui::TWinControl, public engine::TParseViewer {
 public:
  explicit THTMLViewer(gui::TComponent* AOwner);
  ~THTMLViewer() override;

  // Loading.
  virtual void LoadFileOfType(const std::string& FileName, int Kind);
  void OpenHtmlFile(const std::string& FileName);
  void OpenTextFile(const std::string& FileName);
  void OpenImageFile(const std::string& FileName);
  // A negative Size loads an empty document; a null Buffer with a positive Size is refused.
  void LoadSourceBuffer(const char* Buffer, long long Size, const std::string& Reference);
  void LoadSourceString(const std::string& Source, const std::string& Reference);
  // Answers whether the source was loaded (false while busy).
  bool ShowSource(const std::string& Source, const std::string& Reference, bool IsText);
  virtual void Clear();
  std::string ExpandDocumentName(const std::string& Name) override;
  bool ScrollToAnchor(const std::string& Name);
  void SetBaseHref(const std::string& Value);
  // The cache the root uses from now on, owned by the caller (frames share one).
  void SetSharedImageCache(images::TStringBitmapList* Cache);
  void ReportProgress(int PercentDone);
  // A delayed image arrives (the host answered PendingImageStream for Src):
  // every image waiting for it takes it and the document is laid out again.
  // False when nothing waited for it.
  bool InsertImage(const std::string& Src, gui::TMemoryStream& Stream);

  // Layout and scrolling.
  void LayoutDocument();
  int LayoutAtWidth(int Width);
  void ArrangeScrollBars();
  void Relayout();
  void SetVerticalPosition(int Y);
  void ScrollVertically(int Y);
  int VerticalPosition() const { return vScrollBar_->Position32(); }
  int HorizontalPosition() const { return hScrollBar_->Position(); }
  void SetHorizontalPosition(int X);
  // The reading place as (position-list index + 1) << 32 | offset inside that
  // section, or the plain Y when no section holds it.
  std::int64_t GetSavedPosition();
  void RestoreSavedPosition(std::int64_t Value);
  // The paint panel's paint callback: the root paints on Canvas.
  virtual void DrawDocument(gui::TCanvas& Canvas);
  void BackgroundChanged(engine::TSectionList* Sender);

  // Mouse (the paint panel's events, in panel coordinates).
  virtual void HandleMouseDown(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y);
  virtual void HandleMouseMove(gui::TShiftState Shift, int X, int Y);
  virtual void HandleMouseUp(gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y);
  virtual void ExtendSelectionTo(int X, int Y);
  // The mouse over a form control's window, (X, Y) in the window: the hint
  // becomes the control's title (else the title under that point of the
  // document), and the host's mouse-move event hears the window's point.
  void FormControlMouseMove(engine::TFormControlObj* Sender, gui::TShiftState Shift, int X, int Y);
  // Follows the link last hit (the hot-spot click event first).
  void FollowLink();
  bool FireHotSpotClick();
  void PostLinkActivation(const engine::TUrlTarget& Target);
  void ScrollLinkIntoView(int Y);
  const std::string& LinkUrl() const { return linkUrl_; }
  const std::string& LinkTarget() const { return linkTarget_; }
  // The link last hit: its text, where that text starts (view coordinates)
  // and its attributes, one per line.
  const std::u16string& LinkText() const { return linkText_; }
  int LinkTextX() const { return linkTextX_; }
  int LinkTextY() const { return linkTextY_; }
  gui::TStringList& LinkAttributes() { return linkAttributes_; }
  std::u16string GetTextOfRange(int Start, int Last);
  int CaretPosition() const { return caretPos_; }
  void DoubleClickAt(gui::TShiftState Shift, int X, int Y);
  bool GetWordAtPoint(int X, int Y, std::u16string& Word, int& After, int& Before);

  // Selection, as character positions of the document.
  std::u16string GetSelectionText();
  int GetSelectionLength() const;
  void SetSelectionLength(int Length);
  void SetSelectionStart(int Position);
  void SetCaretPosition(int Position);

  // Printing (THTMLViewerPrinting.cpp).
  void PrintPages(int FromPage, int ToPage);
  // The widest content and the height of the document laid out at Width.
  void MeasureDocumentSize(int Width, win::POINT& Size);
  std::unique_ptr<THTMLViewer> CreateHeaderFooterViewer();
  void PrintBackground(gui::TCanvas& Canvas, int X, gui::TColor Color, int Height, int Width, int Y);
  // The page the last run printed last (0 before any).
  int PrintedPage() const { return pageNo_; }
  // The last run found no room between the print margins and printed nothing.
  bool PrintFoundNoRoom() const { return printNoRoom_; }
  TPagePrinted OnPrintHeader;
  TPagePrinted OnPrintFooter;
  ThtmlPagePrinted OnPrintHTMLHeader;
  ThtmlPagePrinted OnPrintHTMLFooter;

  // History, visited links and form values (THTMLViewerHistory.cpp).
  void AddToHistory(const std::string& OldName, const std::u16string& OldTitle, int OldKind,
                    std::unique_ptr<TFormData> FormData, std::int64_t OldPosition);
  void ClearHistory();
  int HistoryCount() const { return history_.Count(); }
  const std::string& HistoryName(int Index) const { return history_.Strings(Index); }
  const std::u16string& HistoryTitle(int Index) const { return historyTitles_[static_cast<std::size_t>(Index)]; }
  const PositionObj& HistoryPosition(int Index) const {
    return *historyPositions_[static_cast<std::size_t>(Index)];
  }
  int HistoryIndex() const { return historyIndex_; }
  void AddVisited(const std::string& Name);
  void FlagVisitedLinks();
  // The values of the document's forms, or null without forms.
  std::unique_ptr<TFormData> GetFormData();
  void SetFormData(const TFormData* FormData);
  // A viewer inside a frame: the frame viewer keeps the visited list.
  void SetInFrame(bool Value) { inFrame_ = Value; }
  bool InFrame() const { return inFrame_; }
  // Submissions waiting for their posted message.
  int PendingSubmissions() const { return static_cast<int>(submissions_.size()); }

  // Readers.
  engine::TSectionList& Document() { return *root_; }
  TPaintPanel& PaintPanel() { return *paintPanel_; }
  T32ScrollBar& VScrollBar() { return *vScrollBar_; }
  gui::TScrollBar& HScrollBar() { return *hScrollBar_; }
  gui::TPanel& BorderPanel() { return *borderPanel_; }
  int ScrollBarWidth() const { return scrollBarWidth_; }
  int DocumentWidth() const { return documentWidth_; }
  int DocumentHeight() const { return documentHeight_; }
  bool Busy() const { return busy_; }
  bool PaintSuppressed() const { return paintSuppressed_; }
  bool BackgroundFixed() const { return backgroundFixed_; }
  const std::u16string& TitleText() const { return titleText_; }
  const std::string& BaseHref() const { return baseHref_; }
  const std::string& BaseTargetName() const { return baseTargetName_; }
  const std::string& ShownFileName() const { return shownFileName_; }
  const std::string& SourceText() const { return sourceText_; }
  int SourceKind() const { return sourceKind_; }
  int CodePage() const { return codePage_; }
  images::TStringBitmapList* ImageCache() const { return cache_; }
  gui::TStringList& VisitedList() { return visited_; }

  // Published properties.
  bool ViewImages() const;
  void SetViewImages(bool Value);
  gui::TColor DefBackground() const { return defBackground_; }
  void SetDefBackground(gui::TColor Value);
  THTMLBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(THTMLBorderStyle Value);
  const std::string& DefFontName() const { return defFontName_; }
  void SetDefFontName(const std::string& Value) { defFontName_ = Value; }
  const std::string& DefPreFontName() const { return defPreFontName_; }
  void SetDefPreFontName(const std::string& Value);
  int DefFontSize() const { return defFontSize_; }
  // The document's fonts are scaled from this size: one outside 1..200 points
  // is brought into that range, so that no font height overflows.
  void SetDefFontSize(int Value) { defFontSize_ = std::clamp(Value, kMinDefFontSize, kMaxDefFontSize); }
  static constexpr int kMinDefFontSize = 1;
  static constexpr int kMaxDefFontSize = 200;
  gui::TColor DefFontColor() const { return defFontColor_; }
  void SetDefFontColor(gui::TColor Value) { defFontColor_ = Value; }
  gui::TColor DefHotSpotColor() const { return defHotSpotColor_; }
  void SetDefHotSpotColor(gui::TColor Value);
  gui::TColor DefVisitedLinkColor() const { return defVisitedLinkColor_; }
  void SetDefVisitedLinkColor(gui::TColor Value);
  gui::TColor DefOverLinkColor() const { return defOverLinkColor_; }
  void SetDefOverLinkColor(gui::TColor Value);
  int HistoryMaxCount() const { return historyMaxCount_; }
  void SetHistoryMaxCount(int Value);
  int VisitedMaxCount() const { return visitedMaxCount_; }
  void SetVisitedMaxCount(int Value);
  int ImageCacheCount() const { return imageCacheCount_; }
  void SetImageCacheCount(int Value);
  bool NoSelect() const { return noSelect_; }
  void SetNoSelect(bool Value);
  gui::TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(gui::TScrollStyle Value);
  int CharSet() const { return charSet_; }
  void SetCharSet(int Value) { charSet_ = Value; }
  int MarginHeightValue() const { return marginHeight_; }
  void SetMarginHeight(int Value) { marginHeight_ = Value; }
  int MarginWidthValue() const { return marginWidth_; }
  void SetMarginWidth(int Value) { marginWidth_ = Value; }
  const std::string& ServerRoot() const { return serverRoot_; }
  void SetServerRoot(const std::string& Value);
  double PrintMarginLeft = 2.0;
  double PrintMarginRight = 2.0;
  double PrintMarginTop = 2.0;
  double PrintMarginBottom = 2.0;
  double PrintScale() const { return printScale_; }
  void SetPrintScale(double Value);
  ThtmlViewerOptions htOptions() const { return options_; }
  void SethtOptions(ThtmlViewerOptions Value);
  void SetCursor(gui::TCursor Value) override;
  // The document is drawn in the paint panel's own window: it repaints too.
  void Repaint() override;

  // Events.
  THotSpotEvent OnHotSpotCovered;
  THotSpotClickEvent OnHotSpotClick;
  ThtProgressEvent OnProgress;
  TProcessingEvent OnProcessing;
  TParseEvent OnParseBegin;
  gui::TNotifyEvent OnParseEnd;
  TMetaRefreshType OnMetaRefresh;
  gui::TNotifyEvent OnHistoryChange;
  TFormSubmitEvent OnFormSubmit;
  gui::TMouseEvent OnMouseDouble;
  TRightClickEvent OnRightClick;
  engine::TLinkType OnLink;
  engine::TMetaType OnMeta;
  engine::TSoundType OnSoundRequest;
  engine::TIncludeType OnInclude;
  engine::TScriptEvent OnScript;
  TImageClickEvent OnImageClick;
  TImageOverEvent OnImageOver;
  TGetStreamEvent OnhtStreamRequest;
  // Written through into the document root, which asks them for every image.
  TForwardedEvent<TGetBitmapEvent> OnBitmapRequest{
      [this](const TGetBitmapEvent& Handler) { BindBitmapRequest(Handler); }};
  TForwardedEvent<TGetImageEvent> OnImageRequest{
      [this](const TGetImageEvent& Handler) { BindImageRequest(Handler); }};
  // Form controls' events, written through into the root. A load or Clear
  // asked for from inside one is refused: the control is still on the stack.
  TForwardedEvent<TObjectClickEvent> OnObjectClick{
      [this](const TObjectClickEvent& Handler) { BindObjectEvent(Handler, ObjectEventKind::Click); }};
  TForwardedEvent<ThtObjectEvent> OnObjectFocus{
      [this](const ThtObjectEvent& Handler) { BindObjectEvent(Handler, ObjectEventKind::Focus); }};
  TForwardedEvent<ThtObjectEvent> OnObjectBlur{
      [this](const ThtObjectEvent& Handler) { BindObjectEvent(Handler, ObjectEventKind::Blur); }};
  TForwardedEvent<ThtObjectEvent> OnObjectChange{
      [this](const ThtObjectEvent& Handler) { BindObjectEvent(Handler, ObjectEventKind::Change); }};
  TForwardedEvent<TFileBrowseEvent> OnFileBrowse{[this](const TFileBrowseEvent& Handler) { BindFileBrowse(Handler); }};
  TObjectTagEvent OnObjectTag;

  // What the parser reads from its viewer.
  gui::TObject* Sender() override { return this; }
  void SetCodePage(int codePage) override { codePage_ = codePage; }
  int MarginWidth() const override { return marginWidth_; }
  int MarginHeight() const override { return marginHeight_; }
  bool HasStreamRequest() const override { return static_cast<bool>(OnhtStreamRequest); }
  gui::TStream* StreamRequest(const std::string& Url) override;
  bool HasObjectTag() const override { return static_cast<bool>(OnObjectTag); }
  void ObjectTag(engine::TPanelObj* Panel, const gui::TStringList& Attributes, const gui::TStringList& Params,
                 bool& WantPanel) override {
    OnObjectTag(this, Panel, Attributes, Params, WantPanel);
  }

 protected:
  bool EraseBackground(win::HDC) override { return true; }
  void Resize() override;
  void CreateWnd() override;
  void WndProc(gui::TMessage& Message) override;
  void KeyDown(win::WORD& Key, gui::TShiftState Shift) override;
  bool DoMouseWheel(gui::TShiftState Shift, int WheelDelta, win::POINT MousePos) override;

 private:
  friend class TPaintPanel;
  friend class T32ScrollBar;

  void SetBusy(bool Value);
  void Progress(ThtProgressStage Stage, int Percent);
  void PrepareDocument();
  // Whether the defaults include the built-in style sheet, or leave it to the next load.
  enum class DefaultSheet { Build, Later };
  void ApplyDocumentDefaults(DefaultSheet sheet = DefaultSheet::Build);
  void Parse(int Kind, const std::string& FileName);
  void AfterParse(const engine::TDocumentHead& Head);
  void StopSound();
  void RefreshStep();
  void ScrollToTopIfNew(const std::string& OldName);
  void UpdateBorder();
  int Border() const { return borderStyle_ == htNone ? 0 : 2; }
  int PanelHeight() const { return paintPanel_->Height(); }
  void HorizontalScrolled(int& ScrollPos);
  void FinishLoad(const std::string& Anchor, const std::string& OldName);
  void LoadBackgroundImage();
  void HandleMetaElement(gui::TObject* Sender, const std::string& HttpEq, const std::string& Name,
                         const std::string& Content);
  void MouseLeaveTimer();
  void BindBitmapRequest(const TGetBitmapEvent& Handler);
  void BindImageRequest(const TGetImageEvent& Handler);
  enum class ObjectEventKind { Click, Focus, Blur, Change };
  void BindObjectEvent(const ThtObjectEvent& Handler, ObjectEventKind Kind);
  void BindFileBrowse(const TFileBrowseEvent& Handler);
  // Loads and Clear wait for no parse, print or form control event to be running.
  bool LoadRefused() const;
  // A click on an image input's picture goes to its control; false when the
  // point holds none.
  bool ImageInputClick(int X, int Y);
  // The image under a panel point, with the point inside it.
  engine::TIDObject* ImageAt(int X, int Y, int& ImageX, int& ImageY);
  gui::TCanvas& LayoutCanvas();
  void PostAutoScroll();
  win::POINT PointerInPanel();
  bool AutoScrollGoesOn(const win::POINT& P) const;
  void AutoScrollLoop();
  void AutoScrollStep(const win::POINT& P);
  void LeaveMiddleScroll();
  bool LinkAt(int X, int Y, std::string& Url, std::string& Target, std::string& Title);
  int DocumentPositionAt(int X, int Y);
  void RightClick(int X, int Y);
  void RunPrint(TPrintRun& Run);
  void FollowTopMargin(TPrintRun& Run);
  void AbandonPrintRuns();
  void PrintPageBody(TPrintRun& Run);
  void PrintPasses(TPrintRun& Run, int X);
  void BlankOutside(TPrintRun& Run, int E);
  void PrintHeadersAndFooters(TPrintRun& Run);
  void PrintHTMLBand(TPrintRun& Run, bool IsFooter);
  void EndPrintRun(TPrintRun& Run);
  void FocusLinkStop(int LinkId);
  void LoadWithHistory(const std::string& FileName, int Kind);
  void SubmitForm(const std::string& Action, const std::string& Target, const std::string& EncType,
                  const std::string& Method, std::vector<std::string> Items);
  void FormSubmitMessage();
  // A link's URL as a full document name.
  std::string FullLinkName(const std::string& Url);

  // Members (the panels and bars are owned through the component tree).
  gui::TPanel* borderPanel_ = nullptr;
  TPaintPanel* paintPanel_ = nullptr;
  T32ScrollBar* vScrollBar_ = nullptr;
  gui::TScrollBar* hScrollBar_ = nullptr;
  gui::TTimer* mouseTimer_ = nullptr;
  std::unique_ptr<images::TStringBitmapList> ownedCache_;
  images::TStringBitmapList* cache_ = nullptr;
  std::unique_ptr<engine::TSectionList> root_;
  std::unique_ptr<engine::TDocumentHead> head_;
  gui::TStringList visited_;
  std::unique_ptr<gui::TCanvas> measureCanvas_;
  win::HDC measureDC_ = 0;
  gui::TStringList linkAttributes_;
  // History: names, positions and titles, parallel, newest first.
  gui::TStringList history_;
  std::vector<std::unique_ptr<PositionObj>> historyPositions_;
  std::vector<std::u16string> historyTitles_;
  int historyIndex_ = 0;
  bool inFrame_ = false;
  struct TSubmission {
    std::string Action, Target, EncType, Method;
    std::vector<std::string> Items;
  };
  std::deque<TSubmission> submissions_;

  int scrollBarWidth_ = 16;
  int documentWidth_ = 0;
  int documentHeight_ = 0;
  bool busy_ = false;
  bool paintSuppressed_ = false;
  bool creating_ = true;
  bool backgroundFixed_ = false;
  std::u16string titleText_;
  std::string baseHref_, callerBase_, baseTargetName_;
  std::string shownFileName_;
  std::string sourceText_;
  int sourceKind_ = kHtmlKind;
  int codePage_ = 0;
  int refreshDelay_ = 0;
  std::string refreshUrl_;
  int caretPos_ = 0;
  int mouseAnchor_ = -1;
  bool leftDown_ = false;
  bool linkFollowed_ = false;
  bool autoScroll_ = false;
  bool focusingLink_ = false;
  bool middleScroll_ = false;
  int middleStartY_ = 0;
  // Cleared when the viewer goes, for loops that pump messages.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  bool selecting_ = false;
  std::string linkUrl_, linkTarget_;
  std::u16string linkText_;
  int linkTextX_ = 0, linkTextY_ = 0;
  int lastLinkId_ = -1;

  gui::TColor defBackground_;
  THTMLBorderStyle borderStyle_ = htFocused;
  std::string defFontName_ = "Times New Roman";
  std::string defPreFontName_ = "Courier New";
  int defFontSize_ = 12;
  gui::TColor defFontColor_;
  gui::TColor defHotSpotColor_ = 0xFF0000;
  gui::TColor defVisitedLinkColor_ = 0x800080;
  gui::TColor defOverLinkColor_ = 0xFF0000;
  int historyMaxCount_ = 0;
  int visitedMaxCount_ = 50;
  int imageCacheCount_ = 5;
  bool noSelect_ = false;
  gui::TScrollStyle scrollBars_ = gui::ssBoth;
  int charSet_ = 1;
  int marginHeight_ = 5;
  int marginWidth_ = 10;
  std::string serverRoot_;
  double printScale_ = 1.0;
  // The print run under way (its state also lives on the run's stack, so a
  // viewer destroyed inside a pump can end the job safely).
  std::shared_ptr<TPrintRun> printRun_;
  int pageNo_ = 0;
  bool printNoRoom_ = false;
  ThtmlViewerOptions options_ = htPrintTableBackground | htPrintMonochromeBlack;
};

}  // namespace viewer
