// The host's events that the document root fires: image requests and form
// control events are written through into the root; the parser asks the
// stream request itself.
#include "engine/document/TSectionList.h"
#include "viewer/THTMLViewer.h"

namespace viewer {

void THTMLViewer::BindBitmapRequest(const TGetBitmapEvent& Handler) {
  if (!Handler) {
    root_->OnBitmapRequest = nullptr;
    return;
  }
  root_->OnBitmapRequest = [this, Handler](const std::string& src, std::unique_ptr<gui::TBitmap>& bitmap,
                                           gui::TColor& color) { Handler(this, src, bitmap, color); };
}

void THTMLViewer::BindImageRequest(const TGetImageEvent& Handler) {
  if (!Handler) {
    root_->OnImageRequest = nullptr;
    return;
  }
  root_->OnImageRequest = [this, Handler](const std::string& src, gui::TMemoryStream*& stream) {
    Handler(this, src, stream);
  };
}

void THTMLViewer::BindObjectEvent(const ThtObjectEvent& Handler, ObjectEventKind Kind) {
  std::function<void(engine::TFormControlObj*, const std::string&)> relay;
  if (Handler)
    relay = [this, Handler](engine::TFormControlObj* control, const std::string& script) {
      Handler(this, control, script);
    };
  switch (Kind) {
    case ObjectEventKind::Click: root_->OnObjectClick = relay; break;
    case ObjectEventKind::Focus: root_->OnObjectFocus = relay; break;
    case ObjectEventKind::Blur: root_->OnObjectBlur = relay; break;
    case ObjectEventKind::Change: root_->OnObjectChange = relay; break;
  }
}

void THTMLViewer::BindFileBrowse(const TFileBrowseEvent& Handler) {
  if (!Handler) {
    root_->OnFileBrowse = nullptr;
    return;
  }
  root_->OnFileBrowse = [this, Handler](engine::TFormControlObj* control, std::string& fileName) {
    Handler(this, control, fileName);
  };
}

bool THTMLViewer::LoadRefused() const { return busy_ || root_->ControlEventDepth > 0; }

void THTMLViewer::Repaint() {
  gui::TWinControl::Repaint();
  paintPanel_->Repaint();
}

gui::TStream* THTMLViewer::StreamRequest(const std::string& Url) {
  gui::TStream* stream = nullptr;
  if (OnhtStreamRequest) OnhtStreamRequest(this, Url, stream);
  return stream;
}

}  // namespace viewer
