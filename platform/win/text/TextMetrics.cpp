#include "platform/win/text/TextMetrics.h"

#include <algorithm>

#include "platform/win/text/TextContext.h"

namespace win {
namespace {

constexpr BYTE kFlagSet = 0xFF;

BYTE familyBits(const FontFaceTables& tables, BYTE requested) {
  if (tables.fixedPitch) return FF_MODERN;
  switch (tables.familyClass) {
    case 1: case 2: case 3: case 4: case 5: case 7: return FF_ROMAN;
    case 8: return FF_SWISS;
    case 10: return FF_SCRIPT;
    case 12: return FF_DECORATIVE;
    default: return static_cast<BYTE>(requested & 0xF0);
  }
}

BYTE pitchAndFamily(const FontFaceTables& tables, BYTE requested) {
  BYTE bits = familyBits(tables, requested);
  if (!tables.fixedPitch) bits |= TMPF_FIXED_PITCH;  // set means variable pitch
  if (tables.trueType) bits |= TMPF_TRUETYPE | TMPF_VECTOR;
  return bits;
}

// Symbol faces list their characters at U+F020-U+F0FF; callers address them as 0x20-0xFF.
WCHAR callerCharacter(const FontFaceTables& tables, std::uint32_t character) {
  if (tables.symbolCmap && character >= 0xF000 && character <= 0xF0FF) character -= 0xF000;
  return static_cast<WCHAR>(std::min<std::uint32_t>(character, 0xFFFF));
}

void fillCharacterRange(const FontFaceTables& tables, TEXTMETRICW& metrics) {
  metrics.tmFirstChar = callerCharacter(tables, tables.firstChar);
  metrics.tmLastChar = callerCharacter(tables, tables.lastChar);
  metrics.tmBreakChar = static_cast<WCHAR>(tables.breakChar);
  metrics.tmDefaultChar = static_cast<WCHAR>(tables.defaultChar ? tables.defaultChar : tables.breakChar - 1);
}

}  // namespace

BOOL GetTextMetricsW(HDC dc, TEXTMETRICW* metrics) {
  TextContext context;
  if (!metrics || !openTextContext(dc, context)) return FALSE;
  const LOGFONTW& logFont = context.font->logFont();
  TEXTMETRICW result;
  if (context.instance) {
    const FontMetrics& m = context.instance->metrics();
    const FontFaceTables& tables = context.instance->face().tables();
    // Height, ascent and em are each scaled as a whole and the rest derived
    // from them, so that tmHeight is the height extents report and
    // tmHeight - tmInternalLeading is the em the font was asked for.
    result.tmHeight = toLogicalY(context, m.height);
    result.tmAscent = toLogicalY(context, m.ascent);
    result.tmDescent = result.tmHeight - result.tmAscent;
    result.tmInternalLeading = result.tmHeight - toLogicalY(context, m.height - m.internalLeading);
    result.tmExternalLeading = toLogicalY(context, m.externalLeading);
    result.tmAveCharWidth = toLogicalX(context, m.averageCharWidth);
    result.tmMaxCharWidth = toLogicalX(context, m.maxCharWidth);
    result.tmPitchAndFamily = pitchAndFamily(tables, logFont.lfPitchAndFamily);
    fillCharacterRange(tables, result);
  }
  result.tmWeight = logFont.lfWeight <= 0 ? FW_NORMAL : std::min<LONG>(logFont.lfWeight, 1000);
  result.tmOverhang = 0;
  result.tmDigitizedAspectX = context.dc->pixelsPerInch;
  result.tmDigitizedAspectY = context.dc->pixelsPerInch;
  result.tmItalic = logFont.lfItalic ? kFlagSet : 0;
  result.tmUnderlined = logFont.lfUnderline ? kFlagSet : 0;
  result.tmStruckOut = logFont.lfStrikeOut ? kFlagSet : 0;
  result.tmCharSet = context.font->reportedCharset();
  *metrics = result;
  return TRUE;
}

int GetTextFaceW(HDC dc, int count, WCHAR* faceName) {
  TextContext context;
  if (!openTextContext(dc, context)) return 0;
  const std::u16string name = context.font->textFace();
  const int needed = static_cast<int>(name.size()) + 1;
  if (!faceName) return needed;
  if (count <= 0) return 0;
  const int copied = std::min(count - 1, needed - 1);
  std::copy(name.begin(), name.begin() + copied, faceName);
  faceName[copied] = 0;
  return copied + 1;
}

int GetTextCharset(HDC dc) {
  TextContext context;
  if (!openTextContext(dc, context)) return DEFAULT_CHARSET;
  return context.font->reportedCharset();
}

}  // namespace win
