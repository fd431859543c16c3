// The reader of PRE without WRAP: one preformatted section per source line,
// text kept as written, a few elements acted on inside.
#include <exception>
#include <memory>

#include "engine/common/CodePageText.h"
#include "engine/document/TBlock.h"
#include "engine/document/TSectionList.h"
#include "engine/html/BuildState.h"
#include "engine/html/BuilderSeams.h"
#include "engine/html/CharacterReferences.h"
#include "engine/html/DocumentBuilder.h"
#include "engine/html/HeadElements.h"
#include "engine/html/HtmlLexer.h"
#include "engine/html/ParseState.h"
#include "engine/html/SpecialReaders.h"
#include "engine/text/TPreFormated.h"

namespace engine {
namespace {

// The reader's character buffers. The room of the last reader is kept for
// the next one: documents have many short PRE blocks.
struct TPreBuffers {
  TCharCollection bytes;
  TokenObj line;
};

thread_local std::unique_ptr<TPreBuffers> sparePreBuffers;

std::unique_ptr<TPreBuffers> TakePreBuffers() {
  if (sparePreBuffers) return std::move(sparePreBuffers);
  return std::make_unique<TPreBuffers>();
}

class TPreReader {
 public:
  TPreReader() = default;
  // A parse that ends inside the preformatted text keeps the characters read so far.
  ~TPreReader() {
    try {
      if (std::uncaught_exceptions() > 0 && buildState.CurrentCell) FlushText();
    } catch (const std::exception&) {
    }
    bytes_.Clear();
    line_.Clear();
    if (!sparePreBuffers) sparePreBuffers = std::move(buffers_);
  }
  TPreReader(const TPreReader&) = delete;
  TPreReader& operator=(const TPreReader&) = delete;
  void Run();

 private:
  // Redispatch: the handler read one symbol beyond its element, which is handled next.
  enum class TOutcome { Handled, Redispatch, Ended };

  void OpenLine();
  void FlushText();
  void CloseLine();
  void ReadTextRun();
  void SkipCrAfterTag();
  TOutcome HandleSymbol();
  void OpenParagraph();
  void CloseParagraph();
  void CloseForm();
  void OpenForm();
  void ReadFontStyle(THtmlSymbol symbol);

  std::unique_ptr<TPreBuffers> buffers_ = TakePreBuffers();
  TCharCollection& bytes_ = buffers_->bytes;
  TokenObj& line_ = buffers_->line;
  TCellBasic* paragraphOuter_ = nullptr;  // set while a P of this reader is open
  TCellBasic* formOuter_ = nullptr;       // set while a FORM of this reader is open
  // Set while the open line was opened by a line break and nothing came since:
  // that break is dropped when the PRE end follows at once.
  bool afterLineBreak_ = false;
};

void TPreReader::OpenLine() {
  CloseSection();
  buildState.CurrentSection =
      std::make_unique<TPreFormated>(buildState.Root, &buildState.LinkTarget, TopProperties(), nullptr);
}

void TPreReader::FlushText() {
  if (bytes_.Size() > 0) {
    line_.AppendBytes(bytes_, CurrentCodePage());
    bytes_.Clear();
  }
  if (line_.Count() > 0) {
    EnsureSection().AppendTextRun(line_, TopProperties(), buildState.NoWrap);
    line_.Clear();
  }
}

void TPreReader::CloseLine() {
  FlushText();
  CloseSection();
}

// Up to a control character, CR or "<"; blanks are kept, references decoded.
// Text in code page 1252 goes straight into the line (after any bytes
// gathered before: 1252 decodes the same piece by piece).
void TPreReader::ReadTextRun() {
  const bool straight = DecodesAsWindows1252(CurrentCodePage());
  while (parseState.Ch >= ' ' && parseState.Ch != '<') {
    if (parseState.Ch == '&' || straight) {
      line_.AppendBytes(bytes_, CurrentCodePage());
      bytes_.Clear();
    }
    if (parseState.Ch == '&') {
      ReadCharacterReference(line_, CurrentCodePage());
    } else if (straight) {
      ReadLiteralCharacters(line_);
    } else {
      ReadLiteralBytes(bytes_);
    }
  }
}

void TPreReader::SkipCrAfterTag() {
  if (parseState.Ch == '\r') NextCharSkippingMarkup();
}

void TPreReader::OpenParagraph() {
  if (paragraphOuter_) {
    CloseParagraph();
  } else {
    CloseLine();
  }
  SkipCrAfterTag();
  PushTag("p");
  auto block = std::make_unique<TBlock>(buildState.Root, TopProperties(), buildState.CurrentCell,
                                        &parseState.Attributes);
  TBlock* added = block.get();
  buildState.CurrentCell->AddSection(std::move(block), parseState.TagStartPosition);
  paragraphOuter_ = buildState.CurrentCell;
  buildState.CurrentCell = &*added->MyCell;
  OpenLine();
}

void TPreReader::CloseParagraph() {
  if (!paragraphOuter_) return;
  CloseLine();
  PopTag("p");
  buildState.CurrentCell = paragraphOuter_;
  paragraphOuter_ = nullptr;
}

void TPreReader::CloseForm() {
  CloseParagraph();
  if (!formOuter_) return;
  CloseLine();
  PopTag("form");
  buildState.CurrentCell = formOuter_;
  formOuter_ = nullptr;
  buildState.CurrentForm = nullptr;
}

void TPreReader::OpenForm() {
  CloseLine();
  PushTag("form");
  auto block = std::make_unique<TBlock>(buildState.Root, TopProperties(), buildState.CurrentCell,
                                        &parseState.Attributes);
  TBlock* added = block.get();
  buildState.CurrentCell->AddSection(std::move(block), parseState.TagStartPosition);
  formOuter_ = buildState.CurrentCell;
  buildState.CurrentCell = &*added->MyCell;
  buildState.CurrentForm = BuilderSeams().CreateForm ? BuilderSeams().CreateForm() : nullptr;
  OpenLine();
}

void TPreReader::ReadFontStyle(THtmlSymbol symbol) {
  FlushText();
  const std::string& startTag = TagNameOfSymbol(symbol);
  if (!startTag.empty()) {
    PushTag(startTag);
    TakeInlineBackground(false);  // no inline box in preformatted text
  } else {
    PopTag(TagNameOfEndSymbol(symbol));
  }
  SwitchSectionFont();
}

TPreReader::TOutcome TPreReader::HandleSymbol() {
  const THtmlSymbol symbol = parseState.Symbol;
  switch (symbol) {
    case symText:
      // A "<" that starts no tag is text here too.
      FlushText();
      EnsureSection().AppendTextRun(*parseState.Token, TopProperties(), buildState.NoWrap);
      parseState.Token->Clear();  // taken: a later failure must not add it again
      return TOutcome::Handled;
    case symP: OpenParagraph(); return TOutcome::Handled;
    case symPEnd:
      if (paragraphOuter_) {
        CloseParagraph();
        OpenLine();
      }
      return TOutcome::Handled;
    case symB: case symBEnd: case symI: case symIEnd: case symEm: case symEmEnd: case symStrong: case symStrongEnd:
    case symU: case symUEnd: case symCite: case symCiteEnd: case symVar: case symVarEnd: case symS: case symSEnd:
    case symStrike: case symStrikeEnd: case symSub: case symSubEnd: case symSup: case symSupEnd: case symBig:
    case symBigEnd: case symSmall: case symSmallEnd: case symSpan: case symSpanEnd: case symLabel: case symLabelEnd:
      ReadFontStyle(symbol);
      return TOutcome::Handled;
    case symBr: {
      CloseLine();
      if (BreakPageAtBr()) InsertPageBreak();
      OpenLine();
      SkipCrAfterTag();
      return TOutcome::Handled;
    }
    case symImg: case symPanel: case symInput: case symTextarea: case symA: case symAEnd: case symFont:
    case symBasefont: case symFontEnd: case symScript:
      FlushText();
      ReadInlineElementInPlace(symbol);
      return TOutcome::Handled;
    case symSelect:
      FlushText();
      ParseInlineElement(TSymbolSet{});
      return TOutcome::Redispatch;
    case symMap:
      FlushText();
      return ParseImageMap(/*keepPlace=*/true) ? TOutcome::Redispatch : TOutcome::Handled;
    case symObject:
      if (!buildState.Viewer->HasObjectTag() || !BuilderSeams().CreatePanel) return TOutcome::Handled;
      FlushText();
      ParseObject();
      return TOutcome::Redispatch;
    case symForm:
      CloseForm();
      OpenForm();
      return TOutcome::Handled;
    case symFormEnd:
      if (formOuter_) {
        CloseForm();
        OpenLine();
      }
      return TOutcome::Handled;
    case symPage:
      CloseLine();
      InsertPageBreak();
      OpenLine();
      return TOutcome::Handled;
    case symPreEnd: case symTable: case symTdEnd: case symThEnd: case symEndOfInput: return TOutcome::Ended;
    default: return TOutcome::Handled;
  }
}

void TPreReader::Run() {
  CloseSection();
  const int level = buildState.Elements.OpenCount();
  PushTag("pre");
  auto block = std::make_unique<TBlock>(buildState.Root, TopProperties(), buildState.CurrentCell,
                                        &parseState.Attributes);
  TBlock* added = block.get();
  buildState.CurrentCell->AddSection(std::move(block), parseState.TagStartPosition);
  TCellBasic* outer = buildState.CurrentCell;
  buildState.CurrentCell = &*added->MyCell;
  OpenLine();
  SkipCrAfterTag();  // a break right after the start tag makes no line
  bool ended = false;
  while (!ended) {
    const unsigned char ch = parseState.Ch;
    if (ch == 0) {
      parseState.Symbol = symEndOfInput;
      break;
    }
    if (ch == '\r') {
      CloseLine();
      OpenLine();
      NextCharSkippingMarkup();
      afterLineBreak_ = true;
      continue;
    }
    if (ch == '<') {
      NextSymbol();
      if (parseState.Symbol == symPreEnd && afterLineBreak_) buildState.CurrentSection.reset();
      TOutcome outcome = HandleSymbol();
      while (outcome == TOutcome::Redispatch) outcome = HandleSymbol();
      ended = outcome == TOutcome::Ended;
    } else if (ch < ' ') {
      NextCharSkippingMarkup();
    } else {
      ReadTextRun();
    }
    afterLineBreak_ = false;
  }
  if (formOuter_) {
    CloseForm();
  } else {
    CloseParagraph();
    CloseLine();
  }
  while (buildState.Elements.OpenCount() > level) buildState.Elements.Pop();
  buildState.CurrentCell = outer;
  if (parseState.Symbol == symPreEnd) NextSymbol();
}

}  // namespace

void ParsePreformatted() {
  TPreReader reader;
  reader.Run();
}

}  // namespace engine
