#pragma once
// The chunks of a PNG file as objects. On disk a chunk is
//   length (4, big-endian, data only) | type (4 ASCII letters) | data | CRC-32 of type + data (4, big-endian)
// A chunk of a registered type is made as its class; any other ancillary chunk
// is kept as a plain TChunk.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "platform/gui/Colors.h"
#include "images/PngDecoder.h"
#include "platform/gui/TStream.h"
#include "platform/gui/TObject.h"

namespace images {

class TChunkList;
class TPNGImage;

class TChunk : public gui::TObject {
 public:
  // The type comes from the registry for registered classes ("IEND", ...).
  explicit TChunk(TChunkList* Owner);
  ~TChunk() override;

  // Runs once the whole file is read, in list order.
  virtual void ApplyAfterLoad() {}
  // Copies type and data.
  virtual void AssignChunk(const TChunk& Source);
  // Brings the data up to date with the image, then writes length, type, data
  // and CRC; chunks whose type ends in a lower-case letter, or that have
  // nothing to say, are not written.
  void WriteChunk(gui::TStream& Stream);

  const std::string& ChunkType() const { return FType; }
  void SetChunkType(const std::string& Type) { FType = Type; }
  gui::TMemoryStream& Data() { return FData; }
  const gui::TMemoryStream& Data() const { return FData; }
  std::size_t DataSize() const { return static_cast<std::size_t>(FData.Size()); }
  const std::uint8_t* DataBytes() const { return FData.Memory(); }
  void SetData(const std::uint8_t* Bytes, std::size_t Count);
  TChunkList* Owner() const { return FOwner; }
  TPNGImage* Image() const;

 protected:
  TChunk(TChunkList* Owner, const char* Type);
  // Refreshes the data from the image before writing; false skips the chunk.
  virtual bool PrepareToWrite() { return true; }

  std::string FType;
  mutable gui::TMemoryStream FData;  // its Size() is not const
  TChunkList* FOwner;
};

// "IHDR": see TPngHeader for the 13 data bytes.
class TChunkIHDR : public TChunk {
 public:
  static constexpr const char* kType = "IHDR";
  explicit TChunkIHDR(TChunkList* Owner);
  // The header; raises corrupted data when the chunk is not 13 bytes.
  TPngHeader Header() const;
  void SetHeader(const TPngHeader& Header);
  // Setting a size also resizes the image when it differs.
  void SetWidth(std::uint32_t Width);
  void SetHeight(std::uint32_t Height);

 protected:
  bool PrepareToWrite() override;
};

// "PLTE": entries of 3 bytes (red, green, blue).
class TChunkPLTE : public TChunk {
 public:
  static constexpr const char* kType = "PLTE";
  explicit TChunkPLTE(TChunkList* Owner) : TChunk(Owner, kType) {}
  // The entries; raises the invalid-palette error when the data is not whole
  // entries or holds more than 256.
  std::vector<TPngColor> Entries() const;

 protected:
  bool PrepareToWrite() override;
};

// "IDAT": the zlib stream of the image data; later IDAT chunks of a file are
// appended to the first when read.
class TChunkIDAT : public TChunk {
 public:
  static constexpr const char* kType = "IDAT";
  explicit TChunkIDAT(TChunkList* Owner) : TChunk(Owner, kType) {}
  // Decodes the image data into the image.
  void ApplyAfterLoad() override;

 protected:
  bool PrepareToWrite() override;
};

class TChunkIEND : public TChunk {
 public:
  static constexpr const char* kType = "IEND";
  explicit TChunkIEND(TChunkList* Owner) : TChunk(Owner, kType) {}
};

// "tRNS". For RGB images the transparent colour as three 2-byte samples; data
// of exactly three bytes is read as red, green, blue bytes.
class TChunkTRNS : public TChunk {
 public:
  static constexpr const char* kType = "tRNS";
  explicit TChunkTRNS(TChunkList* Owner) : TChunk(Owner, kType) {}
  // Raises when the image is not RGB; false when the data has neither layout.
  bool TransparentColor(gui::TColor& Color) const;

 protected:
  bool PrepareToWrite() override;
};

// "gAMA": 4 bytes, gamma x 100000, big-endian. Holds the decoding table and its inverse.
class TChunkGAMA : public TChunk {
 public:
  static constexpr const char* kType = "gAMA";
  explicit TChunkGAMA(TChunkList* Owner);
  // Builds both tables; raises corrupted data for a value of 0 or a length other than 4.
  void ApplyAfterLoad() override;
  void AssignChunk(const TChunk& Source) override;

  std::uint32_t Gamma() const;
  void SetGamma(std::uint32_t Value);
  bool HasTables() const { return FHasTables; }
  const std::uint8_t* GammaTable() const { return FGammaTable.data(); }
  const std::uint8_t* InverseTable() const { return FInverseTable.data(); }

 private:
  std::array<std::uint8_t, 256> FGammaTable{};
  std::array<std::uint8_t, 256> FInverseTable{};
  bool FHasTables = false;
};

class TChunkTEXT : public TChunk {
 public:
  static constexpr const char* kType = "tEXt";
  explicit TChunkTEXT(TChunkList* Owner);
};

// True when the chunk is of exactly class C (not a descendant).
template <class C>
bool IsChunkClass(const TChunk& Chunk) {
  return typeid(Chunk) == typeid(C);
}

// ---- the registry of chunk classes -----------------------------------------

using TChunkFactory = std::unique_ptr<TChunk> (*)(TChunkList* Owner);

struct TChunkClassEntry {
  std::array<char, 4> Type;
  TChunkFactory Create;
};

// The registered classes, "IEND", "IHDR", "gAMA", "IDAT", "PLTE", "tEXt", "tRNS" in that order.
const std::vector<TChunkClassEntry>& TChunkClasses();
// The factory of the first class registered for these four type bytes; nullptr when none.
TChunkFactory FindChunkClass(const char* Type);
// Raises "The chunk class index ... out of range." for a bad index.
const TChunkClassEntry& ChunkClassAt(int Index);

}  // namespace images
