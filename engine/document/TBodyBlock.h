#pragma once
// TBodyBlock: the BODY element's block. It gives its background to the
// document, lays its content out at the full width of the document's manager
// and paints no background or border of its own.
#include "engine/document/TBlock.h"

namespace engine {

class TBodyBlock : public TBlock {
 public:
  TBodyBlock(TSectionList* document, TProperties& properties, TCellBasic* containingCell,
             TAttributeList* attributes);
  TBodyBlock(TSectionList* document, const TBodyBlock& source) : TBlock(document, source) {}

  std::unique_ptr<TSectionBase> CreateCopy(TSectionList* document) const override;
  int LayoutSection(gui::TCanvas* canvas, int X, int Y, int XRef, int YRef, int Width, int AHeight, int BlockHeight,
                    IndentManager& IMgr, int& MaxWidth, int& Curs) override;
  int PaintSection(gui::TCanvas* canvas, const win::RECT& clipRect, IndentManager& IMgr, int X, int XRef,
                   int YRef) override;
  std::uint8_t LinkAtPoint(gui::TCanvas* canvas, int X, int Y, std::unique_ptr<TUrlTarget>& UrlTarget,
                           TFormControlObj*& FormControl, std::string& Title) override;
};

}  // namespace engine
