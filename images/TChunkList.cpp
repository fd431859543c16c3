#include "images/TChunkList.h"

#include "images/EPNGImageException.h"
#include "images/PngFormat.h"

namespace images {
namespace {

constexpr std::uint32_t kMaxChunkLength = 0x7FFFFFFF;

bool isCritical(const std::uint8_t* type) { return (type[0] & 0x20) == 0; }

// Reads Count bytes into the end of Data, grown for them.
const std::uint8_t* appendFrom(gui::TStream& Stream, gui::TMemoryStream& Data, std::uint32_t Count) {
  const std::int64_t start = Data.Size();
  if (Count == 0) return Data.Memory();
  Data.SetSize(start + Count);
  if (Stream.Read(Data.Memory() + start, Count) != Count) RaisePngError(EPngCorruptedData);
  return Data.Memory() + start;
}

}  // namespace

TChunk& TChunkList::Item(int Index) const {
  if (Index < 0 || Index >= Count()) RaisePngError(EPngIndexOutOfRange);
  return *FItems[static_cast<std::size_t>(Index)];
}

TChunk& TChunkList::ReadChunk(gui::TStream& Stream) {
  std::uint8_t head[8];  // length (4, big-endian) and type (4)
  if (Stream.Read(head, 8) != 8) RaisePngError(EPngCorruptedData);
  const std::uint32_t length = ReadBigEndian32(head);
  const std::uint8_t* type = head + 4;
  // The data and its CRC must be there before anything is allocated for them.
  if (length > kMaxChunkLength || std::int64_t{length} + 4 > Stream.Size() - Stream.Position())
    RaisePngError(EPngCorruptedData);
  const TChunkFactory factory = FindChunkClass(reinterpret_cast<const char*>(type));
  if (!factory && isCritical(type)) RaisePngError(EPngUnknownCriticalChunk);

  TChunkIDAT* firstIdat = FirstOfClass<TChunkIDAT>();
  const bool joinIdat = firstIdat && factory == FindChunkClass(TChunkIDAT::kType);
  std::unique_ptr<TChunk> chunk;
  if (!joinIdat) {
    chunk = factory ? factory(this) : std::make_unique<TChunk>(this);
    chunk->SetChunkType(std::string(reinterpret_cast<const char*>(type), 4));
    chunk->Data().Clear();
  }
  gui::TMemoryStream& data = joinIdat ? firstIdat->Data() : chunk->Data();
  const std::uint8_t* bytes = appendFrom(Stream, data, length);

  std::uint8_t stored[4];
  if (Stream.Read(stored, 4) != 4) RaisePngError(EPngCorruptedData);
  if (ChunkCrc(type, bytes, length) != ReadBigEndian32(stored)) RaisePngError(EPngCorruptedData);
  if (joinIdat) return *firstIdat;
  chunk->Data().SetPosition(0);
  return Add(std::move(chunk));
}

TChunk& TChunkList::Add(std::unique_ptr<TChunk> Chunk) {
  FItems.push_back(std::move(Chunk));
  return *FItems.back();
}

void TChunkList::Move(int From, int To) {
  if (From < 0 || From >= Count() || To < 0 || To >= Count()) RaisePngError(EPngIndexOutOfRange);
  std::unique_ptr<TChunk> chunk = std::move(FItems[static_cast<std::size_t>(From)]);
  FItems.erase(FItems.begin() + From);
  FItems.insert(FItems.begin() + To, std::move(chunk));
}

int TChunkList::IndexOf(const TChunk* Chunk) const {
  for (std::size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].get() == Chunk) return static_cast<int>(i);
  return -1;
}

void TChunkList::Remove(TChunk* Chunk) {
  const int index = IndexOf(Chunk);
  if (index < 0) RaisePngError(EPngChunkNotInList);
  FItems.erase(FItems.begin() + index);
}

void TChunkList::Clear() {
  while (!FItems.empty()) FItems.pop_back();
}

}  // namespace images
