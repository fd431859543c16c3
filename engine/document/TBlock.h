#pragma once
// TBlock: the box of one block-level element (margins, borders, padding,
// width and height, float, positioning, background, overflow clipping, page
// breaks, z-order of its content). Its content is its own TBlockCell.
//
// Box values are converted from the style at every layout; what margin
// collapsing and the parser decide about vertical margins is kept apart and
// applied after each conversion, so a layout at another width keeps it.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/css/CssBoxValues.h"
#include "engine/css/CssColors.h"
#include "engine/css/TSharedMarginArray.h"
#include "engine/document/BoxValuesMemo.h"
#include "engine/document/DocumentSeams.h"
#include "engine/document/IndentManager.h"
#include "engine/document/TBlockCell.h"
#include "engine/document/TSectionBase.h"

namespace engine {

class TAttributeList;
class TProperties;

// Indexes into MargArray (the order of properties background-color .. left).
namespace Marg {
enum : int {
  BackgroundColor = 0, BorderColor, MarginTop, MarginRight, MarginBottom, MarginLeft, PaddingTop, PaddingRight,
  PaddingBottom, PaddingLeft, BorderTopWidth, BorderRightWidth, BorderBottomWidth, BorderLeftWidth,
  BorderTopColor, BorderRightColor, BorderBottomColor, BorderLeftColor, BorderTopStyle, BorderRightStyle,
  BorderBottomStyle, BorderLeftStyle, piWidth, piHeight, TopPos, BottomPos, RightPos, LeftPos,
};
}  // namespace Marg

class TBlock : public TSectionBase {
 public:
  static constexpr int kPosStatic = 0;
  static constexpr int kPosAbsolute = 1;
  static constexpr int kPosRelative = 2;

  // properties: the element's style; containingCell: the cell the block will be
  // added to (read for margin collapsing); attributes may be null.
  TBlock(TSectionList* document, TProperties& properties, TCellBasic* containingCell, TAttributeList* attributes);
  // What a derived kind changes in the construction steps.
  enum class Role { Plain, Body, Table };
  TBlock(TSectionList* document, TProperties& properties, TCellBasic* containingCell, TAttributeList* attributes,
         Role role);
  TBlock(TSectionList* document, const TBlock& source);
  ~TBlock() override;

  TBlock* AsBlock() final { return this; }
  std::unique_ptr<TSectionBase> CreateCopy(TSectionList* document) const override;
  void CopyToSelectionBuffer(SelTextCount& buffer) override;
  int LayoutSection(gui::TCanvas* canvas, int X, int Y, int XRef, int YRef, int Width, int AHeight, int BlockHeight,
                    IndentManager& IMgr, int& MaxWidth, int& Curs) override;
  int PaintSection(gui::TCanvas* canvas, const win::RECT& clipRect, IndentManager& IMgr, int X, int XRef,
                   int YRef) override;
  std::uint8_t LinkAtPoint(gui::TCanvas* canvas, int X, int Y, std::unique_ptr<TUrlTarget>& UrlTarget,
                           TFormControlObj*& FormControl, std::string& Title) override;
  bool ObjectAtPoint(int X, int Y, TIDObject*& Obj, int& IX, int& IY) override;
  int CursorAtPoint(gui::TCanvas* canvas, int X, int Y, int& XR, int& YR, int& CaretHeight, bool& InText) override;
  int SearchForward(int Position, const std::u16string& Text, bool MatchCase) override;
  int SearchBackward(int Position, const std::u16string& Text, bool MatchCase) override;
  int DocPosToSourcePos(int Position) override;
  int SourcePosToDocPos(int SourcePos, bool Previous) override;
  bool CursorToXY(gui::TCanvas* canvas, int Position, int& X, int& Y) override;
  bool CharAtPosition(int Position, char16_t& Ch, TIDObject*& Obj) override;
  void MeasureWidthRange(gui::TCanvas* canvas, int& MinWidth, int& MaxWidth) override;
  // Whether the narrowest width MeasureWidthRange gives is at most Limit; asks the content
  // the same question instead of measuring it.
  bool MinWidthWithin(gui::TCanvas* canvas, int Limit) override;
  void AddToPositionList(std::vector<TSectionBase*>& list) override;

  virtual void PaintBlockBorder(gui::TCanvas* canvas, const win::RECT& borderBox, const win::RECT& paddingBox);
  // The content width for AvailWidth; may set the side margins.
  virtual int ComputeBlockWidth(gui::TCanvas* canvas, int AvailWidth, int AutoCount, int AHeight);

  // When the bottom margin is the collapsible default, drops it (true).
  bool ClearDefaultBottomMargin();
  // The parser's decisions on the bottom margin: a fixed one (not collapsible
  // by ClearDefaultBottomMargin), or the collapsible default of 14 pixels.
  void SetBottomMargin(int pixels);
  void SetDefaultBottomMargin();
  // Distance to move down at Y to clear the floats the block's clear names.
  int ClearanceFor(int clear, int Y, const IndentManager& mgr) const;
  // Sorts the content into painting order (negative z, document order, positive z).
  void BuildDrawList();
  // A table block that floats (margins do not collapse into it).
  bool IsFloatingTable() const { return role_ == Role::Table && FloatLR != 0; }
  // Converts the style's box values for a containing width and height and
  // applies the vertical margin decisions; answers the auto count.
  int ConvertMargins(int baseWidth, int baseHeight);

  TBoxValues MargArray{};
  TSharedMarginArray MargArrayO;
  TCellBasic* ContainingCell = nullptr;
  // The block's content, held in the block itself (one allocation per block); always present.
  std::optional<TBlockCell> MyCell;
  TColor TextColor = 0;
  int EmSize = 0;
  int ExSize = 0;
  int BorderStyle = 0;
  std::uint8_t FloatLR = 0;  // 0 none, kAlignFloatLeft, kAlignFloatRight
  int HasClear = 0;          // 0 none, 1 left, 2 right, 3 both
  int Positioning = kPosStatic;
  int Visibility = 2;        // 1 hidden, 2 visible
  bool BreakBefore = false;
  bool BreakAfter = false;
  bool KeepIntact = false;
  bool DisplayNone = false;
  bool OverflowHidden = false;
  std::uint8_t Justify = 1;  // 1 left, 2 center, 3 right
  std::string TagClass;

  // The title and the background picture, which few blocks have: held in a
  // record of their own, made when one is given.
  const std::string& BlockTitle() const;
  void SetBlockTitle(const std::string& title);
  // Drawn through the document's ImageHooks; empty for none.
  const std::string& BackgroundImageUrl() const;
  const TBackgroundPosition& BackgroundPos() const;
  // An empty url with no picture before: nothing.
  void SetBackgroundImage(const std::string& url, const TBackgroundPosition& position);
  // Kept by the image area.
  TBlockPicture& BackgroundPicture();

  // Layout results.
  int NewWidth = 0;
  int ClearAddOn = 0;
  int Indent = 0;
  int TopP = 0;
  int LeftP = 0;
  int ContentBot = 0;
  // The content in painting order; left empty while that is document order (see DrawItem).
  std::vector<TSectionBase*> DrawList;
  win::RECT BorderBox{};
  IndentManager* RefIMgr = nullptr;  // the enclosing manager of an absolute block

 protected:
  // The vertical margins as collapsing and the parser left them (pixels), or
  // none to keep the converted value.
  std::optional<int> topMarginOverride_;
  std::optional<int> bottomMarginOverride_;
  bool topMarginDefault_ = false;
  bool bottomMarginDefault_ = false;

  void CollapseMargins();
  // The draw list's length and its index-th section, whether it is held or stands for the cell.
  int DrawCount() const;
  TSectionBase* DrawItem(int index) const;
  // Steps of LayoutSection.
  void ResolveOffsets(int Width, int AutoCount);
  void PlaceHorizontally(IndentManager& IMgr, int X, int Width, int Yc);
  int FinishLayout(IndentManager& IMgr, int X, int Y, int result);
  void PaintBlock(gui::TCanvas* canvas, const win::RECT& clipRect, IndentManager& IMgr, int X, int Y, int XRef,
                  int YRef);
  // Paints the draw list at content X and Y with origin XRef/YRef.
  void PaintContentList(gui::TCanvas* canvas, const win::RECT& clipRect, IndentManager& IMgr, int X, int XRef,
                        int YRef);
  // The print page decisions; true when the block is not painted in this band.
  bool PrintPageDecisions();
  // Asks the draw list from its end, those sections that can be hit at Y; true at the first yes.
  template <class Ask>
  bool AskDrawListBackward(int Y, Ask ask);
  // Margin-left .. border-right sums.
  int HorizontalExtras() const;
  // The block's own part of its width range: margins, borders and paddings beside the
  // content, the set width (0 for auto), and whether a hidden overflow makes it the content's.
  struct OwnWidths {
    int extras = 0;
    int width = 0;
    bool widthIsContent = false;
  };
  OwnWidths MeasureOwnWidths() const;

 private:
  std::unique_ptr<IndentManager> ownManager_;  // absolute blocks lay out against their own
  Role role_ = Role::Plain;
  // Width range of the last measure and the layout cycle it belongs to: a
  // block's range does not depend on the width, so one measure per cycle serves.
  int measuredCycle_ = -1;
  int measuredMin_ = 0;
  int measuredMax_ = 0;
  // The narrowest room the content's narrowest width is known to fit, and the
  // layout cycle that learned it: every wider room holds it too, so a block
  // its container already asked about is not walked again for its own width.
  int contentFitsCycle_ = -1;
  int contentFitsRoom_ = 0;
  bool ContentMinWithin(gui::TCanvas* canvas, int room);
  bool drawListInOrder_ = true;  // the draw list is the content in document order
  int drawListSize_ = 0;         // sections in the draw list; in document order the cell's first ones
  struct Extras {
    std::string Title;
    std::string ImageUrl;
    TBackgroundPosition Position{};
    TBlockPicture Picture;
  };
  Extras& MakeExtras();
  std::unique_ptr<Extras> extras_;  // null without title and picture
};

}  // namespace engine
