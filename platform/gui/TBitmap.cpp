#include "platform/gui/TBitmap.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/gui/BmpFormat.h"
#include "platform/gui/Exception.h"
#include "platform/gui/GdiCalls.h"
#include "platform/gui/TStream.h"
#include "platform/gui/TCanvas.h"

namespace gui {

namespace {

constexpr win::COLORREF kWhite = 0xFFFFFF;

struct BitmapInfo256 {
  win::BITMAPINFOHEADER header;
  win::RGBQUAD colors[256];
};

// Colours of a new indexed bitmap: black and white; the 16 VGA colours; or
// those, a 6x6x6 colour cube and a grey ramp.
std::vector<std::uint32_t> defaultColorTable(int bitCount) {
  static constexpr std::uint32_t kVga[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                             0x008080, 0x808080, 0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00,
                                             0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  if (bitCount == 1) return {0x000000, 0xFFFFFF};
  std::vector<std::uint32_t> table(kVga, kVga + 16);
  if (bitCount == 4) return table;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) table.push_back((r * 51u << 16) | (g * 51u << 8) | (b * 51u));
  for (int i = 1; table.size() < 256; ++i) table.push_back(0x0A0A0Au * static_cast<std::uint32_t>(i));
  return table;
}

win::HBITMAP createDib(int width, int height, int bitCount, const std::vector<std::uint32_t>& table) {
  BitmapInfo256 info{};
  info.header.biSize = sizeof(win::BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = height;  // bottom-up
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<win::WORD>(bitCount);
  info.header.biCompression = win::BI_RGB;
  if (bitCount <= 8) {
    const std::size_t colours = std::min<std::size_t>(table.size(), std::size_t{1} << bitCount);
    info.header.biClrUsed = static_cast<win::DWORD>(colours);
    for (std::size_t i = 0; i < colours; ++i)
      info.colors[i] = win::RGBQUAD{static_cast<win::BYTE>(table[i]), static_cast<win::BYTE>(table[i] >> 8),
                                    static_cast<win::BYTE>(table[i] >> 16), 0};
  }
  void* bits = nullptr;
  return win::CreateDIBSection(0, reinterpret_cast<win::BITMAPINFO*>(&info), win::DIB_RGB_COLORS, &bits, 0, 0);
}

// A memory DC holding one bitmap for the length of a copy.
class BitmapDC {
 public:
  explicit BitmapDC(win::HBITMAP bitmap) : dc_(win::CreateCompatibleDC(0)), select_(dc_, bitmap) {}
  BitmapDC(const BitmapDC&) = delete;
  BitmapDC& operator=(const BitmapDC&) = delete;
  ~BitmapDC() {
    select_.restore();
    win::DeleteDC(dc_);
  }
  win::HDC get() const { return dc_; }

 private:
  win::HDC dc_;
  win::SelectScope select_;
};

// Colour tables are 0x00RRGGBB; the first 256 palette entries make one.
std::vector<std::uint32_t> tableFromPalette(win::HPALETTE palette) {
  std::vector<std::uint32_t> table;
  for (const win::PALETTEENTRY& entry : win::paletteEntries(palette, 256))
    table.push_back((std::uint32_t{entry.peRed} << 16) | (std::uint32_t{entry.peGreen} << 8) | entry.peBlue);
  return table;
}

win::HPALETTE paletteFromTable(const std::vector<std::uint32_t>& table) {
  std::vector<win::PALETTEENTRY> entries;
  entries.reserve(table.size());
  for (const std::uint32_t colour : table)
    entries.push_back(win::PALETTEENTRY{static_cast<win::BYTE>(colour >> 16), static_cast<win::BYTE>(colour >> 8),
                                        static_cast<win::BYTE>(colour), 0});
  return win::createPaletteFromEntries(entries);
}

std::uint8_t* dibBits(win::HBITMAP bitmap) {
  win::DIBSECTION section{};
  if (win::GetObject(bitmap, sizeof section, &section) != static_cast<int>(sizeof section)) return nullptr;
  return static_cast<std::uint8_t*>(section.dsBm.bmBits);
}

// Copies the top-left rows x columns of one bottom-up DIB into another of
// the same depth, leaving the rest of each target row as it was.
void copyDibArea(const std::uint8_t* source, int sourceWidth, int sourceHeight, std::uint8_t* target,
                 int targetWidth, int targetHeight, int bitCount) {
  if (!source || !target) return;
  const std::int64_t sourceRow = win::dibRowBytes(sourceWidth, bitCount);
  const std::int64_t targetRow = win::dibRowBytes(targetWidth, bitCount);
  const std::int64_t bits = static_cast<std::int64_t>(std::min(sourceWidth, targetWidth)) * bitCount;
  const std::size_t wholeBytes = static_cast<std::size_t>(bits / 8);
  const int spareBits = static_cast<int>(bits % 8);
  for (int y = 0; y < std::min(sourceHeight, targetHeight); ++y) {
    const std::uint8_t* from = source + (sourceHeight - 1 - y) * sourceRow;
    std::uint8_t* to = target + (targetHeight - 1 - y) * targetRow;
    std::memcpy(to, from, wholeBytes);
    if (spareBits) {
      const auto keep = static_cast<std::uint8_t>(0xFF00 >> spareBits);
      to[wholeBytes] = static_cast<std::uint8_t>((from[wholeBytes] & keep) | (to[wholeBytes] & ~keep));
    }
  }
}

}  // namespace

// The bitmap's own canvas: a memory DC that holds the bitmap while drawing
// goes on, and lets go of it whenever the bitmap is used another way.
class TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap& bitmap) : bitmap_(bitmap) {}
  ~TBitmapCanvas() override { FreeContext(); }

  void FreeContext() {
    if (!HandleAllocated()) return;
    const win::HDC dc = Handle();
    SetHandle(0);
    select_.reset();
    win::DeleteDC(dc);
  }

 protected:
  void CreateHandle() override {
    const win::HDC dc = win::CreateCompatibleDC(0);
    select_.emplace(dc, bitmap_.handle_);
    SetHandle(dc);
  }
  void Changing() override {
    TCanvas::Changing();
    bitmap_.DropMask();
  }
  void Changed() override {
    TCanvas::Changed();
    bitmap_.PictureChanged();
  }

 private:
  TBitmap& bitmap_;
  std::optional<win::SelectScope> select_;
};

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
  canvas_.reset();
  DropMask();
  if (handle_) win::DeleteObject(handle_);
  if (palette_) win::DeleteObject(palette_);
}

TCanvas& TBitmap::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<TBitmapCanvas>(*this);
  return *canvas_;
}

void TBitmap::FreeContext() {
  if (canvas_) canvas_->FreeContext();
}

void TBitmap::DropMask() {
  if (mask_) win::DeleteObject(mask_);
  mask_ = 0;
}

void TBitmap::PictureChanged() {
  DropMask();
  Changed();
}

win::HBITMAP TBitmap::Handle() {
  FreeContext();
  return handle_;
}

std::vector<std::uint32_t> TBitmap::ColorTable() const {
  std::vector<std::uint32_t> table;
  if (const win::BitmapObject* bitmap = win::bitmapFromHandle(handle_); bitmap && dib_)
    for (const win::RGBQUAD& q : bitmap->colorTable)
      table.push_back((std::uint32_t{q.rgbRed} << 16) | (std::uint32_t{q.rgbGreen} << 8) | q.rgbBlue);
  return table;
}

// The colour table an indexed bitmap of BitCount gets: the palette set on
// the bitmap, else the current table when the depth stays, else the default.
std::vector<std::uint32_t> TBitmap::TableForRebuild(int BitCount) const {
  if (palette_) {
    std::vector<std::uint32_t> table = tableFromPalette(palette_);
    if (!table.empty()) return table;
  }
  if (dib_ && bitCount_ == BitCount) return ColorTable();
  return defaultColorTable(BitCount);
}

void TBitmap::Replace(win::HBITMAP Handle) {
  FreeContext();
  DropMask();
  if (handle_ && handle_ != Handle) win::DeleteObject(handle_);
  handle_ = Handle;
  win::BITMAP info{};
  if (!Handle || win::GetObject(Handle, sizeof info, &info) == 0) {
    handle_ = 0;
    width_ = height_ = 0;
    return;
  }
  win::DIBSECTION section{};
  dib_ = win::GetObject(Handle, sizeof section, &section) == static_cast<int>(sizeof section);
  width_ = info.bmWidth;
  height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  bitCount_ = info.bmBitsPixel * info.bmPlanes;
}

// Makes a bitmap of the given size and kind holding the old picture's top-left
// part on white. Same-depth DIBs copy their bits, so palette indices survive.
void TBitmap::Rebuild(int NewWidth, int NewHeight, int BitCount, bool Dib) {
  FreeContext();
  if (NewWidth <= 0 || NewHeight <= 0) {
    Replace(0);
    width_ = std::max(NewWidth, 0);
    height_ = std::max(NewHeight, 0);
    dib_ = Dib;
    bitCount_ = BitCount;
    return;
  }
  const win::HBITMAP made = Dib ? createDib(NewWidth, NewHeight, BitCount, TableForRebuild(BitCount))
                                : win::CreateBitmap(NewWidth, NewHeight, 1, BitCount == 1 ? 1 : 32, nullptr);
  if (!made) throw EOutOfResources("Out of system resources");
  {
    BitmapDC target(made);
    win::PatBlt(target.get(), 0, 0, NewWidth, NewHeight, win::WHITENESS);
    if (handle_ && !(Dib && dib_ && BitCount == bitCount_)) {
      BitmapDC source(handle_);
      win::BitBlt(target.get(), 0, 0, std::min(width_, NewWidth), std::min(height_, NewHeight), source.get(), 0, 0,
                  win::SRCCOPY);
    }
  }
  if (handle_ && Dib && dib_ && BitCount == bitCount_) {
    win::GdiFlush();
    const std::uint8_t* from = dibBits(handle_);
    std::uint8_t* to = dibBits(made);
    if (from && to) copyDibArea(from, width_, height_, to, NewWidth, NewHeight, BitCount);
  }
  Replace(made);
}

void TBitmap::SetSize(int AWidth, int AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (AWidth == width_ && AHeight == height_) return;
  Rebuild(AWidth, AHeight, bitCount_, dib_);
  Changed();
}

void TBitmap::SetHandle(win::HBITMAP Value) {
  if (Value == handle_) return;
  if (palette_) win::DeleteObject(palette_);
  palette_ = 0;
  Replace(Value);
  Changed();
}

win::HBITMAP TBitmap::ReleaseHandle() {
  FreeContext();
  DropMask();
  const win::HBITMAP handle = handle_;
  handle_ = 0;
  width_ = height_ = 0;
  return handle;
}

win::HBITMAP TBitmap::MaskHandle() {
  if (mask_ || !handle_) return mask_;
  const win::COLORREF transparent = ColorToRGB(TransparentColor()) & 0xFFFFFF;
  FreeContext();
  mask_ = win::CreateBitmap(width_, height_, 1, 1, nullptr);
  if (!mask_) return 0;
  BitmapDC source(handle_);
  BitmapDC target(mask_);
  // Colour to monochrome: pixels of the source's background colour become white.
  win::SetBkColor(source.get(), transparent);
  win::BitBlt(target.get(), 0, 0, width_, height_, source.get(), 0, 0, win::SRCCOPY);
  return mask_;
}

win::HBITMAP TBitmap::ReleaseMaskHandle() {
  const win::HBITMAP mask = MaskHandle();
  mask_ = 0;
  return mask;
}

win::HPALETTE TBitmap::Palette() {
  if (!palette_ && dib_ && bitCount_ <= 8 && handle_) palette_ = paletteFromTable(ColorTable());
  return palette_;
}

void TBitmap::SetPalette(win::HPALETTE Value) {
  if (Value == palette_) return;
  if (palette_) win::DeleteObject(palette_);
  palette_ = Value;
  // An indexed DIB shows its indices through the new colours.
  if (Value && dib_ && bitCount_ <= 8 && handle_) {
    const win::HBITMAP made = createDib(width_, height_, bitCount_, TableForRebuild(bitCount_));
    if (made) {
      FreeContext();
      win::GdiFlush();
      const std::uint8_t* from = dibBits(handle_);
      std::uint8_t* to = dibBits(made);
      if (from && to) copyDibArea(from, width_, height_, to, width_, height_, bitCount_);
      Replace(made);
    }
  }
  Changed();
}

win::HPALETTE TBitmap::ReleasePalette() {
  const win::HPALETTE palette = Palette();
  palette_ = 0;
  return palette;
}

TPixelFormat TBitmap::PixelFormat() const {
  if (!dib_) return bitCount_ == 1 ? pf1bit : pfDevice;
  switch (bitCount_) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 24: return pf24bit;
    case 32: return pf32bit;
    default: return pfCustom;
  }
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (Value == PixelFormat() || Value == pfCustom) return;
  if (Value == pfDevice) {
    Rebuild(width_, height_, 32, false);
  } else {
    static constexpr int kBits[] = {32, 1, 4, 8, 24, 24, 24, 32};
    Rebuild(width_, height_, kBits[Value], true);
  }
  Changed();
}

void TBitmap::SetHandleType(TBitmapHandleType Value) {
  if (Value == HandleType()) return;
  // Device bitmaps become DIBs of their own depth and back.
  Rebuild(width_, height_, bitCount_ == 1 ? 1 : 32, Value == bmDIB);
  Changed();
}

bool TBitmap::Monochrome() const {
  if (bitCount_ != 1) return false;
  if (!dib_) return true;
  const std::vector<std::uint32_t> table = ColorTable();
  return table.size() == 2 && table[0] == 0 && table[1] == 0xFFFFFF;
}

void TBitmap::SetMonochrome(bool Value) {
  if (Value == Monochrome()) return;
  Rebuild(width_, height_, Value ? 1 : 32, false);
  Changed();
}

void* TBitmap::ScanLine(int Row) {
  if (Row < 0 || Row >= height_ || !handle_) throw EInvalidGraphicOperation("Scan line index out of range");
  if (!dib_) SetHandleType(bmDIB);
  FreeContext();
  DropMask();
  win::GdiFlush();
  std::uint8_t* bits = dibBits(handle_);
  if (!bits) throw EInvalidGraphicOperation("Scan line index out of range");
  return bits + (height_ - 1 - Row) * win::dibRowBytes(width_, bitCount_);
}

TColor TBitmap::TransparentColor() {
  if (transparentMode_ == tmFixed && transparentColor_ != clDefault) return transparentColor_;
  if (!handle_) return clDefault;
  FreeContext();
  BitmapDC source(handle_);
  return win::GetPixel(source.get(), 0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor Value) {
  if (Value == transparentColor_ && transparentMode_ == (Value == clDefault ? tmAuto : tmFixed)) return;
  transparentColor_ = Value;
  transparentMode_ = Value == clDefault ? tmAuto : tmFixed;
  DropMask();
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
  if (Value == transparentMode_) return;
  if (Value == tmAuto) transparentColor_ = clDefault;
  else transparentColor_ = TransparentColor();
  transparentMode_ = Value;
  DropMask();
  Changed();
}

void TBitmap::Assign(const TPersistent* Source) {
  const auto* source = dynamic_cast<const TBitmap*>(Source);
  if (!source) {
    TGraphic::Assign(Source);
    return;
  }
  if (source == this) return;
  auto& from = const_cast<TBitmap&>(*source);
  from.FreeContext();
  win::GdiFlush();
  if (palette_) win::DeleteObject(palette_);
  palette_ = from.palette_ ? paletteFromTable(tableFromPalette(from.palette_)) : 0;
  win::HBITMAP made = 0;
  if (from.handle_ && from.dib_) {
    made = createDib(from.width_, from.height_, from.bitCount_, from.ColorTable());
    if (made) copyDibArea(dibBits(from.handle_), from.width_, from.height_, dibBits(made), from.width_,
                          from.height_, from.bitCount_);
  } else if (from.handle_) {
    made = win::CreateBitmap(from.width_, from.height_, 1, from.bitCount_ == 1 ? 1 : 32, nullptr);
    BitmapDC sourceDC(from.handle_);
    BitmapDC targetDC(made);
    win::BitBlt(targetDC.get(), 0, 0, from.width_, from.height_, sourceDC.get(), 0, 0, win::SRCCOPY);
  }
  if (from.handle_ && !made) throw EOutOfResources("Out of system resources");
  Replace(made);
  width_ = from.width_;
  height_ = from.height_;
  dib_ = from.dib_;
  bitCount_ = from.bitCount_;
  SetTransparent(from.Transparent());
  transparentColor_ = from.transparentColor_;
  transparentMode_ = from.transparentMode_;
  Changed();
}

void TBitmap::LoadFromStream(TStream& Stream) {
  const std::int64_t available = Stream.Size() - Stream.Position();
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::max<std::int64_t>(available, 0)));
  if (!bytes.empty()) Stream.ReadBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
  DibImage image;
  if (decodeBmp(bytes.data(), bytes.size(), image) != BmpStatus::Ok)
    throw EInvalidGraphic("Bitmap image is not valid");
  widenToRgb24(image);  // no 16-bit DIBs here
  const win::HBITMAP made = createDib(image.width, image.height, image.bitCount, image.palette);
  std::uint8_t* bits = made ? dibBits(made) : nullptr;
  if (!bits) {
    if (made) win::DeleteObject(made);
    throw EInvalidGraphic("Bitmap image is not valid");
  }
  std::memcpy(bits, image.bits.data(), image.bits.size());
  if (palette_) win::DeleteObject(palette_);
  palette_ = 0;
  Replace(made);
  Changed();
}

void TBitmap::SaveToStream(TStream& Stream) {
  if (!handle_) return;
  FreeContext();
  win::GdiFlush();
  DibImage image;
  image.width = width_;
  image.height = height_;
  image.bitCount = dib_ ? bitCount_ : (bitCount_ == 1 ? 1 : 24);
  image.bits.resize(static_cast<std::size_t>(image.rowBytes() * height_));
  if (dib_) {
    image.palette = ColorTable();
    std::memcpy(image.bits.data(), dibBits(handle_), image.bits.size());
  } else {
    BitmapInfo256 info{};
    info.header.biSize = sizeof(win::BITMAPINFOHEADER);
    info.header.biWidth = width_;
    info.header.biHeight = height_;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<win::WORD>(image.bitCount);
    BitmapDC source(handle_);
    win::GetDIBits(source.get(), handle_, 0, static_cast<win::UINT>(height_), image.bits.data(),
                   reinterpret_cast<win::BITMAPINFO*>(&info), win::DIB_RGB_COLORS);
    if (image.bitCount == 1) image.palette = {0x000000, 0xFFFFFF};
  }
  const std::vector<std::uint8_t> file = encodeBmp(image);
  Stream.WriteBuffer(file.data(), static_cast<std::int64_t>(file.size()));
}

void TBitmap::Draw(TCanvas& ACanvas, const win::RECT& Rect) {
  if (Empty()) return;
  const win::HDC target = ACanvas.Handle();
  const int width = Rect.right - Rect.left;
  const int height = Rect.bottom - Rect.top;
  if (!Transparent()) {
    const win::HDC source = Canvas().Handle();
    win::StretchBlt(target, Rect.left, Rect.top, width, height, source, 0, 0, width_, height_, ACanvas.CopyMode());
    return;
  }
  // Masked: the picture is XOR-ed in, the transparent part cut back to the
  // target, and the picture XOR-ed out there again.
  const win::HBITMAP mask = MaskHandle();
  const win::HDC source = Canvas().Handle();
  BitmapDC maskDC(mask);
  const win::COLORREF oldText = win::SetTextColor(target, 0x000000);
  const win::COLORREF oldBack = win::SetBkColor(target, kWhite);
  win::StretchBlt(target, Rect.left, Rect.top, width, height, source, 0, 0, width_, height_, win::SRCINVERT);
  win::StretchBlt(target, Rect.left, Rect.top, width, height, maskDC.get(), 0, 0, width_, height_, win::SRCAND);
  win::StretchBlt(target, Rect.left, Rect.top, width, height, source, 0, 0, width_, height_, win::SRCINVERT);
  win::SetTextColor(target, oldText);
  win::SetBkColor(target, oldBack);
}

}  // namespace gui
