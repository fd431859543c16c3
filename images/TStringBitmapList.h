#pragma once
// The image cache: decoded images by source name, so that a document shown
// again, or several documents and frames, decode an image once. Entries
// count the image objects using them and the documents shown since their
// last use; unused entries older than the cache limit are freed.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "images/ImageKinds.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TStringList.h"

namespace images {

// One cache entry; it owns its image (a TBitmap, a GDI+ image or a
// TGIFImage) and its mask.
class TBitmapItem : public gui::TObject {
 public:
  TBitmapItem(std::unique_ptr<gui::TObject> Image, std::unique_ptr<gui::TBitmap> Mask, TMaskKind Kind);
  ~TBitmapItem() override;

  int AccessCount = 0;  // documents shown since the last use
  int UsageCount = 0;   // image objects using it now
  std::int64_t Pixels = 0;  // counted against the cache's budget while held
  TMaskKind MaskKind;
  std::unique_ptr<gui::TObject> MImage;
  std::unique_ptr<gui::TBitmap> Mask;
};

// The decoded pixels of an image object (a GIF's frames all count).
std::int64_t ImagePixels(gui::TObject* Image);

// Keys are source names, trimmed and upper-cased; every lookup here does
// the same to the name it is given. The images held keep within a budget of
// decoded pixels: a viewer control's cache (a frame viewer's, for all its
// frames) is its budget, and an image held once counts once.
class TStringBitmapList : public gui::TStringList {
 public:
  static constexpr int kDefaultCacheLimit = 4;
  static constexpr std::int64_t kPixelBudget = std::int64_t{1} << 28;

  TStringBitmapList();
  ~TStringBitmapList() override;

  static std::string KeyOf(std::string_view Name);

  // Takes ownership of a TBitmapItem, whose usage count grows by one. A
  // key already present keeps its entry, which counts the new user; the new
  // item is kept aside until Clear so that its image stays valid.
  int AddObject(const std::string& S, gui::TObject* AObject) override;
  int IndexOf(std::string_view S) const override;
  void Delete(int Index) override;
  // Frees every entry; the cache limit stays.
  void Clear() override;

  TBitmapItem* Item(int Index) const;
  // The entry's image: its access count becomes 0, its usage count grows.
  gui::TObject* UseImage(int Index);
  // One user fewer for the entry of Name; unknown names change nothing.
  void ReleaseImage(std::string_view Name);
  // Frees unused entries aged more than N documents, then keeps N as the limit.
  void SetCacheLimit(int N);
  int CacheLimit() const { return cacheLimit_; }
  // Ages every entry by one document and frees the unused ones past the limit.
  void AgeAndPurge();

  std::int64_t PixelsHeld() const { return pixelsHeld_; }
  std::int64_t PixelBudget() const { return pixelBudget_; }
  void SetPixelBudget(std::int64_t Pixels) { pixelBudget_ = Pixels; }
  // The most a new image may hold: the budget less what images in use hold
  // (unused entries make room when needed).
  std::int64_t PixelsAvailable() const;
  // Frees unused entries until Pixels more fit the budget; false when they cannot.
  bool MakeRoom(std::int64_t Pixels);

 private:
  void FreeItem(int Index);

  int cacheLimit_ = kDefaultCacheLimit;
  std::int64_t pixelsHeld_ = 0;
  std::int64_t pixelBudget_ = kPixelBudget;
  std::vector<std::unique_ptr<TBitmapItem>> parked_;
};

}  // namespace images
