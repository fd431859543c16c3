#pragma once
// The scroll-bar control. Its numbers live in the window's scroll
// information (SB_CTL), so that code writing them with SetScrollInfo is
// shown too. The user's presses, drags and keys go to the parent as
// WM_HSCROLL / WM_VSCROLL; the parent reflects them back (CN_HSCROLL /
// CN_VSCROLL), where the bar moves its Position (no further than the last
// full page), raising OnScroll and then OnChange. PartRect tells hosts and tests where the arrows, the trough and
// the thumb are.
#include <functional>

#include "platform/gui/ScrollBarTracker.h"
#include "platform/gui/TCustomControl.h"

namespace gui {

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

class TScrollBar : public TCustomControl {
 public:
  explicit TScrollBar(TComponent* AOwner);
  ~TScrollBar() override;

  TScrollBarKind Kind() const { return kind_; }
  // Turns the bar, swapping its width and height.
  void SetKind(TScrollBarKind Value);
  int Position() const { return position_; }
  void SetPosition(int Value) { SetParams(Value, min_, max_); }
  int Min() const { return min_; }
  void SetMin(int Value) { SetParams(position_, Value, max_); }
  int Max() const { return max_; }
  void SetMax(int Value) { SetParams(position_, min_, Value); }
  // Sets all three; Max below Min is taken as Min and Position is kept
  // within them. OnChange runs when Position changed.
  void SetParams(int APosition, int AMin, int AMax);
  int PageSize() const { return pageSize_; }
  void SetPageSize(int Value);
  int SmallChange() const { return smallChange_; }
  void SetSmallChange(int Value) { smallChange_ = Value; }
  int LargeChange() const { return largeChange_; }
  void SetLargeChange(int Value) { largeChange_ = Value; }

  // Where a part of the bar is, in the bar's own coordinates (empty when the
  // part is not there, like the thumb of a bar that cannot scroll).
  win::RECT PartRect(ScrollBarPart Part);

  void WndProc(TMessage& Message) override;

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

 protected:
  virtual void Scroll(TScrollCode ScrollCode, int& ScrollPos);
  virtual void Change();
  // A reflected WM_HSCROLL / WM_VSCROLL: the new position from the request.
  virtual void DoScroll(TMessage& Message);
  void CreateWnd() override;
  void KeyDown(win::WORD& Key, TShiftState Shift) override;
  void Paint() override;
  bool EraseBackground(win::HDC) override { return true; }
  // The numbers as the window has them (the fields before it exists).
  win::SCROLLINFO CurrentInfo();

 private:
  void WriteScrollInfo();
  void RequestScroll(win::WORD Code, int Position);
  void HandleMouse(TMessage& Message);
  void HandleKey(win::WORD Key);

  TScrollBarKind kind_ = sbHorizontal;
  int position_ = 0;
  int min_ = 0;
  int max_ = 100;
  int pageSize_ = 0;
  int smallChange_ = 1;
  int largeChange_ = 1;
  ScrollBarTracker tracker_;
};

}  // namespace gui
