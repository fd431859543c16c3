#pragma once
// The screen device: colour depth (4, 8 or 24 bits per pixel, 24 by default)
// and logical pixels per inch (96 by default). Initial values come from the
// environment variables PAGEWELL_SCREEN_DEPTH and PAGEWELL_SCREEN_PPI.
namespace win {

int screenBitsPerPixel();
int screenPixelsPerInch();
// Accepts 1, 4, 8, 16, 24 and 32; other values are ignored.
void setScreenDepth(int bitsPerPixel);
// Accepts 1..9600; other values are ignored.
void setScreenPixelsPerInch(int pixelsPerInch);
// The size GetDeviceCaps reports as HORZRES/VERTRES for the screen.
int screenWidth();
int screenHeight();
void setScreenSize(int width, int height);
// Back to the environment's (or built-in) values; for tests.
void resetScreen();

}  // namespace win
