#pragma once
// THRBlock: the block that places a horizontal rule: its width from the style
// (or the available width) and its justification.
#include <memory>

#include "engine/document/TBlock.h"

namespace engine {

class THorzLine;

class THRBlock : public TBlock {
 public:
  // The rule is made first (it writes its width and height into the style),
  // then the block, which takes the rule into its content.
  THRBlock(TSectionList* document, TProperties& properties, TCellBasic* containingCell,
           std::unique_ptr<THorzLine> rule, TAttributeList* attributes);
  THRBlock(TSectionList* document, const THRBlock& source);

  std::unique_ptr<TSectionBase> CreateCopy(TSectionList* document) const override;
  int ComputeBlockWidth(gui::TCanvas* canvas, int AvailWidth, int AutoCount, int AHeight) override;

  THorzLine* MyHRule = nullptr;  // in MyCell
};

}  // namespace engine
