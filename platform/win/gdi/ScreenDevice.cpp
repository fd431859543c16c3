#include "platform/win/gdi/ScreenDevice.h"

#include <cstdlib>

namespace win {
namespace {

bool validDepth(int bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}
bool validPpi(int ppi) { return ppi >= 1 && ppi <= 9600; }

int fromEnvironment(const char* name, int fallback, bool (*valid)(int)) {
  const char* text = std::getenv(name);
  if (!text || !*text) return fallback;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (*end != '\0' || value < 0 || value > 1000000 || !valid(static_cast<int>(value))) return fallback;
  return static_cast<int>(value);
}

struct ScreenSettings {
  int depth = fromEnvironment("PAGEWELL_SCREEN_DEPTH", 24, validDepth);
  int ppi = fromEnvironment("PAGEWELL_SCREEN_PPI", 96, validPpi);
  int width = 1024;
  int height = 768;
};

ScreenSettings& settings() {
  static ScreenSettings screen;
  return screen;
}

}  // namespace

int screenBitsPerPixel() { return settings().depth; }
int screenPixelsPerInch() { return settings().ppi; }
int screenWidth() { return settings().width; }
int screenHeight() { return settings().height; }

void setScreenDepth(int bitsPerPixel) {
  if (validDepth(bitsPerPixel)) settings().depth = bitsPerPixel;
}

void setScreenPixelsPerInch(int pixelsPerInch) {
  if (validPpi(pixelsPerInch)) settings().ppi = pixelsPerInch;
}

void setScreenSize(int width, int height) {
  if (width > 0 && height > 0) {
    settings().width = width;
    settings().height = height;
  }
}

void resetScreen() { settings() = ScreenSettings{}; }

}  // namespace win
