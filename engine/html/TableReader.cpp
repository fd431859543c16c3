#include "engine/html/TableReader.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "engine/common/TextHelpers.h"
#include "engine/css/CssValues.h"
#include "engine/document/TBlock.h"
#include "engine/document/TSectionList.h"
#include "engine/html/BuildState.h"
#include "engine/html/DocumentBuilder.h"
#include "engine/html/HtmlLexer.h"
#include "engine/html/ParseState.h"
#include "engine/html/TCellManager.h"
#include "engine/tables/TTableAndCaptionBlock.h"
#include "engine/tables/TTableBlock.h"
#include "engine/tables/ThtmlTable.h"
#include "engine/text/TSection.h"

namespace engine {
namespace {

// What ends the content of a cell or caption. The head, body and foot tags
// are in it too, so that a cell whose end tag is left out does not swallow them.
const TSymbolSet kCellStop{symTableEnd, symTd,      symTdEnd,   symTr,      symTrEnd,    symTh,
                           symThEnd,    symCaption, symCaptionEnd, symCol,  symColgroup, symColgroupEnd,
                           symThead,    symTbody,   symTfoot,   symTheadEnd, symTbodyEnd, symTfootEnd};

enum TablePart { kHead = 0, kBody = 1, kFoot = 2 };

// A column description as COLGROUP and COL give it.
struct ColumnDescription {
  int width = 0;
  bool asPercent = false;
  std::string align;
  int vertAlign = 0;
  int span = 1;
};

// The reading state of one table; tables nest, each reader has its own.
struct TableFrame {
  TCellBasic* outerCell = nullptr;
  std::unique_ptr<TTableBlock> tableBlock;
  ThtmlTable* table = nullptr;
  std::unique_ptr<TBlock> caption;
  bool captionOnTop = true;
  std::unique_ptr<TCellManager> manager;
  bool noCellYet = true;
  std::vector<std::unique_ptr<TCellList>> footRows;
  std::unique_ptr<TCellList> row;
  // Cells of the row finished last: a new row reserves as many (rows are
  // alike) or the grid's width, at most kReservedCells.
  std::size_t lastRowCells = 0;
  std::uint8_t rowVertAlign = kVAlignMiddle;
  int rowLevel = 0;   // the stack below the row's "tr"
  int cellLevel = 0;  // the stack with the row's "tr", below a cell's "td"
  int partLevel = 0;
  TablePart part = kBody;
  std::unique_ptr<TCellObj> cell;  // the cell being filled
  int rowsRead = 0;                // every row read, foot rows too: the manager's row index
  int skippedTables = 0;           // TABLE starts inside that were too deep: their ends are skipped too
};

// The readers open now, innermost last.
std::vector<TableFrame*>& OpenTables() {
  static std::vector<TableFrame*> frames;
  return frames;
}

const TAttribute* FindAttribute(THtmlSymbol symbol) {
  const TAttribute* attribute = nullptr;
  return parseState.Attributes.Find(symbol, attribute) ? attribute : nullptr;
}

// A row ends with at least as many entries as the grid is wide (the places
// that row spans from above reach are entries too).
void ReserveCells(TableFrame& frame) {
  constexpr std::size_t kReservedCells = 64;
  const std::size_t gridWidth = static_cast<std::size_t>(std::max(frame.table->GridWidthSoFar(), 0));
  frame.row->Cells.reserve(std::min(std::max(frame.lastRowCells, gridWidth), kReservedCells));
}

void PopToLevel(int level) {
  while (buildState.Elements.OpenCount() > level) PopElementProperties();
}

// VALIGN of the current tag: "top" and "baseline" give top, "middle" middle,
// "bottom" bottom; anything else the default.
std::uint8_t ReadCellVAlign(std::uint8_t defaultAlign) {
  const TAttribute* valign = FindAttribute(symValign);
  if (!valign) return defaultAlign;
  const std::string value = LowerCase(valign->ValueText.substr(0, 9));
  if (value == "top" || value == "baseline") return kVAlignTop;
  if (value == "middle") return kVAlignMiddle;
  if (value == "bottom") return kVAlignBottom;
  return defaultAlign;
}

void ReadColumnAttributes(ColumnDescription& column) {
  for (const auto& attribute : parseState.Attributes) {
    if (attribute->Symbol == symAlign) {
      const std::string value = LowerCase(attribute->ValueText);
      if (value == "middle" || value == "absmiddle" || value == "center") column.align = "center";
      else if (value == "left" || value == "right" || value == "justify") column.align = value;
    } else if (attribute->Symbol == symValign) {
      const int code = AlignmentFromString(LowerCase(attribute->ValueText));
      if (code >= 1 && code <= 4) column.vertAlign = code;
    } else if (attribute->Symbol == symWidth) {
      if (attribute->ValueText.find('%') == std::string::npos) {
        column.width = std::clamp(attribute->Value, 0, kMaxCellExtent);
        column.asPercent = false;
      } else if (attribute->Value >= 1 && attribute->Value <= 100) {
        column.width = attribute->Value * 10;
        column.asPercent = true;
      }
    } else if (attribute->Symbol == symSpan) {
      column.span = std::max(1, attribute->Value);
    }
  }
}

void AddColumns(TableFrame& frame, const ColumnDescription& column) {
  if (!frame.noCellYet) return;
  const int room = kMaxColumnDescriptions - static_cast<int>(frame.table->Columns.size());
  for (int i = 0; i < std::min({column.span, 100, room}); ++i)
    frame.table->AddColumn(column.width, column.asPercent, column.align, column.vertAlign);
}

// COLGROUP with its COLs, or a COL alone.
void ParseColumnGroup(TableFrame& frame) {
  ColumnDescription group;
  if (parseState.Symbol == symColgroup) {
    if (frame.noCellYet) ReadColumnAttributes(group);
    SkipBlanks();
    NextSymbol();
    bool sawColumn = false;
    while (parseState.Symbol == symCol) {
      ColumnDescription column = group;
      column.span = 1;
      ReadColumnAttributes(column);
      AddColumns(frame, column);
      sawColumn = true;
      SkipBlanks();
      NextSymbol();
    }
    (void)sawColumn;
    if (parseState.Symbol == symColgroupEnd) NextSymbol();
  } else {
    ReadColumnAttributes(group);
    AddColumns(frame, group);
    NextSymbol();
  }
  if (!frame.manager && !frame.table->Columns.empty())
    frame.manager = std::make_unique<TCellManager>(*frame.table);
}

void FinishCell(TableFrame& frame) {
  if (!buildState.CurrentCell) return;
  CloseSection();
  if (frame.cell && buildState.CurrentCell == frame.cell->Cell()) {
    if (frame.manager) frame.manager->AddCell(frame.rowsRead, *frame.cell);
    if (frame.row) frame.row->AddCell(std::move(frame.cell));
    frame.cell.reset();
  }
  buildState.CurrentCell = nullptr;
}

void FinishRow(TableFrame& frame) {
  CloseLink();
  if (!frame.row) return;
  FinishCell(frame);
  frame.row->RowKind = frame.part == kFoot ? kRowFooter : frame.part == kHead ? kRowHeader : kRowBody;
  frame.lastRowCells = frame.row->Cells.size();
  if (frame.part == kFoot) frame.footRows.push_back(std::move(frame.row));
  else frame.table->AddRow(std::move(frame.row));
  ++frame.rowsRead;
  frame.row.reset();
  PopToLevel(frame.rowLevel);
}

// The text-align a column description or the cell's default gives.
void SetCellTextAlign(const std::string& value) {
  buildState.Elements.ApplyToTop(
      [value](TProperties& top) { top.SetPropertyByIndex(PropIdx(Prop::TextAlign), value); });
}

bool TextAlignUnset() {
  const TPropValue& value = TopProperties().Value(Prop::TextAlign);
  const auto* text = TextOf(value);
  return text == nullptr || text->empty() || *text == "none";
}

void ReadCell(TableFrame& frame, THtmlSymbol symbol) {
  frame.noCellYet = false;
  CloseLink();
  buildState.ListLevel = 0;
  if (frame.row) {
    FinishCell(frame);
    // NOTE: the row's own entry stays, so every cell of the row inherits its style.
    PopToLevel(frame.cellLevel);
  } else {
    frame.rowLevel = buildState.Elements.OpenCount();
    TAttributeList none;
    PushTag("tr", none);
    frame.cellLevel = buildState.Elements.OpenCount();
    frame.row = std::make_unique<TCellList>(nullptr, nullptr);
    ReserveCells(frame);
    frame.rowVertAlign = kVAlignMiddle;
  }
  const bool header = symbol == symTh;
  PushTag(header ? "th" : "td");
  std::uint8_t vertAlign = ReadCellVAlign(frame.rowVertAlign);
  if (frame.manager) {
    const int column = frame.manager->FindColNum(frame.rowsRead);
    if (column >= 0 && column < static_cast<int>(frame.table->Columns.size())) {
      const TColObj& description = frame.table->Columns[static_cast<std::size_t>(column)];
      if (!description.Align.empty()) SetCellTextAlign(description.Align);
      if (description.VertAlign != 0) vertAlign = static_cast<std::uint8_t>(description.VertAlign);
    }
  }
  ApplyAlign(parseState.Attributes);
  if (TextAlignUnset()) {
    // A pointer to the fixed word keeps the recorded change small enough to
    // need no allocation of its own.
    const char* const align = header ? "center" : "left";
    buildState.Elements.ApplyToTop(
        [align](TProperties& top) { top.SetPropertyByIndex(PropIdx(Prop::TextAlign), align); });
  }
  frame.cell = TCellObj::Make(buildState.Root, &TopProperties(), &parseState.Attributes, vertAlign);
  buildState.CurrentCell = frame.cell->Cell();
  const TAttribute* width = FindAttribute(symWidth);
  buildState.NoWrap = FindAttribute(symNowrap) != nullptr &&
                      (width == nullptr || width->ValueText.find('%') != std::string::npos);
  SkipBlanks();
  NextSymbol();
  ParseBody(kCellStop);
}

void ReadRowStart(TableFrame& frame) {
  FinishRow(frame);
  frame.rowLevel = buildState.Elements.OpenCount();
  PushTag("tr");
  ApplyAlign(parseState.Attributes);
  frame.cellLevel = buildState.Elements.OpenCount();
  frame.row = std::make_unique<TCellList>(&parseState.Attributes, &TopProperties());
  ReserveCells(frame);
  frame.rowVertAlign = ReadCellVAlign(kVAlignMiddle);
  NextSymbol();
}

void ReadCaption(TableFrame& frame) {
  CloseLink();
  buildState.NoWrap = false;
  FinishCell(frame);
  if (const TAttribute* align = FindAttribute(symAlign)) frame.captionOnTop = LowerCase(align->ValueText) != "bottom";
  PushTag("caption");
  if (!frame.caption)
    frame.caption = std::make_unique<TBlock>(buildState.Root, TopProperties(), nullptr, &parseState.Attributes);
  buildState.CurrentCell = &*frame.caption->MyCell;
  NextSymbol();
  ParseBody(kCellStop);
  CloseSection();
  PopTag("caption");
  buildState.CurrentCell = nullptr;
  if (parseState.Symbol == symCaptionEnd) NextSymbol();
}

void ReadTablePart(TableFrame& frame, THtmlSymbol symbol) {
  FinishRow(frame);
  PopToLevel(frame.partLevel);
  frame.partLevel = buildState.Elements.OpenCount();
  const bool anyRow = !frame.table->Rows.empty() || !frame.footRows.empty();
  switch (symbol) {
    case symThead:
      frame.part = anyRow ? kBody : kHead;
      if (!anyRow) PushTag("thead");
      break;
    case symTbody:
      frame.part = kBody;
      PushTag("tbody");
      break;
    case symTfoot:
      frame.part = kFoot;
      PushTag("tfoot");
      break;
    default: frame.part = kBody; break;
  }
  NextSymbol();
}

// Text and tags outside any cell are read into the enclosing cell.
void ReadOutsideCells(TableFrame& frame) {
  if (parseState.Symbol == symUnknownTag) {
    NextSymbol();
    return;
  }
  buildState.CurrentCell = frame.outerCell;
  const int before = parseState.SourcePosition;
  ParseBody(kCellStop);
  CloseSection();
  buildState.CurrentCell = nullptr;
  // Whatever the block reader left must not stop the table reader for good.
  if (parseState.SourcePosition == before && !kCellStop.Has(parseState.Symbol)) NextSymbol();
}

// One symbol of the table's content; false when the table ends here.
bool ReadTableSymbol(TableFrame& frame) {
  const THtmlSymbol symbol = parseState.Symbol;
  switch (symbol) {
    case symTableEnd:
      if (frame.skippedTables == 0) return false;
      --frame.skippedTables;  // the end of a TABLE tag that was too deep
      NextSymbol();
      return true;
    case symEndOfInput: return false;
    case symTd: case symTh: ReadCell(frame, symbol); return true;
    case symTdEnd: case symThEnd:
      FinishCell(frame);
      NextSymbol();
      return true;
    case symTr: ReadRowStart(frame); return true;
    case symTrEnd:
      FinishRow(frame);
      NextSymbol();
      return true;
    case symCaption: ReadCaption(frame); return true;
    case symCaptionEnd: case symColgroupEnd:
      NextSymbol();  // stray: skipped, it does not end the table
      return true;
    case symColgroup: case symCol: ParseColumnGroup(frame); return true;
    case symThead: case symTbody: case symTfoot: case symTheadEnd: case symTbodyEnd: case symTfootEnd:
      ReadTablePart(frame, symbol);
      return true;
    case symText:
      if (parseState.Token && parseState.Token->Count() == 1 && parseState.Token->Characters[0] == u' ') {
        NextSymbol();
        return true;
      }
      ReadOutsideCells(frame);
      return true;
    default: ReadOutsideCells(frame); return true;
  }
}

std::uint8_t EnclosingJustify() {
  const TPropValue& value = TopProperties().Value(Prop::TextAlign);
  const auto* text = TextOf(value);
  if (text && *text == "center") return 2;
  if (text && *text == "right") return 3;
  return 0;
}

// Puts what was read into the enclosing cell: the table block, or the
// caption and the table in their wrapper.
void PlaceTable(TableFrame& frame) {
  CloseLink();
  FinishCell(frame);
  FinishRow(frame);
  PopToLevel(frame.partLevel);
  for (auto& foot : frame.footRows) frame.table->AddRow(std::move(foot));
  frame.footRows.clear();
  if (!frame.tableBlock) return;
  if (frame.caption) {
    auto wrapper = std::make_unique<TTableAndCaptionBlock>(buildState.Root, TopProperties(), frame.outerCell,
                                                           nullptr, *frame.tableBlock);
    wrapper->SetBlocks(std::move(frame.caption), std::move(frame.tableBlock), frame.captionOnTop);
    frame.outerCell->AddSection(std::move(wrapper), parseState.TagStartPosition);
  } else {
    frame.outerCell->AddSection(std::move(frame.tableBlock), parseState.TagStartPosition);
  }
}

// Keeps the open readers' list and the builder's state right however the
// reader leaves (an exception too).
class FrameScope {
 public:
  FrameScope(TableFrame& frame) : frame_(frame), listLevel_(buildState.ListLevel), noWrap_(buildState.NoWrap) {
    OpenTables().push_back(&frame);
    ++buildState.TableNesting;
  }
  ~FrameScope() {
    OpenTables().pop_back();
    --buildState.TableNesting;
    buildState.ListLevel = listLevel_;
    buildState.NoWrap = noWrap_;
    buildState.CurrentCell = frame_.outerCell;
  }
  FrameScope(const FrameScope&) = delete;
  FrameScope& operator=(const FrameScope&) = delete;

 private:
  TableFrame& frame_;
  int listLevel_;
  bool noWrap_;
};

}  // namespace

void ParseTable(const TSymbolSet& /*stop*/) {
  if (buildState.TableNesting >= kMaxTableNesting) {
    if (!OpenTables().empty()) ++OpenTables().back()->skippedTables;
    NextSymbol();
    return;
  }
  TableFrame frame;
  CloseLink();
  CloseSection();
  frame.outerCell = buildState.CurrentCell;
  FrameScope scope(frame);
  const std::uint8_t enclosing = EnclosingJustify();
  const int tableLevel = buildState.Elements.OpenCount();
  PushTag("table");
  auto table = std::make_unique<ThtmlTable>(buildState.Root, &TopProperties(), &parseState.Attributes);
  frame.table = table.get();
  frame.tableBlock = std::make_unique<TTableBlock>(buildState.Root, TopProperties(), frame.outerCell,
                                                   std::move(table), &parseState.Attributes);
  if (frame.tableBlock->TableJustify != 2 && frame.tableBlock->FloatLR == 0 && enclosing != 0)
    frame.tableBlock->Justify = enclosing;
  frame.partLevel = buildState.Elements.OpenCount();
  buildState.CurrentCell = nullptr;
  try {
    NextSymbol();
    while (ReadTableSymbol(frame)) {
    }
  } catch (...) {
    // What was read stays in the document, as the parse keeps what it built.
    PlaceTable(frame);
    PopToLevel(tableLevel);
    throw;
  }
  PlaceTable(frame);
  PopToLevel(tableLevel);
  if (parseState.Symbol == symTableEnd) NextSymbol();
}

}  // namespace engine
