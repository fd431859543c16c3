// TSectionList: the document root's lifecycle, layout, paint, timer and settings.
#include "engine/document/TSectionList.h"

#include <algorithm>

#include "engine/common/EngineStartup.h"
#include "engine/document/SaturatedMath.h"
#include "engine/css/TStyleList.h"
#include "engine/document/SelTextBuf.h"
#include "engine/document/TIDNameList.h"
#include "engine/html/ParseState.h"
#include "engine/text/TextMeasurer.h"
#include "platform/gui/GdiCalls.h"
#include "platform/gui/TCanvas.h"
#include "platform/gui/TTimer.h"
#include "platform/gui/TWinControl.h"

namespace engine {

namespace {

constexpr unsigned kFirstTickMs = 50;
constexpr unsigned kTickMs = 40;
constexpr std::size_t kMaxPreFontName = 32;
constexpr int kParkedLeft = -4000;

// Selects the display palette for a paint on a display of 8 bits or fewer and
// puts the previous one back when the paint ends, also after an exception.
class PaletteScope {
 public:
  explicit PaletteScope(gui::TCanvas* canvas) {
    if (canvas == nullptr || ScreenColorDepth > 8 || DisplayPalette == 0) return;
    dc_ = canvas->Handle();
    old_ = win::SelectPalette(dc_, DisplayPalette, 1);
    win::RealizePalette(dc_);
  }
  ~PaletteScope() {
    if (dc_ != 0) win::SelectPalette(dc_, old_, 1);
  }
  PaletteScope(const PaletteScope&) = delete;
  PaletteScope& operator=(const PaletteScope&) = delete;

 private:
  win::HDC dc_ = 0;
  win::HPALETTE old_ = 0;
};

}  // namespace

const std::array<double, 7> TSectionList::kBaseFontSizes = {8, 10, 12, 14, 18, 24, 36};

DocumentImageHooks& DefaultImageHooks() {
  static DocumentImageHooks hooks;
  return hooks;
}

const std::array<double, 7> TSectionList::kBasePreFontSizes = {7, 8, 10, 12, 15, 20, 30};

TSectionList::TSectionList(gui::TWinControl* viewer, gui::TWinControl* paintPanel)
    : TCell(this), TheOwner(viewer), PPanel(paintPanel) {
  IDNameList = std::make_unique<TIDNameList>(this);
  ImageHooks = DefaultImageHooks();
  Styles = std::make_unique<TStyleList>(&OverLinksActive);
  FontConv = kBaseFontSizes;
  PreFontConv = kBasePreFontSizes;
  Tag = FlowTag::Document;
  Links.PaintPanel = paintPanel;
  Links.AddTabStop = [this](int tabIndex, gui::TWinControl* control) { AddTabStop(tabIndex, control); };
  Links.RemoveTabStop = [this](gui::TWinControl* control) { RemoveTabStop(control); };
}

TSectionList::~TSectionList() { Clear(); }

std::unique_ptr<TSectionList> TSectionList::CreateCopy(const TSectionList& source) {
  auto copy = std::make_unique<TSectionList>(source.TheOwner, source.PPanel);
  copy->IsCopy = true;
  copy->Links.PaintPanel = nullptr;  // copies make no link tab stops
  copy->BitmapList = source.BitmapList;
  copy->InlineList = source.InlineList;
  copy->ShowImages = source.ShowImages;
  copy->Printing = source.Printing;
  copy->PrintBackground = source.PrintBackground;
  copy->PrintMonochrome = source.PrintMonochrome;
  copy->Tag = source.Tag;
  for (const auto& section : source) copy->AddSection(section->CreateCopy(copy.get()), 0);
  copy->YOffset = source.YOffset;
  copy->SelB = source.SelB;
  copy->SelE = source.SelE;
  copy->PreFontName = source.PreFontName;
  copy->LinkVisitedColor = source.LinkVisitedColor;
  copy->LinkActiveColor = source.LinkActiveColor;
  copy->HotSpotColor = source.HotSpotColor;
  copy->OverLinksActive = source.OverLinksActive;
  copy->Background = source.Background;
  copy->FontConv = source.FontConv;
  copy->PreFontConv = source.PreFontConv;
  copy->OnBackgroundChanged = source.OnBackgroundChanged;
  copy->ImageHooks = source.ImageHooks;
  return copy;
}

void TSectionList::Clear() {
  ++Generation;
  if (!IsCopy) {
    IDNameList->Clear();
    PositionList.clear();
    if (InlineList) InlineList->Clear();
  }
  BackgroundImageName.clear();
  BackgroundImageLoaded = false;
  BackgroundAnimation = nullptr;
  AGifList.clear();
  Timer.reset();
  SelB = SelE = 0;
  MapList.clear();
  MissingImages.clear();
  missingKeys_.clear();
  HoverLink = nullptr;
  HoverImage = nullptr;
  PanelList.clear();
  if (!IsCopy) Styles->Clear();
  TabList.clear();
  tabCount_ = 0;
  // The runs leave the link list as their sections are freed, after the tab
  // list (their stops need no look-up there); whatever the sections did not
  // free leaves after them.
  Links.BeginDissolve();
  TextSectionCount = 0;
  DrawList.clear();
  FirstLinePointer = nullptr;
  TCell::Clear();
  Links.Clear();
  htmlFormList.clear();
  FormControlList.clear();
}

void TSectionList::ClearControlLists() {
  PanelList.clear();
  FormControlList.clear();
}

void TSectionList::AddTabStop(int tabIndex, gui::TWinControl* control) {
  TabList.emplace(TabKey{tabIndex, tabCount_++}, control);
}

void TSectionList::RemoveTabStop(gui::TWinControl* control) {
  std::erase_if(TabList, [control](const auto& entry) { return entry.second == control; });
}

void TSectionList::AssignTabOrder() {
  // Keys order by TABINDEX, then by registration, at any count of stops.
  std::uint16_t counter = 0;
  for (const auto& [key, control] : TabList) {
    if (control == nullptr) continue;
    control->SetTabOrder(counter++);
  }
  TabList.clear();
}

void TSectionList::SetAnimationTimer(bool enabled) {
  // Only a change of state touches the timer: re-enabling restarts its period,
  // and frequent paints would otherwise keep animations from ever ticking.
  if (Timer && Timer->Enabled() != enabled) Timer->SetEnabled(enabled);
}

int TSectionList::LayoutContent(gui::TCanvas* canvas, int Y, int Width, int AHeight, int BlockHeight, int& MaxWidth,
                                int& Curs) {
  ++LayoutCycle;
  TableNestLevel = 0;
  InLogic2 = false;
  SetAnimationTimer(false);
  for (IDocumentControl* control : FormControlList) control->SizeFromFont(canvas);
  if (canvas != nullptr) win::SetTextJustification(canvas->Handle(), 0, 0);
  if (InlineList) InlineList->NeedsConverting();
  if (!IsCopy && !TabList.empty()) AssignTabOrder();
  int height = 0;
  {
    const TextMeasurer::Pass pass(canvas);
    height = TCell::LayoutContent(canvas, Y, Width, AHeight, BlockHeight, MaxWidth, Curs);
  }
  for (IAnimatedImage* image : AGifList) {
    image->SetAnimating(false);
    if (!IsCopy) image->SetAnimating(true);
  }
  if (!IsCopy && !Timer) {
    Timer = std::make_unique<gui::TTimer>(nullptr);
    Timer->SetEnabled(false);
    Timer->SetInterval(kFirstTickMs);
    Timer->OnTimer = [this](gui::TObject*) { AnimationTick(); };
  }
  SetAnimationTimer(!AGifList.empty());
  ShowParkedControls();
  if (!IsCopy && PositionList.empty()) BuildPositionList(PositionList);
  return height;
}

void TSectionList::AnimationTick() {
  if (IsCopy) return;
  int backgroundFrame = BackgroundAnimation != nullptr ? BackgroundAnimation->CurrentFrame() : 0;
  for (IAnimatedImage* image : AGifList)
    if (image->ShowIt) image->AdvanceAnimation(PPanel);
  if (BackgroundAnimation != nullptr && BackgroundAnimation->CurrentFrame() != backgroundFrame && PPanel != nullptr)
    PPanel->Invalidate();
  if (Timer) Timer->SetInterval(kTickMs);
}

void TSectionList::ShowParkedControls() {
  if (IsCopy || FormControlList.empty() || TheOwner == nullptr) return;
  for (gui::TControl* control = TheOwner; control != nullptr; control = control->Parent())
    if (!control->Visible()) return;
  for (IDocumentControl* control : FormControlList) {
    gui::TWinControl* window = control->WindowControl();
    if (control->ShownFlag || window == nullptr) continue;
    window->Show();
    window->SetLeft(kParkedLeft);
  }
}

int TSectionList::PaintContent(gui::TCanvas* canvas, const win::RECT& clipRect, int ClipWidth, int X, int Y,
                               int XRef, int YRef) {
  VisibleBottom = SatAdd(YOffset, clipRect.bottom);
  PageMoved = false;
  SkipDraw = false;
  TableNestLevel = 0;
  NoOutput = true;
  for (IAnimatedImage* image : AGifList) image->ShowIt = false;
  if (BackgroundAnimation != nullptr && !IsCopy) BackgroundAnimation->ShowIt = true;
  int bottom = 0;
  {
    PaletteScope palette(canvas);
    DrawList.clear();
    bottom = TCell::PaintContent(canvas, clipRect, ClipWidth, X, Y, XRef, YRef);
    for (const auto& deferred : DrawList) deferred->Draw(canvas);
  }
  if (YOffsetChange) {
    ShowParkedControls();
    for (IDocumentPanel* panel : PanelList)
      if (!panel->ShownFlag && panel->Panel() != nullptr) panel->Panel()->Hide();
    YOffsetChange = false;
  }
  SetAnimationTimer(!AGifList.empty());
  return bottom;
}

void TSectionList::SetYOffset(int Y) {
  YOffset = Y;
  YOffsetChange = true;
  ClearShownFlags();
}

void TSectionList::ClearShownFlags() {
  for (IDocumentControl* control : FormControlList) control->ShownFlag = false;
  for (IDocumentPanel* panel : PanelList) panel->ShownFlag = false;
}

void TSectionList::SetDocumentDefaults(const std::string& fontName, const std::string& preFontName, int fontSize,
                                       TColor fontColor, TColor hotSpotColor, TColor visitedColor,
                                       TColor overLinkColor, TColor background, bool overLinksActive,
                                       bool underlineLinks, int charset, int marginHeight, int marginWidth) {
  Styles->BuildDefaultStyleSheet(fontName, preFontName, fontSize, fontColor, hotSpotColor, visitedColor,
                                 overLinkColor, underlineLinks, charset, marginHeight, marginWidth);
  SetDocumentLooks(preFontName, fontSize, hotSpotColor, visitedColor, overLinkColor, background, overLinksActive);
}

void TSectionList::SetDocumentLooks(const std::string& preFontName, int fontSize, TColor hotSpotColor,
                                    TColor visitedColor, TColor overLinkColor, TColor background,
                                    bool overLinksActive) {
  // Scaled from constant tables each time, so repeated loads never compound.
  for (std::size_t i = 0; i < FontConv.size(); ++i) {
    FontConv[i] = kBaseFontSizes[i] * fontSize / 12.0;
    PreFontConv[i] = kBasePreFontSizes[i] * fontSize / 12.0;
  }
  PreFontName = preFontName.substr(0, kMaxPreFontName);
  HotSpotColor = hotSpotColor;
  LinkVisitedColor = visitedColor;
  LinkActiveColor = overLinkColor;
  OverLinksActive = overLinksActive;
  SetBackground(background);
}

void TSectionList::SetBackground(TColor color) {
  Background = color;
  if (OnBackgroundChanged) OnBackgroundChanged(this);
}

void TSectionList::SetBackgroundImage(const std::string& name, const TBackgroundPosition& position) {
  BackgroundImageName = name;
  BackgroundPos = position;
  BackgroundAnimation = nullptr;
  BackgroundImageLoaded = false;
}

void TSectionList::AddMissingImage(const std::string& key, TIDObject* object) {
  MissingImages.emplace_back(key, object);
  ++missingKeys_[key];
}

std::vector<TIDObject*> TSectionList::TakeMissingImages(const std::string& key) {
  std::vector<TIDObject*> taken;
  if (missingKeys_.erase(key) == 0) return taken;
  for (const auto& [name, object] : MissingImages)
    if (name == key) taken.push_back(object);
  std::erase_if(MissingImages, [&key](const auto& entry) { return entry.first == key; });
  return taken;
}

void TSectionList::ForgetMissingImage(TIDObject* object) {
  std::erase_if(MissingImages, [&](const auto& entry) {
    if (entry.second != object) return false;
    const auto count = missingKeys_.find(entry.first);
    if (count != missingKeys_.end() && --count->second <= 0) missingKeys_.erase(count);
    return true;
  });
}

TSectionBase* TSectionList::FindSectionAtPosition(int Y, int& ObjY, int& Index) const {
  for (int i = static_cast<int>(PositionList.size()) - 1; i >= 0; --i) {
    TSectionBase* section = PositionList[static_cast<std::size_t>(i)];
    const int top = section->GetDocumentY();
    if (top <= Y) {
      ObjY = top;
      Index = i;
      return section;
    }
  }
  return nullptr;
}

int TSectionList::CountSelectedChars() {
  if (SelB >= SelE) return 0;
  SelTextCount counter;
  CopyToSelectionBuffer(counter, SelB, SelE);
  return counter.Finish();
}

int TSectionList::CollectSelectedText(char16_t* Buffer, int BufferLength) {
  if (Buffer == nullptr || BufferLength < 1) return 0;
  Buffer[0] = 0;
  if (SelB >= SelE) return 0;
  SelTextBuf copier(Buffer, BufferLength);
  CopyToSelectionBuffer(copier, SelB, SelE);
  return copier.Finish();
}

int TSectionList::FindDocPos(int SourcePos, bool Previous) {
  int result = SourcePosToDocPos(SourcePos, Previous);
  return result < 0 ? CharCount : result;
}

bool TSectionList::FindCaretXY(gui::TCanvas* canvas, int Position, int& X, int& Y) {
  if (CharCount <= 0) return false;
  bool found = CursorToXY(canvas, std::min(Position, CharCount - 1), X, Y);
  if (found && Position >= CharCount) X += 15;
  return found;
}

void TSectionList::ConnectParseHooks(TParseState& state) {
  state.RegisterIdAnchor = [this](const std::string& id, int position) {
    IDNameList->AddPositionAnchor(id, position);
  };
  state.ReportProgress = [this](int percent) {
    if (OnProgress) OnProgress(percent);
  };
}

}  // namespace engine
