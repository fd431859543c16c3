#include "viewer/TFrameViewer.h"

#include <algorithm>
#include <exception>

#include "engine/common/DosFileNames.h"
#include "engine/common/TextHelpers.h"
#include "engine/html/Charsets.h"
#include "engine/html/TAttributeList.h"
#include "engine/document/TSectionList.h"
#include "images/TStringBitmapList.h"
#include "platform/gui/AnsiText.h"
#include "platform/gui/FileFunctions.h"
#include "platform/gui/FileNames.h"
#include "platform/gui/StringFunctions.h"
#include "platform/gui/TStream.h"
#include "viewer/TFrameSet.h"
#include "viewer/TSubFrameSet.h"
#include "viewer/TfvFrame.h"

namespace viewer {
namespace {

// The lower-cased extension, at most five characters with its dot.
std::string ExtensionOf(const std::string& name) {
  return engine::LowerCase(gui::ExtractFileExt(name).substr(0, 5));
}

// Each fv option that drives the ht option of the same name.
struct TOptionPair {
  TFrameViewerOptions fv;
  ThtmlViewerOptions ht;
};
constexpr TOptionPair kSharedOptions[] = {
    {fvOverLinksActive, htOverLinksActive},         {fvNoLinkUnderline, htNoLinkUnderline},
    {fvPrintTableBackground, htPrintTableBackground}, {fvPrintBackground, htPrintBackground},
    {fvPrintMonochromeBlack, htPrintMonochromeBlack}, {fvShowDummyCaret, htShowDummyCaret},
    {fvShowVScroll, htShowVScroll},                 {fvNoWheelMouse, htNoWheelMouse},
    {fvNoLinkHilite, htNoLinkHilite}};

ThtmlViewerOptions ViewerOptions(ThtmlViewerOptions current, TFrameViewerOptions options) {
  for (const TOptionPair& pair : kSharedOptions) {
    if (options & pair.fv) current |= pair.ht;
    else current &= ~pair.ht;
  }
  return current;
}

}  // namespace

bool IsImageFileName(const std::string& Name) {
  const std::string extension = ExtensionOf(Name);
  return extension == ".gif" || extension == ".jpg" || extension == ".jpeg" || extension == ".bmp" ||
         extension == ".png";
}

bool IsTextFileName(const std::string& Name) { return ExtensionOf(Name) == ".txt"; }

void SplitUrlDestination(const std::string& Url, std::string& Name, std::string& Dest) {
  const std::size_t hash = Url.find('#');
  Name = Url.substr(0, hash);
  Dest = hash == std::string::npos ? std::string() : Url.substr(hash);
}

TFrameViewer::TFrameViewer(gui::TComponent* AOwner)
    : engine::TFrameViewerBase(AOwner),
      cache_(std::make_unique<images::TStringBitmapList>()),
      defBackground_(gui::clBtnFace),
      defFontColor_(gui::clBtnText) {
  SetBounds(Left(), Top(), 150, 150);
  SetTabStop(false);
  SetColor(defBackground_);
  currentSet_ = new TFrameSet(this);
  currentSet_->SetBevelInset(2);
  currentSet_->SetBevelWidth(2);
  currentSet_->SetBevelOuter(gui::bvLowered);
  currentSet_->SetAlign(gui::alClient);
  currentSet_->SetParent(this);
}

TFrameViewer::~TFrameViewer() {
  // The frames' viewers use the image cache: they go first, the sets still
  // waiting to be freed and those the history keeps before the current one.
  FreeHistorySets();
  released_.FreePending();
  delete currentSet_;
  currentSet_ = nullptr;
}

bool TFrameViewer::LoadFromFile(const std::string& FileName) {
  if (IsBusy()) return false;
  std::string name, dest;
  SplitUrlDestination(FileName, name, dest);
  if (!gui::FileExists(name)) throw EfvLoadError("Can't locate file: " + name);
  // The caller learns of a document that cannot be shown.
  OpenDocument(FileName, TLoadFailure::Raise);
  return true;
}

void TFrameViewer::OpenDocument(const std::string& Url, TLoadFailure OnFailure) {
  std::string name, dest;
  SplitUrlDestination(Url, name, dest);
  // Compared as the set stores it: a relative name would never match.
  const std::string compared = currentSet_->HasRequestEvents() ? name : gui::ExpandFileName(name);
  // A link click already holds the loading flag; it is put back as found.
  const bool wasLoading = loading_;
  SetBusy(true, processing_);
  processingViewers_.clear();
  if (OnSoundRequest) OnSoundRequest(this, "", 0, true);
  try {
    if (gui::AnsiCompareText(currentSet_->DocumentName, compared) != 0) {
      LoadIntoNewSet(name, dest, OnFailure);
    } else {
      const int position = OnlyViewerPosition();
      currentSet_->LoadDocument(name, dest, OnFailure);
      currentSet_->Repaint();
      PushReloadHistory(position);
    }
    AddVisited(compared + dest);
    UpdateVisitedLinks();
  } catch (...) {
    SetBusy(wasLoading, !processingViewers_.empty());
    throw;
  }
  SetBusy(wasLoading, !processingViewers_.empty());
}

// The vertical position of the only viewer of the current set, else 0.
int TFrameViewer::OnlyViewerPosition() const {
  const auto& viewers = currentSet_->Viewers();
  return viewers.size() == 1 ? viewers.front()->VerticalPosition() : 0;
}

void TFrameViewer::LoadIntoNewSet(const std::string& Name, const std::string& Dest, TLoadFailure OnFailure) {
  TFrameSet* oldSet = currentSet_;
  const int position = OnlyViewerPosition();
  auto* newSet = new TFrameSet(this);
  newSet->SetBevelInset(oldSet->BevelInset());
  newSet->SetBevelWidth(oldSet->BevelWidth());
  newSet->SetBevelOuter(oldSet->BevelOuter());
  newSet->SetBounds(oldSet->Left(), oldSet->Top(), oldSet->Width(), oldSet->Height());
  newSet->SetAlign(gui::alClient);
  // It loads behind the old set, which stays in view until the new one is complete.
  newSet->Hide();
  newSet->SetParent(this);
  newSet->SendToBack();
  newSet->Show();
  // Nested sets made while reading take the current set as their master.
  currentSet_ = newSet;
  try {
    newSet->LoadDocument(Name, Dest, OnFailure);
  } catch (...) {
    currentSet_ = oldSet;
    delete newSet;
    throw;
  }
  oldSet->UnloadContent();
  newSet->BringToFront();
  // The old set leaves the window now; the history keeps it or frees it
  // after the current message (its viewer's click may be under way).
  oldSet->Hide();
  PushHistory(oldSet, position);
  Repaint();
}

void TFrameViewer::Reload() {
  SetBusy(true, processing_);
  processingViewers_.clear();
  try {
    currentSet_->UnloadContent();
    currentSet_->ReloadContent(-1);
    UpdateVisitedLinks();
  } catch (...) {
    SetBusy(false, !processingViewers_.empty());
    throw;
  }
  SetBusy(false, !processingViewers_.empty());
}

bool TFrameViewer::Clear() {
  if (IsBusy()) return false;
  FreeHistorySets();
  currentSet_->ReleaseFrames();
  currentSet_->SetBevelOuter(gui::bvLowered);
  currentSet_->SetBevelWidth(2);
  cache_->Clear();
  linkUrl_.clear();
  linkTarget_.clear();
  if (OnHistoryChange) OnHistoryChange(this);
  visited_.Clear();
  return true;
}

THTMLViewer* TFrameViewer::FrameViewerByName(const std::string& FrameName) const {
  TfvFrame* frame = currentSet_->FrameByName(FrameName);
  return frame ? frame->Viewer() : nullptr;
}

int TFrameViewer::GetViewerCount() const { return static_cast<int>(currentSet_->Viewers().size()); }

THTMLViewer* TFrameViewer::GetViewer(int Index) const {
  const auto& viewers = currentSet_->Viewers();
  return Index >= 0 && Index < GetViewerCount() ? viewers[static_cast<std::size_t>(Index)] : nullptr;
}

THTMLViewer* TFrameViewer::GetActiveViewer() const { return currentSet_->GetActiveViewer(); }

void TFrameViewer::InsertFrame(engine::TFrameSetNode* Set, const engine::TAttributeList& Attributes,
                               const std::string& Path) {
  if (auto* set = dynamic_cast<TSubFrameSet*>(Set)) set->AddFrame(&Attributes, Path);
}

engine::TFrameSetNode* TFrameViewer::InsertFrameSet(engine::TFrameSetNode* Set) {
  auto* set = dynamic_cast<TSubFrameSet*>(Set);
  return set ? set->AddFrameSet() : nullptr;
}

void TFrameViewer::ApplyFrameSetAttributes(engine::TFrameSetNode* Set, const engine::TAttributeList& Attributes) {
  if (auto* set = dynamic_cast<TSubFrameSet*>(Set)) set->ApplyAttributes(Attributes);
}

void TFrameViewer::FinishFrameSet(engine::TFrameSetNode* Set) {
  if (auto* set = dynamic_cast<TSubFrameSet*>(Set)) set->InitializeSizes();
}

engine::TMetaType TFrameViewer::FrameSetMetaHandler(TSubFrameSet* Set) {
  return [this, Set](gui::TObject* Sender, const std::string& HttpEq, const std::string& Name,
                     const std::string& Content) {
    int charset = 0;
    if (gui::AnsiSameText(HttpEq, "content-type") && engine::CharsetFromName(Content, charset)) {
      Set->SetLocalCharSet(charset);
    }
    if (OnMeta) OnMeta(Sender, HttpEq, Name, Content);
    if ((options_ & fvMetaRefresh) && gui::AnsiCompareText(HttpEq, "refresh") == 0) Set->MetaRefresh(Content);
  };
}

void TFrameViewer::ApplySettings(THTMLViewer& Viewer) {
  Viewer.SetDefBackground(defBackground_);
  Viewer.SetViewImages(viewImages_);
  Viewer.SetSharedImageCache(cache_.get());
  Viewer.SetImageCacheCount(imageCacheCount_);
  Viewer.SetNoSelect(noSelect_);
  Viewer.SetDefFontColor(defFontColor_);
  Viewer.SetDefHotSpotColor(defHotSpotColor_);
  Viewer.SetDefVisitedLinkColor(defVisitedLinkColor_);
  Viewer.SetDefOverLinkColor(defOverLinkColor_);
  Viewer.SetDefFontSize(defFontSize_);
  Viewer.SetDefFontName(defFontName_);
  Viewer.SetDefPreFontName(defPreFontName_);
  Viewer.SethtOptions(ViewerOptions(Viewer.htOptions(), options_));
  Viewer.SetCursor(cursor_);
  Viewer.SetHistoryMaxCount(historyMaxCount_);
  Viewer.PrintMarginLeft = PrintMarginLeft;
  Viewer.PrintMarginRight = PrintMarginRight;
  Viewer.PrintMarginTop = PrintMarginTop;
  Viewer.PrintMarginBottom = PrintMarginBottom;
  Viewer.SetPrintScale(printScale_);
  Viewer.SetServerRoot(serverRoot_);
  Viewer.OnLink = OnLink.Get();
  Viewer.OnMeta = OnMeta.Get();
  Viewer.OnScript = OnScript.Get();
  Viewer.OnInclude = OnInclude;
  Viewer.OnSoundRequest = OnSoundRequest;
  Viewer.OnProgress = OnProgress.Get();
  Viewer.OnParseBegin = OnParseBegin.Get();
  Viewer.OnParseEnd = OnParseEnd.Get();
  Viewer.OnRightClick = OnRightClick.Get();
  Viewer.OnMouseDouble = OnMouseDouble.Get();
  Viewer.OnImageClick = OnImageClick.Get();
  Viewer.OnImageOver = OnImageOver.Get();
  Viewer.OnBitmapRequest = OnBitmapRequest.Get();
  Viewer.OnImageRequest = OnImageRequest.Get();
  Viewer.OnObjectClick = OnObjectClick.Get();
  Viewer.OnObjectFocus = OnObjectFocus.Get();
  Viewer.OnObjectBlur = OnObjectBlur.Get();
  Viewer.OnObjectChange = OnObjectChange.Get();
  Viewer.OnFileBrowse = OnFileBrowse.Get();
  Viewer.OnPrintHeader = OnPrintHeader.Get();
  Viewer.OnPrintFooter = OnPrintFooter.Get();
  Viewer.OnPrintHTMLHeader = OnPrintHTMLHeader.Get();
  Viewer.OnPrintHTMLFooter = OnPrintHTMLFooter.Get();
  Viewer.OnObjectTag = OnObjectTag.Get();
  if (currentSet_->HasRequestEvents()) {
    Viewer.OnhtStreamRequest = [this](gui::TObject* Sender, const std::string& SRC, gui::TStream*& Stream) {
      FrameStreamRequest(Sender, SRC, Stream);
    };
  }
  Viewer.OnFormSubmit = OnFormSubmit.Get();
  Viewer.OnMouseDown = OnMouseDown;
  Viewer.OnMouseMove = OnMouseMove;
  Viewer.OnMouseUp = OnMouseUp;
  Viewer.OnKeyDown = OnKeyDown;
  Viewer.OnKeyUp = OnKeyUp;
  Viewer.OnKeyPress = OnKeyPress;
  Viewer.OnProcessing = [this](gui::TObject* Sender, bool On) { ViewerProcessing(Sender, On); };
}

void TFrameViewer::FrameStreamRequest(gui::TObject*, const std::string& SRC, gui::TStream*& Stream) {
  TDocRequest request;
  try {
    if (!currentSet_->RequestDocument(SRC, request)) return;
  } catch (const std::exception&) {
    return;  // a file the host named that cannot be read is no answer
  }
  if (!requestStream_) requestStream_ = std::make_unique<gui::TMemoryStream>();
  requestStream_->Clear();
  requestStream_->Write(request.Text.data(), static_cast<std::int64_t>(request.Text.size()));
  requestStream_->Seek(0, gui::soFromBeginning);
  Stream = requestStream_.get();
}

gui::TStringList& TFrameViewer::PrintViewerList() {
  if (!printList_) printList_ = std::make_unique<gui::TStringList>();
  printList_->Clear();
  const win::POINT setOrigin = currentSet_->ClientToScreen({0, 0});
  const win::RECT set{setOrigin.x, setOrigin.y, setOrigin.x + currentSet_->ClientWidth(),
                      setOrigin.y + currentSet_->ClientHeight()};
  for (THTMLViewer* viewer : currentSet_->Viewers()) {
    if (viewer->Document().Count() == 0) continue;  // nothing to print
    const gui::TControl* frame = viewer->Parent();
    const win::POINT origin = frame->ClientToScreen({0, 0});
    const win::RECT area{origin.x, origin.y, origin.x + frame->ClientWidth(), origin.y + frame->ClientHeight()};
    std::string edges;
    if (set.left + 2 >= area.left) edges += "l";
    if (set.top + 2 >= area.top) edges += "t";
    if (area.right >= set.right - 2) edges += "r";
    if (area.bottom >= set.bottom - 2) edges += "b";
    printList_->AddObject(edges, viewer);
  }
  return *printList_;
}

void TFrameViewer::SetFocus() {
  THTMLViewer* active = GetActiveViewer();
  if (active && active->CanFocus()) {
    try {
      active->SetFocus();
      return;
    } catch (const std::exception&) {
      // The frame viewer takes the focus instead.
    }
  }
  engine::TFrameViewerBase::SetFocus();
}

void TFrameViewer::Repaint() {
  if (currentSet_) currentSet_->Repaint();
  engine::TFrameViewerBase::Repaint();
}

void TFrameViewer::ViewerProcessing(gui::TObject* Sender, bool ProcessingOn) {
  const auto found = std::find(processingViewers_.begin(), processingViewers_.end(), Sender);
  if (ProcessingOn && found == processingViewers_.end()) processingViewers_.push_back(Sender);
  if (!ProcessingOn && found != processingViewers_.end()) processingViewers_.erase(found);
  SetBusy(loading_, !processingViewers_.empty());
}

void TFrameViewer::SetBusy(bool Loading, bool Processing) {
  const bool was = IsBusy();
  loading_ = Loading;
  processing_ = Processing;
  if (was != IsBusy() && OnProcessing) OnProcessing(this, IsBusy());
}

void TFrameViewer::ForEachViewer(const std::function<void(THTMLViewer&)>& Apply) {
  for (int index = 0; index < GetViewerCount(); ++index) Apply(*GetViewer(index));
}

void TFrameViewer::SetViewImages(bool Value) {
  if (Value == viewImages_ || IsBusy()) return;
  viewImages_ = Value;
  ForEachViewer([Value](THTMLViewer& viewer) { viewer.SetViewImages(Value); });
}

void TFrameViewer::SetImageCacheCount(int Value) {
  if (Value == imageCacheCount_ || IsBusy()) return;
  imageCacheCount_ = Value;
  ForEachViewer([Value](THTMLViewer& viewer) { viewer.SetImageCacheCount(Value); });
}

void TFrameViewer::SetNoSelect(bool Value) {
  if (Value == noSelect_) return;
  noSelect_ = Value;
  ForEachViewer([Value](THTMLViewer& viewer) { viewer.SetNoSelect(Value); });
}

void TFrameViewer::SetMarginWidth(int Value) {
  if (Value == marginWidth_) return;
  marginWidth_ = Value;
  ForEachViewer([Value](THTMLViewer& viewer) { viewer.SetMarginWidth(Value); });
}

void TFrameViewer::SetMarginHeight(int Value) {
  if (Value == marginHeight_) return;
  marginHeight_ = Value;
  ForEachViewer([Value](THTMLViewer& viewer) { viewer.SetMarginHeight(Value); });
}

void TFrameViewer::SetDefBackground(gui::TColor Value) {
  if (Value == defBackground_) return;
  ForEachViewer([Value](THTMLViewer& viewer) { viewer.SetDefBackground(Value); });
  defBackground_ = Value;
  SetColor(Value);
}

void TFrameViewer::SetDefFontName(const std::string& Value) {
  if (gui::AnsiCompareText(Value, defFontName_) == 0) return;
  defFontName_ = Value;
  ForEachViewer([&Value](THTMLViewer& viewer) { viewer.SetDefFontName(Value); });
}

void TFrameViewer::SetDefPreFontName(const std::string& Value) {
  if (gui::AnsiCompareText(Value, defPreFontName_) == 0) return;
  defPreFontName_ = Value;
  ForEachViewer([&Value](THTMLViewer& viewer) { viewer.SetDefPreFontName(Value); });
}

void TFrameViewer::SetDefFontSize(int Value) {
  Value = std::clamp(Value, THTMLViewer::kMinDefFontSize, THTMLViewer::kMaxDefFontSize);
  if (Value == defFontSize_) return;
  ForEachViewer([Value](THTMLViewer& viewer) { viewer.SetDefFontSize(Value); });
  defFontSize_ = Value;
}

void TFrameViewer::SetDefFontColor(gui::TColor Value) {
  if (Value == defFontColor_) return;
  ForEachViewer([Value](THTMLViewer& viewer) { viewer.SetDefFontColor(Value); });
  defFontColor_ = Value;
}

void TFrameViewer::SetDefHotSpotColor(gui::TColor Value) {
  if (Value == defHotSpotColor_) return;
  ForEachViewer([Value](THTMLViewer& viewer) { viewer.SetDefHotSpotColor(Value); });
  defHotSpotColor_ = Value;
}

void TFrameViewer::SetDefVisitedLinkColor(gui::TColor Value) {
  if (Value == defVisitedLinkColor_) return;
  ForEachViewer([Value](THTMLViewer& viewer) { viewer.SetDefVisitedLinkColor(Value); });
  defVisitedLinkColor_ = Value;
}

void TFrameViewer::SetDefOverLinkColor(gui::TColor Value) {
  if (Value == defOverLinkColor_) return;
  ForEachViewer([Value](THTMLViewer& viewer) { viewer.SetDefOverLinkColor(Value); });
  defOverLinkColor_ = Value;
}

void TFrameViewer::SetHistoryMaxCount(int Value) {
  if (Value == historyMaxCount_ || Value < 0) return;
  ClearHistory();
  ForEachViewer([Value](THTMLViewer& viewer) {
    viewer.ClearHistory();
    viewer.SetHistoryMaxCount(Value);
  });
  historyMaxCount_ = Value;
}

void TFrameViewer::SetCharSet(int Value) {
  if (Value == charSet_) return;
  ForEachViewer([Value](THTMLViewer& viewer) { viewer.SetCharSet(Value); });
  charSet_ = Value;
}

void TFrameViewer::SetViewerCursor(gui::TCursor Value) {
  if (Value == 2) Value = gui::crIBeam;
  if (Value == cursor_) return;
  ForEachViewer([Value](THTMLViewer& viewer) { viewer.SetCursor(Value); });
  cursor_ = Value;
}

void TFrameViewer::SetPrintScale(double Value) {
  if (Value == printScale_) return;
  printScale_ = Value;
  ForEachViewer([Value](THTMLViewer& viewer) { viewer.SetPrintScale(Value); });
}

void TFrameViewer::SetfvOptions(TFrameViewerOptions Value) {
  if ((Value & fvNoBorder) != (options_ & fvNoBorder)) {
    const bool none = Value & fvNoBorder;
    currentSet_->SetBevelOuter(none ? gui::bvNone : gui::bvLowered);
    currentSet_->SetBevelWidth(2);
    currentSet_->SetBevelInset(none ? 0 : 2);
    currentSet_->SetBorderSize(none ? 0 : 2);
  }
  // As when the frames' viewers were made: a set without borders keeps them plain.
  const bool plain = (Value & (fvNoFocusRect | fvNoBorder)) || currentSet_->BorderSize() == 0;
  const THTMLBorderStyle border = plain ? htNone : htFocused;
  ForEachViewer([Value, border](THTMLViewer& viewer) {
    viewer.SethtOptions(ViewerOptions(viewer.htOptions(), Value));
    viewer.SetBorderStyle(border);
  });
  options_ = Value;
}

void TFrameViewer::SetServerRoot(const std::string& Value) {
  serverRoot_ = gui::Trim(Value);
  if (!serverRoot_.empty() && (serverRoot_.back() == '\\' || serverRoot_.back() == '/')) serverRoot_.pop_back();
}

}  // namespace viewer
