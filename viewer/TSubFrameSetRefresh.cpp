// The META refresh of a frameset document: the set waits the delay, then a
// nested set navigates its frame again and the top set opens the target.

#include "engine/common/DosFileNames.h"
#include "engine/common/TextHelpers.h"
#include "platform/gui/AnsiText.h"
#include "platform/gui/FileFunctions.h"
#include "platform/gui/FileNames.h"
#include "platform/gui/StringFunctions.h"
#include "platform/gui/TTimer.h"
#include "viewer/TFrameSet.h"
#include "viewer/TFrameViewer.h"
#include "viewer/TSubFrameSet.h"
#include "viewer/TfvFrame.h"

namespace viewer {
namespace {

bool IsAbsoluteName(const std::string& name) {
  return (!name.empty() && (name[0] == '/' || name[0] == '\\')) || (name.size() > 1 && name[1] == ':');
}

}  // namespace

void TSubFrameSet::MetaRefresh(const std::string& Content) {
  const int delay = gui::StrToIntDef(gui::Trim(Content.substr(0, Content.find(';'))), -1);
  if (delay < 0) return;
  const std::size_t url = engine::LowerCase(Content).find("url=");
  if (url != std::string::npos) {
    RefreshUrl = Content.substr(url + 4);
  } else if (auto* frame = dynamic_cast<TfvFrame*>(Owner())) {
    RefreshUrl = frame->Source;
  } else {
    RefreshUrl.clear();
  }
  RefreshDelay = delay == 0 ? 1 : delay;
}

// A relative target is taken from the folder of the set's own document, not
// from the current directory.
void TSubFrameSet::StartRefreshTimer() {
  std::string name = engine::UrlToDosFileName(gui::Trim(RefreshUrl));
  std::string plain = name.substr(0, name.find('#'));
  if (!plain.empty() && !IsAbsoluteName(plain)) {
    auto* frame = dynamic_cast<TfvFrame*>(Owner());
    const std::string folder = gui::ExtractFilePath(frame ? frame->Source : masterSet_->DocumentName);
    name = gui::ExpandFileName(folder + name);
    plain = name.substr(0, name.find('#'));
  }
  RefreshFileName = name;
  if (plain.empty() || !gui::FileExists(plain)) return;
  if (!refreshTimer_) {
    refreshTimer_ = new gui::TTimer(this);
    refreshTimer_->SetEnabled(false);
    refreshTimer_->OnTimer = [this](gui::TObject*) { RefreshTimerTick(); };
  }
  refreshTimer_->SetInterval(RefreshInterval(RefreshDelay));
  refreshTimer_->SetEnabled(true);
}

void TSubFrameSet::StopRefreshTimer() {
  if (refreshTimer_) refreshTimer_->SetEnabled(false);
}

bool TSubFrameSet::RefreshPending() const { return refreshTimer_ && refreshTimer_->Enabled(); }

void TSubFrameSet::RefreshTimerTick() {
  StopRefreshTimer();
  auto* frame = dynamic_cast<TfvFrame*>(Owner());
  if (unloaded_ || !frame) return;
  if (masterSet_->FrameViewer().IsBusy()) {
    refreshTimer_->SetEnabled(true);  // tried again after the delay
    return;
  }
  std::string name, dest;
  SplitUrlDestination(RefreshFileName, name, dest);
  frame->NavigateFrame(name, dest, true, true);
}

void TFrameSet::RefreshTimerTick() {
  StopRefreshTimer();
  TFrameViewer& fv = FrameViewer();
  if (fv.CurrentFrameSet() != this) return;
  if (fv.IsBusy()) {
    refreshTimer_->SetEnabled(true);
    return;
  }
  fv.OpenDocument(RefreshFileName);
}

}  // namespace viewer
