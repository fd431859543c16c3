#include "engine/text/TextMeasurer.h"

#include <algorithm>
#include <limits>

#include "engine/common/EngineStartup.h"
#include "engine/css/TMyFont.h"
#include "engine/paint/TextDrawing.h"
#include "engine/text/TSection.h"
#include "platform/gui/TCanvas.h"
#include "platform/win/text/TextMeasure.h"

namespace engine {
namespace {

constexpr int kMinSlice = 16;
constexpr int kMaxSlice = 4096;
const char16_t kHyphen[] = u"-";

// Fonts that give the canvas the same handle and letter spacing measure alike.
bool MeasuresAlike(const TMyFont& a, const TMyFont& b) {
  return &a == &b || (a.Height() == b.Height() && a.Style() == b.Style() && a.CharExtra == b.CharExtra &&
                      a.Charset() == b.Charset() && a.Pitch() == b.Pitch() &&
                      a.PixelsPerInch() == b.PixelsPerInch() && a.Name() == b.Name());
}

}  // namespace

TextMeasurer::TextMeasurer(TSection& section, gui::TCanvas* canvas, Use use)
    : s_(section), canvas_(canvas), keepMeters_(use == Use::Measuring && !IsWin9x) {
  for (const auto& object : section.ImageObjs) objectPositions_.push_back(object->Pos);
  for (const TInlineObject* control : section.FormControls) objectPositions_.push_back(control->Pos);
  std::sort(objectPositions_.begin(), objectPositions_.end());
}

TextMeasurer::~TextMeasurer() {
  // NOTE: a destructor cannot report a canvas that lost its DC meanwhile; the
  // canvas is then left with the font it holds.
  try {
    SyncCanvas();
  } catch (...) {
  }
}

int TextMeasurer::PieceEnd(int pos, int end) const {
  int index = 0;
  s_.Fonts.RunAt(pos, index);
  if (const TFontObj* next = s_.Fonts.Items(index + 1)) end = std::min(end, std::max(next->Pos, pos + 1));
  const auto object = std::lower_bound(objectPositions_.begin(), objectPositions_.end(), pos);
  if (object != objectPositions_.end()) end = std::min(end, *object);
  return std::max(end, pos);
}

TFontObj* TextMeasurer::SelectFontAt(int pos) {
  int index = 0;
  TFontObj* run = s_.Fonts.RunAt(pos, index);
  if (!run || run == current_ || !canvas_) return run;
  current_ = run;
  if (!keepMeters_) {
    SelectIntoCanvas(*run);
    return run;
  }
  meter_ = KeptMeterFor(*run->Font);
  if (!meter_) {
    SelectIntoCanvas(*run);
    KeepMeter(*run->Font);
  }
  return run;
}

void TextMeasurer::SyncCanvas() {
  if (current_ && current_ != selected_ && canvas_) SelectIntoCanvas(*current_);
}

void TextMeasurer::SelectIntoCanvas(const TFontObj& run) {
  // Made once per run: every later selection of the run shares it.
  run.Font->Handle();
  ApplyFontToCanvas(*run.Font, *canvas_);
  canvas_->FontHandle();  // puts the font into the DC now
  selected_ = &run;
}

const win::TextMeter* TextMeasurer::KeptMeterFor(const TMyFont& font) const {
  for (int i = 0; i < keptCount_; ++i) {
    const KeptMeter& kept = kept_[static_cast<std::size_t>(i)];
    if (kept.meter.current() && MeasuresAlike(*kept.font, font)) return &kept.meter;
  }
  return nullptr;
}

// Reads the state of the font just selected, in a free slot or in place of the oldest.
void TextMeasurer::KeepMeter(const TMyFont& font) {
  int slot = keptCount_;
  if (keptCount_ < kKeptMeters) {
    ++keptCount_;
  } else {
    slot = nextKept_;
    nextKept_ = (nextKept_ + 1) % kKeptMeters;
  }
  KeptMeter& kept = kept_[static_cast<std::size_t>(slot)];
  kept.font = &font;
  kept.meter.read(canvas_->FontHandle());
  meter_ = &kept.meter;
}

int TextMeasurer::FitSlice(const char16_t* text, int count, int room, int& extent) {
  if (!meter_) return CountFittingChars(canvas_->Handle(), text, count, room, extent);
  extent = 0;
  if (room <= 0 || count <= 0) return 0;
  return meter_->fit(reinterpret_cast<const win::WCHAR*>(text), count, room, extent);
}

int TextMeasurer::PlainWidth(const char16_t* text, int count) {
  if (!meter_) return TextWidth(canvas_->Handle(), text, count);
  return meter_->width(reinterpret_cast<const win::WCHAR*>(text), count);
}

void TextMeasurer::Justify(int lineStart, int extra, int spaces) {
  lineStart_ = lineStart;
  extra_ = spaces > 0 ? std::max(0, extra) : 0;
  spaces_ = extra_ > 0 ? spaces : 0;
}

int TextMeasurer::ShareOf(int breakIndex) const {
  if (spaces_ <= 0 || breakIndex >= spaces_) return 0;
  return extra_ / spaces_ + (breakIndex < extra_ % spaces_ ? 1 : 0);
}

int TextMeasurer::BreaksBefore(int pos) const {
  return static_cast<int>(std::count(s_.Text.begin() + lineStart_, s_.Text.begin() + std::max(pos, lineStart_), kSpaceChar));
}

// FitChars on a justified line: plain partial extents with each space's share added.
int TextMeasurer::JustifiedFit(int pos, int count, int maxExtent, int& extent) {
  SelectFontAt(pos);
  SyncCanvas();
  std::vector<int> partial(static_cast<std::size_t>(std::min(count, kMaxSlice)));
  int breakIndex = BreaksBefore(pos);
  int fitted = 0;
  std::int64_t base = 0;  // extent of the characters before the slice
  while (fitted < count) {
    const int asked = std::min(count - fitted, kMaxSlice);
    win::SIZE size{};
    const auto* text = reinterpret_cast<const win::WCHAR*>(s_.Text.data() + pos + fitted);
    if (!win::GetTextExtentExPointW(canvas_->Handle(), text, asked, 0, nullptr, partial.data(), &size)) break;
    std::int64_t shares = 0;
    for (int i = 0; i < asked; ++i) {
      if (text[i] == kSpaceChar) shares += ShareOf(breakIndex++);
      const std::int64_t reach = base + partial[static_cast<std::size_t>(i)] + shares;
      if (reach > maxExtent) return fitted + i;
      extent = static_cast<int>(reach);
    }
    base += size.cx + shares;
    fitted += asked;
  }
  return fitted;
}

int TextMeasurer::FitChars(int pos, int count, int maxExtent, int& extent) {
  extent = 0;
  if (count <= 0 || maxExtent <= 0 || !canvas_) return 0;
  if (spaces_ > 0) return JustifiedFit(pos, count, maxExtent, extent);
  const TFontObj* run = SelectFontAt(pos);
  const int average = std::max(1, run ? run->Font->tmAveCharWidth : 8);
  const char16_t* text = s_.Text.data() + pos;
  int fitted = 0;
  while (fitted < count) {
    const int room = maxExtent - extent;
    const int slice = std::clamp(2 * (room / average) + kMinSlice, kMinSlice, kMaxSlice);
    const int asked = std::min(count - fitted, slice);
    int sliceExtent = 0;
    const int got = FitSlice(text + fitted, asked, room, sliceExtent);
    fitted += got;
    extent += sliceExtent;
    if (got < asked || room <= 0) break;
  }
  return fitted;
}

int TextMeasurer::FitAcross(int start, int count, int maxExtent, int& extent) {
  extent = 0;
  const int end = start + count;
  int pos = start;
  while (pos < end) {
    const char16_t ch = s_.Text[static_cast<std::size_t>(pos)];
    if (ch == kImageChar || ch == kControlChar) {
      const TInlineObject* object = s_.ObjectAt(pos);
      const int width = object && !object->Floats() ? object->OuterWidth() : 0;
      if (extent + width > maxExtent) break;
      extent += width;
      ++pos;
      continue;
    }
    const int pieceEnd = PieceEnd(pos, end);
    int pieceExtent = 0;
    const int fitted = FitChars(pos, pieceEnd - pos, maxExtent - extent, pieceExtent);
    extent += pieceExtent;
    pos += fitted;
    if (fitted < pieceEnd - pos + fitted) break;
  }
  return pos - start;
}

int TextMeasurer::PieceWidth(int pos, int count) {
  if (count <= 0 || !canvas_) return 0;
  SelectFontAt(pos);
  const int plain = PlainWidth(s_.Text.data() + pos, count);
  if (spaces_ <= 0) return plain;
  std::int64_t width = plain;
  int breakIndex = BreaksBefore(pos);
  for (int i = pos; i < pos + count; ++i)
    if (s_.Text[static_cast<std::size_t>(i)] == kSpaceChar) width += ShareOf(breakIndex++);
  return static_cast<int>(std::min<std::int64_t>(width, std::numeric_limits<int>::max()));
}

int TextMeasurer::Width(int start, int count) {
  std::int64_t width = 0;
  const int end = start + count;
  for (int pos = start; pos < end;) {
    const char16_t ch = s_.Text[static_cast<std::size_t>(pos)];
    if (ch == kImageChar || ch == kControlChar) {
      if (const TInlineObject* object = s_.ObjectAt(pos); object && !object->Floats()) width += object->OuterWidth();
      ++pos;
      continue;
    }
    const int pieceEnd = PieceEnd(pos, end);
    width += PieceWidth(pos, pieceEnd - pos) + OverhangAt(pos);
    pos = pieceEnd;
  }
  return static_cast<int>(std::min<std::int64_t>(width, std::numeric_limits<int>::max()));
}

int TextMeasurer::HyphenWidth(int pos) {
  if (!canvas_) return 0;
  SelectFontAt(pos);
  return PlainWidth(kHyphen, 1);
}

int TextMeasurer::OverhangAt(int pos) const {
  int index = 0;
  const TFontObj* run = s_.Fonts.RunAt(pos, index);
  return run ? run->Overhang : 0;
}

std::int64_t TextMeasurer::UpperBound(int start, int count) const {
  std::int64_t bound = 0;
  int index = 0;
  s_.Fonts.RunAt(start, index);
  const int end = start + count;
  for (int pos = start; pos < end; ++index) {
    const TFontObj* run = s_.Fonts.Items(index);
    const TFontObj* next = s_.Fonts.Items(index + 1);
    const int runEnd = next ? std::min(end, next->Pos) : end;
    if (!run || runEnd <= pos) break;
    const std::int64_t perChar =
        std::int64_t{run->tmMaxCharWidth} + std::max(0, run->Font->CharExtra) + run->Overhang;
    bound += std::int64_t{runEnd - pos} * perChar;
    pos = runEnd;
  }
  return bound;
}

}  // namespace engine
