#pragma once
// Decoded bitmaps adapted to the screen once, at load time, so that drawing
// needs no colour matching: on screens of 8 bits or fewer they are reduced
// to the display palette or rebuilt as device bitmaps through it; on deeper
// screens indexed and device bitmaps become device bitmaps. Also TDib, the
// device-independent copy the rebuilding goes through.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gui/TBitmap.h"
#include "platform/win/Types.h"
#include "platform/win/gdi/BitmapObject.h"

namespace images {

// A device-independent copy of a bitmap's pixels: the header (with a colour
// table of 2^bits entries for 8 bits or fewer; 16 and 32 bits become 24)
// and the bits, rows padded to 32 bits.
class TDib {
 public:
  // Copies the bitmap's pixels as seen through DC's palette. Raises
  // EOutOfMemory when the bits cannot be read and aborts (gui::Abort) when
  // they cannot be held.
  TDib(win::HDC DC, gui::TBitmap& Bitmap);
  // A device bitmap with the same picture, made on the screen through the
  // display palette; 0 on failure.
  win::HBITMAP CreateDeviceBitmap() const;

  const win::BITMAPINFOHEADER& Header() const { return *reinterpret_cast<const win::BITMAPINFOHEADER*>(info_.data()); }
  std::int64_t ImageSize() const { return static_cast<std::int64_t>(bits_.size()); }

 private:
  std::vector<std::uint8_t> info_;  // header and colour table
  std::vector<std::uint8_t> bits_;
};

// May free its argument and return another bitmap; nullptr stays nullptr.
std::unique_ptr<gui::TBitmap> AdaptBitmapToScreen(std::unique_ptr<gui::TBitmap> Bitmap);
// Frees Bitmap and returns a device bitmap of the same picture realised
// through the display palette.
std::unique_ptr<gui::TBitmap> RebuildAsDeviceBitmap(std::unique_ptr<gui::TBitmap> Bitmap);

}  // namespace images
