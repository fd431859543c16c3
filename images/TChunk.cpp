#include "images/TChunk.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "images/TChunkList.h"
#include "images/PngEncoder.h"
#include "images/EPNGImageException.h"
#include "images/TPNGImage.h"
#include "images/PngPixels.h"
#include "images/ZStreams.h"
#include "platform/gui/Exception.h"
#include "platform/win/gdi/BitmapObject.h"
#include "platform/win/kernel/Arithmetic.h"

namespace images {
namespace {

template <class C>
std::unique_ptr<TChunk> make(TChunkList* owner) {
  return std::make_unique<C>(owner);
}

std::array<char, 4> typeBytes(const char* type) { return {type[0], type[1], type[2], type[3]}; }

std::optional<TPngHeader> headerOf(const TChunk& chunk) {
  const TChunkIHDR* ihdr = chunk.Owner() ? chunk.Owner()->FirstOfClass<TChunkIHDR>() : nullptr;
  if (!ihdr) return std::nullopt;
  return ihdr->Header();
}

}  // namespace

// ---- TChunk ----------------------------------------------------------------

TChunk::TChunk(TChunkList* Owner) : FOwner(Owner) {}

TChunk::TChunk(TChunkList* Owner, const char* Type) : FType(Type), FOwner(Owner) {}

TChunk::~TChunk() = default;

TPNGImage* TChunk::Image() const { return FOwner ? FOwner->Owner() : nullptr; }

void TChunk::SetData(const std::uint8_t* Bytes, std::size_t Count) {
  FData.Clear();
  if (Count > 0) FData.WriteBuffer(Bytes, static_cast<std::int64_t>(Count));
  FData.SetPosition(0);
}

void TChunk::AssignChunk(const TChunk& Source) {
  FType = Source.FType;
  SetData(Source.DataBytes(), Source.DataSize());
}

void TChunk::WriteChunk(gui::TStream& Stream) {
  if (!PrepareToWrite()) return;
  if (FType.size() != 4 || (FType[3] >= 'a' && FType[3] <= 'z')) return;
  std::uint8_t head[8];
  WriteBigEndian32(static_cast<std::uint32_t>(DataSize()), head);
  std::memcpy(head + 4, FType.data(), 4);
  std::uint8_t tail[4];
  WriteBigEndian32(ChunkCrc(head + 4, DataBytes(), DataSize()), tail);
  Stream.WriteBuffer(head, 8);
  if (DataSize() > 0) Stream.WriteBuffer(DataBytes(), static_cast<std::int64_t>(DataSize()));
  Stream.WriteBuffer(tail, 4);
}

// ---- IHDR --------------------------------------------------------------------

TChunkIHDR::TChunkIHDR(TChunkList* Owner) : TChunk(Owner, kType) {
  TPngHeader header;
  header.BitDepth = 2;
  header.ColorType = kPngPalette;
  SetHeader(header);
}

TPngHeader TChunkIHDR::Header() const {
  if (DataSize() != kPngHeaderSize) RaisePngError(EPngCorruptedData);
  return ParsePngHeader(DataBytes());
}

void TChunkIHDR::SetHeader(const TPngHeader& Header) {
  std::uint8_t bytes[kPngHeaderSize];
  StorePngHeader(Header, bytes);
  SetData(bytes, sizeof bytes);
}

void TChunkIHDR::SetWidth(std::uint32_t Width) {
  TPngHeader header = Header();
  header.Width = Width;
  SetHeader(header);
  if (TPNGImage* image = Image(); image && static_cast<std::uint32_t>(image->Width()) != Width)
    image->SetSize(static_cast<int>(Width), image->Height());
}

void TChunkIHDR::SetHeight(std::uint32_t Height) {
  TPngHeader header = Header();
  header.Height = Height;
  SetHeader(header);
  if (TPNGImage* image = Image(); image && static_cast<std::uint32_t>(image->Height()) != Height)
    image->SetSize(image->Width(), static_cast<int>(Height));
}

bool TChunkIHDR::PrepareToWrite() {
  TPNGImage* image = Image();
  if (!image) return true;
  TPngHeader header;
  header.Width = static_cast<std::uint32_t>(image->Width());
  header.Height = static_cast<std::uint32_t>(image->Height());
  header.InterlaceMethod = image->Interlacing() ? 1 : 0;
  if (const int bits = PaletteBitsOf(image->PixelFormat()); bits == 0) {
    image->SetPixelFormat(gui::pf24bit);
    header.ColorType = kPngRgb;
    header.BitDepth = 8;
  } else {
    header.ColorType = kPngPalette;
    header.BitDepth = static_cast<std::uint8_t>(bits);
  }
  SetHeader(header);
  return true;
}

// ---- PLTE --------------------------------------------------------------------

std::vector<TPngColor> TChunkPLTE::Entries() const {
  if (DataSize() % 3 != 0 || DataSize() > 3 * 256) RaisePngError(EPngInvalidPalette);
  std::vector<TPngColor> entries(DataSize() / 3);
  const std::uint8_t* bytes = DataBytes();
  for (std::size_t i = 0; i < entries.size(); ++i) entries[i] = {bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]};
  return entries;
}

bool TChunkPLTE::PrepareToWrite() {
  TPNGImage* image = Image();
  if (!image) return DataSize() > 0;
  std::vector<TPngColor> entries = PaletteColorsOf(*image);
  if (const int bits = PaletteBitsOf(image->PixelFormat()); bits > 0 && entries.empty()) {
    // A palette image always carries a palette: without one it gets a grey ramp of its depth.
    const std::size_t size = std::size_t{1} << bits;
    for (std::size_t k = 0; k < size; ++k) {
      const auto level = static_cast<std::uint8_t>(k * 255 / (size - 1));
      entries.push_back({level, level, level});
    }
  }
  if (entries.empty()) return false;
  const TChunkGAMA* gamma = FOwner->FirstOfClass<TChunkGAMA>();
  const std::uint8_t* inverse = gamma && gamma->HasTables() ? gamma->InverseTable() : nullptr;
  std::vector<std::uint8_t> bytes;
  bytes.reserve(entries.size() * 3);
  for (const TPngColor& entry : entries) {
    for (std::uint8_t sample : {entry.Red, entry.Green, entry.Blue})
      bytes.push_back(inverse ? inverse[sample] : sample);
  }
  SetData(bytes.data(), bytes.size());
  return true;
}

// ---- tRNS --------------------------------------------------------------------

bool TChunkTRNS::TransparentColor(gui::TColor& Color) const {
  const std::optional<TPngHeader> header = headerOf(*this);
  if (!header || header->ColorType != kPngRgb) RaisePngError(EPngNotRgbTransparency);
  const std::uint8_t* b = DataBytes();
  std::uint8_t red, green, blue;
  if (DataSize() == 6) {
    // Samples of 16-bit images keep their high byte, as the pixels do.
    const int low = header->BitDepth == 16 ? 0 : 1;
    red = b[low], green = b[2 + low], blue = b[4 + low];
  } else if (DataSize() == 3) {
    red = b[0], green = b[1], blue = b[2];
  } else {
    return false;
  }
  Color = gui::TColor{red} | (gui::TColor{green} << 8) | (gui::TColor{blue} << 16);
  return true;
}

bool TChunkTRNS::PrepareToWrite() {
  TPNGImage* image = Image();
  if (!image || PaletteBitsOf(image->PixelFormat()) > 0) return false;
  const gui::TColor color = image->TransparentColor();
  const std::uint8_t bytes[6] = {0, static_cast<std::uint8_t>(color), 0, static_cast<std::uint8_t>(color >> 8),
                                 0, static_cast<std::uint8_t>(color >> 16)};
  SetData(bytes, sizeof bytes);
  return true;
}

// ---- gAMA --------------------------------------------------------------------

TChunkGAMA::TChunkGAMA(TChunkList* Owner) : TChunk(Owner, kType) {
  SetGamma(1);
}

std::uint32_t TChunkGAMA::Gamma() const {
  if (DataSize() != 4) RaisePngError(EPngCorruptedData);
  return ReadBigEndian32(DataBytes());
}

void TChunkGAMA::SetGamma(std::uint32_t Value) {
  std::uint8_t bytes[4];
  WriteBigEndian32(Value, bytes);
  SetData(bytes, sizeof bytes);
}

void TChunkGAMA::ApplyAfterLoad() {
  const std::uint32_t value = Gamma();
  if (value == 0) RaisePngError(EPngCorruptedData);
  const double exponent = 1.0 / (value / 100000.0 * 2.2);
  FInverseTable.fill(0);
  for (int i = 0; i < 256; ++i) {
    // nearbyint rounds halves to even under the default rounding mode.
    const double level = std::nearbyint(255.0 * std::pow(i / 255.0, exponent));
    FGammaTable[i] = static_cast<std::uint8_t>(level < 0 ? 0 : level > 255 ? 255 : level);
    FInverseTable[FGammaTable[i]] = static_cast<std::uint8_t>(i);
  }
  FHasTables = true;
}

void TChunkGAMA::AssignChunk(const TChunk& Source) {
  TChunk::AssignChunk(Source);
  if (const auto* gamma = dynamic_cast<const TChunkGAMA*>(&Source)) {
    FGammaTable = gamma->FGammaTable;
    FInverseTable = gamma->FInverseTable;
    FHasTables = gamma->FHasTables;
  }
}

// ---- tEXt --------------------------------------------------------------------

TChunkTEXT::TChunkTEXT(TChunkList* Owner) : TChunk(Owner, kType) {
  const std::uint8_t zeros[2] = {0, 0};
  SetData(zeros, sizeof zeros);
}

// ---- IDAT --------------------------------------------------------------------

namespace {

// Rows go straight into the image's scanlines; progress goes to its event.
class ImageRows : public TPngRasterTarget {
 public:
  explicit ImageRows(TPNGImage& image) : image_(image) {}
  // The rows go into a DIB section made here: it starts zeroed with the palette
  // as its colour table, so nothing is filled or converted twice.
  void Begin(const TPngRasterFormat& format) override {
    struct {
      win::BITMAPINFOHEADER header;
      win::RGBQUAD colors[256];
    } info{};
    info.header.biSize = sizeof(win::BITMAPINFOHEADER);
    info.header.biWidth = format.Width;
    info.header.biHeight = format.Height;  // bottom-up, as the bitmap keeps its DIBs
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<win::WORD>(format.BitsPerPixel);
    info.header.biCompression = win::BI_RGB;
    info.header.biClrUsed = static_cast<win::DWORD>(std::min<std::size_t>(format.Palette.size(), 256));
    for (std::size_t i = 0; i < info.header.biClrUsed; ++i) {
      const TPngColor c = format.Palette[i];
      info.colors[i] = win::RGBQUAD{c.Blue, c.Green, c.Red, 0};
    }
    void* bits = nullptr;
    const win::HBITMAP made =
        win::CreateDIBSection(0, reinterpret_cast<const win::BITMAPINFO*>(&info), win::DIB_RGB_COLORS, &bits, 0, 0);
    if (!made) throw gui::EOutOfResources("Out of system resources");
    image_.SetHandle(made);
  }
  std::uint8_t* ScanLine(int row) override { return static_cast<std::uint8_t*>(image_.ScanLine(row)); }
  void RowDone(int row) override {
    if (!image_.OnProgress) return;
    image_.Progress(psRunning, static_cast<std::uint8_t>(win::MulDiv(row, 100, image_.Height())), true,
                    win::RECT{0, row - 1, image_.Width(), row}, "Drawing...");
  }
  void PassDone(int pass) override {
    if (!image_.OnProgress) return;
    image_.Progress(psRunning, static_cast<std::uint8_t>(win::MulDiv(100, pass, 6)), true,
                    win::RECT{0, 0, image_.Width(), image_.Height()}, "Drawing...");
  }

 private:
  TPNGImage& image_;
};

}  // namespace

void TChunkIDAT::ApplyAfterLoad() {
  TPNGImage* image = Image();
  TChunkIHDR* ihdr = FOwner->FirstOfClass<TChunkIHDR>();
  if (!image || !ihdr) return;
  const TPngHeader header = ihdr->Header();
  const TChunkGAMA* gammaChunk = FOwner->FirstOfClass<TChunkGAMA>();
  const std::uint8_t* gamma = gammaChunk && gammaChunk->HasTables() ? gammaChunk->GammaTable() : nullptr;
  std::vector<TPngColor> palette;
  const TChunkPLTE* plte = FOwner->FirstOfClass<TChunkPLTE>();
  if (header.ColorType == kPngPalette && plte) palette = plte->Entries();
  TPngRasterFormat format;
  RaiseOnPngStatus(PngRasterFormatOf(header, plte ? &palette : nullptr, gamma, format));
  ImageRows rows(*image);
  rows.Begin(format);
  FData.SetPosition(0);
  TZDecompressionStream inflated(FData);
  RaiseOnPngStatus(DecodePngImageData(header, gamma, inflated, rows));
}

bool TChunkIDAT::PrepareToWrite() {
  TPNGImage* image = Image();
  if (!image) return true;
  image->SetInterlacing(false);
  FData.Clear();
  TZCompressionStream compressed(FData, static_cast<TZCompressionLevel>(TPNGImage::kCompressionLevel));
  EncodePngImageData(*image, image->Filters(), compressed);
  compressed.Finish();
  return true;
}

// ---- registry --------------------------------------------------------------

const std::vector<TChunkClassEntry>& TChunkClasses() {
  static const std::vector<TChunkClassEntry> classes = {
      {typeBytes(TChunkIEND::kType), make<TChunkIEND>}, {typeBytes(TChunkIHDR::kType), make<TChunkIHDR>},
      {typeBytes(TChunkGAMA::kType), make<TChunkGAMA>}, {typeBytes(TChunkIDAT::kType), make<TChunkIDAT>},
      {typeBytes(TChunkPLTE::kType), make<TChunkPLTE>}, {typeBytes(TChunkTEXT::kType), make<TChunkTEXT>},
      {typeBytes(TChunkTRNS::kType), make<TChunkTRNS>}};
  return classes;
}

TChunkFactory FindChunkClass(const char* Type) {
  for (const TChunkClassEntry& entry : TChunkClasses())
    if (std::memcmp(entry.Type.data(), Type, 4) == 0) return entry.Create;
  return nullptr;
}

const TChunkClassEntry& ChunkClassAt(int Index) {
  const auto& classes = TChunkClasses();
  if (Index < 0 || static_cast<std::size_t>(Index) >= classes.size()) RaisePngError(EPngClassIndexOutOfRange);
  return classes[static_cast<std::size_t>(Index)];
}

}  // namespace images
