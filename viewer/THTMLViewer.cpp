// Construction, the published settings and the busy guard.
#include "viewer/THTMLViewer.h"

#include <algorithm>

#include "engine/document/TSectionList.h"
#include "engine/objects/TFormControlObj.h"
#include "engine/text/TFontObj.h"
#include "images/TStringBitmapList.h"
#include "platform/gui/AnsiText.h"
#include "platform/gui/StringFunctions.h"
#include "platform/gui/TScreen.h"
#include "platform/gui/GdiCalls.h"
#include "platform/gui/UserCalls.h"

namespace viewer {

namespace {

constexpr int kMaxPreFontName = 32;
constexpr int kMaxImageCache = 20;
constexpr double kMinPrintScale = 0.25;
constexpr double kMaxPrintScale = 4.0;
constexpr unsigned kMouseLeaveInterval = 200;

}  // namespace

THTMLViewer::THTMLViewer(gui::TComponent* AOwner)
    : gui::TWinControl(AOwner), defBackground_(gui::clBtnFace), defFontColor_(gui::clBtnText) {
  SetBounds(0, 0, 150, 150);
  borderPanel_ = new gui::TPanel(this);
  borderPanel_->SetBevelInner(gui::bvNone);
  borderPanel_->SetBevelOuter(gui::bvNone);
  borderPanel_->SetParent(this);
  borderPanel_->SetAlign(gui::alClient);

  paintPanel_ = new TPaintPanel(this, *this);
  paintPanel_->SetParent(this);
  paintPanel_->SetBounds(1, 1, 148, 148);
  paintPanel_->OnMouseDown = [this](gui::TObject*, gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    HandleMouseDown(Button, Shift, X, Y);
  };
  paintPanel_->OnMouseMove = [this](gui::TObject*, gui::TShiftState Shift, int X, int Y) {
    HandleMouseMove(Shift, X, Y);
  };
  paintPanel_->OnMouseUp = [this](gui::TObject*, gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y) {
    HandleMouseUp(Button, Shift, X, Y);
  };

  vScrollBar_ = new T32ScrollBar(this, *this);
  vScrollBar_->SetKind(gui::sbVertical);
  vScrollBar_->SetSmallChange(16);
  vScrollBar_->SetVisible(false);
  vScrollBar_->SetTabStop(false);
  vScrollBar_->SetParent(this);
  scrollBarWidth_ = vScrollBar_->Width();

  hScrollBar_ = new gui::TScrollBar(this);
  hScrollBar_->SetKind(gui::sbHorizontal);
  hScrollBar_->SetSmallChange(15);
  hScrollBar_->SetVisible(false);
  hScrollBar_->SetTabStop(false);
  hScrollBar_->SetParent(this);
  hScrollBar_->SetHeight(scrollBarWidth_);
  hScrollBar_->OnScroll = [this](gui::TObject*, gui::TScrollCode, int& ScrollPos) { HorizontalScrolled(ScrollPos); };

  root_ = std::make_unique<engine::TSectionList>(this, paintPanel_);
  root_->OnBackgroundChanged = [this](engine::TSectionList* Sender) { BackgroundChanged(Sender); };
  root_->OnProgress = [this](int Percent) { ReportProgress(Percent); };
  root_->Links.IsVisited = [this](const std::string& Url) { return visited_.IndexOf(Url) >= 0; };
  root_->OnSubmitForm = [this](const std::string& Action, const std::string& Target, const std::string& EncType,
                               const std::string& Method, std::vector<std::string> Items) {
    SubmitForm(Action, Target, EncType, Method, std::move(Items));
  };
  root_->Links.OnObjectFocused = [this](engine::TFontObj* Run) { ScrollLinkIntoView(Run->LinkY()); };
  root_->OnObjectFocused = [this](engine::TFormControlObj* Obj) { ScrollLinkIntoView(Obj->TopY); };
  root_->OnControlMouseMove = [this](engine::TFormControlObj* Obj, std::uint8_t Shift, int X, int Y) {
    FormControlMouseMove(Obj, Shift, X, Y);
  };
  root_->Links.OnLinkActivate = [this](engine::TFontObj* Run) { PostLinkActivation(Run->UrlTarget()); };
  root_->Links.OnKeyDown = [this](win::WORD& Key, gui::TShiftState Shift) { KeyDown(Key, Shift); };
  root_->ExpandDocumentName = [this](const std::string& Name) { return ExpandDocumentName(Name); };
  root_->ShowImages = true;
  root_->PreFontName = defPreFontName_;
  root_->HotSpotColor = defHotSpotColor_;
  root_->LinkVisitedColor = defVisitedLinkColor_;
  root_->LinkActiveColor = defOverLinkColor_;
  root_->Background = defBackground_;
  paintPanel_->SetColor(defBackground_);
  SethtOptions(options_);

  mouseTimer_ = new gui::TTimer(this);
  mouseTimer_->SetEnabled(false);
  mouseTimer_->SetInterval(kMouseLeaveInterval);
  mouseTimer_->OnTimer = [this](gui::TObject*) { MouseLeaveTimer(); };
  gui::TWinControl::SetCursor(gui::crIBeam);
  paintPanel_->SetCursor(gui::crIBeam);
  creating_ = false;
}

THTMLViewer::~THTMLViewer() {
  // A bar or the paint panel that holds the mouse reports its release to the
  // viewer: let go now, while the viewer is whole, not while its windows go.
  if (HandleAllocated()) {
    const win::HWND capture = win::GetCapture();
    if (capture != 0 && (capture == Handle() || win::IsChild(Handle(), capture))) win::ReleaseCapture();
  }
  *alive_ = false;
  AbandonPrintRuns();
  // The root releases its images into the cache when it clears, so it goes first.
  if (root_) root_->Clear();
  root_.reset();
  ownedCache_.reset();
  if (measureCanvas_) measureCanvas_->SetHandle(0);
  if (measureDC_) win::DeleteDC(measureDC_);
}

// The border panel lies under the paint panel and the bars.
void THTMLViewer::CreateWnd() {
  gui::TWinControl::CreateWnd();
  if (borderPanel_->HandleAllocated()) {
    win::SetWindowPos(borderPanel_->Handle(), win::HWND_BOTTOM, 0, 0, 0, 0,
                      win::SWP_NOMOVE | win::SWP_NOSIZE | win::SWP_NOACTIVATE);
  }
}

void THTMLViewer::SetBusy(bool Value) {
  if (busy_ == Value) return;
  busy_ = Value;
  if (OnProcessing) OnProcessing(this, Value);
}

void THTMLViewer::Progress(ThtProgressStage Stage, int Percent) {
  if (OnProgress) OnProgress(this, Stage, Percent);
}

void THTMLViewer::ReportProgress(int PercentDone) { Progress(psRunning, PercentDone); }

bool THTMLViewer::ViewImages() const { return root_->ShowImages; }

void THTMLViewer::SetViewImages(bool Value) {
  if (Value == root_->ShowImages || busy_) return;
  const gui::TCursor oldCursor = gui::Screen->Cursor();
  gui::Screen->SetCursor(gui::crHourGlass);
  SetBusy(true);
  try {
    root_->ShowImages = Value;
    if (root_->Count() > 0) {
      const std::int64_t place = GetSavedPosition();
      LayoutDocument();
      RestoreSavedPosition(place);
      Invalidate();
    }
  } catch (...) {
    SetBusy(false);
    gui::Screen->SetCursor(oldCursor);
    throw;
  }
  SetBusy(false);
  gui::Screen->SetCursor(oldCursor);
}

void THTMLViewer::SetDefBackground(gui::TColor Value) {
  if (busy_) return;
  defBackground_ = Value;
  root_->Background = Value;
  paintPanel_->SetColor(Value);
  Invalidate();
}

void THTMLViewer::SetBorderStyle(THTMLBorderStyle Value) {
  borderStyle_ = Value;
  UpdateBorder();
}

// A single border when focused under htFocused, always under htSingle.
void THTMLViewer::UpdateBorder() {
  const bool focused = HandleAllocated() && win::GetFocus() == Handle();
  const bool single = (focused && borderStyle_ == htFocused) || borderStyle_ == htSingle;
  borderPanel_->SetBorderStyle(single ? gui::bsSingle : gui::bsNone);
}

void THTMLViewer::SetDefPreFontName(const std::string& Value) {
  if (gui::AnsiCompareText(Value, root_->PreFontName) == 0) return;
  defPreFontName_ = Value;
  root_->PreFontName = Value.substr(0, kMaxPreFontName);
}

void THTMLViewer::SetDefHotSpotColor(gui::TColor Value) {
  defHotSpotColor_ = Value;
  root_->HotSpotColor = Value;
}

void THTMLViewer::SetDefVisitedLinkColor(gui::TColor Value) {
  defVisitedLinkColor_ = Value;
  root_->LinkVisitedColor = Value;
}

void THTMLViewer::SetDefOverLinkColor(gui::TColor Value) {
  defOverLinkColor_ = Value;
  root_->LinkActiveColor = Value;
}

void THTMLViewer::SetImageCacheCount(int Value) {
  const int clamped = std::clamp(Value, 0, kMaxImageCache);
  if (clamped == imageCacheCount_) return;
  imageCacheCount_ = clamped;
  if (cache_) cache_->SetCacheLimit(clamped);
}

void THTMLViewer::SetNoSelect(bool Value) {
  if (Value == noSelect_) return;
  noSelect_ = Value;
  if (Value) {
    root_->SelB = -1;
    root_->SelE = -1;
    Invalidate();
  }
}

void THTMLViewer::SetScrollBars(gui::TScrollStyle Value) {
  if (Value == scrollBars_) return;
  scrollBars_ = Value;
  if (busy_ || !HandleAllocated()) return;
  SetBusy(true);
  try {
    LayoutDocument();
  } catch (...) {
    SetBusy(false);
    throw;
  }
  SetBusy(false);
  Invalidate();
}

// Blanks round the name and one trailing separator are dropped.
void THTMLViewer::SetServerRoot(const std::string& Value) {
  std::string trimmed = gui::Trim(Value);
  if (!trimmed.empty() && (trimmed.back() == '\\' || trimmed.back() == '/')) trimmed.pop_back();
  serverRoot_ = trimmed;
}

void THTMLViewer::SetPrintScale(double Value) {
  if (!(Value >= kMinPrintScale)) Value = kMinPrintScale;  // NaN too
  printScale_ = std::min(Value, kMaxPrintScale);
}

void THTMLViewer::SethtOptions(ThtmlViewerOptions Value) {
  options_ = Value;
  if (!root_) return;
  root_->OverLinksActive = (Value & htOverLinksActive) != 0;
  root_->PrintBackground = (Value & (htPrintTableBackground | htPrintBackground)) != 0;
  root_->PrintMonochrome = (Value & htPrintMonochromeBlack) != 0;
}

void THTMLViewer::SetCursor(gui::TCursor Value) {
  if (Value == 2) Value = gui::crIBeam;
  gui::TWinControl::SetCursor(Value);
}

void THTMLViewer::BackgroundChanged(engine::TSectionList* Sender) {
  paintPanel_->SetColor(Sender->Background);
  paintPanel_->Invalidate();
}

}  // namespace viewer
