#include "images/TGif.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/gui/Exception.h"

namespace images {

int GifLastErrorCode = geNoError;
std::string GifLastErrorText;

namespace {

constexpr const char* kErrorTexts[] = {
    "no error",
    "Invalid GIF Signature Code",
    "No Local or Global Color Table for Image",
    "Unknown Graphics Extension Type",
    "Unknown Graphics Operation Code",
    "Invalid Extension Block Size",
    "[special message]",
    "Invalid Extension Block Terminator",
    "Invalid Integer Size",
    "No GIF Terminator Found",
    "Extension Block Out-Of-Order With Image Data",
    "Invalid Image Descriptor Index",
    "Invalid LZW Code Size",
    "Invalid LZW Data Format",
    "LZW Code Overflow",
    "Value Out Of Range",
    "NIL Pointer assigned",
    "Invalid Color Table Size",
    "No Image Description",
    "Invalid Bitmap Image",
    "Invalid Color Table Index",
    "Invalid Interlace Pass",
    "Invalid Bitmap",
    "Too Many Colors In Bitmap",
    "Unexpected end of file",
    "Animated GIF too large",
    "Zero width or height",
    "next message",
};

[[noreturn]] void raiseGifText(int code, const std::string& text) {
  GifLastErrorCode = code;
  GifLastErrorText = text;
  throw gui::EInvalidGraphicOperation("TGif: " + text);
}

constexpr std::uint8_t kImageCode = ',';
constexpr std::uint8_t kExtensionCode = '!';
constexpr std::uint8_t kTrailerCode = ';';

constexpr std::uint8_t kGraphicControlLabel = 0xF9;
constexpr std::uint8_t kCommentLabel = 0xFE;
constexpr std::uint8_t kPlainTextLabel = 0x01;
constexpr std::uint8_t kApplicationLabel = 0xFF;

}  // namespace

const char* GifErrorText(int Code) {
  if (Code < 0 || Code >= static_cast<int>(std::size(kErrorTexts))) return "";
  return kErrorTexts[Code];
}

void ResetGifErrors() {
  GifLastErrorCode = geNoError;
  GifLastErrorText.clear();
}

void RaiseGifError(int Code) { raiseGifText(Code, GifErrorText(Code)); }

// Bounds-checked reads over the file's bytes; a short read is error 24.
class TGif::Reader {
 public:
  explicit Reader(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

  bool AtEnd() const { return position_ >= bytes_.size(); }
  std::size_t Remaining() const { return bytes_.size() - position_; }

  std::uint8_t Byte() {
    if (AtEnd()) RaiseGifError(geUnexpectedEndOfFile);
    return bytes_[position_++];
  }
  // Little-endian words.
  std::uint16_t Word() {
    const std::uint8_t low = Byte();
    return static_cast<std::uint16_t>(low | (Byte() << 8));
  }
  const std::uint8_t* Take(std::size_t count) {
    if (Remaining() < count) RaiseGifError(geUnexpectedEndOfFile);
    const std::uint8_t* at = bytes_.data() + position_;
    position_ += count;
    return at;
  }
  std::string Text(std::size_t count) {
    const std::uint8_t* at = Take(count);
    return std::string(reinterpret_cast<const char*>(at), count);
  }

  // Data sub-blocks: a length byte, 0 ending the list, then that many bytes.
  // Each block is handed to `take`. A file that ends where a length byte
  // should be ends the list.
  template <typename Consumer>
  void SubBlocks(Consumer&& take) {
    while (!AtEnd()) {
      const std::uint8_t length = Byte();
      if (length == 0) return;
      take(Take(length), length);
    }
  }

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

const TGifExtension* TGifImageDescriptor::GraphicControl() const {
  for (const TGifExtension& extension : Extensions)
    if (extension.Label == kGraphicControlLabel) return &extension;
  return nullptr;
}

TGif::TGif() = default;
TGif::~TGif() = default;

void TGif::Reset() {
  screenWidth_ = screenHeight_ = 0;
  screenFlags_ = 0;
  backgroundIndex_ = aspectRatio_ = 0;
  globalTable_ = -1;
  loopCount_ = -1;
  tooLarge_ = false;
  tables_.clear();
  pending_.clear();
  images_.clear();
}

std::int64_t TGif::StripBytes(int width, int height, std::int64_t frames) {
  const std::int64_t rowBytes = (static_cast<std::int64_t>(width) * 3 * frames + 3) / 4 * 4;
  return rowBytes * height + 54;
}

void TGif::LoadGifData(gui::TStream& Stream) {
  Reset();
  std::vector<std::uint8_t> bytes;
  Stream.SetPosition(0);
  const std::int64_t size = Stream.Size();
  if (size > gui::kMaxMemoryStreamBytes) RaiseGifError(geAnimatedGifTooLarge);
  bytes.resize(static_cast<std::size_t>(std::max<std::int64_t>(size, 0)));
  if (!bytes.empty()) bytes.resize(static_cast<std::size_t>(Stream.Read(bytes.data(), size)));
  Reader in(std::move(bytes));
  ReadHeader(in);
  ReadBlocks(in);
  if (images_.empty()) RaiseGifError(geNoImageDescription);
}

// Signature "GIF87a" or "GIF89a" (either case), then the logical screen:
// width, height (words), packed byte (bit 7 global table, bits 4-6 colour
// resolution - 1, bit 3 sorted, bits 0-2 table size 2^(n+1)), background
// index, pixel aspect ratio; then the global table when flagged.
void TGif::ReadHeader(Reader& in) {
  if (in.Remaining() < 6) RaiseGifError(geInvalidSignature);
  std::string signature = in.Text(6);
  for (char& c : signature) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (signature != "GIF87A" && signature != "GIF89A") RaiseGifError(geInvalidSignature);
  screenWidth_ = in.Word();
  screenHeight_ = in.Word();
  screenFlags_ = in.Byte();
  backgroundIndex_ = in.Byte();
  aspectRatio_ = in.Byte();
  // NOTE: an empty screen would give an empty strip that callers divide by.
  if (screenWidth_ == 0 || screenHeight_ == 0) RaiseGifError(geZeroWidthOrHeight);
  if (StripBytes(screenWidth_, screenHeight_, 1) > kGifStripLimit) RaiseGifError(geAnimatedGifTooLarge);
  if (screenFlags_ & 0x80) globalTable_ = ReadColorTable(in, screenFlags_ & 7);
}

int TGif::ReadColorTable(Reader& in, int packedSize) {
  TGifColorTable table;
  table.Count = 1 << (packedSize + 1);
  const std::uint8_t* rgb = in.Take(static_cast<std::size_t>(table.Count) * 3);
  for (int i = 0; i < table.Count; ++i, rgb += 3)
    table.Colors[static_cast<std::size_t>(i)] = rgb[0] | (rgb[1] << 8) | (static_cast<std::uint32_t>(rgb[2]) << 16);
  tables_.push_back(table);
  return static_cast<int>(tables_.size()) - 1;
}

void TGif::ReadBlocks(Reader& in) {
  while (!in.AtEnd() && !tooLarge_) {
    const std::uint8_t code = in.Byte();
    if (code == 0 || code == kTrailerCode) return;
    try {
      if (code == kImageCode) ReadImage(in);
      else if (code == kExtensionCode) pending_.push_back(ReadExtension(in));
      else RaiseGifError(geUnknownOperationCode);
    } catch (const gui::EInvalidGraphicOperation&) {
      if (images_.empty()) throw;
      return;  // a damaged tail: keep the images read so far
    }
  }
}

// Image descriptor: left, top, width, height (words); packed byte (bit 7
// local table, bit 6 interlaced, bit 5 sorted, bits 0-2 table size); the
// local table; the LZW minimum code size; the data sub-blocks.
void TGif::ReadImage(Reader& in) {
  TGifImageDescriptor image;
  image.Index = static_cast<int>(images_.size());
  image.Left = in.Word();
  image.Top = in.Word();
  image.Width = in.Word();
  const int declaredHeight = in.Word();
  image.Height = std::min(declaredHeight, screenHeight_);
  const std::uint8_t packed = in.Byte();
  image.LocalTable = (packed & 0x80) != 0;
  image.Interlaced = (packed & 0x40) != 0;
  image.Sorted = (packed & 0x20) != 0;
  image.TableIndex = image.LocalTable ? ReadColorTable(in, packed & 7) : globalTable_;
  if (image.TableIndex < 0) RaiseGifError(geNoColorTable);
  image.MinCodeSize = in.Byte();
  std::vector<std::uint8_t> data;
  in.SubBlocks([&](const std::uint8_t* bytes, std::size_t count) { data.insert(data.end(), bytes, bytes + count); });
  if (image.Width == 0 || declaredHeight == 0) RaiseGifError(geZeroWidthOrHeight);
  // The strip grows by one screen per image: stop before holding more than
  // it may ever become. BuildGifStrip then reports the GIF as too large.
  if (StripBytes(screenWidth_, screenHeight_, static_cast<std::int64_t>(images_.size()) + 1) > kGifStripLimit) {
    tooLarge_ = true;
    return;
  }
  GifPixelTarget& pixels = image.Pixels;
  pixels.Width = image.Width;
  pixels.Height = declaredHeight;
  pixels.Interlaced = image.Interlaced;
  pixels.VisibleWidth = std::clamp(screenWidth_ - image.Left, 0, image.Width);
  pixels.VisibleHeight = std::clamp(screenHeight_ - image.Top, 0, declaredHeight);
  pixels.Pixels.assign(static_cast<std::size_t>(pixels.VisibleWidth) * static_cast<std::size_t>(pixels.VisibleHeight), 0);
  switch (DecodeGifLzw(data.data(), data.size(), image.MinCodeSize, pixels)) {
    case GifLzwStatus::Ok: break;
    case GifLzwStatus::InvalidCodeSize: RaiseGifError(geInvalidLzwCodeSize);
    case GifLzwStatus::InvalidData: RaiseGifError(geInvalidLzwData);
  }
  image.Extensions = std::move(pending_);
  pending_.clear();
  images_.push_back(std::move(image));
}

TGifExtension TGif::ReadExtension(Reader& in) {
  TGifExtension extension;
  extension.Label = in.Byte();
  const auto keep = [&](const std::uint8_t* bytes, std::size_t count) {
    extension.SubBlocks.emplace_back(reinterpret_cast<const char*>(bytes), count);
  };
  switch (extension.Label) {
    case kGraphicControlLabel: {
      // Block size 4; packed byte (disposal bits 2-4, user input bit 1,
      // transparent flag bit 0); delay; transparent index; terminator 0.
      if (in.Byte() != 4) RaiseGifError(geInvalidExtensionBlockSize);
      const std::uint8_t packed = in.Byte();
      extension.Disposal = static_cast<std::uint8_t>((packed >> 2) & 7);
      extension.UserInput = (packed & 2) != 0;
      extension.TransparentFlag = (packed & 1) != 0;
      extension.Delay = in.Word();
      extension.TransparentIndex = in.Byte();
      if (in.Byte() != 0) RaiseGifError(geInvalidExtensionTerminator);
      break;
    }
    case kCommentLabel:
      in.SubBlocks(keep);
      break;
    case kPlainTextLabel:
      // Block size 12: grid left, top, width, height (words), cell width,
      // cell height, foreground and background indices; then the text.
      if (in.Byte() != 12) RaiseGifError(geInvalidExtensionBlockSize);
      for (std::uint16_t& value : extension.Grid) value = in.Word();
      for (std::uint8_t& value : extension.Cells) value = in.Byte();
      in.SubBlocks(keep);
      break;
    case kApplicationLabel: {
      // Block size 11: identifier (8 bytes), authentication code (3 bytes).
      const std::uint8_t blockSize = in.Byte();
      if (blockSize == 11) {
        extension.Identifier = in.Text(8);
        extension.Authentication = in.Text(3);
      } else {
        in.Take(blockSize);
      }
      in.SubBlocks(keep);
      // The looping extension: sub-block 1, loop count (word).
      if (extension.Identifier == "NETSCAPE" && !extension.SubBlocks.empty() && extension.SubBlocks[0].size() == 3) {
        const std::string& block = extension.SubBlocks[0];
        loopCount_ = static_cast<std::uint8_t>(block[1]) | (static_cast<std::uint8_t>(block[2]) << 8);
      }
      break;
    }
    default: {
      char hex[8];
      std::snprintf(hex, sizeof hex, "%04X", extension.Label);
      raiseGifText(geSpecialMessage, std::string("unknown extension: ") + hex);
    }
  }
  return extension;
}

const TGifImageDescriptor& TGif::Image(int Index) const {
  if (Index < 0 || Index >= ImageCount()) RaiseGifError(geValueOutOfRange);
  return images_[static_cast<std::size_t>(Index)];
}

int TGif::ImageDisposal(int Index) const {
  const TGifExtension* control = Image(Index).GraphicControl();
  return control ? control->Disposal & 3 : 0;
}

int TGif::ImageDelay(int Index) const {
  const TGifExtension* control = Image(Index).GraphicControl();
  return control && control->Delay > 0 ? control->Delay : 1;
}

int TGif::ImageTransparentIndex(int Index) const {
  const TGifExtension* control = Image(Index).GraphicControl();
  return control && control->TransparentFlag ? control->TransparentIndex : -1;
}

bool TGif::AnyTransparent() const {
  return std::any_of(images_.begin(), images_.end(), [](const TGifImageDescriptor& image) {
    const TGifExtension* control = image.GraphicControl();
    return control && control->TransparentFlag;
  });
}

}  // namespace images
