#include "engine/text/TInlineObject.h"

#include <memory>

namespace engine {

std::unique_ptr<TInlineObject> TInlineObject::CreateCopy(TSectionList*) const {
  auto copy = std::make_unique<TInlineObject>(ObjectKind);
  copy->Pos = Pos;
  copy->Place = Place;
  return copy;
}

void TInlineObject::ComputeSize(gui::TCanvas*, TFontObj*, int, int) {}

void TInlineObject::Draw(gui::TCanvas*, int x, TFontObj*, int, int lineTopY) {
  LeftX = x;
  TopY = lineTopY;
}

}  // namespace engine
