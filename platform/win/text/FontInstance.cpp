#include "platform/win/text/FontInstance.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include FT_ADVANCES_H
#include FT_OUTLINE_H

#include "platform/win/text/FontLinks.h"

namespace win {
namespace {

constexpr FT_Int32 kRenderLoadFlags = FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP;
// The shear of synthesized italics (about 12 degrees), in 16.16.
constexpr FT_Fixed kObliqueShear = 0x0366A;

int roundToInt(double value) { return static_cast<int>(std::lround(value)); }

using InstanceKey = std::tuple<FontFace*, int, bool, bool>;

std::map<InstanceKey, std::unique_ptr<FontInstance>>& instanceCache() {
  static std::map<InstanceKey, std::unique_ptr<FontInstance>> cache;
  return cache;
}

unsigned& generationCounter() {
  static unsigned generation = 1;
  return generation;
}

}  // namespace

FontInstance::FontInstance(FontFace& face, int em64, bool synthesizeBold, bool synthesizeItalic)
    : face_(&face), em64_(em64), bold_(synthesizeBold), italic_(synthesizeItalic),
      scale_(em64 / 64.0 / face.tables().unitsPerEm) {
  FT_Size size = nullptr;
  if (FT_New_Size(face.handle(), &size) == 0) {
    size_.reset(size);
    FT_Activate_Size(size);
    FT_Set_Char_Size(face.handle(), 0, em64, 72, 72);
  }
  computeMetrics();
}

// Runs once the instance is in the cache: a width borrowed from a linked face
// may build that face's instance, which may in turn borrow from this one.
void FontInstance::fillFlatAdvances() {
  for (std::uint32_t c = 0; c < kFlatTableSize; ++c) flatAdvances_[c] = computeAdvance(c);
}

void FontInstance::computeMetrics() {
  const FontFaceTables& t = face_->tables();
  FontMetrics& m = metrics_;
  m.ascent = roundToInt(t.winAscent * scale_);
  m.descent = roundToInt(t.winDescent * scale_);
  m.height = m.ascent + m.descent;
  m.internalLeading = std::max(0, m.height - emPixels());
  // GDI adds the part of the line gap that the Windows ascent and descent do not already cover.
  const int coveredGap = (t.winAscent + t.winDescent) - (t.hheaAscender - t.hheaDescender);
  m.externalLeading = std::max(0, roundToInt((t.lineGap - coveredGap) * scale_));
  const int boldExtra = bold_ ? 1 : 0;
  m.averageCharWidth = roundToInt(t.averageWidth * scale_) + boldExtra;
  m.maxCharWidth = roundToInt(t.maxAdvance * scale_) + boldExtra;
  m.underlineThickness = std::max(1, roundToInt(t.underlineThickness * scale_));
  m.underlineOffset = std::max(1, roundToInt(-t.underlinePosition * scale_ - m.underlineThickness / 2.0));
  m.underlineOffset = std::min(m.underlineOffset, std::max(0, m.descent - m.underlineThickness));
  m.strikeoutThickness = std::max(1, roundToInt(t.strikeoutSize * scale_));
  m.strikeoutOffset = roundToInt(t.strikeoutPosition * scale_ + m.strikeoutThickness / 2.0);
}

FontInstance* FontInstance::linkedInstance(std::uint32_t character) {
  if (!isLinkable(*face_, character) || face_->glyphIndex(character) != 0) return nullptr;
  const bool bold = bold_ || (face_->handle()->style_flags & FT_STYLE_FLAG_BOLD) != 0;
  const bool italic = italic_ || (face_->handle()->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
  const LinkedFace* linked = linkedFaceFor(*face_, bold, italic, character);
  if (!linked) return nullptr;
  return &fontInstance(*linked->face, em64_, linked->synthesizeBold, linked->synthesizeItalic);
}

int FontInstance::computeAdvance(std::uint32_t character) {
  // The linked face has the glyph, so it measures it itself, whether or not its table is filled yet.
  if (FontInstance* linked = linkedInstance(character)) return linked->computeAdvance(character);
  FT_Fixed units = 0;
  if (FT_Get_Advance(face_->handle(), face_->glyphIndex(character), FT_LOAD_NO_SCALE, &units) != 0) return 0;
  return roundToInt(units * scale_) + (bold_ ? 1 : 0);
}

int FontInstance::wideAdvance(std::uint32_t character) {
  auto found = wideAdvances_.find(character);
  if (found != wideAdvances_.end()) return found->second;
  const int value = computeAdvance(character);
  wideAdvances_.emplace(character, value);
  return value;
}

const GlyphBitmap& FontInstance::glyph(std::uint32_t character) {
  if (emPixels() > kMaxCachedGlyphEm) {
    uncachedGlyph_ = render(character);
    return *uncachedGlyph_;
  }
  std::unique_ptr<GlyphBitmap>* slot;
  if (character < kFlatTableSize) {
    slot = &flatGlyphs_[character];
  } else {
    slot = &wideGlyphs_[character];
  }
  if (!*slot) *slot = render(character);
  return **slot;
}

std::unique_ptr<GlyphBitmap> FontInstance::render(std::uint32_t character) {
  if (FontInstance* linked = linkedInstance(character)) return linked->render(character);
  auto bitmap = std::make_unique<GlyphBitmap>();
  FT_Face face = face_->handle();
  if (!size_ || FT_Activate_Size(size_.get()) != 0) return bitmap;
  if (FT_Load_Glyph(face, face_->glyphIndex(character), kRenderLoadFlags) != 0) return bitmap;
  FT_GlyphSlot slot = face->glyph;
  if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
    if (italic_) {
      FT_Matrix shear{0x10000, kObliqueShear, 0, 0x10000};
      FT_Outline_Transform(&slot->outline, &shear);
    }
    if (bold_) FT_Outline_EmboldenXY(&slot->outline, 64, 0);
  }
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return bitmap;
  const FT_Bitmap& source = slot->bitmap;
  if (source.pixel_mode != FT_PIXEL_MODE_GRAY || source.width == 0 || source.rows == 0) return bitmap;
  bitmap->left = slot->bitmap_left;
  bitmap->top = slot->bitmap_top;
  bitmap->width = static_cast<int>(source.width);
  bitmap->height = static_cast<int>(source.rows);
  bitmap->coverage.resize(static_cast<std::size_t>(bitmap->width) * bitmap->height);
  for (int row = 0; row < bitmap->height; ++row) {
    const unsigned char* from = source.buffer + static_cast<std::ptrdiff_t>(row) * source.pitch;
    std::copy(from, from + bitmap->width, bitmap->coverage.begin() + static_cast<std::ptrdiff_t>(row) * bitmap->width);
  }
  return bitmap;
}

ABC FontInstance::abcWidths(std::uint32_t character) {
  const GlyphBitmap& shape = glyph(character);
  const int advanceWidth = advance(character);
  ABC abc;
  if (shape.width == 0) {
    abc.abcB = static_cast<UINT>(std::max(advanceWidth, 0));
    return abc;
  }
  abc.abcA = shape.left;
  abc.abcB = static_cast<UINT>(shape.width);
  abc.abcC = advanceWidth - shape.left - shape.width;
  return abc;
}

FontInstance& fontInstance(FontFace& face, int em64, bool synthesizeBold, bool synthesizeItalic) {
  em64 = std::clamp(em64, 64, kMaxEmPixels * 64);
  InstanceKey key{&face, em64, synthesizeBold, synthesizeItalic};
  auto& cache = instanceCache();
  auto found = cache.find(key);
  if (found != cache.end()) return *found->second;
  auto instance = std::make_unique<FontInstance>(face, em64, synthesizeBold, synthesizeItalic);
  FontInstance& made = *cache.emplace(key, std::move(instance)).first->second;
  made.fillFlatAdvances();
  return made;
}

void resetFontInstances() {
  instanceCache().clear();
  ++generationCounter();
}

unsigned fontInstanceGeneration() { return generationCounter(); }

}  // namespace win
