#include "engine/html/DocumentBuilder.h"

#include <climits>
#include <memory>

#include "engine/common/TextHelpers.h"
#include "engine/document/TBlock.h"
#include "engine/document/TBlockLI.h"
#include "engine/document/TSectionList.h"
#include "engine/html/BuildState.h"
#include "engine/html/BuilderSeams.h"
#include "engine/html/HeadElements.h"
#include "engine/html/HtmlLexer.h"
#include "engine/html/ParseState.h"
#include "engine/text/TSection.h"

namespace engine {
namespace {

const TSymbolSet kInlineSet{
    symB, symBEnd, symI, symIEnd, symEm, symEmEnd, symStrong, symStrongEnd, symU, symUEnd, symBr, symH, symHEnd,
    symHr, symCite, symCiteEnd, symVar, symVarEnd, symTt, symTtEnd, symCode, symCodeEnd, symKbd, symKbdEnd, symSamp,
    symSampEnd, symPre, symPreEnd, symImg, symA, symAEnd, symText, symTable, symInput, symTextarea, symTextareaEnd,
    symSelect, symFont, symFontEnd, symBasefont, symSub, symSubEnd, symSup, symSupEnd, symBig, symBigEnd, symSmall,
    symSmallEnd, symMap, symPage, symScript, symS, symSEnd, symStrike, symStrikeEnd, symPanel, symNobr, symNobrEnd,
    symWbr, symSpan, symSpanEnd, symLabel, symLabelEnd, symObject, symObjectEnd};

const TSymbolSet kParagraphSet{
    symB, symBEnd, symI, symIEnd, symEm, symEmEnd, symStrong, symStrongEnd, symU, symUEnd, symCite, symCiteEnd,
    symVar, symVarEnd, symTt, symTtEnd, symCode, symCodeEnd, symKbd, symKbdEnd, symSamp, symSampEnd, symBr, symImg,
    symA, symAEnd, symUnknownTag, symText, symInput, symTextarea, symTextareaEnd, symSelect, symFont, symFontEnd,
    symBasefont, symSub, symSubEnd, symSup, symSupEnd, symBig, symBigEnd, symSmall, symSmallEnd, symMap, symPage,
    symScript, symScriptEnd, symS, symSEnd, symStrike, symStrikeEnd, symPanel, symNobr, symNobrEnd, symWbr, symSpan,
    symSpanEnd, symLabel, symLabelEnd, symObject, symObjectEnd};

// What a heading takes: the inline set without H, PRE, TABLE, MAP and PAGE, with SCRIPT end.
const TSymbolSet kHeadingSet =
    kInlineSet.Without({symH, symHEnd, symPre, symPreEnd, symTable, symMap, symPage}).With({symScriptEnd});

bool IsList(THtmlSymbol symbol) {
  return symbol == symOl || symbol == symUl || symbol == symDir || symbol == symMenu || symbol == symDl;
}

bool IsBlockElement(THtmlSymbol symbol) {
  return symbol == symAddress || symbol == symBlockquote || symbol == symCenter || symbol == symForm ||
         symbol == symDiv;
}

// Counts the recursing readers open; beyond the cap a block start is skipped
// like an unknown tag and its end tag after it.
class TBlockNesting {
 public:
  explicit TBlockNesting(THtmlSymbol endSymbol) {
    if (buildState.BlockNesting >= kMaxBlockNesting) {
      if (endSymbol != symHtml) ++buildState.RefusedBlockEnds[endSymbol];
      refused_ = true;
      return;
    }
    ++buildState.BlockNesting;
  }
  ~TBlockNesting() {
    if (!refused_) --buildState.BlockNesting;
  }
  TBlockNesting(const TBlockNesting&) = delete;
  TBlockNesting& operator=(const TBlockNesting&) = delete;
  bool Refused() const { return refused_; }

 private:
  bool refused_ = false;
};

// The end tag of a refused block start is dropped where it shows up.
bool SkipRefusedEnd(THtmlSymbol symbol) {
  int& refused = buildState.RefusedBlockEnds[symbol];
  if (refused == 0) return false;
  --refused;
  NextSymbol();
  return true;
}

// Adds a new block at the tag start and makes its content cell current;
// returns the cell to restore.
TCellBasic* EnterBlock(std::unique_ptr<TBlock> block, TBlock*& added) {
  TCellBasic* outer = buildState.CurrentCell;
  added = block.get();
  outer->AddSection(std::move(block), parseState.TagStartPosition);
  buildState.CurrentCell = &*added->MyCell;
  return outer;
}

// Closing a block: a default bottom margin of its last inner block moves to the block.
void LeaveBlock(TBlock* block, TCellBasic* outer) {
  if (block->MyCell->ClearLastBlockMargin()) block->SetDefaultBottomMargin();
  buildState.CurrentCell = outer;
}

std::unique_ptr<TBlock> NewBlock(TAttributeList* attributes) {
  return std::make_unique<TBlock>(buildState.Root, TopProperties(), buildState.CurrentCell, attributes);
}

int SaturatingNext(int number) { return number == INT_MAX ? INT_MAX : number + 1; }

void ParseListItem(THtmlSymbol listKind, THtmlSymbol itemSymbol, int number, const TSymbolSet& stop, bool plain,
                   char numberStyle) {
  TBlockNesting nesting(symHtml);  // an item has no end tag to skip
  if (nesting.Refused()) {
    NextSymbol();
    return;
  }
  CloseSection();
  const std::string tag = itemSymbol == symLi ? "li" : itemSymbol == symDd ? "dd" : "dt";
  PushTag(tag);
  auto item = std::make_unique<TBlockLI>(buildState.Root, TopProperties(), buildState.CurrentCell, listKind, plain,
                                         numberStyle, number, buildState.ListLevel, &parseState.Attributes);
  TBlock* block = nullptr;
  TCellBasic* outer = EnterBlock(std::move(item), block);
  OpenSection();
  SkipBlanks();
  NextSymbol();
  const bool inList = listKind != symLooseListItem;
  for (;;) {
    const THtmlSymbol symbol = parseState.Symbol;
    if (stop.Has(symbol) || symbol == symEndOfInput) break;
    if (symbol == symP && inList && !stop.Has(symP)) {
      ParseParagraph(stop);
    } else if (symbol == symPEnd) {
      NextSymbol();
    } else if (kInlineSet.Has(symbol)) {
      ParseInlineElement(stop);
    } else if (IsList(symbol)) {
      ParseList(symbol, stop);
      buildState.CurrentCell->ClearLastBlockMargin();
    } else if (IsBlockElement(symbol)) {
      ParseBlockElement(symbol, stop);
    } else if (symbol == symUnknownTag) {
      NextSymbol();
    } else {
      break;
    }
  }
  CloseSection();
  PopTag(tag);
  buildState.CurrentCell = outer;
}

}  // namespace

void ParseBody(const TSymbolSet& stop) {
  for (;;) {
    const THtmlSymbol symbol = parseState.Symbol;
    if (SkipRefusedEnd(symbol)) continue;
    if (stop.Has(symbol)) return;
    if (symbol == symEndOfInput) {
      NextSymbol();
      return;
    }
    switch (symbol) {
      case symTitle: ReadTitle(); break;
      case symBody: ReadBodyElement(); break;
      case symBase: ReadBase(); break;
      case symLink: LoadLinkedStyleSheet(*buildState.Styles); break;
      case symMeta: ParseMetaElement(); break;
      case symBgsound: ReadBgSound(); break;
      case symStyle: ReadStyleElement(*buildState.Styles); break;
      case symP: ParseParagraph(stop); break;
      case symOl: case symUl: case symDir: case symMenu: case symDl: ParseList(symbol, stop); break;
      case symLi: ParseListItem(symLooseListItem, symLi, 1, stop, false, '1'); break;
      case symDd: case symDt: ParseListItem(symDl, symbol, 1, stop, false, '1'); break;
      case symAddress: case symBlockquote: case symCenter: case symForm: case symDiv:
        ParseBlockElement(symbol, stop);
        break;
      case symFormEnd:
        buildState.CurrentForm = nullptr;
        NextSymbol();
        break;
      default:
        if (kInlineSet.Has(symbol)) {
          ParseInlineElement(stop);
        } else {
          NextSymbol();
        }
    }
  }
}

void ParseParagraph(const TSymbolSet& stop) {
  if (stop.Has(symP)) return;
  CloseSection();
  // Successive P tags make one paragraph; the last one's attributes count.
  TAttributeList attributes;
  do {
    attributes.Swap(parseState.Attributes);
    SkipBlanks();
    NextSymbol();
  } while (parseState.Symbol == symP);
  PushTag("p", attributes);
  ApplyAlign(attributes);
  TBlock* block = nullptr;
  TCellBasic* outer = EnterBlock(NewBlock(&attributes), block);
  while (!stop.Has(parseState.Symbol) && kParagraphSet.Has(parseState.Symbol)) {
    if (parseState.Symbol == symUnknownTag) {
      NextSymbol();
    } else {
      ParseInlineElement(stop);
    }
  }
  if (parseState.Symbol == symTable) block->SetBottomMargin(0);
  CloseSection();
  PopTag("p");
  attributes.GiveItemsTo(parseState.Attributes);
  buildState.CurrentCell = outer;
  if (parseState.Symbol == symPEnd) NextSymbol();
}

namespace {

void ParseCenter(const TSymbolSet& stop) {
  CloseSection();
  PushTag("center");
  NextSymbol();
  ParseBody(stop.With({symCenterEnd}));
  CloseSection();
  PopTag("center");
  if (parseState.Symbol == symCenterEnd) NextSymbol();
}

void ParseForm(const TSymbolSet& stop) {
  // A FORM inside a form starts a new form at the same level.
  while (parseState.Symbol == symForm) {
    CloseSection();
    PushTag("form");
    TBlock* block = nullptr;
    TCellBasic* outer = EnterBlock(NewBlock(&parseState.Attributes), block);
    buildState.CurrentForm = BuilderSeams().CreateForm ? BuilderSeams().CreateForm() : nullptr;
    NextSymbol();
    ParseBody(stop.With({symForm, symFormEnd}));
    CloseSection();
    PopTag("form");
    LeaveBlock(block, outer);
    if (parseState.Symbol == symFormEnd) {
      buildState.CurrentForm = nullptr;
      NextSymbol();
    }
  }
}

void ParseDiv(const TSymbolSet& stop) {
  CloseSection();
  PushTag("div");
  ApplyAlign(parseState.Attributes);
  TBlock* block = nullptr;
  TCellBasic* outer = EnterBlock(NewBlock(&parseState.Attributes), block);
  OpenSection();
  NextSymbol();
  ParseBody(stop.With({symDivEnd}));
  CloseSection();
  PopTag("div");
  LeaveBlock(block, outer);
  OpenSection();
  if (parseState.Symbol == symDivEnd) NextSymbol();
}

}  // namespace

void ParseBlockElement(THtmlSymbol symbol, const TSymbolSet& stop) {
  TBlockNesting nesting(EndSymbolOf(symbol));
  if (nesting.Refused()) {
    NextSymbol();
    return;
  }
  switch (symbol) {
    case symAddress:
    case symBlockquote:
      CloseSection();
      ParseList(symbol, stop.With({symAddressEnd, symBlockquoteEnd}));
      break;
    case symCenter: ParseCenter(stop); break;
    case symForm: ParseForm(stop); break;
    case symDiv: ParseDiv(stop); break;
    default: NextSymbol();
  }
}

namespace {

struct TListStart {
  int number = 1;
  bool plain = false;
  char numberStyle = '1';
};

TListStart ReadListStart(THtmlSymbol symbol) {
  TListStart start;
  const TAttribute* attribute = nullptr;
  if (symbol == symOl) {
    if (parseState.Attributes.Find(symStart, attribute) && attribute->Value >= 0) start.number = attribute->Value;
    const std::string type = AttributeText(symType);
    if (!type.empty()) start.numberStyle = type[0];
  } else if (symbol == symUl) {
    const std::string type = LowerCase(AttributeText(symType));
    start.plain = HasAttribute(symPlain) || type == "none" || type == "plain";
  }
  return start;
}

}  // namespace

// The list's own end tag is consumed here; a symbol of the caller's stop set
// (an unclosed list inside a table cell meeting the next cell) is left for it.
void ParseList(THtmlSymbol symbol, const TSymbolSet& stop) {
  TBlockNesting nesting(EndSymbolOf(symbol));
  if (nesting.Refused()) {
    NextSymbol();
    return;
  }
  TListStart start = ReadListStart(symbol);
  const THtmlSymbol endSymbol = EndSymbolOf(symbol);
  const std::string& tag = TagNameOfSymbol(symbol);
  CloseSection();
  PushTag(tag);
  TBlock* block = nullptr;
  TCellBasic* outer = EnterBlock(NewBlock(&parseState.Attributes), block);
  const bool nests = symbol != symDl && symbol != symAddress && symbol != symBlockquote;
  if (nests) ++buildState.ListLevel;
  const TSymbolSet listStop = stop.With({endSymbol});
  NextSymbol();
  int number = start.number;
  for (;;) {
    const THtmlSymbol current = parseState.Symbol;
    if (current == endSymbol || current == symEndOfInput || stop.Has(current)) break;
    if (SkipRefusedEnd(current)) continue;
    if (current == symLi || current == symDd || current == symDt) {
      const TAttribute* value = nullptr;
      if (current == symLi && parseState.Attributes.Find(symValue, value) && value->Value != 0) number = value->Value;
      ParseListItem(symbol, current, number, listStop, start.plain, start.numberStyle);
      number = SaturatingNext(number);
    } else if (IsList(current)) {
      ParseList(current, listStop);
    } else if (current == symP) {
      ParseParagraph(listStop);
    } else if (IsBlockElement(current)) {
      ParseBlockElement(current, listStop);
    } else if (kInlineSet.Has(current)) {
      ParseInlineElement(listStop);
    } else {
      NextSymbol();
    }
  }
  if (nests) --buildState.ListLevel;
  CloseSection();
  LeaveBlock(block, outer);
  PopTag(tag);
  if (parseState.Symbol == endSymbol) NextSymbol();
}

void ParseHeading(const TSymbolSet& stop) {
  const int level = parseState.HeadingLevel;
  if (level < 1 || level > 6) {
    NextSymbol();
    return;
  }
  TBlockNesting nesting(symHEnd);
  if (nesting.Refused()) {
    NextSymbol();
    return;
  }
  CloseSection();
  const std::string tag = "h" + std::to_string(level);
  TAttributeList attributes;
  attributes.Swap(parseState.Attributes);
  PushTag(tag, attributes);
  ApplyAlign(attributes);
  SkipBlanks();
  NextSymbol();
  if (parseState.Symbol == symCenter) {
    buildState.Elements.ApplyToTop([](TProperties& top) { top.SetPropertyByIndex(PropIdx(Prop::TextAlign), "center"); });
    NextSymbol();
  }
  TBlock* block = nullptr;
  TCellBasic* outer = EnterBlock(NewBlock(&attributes), block);
  OpenSection();
  for (;;) {
    const THtmlSymbol symbol = parseState.Symbol;
    if (symbol == symP && !stop.Has(symP)) {
      ParseParagraph(stop);
    } else if (kHeadingSet.Has(symbol)) {
      ParseInlineElement(stop);
    } else if (symbol == symUnknownTag) {
      NextSymbol();
    } else if (symbol == symDiv) {
      ParseBlockElement(symbol, stop);
    } else {
      break;
    }
  }
  CloseSection();
  PopTag(tag);
  attributes.GiveItemsTo(parseState.Attributes);
  buildState.CurrentCell = outer;
  if (parseState.Symbol == symHEnd) NextSymbol();
}

}  // namespace engine
