#pragma once
// A bitmap picture with a canvas. Device bitmaps (PixelFormat pfDevice,
// HandleType bmDDB) are 32-bit or monochrome surfaces; the other pixel formats
// are bottom-up DIB sections whose rows ScanLine exposes, so ScanLine(y + 1)
// lies below ScanLine(y) in memory. pf15bit and pf16bit are kept as pf24bit:
// our drawing core has no 16-bit DIBs. New pixels (a new or grown bitmap) are
// white. The mask (MaskHandle) is a monochrome device bitmap, white where the
// picture has TransparentColor, and is rebuilt after the picture changes.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gui/Colors.h"
#include "platform/gui/TGraphic.h"

namespace gui {

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TBitmapHandleType { bmDIB, bmDDB };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmapCanvas;

class TBitmap : public TGraphic {
 public:
  TBitmap();
  ~TBitmap() override;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetWidth(int Value) override { SetSize(Value, height_); }
  void SetHeight(int Value) override { SetSize(width_, Value); }
  // Keeps the picture's top-left part; negative sizes count as 0.
  void SetSize(int AWidth, int AHeight);
  bool Empty() const override { return width_ == 0 || height_ == 0; }

  // A memory DC with the bitmap selected.
  TCanvas& Canvas();
  // The HBITMAP (0 while empty); it stays owned by the bitmap.
  // Takes the bitmap out of the canvas's DC, so the caller may select it.
  win::HBITMAP Handle();
  // Takes ownership of a bitmap handle; size and format are read from it.
  void SetHandle(win::HBITMAP Value);
  // Gives up the handle to the caller; the bitmap becomes empty.
  win::HBITMAP ReleaseHandle();
  bool HandleAllocated() const { return handle_ != 0; }

  win::HBITMAP MaskHandle();
  // Gives the mask to the caller; the next MaskHandle makes a new one.
  win::HBITMAP ReleaseMaskHandle();

  // Indexed DIBs: a palette of their colour table (made on demand). Others:
  // the palette set on them, or 0.
  win::HPALETTE Palette();
  // Takes ownership; an indexed DIB takes the palette's colours as its table.
  void SetPalette(win::HPALETTE Value);
  win::HPALETTE ReleasePalette();
  bool IgnorePalette() const { return ignorePalette_; }
  void SetIgnorePalette(bool Value) { ignorePalette_ = Value; }

  TPixelFormat PixelFormat() const;
  void SetPixelFormat(TPixelFormat Value);
  TBitmapHandleType HandleType() const { return dib_ ? bmDIB : bmDDB; }
  void SetHandleType(TBitmapHandleType Value);
  bool Monochrome() const;
  void SetMonochrome(bool Value);

  // The first byte of row Row (0 = top); a device bitmap becomes a DIB first.
  // Raises EInvalidGraphicOperation "Scan line index out of range".
  void* ScanLine(int Row);

  // tmAuto: the colour of the bottom-left pixel. Setting a colour makes the
  // mode tmFixed; setting clDefault makes it tmAuto.
  TColor TransparentColor();
  void SetTransparentColor(TColor Value);
  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode Value);

  void Assign(const TPersistent* Source) override;
  // BMP files; invalid data raises EInvalidGraphic "Bitmap image is not valid".
  void LoadFromStream(TStream& Stream) override;
  void SaveToStream(TStream& Stream) override;
  void Draw(TCanvas& ACanvas, const win::RECT& Rect) override;

  // Kept for callers that free cached images; the picture stays as it is.
  void Dormant() {}
  void FreeImage() {}

 private:
  friend class TBitmapCanvas;
  void Replace(win::HBITMAP Handle);
  void Rebuild(int NewWidth, int NewHeight, int BitCount, bool Dib);
  std::vector<std::uint32_t> ColorTable() const;
  std::vector<std::uint32_t> TableForRebuild(int BitCount) const;
  void PictureChanged();
  void FreeContext();
  void DropMask();

  win::HBITMAP handle_ = 0;
  bool dib_ = false;
  int bitCount_ = 32;  // of the DIB, or 32 / 1 for device bitmaps
  int width_ = 0;
  int height_ = 0;
  win::HBITMAP mask_ = 0;
  win::HPALETTE palette_ = 0;
  bool ignorePalette_ = false;
  TColor transparentColor_ = clDefault;
  TTransparentMode transparentMode_ = tmAuto;
  std::unique_ptr<TBitmapCanvas> canvas_;
};

}  // namespace gui
