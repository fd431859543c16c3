#include "engine/tables/TCellList.h"

#include <algorithm>

#include "engine/css/TProperties.h"
#include "engine/html/TAttributeList.h"

namespace engine {

TCellList::TCellList(TAttributeList* attributes, TProperties* properties) {
  if (attributes) {
    for (const auto& attribute : *attributes) {
      if (attribute->Symbol == symBgcolor) {
        TColor color = kNoColor;
        if (ColorFromString(attribute->ValueText, false, color)) BackgroundColor = color;
      } else if (attribute->Symbol == symBackground) {
        SetBackgroundImage(attribute->ValueText, TBackgroundPosition{});
      } else if (attribute->Symbol == symHeight) {
        if (attribute->ValueText.find('%') != std::string::npos)
          SpecRowHeightPercent = std::clamp(attribute->Value, 0, 100);
        else
          SpecRowHeight = std::clamp(attribute->Value, 0, kMaxCellExtent);
      }
    }
  }
  if (properties) {
    const TColor background = properties->GetBackgroundColor();
    if (background != kNoColor) BackgroundColor = background;
    std::string image;
    if (properties->GetBackgroundImage(image) && !image.empty() && image != "none")
      SetBackgroundImage(image, GetBackgroundPos(*properties, properties->EmSize, properties->ExSize));
    properties->GetPageBreaks(BreakBefore, BreakAfter, KeepIntact);
  }
}

TCellList::TCellList(TSectionList* document, const TCellList& source)
    : RowHeight(source.RowHeight),
      SpecRowHeight(source.SpecRowHeight),
      SpecRowHeightPercent(source.SpecRowHeightPercent),
      RowSpanHeight(source.RowSpanHeight),
      BackgroundColor(source.BackgroundColor),
      BreakBefore(source.BreakBefore),
      BreakAfter(source.BreakAfter),
      KeepIntact(source.KeepIntact),
      RowKind(source.RowKind) {
  if (source.picture_) picture_ = std::make_unique<Picture>(*source.picture_);
  Cells.reserve(source.Cells.size());
  for (const auto& cell : source.Cells) Cells.push_back(cell ? TCellObj::MakeCopy(document, *cell) : nullptr);
}

const std::string& TCellList::BackgroundImage() const {
  static const std::string kNone;
  return picture_ ? picture_->Image : kNone;
}

TBackgroundPosition TCellList::BackgroundPosition() const {
  return picture_ ? picture_->Position : TBackgroundPosition{};
}

void TCellList::SetBackgroundImage(const std::string& image, const TBackgroundPosition& position) {
  if (image.empty() && !picture_) return;
  if (!picture_) picture_ = std::make_unique<Picture>();
  picture_->Image = image;
  picture_->Position = position;
}

void TCellList::AddCell(std::unique_ptr<TCellObj> cell) {
  if (cell) {
    BreakBefore = BreakBefore || cell->BreakBefore;
    BreakAfter = BreakAfter || cell->BreakAfter;
    KeepIntact = KeepIntact || cell->KeepIntact;
    if (SpecRowHeight > 0) cell->SpecHt = std::max(cell->SpecHt, SpecRowHeight);
    else if (SpecRowHeightPercent > 0) cell->SpecHtPercent = std::max(cell->SpecHtPercent, SpecRowHeightPercent);
  }
  Cells.push_back(std::move(cell));
}

void TCellList::ApplyRowBackground() {
  if (BackgroundColor == kNoColor) return;
  for (const auto& cell : Cells)
    if (cell && cell->IsReal() && cell->BackgroundColor == kNoColor) cell->BackgroundColor = BackgroundColor;
}

}  // namespace engine
