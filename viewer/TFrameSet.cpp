#include "viewer/TFrameSet.h"

#include <algorithm>

#include "engine/common/TextHelpers.h"
#include "engine/html/Charsets.h"
#include "engine/html/FramesetReader.h"
#include "platform/gui/AnsiText.h"
#include "platform/gui/FileNames.h"
#include "platform/gui/TStream.h"
#include "platform/gui/TStringList.h"
#include "viewer/TFrameViewer.h"
#include "viewer/THTMLViewer.h"
#include "viewer/TfvFrame.h"

namespace viewer {
TFrameSet::TFrameSet(TFrameViewer* FrameViewer) : TSubFrameSet(FrameViewer, this), frameViewer_(FrameViewer) {
  localCharSet_ = FrameViewer->CharSet();
  borderSize_ = (FrameViewer->fvOptions() & fvNoBorder) ? 0 : 2;
  SetBevelOuter(gui::bvNone);
}

TFrameSet::~TFrameSet() { ClearFrames(); }

bool TFrameSet::HasRequestEvents() const {
  const TFrameViewer& fv = *frameViewer_;
  return fv.OnStringsRequest || fv.OnStreamRequest || fv.OnBufferRequest || fv.OnFileRequest;
}

bool TFrameSet::RequestDocument(const std::string& Name, TDocRequest& Request) {
  TFrameViewer& fv = *frameViewer_;
  Request.FromString = false;
  Request.Text.clear();
  if (fv.OnStringsRequest) {
    gui::TStrings* strings = nullptr;
    fv.OnStringsRequest(this, Name, strings);
    if (!strings) return false;
    Request.FromString = true;
    Request.Text = strings->Text();
    return true;
  }
  if (fv.OnStreamRequest) {
    gui::TStream* stream = nullptr;
    fv.OnStreamRequest(this, Name, stream);
    if (!stream) return false;
    gui::TMemoryStream copy;
    copy.LoadFromStream(*stream);
    Request.FromString = true;
    Request.Text.assign(reinterpret_cast<const char*>(copy.Memory()), static_cast<std::size_t>(copy.Size()));
    return true;
  }
  if (fv.OnBufferRequest) {
    const char* buffer = nullptr;
    int size = 0;
    fv.OnBufferRequest(this, Name, buffer, size);
    if (!buffer || size <= 0) return false;
    Request.FromString = true;
    Request.Text.assign(buffer, static_cast<std::size_t>(size));
    return true;
  }
  if (fv.OnFileRequest) {
    std::string newName;
    fv.OnFileRequest(this, Name, newName);
    if (newName.empty()) return false;
    gui::TMemoryStream file;
    file.LoadFromFile(newName, gui::TFileKind::Page);
    Request.FileName = newName;
    Request.Text.assign(reinterpret_cast<const char*>(file.Memory()), static_cast<std::size_t>(file.Size()));
    return true;
  }
  return false;
}

void TFrameSet::LoadDocument(const std::string& Name, const std::string& Dest, TLoadFailure OnFailure) {
  ReleaseFrames();
  NestingDepth = 0;
  FramesMade = 0;
  const bool imageOrText = !HasRequestEvents() && (IsImageFileName(Name) || IsTextFileName(Name));
  TDocRequest request;
  const bool answered = !imageOrText && RequestDocument(Name, request);
  if (answered) {
    DocumentName = Name;
  } else {
    request.FileName = gui::ExpandFileName(Name);
    DocumentName = request.FileName;
  }
  if (!imageOrText && engine::IsFramesetSource(request.FromString, request.FileName, request.Text)) {
    const engine::TDocumentHead head = engine::ParseFramesetSource(
        *frameViewer_, this, request.FromString, frameViewer_->FrameSetMetaHandler(this), request.FileName,
        request.Text);
    Title = head.Title;
    TSubFrameSet::LoadContent(nullptr);
    FrameSetResized(true);
    bool first = false, last = false;
    GetNoResize(first, last);
    if (RefreshDelay > 0) StartRefreshTimer();
    return;
  }
  TfvFrame* frame = AddFrame(nullptr, "");
  if (!frame) return;
  frame->Source = (imageOrText || !HasRequestEvents()) ? request.FileName : Name;
  frame->Destination = Dest;
  InitializeSizes();
  FrameSetResized(true);
  frame->LoadContent(answered ? &request : nullptr, OnFailure, imageOrText ? nullptr : &request);
  if (THTMLViewer* viewer = frame->Viewer()) {
    Title = viewer->TitleText();
    BaseTarget = viewer->BaseTargetName();
  }
}

void TFrameSet::InitializeSizes() {
  TSubFrameSet::InitializeSizes();
  if (Title.empty()) Title = engine::buildState.Head.Title;
}

void TFrameSet::ClearFrames() {
  if (DragSet) DragSet->CancelDrag();
  TSubFrameSet::ClearFrames();
  frameNames_.clear();
  std::vector<THTMLViewer*>().swap(viewers_);
  std::vector<TfvFrame*>().swap(historyFrames_);
  activeViewer_ = nullptr;
  std::string().swap(DocumentName);
  decltype(Title)().swap(Title);
  lastWidth_ = lastHeight_ = 0;
}

void TFrameSet::ReleaseFrames() {
  std::vector<TFrameBase*> frames;
  frames.swap(children_);
  for (TFrameBase* frame : frames) {
    DetachFrameTree(frame);
    frame->UnloadContent();  // images go back to the shared cache now
    frameViewer_->ReleaseLater(frame);
  }
  ClearFrames();
}

void TFrameSet::FrameSetResized(bool Force) {
  const win::RECT client = ClientRect();
  const int width = std::max(0, client.right - client.left - 2 * inset_);
  const int height = std::max(0, client.bottom - client.top - 2 * inset_);
  if (Force || width != lastWidth_ || height != lastHeight_) {
    ComputeFrameSizes(client.left + inset_, client.top + inset_, width, height);
    PlaceChildFrames();
  }
  lastWidth_ = width;
  lastHeight_ = height;
}

void TFrameSet::Resize() {
  TFrameBase::Resize();
  FrameSetResized();
}

void TFrameSet::RegisterFrameName(const std::string& Name, TfvFrame* Frame) {
  if (!Name.empty()) frameNames_.emplace(engine::LowerCase(Name), Frame);  // the first frame keeps a name
}

void TFrameSet::UnregisterFrame(TfvFrame* Frame) {
  for (auto entry = frameNames_.begin(); entry != frameNames_.end();) {
    entry = entry->second == Frame ? frameNames_.erase(entry) : std::next(entry);
  }
}

TfvFrame* TFrameSet::FrameByName(const std::string& Name) const {
  const auto found = frameNames_.find(engine::LowerCase(Name));
  return found == frameNames_.end() ? nullptr : found->second;
}

void TFrameSet::RemoveViewer(THTMLViewer* Viewer) {
  viewers_.erase(std::remove(viewers_.begin(), viewers_.end(), Viewer), viewers_.end());
  if (activeViewer_ == Viewer) activeViewer_ = nullptr;
}

void TFrameSet::ViewerEntered(gui::TObject* Sender) {
  if (auto* viewer = dynamic_cast<THTMLViewer*>(Sender)) activeViewer_ = viewer;
}

void TFrameSet::AddHistoryFrame(TfvFrame* Frame) {
  if (std::find(historyFrames_.begin(), historyFrames_.end(), Frame) == historyFrames_.end()) {
    historyFrames_.push_back(Frame);
  }
}

void TFrameSet::RemoveHistoryFrame(TfvFrame* Frame) {
  historyFrames_.erase(std::remove(historyFrames_.begin(), historyFrames_.end(), Frame), historyFrames_.end());
}

void TFrameSet::TrimFrameHistories() {
  for (TfvFrame* frame : historyFrames_) frame->TrimHistory();
}

THTMLViewer* TFrameSet::GetActiveViewer() const {
  return viewers_.size() == 1 ? viewers_.front() : activeViewer_;
}

}  // namespace viewer
