#pragma once
// TFrameSet: the top set of a frame viewer. Besides its frames it keeps the
// lookups for the whole tree: frame names, the frames' viewers in creation
// order and the active viewer. It lays the tree out again when resized.
#include <map>
#include <string>
#include <vector>

#include "viewer/TSubFrameSet.h"

namespace viewer {

class TFrameViewer;
class THTMLViewer;
class TfvFrame;

// Frame documents nested deeper than this are not loaded.
constexpr int kMaxFrameDocumentNesting = 4;
// Frames made per top set: a frameset naming itself would otherwise multiply
// frames at every level of nesting.
constexpr int kMaxFrames = 500;

class TFrameSet : public TSubFrameSet {
 public:
  explicit TFrameSet(TFrameViewer* FrameViewer);
  ~TFrameSet() override;

  TFrameViewer& FrameViewer() const { return *frameViewer_; }

  // Loads Name into this set: a frameset document or one frame showing it.
  // OnFailure applies to that one frame; frames of a frameset show their
  // error pages.
  void LoadDocument(const std::string& Name, const std::string& Dest,
                    TLoadFailure OnFailure = TLoadFailure::ShowErrorPage);
  // Asks the first request event the host assigned; false without an answer.
  bool RequestDocument(const std::string& Name, TDocRequest& Request);
  bool HasRequestEvents() const;

  void InitializeSizes() override;
  void ClearFrames() override;
  // As ClearFrames, but the frames are freed after the current message: a
  // click or timer of one of them may be what is being handled.
  void ReleaseFrames();
  // Computes and places the tree when the client size changed (or Force).
  void FrameSetResized(bool Force = false);

  // Lookups for the frames.
  void RegisterFrameName(const std::string& Name, TfvFrame* Frame);
  void UnregisterFrame(TfvFrame* Frame);
  TfvFrame* FrameByName(const std::string& Name) const;
  void AddViewer(THTMLViewer* Viewer) { viewers_.push_back(Viewer); }
  void RemoveViewer(THTMLViewer* Viewer);
  const std::vector<THTMLViewer*>& Viewers() const { return viewers_; }
  void ViewerEntered(gui::TObject* Sender);
  // The frames of the tree that keep a history, each once.
  void AddHistoryFrame(TfvFrame* Frame);
  void RemoveHistoryFrame(TfvFrame* Frame);
  const std::vector<TfvFrame*>& HistoryFrames() const { return historyFrames_; }
  // Drops the later entries of every frame's history.
  void TrimFrameHistories();
  void RefreshTimerTick() override;
  THTMLViewer* GetActiveViewer() const;

  std::string DocumentName;
  std::u16string Title;
  // The set whose border is being dragged, anywhere in the tree; null when none.
  TSubFrameSet* DragSet = nullptr;
  int NestingDepth = 0;
  int FramesMade = 0;

 protected:
  void Resize() override;

 private:
  TFrameViewer* frameViewer_;
  std::map<std::string, TfvFrame*> frameNames_;  // names lower-cased (ASCII)
  std::vector<THTMLViewer*> viewers_;
  THTMLViewer* activeViewer_ = nullptr;
  std::vector<TfvFrame*> historyFrames_;
  int lastWidth_ = 0;
  int lastHeight_ = 0;
};

}  // namespace viewer
