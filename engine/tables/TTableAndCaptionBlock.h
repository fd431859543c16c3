#pragma once
// TTableAndCaptionBlock: the box that joins a table block with its CAPTION
// block, the caption above or below the table, as wide as the wider of the two.
#include "engine/document/TBlock.h"

namespace engine {

class TTableBlock;

class TTableAndCaptionBlock : public TBlock {
 public:
  // Takes the table block's alignment and vertical margins; the blocks are
  // added to the content cell by SetBlocks, in reading order.
  TTableAndCaptionBlock(TSectionList* document, TProperties& properties, TCellBasic* containingCell,
                        TAttributeList* attributes, TTableBlock& tableBlock);
  TTableAndCaptionBlock(TSectionList* document, const TTableAndCaptionBlock& source);

  // Puts the caption block and the table block into the content cell,
  // the caption first when captionOnTop.
  void SetBlocks(std::unique_ptr<TBlock> caption, std::unique_ptr<TTableBlock> table, bool captionOnTop);

  std::unique_ptr<TSectionBase> CreateCopy(TSectionList* document) const override;
  void MeasureWidthRange(gui::TCanvas* canvas, int& MinWidth, int& MaxWidth) override;
  // Measures: the block's shortcut does not know the table's own widths.
  bool MinWidthWithin(gui::TCanvas* canvas, int Limit) override { return TSectionBase::MinWidthWithin(canvas, Limit); }
  int ComputeBlockWidth(gui::TCanvas* canvas, int AvailWidth, int AutoCount, int AHeight) override;
  int SourcePosToDocPos(int SourcePos, bool Previous) override;

  TTableBlock* TableBlock = nullptr;  // owned through the content cell
  TBlock* CaptionBlock = nullptr;     // owned through the content cell
  bool TopCaption = true;

 private:
  void FindBlocks();
};

}  // namespace engine
