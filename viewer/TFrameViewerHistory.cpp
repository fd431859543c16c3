// The frame viewer's history of whole documents. Each entry names the frame
// set that showed it; a set named by several entries is freed once, when no
// entry names it and it is not the current set.
#include <set>

#include "viewer/TFrameSet.h"
#include "viewer/TFrameViewer.h"
#include "viewer/THTMLViewer.h"
#include "viewer/TfvFrame.h"

namespace viewer {

TFrameSet* TFrameViewer::HistorySet(int Index) const { return static_cast<TFrameSet*>(history_.Objects(Index)); }

void TFrameViewer::SetHistoryEntry(int Index, const std::string& Name, TFrameSet* Set, const std::u16string& Title,
                                   int Position) {
  history_.Put(Index, Name);
  history_.PutObject(Index, Set);
  historyTitles_[static_cast<std::size_t>(Index)] = Title;
  historyPositions_[static_cast<std::size_t>(Index)] = Position;
}

void TFrameViewer::PushHistory(TFrameSet* OldSet, int OldPosition) {
  if (historyMaxCount_ <= 0 || currentSet_->DocumentName.empty()) {
    FreeUnlistedFrameSet(OldSet);
    return;
  }
  if (history_.Count() > 0) {
    TFrameSet* replaced = HistorySet(historyIndex_);
    SetHistoryEntry(historyIndex_, OldSet->DocumentName, OldSet, OldSet->Title, OldPosition);
    OldSet->TrimFrameHistories();
    FreeUnlistedFrameSet(replaced);
  } else {
    FreeUnlistedFrameSet(OldSet);
  }
  FinishHistoryPush();
}

void TFrameViewer::PushReloadHistory(int OldPosition) {
  if (historyMaxCount_ <= 0 || currentSet_->DocumentName.empty()) return;
  if (history_.Count() > 0) {
    TFrameSet* replaced = HistorySet(historyIndex_);
    SetHistoryEntry(historyIndex_, currentSet_->DocumentName, currentSet_, currentSet_->Title, OldPosition);
    FreeUnlistedFrameSet(replaced);
  }
  FinishHistoryPush();
}

void TFrameViewer::PushSingleFrameHistory(const std::string& OldName, const std::u16string& OldTitle,
                                          int OldPosition) {
  if (historyMaxCount_ <= 0 || OldName.empty()) return;
  if (history_.Count() > 0) {
    TFrameSet* replaced = HistorySet(historyIndex_);
    SetHistoryEntry(historyIndex_, OldName, currentSet_, OldTitle, OldPosition);
    FreeUnlistedFrameSet(replaced);
  }
  FinishHistoryPush();
}

// Later entries go, the current document is put first, the oldest beyond
// HistoryMaxCount goes.
void TFrameViewer::FinishHistoryPush() {
  while (historyIndex_ > 0 && history_.Count() > 0) {
    TFrameSet* set = HistorySet(0);
    history_.Delete(0);
    historyTitles_.erase(historyTitles_.begin());
    historyPositions_.erase(historyPositions_.begin());
    --historyIndex_;
    FreeUnlistedFrameSet(set);
  }
  historyIndex_ = 0;
  history_.InsertObject(0, currentSet_->DocumentName, currentSet_);
  historyTitles_.insert(historyTitles_.begin(), currentSet_->Title);
  historyPositions_.insert(historyPositions_.begin(), 0);
  if (history_.Count() > historyMaxCount_) {
    const int last = historyMaxCount_;
    TFrameSet* set = HistorySet(last);
    history_.Delete(last);
    historyTitles_.erase(historyTitles_.begin() + last);
    historyPositions_.erase(historyPositions_.begin() + last);
    FreeUnlistedFrameSet(set);
  }
  if (OnHistoryChange) OnHistoryChange(this);
}

// A set leaves once no entry names it; it may hold the viewer whose click
// is being handled, so it is freed after the current message.
void TFrameViewer::FreeUnlistedFrameSet(TFrameSet* Set) {
  if (!Set || Set == currentSet_) return;
  for (int i = 0; i < history_.Count(); ++i) {
    if (HistorySet(i) == Set) return;
  }
  ReleaseLater(Set);
}

void TFrameViewer::ClearHistory() {
  bool had = history_.Count() > 0;
  FreeHistorySets();
  const std::vector<TfvFrame*> frames = currentSet_->HistoryFrames();
  for (TfvFrame* frame : frames) had = frame->ClearFrameHistory() || had;
  if (had && OnHistoryChange) OnHistoryChange(this);
}

// At the end of the frame viewer's life and in Clear: every set the history
// names besides the current one, once each.
void TFrameViewer::FreeHistorySets() {
  std::set<TFrameSet*> sets;
  for (int i = 0; i < history_.Count(); ++i) {
    if (TFrameSet* set = HistorySet(i); set && set != currentSet_) sets.insert(set);
  }
  history_.Clear();
  historyTitles_.clear();
  historyPositions_.clear();
  historyIndex_ = 0;
  for (TFrameSet* set : sets) ReleaseLater(set);
}

bool TFrameViewer::FwdButtonEnabled() const {
  if (historyIndex_ > 0) return true;
  for (TfvFrame* frame : currentSet_->HistoryFrames()) {
    if (frame->HistoryIndex() > 0) return true;
  }
  return false;
}

bool TFrameViewer::BackButtonEnabled() const {
  if (historyIndex_ <= history_.Count() - 2) return true;
  for (TfvFrame* frame : currentSet_->HistoryFrames()) {
    if (frame->HistoryIndex() <= frame->HistoryCount() - 2) return true;
  }
  return false;
}

}  // namespace viewer
