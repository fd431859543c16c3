#pragma once
// TfvFrame: one FRAME of a frameset document. It shows its document in its
// own THTMLViewer, or in a nested set when that document is itself a
// frameset, and shows an error page when the document cannot be loaded.
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/TStringList.h"
#include "viewer/PositionObj.h"
#include "viewer/TFrameBase.h"

namespace engine {
class TAttributeList;
}

namespace gui {
class TTimer;
}

namespace viewer {

class THTMLViewer;
class TSubFrameSet;

// Every frame of a tree that is on its way out leaves its top set's lists.
void DetachFrameTree(TFrameBase* Node);

class TfvFrame : public TFrameBase {
 public:
  // Path: the frameset document's file name (its folder resolves SRC).
  TfvFrame(TSubFrameSet* AOwner, const std::string& Path, TFrameSet* MasterSet,
           const engine::TAttributeList* Attributes);
  ~TfvFrame() override;

  // Makes the viewer with the frame viewer's settings and events.
  void CreateFrameViewer();

  void LoadContent(const TDocRequest* Request) override;
  // NoFramesetIn is the document the frame set just found to hold no frameset
  // (the request it was answered, or the file whose head it read): when the
  // frame loads that same document, it does not read its head again.
  void LoadContent(const TDocRequest* Request, TLoadFailure OnFailure, const TDocRequest* NoFramesetIn = nullptr);
  void UnloadContent() override;
  void ReloadContent(int Position) override;
  void ComputeFrameSizes(int Left, int Top, int Width, int Height) override;
  bool GetNoResize(bool& First, bool& Last) override;
  // The frame's bevel is part of the borders of its set: the mouse goes on
  // there in the set's terms (moves not from a frame that refuses resizing).
  // Its viewer or nested set, then the frame's own panel.
  void Repaint() override;
  void FrameMouseDown(gui::TControl* Sender, gui::TMouseButton Button, gui::TShiftState Shift, int X,
                      int Y) override;
  void FrameMouseMove(gui::TControl* Sender, gui::TShiftState Shift, int X, int Y) override;
  void FrameMouseUp(gui::TControl* Sender, gui::TMouseButton Button, gui::TShiftState Shift, int X,
                    int Y) override;

  // Loads Url into this frame: in place, as a new viewer or nested set, or,
  // for the document already shown, by scrolling to Dest or reloading.
  void NavigateFrame(const std::string& Url, const std::string& Dest, bool Reload, bool RecordHistory);

  // A frame history entry besides its name: the vertical position, a
  // sequence number shared by all frames and the form values when left.
  struct PositionObj {
    int Pos = 0;
    int SequenceNo = 0;
    std::unique_ptr<TFormData> FormData;
  };
  void StartHistory(const std::string& Name, int Position);
  void PushHistory(const std::string& NewName, int NewPosition, int OldPosition,
                   std::unique_ptr<TFormData> FormData);
  // Drops the entries before the history index (later ones).
  void TrimHistory();
  // Empties the history; answers whether it had entries.
  bool ClearFrameHistory();
  int HistoryCount() const { return historyNames_.Count(); }
  const std::string& HistoryName(int Index) const { return historyNames_.Strings(Index); }
  TSubFrameSet* HistorySet(int Index) const;
  const PositionObj& HistoryPosition(int Index) const { return *historyPositions_[static_cast<std::size_t>(Index)]; }
  int HistoryIndex() const { return historyIndex_; }

  // The document's META refresh (the viewer's OnMetaRefresh) and its timer.
  void MetaRefreshRequest(gui::TObject* Sender, int Delay, const std::string& URL);
  void RefreshTimerTick();
  bool RefreshPending() const;
  const std::string& RefreshName() const { return refreshName_; }
  // The frame leaves its top set's lists (names, viewers, history frames)
  // for good: it is on its way out with a set that was replaced.
  void DetachFromMaster();

  THTMLViewer* Viewer() const { return viewer_; }
  TSubFrameSet* NestedSet() const { return nestedSet_; }
  const std::string& FrameName() const { return frameName_; }
  bool NoResize() const { return noResize_; }
  bool NoScrolling() const { return noScrolling_; }

  std::string Source;         // the document shown: an absolute file name or the host's name
  std::string InitialSource;  // the FRAME's SRC as resolved
  std::string Destination;    // "#anchor" or empty

 private:
  TSubFrameSet* ParentSet() const;
  void ReadAttributes(const engine::TAttributeList& Attributes, const std::string& Path);
  std::string ResolveSource(const std::string& Name, const std::string& Path) const;
  // False when the error page is shown instead.
  bool LoadDocument(const TDocRequest* Request, TLoadFailure OnFailure, const TDocRequest* NoFramesetIn = nullptr);
  void ShowErrorPage(const std::string& FileName);
  void FreeNestedSet();
  void FreeViewer();
  void NavigateToOther(const std::string& Url, const std::string& New, const std::string& Dest, bool RecordHistory);
  void NavigateToSame(const std::string& Url, const std::string& Dest, bool Reload, bool RecordHistory);
  void ReplaceContent(const std::string& Url, const std::string& FileName, const std::string& Dest,
                      const TDocRequest* Request);
  void LoadInPlace(const std::string& Url, const std::string& New, const std::string& FileName,
                   const std::string& Dest, bool RecordHistory, const TDocRequest* Request);
  void ReleaseSetIfUnlisted(TSubFrameSet* Set);
  void StopRefreshTimer();

  std::string frameName_;
  bool noResize_ = false;
  bool noScrolling_ = false;
  int marginWidth_ = 0;
  int marginHeight_ = 0;
  THTMLViewer* viewer_ = nullptr;       // owned
  TSubFrameSet* nestedSet_ = nullptr;   // owned
  int savedPosition_ = 0;
  std::unique_ptr<TFormData> savedFormData_;
  bool detached_ = false;
  // History: names with the nested set shown then as objects, and positions.
  gui::TStringList historyNames_;
  std::vector<std::unique_ptr<PositionObj>> historyPositions_;
  int historyIndex_ = 0;
  gui::TTimer* refreshTimer_ = nullptr;  // owned, made on first use
  std::string refreshName_;
};

}  // namespace viewer
