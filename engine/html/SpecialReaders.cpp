#include "engine/html/SpecialReaders.h"

#include <memory>
#include <string>

#include "engine/common/TextHelpers.h"
#include "engine/html/BuildState.h"
#include "engine/html/BuilderSeams.h"
#include "engine/html/DocumentBuilder.h"
#include "engine/html/HeadElements.h"
#include "engine/html/EParseError.h"
#include "engine/html/HtmlLexer.h"
#include "engine/html/ParseState.h"
#include "engine/html/TReadAhead.h"
#include "engine/document/TSectionList.h"
#include "engine/objects/TMapItem.h"
#include "engine/text/TSection.h"
#include "platform/gui/TStringList.h"

namespace engine {
namespace {

bool IsAsciiLetter(unsigned char ch) { return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z'); }

// One script token at "<": a tag token or the text "<". True for the SCRIPT end.
bool ReadScriptTagToken(std::string& script) {
  const unsigned char following = PeekSourceByte();
  std::string token = "<";
  NextCharSkippingMarkup();
  if (following != '/' && !IsAsciiLetter(following)) {
    script += token;
    return false;
  }
  while (parseState.Ch == '/' || IsAsciiLetter(parseState.Ch)) {
    token += static_cast<char>(parseState.Ch);
    NextCharSkippingMarkup();
  }
  const bool isEnd = LowerCase(token) == "</script";
  for (int extra = 0; extra < 6 && parseState.Ch != '>' && parseState.Ch != 0; ++extra) {
    token += parseState.Ch == '\r' ? ' ' : static_cast<char>(parseState.Ch);
    NextCharSkippingMarkup();
  }
  if (parseState.Ch == '>') {
    token += '>';
    if (isEnd) parseState.RawMode = false;
    NextCharSkippingMarkup();
  }
  if (!isEnd) script += token;
  return isEnd;
}

}  // namespace

void ParseScript(const TScriptEvent& onScript) {
  const std::string language = AttributeText(symLanguage);
  const std::string name = AttributeText(symName);
  parseState.RawMode = static_cast<bool>(onScript);
  NextCharSkippingMarkup();
  std::string script;
  bool ended = false;
  while (!ended && parseState.Ch != 0) {
    if (parseState.Ch == '\r') {
      script += "\r\n";
      NextCharSkippingMarkup();
    } else if (parseState.Ch == '<') {
      ended = ReadScriptTagToken(script);
    } else {
      script += static_cast<char>(parseState.Ch);
      NextCharSkippingMarkup();
    }
  }
  parseState.RawMode = false;
  parseState.Symbol = ended ? symScriptEnd : symEndOfInput;
  if (onScript) onScript(ParseSender(), name, language, script);
}

void ReadSelectOptions(TParsedControl* control) {
  static const TSymbolSet kStop{symP,     symEndOfInput, symTableEnd, symTd,          symTdEnd,
                                symTr,    symTrEnd,      symTh,       symThEnd,       symCaption,
                                symCaptionEnd, symInput, symSelectEnd, symCol,       symColgroup};
  const bool noWrap = buildState.NoWrap;
  buildState.NoWrap = false;
  const int codePage = CurrentCodePage();
  bool inOption = false;
  bool selected = false;
  std::u16string text;
  std::string attributes;
  auto addPending = [&] {
    if (inOption && control) control->AddOption(WideTrim(text), selected, codePage, attributes);
    inOption = false;
  };
  NextSymbol();
  while (!kStop.Has(parseState.Symbol)) {
    if (parseState.Symbol == symOption || parseState.Symbol == symOptionEnd) {
      addPending();
      if (parseState.Symbol == symOption) {
        inOption = true;
        selected = HasAttribute(symSelected);
        text.clear();
        attributes = parseState.Attributes.NameValueText();
      }
    } else if (parseState.Symbol == symText && inOption) {
      text += parseState.Token->CurrentText();
    }
    NextSymbol();
  }
  addPending();
  if (control) control->ResetToDefault();
  buildState.NoWrap = noWrap;
}

void ReadTextAreaContent(TParsedControl* control) {
  std::string text;
  std::string line;
  parseState.RawMode = true;
  for (;;) {
    ReadRawToken();
    if (parseState.Symbol == symEndOfInput) break;
    if (parseState.Symbol == symLineBreak) {
      text += line + "\r\n";
      line.clear();
    } else if (parseState.Symbol == symTextareaEnd) {
      while (parseState.Ch != '>' && parseState.Ch != 0) NextChar();
      parseState.RawMode = false;
      if (parseState.Ch == '>') NextCharSkippingMarkup();
      break;
    } else {
      line += parseState.RawTokenText;
    }
  }
  parseState.RawMode = false;
  if (!line.empty()) text += line;
  if (control) {
    control->SetInitialText(text);
    control->ResetToDefault();
  }
}

namespace {

bool IsBlankText() {
  for (char16_t ch : parseState.Token->CurrentText()) {
    if (ch > u' ') return false;
  }
  return true;
}

// The content of a map from the symbol after MAP: AREAs define areas (when a
// map is given), text is ignored, and the third symbol that is neither stops
// the reading and stays current. True when the MAP end was reached.
bool ReadMapContent(TMapItem* map) {
  int unexpected = 0;
  while (parseState.Symbol != symMapEnd && parseState.Symbol != symEndOfInput) {
    if (parseState.Symbol == symArea) {
      if (map) {
        map->DefineArea(parseState.Attributes);
        if (BuilderSeams().AddArea) BuilderSeams().AddArea();
      }
    } else if (parseState.Symbol != symText && ++unexpected == 3) {
      return false;
    }
    NextSymbol();
  }
  return parseState.Symbol == symMapEnd;
}

// Whether the map at the current MAP tag reaches its end tag; reads ahead and comes back.
bool MapReachesItsEnd() {
  TReadAhead ahead;
  try {
    NextSymbol();
    return ReadMapContent(nullptr);
  } catch (const EParseError&) {
    return false;  // the input ends inside a comment first
  }
}

// The number of AREAs that follow at once; reads ahead and comes back.
int CountLeadingAreas() {
  TReadAhead ahead;
  int count = 0;
  try {
    for (NextSymbol(); parseState.Symbol == symArea; NextSymbol()) ++count;
  } catch (const EParseError&) {
  }
  return count;
}

}  // namespace

bool ParseImageMap(bool keepPlace) {
  TBuilderSeams& seams = BuilderSeams();
  auto map = std::make_unique<TMapItem>();
  map->MapName = AttributeText(symName);
  for (char& ch : map->MapName) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  if (seams.BeginMap) seams.BeginMap(map->MapName);
  if (!MapReachesItsEnd()) {
    // Dropped: its leading AREAs (and the blanks between them) are passed
    // over, and the text and tags after them stay in the document where they
    // are. Preformatted text keeps its blanks and line breaks: only the AREAs go.
    if (seams.EndMap) seams.EndMap(false);
    if (keepPlace) {
      for (int areas = CountLeadingAreas(); areas > 0; --areas) NextSymbol();
      return false;
    }
    NextSymbol();
    while (parseState.Symbol == symArea || (parseState.Symbol == symText && IsBlankText())) NextSymbol();
    return true;
  }
  NextSymbol();
  const bool keep = ReadMapContent(map.get());
  if (seams.EndMap) seams.EndMap(keep);
  if (keep) {
    if (buildState.Root) buildState.Root->MapList.push_back(std::move(map));
    NextSymbol();
  }
  return true;
}

namespace {

// The PARAM elements after OBJECT as NAME or NAME=VALUE lines.
void ReadObjectParams(gui::TStringList& params) {
  NextSymbol();
  while (parseState.Symbol == symParam || (parseState.Symbol == symText && IsBlankText())) {
    if (parseState.Symbol == symParam) {
      const std::string name = AttributeText(symName);
      params.Add(HasAttribute(symValue) ? name + "=" + AttributeText(symValue) : name);
    }
    NextSymbol();
  }
}

}  // namespace

void ParseObject() {
  TBuilderSeams& seams = BuilderSeams();
  TParseViewer& viewer = *buildState.Viewer;
  if (!viewer.HasObjectTag() || !seams.CreatePanel) {
    NextSymbol();  // the content is read as ordinary content
    return;
  }
  TSection& section = EnsureSection();
  PushTag("object");
  TPanelObj* panel = seams.CreatePanel(section, TopProperties());
  // The panel leaves the root's lists unless the section takes it, also when
  // the handler raises.
  struct TPanelGuard {
    TPanelObj* panel;
    ~TPanelGuard() {
      if (panel && BuilderSeams().DropPanel) BuilderSeams().DropPanel(panel);
    }
  } guard{panel};
  const std::unique_ptr<gui::TStringList> attributes = parseState.Attributes.ToNameValueList();
  gui::TStringList params;
  ReadObjectParams(params);
  bool wantPanel = false;
  viewer.ObjectTag(panel, *attributes, params, wantPanel);
  if (!wantPanel || !seams.AppendPanel) {
    PopTag("object");
    return;
  }
  if (seams.InlineBoxStart) seams.InlineBoxStart(TopProperties(), parseState.SourcePosition);
  seams.AppendPanel(section, panel);
  guard.panel = nullptr;
  PopTag("object");
  while (parseState.Symbol != symObjectEnd && parseState.Symbol != symEndOfInput) NextSymbol();
  if (parseState.Symbol == symObjectEnd) NextSymbol();
}

}  // namespace engine
