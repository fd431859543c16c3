#include "platform/gui/TMemo.h"

namespace gui {

TMemo::TMemo(TComponent* AOwner) : TCustomEdit(AOwner) {
  SetBounds(Left(), Top(), 185, 89);
  Reflow();
}

void TMemo::SetWordWrap(bool Value) {
  if (Value == wordWrap_) return;
  wordWrap_ = Value;
  Reflow();
}

void TMemo::SetScrollBars(TScrollStyle Value) {
  if (Value == scrollBars_) return;
  scrollBars_ = Value;
  Reflow();
}

std::vector<std::u16string> TMemo::Lines() const {
  std::vector<std::u16string> lines;
  const int count = RowCount();
  for (int i = 0; i < count; ++i) lines.push_back(RowText(i));
  if (!lines.empty() && lines.back().empty() && (count == 1 || Rows()[static_cast<std::size_t>(count - 2)].breakLength > 0))
    lines.pop_back();
  return lines;
}

// Hard lines end at CR LF, a lone CR or a lone LF; each is wrapped apart.
void TMemo::BuildRows(int TextWidth) {
  std::vector<Row> rows;
  const std::u16string& text = Text();
  const int length = GetTextLen();
  int start = 0;
  while (true) {
    int end = start;
    while (end < length && text[static_cast<std::size_t>(end)] != u'\r' && text[static_cast<std::size_t>(end)] != u'\n')
      ++end;
    int breakLength = 0;
    if (end < length) breakLength = (text[static_cast<std::size_t>(end)] == u'\r' && end + 1 < length &&
                                     text[static_cast<std::size_t>(end + 1)] == u'\n') ? 2 : 1;
    if (WrapsRows()) WrapLine(start, end - start, breakLength, TextWidth, rows);
    else rows.push_back(Row{start, end - start, breakLength});
    if (breakLength == 0) break;
    start = end + breakLength;
  }
  SetRows(std::move(rows));
}

void TMemo::WrapLine(int Start, int Length, int BreakLength, int TextWidth, std::vector<Row>& Rows) const {
  std::vector<int> ends;
  MeasureText(Start, Length, ends);
  const std::u16string& text = Text();
  const auto widthTo = [&](int k) { return k > 0 ? ends[static_cast<std::size_t>(k - 1)] : 0; };
  const auto isBlank = [&](int k) { return text[static_cast<std::size_t>(Start + k)] == u' '; };
  int rowStart = 0;
  while (true) {
    int fit = rowStart;
    while (fit < Length && widthTo(fit + 1) - widthTo(rowStart) <= TextWidth) ++fit;
    if (fit < Length && isBlank(fit)) {
      while (fit < Length && isBlank(fit)) ++fit;  // blanks hang past the edge
    } else if (fit < Length) {
      int blank = fit - 1;
      while (blank > rowStart && !isBlank(blank)) --blank;
      if (blank > rowStart) fit = blank + 1;
      if (fit == rowStart) fit = rowStart + 1;  // a row holds at least one character
      const char16_t last = text[static_cast<std::size_t>(Start + fit - 1)];
      if (last >= 0xD800 && last <= 0xDBFF && fit < Length) ++fit;  // never split a surrogate pair
    }
    if (fit >= Length) {
      Rows.push_back(Row{Start + rowStart, Length - rowStart, BreakLength});
      return;
    }
    Rows.push_back(Row{Start + rowStart, fit - rowStart, 0});
    rowStart = fit;
  }
}

}  // namespace gui
