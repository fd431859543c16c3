#pragma once
// TPreFormated: a text section that keeps its line breaks and blanks (PRE
// content, plain-text documents). It never wraps unless CSS word-wrap asks
// for break-word, and finishes its text without collapsing white space.
#include "engine/text/TSection.h"

namespace engine {

class TPreFormated : public TSection {
 public:
  TPreFormated(TSectionList* document, const TUrlTarget* linkTarget, TProperties& props, TAttributeList* attributes);
  TPreFormated(TSectionList* document, const TPreFormated& source);

  std::unique_ptr<TSectionBase> CreateCopy(TSectionList* document) const override;
  void CollapseWhiteSpace(int sourcePos) override;
  void MeasureWidthRange(gui::TCanvas* canvas, int& MinWidth, int& MaxWidth) override;
  bool MinWidthWithin(gui::TCanvas* canvas, int Limit) override;
  int LayoutSection(gui::TCanvas* canvas, int X, int Y, int XRef, int YRef, int Width, int AHeight, int BlockHeight,
                    IndentManager& IMgr, int& MaxWidth, int& Curs) override;

  int PreMaxWidthCache = 0;  // width of the whole text once measured; 0 until then

 private:
  // Only the blank that finishing appended: the line is empty.
  bool BlankLine() const { return Len <= 1; }
};

}  // namespace engine
