#pragma once
// One loaded font file with the table values that text metrics are derived
// from, all in font units. Faces are loaded once per (file, index) and cached
// for the life of the process (or until resetFontFaces()).
#include <cstdint>
#include <string>

#include "platform/win/text/FreeTypeHandles.h"

namespace win {

struct FontFaceTables {
  int unitsPerEm = 2048;
  int winAscent = 0;       // OS/2 usWinAscent
  int winDescent = 0;      // OS/2 usWinDescent
  int hheaAscender = 0;
  int hheaDescender = 0;   // negative below the baseline
  int lineGap = 0;         // hhea lineGap
  int averageWidth = 0;    // OS/2 xAvgCharWidth
  int maxAdvance = 0;      // hhea advanceWidthMax
  int underlinePosition = 0;  // post, negative below the baseline
  int underlineThickness = 0;
  int strikeoutPosition = 0;  // OS/2, above the baseline
  int strikeoutSize = 0;
  std::uint32_t firstChar = 0x20;
  std::uint32_t lastChar = 0xFFFF;
  std::uint32_t defaultChar = 0;
  std::uint32_t breakChar = 0x20;
  int familyClass = 0;     // OS/2 sFamilyClass high byte
  bool fixedPitch = false;
  bool trueType = false;   // has an sfnt OS/2 table
  bool symbolCmap = false; // characters are mapped through a symbol cmap
};

class FontFace {
 public:
  FontFace(FreeTypeFace face, const FontFaceTables& tables) : face_(std::move(face)), tables_(tables) {}

  FT_Face handle() const { return face_.get(); }
  const FontFaceTables& tables() const { return tables_; }
  // Glyph index for a UTF-16 code unit; symbol faces take 0x20-0xFF as U+F020-U+F0FF.
  unsigned glyphIndex(std::uint32_t character) const;

 private:
  FreeTypeFace face_;
  FontFaceTables tables_;
};

// The cached face for a file, or nullptr when it cannot be loaded.
FontFace* loadFontFace(const std::string& path, int faceIndex);

// Drops every cached face; for tests. Everything built on them must go first.
void resetFontFaces();

}  // namespace win
