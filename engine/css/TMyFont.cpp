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

bool SameFont(const TMyFont& a, const TMyFont& b) {
  return a.Height() == b.Height() && a.Style() == b.Style() && a.Color() == b.Color() && a.Charset() == b.Charset() &&
         a.Pitch() == b.Pitch() && a.PixelsPerInch() == b.PixelsPerInch() && a.bgColor == b.bgColor &&
         a.tmHeight == b.tmHeight && a.tmDescent == b.tmDescent && a.tmExternalLeading == b.tmExternalLeading &&
         a.tmAveCharWidth == b.tmAveCharWidth && a.tmMaxCharWidth == b.tmMaxCharWidth && a.tmCharset == b.tmCharset &&
         a.CharExtra == b.CharExtra && a.Name() == b.Name();
}

std::shared_ptr<TMyFont> CopyFont(const TMyFont& font, int pixelsPerInch) {
  auto copy = std::make_shared<TMyFont>();
  copy->SetPixelsPerInch(pixelsPerInch);
  copy->AssignMyFont(font);
  return copy;
}

}  // namespace engine
