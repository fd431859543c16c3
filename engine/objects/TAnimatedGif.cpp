#include "engine/objects/TAnimatedGif.h"

#include "images/TGIFImage.h"
#include "platform/gui/TWinControl.h"

namespace engine {

void TAnimatedGif::SetAnimating(bool animating) { Gif->SetAnimating(animating); }

bool TAnimatedGif::AdvanceAnimation(gui::TWinControl* paintPanel) {
  const int before = Gif->CurrentFrame();
  Gif->AdvanceAnimation(paintPanel ? paintPanel->Handle() : 0);
  return Gif->CurrentFrame() != before;
}

int TAnimatedGif::CurrentFrame() const { return Gif->CurrentFrame(); }

}  // namespace engine
