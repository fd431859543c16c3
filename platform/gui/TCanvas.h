#pragma once
// A drawing surface over a device context. The canvas selects its Pen, Brush
// and Font into the DC when a drawing call needs them, and takes them out
// again before they change or the DC goes, so their handles are never deleted
// while selected. A plain TCanvas draws on a DC it is given; descendants make
// their own DC on demand (CreateHandle).
#include <string>
#include <string_view>
#include <vector>

#include "platform/gui/TBrush.h"
#include "platform/gui/TFont.h"
#include "platform/gui/TPen.h"
#include "platform/win/Types.h"

namespace gui {

class TGraphic;

class TCanvas : public TPersistent {
 public:
  TCanvas();
  ~TCanvas() override;

  // The DC; raises EInvalidOperation "Canvas does not allow drawing" when
  // there is none and the canvas cannot make one.
  win::HDC Handle();
  // Uses another DC (0: none); our objects leave the old one first.
  void SetHandle(win::HDC Value);
  // The DC with Font selected into it, for measuring text on the DC directly.
  win::HDC FontHandle();
  bool HandleAllocated() const { return handle_ != 0; }

  TFont& Font() { return font_; }
  TPen& Pen() { return pen_; }
  TBrush& Brush() { return brush_; }
  void SetFont(const TFont& Value) { font_.AssignFont(Value); }
  void SetPen(const TPen& Value) { pen_.Assign(&Value); }
  void SetBrush(const TBrush& Value) { brush_.Assign(&Value); }
  // The raster operation of CopyRect and of drawing bitmaps (SRCCOPY).
  win::DWORD CopyMode() const { return copyMode_; }
  void SetCopyMode(win::DWORD Value) { copyMode_ = Value; }

  win::POINT PenPos();
  void SetPenPos(win::POINT Value) { MoveTo(Value.x, Value.y); }
  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);  // leaves out the end point
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const win::RECT& Rect) { Rectangle(Rect.left, Rect.top, Rect.right, Rect.bottom); }
  void Ellipse(int X1, int Y1, int X2, int Y2);
  // The ellipse's outline counter-clockwise from the ray to (X3, Y3) to the ray to (X4, Y4).
  void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Polygon(const std::vector<win::POINT>& Points);
  void Polyline(const std::vector<win::POINT>& Points);
  void FillRect(const win::RECT& Rect);   // with Brush, no outline
  void FrameRect(const win::RECT& Rect);  // one pixel of Brush colour

  // Text in the ANSI code page or as UTF-16. TextOut moves PenPos to the end.
  void TextOut(int X, int Y, std::string_view Text);
  void TextOut(int X, int Y, std::u16string_view Text);
  // Draws Text at (X, Y) clipped to Rect; a solid brush fills Rect first.
  void TextRect(const win::RECT& Rect, int X, int Y, std::string_view Text);
  void TextRect(const win::RECT& Rect, int X, int Y, std::u16string_view Text);
  // DrawTextW with Font: Format takes the DT_ flags.
  void DrawText(std::u16string_view Text, win::RECT& Rect, win::UINT Format);
  win::SIZE TextExtent(std::string_view Text);
  win::SIZE TextExtent(std::u16string_view Text);
  int TextWidth(std::string_view Text) { return TextExtent(Text).cx; }
  int TextHeight(std::string_view Text) { return TextExtent(Text).cy; }

  // Draws a graphic at its own size, or scaled into Rect.
  void Draw(int X, int Y, TGraphic* Graphic);
  void StretchDraw(const win::RECT& Rect, TGraphic* Graphic);
  // Copies (scaling) Source of Canvas into Dest with CopyMode.
  void CopyRect(const win::RECT& Dest, TCanvas& Canvas, const win::RECT& Source);

  win::COLORREF Pixels(int X, int Y);
  void SetPixel(int X, int Y, TColor Color);
  // The clip box in logical units (the whole DC when not clipped).
  win::RECT ClipRect();

  // Canvases are used from one thread; locking only counts.
  void Lock() { ++lockCount_; }
  void Unlock() { if (lockCount_ > 0) --lockCount_; }
  bool TryLock() { Lock(); return true; }
  int LockCount() const { return lockCount_; }

  // Takes the pen, font and brush out of the DC; the next drawing call selects them again.
  void Refresh() { DeselectHandles(); }

  std::function<void(TObject* Sender)> OnChange;
  std::function<void(TObject* Sender)> OnChanging;

 protected:
  // Descendants make a DC here (and call SetHandle).
  virtual void CreateHandle() {}
  // Before and after every drawing call.
  virtual void Changing();
  virtual void Changed();

  static constexpr unsigned csHandleValid = 1;
  static constexpr unsigned csFontValid = 2;
  static constexpr unsigned csPenValid = 4;
  static constexpr unsigned csBrushValid = 8;
  // Makes the DC and selects the objects that the next call needs.
  void RequiredState(unsigned Required);
  // Takes our objects out of the DC.
  void DeselectHandles();

 private:
  void SelectFont();
  void SelectPen();
  void SelectBrush();
  void DeselectFont();
  void DeselectPen();
  void DeselectBrush();

  win::HDC handle_ = 0;
  unsigned state_ = 0;
  TFont font_;
  TPen pen_;
  TBrush brush_;
  win::DWORD copyMode_;
  // What the DC held before our objects went in; put back when they leave.
  win::HGDIOBJ oldFont_ = 0;
  win::HGDIOBJ oldPen_ = 0;
  win::HGDIOBJ oldBrush_ = 0;
  int lockCount_ = 0;
};

}  // namespace gui
