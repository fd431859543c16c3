#include "engine/css/FontDevice.h"

#include <atomic>
#include <map>
#include <mutex>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "platform/gui/TScreen.h"
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/GdiObject.h"
#include "platform/win/gdi/ScreenDevice.h"
#include "platform/win/gdi/SelectScope.h"
#include "platform/win/text/FontObject.h"
#include "platform/win/text/FontTypes.h"
#include "platform/win/text/TextMetrics.h"

namespace engine {
namespace {

FontDeviceHooks& Hooks() {
  static FontDeviceHooks hooks;
  return hooks;
}

// Goes up with every change of the hooks and of the screen's font list size.
std::atomic<unsigned> gDeviceVersion{1};
std::atomic<bool> gHooksSet{false};

// Every element's font asks whether its family is installed, and the screen's
// list compares names without regard to case, so the answers are kept per
// name. A change in the list's size starts the answers afresh; a page naming
// many families does too, once the bound is reached.
class InstalledFamilies {
 public:
  bool Has(const std::string& name) {
    const gui::TStrings& fonts = gui::Screen->Fonts();
    std::lock_guard<std::mutex> lock(mutex_);
    Refresh(fonts);
    if (answers_.size() >= kMaxNames) answers_.clear();
    auto found = answers_.find(name);
    if (found != answers_.end()) return found->second;
    const bool installed = fonts.IndexOf(name) >= 0;
    answers_.emplace(name, installed);
    return installed;
  }

  // Starts the answers afresh when the list's size has changed. Asked for
  // every element's font, so an unchanged list takes no lock.
  void Check() {
    const gui::TStrings& fonts = gui::Screen->Fonts();
    if (fonts.Count() == listSize_) return;
    std::lock_guard<std::mutex> lock(mutex_);
    Refresh(fonts);
  }

 private:
  void Refresh(const gui::TStrings& fonts) {
    if (fonts.Count() == listSize_) return;
    answers_.clear();
    ++gDeviceVersion;
    listSize_ = fonts.Count();
  }

  static constexpr std::size_t kMaxNames = 1024;
  std::mutex mutex_;
  std::atomic<int> listSize_{-1};
  std::unordered_map<std::string, bool> answers_;
};

InstalledFamilies& ScreenFamilies() {
  static InstalledFamilies families;
  return families;
}

// A font selected into a memory DC of the screen, for as long as the object lives.
class ScreenFont {
 public:
  explicit ScreenFont(const FontRequest& request) {
    win::LOGFONTW logFont;
    logFont.lfHeight = request.height;
    logFont.lfWeight = request.bold ? win::FW_BOLD : win::FW_NORMAL;
    logFont.lfItalic = request.italic ? 1 : 0;
    logFont.lfUnderline = request.underline ? 1 : 0;
    logFont.lfStrikeOut = request.strikeOut ? 1 : 0;
    logFont.lfCharSet = static_cast<win::BYTE>(request.charset);
    // Face names are ASCII in practice; other bytes are taken as Latin-1.
    for (std::size_t index = 0; index < request.name.size() && index + 1 < win::LF_FACESIZE; ++index)
      logFont.lfFaceName[index] = static_cast<unsigned char>(request.name[index]);
    dc_ = win::CreateCompatibleDC(0);
    font_ = win::CreateFontIndirectW(&logFont);
    select_.emplace(dc_, font_);
  }
  ~ScreenFont() {
    select_.reset();
    if (font_) win::DeleteObject(font_);
    if (dc_) win::DeleteDC(dc_);
  }
  ScreenFont(const ScreenFont&) = delete;
  ScreenFont& operator=(const ScreenFont&) = delete;
  win::HDC Dc() const { return select_ && select_->selected() ? dc_ : 0; }

 private:
  win::HDC dc_ = 0;
  win::HFONT font_ = 0;
  std::optional<win::SelectScope> select_;
};

FontMetrics ScreenMetrics(const FontRequest& request) {
  FontMetrics metrics;
  ScreenFont font(request);
  win::TEXTMETRICW textMetrics;
  if (!font.Dc() || !win::GetTextMetricsW(font.Dc(), &textMetrics)) {
    int em = request.height < 0 ? -request.height : request.height;
    metrics.height = em;
    metrics.charset = request.charset;
    return metrics;
  }
  metrics.height = textMetrics.tmHeight;
  metrics.internalLeading = textMetrics.tmInternalLeading;
  metrics.descent = textMetrics.tmDescent;
  metrics.externalLeading = textMetrics.tmExternalLeading;
  metrics.aveCharWidth = textMetrics.tmAveCharWidth;
  metrics.maxCharWidth = textMetrics.tmMaxCharWidth;
  metrics.charset = textMetrics.tmCharSet;
  return metrics;
}

// Measuring a font creates a device context and a font object, which costs far
// more than the rest of building an element's font; a document asks for the
// same few fonts over and over. The screen's resolution is part of the key
// because it can change between documents. The cache is bounded: a page of
// many distinct sizes starts it afresh instead of growing it.
class MetricsCache {
 public:
  FontMetrics Measure(const FontRequest& request) {
    Key key{request.name, request.height, request.bold, request.italic, request.underline, request.strikeOut,
            request.charset, win::screenPixelsPerInch()};
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = entries_.find(key);
    if (found != entries_.end()) return found->second;
    if (entries_.size() >= kMaxEntries) entries_.clear();
    const FontMetrics metrics = ScreenMetrics(request);
    entries_.emplace(std::move(key), metrics);
    return metrics;
  }

 private:
  using Key = std::tuple<std::string, int, bool, bool, bool, bool, int, int>;
  static constexpr std::size_t kMaxEntries = 4096;
  std::mutex mutex_;
  std::map<Key, FontMetrics> entries_;
};

int ScreenCharset(int charset) {
  FontRequest request;
  request.height = -16;
  request.charset = charset;
  ScreenFont font(request);
  return font.Dc() ? win::GetTextCharset(font.Dc()) : charset;
}

}  // namespace

void SetFontDeviceHooks(FontDeviceHooks hooks) {
  gHooksSet = hooks.isFontInstalled || hooks.reportedCharset || hooks.measureFont;
  Hooks() = std::move(hooks);
  ++gDeviceVersion;
}

bool IsFontInstalled(const std::string& name) {
  if (Hooks().isFontInstalled) return Hooks().isFontInstalled(name);
  return ScreenFamilies().Has(name);
}

unsigned FontDeviceVersion() {
  if (gHooksSet) return 0;
  ScreenFamilies().Check();
  return gDeviceVersion;
}

int ReportedCharset(int charset) {
  if (Hooks().reportedCharset) return Hooks().reportedCharset(charset);
  return ScreenCharset(charset);
}

FontMetrics MeasureFont(const FontRequest& request) {
  if (Hooks().measureFont) return Hooks().measureFont(request);
  static MetricsCache cache;
  return cache.Measure(request);
}

}  // namespace engine
