#include "images/TStringBitmapList.h"

#include <algorithm>
#include <cctype>

#include "images/GdiPlusLibrary.h"
#include "images/TGIFImage.h"
#include "images/TGpImage.h"
#include "images/ThtBitmap.h"

namespace images {

TBitmapItem::TBitmapItem(std::unique_ptr<gui::TObject> Image, std::unique_ptr<gui::TBitmap> Mask, TMaskKind Kind)
    : MaskKind(Kind), MImage(std::move(Image)), Mask(std::move(Mask)) {}

TBitmapItem::~TBitmapItem() = default;

std::int64_t ImagePixels(gui::TObject* Image) {
  auto area = [](std::int64_t width, std::int64_t height) { return std::max<std::int64_t>(width, 0) * std::max<std::int64_t>(height, 0); };
  if (auto* gif = dynamic_cast<TGIFImage*>(Image)) {
    if (gif->Strip()) return area(gif->Strip()->Width(), gif->Strip()->Height());
    return area(gif->Width(), gif->Height()) * std::max(gif->NumFrames(), 1);
  }
  if (auto* bitmap = dynamic_cast<gui::TBitmap*>(Image)) return area(bitmap->Width(), bitmap->Height());
  if (auto* gdiPlus = dynamic_cast<TGpImage*>(Image)) return area(gdiPlus->Width(), gdiPlus->Height());
  return 0;
}

// GDI+ runs while any cache lives.
TStringBitmapList::TStringBitmapList() { InitGDIPlus(); }

TStringBitmapList::~TStringBitmapList() {
  Clear();
  ExitGDIPlus();
}

std::string TStringBitmapList::KeyOf(std::string_view Name) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!Name.empty() && blank(Name.front())) Name.remove_prefix(1);
  while (!Name.empty() && blank(Name.back())) Name.remove_suffix(1);
  std::string key(Name);
  for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return key;
}

int TStringBitmapList::IndexOf(std::string_view S) const { return gui::TStringList::IndexOf(KeyOf(S)); }

TBitmapItem* TStringBitmapList::Item(int Index) const { return dynamic_cast<TBitmapItem*>(Objects(Index)); }

int TStringBitmapList::AddObject(const std::string& S, gui::TObject* AObject) {
  const std::string key = KeyOf(S);
  auto* item = dynamic_cast<TBitmapItem*>(AObject);
  const int existing = item ? IndexOf(key) : -1;
  if (existing >= 0) {
    // NOTE: a second load of the same source (a request answered while
    // another was pending) must neither drop the new image, which its
    // caller now draws, nor let the other entry be freed while either is in
    // use: the entry counts both users and the new item waits for Clear.
    item->Pixels = ImagePixels(item->MImage.get());
    parked_.emplace_back(item);
    pixelsHeld_ += item->Pixels;
    Item(existing)->UsageCount += 1;
    return existing;
  }
  const int index = gui::TStringList::AddObject(key, AObject);
  if (item) {
    item->UsageCount += 1;
    item->Pixels = ImagePixels(item->MImage.get());
    pixelsHeld_ += item->Pixels;
  }
  return index;
}

void TStringBitmapList::FreeItem(int Index) {
  if (TBitmapItem* item = Item(Index)) pixelsHeld_ -= item->Pixels;
  delete Objects(Index);
  PutObject(Index, nullptr);
}

void TStringBitmapList::Delete(int Index) {
  FreeItem(Index);
  gui::TStringList::Delete(Index);
}

void TStringBitmapList::Clear() {
  for (int i = 0; i < Count(); ++i) FreeItem(i);
  gui::TStringList::Clear();
  parked_.clear();
  pixelsHeld_ = 0;
}

std::int64_t TStringBitmapList::PixelsAvailable() const {
  std::int64_t inUse = 0;
  for (const auto& item : parked_) inUse += item->Pixels;
  for (int i = 0; i < Count(); ++i) {
    const TBitmapItem* item = Item(i);
    if (item && item->UsageCount > 0) inUse += item->Pixels;
  }
  return std::max<std::int64_t>(pixelBudget_ - inUse, 0);
}

// The oldest unused entries go first.
bool TStringBitmapList::MakeRoom(std::int64_t Pixels) {
  while (pixelsHeld_ + Pixels > pixelBudget_) {
    int oldest = -1;
    for (int i = 0; i < Count(); ++i) {
      const TBitmapItem* item = Item(i);
      if (item && item->UsageCount <= 0 && item->Pixels > 0 && (oldest < 0 || item->AccessCount > Item(oldest)->AccessCount))
        oldest = i;
    }
    if (oldest < 0) return false;
    Delete(oldest);
  }
  return true;
}

gui::TObject* TStringBitmapList::UseImage(int Index) {
  TBitmapItem* item = Item(Index);
  if (!item) return nullptr;
  item->AccessCount = 0;
  item->UsageCount += 1;
  return item->MImage.get();
}

void TStringBitmapList::ReleaseImage(std::string_view Name) {
  const int index = IndexOf(Name);
  if (index < 0) return;
  if (TBitmapItem* item = Item(index)) item->UsageCount -= 1;
}

void TStringBitmapList::SetCacheLimit(int N) {
  for (int i = Count() - 1; i >= 0; --i) {
    const TBitmapItem* item = Item(i);
    if (item && item->AccessCount > N && item->UsageCount <= 0) Delete(i);
  }
  cacheLimit_ = N;
}

void TStringBitmapList::AgeAndPurge() {
  for (int i = Count() - 1; i >= 0; --i) {
    TBitmapItem* item = Item(i);
    if (!item) continue;
    item->AccessCount += 1;
    if (item->AccessCount > cacheLimit_ && item->UsageCount < 1) Delete(i);
  }
}

}  // namespace images
