#include "platform/win/gdi/StockObjects.h"

#include <array>
#include <memory>

#include "platform/win/gdi/BitmapObject.h"
#include "platform/win/gdi/BrushObject.h"
#include "platform/win/gdi/PaletteObject.h"
#include "platform/win/gdi/PenObject.h"

namespace win {
namespace {

HGDIOBJ addStock(std::unique_ptr<GdiObject> object) {
  object->stock = true;
  return addGdiObject(std::move(object));
}

HGDIOBJ makeBrush(UINT style, COLORREF color) {
  auto brush = std::make_unique<BrushObject>();
  brush->style = style;
  brush->color = color;
  return addStock(std::move(brush));
}

HGDIOBJ makePen(DWORD style, COLORREF color) {
  auto pen = std::make_unique<PenObject>(false);
  pen->style = style;
  pen->width = 0;  // a hairline: one device pixel under any transform
  pen->color = color;
  return addStock(std::move(pen));
}

HGDIOBJ makeDefaultPalette() {
  auto palette = std::make_unique<PaletteObject>();
  palette->entries.assign(staticPaletteColors(), staticPaletteColors() + kStaticColorCount);
  return addStock(std::move(palette));
}

HGDIOBJ makeStock(int index) {
  switch (index) {
    case WHITE_BRUSH: return makeBrush(BS_SOLID, RGB(255, 255, 255));
    case LTGRAY_BRUSH: return makeBrush(BS_SOLID, RGB(192, 192, 192));
    case GRAY_BRUSH: return makeBrush(BS_SOLID, RGB(128, 128, 128));
    case DKGRAY_BRUSH: return makeBrush(BS_SOLID, RGB(64, 64, 64));
    case BLACK_BRUSH: return makeBrush(BS_SOLID, RGB(0, 0, 0));
    case NULL_BRUSH: return makeBrush(BS_NULL, 0);
    case WHITE_PEN: return makePen(PS_SOLID, RGB(255, 255, 255));
    case BLACK_PEN: return makePen(PS_SOLID, RGB(0, 0, 0));
    case NULL_PEN: return makePen(PS_NULL, 0);
    case DEFAULT_PALETTE: return makeDefaultPalette();
    default: return 0;
  }
}

}  // namespace

// Never destroyed (see gdiObjects).
std::function<HGDIOBJ(int)>& stockFontProvider() {
  static auto* provider = new std::function<HGDIOBJ(int)>();
  return *provider;
}

HGDIOBJ GetStockObject(int index) {
  if (index < 0 || index > DEFAULT_GUI_FONT) return 0;
  const bool font = index >= OEM_FIXED_FONT && index != DEFAULT_PALETTE;
  if (font) {
    const auto& provider = stockFontProvider();
    return provider ? provider(index) : 0;
  }
  static std::array<HGDIOBJ, DEFAULT_GUI_FONT + 1> made{};
  GdiObject* existing = gdiObjects().get(made[static_cast<std::size_t>(index)]);
  if (!existing || !existing->stock) made[static_cast<std::size_t>(index)] = makeStock(index);
  return made[static_cast<std::size_t>(index)];
}

HBITMAP stockBitmap() {
  static HBITMAP made = 0;
  GdiObject* existing = gdiObjects().get(made);
  if (!existing || !existing->stock) {
    auto bitmap = std::make_unique<BitmapObject>();
    allocateSurface(bitmap->surface, 1, 1, 0);
    bitmap->surface.monochrome = true;
    bitmap->bitsPixel = 1;
    made = addStock(std::move(bitmap));
  }
  return made;
}

}  // namespace win
