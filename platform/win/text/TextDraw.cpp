#include "platform/win/text/TextDraw.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win/RectMath.h"
#include "platform/win/kernel/CodePages.h"
#include "platform/win/text/TextContext.h"

namespace win {
namespace {

// Largest character count drawn in one call; longer runs are refused.
constexpr UINT kMaxDrawnCharacters = 1u << 24;

// Pen offsets stay within a quarter of the int range so that adding them to a
// (likewise limited) device origin cannot overflow.
constexpr std::int64_t kMaxPenOffset = INT32_MAX / 4;

int limitedOffset(std::int64_t offset) {
  return static_cast<int>(std::clamp(offset, -kMaxPenOffset, kMaxPenOffset));
}

struct RunLayout {
  std::vector<int> penOffsets;  // device offset of each character from the run's left edge
  std::int64_t deviceWidth = 0;
  int logicalWidth = 0;
};

void layoutWithAdvances(const TextContext& context, const WCHAR* text, int count, RunLayout& layout) {
  const TextSpacing spacing = spacingFor(context);
  std::int64_t pen = 0;
  layout.deviceWidth = walkAdvances(context, text, count, spacing, [&](int index, std::int64_t width) {
    layout.penOffsets[static_cast<std::size_t>(index)] = limitedOffset(pen);
    pen += width;
  });
  layout.logicalWidth = toLogicalX(context, layout.deviceWidth);
  if (!spacing.justified) return;
  int breaks = 0;
  for (int i = 0; i < count; ++i)
    if (text[i] == spacing.breakChar) ++breaks;
  DcState& state = context.dc->state;
  state.breaksUsed = breaks > state.breakCount - state.breaksUsed ? state.breakCount : state.breaksUsed + breaks;
}

void layoutWithDx(const TextContext& context, int count, const int* lpDx, RunLayout& layout) {
  std::int64_t logicalPen = 0;
  for (int i = 0; i < count; ++i) {
    layout.penOffsets[static_cast<std::size_t>(i)] = limitedOffset(toDeviceX(context, logicalPen));
    logicalPen += lpDx[i];
  }
  layout.deviceWidth = toDeviceX(context, logicalPen);
  layout.logicalWidth = static_cast<int>(std::clamp<std::int64_t>(logicalPen, INT32_MIN, INT32_MAX));
}

void fillClipped(DeviceContext& dc, RECT area, const RECT* clip, COLORREF color) {
  if (clip) area = intersectRects(area, *clip);
  if (!isEmptyRect(area)) fillDeviceRect(dc, area, color);
}

void blendGlyph(DeviceContext& dc, const GlyphBitmap& glyph, int penX, int baseline, const RECT* clip,
                COLORREF color) {
  if (glyph.width == 0) return;
  const std::int64_t left = static_cast<std::int64_t>(penX) + glyph.left;
  const std::int64_t top = static_cast<std::int64_t>(baseline) - glyph.top;
  if (left < INT32_MIN / 2 || left > INT32_MAX / 2 || top < INT32_MIN / 2 || top > INT32_MAX / 2) return;
  RECT area{static_cast<LONG>(left), static_cast<LONG>(top), static_cast<LONG>(left + glyph.width),
            static_cast<LONG>(top + glyph.height)};
  if (clip) {
    area = intersectRects(area, *clip);
    if (isEmptyRect(area)) return;
  }
  const std::uint8_t* coverage = glyph.coverage.data() + static_cast<std::ptrdiff_t>(area.top - top) * glyph.width +
                                 (area.left - left);
  blendCoverage(dc, area.left, area.top, coverage, area.right - area.left, area.bottom - area.top, glyph.width, color);
}

// The device x of the run's left edge and its baseline, by the text alignment.
POINT runOrigin(const TextContext& context, POINT reference, UINT align, std::int64_t width) {
  const POINT device = logicalToDevice(*context.dc, reference);
  const FontMetrics& metrics = context.instance->metrics();
  std::int64_t left = device.x;
  if ((align & TA_CENTER) == TA_CENTER) left -= width / 2;
  else if ((align & TA_CENTER) == TA_RIGHT) left -= width;
  int baseline = device.y + metrics.ascent;
  if ((align & TA_BASELINE) == TA_BASELINE) baseline = device.y;
  else if ((align & TA_BASELINE) == TA_BOTTOM) baseline = device.y - metrics.descent;
  return POINT{static_cast<LONG>(std::clamp<std::int64_t>(left, INT32_MIN / 2, INT32_MAX / 2)), baseline};
}

void drawDecorations(TextContext& context, POINT origin, std::int64_t width, const RECT* clip) {
  const LOGFONTW& logFont = context.font->logFont();
  const FontMetrics& metrics = context.instance->metrics();
  const COLORREF color = context.dc->state.textColor;
  const LONG right = origin.x + limitedOffset(width);
  if (logFont.lfUnderline) {
    const LONG top = origin.y + metrics.underlineOffset;
    fillClipped(*context.dc, RECT{origin.x, top, right, top + metrics.underlineThickness}, clip, color);
  }
  if (logFont.lfStrikeOut) {
    const LONG top = origin.y - metrics.strikeoutOffset;
    fillClipped(*context.dc, RECT{origin.x, top, right, top + metrics.strikeoutThickness}, clip, color);
  }
}

void drawRun(TextContext& context, POINT origin, const WCHAR* text, const RunLayout& layout, int count,
             const RECT* clip) {
  DeviceContext& dc = *context.dc;
  const FontMetrics& metrics = context.instance->metrics();
  const LONG right = origin.x + limitedOffset(layout.deviceWidth);
  if (dc.state.bkMode == OPAQUE)
    fillClipped(dc, RECT{origin.x, origin.y - metrics.ascent, right, origin.y + metrics.descent}, clip,
                dc.state.bkColor);
  for (int i = 0; i < count; ++i) {
    const GlyphBitmap& glyph = context.instance->glyph(text[i]);
    blendGlyph(dc, glyph, origin.x + layout.penOffsets[static_cast<std::size_t>(i)], origin.y, clip,
               dc.state.textColor);
  }
  drawDecorations(context, origin, layout.deviceWidth, clip);
}

void advanceCurrentPosition(DcState& state, UINT align, int logicalWidth) {
  if ((align & TA_CENTER) == TA_CENTER) return;
  if ((align & TA_CENTER) == TA_RIGHT) state.currentPosition.x -= logicalWidth;
  else state.currentPosition.x += logicalWidth;
}

}  // namespace

BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, const WCHAR* text, UINT count,
                 const int* lpDx) {
  TextContext context;
  if ((count > 0 && !text) || count > kMaxDrawnCharacters || !openTextContext(dc, context)) return FALSE;
  DcState& state = context.dc->state;
  // One read and write-back of a low-depth DIB section for the whole string,
  // not one per glyph.
  SurfaceAccess access(*context.dc, true);
  RECT deviceRect{};
  const bool haveRect = rect && (options & (ETO_OPAQUE | ETO_CLIPPED)) != 0;
  if (haveRect) deviceRect = logicalToDevice(*context.dc, *rect);
  if (haveRect && (options & ETO_OPAQUE)) fillClipped(*context.dc, deviceRect, nullptr, state.bkColor);
  if (count == 0 || !context.instance) return TRUE;

  static thread_local RunLayout layout;
  layout.penOffsets.resize(count);
  if (lpDx) layoutWithDx(context, static_cast<int>(count), lpDx, layout);
  else layoutWithAdvances(context, text, static_cast<int>(count), layout);

  const UINT align = state.textAlign;
  const bool updateCp = (align & TA_UPDATECP) != 0;
  const POINT reference = updateCp ? state.currentPosition : POINT{x, y};
  const POINT origin = runOrigin(context, reference, align, layout.deviceWidth);
  const RECT* clip = haveRect && (options & ETO_CLIPPED) ? &deviceRect : nullptr;
  drawRun(context, origin, text, layout, static_cast<int>(count), clip);
  if (updateCp) advanceCurrentPosition(state, align, layout.logicalWidth);
  return TRUE;
}

BOOL TextOutW(HDC dc, int x, int y, const WCHAR* text, int count) {
  if (count < 0) return FALSE;
  return ExtTextOutW(dc, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}

BOOL TextOutA(HDC dc, int x, int y, const char* text, int count) {
  if (count < 0 || (!text && count > 0)) return FALSE;
  const std::u16string wide = multiByteToWide(CP_ACP, std::string_view(text ? text : "", static_cast<std::size_t>(count)));
  return TextOutW(dc, x, y, wide.data(), static_cast<int>(wide.size()));
}

}  // namespace win
