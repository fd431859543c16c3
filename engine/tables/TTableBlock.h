#pragma once
// TTableBlock: the block box around a table. It reads the TABLE element's
// alignment, width, spaces and BORDER, decides the table's width for the space
// it is given, centres or floats it, and draws the BORDER frame.
#include <cstdint>

#include "engine/document/TBlock.h"

namespace engine {

class ThtmlTable;

class TTableBlock : public TBlock {
 public:
  // The table is added to the block's content cell here.
  TTableBlock(TSectionList* document, TProperties& properties, TCellBasic* containingCell,
              std::unique_ptr<ThtmlTable> table, TAttributeList* attributes);
  TTableBlock(TSectionList* document, const TTableBlock& source);

  std::unique_ptr<TSectionBase> CreateCopy(TSectionList* document) const override;
  void MeasureWidthRange(gui::TCanvas* canvas, int& MinWidth, int& MaxWidth) override;
  // Measures: the block's shortcut does not know the table's own widths.
  bool MinWidthWithin(gui::TCanvas* canvas, int Limit) override { return TSectionBase::MinWidthWithin(canvas, Limit); }
  int ComputeBlockWidth(gui::TCanvas* canvas, int AvailWidth, int AutoCount, int AHeight) override;
  int LayoutSection(gui::TCanvas* canvas, int X, int Y, int XRef, int YRef, int Width, int AHeight, int BlockHeight,
                    IndentManager& IMgr, int& MaxWidth, int& Curs) override;
  int PaintSection(gui::TCanvas* canvas, const win::RECT& clipRect, IndentManager& IMgr, int X, int XRef,
                   int YRef) override;
  void PaintBlockBorder(gui::TCanvas* canvas, const win::RECT& borderBox, const win::RECT& paddingBox) override;
  void AddToPositionList(std::vector<TSectionBase*>& list) override;
  // Margins, borders and paddings left and right, as last converted.
  int OuterExtras() const { return HorizontalExtras(); }

  ThtmlTable* Table = nullptr;  // owned through the content cell
  int TableWidth = 0;           // pixels, or tenths of a percent with AsPercent; 0 none
  bool AsPercent = false;
  TColor BkColor = kNoColor;    // BGCOLOR
  int HSpace = 0;
  int VSpace = 0;
  bool InsideCaption = false;
  bool BorderFromAttribute = false;
  std::uint8_t TableJustify = 0;  // the block's own ALIGN=CENTER (2), else 0
  int FloatOffset = 0;

 private:
  void ReadAttributes(TAttributeList& attributes);
  void TakeBorderFromTable();
  int BordersAndPaddings() const;
};

}  // namespace engine
