#pragma once
// TFrameViewer: the window control a host shows documents in. A plain
// document is one frame; a frameset document becomes a tree of frame sets
// and frames, each frame with its own THTMLViewer. All the frames' viewers
// share the frame viewer's image cache and take its settings.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/html/TFrameViewerBase.h"
#include "platform/gui/Exception.h"
#include "platform/gui/TStringList.h"
#include "viewer/TForwardedEvent.h"
#include "viewer/TDeferredRelease.h"
#include "viewer/TFrameBase.h"
#include "viewer/THTMLViewer.h"

namespace gui {
class TMemoryStream;
class TStream;
class TStrings;
}
namespace images {
class TStringBitmapList;
}

namespace viewer {

class TFrameBase;
class TFrameSet;
class TSubFrameSet;
class TfvFrame;

// A document that cannot be found.
class EfvLoadError : public gui::Exception {
 public:
  using gui::Exception::Exception;
};

using TFrameViewerOptions = std::uint16_t;
constexpr TFrameViewerOptions fvMetaRefresh = 1u << 0;
constexpr TFrameViewerOptions fvNoBorder = 1u << 1;
constexpr TFrameViewerOptions fvNoLinkUnderline = 1u << 2;
constexpr TFrameViewerOptions fvOverLinksActive = 1u << 3;
constexpr TFrameViewerOptions fvPrintMonochromeBlack = 1u << 4;
constexpr TFrameViewerOptions fvPrintTableBackground = 1u << 5;
constexpr TFrameViewerOptions fvPrintBackground = 1u << 6;
constexpr TFrameViewerOptions fvShowVScroll = 1u << 7;
constexpr TFrameViewerOptions fvNoFocusRect = 1u << 8;
constexpr TFrameViewerOptions fvShowDummyCaret = 1u << 9;
constexpr TFrameViewerOptions fvNoWheelMouse = 1u << 10;
constexpr TFrameViewerOptions fvNoLinkHilite = 1u << 11;

using TStreamRequestEvent = std::function<void(gui::TObject* Sender, const std::string& SRC, gui::TStream*& Stream)>;
using TStringsRequestEvent =
    std::function<void(gui::TObject* Sender, const std::string& SRC, gui::TStrings*& Strings)>;
using TBufferRequestEvent =
    std::function<void(gui::TObject* Sender, const std::string& SRC, const char*& Buffer, int& BuffSize)>;
using TFileRequestEvent = std::function<void(gui::TObject* Sender, const std::string& SRC, std::string& NewName)>;
using THotSpotTargetClickEvent =
    std::function<void(gui::TObject* Sender, const std::string& Target, const std::string& URL, bool& Handled)>;
using THotSpotTargetEvent =
    std::function<void(gui::TObject* Sender, const std::string& Target, const std::string& URL)>;
using TWindowRequestEvent =
    std::function<void(gui::TObject* Sender, const std::string& Target, const std::string& URL)>;

// Names the frames load as pictures or as plain text.
bool IsImageFileName(const std::string& Name);
bool IsTextFileName(const std::string& Name);
// "page.htm#part" -> ("page.htm", "#part").
void SplitUrlDestination(const std::string& Url, std::string& Name, std::string& Dest);

class TFrameViewer : public engine::TFrameViewerBase {
 public:
  explicit TFrameViewer(gui::TComponent* AOwner);
  ~TFrameViewer() override;

  // Loads a file (with an optional "#anchor"). False, and nothing done, while
  // busy; EfvLoadError when the file does not exist or a document that is no
  // frameset cannot be read, parsed or laid out (a new document's failure
  // keeps the shown one; a reload of the shown one has already let it go).
  bool LoadFromFile(const std::string& FileName);
  void OpenDocument(const std::string& Url, TLoadFailure OnFailure = TLoadFailure::ShowErrorPage);
  // Reloads every frame of the current document.
  void Reload();
  // Empties the viewer; false, and nothing done, while busy.
  bool Clear();
  THTMLViewer* FrameViewerByName(const std::string& FrameName) const;
  int GetViewerCount() const;
  THTMLViewer* GetViewer(int Index) const;
  THTMLViewer* GetActiveViewer() const;
  // An absolute file name for a document name: against the BASE's folder,
  // the active viewer's document or the current document's folder.
  std::string ExpandDocumentName(const std::string& Name) const;
  std::string GetLinkTarget() const;
  std::string GetBaseUrl() const;

  // Every frame's viewer reports its link clicks and hovers here.
  void HotSpotClickHandler(gui::TObject* Sender, const std::string& SRC, bool& Handled);
  void HotSpotCoveredHandler(gui::TObject* Sender, const std::string& SRC);
  // The link last clicked or hovered, for the host's handlers.
  const std::string& LinkUrl() const { return linkUrl_; }
  const std::string& LinkTarget() const { return linkTarget_; }
  const std::u16string& LinkText() const { return linkText_; }
  gui::TStringList& LinkAttributes() { return linkAttributes_; }

  // Visited documents, most recent first; links to them show as visited.
  void AddVisited(const std::string& Name);
  void UpdateVisitedLinks();
  gui::TStringList& VisitedList() { return visited_; }
  int VisitedMaxCount() const { return visitedMaxCount_; }
  void SetVisitedMaxCount(int Value);

  // History of whole documents, newest first; each entry names the frame set that showed it.
  void PushHistory(TFrameSet* OldSet, int OldPosition);
  void PushReloadHistory(int OldPosition);
  void PushSingleFrameHistory(const std::string& OldName, const std::u16string& OldTitle, int OldPosition);
  void ClearHistory();
  int HistoryCount() const { return history_.Count(); }
  const std::string& HistoryName(int Index) const { return history_.Strings(Index); }
  TFrameSet* HistorySet(int Index) const;
  const std::u16string& HistoryTitle(int Index) const { return historyTitles_[static_cast<std::size_t>(Index)]; }
  int HistoryPosition(int Index) const { return historyPositions_[static_cast<std::size_t>(Index)]; }
  int HistoryIndex() const { return historyIndex_; }
  bool FwdButtonEnabled() const;
  bool BackButtonEnabled() const;

  // Frees Object once the current message has been handled: it may be the
  // sender of the click or timer being handled.
  void ReleaseLater(gui::TObject* Object) { released_.Add(Object); }
  TFrameSet* CurrentFrameSet() const { return currentSet_; }
  images::TStringBitmapList& ImageCache() { return *cache_; }
  bool IsBusy() const { return loading_ || processing_; }

  // The frameset reader's building operations.
  void InsertFrame(engine::TFrameSetNode* Set, const engine::TAttributeList& Attributes,
                   const std::string& Path) override;
  engine::TFrameSetNode* InsertFrameSet(engine::TFrameSetNode* Set) override;
  void ApplyFrameSetAttributes(engine::TFrameSetNode* Set, const engine::TAttributeList& Attributes) override;
  void FinishFrameSet(engine::TFrameSetNode* Set) override;
  // The META hook of a frameset read into Set.
  engine::TMetaType FrameSetMetaHandler(TSubFrameSet* Set);

  // Every setting and copied event of the frame viewer, given to a frame's viewer.
  void ApplySettings(THTMLViewer& Viewer);
  // A frame's viewer reporting that it starts or ends processing.
  void ViewerProcessing(gui::TObject* Sender, bool ProcessingOn);

  // Settings; each setter reaches every frame's viewer.
  bool ViewImages() const { return viewImages_; }
  void SetViewImages(bool Value);
  int ImageCacheCount() const { return imageCacheCount_; }
  void SetImageCacheCount(int Value);
  bool NoSelect() const { return noSelect_; }
  void SetNoSelect(bool Value);
  int MarginWidth() const { return marginWidth_; }
  void SetMarginWidth(int Value);
  int MarginHeight() const { return marginHeight_; }
  void SetMarginHeight(int Value);
  gui::TColor DefBackground() const { return defBackground_; }
  void SetDefBackground(gui::TColor Value);
  const std::string& DefFontName() const { return defFontName_; }
  void SetDefFontName(const std::string& Value);
  const std::string& DefPreFontName() const { return defPreFontName_; }
  void SetDefPreFontName(const std::string& Value);
  int DefFontSize() const { return defFontSize_; }
  void SetDefFontSize(int Value);
  gui::TColor DefFontColor() const { return defFontColor_; }
  void SetDefFontColor(gui::TColor Value);
  gui::TColor DefHotSpotColor() const { return defHotSpotColor_; }
  void SetDefHotSpotColor(gui::TColor Value);
  gui::TColor DefVisitedLinkColor() const { return defVisitedLinkColor_; }
  void SetDefVisitedLinkColor(gui::TColor Value);
  gui::TColor DefOverLinkColor() const { return defOverLinkColor_; }
  void SetDefOverLinkColor(gui::TColor Value);
  int HistoryMaxCount() const { return historyMaxCount_; }
  void SetHistoryMaxCount(int Value);
  int CharSet() const { return charSet_; }
  void SetCharSet(int Value);
  gui::TCursor ViewerCursor() const { return cursor_; }
  void SetViewerCursor(gui::TCursor Value);
  double PrintScale() const { return printScale_; }
  void SetPrintScale(double Value);
  TFrameViewerOptions fvOptions() const { return options_; }
  void SetfvOptions(TFrameViewerOptions Value);
  const std::string& ServerRoot() const { return serverRoot_; }
  void SetServerRoot(const std::string& Value);
  double PrintMarginLeft = 2.0;
  double PrintMarginRight = 2.0;
  double PrintMarginTop = 2.0;
  double PrintMarginBottom = 2.0;

  // Document sources the host may supply instead of files; the first assigned one is asked.
  TStringsRequestEvent OnStringsRequest;
  TStreamRequestEvent OnStreamRequest;
  TBufferRequestEvent OnBufferRequest;
  TFileRequestEvent OnFileRequest;
  TProcessingEvent OnProcessing;
  THotSpotTargetClickEvent OnHotSpotTargetClick;
  THotSpotTargetEvent OnHotSpotTargetCovered;
  TWindowRequestEvent OnBlankWindowRequest;
  gui::TNotifyEvent OnHistoryChange;
  TForwardedEvent<TFormSubmitEvent> OnFormSubmit{Relay(&THTMLViewer::OnFormSubmit)};
  // Copied into every frame's viewer when it is made, and written into every
  // frame's viewer when set.
  TForwardedEvent<engine::TMetaType> OnMeta{Relay(&THTMLViewer::OnMeta)};
  TForwardedEvent<ThtProgressEvent> OnProgress{Relay(&THTMLViewer::OnProgress)};
  TForwardedEvent<TParseEvent> OnParseBegin{Relay(&THTMLViewer::OnParseBegin)};
  TForwardedEvent<gui::TNotifyEvent> OnParseEnd{Relay(&THTMLViewer::OnParseEnd)};
  TForwardedEvent<TRightClickEvent> OnRightClick{Relay(&THTMLViewer::OnRightClick)};
  TForwardedEvent<gui::TMouseEvent> OnMouseDouble{Relay(&THTMLViewer::OnMouseDouble)};
  TForwardedEvent<TImageClickEvent> OnImageClick{Relay(&THTMLViewer::OnImageClick)};
  TForwardedEvent<TImageOverEvent> OnImageOver{Relay(&THTMLViewer::OnImageOver)};
  TForwardedEvent<TGetBitmapEvent> OnBitmapRequest{Relay(&THTMLViewer::OnBitmapRequest)};
  TForwardedEvent<TGetImageEvent> OnImageRequest{Relay(&THTMLViewer::OnImageRequest)};
  TForwardedEvent<TObjectClickEvent> OnObjectClick{Relay(&THTMLViewer::OnObjectClick)};
  TForwardedEvent<ThtObjectEvent> OnObjectFocus{Relay(&THTMLViewer::OnObjectFocus)};
  TForwardedEvent<ThtObjectEvent> OnObjectBlur{Relay(&THTMLViewer::OnObjectBlur)};
  TForwardedEvent<ThtObjectEvent> OnObjectChange{Relay(&THTMLViewer::OnObjectChange)};
  TForwardedEvent<TFileBrowseEvent> OnFileBrowse{Relay(&THTMLViewer::OnFileBrowse)};
  TForwardedEvent<TPagePrinted> OnPrintHeader{Relay(&THTMLViewer::OnPrintHeader)};
  TForwardedEvent<TPagePrinted> OnPrintFooter{Relay(&THTMLViewer::OnPrintFooter)};
  TForwardedEvent<ThtmlPagePrinted> OnPrintHTMLHeader{Relay(&THTMLViewer::OnPrintHTMLHeader)};
  TForwardedEvent<ThtmlPagePrinted> OnPrintHTMLFooter{Relay(&THTMLViewer::OnPrintHTMLFooter)};
  TForwardedEvent<TObjectTagEvent> OnObjectTag{Relay(&THTMLViewer::OnObjectTag)};
  // These two are also read by the frameset reader through the base class,
  // whose handlers they keep in step.
  TForwardedEvent<engine::TLinkType> OnLink{RelayWithBase(&THTMLViewer::OnLink, &TFrameViewerBase::OnLink)};
  TForwardedEvent<engine::TScriptEvent> OnScript{
      RelayWithBase(&THTMLViewer::OnScript, &TFrameViewerBase::OnScript)};

  // A frame's viewer asking for a source its document links to: the host's
  // request events answer it (hooked while they are assigned).
  void FrameStreamRequest(gui::TObject* Sender, const std::string& SRC, gui::TStream*& Stream);
  // The viewers of the current document that show something, each with the
  // sides of the frame viewer its frame touches ("l", "t", "r", "b", in
  // that order). The list belongs to the frame viewer and is made anew on
  // every call.
  gui::TStringList& PrintViewerList();
  // The active viewer takes the focus when it can, else the frame viewer.
  void SetFocus() override;
  void Repaint() override;

 private:
  // Hooks that write a new handler into the same event of every frame's viewer.
  template <typename Field>
  typename TForwardedEvent<HandlerOf<Field>>::Hook Relay(Field THTMLViewer::*Event) {
    return [this, Event](const HandlerOf<Field>& Value) {
      ForEachViewer([&](THTMLViewer& viewer) { viewer.*Event = Value; });
    };
  }
  template <typename Handler>
  typename TForwardedEvent<Handler>::Hook RelayWithBase(Handler THTMLViewer::*Event, Handler TFrameViewerBase::*Own) {
    return [this, Event, Own](const Handler& Value) {
      this->*Own = Value;
      ForEachViewer([&](THTMLViewer& viewer) { viewer.*Event = Value; });
    };
  }
  void SetBusy(bool Loading, bool Processing);
  // Calls Apply for every frame's viewer.
  void ForEachViewer(const std::function<void(THTMLViewer&)>& Apply);
  void LoadIntoNewSet(const std::string& Name, const std::string& Dest, TLoadFailure OnFailure);
  void FollowClickedLink(THTMLViewer& Viewer, const std::string& Url);
  TFrameBase* LinkDestination(THTMLViewer& Viewer, const std::string& Target) const;
  int OnlyViewerPosition() const;
  // Steps shared by the three history pushes, after the entry at the index was updated.
  void FinishHistoryPush();
  void SetHistoryEntry(int Index, const std::string& Name, TFrameSet* Set, const std::u16string& Title,
                       int Position);
  void FreeUnlistedFrameSet(TFrameSet* Set);
  void FreeHistorySets();

  std::unique_ptr<images::TStringBitmapList> cache_;
  TFrameSet* currentSet_ = nullptr;  // owned
  bool loading_ = false;
  bool processing_ = false;
  std::vector<gui::TObject*> processingViewers_;
  TDeferredRelease released_;
  std::string linkUrl_, linkTarget_;
  std::u16string linkText_;
  gui::TStringList linkAttributes_;
  gui::TStringList visited_;
  int visitedMaxCount_ = 50;
  // History: names with their sets as objects, titles and positions, parallel.
  gui::TStringList history_;
  std::vector<std::u16string> historyTitles_;
  std::vector<int> historyPositions_;
  int historyIndex_ = 0;

  bool viewImages_ = true;
  int imageCacheCount_ = 5;
  bool noSelect_ = false;
  int marginWidth_ = 10;
  int marginHeight_ = 5;
  gui::TColor defBackground_;
  std::string defFontName_ = "Times New Roman";
  std::string defPreFontName_ = "Courier New";
  int defFontSize_ = 12;
  gui::TColor defFontColor_;
  gui::TColor defHotSpotColor_ = 0xFF0000;
  gui::TColor defVisitedLinkColor_ = 0x800080;
  gui::TColor defOverLinkColor_ = 0xFF0000;
  int historyMaxCount_ = 0;
  int charSet_ = 1;  // DEFAULT_CHARSET
  gui::TCursor cursor_ = gui::crIBeam;
  double printScale_ = 1.0;
  TFrameViewerOptions options_ = fvPrintMonochromeBlack | fvPrintTableBackground;
  std::string serverRoot_;
  std::unique_ptr<gui::TStringList> printList_;
  std::unique_ptr<gui::TMemoryStream> requestStream_;
};

}  // namespace viewer
