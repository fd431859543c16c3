// TBodyBlock: the document's background, full-width layout and paint.
#include "engine/document/TBodyBlock.h"

#include <algorithm>
#include <limits>

#include "engine/common/EngineStartup.h"
#include "engine/css/CssValues.h"
#include "engine/css/TProperties.h"
#include "engine/document/SaturatedMath.h"
#include "engine/document/TSectionList.h"

namespace engine {

TBodyBlock::TBodyBlock(TSectionList* document, TProperties& properties, TCellBasic* containingCell,
                       TAttributeList* attributes)
    : TBlock(document, properties, containingCell, attributes, Role::Body) {
  if (document == nullptr) return;
  std::string url;
  if (properties.GetBackgroundImage(url) && url != "none")
    document->SetBackgroundImage(url, GetBackgroundPos(properties, EmSize, ExSize));
  TColor colour = static_cast<TColor>(MargArray[Marg::BackgroundColor]);
  if (colour != kNoColor) document->SetBackground(colour | PaletteRGBFlag);
  // The document paints the background; the block does not.
  MargArrayO.Set(Marg::BackgroundColor, std::monostate());
  MargArray[Marg::BackgroundColor] = static_cast<int>(kNoColor);
}

std::unique_ptr<TSectionBase> TBodyBlock::CreateCopy(TSectionList* document) const {
  return std::make_unique<TBodyBlock>(document, *this);
}

int TBodyBlock::LayoutSection(gui::TCanvas* canvas, int /*X*/, int Y, int /*XRef*/, int /*YRef*/, int Width,
                              int AHeight, int BlockHeight, IndentManager& IMgr, int& MaxWidth, int& Curs) {
  ContentTop = Y;
  FirstCharPos = Curs;
  ConvertMargins(Width, AHeight);
  const TBoxValues& m = MargArray;
  auto value = [&](int index) { return m[static_cast<std::size_t>(index)] == kAutoValue ? 0 : m[static_cast<std::size_t>(index)]; };
  int edge = SatClamp(std::int64_t{value(Marg::MarginLeft)} + m[Marg::PaddingLeft] + m[Marg::BorderLeftWidth]);
  NewWidth = std::max(0, SatClamp(std::int64_t{IMgr.Width} - edge - value(Marg::MarginRight) -
                                  m[Marg::PaddingRight] - m[Marg::BorderRightWidth]));
  // NOTE: from the Y given, so a body laid out below other sections starts there.
  PaintTop = SatAdd(Y, m[Marg::MarginTop]);
  MyCell->IMgr = &IMgr;
  const void* previous = IMgr.CurrentBlock;
  IMgr.CurrentBlock = this;
  int left = IMgr.AddLeft(edge, Y);
  int right = IMgr.AddRight(SatAdd(edge, NewWidth), Y);
  TopY = SatClamp(std::int64_t{Y} + m[Marg::MarginTop] + m[Marg::PaddingTop] + m[Marg::BorderTopWidth]);
  ContentLeft = edge;
  Indent = edge;
  int contentMax = 0;
  MyCell->LayoutBlockContent(canvas, edge, TopY, 0, 0, NewWidth,
                             SatClamp(std::int64_t{AHeight} - m[Marg::MarginTop] - m[Marg::MarginBottom]),
                             BlockHeight, contentMax, Curs);
  CharCount = Curs - FirstCharPos;
  int inner = std::max(TopY, MyCell->ContentBottom);
  ContentBottom = SatClamp(std::int64_t{inner} + m[Marg::PaddingBottom] + m[Marg::BorderBottomWidth] +
                           m[Marg::MarginBottom]);
  PaintBottom = SatClamp(std::int64_t{std::max(inner, MyCell->PaintBottom)} + m[Marg::PaddingBottom] +
                         m[Marg::BorderBottomWidth]);
  ContentBot = inner;
  MyCell->ContentBottom = std::numeric_limits<int>::max();
  MyCell->PaintTop = 0;
  SectionHeight = SatClamp(std::int64_t{PaintBottom} + m[Marg::MarginBottom] - Y);
  IMgr.DeleteLeft(left);
  IMgr.DeleteRight(right);
  PaintHeight = std::max(SectionHeight, SatSub(IMgr.FloatsBottom(), Y));
  IMgr.CurrentBlock = previous;
  MaxWidth = std::max(IMgr.Width, SatClamp(std::int64_t{std::max(contentMax, NewWidth)} + value(Marg::MarginLeft) +
                                               value(Marg::MarginRight)));
  if (DrawCount() == 0) BuildDrawList();
  return SectionHeight;
}

int TBodyBlock::PaintSection(gui::TCanvas* canvas, const win::RECT& clipRect, IndentManager& IMgr, int /*X*/,
                             int XRef, int YRef) {
  if (DisplayNone) return 0;
  const TBoxValues& m = MargArray;
  int marginLeft = m[Marg::MarginLeft] == kAutoValue ? 0 : m[Marg::MarginLeft];
  int contentX = SatClamp(std::int64_t{IMgr.LeftEdge} + marginLeft + m[Marg::BorderLeftWidth] + m[Marg::PaddingLeft]);
  const void* previous = IMgr.CurrentBlock;
  IMgr.CurrentBlock = this;
  PaintContentList(canvas, clipRect, IMgr, contentX, XRef, YRef);
  IMgr.CurrentBlock = previous;
  return SatAdd(ContentTop, SectionHeight);
}

std::uint8_t TBodyBlock::LinkAtPoint(gui::TCanvas* canvas, int X, int Y, std::unique_ptr<TUrlTarget>& UrlTarget,
                                     TFormControlObj*& FormControl, std::string& Title) {
  if (DisplayNone) return 0;
  if (!BlockTitle().empty()) Title = BlockTitle();
  return MyCell->LinkAtPoint(canvas, X, Y, UrlTarget, FormControl, Title);
}

}  // namespace engine
