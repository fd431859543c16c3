#pragma once
// What the document fonts need from the screen: the installed families, the charset a device
// reports for a font, and a font's text metrics.
#include <functional>
#include <string>

namespace engine {

struct FontRequest {
  std::string name;
  int height = 0;  // negative: em height in pixels
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  int charset = 1;
};

struct FontMetrics {
  int height = 0;
  int internalLeading = 0;
  int descent = 0;
  int externalLeading = 0;
  int aveCharWidth = 0;
  int maxCharWidth = 0;
  int charset = 0;
};

// True when the screen's font list holds the family (names compare without regard to case).
bool IsFontInstalled(const std::string& name);
// Answers drawn from the services here may be kept while this number stays the same: it
// changes when the screen's font list does or the hooks are replaced. 0 while any test hook is
// set, whose answers must then not be kept.
unsigned FontDeviceVersion();
// The charset the screen reports for a font of the given charset.
int ReportedCharset(int charset);
// The metrics of the font selected into a screen device context.
FontMetrics MeasureFont(const FontRequest& request);

// Test seams: replace the services above; an empty function restores the screen's.
struct FontDeviceHooks {
  std::function<bool(const std::string&)> isFontInstalled;
  std::function<int(int)> reportedCharset;
  std::function<FontMetrics(const FontRequest&)> measureFont;
};
void SetFontDeviceHooks(FontDeviceHooks hooks);

}  // namespace engine
