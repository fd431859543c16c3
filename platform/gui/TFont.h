#pragma once
// A font description. Size is in points at PixelsPerInch (the screen's when
// the font is made); Height is the em height in pixels as a negative number
// (a positive Height is a cell height). The two always describe one size.
#include <cstdint>
#include <string>

#include "platform/gui/Colors.h"
#include "platform/gui/TGraphicsObject.h"

namespace gui {

using TFontStyles = std::uint8_t;
constexpr TFontStyles fsBold = 1;
constexpr TFontStyles fsItalic = 2;
constexpr TFontStyles fsUnderline = 4;
constexpr TFontStyles fsStrikeOut = 8;

enum TFontPitch { fpDefault, fpVariable, fpFixed };
using TFontCharset = std::uint8_t;

class TFont : public TGraphicsObject {
 public:
  TFont();

  // An HFONT for the current description, shared with every font of the
  // same description (Assign passes it on): never delete it.
  win::HFONT Handle() const { return CachedHandle(); }
  // Takes over a font handle: the description is read from it.
  void SetHandle(win::HFONT Value);

  const std::string& Name() const { return name_; }
  void SetName(const std::string& Value);
  int Size() const;
  void SetSize(int Value);
  int Height() const { return height_; }
  void SetHeight(int Value);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles Value);
  TColor Color() const { return color_; }
  void SetColor(TColor Value);
  TFontCharset Charset() const { return charset_; }
  void SetCharset(TFontCharset Value);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch Value);
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int Value) { pixelsPerInch_ = Value > 0 ? Value : pixelsPerInch_; }

  void Assign(const TPersistent* Source) override;
  // Assign for a source known to be a font (a canvas taking a font).
  void AssignFont(const TFont& Source);

 protected:
  win::HGDIOBJ CreateHandle() const override;

 private:
  std::string name_ = "MS Sans Serif";
  int height_ = 0;
  TFontStyles style_ = 0;
  TColor color_ = clWindowText;
  TFontCharset charset_ = 1;  // DEFAULT_CHARSET
  TFontPitch pitch_ = fpDefault;
  int pixelsPerInch_ = 96;
};

}  // namespace gui
