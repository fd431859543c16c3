#include "platform/win/text/StockFonts.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string_view>

#include "platform/win/gdi/StockObjects.h"
#include "platform/win/text/FontObject.h"

namespace win {
namespace {

struct StockFontDescription {
  int index;
  LONG height;
  LONG weight;
  BYTE charSet;
  BYTE pitchAndFamily;
  std::u16string_view faceName;
};

// Classic display sizes; positive heights are cell heights.
constexpr std::array<StockFontDescription, 7> kStockFonts = {{
    {SYSTEM_FONT, 16, FW_BOLD, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS, u"System"},
    {DEVICE_DEFAULT_FONT, 16, FW_BOLD, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS, u"System"},
    {SYSTEM_FIXED_FONT, 16, FW_NORMAL, ANSI_CHARSET, FIXED_PITCH | FF_MODERN, u"Fixedsys"},
    {DEFAULT_GUI_FONT, -11, FW_NORMAL, DEFAULT_CHARSET, VARIABLE_PITCH | FF_SWISS, u"MS Shell Dlg"},
    {ANSI_VAR_FONT, 12, FW_NORMAL, ANSI_CHARSET, VARIABLE_PITCH | FF_SWISS, u"MS Sans Serif"},
    {ANSI_FIXED_FONT, 12, FW_NORMAL, ANSI_CHARSET, FIXED_PITCH | FF_MODERN, u"Courier"},
    {OEM_FIXED_FONT, 12, FW_NORMAL, OEM_CHARSET, FIXED_PITCH | FF_MODERN, u"Terminal"},
}};

HFONT makeStockFont(const StockFontDescription& description) {
  LOGFONTW logFont;
  logFont.lfHeight = description.height;
  logFont.lfWeight = description.weight;
  logFont.lfCharSet = description.charSet;
  logFont.lfPitchAndFamily = description.pitchAndFamily;
  std::copy(description.faceName.begin(), description.faceName.end(), logFont.lfFaceName);
  auto font = std::make_unique<FontObject>(logFont);
  font->stock = true;
  return addGdiObject(std::move(font));
}

}  // namespace

HFONT stockFont(int index) {
  static std::array<HFONT, kStockFonts.size()> handles{};
  for (std::size_t i = 0; i < kStockFonts.size(); ++i) {
    if (kStockFonts[i].index != index) continue;
    // A table reset in tests drops stock objects too; make the font again then.
    if (!fontFromHandle(handles[i])) handles[i] = makeStockFont(kStockFonts[i]);
    return handles[i];
  }
  return 0;
}

}  // namespace win
