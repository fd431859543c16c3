#pragma once
// Building small documents by hand for layout tests: styles from
// declarations, blocks added to cells, and a layout of the whole root.
#include <initializer_list>
#include <memory>
#include <utility>

#include "engine/css/CssValues.h"
#include "engine/css/TProperties.h"
#include "engine/document/TBlock.h"
#include "engine/document/TSectionList.h"
#include "tests/engine/document/FakeSection.h"

namespace engine::testing {

using Declarations = std::initializer_list<std::pair<const char*, const char*>>;

inline std::unique_ptr<TProperties> MakeStyle(const char* tag, Declarations declarations = {}) {
  auto style = std::make_unique<TProperties>();
  style->PropTag = tag;
  style->EmSize = 16;
  style->ExSize = 8;
  for (const auto& [name, value] : declarations) style->SetPropertyByName(name, value);
  return style;
}

// A style whose vertical margins are the collapsible paragraph default.
inline std::unique_ptr<TProperties> MakeParagraphStyle(Declarations declarations = {}) {
  auto style = MakeStyle("p", declarations);
  style->Value(Prop::MarginTop) = kParagraphSpace;
  style->Value(Prop::MarginBottom) = kParagraphSpace;
  return style;
}

// Makes a block of kind Block in cell (before adding it, as the parser does) and adds it.
template <class Block = TBlock, class... Extra>
Block* AddBlock(TCellBasic& cell, TProperties& style, Extra&&... extra) {
  auto block = std::make_unique<Block>(cell.Document, style, &cell, std::forward<Extra>(extra)..., nullptr);
  Block* raw = block.get();
  cell.AddSection(std::move(block), 0);
  return raw;
}

inline FakeSection* AddContent(TCellBasic& cell, int height, int chars = 0, int width = 0) {
  auto section = std::make_unique<FakeSection>(cell.Document, height, chars);
  section->width = section->minWidth = width;
  FakeSection* raw = section.get();
  cell.AddSection(std::move(section), 0);
  return raw;
}

inline int LayOut(TSectionList& root, int width, gui::TCanvas* canvas = nullptr) {
  int maxWidth = 0;
  int curs = 0;
  return root.LayoutContent(canvas, 0, width, 600, 0, maxWidth, curs);
}

}  // namespace engine::testing
