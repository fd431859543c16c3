#pragma once
// TMyFont: a document font that carries the metrics the device measured and its letter spacing.
#include <cstdint>
#include <string>

#include "engine/CssColors.h"
#include "engine/FontInfo.h"

namespace engine {

class TMyFont {
 public:
  // Font attributes.
  std::string Name;
  int Height = 0;  // negative: em height in pixels
  TFontStyles Style = 0;
  TColor Color = 0;
  std::uint8_t Charset = 1;

  // Measured values and spacing.
  TColor bgColor = kNoColor;
  int tmHeight = 0;
  int tmDescent = 0;
  int tmExternalLeading = 0;
  int tmAveCharWidth = 0;
  int tmMaxCharWidth = 0;
  int tmCharset = 0;
  int CharExtra = 0;  // letter spacing, pixels

  void Assign(const TMyFont& source) { *this = source; }
};

}  // namespace engine
