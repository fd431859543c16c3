// The host's events that the document root fires: image requests are written
// through into the root; the parser asks the stream request itself.
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

gui::TStream* THTMLViewer::StreamRequest(const std::string& Url) {
  gui::TStream* stream = nullptr;
  if (OnhtStreamRequest) OnhtStreamRequest(this, Url, stream);
  return stream;
}

}  // namespace viewer
