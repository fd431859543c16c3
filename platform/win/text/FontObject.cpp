#include "platform/win/text/FontObject.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/win/gdi/StockObjects.h"
#include "platform/win/kernel/Utf8Codec.h"
#include "platform/win/text/StockFonts.h"

namespace win {
namespace {

// The length of a zero-terminated name held in a fixed array of `capacity` units.
std::size_t boundedLength(const WCHAR* text, std::size_t capacity) {
  std::size_t length = 0;
  while (length < capacity && text[length] != 0) ++length;
  return length;
}

std::string faceNameUtf8(const LOGFONTW& logFont) {
  std::string name;
  encodeUtf8(std::u16string_view(logFont.lfFaceName, boundedLength(logFont.lfFaceName, LF_FACESIZE)),
             InvalidInput::Replace, name);
  return name;
}

FontRequest requestFor(const LOGFONTW& logFont) {
  FontRequest request;
  request.family = faceNameUtf8(logFont);
  request.weight = logFont.lfWeight <= 0 ? FW_NORMAL : std::min<LONG>(logFont.lfWeight, 1000);
  request.italic = logFont.lfItalic != 0;
  request.pitchAndFamily = logFont.lfPitchAndFamily;
  request.charset = logFont.lfCharSet;
  return request;
}

// GetStockObject answers the stock font numbers through the font code. Every
// program that draws or measures text links this file, so the hook is in place
// before main() runs.
[[maybe_unused]] const bool kStockFontHookInstalled = [] {
  stockFontProvider() = [](int index) -> HGDIOBJ { return stockFont(index); };
  return true;
}();

FontFace* faceFor(const ResolvedFont& resolved) {
  return resolved.path.empty() ? nullptr : loadFontFace(resolved.path, resolved.faceIndex);
}

}  // namespace

FontObject::FontObject(const LOGFONTW& logFont)
    : GdiObject(GdiObjectKind::Font), logFont_(logFont), resolved_(resolveFont(requestFor(logFont))),
      face_(faceFor(resolved_)) {
  logFont_.lfFaceName[LF_FACESIZE - 1] = 0;
}

int FontObject::describe(int bufferSize, void* buffer) const {
  constexpr int kSize = static_cast<int>(sizeof(LOGFONTW));
  if (!buffer) return kSize;
  if (bufferSize <= 0) return 0;
  const int copied = std::min(bufferSize, kSize);
  std::memcpy(buffer, &logFont_, static_cast<std::size_t>(copied));
  return copied;
}

DWORD FontObject::objectType() const { return OBJ_FONT; }

std::u16string FontObject::textFace() const {
  if (resolved_.requestedExists)
    return std::u16string(logFont_.lfFaceName, boundedLength(logFont_.lfFaceName, LF_FACESIZE));
  std::u16string name;
  decodeUtf8(resolved_.substitutedFace.empty() ? resolved_.usedFamily : resolved_.substitutedFace,
             InvalidInput::Replace, name);
  return name;
}

BYTE FontObject::reportedCharset() const {
  if (face_ && face_->tables().symbolCmap) return SYMBOL_CHARSET;
  if (logFont_.lfCharSet == DEFAULT_CHARSET || logFont_.lfCharSet == SYMBOL_CHARSET) return ANSI_CHARSET;
  return logFont_.lfCharSet;
}

int FontObject::deviceEm64(double deviceUnitsPerLogical) const {
  const FontFaceTables& tables = face_->tables();
  const double height = logFont_.lfHeight == 0 ? -kDefaultFontEmHeight : logFont_.lfHeight;
  // The font is realised at a whole device pixel height, as a device font is,
  // so that every metric and extent under a scaling transform comes from one size.
  double emPixels = std::max(1.0, std::round(std::fabs(height) * deviceUnitsPerLogical));
  // A positive height is the cell (ascent + descent); the em is its share of it.
  if (height > 0) emPixels = emPixels * tables.unitsPerEm / (tables.winAscent + tables.winDescent);
  const double em64 = std::round(emPixels * 64);
  return static_cast<int>(std::clamp(em64, 64.0, kMaxEmPixels * 64.0));
}

FontInstance* FontObject::instanceFor(double deviceUnitsPerLogical) {
  if (!face_) return nullptr;
  const int em64 = deviceEm64(deviceUnitsPerLogical);
  if (cachedInstance_ && cachedEm64_ == em64 && cachedGeneration_ == fontInstanceGeneration())
    return cachedInstance_;
  cachedInstance_ = &fontInstance(*face_, em64, resolved_.synthesizeBold, resolved_.synthesizeItalic);
  cachedEm64_ = em64;
  cachedGeneration_ = fontInstanceGeneration();
  return cachedInstance_;
}

FontObject* fontFromHandle(HGDIOBJ handle) { return gdiObjectAs<FontObject>(handle, GdiObjectKind::Font); }

HFONT CreateFontIndirectW(const LOGFONTW* logFont) {
  if (!logFont) return 0;
  return addGdiObject(std::make_unique<FontObject>(*logFont));
}

HFONT CreateFontW(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                  DWORD quality, DWORD pitchAndFamily, const WCHAR* faceName) {
  LOGFONTW logFont;
  logFont.lfHeight = height;
  logFont.lfWidth = width;
  logFont.lfEscapement = escapement;
  logFont.lfOrientation = orientation;
  logFont.lfWeight = weight;
  logFont.lfItalic = static_cast<BYTE>(italic != 0);
  logFont.lfUnderline = static_cast<BYTE>(underline != 0);
  logFont.lfStrikeOut = static_cast<BYTE>(strikeOut != 0);
  logFont.lfCharSet = static_cast<BYTE>(charSet);
  logFont.lfOutPrecision = static_cast<BYTE>(outPrecision);
  logFont.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  logFont.lfQuality = static_cast<BYTE>(quality);
  logFont.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  if (faceName) {
    const std::size_t length = boundedLength(faceName, LF_FACESIZE - 1);
    std::copy(faceName, faceName + length, logFont.lfFaceName);
  }
  return CreateFontIndirectW(&logFont);
}

}  // namespace win
