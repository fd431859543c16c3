#pragma once
// The classic desktop look that the standard controls share: 3-D edges in
// the system colours, push-button faces, check-box and radio glyphs, arrow
// glyphs and scroll bars; and measuring a control's font outside painting.
#include <optional>
#include <string_view>
#include <vector>

#include "platform/gui/TCanvas.h"
#include "platform/win/gdi/SelectScope.h"
#include "platform/win/user/ScrollBars.h"

namespace gui {

// The sunken two-pixel edge of edits, lists and check boxes; shrinks Rect.
void DrawSunkenEdge(TCanvas& Canvas, win::RECT& Rect);
// A push button's two-pixel frame, raised or pressed; shrinks Rect.
void DrawButtonEdge(TCanvas& Canvas, win::RECT& Rect, bool Pressed);
// Fills Rect with one colour.
void FillSolid(TCanvas& Canvas, const win::RECT& Rect, TColor Color);

// The 13 x 13 check box with its tick at (X, Y).
constexpr int kCheckBoxSize = 13;
void DrawCheckBoxGlyph(TCanvas& Canvas, int X, int Y, bool Checked, bool Enabled, bool Pushed);
// The 12 x 12 radio circle with its dot at (X, Y).
constexpr int kRadioSize = 12;
void DrawRadioGlyph(TCanvas& Canvas, int X, int Y, bool Checked, bool Enabled, bool Pushed);

enum class ArrowDirection { Up, Down, Left, Right };
// A small filled triangle centred in Rect (grey with a white shadow when
// disabled).
void DrawArrowGlyph(TCanvas& Canvas, const win::RECT& Rect, ArrowDirection Direction, bool Enabled);
// Text drawn transparently, greyed with a white shadow when disabled.
void DrawControlText(TCanvas& Canvas, int X, int Y, std::u16string_view Text, bool Enabled, TColor Color);
void DrawFocusRectangle(TCanvas& Canvas, const win::RECT& Rect);

// Scroll bars: two arrow buttons, the trough and the thumb, which is as long
// as the page is of the range (never shorter than kMinThumb, the arrow size
// without a page) and only there when the range is scrollable.
enum class ScrollBarPart { None, LineUp, PageUp, Thumb, PageDown, LineDown };
struct ScrollBarLayout {
  win::RECT lineUp{}, pageUp{}, thumb{}, pageDown{}, lineDown{};
  bool hasThumb = false;
  int troughStart = 0;   // along the bar
  int troughLength = 0;
  int thumbLength = 0;
};
constexpr int kMinThumb = 8;
ScrollBarLayout LayoutScrollBar(const win::RECT& Bar, bool Vertical, const win::SCROLLINFO& Info);
ScrollBarPart ScrollBarPartAt(const ScrollBarLayout& Layout, win::POINT Point);
// The position whose thumb starts ThumbStart pixels along the bar.
int ScrollPositionForThumb(const ScrollBarLayout& Layout, const win::SCROLLINFO& Info, int ThumbStart);
void PaintScrollBar(TCanvas& Canvas, const win::RECT& Bar, bool Vertical, const win::SCROLLINFO& Info, bool Enabled,
                    ScrollBarPart Pressed);

// A font selected into a memory DC for measuring text outside painting. It
// measures with its own copy of the font, so that it is right even while
// the font's change handlers run (the font's handle is renewed after them).
class FontMeasure {
 public:
  explicit FontMeasure(const TFont& Font);
  ~FontMeasure();
  FontMeasure(const FontMeasure&) = delete;
  FontMeasure& operator=(const FontMeasure&) = delete;
  win::HDC DC() const { return dc_; }
  int LineHeight() const { return lineHeight_; }
  int Width(std::u16string_view Text) const;
  // Ends[i] := the width of Text's first i + 1 characters.
  void PartialWidths(std::u16string_view Text, std::vector<int>& Ends) const;

 private:
  TFont font_;
  win::HDC dc_ = 0;
  std::optional<win::SelectScope> select_;
  int lineHeight_ = 0;
};

}  // namespace gui
