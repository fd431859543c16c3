#pragma once
// TSubFrameSet: the panel of one FRAMESET. It turns ROWS or COLS into size
// codes, shares its height or width out over its children (frames and
// nested sets) and places them side by side or stacked.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/html/TFrameViewerBase.h"
#include "viewer/TFrameBase.h"

namespace engine {
class TAttributeList;
}
namespace gui {
class TTimer;
}

namespace viewer {

class TfvFrame;

// Size entries a set holds; children beyond them are not made.
constexpr int kMaxFrameEntries = 20;

// ROWS or COLS as size codes: 1..5000 pixels, -1..-99 relative weights,
// -101..-1000 percentages (-(n + 100)). At most kMaxFrameEntries entries.
std::vector<int> ParseFrameSizes(const std::string& Value);

class TSubFrameSet : public TFrameBase, public engine::TFrameSetNode {
 public:
  TSubFrameSet(gui::TComponent* AOwner, TFrameSet* MasterSet);
  ~TSubFrameSet() override;

  void ApplyAttributes(const engine::TAttributeList& Attributes);
  // A frame for a FRAME element (Attributes null: an empty frame); Path is the
  // frameset document's file name. Null once the set is full.
  TfvFrame* AddFrame(const engine::TAttributeList* Attributes, const std::string& Path);
  // A nested set for a FRAMESET element; null once the set is full.
  TSubFrameSet* AddFrameSet();
  // At the set's end: as many entries as children, the BASE read so far.
  virtual void InitializeSizes();
  // Frees every child.
  virtual void ClearFrames();

  void LoadContent(const TDocRequest* Request) override;
  void UnloadContent() override;
  void ReloadContent(int Position) override;
  void ComputeFrameSizes(int Left, int Top, int Width, int Height) override;
  bool GetNoResize(bool& First, bool& Last) override;
  // Sets each child's bounds from the computed sizes.
  void PlaceChildFrames();
  // Every child's document, then the set's own panel.
  void Repaint() override;

  // Border dragging: a border between two children follows the left button
  // within the band between its neighbouring borders, unless a frame next to
  // it refuses resizing.
  void FrameMouseDown(gui::TControl* Sender, gui::TMouseButton Button, gui::TShiftState Shift, int X,
                      int Y) override;
  void FrameMouseMove(gui::TControl* Sender, gui::TShiftState Shift, int X, int Y) override;
  void FrameMouseUp(gui::TControl* Sender, gui::TMouseButton Button, gui::TShiftState Shift, int X,
                    int Y) override;
  // Gives Sender the split cursor when (X, Y) is on a border that may be dragged.
  void TrackBorderCursor(gui::TControl* Sender, int X, int Y);
  // Ends a drag under way without moving the border.
  void CancelDrag();

  // Readers.
  int ChildCount() const { return static_cast<int>(children_.size()); }
  TFrameBase* Child(int Index) const { return children_[static_cast<std::size_t>(Index)]; }
  bool Rows() const { return rows_; }
  const std::vector<int>& SizeCodes() const { return codes_; }
  const std::vector<int>& Sizes() const { return sizes_; }
  int BorderSize() const { return borderSize_; }
  void SetBorderSize(int Value) { borderSize_ = Value; }
  int BevelInset() const { return inset_; }
  void SetBevelInset(int Value) { inset_ = Value; }
  bool NoResizeBorder(int Index) const { return noResize_[static_cast<std::size_t>(Index)]; }
  int BorderPosition(int Index) const { return positions_[static_cast<std::size_t>(Index)]; }
  // The border nearest the pointer when it last moved over the set (0: none).
  int DragIndex() const { return dragIndex_; }
  // The line drawn on the screen while a border is dragged.
  const win::RECT& DragLine() const { return dragLine_; }
  std::string BaseUrl;
  std::string BaseTarget;

  // A META refresh of the frameset document: read by the meta hook, run by a
  // timer that starts only when the target file exists.
  void MetaRefresh(const std::string& Content);
  void StartRefreshTimer();
  virtual void RefreshTimerTick();
  void StopRefreshTimer();
  bool RefreshPending() const;
  int RefreshDelay = 0;
  std::string RefreshUrl;
  std::string RefreshFileName;

 protected:
  void Resize() override;
  // Drops a child from the list without freeing it.
  void Forget(TFrameBase* Child);
  friend class TfvFrame;

  std::vector<TFrameBase*> children_;  // owned, in document order
  bool rows_ = false;
  std::vector<int> codes_;
  std::vector<int> sizes_;
  int sizeTotal_ = 0;
  std::array<int, kMaxFrameEntries + 1> positions_{};
  std::array<bool, kMaxFrameEntries + 1> noResize_{};
  int inset_ = 0;
  int borderSize_ = 0;
  gui::TTimer* refreshTimer_ = nullptr;  // owned, made on first use

  int dragIndex_ = 0;
  win::RECT dragLine_{};
  bool lineShown_ = false;

 private:
  bool IsTopSet() const;
  // Whether another frame or set may be added under the per-set and total caps.
  bool MayAddChild() const;
  bool NearOuterEdge(int X, int Y) const;
  // Children placed by PlaceChildFrames (their borders are known).
  int PlacedCount() const;
  // The pointer's place along the set's axis, from the first child's edge.
  int AxisPosition(int X, int Y) const;
  void ShowDragLine();
  void HideDragLine();
  void FinishDrag(int X, int Y);
};

}  // namespace viewer
