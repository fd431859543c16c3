#pragma once
// THorzLine: the rule of an HR element, placed by its THRBlock. Without a
// colour it is drawn sunken in two shades (black outline with NOSHADE); with
// one, as a solid bar.
#include <cstdint>

#include "engine/css/CssColors.h"
#include "engine/document/TSectionBase.h"

namespace engine {

class TAttributeList;
class TProperties;

class THorzLine : public TSectionBase {
 public:
  // Reads ALIGN, WIDTH, SIZE, COLOR and NOSHADE, and writes the width, height
  // and colour they give into the element's style for the block to use.
  THorzLine(TSectionList* document, TProperties& properties, const TAttributeList* attributes);
  THorzLine(TSectionList* document, const THorzLine& source);

  std::unique_ptr<TSectionBase> CreateCopy(TSectionList* document) const override;
  void CopyToSelectionBuffer(SelTextCount& buffer) override;
  int LayoutSection(gui::TCanvas* canvas, int X, int Y, int XRef, int YRef, int Width, int AHeight, int BlockHeight,
                    IndentManager& IMgr, int& MaxWidth, int& Curs) override;
  int PaintSection(gui::TCanvas* canvas, const win::RECT& clipRect, IndentManager& IMgr, int X, int XRef,
                   int YRef) override;

  int RuleHeight = 2;
  TColor Color = kNoColor;
  std::uint8_t Justify = 2;  // 1 left, 2 centre, 3 right
  bool NoShade = false;
  int LineWidth = 0;
  int LeftX = 0;

 private:
  int layoutX_ = 0;  // the X given to the last layout; paint draws LeftX - layoutX_ further right
};

}  // namespace engine
