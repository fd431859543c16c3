#include "engine/text/TFontObj.h"

#include <array>
#include <cmath>

#include "engine/css/FontDevice.h"
#include "engine/text/TLinkList.h"
#include "platform/gui/TScreen.h"
#include "platform/win/user/Input.h"

namespace engine {
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

// font with its charset set to the measured one. Runs of one font share the
// result: the recent ones are remembered, each beside the font it was made
// from (both are never changed once made, so the pair stays valid).
std::shared_ptr<const TMyFont> WithMeasuredCharset(const std::shared_ptr<const TMyFont>& font) {
  struct Made {
    std::shared_ptr<const TMyFont> source;
    std::shared_ptr<const TMyFont> result;
  };
  constexpr std::size_t kRemembered = 16;
  thread_local std::array<Made, kRemembered> recent;
  thread_local std::size_t next = 0;
  for (const Made& made : recent)
    if (made.source == font) return made.result;
  auto result = CopyFont(*font, font->PixelsPerInch());
  result->SetCharset(static_cast<gui::TFontCharset>(font->tmCharset));
  recent[next] = {font, result};
  next = (next + 1) % kRemembered;
  return result;
}

}  // namespace

TFontObj::TFontObj(TSection* section, int pos, std::shared_ptr<const TMyFont> font)
    : Section(section), Pos(pos), Font(font ? std::move(font) : std::make_shared<TMyFont>()) {
  UpdateMetrics();
}

TFontObj::TFontObj(TSection* section, const TFontObj& source)
    : Section(section), Pos(source.Pos), VerticalShift(source.VerticalShift) {
  auto font = std::make_shared<TMyFont>();
  font->Assign(source.Font.get());
  Font = std::move(font);
  Title = source.Title;
  UrlTarget.Assign(source.UrlTarget);
  if (source.LinkLooks && source.LinkLooks->Ar[TFontInfoArray::Normal]) {
    ApplyFontInfo(*source.LinkLooks->Ar[TFontInfoArray::Normal]);
  } else {
    UpdateMetrics();
  }
}

TFontObj::~TFontObj() { LeaveLinks(nullptr); }

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
  if (!LinkLooks) LinkLooks = std::make_shared<TFontInfoArray>();
}

void TFontObj::ApplyFontInfo(const ThtFontInfo& info) {
  TMyFont& font = OwnFont();
  font.SetName(info.iName);
  font.SetHeight(-static_cast<int>(std::nearbyint(gui::Screen->PixelsPerInch() * info.iSize / 72.0)));
  font.SetStyle(info.iStyle);
  font.SetColor(info.iColor);
  font.SetCharset(info.iCharset);
  font.bgColor = info.ibgColor;
  // NOTE: the stored metrics belong to the old look; measure the new one so
  // that line heights follow a visited or hover look of another size.
  MeasureMetrics(font);
  UpdateMetrics();
}

void TFontObj::ApplyLinkLook() {
  if (!LinkLooks) return;
  const int state = (Visited ? TFontInfoArray::Visited : 0) + (Hover ? TFontInfoArray::Hover : 0);
  if (const ThtFontInfo* info = LinkLooks->Ar[static_cast<std::size_t>(state)].get()) ApplyFontInfo(*info);
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
  const int id = UrlTarget.LinkId;
  for (int i = index + 1; i < links.Count(); ++i) {
    TFontObj* run = links.Items(i);
    if (!run) continue;
    if (run->UrlTarget.LinkId != id) break;
    run->SetHover(value);
  }
  for (int i = index - 1; i >= 0; --i) {
    TFontObj* run = links.Items(i);
    if (!run) continue;
    if (run->UrlTarget.LinkId != id) break;
    run->SetHover(value);
  }
}

void TFontObj::UpdateMetrics() {
  FontHeight = Font->tmHeight + Font->tmExternalLeading;
  tmHeight = Font->tmHeight;
  tmMaxCharWidth = Font->tmMaxCharWidth;
  Descent = Font->tmDescent;
  Overhang = (Font->Style() & fsItalic) != 0 ? tmHeight / 10 : 0;
  const auto charset = static_cast<gui::TFontCharset>(Font->tmCharset);
  if (Font->Charset() == charset) return;
  if (Font.use_count() == 1) OwnFont().SetCharset(charset);
  else Font = WithMeasuredCharset(Font);
}

void TFontObj::JoinLinks(TLinkList& links) {
  if (Links == &links) return;
  if (Links) LeaveLinks(nullptr);
  const TFontObj* previous = links.PrevBefore(links.Count());
  LinkHead = previous && previous->UrlTarget.LinkId == UrlTarget.LinkId && previous->LinkHead ? previous->LinkHead
                                                                                               : this;
  links.Add(this);
  Links = &links;
  if (!links.ManyLinks && links.PaintPanel) CreateTabControl(UrlTarget.TabIndex);
}

void TFontObj::LeaveLinks(TFontObj* next) {
  if (!Links) return;
  TLinkList& links = *Links;
  const bool handOver = next && next->Links == &links && next->UrlTarget.LinkId == UrlTarget.LinkId;
  if (LinkHead == this) {
    TFontObj* newHead = handOver ? next : nullptr;
    ForLinkRuns([&](TFontObj& run) {
      if (run.LinkHead == this) run.LinkHead = newHead;
    });
  }
  links.Remove(this);
  Links = nullptr;
  LinkHead = nullptr;
  Active = false;
  if (!TabControl) return;
  if (handOver && !next->TabControl) {
    HandTabControlTo(*next);
    return;
  }
  if (links.RemoveTabStop) links.RemoveTabStop(TabControl.get());
  TabControl.reset();
}

void TFontObj::CreateTabControl(int tabIndex) {
  if (TabControl || !Links || !Links->PaintPanel) return;
  const TLinkList& links = *Links;
  if (LinkHead && LinkHead != this && LinkHead->TabControl) return;  // one tab stop per link
  TabControl = std::make_unique<ThtTabcontrol>(links.PaintPanel);
  BindTabControl();
  if (tabIndex > 0 && links.AddTabStop) links.AddTabStop(tabIndex, TabControl.get());
}

void TFontObj::HandTabControlTo(TFontObj& next) {
  next.TabControl = std::move(TabControl);
  next.BindTabControl();
}

template <class Visit>
void TFontObj::ForLinkRuns(Visit&& visit) {
  visit(*this);
  if (!Links) return;
  const int index = Links->IndexOf(this);
  if (index < 0) return;
  for (int i = index + 1; i < Links->Count(); ++i) {
    TFontObj* run = Links->Items(i);
    if (!run) continue;
    if (run->UrlTarget.LinkId != UrlTarget.LinkId) break;
    visit(*run);
  }
}

void TFontObj::BindTabControl() {
  if (!TabControl) return;
  TabControl->OnEnter = [this](gui::TObject*) {
    ForLinkRuns([](TFontObj& run) { run.Active = true; });
    if (Links && Links->OnObjectFocused) Links->OnObjectFocused(this);
  };
  TabControl->OnExit = [this](gui::TObject*) {
    ForLinkRuns([](TFontObj& run) { run.Active = false; });
    if (Links && Links->PaintPanel) Links->PaintPanel->Invalidate();
  };
  TabControl->OnKeyDown = [this](gui::TObject*, win::WORD& key, gui::TShiftState shift) {
    if (!Links) return;
    if (key == win::VK_RETURN) {
      if (Links->OnLinkActivate) Links->OnLinkActivate(this);
    } else if (Links->OnKeyDown) {
      Links->OnKeyDown(key, shift);
    }
  };
}

void TFontObj::SetLinkY(int y) {
  if (!IsLink()) return;
  if (TabControl || !Links) LinkY = y;
  else if (LinkHead && LinkHead->TabControl) LinkHead->LinkY = y;
}

}  // namespace engine
