#include "platform/win/text/DrawText.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win/RectMath.h"
#include "platform/win/text/TextContext.h"
#include "platform/win/text/TextDraw.h"

namespace win {
namespace {

constexpr int kTabStopChars = 8;

// The text as shown: mnemonic markers removed, the characters they mark remembered.
struct ShownText {
  std::u16string text;
  std::vector<std::size_t> mnemonics;  // indices into text
};

ShownText stripPrefixes(const WCHAR* text, std::size_t length, bool prefixes) {
  ShownText shown;
  shown.text.reserve(length);
  for (std::size_t i = 0; i < length; ++i) {
    if (prefixes && text[i] == u'&') {
      if (i + 1 >= length) break;
      ++i;
      if (text[i] != u'&') shown.mnemonics.push_back(shown.text.size());
    }
    shown.text += text[i];
  }
  return shown;
}

struct Line {
  std::size_t start = 0;
  std::size_t end = 0;          // exclusive
  std::int64_t deviceWidth = 0;
};

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool isLineBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

class Formatter {
 public:
  Formatter(TextContext& context, const ShownText& shown, UINT format, const RECT& rect)
      : context_(context), text_(shown.text), format_(format),
        maxWidth_(toDeviceX(context, static_cast<std::int64_t>(rect.right) - rect.left)),
        tabWidth_(std::max(1, context.instance->metrics().averageCharWidth * kTabStopChars)) {
    spacing_ = spacingFor(context);
    spacing_.justified = false;
  }

  std::vector<Line> lines() {
    std::vector<Line> result;
    const bool single = (format_ & DT_SINGLELINE) != 0;
    std::size_t start = 0;
    while (start < text_.size()) {
      std::size_t end = start;
      while (end < text_.size() && (single || !isLineBreak(text_[end]))) ++end;
      wrapParagraph(start, end, result);
      if (end < text_.size() && text_[end] == u'\r' && end + 1 < text_.size() && text_[end + 1] == u'\n') ++end;
      start = end + 1;
    }
    return result;
  }

  // Device width of the character at `index` drawn at device offset `x` from the line start.
  std::int64_t advanceAt(std::size_t index, std::int64_t x) const {
    const char16_t c = text_[index];
    if (c == u'\t' && (format_ & DT_EXPANDTABS)) return tabWidth_ - x % tabWidth_;
    return std::int64_t{context_.instance->advance(c)} + spacing_.charExtra;
  }

  std::int64_t widthOf(std::size_t start, std::size_t end) const {
    std::int64_t x = 0;
    for (std::size_t i = start; i < end; ++i) x += advanceAt(i, x);
    return x;
  }

 private:
  void wrapParagraph(std::size_t start, std::size_t end, std::vector<Line>& out) const {
    if ((format_ & DT_WORDBREAK) == 0 || (format_ & DT_SINGLELINE)) {
      out.push_back(Line{start, end, widthOf(start, end)});
      return;
    }
    Line line{start, start, 0};
    std::size_t position = start;
    while (position < end) {
      std::size_t wordStart = position;
      while (wordStart < end && isBlank(text_[wordStart])) ++wordStart;
      if (wordStart == end) break;  // trailing blanks end the paragraph
      std::size_t wordEnd = wordStart;
      while (wordEnd < end && !isBlank(text_[wordEnd])) ++wordEnd;
      const std::int64_t width = line.deviceWidth + widthFrom(line, position, wordEnd);
      if (width > maxWidth_ && line.end > line.start) {
        out.push_back(line);
        line = Line{wordStart, wordEnd, widthOf(wordStart, wordEnd)};
      } else {
        line.end = wordEnd;
        line.deviceWidth = width;
      }
      position = wordEnd;
    }
    out.push_back(line);
  }

  // Width added to `line` by the characters from..to, continuing its tab positions.
  std::int64_t widthFrom(const Line& line, std::size_t from, std::size_t to) const {
    std::int64_t x = line.deviceWidth;
    for (std::size_t i = from; i < to; ++i) x += advanceAt(i, x);
    return x - line.deviceWidth;
  }

  TextContext& context_;
  const std::u16string& text_;
  UINT format_;
  std::int64_t maxWidth_;
  std::int64_t tabWidth_;
  TextSpacing spacing_;
};

// Lines are laid out from the top-left without justification; the DC's own
// alignment and justification are put aside while they are drawn.
class LayoutScope {
 public:
  explicit LayoutScope(DcState& state)
      : state_(state), align_(state.textAlign), breakExtra_(state.breakExtra), breakCount_(state.breakCount) {
    state.textAlign = TA_LEFT | TA_TOP;
    state.breakExtra = 0;
    state.breakCount = 0;
  }
  ~LayoutScope() {
    state_.textAlign = align_;
    state_.breakExtra = breakExtra_;
    state_.breakCount = breakCount_;
  }
  LayoutScope(const LayoutScope&) = delete;
  LayoutScope& operator=(const LayoutScope&) = delete;

 private:
  DcState& state_;
  UINT align_;
  int breakExtra_;
  int breakCount_;
};

struct Painter {
  HDC handle;
  TextContext& context;
  const ShownText& shown;
  const Formatter& formatter;
  const RECT& rect;
  UINT format;

  void drawLine(const Line& line, int x, int y) const {
    const bool clip = (format & DT_NOCLIP) == 0;
    const UINT options = clip ? ETO_CLIPPED : 0;
    // Expanded tabs are gaps: each tab-free segment is drawn at its own offset.
    std::size_t segment = line.start;
    std::int64_t offset = 0;
    for (std::size_t i = line.start; i <= line.end; ++i) {
      const bool tabStop = i < line.end && shown.text[i] == u'\t' && (format & DT_EXPANDTABS);
      if (i < line.end && !tabStop) continue;
      if (i > segment)
        ExtTextOutW(handle, x + toLogicalX(context, offset), y, options, &rect, shown.text.data() + segment,
                    static_cast<UINT>(i - segment), nullptr);
      if (i < line.end) offset = formatter.widthOf(line.start, i + 1);
      segment = i + 1;
    }
    underlineMnemonics(line, x, y, clip);
  }

  void underlineMnemonics(const Line& line, int x, int y, bool clip) const {
    const FontMetrics& metrics = context.instance->metrics();
    const POINT origin = logicalToDevice(*context.dc, POINT{x, y});
    const RECT deviceClip = logicalToDevice(*context.dc, rect);
    for (std::size_t index : shown.mnemonics) {
      if (index < line.start || index >= line.end) continue;
      const std::int64_t left = origin.x + formatter.widthOf(line.start, index);
      const std::int64_t right = origin.x + formatter.widthOf(line.start, index + 1);
      const LONG top = origin.y + metrics.ascent + metrics.underlineOffset;
      RECT bar{static_cast<LONG>(left), top, static_cast<LONG>(right), top + metrics.underlineThickness};
      if (clip) bar = intersectRects(bar, deviceClip);
      if (!isEmptyRect(bar)) fillDeviceRect(*context.dc, bar, context.dc->state.textColor);
    }
  }
};

LONG offsetBy(LONG origin, std::int64_t length) {
  return static_cast<LONG>(std::clamp<std::int64_t>(std::int64_t{origin} + length, INT32_MIN, INT32_MAX));
}

int lineLeft(const RECT& rect, UINT format, int width) {
  if (format & DT_CENTER) return rect.left + (rect.right - rect.left - width) / 2;
  if (format & DT_RIGHT) return rect.right - width;
  return rect.left;
}

int firstLineTop(const RECT& rect, UINT format, int lineHeight) {
  if ((format & DT_SINGLELINE) == 0) return rect.top;
  if (format & DT_VCENTER) return rect.top + (rect.bottom - rect.top - lineHeight) / 2;
  if (format & DT_BOTTOM) return rect.bottom - lineHeight;
  return rect.top;
}

}  // namespace

int DrawTextW(HDC dc, const WCHAR* text, int count, RECT* rect, UINT format) {
  TextContext context;
  if (!rect || (!text && count != 0) || count < -1 || !openTextContext(dc, context) || !context.instance) return 0;
  const std::size_t length = count == -1 ? std::char_traits<char16_t>::length(text) : static_cast<std::size_t>(count);
  const ShownText shown = stripPrefixes(text, length, (format & DT_NOPREFIX) == 0);
  Formatter formatter(context, shown, format, *rect);
  const std::vector<Line> lines = formatter.lines();
  const int lineHeight = toLogicalY(context, context.instance->metrics().height);
  const int textHeight = static_cast<int>(std::min<std::int64_t>(lines.size() * std::int64_t{lineHeight}, INT32_MAX));

  if (format & DT_CALCRECT) {
    std::int64_t widest = 0;
    for (const Line& line : lines) widest = std::max(widest, line.deviceWidth);
    rect->right = offsetBy(rect->left, toLogicalX(context, widest));
    rect->bottom = offsetBy(rect->top, textHeight);
    return textHeight;
  }
  LayoutScope layout(context.dc->state);
  SurfaceAccess access(*context.dc, true);  // once for all lines
  const Painter painter{dc, context, shown, formatter, *rect, format};
  const int top = firstLineTop(*rect, format, lineHeight);
  int y = top;
  for (const Line& line : lines) {
    painter.drawLine(line, lineLeft(*rect, format, toLogicalX(context, line.deviceWidth)), y);
    y += lineHeight;
  }
  const bool placed = (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM));
  return placed ? top - rect->top + lineHeight : textHeight;
}

}  // namespace win
