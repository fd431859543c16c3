#pragma once
// TBrowserEnvelope: the borderless form the library places inside a host
// window for each viewer slot. It holds one frame viewer filling it, a 10 ms
// timer, the handler of errors that reach the message loop and a print
// dialog, and turns the frame viewer's events into what the host sees:
// posted messages for link clicks and hovering, mouse messages in envelope
// coordinates, and the image callback.
#include <memory>
#include <string>

#include "platform/gui/TApplication.h"
#include "platform/gui/TCustomForm.h"
#include "platform/gui/TPrintDialog.h"
#include "platform/gui/TTimer.h"
#include "viewer/TFrameViewer.h"

namespace gui {
class TMemoryStream;
}

namespace embed {

class TBrowserEnvelope : public gui::TForm {
 public:
  explicit TBrowserEnvelope(gui::TComponent* AOwner);
  ~TBrowserEnvelope() override;

  // The components of the form, owned by it.
  viewer::TFrameViewer* FrameViewer = nullptr;
  gui::TTimer* Timer1 = nullptr;
  gui::TApplicationEvents* ApplicationEvents1 = nullptr;
  gui::TPrintDialog* PrintDialog = nullptr;

  void Timer1Timer(gui::TObject* Sender);
  void FrameViewerHotSpotTargetClick(gui::TObject* Sender, const std::string& Target, const std::string& URL,
                                     bool& Handled);
  void FrameViewerHotSpotTargetCovered(gui::TObject* Sender, const std::string& Target, const std::string& URL);
  void FrameViewerMouseUp(gui::TObject* Sender, gui::TMouseButton Button, gui::TShiftState Shift, int X, int Y);
  void FrameViewerMouseMove(gui::TObject* Sender, gui::TShiftState Shift, int X, int Y);
  void ApplicationEvents1Exception(gui::TObject* Sender, const gui::Exception& E);
  void FrameViewerImageRequest(gui::TObject* Sender, const std::string& SRC, gui::TMemoryStream*& Stream);

  // Takes (X, Y) from Sender's client coordinates to the envelope window's.
  void ViewerToEnvelopePoint(gui::TObject* Sender, int& X, int& Y);

 private:
  void ApplyResourceSettings();
  void BindHandlers();

  std::unique_ptr<gui::TMemoryStream> imageStream_;
};

}  // namespace embed
