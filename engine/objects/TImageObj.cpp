#include "engine/objects/TImageObj.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>

#include "engine/common/CodePageText.h"
#include "engine/common/EngineStartup.h"
#include "engine/css/CssBoxValues.h"
#include "engine/css/CssValues.h"
#include "engine/css/TProperties.h"
#include "engine/document/TIDNameList.h"
#include "engine/document/TSectionList.h"
#include "engine/html/TAttributeList.h"
#include "engine/objects/DocumentImages.h"
#include "engine/objects/FloatingAttributes.h"
#include "engine/objects/TAnimatedGif.h"
#include "engine/objects/TMapItem.h"
#include "engine/paint/Frames3D.h"
#include "engine/paint/TextDrawing.h"
#include "engine/text/TFontObj.h"
#include "images/ImageDrawing.h"
#include "images/TGIFImage.h"
#include "images/TGpImage.h"
#include "images/TStringBitmapList.h"
#include "platform/gui/StringFunctions.h"
#include "platform/gui/TBitmap.h"
#include "platform/gui/TCanvas.h"
#include "platform/win/gdi/Blit.h"
#include "platform/win/gdi/DcAttributes.h"
#include "platform/win/gdi/DeviceContext.h"
#include "platform/win/gdi/Shapes.h"
#include "platform/win/text/DrawText.h"

namespace engine {

namespace {

constexpr int kMissingOffset = 4;
constexpr int kSmallestDrawnStandIn = 23;

int Scale(int value, int numerator, int denominator) { return ScaledSize(value, numerator, denominator); }

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Lengths in an image's style are taken against this width and height.
constexpr int kStyleBase = 200;

bool IsStyleValueSet(const TPropValue& value) {
  if (std::holds_alternative<std::monostate>(value)) return false;
  const int* number = std::get_if<int>(&value);
  return number == nullptr || *number != kUnsetValue;
}

// Margins and border widths as spacings: auto and negative values give 0.
int SpacingOf(int value) { return value == kAutoValue ? 0 : std::clamp(value, 0, TImageObj::kMaxWantedSize); }

// A style width or height: auto is "not given", a percentage (of the nominal
// base) its share, a length its pixels.
void ReadStyleSize(const TPropValue& raw, int computed, int& wanted, bool& percent) {
  if (!IsStyleValueSet(raw)) return;
  const std::string* text = TextOf(raw);
  if (computed == kAutoValue || (text && *text == "auto")) {
    wanted = -1;
    percent = false;
  } else if (text && text->find('%') != std::string::npos) {
    wanted = ScaledSize(computed, 100, kStyleBase);
    percent = true;
  } else {
    wanted = std::clamp(computed, 0, TImageObj::kMaxWantedSize);
    percent = false;
  }
}

// WIDTH or HEIGHT: pixels up to the largest size, or a percentage of 0..100.
void ReadWantedSize(const TAttribute& a, int& wanted, bool& percent) {
  if (a.ValueText.find('%') != std::string::npos) {
    if (a.Value >= 0 && a.Value <= 100) {
      wanted = a.Value;
      percent = true;
    }
  } else if (a.Value >= 0) {
    wanted = std::min(a.Value, TImageObj::kMaxWantedSize);
  }
}

// Text drawing works on the DC's font directly: the restored font goes into
// the DC now, not at the canvas's next text call.
void RestoreFont(gui::TCanvas& canvas, const gui::TFont& saved) {
  canvas.SetFont(saved);
  canvas.TextExtent(std::u16string_view());
}

}  // namespace

TImageObj::TImageObj(TSectionList* document, TAttributeList* attributes, int pos)
    : TInlineObject(Kind::Image), Document(document) {
  Pos = pos;
  if (attributes) ReadAttributes(*attributes);
  const bool floats = Place.Align == kAlignFloatLeft || Place.Align == kAlignFloatRight;
  const int side = hSpaceGiven_ ? hSpace_ : (floats ? kFloatSpace : 0);
  Place.HSpaceL = Place.HSpaceR = side;
  Place.VSpaceB = Place.VSpaceT;
}

TImageObj::TImageObj(TSectionList* document, const std::string& source)
    : TInlineObject(Kind::Image), Document(document), Source(source), BorderOff(true) {}

TImageObj::~TImageObj() {
  if (animation_ && Document) {
    auto& list = Document->AGifList;
    list.erase(std::remove(list.begin(), list.end(), animation_.get()), list.end());
  }
  if (Document && !Document->IsCopy && releaseFromCache_) {
    if (auto* cache = dynamic_cast<images::TStringBitmapList*>(Document->BitmapList))
      cache->ReleaseImage(ImageKeyOf(Source));
  }
  if (Document && Pending) Document->ForgetMissingImage(this);
}

void TImageObj::ReadAttributes(TAttributeList& attributes) {
  for (const auto& item : attributes) {
    const TAttribute& a = *item;
    switch (a.Symbol) {
      case symName:
        if (Document && Document->IDNameList) Document->IDNameList->AddObject(a.ValueText, this);
        break;
      case symSrc: Source = gui::Trim(a.ValueText); break;
      case symAlt:
        Alt = AltFromAttribute(a.ValueText);
        Title = Alt;
        AltWide = StringToWideByCodePage(a.CodePage, Alt);
        break;
      case symAlign: ReadAlignAttribute(a.ValueText, Place.Align); break;
      case symBorder:
        BorderOff = a.Value == 0;
        BorderWidth = std::clamp(a.Value, 0, 10);
        break;
      case symWidth: ReadWantedSize(a, WantedWidth, WidthInPercent); break;
      case symHeight: ReadWantedSize(a, WantedHeight, HeightInPercent); break;
      case symTransp: MaskKind = images::mkCornerColor; break;
      case symIsmap: ServerMap = true; break;
      case symUsemap: {
        ClientMap = true;
        MapName = Upper(gui::Trim(a.ValueText));
        if (MapName.size() > 1 && MapName[0] == '#') MapName.erase(0, 1);
        break;
      }
      case symHspace:
        hSpaceGiven_ = true;
        hSpace_ = SpaceFromAttribute(a.Value);
        break;
      case symVspace: Place.VSpaceT = SpaceFromAttribute(a.Value); break;
      case symActive: Active = true; break;
      default: break;
    }
  }
  const std::string title = attributes.TitleValue();
  if (!title.empty()) Title = title;
  const std::string id = attributes.IdValue();
  if (!id.empty() && Document && Document->IDNameList) Document->IDNameList->AddObject(id, this);
}

void TImageObj::ApplyAlignAndFloat(TProperties& prop) {
  int align = 0;
  if (prop.GetVertAlign(align)) Place.Align = static_cast<std::uint8_t>(align);
  if (prop.GetFloat(align) && (align == kAlignFloatLeft || align == kAlignFloatRight)) {
    Place.Align = static_cast<std::uint8_t>(align);
    if (Place.HSpaceR == 0) Place.HSpaceL = Place.HSpaceR = kFloatSpace;
  }
}

// Style margins replace the spacings they set, style borders widen them, and
// a style width or height replaces the attribute's. Lengths are taken against
// a nominal 200 pixels, so a percentage comes back as its share of 200.
void TImageObj::ApplyStyle(TProperties& prop) {
  ApplyAlignAndFloat(prop);
  if (Title.empty()) Title = prop.PropTitle;
  TVMarginArray margins;
  GetMarginArray(prop, margins);
  const TBoxValues values = ComputeMarginsAndSizes(margins, kStyleBase, kStyleBase, prop.EmSize, prop.ExSize).Values;
  const auto take = [&](Prop side, int& spacing) {
    if (IsStyleValueSet(margins[BoxIndex(side)])) spacing = SpacingOf(values[BoxIndex(side)]);
  };
  take(Prop::MarginTop, Place.VSpaceT);
  take(Prop::MarginBottom, Place.VSpaceB);
  take(Prop::MarginLeft, Place.HSpaceL);
  take(Prop::MarginRight, Place.HSpaceR);
  if (prop.GetBorderStyle() != 0) {
    // The CSS border is drawn round the element instead of the attribute border.
    Place.VSpaceT = SatAdd(Place.VSpaceT, SpacingOf(values[BoxIndex(Prop::BorderTopWidth)]));
    Place.HSpaceR = SatAdd(Place.HSpaceR, SpacingOf(values[BoxIndex(Prop::BorderRightWidth)]));
    Place.VSpaceB = SatAdd(Place.VSpaceB, SpacingOf(values[BoxIndex(Prop::BorderBottomWidth)]));
    Place.HSpaceL = SatAdd(Place.HSpaceL, SpacingOf(values[BoxIndex(Prop::BorderLeftWidth)]));
    BorderOff = true;
    BorderWidth = 0;
  }
  ReadStyleSize(margins[BoxIndex(Prop::Width)], values[BoxIndex(Prop::Width)], WantedWidth, WidthInPercent);
  ReadStyleSize(margins[BoxIndex(Prop::Height)], values[BoxIndex(Prop::Height)], WantedHeight, HeightInPercent);
  ApplyAlignAndFloat(prop);
}

std::unique_ptr<TInlineObject> TImageObj::CreateCopy(TSectionList* document) const {
  auto copy = std::make_unique<TImageObj>(document, Source);
  copy->Pos = Pos;
  copy->Place = Place;
  copy->Title = Title;
  copy->Alt = Alt;
  copy->AltWide = AltWide;
  copy->BorderOff = BorderOff;
  copy->BorderWidth = BorderWidth;
  copy->SizeKnown = SizeKnown;
  copy->PictureWidth = PictureWidth;
  copy->PictureHeight = PictureHeight;
  copy->StandInWidth = StandInWidth;
  copy->StandInHeight = StandInHeight;
  copy->WantedWidth = WantedWidth;
  copy->WantedHeight = WantedHeight;
  copy->WidthInPercent = WidthInPercent;
  copy->HeightInPercent = HeightInPercent;
  copy->Image = Image;
  copy->Mask = Mask;
  copy->ServerMap = ServerMap;
  copy->MaskKind = MaskKind;
  // The copy shares the source's picture: an empty source keeps it from fetching.
  if (!copy->Image) copy->Source.clear();
  return copy;
}

bool TImageObj::IsMissingPicture(const gui::TObject* image) const {
  return image == nullptr || image == ErrorPicture || image == WaitingPicture;
}

void TImageObj::TakeGif(images::TGIFImage* gif, bool shared) {
  images::TGIFImage* shown = gif;
  if (shared) {
    ownedGif_ = images::TGIFImage::CreateCopy(*gif);
    shown = ownedGif_.get();
  }
  Image = shown;
  if (!Document) return;
  animation_ = std::make_unique<TAnimatedGif>(shown);
  if (Active) {
    shown->SetAnimating(false);
  } else if (shown->Animated()) {
    Document->AGifList.push_back(animation_.get());
  }
}

void TImageObj::FetchImage() {
  Source = ExpandImageName(*Document, Source);
  const std::string key = ImageKeyOf(Source);
  if (Document->IsMissingImage(key)) {
    Pending = true;
    Image = WaitingPicture;
    Document->AddMissingImage(key, this);
    return;
  }
  TakeLoaded(LoadCachedImage(*Document, Source, MaskKind));
}

void TImageObj::TakeLoaded(TLoadedImage loaded) {
  Pending = loaded.Delayed;
  if (loaded.Image) {
    releaseFromCache_ = loaded.FromCache || !loaded.OwnedImage;
    ownedImage_ = std::move(loaded.OwnedImage);
    ownedMask_ = std::move(loaded.OwnedMask);
    CachedImage = loaded.Image;
    Mask = loaded.Mask;
    if (auto* gif = dynamic_cast<images::TGIFImage*>(loaded.Image)) {
      TakeGif(gif, loaded.CacheUsers > 1);
    } else {
      Image = loaded.Image;
    }
  } else if (Pending) {
    Image = WaitingPicture;
    Document->AddMissingImage(ImageKeyOf(Source), this);
  } else {
    Image = ErrorPicture;
    Mask = ErrorPictureMask;
    MaskKind = images::mkCornerColor;
  }
}

void TImageObj::ImageDelivered(TLoadedImage loaded) {
  if (!Pending || !Document) return;
  Pending = false;
  SizeKnown = false;
  Image = nullptr;
  Mask = nullptr;
  loaded.Delayed = false;
  TakeLoaded(std::move(loaded));
}

void TImageObj::SizePicture(int availableWidth, int availableHeight, bool missing) {
  gui::TObject* measured = Document && !Document->ShowImages ? WaitingPicture : Image;
  int naturalW = 0;
  int naturalH = 0;
  try {
    if (measured) {
      naturalW = images::ImageWidthOf(measured);
      naturalH = images::ImageHeightOf(measured);
    }
  } catch (const std::exception&) {
    naturalW = naturalH = 0;
  }
  const int b2 = 2 * BorderWidth;
  if (WidthInPercent) {
    PictureWidth = Scale(availableWidth - b2, WantedWidth, 100);
    if (WantedHeight < 0) PictureHeight = Scale(PictureWidth, naturalH, naturalW);
    else if (HeightInPercent) PictureHeight = Scale(availableHeight - b2, WantedHeight, 100);
    else PictureHeight = WantedHeight;
  } else if (HeightInPercent) {
    PictureHeight = Scale(availableHeight - b2, WantedHeight, 100);
    PictureWidth = WantedWidth < 0 ? Scale(PictureHeight, naturalW, naturalH) : WantedWidth;
  } else if (WantedWidth >= 0 && WantedHeight >= 0) {
    PictureWidth = WantedWidth;
    PictureHeight = WantedHeight;
    SizeKnown = true;
  } else {
    if (WantedHeight >= 0) {
      PictureHeight = WantedHeight;
      PictureWidth = Scale(WantedHeight, naturalW, naturalH);
    } else if (WantedWidth >= 0) {
      PictureWidth = WantedWidth;
      PictureHeight = Scale(WantedWidth, naturalH, naturalW);
    } else {
      PictureWidth = std::clamp(naturalW, 0, kMaxWantedSize);
      PictureHeight = std::clamp(naturalH, 0, kMaxWantedSize);
    }
    SizeKnown = !missing;
  }
}

void TImageObj::SizeStandIn(gui::TCanvas* canvas) {
  if (WantedWidth >= 0 || WantedHeight >= 0) {
    StandInWidth = PictureWidth;
    StandInHeight = PictureHeight;
  } else if (!AltWide.empty() && canvas) {
    gui::TFont saved;
    saved.Assign(&canvas->Font());
    canvas->Font().SetName("Arial");
    canvas->Font().SetSize(8);
    std::u16string text = AltWide + u"\r\n";
    win::RECT r{0, 0, 0, 0};
    win::DrawTextW(canvas->Handle(), reinterpret_cast<const win::WCHAR*>(text.c_str()),
                   static_cast<int>(text.size()), &r, win::DT_CALCRECT);
    RestoreFont(*canvas, saved);
    StandInWidth = std::min(r.right + 26, kMaxWantedSize);
    StandInHeight = std::clamp(static_cast<int>(r.bottom), 24, kMaxWantedSize);
  } else {
    StandInWidth = std::max(PictureWidth, 24);
    StandInHeight = std::max(PictureHeight, 24);
  }
}

void TImageObj::ComputeSize(gui::TCanvas* canvas, TFontObj* run, int availableWidth, int availableHeight) {
  if (Document && Document->ShowImages && !Image && !Source.empty()) FetchImage();
  const bool hidden = Document && !Document->ShowImages;
  const bool missing = hidden || IsMissingPicture(Image);
  if (!SizeKnown || PercentSized()) SizePicture(availableWidth, availableHeight, missing);
  if (missing) {
    SizeStandIn(canvas);
    Place.ImageWidth = StandInWidth;
    Place.ImageHeight = StandInHeight;
  } else {
    Place.ImageWidth = PictureWidth;
    Place.ImageHeight = PictureHeight;
  }
  if (run && run->IsLink() && !BorderOff) BorderWidth = std::max(1, BorderWidth);
  if (BorderWidth > 0) {
    Place.ImageWidth += 2 * BorderWidth;
    Place.ImageHeight += 2 * BorderWidth;
  }
}

void TImageObj::DrawPicture(gui::TCanvas& canvas, int x, int y, gui::TBitmap* mask, gui::TObject* image) {
  try {
    const bool stock = image == ErrorPicture || image == WaitingPicture;
    if (auto* gp = dynamic_cast<images::TGpImage*>(image)) {
      if (Document && Document->Printing)
        images::RenderGpImageOnBackground(canvas, *gp, x, y, PictureWidth, PictureHeight, gui::clWhite);
      else
        images::RenderGpImageStretched(canvas.Handle(), *gp, x, y, PictureWidth, PictureHeight);
      return;
    }
    if (auto* gif = dynamic_cast<images::TGIFImage*>(image)) {
      gif->SetVisible(true);
      if (animation_) animation_->ShowIt = true;
      gif->DrawCurrentFrame(canvas, x, y, PictureWidth, PictureHeight);
      return;
    }
    auto* bitmap = dynamic_cast<gui::TBitmap*>(image);
    if (!bitmap || bitmap->Empty()) return;
    const int w = stock ? bitmap->Width() : PictureWidth;
    const int h = stock ? bitmap->Height() : PictureHeight;
    if (mask && (MaskKind != images::mkNone || image == ErrorPicture)) {
      if (Document && Document->Printing)
        images::DrawMaskedImage(canvas, x, y, w, h, bitmap, mask, 0, bitmap->Height());
      else
        images::BlitImageThroughMask(canvas.Handle(), bitmap, mask, x, y, w, h);
    } else if (stock) {
      win::BitBlt(canvas.Handle(), x, y, w, h, bitmap->Canvas().Handle(), 0, 0, win::SRCCOPY);
    } else if (Document && Document->Printing) {
      images::StretchBitmapAsDIB(canvas, x, y, w, h, bitmap->Handle());
    } else {
      const int oldMode = win::SetStretchBltMode(canvas.Handle(), win::COLORONCOLOR);
      win::StretchBlt(canvas.Handle(), x, y, w, h, bitmap->Canvas().Handle(), 0, 0, bitmap->Width(),
                      bitmap->Height(), win::SRCCOPY);
      win::SetStretchBltMode(canvas.Handle(), oldMode);
    }
  } catch (const std::exception&) {
    // A picture that cannot be drawn leaves its box empty.
  }
}

void TImageObj::DrawAltText(gui::TCanvas& canvas, TFontObj* run, int left, int top, int offset) {
  canvas.Font().SetColor(run && run->Font ? run->Font->Color() : gui::clWindowText);
  if (AltWide.empty()) return;
  canvas.TextExtent(std::u16string_view());  // the changed font goes into the DC
  DrawWrappedText(canvas, left + 24, top + offset, left + Place.ImageWidth - 2 * BorderWidth - 2,
                  top + Place.ImageHeight - 2 * BorderWidth - 1, AltWide.c_str(), static_cast<int>(AltWide.size()));
}

void TImageObj::Draw(gui::TCanvas* canvas, int x, TFontObj* run, int baselineY, int lineTopY) {
  if (!canvas) return;
  const int yOffset = Document ? Document->YOffset : 0;
  baselineY -= yOffset;
  lineTopY -= yOffset;
  const bool shown = !Document || Document->ShowImages;
  gui::TObject* img = shown ? Image : WaitingPicture;
  gui::TBitmap* mask = shown && dynamic_cast<gui::TBitmap*>(Image) ? Mask : nullptr;
  const bool missing = !shown || IsMissingPicture(img);
  gui::TFont saved;
  saved.Assign(&canvas->Font());
  canvas->Brush().SetStyle(gui::bsClear);
  canvas->Font().SetName("Arial");
  canvas->Font().SetSize(8);
  canvas->Font().SetStyle({});
  canvas->TextExtent(std::u16string_view());  // ALT text is drawn on the DC's font
  const int boxH = Place.ImageHeight;
  int top = TopY - yOffset;
  // Layout places a float at its own Y (below the line when the line had
  // text before it) and leaves that in TopY.
  if (Floats() && TopY != drawnTop_) floatTop_ = TopY;
  switch (Place.Align) {
    case kAlignTop: top = lineTopY + Place.VSpaceT; break;
    case kAlignFloatLeft:
    case kAlignFloatRight: top = floatTop_ - yOffset + Place.VSpaceT; break;
    case kAlignMiddle: {
      const int descent = run ? run->Descent : 0;
      const int tm = run ? run->tmHeight : 0;
      top = baselineY + descent - tm / 2 - (boxH + Place.VSpaceB - Place.VSpaceT) / 2;
      break;
    }
    case kAlignBaseline:
    case kAlignBottom: top = baselineY - boxH - Place.VSpaceB; break;
    default: break;
  }
  // The picture sits inside the border; the frames go round the whole box.
  // LeftX and TopY keep the box (border included): the section hit-tests the box.
  LeftX = x;
  const int pictureLeft = x + BorderWidth;
  const int pictureTop = top + BorderWidth;
  const int offset = missing ? kMissingOffset : 0;
  const int innerW = Place.ImageWidth - 2 * BorderWidth;
  const int innerH = boxH - 2 * BorderWidth;
  if (img && !(missing && (innerW <= kSmallestDrawnStandIn || innerH <= kSmallestDrawnStandIn)))
    DrawPicture(*canvas, pictureLeft + offset, pictureTop + offset, mask, img);
  TopY = top + yOffset;
  drawnTop_ = TopY;
  win::SetTextAlign(canvas->Handle(), 0);
  if (missing) DrawAltText(*canvas, run, pictureLeft, pictureTop, offset);
  if (missing && BorderWidth == 0 && Document) {
    DocumentFrame3D(Document, *canvas, pictureLeft, 1, false, pictureTop, pictureLeft + StandInWidth,
                    pictureTop + StandInHeight);
  }
  if (BorderWidth > 0) {
    gui::TPen& pen = canvas->Pen();
    const gui::TColor oldColor = pen.Color();
    const int oldWidth = pen.Width();
    const gui::TPenStyle oldStyle = pen.Style();
    pen.SetColor(run && run->Font ? run->Font->Color() : gui::clWindowText);
    pen.SetWidth(BorderWidth);
    pen.SetStyle(gui::psInsideFrame);
    canvas->Brush().SetStyle(gui::bsClear);
    canvas->Rectangle(x, top, x + Place.ImageWidth, top + boxH);
    pen.SetColor(oldColor);
    pen.SetWidth(oldWidth);
    pen.SetStyle(oldStyle);
  }
  if (run && run->Active && Document && !Document->IsCopy) DrawFocusFrame(*canvas, x, top);
  RestoreFont(*canvas, saved);
}

// The link holding the image has the keyboard focus: a dotted frame round the box.
void TImageObj::DrawFocusFrame(gui::TCanvas& canvas, int left, int top) {
  const win::HDC dc = canvas.Handle();
  const win::COLORREF oldText = win::SetTextColor(dc, 0);
  const win::RECT box{left, top, left + Place.ImageWidth, top + Place.ImageHeight};
  win::DrawFocusRect(dc, &box);
  win::SetTextColor(dc, oldText);
}

bool TImageObj::MapLinkAt(int innerX, int innerY, std::unique_ptr<TUrlTarget>& urlTarget, std::string& title) const {
  if (!ClientMap || !Document) return false;
  for (const auto& part : Document->MapList) {
    const auto* map = dynamic_cast<const TMapItem*>(part.get());
    if (map && map->MapName == MapName)
      return map->FindAreaAt(innerX - BorderWidth, innerY - BorderWidth, urlTarget, title);
  }
  return false;
}

void TImageObj::SetHoverState(int state) {
  auto* gif = dynamic_cast<images::TGIFImage*>(Image);
  if (!Active || !gif || state == HoverState || !Document) return;
  auto& list = Document->AGifList;
  if (state != 0) {
    if (gif->NumFrames() == 2) gif->SelectFrame(2);
    else if (gif->NumFrames() == 3) gif->SelectFrame(state == 2 ? 3 : 2);
    else if (animation_) {
      gif->SetAnimating(true);
      if (std::find(list.begin(), list.end(), animation_.get()) == list.end()) list.push_back(animation_.get());
    }
  } else {
    gif->SetAnimating(false);
    if (gif->NumFrames() <= 3) gif->SelectFrame(1);
    list.erase(std::remove(list.begin(), list.end(), animation_.get()), list.end());
  }
  HoverState = state;
  if (Document->PPanel) Document->PPanel->Invalidate();
}

}  // namespace engine
