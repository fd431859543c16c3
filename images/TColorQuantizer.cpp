#include "images/TColorQuantizer.h"

#include <vector>

#include "images/GIFException.h"
#include "platform/win/gdi/StockObjects.h"

namespace images {
namespace {

void fillFrom(const TOctreeNode* node, std::array<win::RGBQUAD, 256>& table, int& index) {
  if (!node || index >= static_cast<int>(table.size())) return;
  if (node->Leaf) {
    win::RGBQUAD& entry = table[static_cast<std::size_t>(index++)];
    entry = win::RGBQUAD{0, 0, 0, 0};
    if (node->PixelCount > 0)
      entry = win::RGBQUAD{static_cast<win::BYTE>(node->BlueSum / node->PixelCount),
                           static_cast<win::BYTE>(node->GreenSum / node->PixelCount),
                           static_cast<win::BYTE>(node->RedSum / node->PixelCount), 0};
    return;
  }
  for (const auto& child : node->Child) fillFrom(child.get(), table, index);
}

}  // namespace

TColorQuantizer::TColorQuantizer(int MaxColors, int ColorBits) : FMaxColors(MaxColors), FColorBits(ColorBits) {
  if (MaxColors < 1 || MaxColors > 256 || ColorBits < 1 || ColorBits > 8)
    throw GIFException("Invalid color count");
}

TColorQuantizer::~TColorQuantizer() = default;

void TColorQuantizer::ScanBitmap(TDIB& Reader) {
  gui::TBitmap& bitmap = Reader.Bitmap();
  for (int y = 0; y < bitmap.Height(); ++y) {
    const std::uint8_t* pixel = Reader.RowAddress(y);
    for (int x = 0; x < bitmap.Width(); ++x, pixel += 3) AddColor(pixel[2], pixel[1], pixel[0]);
  }
}

void TColorQuantizer::AddColor(std::uint8_t Red, std::uint8_t Green, std::uint8_t Blue) {
  InsertColor(FTree, Red, Green, Blue, 0);
  while (FLeafCount > FMaxColors) MergeDeepestNode();
}

void TColorQuantizer::InsertColor(std::unique_ptr<TOctreeNode>& Node, std::uint8_t Red, std::uint8_t Green,
                                  std::uint8_t Blue, int Depth) {
  if (!Node) {
    Node = std::make_unique<TOctreeNode>();
    Node->Leaf = Depth == FColorBits;
    if (Node->Leaf) {
      ++FLeafCount;
    } else {
      Node->Next = FReducibleNodes[static_cast<std::size_t>(Depth)];
      FReducibleNodes[static_cast<std::size_t>(Depth)] = Node.get();
    }
  }
  if (Node->Leaf) {
    ++Node->PixelCount;
    Node->RedSum += Red;
    Node->GreenSum += Green;
    Node->BlueSum += Blue;
    return;
  }
  const int mask = 0x80 >> Depth;
  const int shift = 7 - Depth;
  const int index = ((Red & mask) >> shift) * 4 + ((Green & mask) >> shift) * 2 + ((Blue & mask) >> shift);
  InsertColor(Node->Child[static_cast<std::size_t>(index)], Red, Green, Blue, Depth + 1);
}

void TColorQuantizer::MergeDeepestNode() {
  int level = FColorBits - 1;
  while (level > 0 && !FReducibleNodes[static_cast<std::size_t>(level)]) --level;
  TOctreeNode* node = FReducibleNodes[static_cast<std::size_t>(level)];
  if (!node) return;
  FReducibleNodes[static_cast<std::size_t>(level)] = node->Next;
  int children = 0;
  for (auto& child : node->Child) {
    if (!child) continue;
    node->PixelCount += child->PixelCount;
    node->RedSum += child->RedSum;
    node->GreenSum += child->GreenSum;
    node->BlueSum += child->BlueSum;
    child.reset();
    ++children;
  }
  node->Leaf = true;
  FLeafCount += 1 - children;
}

void TColorQuantizer::FillColorTable(std::array<win::RGBQUAD, 256>& Table) const {
  int index = 0;
  fillFrom(FTree.get(), Table, index);
}

win::HPALETTE CreateOptimizedPalette(gui::TBitmap& Bitmap, int MaxColors, int ColorBits, bool WithStaticColors) {
  TColorQuantizer quantizer(WithStaticColors ? 236 : MaxColors, ColorBits);
  TDIBReader reader(Bitmap, gui::pf24bit);
  quantizer.ScanBitmap(reader);
  std::array<win::RGBQUAD, 256> table{};
  quantizer.FillColorTable(table);
  const int entries = WithStaticColors ? 256 : MaxColors;
  std::vector<std::uint8_t> storage(sizeof(win::LOGPALETTE) + 256 * sizeof(win::PALETTEENTRY));
  auto* palette = reinterpret_cast<win::LOGPALETTE*>(storage.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = static_cast<win::WORD>(entries);
  win::PALETTEENTRY* out = palette->palPalEntry;
  const int first = WithStaticColors ? 10 : 0;
  const int fitted = WithStaticColors ? 236 : MaxColors;
  for (int i = 0; i < fitted; ++i)
    out[first + i] = win::PALETTEENTRY{table[static_cast<std::size_t>(i)].rgbRed,
                                       table[static_cast<std::size_t>(i)].rgbGreen,
                                       table[static_cast<std::size_t>(i)].rgbBlue, 0};
  if (WithStaticColors) {
    win::PALETTEENTRY system[20] = {};
    const auto stock = static_cast<win::HPALETTE>(win::GetStockObject(win::DEFAULT_PALETTE));
    win::GetPaletteEntries(stock, 0, 20, system);
    for (int i = 0; i < 10; ++i) {
      out[i] = win::PALETTEENTRY{system[i].peRed, system[i].peGreen, system[i].peBlue, 0};
      out[246 + i] = win::PALETTEENTRY{system[10 + i].peRed, system[10 + i].peGreen, system[10 + i].peBlue, 0};
    }
  }
  return win::CreatePalette(palette);
}

}  // namespace images
