#pragma once
// TGif reads a whole GIF87a or GIF89a file: the logical screen, the colour
// tables, the extensions and every image, whose LZW data it decodes at once.
// BuildGifStrip then renders all images, each composed over the one before,
// side by side into one strip bitmap plus a monochrome mask strip when any
// image has a transparent colour. Animated GIF images (TGIFImage) are its user.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "images/GifLzw.h"
#include "platform/gui/TStream.h"
#include "platform/gui/TBitmap.h"

namespace images {

// Codes of the errors TGif raises as EInvalidGraphicOperation "TGif: <text>".
enum TGifError {
  geNoError,
  geInvalidSignature,
  geNoColorTable,
  geUnknownExtensionType,
  geUnknownOperationCode,
  geInvalidExtensionBlockSize,
  geSpecialMessage,
  geInvalidExtensionTerminator,
  geInvalidIntegerSize,
  geNoTerminator,
  geExtensionOutOfOrder,
  geInvalidDescriptorIndex,
  geInvalidLzwCodeSize,
  geInvalidLzwData,
  geLzwCodeOverflow,
  geValueOutOfRange,
  geNilPointer,
  geInvalidColorTableSize,
  geNoImageDescription,
  geInvalidBitmapImage,
  geInvalidColorTableIndex,
  geInvalidInterlacePass,
  geInvalidBitmap,
  geTooManyColors,
  geUnexpectedEndOfFile,
  geAnimatedGifTooLarge,
  geZeroWidthOrHeight,
  geNextMessage,
};

// The text of an error code ("" outside the table).
const char* GifErrorText(int Code);
// The last error raised by any TGif, and its full text; reset by ResetGifErrors.
extern int GifLastErrorCode;
extern std::string GifLastErrorText;
void ResetGifErrors();

// The strip's size limits in bytes of a 24-bit BMP holding it.
constexpr std::int64_t kGifStripLimit = 200000000;
constexpr std::int64_t kGifTransparentStripLimit = 100000000;

// Colours as TColor: red in the low byte, then green, then blue. Slots past
// Count are black.
struct TGifColorTable {
  int Count = 0;
  std::array<std::uint32_t, 256> Colors{};
};

// An extension block as read. Graphic control fields are set for label F9,
// Identifier/Authentication for application blocks of size 11, Grid for plain text.
struct TGifExtension {
  std::uint8_t Label = 0;
  std::uint8_t Disposal = 0;     // bits 2-4 of the packed byte
  bool UserInput = false;
  bool TransparentFlag = false;
  std::uint16_t Delay = 0;       // hundredths of a second
  std::uint8_t TransparentIndex = 0;
  std::string Identifier;        // 8 bytes
  std::string Authentication;    // 3 bytes
  std::array<std::uint16_t, 4> Grid{};   // text grid left, top, width, height
  std::array<std::uint8_t, 4> Cells{};   // cell width, height, foreground, background
  std::vector<std::string> SubBlocks;
};

struct TGifImageDescriptor {
  int Index = 0;
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;  // cut to the logical screen's height
  bool Interlaced = false;
  bool Sorted = false;
  bool LocalTable = false;
  int TableIndex = -1;
  int MinCodeSize = 0;
  std::vector<TGifExtension> Extensions;
  GifPixelTarget Pixels;  // the visible part of the decoded colour indices

  // The first graphic control extension, or nullptr.
  const TGifExtension* GraphicControl() const;
};

class TGif {
 public:
  TGif();
  ~TGif();
  TGif(const TGif&) = delete;
  TGif& operator=(const TGif&) = delete;

  // Reads the stream from position 0. Errors before the first image raise;
  // later ones end the file there, keeping the images read so far.
  void LoadGifData(gui::TStream& Stream);

  int ImageCount() const { return static_cast<int>(images_.size()); }
  int ScreenWidth() const { return screenWidth_; }
  int ScreenHeight() const { return screenHeight_; }
  int BackgroundIndex() const { return backgroundIndex_; }
  // -1 without a NETSCAPE looping extension.
  int LoopCount() const { return loopCount_; }

  // Per image (0-based); error 15 when Index is out of range.
  int ImageLeft(int Index) const { return Image(Index).Left; }
  int ImageTop(int Index) const { return Image(Index).Top; }
  int ImageWidth(int Index) const { return Image(Index).Width; }
  int ImageHeight(int Index) const { return Image(Index).Height; }
  // The graphic control's disposal AND 3; 0 without one.
  int ImageDisposal(int Index) const;
  // The graphic control's delay when above 0, else 1 (hundredths of a second).
  int ImageDelay(int Index) const;
  // -1 unless the graphic control sets the transparent flag.
  int ImageTransparentIndex(int Index) const;
  const TGifImageDescriptor& Image(int Index) const;
  const TGifColorTable& ColorTable(int Index) const { return tables_.at(static_cast<std::size_t>(Index)); }

  bool AnyTransparent() const;

  // The strip (width = screen width x image count) and, when any image is
  // transparent, its mask (white where transparent); nullptr otherwise.
  std::unique_ptr<gui::TBitmap> BuildGifStrip(std::unique_ptr<gui::TBitmap>& Mask) const;

  // The size of the strip as a 24-bit BMP file for `frames` frames.
  static std::int64_t StripBytes(int width, int height, std::int64_t frames);

 private:
  class Reader;
  void Reset();
  void ReadHeader(Reader& in);
  void ReadBlocks(Reader& in);
  void ReadImage(Reader& in);
  TGifExtension ReadExtension(Reader& in);
  int ReadColorTable(Reader& in, int packedSize);

  int screenWidth_ = 0;
  int screenHeight_ = 0;
  std::uint8_t screenFlags_ = 0;
  int backgroundIndex_ = 0;
  int aspectRatio_ = 0;
  int globalTable_ = -1;
  int loopCount_ = -1;
  bool tooLarge_ = false;
  std::vector<TGifColorTable> tables_;
  std::vector<TGifExtension> pending_;
  std::vector<TGifImageDescriptor> images_;
};

// Raises EInvalidGraphicOperation "TGif: <text of Code>" and records it.
[[noreturn]] void RaiseGifError(int Code);

}  // namespace images
