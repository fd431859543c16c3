// The frame viewer's links: clicks and hovers from every frame's viewer,
// where a link's target sends it, how names become file names, and the
// visited list that colours links in every frame.
#include <algorithm>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "engine/common/DosFileNames.h"
#include "engine/common/TextHelpers.h"
#include "engine/document/TSectionList.h"
#include "engine/text/TFontObj.h"
#include "platform/gui/AnsiText.h"
#include "platform/gui/FileNames.h"
#include "platform/gui/StringFunctions.h"
#include "viewer/TFrameSet.h"
#include "viewer/TFrameViewer.h"
#include "viewer/TSubFrameSet.h"
#include "viewer/TfvFrame.h"

namespace viewer {
namespace {

bool IsAbsoluteName(const std::string& name) {
  return (!name.empty() && (name[0] == '/' || name[0] == '\\')) || name.find("://") != std::string::npos ||
         (name.size() > 1 && name[1] == ':');
}

TfvFrame* FrameOf(const THTMLViewer& viewer) { return dynamic_cast<TfvFrame*>(viewer.Owner()); }

// The set that directly holds the frame of Viewer.
TSubFrameSet* SetHolding(const THTMLViewer& viewer) {
  TfvFrame* frame = FrameOf(viewer);
  return frame ? dynamic_cast<TSubFrameSet*>(frame->Owner()) : nullptr;
}

// Splits "name?query#dest" into its three parts; the query and the
// destination keep their leading "?" and "#".
void SplitLink(const std::string& url, std::string& name, std::string& query, std::string& dest) {
  name = url;
  dest.clear();
  query.clear();
  const std::size_t hash = name.find('#');
  if (hash != std::string::npos) {
    dest = name.substr(hash);
    name.resize(hash);
  }
  const std::size_t question = name.find('?');
  if (question != std::string::npos) {
    query = name.substr(question);
    name.resize(question);
  }
}

}  // namespace

std::string TFrameViewer::GetLinkTarget() const {
  THTMLViewer* viewer = GetActiveViewer();
  if (!viewer) return {};
  if (!viewer->LinkTarget().empty()) return viewer->LinkTarget();
  if (!viewer->BaseTargetName().empty()) return viewer->BaseTargetName();
  const TSubFrameSet* set = SetHolding(*viewer);
  return set ? set->BaseTarget : std::string();
}

std::string TFrameViewer::GetBaseUrl() const {
  THTMLViewer* viewer = GetActiveViewer();
  if (!viewer) return {};
  if (!viewer->BaseHref().empty()) return viewer->BaseHref();
  const TSubFrameSet* set = SetHolding(*viewer);
  return set ? set->BaseUrl : std::string();
}

std::string TFrameViewer::ExpandDocumentName(const std::string& Name) const {
  std::string result = engine::UrlToDosFileNameWithRoot(gui::Trim(Name), serverRoot_);
  if (result.empty() || IsAbsoluteName(result)) return result;
  const std::string base = GetBaseUrl();
  if (gui::AnsiCompareText(base, "DosPath") == 0) return result;
  // The BASE names a document: names resolve against its folder.
  if (!base.empty()) return gui::ExpandFileName(gui::ExtractFilePath(engine::UrlToDosFileName(base)) + result);
  if (THTMLViewer* viewer = GetActiveViewer()) return viewer->ExpandDocumentName(result);
  const std::string folder = gui::ExtractFilePath(currentSet_->DocumentName);
  return gui::ExpandFileName(folder.empty() ? result : folder + result);
}

void TFrameViewer::HotSpotClickHandler(gui::TObject* Sender, const std::string& SRC, bool& Handled) {
  if (IsBusy()) {
    Handled = true;
    return;
  }
  auto* viewer = dynamic_cast<THTMLViewer*>(Sender);
  linkUrl_ = SRC;
  linkTarget_ = GetLinkTarget();
  if (viewer) {
    linkAttributes_.Assign(&viewer->LinkAttributes());
    linkText_ = viewer->LinkText();
  }
  Handled = false;
  if (OnHotSpotTargetClick) OnHotSpotTargetClick(this, linkTarget_, linkUrl_, Handled);
  if (Handled) return;
  Handled = true;
  if (viewer) FollowClickedLink(*viewer, SRC);
}

// Where a target sends a link clicked in Viewer: a frame, the top set, or
// nothing (an unknown target).
TFrameBase* TFrameViewer::LinkDestination(THTMLViewer& Viewer, const std::string& Target) const {
  TfvFrame* frame = FrameOf(Viewer);
  if (Target.empty() || gui::AnsiCompareText(Target, "_self") == 0) return frame;
  if (TfvFrame* named = currentSet_->FrameByName(Target)) return named;
  if (gui::AnsiCompareText(Target, "_top") == 0) return currentSet_;
  if (gui::AnsiCompareText(Target, "_parent") == 0) {
    for (gui::TComponent* owner = frame ? frame->Owner() : nullptr; owner; owner = owner->Owner()) {
      if (auto* holder = dynamic_cast<TfvFrame*>(owner)) return holder;
      if (auto* top = dynamic_cast<TFrameSet*>(owner)) return top;
    }
    return currentSet_;
  }
  return nullptr;
}

void TFrameViewer::FollowClickedLink(THTMLViewer& Viewer, const std::string& Url) {
  std::string name, query, dest;
  SplitLink(Url, name, query, dest);
  if (!name.empty() && !currentSet_->HasRequestEvents()) name = Viewer.ExpandDocumentName(name);
  TFrameBase* destination = LinkDestination(Viewer, linkTarget_);
  if (!destination) {
    if (OnBlankWindowRequest) {
      AddVisited(name + query + dest);
      UpdateVisitedLinks();
      OnBlankWindowRequest(this, linkTarget_, Url);
    }
    return;
  }
  SetBusy(true, processing_);
  try {
    auto* frame = dynamic_cast<TfvFrame*>(destination);
    // A single-frame document is replaced as a whole.
    if (frame && currentSet_->Viewers().size() == 1 && !name.empty() &&
        gui::AnsiCompareText(name, currentSet_->DocumentName) != 0) {
      frame = nullptr;
    }
    if (frame) {
      frame->NavigateFrame(name, dest, false, true);
    } else {
      OpenDocument(name + dest);
    }
    if (!query.empty()) AddVisited(name + query + dest);
    UpdateVisitedLinks();
  } catch (...) {
    SetBusy(false, !processingViewers_.empty());
    throw;
  }
  SetBusy(false, !processingViewers_.empty());
}

void TFrameViewer::HotSpotCoveredHandler(gui::TObject* Sender, const std::string& SRC) {
  if (!OnHotSpotTargetCovered) return;
  auto* viewer = dynamic_cast<THTMLViewer*>(Sender);
  std::string target;
  if (viewer) {
    linkText_ = viewer->LinkText();
    linkAttributes_.Assign(&viewer->LinkAttributes());
    target = viewer->LinkTarget();
  }
  OnHotSpotTargetCovered(Sender, target, SRC);
}

void TFrameViewer::AddVisited(const std::string& Name) {
  if (visitedMaxCount_ == 0) return;
  const int index = visited_.IndexOf(Name);
  if (index == 0) return;
  if (index > 0) visited_.Delete(index);
  visited_.Insert(0, Name);
  while (visited_.Count() > visitedMaxCount_) visited_.Delete(visited_.Count() - 1);
}

// Each distinct URL of a viewer is expanded to its full name once and looked
// up among the visited names; the runs of a link, and the many links to one
// document, reuse that answer. The work grows with the links, not with links
// times names.
void TFrameViewer::UpdateVisitedLinks() {
  if (visitedMaxCount_ == 0 || visited_.Count() == 0) return;
  std::unordered_set<std::string> names;
  for (int i = 0; i < visited_.Count(); ++i) names.insert(engine::LowerCase(visited_.Strings(i)));
  const bool requests = currentSet_->HasRequestEvents();
  ForEachViewer([&](THTMLViewer& viewer) {
    TfvFrame* frame = FrameOf(viewer);
    const auto visited = [&](const std::string& url) {
      std::string full;
      if (url[0] == '#') full = (requests ? (frame ? frame->Source : std::string()) : viewer.ShownFileName()) + url;
      else full = requests ? url : viewer.ExpandDocumentName(url);
      return names.count(engine::LowerCase(full)) != 0;
    };
    std::unordered_map<std::string, bool> answers;
    engine::TLinkList& links = viewer.Document().Links;
    for (int i = 0; i < links.Count(); ++i) {
      engine::TFontObj* run = links.Items(i);
      if (!run) continue;
      // Read in place: only a URL met for the first time is copied, as a key.
      const std::string& url = run->UrlTarget().Url;
      if (url.empty()) continue;
      auto answer = answers.find(url);
      if (answer == answers.end()) answer = answers.emplace(url, visited(url)).first;
      if (answer->second) run->SetVisited(true);
    }
    viewer.Invalidate();
  });
}

void TFrameViewer::SetVisitedMaxCount(int Value) {
  Value = std::max(Value, 0);
  if (Value == visitedMaxCount_) return;
  visitedMaxCount_ = Value;
  if (Value != 0) {
    while (visited_.Count() > Value) visited_.Delete(visited_.Count() - 1);
    return;
  }
  visited_.Clear();
  ForEachViewer([](THTMLViewer& viewer) {
    engine::TLinkList& links = viewer.Document().Links;
    for (int i = 0; i < links.Count(); ++i) {
      if (engine::TFontObj* run = links.Items(i)) run->SetVisited(false);
    }
  });
  Repaint();
}

}  // namespace viewer
