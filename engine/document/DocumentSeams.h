#pragma once
// What the document root needs of the parts of a document that later areas
// build: animated images, form controls, panels, deferred drawing and the
// inline box list. Each is a narrow interface the owning area implements.
#include <functional>
#include <memory>
#include <string>

#include "platform/gui/TBitmap.h"

#include "platform/win/Types.h"

namespace gui {
class TCanvas;
class TWinControl;
}

namespace engine {

class TBlock;
class TBlockLI;

// An animating image of the document (a GIF with frames).
class IAnimatedImage {
 public:
  virtual ~IAnimatedImage() = default;
  virtual void SetAnimating(bool animating) = 0;
  // Advances the frame when due; true when the shown frame changed.
  virtual bool AdvanceAnimation(gui::TWinControl* paintPanel) = 0;
  virtual int CurrentFrame() const = 0;
  // Set by painting for images that were drawn in the last paint.
  bool ShowIt = false;
};

// A form control placed in the document.
class IDocumentControl {
 public:
  virtual ~IDocumentControl() = default;
  virtual void SizeFromFont(gui::TCanvas* canvas) = 0;
  // The window control, or nullptr for controls without one.
  virtual gui::TWinControl* WindowControl() = 0;
  // Set when a paint placed the control in view.
  bool ShownFlag = false;
};

// A panel placed in the document.
class IDocumentPanel {
 public:
  virtual ~IDocumentPanel() = default;
  virtual gui::TWinControl* Panel() = 0;
  bool ShownFlag = false;
};

// An image whose drawing waits until the end of a paint.
class IDeferredDraw {
 public:
  virtual ~IDeferredDraw() = default;
  virtual void Draw(gui::TCanvas* canvas) = 0;
};

// The document's inline boxes, which re-resolve their positions after layout.
class IInlineList {
 public:
  virtual ~IInlineList() = default;
  virtual void NeedsConverting() = 0;
  virtual void Clear() = 0;
};

// Something the document owns as a whole (a form, an image map).
class IDocumentPart {
 public:
  virtual ~IDocumentPart() = default;
};

// Images that blocks and list items draw, which the image area loads and
// draws. Unset: blocks draw no background image and list items their marker.
struct DocumentImageHooks {
  // A block's background image over paddingBox (window coordinates), limited to clip.
  std::function<void(TBlock& block, gui::TCanvas& canvas, const win::RECT& paddingBox, const win::RECT& clip)>
      PaintBlockBackground;
  // A list item's image label drawn at x - 16 with its bottom on baselineY; false when the
  // image is not available (the item then draws its marker).
  std::function<bool(TBlockLI& item, gui::TCanvas& canvas, int x, int baselineY)> PaintListImage;
};

// The hooks a new document starts with (the image area fills them at start-up).
DocumentImageHooks& DefaultImageHooks();

// A picture the image area fetched for a block: asked for once, so a picture
// that failed or that the host delivers later is not asked for at every paint.
struct TBlockPicture {
  std::unique_ptr<gui::TBitmap> Image;
  std::unique_ptr<gui::TBitmap> Mask;
  bool Fetched = false;
};

}  // namespace engine
