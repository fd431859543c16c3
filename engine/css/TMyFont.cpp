#include "engine/css/TMyFont.h"

#include "platform/gui/TCanvas.h"
#include "platform/win/gdi/DcAttributes.h"

namespace engine {

void TMyFont::Assign(const gui::TPersistent* Source) {
  if (const auto* font = dynamic_cast<const TMyFont*>(Source)) {
    AssignMyFont(*font);
    return;
  }
  gui::TFont::Assign(Source);
}

void TMyFont::AssignMyFont(const TMyFont& Source) {
  bgColor = Source.bgColor;
  tmHeight = Source.tmHeight;
  tmDescent = Source.tmDescent;
  tmExternalLeading = Source.tmExternalLeading;
  tmAveCharWidth = Source.tmAveCharWidth;
  tmMaxCharWidth = Source.tmMaxCharWidth;
  tmCharset = Source.tmCharset;
  CharExtra = Source.CharExtra;
  AssignFont(Source);
}

void ApplyFontToCanvas(const TMyFont& font, gui::TCanvas& canvas) {
  canvas.SetFont(font);
  win::SetTextCharacterExtra(canvas.Handle(), font.CharExtra);
}

std::shared_ptr<TMyFont> CopyFont(const TMyFont& font, int pixelsPerInch) {
  auto copy = std::make_shared<TMyFont>();
  copy->SetPixelsPerInch(pixelsPerInch);
  copy->AssignMyFont(font);
  return copy;
}

}  // namespace engine
