#pragma once
// IndentManager: IndentManagerBasic plus the two operations that enter floats:
// floating images and panels met by line breaking, and floating blocks.
#include <cstdint>

#include "engine/document/IndentManagerBasic.h"

namespace engine {

// Alignments of floating content (the AlignKind values).
constexpr std::uint8_t kAlignFloatLeft = 5;
constexpr std::uint8_t kAlignFloatRight = 6;

// What placing a floating image or panel reads and writes. The floating
// objects of the document keep one of these.
struct FloatPlacement {
  int ImageWidth = 0;
  int ImageHeight = 0;
  int HSpaceL = 0;
  int HSpaceR = 0;
  int VSpaceT = 0;
  int VSpaceB = 0;
  std::uint8_t Align = 0;  // kAlignFloatLeft or kAlignFloatRight float; others do not
  int Indent = 0;          // output: X of the object relative to LeftEdge
};

class IndentManager : public IndentManagerBasic {
 public:
  // Places a floating object at Y beside the floats already there; nullptr or a
  // non-floating alignment: nothing.
  void AddFloatingObject(int Y, FloatPlacement* obj);
  // Enters a floating block whose outer box spans [Y, Y + height): for a left
  // float X is its right edge, for a right float its width.
  void AddFloatBlock(int Y, int X, int height, std::uint8_t align);
};

}  // namespace engine
