// A frame loading another document itself (a link aimed at it, its META
// refresh), the frame's own history, and its refresh timer.
#include <algorithm>
#include <exception>
#include <set>

#include "engine/html/FramesetReader.h"
#include "platform/gui/AnsiText.h"
#include "platform/gui/FileFunctions.h"
#include "platform/gui/TTimer.h"
#include "viewer/TFrameSet.h"
#include "viewer/TFrameViewer.h"
#include "viewer/THTMLViewer.h"
#include "viewer/TSubFrameSet.h"
#include "viewer/TfvFrame.h"

namespace viewer {
namespace {

// One counter for the entries of every frame's history.
int nextSequenceNumber = 0;

// Entries a frame keeps: a page that refreshes to another and back would
// otherwise grow its frame's history, and the sets it names, without end.
constexpr int kMaxFrameHistory = 64;

}  // namespace

void DetachFrameTree(TFrameBase* Node) {
  if (auto* frame = dynamic_cast<TfvFrame*>(Node)) {
    frame->DetachFromMaster();
    if (frame->NestedSet()) DetachFrameTree(frame->NestedSet());
  } else if (auto* set = dynamic_cast<TSubFrameSet*>(Node)) {
    for (int i = 0; i < set->ChildCount(); ++i) DetachFrameTree(set->Child(i));
  }
}

void TfvFrame::NavigateFrame(const std::string& Url, const std::string& Dest, bool Reload, bool RecordHistory) {
  StopRefreshTimer();
  const std::string old = Source;
  const std::string next = Url.empty() ? old : Url;
  Source = next;
  try {
    if (gui::AnsiCompareText(next, old) == 0) {
      NavigateToSame(Url, Dest, Reload, RecordHistory);
    } else {
      NavigateToOther(Url, next, Dest, RecordHistory);
    }
  } catch (...) {
    Source = old;
    throw;
  }
}

void TfvFrame::NavigateToOther(const std::string& Url, const std::string& New, const std::string& Dest,
                               bool RecordHistory) {
  TFrameSet& master = *masterSet_;
  const bool requests = master.HasRequestEvents();
  const bool imageOrText = !requests && (IsImageFileName(New) || IsTextFileName(New));
  TDocRequest request;
  const bool answered = !imageOrText && master.RequestDocument(New, request);
  const std::string fileName = answered && !request.FileName.empty() ? request.FileName : New;
  bool frameset = false;
  if (!imageOrText) {
    try {
      frameset = engine::IsFramesetSource(answered && request.FromString, fileName, request.Text);
    } catch (const std::exception&) {
      throw EfvLoadError("Can't load: " + New);
    }
  }
  if (!viewer_ || frameset) {
    ReplaceContent(Url, fileName, Dest, answered ? &request : nullptr);
  } else {
    LoadInPlace(Url, New, fileName, Dest, RecordHistory, answered ? &request : nullptr);
  }
}

// The frame gets a new viewer or a new nested set; what it held before is
// unlinked at once and freed after the current message (a click on the old
// viewer may be what is being handled).
void TfvFrame::ReplaceContent(const std::string& Url, const std::string& FileName, const std::string& Dest,
                              const TDocRequest* Request) {
  TFrameSet& master = *masterSet_;
  TFrameViewer& fv = master.FrameViewer();
  THTMLViewer* oldViewer = viewer_;
  TSubFrameSet* oldSet = nestedSet_;
  const int oldPosition = oldViewer ? oldViewer->VerticalPosition() : 0;
  std::unique_ptr<TFormData> oldFormData = oldViewer ? oldViewer->GetFormData() : nullptr;
  viewer_ = nullptr;
  nestedSet_ = nullptr;
  if (oldSet) {
    DetachFrameTree(oldSet);
    oldSet->UnloadContent();
    oldSet->Hide();
  }
  if (oldViewer) {
    master.RemoveViewer(oldViewer);
    oldViewer->Clear();  // its images go back to the shared cache now
    fv.ReleaseLater(oldViewer);
  }
  Destination = Dest;
  SetBevelOuter(master.BorderSize() != 0 ? gui::bvLowered : gui::bvNone);
  if (master.BorderSize() != 0) SetBevelWidth(master.BorderSize());
  LoadDocument(Request, TLoadFailure::ShowErrorPage);
  if (nestedSet_) {
    fv.AddVisited(FileName);
    if (oldViewer) PushHistory(Url, 0, oldPosition, std::move(oldFormData));
    else PushHistory(FileName, 0, 0, nullptr);
    master.FrameSetResized(true);
  } else {
    fv.AddVisited(FileName + Dest);
    PushHistory(Url, viewer_ ? viewer_->VerticalPosition() : 0, 0, nullptr);
  }
  if (oldSet) ReleaseSetIfUnlisted(oldSet);
  Repaint();
}

void TfvFrame::LoadInPlace(const std::string& Url, const std::string& New, const std::string& FileName,
                           const std::string& Dest, bool RecordHistory, const TDocRequest* Request) {
  TFrameSet& master = *masterSet_;
  TFrameViewer& fv = master.FrameViewer();
  THTMLViewer& viewer = *viewer_;
  const int oldPosition = viewer.VerticalPosition();
  const std::u16string oldTitle = viewer.TitleText();
  const std::string oldName = viewer.ShownFileName();
  std::unique_ptr<TFormData> formData = viewer.GetFormData();
  Destination = Dest;
  const bool requests = master.HasRequestEvents();
  if (!requests && IsImageFileName(New)) {
    viewer.OpenImageFile(New);
  } else if (!requests && IsTextFileName(New)) {
    viewer.OpenTextFile(New + Dest);
  } else {
    viewer.SetBaseHref(master.BaseUrl);
    if (Request && Request->FromString) {
      viewer.LoadSourceString(Request->Text, New);
      if (Dest.size() > 1) viewer.ScrollToAnchor(Dest.substr(1));
    } else {
      viewer.OpenHtmlFile(FileName + Dest);
    }
  }
  fv.AddVisited(FileName + Dest);
  const bool single = master.Viewers().size() == 1;
  if (!single && RecordHistory) PushHistory(Url, viewer.VerticalPosition(), oldPosition, std::move(formData));
  if (single && RecordHistory) {
    // A single-frame document: the step goes into the frame viewer's history.
    master.DocumentName = viewer.ShownFileName();
    master.Title = viewer.TitleText();
    master.BaseUrl = viewer.BaseHref();
    master.BaseTarget = viewer.BaseTargetName();
    fv.PushSingleFrameHistory(oldName, oldTitle, oldPosition);
  }
}

void TfvFrame::NavigateToSame(const std::string& Url, const std::string& Dest, bool Reload, bool RecordHistory) {
  TFrameViewer& fv = masterSet_->FrameViewer();
  if (viewer_) {
    const int oldPosition = viewer_->VerticalPosition();
    if (Reload) {
      // A document the host supplied is asked for again, not opened as a file.
      TDocRequest request;
      const bool requests = masterSet_->HasRequestEvents();
      if (requests && masterSet_->RequestDocument(Source, request) && request.FromString) {
        viewer_->LoadSourceString(request.Text, Source);
      } else {
        viewer_->OpenHtmlFile((request.FileName.empty() ? Source : request.FileName) + Dest);
      }
      viewer_->SetVerticalPosition(oldPosition);
    } else {
      viewer_->ScrollToAnchor(Dest);
      if (RecordHistory && viewer_->VerticalPosition() != oldPosition) {
        PushHistory(Url, viewer_->VerticalPosition(), oldPosition, nullptr);
      }
    }
    fv.AddVisited(Source + Dest);
    return;
  }
  if (!nestedSet_) return;
  // A nested frameset shown again: every child frame back to its first document.
  std::vector<TfvFrame*> children;
  for (int i = 0; i < nestedSet_->ChildCount(); ++i) {
    if (auto* child = dynamic_cast<TfvFrame*>(nestedSet_->Child(i))) children.push_back(child);
  }
  for (TfvFrame* child : children) {
    if (gui::AnsiCompareText(child->Source, child->InitialSource) != 0) {
      child->NavigateFrame(child->InitialSource, "", false, true);
    }
  }
}

TSubFrameSet* TfvFrame::HistorySet(int Index) const {
  return static_cast<TSubFrameSet*>(historyNames_.Objects(Index));
}

void TfvFrame::StartHistory(const std::string& Name, int Position) {
  historyIndex_ = 0;
  historyNames_.InsertObject(0, Name, nestedSet_);
  auto entry = std::make_unique<PositionObj>();
  entry->Pos = Position;
  entry->SequenceNo = nextSequenceNumber++;
  historyPositions_.insert(historyPositions_.begin(), std::move(entry));
  while (historyNames_.Count() > kMaxFrameHistory) {
    const int last = historyNames_.Count() - 1;
    TSubFrameSet* set = HistorySet(last);
    historyNames_.Delete(last);
    historyPositions_.pop_back();
    ReleaseSetIfUnlisted(set);
  }
  masterSet_->AddHistoryFrame(this);
  TFrameViewer& fv = masterSet_->FrameViewer();
  if (fv.OnHistoryChange) fv.OnHistoryChange(&fv);
}

// FormData is kept by the entry being left, or freed here.
void TfvFrame::PushHistory(const std::string& NewName, int NewPosition, int OldPosition,
                           std::unique_ptr<TFormData> FormData) {
  if (historyNames_.Count() > 0) {
    PositionObj& entry = *historyPositions_[static_cast<std::size_t>(historyIndex_)];
    entry.Pos = OldPosition;
    if (gui::AnsiCompareText(historyNames_.Strings(historyIndex_), NewName) != 0) {
      entry.FormData = std::move(FormData);  // the form data it held before goes
    }
  }
  masterSet_->TrimFrameHistories();
  StartHistory(NewName, NewPosition);
}

void TfvFrame::TrimHistory() {
  std::set<TSubFrameSet*> dropped;
  while (historyIndex_ > 0 && historyNames_.Count() > 0) {
    if (TSubFrameSet* set = HistorySet(0)) dropped.insert(set);
    historyNames_.Delete(0);
    historyPositions_.erase(historyPositions_.begin());
    --historyIndex_;
  }
  historyIndex_ = 0;
  for (TSubFrameSet* set : dropped) ReleaseSetIfUnlisted(set);
}

bool TfvFrame::ClearFrameHistory() {
  const bool had = historyNames_.Count() > 0;
  std::set<TSubFrameSet*> sets;
  for (int i = 0; i < historyNames_.Count(); ++i) {
    if (TSubFrameSet* set = HistorySet(i)) sets.insert(set);
  }
  historyNames_.Clear();
  historyPositions_.clear();
  historyIndex_ = 0;
  for (TSubFrameSet* set : sets) ReleaseSetIfUnlisted(set);
  return had;
}

// A nested set that is neither shown nor named by an entry is freed, once.
void TfvFrame::ReleaseSetIfUnlisted(TSubFrameSet* Set) {
  if (!Set || Set == nestedSet_) return;
  for (int i = 0; i < historyNames_.Count(); ++i) {
    if (HistorySet(i) == Set) return;
  }
  masterSet_->FrameViewer().ReleaseLater(Set);
}

void TfvFrame::DetachFromMaster() {
  if (detached_) return;
  StopRefreshTimer();
  masterSet_->UnregisterFrame(this);
  masterSet_->RemoveHistoryFrame(this);
  if (viewer_) masterSet_->RemoveViewer(viewer_);
  detached_ = true;
}

void TfvFrame::MetaRefreshRequest(gui::TObject*, int Delay, const std::string& URL) {
  TFrameViewer& fv = masterSet_->FrameViewer();
  if (!(fv.fvOptions() & fvMetaRefresh) || detached_) return;
  refreshName_ = URL.empty() ? Source : fv.ExpandDocumentName(URL);
  if (!gui::FileExists(refreshName_) && !masterSet_->HasRequestEvents()) return;
  if (!refreshTimer_) {
    refreshTimer_ = new gui::TTimer(this);
    refreshTimer_->SetEnabled(false);
    refreshTimer_->OnTimer = [this](gui::TObject*) { RefreshTimerTick(); };
  }
  refreshTimer_->SetInterval(RefreshInterval(Delay));
  refreshTimer_->SetEnabled(true);
}

void TfvFrame::RefreshTimerTick() {
  StopRefreshTimer();
  if (unloaded_ || detached_) return;
  TFrameViewer& fv = masterSet_->FrameViewer();
  if (fv.IsBusy()) {
    refreshTimer_->SetEnabled(true);  // tried again after the delay
    return;
  }
  if (masterSet_->Viewers().size() != 1) {
    NavigateFrame(refreshName_, "", true, true);
  } else if (gui::AnsiCompareText(refreshName_, masterSet_->DocumentName) != 0) {
    fv.OpenDocument(refreshName_);
  } else {
    fv.Reload();
  }
}

bool TfvFrame::RefreshPending() const { return refreshTimer_ && refreshTimer_->Enabled(); }

void TfvFrame::StopRefreshTimer() {
  if (refreshTimer_) refreshTimer_->SetEnabled(false);
}

}  // namespace viewer
