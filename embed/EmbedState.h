#pragma once
// The library's state behind the exported functions: the two envelope slots,
// the host's image callback and the library's own module.
#include <string>

#include "embed/include/pagewell.h"
#include "platform/win/Types.h"

namespace viewer {
class THTMLViewer;
}

namespace embed {

class TBrowserEnvelope;

constexpr int kSlotCount = 2;

// The envelope in a slot (0 or 1), or nullptr.
TBrowserEnvelope* Envelope(int Slot);
void SetEnvelope(int Slot, TBrowserEnvelope* Envelope);
// The slot whose envelope's window is Handle, tried 0 then 1; -1 when none.
int GetEnvelopeIndex(win::HWND Handle);
// The viewer of the named frame, else the frame viewer's active viewer; nullptr when neither exists.
viewer::THTMLViewer* GetEnvelopeViewer(TBrowserEnvelope& Envelope, const std::string& FrameName);
// True while an envelope's frame viewer or one of its viewers is loading, laying out or printing.
bool EnvelopeBusy(TBrowserEnvelope& Envelope);
bool AnyEnvelopeBusy();

ImageCallback CurrentImageCallback();
void SetCurrentImageCallback(ImageCallback Callback);

// Starts the engine once (the shared library does it when it loads; a
// program linking the folder's code does it at its first exported call) and
// registers the library's version block.
void EnsureLibraryStarted();
// The library's module, as the loader names it.
win::HMODULE LibraryModule();

}  // namespace embed
