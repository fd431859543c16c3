#include "embed/TBrowserEnvelope.h"

#include "embed/EmbedState.h"
#include "embed/ExportGuard.h"
#include "embed/HostRecords.h"
#include "platform/gui/Colors.h"
#include "platform/gui/FileFunctions.h"
#include "platform/gui/TStream.h"
#include "platform/win/user/MessageBoxes.h"
#include "platform/win/user/MessageQueue.h"
#include "platform/win/user/Windows.h"

namespace embed {
namespace {

constexpr int kDefaultCharSet = 1;

win::LPARAM PointParam(int X, int Y) {
  return static_cast<win::LPARAM>((static_cast<win::DWORD>(Y) << 16) | (static_cast<win::DWORD>(X) & 0xFFFF));
}

bool IsAbsolutePath(const std::string& Name) { return !Name.empty() && Name.front() == '/'; }

}  // namespace

TBrowserEnvelope::TBrowserEnvelope(gui::TComponent* AOwner) : gui::TForm(AOwner) {
  FrameViewer = new viewer::TFrameViewer(this);
  FrameViewer->SetParent(this);
  Timer1 = new gui::TTimer(this);
  ApplicationEvents1 = new gui::TApplicationEvents(this);
  PrintDialog = new gui::TPrintDialog(this);
  ApplyResourceSettings();
  BindHandlers();
}

TBrowserEnvelope::~TBrowserEnvelope() = default;

// The values the form's design gives its components.
void TBrowserEnvelope::ApplyResourceSettings() {
  SetName("BrowserEnvelope");
  SetCaption("Browser Control Envelope Dialog");
  SetBounds(303, 115, 698, 459);
  SetColor(gui::clActiveCaption);

  viewer::TFrameViewer& view = *FrameViewer;
  view.SetName("FrameViewer");
  view.SetBounds(0, 0, 698, 459);
  view.SetImageCacheCount(0);
  view.SetNoSelect(false);
  view.PrintMarginLeft = 2.0;
  view.PrintMarginRight = 2.0;
  view.PrintMarginTop = 2.0;
  view.PrintMarginBottom = 3.0;
  view.SetPrintScale(1.0);
  view.SetDefBackground(gui::clWindow);
  view.SetDefFontName("Times New Roman");
  view.SetDefPreFontName("Courier New");
  view.SetDefFontColor(gui::clWindowText);
  view.SetDefOverLinkColor(gui::clRed);
  view.SetHistoryMaxCount(0);
  view.SetCharSet(kDefaultCharSet);
  view.SetAlign(gui::alClient);
  view.SetTabOrder(0);
  view.SetfvOptions(viewer::fvOverLinksActive | viewer::fvPrintMonochromeBlack | viewer::fvPrintTableBackground |
                    viewer::fvPrintBackground);

  Timer1->SetName("Timer1");
  Timer1->SetInterval(10);
  ApplicationEvents1->SetName("ApplicationEvents1");
  PrintDialog->SetName("PrintDialog");
}

void TBrowserEnvelope::BindHandlers() {
  Timer1->OnTimer = [this](gui::TObject* Sender) { Timer1Timer(Sender); };
  ApplicationEvents1->OnException = [this](gui::TObject* Sender, const gui::Exception& E) {
    ApplicationEvents1Exception(Sender, E);
  };
  FrameViewer->OnMouseMove = [this](gui::TObject* Sender, gui::TShiftState Shift, int X, int Y) {
    FrameViewerMouseMove(Sender, Shift, X, Y);
  };
  FrameViewer->OnMouseUp = [this](gui::TObject* Sender, gui::TMouseButton Button, gui::TShiftState Shift, int X,
                                  int Y) { FrameViewerMouseUp(Sender, Button, Shift, X, Y); };
  FrameViewer->OnHotSpotTargetClick = [this](gui::TObject* Sender, const std::string& Target, const std::string& URL,
                                             bool& Handled) {
    FrameViewerHotSpotTargetClick(Sender, Target, URL, Handled);
  };
  FrameViewer->OnHotSpotTargetCovered = [this](gui::TObject* Sender, const std::string& Target,
                                               const std::string& URL) {
    FrameViewerHotSpotTargetCovered(Sender, Target, URL);
  };
  FrameViewer->OnImageRequest = [this](gui::TObject* Sender, const std::string& SRC, gui::TMemoryStream*& Stream) {
    FrameViewerImageRequest(Sender, SRC, Stream);
  };
}

// Work other threads hand to this one runs here; none of ours does, so this
// only lets the application's messages run when there is such work.
void TBrowserEnvelope::Timer1Timer(gui::TObject*) {
  GuardedVoid("Timer1Timer", [] {
    while (gui::CheckSynchronize()) gui::Application->ProcessMessages();
  });
}

void TBrowserEnvelope::FrameViewerHotSpotTargetClick(gui::TObject*, const std::string& Target,
                                                     const std::string& URL, bool& Handled) {
  GuardedVoid("FrameViewerHotSpotTargetClick", [&] {
    HotSpotClickRecord& record = NextClickRecord();
    record.Window = Handle();
    CopyRecordText(record.URL, URL);
    CopyRecordText(record.Target, Target);
    record.Reserved = 0;
    win::PostMessageW(ParentWindow(), HotSpotClickMessage, 0, reinterpret_cast<win::LPARAM>(&record));
    Handled = true;
  });
}

// An empty URL (the pointer left a link) is posted too.
void TBrowserEnvelope::FrameViewerHotSpotTargetCovered(gui::TObject*, const std::string& Target,
                                                       const std::string& URL) {
  HotSpotNotifyRecord& record = NextNotifyRecord();
  record.Window = Handle();
  CopyRecordText(record.URL, URL);
  CopyRecordText(record.Target, Target);
  win::PostMessageW(ParentWindow(), HotSpotCoveredMessage, 0, reinterpret_cast<win::LPARAM>(&record));
}

void TBrowserEnvelope::ViewerToEnvelopePoint(gui::TObject* Sender, int& X, int& Y) {
  auto* control = dynamic_cast<gui::TWinControl*>(Sender);
  if (!control) return;
  const win::POINT screen = control->ClientToScreen({X, Y});
  win::RECT own{};
  win::GetWindowRect(Handle(), &own);
  X = screen.x - own.left;
  Y = screen.y - own.top;
}

// A right click reaches a host that watches the envelope's own messages.
void TBrowserEnvelope::FrameViewerMouseUp(gui::TObject* Sender, gui::TMouseButton Button, gui::TShiftState,
                                          int X, int Y) {
  GuardedVoid("FrameViewerMouseUp", [&] {
    if (Button != gui::mbRight) return;
    ViewerToEnvelopePoint(Sender, X, Y);
    win::PostMessageW(Handle(), win::WM_RBUTTONUP, 0, PointParam(X, Y));
  });
}

void TBrowserEnvelope::FrameViewerMouseMove(gui::TObject* Sender, gui::TShiftState Shift, int X, int Y) {
  GuardedVoid("FrameViewerMouseMove", [&] {
    if (Shift & (gui::ssLeft | gui::ssRight)) return;
    ViewerToEnvelopePoint(Sender, X, Y);
    win::PostMessageW(Handle(), win::WM_MOUSEMOVE, 0, PointParam(X, Y));
  });
}

void TBrowserEnvelope::ApplicationEvents1Exception(gui::TObject*, const gui::Exception& E) {
  ShowWarningBox("PAGEWELL Application Exception", E.Message());
}

// The host may name the file an image comes from. Without an answer the image
// code finds the image itself, relative to its document; only an absolute
// source is read here, so a file of the same name in the process's current
// folder never stands in for the document's own.
void TBrowserEnvelope::FrameViewerImageRequest(gui::TObject* Sender, const std::string& SRC,
                                               gui::TMemoryStream*& Stream) {
  std::string fileName = SRC;
  if (const ImageCallback callback = CurrentImageCallback()) {
    auto record = std::make_unique<ImageRequestRecord>();
    record->Window = Handle();
    CopyRecordText(record->SRC, SRC);
    record->Sender = Sender;
    record->Reply[0] = '\0';
    callback(record.get());
    record->Reply[sizeof record->Reply - 1] = '\0';  // a host that filled it all still ends it
    if (record->Reply[0] != '\0') fileName = record->Reply;
  }
  if (!IsAbsolutePath(fileName) && fileName == SRC) return;
  if (!gui::FileExists(fileName)) return;
  if (!imageStream_) imageStream_ = std::make_unique<gui::TMemoryStream>();
  try {
    imageStream_->LoadFromFile(fileName, gui::TFileKind::Image);
  } catch (const gui::EFOpenError&) {
    imageStream_->Clear();  // no regular file, or too large: a missing image
  }
  Stream = imageStream_.get();
}

}  // namespace embed
