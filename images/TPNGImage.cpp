#include "images/TPNGImage.h"

#include <algorithm>
#include <cstring>

#include "images/EPNGImageException.h"
#include "images/PngPixels.h"
#include "platform/gui/TGraphic.h"

namespace images {
namespace {

constexpr std::uint8_t kPngSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

// Removes every chunk of class C after the first.
template <class C>
void keepFirstOnly(TChunkList& list) {
  const int first = list.IndexOfClass<C>();
  for (int i = list.Count() - 1; i > first; --i)
    if (IsChunkClass<C>(list.Item(i))) list.Remove(&list.Item(i));
}

template <class C>
void removeAll(TChunkList& list) {
  while (C* chunk = list.FirstOfClass<C>()) list.Remove(chunk);
}

template <class C>
int ensureOne(TChunkList& list, int position) {
  if (list.IndexOfClass<C>() < 0) {
    list.AddClass<C>();
    list.Move(list.Count() - 1, std::min(position, list.Count() - 1));
  }
  keepFirstOnly<C>(list);
  return list.IndexOfClass<C>();
}

// Moves the chunk at `from` to stand just before the chunk at `before`.
void moveBefore(TChunkList& list, int from, int before) {
  if (from > before) list.Move(from, before);
  else if (from < before - 1) list.Move(from, before - 1);
}

}  // namespace

TPNGImage::TPNGImage() : FChunkList(std::make_unique<TChunkList>(this)) { SetDefaultChunks(); }

TPNGImage::~TPNGImage() = default;

void TPNGImage::SetDefaultChunks() {
  FChunkList->Clear();
  FChunkList->AddClass<TChunkIHDR>();
  FChunkList->AddClass<TChunkIDAT>();
  FChunkList->AddClass<TChunkIEND>();
}

void TPNGImage::Progress(TProgressStage Stage, std::uint8_t PercentDone, bool RedrawNow, const win::RECT& R,
                         const std::string& Msg) {
  if (OnProgress) OnProgress(this, Stage, PercentDone, RedrawNow, R, Msg);
}

// ---- loading -----------------------------------------------------------------

void TPNGImage::ReadChunks(gui::TStream& Stream) {
  while (Stream.Position() < Stream.Size()) {
    const TChunk& chunk = FChunkList->ReadChunk(Stream);
    if (IsChunkClass<TChunkIEND>(chunk)) break;
  }
}

void TPNGImage::LoadFromStream(gui::TStream& Stream) {
  SetDefaultChunks();
  FChunkList->Clear();
  std::uint8_t signature[8];
  if (Stream.Read(signature, 8) != 8 || std::memcmp(signature, kPngSignature, 8) != 0)
    RaisePngError(EPngInvalidFileHeader);
  ReadChunks(Stream);
  if (FChunkList->Count() == 0 || !IsChunkClass<TChunkIHDR>(FChunkList->Item(0)))
    RaisePngError(EPngNoIhdrFirst);
  const TPngHeader header = static_cast<TChunkIHDR&>(FChunkList->Item(0)).Header();
  if (FChunkList->IndexOfClass<TChunkIDAT>() < 0) RaisePngError(EPngNoImageData);
  for (int i = 0; i < FChunkList->Count(); ++i) FChunkList->Item(i).ApplyAfterLoad();
  if (const TChunkTRNS* trns = FChunkList->FirstOfClass<TChunkTRNS>(); trns && header.ColorType == kPngRgb) {
    gui::TColor color = 0;
    if (trns->TransparentColor(color)) {
      SetTransparentColor(color);
      SetTransparent(true);
    }
  }
}

// ---- saving --------------------------------------------------------------------

// Brings the list into a shape that writes a valid file: one IHDR first, a PLTE
// for palette pixels, tRNS only while transparent, PLTE and tRNS before the one
// IDAT, IEND last.
void TPNGImage::PrepareChunksForSaving() {
  TChunkList& list = *FChunkList;
  FInterlacing = false;
  if (list.Count() == 0) SetDefaultChunks();
  if (list.IndexOfClass<TChunkIHDR>() < 0) list.AddClass<TChunkIHDR>();
  list.Move(list.IndexOfClass<TChunkIHDR>(), 0);
  keepFirstOnly<TChunkIHDR>(list);
  if (PaletteBitsOf(PixelFormat()) > 0) ensureOne<TChunkPLTE>(list, 1);
  keepFirstOnly<TChunkPLTE>(list);
  if (Transparent()) ensureOne<TChunkTRNS>(list, 1);
  else removeAll<TChunkTRNS>(list);
  ensureOne<TChunkIDAT>(list, 1);
  const int iend = ensureOne<TChunkIEND>(list, list.Count());
  list.Move(iend, list.Count() - 1);

  if (const int plte = list.IndexOfClass<TChunkPLTE>(); plte > list.IndexOfClass<TChunkIDAT>())
    moveBefore(list, plte, list.IndexOfClass<TChunkIDAT>());
  if (const int trns = list.IndexOfClass<TChunkTRNS>(); trns >= 0) {
    if (trns > list.IndexOfClass<TChunkIDAT>()) moveBefore(list, trns, list.IndexOfClass<TChunkIDAT>());
    const int plte = list.IndexOfClass<TChunkPLTE>();
    if (plte > list.IndexOfClass<TChunkTRNS>()) moveBefore(list, plte, list.IndexOfClass<TChunkTRNS>());
  }
}

void TPNGImage::SaveToStream(gui::TStream& Stream) {
  Stream.WriteBuffer(kPngSignature, sizeof kPngSignature);
  PrepareChunksForSaving();
  for (int i = 0; i < FChunkList->Count(); ++i) FChunkList->Item(i).WriteChunk(Stream);
}

// ---- copying -------------------------------------------------------------------

void TPNGImage::Assign(const gui::TPersistent* Source) {
  const auto* png = dynamic_cast<const TPNGImage*>(Source);
  if (png && png != this) {
    FChunkList->Clear();
    for (int i = 0; i < png->Chunks().Count(); ++i) {
      const TChunk& from = png->Chunks().Item(i);
      const TChunkFactory factory = from.ChunkType().size() == 4 ? FindChunkClass(from.ChunkType().data()) : nullptr;
      std::unique_ptr<TChunk> copy =
          factory ? factory(FChunkList.get()) : std::make_unique<TChunk>(FChunkList.get());
      copy->AssignChunk(from);
      FChunkList->Add(std::move(copy));
    }
    FFilters = png->FFilters;
    FInterlacing = png->FInterlacing;
  }
  gui::TBitmap::Assign(Source);
}

namespace {

// The picture class opens "png" files as TPNGImage while this library is loaded.
struct FormatRegistration {
  FormatRegistration() {
    gui::TPicture::RegisterFileFormat("png", "Portable Network Graphics", gui::TGraphicClass::Of<TPNGImage>());
  }
  ~FormatRegistration() { gui::TPicture::UnregisterGraphicClass(std::type_index(typeid(TPNGImage))); }
};
const FormatRegistration registration;

}  // namespace

}  // namespace images
