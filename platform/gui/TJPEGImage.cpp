#include "platform/gui/TJPEGImage.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" {
#include <jpeglib.h>
}

#include "platform/gui/Exception.h"
#include "platform/gui/GdiCalls.h"
#include "platform/gui/TStream.h"

namespace gui {
namespace {

// libjpeg calls error_exit for every error and expects it not to return. We
// jump back to runDecode's setjmp, which destroys the decompressor; the
// C++ exception is raised only after that, from a frame of our own, so no
// exception ever unwinds through libjpeg.
struct ErrorManager {
  jpeg_error_mgr base;  // first: libjpeg hands back a pointer to it
  std::jmp_buf jump;
};

void exitByJump(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

constexpr long kMaxDecoderMemory = 256l << 20;  // coefficient buffers of progressive files
// Each progressive scan walks the whole picture: a small hostile file of
// many thousand tiny scans would take minutes. Real files have about ten.
constexpr int kMaxScans = 1000;

// Called by libjpeg between scans; leaves the decode the way errors do.
void limitScans(j_common_ptr info) {
  auto* decoder = reinterpret_cast<j_decompress_ptr>(info);
  if (decoder->input_scan_number > kMaxScans) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 2);
  }
}

// Warnings and traces would go to stderr; a damaged picture is shown as far
// as it decodes, without a word.
void stayQuiet(j_common_ptr) {}

constexpr int kRowsPerRead = 16;

enum class Output { Grey8, Rgb24, Cmyk24, Quantized8 };

// Everything a decode touches lives here, in the caller's frame, so nothing
// the jump skips over has a destructor and nothing it reads is a stale local.
struct DecodeJob {
  // Input.
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  bool headerOnly = false;
  bool eightBit = false;
  const std::uint32_t* palette = nullptr;  // 0x00RRGGBB; external colour map for 8-bit output
  int paletteCount = 0;
  std::int64_t maxPixels = 0;
  // Decoder state.
  jpeg_decompress_struct info;
  ErrorManager errors;
  jpeg_progress_mgr progress;
  bool created = false;
  // Output.
  int width = 0;
  int height = 0;
  bool grey = false;
  win::HBITMAP bitmap = 0;
  std::uint8_t* bits = nullptr;
  std::ptrdiff_t stride = 0;
  std::uint8_t* cmykRows = nullptr;  // malloc'd; freed by the caller
  int rowsDone = 0;
  char message[JMSG_LENGTH_MAX] = {};
};

struct DibInfo256 {
  win::BITMAPINFOHEADER header;
  win::RGBQUAD colors[256];
};

// Never throws: an exception here would leave the decompressor alive.
win::HBITMAP createOutputDib(DecodeJob& job, int bitCount, const JSAMPARRAY colormap, int colours) noexcept {
  try {
    DibInfo256 dib{};
    dib.header.biSize = sizeof(win::BITMAPINFOHEADER);
    dib.header.biWidth = job.width;
    dib.header.biHeight = job.height;  // bottom-up
    dib.header.biPlanes = 1;
    dib.header.biBitCount = static_cast<win::WORD>(bitCount);
    dib.header.biCompression = win::BI_RGB;
    if (bitCount == 8) {
      dib.header.biClrUsed = 256;
      for (int i = 0; i < 256; ++i) {
        win::RGBQUAD& q = dib.colors[i];
        if (!colormap) {
          q = win::RGBQUAD{static_cast<win::BYTE>(i), static_cast<win::BYTE>(i), static_cast<win::BYTE>(i), 0};
        } else if (i < colours) {
          q = win::RGBQUAD{colormap[2][i], colormap[1][i], colormap[0][i], 0};
        }
      }
    }
    void* bits = nullptr;
    const win::HBITMAP made =
        win::CreateDIBSection(0, reinterpret_cast<win::BITMAPINFO*>(&dib), win::DIB_RGB_COLORS, &bits, 0, 0);
    job.bits = static_cast<std::uint8_t*>(bits);
    job.stride = static_cast<std::ptrdiff_t>(win::dibRowBytes(job.width, bitCount));
    return made;
  } catch (...) {
    return 0;
  }
}

Output chooseOutput(DecodeJob& job) {
  jpeg_decompress_struct& info = job.info;
  if (info.jpeg_color_space == JCS_GRAYSCALE) {
    info.out_color_space = JCS_GRAYSCALE;
    return Output::Grey8;
  }
  if (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK) {
    // libjpeg does not quantize four components: CMYK is always 24-bit.
    info.out_color_space = JCS_CMYK;
    return Output::Cmyk24;
  }
  if (!job.eightBit) {
    info.out_color_space = JCS_EXT_BGR;  // the byte order of DIB rows
    return Output::Rgb24;
  }
  info.out_color_space = JCS_RGB;
  info.quantize_colors = TRUE;
  info.dither_mode = JDITHER_FS;
  info.desired_number_of_colors = 256;
  if (job.palette && job.paletteCount > 0) {
    const int count = std::min(job.paletteCount, 256);
    info.colormap = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                              static_cast<JDIMENSION>(count), 3);
    for (int i = 0; i < count; ++i) {
      info.colormap[0][i] = static_cast<JSAMPLE>(job.palette[i] >> 16);
      info.colormap[1][i] = static_cast<JSAMPLE>(job.palette[i] >> 8);
      info.colormap[2][i] = static_cast<JSAMPLE>(job.palette[i]);
    }
    info.actual_number_of_colors = count;
  }
  return Output::Quantized8;
}

// Adobe writes CMYK inverted, and libjpeg hands the values back as stored:
// each channel times K over 255 gives RGB.
void cmykRowToBgr(const std::uint8_t* cmyk, int width, std::uint8_t* bgr) {
  for (int x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
    const unsigned k = cmyk[3];
    bgr[0] = static_cast<std::uint8_t>((cmyk[2] * k + 127) / 255);
    bgr[1] = static_cast<std::uint8_t>((cmyk[1] * k + 127) / 255);
    bgr[2] = static_cast<std::uint8_t>((cmyk[0] * k + 127) / 255);
  }
}

void readRows(DecodeJob& job, Output output) {
  jpeg_decompress_struct& info = job.info;
  JSAMPROW rows[kRowsPerRead];
  while (info.output_scanline < info.output_height) {
    const int first = static_cast<int>(info.output_scanline);
    const int count = std::min(kRowsPerRead, job.height - first);
    for (int i = 0; i < count; ++i)
      rows[i] = output == Output::Cmyk24 ? job.cmykRows + static_cast<std::ptrdiff_t>(i) * job.width * 4
                                         : job.bits + (job.height - 1 - first - i) * job.stride;
    const int read = static_cast<int>(jpeg_read_scanlines(&info, rows, static_cast<JDIMENSION>(count)));
    if (read <= 0) break;  // suspension cannot happen with a memory source
    if (output == Output::Cmyk24)
      for (int i = 0; i < read; ++i)
        cmykRowToBgr(rows[i], job.width, job.bits + (job.height - 1 - first - i) * job.stride);
    job.rowsDone = first + read;
  }
}

bool refuse(DecodeJob& job, const char* message) {
  std::snprintf(job.message, sizeof job.message, "%s", message);
  return false;
}

// The decode proper, between setjmp and every jump back. Returns false with
// job.message set; the caller destroys the decompressor either way.
bool decodeSteps(DecodeJob& job) {
  jpeg_decompress_struct& info = job.info;
  jpeg_create_decompress(&info);
  job.created = true;
  info.mem->max_memory_to_use = kMaxDecoderMemory;
  job.progress.progress_monitor = limitScans;
  info.progress = &job.progress;
  jpeg_mem_src(&info, job.data, static_cast<unsigned long>(job.size));
  jpeg_read_header(&info, TRUE);
  job.width = static_cast<int>(info.image_width);
  job.height = static_cast<int>(info.image_height);
  job.grey = info.jpeg_color_space == JCS_GRAYSCALE;
  if (job.width <= 0 || job.height <= 0) return refuse(job, "JPEG image has no pixels");
  if (static_cast<std::int64_t>(job.width) * job.height > job.maxPixels ||
      !win::surfaceSizeAllowed(job.width, job.height))
    return refuse(job, "JPEG image is too large");
  if (job.headerOnly) return true;
  const Output output = chooseOutput(job);
  jpeg_start_decompress(&info);
  if (static_cast<int>(info.output_width) != job.width || static_cast<int>(info.output_height) != job.height)
    return refuse(job, "JPEG image size changed while decoding");
  const bool eightBit = output == Output::Grey8 || output == Output::Quantized8;
  job.bitmap = createOutputDib(job, eightBit ? 8 : 24, output == Output::Quantized8 ? info.colormap : nullptr,
                               info.actual_number_of_colors);
  if (!job.bitmap || !job.bits) return refuse(job, "Out of system resources");
  if (output == Output::Cmyk24) {
    job.cmykRows = static_cast<std::uint8_t*>(std::malloc(static_cast<std::size_t>(job.width) * 4 * kRowsPerRead));
    if (!job.cmykRows) return refuse(job, "Out of memory");
  }
  readRows(job, output);
  jpeg_finish_decompress(&info);
  return true;
}

bool runDecode(DecodeJob& job) {
  std::memset(&job.info, 0, sizeof job.info);
  job.info.err = jpeg_std_error(&job.errors.base);
  job.errors.base.error_exit = exitByJump;
  job.errors.base.output_message = stayQuiet;
  bool ok = false;
  const int jumped = setjmp(job.errors.jump);
  if (jumped == 0) {
    ok = decodeSteps(job);
  } else {
    if (jumped == 2) std::snprintf(job.message, sizeof job.message, "JPEG image has too many scans");
    else (*job.errors.base.format_message)(reinterpret_cast<j_common_ptr>(&job.info), job.message);
    // An error after the last row (in the trailer) loses nothing.
    ok = !job.headerOnly && job.bitmap && job.height > 0 && job.rowsDone == job.height;
  }
  if (job.created) jpeg_destroy_decompress(&job.info);
  job.created = false;
  return ok;
}

std::int64_t maxPixels = win::kMaxSurfacePixels;

std::vector<std::uint32_t> paletteColours(win::HPALETTE palette) {
  std::vector<std::uint32_t> colours;
  if (!palette) return colours;
  win::PALETTEENTRY entries[256];
  const win::UINT count = win::GetPaletteEntries(palette, 0, 256, entries);
  for (win::UINT i = 0; i < count; ++i)
    colours.push_back((std::uint32_t{entries[i].peRed} << 16) | (std::uint32_t{entries[i].peGreen} << 8) |
                      entries[i].peBlue);
  return colours;
}

win::HPALETTE copyPalette(win::HPALETTE palette) {
  if (!palette) return 0;
  win::PALETTEENTRY entries[256];
  const win::UINT count = win::GetPaletteEntries(palette, 0, 256, entries);
  if (count == 0) return 0;
  std::vector<std::uint8_t> storage(sizeof(win::LOGPALETTE) + count * sizeof(win::PALETTEENTRY));
  auto* logPalette = reinterpret_cast<win::LOGPALETTE*>(storage.data());
  logPalette->palVersion = 0x300;
  logPalette->palNumEntries = static_cast<win::WORD>(count);
  std::memcpy(logPalette->palPalEntry, entries, count * sizeof(win::PALETTEENTRY));
  return win::CreatePalette(logPalette);
}

}  // namespace

TJPEGImage::TJPEGImage() = default;

TJPEGImage::~TJPEGImage() {
  if (palette_) win::DeleteObject(palette_);
}

void TJPEGImage::SetMaxPixels(std::int64_t Value) {
  maxPixels = std::clamp<std::int64_t>(Value, 1, win::kMaxSurfacePixels);
}

std::int64_t TJPEGImage::MaxPixels() { return maxPixels; }

void TJPEGImage::FreeBitmap() { bitmap_.reset(); }

void TJPEGImage::SetPixelFormat(TJPEGPixelFormat Value) {
  if (Value == pixelFormat_) return;
  pixelFormat_ = Value;
  FreeBitmap();
  Changed();
}

void TJPEGImage::SetPalette(win::HPALETTE Value) {
  if (Value == palette_) return;
  if (palette_) win::DeleteObject(palette_);
  palette_ = Value;
  if (pixelFormat_ == jf8Bit) FreeBitmap();
}

void TJPEGImage::ReadHeader() {
  DecodeJob job;
  job.data = data_.data();
  job.size = data_.size();
  job.headerOnly = true;
  job.maxPixels = maxPixels;
  if (data_.empty() || !runDecode(job)) {
    const std::string message = job.message[0] ? job.message : "JPEG data is empty";
    data_.clear();
    width_ = height_ = 0;
    throw EInvalidGraphic(message);
  }
  width_ = job.width;
  height_ = job.height;
  grayscale_ = job.grey;
}

void TJPEGImage::LoadFromStream(TStream& Stream) {
  FreeBitmap();
  const std::int64_t available = std::max<std::int64_t>(Stream.Size() - Stream.Position(), 0);
  data_.assign(static_cast<std::size_t>(available), 0);
  if (!data_.empty()) Stream.ReadBuffer(data_.data(), available);
  ReadHeader();
  Changed();
}

void TJPEGImage::SaveToStream(TStream& Stream) {
  if (!data_.empty()) Stream.WriteBuffer(data_.data(), static_cast<std::int64_t>(data_.size()));
}

void TJPEGImage::Decode() {
  if (data_.empty()) throw EInvalidGraphic("JPEG data is empty");
  const std::vector<std::uint32_t> colours = paletteColours(palette_);
  DecodeJob job;
  job.data = data_.data();
  job.size = data_.size();
  job.eightBit = pixelFormat_ == jf8Bit;
  job.palette = colours.empty() ? nullptr : colours.data();
  job.paletteCount = static_cast<int>(colours.size());
  job.maxPixels = maxPixels;
  const bool ok = runDecode(job);
  std::free(job.cmykRows);
  if (!ok) {
    if (job.bitmap) win::DeleteObject(job.bitmap);
    throw EInvalidGraphic(job.message[0] ? job.message : "JPEG image is not valid");
  }
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetHandle(job.bitmap);
  bitmap_ = std::move(bitmap);
}

TBitmap& TJPEGImage::Bitmap() {
  if (!bitmap_) Decode();
  return *bitmap_;
}

void TJPEGImage::Draw(TCanvas& ACanvas, const win::RECT& Rect) {
  if (Empty()) return;
  try {
    Bitmap().Draw(ACanvas, Rect);
  } catch (const EInvalidGraphic&) {
    // Undecodable data draws nothing; loading already reported what it could.
  }
}

void TJPEGImage::Assign(const TPersistent* Source) {
  const auto* source = dynamic_cast<const TJPEGImage*>(Source);
  if (!source) {
    TGraphic::Assign(Source);
    return;
  }
  if (source == this) return;
  FreeBitmap();
  data_ = source->data_;
  width_ = source->width_;
  height_ = source->height_;
  grayscale_ = source->grayscale_;
  pixelFormat_ = source->pixelFormat_;
  SetPalette(copyPalette(source->palette_));
  Changed();
}

void TJPEGImage::AssignTo(TPersistent* Dest) const {
  auto* target = dynamic_cast<TBitmap*>(Dest);
  if (!target) {
    TGraphic::AssignTo(Dest);
    return;
  }
  // The decoded pixels move into the target rather than being copied: a
  // photo is tens of megabytes, and the picture can decode again if drawn.
  auto& self = const_cast<TJPEGImage&>(*this);
  self.Bitmap();
  std::unique_ptr<TBitmap> decoded = std::move(self.bitmap_);
  target->SetHandle(decoded->ReleaseHandle());
}

}  // namespace gui
