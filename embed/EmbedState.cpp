#include "embed/EmbedState.h"

#include <array>

#include "embed/ExportGuard.h"
#include "embed/TBrowserEnvelope.h"

namespace embed {
namespace {

std::array<TBrowserEnvelope*, kSlotCount> envelopes{};
ImageCallback imageCallback = nullptr;

}  // namespace

TBrowserEnvelope* Envelope(int Slot) {
  return Slot >= 0 && Slot < kSlotCount ? envelopes[static_cast<std::size_t>(Slot)] : nullptr;
}

void SetEnvelope(int Slot, TBrowserEnvelope* Envelope) {
  if (Slot >= 0 && Slot < kSlotCount) envelopes[static_cast<std::size_t>(Slot)] = Envelope;
}

int GetEnvelopeIndex(win::HWND Handle) {
  try {
    for (int slot = 0; slot < kSlotCount; ++slot) {
      TBrowserEnvelope* envelope = envelopes[static_cast<std::size_t>(slot)];
      if (envelope && envelope->HandleAllocated() && envelope->Handle() == Handle) return slot;
    }
  } catch (...) {
    ReportError("GetEnvelopeIndex", std::current_exception());
  }
  return -1;
}

viewer::THTMLViewer* GetEnvelopeViewer(TBrowserEnvelope& Envelope, const std::string& FrameName) {
  if (viewer::THTMLViewer* named = Envelope.FrameViewer->FrameViewerByName(FrameName)) return named;
  return Envelope.FrameViewer->GetActiveViewer();
}

bool EnvelopeBusy(TBrowserEnvelope& Envelope) {
  viewer::TFrameViewer& frames = *Envelope.FrameViewer;
  if (frames.IsBusy()) return true;
  for (int index = 0; index < frames.GetViewerCount(); ++index)
    if (frames.GetViewer(index)->Busy()) return true;
  return false;
}

bool AnyEnvelopeBusy() {
  for (TBrowserEnvelope* envelope : envelopes)
    if (envelope && EnvelopeBusy(*envelope)) return true;
  return false;
}

ImageCallback CurrentImageCallback() { return imageCallback; }
void SetCurrentImageCallback(ImageCallback Callback) { imageCallback = Callback; }

}  // namespace embed
