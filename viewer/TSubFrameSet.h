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
  std::string BaseUrl;
  std::string BaseTarget;

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
};

}  // namespace viewer
