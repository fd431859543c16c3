#pragma once
// A JPEG picture decoded through libjpeg. Loading keeps the compressed bytes
// and reads the header (size, colour space); the pixels are decoded on first
// use into a bottom-up DIB section held by a TBitmap, in the pixel format
// chosen before that. Greyscale files give an 8-bit grey ramp, CMYK and YCCK
// files are turned into RGB, and 8-bit output is quantized by libjpeg with
// Floyd-Steinberg dithering, onto Palette's colours when one is set.
// Every libjpeg error becomes EInvalidGraphic; warnings (a truncated file is
// padded with grey) are silent and keep what decoded.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gui/TBitmap.h"
#include "platform/gui/TGraphic.h"

namespace gui {

enum TJPEGPixelFormat { jf24Bit, jf8Bit };

class TJPEGImage : public TGraphic {
 public:
  TJPEGImage();
  ~TJPEGImage() override;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  // A JPEG's size comes from its data.
  void SetWidth(int) override {}
  void SetHeight(int) override {}
  bool Empty() const override { return data_.empty(); }

  // True when the data has a single (grey) component.
  bool Grayscale() const { return grayscale_; }
  TJPEGPixelFormat PixelFormat() const { return pixelFormat_; }
  // Drops a decoded bitmap made in the other format.
  void SetPixelFormat(TJPEGPixelFormat Value);
  // jf8Bit output uses only this palette's colours (at most 256); 0 lets
  // libjpeg choose them. Takes ownership; 0 clears.
  void SetPalette(win::HPALETTE Value);
  win::HPALETTE Palette() const { return palette_; }

  // Reads the rest of Stream; raises EInvalidGraphic "JPEG error #n" style
  // texts for data libjpeg refuses (not a JPEG, no frame, bad sizes, sizes
  // above the platform's bitmap limit).
  void LoadFromStream(TStream& Stream) override;
  // Writes the compressed bytes as they were loaded.
  void SaveToStream(TStream& Stream) override;
  void Draw(TCanvas& ACanvas, const win::RECT& Rect) override;
  void Assign(const TPersistent* Source) override;
  // A TBitmap destination receives a copy of the decoded picture.
  void AssignTo(TPersistent* Dest) const override;

  // The decoded picture, decoding first when needed; raises EInvalidGraphic.
  TBitmap& Bitmap();

  // The largest picture decoded, in pixels; defaults to the platform's
  // bitmap limit. Lowered by fuzz targets to keep runs short.
  static void SetMaxPixels(std::int64_t Value);
  static std::int64_t MaxPixels();

 private:
  void ReadHeader();
  void Decode();
  void FreeBitmap();

  std::vector<std::uint8_t> data_;
  int width_ = 0;
  int height_ = 0;
  bool grayscale_ = false;
  TJPEGPixelFormat pixelFormat_ = jf24Bit;
  win::HPALETTE palette_ = 0;
  std::unique_ptr<TBitmap> bitmap_;
};

}  // namespace gui
