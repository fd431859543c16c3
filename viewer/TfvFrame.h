#pragma once
// TfvFrame: one FRAME of a frameset document. It shows its document in its
// own THTMLViewer, or in a nested set when that document is itself a
// frameset, and shows an error page when the document cannot be loaded.
#include <string>

#include "viewer/TFrameBase.h"

namespace engine {
class TAttributeList;
}

namespace viewer {

class THTMLViewer;
class TSubFrameSet;

class TfvFrame : public TFrameBase {
 public:
  // Path: the frameset document's file name (its folder resolves SRC).
  TfvFrame(TSubFrameSet* AOwner, const std::string& Path, TFrameSet* MasterSet,
           const engine::TAttributeList* Attributes);
  ~TfvFrame() override;

  // Makes the viewer with the frame viewer's settings and events.
  void CreateFrameViewer();

  void LoadContent(const TDocRequest* Request) override;
  void UnloadContent() override;
  void ReloadContent(int Position) override;
  void ComputeFrameSizes(int Left, int Top, int Width, int Height) override;
  bool GetNoResize(bool& First, bool& Last) override;
  // The frame's bevel is part of the borders of its set: the mouse goes on
  // there in the set's terms (moves not from a frame that refuses resizing).
  void FrameMouseDown(gui::TControl* Sender, gui::TMouseButton Button, gui::TShiftState Shift, int X,
                      int Y) override;
  void FrameMouseMove(gui::TControl* Sender, gui::TShiftState Shift, int X, int Y) override;
  void FrameMouseUp(gui::TControl* Sender, gui::TMouseButton Button, gui::TShiftState Shift, int X,
                    int Y) override;

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
  void LoadDocument(const TDocRequest* Request);
  void ShowErrorPage(const std::string& FileName);
  void FreeNestedSet();
  void FreeViewer();

  std::string frameName_;
  bool noResize_ = false;
  bool noScrolling_ = false;
  int marginWidth_ = 0;
  int marginHeight_ = 0;
  THTMLViewer* viewer_ = nullptr;       // owned
  TSubFrameSet* nestedSet_ = nullptr;   // owned
  int savedPosition_ = 0;
};

}  // namespace viewer
