// The layout dump: the kinds of the document model and the walk.
#include "tests/engine/support/LayoutDump.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "engine/document/TBlock.h"
#include "engine/document/TBlockLI.h"
#include "engine/document/TBodyBlock.h"
#include "engine/document/THRBlock.h"
#include "engine/document/THorzLine.h"
#include "engine/document/TPage.h"
#include "engine/tables/ThtmlTable.h"
#include "engine/text/SectionDump.h"
#include "engine/text/TPreFormated.h"
#include "engine/text/TSection.h"

namespace engine::testing {

namespace {

std::vector<DumpDescriber>& Describers() {
  static std::vector<DumpDescriber> describers;
  return describers;
}

std::string Narrow(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

// A table: its columns, then each row with its real cells and their content.
bool DescribeTable(const TSectionBase& section, DumpLine& line) {
  const auto* table = dynamic_cast<const ThtmlTable*>(&section);
  if (table == nullptr) return false;
  line.kind = "Table";
  line.x = table->LayoutX();
  line.y = table->TopY;
  line.width = table->TotalWidth;
  line.height = table->TableHeight;
  std::ostringstream columns;
  for (std::size_t c = 0; c < table->Widths.size(); ++c) columns << (c == 0 ? " cols=" : ",") << table->Widths[c];
  line.extra = columns.str();
  for (int r = 0; r < static_cast<int>(table->Rows.size()); ++r) {
    const TCellList& row = *table->Rows[static_cast<std::size_t>(r)];
    DumpLine rowLine;
    rowLine.kind = "Row";
    rowLine.x = table->LayoutX();
    rowLine.y = table->RowTop(r);
    rowLine.width = table->TotalWidth;
    rowLine.height = row.RowHeight;
    for (int c = 0; c < row.Count(); ++c) {
      const TCellObj* cell = row.Items(c);
      if (cell == nullptr || !cell->IsReal()) continue;
      DumpLine cellLine;
      cellLine.kind = "Cell";
      cellLine.x = table->ColumnLeft(c);
      cellLine.y = table->RowTop(r);
      cellLine.width = cell->Wd;
      cellLine.height = cell->Ht;
      if (cell->ColSpan > 1) cellLine.extra += " colspan=" + std::to_string(cell->ColSpan);
      if (cell->RowSpan > 1) cellLine.extra += " rowspan=" + std::to_string(cell->RowSpan);
      cellLine.children = cell->Cell();
      rowLine.parts.push_back(std::move(cellLine));
    }
    line.parts.push_back(std::move(rowLine));
  }
  return true;
}

bool DescribeModelKinds(const TSectionBase& section, DumpLine& line) {
  if (DescribeTable(section, line)) return true;
  if (const auto* rule = dynamic_cast<const THorzLine*>(&section)) {
    line.kind = "Rule";
    line.x = rule->LeftX;
    line.y = rule->TopY;
    line.width = rule->LineWidth;
    line.height = rule->RuleHeight;
    return true;
  }
  if (const auto* text = dynamic_cast<const TSection*>(&section)) {
    line.kind = dynamic_cast<const TPreFormated*>(text) != nullptr ? "PreText" : "Text";
    line.y = text->TopY;
    line.height = text->SectionHeight;
    line.extra = " chars=" + std::to_string(text->FirstCharPos) + "+" + std::to_string(text->CharCount);
    line.details = DumpTextLines(*text);  // line X from the X the section was laid out at
    return true;
  }
  if (dynamic_cast<const TPage*>(&section) != nullptr) {
    line.kind = "Page";
    line.y = section.TopY;
    return true;
  }
  const auto* block = dynamic_cast<const TBlock*>(&section);
  if (block == nullptr) return false;
  line.kind = dynamic_cast<const TBodyBlock*>(block) ? "Body"
              : dynamic_cast<const THRBlock*>(block)  ? "RuleBlock"
              : dynamic_cast<const TBlockLI*>(block)  ? "ListItem"
                                                       : "Block";
  line.tag = block->TagClass;
  line.x = block->ContentLeft;
  line.y = block->TopY;
  line.width = block->NewWidth;
  line.height = block->SectionHeight;
  std::ostringstream extra;
  if (block->DisplayNone) extra << " display=none";
  if (block->FloatLR != 0) extra << " float=" << (block->FloatLR == kAlignFloatLeft ? "left" : "right");
  if (block->Positioning != TBlock::kPosStatic)
    extra << " position=" << (block->Positioning == TBlock::kPosAbsolute ? "absolute" : "relative") << " z="
          << block->ZOrder;
  if (const auto* item = dynamic_cast<const TBlockLI*>(block)) {
    std::u16string label = item->LabelText();
    if (!label.empty()) extra << " label=" << Narrow(label);
  }
  line.extra = extra.str();
  line.children = &*block->MyCell;
  return true;
}

void WriteLine(const DumpLine& line, int depth, std::ostringstream& out);

void DumpCell(const TCellBasic& cell, int depth, std::ostringstream& out) {
  for (const auto& section : cell) {
    DumpLine line;
    bool described = false;
    for (const DumpDescriber& describer : Describers())
      if ((described = describer(*section, line))) break;
    if (!described && !DescribeModelKinds(*section, line)) {
      line.kind = "Section";
      line.y = section->TopY;
      line.height = section->SectionHeight;
      line.extra = " chars=" + std::to_string(section->FirstCharPos) + "+" + std::to_string(section->CharCount);
    }
    WriteLine(line, depth, out);
  }
}

void WriteLine(const DumpLine& line, int depth, std::ostringstream& out) {
  out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << line.kind;
  if (!line.tag.empty()) out << ' ' << line.tag;
  out << " (" << line.x << ',' << line.y << ") " << line.width << 'x' << line.height << line.extra << '\n';
  std::istringstream details(line.details);
  for (std::string detail; std::getline(details, detail);)
    out << std::string(static_cast<std::size_t>(depth + 1) * 2, ' ') << detail << '\n';
  for (const DumpLine& part : line.parts) WriteLine(part, depth + 1, out);
  if (line.children != nullptr) DumpCell(*line.children, depth + 1, out);
}

}  // namespace

void RegisterDumpKind(DumpDescriber describer) { Describers().push_back(std::move(describer)); }

std::string DumpLayout(const TCellBasic& cell) {
  std::ostringstream out;
  DumpCell(cell, 0, out);
  return out.str();
}

std::string ReadTestDataFile(const std::string& relativePath) {
  std::ifstream in(std::string(PAGEWELL_TEST_DATA_DIR) + "/" + relativePath, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace engine::testing
