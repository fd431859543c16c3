// THorzLine, THRBlock and TPage: rules and page breaks.
#include "engine/document/THorzLine.h"

#include <algorithm>
#include <string>

#include "engine/common/EngineStartup.h"
#include "engine/css/CssValues.h"
#include "engine/css/TProperties.h"
#include "engine/document/IndentManager.h"
#include "engine/document/SaturatedMath.h"
#include "engine/document/SelTextCount.h"
#include "engine/document/THRBlock.h"
#include "engine/document/TPage.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TAttributeList.h"
#include "engine/paint/Frames3D.h"
#include "engine/paint/PenBrushScope.h"
#include "engine/paint/TextDrawing.h"
#include "platform/win/user/SystemColors.h"

namespace engine {

namespace {

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool IsWhite(TColor color) { return (color & 0x00FFFFFF) == 0x00FFFFFF; }

}  // namespace

THorzLine::THorzLine(TSectionList* document, TProperties& properties, const TAttributeList* attributes)
    : TSectionBase(document) {
  const TAttribute* attribute = nullptr;
  if (attributes != nullptr) {
    if (attributes->Find(symAlign, attribute)) {
      std::string align = Lower(attribute->ValueText);
      if (align == "left") Justify = 1;
      else if (align == "right") Justify = 3;
    }
    if (attributes->Find(symWidth, attribute) && attribute->Value > 0) {
      bool percent = attribute->ValueText.find('%') != std::string::npos;
      if (!percent)
        properties.SetPropertyByIndex(PropIdx(Prop::Width), std::to_string(attribute->Value) + "px");
      else if (attribute->Value <= 100)
        properties.SetPropertyByIndex(PropIdx(Prop::Width), std::to_string(attribute->Value) + "%");
    }
    if (attributes->Find(symSize, attribute) && attribute->Value >= 1 && attribute->Value <= 20)
      RuleHeight = attribute->Value;
    TColor colour = 0;
    if (attributes->Find(symColor, attribute) && ColorFromString(attribute->ValueText, false, colour)) {
      Color = colour;
      properties.Value(Prop::Color) = static_cast<int>(colour);
    }
    if (attributes->Find(symNoshade, attribute)) NoShade = true;
  }
  properties.SetPropertyByIndex(PropIdx(Prop::Height), std::to_string(RuleHeight) + "px");
  // NOTE: only a colour or alignment given to the rule itself counts; the text
  // colour every element inherits would turn every rule into a solid bar.
  if (properties.IsAssigned(PropIdx(Prop::Color)) || Color != kNoColor) {
    if (const int* colour = std::get_if<int>(&properties.Value(Prop::Color)))
      if (static_cast<TColor>(*colour) != kNoColor) Color = static_cast<TColor>(*colour);
  }
  if (properties.IsAssigned(PropIdx(Prop::TextAlign))) {
    if (const std::string* align = TextOf(properties.Value(Prop::TextAlign))) {
      if (*align == "left") Justify = 1;
      else if (*align == "right") Justify = 3;
      else if (*align == "center") Justify = 2;
    }
  }
}

THorzLine::THorzLine(TSectionList* document, const THorzLine& source)
    : TSectionBase(document, source),
      RuleHeight(source.RuleHeight),
      Color(source.Color),
      Justify(source.Justify),
      NoShade(source.NoShade) {}

std::unique_ptr<TSectionBase> THorzLine::CreateCopy(TSectionList* document) const {
  return std::make_unique<THorzLine>(document, *this);
}

void THorzLine::CopyToSelectionBuffer(SelTextCount& buffer) { buffer.AppendLine(nullptr, 0); }

int THorzLine::LayoutSection(gui::TCanvas* /*canvas*/, int X, int Y, int /*XRef*/, int /*YRef*/, int Width,
                             int /*AHeight*/, int /*BlockHeight*/, IndentManager& IMgr, int& MaxWidth, int& Curs) {
  ContentTop = TopY = PaintTop = Y;
  FirstCharPos = Curs;
  CharCount = 0;
  layoutX_ = X;
  LeftX = std::max(X, IMgr.LeftIndent(Y));
  // A rule squeezed out by floats or a narrow cell has no length rather than a negative one.
  LineWidth = std::max(0, std::min(SatSub(SatAdd(X, Width), LeftX), SatSub(IMgr.RightSide(Y), LeftX)));
  MaxWidth = LineWidth;
  SectionHeight = PaintHeight = RuleHeight;
  ContentBottom = PaintBottom = SatAdd(Y, RuleHeight);
  return RuleHeight;
}

int THorzLine::PaintSection(gui::TCanvas* canvas, const win::RECT& clipRect, IndentManager& /*IMgr*/, int X,
                            int /*XRef*/, int /*YRef*/) {
  const int result = SatAdd(ContentTop, SectionHeight);
  if (canvas == nullptr || Document == nullptr) return result;
  TSectionList& doc = *Document;
  int Y = SatSub(ContentTop, doc.YOffset);
  if (SatAdd(Y, SectionHeight) < clipRect.top || Y >= clipRect.bottom) return result;
  if (doc.Printing && ContentTop >= doc.VisibleBottom) return result;
  doc.NoOutput = false;
  if (LineWidth <= 0) return result;
  // Drawn from where layout put it: beside a left float LeftX lies right of the X given.
  int left = SatAdd(X, SatSub(LeftX, layoutX_));
  int right = SatSub(SatAdd(left, LineWidth), 1);
  if (Color != kNoColor) {
    FillRectWithColor(*canvas, left, Y, right + 1, Y + RuleHeight, Color | PaletteRGBFlag);
    return result;
  }
  TColor light = gui::clBtnHighlight;
  TColor dark = gui::clBtnShadow;
  if (doc.Printing || IsWhite(doc.Background) ||
      (doc.Background == gui::clWindow && IsWhite(win::GetSysColor(win::COLOR_WINDOW))))
    light = gui::clSilver;
  if (NoShade || (doc.Printing && IsMonochromeDevice(*canvas))) light = dark = gui::clBlack;
  PenBrushScope restore(*canvas);
  canvas->Pen().SetStyle(gui::psSolid);
  canvas->Pen().SetWidth(1);
  canvas->Pen().SetColor(light);
  canvas->MoveTo(right, Y);
  canvas->LineTo(right, Y + RuleHeight - 1);
  canvas->LineTo(left, Y + RuleHeight - 1);
  canvas->Pen().SetColor(dark);
  canvas->LineTo(left, Y);
  canvas->LineTo(right, Y);
  return result;
}

THRBlock::THRBlock(TSectionList* document, TProperties& properties, TCellBasic* containingCell,
                   std::unique_ptr<THorzLine> rule, TAttributeList* attributes)
    : TBlock(document, properties, containingCell, attributes) {
  if (rule) {
    MyHRule = rule.get();
    Justify = rule->Justify;
    MyCell->AddSection(std::move(rule), 0);
  }
}

THRBlock::THRBlock(TSectionList* document, const THRBlock& source) : TBlock(document, source) {
  if (MyCell->Count() > 0) MyHRule = dynamic_cast<THorzLine*>(MyCell->Items(0));
}

std::unique_ptr<TSectionBase> THRBlock::CreateCopy(TSectionList* document) const {
  return std::make_unique<THRBlock>(document, *this);
}

int THRBlock::ComputeBlockWidth(gui::TCanvas* /*canvas*/, int AvailWidth, int /*AutoCount*/, int /*AHeight*/) {
  TBoxValues& m = MargArray;
  if (Positioning == kPosAbsolute) Justify = 1;
  for (int index : {Marg::MarginLeft, Marg::MarginRight})
    if (m[static_cast<std::size_t>(index)] == kAutoValue) m[static_cast<std::size_t>(index)] = 0;
  int room = SatSub(AvailWidth, HorizontalExtras());
  int& width = m[Marg::piWidth];
  if (width == kAutoValue || width < 1)
    width = std::max(15, room);
  else
    width = std::min(width, room);
  width = std::max(0, width);  // a narrow cell leaves no room rather than a negative width
  int spare = room - width;
  if (spare > 0) {
    if (Justify == 2) m[Marg::MarginLeft] = SatAdd(m[Marg::MarginLeft], spare / 2);
    else if (Justify == 3) m[Marg::MarginLeft] = SatAdd(m[Marg::MarginLeft], spare);
  }
  if (MyHRule != nullptr && Document != nullptr && !Document->IsCopy && m[Marg::piHeight] > 0)
    MyHRule->RuleHeight = m[Marg::piHeight];
  return width;
}

std::unique_ptr<TSectionBase> TPage::CreateCopy(TSectionList* document) const {
  return std::make_unique<TPage>(document, *this);
}

int TPage::PaintSection(gui::TCanvas* canvas, const win::RECT& clipRect, IndentManager& IMgr, int X, int XRef,
                        int YRef) {
  int result = TSectionBase::PaintSection(canvas, clipRect, IMgr, X, XRef, YRef);
  if (Document == nullptr || !Document->Printing) return result;
  int pageY = SatSub(ContentTop, Document->YOffset);
  if (pageY > clipRect.top + 5 && pageY < clipRect.bottom && ContentTop < Document->VisibleBottom)
    Document->VisibleBottom = ContentTop;
  return result;
}

}  // namespace engine
