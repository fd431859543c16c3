#include "engine/objects/BlockImageHooks.h"

#include <algorithm>
#include <new>
#include <memory>
#include <string>

#include "engine/document/DocumentSeams.h"
#include "engine/document/TBlock.h"
#include "engine/document/TBlockLI.h"
#include "engine/document/TSectionList.h"
#include "engine/objects/DocumentImages.h"
#include "engine/paint/BackgroundTiles.h"
#include "images/ImageDrawing.h"
#include "images/TGIFImage.h"
#include "platform/gui/Exception.h"

namespace engine {
namespace {

// An animated GIF stays still here: its first frame (and that frame's mask).
gui::TObject* StillImageOf(gui::TObject* image, gui::TBitmap*& mask) {
  if (auto* gif = dynamic_cast<images::TGIFImage*>(image)) {
    mask = gif->GetFirstFrameMask();
    return gif->GetFirstFrameBitmap();
  }
  return image;
}

// Fetches url into picture the first time only. A picture that cannot be
// had, or that the host will deliver later, leaves picture empty but marked
// fetched, so later paints do not ask the host again. width and height size
// the strip a one-pixel picture is widened to.
bool FetchPicture(TSectionList& document, const std::string& url, TBlockPicture& picture, int width, int height) {
  if (picture.Fetched) return picture.Image != nullptr;
  picture.Fetched = true;
  const std::string name = ExpandImageName(document, url);
  images::TMaskKind kind = images::mkNone;
  const TLoadedImage loaded = LoadBackgroundImage(document, name, kind);
  if (loaded.Image == nullptr) return false;
  try {
    gui::TBitmap* mask = loaded.Mask;
    gui::TObject* image = StillImageOf(loaded.Image, mask);
    if (image != nullptr) picture.Image = images::MakeTileBitmap(image, std::max(width, 1), std::max(height, 1));
    if (picture.Image && mask != nullptr) {
      picture.Mask = std::make_unique<gui::TBitmap>();
      picture.Mask->Assign(mask);
    }
  } catch (const gui::Exception&) {
    picture.Image.reset();  // a kind that cannot be drawn here: the block goes without
    picture.Mask.reset();
  } catch (const std::bad_alloc&) {
    picture.Image.reset();
    picture.Mask.reset();
  }
  if (loaded.FromCache) ReleaseCachedImage(document, name);
  return picture.Image != nullptr;
}

void PaintBlockBackground(TBlock& block, gui::TCanvas& canvas, const win::RECT& paddingBox, const win::RECT& clip) {
  TSectionList* document = block.Document;
  if (document == nullptr) return;
  TBlockPicture& picture = block.BackgroundPicture();
  if (!FetchPicture(*document, block.BackgroundImageUrl(), picture, paddingBox.right - paddingBox.left,
                    paddingBox.bottom - paddingBox.top))
    return;
  TileBackground(canvas, clip, paddingBox, *picture.Image, picture.Mask.get(), block.BackgroundPos(),
                 document->Printing);
}

bool PaintListImage(TBlockLI& item, gui::TCanvas& canvas, int x, int baselineY) {
  TSectionList* document = item.Document;
  if (document == nullptr || !FetchPicture(*document, item.ListImageUrl, item.ListPicture, 1, 1)) return false;
  TBlockPicture& picture = item.ListPicture;
  const int width = picture.Image->Width();
  const int height = picture.Image->Height();
  const int left = x - 16;
  const int top = baselineY - height;
  if (document->Printing) images::StretchBitmapAsDIB(canvas, left, top, width, height, picture.Image->Handle());
  else if (picture.Mask) images::BlitImageThroughMask(canvas.Handle(), picture.Image.get(), picture.Mask.get(), left, top, width, height);
  else canvas.Draw(left, top, picture.Image.get());
  return true;
}

}  // namespace

void InstallBlockImageHooks() {
  DocumentImageHooks& hooks = DefaultImageHooks();
  hooks.PaintBlockBackground = PaintBlockBackground;
  hooks.PaintListImage = PaintListImage;
}

void RemoveBlockImageHooks() {
  DocumentImageHooks& hooks = DefaultImageHooks();
  hooks.PaintBlockBackground = nullptr;
  hooks.PaintListImage = nullptr;
}

}  // namespace engine
