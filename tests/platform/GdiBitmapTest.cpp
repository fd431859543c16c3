#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>
#include <random>
#include <vector>

#include "platform/win/Gdi.h"
#include "platform/win/gdi/Raster.h"
#include "platform/win/text/FontObject.h"
#include "platform/win/text/TextDraw.h"

namespace win {
namespace {

// BITMAPINFO with room for a 256-entry colour table.
struct Info {
  BITMAPINFOHEADER header{};
  RGBQUAD colors[256]{};
  BITMAPINFO* get() { return reinterpret_cast<BITMAPINFO*>(this); }
};

Info dibInfo(int width, int height, int bitCount) {
  Info info;
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = height;
  info.header.biPlanes = 1;
  info.header.biBitCount = static_cast<WORD>(bitCount);
  return info;
}

COLORREF pixelAt(HBITMAP bitmap, int x, int y) {
  return pixelToColor(bitmapFromHandle(bitmap)->surface.rowPtr(y)[x]);
}

TEST(GdiBitmap, BottomUpDibSectionStoresTheTopRowLast) {
  Info info = dibInfo(2, 3, 32);
  void* bits = nullptr;
  const HBITMAP bottomUp = CreateDIBSection(0, info.get(), DIB_RGB_COLORS, &bits, 0, 0);
  ASSERT_NE(bottomUp, 0u);
  const HDC dc = CreateCompatibleDC(0);
  const HGDIOBJ old = SelectObject(dc, bottomUp);
  SetPixel(dc, 0, 0, RGB(0x11, 0x22, 0x33));  // top-left on screen
  const auto* words = static_cast<const std::uint32_t*>(bits);
  EXPECT_EQ(words[2 * 2], 0x112233u);  // last row in memory, blue in the low byte
  EXPECT_EQ(words[0], 0u);
  info.header.biHeight = -3;
  void* topDownBits = nullptr;
  const HBITMAP topDown = CreateDIBSection(0, info.get(), DIB_RGB_COLORS, &topDownBits, 0, 0);
  SelectObject(dc, topDown);
  SetPixel(dc, 0, 0, RGB(0x11, 0x22, 0x33));
  EXPECT_EQ(static_cast<const std::uint32_t*>(topDownBits)[0], 0x112233u);
  DIBSECTION section;
  EXPECT_EQ(GetObject(topDown, sizeof section, &section), static_cast<int>(sizeof section));
  EXPECT_EQ(section.dsBm.bmBits, topDownBits);
  EXPECT_EQ(section.dsBm.bmHeight, 3);
  EXPECT_EQ(section.dsBmih.biHeight, -3);
  BITMAP plain;
  EXPECT_EQ(GetObject(bottomUp, sizeof plain, &plain), static_cast<int>(sizeof plain));
  EXPECT_EQ(plain.bmWidthBytes, 8);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bottomUp);
  DeleteObject(topDown);
}

TEST(GdiBitmap, LowDepthDibSectionsKeepBitsAndDrawingInStep) {
  Info info = dibInfo(4, 2, 8);
  info.header.biClrUsed = 3;
  info.colors[0] = RGBQUAD{0, 0, 0, 0};
  info.colors[1] = RGBQUAD{0, 0, 255, 0};  // red
  info.colors[2] = RGBQUAD{255, 0, 0, 0};  // blue
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(0, info.get(), DIB_RGB_COLORS, &bits, 0, 0);
  ASSERT_NE(bitmap, 0u);
  auto* bytes = static_cast<std::uint8_t*>(bits);
  bytes[0] = 1;  // bottom row, first pixel: red
  const HDC dc = CreateCompatibleDC(0);
  const HGDIOBJ old = SelectObject(dc, bitmap);
  EXPECT_EQ(GetPixel(dc, 0, 1), RGB(255, 0, 0));
  bytes[1] = 2;  // written while selected: seen by the next call after GdiFlush
  GdiFlush();
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(0, 0, 255));
  SetPixel(dc, 3, 0, RGB(250, 10, 10));  // nearest table colour is red
  EXPECT_EQ(bytes[4 + 3], 1);            // top row is stored second
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bitmap);
}

// A 24 bpp DIB section selected into a memory DC, as images keep their pixels.
struct Dib24 {
  HDC dc = CreateCompatibleDC(0);
  HBITMAP bitmap;
  std::uint8_t* bits = nullptr;
  std::optional<SelectScope> select;
  Dib24(int width, int height) {
    Info info = dibInfo(width, height, 24);
    void* memory = nullptr;
    bitmap = CreateDIBSection(0, info.get(), DIB_RGB_COLORS, &memory, 0, 0);
    bits = static_cast<std::uint8_t*>(memory);
    select.emplace(dc, bitmap);
  }
  ~Dib24() {
    select.reset();
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  Dib24(const Dib24&) = delete;
  Dib24& operator=(const Dib24&) = delete;
};

// Bits written straight into a new section (no drawing call yet) are what
// blits and GetDIBits read, and stay the master copy after drawing.
TEST(GdiBitmap, DibSectionBitsWrittenDirectlyAreReadBeforeAndAfterDrawing) {
  Dib24 dib(3, 2);
  ASSERT_NE(dib.bitmap, 0u);
  const std::int64_t stride = dibRowBytes(3, 24);
  for (std::int64_t i = 0; i < stride * 2; ++i) EXPECT_EQ(dib.bits[i], 0) << i;  // a new section is black
  const HDC screen = CreateCompatibleDC(0);
  const HBITMAP target = CreateBitmap(3, 2, 1, 32, nullptr);
  const HGDIOBJ old = SelectObject(screen, target);
  PatBlt(screen, 0, 0, 3, 2, WHITENESS);
  ASSERT_TRUE(BitBlt(screen, 0, 0, 3, 2, dib.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(pixelAt(target, 2, 1), RGB(0, 0, 0));
  // Top row, last pixel, stored in the second row: blue, green, red.
  dib.bits[stride + 6] = 0x30;
  dib.bits[stride + 7] = 0x20;
  dib.bits[stride + 8] = 0x10;
  GdiFlush();
  ASSERT_TRUE(BitBlt(screen, 0, 0, 3, 2, dib.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(pixelAt(target, 2, 0), RGB(0x10, 0x20, 0x30));
  Info info = dibInfo(3, 2, 32);
  std::uint32_t read[6] = {};
  ASSERT_EQ(GetDIBits(screen, dib.bitmap, 0, 2, read, info.get(), DIB_RGB_COLORS), 2);
  EXPECT_EQ(read[5], 0x102030u);

  SetPixel(dib.dc, 0, 1, RGB(0xAA, 0xBB, 0xCC));  // a drawing call lands in the bits
  EXPECT_EQ(dib.bits[0], 0xCC);
  EXPECT_EQ(dib.bits[2], 0xAA);
  dib.bits[stride] = 0x44;  // top-left blue, written after the drawing call
  GdiFlush();
  ASSERT_TRUE(BitBlt(screen, 0, 0, 3, 2, dib.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(pixelAt(target, 0, 0), RGB(0, 0, 0x44));
  EXPECT_EQ(pixelAt(target, 0, 1), RGB(0xAA, 0xBB, 0xCC));
  EXPECT_EQ(pixelAt(target, 2, 0), RGB(0x10, 0x20, 0x30));
  EXPECT_EQ(GetPixel(dib.dc, 0, 0), RGB(0, 0, 0x44));

  // SetDIBits and GetBitmapBits on a section no drawing call has touched.
  Info fresh = dibInfo(3, 2, 24);
  void* freshBits = nullptr;
  const HBITMAP untouched = CreateDIBSection(0, fresh.get(), DIB_RGB_COLORS, &freshBits, 0, 0);
  const std::uint32_t rows[6] = {0x010203, 0, 0, 0, 0, 0x0A0B0C};
  ASSERT_EQ(SetDIBits(screen, untouched, 0, 2, rows, info.get(), DIB_RGB_COLORS), 2);
  EXPECT_EQ(static_cast<std::uint8_t*>(freshBits)[0], 0x03);
  EXPECT_EQ(static_cast<std::uint8_t*>(freshBits)[stride + 6], 0x0C);
  std::uint8_t words[3 * 2 * 4] = {};
  ASSERT_EQ(GetBitmapBits(untouched, sizeof words, words), static_cast<LONG>(sizeof words));
  EXPECT_EQ(words[2 * 4], 0x0C);  // top row first, last pixel
  DeleteObject(untouched);
  SelectObject(screen, old);
  DeleteObject(target);
  DeleteDC(screen);
}

// Bitmaps are limited by pixel count, not by side: an animation's frames laid
// side by side make strips far wider than 32768 pixels.
TEST(GdiBitmap, LongStripsAreCreatedAndHugeAreasRefused) {
  Dib24 strip(40000, 10);
  ASSERT_NE(strip.bitmap, 0u);
  SetPixel(strip.dc, 39999, 9, RGB(1, 2, 3));
  EXPECT_EQ(GetPixel(strip.dc, 39999, 9), RGB(1, 2, 3));
  const HBITMAP wide = CreateBitmap(100000, 2, 1, 32, nullptr);
  EXPECT_NE(wide, 0u);
  DeleteObject(wide);
  EXPECT_EQ(CreateBitmap(20000, 20000, 1, 32, nullptr), 0u);  // 4e8 pixels
  Info huge = dibInfo(1 << 21, 1, 24);
  void* bits = nullptr;
  EXPECT_EQ(CreateDIBSection(0, huge.get(), DIB_RGB_COLORS, &bits, 0, 0), 0u);
}

// Large sections come from mapped memory that may be reused after the last
// one of the same size is freed: a new section is black all the same.
TEST(GdiBitmap, LargeSectionsStartBlackAfterReuse) {
  for (int round = 0; round < 2; ++round) {
    Dib24 dib(2000, 1000);
    ASSERT_NE(dib.bitmap, 0u);
    const std::int64_t bytes = dibRowBytes(2000, 24) * 1000;
    std::int64_t nonZero = 0;
    for (std::int64_t i = 0; i < bytes; i += 997) nonZero += dib.bits[i] != 0;
    EXPECT_EQ(nonZero, 0) << round;
    EXPECT_EQ(dib.bits[bytes - 1], 0);
    std::memset(dib.bits, 0xAB, static_cast<std::size_t>(bytes));
  }
}

// The block of a large surface just freed is handed to the next large one:
// that surface is filled as asked all the same, and surfaces alive together
// never share pixels.
TEST(GdiBitmap, LargeSurfacesReuseFreedPixelsFilledAndApart) {
  Surface first;
  ASSERT_TRUE(allocateSurface(first, 400, 300, 0x123456));
  for (int y = 0; y < first.height; ++y) std::fill_n(first.rowPtr(y), first.width, 0xABCDEFu);
  first = Surface{};
  Surface second, third;
  ASSERT_TRUE(allocateSurface(second, 300, 250, 0x00FF00));
  ASSERT_TRUE(allocateSurface(third, 400, 300, 0x0000FF));
  const auto filledWith = [](const Surface& surface, std::uint32_t pixel) {
    for (int y = 0; y < surface.height; ++y)
      for (int x = 0; x < surface.width; ++x)
        if (surface.rowPtr(y)[x] != pixel) return false;
    return true;
  };
  EXPECT_TRUE(filledWith(second, 0x00FF00));
  EXPECT_TRUE(filledWith(third, 0x0000FF));
  const auto* secondEnd = second.rowPtr(second.height - 1) + second.width;
  const auto* thirdEnd = third.rowPtr(third.height - 1) + third.width;
  EXPECT_TRUE(secondEnd <= third.rowPtr(0) || thirdEnd <= second.rowPtr(0));
  second = Surface{};
  const HBITMAP bitmap = CreateBitmap(350, 280, 1, 32, nullptr);
  ASSERT_NE(bitmap, 0u);
  const HDC dc = CreateCompatibleDC(0);
  const HGDIOBJ previous = SelectObject(dc, bitmap);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 349, 279), RGB(0, 0, 0));
  SelectObject(dc, previous);
  DeleteDC(dc);
  DeleteObject(bitmap);
}

// A 24 bpp section that nothing changed is not converted again for every
// blit from it: bits written behind the drawing calls' back show only after
// GdiFlush (or after their address was fetched again through GetObject).
TEST(GdiBitmap, ShadowOfUnchangedSectionIsReusedUntilFlushed) {
  Dib24 dib(2, 1);
  const HDC screen = CreateCompatibleDC(0);
  const HBITMAP target = CreateBitmap(2, 1, 1, 32, nullptr);
  const HGDIOBJ old = SelectObject(screen, target);
  dib.bits[0] = 0x11;  // before the first drawing call: always seen
  ASSERT_TRUE(BitBlt(screen, 0, 0, 2, 1, dib.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(pixelAt(target, 0, 0), RGB(0, 0, 0x11));
  dib.bits[0] = 0x22;
  ASSERT_TRUE(BitBlt(screen, 0, 0, 2, 1, dib.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(pixelAt(target, 0, 0), RGB(0, 0, 0x11));  // the shadow was kept
  GdiFlush();
  ASSERT_TRUE(BitBlt(screen, 0, 0, 2, 1, dib.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(pixelAt(target, 0, 0), RGB(0, 0, 0x22));
  dib.bits[3] = 0x33;
  DIBSECTION section{};
  ASSERT_EQ(GetObject(dib.bitmap, sizeof section, &section), static_cast<int>(sizeof section));
  EXPECT_EQ(GetPixel(dib.dc, 1, 0), RGB(0, 0, 0x33));
  SetPixel(dib.dc, 1, 0, RGB(0x44, 0, 0));  // drawing keeps both copies in step
  EXPECT_EQ(dib.bits[5], 0x44);
  ASSERT_TRUE(BitBlt(screen, 0, 0, 2, 1, dib.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(pixelAt(target, 1, 0), RGB(0x44, 0, 0));
  SelectObject(screen, old);
  DeleteObject(target);
  DeleteDC(screen);
}

// Text drawn into a 24 bpp section (opaque background, several glyphs, an
// underline) leaves the same pixels in its bits as in a 32 bpp section.
TEST(GdiBitmap, TextIntoLowDepthDibSectionMatchesTrueColour) {
  const int width = 120, height = 30;
  Dib24 low(width, height);
  Info info = dibInfo(width, height, 32);
  void* memory = nullptr;
  const HBITMAP full = CreateDIBSection(0, info.get(), DIB_RGB_COLORS, &memory, 0, 0);
  const HDC fullDc = CreateCompatibleDC(0);
  const HGDIOBJ oldFull = SelectObject(fullDc, full);
  const HFONT font = CreateFontW(-16, 0, 0, 0, FW_NORMAL, 0, 1, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"Arial");
  for (HDC dc : {low.dc, fullDc}) {
    PatBlt(dc, 0, 0, width, height, WHITENESS);
    SelectObject(dc, font);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(200, 220, 240));
    SetTextColor(dc, RGB(10, 20, 30));
    const std::u16string text = u"Glyphs";
    ASSERT_TRUE(TextOutW(dc, 4, 4, text.data(), static_cast<int>(text.size())));
  }
  const auto* pixels = static_cast<const std::uint32_t*>(memory);
  const std::int64_t stride = dibRowBytes(width, 24);
  int inked = 0;
  for (int row = 0; row < height; ++row)
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* p = low.bits + row * stride + 3 * x;
      const std::uint32_t lowPixel = (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
      const std::uint32_t fullPixel = pixels[row * width + x] & 0xFFFFFF;
      ASSERT_EQ(lowPixel, fullPixel) << x << "," << row;
      inked += fullPixel != 0xFFFFFF;
    }
  EXPECT_GT(inked, 100);
  SelectObject(low.dc, GetStockObject(SYSTEM_FONT));
  SelectObject(fullDc, oldFull);
  DeleteDC(fullDc);
  DeleteObject(full);
  DeleteObject(font);
}

TEST(GdiBitmap, GetDibitsRoundTripsThroughEveryDepth) {
  const HDC dc = CreateCompatibleDC(0);
  const HBITMAP bitmap = CreateBitmap(5, 3, 1, 32, nullptr);
  const HGDIOBJ old = SelectObject(dc, bitmap);
  const COLORREF colors[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 0, 0), RGB(0, 0, 255), RGB(128, 128, 128)};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) SetPixel(dc, x, y, colors[(x + y) % 5]);
  SelectObject(dc, old);
  for (int bitCount : {4, 24, 32}) {
    for (int height : {3, -3}) {
      Info info = dibInfo(5, height, bitCount);
      std::vector<std::uint8_t> buffer(static_cast<std::size_t>(dibRowBytes(5, bitCount) * 3));
      ASSERT_EQ(GetDIBits(dc, bitmap, 0, 3, buffer.data(), info.get(), DIB_RGB_COLORS), 3);
      const HBITMAP copy = CreateBitmap(5, 3, 1, 32, nullptr);
      ASSERT_EQ(SetDIBits(dc, copy, 0, 3, buffer.data(), info.get(), DIB_RGB_COLORS), 3);
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
          EXPECT_EQ(pixelAt(copy, x, y), colors[(x + y) % 5]) << bitCount << " " << height << " " << x << "," << y;
      DeleteObject(copy);
    }
  }
  Info query{};
  query.header.biSize = sizeof(BITMAPINFOHEADER);
  EXPECT_EQ(GetDIBits(dc, bitmap, 0, 3, nullptr, query.get(), DIB_RGB_COLORS), 3);
  EXPECT_EQ(query.header.biWidth, 5);
  EXPECT_EQ(query.header.biBitCount, 32);
  EXPECT_EQ(query.header.biSizeImage, 60u);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

TEST(GdiBitmap, StretchDibitsCountsSourceRowsFromTheBottom) {
  // Bottom-up 1x2 DIB: first stored row (bottom) red, second (top) blue.
  Info info = dibInfo(1, 2, 32);
  const std::uint32_t bits[] = {0x00FF0000, 0x000000FF};
  const HDC dc = CreateCompatibleDC(0);
  const HBITMAP target = CreateBitmap(1, 2, 1, 32, nullptr);
  const HGDIOBJ old = SelectObject(dc, target);
  EXPECT_EQ(StretchDIBits(dc, 0, 0, 1, 2, 0, 0, 1, 2, bits, info.get(), DIB_RGB_COLORS, SRCCOPY), 2);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(dc, 0, 1), RGB(255, 0, 0));
  // Source row 0 from the bottom only, stretched over both rows.
  StretchDIBits(dc, 0, 0, 1, 2, 0, 0, 1, 1, bits, info.get(), DIB_RGB_COLORS, SRCCOPY);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 0, 1), RGB(255, 0, 0));
  EXPECT_EQ(SetDIBitsToDevice(dc, 0, 0, 1, 2, 0, 0, 0, 2, bits, info.get(), DIB_RGB_COLORS), 2);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 255));
  info.header.biBitCount = 7;
  EXPECT_EQ(StretchDIBits(dc, 0, 0, 1, 2, 0, 0, 1, 2, bits, info.get(), DIB_RGB_COLORS, SRCCOPY), 0);
  SelectObject(dc, old);
  DeleteObject(target);
  DeleteDC(dc);
}

TEST(GdiBitmap, BadBitmapRequestsFailWithoutAllocating) {
  EXPECT_EQ(CreateBitmap(-1, 5, 1, 32, nullptr), 0u);
  EXPECT_EQ(CreateBitmap(100000, 100000, 1, 32, nullptr), 0u);
  EXPECT_EQ(CreateBitmap(4, 4, 1, 8, nullptr), 0u);
  Info info = dibInfo(70000, 70000, 32);
  void* bits = reinterpret_cast<void*>(1);
  EXPECT_EQ(CreateDIBSection(0, info.get(), DIB_RGB_COLORS, &bits, 0, 0), 0u);
  EXPECT_EQ(bits, nullptr);
  info = dibInfo(4, INT32_MIN, 32);
  EXPECT_EQ(CreateDIBSection(0, info.get(), DIB_RGB_COLORS, &bits, 0, 0), 0u);
  info = dibInfo(4, 4, 16);
  EXPECT_EQ(CreateDIBSection(0, info.get(), DIB_RGB_COLORS, &bits, 0, 0), 0u);
  const HBITMAP empty = CreateBitmap(0, 0, 1, 32, nullptr);  // a 1x1 monochrome bitmap
  BITMAP description;
  GetObject(empty, sizeof description, &description);
  EXPECT_EQ(description.bmBitsPixel, 1);
  DeleteObject(empty);
}

TEST(GdiBitmap, FreshMemoryDcMakesMonochromeCompatibleBitmaps) {
  const HDC dc = CreateCompatibleDC(0);
  const HBITMAP mono = CreateCompatibleBitmap(dc, 4, 4);
  BITMAP description;
  GetObject(mono, sizeof description, &description);
  EXPECT_EQ(description.bmBitsPixel, 1);
  const HBITMAP colour = CreateBitmap(4, 4, 1, 32, nullptr);
  const HGDIOBJ old = SelectObject(dc, colour);
  const HBITMAP second = CreateCompatibleBitmap(dc, 4, 4);
  GetObject(second, sizeof description, &description);
  EXPECT_EQ(description.bmBitsPixel, 32);
  // One bitmap, one DC at a time.
  const HDC other = CreateCompatibleDC(0);
  EXPECT_EQ(SelectObject(other, colour), 0u);
  SelectObject(dc, old);
  EXPECT_NE(SelectObject(other, colour), 0u);
  DeleteDC(other);
  DeleteDC(dc);
  for (HBITMAP b : {mono, colour, second}) EXPECT_TRUE(DeleteObject(b));
}

TEST(GdiObjects, StaleHandlesAreRefusedEverywhere) {
  const HPEN pen = CreatePen(PS_SOLID, 1, 0);
  EXPECT_EQ(GetObjectType(pen), OBJ_PEN);
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_FALSE(DeleteObject(pen));
  EXPECT_EQ(GetObjectType(pen), 0u);
  EXPECT_EQ(GetObject(pen, 0, nullptr), 0);
  const HDC dc = CreateCompatibleDC(0);
  EXPECT_EQ(SelectObject(dc, pen), 0u);
  EXPECT_EQ(SelectObject(dc, dc), 0u);
  EXPECT_FALSE(DeleteObject(dc));  // DCs go through DeleteDC
  EXPECT_EQ(GetObjectType(dc), OBJ_MEMDC);
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), 0u);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 0);
  EXPECT_EQ(CreateCompatibleDC(dc), 0u);
}

TEST(GdiObjects, StockObjectsSurviveDeletionAndSelectedObjectsAreKept) {
  const HGDIOBJ black = GetStockObject(BLACK_BRUSH);
  EXPECT_EQ(GetStockObject(BLACK_BRUSH), black);
  EXPECT_TRUE(DeleteObject(black));
  EXPECT_EQ(GetObjectType(black), OBJ_BRUSH);
  EXPECT_EQ(GetStockObject(99), 0u);
  LOGBRUSH brush{};
  ASSERT_EQ(GetObject(GetStockObject(NULL_BRUSH), sizeof brush, &brush), static_cast<int>(sizeof brush));
  EXPECT_EQ(brush.lbStyle, BS_NULL);
  const HDC dc = CreateCompatibleDC(0);
  const HPEN pen = CreatePen(PS_DASH, 5, RGB(1, 2, 3));
  EXPECT_EQ(SelectObject(dc, pen), GetStockObject(BLACK_PEN));
  EXPECT_FALSE(DeleteObject(pen));
  LOGPEN description;
  GetObject(pen, sizeof description, &description);
  EXPECT_EQ(description.lopnWidth.x, 1);  // dashed pens are one pixel wide
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_TRUE(DeleteObject(pen));  // the dead DC no longer holds it
}

TEST(GdiObjects, StockFontsComeFromTheProvider) {
  auto& provider = stockFontProvider();
  const auto saved = provider;
  provider = [](int index) { return index == DEFAULT_GUI_FONT ? HGDIOBJ{77} : HGDIOBJ{0}; };
  EXPECT_EQ(GetStockObject(DEFAULT_GUI_FONT), 77u);
  EXPECT_EQ(GetStockObject(SYSTEM_FONT), 0u);
  provider = saved;
}

TEST(GdiPalette, EntriesNearestIndexAndSystemPalette) {
  std::vector<std::uint8_t> storage(sizeof(LOGPALETTE) + 2 * sizeof(PALETTEENTRY));
  auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
  logical->palVersion = 0x300;
  logical->palNumEntries = 3;
  logical->palPalEntry[0] = PALETTEENTRY{0, 0, 0, 0};
  logical->palPalEntry[1] = PALETTEENTRY{255, 0, 0, 0};
  logical->palPalEntry[2] = PALETTEENTRY{0, 0, 250, 0};
  const HPALETTE palette = CreatePalette(logical);
  ASSERT_NE(palette, 0u);
  EXPECT_EQ(GetNearestPaletteIndex(palette, RGB(0, 10, 200)), 2u);
  EXPECT_EQ(GetPaletteEntries(palette, 0, 0, nullptr), 3u);
  PALETTEENTRY entries[4];
  EXPECT_EQ(GetPaletteEntries(palette, 1, 4, entries), 2u);
  EXPECT_EQ(entries[0].peRed, 255);
  const PALETTEENTRY green{0, 255, 0, 0};
  EXPECT_EQ(SetPaletteEntries(palette, 2, 1, &green), 1u);
  EXPECT_EQ(GetNearestPaletteIndex(palette, RGB(0, 200, 0)), 2u);
  WORD count = 0;
  EXPECT_EQ(GetObject(palette, sizeof count, &count), 2);
  EXPECT_EQ(count, 3);

  const HDC dc = CreateCompatibleDC(0);
  const HPALETTE previous = SelectPalette(dc, palette, FALSE);
  EXPECT_EQ(previous, GetStockObject(DEFAULT_PALETTE));
  EXPECT_EQ(RealizePalette(dc), 0u);  // true colour: nothing to map
  EXPECT_EQ(GetSystemPaletteEntries(dc, 0, 256, entries), 0u);
  DeviceContext* context = dcFromHandle(dc);
  context->bitsPixel = 8;
  EXPECT_EQ(RealizePalette(dc), 3u);
  PALETTEENTRY system[256];
  EXPECT_EQ(GetSystemPaletteEntries(dc, 0, 256, system), 256u);
  EXPECT_EQ(system[9].peRed, 166);   // last of the first ten static colours
  EXPECT_EQ(system[100].peRed, 0);
  EXPECT_EQ(system[255].peBlue, 255);  // white
  EXPECT_EQ(GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE, RC_PALETTE);
  EXPECT_EQ(GetDeviceCaps(dc, SIZEPALETTE), 256);
  EXPECT_EQ(GetDeviceCaps(dc, NUMCOLORS), 20);
  SelectPalette(dc, previous, FALSE);
  DeleteDC(dc);
  EXPECT_TRUE(DeleteObject(palette));
}

TEST(GdiScreen, DepthAndResolutionFollowTheSettings) {
  setScreenDepth(8);
  setScreenPixelsPerInch(120);
  setScreenDepth(13);  // ignored
  const HDC dc = CreateCompatibleDC(0);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 8);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 120);
  EXPECT_EQ(GetDeviceCaps(dc, PLANES), 1);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), 0);
  DeleteDC(dc);
  resetScreen();
  const HDC after = CreateCompatibleDC(0);
  EXPECT_EQ(GetDeviceCaps(after, BITSPIXEL), screenBitsPerPixel());
  EXPECT_EQ(GetDeviceCaps(after, RASTERCAPS) & RC_PALETTE, screenBitsPerPixel() <= 8 ? RC_PALETTE : 0);
  DeleteDC(after);
}

TEST(GdiPixels, BlendCoverageMixesByAlphaAndHonoursTheClip) {
  const HDC dc = CreateCompatibleDC(0);
  const HBITMAP bitmap = CreateBitmap(3, 1, 1, 32, nullptr);
  SelectObject(dc, bitmap);
  DeviceContext& context = *dcFromHandle(dc);
  fillDeviceRect(context, RECT{0, 0, 3, 1}, RGB(255, 255, 255));
  ExcludeClipRect(dc, 2, 0, 3, 1);
  const std::uint8_t coverage[] = {255, 128, 255};
  blendCoverage(context, 0, 0, coverage, 3, 1, 3, RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(pixelAt(bitmap, 1, 0), RGB(127, 127, 127));
  EXPECT_EQ(pixelAt(bitmap, 2, 0), RGB(255, 255, 255));
  DeleteDC(dc);
  DeleteObject(bitmap);
}

// Rows of every width up to 19 over pixels with any top byte, coverage empty,
// full or between, blended as the one-pixel rule says: none keeps the pixel,
// full takes the colour, else (s * a + d * (255 - a) + 127) / 255 per channel
// with the top byte cleared. Replayed by number.
TEST(GdiPixels, BlendCoverageFollowsTheOnePixelRuleOnRandomRows) {
  for (unsigned number = 0; number < 300; ++number) {
    std::mt19937 random(number);
    const int width = 1 + static_cast<int>(random() % 19);
    const HDC dc = CreateCompatibleDC(0);
    const HBITMAP bitmap = CreateBitmap(width, 2, 1, 32, nullptr);
    SelectObject(dc, bitmap);
    DeviceContext& context = *dcFromHandle(dc);
    Surface& surface = *context.surface;
    std::vector<std::uint32_t> before;
    std::vector<std::uint8_t> coverage;
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < width; ++x) {
        surface.rowPtr(y)[x] = static_cast<std::uint32_t>(random());
        before.push_back(surface.rowPtr(y)[x]);
        const unsigned kind = random() % 3;
        coverage.push_back(kind == 0 ? 0 : kind == 1 ? 255 : static_cast<std::uint8_t>(random()));
      }
    const COLORREF color = static_cast<COLORREF>(random() & 0xFFFFFF);
    blendCoverage(context, 0, 0, coverage.data(), width, 2, width, color);
    const std::uint32_t source = surfacePixel(surface, color);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < width; ++x) {
        const std::size_t at = static_cast<std::size_t>(y * width + x);
        const std::uint32_t a = coverage[at], d = before[at];
        std::uint32_t expected = a == 0 ? d : source;
        if (a != 0 && a != 255) {
          expected = 0;
          for (const int shift : {0, 8, 16})
            expected |= ((((source >> shift) & 0xFF) * a + ((d >> shift) & 0xFF) * (255 - a) + 127) / 255) << shift;
        }
        ASSERT_EQ(surface.rowPtr(y)[x], expected) << "case " << number << " at " << x << "," << y;
      }
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
}

TEST(GdiPixels, SavedBmpHasTheExpectedHeaderAndBottomUpRows) {
  Surface surface;
  ASSERT_TRUE(allocateSurface(surface, 2, 2, 0));
  surface.rowPtr(0)[0] = 0x112233;
  const std::string path = ::testing::TempDir() + "gdi_surface.bmp";
  ASSERT_TRUE(saveSurfaceAsBmp(surface, path));
  std::ifstream in(path, std::ios::binary);
  std::vector<char> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  ASSERT_EQ(file.size(), 54u + 2 * 8);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(static_cast<unsigned char>(file[28]), 24);
  // The top row is stored last: blue, green, red.
  EXPECT_EQ(static_cast<unsigned char>(file[54 + 8]), 0x33);
  EXPECT_EQ(static_cast<unsigned char>(file[54 + 10]), 0x11);
  std::remove(path.c_str());
  EXPECT_FALSE(saveSurfaceAsBmp(Surface{}, path));
}

}  // namespace
}  // namespace win
