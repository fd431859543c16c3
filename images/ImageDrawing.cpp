#include "images/ImageDrawing.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "images/DisplayPalette.h"
#include "images/EGDIPlus.h"
#include "images/TGIFImage.h"
#include "images/TGpGraphics.h"
#include "platform/gui/GdiCalls.h"
#include "platform/gui/GraphicsFunctions.h"
#include "platform/win/RectMath.h"

namespace images {
namespace {

constexpr win::COLORREF kWhite = 0xFFFFFF;
constexpr int kMaxTileStrip = 100;

// A memory DC holding one bitmap for the length of a drawing step.
class SelectedBitmap {
 public:
  SelectedBitmap(win::HDC like, win::HBITMAP bitmap) : dc_(win::CreateCompatibleDC(like)), select_(dc_, bitmap) {}
  ~SelectedBitmap() {
    select_.restore();
    win::DeleteDC(dc_);
  }
  SelectedBitmap(const SelectedBitmap&) = delete;
  SelectedBitmap& operator=(const SelectedBitmap&) = delete;
  win::HDC get() const { return dc_; }

 private:
  win::HDC dc_;
  win::SelectScope select_;
};

// Rows [first, first + count) of a bitmap as a new bitmap of the same kind.
std::unique_ptr<gui::TBitmap> bandOf(gui::TBitmap& source, int first, int count) {
  auto band = std::make_unique<gui::TBitmap>();
  if (source.Monochrome()) band->SetMonochrome(true);
  band->SetSize(source.Width(), count);
  win::BitBlt(band->Canvas().Handle(), 0, 0, source.Width(), count, source.Canvas().Handle(), 0, first,
              win::SRCCOPY);
  return band;
}

// Runs of pixels other than `colour` on each row, as rectangles.
std::vector<win::RECT> runsOf(gui::TBitmap& bitmap, win::COLORREF colour) {
  std::vector<win::RECT> runs;
  const std::uint32_t key = ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
  for (int y = 0; y < bitmap.Height(); ++y) {
    const auto* row = static_cast<const std::uint32_t*>(bitmap.ScanLine(y));
    int x = 0;
    while (x < bitmap.Width()) {
      while (x < bitmap.Width() && (row[x] & 0xFFFFFF) == key) ++x;
      const int start = x;
      while (x < bitmap.Width() && (row[x] & 0xFFFFFF) != key) ++x;
      if (x > start) runs.push_back(win::RECT{start, y, x, y + 1});
    }
  }
  return runs;
}

// The current clip region of a DC, restored when the scope ends.
class SavedClip {
 public:
  explicit SavedClip(win::HDC dc) : dc_(dc), region_(win::CreateRectRgn(0, 0, 1, 1)) {
    had_ = win::GetClipRgn(dc, region_) == 1;
  }
  ~SavedClip() {
    win::SelectClipRgn(dc_, had_ ? region_ : 0);
    win::DeleteObject(region_);
  }
  SavedClip(const SavedClip&) = delete;
  SavedClip& operator=(const SavedClip&) = delete;
  // Intersects `region` with the saved clip, when there was one.
  void narrow(win::HRGN region) const {
    if (had_) win::CombineRgn(region, region, region_, win::RGN_AND);
  }

 private:
  win::HDC dc_;
  win::HRGN region_;
  bool had_ = false;
};

void stretchDib(win::HDC dc, int x, int y, int w, int h, win::HBITMAP bitmap, bool backgroundPalette) {
  win::DWORD infoSize = 0, imageSize = 0;
  gui::GetDIBSizes(bitmap, infoSize, imageSize);
  if (infoSize == 0 || imageSize == 0) return;
  std::vector<std::uint8_t> info(infoSize), bits(imageSize);
  const win::HPALETTE oldPalette =
      DisplayPalette ? win::SelectPalette(dc, DisplayPalette, backgroundPalette ? win::TRUE : win::FALSE) : 0;
  if (gui::GetDIB(bitmap, DisplayPalette, info.data(), bits.data())) {
    if (DisplayPalette) win::RealizePalette(dc);
    const auto* header = reinterpret_cast<const win::BITMAPINFOHEADER*>(info.data());
    win::StretchDIBits(dc, x, y, w, h, 0, 0, header->biWidth, std::abs(header->biHeight), bits.data(),
                       reinterpret_cast<const win::BITMAPINFO*>(info.data()), win::DIB_RGB_COLORS, win::SRCCOPY);
  }
  if (oldPalette) win::SelectPalette(dc, oldPalette, win::TRUE);
}

bool monochromeTarget(win::HDC dc) {
  if (win::GetDeviceCaps(dc, win::BITSPIXEL) * win::GetDeviceCaps(dc, win::PLANES) == 1) return true;
  win::BITMAP selected{};
  const win::HGDIOBJ bitmap = win::GetCurrentObject(dc, win::OBJ_BITMAP);
  return bitmap && win::GetObject(bitmap, sizeof selected, &selected) != 0 &&
         selected.bmBitsPixel * selected.bmPlanes == 1;
}

}  // namespace

int ImageWidthOf(gui::TObject* Image) {
  if (auto* bitmap = dynamic_cast<gui::TBitmap*>(Image)) return bitmap->Width();
  if (auto* gp = dynamic_cast<TGpImage*>(Image)) return gp->Width();
  if (auto* gif = dynamic_cast<TGIFImage*>(Image)) return gif->Width();
  throw EGDIPlus("Not a TBitmap, TGifImage, TMetafile, or TGpImage");
}

int ImageHeightOf(gui::TObject* Image) {
  if (auto* bitmap = dynamic_cast<gui::TBitmap*>(Image)) return bitmap->Height();
  if (auto* gp = dynamic_cast<TGpImage*>(Image)) return gp->Height();
  if (auto* gif = dynamic_cast<TGIFImage*>(Image)) return gif->Height();
  throw EGDIPlus("Not a TBitmap, TGifImage, TMetafile, or TGpImage");
}

std::unique_ptr<gui::TBitmap> MakeTileBitmap(gui::TObject* Image, int W, int H) {
  std::unique_ptr<gui::TBitmap> converted;
  gui::TBitmap* source = dynamic_cast<gui::TBitmap*>(Image);
  if (auto* gp = dynamic_cast<TGpImage*>(Image)) {
    converted = GpImageToBitmap(*gp);
    source = converted.get();
  }
  if (!source || source->Empty()) return nullptr;
  auto tile = std::make_unique<gui::TBitmap>();
  tile->Assign(source);
  // A page can ask for a 0 or negative size; a tile is never less than 1.
  const int width = source->Width() == 1 ? std::clamp(W, 1, kMaxTileStrip) : source->Width();
  const int height = source->Height() == 1 ? std::clamp(H, 1, kMaxTileStrip) : source->Height();
  tile->SetSize(width, height);
  tile->Canvas().StretchDraw(win::RECT{0, 0, width, height}, source);
  return tile;
}

void StretchBitmapAsDIB(gui::TCanvas& Canvas, int X, int Y, int W, int H, win::HBITMAP Bitmap) {
  if (!Bitmap) return;
  try {
    stretchDib(Canvas.Handle(), X, Y, W, H, Bitmap, false);
  } catch (const std::exception&) {
    // A failed image leaves its area undrawn.
  }
}

win::HRGN RegionFromMask(gui::TBitmap& Bitmap, const win::XFORM* Transform, gui::TColor Color) {
  gui::TBitmap working;
  working.Assign(&Bitmap);
  working.SetPixelFormat(gui::pf32bit);
  const std::vector<win::RECT> runs = runsOf(working, gui::ColorToRGB(Color));
  if (runs.empty()) return 0;
  // One region from every run at once: ORing batches into a growing region
  // would be quadratic in the runs of a dithered mask.
  std::vector<std::uint8_t> data(sizeof(win::RGNDATAHEADER) + runs.size() * sizeof(win::RECT));
  win::RGNDATAHEADER header{sizeof(win::RGNDATAHEADER), win::RDH_RECTANGLES, static_cast<win::DWORD>(runs.size()),
                            static_cast<win::DWORD>(runs.size() * sizeof(win::RECT)), win::RECT{}};
  header.rcBound = runs.front();
  for (const win::RECT& r : runs) header.rcBound = win::unionRects(header.rcBound, r);
  std::memcpy(data.data(), &header, sizeof header);
  std::memcpy(data.data() + sizeof header, runs.data(), runs.size() * sizeof(win::RECT));
  return win::ExtCreateRegion(Transform, static_cast<win::DWORD>(data.size()),
                              reinterpret_cast<const win::RGNDATA*>(data.data()));
}

void DrawMaskedImage(gui::TCanvas& Canvas, int X, int Y, int W, int H, gui::TBitmap* Image, gui::TBitmap* Mask,
                     int FirstRow, int RowCount) {
  if (!Image || !Mask || Image->Empty() || RowCount <= 0) return;
  try {
    FirstRow = std::clamp(FirstRow, 0, Image->Height() - 1);
    RowCount = std::min(RowCount, Image->Height() - FirstRow);
    // Copies even for the whole image: the image is shared through the cache.
    std::unique_ptr<gui::TBitmap> image = bandOf(*Image, FirstRow, RowCount);
    std::unique_ptr<gui::TBitmap> mask = bandOf(*Mask, FirstRow, RowCount);
    {
      const win::HDC target = image->Canvas().Handle();
      win::SetBkColor(target, kWhite);
      win::SetTextColor(target, 0x000000);
      win::BitBlt(target, 0, 0, image->Width(), RowCount, mask->Canvas().Handle(), 0, 0, win::SRCPAINT);
    }
    const win::HDC dc = Canvas.Handle();
    win::SIZE viewport{1, 1}, window{1, 1};
    win::GetViewportExtEx(dc, &viewport);
    win::GetWindowExtEx(dc, &window);
    const double sx = window.cx ? static_cast<double>(viewport.cx) / window.cx : 1.0;
    const double sy = window.cy ? static_cast<double>(viewport.cy) / window.cy : 1.0;
    win::XFORM transform{};
    transform.eM11 = static_cast<float>(static_cast<double>(W) / image->Width() * sx);
    transform.eM22 = static_cast<float>(static_cast<double>(H) / RowCount * sy);
    transform.eDx = static_cast<float>(sx * X);
    transform.eDy = static_cast<float>(sy * Y);
    const win::HRGN region = RegionFromMask(*mask, &transform, gui::TColor(kWhite));
    if (!region) return;
    {
      SavedClip saved(dc);
      saved.narrow(region);
      win::SelectClipRgn(dc, region);
      stretchDib(dc, X, Y, W, H, image->Handle(), true);
    }
    win::DeleteObject(region);
  } catch (const std::exception&) {
    // A failed image leaves its area undrawn.
  }
}

void BlitImageThroughMask(win::HDC DC, gui::TBitmap* Image, gui::TBitmap* Mask, int X, int Y, int W, int H) {
  if (!Image || !Mask || Image->Empty() || Mask->Empty()) return;
  // A monochrome target cannot show the image; asked of the device and of
  // the bitmap a memory DC holds, rather than by making a target-sized
  // bitmap to look at on every paint.
  if (monochromeTarget(DC)) return;
  // The source part to work on: all of it, or, for an image drawn at its
  // own size on an unscaled DC, only the part the DC can show, so that a
  // large image scrolled in a small view costs the view, not the image.
  win::RECT part{0, 0, Image->Width(), Image->Height()};
  if (W == part.right && H == part.bottom && win::GetMapMode(DC) == win::MM_TEXT) {
    win::RECT box{};
    win::GetClipBox(DC, &box);
    part = win::intersectRects(part, win::RECT{box.left - X, box.top - Y, box.right - X, box.bottom - Y});
    if (part.left >= part.right || part.top >= part.bottom) return;
  }
  const int width = part.right - part.left, height = part.bottom - part.top;
  const int dstX = W == Image->Width() ? X + part.left : X, dstY = H == Image->Height() ? Y + part.top : Y;
  const int dstW = W == Image->Width() ? width : W, dstH = H == Image->Height() ? height : H;
  // A 32-bit working copy of that part: the shared image stays as it is.
  gui::TBitmap image;
  image.SetSize(width, height);
  const win::HDC imageDc = image.Canvas().Handle();
  win::BitBlt(imageDc, 0, 0, width, height, Image->Canvas().Handle(), part.left, part.top, win::SRCCOPY);
  gui::TBitmap inverted;
  inverted.SetMonochrome(true);
  inverted.SetSize(width, height);
  win::BitBlt(inverted.Canvas().Handle(), 0, 0, width, height, Mask->Canvas().Handle(), part.left, part.top,
              win::NOTSRCCOPY);
  const win::COLORREF oldBack = win::SetBkColor(DC, kWhite);
  const win::COLORREF oldText = win::SetTextColor(DC, 0x000000);
  const int oldMode = win::SetStretchBltMode(DC, win::BLACKONWHITE);
  // Opaque parts of the target go black; transparent parts stay.
  win::StretchBlt(DC, dstX, dstY, dstW, dstH, Mask->Canvas().Handle(), part.left, part.top, width, height,
                  win::SRCAND);
  // Transparent parts of the image go black, then the image is ORed in.
  win::SetBkColor(imageDc, kWhite);
  win::SetTextColor(imageDc, 0x000000);
  win::BitBlt(imageDc, 0, 0, width, height, inverted.Canvas().Handle(), 0, 0, win::SRCAND);
  win::SetStretchBltMode(DC, win::COLORONCOLOR);
  win::StretchBlt(DC, dstX, dstY, dstW, dstH, imageDc, 0, 0, width, height, win::SRCPAINT);
  win::SetStretchBltMode(DC, oldMode);
  win::SetTextColor(DC, oldText);
  win::SetBkColor(DC, oldBack);
}

void RenderGpImage(win::HDC DC, TGpImage& Image, int X, int Y) {
  try {
    if (Image.Width() <= 0 || Image.Height() <= 0) return;
    TGpGraphics graphics(DC);
    graphics.DrawImage(Image, X, Y);
  } catch (const gui::Exception&) {
  }
}

void RenderGpImagePart(win::HDC DC, TGpImage& Image, int X, int Y, int SrcX, int SrcY, int SrcW, int SrcH) {
  try {
    TGpGraphics graphics(DC);
    graphics.DrawImagePart(Image, X, Y, SrcX, SrcY, SrcW, SrcH);
  } catch (const gui::Exception&) {
  }
}

void RenderGpImageStretched(win::HDC DC, TGpImage& Image, int X, int Y, int W, int H) {
  try {
    TGpGraphics graphics(DC);
    graphics.DrawImageStretched(Image, X, Y, W, H);
  } catch (const gui::Exception&) {
  }
}

void RenderGpImageStretchedScaled(win::HDC DC, TGpImage& Image, int X, int Y, int W, int H, float ScaleX,
                                  float ScaleY) {
  try {
    TGpGraphics graphics(DC);
    graphics.ScaleTransform(ScaleX, ScaleY);
    graphics.DrawImageStretched(Image, X, Y, W, H);
  } catch (const gui::Exception&) {
  }
}

void RenderGpImageScaled(win::HDC DC, TGpImage& Image, int X, int Y, float ScaleX, float ScaleY) {
  try {
    TGpGraphics graphics(DC);
    graphics.ScaleTransform(ScaleX, ScaleY);
    graphics.DrawImage(Image, X, Y);
  } catch (const gui::Exception&) {
  }
}

void RenderGpImageOnBackground(gui::TCanvas& Canvas, TGpImage& Image, int X, int Y, int W, int H,
                               gui::TColor BackColor) {
  gui::TBitmap background;
  background.SetSize(Image.Width(), Image.Height());
  background.Canvas().Brush().SetColor(BackColor);
  background.Canvas().FillRect(win::RECT{0, 0, Image.Width(), Image.Height()});
  {
    TGpGraphics graphics(background.Canvas().Handle());
    graphics.DrawImage(Image, 0, 0);
  }
  Canvas.StretchDraw(win::RECT{X, Y, X + W, Y + H}, &background);
}

}  // namespace images
