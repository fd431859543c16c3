#include "platform/win/text/TextContext.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/win/gdi/DcAttributes.h"
#include "platform/win/gdi/StockObjects.h"
#include "platform/win/text/StockFonts.h"

namespace win {
namespace {

// The transform's magnitude, measured through the GDI core's own scaling so
// that isotropic adjustments are honoured.
constexpr int kScaleProbe = 1 << 16;

double deviceScale(int scaledProbe) {
  const double scale = std::abs(static_cast<double>(scaledProbe)) / kScaleProbe;
  return scale > 0 ? scale : 1.0 / kScaleProbe;
}

int roundToInt(double value) {
  return static_cast<int>(std::clamp(std::round(value), -2147483648.0, 2147483647.0));
}

}  // namespace

bool openTextContext(HDC handle, TextContext& context) {
  DeviceContext* dc = dcFromHandle(handle);
  if (!dc) return false;
  FontObject* font = fontFromHandle(dc->state.font);
  if (!font) font = fontFromHandle(stockFont(SYSTEM_FONT));
  if (!font) return false;
  context.dc = dc;
  context.font = font;
  context.identity = dc->state.mapMode == MM_TEXT;
  if (context.identity) {
    context.scaleX = context.scaleY = 1.0;
  } else {
    context.scaleX = deviceScale(scaleX(*dc, kScaleProbe));
    context.scaleY = deviceScale(scaleY(*dc, kScaleProbe));
    context.identity = context.scaleX == 1.0 && context.scaleY == 1.0;
  }
  context.instance = font->instanceFor(context.scaleY);
  return true;
}

int scaledToLogicalX(const TextContext& context, std::int64_t device) {
  return roundToInt(static_cast<double>(device) / context.scaleX);
}

int scaledToLogicalY(const TextContext& context, std::int64_t device) {
  return roundToInt(static_cast<double>(device) / context.scaleY);
}

int scaledToDeviceX(const TextContext& context, std::int64_t logical) {
  return roundToInt(static_cast<double>(logical) * context.scaleX);
}

TextSpacing spacingFor(const TextContext& context) {
  const DcState& state = context.dc->state;
  TextSpacing spacing;
  spacing.charExtra = toDeviceX(context, state.charExtra);
  if (context.instance) spacing.breakChar = context.instance->face().tables().breakChar;
  spacing.justified = state.breakCount > 0 && state.breakExtra != 0;
  return spacing;
}

int justificationFor(const TextContext& context, int breakIndex) {
  return toDeviceX(context, breakExtraFor(context.dc->state, breakIndex));
}

}  // namespace win
