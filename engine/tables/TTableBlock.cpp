#include "engine/tables/TTableBlock.h"

#include <algorithm>

#include "engine/css/CssValues.h"
#include "engine/css/TProperties.h"
#include "engine/document/SaturatedMath.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TAttributeList.h"
#include "engine/paint/Frames3D.h"
#include "engine/tables/ThtmlTable.h"
#include "platform/gui/AnsiText.h"
#include "platform/win/kernel/Arithmetic.h"

namespace engine {
namespace {

constexpr int kMaxHSpace = 40;
constexpr int kMaxVSpace = 200;

bool IsBorderStyleSet(const TPropValue& value) {
  if (const int* number = std::get_if<int>(&value)) return *number != 0;
  if (const std::string* text = TextOf(value)) return !text->empty() && *text != "none";
  return false;
}

}  // namespace

TTableBlock::TTableBlock(TSectionList* document, TProperties& properties, TCellBasic* containingCell,
                         std::unique_ptr<ThtmlTable> table, TAttributeList* attributes)
    : TBlock(document, properties, containingCell, attributes, Role::Table), Table(table.get()) {
  std::string url;
  if (properties.GetBackgroundImage(url) && !url.empty() && url != "none")
    SetBackgroundImage(url, GetBackgroundPos(properties, EmSize, ExSize));
  if (attributes) ReadAttributes(*attributes);
  TakeBorderFromTable();
  const TBoxResult box = ComputeBoxValues(MargArrayO, 100, 100, EmSize, ExSize);
  const int cssWidth = box.Values[Marg::piWidth];
  if (cssWidth > 0 && cssWidth != kAutoValue) {
    const auto* text = TextOf(MargArrayO[Marg::piWidth]);
    AsPercent = text != nullptr && text->find('%') != std::string::npos;
    TableWidth = AsPercent ? std::min(1000, cssWidth * 10) : std::min(cssWidth, kMaxCellExtent);
  }
  CollapseMargins();
  if (FloatLR != 0 && ZOrder == 0) ZOrder = 1;
  MyCell->AddSection(std::move(table), 0);
}

TTableBlock::TTableBlock(TSectionList* document, const TTableBlock& source)
    : TBlock(document, source),
      TableWidth(source.TableWidth),
      AsPercent(source.AsPercent),
      BkColor(source.BkColor),
      HSpace(source.HSpace),
      VSpace(source.VSpace),
      InsideCaption(source.InsideCaption),
      BorderFromAttribute(source.BorderFromAttribute),
      TableJustify(source.TableJustify) {
  for (const auto& section : *MyCell)
    if (auto* table = dynamic_cast<ThtmlTable*>(section.get())) Table = table;
}

std::unique_ptr<TSectionBase> TTableBlock::CreateCopy(TSectionList* document) const {
  return std::make_unique<TTableBlock>(document, *this);
}

void TTableBlock::ReadAttributes(TAttributeList& attributes) {
  for (const auto& attribute : attributes) {
    switch (attribute->Symbol) {
      case symAlign:
        if (gui::AnsiSameText(attribute->ValueText, "center")) Justify = TableJustify = 2;
        else if (FloatLR == 0 && gui::AnsiSameText(attribute->ValueText, "left")) FloatLR = kAlignFloatLeft;
        else if (FloatLR == 0 && gui::AnsiSameText(attribute->ValueText, "right")) FloatLR = kAlignFloatRight;
        break;
      case symBgcolor: {
        TColor color = kNoColor;
        if (ColorFromString(attribute->ValueText, false, color)) BkColor = color;
        break;
      }
      case symBackground: {
        TBackgroundPosition corner{};
        corner.X.Value = corner.Y.Value = 0;
        SetBackgroundImage(attribute->ValueText, corner);
        break;
      }
      case symWidth:
        if (attribute->ValueText.find('%') != std::string::npos) {
          if (attribute->Value >= 1 && attribute->Value <= 100) {
            TableWidth = attribute->Value * 10;
            AsPercent = true;
          }
        } else if (attribute->Value > 0) {
          TableWidth = std::min(attribute->Value, kMaxCellExtent);
          AsPercent = false;
        }
        break;
      case symHeight:
        if (std::holds_alternative<std::monostate>(MargArrayO[Marg::piHeight]))
          MargArrayO.Set(Marg::piHeight, attribute->ValueText.find('%') != std::string::npos
                                             ? attribute->ValueText
                                             : std::to_string(std::clamp(attribute->Value, 0, kMaxCellExtent)) + "px");
        break;
      case symHspace: HSpace = std::clamp(attribute->Value, 0, kMaxHSpace); break;
      case symVspace: VSpace = std::clamp(attribute->Value, 0, kMaxVSpace); break;
      default: break;
    }
  }
}

// BORDER without CSS border styles: the block's border is the table's, outset.
void TTableBlock::TakeBorderFromTable() {
  if (!Table || Table->BorderWidth <= 0) return;
  for (int side : {Marg::BorderTopStyle, Marg::BorderRightStyle, Marg::BorderBottomStyle, Marg::BorderLeftStyle})
    if (IsBorderStyleSet(MargArrayO[static_cast<std::size_t>(side)])) return;
  const std::string width = std::to_string(Table->BorderWidth) + "px";
  TVMarginArray margins = MargArrayO.Values();
  for (int side : {Marg::BorderTopWidth, Marg::BorderRightWidth, Marg::BorderBottomWidth, Marg::BorderLeftWidth})
    margins[static_cast<std::size_t>(side)] = width;
  for (int side : {Marg::BorderTopStyle, Marg::BorderRightStyle, Marg::BorderBottomStyle, Marg::BorderLeftStyle})
    margins[static_cast<std::size_t>(side)] = 3;
  MargArrayO.Replace(std::move(margins));
  BorderFromAttribute = true;
}

int TTableBlock::BordersAndPaddings() const {
  const TBoxValues m = ComputeBoxValues(MargArrayO, 100, 100, EmSize, ExSize).Values;
  return SatClamp(std::int64_t{m[Marg::BorderLeftWidth]} + m[Marg::BorderRightWidth] + m[Marg::PaddingLeft] +
                  m[Marg::PaddingRight]);
}

void TTableBlock::MeasureWidthRange(gui::TCanvas* canvas, int& MinWidth, int& MaxWidth) {
  if (Table) Table->SpecWidth = AsPercent ? 0 : std::max(0, TableWidth - (TableWidth > 0 ? BordersAndPaddings() : 0));
  TBlock::MeasureWidthRange(canvas, MinWidth, MaxWidth);
  const int W = Table ? Table->SpecWidth : 0;
  if (W > 0) MinWidth = MaxWidth = std::max(MinWidth, W);
}

int TTableBlock::ComputeBlockWidth(gui::TCanvas* canvas, int AvailWidth, int /*AutoCount*/, int /*AHeight*/) {
  TBoxValues& m = MargArray;
  if (InsideCaption) {
    m[Marg::MarginLeft] = m[Marg::MarginRight] = 0;
  } else {
    for (int side : {Marg::MarginLeft, Marg::MarginRight, Marg::MarginTop, Marg::MarginBottom})
      if (m[static_cast<std::size_t>(side)] == kAutoValue) m[static_cast<std::size_t>(side)] = 0;
    if (FloatLR != 0) {
      if (m[Marg::MarginLeft] == 0) m[Marg::MarginLeft] = HSpace;
      if (m[Marg::MarginRight] == 0) m[Marg::MarginRight] = HSpace;
      if (m[Marg::MarginTop] == 0) m[Marg::MarginTop] = VSpace;
      if (m[Marg::MarginBottom] == 0) m[Marg::MarginBottom] = VSpace;
    }
  }
  if (BkColor != kNoColor && static_cast<TColor>(m[Marg::BackgroundColor]) == kNoColor)
    m[Marg::BackgroundColor] = static_cast<int>(BkColor);
  const TColor background = static_cast<TColor>(m[Marg::BackgroundColor]);
  if (Table) {
    // The printed table keeps room for the block's borders at page ends.
    Table->BorderTopWidth = std::max(0, m[Marg::BorderTopWidth]);
    Table->BorderBottomWidth = std::max(0, m[Marg::BorderBottomWidth]);
    Table->HasBackground = background != kNoColor && BackgroundImageUrl().empty();
    Table->BackgroundColor = Table->HasBackground ? background : kNoColor;
  }
  const int bordersPaddings = SatClamp(std::int64_t{m[Marg::BorderLeftWidth]} + m[Marg::BorderRightWidth] +
                                       m[Marg::PaddingLeft] + m[Marg::PaddingRight]);
  const int extras = SatClamp(std::int64_t{bordersPaddings} + m[Marg::MarginLeft] + m[Marg::MarginRight]);
  int width = 0;
  int tableMin = 0;
  int tableMax = 0;
  if (Table) {
    Table->SpecWidth = 0;
    if (TableWidth > 0)
      Table->SpecWidth = AsPercent ? std::max(0, SatSub(win::MulDiv(AvailWidth, TableWidth, 1000), extras))
                                   : std::max(0, TableWidth - bordersPaddings);
    Table->MeasureWidthRange(canvas, tableMin, tableMax);
  }
  if (TableWidth <= 0) {
    const int room = SatSub(AvailWidth, extras);
    width = tableMax <= room ? tableMax : std::max(tableMin, room);
  } else {
    width = std::max(tableMin, Table ? Table->SpecWidth : 0);
  }
  if (m[Marg::MarginLeft] == 0 && m[Marg::MarginRight] == 0 && FloatLR == 0) {
    const int spare = SatSub(SatSub(AvailWidth, width), bordersPaddings);
    if (spare > 0 && Justify == 2) m[Marg::MarginLeft] = spare / 2;
    else if (spare > 0 && Justify == 3) m[Marg::MarginLeft] = spare;
  }
  return width;
}

int TTableBlock::LayoutSection(gui::TCanvas* canvas, int X, int Y, int XRef, int YRef, int Width, int AHeight,
                               int BlockHeight, IndentManager& IMgr, int& MaxWidth, int& Curs) {
  FloatOffset = 0;
  if (FloatLR == 0 && Positioning == kPosStatic) {
    const int left = std::max(X, IMgr.LeftIndent(Y));
    const int right = std::min(SatAdd(X, Width), IMgr.RightSide(Y));
    if (right > left) {
      FloatOffset = left - X;
      Width = right - left;
      X = left;
    }
  }
  return TBlock::LayoutSection(canvas, X, Y, XRef, YRef, Width, AHeight, BlockHeight, IMgr, MaxWidth, Curs);
}

int TTableBlock::PaintSection(gui::TCanvas* canvas, const win::RECT& clipRect, IndentManager& IMgr, int X, int XRef,
                              int YRef) {
  return TBlock::PaintSection(canvas, clipRect, IMgr, SatAdd(X, FloatOffset), XRef, YRef);
}

void TTableBlock::PaintBlockBorder(gui::TCanvas* canvas, const win::RECT& borderBox, const win::RECT& paddingBox) {
  if (!BorderFromAttribute || !Table || canvas == nullptr) {
    TBlock::PaintBlockBorder(canvas, borderBox, paddingBox);
    return;
  }
  const int left = paddingBox.left - 1;
  const int top = paddingBox.top - 1;
  if (Table->BorderColorLight == kButtonHighlight && Table->BorderColorDark == kButtonShadow)
    DocumentFrame3D(Document, *canvas, left, Table->BorderWidth, /*raised=*/true, top, paddingBox.right,
                    paddingBox.bottom);
  else
    ColoredFrame3D(Document, *canvas, left, Table->BorderWidth, /*raised=*/true, Table->BorderColorDark,
                   Table->BorderColorLight, top, paddingBox.right, paddingBox.bottom);
}

void TTableBlock::AddToPositionList(std::vector<TSectionBase*>& list) {
  if (Table) list.push_back(Table);
}

}  // namespace engine
