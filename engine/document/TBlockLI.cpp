// TBlockLI: list item styles, the first-line baseline and the label.
#include "engine/document/TBlockLI.h"

#include <algorithm>
#include <array>

#include "engine/css/CssValues.h"
#include "engine/css/TMyFont.h"
#include "engine/css/TProperties.h"
#include "engine/document/SaturatedMath.h"
#include "engine/document/TSectionList.h"
#include "engine/paint/PenBrushScope.h"
#include "platform/gui/GdiCalls.h"
#include "platform/win/gdi/ScreenDevice.h"

namespace engine {

namespace {

constexpr std::array<const char16_t*, 20> kLowerRoman = {
    u"i", u"ii", u"iii", u"iv", u"v", u"vi", u"vii", u"viii", u"ix", u"x",
    u"xi", u"xii", u"xiii", u"xiv", u"xv", u"xvi", u"xvii", u"xviii", u"xix", u"xx"};
constexpr std::array<const char16_t*, 20> kUpperRoman = {
    u"I", u"II", u"III", u"IV", u"V", u"VI", u"VII", u"VIII", u"IX", u"X",
    u"XI", u"XII", u"XIII", u"XIV", u"XV", u"XVI", u"XVII", u"XVIII", u"XIX", u"XX"};

std::uint8_t OrderedStyle(char typeChar) {
  switch (typeChar) {
    case 'A': return lbUpperAlpha;
    case 'I': return lbUpperRoman;
    case 'a': return lbLowerAlpha;
    case 'i': return lbLowerRoman;
    default: return lbDecimal;
  }
}

std::u16string Decimal(int number) {
  std::string digits = std::to_string(number);
  return std::u16string(digits.begin(), digits.end());
}

// Restores the document's first-line slot when the item's layout ends.
class FirstLineScope {
 public:
  FirstLineScope(TSectionList* document, int* slot) : document_(document) {
    if (document_ == nullptr) return;
    previous_ = document_->FirstLinePointer;
    document_->FirstLinePointer = slot;
  }
  ~FirstLineScope() {
    if (document_ != nullptr) document_->FirstLinePointer = previous_;
  }
  int* Previous() const { return previous_; }

 private:
  TSectionList* document_;
  int* previous_ = nullptr;
};

}  // namespace

TBlockLI::TBlockLI(TSectionList* document, TProperties& properties, TCellBasic* containingCell,
                   THtmlSymbol listSymbol, bool plain, char typeChar, int itemNumber, int level,
                   TAttributeList* attributes)
    : TBlock(document, properties, containingCell, attributes) {
  switch (listSymbol) {
    case symOl:
      ListType = 1;
      ListStyleType = OrderedStyle(typeChar);
      break;
    case symUl:
    case symDir:
    case symMenu:
      ListType = 2;
      if (plain) ListStyleType = lbNone;
      else ListStyleType = std::array<std::uint8_t, 3>{lbSquare, lbDisc, lbCircle}[static_cast<std::size_t>(((level % 3) + 3) % 3)];
      break;
    case symDl:
      ListType = 3;
      break;
    default: {
      ListType = 4;
      ListStyleType = lbDisc;
      const TPropValue& marginLeft = MargArrayO[Marg::MarginLeft];
      const int* number = std::get_if<int>(&marginLeft);
      if (std::holds_alternative<std::monostate>(marginLeft) || (number != nullptr && (*number == 0 || *number == kUnsetValue)))
        MargArrayO.Set(Marg::MarginLeft, 16);
      break;
    }
  }
  ListNumb = itemNumber;
  if (int cssStyle = properties.GetListStyleType(); cssStyle != 0) ListStyleType = static_cast<std::uint8_t>(cssStyle);
  ListFont = properties.SharedFont();
  std::string url;
  if (properties.GetListStyleImage(url)) ListImageUrl = url;
}

TBlockLI::TBlockLI(TSectionList* document, const TBlockLI& source)
    : TBlock(document, source),
      ListType(source.ListType),
      ListNumb(source.ListNumb),
      ListStyleType(source.ListStyleType),
      ListImageUrl(source.ListImageUrl) {
  if (source.ListFont) ListFont = CopyFont(*source.ListFont, win::screenPixelsPerInch());
}

TBlockLI::~TBlockLI() = default;

std::unique_ptr<TSectionBase> TBlockLI::CreateCopy(TSectionList* document) const {
  return std::make_unique<TBlockLI>(document, *this);
}

int TBlockLI::LayoutSection(gui::TCanvas* canvas, int X, int Y, int XRef, int YRef, int Width, int AHeight,
                            int BlockHeight, IndentManager& IMgr, int& MaxWidth, int& Curs) {
  LabelY = 0;
  int result = 0;
  int* outer = nullptr;
  {
    FirstLineScope scope(Document, &LabelY);
    outer = scope.Previous();
    result = TBlock::LayoutSection(canvas, X, Y, XRef, YRef, Width, AHeight, BlockHeight, IMgr, MaxWidth, Curs);
  }
  // An item whose content starts with a nested list takes the nested item's
  // first baseline, so its own label is drawn too.
  if (outer != nullptr && *outer == 0 && LabelY != 0) *outer = LabelY;
  return result;
}

std::u16string TBlockLI::LabelText() const {
  int number = ListNumb;
  std::u16string text;
  switch (ListStyleType) {
    case lbBlank:
    case lbNone:
    case lbCircle:
    case lbDisc:
    case lbSquare:
      return text;
    case lbLowerAlpha:
    case lbUpperAlpha:
      // Numbers below 1 have no letter; they are written in digits.
      if (number < 1) text = Decimal(number);
      else text = static_cast<char16_t>((ListStyleType == lbLowerAlpha ? u'a' : u'A') + std::min(number - 1, 25));
      break;
    case lbLowerRoman:
    case lbUpperRoman:
      if (number < 1) text = Decimal(number);
      else text = (ListStyleType == lbLowerRoman ? kLowerRoman : kUpperRoman)[static_cast<std::size_t>(std::min(number, 20) - 1)];
      break;
    default:
      text = Decimal(number);
      break;
  }
  return text + u".";
}

int TBlockLI::PaintSection(gui::TCanvas* canvas, const win::RECT& clipRect, IndentManager& IMgr, int X, int XRef,
                           int YRef) {
  int result = TBlock::PaintSection(canvas, clipRect, IMgr, X, XRef, YRef);
  if (canvas == nullptr || LabelY <= 0 || DisplayNone || ListType == 3) return result;
  int Y = SatSub(LabelY, Document != nullptr ? Document->YOffset : 0);
  if (Y < clipRect.top - 50 || Y > clipRect.bottom + 50) return result;
  int labelX = SatAdd(X, Indent);
  if (!ListImageUrl.empty() && Document != nullptr && Document->ShowImages && Document->ImageHooks.PaintListImage &&
      Document->ImageHooks.PaintListImage(*this, *canvas, labelX, Y))
    return result;
  TColor colour = ListFont ? ListFont->Color() : TextColor;
  PenBrushScope restore(*canvas);
  switch (ListStyleType) {
    case lbCircle:
      canvas->Pen().SetColor(colour);
      canvas->Brush().SetStyle(gui::bsClear);
      canvas->Ellipse(labelX - 16, Y - 7, labelX - 9, Y);
      break;
    case lbDisc:
      canvas->Pen().SetColor(colour);
      canvas->Brush().SetColor(colour);
      canvas->Brush().SetStyle(gui::bsSolid);
      canvas->Ellipse(labelX - 15, Y - 6, labelX - 10, Y - 1);
      break;
    case lbSquare:
      canvas->Brush().SetColor(colour);
      canvas->Brush().SetStyle(gui::bsSolid);
      canvas->FillRect(win::RECT{labelX - 15, Y - 6, labelX - 10, Y - 1});
      break;
    default: {
      std::u16string text = LabelText();
      if (text.empty()) break;
      if (ListFont) ApplyFontToCanvas(*ListFont, *canvas);
      win::HDC dc = canvas->Handle();
      int oldMode = win::SetBkMode(dc, win::TRANSPARENT);
      win::UINT oldAlign = win::SetTextAlign(dc, win::TA_BASELINE);
      int width = canvas->TextExtent(std::u16string_view(text)).cx;
      canvas->TextOut(labelX - 10 - width, Y, std::u16string_view(text));
      win::SetTextAlign(dc, oldAlign);
      win::SetBkMode(dc, oldMode);
      break;
    }
  }
  return result;
}

}  // namespace engine
