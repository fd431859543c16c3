// TBlock: construction, margin collapsing, widths and layout of a block box.
// Painting and the look-ups are in TBlockPaint.cpp.
#include "engine/document/TBlock.h"

#include <algorithm>
#include <climits>

#include "engine/css/CssValues.h"
#include "engine/css/TProperties.h"
#include "engine/document/SaturatedMath.h"
#include "engine/document/TIDNameList.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TAttributeList.h"

namespace engine {

namespace {

// z-index is kept within this range so that ten times it fits.
constexpr int kMaxZIndex = 100000000;

bool IsParagraphSpace(const TPropValue& value) {
  const int* number = std::get_if<int>(&value);
  return number != nullptr && *number == kParagraphSpace;
}

int CollapsedMargin(int top, int bottom) {
  if (top >= 0 && bottom >= 0) return std::max(top, bottom);
  if (top < 0 && bottom < 0) return std::min(top, bottom);
  return top + bottom;
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

TBlock::TBlock(TSectionList* document, TProperties& properties, TCellBasic* containingCell,
               TAttributeList* attributes)
    : TBlock(document, properties, containingCell, attributes, Role::Plain) {}

TBlock::TBlock(TSectionList* document, TProperties& properties, TCellBasic* containingCell,
               TAttributeList* attributes, Role role)
    : TSectionBase(document), MargArrayO(properties), ContainingCell(containingCell), role_(role) {
  MyCell.emplace(document);
  MyCell->Tag = TCellBasic::FlowTagOf(properties.PropTag);
  MyCell->OwnerBlock = this;

  int clear = 0;
  if (properties.GetClear(clear)) HasClear = clear;
  int align = 0;
  if (properties.GetFloat(align)) FloatLR = static_cast<std::uint8_t>(align);
  BorderStyle = properties.GetBorderStyle();
  TextColor = properties.GetColor();
  EmSize = properties.EmSize;
  ExSize = properties.ExSize;
  DisplayNone = properties.IsDisplayNone();
  SetBlockTitle(properties.PropTitle);
  std::string url;
  if (role == Role::Plain && properties.GetBackgroundImage(url) && url != "none")
    SetBackgroundImage(url, GetBackgroundPos(properties, EmSize, ExSize));

  // The body is always static; its position is settled before anything reads it.
  Positioning = role == Role::Body ? kPosStatic : properties.GetPosition();
  if (Positioning == kPosAbsolute) FloatLR = 0;
  Visibility = properties.GetVisibility();
  properties.GetPageBreaks(BreakBefore, BreakAfter, KeepIntact);
  if (Positioning != kPosStatic) {
    int zIndex = std::clamp(properties.GetZIndex(), -kMaxZIndex, kMaxZIndex);
    ZOrder = zIndex * 10;
    if (Positioning == kPosAbsolute) {
      if (ZOrder == 0) ZOrder = 1;
      ownManager_ = std::make_unique<IndentManager>();
    }
    PaintsOutsideRange = true;
  }
  if (FloatLR != 0 && ZOrder == 0) ZOrder = 1;

  TagClass.reserve(properties.PropTag.size() + 1 + properties.PropClass.size());
  TagClass.append(properties.PropTag).append(1, '.').append(properties.PropClass);
  if (role != Role::Table) CollapseMargins();
  if (attributes != nullptr && document != nullptr && document->IDNameList) {
    std::string id = attributes->IdValue();
    if (!id.empty()) document->IDNameList->AddObject(id, this);
  }
  OverflowHidden = properties.IsOverflowHidden();
  const std::string* textAlign = TextOf(properties.Value(Prop::TextAlign));
  if (textAlign != nullptr && *textAlign == "center") Justify = 2;
  else if (textAlign != nullptr && *textAlign == "right") Justify = 3;
}

TBlock::TBlock(TSectionList* document, const TBlock& source) : TSectionBase(document, source) {
  MargArray = source.MargArray;
  MargArrayO = source.MargArrayO;
  ContainingCell = nullptr;
  MyCell.emplace(document, *source.MyCell);
  MyCell->OwnerBlock = this;
  TextColor = source.TextColor;
  EmSize = source.EmSize;
  ExSize = source.ExSize;
  BorderStyle = source.BorderStyle;
  FloatLR = source.FloatLR;
  HasClear = source.HasClear;
  Positioning = source.Positioning;
  Visibility = source.Visibility;
  BreakBefore = source.BreakBefore;
  BreakAfter = source.BreakAfter;
  KeepIntact = source.KeepIntact;
  DisplayNone = source.DisplayNone;
  OverflowHidden = source.OverflowHidden;
  Justify = source.Justify;
  TagClass = source.TagClass;
  SetBlockTitle(source.BlockTitle());
  if (document != nullptr && document->PrintBackground)
    SetBackgroundImage(source.BackgroundImageUrl(), source.BackgroundPos());
  PaintsOutsideRange = source.PaintsOutsideRange;
  topMarginOverride_ = source.topMarginOverride_;
  bottomMarginOverride_ = source.bottomMarginOverride_;
  topMarginDefault_ = source.topMarginDefault_;
  bottomMarginDefault_ = source.bottomMarginDefault_;
  role_ = source.role_;
  if (Positioning == kPosAbsolute) ownManager_ = std::make_unique<IndentManager>();
}

TBlock::~TBlock() = default;

namespace {
const std::string kNoText;
const TBackgroundPosition kNoPosition{};
}  // namespace

TBlock::Extras& TBlock::MakeExtras() {
  if (!extras_) extras_ = std::make_unique<Extras>();
  return *extras_;
}

const std::string& TBlock::BlockTitle() const { return extras_ ? extras_->Title : kNoText; }

void TBlock::SetBlockTitle(const std::string& title) {
  if (!title.empty() || extras_) MakeExtras().Title = title;
}

const std::string& TBlock::BackgroundImageUrl() const { return extras_ ? extras_->ImageUrl : kNoText; }

const TBackgroundPosition& TBlock::BackgroundPos() const { return extras_ ? extras_->Position : kNoPosition; }

void TBlock::SetBackgroundImage(const std::string& url, const TBackgroundPosition& position) {
  if (url.empty() && !extras_) return;
  Extras& extras = MakeExtras();
  extras.ImageUrl = url;
  extras.Position = position;
}

TBlockPicture& TBlock::BackgroundPicture() { return MakeExtras().Picture; }

std::unique_ptr<TSectionBase> TBlock::CreateCopy(TSectionList* document) const {
  return std::make_unique<TBlock>(document, *this);
}

int TBlock::ConvertMargins(int baseWidth, int baseHeight) {
  const TBoxResult& result = ClampedBoxValues(MargArrayO, baseWidth, baseHeight, EmSize, ExSize);
  MargArray = result.Values;
  if (topMarginOverride_) MargArray[Marg::MarginTop] = *topMarginOverride_;
  if (bottomMarginOverride_) MargArray[Marg::MarginBottom] = *bottomMarginOverride_;
  return result.AutoCount;
}

bool TBlock::ClearDefaultBottomMargin() {
  if (!bottomMarginDefault_) return false;
  bottomMarginOverride_ = 0;
  MargArray[Marg::MarginBottom] = 0;
  return true;
}

void TBlock::SetBottomMargin(int pixels) {
  bottomMarginOverride_ = pixels;
  bottomMarginDefault_ = false;
  MargArray[Marg::MarginBottom] = pixels;
}

void TBlock::SetDefaultBottomMargin() {
  bottomMarginOverride_ = kParagraphSpacePixels;
  bottomMarginDefault_ = true;
  MargArray[Marg::MarginBottom] = kParagraphSpacePixels;
}

void TBlock::CollapseMargins() {
  ConvertMargins(400, 0);
  topMarginDefault_ = IsParagraphSpace(MargArrayO[Marg::MarginTop]);
  bottomMarginDefault_ = IsParagraphSpace(MargArrayO[Marg::MarginBottom]);
  int top = MargArray[Marg::MarginTop];
  auto setTop = [&](int value) {
    topMarginOverride_ = value;
    MargArray[Marg::MarginTop] = value;
  };
  if (Positioning == kPosAbsolute) {
    if (topMarginDefault_) setTop(0);
    return;
  }
  if (FloatLR != 0 || ContainingCell == nullptr) return;
  TSectionBase* previous = nullptr;
  for (int i = ContainingCell->Count() - 1; i >= 0 && previous == nullptr; --i) {
    TSectionBase* item = ContainingCell->Items(i);
    TBlock* block = item != nullptr ? item->AsBlock() : nullptr;
    if (block == nullptr || block->Positioning != kPosAbsolute) previous = item;
  }
  if (previous == nullptr) {
    if (topMarginDefault_) {
      setTop(0);
    } else if (ContainingCell->Tag == TCellBasic::FlowTag::Document || ContainingCell->Tag == TCellBasic::FlowTag::Body) {
      // At document level there is no containing block: its margin counts as 0.
      TBlock* owner = ContainingCell->OwnerBlock;
      setTop(std::max(0, top - (owner != nullptr ? owner->MargArray[Marg::MarginTop] : 0)));
    }
    return;
  }
  if (TBlock* block = previous->AsBlock()) {
    if (block->IsFloatingTable()) {
      if (topMarginDefault_) setTop(0);
      return;
    }
    int bottom = block->MargArray[Marg::MarginBottom];
    block->bottomMarginOverride_ = 0;
    block->MargArray[Marg::MarginBottom] = 0;
    setTop(CollapsedMargin(top, bottom));
    return;
  }
  if (ContainingCell->Tag == TCellBasic::FlowTag::ListItem && topMarginDefault_ &&
      (StartsWith(TagClass, "ul.") || StartsWith(TagClass, "ol.")))
    setTop(0);
}

int TBlock::ClearanceFor(int clear, int Y, const IndentManager& mgr) const {
  if (clear == 0) return 0;
  int CL = 0;
  int CR = 0;
  mgr.ClearYs(CL, CR);
  int left = std::max(0, SatSub(SatSub(CL, Y), 1));
  int right = std::max(0, SatSub(SatSub(CR, Y), 1));
  if (clear == 1) return left;
  if (clear == 2) return right;
  return std::max(left, right);
}

int TBlock::HorizontalExtras() const {
  const TBoxValues& m = MargArray;
  std::int64_t sum = std::int64_t{m[Marg::MarginLeft]} + m[Marg::MarginRight] + m[Marg::BorderLeftWidth] +
                     m[Marg::BorderRightWidth] + m[Marg::PaddingLeft] + m[Marg::PaddingRight];
  return SatClamp(sum);
}

void TBlock::MeasureWidthRange(gui::TCanvas* canvas, int& MinWidth, int& MaxWidth) {
  MinWidth = 0;
  MaxWidth = 0;
  if (DisplayNone || Positioning == kPosAbsolute) return;
  int cycle = Document != nullptr ? Document->LayoutCycle : -1;
  if (measuredCycle_ == cycle && cycle >= 0) {
    MinWidth = measuredMin_;
    MaxWidth = measuredMax_;
    return;
  }
  const OwnWidths own = MeasureOwnWidths();
  int contentMin = 0;
  int contentMax = 0;
  if (own.widthIsContent) contentMin = contentMax = own.width;
  else MyCell->MeasureWidthRange(canvas, contentMin, contentMax);
  MinWidth = SatAdd(own.extras, std::max(contentMin, own.width));
  MaxWidth = own.width > 0 ? MinWidth : SatAdd(own.extras, std::max(contentMax, own.width));
  measuredCycle_ = cycle;
  measuredMin_ = MinWidth;
  measuredMax_ = MaxWidth;
}

bool TBlock::MinWidthWithin(gui::TCanvas* canvas, int Limit) {
  if (DisplayNone || Positioning == kPosAbsolute) return 0 <= Limit;
  const int cycle = Document != nullptr ? Document->LayoutCycle : -1;
  if (measuredCycle_ == cycle && cycle >= 0) return measuredMin_ <= Limit;
  // The narrowest width is extras + max(content, width), the sum saturating; the
  // content's narrowest is never below 0.
  if (Limit == INT_MAX) return true;
  const OwnWidths own = MeasureOwnWidths();
  const std::int64_t room = std::int64_t{Limit} - own.extras;
  if (room < 0 || room < own.width) return false;
  if (own.widthIsContent) return true;
  return ContentMinWithin(canvas, static_cast<int>(std::min<std::int64_t>(room, INT_MAX)));
}

bool TBlock::ContentMinWithin(gui::TCanvas* canvas, int room) {
  const int cycle = Document != nullptr ? Document->LayoutCycle : -1;
  const bool known = cycle >= 0 && contentFitsCycle_ == cycle;
  if (known && room >= contentFitsRoom_) return true;
  if (!MyCell->MinWidthWithin(canvas, room)) return false;
  if (cycle >= 0) {
    contentFitsCycle_ = cycle;
    contentFitsRoom_ = room;
  }
  return true;
}

TBlock::OwnWidths TBlock::MeasureOwnWidths() const {
  TBoxValues m = ClampedBoxValues(MargArrayO, 0, 400, EmSize, ExSize).Values;
  OwnWidths own;
  const int width = m[Marg::piWidth];
  // NOTE: a box measured without a width clips nothing here, but keeps its
  // overflow setting for layout, where its width is known.
  own.widthIsContent = OverflowHidden && width != kAutoValue && width > 20;
  for (int index : {Marg::MarginLeft, Marg::MarginRight, Marg::piWidth})
    if (m[static_cast<std::size_t>(index)] == kAutoValue) m[static_cast<std::size_t>(index)] = 0;
  own.width = m[Marg::piWidth];
  own.extras = SatClamp(std::int64_t{m[Marg::MarginLeft]} + m[Marg::BorderLeftWidth] + m[Marg::BorderRightWidth] +
                        m[Marg::PaddingLeft] + m[Marg::PaddingRight] + m[Marg::MarginRight]);
  return own;
}

int TBlock::ComputeBlockWidth(gui::TCanvas* canvas, int AvailWidth, int AutoCount, int /*AHeight*/) {
  TBoxValues& m = MargArray;
  int& marginLeft = m[Marg::MarginLeft];
  int& marginRight = m[Marg::MarginRight];
  int& width = m[Marg::piWidth];
  int bordersPaddings = SatClamp(std::int64_t{m[Marg::BorderLeftWidth]} + m[Marg::BorderRightWidth] +
                                 m[Marg::PaddingLeft] + m[Marg::PaddingRight]);
  int contentMin = 0;
  int contentMax = 0;
  bool measured = false;
  auto measure = [&] {
    if (!measured) MyCell->MeasureWidthRange(canvas, contentMin, contentMax);
    measured = true;
  };
  // max(contentMin, floor) without measuring when the content cannot be
  // narrower than floor: most text has no word near the width it gets.
  auto atLeastMin = [&](int floor) {
    if (!measured && ContentMinWithin(canvas, floor)) return floor;
    measure();
    return std::max(contentMin, floor);
  };
  auto calcAutoWidth = [&] {
    int room = SatClamp(std::int64_t{AvailWidth} - bordersPaddings - marginLeft - marginRight);
    if (Positioning == kPosAbsolute) return atLeastMin(SatSub(room, LeftP));
    if (FloatLR != 0) {
      measure();
      return std::min(contentMax, room);
    }
    return atLeastMin(room);
  };
  auto atLeastContent = [&] {
    if (!OverflowHidden) width = atLeastMin(width);
  };
  const bool isAuto = width == kAutoValue;
  if (AutoCount == 0) {
    atLeastContent();
    if ((Justify == 2 || Justify == 3) && Positioning == kPosStatic && FloatLR == 0 && marginLeft == 0 &&
        marginRight == 0) {
      int spare = std::max(0, SatClamp(std::int64_t{AvailWidth} - width - bordersPaddings));
      if (Justify == 2) marginLeft = marginRight = spare / 2;
      else marginLeft = spare;
    }
  } else if (AutoCount == 1) {
    if (isAuto) {
      width = calcAutoWidth();
    } else {
      atLeastContent();
      if (marginRight != kAutoValue)
        marginLeft = std::max(0, SatClamp(std::int64_t{AvailWidth} - bordersPaddings - marginRight - width));
      else if (FloatLR == 0)
        marginRight = std::max(0, SatClamp(std::int64_t{AvailWidth} - bordersPaddings - marginLeft - width));
      else
        marginRight = 0;
    }
  } else if (AutoCount == 2) {
    if (isAuto) {
      (marginLeft == kAutoValue ? marginLeft : marginRight) = 0;
      width = calcAutoWidth();
    } else {
      atLeastContent();
      marginLeft = marginRight = std::max(0, SatClamp(std::int64_t{AvailWidth} - width - bordersPaddings)) / 2;
    }
  } else {
    marginLeft = marginRight = 0;
    width = calcAutoWidth();
  }
  // Sentinels left by an unusual combination count as 0.
  if (marginLeft == kAutoValue) marginLeft = 0;
  if (marginRight == kAutoValue) marginRight = 0;
  if (width == kAutoValue) width = 0;
  return std::max(0, width);
}

void TBlock::BuildDrawList() {
  DrawList.clear();
  drawListInOrder_ = true;
  drawListSize_ = MyCell->Count();
  const TSectionBase* previous = nullptr;
  for (const auto& section : *MyCell) {
    section->ContainingBlock = this;
    if (previous != nullptr && section->ZOrder < previous->ZOrder) drawListInOrder_ = false;
    previous = section.get();
  }
  // Content without z-order (nearly all) paints in document order: the cell stands for the list.
  if (drawListInOrder_) return;
  // Negative z first (ascending), then 0 in document order, then positive (ascending);
  // equal keys keep document order.
  DrawList.reserve(static_cast<std::size_t>(drawListSize_));
  for (const auto& section : *MyCell) DrawList.push_back(section.get());
  std::stable_sort(DrawList.begin(), DrawList.end(),
                   [](const TSectionBase* a, const TSectionBase* b) { return a->ZOrder < b->ZOrder; });
}

int TBlock::DrawCount() const {
  return drawListInOrder_ ? std::min(drawListSize_, MyCell->Count()) : static_cast<int>(DrawList.size());
}

TSectionBase* TBlock::DrawItem(int index) const {
  return drawListInOrder_ ? MyCell->Items(index) : DrawList[static_cast<std::size_t>(index)];
}

}  // namespace engine
