#include "viewer/TfvFrame.h"

#include <algorithm>
#include <exception>
#include <set>

#include "engine/common/DosFileNames.h"
#include "engine/html/BuildState.h"
#include "engine/html/FramesetReader.h"
#include "engine/html/TAttributeList.h"
#include "platform/gui/AnsiText.h"
#include "platform/gui/FileNames.h"
#include "platform/gui/StringFunctions.h"
#include "viewer/TFrameSet.h"
#include "viewer/TFrameViewer.h"
#include "viewer/THTMLViewer.h"
#include "viewer/TSubFrameSet.h"

namespace viewer {
namespace {

constexpr int kMaxFrameMargin = 10000;

// Text as it may stand inside markup.
std::string Escaped(const std::string& text) {
  std::string result;
  for (char ch : text) {
    switch (ch) {
      case '&': result += "&amp;"; break;
      case '<': result += "&lt;"; break;
      case '>': result += "&gt;"; break;
      case '"': result += "&quot;"; break;
      default: result += ch; break;
    }
  }
  return result;
}

bool IsAbsoluteName(const std::string& name) {
  return (!name.empty() && (name[0] == '/' || name[0] == '\\')) || name.find("://") != std::string::npos ||
         (name.size() > 1 && name[1] == ':');
}

}  // namespace

TfvFrame::TfvFrame(TSubFrameSet* AOwner, const std::string& Path, TFrameSet* MasterSet,
                   const engine::TAttributeList* Attributes)
    : TFrameBase(AOwner, MasterSet) {
  TFrameViewer& fv = MasterSet->FrameViewer();
  marginWidth_ = fv.MarginWidth();
  marginHeight_ = fv.MarginHeight();
  if (AOwner->BorderSize() != 0) {
    SetBevelOuter(gui::bvLowered);
    SetBevelWidth(AOwner->BorderSize());
  } else {
    SetBevelOuter(gui::bvNone);
  }
  if (Attributes) ReadAttributes(*Attributes, Path);
  masterSet_->RegisterFrameName(frameName_, this);
}

TfvFrame::~TfvFrame() {
  if (!detached_) {
    masterSet_->UnregisterFrame(this);
    masterSet_->RemoveHistoryFrame(this);
  }
  // Sets kept by history entries besides the one shown: each freed once.
  std::set<TSubFrameSet*> kept;
  for (int i = 0; i < historyNames_.Count(); ++i) {
    if (TSubFrameSet* set = HistorySet(i); set && set != nestedSet_) kept.insert(set);
  }
  historyNames_.Clear();
  FreeViewer();
  FreeNestedSet();
  for (TSubFrameSet* set : kept) delete set;
}

void TfvFrame::ReadAttributes(const engine::TAttributeList& Attributes, const std::string& Path) {
  for (const auto& attribute : Attributes) {
    switch (attribute->Symbol) {
      case engine::symName: frameName_ = attribute->ValueText; break;
      case engine::symSrc: {
        std::string name = gui::Trim(attribute->ValueText);
        const std::size_t hash = name.find('#');
        if (hash != std::string::npos) {
          Destination = name.substr(hash);
          name.resize(hash);
        }
        Source = InitialSource = ResolveSource(name, Path);
        break;
      }
      case engine::symNoresize: noResize_ = true; break;
      case engine::symScrolling: noScrolling_ = gui::AnsiSameText(attribute->ValueText, "no"); break;
      case engine::symMarginwidth: marginWidth_ = std::clamp(attribute->Value, 0, kMaxFrameMargin); break;
      case engine::symMarginheight: marginHeight_ = std::clamp(attribute->Value, 0, kMaxFrameMargin); break;
      default: break;
    }
  }
}

std::string TfvFrame::ResolveSource(const std::string& Name, const std::string& Path) const {
  if (masterSet_->HasRequestEvents() || Name.empty()) return Name;
  std::string name = engine::UrlToDosFileNameWithRoot(Name, masterSet_->FrameViewer().ServerRoot());
  if (IsAbsoluteName(name)) return name;
  const std::string& base = engine::buildState.Head.Base;  // the BASE of the frameset being read
  if (base.empty()) return gui::ExtractFilePath(Path) + name;
  if (gui::AnsiSameText(base, "DosPath")) return gui::ExpandFileName(name);
  return gui::ExtractFilePath(engine::UrlToDosFileName(base)) + name;
}

void TfvFrame::CreateFrameViewer() {
  TFrameViewer& fv = masterSet_->FrameViewer();
  viewer_ = new THTMLViewer(this);
  viewer_->SetBounds(0, 0, ClientWidth(), ClientHeight());
  viewer_->SetAlign(gui::alClient);
  if (masterSet_->BorderSize() == 0 || (fv.fvOptions() & (fvNoFocusRect | fvNoBorder))) {
    viewer_->SetBorderStyle(htNone);
  }
  if (noScrolling_) viewer_->SetScrollBars(gui::ssNone);
  viewer_->SetCharSet(localCharSet_);
  fv.ApplySettings(*viewer_);
  viewer_->SetMarginWidth(marginWidth_);
  viewer_->SetMarginHeight(marginHeight_);
  viewer_->OnEnter = [master = masterSet_](gui::TObject* Sender) { master->ViewerEntered(Sender); };
  viewer_->SetInFrame(true);
  viewer_->OnHotSpotClick = [&fv](gui::TObject* Sender, const std::string& SRC, bool& Handled) {
    fv.HotSpotClickHandler(Sender, SRC, Handled);
  };
  viewer_->OnHotSpotCovered = [&fv](gui::TObject* Sender, const std::string& SRC) {
    fv.HotSpotCoveredHandler(Sender, SRC);
  };
  viewer_->OnMetaRefresh = [this](gui::TObject* Sender, int Delay, const std::string& URL) {
    MetaRefreshRequest(Sender, Delay, URL);
  };
  viewer_->SetTabStop(true);
  viewer_->SetParent(this);
  viewer_->SendToBack();
  masterSet_->AddViewer(viewer_);
}

void TfvFrame::LoadContent(const TDocRequest* Request) { LoadContent(Request, TLoadFailure::ShowErrorPage); }

void TfvFrame::LoadContent(const TDocRequest* Request, TLoadFailure OnFailure, const TDocRequest* NoFramesetIn) {
  TFrameSet& master = *masterSet_;
  if ((Source.empty() && !Request) || master.NestingDepth >= kMaxFrameDocumentNesting) {
    // An empty frame shows nothing; the host's mouse handlers serve it.
    const TFrameViewer& fv = master.FrameViewer();
    OnMouseDown = fv.OnMouseDown;
    OnMouseMove = fv.OnMouseMove;
    OnMouseUp = fv.OnMouseUp;
    return;
  }
  if (LoadDocument(Request, OnFailure, NoFramesetIn)) StartHistory(Source, viewer_ ? viewer_->VerticalPosition() : 0);
}

bool TfvFrame::LoadDocument(const TDocRequest* Request, TLoadFailure OnFailure, const TDocRequest* NoFramesetIn) {
  TFrameSet& master = *masterSet_;
  // A frame's document may hold a set whose frames load documents in turn: the
  // depth counts the loads under way, however this one ends.
  struct NestingScope {
    int& depth;
    explicit NestingScope(int& counter) : depth(++counter) {}
    ~NestingScope() { --depth; }
  } nesting(master.NestingDepth);
  TFrameViewer& fv = master.FrameViewer();
  const bool requests = master.HasRequestEvents();
  const bool image = !requests && IsImageFileName(Source);
  const bool text = !requests && IsTextFileName(Source);
  TDocRequest own;
  if (!Request && !image && !text && master.RequestDocument(Source, own)) Request = &own;
  const std::string fileName = Request ? Request->FileName : fv.ExpandDocumentName(Source);
  const bool fromString = Request && Request->FromString;
  const std::string noText;
  const std::string& sourceText = fromString ? Request->Text : noText;
  const bool noFrameset = NoFramesetIn && NoFramesetIn->FromString == fromString &&
                          (fromString ? Request == NoFramesetIn : fileName == NoFramesetIn->FileName);
  try {
    if (!image && !text && !noFrameset && engine::IsFramesetSource(fromString, fileName, sourceText)) {
      nestedSet_ = new TSubFrameSet(this, masterSet_);
      nestedSet_->SetBounds(0, 0, ClientWidth(), ClientHeight());
      nestedSet_->SetAlign(gui::alClient);
      nestedSet_->SetParent(this);
      nestedSet_->SendToBack();
      engine::ParseFramesetSource(fv, nestedSet_, fromString, fv.FrameSetMetaHandler(nestedSet_), fileName,
                                  sourceText);
      SetBevelOuter(gui::bvNone);
      nestedSet_->LoadContent(nullptr);
      bool first = false, last = false;
      nestedSet_->GetNoResize(first, last);
      if (nestedSet_->RefreshDelay > 0) nestedSet_->StartRefreshTimer();
      return true;
    }
    CreateFrameViewer();
    viewer_->SetBaseHref(master.BaseUrl);
    if (image) {
      viewer_->OpenImageFile(fileName);
    } else if (text) {
      viewer_->OpenTextFile(fileName);
    } else if (fromString) {
      viewer_->LoadSourceString(Request->Text, Source);
      if (Destination.size() > 1) viewer_->ScrollToAnchor(Destination.substr(1));
    } else {
      viewer_->OpenHtmlFile(fileName + Destination);
    }
  } catch (const std::exception& error) {
    FreeNestedSet();
    ShowErrorPage(fileName);
    if (OnFailure == TLoadFailure::Raise) throw EfvLoadError("Can't load " + fileName + ": " + error.what());
    return false;
  }
  return true;
}

void TfvFrame::ShowErrorPage(const std::string& FileName) {
  try {
    if (!viewer_) CreateFrameViewer();
    const std::string page = "<p><img src=\"qw%&.bmp\" alt=\"Error\"> Can't load " + Escaped(FileName);
    viewer_->LoadSourceBuffer(page.data(), static_cast<long long>(page.size()), "");
  } catch (const std::exception&) {
    // The frame stays as it is; a frame's failure never reaches the caller.
  }
}

void TfvFrame::UnloadContent() {
  StopRefreshTimer();
  if (nestedSet_) {
    nestedSet_->UnloadContent();
  } else if (viewer_) {
    savedPosition_ = viewer_->VerticalPosition();
    savedFormData_ = viewer_->GetFormData();
    viewer_->Clear();
    viewer_->OnSoundRequest = nullptr;
  }
  unloaded_ = true;
}

void TfvFrame::ReloadContent(int Position) {
  if (Source.empty()) return;
  if (nestedSet_) {
    nestedSet_->ReloadContent(Position);
    bool first = false, last = false;
    nestedSet_->GetNoResize(first, last);
  } else if (viewer_) {
    TFrameSet& master = *masterSet_;
    viewer_->SetBaseHref(master.BaseUrl);
    viewer_->OnSoundRequest = master.FrameViewer().OnSoundRequest;
    try {
      TDocRequest request;
      const bool requests = master.HasRequestEvents();
      if (!requests && IsImageFileName(Source)) viewer_->OpenImageFile(Source);
      else if (!requests && IsTextFileName(Source)) viewer_->OpenTextFile(Source);
      else if (master.RequestDocument(Source, request) && request.FromString) viewer_->LoadSourceString(request.Text, Source);
      else viewer_->OpenHtmlFile(request.FileName.empty() ? Source : request.FileName);
      viewer_->SetVerticalPosition(Position < 0 ? savedPosition_ : Position);
      if (savedFormData_) viewer_->SetFormData(savedFormData_.get());
      savedFormData_.reset();
    } catch (const std::exception&) {
      ShowErrorPage(Source);
    }
  }
  unloaded_ = false;
}

void TfvFrame::ComputeFrameSizes(int Left, int Top, int Width, int Height) {
  if (nestedSet_) nestedSet_->ComputeFrameSizes(Left, Top, Width, Height);
}

bool TfvFrame::GetNoResize(bool& First, bool& Last) {
  if (nestedSet_) return nestedSet_->GetNoResize(First, Last);
  First = Last = noResize_;
  return noResize_;
}

void TfvFrame::Repaint() {
  if (viewer_) viewer_->Repaint();
  else if (nestedSet_) nestedSet_->Repaint();
  TFrameBase::Repaint();
}

TSubFrameSet* TfvFrame::ParentSet() const { return dynamic_cast<TSubFrameSet*>(Owner()); }

void TfvFrame::FrameMouseDown(gui::TControl* Sender, gui::TMouseButton Button, gui::TShiftState Shift, int X,
                              int Y) {
  if (TSubFrameSet* set = ParentSet()) set->FrameMouseDown(Sender, Button, Shift, X + Left(), Y + Top());
}

void TfvFrame::FrameMouseMove(gui::TControl* Sender, gui::TShiftState Shift, int X, int Y) {
  if (TSubFrameSet* set = ParentSet(); set && !noResize_) set->FrameMouseMove(Sender, Shift, X + Left(), Y + Top());
}

void TfvFrame::FrameMouseUp(gui::TControl* Sender, gui::TMouseButton Button, gui::TShiftState Shift, int X,
                            int Y) {
  if (TSubFrameSet* set = ParentSet()) set->FrameMouseUp(Sender, Button, Shift, X + Left(), Y + Top());
}

void TfvFrame::FreeNestedSet() {
  delete nestedSet_;
  nestedSet_ = nullptr;
}

void TfvFrame::FreeViewer() {
  if (!viewer_) return;
  if (!detached_) masterSet_->RemoveViewer(viewer_);
  delete viewer_;
  viewer_ = nullptr;
}

}  // namespace viewer
