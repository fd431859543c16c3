#include "platform/win/text/FontLinks.h"

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/win/text/FontResolver.h"

namespace win {
namespace {

struct ChainEntry {
  ResolvedFont font;
  LinkedFace linked;
  bool loaded = false;
};

using Chain = std::vector<ChainEntry>;
using ChainKey = std::tuple<const FontFace*, bool, bool>;

std::map<ChainKey, Chain>& chains() {
  static std::map<ChainKey, Chain> chains;
  return chains;
}

Chain buildChain(const FontFace& face, bool bold, bool italic) {
  FontRequest request;
  if (const char* family = face.handle()->family_name) request.family = family;
  request.weight = bold ? 700 : 400;
  request.italic = italic;
  Chain chain;
  for (ResolvedFont& font : fallbackFonts(request)) chain.push_back(ChainEntry{std::move(font), {}, false});
  return chain;
}

// Loads the entry's face on first use; the face itself and symbol faces draw nothing for it.
void load(ChainEntry& entry, const FontFace& primary) {
  entry.loaded = true;
  FontFace* face = loadFontFace(entry.font.path, entry.font.faceIndex);
  if (!face || face == &primary || face->tables().symbolCmap) return;
  entry.linked = LinkedFace{face, entry.font.synthesizeBold, entry.font.synthesizeItalic};
}

}  // namespace

bool isLinkable(const FontFace& face, std::uint32_t character) {
  if (face.tables().symbolCmap || character < 0x20 || (character >= 0x7F && character < 0xA0)) return false;
  return !(character >= 0xD800 && character < 0xF900);  // surrogates and the private-use area
}

const LinkedFace* linkedFaceFor(FontFace& face, bool bold, bool italic, std::uint32_t character) {
  if (!isLinkable(face, character)) return nullptr;
  const ChainKey key{&face, bold, italic};
  auto& all = chains();
  auto found = all.find(key);
  if (found == all.end()) found = all.emplace(key, buildChain(face, bold, italic)).first;
  for (ChainEntry& entry : found->second) {
    if (!entry.loaded) load(entry, face);
    if (entry.linked.face && entry.linked.face->glyphIndex(character) != 0) return &entry.linked;
  }
  return nullptr;
}

void resetFontLinks() { chains().clear(); }

}  // namespace win
