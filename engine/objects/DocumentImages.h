#pragma once
// Image fetching for a document: the image cache first, then the viewer's
// request events (a bitmap, then a stream), then the file. Images that
// enter the cache belong to it; an image the cache could not take (or a
// document without a cache) is handed back owned.
#include <memory>
#include <string>

#include "images/ImageKinds.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TObject.h"
#include "platform/gui/TStream.h"

namespace engine {

class TSectionList;

struct TLoadedImage {
  gui::TObject* Image = nullptr;  // nullptr: nothing could be loaded
  gui::TBitmap* Mask = nullptr;
  // Set when the image (and its mask) did not enter the cache: the caller owns them.
  std::unique_ptr<gui::TObject> OwnedImage;
  std::unique_ptr<gui::TBitmap> OwnedMask;
  bool FromCache = false;
  int CacheUsers = 0;    // users of the cache entry after this one took it
  bool Delayed = false;  // the host will deliver the image later
};

// The one key used for the cache and the pending-image list.
std::string ImageKeyOf(const std::string& name);

// The image for Name. MaskKind asks for a corner-colour mask (mkCornerColor)
// and tells which mask came back.
TLoadedImage LoadCachedImage(TSectionList& document, const std::string& name, images::TMaskKind& maskKind);

// The same for pictures painted behind content (block and cell backgrounds): a
// picture there is no memory for is a missing one, an empty TLoadedImage.
TLoadedImage LoadBackgroundImage(TSectionList& document, const std::string& name, images::TMaskKind& maskKind);

// A file: GIFs through the animated loader (one frame becomes a bitmap with
// its mask), anything else through the common loader. nullptr when it fails.
std::unique_ptr<gui::TObject> LoadImageFromFile(const std::string& fileName, std::unique_ptr<gui::TBitmap>& mask,
                                                images::TMaskKind& maskKind);

// Gives back a use of a cached image taken by LoadCachedImage (nothing for an
// image that did not come from the cache).
void ReleaseCachedImage(TSectionList& document, const std::string& name);

// The name an image source is fetched under: the viewer's expansion when the
// host answers no requests, else the host's OnExpandName when given.
std::string ExpandImageName(TSectionList& document, const std::string& source);

}  // namespace engine

namespace engine {

// Loads the BODY background image into the image cache (the viewer paints it
// from there under BackgroundImageName, which becomes the expanded name).
// Once per document; a delayed image waits in the pending list with no
// object (the document itself).
void GetBackgroundImage(TSectionList& document);

// The host delivers an image it delayed (answered PendingImageStream for
// src): decoded once into the image cache and given to every image waiting
// under src's key, the background included. Data that cannot be decoded
// gives the waiting images the error picture. Answers whether anything was
// waiting: the viewer then lays the document out again and repaints.
bool InsertImage(TSectionList& document, const std::string& src, gui::TMemoryStream& stream);

}  // namespace engine
