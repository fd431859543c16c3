#pragma once
// A face at one pixel size, with optional synthesized bold and italic: its
// device metrics, integral advance widths and rendered glyph coverage, all
// cached. Advances of characters below 256 sit in a flat table so measuring
// never allocates or searches; others go through a hash map filled on demand.
// A character the face has no glyph for is measured and drawn by the instance
// of a linked face (FontLinks.h) at the same size, once, when it is first met:
// a character costs the same whichever face draws it.
#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/win/text/FontFace.h"
#include "platform/win/text/FontTypes.h"

namespace win {

// Device-pixel metrics, derived from the TrueType tables as GDI derives them.
struct FontMetrics {
  int ascent = 0;
  int descent = 0;
  int height = 0;            // ascent + descent
  int internalLeading = 0;   // height - em
  int externalLeading = 0;
  int averageCharWidth = 0;
  int maxCharWidth = 0;
  int underlineOffset = 0;   // top of the underline, pixels below the baseline
  int underlineThickness = 1;
  int strikeoutOffset = 0;   // top of the strike-out line, pixels above the baseline
  int strikeoutThickness = 1;
};

// 8-bit coverage rows, `width` bytes each, top row first. `left` is the offset
// of the first column from the pen position, `top` the rows above the baseline.
struct GlyphBitmap {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;
};

class FontInstance {
 public:
  // `em64` is the em height in 1/64 pixels.
  FontInstance(FontFace& face, int em64, bool synthesizeBold, bool synthesizeItalic);
  // Fills the widths of characters 0-255; fontInstance() calls it once the instance is cached.
  void fillFlatAdvances();

  const FontMetrics& metrics() const { return metrics_; }
  const FontFace& face() const { return *face_; }
  int emPixels() const { return (em64_ + 32) / 64; }

  // Characters below this have their advances in the flat table.
  static constexpr std::uint32_t kFlatTableSize = 256;
  int advance(std::uint32_t character) {
    return character < kFlatTableSize ? flatAdvances_[character] : wideAdvance(character);
  }
  // advance() of a character below kFlatTableSize.
  int flatAdvance(std::uint32_t character) const { return flatAdvances_[character]; }
  // The rendered glyph. Above kMaxCachedGlyphEm pixels glyphs are not kept: the
  // reference then stays valid only until the next call.
  const GlyphBitmap& glyph(std::uint32_t character);
  ABC abcWidths(std::uint32_t character);

 private:
  int wideAdvance(std::uint32_t character);
  // The instance of the linked face that draws a character this face lacks, or null.
  FontInstance* linkedInstance(std::uint32_t character);
  int computeAdvance(std::uint32_t character);
  std::unique_ptr<GlyphBitmap> render(std::uint32_t character);
  void computeMetrics();

  FontFace* face_;
  int em64_;
  bool bold_;
  bool italic_;
  double scale_;  // pixels per font unit
  FreeTypeSize size_;
  FontMetrics metrics_;
  std::array<int, kFlatTableSize> flatAdvances_{};
  std::unordered_map<std::uint32_t, int> wideAdvances_;
  std::array<std::unique_ptr<GlyphBitmap>, kFlatTableSize> flatGlyphs_;
  std::unordered_map<std::uint32_t, std::unique_ptr<GlyphBitmap>> wideGlyphs_;
  std::unique_ptr<GlyphBitmap> uncachedGlyph_;
};

// Largest em height we render, in pixels; larger requests are clamped.
constexpr int kMaxEmPixels = 2048;
// Largest em height whose glyph bitmaps are cached.
constexpr int kMaxCachedGlyphEm = 256;

// The cached instance; `em64` is clamped to 1..kMaxEmPixels pixels.
FontInstance& fontInstance(FontFace& face, int em64, bool synthesizeBold, bool synthesizeItalic);

// Drops every cached instance and bumps fontInstanceGeneration(); for tests.
void resetFontInstances();
// Changes whenever cached instances are dropped, so holders of pointers can tell.
unsigned fontInstanceGeneration();

}  // namespace win
