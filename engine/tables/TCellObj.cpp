#include "engine/tables/TCellObj.h"

#include <algorithm>
#include <string_view>

#include "engine/css/TProperties.h"
#include "engine/css/TSharedMarginArray.h"
#include "engine/document/BoxValuesMemo.h"
#include "engine/document/SaturatedMath.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TAttributeList.h"
#include "engine/html/TUrlTarget.h"
#include "platform/gui/TBitmap.h"

namespace engine {
namespace {

int ClampExtent(long long value) { return static_cast<int>(std::clamp<long long>(value, 0, kMaxCellExtent)); }

bool HasPercentSign(std::string_view text) { return text.find('%') != std::string_view::npos; }

// HEIGHT="40%" or HEIGHT=40: a percentage clamped to 0..100, or pixels.
void ReadHeight(const TAttribute& attribute, int& pixels, int& percent) {
  if (HasPercentSign(attribute.ValueText)) percent = std::clamp(attribute.Value, 0, 100);
  else pixels = ClampExtent(attribute.Value);
}

bool IsPercentValue(const TPropValue& value) {
  const auto* text = TextOf(value);
  return text != nullptr && HasPercentSign(*text);
}

// A real cell: the grid place with its content in one allocation.
class TCellWithContent final : public TCellObj {
 public:
  explicit TCellWithContent(TSectionList* document) : content_(document) {}
  TCellWithContent(TSectionList* document, const TCellObj& source)
      : TCellObj(document, source), content_(document, *source.Cell()) {}
  TCellObjCell* Cell() const override { return &content_; }

 private:
  mutable TCellObjCell content_;
};

}  // namespace

std::unique_ptr<TCellObj> TCellObj::Make(TSectionList* document, TProperties* properties, TAttributeList* attributes,
                                         std::uint8_t vertAlign) {
  std::unique_ptr<TCellObj> cell = std::make_unique<TCellWithContent>(document);
  cell->VertAlign = vertAlign;
  if (attributes) cell->ReadAttributes(*attributes);
  if (properties) cell->ReadStyle(*properties);
  return cell;
}

std::unique_ptr<TCellObj> TCellObj::MakeCopy(TSectionList* document, const TCellObj& source) {
  if (!source.Cell()) return MakeDummy(source.RowSpan);
  return std::make_unique<TCellWithContent>(document, source);
}

TCellObj::TCellObj(TSectionList* document, const TCellObj& source)
    : ColSpan(source.ColSpan),
      RowSpan(source.RowSpan),
      Column(source.Column),
      Wd(source.Wd),
      Ht(source.Ht),
      VSize(source.VSize),
      SpecHt(source.SpecHt),
      SpecHtPercent(source.SpecHtPercent),
      YIndent(source.YIndent),
      WidthAttr(source.WidthAttr),
      PadTop(source.PadTop),
      PadRight(source.PadRight),
      PadBottom(source.PadBottom),
      PadLeft(source.PadLeft),
      BrdTop(source.BrdTop),
      BrdRight(source.BrdRight),
      BrdBottom(source.BrdBottom),
      BrdLeft(source.BrdLeft),
      VertAlign(source.VertAlign),
      AsPercent(source.AsPercent),
      HasBorderStyle(source.HasBorderStyle),
      BreakBefore(source.BreakBefore),
      BreakAfter(source.BreakAfter),
      KeepIntact(source.KeepIntact) {
  if (source.extras_ && HasBorderStyle) {
    MutableExtras().BorderColors = source.extras_->BorderColors;
    extras_->BorderStyles = source.extras_->BorderStyles;
  }
  // A copy has its place once it is painted.
  if (source.HasTitleOrLink()) {
    SetCellTitle(source.CellTitle());
    SetUrl(source.Url());
    SetTarget(source.Target());
  }
  if (document && document->PrintBackground) {
    BackgroundColor = source.BackgroundColor;
    if (source.extras_) SetBackgroundImage(source.extras_->Image, source.extras_->Position);
  }
}

TCellObj::~TCellObj() = default;

TCellObj::Extras& TCellObj::MutableExtras() {
  if (!extras_) extras_ = std::make_unique<Extras>();
  return *extras_;
}

void TCellObj::SetText(std::string Extras::*field, const std::string& value) {
  if (value.empty() && !extras_) return;
  MutableExtras().*field = value;
}

bool TCellObj::HasTitleOrLink() const {
  return extras_ && !(extras_->CellTitle.empty() && extras_->Url.empty() && extras_->Target.empty());
}

void TCellObj::SetCellRect(const win::RECT& rect) {
  if (HasTitleOrLink()) extras_->CellRect = rect;
}

std::uint8_t TCellObj::LinkAtPoint(gui::TCanvas* canvas, int X, int Y, int contentX,
                                   std::unique_ptr<TUrlTarget>& UrlTarget, TFormControlObj*& FormControl,
                                   std::string& Title) {
  TCellObjCell* content = Cell();
  if (!content) return 0;
  std::uint8_t flags = content->LinkAtPoint(canvas, SatSub(X, contentX), Y, UrlTarget, FormControl, Title);
  if (!HasTitleOrLink()) return flags;
  const win::RECT& place = extras_->CellRect;
  int windowY = SatSub(Y, content->Document != nullptr ? content->Document->YOffset : 0);
  bool inside = X >= place.left && X < place.right && windowY >= place.top && windowY < place.bottom;
  if (!inside) return flags;
  if ((flags & kLinkFlagTitle) == 0 && !CellTitle().empty()) {
    Title = CellTitle();
    flags |= kLinkFlagTitle;
  }
  if ((flags & kLinkFlagTarget) == 0 && !Url().empty()) {
    UrlTarget = std::make_unique<TUrlTarget>();
    UrlTarget->Url = Url();
    UrlTarget->Target = Target();
    flags |= kLinkFlagTarget;
  }
  return flags;
}

const std::string& TCellObj::BackgroundImage() const {
  return extras_ ? extras_->Image : kNoText;
}

gui::TBitmap* TCellObj::TiledImage() const { return extras_ ? extras_->TiledImage.get() : nullptr; }

void TCellObj::SetBackgroundImage(const std::string& image, const TBackgroundPosition& position) {
  if (image.empty() && !extras_) return;
  Extras& extras = MutableExtras();
  extras.Image = image;
  extras.Position = position;
}

std::unique_ptr<TCellObj> TCellObj::MakeDummy(int rowSpan) {
  std::unique_ptr<TCellObj> dummy(new TCellObj);
  dummy->ColSpan = 0;
  dummy->RowSpan = rowSpan;
  return dummy;
}

void TCellObj::ReadAttributes(TAttributeList& attributes) {
  for (const auto& attribute : attributes) {
    switch (attribute->Symbol) {
      case symHref: SetUrl(attribute->ValueText); break;
      case symTarget: SetTarget(attribute->ValueText); break;
      case symBgcolor: {
        TColor color = kNoColor;
        if (ColorFromString(attribute->ValueText, false, color)) BackgroundColor = color;
        break;
      }
      case symBackground: SetBackgroundImage(attribute->ValueText, TBackgroundPosition{}); break;
      case symColspan:
        if (attribute->Value > 1) ColSpan = std::min(attribute->Value, kMaxColSpan);
        break;
      case symRowspan:
        if (attribute->Value > 1) RowSpan = std::min(attribute->Value, kMaxRowSpan);
        break;
      case symWidth:
        if (!HasPercentSign(attribute->ValueText)) {
          if (attribute->Value > 0) WidthAttr = ClampExtent(attribute->Value);
        } else if (attribute->Value >= 1 && attribute->Value <= 100) {
          WidthAttr = attribute->Value * 10;
          AsPercent = true;
        }
        break;
      case symHeight: ReadHeight(*attribute, SpecHt, SpecHtPercent); break;
      default: break;
    }
  }
  SetCellTitle(attributes.TitleValue());
}

void TCellObj::ReadStyle(TProperties& properties) {
  int align = 0;
  if (properties.GetVertAlign(align) && (align == kVAlignTop || align == kVAlignMiddle || align == kVAlignBottom))
    VertAlign = static_cast<std::uint8_t>(align);
  const int EmSize = properties.EmSize;
  const int ExSize = properties.ExSize;
  // The style values are read once here; a cell keeps only what they convert to.
  // Cells of one kind share their array and its conversion (the clamping of the
  // memo is no narrower than the cell's own limits below).
  const TSharedMarginArray margins(properties);
  const TVMarginArray& boxProperties = margins;
  static_assert(kMaxCellExtent <= kMaxBoxValue);
  const TBoxValues box = ClampedBoxValues(margins, 100, 100, EmSize, ExSize).Values;
  const auto value = [&box](Prop prop) { return box[BoxIndex(prop)]; };
  const int cssWidth = value(Prop::Width);
  if (cssWidth > 0) {
    if (!IsPercentValue(boxProperties[BoxIndex(Prop::Width)])) {
      WidthAttr = ClampExtent(cssWidth);
      AsPercent = false;
    } else if (cssWidth < 100) {
      WidthAttr = cssWidth * 10;
      AsPercent = true;
    }
  }
  const int cssHeight = value(Prop::Height);
  if (cssHeight > 0) SpecHt = ClampExtent(cssHeight);
  const TColor background = properties.GetBackgroundColor();
  if (background != kNoColor) BackgroundColor = background;
  std::string image;
  if (properties.GetBackgroundImage(image) && !image.empty() && image != "none")
    SetBackgroundImage(image, GetBackgroundPos(properties, EmSize, ExSize));
  HasBorderStyle = properties.GetBorderStyle() != 0;
  const TBoxValues& paddings = PaddingValues(margins, EmSize, ExSize);
  PadTop = paddings[BoxIndex(Prop::PaddingTop)];
  PadRight = paddings[BoxIndex(Prop::PaddingRight)];
  PadBottom = paddings[BoxIndex(Prop::PaddingBottom)];
  PadLeft = paddings[BoxIndex(Prop::PaddingLeft)];
  if (HasBorderStyle) {
    BrdTop = std::clamp(value(Prop::BorderTopWidth), 0, kMaxCellExtent);
    BrdRight = std::clamp(value(Prop::BorderRightWidth), 0, kMaxCellExtent);
    BrdBottom = std::clamp(value(Prop::BorderBottomWidth), 0, kMaxCellExtent);
    BrdLeft = std::clamp(value(Prop::BorderLeftWidth), 0, kMaxCellExtent);
    const auto style = [&value](Prop prop) { return static_cast<std::uint8_t>(std::clamp(value(prop), 0, 255)); };
    const auto color = [&value](Prop prop) { return static_cast<TColor>(value(prop)); };
    Extras& extras = MutableExtras();
    extras.BorderStyles = MakeSideStyles(style(Prop::BorderLeftStyle), style(Prop::BorderTopStyle),
                                         style(Prop::BorderRightStyle), style(Prop::BorderBottomStyle));
    extras.BorderColors = MakeSideColors(color(Prop::BorderLeftColor), color(Prop::BorderTopColor),
                                         color(Prop::BorderRightColor), color(Prop::BorderBottomColor));
  }
  bool breakBefore = false;
  bool breakAfter = false;
  bool keepIntact = false;
  properties.GetPageBreaks(breakBefore, breakAfter, keepIntact);
  BreakBefore = breakBefore;
  BreakAfter = breakAfter;
  KeepIntact = keepIntact;
}

void TCellObj::SetPaddingAndBorders(int cellPadding, const std::string& rowBackgroundImage, bool tableHasBorder,
                                    const TBackgroundPosition& rowPosition) {
  for (int* padding : {&PadTop, &PadRight, &PadBottom, &PadLeft})
    *padding = *padding < 0 ? cellPadding : std::min(*padding, kMaxCellExtent);
  if (tableHasBorder && !HasBorderStyle) {
    for (int* border : {&BrdTop, &BrdRight, &BrdBottom, &BrdLeft}) *border = std::max(*border, 1);
  }
  if (BackgroundImage().empty() && !rowBackgroundImage.empty()) SetBackgroundImage(rowBackgroundImage, rowPosition);
}

}  // namespace engine
