// The exported functions that make, show, print and free the viewers, and
// the version calls. No error leaves them: each is shown in a warning box
// and turned into the function's failure value.
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "embed/EmbedState.h"
#include "embed/ExportGuard.h"
#include "embed/ExportText.h"
#include "embed/TBrowserEnvelope.h"
#include "embed/TMyRCVersion.h"
#include "embed/include/pagewell.h"
#include "platform/gui/TApplication.h"
#include "platform/gui/UpdateBatch.h"
#include "platform/win/gdi/PrintJobs.h"
#include "platform/win/gdi/VirtualPrinter.h"
#include "platform/win/kernel/Files.h"
#include "platform/win/user/Input.h"
#include "platform/win/user/Messages.h"
#include "platform/win/user/MessageQueue.h"
#include "platform/win/user/Windows.h"

using namespace embed;

namespace {

TBrowserEnvelope* EnvelopeOf(PW_HWND Handle) {
  const int slot = GetEnvelopeIndex(Handle);
  return slot < 0 ? nullptr : Envelope(slot);
}

double TwipsToCm(int Twips) { return Twips * 2.54 / 1440; }

// The current folder at any length; empty when it cannot be read.
std::string CurrentFolder() {
  std::vector<char> buffer(win::MAX_PATH + 1);
  for (int round = 0; round < 8; ++round) {
    const win::DWORD length = win::GetCurrentDirectoryA(static_cast<win::DWORD>(buffer.size()), buffer.data());
    if (length == 0) return {};
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(length + 1);
  }
  return {};
}

// A viewer's own windows cannot hold a viewer: its own would be remade inside
// the windows being destroyed, another's would go when that one is deleted.
bool IsViewerWindow(win::HWND Window) {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    TBrowserEnvelope* envelope = Envelope(slot);
    if (envelope && envelope->HandleAllocated() &&
        (Window == envelope->Handle() || win::IsChild(envelope->Handle(), Window)))
      return true;
  }
  return false;
}

TBrowserEnvelope& MakeEnvelope(int Slot, win::HWND Parent) {
  TBrowserEnvelope* envelope = Envelope(Slot);
  if (IsViewerWindow(Parent)) throw gui::Exception("The parent window belongs to a viewer");
  // Moving a viewer to another window remakes its windows: not while it works.
  if (envelope && envelope->ParentWindow() != Parent && EnvelopeBusy(*envelope))
    throw gui::Exception("The viewer is busy; it cannot move to another window now");
  if (!envelope) {
    envelope = new TBrowserEnvelope(nullptr);
    SetEnvelope(Slot, envelope);
  }
  envelope->SetParentWindow(Parent);
  return *envelope;
}

// Frees the envelope of a slot that was already emptied.
void FreeEnvelope(std::unique_ptr<TBrowserEnvelope> Owned) {
  Owned->Hide();
  Owned->SetParentWindow(0);
  Owned->FrameViewer->Clear();
  Owned->Close();
  gui::Application->ProcessMessages();
}

void LoadDocument(TBrowserEnvelope& Envelope, const char* FileName, const char* FontName, int FontSize) {
  if (!FileName || !*FileName) throw gui::Exception("No file name was given");
  if (TExportScope::Depth() > 1 && AnyEnvelopeBusy())
    throw gui::Exception("A document is being loaded; it cannot be replaced now");
  Envelope.Timer1->SetEnabled(true);
  viewer::TFrameViewer& frames = *Envelope.FrameViewer;
  if (FontName && *FontName) frames.SetDefFontName(FontName);
  frames.SetDefFontSize(FontSize);
  if (!frames.LoadFromFile(FileName)) throw gui::Exception("The viewer is busy; the document was not loaded");
  win::PostMessageW(frames.Handle(), win::WM_KEYDOWN, win::VK_HOME, 0);
}

}  // namespace

extern "C" {

PAGEWELL_API int _GetZelvoHTMLVersion(void) {
  EnsureLibraryStarted();
  Guarded("HTML Interface", 0, [] {
    gui::Application->Initialize();
    return 0;
  });
  return PAGEWELL_INTERFACE_VERSION;
}

PAGEWELL_API char* _GetVersionString(void) {
  EnsureLibraryStarted();
  return Guarded("GetVersionString", static_cast<char*>(nullptr), [] {
    TMyRCVersion version;
    version.SetModule(LibraryModule());
    return NewText("Pagewell.dll Version " + version.FileVersion());
  });
}

PAGEWELL_API PW_HWND _EmbedBrowser(PW_HWND parent, int slot) {
  EnsureLibraryStarted();
  if (slot < 0 || slot >= kSlotCount) return 0;
  TExportScope scope;
  return Guarded("EmbedBrowser", PW_HWND{0}, [&] {
    if (!win::IsWindow(parent)) throw gui::Exception("The parent window does not exist");
    TBrowserEnvelope& envelope = MakeEnvelope(slot, parent);
    gui::Application->ProcessMessages();
    win::RECT client{};
    win::GetClientRect(parent, &client);
    envelope.SetBounds(0, 0, client.right - client.left, client.bottom - client.top);
    envelope.SetColor(gui::clWindow);
    return envelope.Handle();
  });
}

// Refused while the viewer is busy or another exported call is under way:
// the caller may be running inside that viewer's own work.
PAGEWELL_API int _DeleteBrowser(PW_HWND envelope) {
  const int slot = GetEnvelopeIndex(envelope);
  if (slot < 0 || TExportScope::Depth() > 0) return -1;
  TExportScope scope;
  return Guarded("DeleteBrowser", -1, [&] {
    if (EnvelopeBusy(*Envelope(slot))) return -1;
    std::unique_ptr<TBrowserEnvelope> owned(Envelope(slot));
    SetEnvelope(slot, nullptr);  // before any message runs
    FreeEnvelope(std::move(owned));
    return slot;
  });
}

PAGEWELL_API int _BrowserShowHtml(PW_HWND envelope, const char* fileName, const char* fontName, int fontSize) {
  if (envelope == 0) return 0;
  const int slot = GetEnvelopeIndex(envelope);
  if (slot < 0) return 0;
  TExportScope scope;
  return Guarded("BrowserShowHtml", 0, [&] {
    // The load repaints the viewer, its frame, the frame set and the frame
    // viewer in turn: the window is painted once, when the show is complete.
    gui::UpdateBatch paints;
    TBrowserEnvelope& target = *Envelope(slot);
    LoadDocument(target, fileName, fontName, fontSize);
    if (slot == 0 && !target.Visible()) {
      target.Show();
      target.Repaint();
    }
    paints.Flush();
    return 1;
  });
}

PAGEWELL_API void _ReleaseMemory(void* text) {
  GuardedVoid("ReleaseMemory", [&] { delete[] static_cast<char*>(text); });
}

PAGEWELL_API int _GetLine(void) { return -1; }
PAGEWELL_API int _GetCursorPosition(void) { return 0; }
PAGEWELL_API int _SetCursorPosition(void) { return 0; }
PAGEWELL_API void _DeleteSelectedBlock(void) {}

PAGEWELL_API int _Print(PW_HWND envelope, int showDialog) {
  if (envelope == 0) return 0;
  TBrowserEnvelope* target = EnvelopeOf(envelope);
  if (!target) return 0;
  TExportScope scope;
  return Guarded("Print", 0, [&] {
    const std::string folder = CurrentFolder();
    viewer::THTMLViewer* view = GetEnvelopeViewer(*target, "part1");
    if (!view) return 0;
    if (showDialog && !target->PrintDialog->Execute()) return 1;
    // NOTE: pages that would go nowhere, or a page with no room for the
    // document, are failures: the host is told instead of getting 1.
    if (win::printerOutputFolder().empty())
      throw gui::Exception("No folder is set for printed pages; nothing was printed");
    const std::size_t jobsBefore = win::printedJobs().size();
    view->PrintPages(1, 9999);
    // Handlers run while printing may have moved elsewhere.
    if (!folder.empty()) win::SetCurrentDirectoryA(folder.c_str());
    const std::vector<win::PrintedJob>& jobs = win::printedJobs();
    for (std::size_t job = jobsBefore; job < jobs.size(); ++job) {
      if (jobs[job].writeFailed)
        throw gui::Exception("The printed pages could not be written to " + win::printerOutputFolder());
    }
    // A handler may have replaced the viewer: ask the one there now.
    view = GetEnvelopeViewer(*target, "part1");
    if (view && view->PrintFoundNoRoom())
      throw gui::Exception("The print margins leave no room on the paper; nothing was printed");
    return 1;
  });
}

// Negative margins count as none.
PAGEWELL_API int _SetMargin(PW_HWND envelope, int left, int right, int top, int bottom) {
  if (envelope == 0) return 0;
  TBrowserEnvelope* target = EnvelopeOf(envelope);
  if (!target) return 0;
  TExportScope scope;
  return Guarded("SetMargin", 0, [&] {
    viewer::TFrameViewer& frames = *target->FrameViewer;
    frames.PrintMarginLeft = TwipsToCm(std::max(0, left));
    frames.PrintMarginRight = TwipsToCm(std::max(0, right));
    frames.PrintMarginTop = TwipsToCm(std::max(0, top));
    frames.PrintMarginBottom = TwipsToCm(std::max(0, bottom));
    for (int index = 0; index < frames.GetViewerCount(); ++index) {
      viewer::THTMLViewer& view = *frames.GetViewer(index);
      view.PrintMarginLeft = frames.PrintMarginLeft;
      view.PrintMarginRight = frames.PrintMarginRight;
      view.PrintMarginTop = frames.PrintMarginTop;
      view.PrintMarginBottom = frames.PrintMarginBottom;
    }
    return 1;
  });
}

PAGEWELL_API intptr_t _SetImageCallback(ImageCallback callback) {
  SetCurrentImageCallback(callback);
  return reinterpret_cast<intptr_t>(callback);
}

}  // extern "C"
