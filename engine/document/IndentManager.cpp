// IndentManager: placing floating objects and floating blocks.
#include "engine/document/IndentManager.h"

#include "engine/document/SaturatedMath.h"

namespace engine {

void IndentManager::AddFloatingObject(int Y, FloatPlacement* obj) {
  if (obj == nullptr) return;
  int width = SatAdd(obj->ImageWidth, SatAdd(obj->HSpaceL, obj->HSpaceR));
  int height = SatAdd(obj->ImageHeight, SatAdd(obj->VSpaceT, obj->VSpaceB));
  if (obj->Align == kAlignFloatLeft) {
    int left = LeftIndent(Y);
    obj->Indent = SatAdd(left - LeftEdge, obj->HSpaceL);
    AddFloatRecord(true, SatAdd(left - LeftEdge, width), Y, SatAdd(Y, height), false);
  } else if (obj->Align == kAlignFloatRight) {
    // Records hold X relative to LeftEdge on both sides; RightSide answers an
    // absolute X, so LeftEdge comes off here as it does for left floats.
    int right = RightSide(Y);
    AddFloatRecord(false, SatSub(right - LeftEdge, width), Y, SatAdd(Y, height), false);
    obj->Indent = SatAdd(SatSub(right - LeftEdge, width), obj->HSpaceL);
  }
}

void IndentManager::AddFloatBlock(int Y, int X, int height, std::uint8_t align) {
  if (align == kAlignFloatLeft)
    AddFloatRecord(true, SatSub(X, LeftEdge), Y, SatAdd(Y, height), true);
  else if (align == kAlignFloatRight)
    AddFloatRecord(false, SatSub(SatSub(RightSide(Y), LeftEdge), X), Y, SatAdd(Y, height), true);
}

}  // namespace engine
