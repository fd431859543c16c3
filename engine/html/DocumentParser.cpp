#include "engine/html/DocumentParser.h"

#include <algorithm>
#include <exception>
#include <memory>

#include "engine/common/EngineStartup.h"
#include "engine/common/TextHelpers.h"
#include "engine/css/CssColors.h"
#include "engine/css/TStyleList.h"
#include "engine/document/TBodyBlock.h"
#include "engine/document/TSectionList.h"
#include "engine/html/Charsets.h"
#include "engine/html/DocumentBuilder.h"
#include "engine/html/HeadElements.h"
#include "engine/html/HtmlLexer.h"
#include "engine/html/InputPreparation.h"
#include "engine/html/TNestedParseGuard.h"
#include "engine/text/TPreFormated.h"
#include "engine/text/TSection.h"
#include "platform/gui/AnsiText.h"

namespace engine {
namespace {

constexpr int kMaxBodyMargin = 200;
// A byte-order mark is dropped; positions still count from the document's first byte.
constexpr int kPositionAfterByteOrderMark = 2;

// Converts the document to Shift_JIS once, when META or FONT names EUC-JP.
void ConvertDocumentOnce() {
  if (buildState.JapaneseConverted || !buildState.DocumentParse) return;
  buildState.JapaneseConverted = true;
  ConvertEucJpToShiftJis(parseState.DocumentText);
  // The character already read may have been a converted byte.
  if (parseState.InputMode == TInputMode::Document && parseState.DocumentPosition > 0 && parseState.Ch >= 0x80) {
    parseState.Ch = static_cast<unsigned char>(parseState.DocumentText[parseState.DocumentPosition - 1]);
    parseState.UpperCh = parseState.Ch;
  }
}

// Set-up and cleanup of one document parse; the cleanup also runs when the
// parse ends by an exception.
class TParseSession {
 public:
  TParseSession(std::string text, TSectionList& root, TParseViewer* viewer);
  ~TParseSession();
  TParseSession(const TParseSession&) = delete;
  TParseSession& operator=(const TParseSession&) = delete;

  void Rewind();

 private:
  void PrepareText(std::string& text, TProperties& bottom);
  bool byteOrderMark_ = false;
};

TParseSession::TParseSession(std::string text, TSectionList& root, TParseViewer* viewer) {
  if (TNestedParseGuard::Depth() <= 1) ResetParseState();
  buildState = TBuildState();
  buildState.Root = &root;
  buildState.Viewer = viewer ? viewer : &NoViewer();
  buildState.Styles = root.Styles.get();
  buildState.DocumentParse = true;
  buildState.FontSizes = root.FontConv;
  buildState.PreFontSizes = root.PreFontConv;

  auto bottom = std::make_unique<TProperties>();
  if (root.Styles->DefProp) bottom->CopyDefault(*root.Styles->DefProp);
  PrepareText(text, *bottom);
  parseState.PropStack.Clear();
  parseState.PropStack.Add(std::move(bottom));
  buildState.Elements.Reset(root.Styles.get());
  buildState.Viewer->SetCodePage(CurrentCodePage());

  SetDocumentText(std::move(text));
  if (byteOrderMark_) parseState.SourcePosition = kPositionAfterByteOrderMark;
  parseState.Sender = buildState.Viewer->Sender();
  root.ConnectParseHooks(parseState);
  ConvertDocumentFromEucJp = ConvertDocumentOnce;

  auto body = std::make_unique<TBodyBlock>(&root, TopProperties(), &root, nullptr);
  buildState.BodyBlock = body.get();
  root.AddSection(std::move(body), parseState.TagStartPosition);
  buildState.CurrentCell = &*buildState.BodyBlock->MyCell;
  OpenSection();
}

void TParseSession::PrepareText(std::string& text, TProperties& bottom) {
  ReplaceZeroBytes(text);
  if (StripUtf8ByteOrderMark(text)) {
    byteOrderMark_ = true;
    bottom.SetUtf8();
    buildState.Utf8 = true;
  } else if (HasIso2022JpEscapes(text)) {
    text = ConvertIso2022JpToShiftJis(text);
    buildState.JapaneseConverted = true;
    bottom.SetCharset(kCharsetShiftJis);
  }
}

void TParseSession::Rewind() {
  SetDocumentText(std::move(parseState.DocumentText));
  if (byteOrderMark_) parseState.SourcePosition = kPositionAfterByteOrderMark;
}

TParseSession::~TParseSession() {
  try {
    parseState.Attributes.Clear();
    CloseSection();
  } catch (const std::exception&) {
    buildState.CurrentSection.reset();
  }
  buildState.Elements.Reset(nullptr);
  parseState.PropStack.Clear();
  ReleaseDocumentText();
  parseState.RegisterIdAnchor = nullptr;
  parseState.ReportProgress = nullptr;
  parseState.OnInclude = nullptr;
  parseState.Sender = nullptr;
  buildState = TBuildState();
}

// The lexer raises at an open comment while it is inside a text run; the run
// read so far still belongs to the document.
void KeepUnfinishedTextRun() {
  try {
    if (parseState.TextBytes.Size() > 0) {
      parseState.Token->AppendBytes(parseState.TextBytes, CurrentCodePage());
      parseState.TextBytes.Clear();
    }
    if (parseState.Token->Count() > 0 && buildState.CurrentCell) {
      EnsureSection().AppendTextRun(*parseState.Token, TopProperties(), buildState.NoWrap);
    }
    parseState.Token->Clear();
  } catch (const std::exception&) {
  }
  parseState.Symbol = symEndOfInput;
}

void SetRootLinkCount(TSectionList& root, int count) { root.Links.ManyLinks = count > kManyLinks; }

}  // namespace

int CountLinks(int limit) {
  int count = 0;
  NextSymbol();
  while (parseState.Symbol != symEndOfInput && count <= limit) {
    if (parseState.Symbol == symA && HasAttribute(symHref)) ++count;
    NextSymbol();
  }
  return count;
}

TDocumentHead ParseHtmlSource(const std::string& source, TSectionList& root, TParseViewer* viewer,
                              const TParseHandlers& handlers) {
  TNestedParseGuard guard;
  TDocumentHead head;
  TParseSession session(source, root, viewer);

  parseState.CountingPass = true;
  int links = 0;
  try {
    NextCharSkippingMarkup();
    links = CountLinks(kManyLinks);
  } catch (const std::exception&) {
    // What was counted stands.
  }
  SetRootLinkCount(root, links);
  session.Rewind();

  parseState.OnInclude = handlers.OnInclude;
  buildState.OnLink = handlers.OnLink;
  buildState.OnMeta = handlers.OnMeta;
  buildState.OnSoundRequest = handlers.OnSoundRequest;
  buildState.OnScript = handlers.OnScript;
  try {
    NextCharSkippingMarkup();
    NextSymbol();
    ParseBody(TSymbolSet{});
  } catch (const std::exception&) {
    // A comment left open at the end, or any other failure: the document keeps what was built.
    KeepUnfinishedTextRun();
  }
  head = buildState.Head;
  return head;
}

void ParsePlainText(const std::string& source, TSectionList& root, TParseViewer* viewer) {
  TNestedParseGuard guard;
  TParseSession session(source, root, viewer);
  parseState.RawMode = true;
  NextChar();
  buildState.CurrentSection.reset();  // the set-up's section would hold nothing
  PushTag("pre");
  auto block = std::make_unique<TBlock>(&root, TopProperties(), buildState.CurrentCell, &parseState.Attributes);
  TBlock* added = block.get();
  buildState.CurrentCell->AddSection(std::move(block), parseState.TagStartPosition);
  TCellBasic* outer = buildState.CurrentCell;
  buildState.CurrentCell = &*added->MyCell;
  auto openLine = [&] {
    buildState.CurrentSection = std::make_unique<TPreFormated>(&root, &buildState.LinkTarget, TopProperties(), nullptr);
  };
  TCharCollection bytes;
  TokenObj token;
  auto flush = [&] {
    token.Clear();
    token.AppendBytes(bytes, CurrentCodePage());
    bytes.Clear();
    if (token.Count() > 0) buildState.CurrentSection->AppendTextRun(token, TopProperties(), false);
  };
  openLine();
  while (parseState.Ch != 0) {
    if (parseState.Ch == '\r') {
      flush();
      CloseSection();
      openLine();
    } else {
      // Flushed only before a byte that cannot continue a multi-byte character.
      if (bytes.Size() > 200 && parseState.Ch < 0x40) flush();
      bytes.Add(static_cast<char>(parseState.Ch), parseState.SourcePosition);
    }
    NextChar();
  }
  flush();
  CloseSection();
  PopTag("pre");
  buildState.CurrentCell = outer;
}

void ReadBodyElement() {
  TCellBasic* bodyCell = &*buildState.BodyBlock->MyCell;
  if (buildState.BodySeen || bodyCell->Count() > 0 || buildState.TableNesting > 0 ||
      buildState.CurrentCell != bodyCell) {
    NextSymbol();
    return;
  }
  TSectionList& root = *buildState.Root;
  // Text read before BODY moves into the new body block instead of being lost.
  std::unique_ptr<TSection> pending = std::move(buildState.CurrentSection);
  if (!pending) root.ClearControlLists();
  buildState.BodySeen = true;
  PushTag("body");
  int marginWidth = buildState.Viewer->MarginWidth();
  int marginHeight = buildState.Viewer->MarginHeight();
  for (const auto& attribute : parseState.Attributes) {
    const std::string& value = attribute->ValueText;
    TColor colour = 0;
    switch (attribute->Symbol) {
      case symText:
      case symBgcolor:
        if (ColorFromString(value, false, colour)) {
          const int flagged = static_cast<int>(colour | PaletteRGBFlag);
          const Prop prop = attribute->Symbol == symText ? Prop::Color : Prop::BackgroundColor;
          buildState.Elements.ApplyToTop([prop, flagged](TProperties& top) { top.Value(prop) = flagged; });
        }
        break;
      case symLink: case symVlink: case symOlink:
        if (ColorFromString(value, false, colour)) {
          const char* state = attribute->Symbol == symLink ? "link" : attribute->Symbol == symVlink ? "visited" : "hover";
          buildState.Styles->ModifyLinkColor(state, colour);
          if (attribute->Symbol == symOlink) root.OverLinksActive = true;
        }
        break;
      case symBackground:
        buildState.Elements.ApplyToTop(
            [url = "url(" + value + ")"](TProperties& top) { top.Value(Prop::BackgroundImage) = url; });
        break;
      case symMarginwidth: case symLeftmargin:
        marginWidth = std::clamp(attribute->Value, 0, kMaxBodyMargin);
        break;
      case symMarginheight: case symTopmargin:
        marginHeight = std::clamp(attribute->Value, 0, kMaxBodyMargin);
        break;
      case symBgproperties:
        if (gui::AnsiSameText(value, "fixed")) {
          buildState.Elements.ApplyToTop(
              [](TProperties& top) { top.Value(Prop::BackgroundAttachment) = std::string("fixed"); });
        }
        break;
      default:
        break;
    }
  }
  buildState.Elements.ApplyToTop([marginWidth, marginHeight](TProperties& top) {
    top.Value(Prop::MarginLeft) = marginWidth;
    top.Value(Prop::MarginRight) = marginWidth;
    top.Value(Prop::MarginTop) = marginHeight;
    top.Value(Prop::MarginBottom) = marginHeight;
  });
  for (int index = 0; index < root.Count(); ++index) {
    if (root.Items(index) == buildState.BodyBlock) {
      root.Delete(index);
      break;
    }
  }
  auto body = std::make_unique<TBodyBlock>(&root, TopProperties(), &root, &parseState.Attributes);
  buildState.BodyBlock = body.get();
  root.AddSection(std::move(body), parseState.TagStartPosition);
  buildState.CurrentCell = &*buildState.BodyBlock->MyCell;
  if (pending) buildState.CurrentCell->AddSection(std::move(pending), parseState.TagStartPosition);
  OpenSection();
  NextSymbol();
}

}  // namespace engine
