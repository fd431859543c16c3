#pragma once
// The octree colour quantizer: fits a palette of at most MaxColors colours
// to an image, merging the deepest, most recently made node whenever the
// tree has too many leaves.
#include <array>
#include <cstdint>
#include <memory>

#include "images/TDIB.h"
#include "platform/win/gdi/BitmapObject.h"
#include "platform/win/gdi/PaletteObject.h"

namespace images {

struct TOctreeNode {
  bool Leaf = false;
  int PixelCount = 0;
  std::int64_t RedSum = 0;
  std::int64_t GreenSum = 0;
  std::int64_t BlueSum = 0;
  TOctreeNode* Next = nullptr;  // next reducible node of the same depth
  std::array<std::unique_ptr<TOctreeNode>, 8> Child;
};

class TColorQuantizer {
 public:
  // MaxColors 1..256 and ColorBits 1..8; anything else raises GIFException
  // "Invalid color count" (a bigger count would overrun the colour table).
  TColorQuantizer(int MaxColors, int ColorBits);
  ~TColorQuantizer();
  TColorQuantizer(const TColorQuantizer&) = delete;
  TColorQuantizer& operator=(const TColorQuantizer&) = delete;

  // Every pixel of a pf24bit reader, rows top to bottom.
  void ScanBitmap(TDIB& Reader);
  // Adds one colour, reducing the tree to MaxColors leaves afterwards.
  void AddColor(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue);
  void InsertColor(std::unique_ptr<TOctreeNode>& Node, std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue,
                   int Depth);
  void MergeDeepestNode();
  // The leaves' mean colours, depth first; entries past the leaves stay black.
  void FillColorTable(std::array<win::RGBQUAD, 256>& Table) const;
  int LeafCount() const { return FLeafCount; }

 private:
  std::unique_ptr<TOctreeNode> FTree;
  int FLeafCount = 0;
  std::array<TOctreeNode*, 8> FReducibleNodes{};
  int FMaxColors;
  int FColorBits;
};

// A palette fitted to the bitmap (made pf24bit). With static colours: 256
// entries, DEFAULT_PALETTE's first ten, 236 fitted colours, its last ten;
// without: MaxColors fitted colours. The caller owns the palette.
win::HPALETTE CreateOptimizedPalette(gui::TBitmap& Bitmap, int MaxColors, int ColorBits, bool WithStaticColors);

}  // namespace images
