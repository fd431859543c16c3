#include "engine/objects/DocumentImages.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "engine/common/EngineStartup.h"
#include "engine/document/TSectionList.h"
#include "images/ImageLoading.h"
#include "images/TGIFImage.h"
#include "images/TStringBitmapList.h"
#include "engine/objects/TImageObj.h"
#include "platform/gui/TWinControl.h"
#include "platform/gui/TStream.h"
#include "platform/win/gdi/Surface.h"

namespace engine {

using images::TMaskKind;

namespace {

images::TStringBitmapList* CacheOf(TSectionList& document) {
  return dynamic_cast<images::TStringBitmapList*>(document.BitmapList);
}

// A cached image: the entry's mask, made once from the corner colour when
// the caller asks for one and the entry has none.
void TakeFromCache(images::TStringBitmapList& cache, int index, TMaskKind& maskKind, TLoadedImage& result) {
  images::TBitmapItem* item = cache.Item(index);
  result.Image = cache.UseImage(index);
  result.FromCache = true;
  result.CacheUsers = item->UsageCount;
  auto* bitmap = dynamic_cast<gui::TBitmap*>(result.Image);
  if (!bitmap) return;
  if (item->MaskKind == images::mkSourceMask || item->MaskKind == images::mkKeyColor) {
    maskKind = item->MaskKind;
  } else if (maskKind == images::mkCornerColor && !item->Mask) {
    item->Mask = images::TransparentMaskOf(*bitmap, false, 0);
    if (item->Mask) item->MaskKind = images::mkCornerColor;
  }
  result.Mask = item->Mask.get();
}

// A host stream: GIF data through the animated loader, the rest (and GIF
// data it refuses) through the common loader.
std::unique_ptr<gui::TObject> ImageFromHostStream(gui::TMemoryStream& stream, std::unique_ptr<gui::TBitmap>& mask,
                                                  TMaskKind& maskKind) {
  const images::TImageKind kind =
      images::DetectImageKind(stream.Memory(), static_cast<std::size_t>(stream.Size()));
  if (kind == images::ikGif87a || kind == images::ikGif89a) {
    bool nonAnimated = true;
    stream.SetPosition(0);
    std::unique_ptr<images::TGIFImage> gif = images::GifImageFromStream(nonAnimated, stream);
    if (gif && !nonAnimated) return gif;
    if (gif) {
      auto bitmap = std::make_unique<gui::TBitmap>();
      bitmap->Assign(gif->GetFirstFrameBitmap());
      if (gif->IsTransparent() && gif->GetFirstFrameMask()) {
        mask = std::make_unique<gui::TBitmap>();
        mask->Assign(gif->GetFirstFrameMask());
        maskKind = images::mkSourceMask;
      } else if (maskKind == images::mkCornerColor) {
        mask = images::TransparentMaskOf(*bitmap, false, 0);
      }
      return bitmap;
    }
  }
  return images::ImageFromStream(&stream, maskKind, mask);
}

// The host's bitmap, then the host's stream (or the expanded file when it
// gives none). A stream's image replaces the bitmap, which is then freed.
std::unique_ptr<gui::TObject> AskHost(TSectionList& document, const std::string& name,
                                      std::unique_ptr<gui::TBitmap>& mask, TMaskKind& maskKind, bool& delayed) {
  std::unique_ptr<gui::TObject> image;
  if (document.OnBitmapRequest) {
    std::unique_ptr<gui::TBitmap> bitmap;
    constexpr gui::TColor kNoColor = static_cast<gui::TColor>(-1);
    gui::TColor color = kNoColor;
    document.OnBitmapRequest(name, bitmap, color);
    if (bitmap && !bitmap->Empty()) {
      if (color != kNoColor) {
        mask = images::TransparentMaskOf(*bitmap, true, color);
        maskKind = images::mkSourceMask;
      } else if (maskKind == images::mkCornerColor) {
        mask = images::TransparentMaskOf(*bitmap, false, 0);
      }
      image = std::move(bitmap);
    }
  }
  if (!document.OnImageRequest) return image;
  gui::TMemoryStream* stream = nullptr;
  document.OnImageRequest(name, stream);
  if (stream && stream == PendingImageStream) {
    delayed = true;
    return image;
  }
  if (!stream) {
    const std::string fileName = document.ExpandDocumentName ? document.ExpandDocumentName(name) : name;
    mask.reset();
    return LoadImageFromFile(fileName, mask, maskKind);
  }
  if (stream->Memory() && stream->Size() >= 1) {
    std::unique_ptr<gui::TBitmap> streamMask;
    TMaskKind streamKind = maskKind;
    std::unique_ptr<gui::TObject> fromStream = ImageFromHostStream(*stream, streamMask, streamKind);
    if (fromStream) {
      mask = std::move(streamMask);
      maskKind = streamKind;
      return fromStream;
    }
  }
  return image;
}

}  // namespace

std::string ImageKeyOf(const std::string& name) { return images::TStringBitmapList::KeyOf(name); }

std::string ExpandImageName(TSectionList& document, const std::string& source) {
  if (!document.OnBitmapRequest && !document.OnImageRequest) {
    return document.ExpandDocumentName ? document.ExpandDocumentName(source) : source;
  }
  if (!document.OnExpandName) return source;
  std::string result = source;
  document.OnExpandName(source, result);
  return result;
}

std::unique_ptr<gui::TObject> LoadImageFromFile(const std::string& fileName, std::unique_ptr<gui::TBitmap>& mask,
                                                TMaskKind& maskKind) {
  mask.reset();
  const images::TImageKind kind = images::DetectImageFileKind(fileName);
  try {
    if (kind != images::ikGif87a && kind != images::ikGif89a) return images::ImageFromFile(fileName, maskKind, mask);
    gui::TMemoryStream stream;
    stream.LoadFromFile(fileName, gui::TFileKind::Image);
    return ImageFromHostStream(stream, mask, maskKind);
  } catch (const std::exception&) {
    // An unreadable file shows as a missing image.
    mask.reset();
    return nullptr;
  }
}

TLoadedImage LoadCachedImage(TSectionList& document, const std::string& name, TMaskKind& maskKind) {
  TLoadedImage result;
  if (name.empty()) return result;
  const std::string key = ImageKeyOf(name);
  images::TStringBitmapList* cache = CacheOf(document);
  if (cache) {
    const int index = cache->IndexOf(key);
    if (index >= 0) {
      TakeFromCache(*cache, index, maskKind, result);
      return result;
    }
  }
  std::unique_ptr<gui::TBitmap> mask;
  std::unique_ptr<gui::TObject> image;
  {
    // An image past what is left of the budget is not decoded: it shows as missing.
    const win::SurfaceAllowanceScope allowance(cache ? cache->PixelsAvailable() : win::kMaxSurfacePixels);
    if (!document.OnBitmapRequest && !document.OnImageRequest) {
      image = LoadImageFromFile(name, mask, maskKind);
    } else {
      image = AskHost(document, name, mask, maskKind, result.Delayed);
    }
  }
  if (image && cache && !cache->MakeRoom(images::ImagePixels(image.get()))) image.reset();
  if (!image) {
    mask.reset();
    return result;
  }
  result.Image = image.get();
  result.Mask = mask.get();
  if (cache) {
    const TMaskKind kind = mask ? maskKind : images::mkNone;
    auto item = std::make_unique<images::TBitmapItem>(std::move(image), std::move(mask), kind);
    images::TBitmapItem* raw = item.get();
    try {
      cache->AddObject(key, raw);
      item.release();
      result.CacheUsers = std::max(1, raw->UsageCount);
      return result;
    } catch (const std::exception&) {
      // The cache refused the entry: the caller keeps the image.
      image = std::move(raw->MImage);
      mask = std::move(raw->Mask);
    }
  }
  result.OwnedImage = std::move(image);
  result.OwnedMask = std::move(mask);
  result.CacheUsers = 1;
  return result;
}

TLoadedImage LoadBackgroundImage(TSectionList& document, const std::string& name, TMaskKind& maskKind) {
  try {
    return LoadCachedImage(document, name, maskKind);
  } catch (const std::bad_alloc&) {
    return {};
  }
}

}  // namespace engine

namespace engine {

void ReleaseCachedImage(TSectionList& document, const std::string& name) {
  if (auto* cache = CacheOf(document)) cache->ReleaseImage(ImageKeyOf(name));
}

void GetBackgroundImage(TSectionList& document) {
  if (!document.ShowImages || document.BackgroundImageLoaded || document.BackgroundImageName.empty()) return;
  document.BackgroundImageLoaded = true;
  const std::string name = ExpandImageName(document, document.BackgroundImageName);
  document.BackgroundImageName = name;
  TMaskKind kind = images::mkNone;
  TLoadedImage loaded = LoadCachedImage(document, name, kind);
  if (!loaded.Image) {
    if (loaded.Delayed) document.AddMissingImage(ImageKeyOf(name), nullptr);
    return;
  }
  // The entry stays for this document (entries age only when the next one
  // starts), so the background holds no use of it.
  if (!loaded.OwnedImage) ReleaseCachedImage(document, name);
}

}  // namespace engine

namespace engine {

namespace {

// Decodes a delivered stream for one waiting image (a document without a cache).
TLoadedImage DecodeDelivered(gui::TMemoryStream& stream, TMaskKind& maskKind) {
  TLoadedImage result;
  std::unique_ptr<gui::TBitmap> mask;
  std::unique_ptr<gui::TObject> image;
  if (stream.Memory() && stream.Size() >= 1) {
    try {
      image = ImageFromHostStream(stream, mask, maskKind);
    } catch (const std::exception&) {
      image.reset();
    }
  }
  if (!image) return result;
  result.Image = image.get();
  result.Mask = mask.get();
  result.OwnedImage = std::move(image);
  result.OwnedMask = std::move(mask);
  result.CacheUsers = 1;
  return result;
}

// Puts the decoded stream into the cache under key; false when it cannot be decoded.
bool CacheDelivered(images::TStringBitmapList& cache, const std::string& key, gui::TMemoryStream& stream) {
  if (cache.IndexOf(key) >= 0) return true;
  TMaskKind kind = images::mkNone;
  TLoadedImage decoded;
  {
    const win::SurfaceAllowanceScope allowance(cache.PixelsAvailable());
    decoded = DecodeDelivered(stream, kind);
  }
  if (!decoded.Image || !cache.MakeRoom(images::ImagePixels(decoded.Image))) return false;
  const TMaskKind entryKind = decoded.OwnedMask ? kind : images::mkNone;
  auto item = std::make_unique<images::TBitmapItem>(std::move(decoded.OwnedImage), std::move(decoded.OwnedMask),
                                                    entryKind);
  try {
    cache.AddObject(key, item.get());
    item.release();
  } catch (const std::exception&) {
    return false;
  }
  // The entry stays for this document; only the images that take it count as users.
  cache.ReleaseImage(key);
  return true;
}

}  // namespace

bool InsertImage(TSectionList& document, const std::string& src, gui::TMemoryStream& stream) {
  const std::string key = ImageKeyOf(src);
  const std::vector<TIDObject*> waiting = document.TakeMissingImages(key);
  if (waiting.empty()) return false;
  images::TStringBitmapList* cache = CacheOf(document);
  const bool cached = cache && CacheDelivered(*cache, key, stream);
  for (TIDObject* object : waiting) {
    auto* image = dynamic_cast<TImageObj*>(object);
    if (!image) continue;  // the background: painted from the cache under its name
    TMaskKind kind = image->MaskKind;
    TLoadedImage loaded;
    if (cached) {
      loaded = LoadCachedImage(document, src, kind);
    } else if (!cache) {
      stream.SetPosition(0);
      loaded = DecodeDelivered(stream, kind);
    }
    image->MaskKind = kind;
    image->ImageDelivered(std::move(loaded));
  }
  if (document.PPanel) document.PPanel->Invalidate();
  return true;
}

}  // namespace engine
