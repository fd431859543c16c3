#include "platform/win/text/SharedFonts.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <list>
#include <type_traits>
#include <unordered_map>

#include "platform/win/gdi/GdiObject.h"
#include "platform/win/text/FontObject.h"

namespace win {
namespace {

// Released handles kept for the next request of the same description.
constexpr std::size_t kIdleFonts = 64;

static_assert(std::has_unique_object_representations_v<LOGFONTW>, "descriptions are compared as bytes");

// A description with the face name's unused tail cleared, so that equal
// descriptions are equal bytes.
struct FontKey {
  explicit FontKey(const LOGFONTW& logFont) : value(logFont) {
    WCHAR* face = value.lfFaceName;
    WCHAR* const end = face + LF_FACESIZE - 1;
    WCHAR* nameEnd = std::find(face, end, WCHAR{0});
    std::fill(nameEnd, end + 1, WCHAR{0});
  }
  bool operator==(const FontKey& other) const { return std::memcmp(&value, &other.value, sizeof value) == 0; }
  LOGFONTW value;
};

// Layout asks for a handle once per text run, so the hash is a few multiplies
// over the description's words rather than a byte-wise hash.
struct FontKeyHash {
  std::size_t operator()(const FontKey& key) const {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&key.value);
    constexpr std::size_t kWords = sizeof(LOGFONTW) / sizeof(std::uint64_t);
    std::uint64_t hash = 0x9E3779B97F4A7C15ull;
    for (std::size_t index = 0; index < kWords; ++index) {
      std::uint64_t word;
      std::memcpy(&word, bytes + index * sizeof word, sizeof word);
      hash = (hash ^ word) * 0xFF51AFD7ED558CCDull;
      hash ^= hash >> 29;
    }
    for (std::size_t index = kWords * sizeof(std::uint64_t); index < sizeof(LOGFONTW); ++index)
      hash = (hash ^ bytes[index]) * 0x100000001B3ull;
    return static_cast<std::size_t>(hash ^ (hash >> 32));
  }
};

struct Entry {
  HFONT handle = 0;
  int holders = 0;
  bool idle = false;
  std::list<HGDIOBJ>::iterator idleAt;
};

using EntryMap = std::unordered_map<FontKey, Entry, FontKeyHash>;

struct Cache {
  EntryMap byKey;
  std::unordered_map<HGDIOBJ, EntryMap::value_type*> byHandle;  // map nodes never move
  std::list<HGDIOBJ> idle;                                     // most recently released first
};

// Never destroyed: fonts freed while the program exits still give their handles back.
Cache& TheCache() {
  static Cache* cache = new Cache;
  return *cache;
}

void Forget(Cache& cache, EntryMap::value_type& item) {
  if (item.second.idle) cache.idle.erase(item.second.idleAt);
  cache.byHandle.erase(item.second.handle);
  cache.byKey.erase(cache.byKey.find(item.first));
}

void DeleteIdle(Cache& cache, HGDIOBJ handle) {
  const auto found = cache.byHandle.find(handle);
  if (found == cache.byHandle.end()) return;
  Forget(cache, *found->second);
  DeleteObject(handle);
}

}  // namespace

HFONT acquireSharedFont(const LOGFONTW& logFont) {
  Cache& cache = TheCache();
  FontKey key(logFont);
  if (auto found = cache.byKey.find(key); found != cache.byKey.end()) {
    Entry& entry = found->second;
    if (fontFromHandle(entry.handle)) {
      if (entry.idle) cache.idle.erase(entry.idleAt);
      entry.idle = false;
      ++entry.holders;
      return entry.handle;
    }
    // Deleted behind the cache's back: make a new one.
    Forget(cache, *found);
  }
  const HFONT handle = CreateFontIndirectW(&key.value);
  if (handle == 0) return 0;
  auto& item = *cache.byKey.emplace(std::move(key), Entry{handle, 1, false, {}}).first;
  cache.byHandle[handle] = &item;
  return handle;
}

bool holdSharedFont(HGDIOBJ handle) {
  Cache& cache = TheCache();
  const auto found = cache.byHandle.find(handle);
  if (found == cache.byHandle.end() || !fontFromHandle(handle)) return false;
  Entry& entry = found->second->second;
  if (entry.idle) cache.idle.erase(entry.idleAt);
  entry.idle = false;
  ++entry.holders;
  return true;
}

bool isSharedFont(HGDIOBJ handle) {
  const Cache& cache = TheCache();
  return cache.byHandle.find(handle) != cache.byHandle.end() && fontFromHandle(handle);
}

bool releaseSharedFont(HGDIOBJ handle) {
  Cache& cache = TheCache();
  const auto found = cache.byHandle.find(handle);
  if (found == cache.byHandle.end()) return false;
  Entry& entry = found->second->second;
  if (entry.holders > 0) --entry.holders;
  if (entry.holders > 0 || entry.idle) return true;
  cache.idle.push_front(handle);
  entry.idleAt = cache.idle.begin();
  entry.idle = true;
  if (cache.idle.size() > kIdleFonts) DeleteIdle(cache, cache.idle.back());
  return true;
}

void trimSharedFonts() {
  Cache& cache = TheCache();
  while (!cache.idle.empty()) DeleteIdle(cache, cache.idle.back());
}

}  // namespace win
