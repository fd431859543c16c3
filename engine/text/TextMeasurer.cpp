#include "engine/text/TextMeasurer.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string>
#include <utility>

#include "engine/common/EngineStartup.h"
#include "engine/css/TMyFont.h"
#include "engine/paint/TextDrawing.h"
#include "engine/text/TSection.h"
#include "platform/gui/TCanvas.h"
#include "platform/win/gdi/DcAttributes.h"
#include "platform/win/text/SharedFonts.h"
#include "platform/win/text/TextMeter.h"

namespace engine {
namespace {

constexpr int kMinSlice = 16;
constexpr int kMaxSlice = 4096;
const char16_t kHyphen[] = u"-";

// What decides the handle a canvas makes for a font, and the letter spacing
// the DC gets with it.
struct FontLooks {
  std::string name;
  int height = 0;
  gui::TFontStyles style = 0;
  gui::TFontCharset charset = 0;
  gui::TFontPitch pitch = gui::fpDefault;
  int pixelsPerInch = 0;
  int canvasPixelsPerInch = 0;
  int charExtra = 0;
};

bool LooksMatch(const FontLooks& looks, const TMyFont& font, int canvasPixelsPerInch) {
  return looks.height == font.Height() && looks.style == font.Style() && looks.charExtra == font.CharExtra &&
         looks.charset == font.Charset() && looks.pitch == font.Pitch() &&
         looks.pixelsPerInch == font.PixelsPerInch() && looks.canvasPixelsPerInch == canvasPixelsPerInch &&
         looks.name == font.Name();
}

// Text states read while a font was selected, for every later measurer on a
// DC of the same scale. A document uses a few fonts over and over: body text,
// links, bold, code.
struct KeptState {
  FontLooks looks;
  win::TextMeter meter;
};
constexpr std::size_t kKeptStates = 16;
struct KeptStates {
  std::array<KeptState, kKeptStates> states;
  std::size_t count = 0;
  std::size_t next = 0;
};

KeptStates& Kept() {
  thread_local KeptStates kept;
  return kept;
}

// The layout pass under way on this thread: its canvas's DC and that DC's
// text state, read when a measurer first asks.
struct PassState {
  bool active = false;
  gui::TCanvas* canvas = nullptr;
  win::HDC dc = 0;
  win::TextMeter device;
};

PassState& CurrentPass() {
  thread_local PassState pass;
  return pass;
}

// Whether the canvas font already has the run font's description and colour,
// with a shared handle that stands for that description: selecting the run's
// font would then only put the same handle, colour and spacing back.
bool CanvasFontIs(gui::TCanvas& canvas, const TMyFont& font) {
  const gui::TFont& held = canvas.Font();
  if (held.Height() != font.Height() || held.PixelsPerInch() != font.PixelsPerInch() ||
      held.Style() != font.Style() || held.Color() != font.Color() || held.Charset() != font.Charset() ||
      held.Pitch() != font.Pitch() || held.Name() != font.Name())
    return false;
  const win::HGDIOBJ handle = held.Handle();
  return handle != 0 && win::isSharedFont(handle);
}

}  // namespace

TextMeasurer::Pass::Pass(gui::TCanvas* canvas) {
  PassState& pass = CurrentPass();
  if (pass.active) return;
  pass = PassState{};
  pass.active = true;
  pass.canvas = canvas;
  outermost_ = true;
}

TextMeasurer::Pass::~Pass() {
  if (outermost_) CurrentPass() = PassState{};
}

TextMeasurer::TextMeasurer(TSection& section, gui::TCanvas* canvas, Use use)
    : s_(section), canvas_(canvas), keepMeters_(use == Use::Measuring && !IsWin9x) {
  for (const auto& object : section.ImageObjs()) objectPositions_.push_back(object->Pos);
  for (const TInlineObject* control : section.FormControls()) objectPositions_.push_back(control->Pos);
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

TFontObj* TextMeasurer::RunAt(int pos, int& index) const {
  // Pieces are asked for in order: the run answered last usually holds.
  if (pos >= runFrom_ && pos < runTo_) {
    index = runIndex_;
    return run_;
  }
  // Past its end (where the next run starts) pos is usually in that next run.
  TFontObj* run = nullptr;
  if (pos >= runTo_ && runFrom_ < runTo_) {
    const TFontObj* after = s_.Fonts.Items(runIndex_ + 2);
    if (!after || pos < after->Pos) run = s_.Fonts.Items(index = runIndex_ + 1);
  }
  if (!run) run = s_.Fonts.RunAt(pos, index);
  if (!run) return run;
  // The run holds the positions from its start (any before, for the first) to the next run's.
  runIndex_ = index;
  run_ = run;
  runFrom_ = index == 0 ? std::numeric_limits<int>::min() : run->Pos;
  const TFontObj* next = s_.Fonts.Items(index + 1);
  runTo_ = next ? next->Pos : std::numeric_limits<int>::max();
  return run;
}

int TextMeasurer::PieceEnd(int pos, int end) const {
  int index = 0;
  RunAt(pos, index);
  if (const TFontObj* next = s_.Fonts.Items(index + 1)) end = std::min(end, std::max(next->Pos, pos + 1));
  const auto object = std::lower_bound(objectPositions_.begin(), objectPositions_.end(), pos);
  if (object != objectPositions_.end()) end = std::min(end, *object);
  return std::max(end, pos);
}

TFontObj* TextMeasurer::SelectFontAt(int pos) {
  int index = 0;
  TFontObj* run = RunAt(pos, index);
  if (!run || run == current_ || !canvas_) return run;
  const TFontObj* previous = current_;
  current_ = run;
  if (!keepMeters_) {
    SelectIntoCanvas(*run);
    return run;
  }
  // Runs that share a font, and runs back to a font met before in this
  // measurer (text, its links, bold, code), measure with a meter held already.
  const TMyFont* font = run->Font.get();
  const bool holdsMeter = hasMeter_ && previous != nullptr && meter_.isRead();
  if (holdsMeter && previous->Font.get() == font) return run;
  for (std::size_t i = 0; i < heldCount_; ++i) {
    if (held_[i].font == font && held_[i].meter.current()) {
      meter_ = held_[i].meter;
      hasMeter_ = true;
      return run;
    }
  }
  hasMeter_ = TakeKeptMeter(*run->Font);
  if (!hasMeter_) {
    SelectIntoCanvas(*run);
    KeepMeter(*run->Font);
  }
  if (hasMeter_ && meter_.isRead()) {
    // A free slot, else in place of the oldest.
    std::size_t slot = heldCount_;
    if (heldCount_ < held_.size()) {
      ++heldCount_;
    } else {
      slot = heldNext_;
      heldNext_ = (heldNext_ + 1) % held_.size();
    }
    held_[slot].font = font;
    held_[slot].meter = meter_;
  }
  return run;
}

void TextMeasurer::SyncCanvas() {
  if (current_ && current_ != selected_ && canvas_) SelectIntoCanvas(*current_);
}

void TextMeasurer::ForgetKeptStates() { Kept() = KeptStates(); }

void TextMeasurer::SelectIntoCanvas(const TFontObj& run) {
  const TMyFont& font = *run.Font;
  if (CanvasFontIs(*canvas_, font)) {
    const win::HDC dc = canvas_->FontHandle();
    win::SetTextColor(dc, gui::ColorToRGB(font.Color()));
    win::SetTextCharacterExtra(dc, font.CharExtra);
  } else {
    // Made once per run: every later selection of the run shares it.
    font.Handle();
    ApplyFontToCanvas(font, *canvas_);
    canvas_->FontHandle();  // puts the font into the DC now
  }
  selected_ = &run;
}

bool TextMeasurer::TakeKeptMeter(const TMyFont& font) {
  if (!device_) {
    const win::HDC dc = canvas_->Handle();
    PassState& pass = CurrentPass();
    if (pass.active && pass.canvas == canvas_) {
      if (!pass.device.isRead() || pass.dc != dc) {
        pass.dc = dc;
        pass.device.read(dc);
      }
      device_ = &pass.device;
    } else {
      ownDevice_.read(dc);
      device_ = &ownDevice_;
    }
  }
  const int canvasPixelsPerInch = canvas_->Font().PixelsPerInch();
  const KeptStates& kept = Kept();
  for (std::size_t i = 0; i < kept.count; ++i) {
    const KeptState& state = kept.states[i];
    if (LooksMatch(state.looks, font, canvasPixelsPerInch) && state.meter.current() &&
        state.meter.sameScale(*device_)) {
      meter_ = state.meter;
      return true;
    }
  }
  return false;
}

// Reads the state of the font just selected and keeps it in a free slot or in
// place of the oldest.
void TextMeasurer::KeepMeter(const TMyFont& font) {
  meter_.read(canvas_->FontHandle());
  hasMeter_ = true;
  if (!meter_.isRead()) return;
  KeptStates& kept = Kept();
  std::size_t slot = kept.count;
  if (kept.count < kKeptStates) {
    ++kept.count;
  } else {
    slot = kept.next;
    kept.next = (kept.next + 1) % kKeptStates;
  }
  KeptState& state = kept.states[slot];
  state.looks.name = font.Name();
  state.looks.height = font.Height();
  state.looks.style = font.Style();
  state.looks.charset = font.Charset();
  state.looks.pitch = font.Pitch();
  state.looks.pixelsPerInch = font.PixelsPerInch();
  state.looks.canvasPixelsPerInch = canvas_->Font().PixelsPerInch();
  state.looks.charExtra = font.CharExtra;
  state.meter = meter_;
}

int TextMeasurer::FitSlice(const char16_t* text, int count, int room, int& extent) {
  if (!hasMeter_) return CountFittingChars(canvas_->Handle(), text, count, room, extent);
  extent = 0;
  if (room <= 0 || count <= 0) return 0;
  return meter_.fit(reinterpret_cast<const win::WCHAR*>(text), count, room, extent);
}

int TextMeasurer::PlainWidth(const char16_t* text, int count) {
  if (!hasMeter_) return TextWidth(canvas_->Handle(), text, count);
  return meter_.width(reinterpret_cast<const win::WCHAR*>(text), count);
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
  const TFontObj* run = RunAt(pos, index);
  return run ? run->Overhang() : 0;
}

std::int64_t TextMeasurer::UpperBound(int start, int count) const {
  std::int64_t bound = 0;
  int index = 0;
  RunAt(start, index);
  const int end = start + count;
  for (int pos = start; pos < end; ++index) {
    const TFontObj* run = s_.Fonts.Items(index);
    const TFontObj* next = s_.Fonts.Items(index + 1);
    const int runEnd = next ? std::min(end, next->Pos) : end;
    if (!run || runEnd <= pos) break;
    const std::int64_t perChar =
        std::int64_t{run->tmMaxCharWidth} + std::max(0, run->Font->CharExtra) + run->Overhang();
    bound += std::int64_t{runEnd - pos} * perChar;
    pos = runEnd;
  }
  return bound;
}

}  // namespace engine
