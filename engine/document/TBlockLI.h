#pragma once
// TBlockLI: a list item. It paints its label (bullet, number, letter, roman
// numeral or image) left of its content, on the baseline of its first line.
#include <cstdint>
#include <memory>

#include "engine/document/TBlock.h"
#include "engine/html/HtmlSymbols.h"

namespace engine {

class TMyFont;

// List style numbers (the order of the list-style-type keywords).
enum ListStyle : std::uint8_t {
  lbBlank = 0, lbCircle, lbDecimal, lbDisc, lbLowerAlpha, lbLowerRoman, lbNone, lbSquare, lbUpperAlpha,
  lbUpperRoman,
};

class TBlockLI : public TBlock {
 public:
  // listSymbol: the enclosing list's tag (OL, UL, DIR, MENU, DL, or anything
  // else for an item outside a list); plain: UL TYPE=plain; typeChar: OL TYPE.
  TBlockLI(TSectionList* document, TProperties& properties, TCellBasic* containingCell, THtmlSymbol listSymbol,
           bool plain, char typeChar, int itemNumber, int level, TAttributeList* attributes);
  TBlockLI(TSectionList* document, const TBlockLI& source);
  ~TBlockLI() override;

  std::unique_ptr<TSectionBase> CreateCopy(TSectionList* document) const override;
  int LayoutSection(gui::TCanvas* canvas, int X, int Y, int XRef, int YRef, int Width, int AHeight, int BlockHeight,
                    IndentManager& IMgr, int& MaxWidth, int& Curs) override;
  int PaintSection(gui::TCanvas* canvas, const win::RECT& clipRect, IndentManager& IMgr, int X, int XRef,
                   int YRef) override;

  // The label text of a numbered style ("iii."); empty for bullets and none.
  std::u16string LabelText() const;

  int ListType = 4;  // 1 OL, 2 UL/DIR/MENU, 3 DL item, 4 outside any list
  int ListNumb = 0;
  std::uint8_t ListStyleType = lbDisc;
  std::shared_ptr<const TMyFont> ListFont;  // the element's font at the screen's pixels per inch, shared
  std::string ListImageUrl;  // list-style-image, drawn through the document's ImageHooks
  TBlockPicture ListPicture;  // kept by the image area
  int LabelY = 0;
};

}  // namespace engine
