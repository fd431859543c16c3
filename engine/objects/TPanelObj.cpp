#include "engine/objects/TPanelObj.h"

#include <algorithm>

#include "engine/common/CodePageText.h"
#include "engine/css/TProperties.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TAttributeList.h"
#include "engine/objects/FloatingAttributes.h"
#include "engine/objects/ThvPanel.h"
#include "engine/paint/PenBrushScope.h"
#include "engine/paint/TextDrawing.h"
#include "engine/text/TFontObj.h"
#include "images/ImageDrawing.h"
#include "platform/gui/Exception.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"

namespace engine {

namespace {

constexpr int kParkedPosition = -4000;
constexpr int kStartWidth = 30;
constexpr int kStartHeight = 20;
constexpr int kAltInset = 5;

// WIDTH or HEIGHT with "%": the percentage (width clamped to 1..100, a
// height outside 1..100 not taken); without: pixels, clamped.
void ReadPanelSize(const TAttribute& a, bool isWidth, int& wanted, bool& percent, int& windowSize) {
  if (a.ValueText.find('%') != std::string::npos) {
    if (isWidth) {
      wanted = std::clamp(a.Value, 1, 100);
      percent = true;
    } else if (a.Value >= 1 && a.Value <= 100) {
      wanted = a.Value;
      percent = true;
    }
    return;
  }
  const int pixels = std::clamp(a.Value, isWidth ? 0 : 1, kMaxWantedSize);
  wanted = pixels;
  windowSize = pixels;
}

}  // namespace

TPanelObj::TPanelObj(TSectionList* document, bool isObjectTag, const TAttributeList& attributes)
    : TInlineObject(Kind::Panel), Document(document) {
  panel_ = std::make_unique<ThvPanel>(nullptr);
  panel_->SetBounds(kParkedPosition, kParkedPosition, kStartWidth, kStartHeight);
  panel_->SetBevelOuter(gui::bvNone);
  panel_->SetBorderStyle(gui::bsSingle);
  panel_->SetColor(gui::clWhite);
  if (Document && Document->PPanel) panel_->SetParent(Document->PPanel);
  ReadAttributes(attributes);
  const int side = hSpaceGiven_ ? hSpace_ : (Floats() ? kFloatSpace : 0);
  Place.HSpaceL = Place.HSpaceR = side;
  Place.VSpaceB = Place.VSpaceT;
  panel_->SetCaption("");
  if (!isObjectTag && Document && Document->OnPanelCreate)
    Document->OnPanelCreate(Document->TheOwner, Name, Type, Source, panel_.get());
  NaturalWidth = panel_->Width();
  NaturalHeight = panel_->Height();
  if (Document) {
    Document->PanelList.push_back(this);
    listed_ = true;
  }
}

TPanelObj::TPanelObj(TSectionList* document, const TPanelObj& source)
    : TInlineObject(Kind::Panel), Document(document) {
  Pos = source.Pos;
  Place = source.Place;
  Title = source.Title;
  Alt = source.Alt;
  AltWide = source.AltWide;
  WantedWidth = source.WantedWidth;
  WantedHeight = source.WantedHeight;
  WidthInPercent = source.WidthInPercent;
  HeightInPercent = source.HeightInPercent;
  NaturalWidth = source.NaturalWidth;
  NaturalHeight = source.NaturalHeight;
  IsCopy = true;
  // The copy's window is never shown: it only carries the screen window's
  // bounds, colour and Displayed flag into print.
  panel_ = std::make_unique<ThvPanel>(nullptr);
  panel_->SetVisible(false);
  if (source.panel_) {
    panel_->SetBoundsRect(source.panel_->BoundsRect());
    panel_->Displayed = source.panel_->Displayed;
    panel_->SetColor(source.panel_->Color());
  }
  ScreenPanel = source.IsCopy ? source.ScreenPanel : source.panel_.get();
  ScreenViewer = source.IsCopy ? source.ScreenViewer : (source.Document ? source.Document->TheOwner : nullptr);
  OnPanelPrint = source.IsCopy ? source.OnPanelPrint
                               : (source.Document ? TPanelPrintEvent(source.Document->OnPanelPrint) : nullptr);
}

TPanelObj::~TPanelObj() {
  LeaveDocument();
  // A print copy's window was never offered to the host: it is not told of it going.
  if (!IsCopy && Document && Document->OnPanelDestroy) {
    try {
      Document->OnPanelDestroy(Document->TheOwner, panel_.get());
    } catch (...) {
      // The window goes in any case.
    }
  }
}

void TPanelObj::LeaveDocument() {
  if (!listed_ || !Document) return;
  listed_ = false;
  auto& list = Document->PanelList;
  // Searched from the end: the builder drops the panel it made last.
  const auto it = std::find(list.rbegin(), list.rend(), static_cast<IDocumentPanel*>(this));
  if (it != list.rend()) list.erase(std::next(it).base());
}

void TPanelObj::ReadAttributes(const TAttributeList& attributes) {
  for (const auto& item : attributes) {
    const TAttribute& a = *item;
    switch (a.Symbol) {
      case symName:
        Name = a.ValueText;
        try {
          panel_->SetName(Name);
        } catch (const gui::Exception&) {
          // A name the window cannot take is left off it.
        }
        break;
      case symSrc: Source = a.ValueText; break;
      case symType: Type = a.ValueText; break;
      case symAlt:
        Alt = AltFromAttribute(a.ValueText);
        Title = Alt;
        AltWide = StringToWideByCodePage(a.CodePage, Alt);
        break;
      case symAlign: ReadAlignAttribute(a.ValueText, Place.Align); break;
      case symWidth: {
        int width = panel_->Width();
        ReadPanelSize(a, true, WantedWidth, WidthInPercent, width);
        panel_->SetWidth(width);
        break;
      }
      case symHeight: {
        int height = panel_->Height();
        ReadPanelSize(a, false, WantedHeight, HeightInPercent, height);
        panel_->SetHeight(height);
        break;
      }
      case symHspace:
        hSpaceGiven_ = true;
        hSpace_ = SpaceFromAttribute(a.Value);
        break;
      case symVspace: Place.VSpaceT = SpaceFromAttribute(a.Value); break;
      default: break;
    }
  }
}

std::unique_ptr<TInlineObject> TPanelObj::CreateCopy(TSectionList* document) const {
  return std::make_unique<TPanelObj>(document, *this);
}

void TPanelObj::ApplyStyle(TProperties& prop) {
  int align = 0;
  if (prop.GetVertAlign(align)) Place.Align = static_cast<std::uint8_t>(align);
  if (prop.GetFloat(align) && (align == kAlignFloatLeft || align == kAlignFloatRight)) {
    Place.Align = static_cast<std::uint8_t>(align);
    if (Place.HSpaceR == 0) Place.HSpaceL = Place.HSpaceR = kFloatSpace;
  }
}

gui::TWinControl* TPanelObj::Panel() { return panel_.get(); }

void TPanelObj::ComputeSize(gui::TCanvas*, TFontObj*, int availableWidth, int availableHeight) {
  if (SizeKnown && !PercentSized()) return;
  int& width = Place.ImageWidth;
  int& height = Place.ImageHeight;
  const bool widthGiven = WantedWidth > 0;
  const bool heightGiven = WantedHeight > 0;
  if (WidthInPercent) {
    width = ScaledSize(availableWidth, WantedWidth, 100);
    if (HeightInPercent) height = ScaledSize(availableHeight, WantedHeight, 100);
    else if (heightGiven) height = WantedHeight;
    else height = ScaledSize(width, NaturalHeight, NaturalWidth);
  } else if (HeightInPercent) {
    height = ScaledSize(availableHeight, WantedHeight, 100);
    width = widthGiven ? WantedWidth : ScaledSize(height, NaturalWidth, NaturalHeight);
  } else {
    if (widthGiven && heightGiven) {
      width = WantedWidth;
      height = WantedHeight;
    } else if (heightGiven) {
      height = WantedHeight;
      width = ScaledSize(WantedHeight, NaturalWidth, NaturalHeight);
    } else if (widthGiven) {
      width = WantedWidth;
      height = ScaledSize(WantedWidth, NaturalHeight, NaturalWidth);
    } else {
      width = std::clamp(NaturalWidth, 0, kMaxWantedSize);
      height = std::clamp(NaturalHeight, 0, kMaxWantedSize);
    }
    SizeKnown = true;
  }
  if (!IsCopy && width > 0 && height > 0) panel_->SetBounds(panel_->Left(), panel_->Top(), width, height);
}

int TPanelObj::AlignedTop(TFontObj* run, int baselineY, int lineTopY) {
  const int height = Place.ImageHeight;
  // Layout places a float at its own Y and leaves that in TopY.
  if (Floats() && TopY != drawnTop_) floatTop_ = TopY;
  switch (Place.Align) {
    case kAlignTop: return lineTopY + Place.VSpaceT;
    case kAlignFloatLeft:
    case kAlignFloatRight: return floatTop_ + Place.VSpaceT;
    case kAlignMiddle: {
      const int descent = run ? run->Descent : 0;
      const int tm = run ? run->tmHeight : 0;
      return baselineY + descent - tm / 2 - (height + Place.VSpaceB - Place.VSpaceT) / 2;
    }
    case kAlignBaseline:
    case kAlignBottom: return baselineY - height - Place.VSpaceB;
    default: return TopY;
  }
}

void TPanelObj::Draw(gui::TCanvas* canvas, int x, TFontObj* run, int baselineY, int lineTopY) {
  const int top = AlignedTop(run, baselineY, lineTopY);
  LeftX = x;
  TopY = drawnTop_ = top;
  const int yOffset = Document ? Document->YOffset : 0;
  if (IsCopy || (Document && Document->IsCopy)) {
    if (canvas) Print(*canvas, x, top - yOffset);
    return;
  }
  ShownFlag = true;
  panel_->SetBounds(x, top - yOffset, panel_->Width(), panel_->Height());
  panel_->SetVisible(panel_->Displayed);
}

void TPanelObj::Print(gui::TCanvas& canvas, int x, int y) {
  if (!panel_->Displayed) return;
  const int width = Place.ImageWidth;
  const int height = Place.ImageHeight;
  if (!OnPanelPrint) {
    PrintBox(canvas, x, y);
    return;
  }
  if (width <= 0 || height <= 0) return;
  ThvPanel* screen = ScreenPanel != nullptr ? ScreenPanel : panel_.get();
  gui::TBitmap bitmap;
  bitmap.SetSize(width, height);
  const win::RECT saved = screen->BoundsRect();
  screen->SetBounds(saved.left, saved.top, width, height);
  try {
    OnPanelPrint(ScreenViewer, screen, bitmap);
  } catch (...) {
    screen->SetBoundsRect(saved);
    throw;
  }
  screen->SetBoundsRect(saved);
  images::StretchBitmapAsDIB(canvas, x, y, width, height, bitmap.Handle());
}

void TPanelObj::PrintBox(gui::TCanvas& canvas, int x, int y) {
  PenBrushScope tools(canvas, CanvasFont::Kept);
  canvas.Pen().SetColor(gui::clBlack);
  canvas.Pen().SetWidth(1);
  canvas.Pen().SetStyle(gui::psSolid);
  canvas.Brush().SetColor(panel_->Color());
  canvas.Brush().SetStyle(gui::bsSolid);
  canvas.Rectangle(x, y, x + Place.ImageWidth, y + Place.ImageHeight);
  if (AltWide.empty()) return;
  canvas.Font().SetName("Arial");
  canvas.Font().SetSize(8);
  canvas.Font().SetColor(gui::clBlack);
  canvas.Brush().SetStyle(gui::bsClear);
  canvas.TextExtent(std::u16string_view());  // the wrapped text is drawn on the DC's font
  DrawWrappedText(canvas, x + kAltInset, y + kAltInset, x + Place.ImageWidth - kAltInset,
                  y + Place.ImageHeight - kAltInset, AltWide.c_str(), static_cast<int>(AltWide.size()));
}

}  // namespace engine
