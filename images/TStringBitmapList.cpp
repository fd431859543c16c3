#include "images/TStringBitmapList.h"

#include <algorithm>
#include <cctype>

#include "images/GdiPlusLibrary.h"

namespace images {

TBitmapItem::TBitmapItem(std::unique_ptr<gui::TObject> Image, std::unique_ptr<gui::TBitmap> Mask, TMaskKind Kind)
    : MaskKind(Kind), MImage(std::move(Image)), Mask(std::move(Mask)) {}

TBitmapItem::~TBitmapItem() = default;

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
    parked_.emplace_back(item);
    Item(existing)->UsageCount += 1;
    return existing;
  }
  const int index = gui::TStringList::AddObject(key, AObject);
  if (item) item->UsageCount += 1;
  return index;
}

void TStringBitmapList::FreeItem(int Index) {
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
