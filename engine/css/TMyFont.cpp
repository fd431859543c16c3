#include "engine/css/TMyFont.h"

#include "platform/gui/TCanvas.h"
#include "platform/win/gdi/DcAttributes.h"

namespace engine {

void TMyFont::Assign(const gui::TPersistent* Source) {
  if (const auto* font = dynamic_cast<const TMyFont*>(Source)) {
    bgColor = font->bgColor;
    tmHeight = font->tmHeight;
    tmDescent = font->tmDescent;
    tmExternalLeading = font->tmExternalLeading;
    tmAveCharWidth = font->tmAveCharWidth;
    tmMaxCharWidth = font->tmMaxCharWidth;
    tmCharset = font->tmCharset;
    CharExtra = font->CharExtra;
  }
  gui::TFont::Assign(Source);
}

void ApplyFontToCanvas(const TMyFont& font, gui::TCanvas& canvas) {
  canvas.SetFont(font);
  win::SetTextCharacterExtra(canvas.Handle(), font.CharExtra);
}

}  // namespace engine
