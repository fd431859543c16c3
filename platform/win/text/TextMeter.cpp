#include "platform/win/text/TextMeter.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/win/kernel/CodePages.h"
#include "platform/win/text/TextContext.h"

namespace win {
namespace {

// Largest character range GetCharWidth32W and GetCharABCWidthsW accept.
constexpr UINT kMaxCharRange = 0x10000;

bool validText(const WCHAR* text, int count) { return count >= 0 && (text || count == 0); }

int logicalHeight(const TextContext& context) {
  return context.instance ? toLogicalY(context, context.instance->metrics().height) : 0;
}

}  // namespace

BOOL GetTextExtentPoint32W(HDC dc, const WCHAR* text, int count, SIZE* size) {
  return GetTextExtentExPointW(dc, text, count, 0, nullptr, nullptr, size);
}

BOOL GetTextExtentPoint32A(HDC dc, const char* text, int count, SIZE* size) {
  if (count < 0 || (!text && count > 0)) return FALSE;
  const std::u16string wide = multiByteToWide(CP_ACP, std::string_view(text ? text : "", static_cast<std::size_t>(count)));
  return GetTextExtentPoint32W(dc, wide.data(), static_cast<int>(wide.size()), size);
}

BOOL GetTextExtentExPointW(HDC dc, const WCHAR* text, int count, int maxExtent, int* fit, int* partialExtents,
                           SIZE* size) {
  TextContext context;
  if (!size || !validText(text, count) || !openTextContext(dc, context)) return FALSE;
  if (!context.instance) {
    *size = SIZE{0, 0};
    if (fit) *fit = count;
    for (int i = 0; partialExtents && i < count; ++i) partialExtents[i] = 0;
    return TRUE;
  }
  const TextSpacing spacing = spacingFor(context);
  int fitting = 0;
  bool stillFitting = fit != nullptr;
  std::int64_t sum = 0;
  const std::int64_t total = walkAdvances(context, text, count, spacing, [&](int index, std::int64_t width) {
    sum += width;
    if (!stillFitting && !partialExtents) return;
    const int extent = toLogicalX(context, sum);
    if (partialExtents) partialExtents[index] = extent;
    if (stillFitting) {
      if (extent <= maxExtent) fitting = index + 1;
      else stillFitting = false;
    }
  });
  if (fit) *fit = fitting;
  size->cx = toLogicalX(context, total);
  size->cy = logicalHeight(context);
  return TRUE;
}

BOOL fitTextExtent(HDC dc, const WCHAR* text, int count, int maxExtent, int* fit, int* fitExtent) {
  TextMeter meter;
  if (!fit || !fitExtent || !validText(text, count) || !meter.read(dc)) return FALSE;
  *fit = meter.fit(text, count, maxExtent, *fitExtent);
  return TRUE;
}

bool TextMeter::read(HDC dc) {
  read_ = openTextContext(dc, context_);
  if (!read_) return false;
  spacing_ = spacingFor(context_);
  generation_ = fontInstanceGeneration();
  return true;
}

bool TextMeter::sameScale(const TextMeter& device) const {
  return read_ && device.read_ && !spacing_.justified && !device.spacing_.justified &&
         context_.identity == device.context_.identity && context_.scaleX == device.context_.scaleX &&
         context_.scaleY == device.context_.scaleY;
}

int TextMeter::fit(const WCHAR* text, int count, int maxExtent, int& extent) const {
  extent = 0;
  if (!read_ || !validText(text, count)) return 0;
  // Without a font file nothing has a width: everything fits.
  if (!context_.instance) return count;
  FontInstance& instance = *context_.instance;
  if (context_.identity && !spacing_.justified) {
    // Device units are logical units: the running sum is the extent, clamped
    // to int as toLogicalX clamps it (so at INT32_MAX everything fits).
    const std::int64_t limit = maxExtent == INT32_MAX ? INT64_MAX : maxExtent;
    const std::int64_t extra = spacing_.charExtra;
    std::int64_t sum = 0;
    const WCHAR* next = text;
    const WCHAR* const end = text + count;
    const bool growing = extra >= 0;
    while (next != end) {
      // Four characters at once while they are in the flat table and none
      // narrows the sum: the sum then only grows, so when the fourth stays
      // within the limit so do the three before it.
      for (; growing && end - next >= 4; next += 4) {
        const std::uint32_t a = next[0], b = next[1], c = next[2], d = next[3];
        if ((a | b | c | d) >= FontInstance::kFlatTableSize) break;
        const int wa = instance.flatAdvance(a), wb = instance.flatAdvance(b);
        const int wc = instance.flatAdvance(c), wd = instance.flatAdvance(d);
        const std::int64_t reach = sum + (std::int64_t{wa} + wb + wc + wd + 4 * extra);
        if ((wa | wb | wc | wd) < 0 || reach > limit) break;
        sum = reach;
      }
      // One at a time up to the next four, or to the first that passes the limit.
      for (const WCHAR* stop = next + std::min<std::ptrdiff_t>(4, end - next); next != stop; ++next) {
        const std::int64_t reach = sum + instance.advance(*next) + extra;
        if (reach > limit) {
          extent = clampToInt(sum);
          return static_cast<int>(next - text);
        }
        sum = reach;
      }
    }
    extent = clampToInt(sum);
    return static_cast<int>(next - text);
  }
  int fitting = 0;
  std::int64_t sum = 0;
  walkAdvances(context_, text, count, spacing_, [&](int index, std::int64_t width) {
    sum += width;
    const int reached = toLogicalX(context_, sum);
    if (reached > maxExtent) return false;
    fitting = index + 1;
    extent = reached;
    return true;
  });
  return fitting;
}

int TextMeter::width(const WCHAR* text, int count) const {
  if (!read_ || !validText(text, count) || !context_.instance) return 0;
  if (context_.identity && !spacing_.justified) {
    FontInstance& instance = *context_.instance;
    std::int64_t sum = 0;
    int i = 0;
    // Four flat-table characters at a time; others one by one.
    for (; i + 4 <= count; i += 4) {
      const std::uint32_t a = text[i], b = text[i + 1], c = text[i + 2], d = text[i + 3];
      if ((a | b | c | d) < FontInstance::kFlatTableSize)
        sum += std::int64_t{instance.flatAdvance(a)} + instance.flatAdvance(b) + instance.flatAdvance(c) +
               instance.flatAdvance(d);
      else
        sum += std::int64_t{instance.advance(a)} + instance.advance(b) + instance.advance(c) + instance.advance(d);
    }
    for (; i < count; ++i) sum += instance.advance(text[i]);
    return clampToInt(sum + std::int64_t{spacing_.charExtra} * count);
  }
  return toLogicalX(context_, walkAdvances(context_, text, count, spacing_, [](int, std::int64_t) {}));
}

BOOL GetCharWidth32W(HDC dc, UINT first, UINT last, int* widths) {
  TextContext context;
  if (!widths || last < first || last - first >= kMaxCharRange || !openTextContext(dc, context)) return FALSE;
  for (UINT c = first; c <= last; ++c)
    widths[c - first] = context.instance ? toLogicalX(context, context.instance->advance(c)) : 0;
  return TRUE;
}

BOOL GetCharABCWidthsW(HDC dc, UINT first, UINT last, ABC* widths) {
  TextContext context;
  if (!widths || last < first || last - first >= kMaxCharRange || !openTextContext(dc, context)) return FALSE;
  for (UINT c = first; c <= last; ++c) {
    ABC abc = context.instance ? context.instance->abcWidths(c) : ABC{};
    if (!context.identity) {
      abc.abcA = toLogicalX(context, abc.abcA);
      abc.abcB = static_cast<UINT>(toLogicalX(context, abc.abcB));
      abc.abcC = toLogicalX(context, abc.abcC);
    }
    widths[c - first] = abc;
  }
  return TRUE;
}

}  // namespace win
