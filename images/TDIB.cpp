#include "images/TDIB.h"

#include <cstring>
#include <new>

#include "images/GIFException.h"
#include "platform/gui/GdiCalls.h"
#include "platform/gui/TStream.h"

namespace images {
namespace {

constexpr std::size_t kHeaderBytes = sizeof(win::BITMAPINFOHEADER);

int bitCountOf(gui::TPixelFormat format) {
  switch (format) {
    case gui::pf1bit: return 1;
    case gui::pf4bit: return 4;
    case gui::pf8bit: return 8;
    case gui::pf24bit: return 24;
    default: throw GIFException("Invalid pixel format");
  }
}

// The header a copy of the bitmap gets: a DIB section's own, else a fresh
// one of the bitmap's size; either way at the wanted depth.
win::BITMAPINFOHEADER headerFor(gui::TBitmap& bitmap, int bitCount) {
  const win::HBITMAP handle = bitmap.Handle();
  win::DIBSECTION section{};
  const int answered = handle ? win::GetObject(handle, sizeof section, &section) : 0;
  if (answered == 0) throw GIFException("Bitmap image is not valid");
  win::BITMAPINFOHEADER header{};
  if (answered >= static_cast<int>(sizeof section) && section.dsBmih.biSize >= kHeaderBytes) {
    header = section.dsBmih;
  } else {
    header.biWidth = section.dsBm.bmWidth;
    header.biHeight = section.dsBm.bmHeight;
  }
  header.biSize = kHeaderBytes;
  header.biPlanes = 1;
  header.biBitCount = static_cast<win::WORD>(bitCount);
  header.biCompression = win::BI_RGB;
  header.biClrUsed = 0;
  header.biClrImportant = 0;
  return header;
}

}  // namespace

std::int64_t DibRowSize(std::int64_t Bits, int BitsPerPixel, int Alignment) {
  return ((Bits * BitsPerPixel + Alignment - 1) & ~static_cast<std::int64_t>(Alignment - 1)) >> 3;
}

void SwapRedBlue(void* Table, int Count) {
  auto* bytes = static_cast<std::uint8_t*>(Table);
  for (int i = 0; i < Count; ++i, bytes += 4) {
    std::swap(bytes[0], bytes[2]);
    bytes[3] = 0;
  }
}

TDIBReader::TDIBReader(gui::TBitmap& Bitmap, gui::TPixelFormat PixelFormat) : TDIB(Bitmap, PixelFormat) {
  Bitmap.SetPixelFormat(PixelFormat);
}

std::uint8_t* TDIBReader::RowAddress(int Row) { return static_cast<std::uint8_t*>(FBitmap.ScanLine(Row)); }

TDIBWriter::TDIBWriter(gui::TBitmap& Bitmap, gui::TPixelFormat PixelFormat) : TDIB(Bitmap, PixelFormat) {}

TDIBWriter::~TDIBWriter() {
  try {
    StoreDIB();
  } catch (...) {
    // A destructor cannot report: the bitmap keeps its old pixels.
  }
}

void TDIBWriter::CreateDIB() {
  if (!FBitmap.HandleAllocated() && FBitmap.Empty()) throw GIFException("Bitmap image is not valid");
  const int bitCount = bitCountOf(FPixelFormat);
  win::BITMAPINFOHEADER header = headerFor(FBitmap, bitCount);
  const std::int64_t height = header.biHeight < 0 ? -static_cast<std::int64_t>(header.biHeight) : header.biHeight;
  FRowBytes = DibRowSize(header.biWidth, bitCount, 32);
  const std::int64_t imageBytes = FRowBytes * height;
  if (header.biWidth <= 0 || height <= 0 || !win::surfaceSizeAllowed(header.biWidth, static_cast<int>(height)))
    throw GIFException("Bitmap image is not valid");
  header.biSizeImage = static_cast<win::DWORD>(imageBytes);
  const int tableEntries = bitCount <= 8 ? 1 << bitCount : 0;
  try {
    FInfo.assign(kHeaderBytes + 4 * static_cast<std::size_t>(tableEntries), 0);
    FBits.assign(static_cast<std::size_t>(imageBytes), 0);
  } catch (const std::bad_alloc&) {
    FInfo.clear();
    FBits.clear();
    throw gui::EOutOfMemory("Failed to allocate memory for GIF DIB");
  }
  std::memcpy(FInfo.data(), &header, kHeaderBytes);
  FBottomUp = header.biHeight > 0;
  const win::HDC dc = win::CreateCompatibleDC(0);
  const win::HPALETTE palette = FBitmap.Palette();
  const win::HPALETTE oldPalette = palette ? win::SelectPalette(dc, palette, win::FALSE) : 0;
  if (palette) win::RealizePalette(dc);
  const int rows = win::GetDIBits(dc, FBitmap.Handle(), 0, static_cast<win::UINT>(height), FBits.data(),
                                  reinterpret_cast<win::BITMAPINFO*>(FInfo.data()), win::DIB_RGB_COLORS);
  if (oldPalette) win::SelectPalette(dc, oldPalette, win::FALSE);
  win::DeleteDC(dc);
  if (rows == 0) {
    FInfo.clear();
    FBits.clear();
    throw GIFException("Failed to create DIB from Bitmap");
  }
  if (bitCount <= 8 && palette) {
    win::PALETTEENTRY entries[256];
    const int count = std::min<int>(static_cast<int>(win::GetPaletteEntries(palette, 0, 256, entries)), tableEntries);
    std::uint8_t* table = FInfo.data() + kHeaderBytes;
    if (count > 0) {
      std::memset(table, 0, 4 * static_cast<std::size_t>(tableEntries));
      std::memcpy(table, entries, 4 * static_cast<std::size_t>(count));
      SwapRedBlue(table, count);
    }
  }
}

std::uint8_t* TDIBWriter::RowAddress(int Row) {
  if (FBits.empty()) CreateDIB();
  if (FBits.empty()) throw GIFException("Image has no DIB");
  const auto* header = reinterpret_cast<const win::BITMAPINFOHEADER*>(FInfo.data());
  const int height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  if (Row < 0 || Row >= height) throw gui::EInvalidGraphicOperation("Scan line index out of range");
  win::GdiFlush();
  const std::int64_t stored = FBottomUp ? height - Row - 1 : Row;
  return FBits.data() + stored * FRowBytes;
}

// Layout of the image handed to the bitmap: a 14-byte file header ("BM",
// total size, two reserved words, offset of the bits), the info block, the
// bits; all little-endian.
void TDIBWriter::StoreDIB() {
  if (FInfo.empty() || FBits.empty()) return;
  const std::uint32_t offset = static_cast<std::uint32_t>(14 + FInfo.size());
  const std::uint32_t total = offset + static_cast<std::uint32_t>(FBits.size());
  std::uint8_t fileHeader[14] = {'B', 'M'};
  for (int i = 0; i < 4; ++i) {
    fileHeader[2 + i] = static_cast<std::uint8_t>(total >> (8 * i));
    fileHeader[10 + i] = static_cast<std::uint8_t>(offset >> (8 * i));
  }
  gui::TMemoryStream stream;
  stream.WriteBuffer(fileHeader, sizeof fileHeader);
  stream.WriteBuffer(FInfo.data(), static_cast<std::int64_t>(FInfo.size()));
  stream.WriteBuffer(FBits.data(), static_cast<std::int64_t>(FBits.size()));
  stream.SetPosition(0);
  FInfo.clear();
  FBits.clear();
  FBitmap.LoadFromStream(stream);
}

}  // namespace images
