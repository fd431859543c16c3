#pragma once
// TPNGImage: a bitmap that reads and writes PNG files. It keeps the file's
// chunks, decodes the image data into its own pixels (palette indices of 1, 4
// or 8 bits, or 24-bit blue-green-red) and filters and compresses them back on
// saving. Writing always gives a valid file: IHDR first, PLTE and tRNS before
// IDAT, IEND last, never interlaced.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "images/PngBitmap.h"
#include "images/PngChunkList.h"
#include "images/PngFilters.h"
#include "platform/gui/Streams.h"
#include "platform/win/Types.h"

namespace images {

enum TProgressStage { psStarting, psRunning, psEnding };
using TProgressEvent = std::function<void(gui::TObject* Sender, TProgressStage Stage, std::uint8_t PercentDone,
                                          bool RedrawNow, const win::RECT& R, const std::string& Msg)>;

class TPNGImage : public gui::TObject, public PngBitmap {
 public:
  // Empty, with the default chunks IHDR, IDAT and IEND.
  TPNGImage();
  ~TPNGImage() override;

  // Raises EPNGImageException (or a zlib stream error) for data it cannot read.
  void LoadFromStream(gui::TStream& Stream);
  void SaveToStream(gui::TStream& Stream);
  void LoadFromFile(const std::string& FileName);
  void SaveToFile(const std::string& FileName);
  // Copies chunks, filters and interlacing from another TPNGImage, then the pixels.
  void Assign(const TPNGImage& Source);
  // Copies only the pixels of a bitmap.
  void Assign(const PngBitmap& Source);

  TChunkList& Chunks() { return *FChunkList; }
  const TChunkList& Chunks() const { return *FChunkList; }
  // The filter types saving may choose from; None is always among them.
  TEncodeFilterSet Filters() const { return FFilters; }
  void SetFilters(TEncodeFilterSet Filters) { FFilters = static_cast<TEncodeFilterSet>(Filters | 1u); }
  bool Interlacing() const { return FInterlacing; }
  void SetInterlacing(bool Interlacing) { FInterlacing = Interlacing; }
  // Compression level index used for IDAT (zlib's default).
  static constexpr int kCompressionLevel = 2;

  TProgressEvent OnProgress;

  // Raises the image's progress event when assigned.
  void Progress(TProgressStage Stage, std::uint8_t PercentDone, bool RedrawNow, const win::RECT& R,
                const std::string& Msg);

 private:
  void SetDefaultChunks();
  void ReadChunks(gui::TStream& Stream);
  void PrepareChunksForSaving();

  std::unique_ptr<TChunkList> FChunkList;
  std::unique_ptr<PngBitmap> FMask;
  TEncodeFilterSet FFilters = kDefaultEncodeFilters;
  bool FInterlacing = false;
};

}  // namespace images
