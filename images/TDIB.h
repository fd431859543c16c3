#pragma once
// Direct row access to a bitmap's pixels in a chosen pixel format. A reader
// converts the caller's bitmap in place and hands out its scan lines; a
// writer works on its own device-independent copy and stores it back into
// the bitmap when it is destroyed.
#include <cstdint>
#include <vector>

#include "platform/gui/TBitmap.h"

namespace images {

class TDIB {
 public:
  TDIB(gui::TBitmap& Bitmap, gui::TPixelFormat PixelFormat) : FBitmap(Bitmap), FPixelFormat(PixelFormat) {}
  virtual ~TDIB() = default;
  TDIB(const TDIB&) = delete;
  TDIB& operator=(const TDIB&) = delete;

  // The first byte of row Row (0 = top).
  virtual std::uint8_t* RowAddress(int Row) = 0;
  gui::TBitmap& Bitmap() const { return FBitmap; }
  gui::TPixelFormat PixelFormat() const { return FPixelFormat; }

 protected:
  gui::TBitmap& FBitmap;
  gui::TPixelFormat FPixelFormat;
};

class TDIBReader : public TDIB {
 public:
  // Sets the bitmap's pixel format first.
  TDIBReader(gui::TBitmap& Bitmap, gui::TPixelFormat PixelFormat);
  std::uint8_t* RowAddress(int Row) override;
};

class TDIBWriter : public TDIB {
 public:
  // Only pf1bit, pf4bit, pf8bit and pf24bit; the copy is made on the first
  // RowAddress (GIFException "Invalid pixel format" otherwise).
  TDIBWriter(gui::TBitmap& Bitmap, gui::TPixelFormat PixelFormat);
  // Stores the rows into the bitmap (as a BMP image it loads).
  ~TDIBWriter() override;
  // Raises EInvalidGraphicOperation "Scan line index out of range" outside
  // 0..height-1.
  std::uint8_t* RowAddress(int Row) override;

 private:
  void CreateDIB();
  void StoreDIB();

  std::vector<std::uint8_t> FInfo;  // BITMAPINFOHEADER and colour table
  std::vector<std::uint8_t> FBits;
  std::int64_t FRowBytes = 0;
  bool FBottomUp = true;
};

// Bytes per row of Bits pixels of BitsPerPixel, rows aligned to Alignment bits.
std::int64_t DibRowSize(std::int64_t Bits, int BitsPerPixel, int Alignment);
// PALETTEENTRY <-> RGBQUAD: swaps bytes 0 and 2 of each 4-byte entry and
// clears byte 3.
void SwapRedBlue(void* Table, int Count);

}  // namespace images
