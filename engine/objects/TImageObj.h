#pragma once
// TImageObj: an image standing in a text section (IMG, and the images of
// block backgrounds and list markers). It fetches its picture through the
// document, sizes its box from attributes, style and the natural size, and
// draws the picture, or the waiting / error picture with the ALT text.
#include <memory>
#include <string>

#include "engine/objects/DocumentImages.h"
#include "engine/objects/FloatingAttributes.h"
#include "engine/text/TInlineObject.h"
#include "images/ImageKinds.h"

namespace gui {
class TBitmap;
class TObject;
}
namespace images {
class TGIFImage;
}

namespace engine {

class TAttributeList;
class TProperties;
class TAnimatedGif;

class TImageObj : public TInlineObject {
 public:
  TImageObj(TSectionList* document, TAttributeList* attributes, int pos);
  // An image for a source alone: no border, natural size.
  TImageObj(TSectionList* document, const std::string& source);
  ~TImageObj() override;

  std::unique_ptr<TInlineObject> CreateCopy(TSectionList* document) const override;
  void ApplyStyle(TProperties& prop);
  void ComputeSize(gui::TCanvas* canvas, TFontObj* run, int availableWidth, int availableHeight) override;
  bool PercentSized() const override { return WidthInPercent || HeightInPercent; }
  void Draw(gui::TCanvas* canvas, int x, TFontObj* run, int baselineY, int lineTopY) override;
  bool MapLinkAt(int innerX, int innerY, std::unique_ptr<TUrlTarget>& urlTarget, std::string& title) const override;
  // The image this one waited for has come (nothing in loaded: it could not
  // be decoded, and the error picture shows). The pending list is the caller's.
  void ImageDelivered(TLoadedImage loaded);
  // 0 normal, 1 hover, 2 pressed: ACTIVE GIFs show their frames for them.
  void SetHoverState(int state);

  // The largest width or height taken from attributes or style.
  static constexpr int kMaxWantedSize = engine::kMaxWantedSize;

  TSectionList* Document;
  std::string Source;
  std::string Alt;
  std::u16string AltWide;
  int WantedWidth = -1;
  int WantedHeight = -1;
  bool WidthInPercent = false;
  bool HeightInPercent = false;
  bool SizeKnown = false;
  bool BorderOff = false;
  int BorderWidth = 0;
  int PictureWidth = 0;
  int PictureHeight = 0;
  int StandInWidth = 0;
  int StandInHeight = 0;
  int HoverState = 0;
  bool Active = false;
  bool ClientMap = false;
  std::string MapName;
  bool Pending = false;
  images::TMaskKind MaskKind = images::mkNone;
  gui::TObject* Image = nullptr;        // what is drawn (not owned unless in ownedImage_)
  gui::TObject* CachedImage = nullptr;  // from the cache (released by key)
  gui::TBitmap* Mask = nullptr;

 private:
  void ReadAttributes(TAttributeList& attributes);
  void ApplyAlignAndFloat(TProperties& prop);
  void FetchImage();
  void TakeLoaded(TLoadedImage loaded);
  void TakeGif(images::TGIFImage* gif, bool shared);
  void SizePicture(int availableWidth, int availableHeight, bool missing);
  void SizeStandIn(gui::TCanvas* canvas);
  bool IsMissingPicture(const gui::TObject* image) const;
  void DrawPicture(gui::TCanvas& canvas, int x, int y, gui::TBitmap* mask, gui::TObject* image);
  void DrawAltText(gui::TCanvas& canvas, TFontObj* run, int left, int top, int offset);
  void DrawFocusFrame(gui::TCanvas& canvas, int left, int top);

  int floatTop_ = 0;   // a float's outer top as layout placed it
  int drawnTop_ = 0;   // TopY as the last paint left it
  bool hSpaceGiven_ = false;
  int hSpace_ = 0;
  bool releaseFromCache_ = false;
  std::unique_ptr<gui::TObject> ownedImage_;  // a cache refusal or a document without a cache
  std::unique_ptr<gui::TBitmap> ownedMask_;
  std::unique_ptr<images::TGIFImage> ownedGif_;  // a copy of a GIF another image uses
  std::unique_ptr<TAnimatedGif> animation_;
};

}  // namespace engine
