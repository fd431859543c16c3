#pragma once
// The document's handle on an animated GIF: the animation timer advances
// the frames of the GIFs the last paint showed.
#include "engine/document/DocumentSeams.h"

namespace images {
class TGIFImage;
}

namespace engine {

class TAnimatedGif : public IAnimatedImage {
 public:
  explicit TAnimatedGif(images::TGIFImage* gif) : Gif(gif) {}
  void SetAnimating(bool animating) override;
  bool AdvanceAnimation(gui::TWinControl* paintPanel) override;
  int CurrentFrame() const override;

  images::TGIFImage* Gif;  // not owned
};

}  // namespace engine
