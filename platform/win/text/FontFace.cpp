#include "platform/win/text/FontFace.h"

#include <array>
#include <map>
#include <memory>
#include <utility>

#include FT_ADVANCES_H
#include FT_TRUETYPE_TABLES_H

#include "platform/win/text/FontLinks.h"

namespace win {
namespace {

// English letter frequencies per thousand for "a" to "z", then the space: the
// weights of the average character width that OS/2 tables before version 3
// carry and that text metrics report.
constexpr std::array<int, 27> kAverageWidthWeights = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6, 35, 20, 56,
                                                      56, 17, 4,  49, 56,  71, 31, 10, 18, 3,  18, 2, 166};

// The weighted average of the lower-case letters and the space, in font units;
// 0 when the face lacks one of them.
int weightedAverageWidth(FT_Face face) {
  long weighted = 0;
  for (std::size_t i = 0; i < kAverageWidthWeights.size(); ++i) {
    const FT_ULong character = i < 26 ? 'a' + i : ' ';
    const FT_UInt glyph = FT_Get_Char_Index(face, character);
    FT_Fixed advance = 0;
    if (glyph == 0 || FT_Get_Advance(face, glyph, FT_LOAD_NO_SCALE, &advance) != 0) return 0;
    weighted += static_cast<long>(advance) * kAverageWidthWeights[i];
  }
  return static_cast<int>((weighted + 500) / 1000);
}

void readSfntTables(FT_Face face, FontFaceTables& tables) {
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  const auto* post = static_cast<const TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST));
  if (hhea) {
    tables.hheaAscender = hhea->Ascender;
    tables.hheaDescender = hhea->Descender;
    tables.lineGap = hhea->Line_Gap;
    tables.maxAdvance = hhea->advance_Width_Max;
  }
  if (post) tables.fixedPitch = post->isFixedPitch != 0;
  if (!os2 || os2->version == 0xFFFF) return;
  tables.trueType = true;
  tables.winAscent = os2->usWinAscent;
  tables.winDescent = os2->usWinDescent;
  tables.averageWidth = os2->xAvgCharWidth;
  // From version 3 on the table averages every glyph; metrics keep the older
  // weighted definition, which the faces' advances give back.
  if (os2->version >= 3) {
    const int weighted = weightedAverageWidth(face);
    if (weighted > 0) tables.averageWidth = weighted;
  }
  tables.strikeoutPosition = os2->yStrikeoutPosition;
  tables.strikeoutSize = os2->yStrikeoutSize;
  tables.firstChar = os2->usFirstCharIndex;
  tables.lastChar = os2->usLastCharIndex;
  tables.familyClass = (os2->sFamilyClass >> 8) & 0xFF;
  if (os2->version >= 2) {
    tables.defaultChar = os2->usDefaultChar;
    tables.breakChar = os2->usBreakChar;
  }
}

// Values for faces without the sfnt tables (or with empty ones).
void fillGaps(FT_Face face, FontFaceTables& tables) {
  if (tables.winAscent + tables.winDescent <= 0) {
    tables.winAscent = face->ascender > 0 ? face->ascender : tables.unitsPerEm * 4 / 5;
    tables.winDescent = face->descender < 0 ? -face->descender : tables.unitsPerEm / 5;
  }
  if (tables.hheaAscender == 0 && tables.hheaDescender == 0) {
    tables.hheaAscender = tables.winAscent;
    tables.hheaDescender = -tables.winDescent;
  }
  if (tables.maxAdvance <= 0) tables.maxAdvance = face->max_advance_width;
  if (tables.averageWidth <= 0) tables.averageWidth = tables.maxAdvance / 2;
  tables.underlinePosition = face->underline_position;
  tables.underlineThickness = face->underline_thickness;
  if (tables.underlineThickness <= 0) tables.underlineThickness = tables.unitsPerEm / 20;
  if (tables.strikeoutSize <= 0) tables.strikeoutSize = tables.underlineThickness;
  if (tables.strikeoutPosition <= 0) tables.strikeoutPosition = tables.winAscent / 3;
  if (tables.breakChar == 0) tables.breakChar = 0x20;
  if (tables.firstChar > tables.lastChar) tables.lastChar = tables.firstChar;
  if (tables.lastChar > 0xFFFF) tables.lastChar = 0xFFFF;
}

bool selectCharmap(FT_Face face) {
  if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0) return false;
  return FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) == 0;
}

std::unique_ptr<FontFace> openFace(const std::string& path, int faceIndex) {
  FT_Library library = freeTypeLibrary();
  if (!library) return nullptr;
  FT_Face raw = nullptr;
  if (FT_New_Face(library, path.c_str(), faceIndex, &raw) != 0) return nullptr;
  FreeTypeFace face(raw);
  if (!FT_IS_SCALABLE(raw) || raw->units_per_EM == 0) return nullptr;
  FontFaceTables tables;
  tables.unitsPerEm = raw->units_per_EM;
  tables.fixedPitch = FT_IS_FIXED_WIDTH(raw);
  readSfntTables(raw, tables);
  fillGaps(raw, tables);
  tables.symbolCmap = selectCharmap(raw);
  return std::make_unique<FontFace>(std::move(face), tables);
}

std::map<std::pair<std::string, int>, std::unique_ptr<FontFace>>& faceCache() {
  static std::map<std::pair<std::string, int>, std::unique_ptr<FontFace>> cache;
  return cache;
}

}  // namespace

unsigned FontFace::glyphIndex(std::uint32_t character) const {
  if (tables_.symbolCmap && character >= 0x20 && character <= 0xFF) character += 0xF000;
  return FT_Get_Char_Index(face_.get(), character);
}

FontFace* loadFontFace(const std::string& path, int faceIndex) {
  // Start the library before the cache so that it is torn down after every face.
  if (!freeTypeLibrary()) return nullptr;
  auto& cache = faceCache();
  auto key = std::make_pair(path, faceIndex);
  auto found = cache.find(key);
  if (found != cache.end()) return found->second.get();
  // A file that fails to load is remembered as null so it is not retried.
  return cache.emplace(std::move(key), openFace(path, faceIndex)).first->second.get();
}

void resetFontFaces() {
  resetFontLinks();
  faceCache().clear();
}

}  // namespace win
