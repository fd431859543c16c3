#include "engine/text/TFontObj.h"

#include <array>
#include <cmath>
#include <cstdint>

#include "engine/common/BlockPool.h"
#include "engine/css/FontDevice.h"
#include "engine/text/TLinkList.h"
#include "platform/gui/TScreen.h"
#include "platform/win/user/Input.h"

namespace engine {

// A document holds one run per font change: keep the plain run small.
static_assert(sizeof(TFontObj) <= 64);

namespace {

// The device's metrics of font as it now stands (name, size, style, charset).
void MeasureMetrics(TMyFont& font) {
  const gui::TFontStyles style = font.Style();
  FontRequest request{font.Name(), font.Height(), (style & fsBold) != 0, (style & fsItalic) != 0,
                      (style & fsUnderline) != 0, (style & fsStrikeOut) != 0, font.Charset()};
  const FontMetrics metrics = MeasureFont(request);
  font.tmHeight = metrics.height;
  font.tmDescent = metrics.descent;
  font.tmExternalLeading = metrics.externalLeading;
  font.tmAveCharWidth = metrics.aveCharWidth;
  font.tmMaxCharWidth = metrics.maxCharWidth;
  font.tmCharset = metrics.charset;
}

// What the functions below remember, per thread.
struct RecentRunFonts {
  // PooledRunFont: the recent distinct run fonts.
  static constexpr std::size_t kPooled = 32;
  std::array<std::shared_ptr<const TMyFont>, kPooled> pooled;
  std::size_t nextPooled = 0;
  // WithMeasuredCharset: pages use a few dozen element fonts at a time, so enough are
  // remembered that each is copied about once, four in each of the sets their addresses pick.
  struct Measured {
    std::shared_ptr<const TMyFont> source;
    std::shared_ptr<const TMyFont> result;
  };
  static constexpr int kCharsetSetBits = 5;
  static constexpr std::size_t kCharsetWays = 4;
  std::array<Measured, (std::size_t{1} << kCharsetSetBits) * kCharsetWays> measured;
  std::array<std::uint8_t, std::size_t{1} << kCharsetSetBits> nextMeasuredWay{};
  // FontInLook.
  struct Look {
    std::shared_ptr<const TMyFont> source;
    ThtFontInfo look;
    int pixelsPerInch = 0;
    unsigned deviceVersion = 0;
    std::shared_ptr<const TMyFont> result;
  };
  static constexpr std::size_t kLooks = 16;
  std::array<Look, kLooks> looks;
  std::size_t nextLook = 0;
};
thread_local RecentRunFonts recentRunFonts;

// A font equal to font, shared: the recent distinct run fonts are remembered,
// so that the runs of one look hold one font however often their elements
// made it anew. A remembered font is shared and so never changed in place.
std::shared_ptr<const TMyFont> PooledRunFont(std::shared_ptr<const TMyFont> font) {
  constexpr std::size_t kRemembered = RecentRunFonts::kPooled;
  auto& pool = recentRunFonts.pooled;
  std::size_t& next = recentRunFonts.nextPooled;
  for (const auto& kept : pool)
    if (kept && (kept == font || SameFont(*kept, *font))) return kept;
  pool[next] = font;
  next = (next + 1) % kRemembered;
  return font;
}

// font with its charset set to the measured one. Runs of one font share the
// result: the recent ones are remembered, each beside the font it was made
// from (both are never changed once made, so the pair stays valid).
std::shared_ptr<const TMyFont> WithMeasuredCharset(const std::shared_ptr<const TMyFont>& font) {
  constexpr int kSetBits = RecentRunFonts::kCharsetSetBits;
  constexpr std::size_t kWays = RecentRunFonts::kCharsetWays;
  auto& recent = recentRunFonts.measured;
  auto& nextWay = recentRunFonts.nextMeasuredWay;
  const auto address = reinterpret_cast<std::uintptr_t>(font.get());
  const auto set = static_cast<std::size_t>((address >> 4) * 0x9E3779B97F4A7C15ull >> (64 - kSetBits));
  RecentRunFonts::Measured* ways = &recent[set * kWays];
  for (std::size_t way = 0; way < kWays; ++way)
    if (ways[way].source == font) return ways[way].result;
  auto copy = CopyFont(*font, font->PixelsPerInch());
  copy->SetCharset(static_cast<gui::TFontCharset>(font->tmCharset));
  auto result = PooledRunFont(std::move(copy));
  ways[nextWay[set]] = {font, result};
  nextWay[set] = static_cast<std::uint8_t>((nextWay[set] + 1) % kWays);
  return result;
}

// Whether a and b give a font the same look (letter spacing is not a run's to change).
bool SameFontLook(const ThtFontInfo& a, const ThtFontInfo& b) {
  return a.iSize == b.iSize && a.iStyle == b.iStyle && a.iColor == b.iColor && a.ibgColor == b.ibgColor &&
         a.iCharset == b.iCharset && a.iName == b.iName;
}

// font in the look of info (name, size at the screen's pixels per inch, style,
// colours, charset), measured, shared. Link runs take one of a few looks over
// a few element fonts: the recent results are remembered, each beside the
// font and look it was made from, under the screen and font device it was
// measured on (nothing is remembered while the device answers for tests).
std::shared_ptr<const TMyFont> FontInLook(const std::shared_ptr<const TMyFont>& font, const ThtFontInfo& info) {
  constexpr std::size_t kRemembered = RecentRunFonts::kLooks;
  auto& recent = recentRunFonts.looks;
  std::size_t& next = recentRunFonts.nextLook;
  const int pixelsPerInch = gui::Screen->PixelsPerInch();
  const unsigned deviceVersion = FontDeviceVersion();
  if (deviceVersion != 0) {
    for (const RecentRunFonts::Look& made : recent)
      if (made.source == font && made.pixelsPerInch == pixelsPerInch && made.deviceVersion == deviceVersion &&
          SameFontLook(made.look, info))
        return made.result;
  }
  std::shared_ptr<TMyFont> copy = CopyFont(*font, font->PixelsPerInch());
  copy->SetName(info.iName);
  copy->SetHeight(-static_cast<int>(std::nearbyint(pixelsPerInch * info.iSize / 72.0)));
  copy->SetStyle(info.iStyle);
  copy->SetColor(info.iColor);
  copy->SetCharset(info.iCharset);
  copy->bgColor = info.ibgColor;
  MeasureMetrics(*copy);
  std::shared_ptr<const TMyFont> result = PooledRunFont(std::move(copy));
  if (deviceVersion != 0) {
    recent[next] = {font, info, pixelsPerInch, deviceVersion, result};
    next = (next + 1) % kRemembered;
  }
  return result;
}

}  // namespace

void ForgetRecentRunFonts() { recentRunFonts = RecentRunFonts{}; }

// TFontObj has no derived classes: every size asked for is its own.
void* TFontObj::operator new(std::size_t) { return PoolFor<TFontObj>().Allocate(); }

void TFontObj::operator delete(void* block) noexcept { PoolFor<TFontObj>().Release(block); }

void* TFontObj::TRunLink::operator new(std::size_t) { return PoolFor<TRunLink>().Allocate(); }

void TFontObj::TRunLink::operator delete(void* block) noexcept { PoolFor<TRunLink>().Release(block); }

TFontObj::TFontObj(TSection* section, int pos, std::shared_ptr<const TMyFont> font)
    : Section(section), Pos(pos), Font(font ? std::move(font) : std::make_shared<TMyFont>()) {
  UpdateMetrics();
}

TFontObj::TFontObj(TSection* section, const TFontObj& source)
    : Section(section), Pos(source.Pos), VerticalShift(source.VerticalShift) {
  auto font = std::make_shared<TMyFont>();
  font->Assign(source.Font.get());
  Font = std::move(font);
  if (source.link_) {
    LinkPart().Title = source.link_->Title;
    link_->UrlTarget.Assign(source.link_->UrlTarget);
  }
  const std::shared_ptr<TFontInfoArray>& looks = source.LinkLooks();
  if (looks && looks->Ar[TFontInfoArray::Normal]) {
    ApplyFontInfo(*looks->Ar[TFontInfoArray::Normal]);
  } else {
    UpdateMetrics();
  }
}

TFontObj::~TFontObj() {
  // Most runs are in no link list; one freed with its document only empties its slot there.
  if (Links() != nullptr) LeaveLinks(nullptr);
}

TFontObj::TRunLink& TFontObj::LinkPart() {
  if (!link_) link_ = std::make_unique<TRunLink>();
  return *link_;
}

const TUrlTarget& TFontObj::UrlTarget() const {
  static const TUrlTarget none;
  return link_ ? link_->UrlTarget : none;
}

const std::string& TFontObj::Title() const {
  static const std::string none;
  return link_ ? link_->Title : none;
}

void TFontObj::SetUrlTarget(const TUrlTarget& target) {
  const bool empty = target.Url.empty() && target.Target.empty() && target.AttributeText.empty() &&
                     target.LinkId == 0 && target.TabIndex == 0 && target.Range.Start == -1 && target.Range.Last == -1;
  if (link_ || !empty) LinkPart().UrlTarget.Assign(target);
}

const std::shared_ptr<TFontInfoArray>& TFontObj::LinkLooks() const {
  static const std::shared_ptr<TFontInfoArray> none;
  return link_ ? link_->LinkLooks : none;
}

TMyFont& TFontObj::OwnFont() {
  if (Font.use_count() != 1) {
    Font = CopyFont(*Font, Font->PixelsPerInch());
  }
  // Every run font is made mutable (make_shared<TMyFont>) and, held here
  // alone, is this run's to change.
  return const_cast<TMyFont&>(*Font);
}

void TFontObj::ReplaceFont(std::shared_ptr<const TMyFont> font) {
  if (!font) return;
  Font = std::move(font);
  UpdateMetrics();
}

void TFontObj::EnsureLinkLooks() {
  if (!LinkLooks()) LinkPart().LinkLooks = std::make_shared<TFontInfoArray>();
}

void TFontObj::ApplyFontInfo(const ThtFontInfo& info) {
  // NOTE: the stored metrics belong to the old look; the new one is measured
  // so that line heights follow a visited or hover look of another size.
  Font = FontInLook(Font, info);
  UpdateMetrics();
}

void TFontObj::ApplyLinkLook() {
  const std::shared_ptr<TFontInfoArray>& looks = LinkLooks();
  if (!looks) return;
  const int state = (Visited ? TFontInfoArray::Visited : 0) + (Hover ? TFontInfoArray::Hover : 0);
  if (const ThtFontInfo* info = looks->Ar[static_cast<std::size_t>(state)].get()) ApplyFontInfo(*info);
}

void TFontObj::SetVisited(bool value) {
  if (value == Visited) return;
  Visited = value;
  ApplyLinkLook();
}

void TFontObj::SetHover(bool value) {
  if (value == Hover) return;
  Hover = value;
  ApplyLinkLook();
}

void TFontObj::SetLinkHover(TLinkList& links, bool value) {
  SetHover(value);
  const int index = links.IndexOf(this);
  if (index < 0) return;
  const int id = UrlTarget().LinkId;
  for (int i = index + 1; i < links.Count(); ++i) {
    TFontObj* run = links.Items(i);
    if (!run) continue;
    if (run->UrlTarget().LinkId != id) break;
    run->SetHover(value);
  }
  for (int i = index - 1; i >= 0; --i) {
    TFontObj* run = links.Items(i);
    if (!run) continue;
    if (run->UrlTarget().LinkId != id) break;
    run->SetHover(value);
  }
}

void TFontObj::UpdateMetrics() {
  FontHeight = Font->tmHeight + Font->tmExternalLeading;
  tmHeight = Font->tmHeight;
  tmMaxCharWidth = Font->tmMaxCharWidth;
  Descent = Font->tmDescent;
  const auto charset = static_cast<gui::TFontCharset>(Font->tmCharset);
  if (Font->Charset() == charset) return;
  if (Font.use_count() == 1) OwnFont().SetCharset(charset);
  else Font = WithMeasuredCharset(Font);
}

void TFontObj::JoinLinks(TLinkList& links) {
  TRunLink& link = LinkPart();
  if (link.Links == &links) return;
  if (link.Links) LeaveLinks(nullptr);
  const TFontObj* previous = links.PrevBefore(links.Count());
  TFontObj* previousHead = previous && previous->link_ ? previous->link_->LinkHead : nullptr;
  link.LinkHead = previousHead && previous->UrlTarget().LinkId == link.UrlTarget.LinkId ? previousHead : this;
  links.Add(this);
  link.Links = &links;
  if (!links.ManyLinks && links.PaintPanel) CreateTabControl(link.UrlTarget.TabIndex);
}

void TFontObj::LeaveLinks(TFontObj* next) {
  if (!link_ || !link_->Links) return;
  TRunLink& link = *link_;
  TLinkList& links = *link.Links;
  // While the list dissolves every run of it goes: no first place or tab stop is handed on.
  const bool dissolving = links.Dissolving();
  const bool handOver = !dissolving && next && next->Links() == &links &&
                        next->UrlTarget().LinkId == link.UrlTarget.LinkId;
  if (dissolving) {
    links.ForgetSlot(this);
  } else {
    if (link.LinkHead == this) {
      TFontObj* newHead = handOver ? next : nullptr;
      ForLinkRuns([&](TFontObj& run) {
        if (run.link_->LinkHead == this) run.link_->LinkHead = newHead;
      });
    }
    links.Remove(this);
  }
  link.Links = nullptr;
  link.LinkHead = nullptr;
  Active = false;
  if (!link.TabControl) return;
  if (handOver && !next->TabControl()) {
    HandTabControlTo(*next);
    return;
  }
  if (links.RemoveTabStop) links.RemoveTabStop(link.TabControl.get());
  link.TabControl.reset();
}

void TFontObj::CreateTabControl(int tabIndex) {
  if (TabControl() || !Links() || !Links()->PaintPanel) return;
  TRunLink& link = *link_;
  const TLinkList& links = *link.Links;
  if (link.LinkHead && link.LinkHead != this && link.LinkHead->TabControl()) return;  // one tab stop per link
  link.TabControl = std::make_unique<ThtTabcontrol>(links.PaintPanel);
  BindTabControl();
  if (tabIndex > 0 && links.AddTabStop) links.AddTabStop(tabIndex, link.TabControl.get());
}

void TFontObj::HandTabControlTo(TFontObj& next) {
  next.LinkPart().TabControl = std::move(LinkPart().TabControl);
  next.BindTabControl();
}

// Only called on link runs (members of a link list, which all hold a record).
template <class Visit>
void TFontObj::ForLinkRuns(Visit&& visit) {
  visit(*this);
  TLinkList* links = Links();
  if (!links) return;
  const int index = links->IndexOf(this);
  if (index < 0) return;
  const int id = UrlTarget().LinkId;
  for (int i = index + 1; i < links->Count(); ++i) {
    TFontObj* run = links->Items(i);
    if (!run) continue;
    if (run->UrlTarget().LinkId != id) break;
    visit(*run);
  }
}

void TFontObj::BindTabControl() {
  ThtTabcontrol* tabControl = TabControl();
  if (!tabControl) return;
  tabControl->OnEnter = [this](gui::TObject*) {
    ForLinkRuns([](TFontObj& run) { run.Active = true; });
    if (Links() && Links()->OnObjectFocused) Links()->OnObjectFocused(this);
  };
  tabControl->OnExit = [this](gui::TObject*) {
    ForLinkRuns([](TFontObj& run) { run.Active = false; });
    if (Links() && Links()->PaintPanel) Links()->PaintPanel->Invalidate();
  };
  tabControl->OnKeyDown = [this](gui::TObject*, win::WORD& key, gui::TShiftState shift) {
    TLinkList* links = Links();
    if (!links) return;
    if (key == win::VK_RETURN) {
      if (links->OnLinkActivate) links->OnLinkActivate(this);
    } else if (links->OnKeyDown) {
      links->OnKeyDown(key, shift);
    }
  };
}

void TFontObj::SetLinkY(int y) {
  if (!IsLink()) return;
  TRunLink& link = *link_;
  if (link.TabControl || !link.Links) link.LinkY = y;
  else if (link.LinkHead && link.LinkHead->TabControl()) link.LinkHead->link_->LinkY = y;
}

}  // namespace engine
