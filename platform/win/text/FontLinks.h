#pragma once
// Font linking: the faces that draw the characters a face has no glyph for, as
// Windows draws them from the faces linked to the one asked for. Each face has
// a chain of fallback faces (fontconfig's order of closeness to it, found on
// the first character the face lacks, each face loaded when first needed); a
// character is drawn by the first face of the chain that has it.
#include <cstdint>

#include "platform/win/text/FontFace.h"

namespace win {

struct LinkedFace {
  FontFace* face = nullptr;
  bool synthesizeBold = false;
  bool synthesizeItalic = false;
};

// Whether a character the face lacks is looked for in linked faces: never for
// control characters, surrogates and private-use characters (whose glyphs mean
// something only in the face asked for), nor for a symbol face.
bool isLinkable(const FontFace& face, std::uint32_t character);

// The first face linked to `face` (drawn bold, italic) that has a glyph for
// the character; null when none has.
const LinkedFace* linkedFaceFor(FontFace& face, bool bold, bool italic, std::uint32_t character);

// Forgets every chain; resetFontFaces() calls it.
void resetFontLinks();

}  // namespace win
