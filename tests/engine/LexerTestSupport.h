#pragma once
// Drives the lexer over a document and records what it delivers.
#include <memory>
#include <string>
#include <vector>

#include "engine/html/HtmlLexer.h"
#include "engine/html/ParseState.h"
#include "engine/css/TProperties.h"

namespace engine::testing {

struct LexedItem {
  THtmlSymbol symbol;
  std::u16string text;
  std::vector<int> positions;
  int headingLevel;
};

// The positions of the token just read, as a plain list.
inline std::vector<int> TokenPositions() {
  return std::vector<int>(parseState.Token->Positions.begin(), parseState.Token->Positions.end());
}

// Fresh parse state over the document, text in the code page; nothing read
// yet, so reading modes and hooks can still be set. Shared with the lexer's
// fuzz target.
inline void PrepareLexing(const std::string& document, int codePage = 1252) {
  ResetParseState();
  auto properties = std::make_unique<TProperties>();
  properties->CodePage = codePage;
  parseState.PropStack.Add(std::move(properties));
  SetDocumentText(document);
}

// PrepareLexing, then the first character read.
inline void StartLexing(const std::string& document, int codePage = 1252) {
  PrepareLexing(document, codePage);
  NextCharSkippingMarkup();
}

inline std::vector<LexedItem> LexAll(const std::string& document, int codePage = 1252) {
  StartLexing(document, codePage);
  std::vector<LexedItem> items;
  for (int guard = 0; guard < 100000; ++guard) {
    NextSymbol();
    if (parseState.Symbol == symEndOfInput) break;
    items.push_back({parseState.Symbol, parseState.Token->CurrentText(), TokenPositions(), parseState.HeadingLevel});
  }
  return items;
}

// The text of all text runs, joined.
inline std::u16string JoinedText(const std::vector<LexedItem>& items) {
  std::u16string text;
  for (const LexedItem& item : items) {
    if (item.symbol == symText) text += item.text;
  }
  return text;
}

}  // namespace engine::testing
