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

bool DescribeModelKinds(const TSectionBase& section, DumpLine& line) {
  if (const auto* rule = dynamic_cast<const THorzLine*>(&section)) {
    line.kind = "Rule";
    line.x = rule->LeftX;
    line.y = rule->TopY;
    line.width = rule->LineWidth;
    line.height = rule->RuleHeight;
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
  line.children = block->MyCell.get();
  return true;
}

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
    out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << line.kind;
    if (!line.tag.empty()) out << ' ' << line.tag;
    out << " (" << line.x << ',' << line.y << ") " << line.width << 'x' << line.height << line.extra << '\n';
    if (line.children != nullptr) DumpCell(*line.children, depth + 1, out);
  }
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
