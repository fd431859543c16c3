#include "images/ImageLoading.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>
#include <unistd.h>

#include "images/DisplayPalette.h"
#include "images/GdiPlusLibrary.h"
#include "images/ScreenAdaptation.h"
#include "images/TGpImage.h"
#include "images/TPNGImage.h"
#include "platform/gui/Exception.h"
#include "platform/gui/FileFunctions.h"
#include "platform/gui/GdiCalls.h"
#include "platform/gui/TBrush.h"
#include "platform/gui/TCanvas.h"
#include "platform/gui/TJPEGImage.h"
#include "platform/win/kernel/Files.h"

namespace images {

namespace {

// Data of this size or less is not an image.
constexpr std::int64_t kSmallestImage = 19;

constexpr std::uint8_t kPaletteColorType = 3;

std::uint32_t bigEndian32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

struct KeyEntry {
  int index = -1;
  gui::TColor color = 0;
};

// Walks the chunks up to IDAT: IHDR (colour type at data byte 9), PLTE (RGB
// triples) and tRNS (one alpha per palette entry). Only palette images have
// a key; only entries PLTE defined count. Lengths are unsigned and every
// step moves forward, so hostile lengths end the walk.
KeyEntry findKeyEntry(const std::uint8_t* data, std::size_t size) {
  KeyEntry key;
  if (DetectImageKind(data, std::min<std::size_t>(size, 8)) != ikPng || size < 8) return key;
  std::uint8_t palette[768] = {};
  std::size_t paletteCount = 0;
  int colorType = -1;
  std::size_t at = 8;
  while (size - at >= 8) {
    const std::uint32_t length = bigEndian32(data + at);
    const std::uint8_t* type = data + at + 4;
    const std::uint8_t* body = data + at + 8;
    if (length > 0x7FFFFFFFu || length > size - at - 8) break;
    const std::size_t available = length;
    if (std::memcmp(type, "IHDR", 4) == 0) {
      if (available < 13) break;
      colorType = body[9];
      if (colorType != 2 && colorType != kPaletteColorType) break;
    } else if (std::memcmp(type, "PLTE", 4) == 0) {
      paletteCount = std::min<std::size_t>(available, sizeof palette) / 3;
      std::memcpy(palette, body, paletteCount * 3);
    } else if (std::memcmp(type, "tRNS", 4) == 0) {
      if (colorType == kPaletteColorType) {
        const std::size_t entries = std::min({available, std::size_t{256}, paletteCount});
        for (std::size_t i = 0; i < entries; ++i)
          if (body[i] == 0) {
            key.index = static_cast<int>(i);
            key.color = palette[3 * i] | (palette[3 * i + 1] << 8) | (static_cast<gui::TColor>(palette[3 * i + 2]) << 16);
            break;
          }
      }
      break;
    } else if (std::memcmp(type, "IDAT", 4) == 0) {
      break;
    }
    if (size - at - 8 - length < 4) break;
    at += 8 + std::size_t{length} + 4;
  }
  return key;
}

KeyEntry keyEntryOf(gui::TMemoryStream& stream) {
  if (!stream.Memory()) return {};
  return findKeyEntry(stream.Memory(), static_cast<std::size_t>(stream.Size()));
}

TImageKind kindOf(gui::TMemoryStream& stream) {
  return DetectImageKind(stream.Memory(), static_cast<std::size_t>(stream.Size()));
}

bool usable(gui::TMemoryStream* stream) { return stream && stream->Memory() && stream->Size() > kSmallestImage; }

}  // namespace

bool PngTransparentColor(gui::TMemoryStream& Stream, gui::TColor& Color) {
  const KeyEntry key = keyEntryOf(Stream);
  if (key.index < 0) return false;
  Color = key.color;
  return true;
}

int PngTransparentIndex(gui::TMemoryStream& Stream) { return keyEntryOf(Stream).index; }

std::unique_ptr<gui::TBitmap> TransparentMaskOf(gui::TBitmap& Bitmap, bool UseColor, gui::TColor Color) {
  try {
    if (UseColor) Bitmap.SetTransparentColor(Color);
    else Bitmap.SetTransparentMode(gui::tmAuto);  // the lower-left pixel's colour
    Bitmap.SetTransparent(true);
    auto mask = std::make_unique<gui::TBitmap>();
    mask->SetHandle(Bitmap.ReleaseMaskHandle());
    Bitmap.SetTransparent(false);
    if (mask->Empty()) return nullptr;
    return mask;
  } catch (const gui::Exception&) {
    Bitmap.SetTransparent(false);
    return nullptr;
  }
}

namespace {

// White where an indexed bitmap holds palette index `index`: the key is
// matched by index, so other entries of the same colour stay opaque.
std::unique_ptr<gui::TBitmap> maskOfIndex(gui::TBitmap& bitmap, int index) {
  const int bits = bitmap.PixelFormat() == gui::pf1bit ? 1 : bitmap.PixelFormat() == gui::pf4bit ? 4 : 8;
  const int width = bitmap.Width(), height = bitmap.Height();
  // Monochrome rows padded to 16 bits, top row first; 1 is white.
  const std::size_t rowBytes = static_cast<std::size_t>((width + 15) / 16) * 2;
  std::vector<std::uint8_t> maskBits(rowBytes * static_cast<std::size_t>(height), 0);
  for (int y = 0; y < height; ++y) {
    const auto* in = static_cast<const std::uint8_t*>(bitmap.ScanLine(y));
    std::uint8_t* out = maskBits.data() + rowBytes * static_cast<std::size_t>(y);
    for (int x = 0; x < width; ++x) {
      const int bit = x * bits;
      const int value = (in[bit / 8] >> (8 - bits - bit % 8)) & ((1 << bits) - 1);
      if (value == index) out[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
  }
  const win::HBITMAP handle = win::CreateBitmap(width, height, 1, 1, maskBits.data());
  if (!handle) throw gui::EOutOfResources("Out of system resources");
  auto mask = std::make_unique<gui::TBitmap>();
  mask->SetHandle(handle);
  return mask;
}

// The colour of a palette entry of an indexed bitmap as its pixels show it
// (after gamma), as a TColor.
bool tableColor(gui::TBitmap& bitmap, int index, gui::TColor& color) {
  const win::HPALETTE palette = bitmap.Palette();
  win::PALETTEENTRY entry{};
  if (!palette || win::GetPaletteEntries(palette, static_cast<win::UINT>(index), 1, &entry) != 1) return false;
  color = entry.peRed | (entry.peGreen << 8) | (static_cast<gui::TColor>(entry.peBlue) << 16);
  return true;
}

// The picture with black under the mask: filled with the key colour, the
// mask ANDed in (opaque pixels black), then the picture XORed in.
std::unique_ptr<gui::TBitmap> blackUnderMask(gui::TBitmap& bitmap, gui::TBitmap& mask, gui::TColor key) {
  auto result = std::make_unique<gui::TBitmap>();
  result->SetPalette(ClonePalette(DisplayPalette));
  result->SetSize(bitmap.Width(), bitmap.Height());
  const win::HDC dc = result->Canvas().Handle();
  result->Canvas().Brush().SetColor(key);
  win::SelectObject(dc, result->Canvas().Brush().Handle());
  win::PatBlt(dc, 0, 0, bitmap.Width(), bitmap.Height(), win::PATCOPY);
  win::SetBkColor(dc, 0xFFFFFF);
  win::SetTextColor(dc, 0x000000);
  win::BitBlt(dc, 0, 0, bitmap.Width(), bitmap.Height(), mask.Canvas().Handle(), 0, 0, win::SRCAND);
  win::BitBlt(dc, 0, 0, bitmap.Width(), bitmap.Height(), bitmap.Canvas().Handle(), 0, 0, win::SRCINVERT);
  return result;
}

void decodeJpeg(gui::TMemoryStream& stream, gui::TBitmap& bitmap) {
  gui::TJPEGImage jpeg;
  jpeg.LoadFromStream(stream);
  if (ScreenColorDepth > 8) {
    jpeg.SetPixelFormat(gui::jf24Bit);
  } else {
    jpeg.SetPixelFormat(gui::jf8Bit);
    if (!jpeg.Grayscale() && ScreenColorDepth == 8) jpeg.SetPalette(ClonePalette(DisplayPalette));
  }
  // The decoded pixels move over; a 12-megapixel photo is not copied.
  bitmap.SetHandle(jpeg.Bitmap().ReleaseHandle());
}

void decodePng(gui::TMemoryStream& stream, gui::TBitmap& bitmap) {
  TPNGImage png;
  png.LoadFromStream(stream);
  const bool transparent = png.Transparent();
  const gui::TColor transparentColor = png.TransparentColor();
  bitmap.SetHandle(png.ReleaseHandle());
  if (transparent) bitmap.SetTransparentColor(transparentColor);
}

// Decodes by kind; a bitmap that was not made is a failure.
std::unique_ptr<gui::TBitmap> decodeBitmap(gui::TMemoryStream& stream, TImageKind kind, TMaskKind& maskKind,
                                           int& keyIndex) {
  auto bitmap = std::make_unique<gui::TBitmap>();
  stream.SetPosition(0);
  switch (kind) {
    case ikJpeg:
      maskKind = mkNone;  // no corner masks for photographs
      decodeJpeg(stream, *bitmap);
      break;
    case ikPng:
      keyIndex = PngTransparentIndex(stream);
      if (keyIndex >= 0) maskKind = mkKeyColor;
      decodePng(stream, *bitmap);
      break;
    default:
      bitmap->LoadFromStream(stream);
      break;
  }
  if (bitmap->Empty() || !bitmap->HandleAllocated()) throw gui::EInvalidGraphic("Bitmap image is not valid");
  return bitmap;
}

// The mask a key colour asks for, and the picture rebuilt black under it.
void applyKeyColor(std::unique_ptr<gui::TBitmap>& bitmap, int keyIndex, std::unique_ptr<gui::TBitmap>& mask) {
  gui::TColor key = 0;
  const gui::TPixelFormat format = bitmap->PixelFormat();
  const bool indexed = format == gui::pf1bit || format == gui::pf4bit || format == gui::pf8bit;
  if (!indexed || !tableColor(*bitmap, keyIndex, key)) return;
  mask = maskOfIndex(*bitmap, keyIndex);
  bitmap = blackUnderMask(*bitmap, *mask, key);
}

}  // namespace

std::unique_ptr<gui::TBitmap> BitmapFromStream(gui::TMemoryStream* Stream, TMaskKind& Kind,
                                               std::unique_ptr<gui::TBitmap>& Mask) {
  Mask.reset();
  if (!usable(Stream)) return nullptr;
  const TImageKind kind = kindOf(*Stream);
  if (kind != ikBmp && kind != ikPng && kind != ikJpeg) return nullptr;
  try {
    int keyIndex = -1;
    std::unique_ptr<gui::TBitmap> bitmap = decodeBitmap(*Stream, kind, Kind, keyIndex);
    if (Kind == mkCornerColor) Mask = TransparentMaskOf(*bitmap, false, 0);
    else if (Kind == mkKeyColor && keyIndex >= 0) applyKeyColor(bitmap, keyIndex, Mask);
    bitmap = AdaptBitmapToScreen(std::move(bitmap));
    if (!bitmap) Mask.reset();
    return bitmap;
  } catch (const gui::Exception&) {
  } catch (const std::bad_alloc&) {
  }
  Mask.reset();
  return nullptr;
}

namespace {

// An exclusive, unpredictable temporary file "png......TMP" in the
// temporary-files folder holding the stream; its name, or "" on failure
// (nothing is left behind then).
std::string writeTemporaryPng(gui::TMemoryStream& stream) {
  char folder[4096] = {};
  const win::DWORD length = win::GetTempPathA(sizeof folder, folder);
  if (length == 0 || length >= sizeof folder) return "";
  std::string name = std::string(folder) + "pngXXXXXX.TMP";
  const int fd = ::mkstemps(name.data(), 4);
  if (fd < 0) return "";
  const std::uint8_t* bytes = stream.Memory();
  std::int64_t left = stream.Size();
  bool written = true;
  while (left > 0 && written) {
    const ssize_t n = ::write(fd, bytes, static_cast<std::size_t>(std::min<std::int64_t>(left, 1 << 20)));
    written = n > 0;
    if (written) bytes += n, left -= n;
  }
  written = ::close(fd) == 0 && written;
  if (!written) {
    ::unlink(name.c_str());
    return "";
  }
  return name;
}

}  // namespace

std::unique_ptr<gui::TObject> ImageFromStream(gui::TMemoryStream* Stream, TMaskKind& Kind,
                                              std::unique_ptr<gui::TBitmap>& Mask) {
  Mask.reset();
  if (!usable(Stream)) return nullptr;
  if (GdiPlusAvailable && kindOf(*Stream) == ikPng) {
    const std::string name = writeTemporaryPng(*Stream);
    if (name.empty()) return nullptr;
    try {
      // The image deletes its file when freed, or at once when loading fails.
      auto image = std::make_unique<TGpImage>(name, /*DeleteOnFree=*/true);
      Kind = mkNone;
      return image;
    } catch (const gui::Exception&) {
      return nullptr;  // the image removed its file already
    }
  }
  return BitmapFromStream(Stream, Kind, Mask);
}

std::unique_ptr<gui::TObject> ImageFromFile(const std::string& FileName, TMaskKind& Kind,
                                            std::unique_ptr<gui::TBitmap>& Mask) {
  Mask.reset();
  if (!gui::FileExists(FileName)) return nullptr;
  if (GdiPlusAvailable && DetectImageFileKind(FileName) == ikPng) {
    try {
      return std::make_unique<TGpBitmap>(FileName, /*DeleteOnFree=*/false);
    } catch (const gui::Exception&) {
      return nullptr;
    }
  }
  gui::TMemoryStream stream;
  stream.LoadFromFile(FileName, gui::TFileKind::Image);
  return ImageFromStream(&stream, Kind, Mask);
}

}  // namespace images
