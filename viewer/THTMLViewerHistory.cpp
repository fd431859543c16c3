// The bookkeeping around loads: the history of documents with their places,
// kinds, titles and form values; the visited list that colours links; the
// META refresh a document asks for; and form submissions handed to the host
// from the message loop.
#include <algorithm>
#include <unordered_set>

#include "engine/document/TSectionList.h"
#include "engine/common/TextHelpers.h"
#include "engine/objects/DocumentFormData.h"
#include "engine/text/TFontObj.h"
#include "platform/gui/AnsiText.h"
#include "platform/gui/StringFunctions.h"
#include "platform/gui/UserCalls.h"
#include "viewer/THTMLViewer.h"

namespace viewer {
void THTMLViewer::OpenHtmlFile(const std::string& FileName) { LoadWithHistory(FileName, kHtmlKind); }

void THTMLViewer::OpenTextFile(const std::string& FileName) { LoadWithHistory(FileName, kTextKind); }

void THTMLViewer::OpenImageFile(const std::string& FileName) { LoadWithHistory(FileName, kImageKind); }

// A load that records the document it replaces.
void THTMLViewer::LoadWithHistory(const std::string& FileName, int Kind) {
  if (LoadRefused() || FileName.empty()) return;
  const std::string oldName = shownFileName_;
  const std::u16string oldTitle = titleText_;
  const std::int64_t oldPosition = GetSavedPosition();
  const int oldKind = sourceKind_;
  std::unique_ptr<TFormData> formData = GetFormData();
  LoadFileOfType(FileName, Kind);  // on an error the form data is freed with it
  if (shownFileName_ != oldName || sourceKind_ != oldKind) {
    AddToHistory(oldName, oldTitle, oldKind, std::move(formData), oldPosition);
  }
}

void THTMLViewer::AddToHistory(const std::string& OldName, const std::u16string& OldTitle, int OldKind,
                               std::unique_ptr<TFormData> FormData, std::int64_t OldPosition) {
  const bool changed = OldName != shownFileName_;
  const std::int64_t position = GetSavedPosition();
  if (historyMaxCount_ < 1 || shownFileName_.empty() ||
      (!changed && OldKind == sourceKind_ && OldPosition == position)) {
    return;
  }
  if (history_.Count() > 0 && !OldName.empty()) {
    const auto index = static_cast<std::size_t>(historyIndex_);
    history_.Put(historyIndex_, OldName);
    PositionObj& entry = *historyPositions_[index];
    entry.SavedPosition = OldPosition;
    entry.SavedKind = OldKind;
    historyTitles_[index] = OldTitle;
    if (changed) entry.SavedFormData = std::move(FormData);  // any older values go
    while (historyIndex_ > 0) {
      history_.Delete(0);
      historyPositions_.erase(historyPositions_.begin());
      historyTitles_.erase(historyTitles_.begin());
      --historyIndex_;
    }
  }
  historyIndex_ = 0;
  history_.Insert(0, shownFileName_);
  auto entry = std::make_unique<PositionObj>();
  entry->SavedPosition = position;
  entry->SavedKind = sourceKind_;
  historyPositions_.insert(historyPositions_.begin(), std::move(entry));
  historyTitles_.insert(historyTitles_.begin(), titleText_);
  if (history_.Count() > historyMaxCount_) {
    const int last = historyMaxCount_;
    history_.Delete(last);
    historyPositions_.erase(historyPositions_.begin() + last);
    historyTitles_.erase(historyTitles_.begin() + last);
  }
  if (OnHistoryChange) OnHistoryChange(this);
}

void THTMLViewer::SetHistoryMaxCount(int Value) {
  if (Value == historyMaxCount_ || Value < 0) return;
  if (Value < historyMaxCount_) ClearHistory();
  historyMaxCount_ = Value;
}

void THTMLViewer::ClearHistory() {
  const bool had = history_.Count() > 0;
  history_.Clear();
  historyPositions_.clear();
  historyTitles_.clear();
  historyIndex_ = 0;
  shownFileName_.clear();
  if (had && OnHistoryChange) OnHistoryChange(this);
}

std::string THTMLViewer::FullLinkName(const std::string& Url) {
  return Url[0] == '#' ? shownFileName_ + Url : ExpandDocumentName(Url);
}

void THTMLViewer::AddVisited(const std::string& Name) {
  if (inFrame_ || visitedMaxCount_ == 0) return;
  const int index = visited_.IndexOf(Name);
  if (index == 0) return;
  if (index < 0) {
    engine::TLinkList& links = root_->Links;
    for (int i = 0; i < links.Count(); ++i) {
      engine::TFontObj* run = links.Items(i);
      if (!run || run->UrlTarget().Url.empty()) continue;
      if (gui::AnsiCompareText(FullLinkName(run->UrlTarget().Url), Name) == 0) run->SetVisited(true);
    }
    paintPanel_->Invalidate();
  } else {
    visited_.Delete(index);
  }
  visited_.Insert(0, Name);
  while (visited_.Count() > visitedMaxCount_) visited_.Delete(visited_.Count() - 1);
}

// Each link's full name is made once and looked up among the visited names.
void THTMLViewer::FlagVisitedLinks() {
  if (visitedMaxCount_ <= 0 || visited_.Count() == 0) return;
  std::unordered_set<std::string> names;
  for (int i = 0; i < visited_.Count(); ++i) names.insert(engine::LowerCase(visited_.Strings(i)));
  engine::TLinkList& links = root_->Links;
  for (int i = 0; i < links.Count(); ++i) {
    engine::TFontObj* run = links.Items(i);
    if (!run || run->UrlTarget().Url.empty()) continue;
    if (names.count(engine::LowerCase(FullLinkName(run->UrlTarget().Url)))) run->SetVisited(true);
  }
}

void THTMLViewer::SetVisitedMaxCount(int Value) {
  Value = std::max(Value, 0);
  if (Value == visitedMaxCount_) return;
  visitedMaxCount_ = Value;
  if (Value > 0) {
    while (visited_.Count() > Value) visited_.Delete(visited_.Count() - 1);
    return;
  }
  visited_.Clear();
  engine::TLinkList& links = root_->Links;
  for (int i = 0; i < links.Count(); ++i) {
    if (engine::TFontObj* run = links.Items(i)) run->SetVisited(false);
  }
  Invalidate();
  paintPanel_->Invalidate();
}

void THTMLViewer::HandleMetaElement(gui::TObject* Sender, const std::string& HttpEq, const std::string& Name,
                                    const std::string& Content) {
  if (OnMeta) OnMeta(Sender, HttpEq, Name, Content);
  if (!OnMetaRefresh || gui::AnsiCompareText(HttpEq, "refresh") != 0) return;
  const std::size_t semicolon = Content.find(';');
  int delay = gui::StrToIntDef(gui::Trim(Content.substr(0, semicolon)), -1);
  if (delay < 0) return;
  if (delay == 0) delay = 1;
  const std::size_t url = engine::LowerCase(Content).find("url=");
  refreshUrl_ = url == std::string::npos ? std::string() : Content.substr(url + 4);
  refreshDelay_ = delay;
}

std::unique_ptr<TFormData> THTMLViewer::GetFormData() {
  if (root_->htmlFormList.empty()) return nullptr;
  return std::make_unique<TFormData>(engine::GetFormData(*root_));
}

// Restoring values fires no control clicks.
void THTMLViewer::SetFormData(const TFormData* FormData) {
  if (!FormData) return;
  auto onObjectClick = std::move(root_->OnObjectClick);
  root_->OnObjectClick = nullptr;
  try {
    engine::SetFormData(*root_, *FormData);
  } catch (...) {
    root_->OnObjectClick = std::move(onObjectClick);
    throw;
  }
  root_->OnObjectClick = std::move(onObjectClick);
}

// The root's submit hook: the submission waits for its own posted message,
// so it reaches the host after the click or key that caused it.
void THTMLViewer::SubmitForm(const std::string& Action, const std::string& Target, const std::string& EncType,
                             const std::string& Method, std::vector<std::string> Items) {
  if (!OnFormSubmit || !HandleAllocated()) return;
  submissions_.push_back({Action, Target, EncType, Method, std::move(Items)});
  if (!win::PostMessageW(Handle(), kFormSubmitMessage, 0, 0)) submissions_.pop_back();
}

void THTMLViewer::FormSubmitMessage() {
  if (submissions_.empty()) return;
  TSubmission submission = std::move(submissions_.front());
  submissions_.pop_front();
  if (!OnFormSubmit) return;
  auto results = std::make_unique<gui::TStringList>();
  for (const std::string& line : submission.Items) results->Add(line);
  OnFormSubmit(this, submission.Action, submission.Target, submission.EncType, submission.Method,
               std::move(results));
}

}  // namespace viewer
