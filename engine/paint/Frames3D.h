#pragma once
// Three-dimensional frames: the one-pixel and wider two-colour frames around
// tables and missing images, and the printed look of form controls.
#include "platform/gui/TCanvas.h"

namespace engine {

class TSectionList;

// True when the canvas draws on a device of one bit per pixel and one plane.
bool IsMonochromeDevice(gui::TCanvas& canvas);

void ThinFrame3D(gui::TCanvas& canvas, int left, int top, int right, int bottom, bool raised, gui::TColor dark,
                 gui::TColor light);
void ColoredFrame3D(TSectionList* document, gui::TCanvas& canvas, int left, int width, bool raised, gui::TColor dark,
                    gui::TColor light, int top, int right, int bottom);
// The frame in the document's colours: silver light edges on white or when printing, black when printing
// in monochrome on a monochrome device.
void DocumentFrame3D(TSectionList* document, gui::TCanvas& canvas, int left, int width, bool raised, int top,
                     int right, int bottom);
void DrawControlFrame3D(gui::TCanvas& canvas, int left, int top, int right, int bottom, gui::TColor fillColor,
                        bool useButtonFace, bool checkMono, bool raised);

}  // namespace engine
