/* Embeds a viewer, shows the page named on the command line, and prints
 * what a host sees: the version, the selected text and the window's size. */
#include <stdio.h>
#include <stdlib.h>

#include <pagewell.h>
#include <pagewell_host.h>

int main(int argc, char** argv) {
  if (argc != 2) return 1;
  if (_GetZelvoHTMLVersion() != PAGEWELL_INTERFACE_VERSION) return 2;
  char* version = _GetVersionString();
  printf("%s\n", version);
  _ReleaseMemory(version);

  pwhost_UseVirtualClock();
  PW_HWND host = pwhost_CreateWindow(320, 200, NULL);
  PW_HWND viewer = _EmbedBrowser(host, 0);
  if (!viewer || !_BrowserShowHtml(viewer, argv[1], "Arial", 12)) return 3;
  pwhost_PumpMessages();

  _SelectRangeText(viewer, 0, 9);
  char* text = _GetSelectedText(viewer);
  printf("selected: %s\n", text ? text : "(none)");
  _ReleaseMemory(text);

  int width = 0, height = 0;
  pwhost_GetWindowPixels(host, &width, &height, NULL, 0);
  printf("window: %dx%d\n", width, height);
  if (_DeleteBrowser(viewer) != 0) return 4;
  pwhost_DestroyWindow(host);
  return 0;
}
