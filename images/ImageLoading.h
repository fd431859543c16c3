#pragma once
// Image data (a file or a memory stream) turned into a drawable image object:
// BMP, PNG and JPEG decoded into a TBitmap (PNG through GDI+ when it runs),
// with the transparency mask asked for or carried by the data, adapted to
// the screen. GIF kinds go to the animated GIF loaders instead.
#include <memory>
#include <string>

#include "images/ImageKinds.h"
#include "platform/gui/Colors.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TStream.h"

namespace images {

// The first fully transparent palette colour of a PNG (tRNS alpha 0) as a
// TColor, from the raw palette; false when there is none or the data is no
// PNG. Never raises; the stream position is kept.
bool PngTransparentColor(gui::TMemoryStream& Stream, gui::TColor& Color);
// The same entry's palette index, or -1.
int PngTransparentIndex(gui::TMemoryStream& Stream);

// A monochrome mask (white where the bitmap shows Color, or without UseColor
// its lower-left pixel's colour); nullptr when it cannot be made.
std::unique_ptr<gui::TBitmap> TransparentMaskOf(gui::TBitmap& Bitmap, bool UseColor, gui::TColor Color);

// BMP, PNG and JPEG data of more than 19 bytes, read from position 0.
// Kind asks for a corner-colour mask (mkCornerColor) and tells what mask came
// back (mkKeyColor for a PNG key colour; mkNone for JPEG). nullptr for
// anything it cannot decode.
std::unique_ptr<gui::TBitmap> BitmapFromStream(gui::TMemoryStream* Stream, TMaskKind& Kind,
                                               std::unique_ptr<gui::TBitmap>& Mask);
// As BitmapFromStream, except that PNG data becomes a GDI+ image (through an
// exclusive temporary file deleted with the image) while GDI+ runs.
std::unique_ptr<gui::TObject> ImageFromStream(gui::TMemoryStream* Stream, TMaskKind& Kind,
                                              std::unique_ptr<gui::TBitmap>& Mask);
// A file through ImageFromStream; a PNG file loads into GDI+ directly while
// GDI+ runs. nullptr for a missing file; errors reading the file pass on.
std::unique_ptr<gui::TObject> ImageFromFile(const std::string& FileName, TMaskKind& Kind,
                                            std::unique_ptr<gui::TBitmap>& Mask);

}  // namespace images
