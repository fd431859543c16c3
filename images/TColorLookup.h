#pragma once
// Colour lookups: which palette index a colour is drawn with. The fast
// lookup remembers the nearest entry for each 15-bit colour key; the web
// cube lookup computes the index.
#include <array>
#include <cstdint>
#include <vector>

#include "platform/win/gdi/PaletteObject.h"

namespace images {

class TColorLookup {
 public:
  virtual ~TColorLookup() = default;
  // The palette index chosen for the colour, and that entry's colour.
  virtual std::uint8_t MatchColor(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue, std::uint8_t& R,
                                  std::uint8_t& G, std::uint8_t& B) = 0;
  int EntryCount() const { return FEntryCount; }

 protected:
  int FEntryCount = 0;
};

class TFastColorLookup : public TColorLookup {
 public:
  // Copies up to 256 of the palette's entries.
  explicit TFastColorLookup(win::HPALETTE Palette);
  // Nearest by the sum of channel differences; ties go to the lower index.
  std::uint8_t MatchColor(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue, std::uint8_t& R,
                          std::uint8_t& G, std::uint8_t& B) override;

 private:
  std::array<win::PALETTEENTRY, 256> FPalette{};
  // Key: bits 0-4 red >> 3, 5-9 green >> 3, 10-14 blue >> 3; -1 = not known yet.
  std::vector<std::int16_t> FInverseLookup;
};

// The 216-colour web cube: entry r*36 + g*6 + b is (51r, 51g, 51b).
class TNetscapeColorLookup : public TColorLookup {
 public:
  TNetscapeColorLookup() { FEntryCount = 216; }
  std::uint8_t MatchColor(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue, std::uint8_t& R,
                          std::uint8_t& G, std::uint8_t& B) override;
};

}  // namespace images
