#pragma once
// TPNGImage: a bitmap that reads and writes PNG files, registered with the
// picture class for the extension "png". It keeps the file's
// chunks, decodes the image data into its own pixels (palette indices of 1, 4
// or 8 bits, or 24-bit blue-green-red) and filters and compresses them back on
// saving. Writing always gives a valid file: IHDR first, PLTE and tRNS before
// IDAT, IEND last, never interlaced.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "images/TChunkList.h"
#include "images/PngFilters.h"
#include "platform/gui/TStream.h"
#include "platform/gui/TBitmap.h"
#include "platform/win/Types.h"

namespace images {

enum TProgressStage { psStarting, psRunning, psEnding };
using TProgressEvent = std::function<void(gui::TObject* Sender, TProgressStage Stage, std::uint8_t PercentDone,
                                          bool RedrawNow, const win::RECT& R, const std::string& Msg)>;

class TPNGImage : public gui::TBitmap {
 public:
  // Empty, with the default chunks IHDR, IDAT and IEND.
  TPNGImage();
  ~TPNGImage() override;

  // Raises EPNGImageException (or a zlib stream error) for data it cannot read.
  void LoadFromStream(gui::TStream& Stream) override;
  void SaveToStream(gui::TStream& Stream) override;
  // From another TPNGImage: its chunks, filters and interlacing; then the
  // pixels of any bitmap.
  void Assign(const gui::TPersistent* Source) override;

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
  std::unique_ptr<gui::TBitmap> FMask;
  TEncodeFilterSet FFilters = kDefaultEncodeFilters;
  bool FInterlacing = false;
};

}  // namespace images
