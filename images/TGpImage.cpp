#include "images/TGpImage.h"

#include <unistd.h>

#include <cstdio>

#include "images/EGDIPlus.h"
#include "images/TGpGraphics.h"
#include "platform/gui/FileFunctions.h"
#include "platform/gui/GdiCalls.h"
#include "platform/gui/TCanvas.h"
#include "platform/gui/WholeFile.h"
#include "platform/win/kernel/CodePages.h"

namespace images {
namespace {

// GDI+ decodes a PNG at the size its header declares; a small hostile file
// can declare gigabytes. Layout read: 8-byte signature, then the IHDR chunk
// (length, "IHDR", width and height big-endian).
bool declaresHugePng(const gui::TRegularFile& file) {
  unsigned char head[24] = {};
  if (file.ReadAt(0, head, sizeof head) != sizeof head) return false;
  static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (!std::equal(kSignature, kSignature + 8, head)) return false;
  auto bigEndian = [&](int at) {
    return (std::uint32_t{head[at]} << 24) | (std::uint32_t{head[at + 1]} << 16) |
           (std::uint32_t{head[at + 2]} << 8) | head[at + 3];
  };
  const std::uint32_t width = bigEndian(16), height = bigEndian(20);
  return width > 0x7FFFFFFF || height > 0x7FFFFFFF ||
         !win::surfaceSizeAllowed(static_cast<int>(width), static_cast<int>(height));
}

std::u16string wideName(const std::string& fileName) {
  std::u16string wide(fileName.size() + 1, u'\0');
  const int length = win::MultiByteToWideChar(win::CP_UTF8, 0, fileName.data(), static_cast<int>(fileName.size()),
                                              reinterpret_cast<win::WCHAR*>(wide.data()),
                                              static_cast<int>(wide.size()));
  wide.resize(static_cast<std::size_t>(std::max(length, 0)));
  return wide;
}

// GDI+ opens files by name. It is given the name of the descriptor checked
// here, so it reads that regular file even when the name is changed meanwhile.
std::string checkedName(const gui::TRegularFile& file, const std::string& fileName) {
  const std::string own = "/proc/self/fd/" + std::to_string(file.Descriptor());
  return ::access(own.c_str(), R_OK) == 0 ? own : fileName;
}

}  // namespace

TGpImage::TGpImage(const std::string& FileName, bool DeleteOnFree) {
  if (!gui::FileExists(FileName)) throw EGDIPlus("Image file " + FileName + " not found.");
  if (DeleteOnFree) FDeleteFile = FileName;
  gdiplus::GpImage* handle = nullptr;
  const gui::TRegularFile file(FileName, gui::TFileKind::Image);
  const std::u16string wide = file.Valid() ? wideName(checkedName(file, FileName)) : std::u16string();
  if (!GdiPlusAvailable || wide.empty() || declaresHugePng(file) ||
      gdiplus::api().LoadImageFromFile(wide.c_str(), &handle) != gdiplus::Ok || !handle) {
    if (!FDeleteFile.empty()) gui::DeleteFile(FDeleteFile);
    throw EGDIPlus("Can't load image file " + FileName + ".");
  }
  Adopt(handle);
}

void TGpImage::Adopt(gdiplus::GpImage* handle) {
  FHandle = handle;
  gdiplus::objectMade();
}

TGpImage::~TGpImage() {
  if (FHandle) {
    gdiplus::api().DisposeImage(FHandle);
    gdiplus::objectFreed();
  }
  if (!FDeleteFile.empty()) gui::DeleteFile(FDeleteFile);
}

int TGpImage::Width() {
  if (FWidth == 0 && FHandle) {
    unsigned value = 0;
    if (gdiplus::api().GetImageWidth(FHandle, &value) == gdiplus::Ok) FWidth = static_cast<int>(value);
  }
  return FWidth;
}

int TGpImage::Height() {
  if (FHeight == 0 && FHandle) {
    unsigned value = 0;
    if (gdiplus::api().GetImageHeight(FHandle, &value) == gdiplus::Ok) FHeight = static_cast<int>(value);
  }
  return FHeight;
}

gdiplus::ARGB TGpImage::GetPixel(int X, int Y) {
  gdiplus::ARGB color = 0;
  if (FHandle) gdiplus::api().BitmapGetPixel(FHandle, X, Y, &color);
  return color;
}

void TGpImage::SetPixel(int X, int Y, gdiplus::ARGB Color) {
  if (FHandle) gdiplus::api().BitmapSetPixel(FHandle, X, Y, Color);
}

std::unique_ptr<TGpBitmap> TGpBitmap::CreateBlank(int W, int H) {
  gdiplus::GpImage* handle = nullptr;
  if (!GdiPlusAvailable || !win::surfaceSizeAllowed(W, H) ||
      gdiplus::api().CreateBitmapFromScan0(W, H, 0, gdiplus::PixelFormat32bppARGB, nullptr, &handle) !=
          gdiplus::Ok ||
      !handle)
    throw EGDIPlus("Can't create bitmap");
  std::unique_ptr<TGpBitmap> bitmap(new TGpBitmap());
  bitmap->Adopt(handle);
  bitmap->FWidth = W;
  bitmap->FHeight = H;
  return bitmap;
}

std::unique_ptr<gui::TBitmap> GpImageToBitmap(TGpImage& Image) {
  auto bitmap = std::make_unique<gui::TBitmap>();
  bitmap->SetSize(Image.Width(), Image.Height());
  const win::HDC dc = bitmap->Canvas().Handle();
  win::PatBlt(dc, 0, 0, Image.Width(), Image.Height(), win::WHITENESS);
  TGpGraphics graphics(dc);
  graphics.DrawImageStretched(Image, 0, 0, Image.Width(), Image.Height());
  return bitmap;
}

}  // namespace images
