#pragma once
// TMyFont: a document font that carries the metrics the device measured and its letter spacing.
#include <memory>

#include "engine/css/CssColors.h"
#include "platform/gui/TFont.h"

namespace gui {
class TCanvas;
}

namespace engine {

class TProperties;

class TMyFont : public gui::TFont {
 public:
  TColor bgColor = kNoColor;
  int tmHeight = 0;
  int tmDescent = 0;
  int tmExternalLeading = 0;
  int tmAveCharWidth = 0;
  int tmMaxCharWidth = 0;
  int tmCharset = 0;
  int CharExtra = 0;  // letter spacing, pixels

  // The measured values when Source is a TMyFont, then the font description.
  void Assign(const gui::TPersistent* Source) override;
  // Assign for a source known to be a TMyFont (a run taking its element's font).
  void AssignMyFont(const TMyFont& Source);
};

// The document font of props, made on first use and kept by props (CachedFont) until its font
// values change; elements of the same font values share one. GetFont hands out copies of it.
const TMyFont& ElementFont(TProperties& props);
// Lets go of the element fonts this thread remembers for elements to come (elements that took
// one keep it).
void ForgetRecentElementFonts();

// Whether a and b describe the same font with the same measured values (a
// copy of one can stand for the other).
bool SameFont(const TMyFont& a, const TMyFont& b);

// A copy of font of its own, measured at pixelsPerInch.
std::shared_ptr<TMyFont> CopyFont(const TMyFont& font, int pixelsPerInch);

// Makes font the canvas font, with its letter spacing as the device's extra character spacing.
void ApplyFontToCanvas(const TMyFont& font, gui::TCanvas& canvas);

}  // namespace engine
