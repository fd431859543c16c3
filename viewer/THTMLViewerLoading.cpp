// Getting a document in: files by kind, text in memory, the parse, the steps
// after it, anchors, name expansion and clearing.
#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/common/DosFileNames.h"
#include "engine/common/TextHelpers.h"
#include "engine/document/TIDNameList.h"
#include "engine/document/TSectionList.h"
#include "engine/html/DocumentParser.h"
#include "engine/objects/DocumentImages.h"
#include "images/TStringBitmapList.h"
#include "platform/gui/AnsiText.h"
#include "platform/gui/FileFunctions.h"
#include "platform/gui/FileNames.h"
#include "platform/gui/StringFunctions.h"
#include "platform/gui/TScreen.h"
#include "platform/gui/WholeFile.h"
#include "viewer/THTMLViewer.h"

namespace viewer {

namespace {

struct NameAndAnchor {
  std::string name;
  std::string anchor;
};

NameAndAnchor SplitAtHash(const std::string& reference) {
  const std::size_t hash = reference.find('#');
  if (hash == std::string::npos) return {reference, {}};
  return {reference.substr(0, hash), reference.substr(hash + 1)};
}

// The one-element document that shows an image file. The name is escaped so
// that the lexer hands the exact name back, quotes and ampersands included.
std::string ImageMarkup(const std::string& fileName) {
  std::string markup = "<img src=\"";
  for (char c : fileName) {
    if (c == '&') {
      markup += "&amp;";
    } else if (c == '"') {
      markup += "&quot;";
    } else {
      markup += c;
    }
  }
  markup += "\">";
  return markup;
}

std::string ReadSource(const std::string& fileName) {
  std::string text;
  if (!gui::ReadWholeFile(fileName, text, gui::TFileKind::Page)) throw EInOutError("Can't read file: " + fileName);
  return text;
}

bool IsAbsoluteName(const std::string& name) { return !name.empty() && (name[0] == '/' || name[0] == '\\'); }

}  // namespace

// Loads are refused while busy here too: a handler that loads from inside a
// parse would otherwise clear the document being built, and one inside a form
// control's event the control still running.
void THTMLViewer::LoadFileOfType(const std::string& FileName, int Kind) {
  if (LoadRefused()) return;
  const gui::TCursor oldCursor = gui::Screen->Cursor();
  gui::Screen->SetCursor(gui::crHourGlass);
  const NameAndAnchor parts = SplitAtHash(FileName);
  refreshDelay_ = 0;
  SetBusy(true);
  auto finish = [&] {
    gui::Screen->SetCursor(oldCursor);
    Progress(psEnding, 100);
    SetBusy(false);
  };
  try {
    if (!gui::FileExists(parts.name)) throw EInOutError("Can't locate file: " + parts.name);
    Progress(psStarting, 0);
    paintSuppressed_ = true;
    const std::string oldName = shownFileName_;
    try {
      PrepareDocument();
      caretPos_ = 0;
      mouseAnchor_ = -1;
      shownFileName_ = gui::ExpandFileName(parts.name);
      sourceKind_ = Kind;
      sourceText_ = Kind == kImageKind ? std::string() : ReadSource(parts.name);
      // The handler may change the text it is given; an image document keeps none.
      if (OnParseBegin) {
        std::string ignored;
        OnParseBegin(this, Kind == kImageKind ? ignored : sourceText_);
      }
      Parse(Kind, parts.name);
    } catch (...) {
      if (!head_) head_ = std::make_unique<engine::TDocumentHead>();
      FinishLoad(parts.anchor, oldName);
      throw;
    }
    FinishLoad(parts.anchor, oldName);
  } catch (...) {
    finish();
    throw;
  }
  finish();
  RefreshStep();
}

void THTMLViewer::Parse(int Kind, const std::string& FileName) {
  head_ = std::make_unique<engine::TDocumentHead>();
  if (Kind == kTextKind) {
    engine::ParsePlainText(sourceText_, *root_, this);
    return;
  }
  StopSound();
  if (Kind == kImageKind) {
    *head_ = engine::ParseHtmlSource(ImageMarkup(FileName), *root_, this);
    return;
  }
  engine::TParseHandlers handlers;
  handlers.OnLink = OnLink;
  handlers.OnMeta = [this](gui::TObject* Sender, const std::string& HttpEq, const std::string& Name,
                           const std::string& Content) { HandleMetaElement(Sender, HttpEq, Name, Content); };
  handlers.OnSoundRequest = OnSoundRequest;
  handlers.OnInclude = OnInclude;
  handlers.OnScript = OnScript;
  *head_ = engine::ParseHtmlSource(sourceText_, *root_, this, handlers);
}

// The after-parse step, then the place: the anchor, or the top for a new document.
void THTMLViewer::FinishLoad(const std::string& Anchor, const std::string& OldName) {
  try {
    AfterParse(*head_);
    FlagVisitedLinks();
  } catch (...) {
    paintSuppressed_ = false;
    paintPanel_->Invalidate();
    throw;
  }
  if ((Anchor.empty() || !ScrollToAnchor(Anchor)) && (shownFileName_.empty() || shownFileName_ != OldName)) {
    SetVerticalPosition(0);
    SetHorizontalPosition(0);
  }
  paintSuppressed_ = false;
  paintPanel_->Invalidate();
}

void THTMLViewer::LoadSourceBuffer(const char* Buffer, long long Size, const std::string& Reference) {
  if (Size > 0 && !Buffer) throw EInOutError("No source buffer");
  const std::string source = Size > 0 ? std::string(Buffer, static_cast<std::size_t>(Size)) : std::string();
  if (ShowSource(source, Reference, false)) RefreshStep();
}

void THTMLViewer::LoadSourceString(const std::string& Source, const std::string& Reference) {
  if (ShowSource(Source, Reference, false)) RefreshStep();
}

bool THTMLViewer::ShowSource(const std::string& Source, const std::string& Reference, bool IsText) {
  if (LoadRefused()) return false;
  SetBusy(true);
  refreshDelay_ = 0;
  const NameAndAnchor parts = SplitAtHash(Reference);
  paintSuppressed_ = true;
  auto finish = [&] {
    Progress(psEnding, 100);
    SetBusy(false);
    paintSuppressed_ = false;
  };
  try {
    const std::string oldName = shownFileName_;
    // An empty reference stays empty rather than becoming the current folder.
    shownFileName_ = parts.name.empty() ? std::string() : ExpandDocumentName(parts.name);
    sourceKind_ = IsText ? kTextKind : kHtmlKind;
    Progress(psStarting, 0);
    PrepareDocument();
    caretPos_ = 0;
    mouseAnchor_ = -1;
    StopSound();
    sourceText_ = Source;
    if (OnParseBegin) OnParseBegin(this, sourceText_);
    try {
      Parse(sourceKind_, shownFileName_);
    } catch (...) {
      if (!head_) head_ = std::make_unique<engine::TDocumentHead>();
      FinishLoad(parts.anchor, oldName);
      throw;
    }
    FinishLoad(parts.anchor, oldName);
  } catch (...) {
    finish();
    throw;
  }
  finish();
  return true;
}

void THTMLViewer::PrepareDocument() {
  if (!root_->BitmapList) {
    ownedCache_ = std::make_unique<images::TStringBitmapList>();
    ownedCache_->SetCacheLimit(imageCacheCount_);
    cache_ = ownedCache_.get();
    root_->BitmapList = cache_;
  }
  root_->Clear();
  if (cache_) cache_->AgeAndPurge();
  ApplyDocumentDefaults();
}

void THTMLViewer::ApplyDocumentDefaults(DefaultSheet sheet) {
  const bool overLinksActive = (options_ & htOverLinksActive) != 0;
  if (sheet == DefaultSheet::Build) {
    root_->SetDocumentDefaults(defFontName_, defPreFontName_, defFontSize_, defFontColor_, defHotSpotColor_,
                               defVisitedLinkColor_, defOverLinkColor_, defBackground_, overLinksActive,
                               (options_ & htNoLinkUnderline) == 0, charSet_, marginHeight_, marginWidth_);
  } else {
    root_->SetDocumentLooks(defPreFontName_, defFontSize_, defHotSpotColor_, defVisitedLinkColor_,
                            defOverLinkColor_, defBackground_, overLinksActive);
  }
  paintPanel_->SetColor(root_->Background);
}

void THTMLViewer::AfterParse(const engine::TDocumentHead& Head) {
  titleText_ = Head.Title;
  baseHref_ = Head.Base.empty() ? callerBase_ : Head.Base;
  baseTargetName_ = Head.BaseTarget;
  if (OnParseEnd) OnParseEnd(this);
  const bool wasSuppressed = paintSuppressed_;
  paintSuppressed_ = true;
  try {
    LoadBackgroundImage();
    LayoutDocument();
  } catch (...) {
    paintSuppressed_ = wasSuppressed;
    throw;
  }
  paintSuppressed_ = wasSuppressed;
}

// The background image goes into the image cache, where the paint panel finds it.
void THTMLViewer::LoadBackgroundImage() { engine::GetBackgroundImage(*root_); }

void THTMLViewer::StopSound() {
  if (OnSoundRequest) OnSoundRequest(this, std::string(), 0, true);
}

void THTMLViewer::RefreshStep() {
  if (refreshDelay_ > 0 && OnMetaRefresh) OnMetaRefresh(this, refreshDelay_, refreshUrl_);
}

bool THTMLViewer::ScrollToAnchor(const std::string& Name) {
  std::string name = Name;
  if (!name.empty() && name[0] == '#') name.erase(0, 1);
  if (name.empty()) return false;
  engine::TIDObject* object = root_->IDNameList->Find(name);
  if (!object) return false;
  ScrollVertically(object->GetDocumentY());
  SetHorizontalPosition(0);
  AddVisited(shownFileName_ + "#" + name);
  return true;
}

std::string THTMLViewer::ExpandDocumentName(const std::string& Name) {
  const std::size_t protocol = Name.find("://");
  if (protocol != std::string::npos && protocol > 0 && engine::LowerCase(Name).find("file://") == std::string::npos) {
    return Name;
  }
  std::string result = engine::UrlToDosFileNameWithRoot(gui::Trim(Name), serverRoot_);
  if (IsAbsoluteName(result)) return gui::ExpandFileName(result);
  if (gui::AnsiCompareText(baseHref_, "DosPath") == 0) return result;
  const std::string base = baseHref_.empty() ? shownFileName_ : engine::UrlToDosFileName(baseHref_);
  return gui::ExpandFileName(gui::ExtractFilePath(base) + result);
}

void THTMLViewer::Clear() {
  if (LoadRefused()) return;
  mouseTimer_->SetEnabled(false);
  root_->Clear();
  if (ownedCache_) ownedCache_->Clear();
  // A cleared viewer parses nothing: the next load builds the sheet it parses with
  // (PrepareDocument), as a new viewer's first load does.
  ApplyDocumentDefaults(DefaultSheet::Later);
  // Swapped out, not cleared: clear() would keep the old document's buffers.
  std::string().swap(baseHref_);
  std::string().swap(callerBase_);
  std::string().swap(baseTargetName_);
  std::u16string().swap(titleText_);
  std::string().swap(sourceText_);
  head_.reset();  // read by the load alone
  documentHeight_ = 0;
  documentWidth_ = 0;
  vScrollBar_->SetScrollValues(0, vScrollBar_->Page32(), 0, 0);
  vScrollBar_->SetVisible(false);
  vScrollBar_->SetHeight(paintPanel_->Height());
  hScrollBar_->SetVisible(false);
  caretPos_ = 0;
  mouseAnchor_ = -1;
  StopSound();
  Invalidate();
}

void THTMLViewer::SetBaseHref(const std::string& Value) {
  baseHref_ = Value;
  callerBase_ = Value;
}

// A shared cache replaces one of our own only after the root let go of its images.
void THTMLViewer::SetSharedImageCache(images::TStringBitmapList* Cache) {
  if (ownedCache_) {
    root_->Clear();
    ownedCache_.reset();
  }
  cache_ = Cache;
  root_->BitmapList = Cache;
}

bool THTMLViewer::InsertImage(const std::string& Src, gui::TMemoryStream& Stream) {
  if (!engine::InsertImage(*root_, Src, Stream)) return false;
  Relayout();
  Invalidate();
  return true;
}

}  // namespace viewer
