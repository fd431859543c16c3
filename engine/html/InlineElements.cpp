// The document builder's inline handler: font-style elements, FONT, BR, A,
// text runs, rules, page breaks, and the dispatch of the elements that the
// special readers and later areas handle; with the helpers all readers share.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>

#include "engine/common/EngineStartup.h"
#include "engine/common/TextHelpers.h"
#include "engine/css/CssColors.h"
#include "engine/css/FontInfo.h"
#include "engine/document/THRBlock.h"
#include "engine/document/THorzLine.h"
#include "engine/document/TPage.h"
#include "engine/document/TSectionList.h"
#include "engine/html/BuildState.h"
#include "engine/html/BuilderSeams.h"
#include "engine/html/TableReader.h"
#include "engine/objects/TImageObj.h"
#include "engine/html/Charsets.h"
#include "engine/html/DocumentBuilder.h"
#include "engine/html/HeadElements.h"
#include "engine/html/HtmlLexer.h"
#include "engine/html/ParseState.h"
#include "engine/html/SpecialReaders.h"
#include "engine/text/TSection.h"

namespace engine {

TProperties& TopProperties() { return *parseState.PropStack.Last(); }

void CloseSection() {
  if (!buildState.CurrentSection) return;
  buildState.CurrentCell->AddSection(std::move(buildState.CurrentSection), parseState.TagStartPosition);
}

void OpenSection(bool withAttributes) {
  CloseSection();
  buildState.CurrentSection = std::make_unique<TSection>(buildState.Root, /*firstLineIndent=*/true,
                                                         &buildState.LinkTarget, TopProperties(),
                                                         withAttributes ? &parseState.Attributes : nullptr);
}

TSection& EnsureSection() {
  if (!buildState.CurrentSection) OpenSection();
  return *buildState.CurrentSection;
}

void SwitchSectionFont() {
  if (buildState.CurrentSection) buildState.CurrentSection->ChangeFont(TopProperties());
}

namespace {

const std::string kNoText;

}  // namespace

bool PushTag(const std::string& tag, TAttributeList& attributes, const std::string& pseudo) {
  // Most elements have none of the attributes the cascade reads: no look-ups
  // and no strings made for them.
  if (!attributes.NamesElement()) return PushElementProperties(tag, kNoText, kNoText, nullptr, kNoText, pseudo);
  return PushElementProperties(tag, attributes.ClassKey(), attributes.IdValue(), attributes.ParseInlineStyle(),
                               attributes.TitleValue(), pseudo);
}

bool PushTag(const std::string& tag, const std::string& pseudo) { return PushTag(tag, parseState.Attributes, pseudo); }

void PopTag(const std::string& tag) {
  // Made once: every end tag passes it.
  static const std::function<void(const TProperties&)> kInlineBoxEnd = [](const TProperties& closed) {
    if (BuilderSeams().InlineBoxEnd) BuilderSeams().InlineBoxEnd(closed, parseState.SourcePosition);
  };
  buildState.Elements.PopTo(tag, kInlineBoxEnd);
}

namespace {

// A background that is only inherited is already in the inherited field.
bool HasOwnTextBackground(const TProperties& element, bool boxed) {
  return element.IsAssigned(PropIdx(Prop::BackgroundColor)) && element.GetBackgroundColor() != kNoColor &&
         !(boxed && element.GetBorderStyle() != 0);
}

}  // namespace

void TakeInlineBackground(bool boxed) {
  // Most elements have none: they leave the element stack nothing to replay.
  if (!HasOwnTextBackground(TopProperties(), boxed)) return;
  buildState.Elements.ApplyToTop([boxed](TProperties& top) {
    if (!HasOwnTextBackground(top, boxed)) return;
    top.UpdateBackgroundColor();
    top.DropCachedFont();
  });
}

void ApplyAlign(const TAttributeList& attributes) {
  const TAttribute* align = nullptr;
  if (!attributes.Find(symAlign, align)) return;
  std::string value = LowerCase(align->ValueText);
  if (value == "middle") value = "center";
  if (value != "left" && value != "center" && value != "right" && value != "justify") return;
  buildState.Elements.ApplyToTop([value](TProperties& top) { top.SetPropertyByIndex(PropIdx(Prop::TextAlign), value); });
}

void InsertPageBreak() {
  buildState.CurrentCell->AddSection(std::make_unique<TPage>(buildState.Root), parseState.TagStartPosition);
}

bool BreakPageAtBr() {
  bool before = false;
  bool after = false;
  bool inside = false;
  if (PushTag("br")) TopProperties().GetPageBreaks(before, after, inside);
  PopTag("br");
  return before || after;
}

namespace {

void InlineBoxStart() {
  if (BuilderSeams().InlineBoxStart) BuilderSeams().InlineBoxStart(TopProperties(), parseState.SourcePosition);
}

bool IsSizeElement(THtmlSymbol symbol) {
  switch (symbol) {
    case symSub: case symSubEnd: case symSup: case symSupEnd: case symBig: case symBigEnd: case symSmall:
    case symSmallEnd:
      return true;
    default:
      return false;
  }
}

void ReadFontStyleElement(THtmlSymbol symbol) {
  if (IsSizeElement(symbol)) EnsureSection();
  const std::string& startTag = TagNameOfSymbol(symbol);
  if (!startTag.empty()) {
    PushTag(startTag);
    InlineBoxStart();
    TakeInlineBackground(true);
  } else {
    PopTag(TagNameOfEndSymbol(symbol));
  }
  SwitchSectionFont();
  NextSymbol();
}

// The BR's attributes stay the lexer's throughout: nothing here reads on.
void ReadLineBreak() {
  if (!HasAttribute(symClear)) {
    EnsureSection().AppendChar(8, parseState.TagStartPosition, TopProperties(), buildState.NoWrap);
    CloseSection();
    if (BreakPageAtBr()) InsertPageBreak();
    OpenSection(true);
  } else {
    OpenSection(true);
    if (BreakPageAtBr()) {
      CloseSection();
      InsertPageBreak();
      OpenSection(true);
    }
  }
  NextSymbol();
}

void ReadHorizontalRule() {
  CloseSection();
  PushTag("hr");
  auto line = std::make_unique<THorzLine>(buildState.Root, TopProperties(), &parseState.Attributes);
  auto block = std::make_unique<THRBlock>(buildState.Root, TopProperties(), buildState.CurrentCell, std::move(line),
                                          &parseState.Attributes);
  buildState.CurrentCell->AddSection(std::move(block), parseState.TagStartPosition);
  PopTag("hr");
  NextSymbol();
}

void ReadText() {
  const std::u16string& text = parseState.Token->CurrentText();
  // Whitespace-only text between blocks opens no section.
  if (buildState.CurrentSection || text.size() != 1 || text[0] != u' ') {
    EnsureSection().AppendTextRun(*parseState.Token, TopProperties(), buildState.NoWrap);
  }
  NextSymbol();
}

void ReadImageOrPanel(THtmlSymbol symbol, bool advance) {
  TSection& section = EnsureSection();
  const std::string& tag = TagNameOfSymbol(symbol);
  PushTag(tag);
  InlineBoxStart();
  if (symbol == symImg) {
    auto image = std::make_unique<TImageObj>(buildState.Root, &parseState.Attributes, 0);
    image->ApplyStyle(TopProperties());
    section.AppendObject(std::move(image), parseState.TagStartPosition);
  } else if (BuilderSeams().AddImageOrPanel) {
    BuilderSeams().AddImageOrPanel(section, symbol, TopProperties());
  }
  PopTag(tag);
  if (advance) NextSymbol();
}

void ReadFormControl(THtmlSymbol symbol, bool advance) {
  TSection& section = EnsureSection();
  const std::string& tag = TagNameOfSymbol(symbol);
  PushTag(tag);
  // A control with a CSS border gets an inline box round its placeholder.
  if (BuilderSeams().InlineBoxStart) BuilderSeams().InlineBoxStart(TopProperties(), parseState.TagStartPosition);
  TParsedControl* control =
      BuilderSeams().AddFormControl ? BuilderSeams().AddFormControl(section, symbol, TopProperties()) : nullptr;
  if (symbol == symSelect) {
    ReadSelectOptions(control);
  } else if (symbol == symTextarea) {
    ReadTextAreaContent(control);
  }
  if (control) control->ApplyStyle(TopProperties());
  PopTag(tag);
  // The options reader stops at the next structural tag without taking it.
  if (advance && (symbol != symSelect || parseState.Symbol == symSelectEnd)) NextSymbol();
}

void ReadPre() {
  if (HasAttribute(symWrap)) {
    CloseSection();
    PushTag("pre");
    NextSymbol();
  } else {
    ParsePreformatted();
  }
}

void ReadTable(const TSymbolSet& stop) {
  CloseSection();
  ParseTable(stop);
}

}  // namespace

void ParseInlineElement(const TSymbolSet& stop) {
  const THtmlSymbol symbol = parseState.Symbol;
  switch (symbol) {
    case symB: case symBEnd: case symI: case symIEnd: case symEm: case symEmEnd: case symStrong: case symStrongEnd:
    case symU: case symUEnd: case symCite: case symCiteEnd: case symVar: case symVarEnd: case symS: case symSEnd:
    case symStrike: case symStrikeEnd: case symTt: case symTtEnd: case symCode: case symCodeEnd: case symKbd:
    case symKbdEnd: case symSamp: case symSampEnd: case symSpan: case symSpanEnd: case symLabel: case symLabelEnd:
    case symSub: case symSubEnd: case symSup: case symSupEnd: case symBig: case symBigEnd: case symSmall:
    case symSmallEnd:
      ReadFontStyleElement(symbol);
      break;
    case symFont: case symBasefont: ReadFontElement(false, true); break;
    case symFontEnd:
      PopTag("font");
      SwitchSectionFont();
      NextSymbol();
      break;
    case symBr: ReadLineBreak(); break;
    case symH: ParseHeading(stop); break;
    case symHr: ReadHorizontalRule(); break;
    case symPre: ReadPre(); break;
    case symPreEnd:
      // Ends a PRE WRAP, which is read as ordinary content.
      CloseSection();
      PopTag("pre");
      NextSymbol();
      break;
    case symImg: case symPanel: ReadImageOrPanel(symbol, true); break;
    case symA: ReadAnchor(true); break;
    case symAEnd:
      CloseLink();
      NextSymbol();
      break;
    case symText: ReadText(); break;
    case symTable: ReadTable(stop); break;
    case symInput: case symSelect: case symTextarea: ReadFormControl(symbol, true); break;
    case symMap: ParseImageMap(); break;
    case symPage:
      CloseSection();
      InsertPageBreak();
      NextSymbol();
      break;
    case symScript:
      ParseScript(buildState.OnScript);
      if (parseState.Symbol == symScriptEnd) NextSymbol();
      break;
    case symNobr: case symNobrEnd:
      buildState.NoWrap = symbol == symNobr;
      NextSymbol();
      break;
    case symWbr:
      if (buildState.CurrentSection) buildState.CurrentSection->AllowBreakAfterLast();
      NextSymbol();
      break;
    case symObject: ParseObject(); break;
    default: NextSymbol();
  }
}

void ReadInlineElementInPlace(THtmlSymbol symbol) {
  switch (symbol) {
    case symImg: case symPanel: ReadImageOrPanel(symbol, false); break;
    case symInput: case symTextarea: ReadFormControl(symbol, false); break;
    case symA: ReadAnchor(false); break;
    case symAEnd: CloseLink(); break;
    case symFont: case symBasefont: ReadFontElement(true, false); break;
    case symFontEnd:
      PopTag("font");
      SwitchSectionFont();
      break;
    case symScript: ParseScript(buildState.OnScript); break;
    default: break;
  }
}

}  // namespace engine
