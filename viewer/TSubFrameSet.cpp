#include "viewer/TSubFrameSet.h"

#include <algorithm>
#include <cctype>

#include "engine/html/BuildState.h"
#include "engine/html/TAttributeList.h"
#include "platform/gui/GdiCalls.h"
#include "platform/gui/UserCalls.h"
#include "platform/win/kernel/Arithmetic.h"
#include "viewer/TFrameSet.h"
#include "viewer/TFrameViewer.h"
#include "viewer/TfvFrame.h"

namespace viewer {
namespace {

constexpr int kMaxPixels = 5000;
constexpr int kMaxWeight = 99;
constexpr int kMaxPercentCode = 1000;  // 900 %
constexpr int kMaxBorder = 100;
// How close to a border the pointer must be to drag it, and to a set's
// outer edge to count as the enclosing set's border.
constexpr int kBorderReach = 4;
constexpr int kEdgeReach = 3;

bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }

// A share of total by parts of whole; nothing when whole is 0.
int Share(int part, int total, int whole) { return whole == 0 ? 0 : win::MulDiv(part, total, whole); }

}  // namespace

std::vector<int> ParseFrameSizes(const std::string& Value) {
  std::vector<int> codes;
  std::size_t at = 0;
  const std::size_t end = Value.size();
  while (true) {
    while (at < end && !IsDigit(Value[at]) && Value[at] != '*' && Value[at] != ',') ++at;
    if (at >= end || !IsDigit(Value[at])) {
      if (at < end && Value[at] == '*') ++at;
      codes.push_back(-1);
    } else {
      // Every code is capped, so the number saturates instead of overflowing.
      int number = 0;
      while (at < end && IsDigit(Value[at])) {
        number = std::min(number * 10 + (Value[at] - '0'), 100000);
        ++at;
      }
      number = std::max(1, number);
      while (at < end && Value[at] != '%' && Value[at] != '*' && Value[at] != ',') ++at;
      if (at < end && Value[at] == '*') {
        codes.push_back(-std::min(kMaxWeight, number));
      } else if (at < end && Value[at] == '%') {
        codes.push_back(-std::min(kMaxPercentCode, number + 100));
      } else {
        codes.push_back(std::min(number, kMaxPixels));
      }
    }
    while (at < end && Value[at] != ',') ++at;
    if (at >= end || static_cast<int>(codes.size()) >= kMaxFrameEntries) break;
    ++at;  // the comma
  }
  return codes;
}

TSubFrameSet::TSubFrameSet(gui::TComponent* AOwner, TFrameSet* MasterSet) : TFrameBase(AOwner, MasterSet) {
  if (MasterSet && MasterSet != this) borderSize_ = MasterSet->BorderSize();
  SetBevelOuter(gui::bvNone);
}

TSubFrameSet::~TSubFrameSet() {
  // The top set's own destructor has cleared it already; its members are gone.
  if (IsTopSet()) return;
  // Only a set being dragged (its line is shown) may reach its master here: a
  // set kept by a history can outlive it.
  if (lineShown_) CancelDrag();
  // The children unregister from the master set while this set is whole.
  ClearFrames();
}

void TSubFrameSet::ApplyAttributes(const engine::TAttributeList& Attributes) {
  const engine::TAttribute* attribute = nullptr;
  if (Attributes.Find(engine::symRows, attribute)) {
    rows_ = true;
    codes_ = ParseFrameSizes(attribute->ValueText);
  }
  if (Attributes.Find(engine::symCols, attribute) && codes_.size() <= 1) {
    rows_ = false;
    codes_ = ParseFrameSizes(attribute->ValueText);
  }
  if (static_cast<TFrameBase*>(masterSet_) != this || (masterSet_->FrameViewer().fvOptions() & fvNoBorder)) return;
  if (Attributes.Find(engine::symBorder, attribute) || Attributes.Find(engine::symFrameborder, attribute)) {
    borderSize_ = std::clamp(attribute->Value, 0, kMaxBorder);
    inset_ = std::max(2 - borderSize_, 0);
    if (inset_ > 0) {
      SetBevelWidth(inset_);
      SetBevelOuter(gui::bvLowered);
    }
  } else {
    borderSize_ = 2;
  }
}

// Past either cap a set or frame would stay empty and still take room.
bool TSubFrameSet::MayAddChild() const {
  return children_.size() < kMaxFrameEntries && masterSet_->FramesMade < kMaxFrames;
}

TfvFrame* TSubFrameSet::AddFrame(const engine::TAttributeList* Attributes, const std::string& Path) {
  if (!MayAddChild()) return nullptr;
  ++masterSet_->FramesMade;
  auto* frame = new TfvFrame(this, Path, masterSet_, Attributes);
  children_.push_back(frame);
  frame->SetBounds(inset_, inset_, std::max(0, Width() - 2 * inset_), std::max(0, Height() - 2 * inset_));
  frame->SetParent(this);
  return frame;
}

TSubFrameSet* TSubFrameSet::AddFrameSet() {
  if (!MayAddChild()) return nullptr;
  auto* set = new TSubFrameSet(this, masterSet_);
  children_.push_back(set);
  set->SetParent(this);
  return set;
}

void TSubFrameSet::InitializeSizes() {
  while (codes_.size() < children_.size()) codes_.push_back(-1);
  // Entries beyond the frames get empty frames, as long as frames may still be made.
  while (children_.size() < codes_.size() && AddFrame(nullptr, "")) {
  }
  // Past the frame cap the entries left without a frame take no room: the
  // frames made share the set.
  codes_.resize(children_.size());
  BaseUrl = engine::buildState.Head.Base;
  BaseTarget = engine::buildState.Head.BaseTarget;
}

void TSubFrameSet::ClearFrames() {
  while (!children_.empty()) {
    TFrameBase* child = children_.back();
    children_.pop_back();
    delete child;
  }
  // Swapped out, not cleared: a cleared set keeps no buffer sized by its last document.
  std::vector<TFrameBase*>().swap(children_);
  std::vector<int>().swap(codes_);
  std::vector<int>().swap(sizes_);
  sizeTotal_ = 0;
  rows_ = false;
  positions_.fill(0);
  noResize_.fill(false);
  std::string().swap(BaseUrl);
  std::string().swap(BaseTarget);
  StopRefreshTimer();
  RefreshDelay = 0;
  std::string().swap(RefreshUrl);
}

void TSubFrameSet::Forget(TFrameBase* Child) {
  children_.erase(std::remove(children_.begin(), children_.end(), Child), children_.end());
}

void TSubFrameSet::LoadContent(const TDocRequest*) {
  for (TFrameBase* child : children_) child->LoadContent(nullptr);
}

void TSubFrameSet::UnloadContent() {
  StopRefreshTimer();
  for (TFrameBase* child : children_) child->UnloadContent();
  unloaded_ = true;
}

void TSubFrameSet::ReloadContent(int Position) {
  for (TFrameBase* child : children_) child->ReloadContent(Position);
  if (RefreshDelay > 0 && refreshTimer_) StartRefreshTimer();
  unloaded_ = false;
}

void TSubFrameSet::ComputeFrameSizes(int Left, int Top, int Width, int Height) {
  const int extent = rows_ ? Height : Width;
  int pixels = 0, percent = 0, weights = 0;
  for (int code : codes_) {
    if (code > 0) pixels += code;
    else if (code <= -101) percent += -code - 100;
    else weights += -code;
  }
  sizes_.assign(codes_.size(), 0);
  const int rest = extent - pixels;
  if (rest > 0) {
    const int percentPart = std::min(Share(extent, percent, 100), rest);
    const int unit = weights > 0 ? (rest - percentPart) / weights : 0;
    for (std::size_t index = 0; index < codes_.size(); ++index) {
      const int code = codes_[index];
      sizes_[index] = code > 0 ? code : code <= -101 ? Share(-code - 100, percentPart, percent) : -code * unit;
    }
  } else {
    for (std::size_t index = 0; index < codes_.size(); ++index) {
      if (codes_[index] > 0) sizes_[index] = Share(codes_[index], extent, pixels);
    }
  }
  sizeTotal_ = 0;
  for (int size : sizes_) sizeTotal_ += size;
  int running = 0;
  for (std::size_t index = 0; index < children_.size() && index < sizes_.size(); ++index) {
    const int size = sizes_[index];
    if (rows_) children_[index]->ComputeFrameSizes(Left, Top + running, Width, size);
    else children_[index]->ComputeFrameSizes(Left + running, Top, size, Height);
    running += size;
  }
}

void TSubFrameSet::PlaceChildFrames() {
  if (children_.empty()) return;
  const win::RECT client = ClientRect();
  const int left = client.left + inset_, top = client.top + inset_;
  const int width = std::max(0, client.right - client.left - 2 * inset_);
  const int height = std::max(0, client.bottom - client.top - 2 * inset_);
  const int extent = rows_ ? height : width;
  int running = 0;
  for (std::size_t index = 0; index < children_.size(); ++index) {
    const int size = index < sizes_.size() ? Share(sizes_[index], extent, sizeTotal_) : 0;
    if (rows_) children_[index]->SetBounds(left, top + running, width, size);
    else children_[index]->SetBounds(left + running, top, size, height);
    running += size;
    positions_[index + 1] = running;
  }
  // A child whose size did not change gets no resize of its own.
  for (TFrameBase* child : children_) {
    if (auto* set = dynamic_cast<TSubFrameSet*>(child)) set->PlaceChildFrames();
    else if (auto* frame = dynamic_cast<TfvFrame*>(child); frame && frame->NestedSet()) frame->NestedSet()->PlaceChildFrames();
  }
}

void TSubFrameSet::Repaint() {
  for (TFrameBase* child : children_) child->Repaint();
  TFrameBase::Repaint();
}

bool TSubFrameSet::GetNoResize(bool& First, bool& Last) {
  bool result = false;
  for (std::size_t index = 0; index < children_.size(); ++index) {
    bool first = false, last = false;
    if (!children_[index]->GetNoResize(first, last)) continue;
    noResize_[index] = true;
    noResize_[index + 1] = true;
    result = true;
    if (index == 0 && first) First = true;
    if (index + 1 == children_.size() && last) Last = true;
  }
  return result;
}

void TSubFrameSet::Resize() {
  TFrameBase::Resize();
  PlaceChildFrames();
}

}  // namespace viewer

namespace viewer {

bool TSubFrameSet::IsTopSet() const { return static_cast<const TFrameBase*>(masterSet_) == this; }

bool TSubFrameSet::NearOuterEdge(int X, int Y) const {
  return std::abs(X) <= kEdgeReach || std::abs(X - Width()) <= kEdgeReach || std::abs(Y) <= kEdgeReach ||
         std::abs(Y - Height()) <= kEdgeReach;
}

int TSubFrameSet::PlacedCount() const { return static_cast<int>(std::min(children_.size(), sizes_.size())); }

int TSubFrameSet::AxisPosition(int X, int Y) const { return (rows_ ? Y : X) - inset_; }

void TSubFrameSet::FrameMouseDown(gui::TControl* Sender, gui::TMouseButton Button, gui::TShiftState Shift, int X,
                                  int Y) {
  if (Button != gui::mbLeft) return;
  if (NearOuterEdge(X, Y)) {
    // The enclosing set's border; the top set has none around it.
    if (TFrameBase* parent = ParentBase()) parent->FrameMouseDown(Sender, Button, Shift, X + Left(), Y + Top());
    return;
  }
  if (!Sender || (Sender->Cursor() != gui::crVSplit && Sender->Cursor() != gui::crHSplit)) return;
  const int index = dragIndex_;
  if (index <= 0 || index >= PlacedCount() || masterSet_->DragSet) return;
  masterSet_->DragSet = this;
  // The pointer stays between the neighbouring borders.
  const int near = inset_ + positions_[static_cast<std::size_t>(index - 1)] + 1;
  const int far = inset_ + positions_[static_cast<std::size_t>(index + 1)] - 1;
  const win::POINT from = ClientToScreen(rows_ ? win::POINT{0, near} : win::POINT{near, 0});
  const win::POINT to = ClientToScreen(rows_ ? win::POINT{ClientWidth(), far} : win::POINT{far, ClientHeight()});
  const win::RECT band{from.x, from.y, to.x, to.y};
  win::ClipCursor(&band);
  ShowDragLine();
}

void TSubFrameSet::FrameMouseMove(gui::TControl* Sender, gui::TShiftState Shift, int X, int Y) {
  if (NearOuterEdge(X, Y) && !IsTopSet()) {
    if (TFrameBase* parent = ParentBase()) parent->FrameMouseMove(Sender, Shift, X + Left(), Y + Top());
    return;
  }
  TrackBorderCursor(Sender, X, Y);
}

void TSubFrameSet::FrameMouseUp(gui::TControl* Sender, gui::TMouseButton Button, gui::TShiftState Shift, int X,
                                int Y) {
  if (masterSet_->DragSet == this) {
    if (Button == gui::mbLeft) FinishDrag(X, Y);
    return;
  }
  if (TFrameBase* parent = ParentBase()) {
    parent->FrameMouseUp(Sender, Button, Shift, X + Left(), Y + Top());
  } else if (masterSet_->DragSet && Button == gui::mbLeft) {
    masterSet_->DragSet->CancelDrag();  // released where the drag could not be followed
  }
}

void TSubFrameSet::TrackBorderCursor(gui::TControl* Sender, int X, int Y) {
  if (TSubFrameSet* dragged = masterSet_->DragSet) {
    dragged->ShowDragLine();
    return;
  }
  const int axis = AxisPosition(X, Y);
  int nearest = 9999;
  dragIndex_ = 0;
  for (int index = 1; index < PlacedCount(); ++index) {
    const int position = positions_[static_cast<std::size_t>(index)];
    const int distance = std::abs(axis - position);
    if (distance < nearest || (distance == nearest && axis >= position)) {
      nearest = distance;
      dragIndex_ = index;
    }
  }
  const bool onBorder =
      dragIndex_ > 0 && nearest <= kBorderReach && !noResize_[static_cast<std::size_t>(dragIndex_)];
  const gui::TCursor normal = masterSet_->FrameViewer().ViewerCursor();
  if (Sender) Sender->SetCursor(onBorder ? (rows_ ? gui::crVSplit : gui::crHSplit) : normal);
  if (IsTopSet() && !onBorder) SetCursor(normal);
}

void TSubFrameSet::FinishDrag(int X, int Y) {
  CancelDrag();
  const int count = PlacedCount();
  const int index = dragIndex_;
  if (index <= 0 || index >= count) return;
  const auto at = [this](int i) -> int& { return positions_[static_cast<std::size_t>(i)]; };
  // The border stays strictly between its neighbours, wherever the pointer was.
  int low = at(index - 1) + 1, high = at(index + 1) - 1;
  if (low > high) low = high = at(index);
  at(index) = std::clamp(AxisPosition(X, Y), low, high);
  for (int k = 0; k < count; ++k) {
    sizes_[static_cast<std::size_t>(k)] = Share(at(k + 1) - at(k), sizeTotal_, at(count));
  }
  PlaceChildFrames();
  Invalidate();
}

void TSubFrameSet::CancelDrag() {
  if (masterSet_->DragSet == this) masterSet_->DragSet = nullptr;
  HideDragLine();
  win::ClipCursor(nullptr);
}

// The drag line is drawn on the screen by inversion, so drawing it again erases it.
void TSubFrameSet::ShowDragLine() {
  HideDragLine();
  win::POINT pointer{};
  win::GetCursorPos(&pointer);
  const win::POINT origin = ClientToScreen({0, 0});
  dragLine_ = rows_ ? win::RECT{origin.x, pointer.y - 1, origin.x + Width(), pointer.y + 1}
                    : win::RECT{pointer.x - 1, origin.y, pointer.x + 1, origin.y + Height()};
  const win::HDC screen = win::GetDC(0);
  win::DrawFocusRect(screen, &dragLine_);
  win::ReleaseDC(0, screen);
  lineShown_ = true;
}

void TSubFrameSet::HideDragLine() {
  if (!lineShown_) return;
  const win::HDC screen = win::GetDC(0);
  win::DrawFocusRect(screen, &dragLine_);
  win::ReleaseDC(0, screen);
  lineShown_ = false;
}

}  // namespace viewer
