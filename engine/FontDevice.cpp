#include "engine/FontDevice.h"

#include <utility>

#include "engine/CssText.h"

namespace engine {
namespace {

FontDeviceHooks& Hooks() {
  static FontDeviceHooks hooks;
  return hooks;
}

bool ScreenHasFont(const std::string& name) {
  std::string lowered = LowerCase(name);
  return lowered == "times new roman" || lowered == "arial" || lowered == "courier new";
}

FontMetrics ScreenMetrics(const FontRequest& request) {
  FontMetrics metrics;
  int em = request.height < 0 ? -request.height : request.height;
  metrics.height = em + (em + 7) / 8;
  metrics.internalLeading = metrics.height - em;
  metrics.descent = metrics.height / 5;
  metrics.aveCharWidth = em / 2;
  metrics.maxCharWidth = em;
  metrics.charset = request.charset;
  return metrics;
}

}  // namespace

void SetFontDeviceHooks(FontDeviceHooks hooks) { Hooks() = std::move(hooks); }

bool IsFontInstalled(const std::string& name) {
  if (Hooks().isFontInstalled) return Hooks().isFontInstalled(name);
  return ScreenHasFont(name);
}

int ReportedCharset(int charset) {
  if (Hooks().reportedCharset) return Hooks().reportedCharset(charset);
  return charset;
}

FontMetrics MeasureFont(const FontRequest& request) {
  if (Hooks().measureFont) return Hooks().measureFont(request);
  return ScreenMetrics(request);
}

}  // namespace engine
