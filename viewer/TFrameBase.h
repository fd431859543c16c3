#pragma once
// TFrameBase: a panel of a frame viewer's layout, either one frame
// (TfvFrame) or a set of frames (TSubFrameSet). The set sizes its children
// through ComputeFrameSizes and loads them through LoadContent.
#include <string>

#include "platform/gui/TCustomPanel.h"

namespace viewer {

class TFrameSet;

// A document to load: the host's bytes (FromString) or the file FileName.
struct TDocRequest {
  bool FromString = false;
  std::string FileName;
  std::string Text;
};

// What a frame does when its document cannot be loaded: it shows its error
// page, and with Raise also raises EfvLoadError (the top document of a load
// asked for by name, whose caller must learn of the failure).
enum class TLoadFailure { ShowErrorPage, Raise };

// The timer interval of a META refresh of Delay seconds; the delay is held
// to a range whose milliseconds fit the timer.
unsigned RefreshInterval(int Delay);

class TFrameBase : public gui::TCustomPanel {
 public:
  TFrameBase(gui::TComponent* AOwner, TFrameSet* MasterSet);

  TFrameSet* MasterSet() const { return masterSet_; }
  bool Unloaded() const { return unloaded_; }
  int LocalCharSet() const { return localCharSet_; }
  void SetLocalCharSet(int Value) { localCharSet_ = Value; }

  // Request is null when the frame finds its document itself.
  virtual void LoadContent(const TDocRequest* Request) = 0;
  virtual void UnloadContent() = 0;
  // Position -1 restores the position saved when unloading.
  virtual void ReloadContent(int Position) = 0;
  // Distributes the given area, in the top set's client terms, over nested sets.
  virtual void ComputeFrameSizes(int Left, int Top, int Width, int Height) = 0;
  // Whether a frame inside refuses resizing; First and Last tell whether that
  // is the first or the last child on the way down.
  virtual bool GetNoResize(bool& First, bool& Last) = 0;

  // The mouse over a panel of the layout (a frame's bevel, a set's gaps), in
  // this panel's client terms. Sender is the panel under the mouse: its
  // cursor shows whether a border may be dragged from there.
  virtual void FrameMouseDown(gui::TControl* Sender, gui::TMouseButton Button, gui::TShiftState Shift, int X,
                              int Y) = 0;
  virtual void FrameMouseMove(gui::TControl* Sender, gui::TShiftState Shift, int X, int Y) = 0;
  virtual void FrameMouseUp(gui::TControl* Sender, gui::TMouseButton Button, gui::TShiftState Shift, int X,
                            int Y) = 0;
  // The frame or set this one lies in; null for the top set.
  TFrameBase* ParentBase() const { return dynamic_cast<TFrameBase*>(Owner()); }

 protected:
  // The panel's own mouse events lead to the operations above.
  void TakeFrameMouseEvents();
  // The panel keeps the mouse while the left button is down, so a dragged
  // border follows the pointer over the neighbouring frames.
  void WndProc(gui::TMessage& Message) override;

  TFrameSet* masterSet_;
  bool unloaded_ = false;
  int localCharSet_ = 0;
};

}  // namespace viewer
