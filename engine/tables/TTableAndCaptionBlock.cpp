#include "engine/tables/TTableAndCaptionBlock.h"

#include <algorithm>

#include "engine/css/CssValues.h"
#include "engine/css/TProperties.h"
#include "engine/document/SaturatedMath.h"
#include "engine/document/TIDNameList.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TAttributeList.h"
#include "engine/tables/TTableBlock.h"

namespace engine {

TTableAndCaptionBlock::TTableAndCaptionBlock(TSectionList* document, TProperties& properties,
                                             TCellBasic* containingCell, TAttributeList* attributes,
                                             TTableBlock& tableBlock)
    : TBlock(document, properties, containingCell, nullptr, Role::Table) {
  Justify = tableBlock.Justify;
  FloatLR = tableBlock.FloatLR;
  if (FloatLR != 0 && ZOrder == 0) ZOrder = 1;
  TVMarginArray margins = MargArrayO.Values();
  margins[Marg::MarginTop] = tableBlock.MargArrayO[Marg::MarginTop];
  margins[Marg::MarginBottom] = tableBlock.MargArrayO[Marg::MarginBottom];
  // The wrapper has no border, padding or background of its own.
  for (int side : {Marg::BorderTopWidth, Marg::BorderRightWidth, Marg::BorderBottomWidth, Marg::BorderLeftWidth,
                   Marg::PaddingTop, Marg::PaddingRight, Marg::PaddingBottom, Marg::PaddingLeft})
    margins[static_cast<std::size_t>(side)] = std::monostate{};
  margins[Marg::BackgroundColor] = std::monostate{};
  MargArrayO.Replace(std::move(margins));
  BorderStyle = 0;
  SetBackgroundImage("", BackgroundPos());
  TagClass = "TableAndCaption.";
  if (attributes != nullptr && document != nullptr && document->IDNameList) {
    const std::string id = attributes->IdValue();
    if (!id.empty()) document->IDNameList->AddObject(id, &tableBlock);
  }
  CollapseMargins();
}

TTableAndCaptionBlock::TTableAndCaptionBlock(TSectionList* document, const TTableAndCaptionBlock& source)
    : TBlock(document, source), TopCaption(source.TopCaption) {
  FindBlocks();
}

std::unique_ptr<TSectionBase> TTableAndCaptionBlock::CreateCopy(TSectionList* document) const {
  return std::make_unique<TTableAndCaptionBlock>(document, *this);
}

void TTableAndCaptionBlock::SetBlocks(std::unique_ptr<TBlock> caption, std::unique_ptr<TTableBlock> table,
                                      bool captionOnTop) {
  TopCaption = captionOnTop;
  CaptionBlock = caption.get();
  TableBlock = table.get();
  if (TableBlock) TableBlock->InsideCaption = true;
  if (captionOnTop) {
    MyCell->AddSection(std::move(caption), 0);
    MyCell->AddSection(std::move(table), 0);
  } else {
    MyCell->AddSection(std::move(table), 0);
    MyCell->AddSection(std::move(caption), 0);
  }
}

void TTableAndCaptionBlock::FindBlocks() {
  for (const auto& section : *MyCell) {
    if (auto* table = dynamic_cast<TTableBlock*>(section.get())) TableBlock = table;
    else if (auto* block = dynamic_cast<TBlock*>(section.get())) CaptionBlock = block;
  }
}

void TTableAndCaptionBlock::MeasureWidthRange(gui::TCanvas* canvas, int& MinWidth, int& MaxWidth) {
  int tableMin = 0, tableMax = 0, captionMin = 0, captionMax = 0;
  if (TableBlock) TableBlock->MeasureWidthRange(canvas, tableMin, tableMax);
  if (CaptionBlock) CaptionBlock->MeasureWidthRange(canvas, captionMin, captionMax);
  MinWidth = std::max(tableMin, captionMin);
  MaxWidth = std::max(tableMax, captionMin);
}

int TTableAndCaptionBlock::ComputeBlockWidth(gui::TCanvas* canvas, int AvailWidth, int /*AutoCount*/,
                                             int AHeight) {
  TBoxValues& m = MargArray;
  for (int side : {Marg::MarginLeft, Marg::MarginRight})
    if (m[static_cast<std::size_t>(side)] == kAutoValue) m[static_cast<std::size_t>(side)] = 0;
  const int room = SatSub(AvailWidth, SatAdd(m[Marg::MarginLeft], m[Marg::MarginRight]));
  int tableWidth = 0;
  if (TableBlock) {
    TableBlock->FloatLR = 0;  // the wrapper floats, not the table inside
    TableBlock->ConvertMargins(room, AHeight);
    tableWidth = SatAdd(TableBlock->ComputeBlockWidth(canvas, room, 0, AHeight), TableBlock->OuterExtras());
  }
  int captionMin = 0, captionMax = 0;
  if (CaptionBlock) CaptionBlock->MeasureWidthRange(canvas, captionMin, captionMax);
  const int width = std::max(tableWidth, captionMin);
  if (m[Marg::MarginLeft] == 0 && m[Marg::MarginRight] == 0 && FloatLR == 0) {
    const int spare = SatSub(AvailWidth, width);
    if (spare > 0 && Justify == 2) m[Marg::MarginLeft] = spare / 2;
    else if (spare > 0 && Justify == 3) m[Marg::MarginLeft] = spare;
  }
  if (TableBlock) TableBlock->Justify = 2;  // centred in the wrapper
  return width;
}

int TTableAndCaptionBlock::SourcePosToDocPos(int SourcePos, bool Previous) {
  TBlock* first = Previous ? static_cast<TBlock*>(TableBlock) : CaptionBlock;
  TBlock* second = Previous ? CaptionBlock : static_cast<TBlock*>(TableBlock);
  int found = first ? first->SourcePosToDocPos(SourcePos, Previous) : -1;
  if (found < 0 && second) found = second->SourcePosToDocPos(SourcePos, Previous);
  return found;
}

}  // namespace engine
