#pragma once
// Finding the font file for a face name, weight and slant through fontconfig.
// Windows face names and the names Windows substitutes stand for the
// Liberation faces that draw them (WindowsFaces.h). A name that is not
// installed falls back, as GDI does, to a default face chosen by the requested
// pitch and family: fixed pitch or FF_MODERN -> Liberation Mono, FF_ROMAN ->
// Liberation Serif, else Liberation Sans (and to fontconfig's own default when
// those are missing). A Japanese, Chinese or Korean character set outranks
// the name: when the face lacks the language's characters, an installed face
// that has them is used instead.
#include <string>
#include <vector>

namespace win {

struct FontRequest {
  std::string family;  // UTF-8; may be empty
  int weight = 400;    // 1..1000
  bool italic = false;
  unsigned char pitchAndFamily = 0;
  unsigned char charset = 1;  // DEFAULT_CHARSET
};

struct ResolvedFont {
  std::string path;         // empty when no font at all is available
  int faceIndex = 0;
  std::string usedFamily;   // family of the face actually used
  bool requestedExists = false;  // the requested name is installed (or is a Windows face name)
  std::string substitutedFace;   // the Windows face a substitute name stands for
  bool synthesizeBold = false;   // bold asked for, the file is not bold
  bool synthesizeItalic = false; // italic asked for, the file is upright
};

// Cached per request; the reference stays valid until resetFontResolver().
const ResolvedFont& resolveFont(const FontRequest& request);

// The face names the engine may choose from: installed families plus the
// Windows face names (not the substitutes) whose Liberation faces are installed. Sorted without regard
// to case, no duplicates.
std::vector<std::string> installedFontFamilies();

// The installed fonts in fontconfig's order of closeness to the request's
// family, weight and slant, each adding characters that the ones before it
// lack: the faces that draw what the requested face has no glyph for.
std::vector<ResolvedFont> fallbackFonts(const FontRequest& request);

// Forgets cached resolutions; for tests.
void resetFontResolver();

}  // namespace win
